#include "market/NorvInfoTable.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/base/ColumnValues.h"
#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/Row.h"
#include "framework/table/SortColumns.h"
#include "framework/table/TableColumn.h"
#include "framework/table/ViewTable.h"
#include "platform/win/Windows.h"

#define IDS_MISSING_STRING 854          // "%1": a string id that has no text
#define INFO_TIME_CHARS 25

namespace {

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 851, .nType = COLTYPE_INT32, .nFlags = COLF_KEY},
    {.nTitleId = 852, .nWidth = 60, .nSize = 60},
    {.nTitleId = 853, .nWidth = 400, .nSize = 255},
};
const TABLE_SORT_KEY s_sort[] = {{INFO_COL_NUMBER, 1}};
// The server lines the terminal's information table (CZorvatInfoTable) handles itself.
const int s_direct[] = {MSG_MM, MSG_MS, MSG_VC, MSG_BM, MSG_TI};
// Lines are written by the terminal itself, not fed by a reply; the grid keeps the newest in view.
const TABLE_DESC s_infoTable = {.columns = s_columns, .sort = s_sort, .directTypes = s_direct,
                                .nFlags = TABLEF_FOLLOW_LAST_ROW | TABLEF_NO_GROUP_LINES | TABLEF_OWN_WIDTHS};

CString ResourceText(UINT nId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    return strText;
}

}  // namespace

CNorvInfoTable::CNorvInfoTable(CZorvatMessageSource* pSource) : CDataTable(s_infoTable, pSource)
{
}

CNorvInfoTable::~CNorvInfoTable()
{
    CNorvInfoTable::Destroy();
}

BOOL CNorvInfoTable::Create(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    m_bScroll = FALSE;
    m_nNextLine = 1;
    m_nTextWidth = 0;
    m_nTimeWidth = 0;
    if (!CDataTable::Create(nNameId, nFixedColumns, nTitleId))
        return FALSE;
    if (CTableMDIWnd* pMain = GetMainWindow())
        pMain->GetGrid().SetFlag5(FALSE);
    return TRUE;
}

void CNorvInfoTable::Destroy()
{
    CDataTable::Destroy();
    for (TBCellSlot* pBlock : m_blocks)
        CTableColumns::FreeRowValues(pBlock);
    m_blocks.clear();
    m_timeColored.clear();
    m_machineSeconds.clear();
    m_nProvisional = 0;
}

void CNorvInfoTable::RemoveAllRows()
{
    CDataTable::RemoveAllRows();
    for (TBCellSlot* pBlock : m_blocks)
        CTableColumns::FreeRowValues(pBlock);
    m_blocks.clear();
    m_timeColored.clear();
    m_machineSeconds.clear();
    m_nProvisional = 0;
    m_nNextLine = 1;
}

CString CNorvInfoTable::GetTimeText()
{
    CString strTime;
    GetSharedGlobals()->GetTimeText(strTime);
    return strTime;
}

void CNorvInfoTable::AddTimedMessage(LPCSTR pszText, LPCSTR pszStamp, LPCSTR pszSecond, LPCSTR pszThird)
{
    const size_t nLength = pszStamp != nullptr ? strlen(pszStamp) : 0;
    if (nLength < 6) {
        AddMessage(pszText, 0, nullptr, nullptr);
        return;
    }
    // Characters 4 to 7 of the stamp are the packed time, fewer when the stamp ends sooner.
    char achPacked[4] = {0, 0, 0, 0};
    memcpy(achPacked, pszStamp + 3, std::min<size_t>(4, nLength - 3));
    int32_t nPacked = 0;
    memcpy(&nPacked, achPacked, sizeof nPacked);
    AddMessage(pszText, nPacked, pszSecond, pszThird);
}

void CNorvInfoTable::AddMessage(LPCSTR pszText, int32_t nPackedTime, LPCSTR pszSecond, LPCSTR pszThird)
{
    if (m_table.GetViewCount() == 0)
        return;
    if (nPackedTime == 0) {
        const int nMachineSeconds = GetProvisionalSeconds();
        StoreLine(GetTimeText(), pszText, FALSE, TRUE, nMachineSeconds);
    } else {
        TBCellSlot cell{};
        cell.nValue = nPackedTime;
        char szTime[INFO_TIME_CHARS + 1] = "";
        FormatColumnValue(szTime, sizeof szTime, &cell, 0, CColumnDataType(COLTYPE_PACKED_TIME, FALSE, 0, 0, FALSE));
        StoreLine(szTime, pszText, TRUE);
    }
    if (pszSecond != nullptr)
        StoreLine("", pszSecond, FALSE);
    if (pszThird != nullptr)
        StoreLine("", pszThird, FALSE);
}

void CNorvInfoTable::AddText(LPCSTR pszText)
{
    AddMessage(pszText, 0, nullptr, nullptr);
}

void CNorvInfoTable::AddResourceText(UINT nId)
{
    const CString strText = ResourceText(nId);
    if (strText.IsEmpty())
        AddMissingString(nId);
    else
        AddText(strText);
}

