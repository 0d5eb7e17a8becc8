#include "market/StockListKSETable.h"

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "framework/window/TableWindow.h"
#include "market/DataArray.h"
#include "market/StockDetailTables.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"

namespace {
constexpr TABLE_COLUMN Text(UINT nTitleId, int nSize, int nField)
{
    return {.nTitleId = nTitleId, .nSize = nSize, .nField = nField};
}
constexpr TABLE_COLUMN Date(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
constexpr TABLE_COLUMN Number(UINT nTitleId, int nType, int nWidth, int nDecimals, UINT nFlags, int nField)
{
    return {.nTitleId = nTitleId, .nType = nType, .nWidth = nWidth, .nDecimals = nDecimals, .nAlign = ALIGN_RIGHT,
            .nFlags = nFlags, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    Number(56371, COLTYPE_INT32, NUMBER_WIDTH, 0, 0, 0),                        // 0 stock id
    Text(56372, 20, 1),                                                         // 1 symbol
    Text(56373, 40, 2),                                                         // 2 its Arabic form
    Text(56374, 120, 3),                                                        // 3 company
    Text(56375, 140, 4),                                                        // 4 its Arabic form
    Text(56621, 40, 5),                                                         // 5 sector
    {.nTitleId = 56622, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 6},                                  // 6
    Number(56623, COLTYPE_INT32, COUNT_WIDTH, 0, 0, 7),                         // 7 lot: shares to a lot
    {.nTitleId = 56624, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -2, .nAlign = ALIGN_RIGHT,
     .nMinDecimals = 2, .nField = 12},                                          // 8
    Date(56625, 13),                                                            // 9
    Date(56626, 14),                                                            // 10
    Number(56627, COLTYPE_DOUBLE, PRICE_WIDTH, -1, COLF_OMIT_ZERO_FRACTION, 15),  // 11 tick
    Date(56628, 16),                                                            // 12
    Date(56629, 17),                                                            // 13
    Number(56630, COLTYPE_DOUBLE, PRICE_WIDTH, -1, COLF_OMIT_ZERO_FRACTION, 9),  // 14
    Number(56631, COLTYPE_DOUBLE, PRICE_WIDTH, -8, COLF_OMIT_ZERO_FRACTION, 10),  // 15
    Number(56632, COLTYPE_INT32, NUMBER_WIDTH, 0, 0, 11),                       // 16
    Number(56633, COLTYPE_DOUBLE, MONEY_WIDTH, 0, 0, 8),                        // 17
    Number(56634, COLTYPE_DOUBLE, MONEY_WIDTH, 0, 0, 19),                       // 18
    Number(56635, COLTYPE_INT32, NUMBER_WIDTH, 0, 0, 20),                       // 19
    Text(56636, 40, 21),                                                        // 20
};
const TABLE_SORT_KEY s_sort[] = {{SLC_ID, SORT_ASCENDING}};
const int s_keys[] = {SLC_ID};
const int s_liveTypes[] = {MSG_LL};

const char BASE_CURRENCY_TEXT[] = "=KWD";       // stock id 0 stands for cash
}  // namespace

const TABLE_DESC g_stockListKSETable = {
    .nNameId = IDS_TABLE_STOCK_LIST_KSE, .nTitleId = IDS_TITLE_STOCK_LIST_KSE, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_SL, .nReplyType = MSG_SL, .liveTypes = s_liveTypes};

CString CStockListKSETable::GetStockSymbol(long nStockId, BOOL bSecond) const
{
    if (nStockId == 0)
        return BASE_CURRENCY_TEXT;
    const CDataBuffer* pRow = GetRows()->FindRowByIds({static_cast<LONG>(nStockId)});
    if (pRow == nullptr) {
        CString strId;
        strId.Format("%ld", nStockId);
        return strId;
    }
    return pRow->GetText(bSecond ? SLC_SYMBOL_AR : SLC_SYMBOL);
}

CString CStockListKSETable::GetStockName(long nStockId, BOOL bSecond) const
{
    const CDataBuffer* pRow = GetRows()->FindRowByIds({static_cast<LONG>(nStockId)});
    return pRow != nullptr ? pRow->GetText(bSecond ? SLC_NAME_AR : SLC_NAME) : CString();
}

void CStockListKSETable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    // The KSE requests wait for the list that names their stocks.
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->OnKseStockListIn();
}

HMENU CStockListKSETable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    InsertTopItems(hMenu, {ID_STOCK_INFORMATION, ID_STOCK_FINANCIALS});
    return hMenu;
}

BOOL CStockListKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_STOCK_INFORMATION && nId != ID_STOCK_FINANCIALS)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    const BOOL bEnabled = nCode == static_cast<int>(CN_UPDATE_COMMAND_UI) ? GetSelectedStock() >= 0 : TRUE;
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bEnabled, [&] {
        if (nId == ID_STOCK_INFORMATION)
            OpenStockTable(IDS_TABLE_STOCK_INFORMATION, IDS_TITLE_STOCK_INFORMATION);
        else
            OpenStockTable(IDS_TABLE_STOCK_FINANCIAL, IDS_TITLE_STOCK_FINANCIAL);
    });
}

long CStockListKSETable::GetSelectedStock()
{
    const CCellValue id = GetFocusedValue(SLC_ID);
    return id.IsEmpty() ? -1 : static_cast<long>(id.GetNumber());
}

void CStockListKSETable::OpenStockTable(UINT nNameId, UINT nTitleId)
{
    CStockDetailTable* pTable = dynamic_cast<CStockDetailTable*>(FindDataTable(nNameId));
    if (pTable == nullptr) {
        pTable = dynamic_cast<CStockDetailTable*>(MakeTable(nNameId, 0, nTitleId));
        if (pTable == nullptr)
            return;
        if (CTableMDIWnd* pMain = pTable->GetMainWindow())
            pMain->LoadSettings();
    }
    CNorvApp::ShowTable(pTable);
    const long nStock = GetSelectedStock();
    if (nStock >= 0)
        pTable->Request(nStock);
}

CString GetKSEStockSymbol(long nStockId, BOOL bSecond)
{
    const CStockListKSETable* pList = dynamic_cast<const CStockListKSETable*>(FindDataTable(IDS_TABLE_STOCK_LIST_KSE));
    if (pList != nullptr)
        return pList->GetStockSymbol(nStockId, bSecond);
    CString strId;
    strId.Format("%ld", nStockId);
    return strId;
}
