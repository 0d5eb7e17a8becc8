// CDataTable: its views and windows, settings, context menu, and the table text export and import.
#include "market/DataTable.h"

#include <cstdio>
#include <cstring>
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TableArchive.h"
#include "market/TableLinks.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"

#define IMPORT_LINE_BYTES 32768

CString CDataTable::GetViewTitle(CViewTable* pView, BOOL bLanguage)
{
    CString strTitle = static_cast<const char*>(
        GetLanguage()->GetDictionary()->Translate(m_strTitle, bLanguage ? DICT_RIGHT_TO_LEFT : DICT_LEFT_TO_RIGHT));
    const int nView = m_table.FindView(pView);
    if (nView >= 1) {
        CString strNumbered;
        strNumbered.Format("%s:%d", static_cast<LPCSTR>(strTitle), nView + 1);
        return strNumbered;
    }
    return strTitle;
}

CString CDataTable::GetViewName(CViewTable* pView)
{
    const int nView = m_table.FindView(pView);
    if (nView >= 1) {
        CString strNumbered;
        strNumbered.Format("%s:%d", static_cast<LPCSTR>(m_strName), nView + 1);
        return strNumbered;
    }
    return m_strName;
}

void CDataTable::RetitleViews()
{
    const CString strNumbered = GetViewTitle(m_table.GetView(0), FALSE);
    for (int i = 0; i < m_table.GetViewCount(); ++i) {
        CViewTable* pView = m_table.GetView(i);
        pView->SetName(GetViewName(pView));
        // A further view titled for what it shows (a window sorted its own way) keeps its title.
        const CString strTitle = static_cast<const char*>(pView->GetTitleAt(0));
        if (i > 0 && !strTitle.IsEmpty() && strncmp(strTitle, strNumbered, strlen(strNumbered)) != 0)
            continue;
        pView->SetTitle(GetViewTitle(pView, FALSE), 0);
        pView->SetTitle(GetViewTitle(pView, TRUE), 1);
    }
}

CTableMDIWnd* CDataTable::OpenWindow(BOOL bActivate)
{
    CTableMDIWnd* pWindow = CMDITable::OpenWindow(bActivate);
    if (pWindow == nullptr)
        return nullptr;
    RetitleViews();
    if (pWindow->HasGrid())
        pWindow->GetGrid().AddEventSink(this);
    return pWindow;
}

void CDataTable::RemoveWindow(CTableMDIWnd* pWindow)
{
    CMDITable::RemoveWindow(pWindow);
    // The views after the one removed move up: their ":n" follows.
    RetitleViews();
}

CTableMDIWnd* CDataTable::GetActiveWindow() const
{
    CNorvApp* pApp = CNorvApp::Get();
    CNorvMainFrame* pFrame = pApp != nullptr ? pApp->GetMainFrame() : nullptr;
    CMDIChildWnd* pActive = pFrame != nullptr ? pFrame->MDIGetActive() : nullptr;
    if (pActive == nullptr)
        return nullptr;
    for (int i = 0; i < m_table.GetViewCount(); ++i)
        if (CTableMDIWnd* pWindow = FindWindowByView(i); pWindow == pActive)
            return pWindow;
    return nullptr;
}

BOOL CDataTable::GetSelectedRow(CViewRow& row, int* pnIndex)
{
    if (pnIndex != nullptr)
        *pnIndex = -1;
    CTableMDIWnd* pWindow = GetActiveWindow();
    if (pWindow == nullptr || !pWindow->HasGrid())
        return FALSE;
    const int nIndex = pWindow->GetGrid().GetCurrentRow();
    if (nIndex >= 0 && pWindow->GetView()->GetRow(row, nIndex) && row.IsDataRow() && pnIndex != nullptr)
        *pnIndex = nIndex;
    return TRUE;
}

CCellValue CDataTable::GetCellValue(CViewRow* pRow, int nCol)
{
    CViewTable* pView = pRow != nullptr && pRow->IsValid() ? pRow->GetView() : nullptr;
    if (pView == nullptr || nCol < 0 || nCol >= pView->GetColumnCount())
        return CCellValue();
    const CTableColumn* pColumn = pView->GetColumns().GetColumn(nCol);
    TBCellSlot* pValues = pColumn != nullptr ? pRow->LockValues() : nullptr;
    if (pValues == nullptr)
        return CCellValue();
    CCellValue value = CCellValue::Read(pValues, nCol, *pColumn);
    pRow->UnlockValues(pValues);
    return value;
}

CDataBuffer* CDataTable::GetDataRow(CViewRow* pRow) const
{
    const int nKeys = m_pRows->GetKeyColumnCount();
    if (pRow == nullptr || !pRow->IsDataRow() || nKeys == 0)
        return nullptr;
    std::vector<CString> texts(static_cast<size_t>(nKeys));
    std::vector<const char*> keys(static_cast<size_t>(nKeys));
    for (size_t k = 0; k < texts.size(); ++k) {
        const CCellValue value = GetCellValue(pRow, m_pRows->GetKeyColumn(static_cast<int>(k)));
        if (value.IsEmpty())
            return nullptr;
        texts[k] = value.GetText();
        keys[k] = texts[k];
    }
    return m_pRows->FindRow(std::span<const char* const>(keys));
}

CDataBuffer* CDataTable::GetSelectedDataRow()
{
    CViewRow row;
    int nIndex = -1;
    if (!GetSelectedRow(row, &nIndex) || nIndex < 0)
        return nullptr;
    return GetDataRow(&row);
}