void CNorvInfoTable::AddTimedResource(UINT nId, LPCSTR pszStamp)
{
    const CString strText = ResourceText(nId);
    if (strText.IsEmpty())
        AddMissingString(nId);
    else
        AddTimedMessage(strText, pszStamp, nullptr, nullptr);
}

void CNorvInfoTable::AddResourceMessage(UINT nId, int32_t nPackedTime)
{
    const CString strText = ResourceText(nId);
    if (strText.IsEmpty())
        AddMissingString(nId);
    else
        AddMessage(strText, nPackedTime, nullptr, nullptr);
}

void CNorvInfoTable::AddMissingString(UINT nId)
{
    char szNumber[16];
    snprintf(szNumber, sizeof szNumber, "%u", nId);
    CString strText = ResourceText(IDS_MISSING_STRING);
    if (strText.IsEmpty())
        strText = "%1";
    strText.Replace("%1", szNumber);
    AddText(strText);
}

std::vector<INFO_LINE> CNorvInfoTable::GetLines() const
{
    std::vector<INFO_LINE> lines;
    for (int i = 0; i < GetLineCount(); ++i)
        lines.push_back({GetLineCell(i, INFO_COL_TIME), GetLineCell(i, INFO_COL_TEXT), m_timeColored[static_cast<size_t>(i)],
                         m_machineSeconds[static_cast<size_t>(i)]});
    return lines;
}

void CNorvInfoTable::AddLines(const std::vector<INFO_LINE>& lines)
{
    if (m_table.GetViewCount() == 0)
        return;
    for (const INFO_LINE& line : lines)
        StoreLine(line.strTime, line.strText, line.bTimeColored, FALSE, line.nMachineSeconds);
    // The lines kept over a reconnect end with the newest: the new window shows them, and
    // follows the lines that come.
    ShowNewestLine(TRUE);
}

void CNorvInfoTable::StoreLine(LPCSTR pszTime, LPCSTR pszText, BOOL bTimeColored, BOOL bTranslate,
                               int nMachineSeconds)
{
    CViewTable* pView = m_table.GetView(0);
    const CTableColumns& columns = pView->GetColumns();
    TBCellSlot* pBlock = columns.AllocRowValues(FALSE);
    if (pBlock == nullptr)
        return;
    const int32_t nNumber = m_nNextLine++;
    const CTBString strText = bTranslate ? GetLanguage()->Translate(pszText != nullptr ? pszText : "")
                                         : CTBString(pszText != nullptr ? pszText : "");
    columns.SetSlotValue(&pBlock[INFO_COL_NUMBER], &nNumber, INFO_COL_NUMBER);
    columns.SetSlotValue(&pBlock[INFO_COL_TIME], pszTime != nullptr ? pszTime : "", INFO_COL_TIME);
    columns.SetSlotValue(&pBlock[INFO_COL_TEXT], static_cast<const char*>(strText), INFO_COL_TEXT);
    m_blocks.push_back(pBlock);
    m_timeColored.push_back(bTimeColored);
    m_machineSeconds.push_back(nMachineSeconds);
    if (nMachineSeconds >= 0)
        ++m_nProvisional;
    CRow row(&m_table, pBlock);
    if (bTimeColored)
        row.SetCellTextColor(INFO_COL_TIME, INFO_TIME_COLOR);
    m_table.InsertRow(row);
    WidenColumn(INFO_COL_TIME, pszTime != nullptr ? pszTime : "", m_nTimeWidth);
    WidenColumn(INFO_COL_TEXT, strText, m_nTextWidth);
}

void CNorvInfoTable::Restamp(const std::function<CString(int)>& pfnTime)
{
    if (m_nProvisional == 0 || m_table.GetViewCount() == 0)
        return;
    const CTableColumns& columns = m_table.GetView(0)->GetColumns();
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        if (m_machineSeconds[i] < 0)
            continue;
        const CString strTime = pfnTime(m_machineSeconds[i]);
        columns.SetSlotValue(&m_blocks[i][INFO_COL_TIME], static_cast<LPCSTR>(strTime), INFO_COL_TIME);
        m_machineSeconds[i] = -1;
        WidenColumn(INFO_COL_TIME, strTime, m_nTimeWidth);
    }
    m_nProvisional = 0;
    // The rows show their values' blocks: the grid draws the new times.
    if (CTableMDIWnd* pMain = GetMainWindow(); pMain != nullptr && pMain->HasGrid())
        pMain->GetGrid().Refresh();
}

void CNorvInfoTable::WidenColumn(int nCol, LPCSTR pszText, int& nWidest)
{
    CTableMDIWnd* pMain = GetMainWindow();
    if (pMain == nullptr || !pMain->HasGrid())
        return;
    CTableWindow& grid = pMain->GetGrid();
    HDC hdc = GetDC(grid.m_hWnd);
    if (hdc == nullptr)
        return;
    HGDIOBJ hOld = grid.GetFont() != nullptr ? SelectObject(hdc, grid.GetFont()) : nullptr;
    SIZE size{0, 0};
    GetTextExtentPoint32A(hdc, pszText, static_cast<int>(strlen(pszText)), &size);
    if (hOld != nullptr)
        SelectObject(hdc, hOld);
    ReleaseDC(grid.m_hWnd, hdc);
    // Only a wider line changes the column: measuring every line again would make each new
    // line cost as much as the whole log.
    ApplyWidth(nCol, size.cx + 3 * grid.GetDigitWidth(FALSE), nWidest);
}

