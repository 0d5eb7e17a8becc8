#include "platform/mfc/RecentFileList.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/LayerWords.h"

namespace {
// A relative path is taken from the current folder, as the file dialog and the command line mean it.
CString FullPath(LPCSTR pszPath)
{
    if (pszPath[0] == '/')
        return CString(pszPath);
    char szDir[4096];
    if (getcwd(szDir, sizeof szDir) == nullptr)
        return CString(pszPath);
    CString strPath(szDir);
    if (strPath.IsEmpty() || strPath[strPath.GetLength() - 1] != '/')
        strPath += '/';
    strPath += pszPath;
    return strPath;
}

// "/a/b/c/d/file.ext" cut to nMax characters: the root, "...", then as many of the last parts
// as fit; a file name too long on its own is cut.
CString AbbreviateName(const CString& strPath, int nMax)
{
    if (strPath.GetLength() <= nMax)
        return strPath;
    const int nLastSlash = strPath.ReverseFind('/');
    const CString strFile = strPath.Mid(nLastSlash + 1);
    const CString strRoot("/...");
    if (strRoot.GetLength() + 1 + strFile.GetLength() > nMax)
        return strFile.GetLength() <= nMax ? strFile : strFile.Left(nMax);
    // Grow the tail from the file name back over whole folders while it fits.
    int nStart = nLastSlash;
    for (int i = nLastSlash - 1; i > 0; --i) {
        if (strPath[i] != '/')
            continue;
        if (strRoot.GetLength() + (strPath.GetLength() - i) > nMax)
            break;
        nStart = i;
    }
    return strRoot + strPath.Mid(nStart);
}
}  // namespace

CRecentFileList::CRecentFileList(UINT nStart, LPCSTR pszSection, LPCSTR pszEntryFormat, int nSize, int nMaxDispLen)
    : m_arrNames(static_cast<size_t>(nSize > 0 ? (nSize > 16 ? 16 : nSize) : 1)),
      m_strSectionName(pszSection),
      m_strEntryFormat(pszEntryFormat),
      m_nStart(nStart),
      m_nMaxDisplayLength(nMaxDispLen)
{
}

const CString& CRecentFileList::operator[](int nIndex) const
{
    static const CString s_strEmpty;
    return nIndex >= 0 && nIndex < GetSize() ? m_arrNames[static_cast<size_t>(nIndex)] : s_strEmpty;
}

void CRecentFileList::Add(LPCSTR pszPathName)
{
    if (pszPathName == nullptr || *pszPathName == '\0')
        return;
    const CString strPath = FullPath(pszPathName);
    // The entry already there (or the last one, which falls off) makes room at the top.
    size_t nAt = m_arrNames.size() - 1;
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (m_arrNames[i].Compare(strPath) == 0) {
            nAt = i;
            break;
        }
    }
    for (size_t i = nAt; i > 0; --i)
        m_arrNames[i] = m_arrNames[i - 1];
    m_arrNames[0] = strPath;
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetSize())
        return;
    m_arrNames.erase(m_arrNames.begin() + nIndex);
    m_arrNames.emplace_back();
}

BOOL CRecentFileList::GetDisplayName(CString& strName, int nIndex, LPCSTR pszCurDir, int nCurDir) const
{
    const CString& strPath = (*this)[nIndex];
    if (strPath.IsEmpty())
        return FALSE;
    // A file straight inside the current folder shows its name alone.
    if (pszCurDir != nullptr && nCurDir > 0 && strPath.GetLength() > nCurDir + 1 &&
        strPath.Left(nCurDir).Compare(CString(pszCurDir, nCurDir)) == 0 && strPath[nCurDir] == '/' &&
        strPath.Find('/', nCurDir + 1) < 0) {
        strName = strPath.Mid(nCurDir + 1);
        return TRUE;
    }
    strName = AbbreviateName(strPath, m_nMaxDisplayLength);
    return TRUE;
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    if (pCmdUI->m_pMenu == nullptr) {
        pCmdUI->Enable(!m_arrNames[0].IsEmpty());
        return;
    }
    if (m_strOriginal.IsEmpty())
        pCmdUI->m_pMenu->GetMenuString(pCmdUI->m_nIndex, m_strOriginal, MF_BYPOSITION);
    if (m_arrNames[0].IsEmpty()) {
        // Nothing yet: the placeholder stays, greyed.
        if (!m_strOriginal.IsEmpty())
            pCmdUI->SetText(m_strOriginal);
        pCmdUI->Enable(FALSE);
        return;
    }
    for (int i = 0; i < GetSize(); ++i)
        pCmdUI->m_pMenu->DeleteMenu(pCmdUI->m_nID + static_cast<UINT>(i), MF_BYCOMMAND);
    char szCurDir[4096];
    const bool bCurDir = getcwd(szCurDir, sizeof szCurDir) != nullptr;
    const int nCurDir = bCurDir ? static_cast<int>(std::string(szCurDir).size()) : 0;
    for (int i = 0; i < GetSize(); ++i) {
        CString strName;
        if (!GetDisplayName(strName, i, bCurDir ? szCurDir : nullptr, nCurDir))
            break;
        strName.Replace("&", "&&");     // a '&' in a name is a letter, not the item's key
        // In an Arabic menu the path still reads as a path, after its number.
        if (TbUserReadsArabic())
            strName = TbLeftToRightText(strName.GetString()).c_str();
        const int nNumber = static_cast<int>(m_nStart) + i + 1;
        CString strItem;
        if (nNumber < 10)
            strItem.Format("&%d %s", nNumber, strName.GetString());
        else
            strItem.Format("%d&%d %s", nNumber / 10, nNumber % 10, strName.GetString());
        pCmdUI->m_pMenu->InsertMenu(pCmdUI->m_nIndex++, MF_STRING | MF_BYPOSITION, pCmdUI->m_nID++, strItem);
    }
    // The caller's walk goes on after the last item added, all of which are enabled.
    pCmdUI->m_nIndex--;
    pCmdUI->m_nIndexMax = pCmdUI->m_pMenu->GetMenuItemCount();
    pCmdUI->m_bEnableChanged = TRUE;
}

void CRecentFileList::ReadList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < GetSize(); ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat.GetString(), i + 1);
        m_arrNames[static_cast<size_t>(i)] = pApp->GetProfileString(m_strSectionName, strEntry, "");
    }
}

void CRecentFileList::WriteList()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    for (int i = 0; i < GetSize(); ++i) {
        CString strEntry;
        strEntry.Format(m_strEntryFormat.GetString(), i + 1);
        const CString& strName = m_arrNames[static_cast<size_t>(i)];
        // Free slots take their entries out, so a shorter list does not leave old names behind.
        pApp->WriteProfileString(m_strSectionName, strEntry, strName.IsEmpty() ? nullptr : strName.GetString());
    }
}
