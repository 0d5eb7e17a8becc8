#pragma once
// The process's language object: the one dictionary of the user interface and the direction it
// is applied in. Nothing sets the dictionary's path or the forward flag, so the dictionary stays
// empty and every text comes back as it is. Reached through GetLanguage (SharedGlobals.h),
// deleted at exit with the shared services.
#include <memory>

#include "framework/base/Dictionary.h"
#include "framework/base/TBString.h"

class CLanguage
{
public:
    CLanguage() = default;
    virtual ~CLanguage() = default;
    CLanguage(const CLanguage&) = delete;
    CLanguage& operator=(const CLanguage&) = delete;

    // Forward translates a dictionary line's left text to its right one (direction 0); clear,
    // texts are translated back (direction 1).
    BOOL IsForward() const { return m_bForward; }
    int  GetDirection() const { return m_bForward ? DICT_LEFT_TO_RIGHT : DICT_RIGHT_TO_LEFT; }
    const CTBString& GetDictionaryPath() const { return m_strDictionaryPath; }
    // Made on first use, and read from the path when there is one.
    CDictionary* GetDictionary();
    // The text in the user interface's language.
    CTBString Translate(const char* pszText) { return GetDictionary()->Translate(pszText, GetDirection()); }

private:
    BOOL m_bForward = FALSE;
    CTBString m_strDictionaryPath;      // empty: the dictionary is never read from a file
    std::unique_ptr<CDictionary> m_pDictionary;
};

// The window and its descendants in the language object's direction.
void TranslateWindowForLanguage(HWND hWnd);
