#include "market/InternationalMarketScheduleTable.h"

#include <memory>
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/CriteriaParser.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"

namespace {
enum SCHEDULE_COLUMN { SC_MARKET = 0, SC_STATE = 1, SC_TIME = 2, SC_TEXT = SCHEDULE_COL_TEXT };

// Lines: 0 market, 1 state, 2 time, 3 description, 4 its Arabic. The market column holds the
// code and shows the market's whole name.
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 57402, .nType = COLTYPE_COMPUTED, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE, .nField = 0,
     .pfnFormat = CZorvatGlobals::FormatMarketColumn, .nFormatValue = SC_MARKET},
    {.nTitleId = 57403, .nSize = 50, .nFlags = COLF_HIDDEN, .nField = 1},
    {.nTitleId = 57404, .nType = COLTYPE_TIME_TEXT, .nWidth = TIME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SERVER_DATE,
     .nField = 2},
    {.nTitleId = 57405, .nWidth = 300, .nSize = 100, .nField = 3, .nArabicField = 4},   // a sentence
};
const TABLE_SORT_KEY s_sort[] = {{SC_MARKET, SORT_ASCENDING}, {SC_TIME, SORT_ASCENDING}, {SC_STATE, SORT_ASCENDING}};
const int s_keys[] = {SC_MARKET, SC_STATE};
}  // namespace

const TABLE_DESC g_marketScheduleTable = {
    .nNameId = IDS_TABLE_MARKET_SCHEDULE, .nTitleId = IDS_TITLE_MARKET_SCHEDULE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_VS, .nReplyType = MSG_VS,
    .nFlags = TABLEF_QUIET_REPLY};

BOOL CInternationalMarketScheduleTable::RequestSchedule()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("%ld", static_cast<long>(pApp->GetUser().GetUserNumber()));
    return CDataTable::SendRequest(strBody) != 0;
}

void CInternationalMarketScheduleTable::OnRecord(CServerMessage* pMsg)
{
    if (!IsReceiving() || pMsg == nullptr || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    CZorvatGlobals* pGlobals = GetGlobals();
    const long nMarket = pMsg->GetLong(0);
    const CString strMarket = pGlobals != nullptr ? pGlobals->GetMarketName(nMarket) : CString();
    CDataArray* pRows = GetRows();
    std::unique_ptr<CDataBuffer> pRow(pRows->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    if (pGlobals != nullptr && pGlobals->GetMarketState(nMarket) == pMsg->GetLong(1)) {
        CString strText;
        strText.FormatMessage(IDS_MARKET_STATE_NOW, static_cast<LPCSTR>(strMarket), pMsg->GetFieldText(3));
        if (CZORVAT32App* pApp = CZORVAT32App::Get()) {
            pApp->AddInfoText(strText);
            pApp->BringInfoWindowToTop(INFO_PRIORITY_NOTICE);
        }
    }
    pRows->AddRow(pRow.get(), TRUE);
}

void CInternationalMarketScheduleTable::ShowMarket(CTableMDIWnd* pWindow, LPCSTR pszMarket, BOOL bClearRange)
{
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pView, pView->GetFilters());
    if (bClearRange)
        pFilters->ClearRowRange();
    pFilters->RemoveColumnFilters(SC_MARKET);
    // Quoted: the name shown is matched whole, whatever criteria signs it holds.
    if (pszMarket != nullptr && *pszMarket != '\0')
        pFilters->AddFilter(SC_MARKET, QuoteCriteriaText(pszMarket), /*bFlag=*/FALSE, /*nGroup=*/0);
    SetViewFilter(pWindow, pFilters);
}

void CInternationalMarketScheduleTable::FilterByMarket(long nMarketCode)
{
    CTableMDIWnd* pWindow = GetActiveWindow();
    if (pWindow == nullptr)
        pWindow = GetMainWindow();
    CZorvatGlobals* pGlobals = GetGlobals();
    const CString strMarket = nMarketCode != 0 && pGlobals != nullptr ? pGlobals->GetMarketName(nMarketCode) : CString();
    ShowMarket(pWindow, strMarket, TRUE);
}

void CInternationalMarketScheduleTable::OnCellClick(CViewRow* pRow, int nCol, int* /*pnHandled*/)
{
    CTBString strMarket;
    if (pRow == nullptr || !pRow->IsDataRow() || nCol != SC_MARKET || !pRow->GetText(strMarket, SC_MARKET) ||
        strMarket.GetLength() == 0)
        return;
    CTableMDIWnd* pWindow = GetActiveWindow();
    ShowMarket(pWindow != nullptr ? pWindow : GetMainWindow(), strMarket, FALSE);
}