void CNorvInfoTable::ApplyWidth(int nCol, int nWidth, int& nWidest)
{
    CTableMDIWnd* pMain = GetMainWindow();
    if (nWidth <= nWidest || pMain == nullptr || !pMain->HasGrid())
        return;
    CTableWindow& grid = pMain->GetGrid();
    nWidest = nWidth;
    // The time and the text are the two columns shown, in that order unless the user moved them.
    const int nDisplayCol = m_table.GetView(0)->GetColumnOrder().FindPosition(nCol);
    if (nDisplayCol >= 0 && nDisplayCol < grid.GetDisplayColumnCount() && grid.GetColumnWidth(nDisplayCol) < nWidth) {
        grid.SetColumnWidth(nDisplayCol, nWidth, FALSE);
        // A width set without animation repaints nothing, and every line and the current row's
        // frame move with the column: the grid is drawn again.
        grid.Refresh();
    }
}

CString CNorvInfoTable::GetLineCell(int nLine, int nCol) const
{
    if (nLine < 0 || nLine >= GetLineCount() || nCol < 0 || nCol > INFO_COL_TEXT)
        return "";
    const TBCellSlot* pBlock = m_blocks[static_cast<size_t>(nLine)];
    if (nCol == INFO_COL_NUMBER) {
        CString strNumber;
        strNumber.Format("%d", pBlock[INFO_COL_NUMBER].nValue);
        return strNumber;
    }
    const char* pszText = static_cast<const char*>(pBlock[nCol].pData);
    return pszText != nullptr ? pszText : "";
}

void CNorvInfoTable::OnLayoutLoaded(CTableMDIWnd* pWindow)
{
    if (pWindow != GetMainWindow())
        return;
    // Narrower than a line seen: measured again from the widest kept.
    for (auto [nCol, pnWidest] : {std::pair{INFO_COL_TIME, &m_nTimeWidth}, std::pair{INFO_COL_TEXT, &m_nTextWidth}}) {
        const int nWidest = *pnWidest;
        *pnWidest = 0;
        ApplyWidth(nCol, nWidest, *pnWidest);
    }
}

void CNorvInfoTable::CloseWindow(CTableMDIWnd* pWindow)
{
    if (pWindow != nullptr && pWindow->m_hWnd != nullptr)
        pWindow->ShowWindow(SW_MINIMIZE);
}

void CNorvInfoTable::BringWindowToTop()
{
    // The window is never hidden (closing minimises it): one a workspace without its place left
    // hidden shows here. A line brought to the top is read: a window in the icon row comes back.
    CTableMDIWnd* pMain = GetMainWindow();
    if (pMain == nullptr || pMain->m_hWnd == nullptr)
        return;
    if (pMain->IsIconic())
        pMain->ShowWindow(SW_SHOWNOACTIVATE);
    // A line never takes the keys or a click from the window the trader works in, and the window
    // on top is the one that has the keys: the information window comes forward just beneath the
    // active window, on top only when it is the active one or no other is open. A line left
    // under the active window blinks the toolbar's indicator.
    const HWND hActive = reinterpret_cast<HWND>(::SendMessageA(::GetParent(pMain->m_hWnd), WM_MDIGETACTIVE, 0, 0));
    const BOOL bUnder = hActive != nullptr && hActive != pMain->m_hWnd && ::IsWindowVisible(hActive) && !::IsIconic(hActive);
    ::SetWindowPos(pMain->m_hWnd, bUnder ? hActive : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ShowNewestLine(FALSE);
}

void CNorvInfoTable::ShowNewestLine(BOOL bFollow)
{
    CTableMDIWnd* pMain = GetMainWindow();
    if (pMain == nullptr || !pMain->HasGrid() || pMain->IsIconic())
        return;
    CTableWindow& grid = pMain->GetGrid();
    const int nLast = grid.GetRowCount() - 1;
    if (nLast < 0)
        return;
    // Whole, not cut at the bottom edge; the row the trader chose stays current unless the grid
    // is to follow the newest line again.
    grid.ScrollToRow(nLast, -3);
    if (bFollow)
        grid.SetCurrentRowOffset(nLast - grid.GetTopRow());
}

BOOL CNorvInfoTable::IsWindowOpen() const
{
    CTableMDIWnd* pMain = GetMainWindow();
    return pMain != nullptr && pMain->m_hWnd != nullptr && GetActiveWindow() == pMain && !pMain->IsIconic();
}

void CNorvInfoTable::ShowWindow()
{
    if (CTableMDIWnd* pMain = GetMainWindow()) {
        pMain->ShowWindow(SW_SHOWNORMAL);
        pMain->ActivateFrame(-1);
        pMain->MDIActivate();
    }
}
