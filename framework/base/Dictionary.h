#pragma once
// Dictionaries of the user interface: a text file of "left|right" lines translating texts between
// two languages, both ways. Besides plain pairs a line may be a pattern pair, whose parenthesised
// parts stand for variable text (a number, a name) carried over into the translation:
//   Order (.*) filled|Ordre (.*) rempli
// The language object owns the process's one dictionary.
#include "framework/base/OwnedPtrArray.h"
#include "framework/base/Regex.h"
#include "framework/base/TBString.h"
#include "platform/win/Windows.h"

const int DICT_LEFT_TO_RIGHT = 0;       // directions of a lookup
const int DICT_RIGHT_TO_LEFT = 1;
const int DICT_SUBST_SIZE = 1024;       // a pattern's template and result, the terminator included

// One line of a dictionary. Both texts are kept without their backslashes; a pattern entry also
// keeps them as written, compiled as regular expressions.
class CDictString
{
public:
    CDictString();
    virtual ~CDictString();
    CDictString(const CDictString&) = delete;
    CDictString& operator=(const CDictString&) = delete;

    // A pattern entry when both texts hold a parenthesised part that no backslash escapes.
    virtual void Set(const char* pszLeft, const char* pszRight);
    // Back to an empty entry.
    virtual void Init();
    // With a character, "\c" becomes "c"; with 0 every backslash goes.
    static CTBString Unescape(const char* pszText, char ch);

    const CTBString& GetLeft() const { return m_strLeft; }
    const CTBString& GetRight() const { return m_strRight; }
    BOOL IsPattern() const { return m_bPattern; }
    // Unescaped '(' in the left text as written, the first sort key.
    int GetGroupCount() const { return m_nGroups; }
    // The translation of pszText when this entry matches it, else FALSE.
    BOOL Lookup(const char* pszText, int nDirection, CTBString& strOut);

    int m_nFileOrder = 0;               // the line's place in its file: sort ties keep it

private:
    BOOL Substitute(tbre::regexp* pRe, const char* pszText, const CTBString& strTemplate, CTBString& strOut) const;

    CTBString m_strLeft;
    CTBString m_strRight;
    CTBString m_strPatternLeft;         // as written, pattern entries only
    CTBString m_strPatternRight;
    tbre::regexp* m_pLeftRe = nullptr;  // owned (malloc); null when it did not compile
    tbre::regexp* m_pRightRe = nullptr;
    BOOL m_bPattern = FALSE;
    int m_nGroups = 0;
};

// The entries of a dictionary, owned; grows by 100.
class CDictArray : public CTBOwnedPtrArray<CDictString>
{
public:
    CDictArray() { SetSize(0, 100); }
    // Plain entries first, then more groups before fewer, longer left texts before shorter,
    // and file order among the rest, so every run translates alike.
    void Sort();
};

// The lookup over sorted entries: the first entry that matches gives the answer; a pattern entry
// that matches part of the text replaces that part. No match: the text itself.
CTBString TranslateText(CDictArray& entries, const char* pszText, int nDirection);

class CDictionary
{
public:
    // Reads the file's pairs, sorts them and marks the dictionary loaded; FALSE when the file
    // cannot be opened (the dictionary stays as it was).
    BOOL LoadDictionaryFile(const char* pszPath);
    BOOL IsLoaded() const { return m_bLoaded; }
    int GetEntryCount() const { return m_entries.GetSize(); }
    // The text translated, or unchanged when no dictionary is loaded or nothing matches.
    CTBString Translate(const char* pszText, int nDirection);
    // A resource string of the language module, translated.
    CTBString TranslateString(UINT uId, int nDirection);

    // The window and all its descendants: plain window texts, the items of tab controls and
    // headers, and whatever a registered control translator handles. A text is written back only
    // when its translation differs, so an unchanged field keeps its caret, selection and quiet.
    void TranslateWindow(HWND hWnd, int nDirection);
    // The menu (null: the main window's) with its submenus, by position: command items on the
    // first four levels, submenu captions on the first three; an item keeps its id, state, type
    // and submenu. FALSE when an item could not be changed (the walk stops there).
    BOOL TranslateMenu(HMENU hMenu, int nDirection);
    // The column titles of the grid that is this window, through the grid's registered translator.
    void TranslateColumnTitles(HWND hWnd, int nDirection);

private:
    void TranslateOneWindow(HWND hWnd, int nDirection);
    BOOL TranslateMenuLevel(HMENU hMenu, int nLevel, int nDirection);

    BOOL m_bLoaded = FALSE;
    CDictArray m_entries;
};

// Controls of the layers above this one translate themselves: the layer that owns a window class
// registers what translating one of its windows means. Registering a class again replaces its
// translator; FALSE when the table is full.
typedef void (*PFNTRANSLATECONTROL)(HWND hWnd, CDictionary& dictionary, int nDirection);
BOOL RegisterControlTranslator(const char* pszClassName, PFNTRANSLATECONTROL pfnTranslate);
PFNTRANSLATECONTROL FindControlTranslator(const char* pszClassName);
