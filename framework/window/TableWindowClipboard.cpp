// The grid window's clipboard: copied rows go to a temporary file written by the table archive;
// the clipboard offers its text and its path ("CF_NorvTable") on demand, and a paste reads the
// file back into a view of a table of the same name.
#include "framework/window/TableWindow.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TempFiles.h"
#include "framework/table/TableArchive.h"
#include "framework/table/TableColumn.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"

namespace {

const UINT CLIP_MEMORY = GMEM_MOVEABLE | GMEM_ZEROINIT;

// A global block holding the bytes and a terminating zero; null when none can be had.
HANDLE MakeTextBlock(const std::string& strText)
{
    HGLOBAL hMem = GlobalAlloc(CLIP_MEMORY, strText.size() + 1);
    char* pszBlock = hMem ? static_cast<char*>(GlobalLock(hMem)) : nullptr;
    if (!pszBlock) {
        if (hMem)
            GlobalFree(hMem);
        return nullptr;
    }
    memcpy(pszBlock, strText.c_str(), strText.size() + 1);
    GlobalUnlock(hMem);
    return hMem;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// What the menus ask

BOOL CTableWindow::CanCopy()
{
    return m_pView && m_pView->GetRowCount() > 0;
}

BOOL CTableWindow::CanCut() const
{
    return m_pView && m_pView->m_bAllowCut;
}

BOOL CTableWindow::CanPaste() const
{
    return m_pView && m_pView->m_bAllowPaste && m_uClipFormat != 0 && IsClipboardFormatAvailable(m_uClipFormat);
}

// ---------------------------------------------------------------------------------------------
// Copy and cut

int CTableWindow::WriteClipboardHeader(ITableArchive* pArchive)
{
    if (!pArchive || !m_pView)
        return 0;
    CTBString strLine;
    strLine.Format("TableID=%s\n", static_cast<const char*>(m_pView->GetName()));
    if (!pArchive->WriteString(strLine))
        return 0;
    strLine.Format("ColumnHeaders=%d\n", m_pView->m_bWriteTitleLine ? 1 : 0);
    return pArchive->WriteString(strLine);
}

int CTableWindow::CheckClipboardHeader(ITableArchive* pArchive)
{
    if (!pArchive || !m_pView)
        return 0;
    char szLine[256];
    if (!pArchive->ReadString(szLine, sizeof szLine))
        return 0;
    CTBString strExpected;
    strExpected.Format("TableID=%s\n", static_cast<const char*>(m_pView->GetName()));
    if (strcmp(szLine, strExpected) != 0) {
        // Rows of another table would land in the wrong columns.
        Beep();
        return 0;
    }
    return 1;
}

int CTableWindow::CopyRowsToClipboard(CTableFilters* pFilters, BOOL bCut, const char* pszFile)
{
    if (!m_hWnd || !m_pView || !OpenClipboard(m_hWnd))
        return 0;
    // We become the owner; the file of our previous copy goes with the old contents.
    EmptyClipboard();
    std::unique_ptr<CTableFilters> marked;
    CTableFilters* pRows = pFilters;
    if (!pRows) {
        marked = std::make_unique<CTableFilters>();
        if (!marked->Init(m_pView, nullptr)) {
            CloseClipboard();
            return 0;
        }
        marked->SetMode(FILTER_FIND_MARKED);
        pRows = marked.get();
    }
    pRows->SetAllRows();
    CTBString strFile = pszFile ? CTBString(pszFile) : MakeTempFileName(m_pView->GetName());
    auto pArchive = std::make_unique<CTableFileArchive>(m_pView, /*bRowState=*/TRUE);
    if (strFile.GetLength() == 0 || !pArchive->Open(strFile, /*bForReading=*/FALSE)) {
        CloseClipboard();
        return 0;
    }
    m_strClipFile = strFile;
    BOOL bWritten = WriteClipboardHeader(pArchive.get());
    pArchive->SetFilters(pRows);
    if (bWritten)
        bWritten = m_pView->ForEachRow(pArchive.get());
    const int nFromMarked = pArchive->GetRowCount();
    if (bWritten && nFromMarked == 0 && !pFilters) {
        // Nothing marked: the current row stands in, when it is a data row.
        CViewRow row(m_pView);
        const int nCurrent = GetCurrentRow();
        bWritten = nCurrent >= 0 && m_pView->GetRow(row, nCurrent) && row.IsDataRow();
        pArchive->SetFilters(nullptr);
        if (bWritten && m_pView->m_bWriteTitleLine)
            bWritten = pArchive->WriteHeader(m_pView->GetColumns());
        if (bWritten)
            bWritten = pArchive->WriteRow(row.GetNode());
        if (bWritten && bCut)
            m_pView->DeleteRowAt(nCurrent);
    }
    pArchive.reset();
    if (!bWritten) {
        // The clipboard-destroyed handling deletes the file just written.
        EmptyClipboard();
        CloseClipboard();
        return 0;
    }
    if (bCut && nFromMarked > 0) {
        CTableFilters find;
        if (find.Init(m_pView, nullptr)) {
            find.SetMode(FILTER_FIND_MARKED);
            int nFrom = 0;
            for (;;) {
                find.SetRowRange(nFrom, -1);
                m_pView->ApplyFilters(&find);
                const int nFound = find.GetFoundIndex();
                if (nFound < 0)
                    break;
                // A row the view keeps is stepped over, or the search would find it for ever.
                nFrom = m_pView->DeleteRowAt(nFound) ? nFound : nFound + 1;
            }
        }
    }
    SetClipboardData(CF_TEXT, nullptr);
    if (m_uClipFormat != 0)
        SetClipboardData(m_uClipFormat, nullptr);
    CloseClipboard();
    return 1;
}

int CTableWindow::CopySelection(BOOL bCut)
{
    if (!m_pView)
        return 0;
    CTableFilters all;
    if (!all.Init(m_pView, nullptr))
        return 0;
    int nResult = CopyRowsToClipboard(&all, FALSE, nullptr);
    if (nResult && bCut)
        m_pView->RemoveAllRows();
    return nResult;
}

// ---------------------------------------------------------------------------------------------
// Rendering on demand

// The rows as text: tab between the shown columns, CR LF between lines, no final line break.
HANDLE CTableWindow::RenderText()
{
    if (m_strClipFile.GetLength() == 0 || !m_pView)
        return nullptr;
    CTableFileArchive archive(m_pView, /*bRowState=*/TRUE);
    if (!archive.Open(m_strClipFile, /*bForReading=*/TRUE) || archive.GetFileSize() <= 0)
        return nullptr;
    // Columns hidden for good never reach the text; those the user hid may come back.
    const CTableColumns& columns = m_pView->GetColumns();
    int nLastShown = -1;
    for (int i = 0; i < columns.GetCount(); ++i)
        if (!columns[i]->m_bHidden || columns[i]->m_bUserSwitchable)
            nLastShown = i;
    if (nLastShown < 0)
        return nullptr;
    std::string strText;
    strText.reserve(static_cast<size_t>(archive.GetFileSize()));
    std::vector<char> line;
    int nLine = 0;
    BOOL bFirstKept = TRUE;
    for (const char* pszLine = archive.ReadLine(); pszLine; pszLine = archive.ReadLine()) {
        if (++nLine <= 2)
            continue;       // table id and title flag
        if (!bFirstKept)
            strText += "\r\n";
        bFirstKept = FALSE;
        size_t nLength = strlen(pszLine);
        while (nLength > 0 && (pszLine[nLength - 1] == '\n' || pszLine[nLength - 1] == '\r'))
            --nLength;
        line.assign(pszLine, pszLine + nLength);
        line.push_back('\0');
        const int nFields = CTableFileArchive::UnescapeField(line.data(), '\0', archive.m_chSeparator, archive.m_chEscape);
        const char* pszField = line.data();
        const char* pszEnd = line.data() + nFields;
        for (int i = 0; i <= nLastShown && pszField < pszEnd; ++i) {
            const size_t nField = strlen(pszField);
            if (!columns[i]->m_bHidden || columns[i]->m_bUserSwitchable) {
                strText.append(pszField, nField);
                if (i < nLastShown)
                    strText += '\t';
            }
            pszField += nField + 1;
        }
    }
    return MakeTextBlock(strText);
}

HANDLE CTableWindow::RenderPath()
{
    if (m_strClipFile.GetLength() == 0)
        return nullptr;
    return MakeTextBlock(std::string(m_strClipFile));
}

void CTableWindow::OnRenderFormat(UINT nFormat)
{
    HANDLE hData = nullptr;
    if (nFormat == CF_TEXT)
        hData = RenderText();
    else if (nFormat != 0 && nFormat == m_uClipFormat)
        hData = RenderPath();
    if (hData && !SetClipboardData(nFormat, hData))
        GlobalFree(hData);
}

// The window is going: its file goes with it, so only the text is rendered.
void CTableWindow::OnRenderAllFormats()
{
    if (!m_pView || !m_pView->IsOpen())
        return;
    HANDLE hText = RenderText();
    if (hText && !SetClipboardData(CF_TEXT, hText))
        GlobalFree(hText);
}

// The window is going and its file with it. Rows it copied stay on the clipboard as text only:
// a path that was rendered already would send a later paste to a missing file.
void CTableWindow::LeaveClipboardAsText()
{
    if (m_uClipFormat == 0 || m_strClipFile.GetLength() == 0 || !IsClipboardFormatAvailable(m_uClipFormat)
        || !OpenClipboard(nullptr))
        return;
    HANDLE hPath = GetClipboardData(m_uClipFormat);
    const char* pszPath = hPath ? static_cast<const char*>(GlobalLock(hPath)) : nullptr;
    BOOL bOurs = FALSE;
    if (pszPath) {
        bOurs = strnlen(pszPath, GlobalSize(hPath)) == static_cast<size_t>(m_strClipFile.GetLength())
                && strncmp(pszPath, m_strClipFile, GlobalSize(hPath)) == 0;
        GlobalUnlock(hPath);
    }
    if (bOurs) {
        std::string strText;
        HANDLE hText = GetClipboardData(CF_TEXT);
        const char* pszText = hText ? static_cast<const char*>(GlobalLock(hText)) : nullptr;
        if (pszText) {
            strText.assign(pszText, strnlen(pszText, GlobalSize(hText)));
            GlobalUnlock(hText);
        }
        EmptyClipboard();
        HANDLE hCopy = pszText ? MakeTextBlock(strText) : nullptr;
        if (hCopy && !SetClipboardData(CF_TEXT, hCopy))
            GlobalFree(hCopy);
    }
    CloseClipboard();
}

void CTableWindow::OnDestroyClipboard()
{
    DeleteClipboardFile();
}

void CTableWindow::DeleteClipboardFile()
{
    if (m_strClipFile.GetLength() > 0) {
        remove(m_strClipFile);
        m_strClipFile.Empty();
    }
}

// ---------------------------------------------------------------------------------------------
// Paste

int CTableWindow::PasteRows()
{
    if (!m_pView || m_uClipFormat == 0 || !IsClipboardFormatAvailable(m_uClipFormat) || !OpenClipboard(m_hWnd))
        return 0;
    HANDLE hData = GetClipboardData(m_uClipFormat);
    const char* pszPath = hData ? static_cast<const char*>(GlobalLock(hData)) : nullptr;
    if (!pszPath) {
        CloseClipboard();
        return 0;
    }
    std::string strPath(pszPath, strnlen(pszPath, GlobalSize(hData)));
    GlobalUnlock(hData);
    CTableFileArchive archive(m_pView, /*bRowState=*/TRUE);
    if (!archive.Open(strPath.c_str(), /*bForReading=*/TRUE)) {
        // The offer is stale: its file is gone.
        EmptyClipboard();
        CloseClipboard();
        return 0;
    }
    CloseClipboard();
    if (!CheckClipboardHeader(&archive))
        return 0;
    if (m_pView->m_bAllowPaste)
        m_pView->ReadRowsAt(&archive, GetCurrentRow());
    else
        m_pView->ReadRows(&archive);
    return 1;
}
