#pragma once
#include "framework/base/Ini.h"
#include "platform/win/Records.h"

class CRecordStore;

// A CIni over a whole settings file held in memory: read once by Open, written back when the
// object is switched to another file or destroyed. Sections and entries live in record stores
// sorted by name (byte order); the object owns them.
//
// File: "[section]" lines, each followed by "key=value" lines; a line break in a value is
// written as backslash and 'n'. An empty value is no value: it is not written back, so it
// reads as missing. Of two sections or keys of the same name, the first entry of the key that
// has a value answers lookups (sections and then keys in file order); all are written back.
// So a file answers the same before and after it is saved and read again.
class CSettingsFile : public CIni
{
public:
    CSettingsFile();
    CSettingsFile(const char* pszFile, const char* pszSection);
    ~CSettingsFile() override;
    CSettingsFile(const CSettingsFile&) = delete;
    CSettingsFile& operator=(const CSettingsFile&) = delete;

    // Saves the current file (when marked for saving), then reads pszFile in its place.
    // FALSE when pszFile could not be read: the object then holds nothing.
    BOOL Open(const char* pszFile);
    // Writes every section with entries through a temporary file in the same folder that
    // replaces the old file only once it is complete; the old file keeps its mode. FALSE, with
    // the old file untouched, when that fails, and for a file that exists but could not be read.
    // A file made anew is private to the user (0600).
    BOOL SaveSettingsFile();
    BOOL LoadSettingsFile();

    // The store. A value longer than 1024 characters is refused (FALSE), the old one kept, and
    // so is what the file could not give back: an empty section or key, a line break in either,
    // '=' in the key or '[' at its start, a CR at the end of the value. A write sets the first
    // entry of the key; an empty value blanks every entry of it.
    DWORD ReadProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut,
                            LPCSTR pszFile) override;
    int   ReadProfileInt(LPCSTR pszSection, LPCSTR pszKey, int nDefault, LPCSTR pszFile) override;
    BOOL  WriteProfileString(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszFile) override;

    // Direct access. GetValue is null for a missing section or key, or one without a value (the
    // lookup rule above). GetNextSection walks the sections in name order: start with nPos 0;
    // it answers null with an empty name at the end.
    LPCSTR GetValue(LPCSTR pszSection, LPCSTR pszKey) const;
    CRecordStore* GetNextSection(int& nPos, CTBString& strName) const;
    CRecordStore* AddSection(LPCSTR pszName);
    INT_PTR* AddEntry(CRecordStore* pEntries, LPCSTR pszKey, LPCSTR pszValue);
    static INT_PTR* FindEntry(const CRecordStore* pStore, LPCSTR pszName);

    // Records kept as text: a window placement as ten numbers, a logical font in the font text.
    // A missing placement answers the default and sets *pbUsedDefault.
    BOOL WriteWindowPlacement(const CTBString& strKey, const WINDOWPLACEMENT* pPlacement);
    void GetWindowPlacement(WINDOWPLACEMENT* pPlacement, const CTBString& strKey, const WINDOWPLACEMENT* pDefault,
                            BOOL* pbUsedDefault);
    void GetLogFont(LOGFONTA* pLogFont, const CTBString& strKey, const LOGFONTA* pDefault);
    // A point "x,y" (numbers a damaged text lacks keep the default's), brought back to 50 pixels
    // inside the right and bottom of the main window's client area when it lies beyond them.
    void GetWindowPos(POINT* pPoint, const CTBString& strKey, POINT ptDefault);
    BOOL WriteLogFont(const CTBString& strKey, const LOGFONTA* pLogFont);

private:
    void FreeSections();
    CRecordStore* FindSection(LPCSTR pszName) const;
    // Every entry of the key in every section of the name, in file order, while visit
    // (entries store, entry) answers true.
    template <typename Visit>
    void ForEachEntry(LPCSTR pszSection, LPCSTR pszKey, Visit visit) const;
    // The entry a lookup answers: the first of the key with a value, or null.
    INT_PTR* FindAnswer(LPCSTR pszSection, LPCSTR pszKey) const;

    BOOL m_bSaveOnClose = TRUE;
    BOOL m_bUnreadable = FALSE;         // the file exists but the last load could not read it
    CRecordStore* m_pSections = nullptr;    // field 0 the name, field 1 the entries store (owned)
};
