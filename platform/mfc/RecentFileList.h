#pragma once
// The recent-file list: up to 16 paths, newest first, kept in a profile section as "File1",
// "File2", ...; the menu shows them as numbered items in place of the ID_FILE_MRU_FILE1 item.
#include <vector>

#include "platform/mfc/String.h"

class CCmdUI;

class CRecentFileList
{
public:
    // nStart: the first item's number (0 shows "&1"); pszEntryFormat like "File%d".
    CRecentFileList(UINT nStart, LPCSTR pszSection, LPCSTR pszEntryFormat, int nSize, int nMaxDispLen = 30);

    int GetSize() const { return static_cast<int>(m_arrNames.size()); }
    // An empty text for an index out of range or a free slot.
    const CString& operator[](int nIndex) const;
    // A relative path is taken from the current folder; an entry already there moves first.
    void Add(LPCSTR pszPathName);
    void Remove(int nIndex);
    // The name a menu shows: the file alone when it lies in the current folder, else the path
    // shortened to nMaxDispLen with "..." for the folders that do not fit. FALSE for a free slot.
    BOOL GetDisplayName(CString& strName, int nIndex, LPCSTR pszCurDir, int nCurDir) const;
    // The update of ID_FILE_MRU_FILE1 in a menu: the files' items in place of the placeholder,
    // or the placeholder disabled while the list is empty.
    void UpdateMenu(CCmdUI* pCmdUI);
    void ReadList();
    void WriteList();

private:
    std::vector<CString> m_arrNames;    // m_nSize slots, empty ones at the end
    CString m_strSectionName;
    CString m_strEntryFormat;
    UINT m_nStart;
    int m_nMaxDisplayLength;
    CString m_strOriginal;              // the placeholder's text
};
