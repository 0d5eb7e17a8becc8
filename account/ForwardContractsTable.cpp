#include "account/ForwardContractsTable.h"
#include <cstdlib>
#include <memory>
#include "account/HoldingsValuation.h"
#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "platform/mfc/OleDateTime.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatTypes.h"

namespace {
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nDecimals, int nField, UINT nFlags = COLF_SUMMED, int nWidth = QUANTITY_WIDTH)
{
    return AccountNumber(nTitleId, nDecimals, nField, COLF_THOUSANDS | nFlags, nDecimals < 0 ? -nDecimals : 0, nWidth);
}
// Money in dinars, to the fils.
constexpr TABLE_COLUMN Dinars(UINT nTitleId, int nField, UINT nFlags = COLF_SUMMED)
{
    return Amount(nTitleId, -3, nField, nFlags, MONEY_WIDTH);
}
// The server's figures no line of ours gives a meaning: kept with the contract, never shown.
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    AccountDate(56383, 0),
    AccountDate(56384, 1),
    AccountId(56385, 2),                                            // 2 contract number
    AccountText(56386, 40, 3, 80),                                  // 3 contract id, its title whole
    AccountText(56387, 6, 4),                                       // 4 stock code
    AccountText(56405, 20, FIELD_NONE),                             // 5 symbol
    AccountCode(56388, SIDE_WIDTH, 5, CTransactionType::FormatCodeColumn, FC_SIDE),
    AccountInt(56389, 6),
    AccountInt(56390, 7),
    AccountPrice(56392, KSE_PRICE_DECIMALS, 8),
    AccountPrice(56393, KSE_PRICE_DECIMALS, 9),
    Dinars(56394, 10),
    Dinars(56395, 11),
    Dinars(56396, 12, COLF_SUMMED | UNNAMED),
    // The status whole in both languages ("Forward contract status 10").
    AccountCode(56397, 160, 13, CForwardContractStatus::FormatCodeColumn, FC_STATUS, 0, 50),
    {.nTitleId = 56398, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nFlags = COLF_HIDDEN, .nField = 14},  // 15 actions
    // 16 and 17: no line of ours says what their fields hold (a second "Value" beside the
    // contract's own would mislead), so they are kept, never shown.
    Dinars(56600, 16, COLF_SUMMED | UNNAMED),
    Dinars(56601, 17, UNNAMED),
    Dinars(56402, 24, COLF_SUMMED | UNNAMED),
    Dinars(56602, 18, COLF_SUMMED | UNNAMED),
    Amount(56603, 0, 19, COLF_SUMMED | UNNAMED),
    Amount(56604, 0, 20, COLF_SUMMED | UNNAMED),
    Dinars(56605, 21, COLF_SUMMED | UNNAMED),
    Dinars(56606, 22, COLF_SUMMED | UNNAMED),
    Dinars(56607, 23, COLF_SUMMED | UNNAMED),
    {.nTitleId = 56400, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nFlags = COLF_HIDDEN, .nField = 25},
    {.nTitleId = 55373, .nType = COLTYPE_INT32, .nWidth = QUANTITY_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = UNNAMED, .nField = 26},
    Dinars(40967, 27, UNNAMED),
    Dinars(40968, 28, UNNAMED),
};
static_assert(std::size(s_columns) == FC_COUNT);

const TABLE_SORT_KEY s_sort[] = {{FC_OPEN_DATE, 1}, {FC_NUMBER, -1}};
const int s_keys[] = {FC_NUMBER};
const int s_live[] = {MSG_CU};
const int s_quickFilters[] = {FC_STOCK, FC_SIDE, FC_STATUS};
const ACCOUNT_REQUEST s_requests[] = {{MSG_KN, "||%d|%s|0|0|1000000|0|2|"}};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {.nId = ID_FORWARD_CONTRACT_REQUEST}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED},
    {ID_FORWARD_CONTRACT_REQUEST, RULE_ALWAYS, ACTION_OWN},
};
}  // namespace

const ACCOUNT_DESC g_forwardContractsTable = {
    .table = {.nNameId = IDS_TABLE_FORWARD_CONTRACTS, .nTitleId = 56791, .nFixedColumns = 2, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_KN, .nReplyType = MSG_KN, .liveTypes = s_live,
              .nFlags = TABLEF_LIVE_UNGATED},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands};

BOOL CForwardContractsTable::SendRequest()
{
    // Without a link the rows stay: nothing will come to replace them.
    if (!CAccountTable::SendRequest())
        return FALSE;
    RemoveAllRows();
    return TRUE;
}

void CForwardContractsTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    pRow->SetText(FC_SYMBOL, KseStockName(pMsg->GetLong(4), FALSE), FALSE);
    GetRows()->AddRow(pRow.get(), TRUE);
}

void CForwardContractsTable::ApplyLive(CServerMessage* pMsg)
{
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pMsg->GetFieldText(2)});
    if (pRow != nullptr) {
        pRow->BeginChanges();
        FillRow(pMsg, pRow, TRUE);
        pRow->SetText(FC_SYMBOL, KseStockName(pMsg->GetLong(4), FALSE), TRUE);
        pRow->Commit();
        return;
    }
    std::unique_ptr<CDataBuffer> pNew(pRows->NewRow());
    FillRow(pMsg, pNew.get(), FALSE);
    pNew->SetText(FC_SYMBOL, KseStockName(pMsg->GetLong(4), FALSE), FALSE);
    pRows->AddRow(pNew.get(), TRUE);
}

BOOL CForwardContractsTable::OnOwnCellClick(CViewRow* pRow, int nCol)
{
    if (nCol != FC_OPEN_DATE && nCol != FC_MATURITY && nCol != FC_NUMBER)
        return FALSE;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const CString strDate = GetCellValue(pRow, FC_OPEN_DATE).GetText();
    if (pApp == nullptr || strDate.GetLength() < 8)
        return FALSE;
    // The contract is named by its opening day, whichever date was clicked.
    const COleDateTime date(atoi(strDate.Left(4)), atoi(strDate.Mid(4, 2)), atoi(strDate.Mid(6, 2)), 0, 0, 0);
    const CUser user = pApp->GetUser();
    pApp->OpenForwardContractDetail(user.GetUserNumber(), user.GetAccountNumber(), date,
                                    GetCellValue(pRow, FC_ID).GetText(), GetRowNumber(pRow, FC_ACTIONS));
    return TRUE;
}

void CForwardContractsTable::OnAccountCommand(UINT nId)
{
    if (nId == ID_FORWARD_CONTRACT_REQUEST)
        SendContractRequest();
}

BOOL CForwardContractsTable::SendContractRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const CDataBuffer* pRow = GetSelectedDataRow();
    if (pApp == nullptr || pRow == nullptr)
        return FALSE;
    // A contract without its opening day cannot be named to the server.
    const CString strDate = pRow->GetText(FC_OPEN_DATE);
    if (strDate.GetLength() < 8)
        return FALSE;
    CString strBody;
    strBody.Format("||%ld|2||%s|%s", static_cast<long>(pApp->GetUser().GetUserNumber()),
                   static_cast<LPCSTR>(pRow->GetText(FC_ID)),
                   static_cast<LPCSTR>(ConvertDisplayDateField(strDate.Left(8), COLTYPE_DATE_TEXT)));
    return pApp->SendRequest(MSG_RV, strBody) != 0;
}