CCellValue CDataTable::GetFocusedValue(int nCol)
{
    CTableMDIWnd* pWindow = GetActiveWindow();
    if (pWindow == nullptr)
        pWindow = GetMainWindow();
    if (pWindow == nullptr || !pWindow->HasGrid() || pWindow->GetView() == nullptr)
        return CCellValue();
    CViewRow row;
    const int nIndex = pWindow->GetGrid().GetCurrentRow();
    if (nIndex < 0 || !pWindow->GetView()->GetRow(row, nIndex) || !row.IsDataRow())
        return CCellValue();
    return GetCellValue(&row, nCol);
}

CTableColumn* CDataTable::GetColumnDataType(int nCol)
{
    CViewTable* pView = m_table.GetViewCount() > 0 ? m_table.GetCurrentView() : nullptr;
    if (pView == nullptr || nCol < 0 || nCol >= pView->GetColumns().GetCount())
        return nullptr;
    return pView->GetColumns().GetColumn(nCol);
}

BOOL CDataTable::SetViewFilter(CTableMDIWnd* pWindow, CTableFilters* pFilters)
{
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr || pFilters == nullptr)
        return FALSE;
    pFilters->SetMode(FILTER_MARK);
    pView->SetFilters(pFilters);
    pView->ApplyFilters(pFilters);
    // Marked rows alone show while a filter is set.
    if (pView->GetSumMode() == 0)
        pView->SetSumMode(1);
    return TRUE;
}

void CDataTable::SelectSection(CIni* pIni) const
{
    pIni->SetSection(m_strName);
}

void CDataTable::SaveSettings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    SelectSection(&settings);
    m_log.Save(&settings);
    CMDITable::SaveSettings();
}

void CDataTable::LoadSettings(CIni* pIni)
{
    if (pIni != nullptr)
        m_log.Load(pIni);
}

HMENU CDataTable::CreateContextMenu()
{
    return LoadPopupMenu(IDR_TABLE_MENU);
}

HMENU CDataTable::LoadPopupMenu(UINT nMenuId)
{
    HMENU hBar = LoadMenuA(TbGetResourceModule(), MAKEINTRESOURCEA(nMenuId));
    if (hBar == nullptr)
        return nullptr;
    HMENU hPopup = GetSubMenu(hBar, 0);
    if (hPopup != nullptr)
        RemoveMenu(hBar, 0, MF_BYPOSITION);
    DestroyMenu(hBar);
    return hPopup;
}

void CDataTable::InsertTopItems(HMENU hMenu, std::initializer_list<UINT> ids)
{
    if (hMenu == nullptr)
        return;
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (auto it = std::rbegin(ids); it != std::rend(ids); ++it)
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, *it, LoadMenuItemText(*it));
}

BOOL CDataTable::RouteOwnCommand(int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo, BOOL bEnabled,
                                 const std::function<void()>& run)
{
    if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        if (pExtra == nullptr)
            return FALSE;
        static_cast<CCmdUI*>(pExtra)->Enable(bEnabled);
        return TRUE;
    }
    if (nCode != CN_COMMAND)
        return FALSE;
    if (pHandlerInfo == nullptr)
        run();
    return TRUE;
}

BOOL CDataTable::SaveToFile(LPCSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == '\0' || m_table.GetViewCount() == 0)
        return FALSE;
    CViewTable* pView = m_table.GetCurrentView() != nullptr ? m_table.GetCurrentView() : m_table.GetView(0);
    CTableFileArchive archive(pView, FALSE);
    if (!archive.Open(pszPath, FALSE))
        return FALSE;
    // Every row, whatever the window's filter shows.
    return pView->ForEachRow(&archive);
}

BOOL CDataTable::LoadFromFile(LPCSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == '\0')
        return FALSE;
    if (m_table.GetViewCount() == 0)
        return TRUE;
    FILE* pFile = fopen(pszPath, "r");
    if (pFile == nullptr)
        return TRUE;
    const CTableColumns& columns = m_table.GetView(0)->GetColumns();
    std::vector<char> line(IMPORT_LINE_BYTES);
    m_pRows->BeginUpdate();
    while (fgets(line.data(), IMPORT_LINE_BYTES, pFile) != nullptr) {
        size_t nLength = strlen(line.data());
        if (nLength == IMPORT_LINE_BYTES - 1 && line[nLength - 1] != '\n') {
            // Longer than the buffer: the line is cut there, and its rest is no row of its own.
            int ch;
            while ((ch = fgetc(pFile)) != EOF && ch != '\n') {
            }
        }
        while (nLength > 0 && (line[nLength - 1] == '\n' || line[nLength - 1] == '\r'))
            line[--nLength] = '\0';
        if (nLength == 0)
            continue;
        const int nUnescaped = CTableFileArchive::UnescapeField(line.data(), '\0');
        std::unique_ptr<CDataBuffer> pRow(m_pRows->NewRow());
        TBCellSlot* pValues = pRow->AllocValues();
        if (pValues == nullptr)
            break;
        const char* pszField = line.data();
        const char* pszEnd = line.data() + nUnescaped;
        for (int c = 0; c < columns.GetCount() && pszField <= pszEnd; ++c) {
            const CTableColumn* pColumn = columns.GetColumn(c);
            if (*pszField != '\0')
                ParseColumnValue(&pValues[c], pColumn->m_nSize, pColumn->GetDecimals(FALSE), *pColumn, pszField);
            pszField += strlen(pszField) + 1;
        }
        m_pRows->AddRow(pRow.get(), TRUE);
    }
    fclose(pFile);
    m_pRows->EndUpdate();
    return TRUE;
}
