#include "market/IndicesKSETable.h"

#include <cstdlib>
#include <memory>
#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TableWindow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/IndicesHistoryTables.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"

namespace {
enum INDEX_COLUMN {
    IC_CODE = 0, IC_CURRENT = 3, IC_REFERENCE = 7, IC_CHANGE = 8,
    IC_CURRENT2 = 15, IC_REFERENCE2 = 19, IC_CHANGE2 = 20, IC_PERCENT = 21
};
const COLORREF INDEX_CELL_BACK = 0xD2D2D2;

// An index's level, or its change: points with two decimals, of a price's kind.
constexpr TABLE_COLUMN Value(UINT nTitleId, int nField, UINT nFlags = 0, int nWidth = PRICE_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = -2, .nAlign = ALIGN_RIGHT,
            .nFlags = nFlags, .nMinDecimals = 2, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 55410, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},
    {.nTitleId = 55411, .nSize = 70, .nField = 1},
    {.nTitleId = 55412, .nSize = 70, .nField = 2},
    Value(55413, 3), Value(55414, 4), Value(55415, 5), Value(55416, 6), Value(55417, 7),
    Value(55430, FIELD_NONE),
    {.nTitleId = 55418, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 8},
    {.nTitleId = 55419, .nType = COLTYPE_DOUBLE, .nWidth = MONEY_WIDTH, .nDecimals = -3, .nAlign = ALIGN_RIGHT,
     .nMinDecimals = 3, .nField = 9},
    {.nTitleId = 55420, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 10},
    {.nTitleId = 55422, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN,
     .nField = 11},
    {.nTitleId = 55423, .nType = COLTYPE_DOUBLE, .nWidth = MONEY_WIDTH, .nDecimals = -3, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_HIDDEN, .nMinDecimals = 3, .nField = 12},
    {.nTitleId = 55424, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN,
     .nField = 13},
    Value(55425, 14, COLF_HIDDEN), Value(55426, 15, COLF_HIDDEN), Value(55427, 16, COLF_HIDDEN),
    Value(55428, 17, COLF_HIDDEN), Value(55429, 18, COLF_HIDDEN),
    Value(55431, FIELD_NONE, COLF_HIDDEN),
    Value(42302, FIELD_NONE, 0, PERCENT_WIDTH),
};
// "IX" lacks the two texts: every later field is two lower.
const int s_liveFields[] = {0, FIELD_NONE, FIELD_NONE, 1, 2, 3, 4, 5, FIELD_NONE, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const TABLE_FIELD_MAP s_maps[] = {{.nMessageType = MSG_IX, .fields = s_liveFields}};
const int s_live[] = {MSG_IX};
const TABLE_SORT_KEY s_sort[] = {{IC_CODE, 1}};
const int s_keys[] = {IC_CODE};

int ChangeAttribute(double dChange)
{
    return dChange > 0 ? CHANGE_ATTR_RISE : dChange < 0 ? CHANGE_ATTR_FALL : CHANGE_ATTR_NONE;
}

// The day values (the columns after the current one, up to the reference) left 0 take the
// current value; the change against the reference, 0 without a current value.
double FillDayValues(CDataBuffer* pRow, int nCurrent, int nReference)
{
    const double dCurrent = pRow->GetDouble(nCurrent);
    for (int nCol = nCurrent + 1; nCol <= nReference; ++nCol)
        if (pRow->GetDouble(nCol) == 0.0)
            pRow->SetDouble(nCol, dCurrent, TRUE);
    return dCurrent > 0 ? dCurrent - pRow->GetDouble(nReference) : 0.0;
}
}  // namespace

const TABLE_DESC g_indicesKSETable = {
    .nNameId = IDS_TABLE_INDICES_KSE, .nTitleId = IDS_TITLE_INDICES_KSE, .nFixedColumns = 1, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_LX, .nReplyType = MSG_LX, .liveTypes = s_live,
    .maps = s_maps, .nFlags = TABLEF_FOLLOW_LAST_ROW, .crCellBack0 = INDEX_CELL_BACK};

