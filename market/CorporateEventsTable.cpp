#include "market/CorporateEventsTable.h"

#include <memory>

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/EventColumns.h"
#include "market/TableLinks.h"
#include "market/dialogs/CorpEventDownloadFilterDlg.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

namespace {
enum { CC_ID, CC_MARKET_ID, CC_STOCK, CC_MARKET, CC_DATE, CC_KIND };
const int MARKET_FIELD = 17;
const UINT ID_CORP_EVENTS_REFRESH = 33175;
const int FROM_FIELD = 4;
const int TO_FIELD = 5;

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51261, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT, .nFlags = COLF_HIDDEN, .nField = 0},
    {.nTitleId = 51241, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_HIDDEN, .nField = 9},
    {.nTitleId = 51242, .nSize = 6, .nField = 2},
    {.nTitleId = 57382, .nType = COLTYPE_COMPUTED, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE,
     .nField = MARKET_FIELD, .pfnFormat = CZorvatGlobals::FormatMarketColumn, .nFormatValue = CC_MARKET},
    EventDateColumn(51243, 1),
    {.nTitleId = 51244, .nType = COLTYPE_COMPUTED, .nWidth = CODE_WIDTH, .nField = 3,
     .pfnFormat = CTransactionType::FormatCodeColumn, .nFormatValue = CC_KIND},
    EventValueColumn(51245, 4),
    {.nTitleId = 51246, .nSize = 6, .nField = 5},
    EventValueColumn(51247, 6),
    EventDateColumn(51248, 7),
    {.nTitleId = 51249, .nSize = 50, .nField = 8},
    {.nTitleId = 41015, .nType = COLTYPE_COMPUTED, .nWidth = CODE_WIDTH, .nField = 18, .pfnFormat = CSubsType::FormatCodeColumn,
     .nFormatValue = 11},
    EventDateColumn(41016, 19), EventDateColumn(41017, 20), EventDateColumn(41018, 21),
    {.nTitleId = 41028, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = 14},
};
const TABLE_SORT_KEY s_sort[] = {{CC_DATE, SORT_ASCENDING}, {CC_STOCK, SORT_ASCENDING}, {CC_ID, SORT_ASCENDING},
                                 {CC_MARKET_ID, SORT_ASCENDING}, {15, SORT_ASCENDING}};
const int s_keys[] = {CC_MARKET_ID, CC_ID, 15};
}  // namespace

const TABLE_DESC g_corporateEventsTable = {
    .nNameId = IDS_TABLE_CORPORATE_EVENTS, .nTitleId = IDS_TITLE_CORPORATE_EVENTS, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_CE, .nReplyType = MSG_CE};

void CCorporateEventsTable::OnCE(CServerMessage* pMsg)
{
    // Another requester's reply names itself in field 3.
    if (pMsg == nullptr || (pMsg->GetSize() > 2 && pMsg->GetLong(3) != 0))
        return;
    TableOnReplyBegin(pMsg);
}

void CCorporateEventsTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}

void CCorporateEventsTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == CC_STOCK || nCol == CC_KIND) && FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}

HMENU CCorporateEventsTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    DeleteMenu(hMenu, 0, MF_BYPOSITION);
    InsertTopItems(hMenu, {ID_CORP_EVENTS_REFRESH});
    return hMenu;
}

BOOL CCorporateEventsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_CORP_EVENTS_REFRESH)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
        CTableMDIWnd* pMain = GetMainWindow();
        RunCorpEventDownload(pMain != nullptr ? pMain->m_hWnd : nullptr);
    });
}

namespace {
// The table found or made, emptied and shown, then asked for the events between the dates.
void RequestCorporateEvents(LPCSTR pszFrom, LPCSTR pszTo)
{
    CDataTable* pTable = FindDataTable(IDS_TABLE_CORPORATE_EVENTS);
    if (pTable == nullptr) {
        pTable = dynamic_cast<CDataTable*>(MakeTable(IDS_TABLE_CORPORATE_EVENTS, 0, IDS_TITLE_CORPORATE_EVENTS));
        if (pTable != nullptr && pTable->GetMainWindow() != nullptr)
            pTable->GetMainWindow()->LoadSettings();
    }
    if (pTable == nullptr)
        return;
    pTable->RemoveAllRows();
    CNorvApp::ShowTable(pTable);
    CServerMessage request(1);
    request.SetAtGrow(FROM_FIELD, pszFrom);
    request.SetAtGrow(TO_FIELD, pszTo);
    CString strLine;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr && request.FormatRequest(&strLine, MSG_CE, 1, FALSE, FALSE, nullptr, FALSE) == REQUEST_OK)
        pApp->SendRequest(strLine);
}
}  // namespace

INT_PTR RunCorpEventDownload(HWND hParent)
{
    CCorpEventDownloadFilterDlg dialog(hParent != nullptr ? CWnd::FromHandle(hParent) : nullptr, RequestCorporateEvents);
    return static_cast<int>(dialog.DoModal());
}
