#pragma once
// The cache files of a stock's history (monthly quotations, financials, company information):
// one file per stock (and language) named after the date stamp of the server's data, e.g.
// "QM_101_261207.SAV" or "SF_101_0_261207.SAV", in the program's folder. The tables write and
// read the files' content; this class names, finds and deletes them.
//
// A stamp names a file only when it is letters and digits: the server's text reaches the file
// system through it, and a "..\" or a "*" must not.
#include "platform/mfc/String.h"

class CHistoryCache
{
public:
    // pszPrefix "QM", "SF", "SI"; bLanguage puts the language code after the stock.
    CHistoryCache(LPCSTR pszPrefix, BOOL bLanguage);

    // The folder the files lie in, ending in the path separator; empty means the working one.
    void SetFolder(LPCSTR pszFolder) { m_strFolder = pszFolder != nullptr ? pszFolder : ""; }
    const CString& GetFolder() const { return m_strFolder; }

    static BOOL IsValidStamp(LPCSTR pszStamp);
    // The file's path; empty when the stamp names no file.
    CString MakePath(long nStock, LPCSTR pszLanguage, LPCSTR pszStamp) const;
    // The stamp of the stock's file in the folder, empty when there is none. Should several lie
    // there (a run that ended between writing the new one and deleting the old), the greatest.
    CString FindStamp(long nStock, LPCSTR pszLanguage) const;
    // FALSE when the stamp names no file or the file could not be deleted.
    BOOL Delete(long nStock, LPCSTR pszLanguage, LPCSTR pszStamp) const;

private:
    CString FileStem(long nStock, LPCSTR pszLanguage) const;   // the name up to the stamp

    CString m_strPrefix;
    BOOL m_bLanguage = FALSE;
    CString m_strFolder;
};