void CIndicesKSETable::ComputeChanges(CDataBuffer* pRow)
{
    if (pRow == nullptr)
        return;
    const double dChange = FillDayValues(pRow, IC_CURRENT, IC_REFERENCE);
    pRow->SetDouble(IC_CHANGE, dChange, TRUE);
    const int nAttribute = ChangeAttribute(dChange);
    for (const int nCol : {IC_CURRENT, IC_CHANGE, IC_PERCENT})
        pRow->SetCellAttribute(nCol, nAttribute);

    const double dChange2 = FillDayValues(pRow, IC_CURRENT2, IC_REFERENCE2);
    pRow->SetDouble(IC_CHANGE2, dChange2, TRUE);
    const int nAttribute2 = ChangeAttribute(dChange2);
    for (const int nCol : {IC_CURRENT2, IC_CHANGE2})
        pRow->SetCellAttribute(nCol, nAttribute2);

    const double dCurrent = pRow->GetDouble(IC_CURRENT);
    const double dReference = pRow->GetDouble(IC_REFERENCE);
    const double dPercent = dCurrent > 0 && dReference > 0 ? (dCurrent - dReference) / dReference * 100.0 : 0.0;
    pRow->SetDouble(IC_PERCENT, dPercent, TRUE);
}

void CIndicesKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pLine(GetRows()->NewRow());
    FillRow(pMsg, pLine.get(), FALSE);
    const int nIndex = GetRows()->AddRow(pLine.get(), TRUE);
    // A code twice in one reply keeps its first row; the second has no row to compute.
    if (nIndex >= 0)
        ComputeChanges(GetRows()->GetAt(nIndex));
}

void CIndicesKSETable::ApplyLive(CServerMessage* pMsg)
{
    // The same line carries other markets' indices by their tickers (".DJI") for the charts; a
    // KSE index is a number, and a ticker read as one would make a row of code 0 with no name.
    const CString strCode = pMsg->GetField(0);
    if (strCode.IsEmpty() || strCode.SpanIncluding("0123456789").GetLength() != strCode.GetLength())
        return;
    const int nIndex = GetRows()->FindRowIndexByIds({static_cast<LONG>(pMsg->GetLong(0))});
    if (nIndex < 0) {
        // An index the reply did not have: its texts wait for the next reply.
        std::unique_ptr<CDataBuffer> pLine(GetRows()->NewRow());
        FillRow(pMsg, pLine.get(), FALSE);
        const int nAdded = GetRows()->AddRow(pLine.get(), TRUE);
        if (nAdded >= 0)
            ComputeChanges(GetRows()->GetAt(nAdded));
        return;
    }
    CDataBuffer* pRow = GetRows()->GetAt(nIndex);
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    ComputeChanges(pRow);
    pRow->Commit();
}

HMENU CIndicesKSETable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    InsertTopItems(hMenu, {ID_INDEX_DAILY_HISTORY, ID_INDEX_MONTHLY_HISTORY});
    return hMenu;
}

BOOL CIndicesKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_INDEX_DAILY_HISTORY && nId != ID_INDEX_MONTHLY_HISTORY)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [&] { OpenHistory(nId); });
}

void CIndicesKSETable::OpenHistory(UINT nCommand)
{
    const BOOL bDaily = nCommand == ID_INDEX_DAILY_HISTORY;
    const UINT nNameId = bDaily ? IDS_TABLE_INDEX_DAILY : IDS_TABLE_INDEX_MONTHLY;
    CIndicesHistoryTable* pTable = dynamic_cast<CIndicesHistoryTable*>(FindDataTable(nNameId));
    if (pTable == nullptr) {
        pTable = dynamic_cast<CIndicesHistoryTable*>(
            MakeTable(nNameId, 0, bDaily ? IDS_TITLE_INDEX_DAILY : IDS_TITLE_INDEX_MONTHLY));
        if (pTable == nullptr)
            return;
        if (CTableMDIWnd* pMain = pTable->GetMainWindow())
            pMain->LoadSettings();
    }
    CNorvApp::ShowTable(pTable);
    // No focused index asks for code 0, which the server answers with nothing.
    pTable->RequestHistory(static_cast<long>(GetFocusedValue(IC_CODE).GetNumber()));
}
