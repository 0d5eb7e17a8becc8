#pragma once
// The process's language object: the one dictionary of the user interface and the direction it
// is applied in. No dictionary is loaded yet, so every text comes back as it is. Reached through
// GetLanguage (SharedGlobals.h), deleted at exit with the shared services.
#include "framework/base/TBString.h"

class CLanguage
{
public:
    CLanguage() = default;
    virtual ~CLanguage() = default;
    CLanguage(const CLanguage&) = delete;
    CLanguage& operator=(const CLanguage&) = delete;

    // Forward translates a dictionary line's left text to its right one (direction 0); nothing in
    // the program sets it, so texts are translated back (direction 1).
    BOOL IsForward() const { return m_bForward; }
    int  GetDirection() const { return m_bForward ? 0 : 1; }
    const CTBString& GetDictionaryPath() const { return m_strDictionaryPath; }
    // The text in the user interface's language; without a dictionary, the text itself.
    CTBString Translate(const char* pszText) const { return CTBString(pszText); }

private:
    BOOL m_bForward = FALSE;
    CTBString m_strDictionaryPath;      // empty: the dictionary is never read from a file
};
