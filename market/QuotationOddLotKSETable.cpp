#include "market/QuotationOddLotKSETable.h"

#include <memory>
#include "framework/base/SharedGlobals.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "market/WatchListSettings.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Menu.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatTypes.h"

#define IDR_ODDLOT_MENU 253
#define IDS_TABLE_MENU_TITLE 55291
#define IDS_TABLE_TRADES_ODDLOT_KSE 52113
#define TRADES_SYMBOL_COLUMN 2

namespace {

constexpr TABLE_COLUMN Price(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
            .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51890, .nSize = 11},                                                       // 0 symbol
    {.nTitleId = 51939, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},  // 1 stock
    Price(51891, 17),                                                                       // 2 last
    {.nTitleId = 51922, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 18},                                             // 3 last trade
    Price(51931, 14),                                                                       // 4 reference
    {.nTitleId = 51906, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
     .nField = 19},                                                                         // 5 quantity
    {.nTitleId = 51932, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
     .nField = 20},                                                                         // 6 deals
    {.nTitleId = 51934, .nType = COLTYPE_DOUBLE, .nWidth = MONEY_WIDTH, .nDecimals = -3, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SUMMED, .nMinDecimals = 3, .nField = 21},                               // 7 value
    Price(51935, FIELD_NONE),                                                               // 8 average
    Price(51897, FIELD_NONE),                                                               // 9 change
    Price(51900, FIELD_NONE),                                                               // 10 alert price
    {.nTitleId = 51901, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nAlign = ALIGN_RIGHT,
     .pfnFormat = CAlertDir::FormatCodeColumn, .nFormatValue = OC_ALERT_DIR},               // 11 alert direction
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == OC_COUNT);

const TABLE_SORT_KEY s_sort[] = {{OC_STOCK, 1}};
const int s_keys[] = {OC_STOCK};
const int s_liveTypes[] = {MSG_QQ};

#define IDS_TABLE_STOCK_LIST_KSE 56376

// The stock list names a stock in the interface's language.
CString StockSymbol(long nStock)
{
    return GetStockSymbolFrom(IDS_TABLE_STOCK_LIST_KSE, nStock, IsArabicInterface());
}

}  // namespace

const TABLE_DESC g_oddLotQuotationTable = {
    .nNameId = IDS_TABLE_QUOTATIONS_ODDLOT_KSE, .nTitleId = IDS_TITLE_QUOTATIONS_ODDLOT_KSE, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_SQ, .nReplyType = MSG_SQ, .liveTypes = s_liveTypes,
    .crCellBack0 = RGB(255, 255, 128)};

CQuotationOddLotKSETable::CQuotationOddLotKSETable(CZorvatMessageSource* pSource)
    : CDataTable(g_oddLotQuotationTable, pSource)
{
}

void CQuotationOddLotKSETable::CreateColumns()
{
    CDataTable::CreateColumns();
    // A stock's number is a name, not an amount.
    GetTable()->GetColumn(OC_STOCK).SetThousands(FALSE);
}

int CQuotationOddLotKSETable::ComputeRow(CDataBuffer* pRow, BOOL bPublish)
{
    ODDLOT_FIGURES figures;
    ComputeOddLotFigures(pRow->GetDouble(OC_LAST), pRow->GetDouble(OC_REFERENCE), pRow->GetDouble(OC_QUANTITY),
                         pRow->GetDouble(OC_VALUE), &figures);
    // Numbers go in as they are: a reply of thousands of rows has no time for a text of each.
    pRow->SetValue(OC_CHANGE, &figures.dChange, bPublish);
    pRow->SetValue(OC_AVERAGE, &figures.dAverage, bPublish);
    pRow->SetCellAttribute(OC_LAST, figures.nAttr);
    pRow->SetCellAttribute(OC_CHANGE, figures.nAttr);
    return figures.nAttr;
}

void CQuotationOddLotKSETable::AddLineRow(CServerMessage* pMsg)
{
    // Figures worked out before the row is stored and its colours after, each cell on its own:
    // a reply's rows are appended unsorted, and nothing here may sort them before its end.
    std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
    FillRow(pMsg, pNew.get(), FALSE);
    pNew->SetText(OC_SYMBOL, StockSymbol(pMsg->GetLong(0)), FALSE);
    const int nAttr = ComputeRow(pNew.get(), FALSE);
    CDataBuffer* pRow = GetRows()->GetAt(GetRows()->AddRow(pNew.get(), TRUE));
    if (pRow == nullptr)
        return;
    pRow->SetCellAttribute(OC_LAST, nAttr);
    pRow->SetCellAttribute(OC_CHANGE, nAttr);
}

void CQuotationOddLotKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg != nullptr && IsReceiving() && (GetSource() == nullptr || GetSource()->IsRestricted()))
        AddLineRow(pMsg);
}

void CQuotationOddLotKSETable::ApplyLive(CServerMessage* pMsg)
{
    CDataBuffer* pRow = GetRows()->FindRowByIds({static_cast<LONG>(pMsg->GetLong(0))});
    if (pRow == nullptr) {
        AddLineRow(pMsg);
        return;
    }
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    ComputeRow(pRow, TRUE);
    pRow->Commit();
}

void CQuotationOddLotKSETable::OnLayoutSaved(CTableMDIWnd* pWindow)
{
    if (pWindow != nullptr && pWindow == GetMainWindow())
        SaveWatchList(GetSharedGlobals()->m_settings);
}

void CQuotationOddLotKSETable::SaveWatchList(CIni& ini)
{
    SelectWatchListSection(ini, GetName(), /*bOddLot=*/TRUE);
    WriteWatchListHead(ini, TRUE, FALSE);
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        ODDLOT_WATCH_ENTRY entry;
        entry.strTicker = pRow->GetText(OC_SYMBOL);
        entry.dAlertPrice = pRow->GetDouble(OC_ALERT_PRICE);
        entry.nAlertDirection = pRow->GetLong(OC_ALERT_DIR);
        WriteOddLotWatchEntry(ini, i, entry);
    }
}

HMENU CQuotationOddLotKSETable::CreateContextMenu()
{
    HMENU hPopup = LoadPopupMenu(IDR_ODDLOT_MENU);
    if (hPopup == nullptr)
        return nullptr;
    if (HMENU hTableMenu = CDataTable::CreateContextMenu()) {
        AppendMenuA(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hTableMenu), LoadMarketText(IDS_TABLE_MENU_TITLE));
    }
    return hPopup;
}

void CQuotationOddLotKSETable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    CTBString strSymbol;
    if (pRow == nullptr || !pRow->IsDataRow() || nCol != OC_SYMBOL || !pRow->GetText(strSymbol, nCol))
        return;
    if (ShowTradesOfSymbol(IDS_TABLE_TRADES_ODDLOT_KSE, TRADES_SYMBOL_COLUMN, strSymbol) && pnHandled != nullptr)
        *pnHandled = 1;
}
