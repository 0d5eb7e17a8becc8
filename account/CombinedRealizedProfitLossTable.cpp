#include "account/CombinedRealizedProfitLossTable.h"

#include <string>

#include "account/HoldingsValuation.h"
#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "platform/win/user/MessageBox.h"
#include "link/ServerMessage.h"
#include "link/MessageSource.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

#define KSE_MARKET_CODE 2
#define KSE_CURRENCY "=KWD"

namespace {
enum { CC_COST = 7, CC_CHARGES = 10, CC_PROFIT = 12, CC_MARKET = 14, CC_CURRENCY = 15, CC_SYMBOL_TEXT = 16,
       CC_BASE_COST = 17 };
enum { UF_SYMBOL = 3, UF_MARKET = 18, RKF_STOCK = 3 };
const int s_converted[] = {CC_COST, CC_CHARGES, CC_PROFIT};

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nField, UINT nFlags = COLF_THOUSANDS | COLF_SUMMED | COLF_ZERO_SHOWN,
                               int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, -2, nField, nFlags, 2, nWidth);
}

// A row's quantity and amounts are in its own units and currency (shares or contracts, dollars
// or dinars): only the base-currency columns have a total.
const UINT s_ownCurrency = COLF_THOUSANDS | COLF_ZERO_SHOWN | COLF_MONEY;
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nFlags = COLF_KEY, .nField = 0},
    AccountDate(41135, 1),
    AccountId(41136, 2),
    AccountText(41149, 6, UF_SYMBOL),
    AccountNumber(41138, 0, 4, COLF_THOUSANDS | COLF_ZERO_SHOWN),          // a quantity, no amount
    AccountNumber(41139, -4, 5, COLF_THOUSANDS | COLF_OMIT_ZERO_FRACTION, 2, PRICE_WIDTH),
    Amount(41140, 7, s_ownCurrency),
    Amount(41141, 8, s_ownCurrency),
    AccountDate(41142, 9),
    AccountDate(41143, 10),
    Amount(41144, 12, s_ownCurrency),                                 // charges
    Amount(41148, 13, COLF_THOUSANDS | COLF_MONEY),
    Amount(41145, 14, s_ownCurrency),
    Amount(41146, 15, COLF_THOUSANDS | COLF_ZERO_SHOWN, GAIN_PERCENT_WIDTH),                  // per cent
    AccountCode(41150, MARKET_COLUMN_WIDTH, FIELD_NONE, CZorvatGlobals::FormatMarketColumn, CC_MARKET, 0, MARKET_COLUMN_SIZE),
    AccountText(41151, 6, 19),
    AccountName(41137),
    Amount(41132, FIELD_NONE),
    Amount(41133, FIELD_NONE),
    Amount(41134, FIELD_NONE),
};
// The KSE row's fields of the same columns.
const int s_kseFields[] = {0, 1, 2, 3, 5, 6, 8, 9, 10, 11, 13, 15, 16, 17};
const TABLE_FIELD_MAP s_maps[] = {{MSG_RK, s_kseFields}};
const int s_direct[] = {MSG_RK};
const TABLE_SORT_KEY s_sort[] = {{1, SORT_ASCENDING}, {3, SORT_ASCENDING}, {0, SORT_ASCENDING}};
const int s_keys[] = {0};
const int s_quickFilters[] = {3, CC_MARKET, CC_CURRENCY, CC_SYMBOL_TEXT};
const UINT s_optionItems[] = {33563, 33565};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}, {.nPopupTitleId = 33558, .popup = s_optionItems}, {}};
const ACCOUNT_COMMAND s_commands[] = {
    {ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH},
    // Its rows have no option column to filter on.
    {33563, RULE_US, ACTION_NONE},
    {33565, RULE_US, ACTION_NONE},
};
const char s_kseBody[] = "||%ld|%s|%s|%s||||0||2";
// Where the "RK" begin line echoes the range.
const int KSE_ECHO_FROM = 4, KSE_ECHO_TO = 5;

COMBINED_RANGE_DIALOG s_pfnDialog = nullptr;

// A US row's symbol text: none unless the quotation table lists the symbol; then the symbol
// list's name of it in the interface's language, else the quotation's own.
CString UsSymbolText(long nMarket, LPCSTR pszSymbol)
{
    const CDataTable* pQuotes = FindDataTable(IDS_TABLE_US_QUOTATIONS);
    const CDataBuffer* pQuote = pQuotes != nullptr ? pQuotes->GetRows()->FindRow({pszSymbol}) : nullptr;
    if (pQuote == nullptr)
        return CString();
    const CString strName = CompanyNameOf(nMarket, pszSymbol, /*bInterface=*/TRUE);
    return strName.IsEmpty() ? CString(pQuote->GetText(QC_TICKER, TRUE)) : strName;
}

// A KSE row's symbol text: the board's, else the stock list's in the interface language (the
// code itself when the list lacks it).
CString KseSymbolText(LPCSTR pszStock)
{
    const CDataTable* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS);
    const CDataBuffer* pQuote =
        pBoard != nullptr ? pBoard->GetRows()->FindRowByIds({static_cast<LONG>(atol(pszStock))}) : nullptr;
    if (pQuote != nullptr)
        return pQuote->GetText(KC_TEXT, TRUE);
    return KseStockName(atol(pszStock), TRUE);
}

CString RequestBody(LPCSTR pszFormat, const CString& strFrom, const CString& strTo)
{
    const CUser user = CZORVAT32App::Get()->GetUser();
    CString strBody;
    strBody.Format(pszFormat, static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(user.GetAccountText()),
                   static_cast<LPCSTR>(strFrom), static_cast<LPCSTR>(strTo));
    return strBody;
}
}  // namespace

const RANGE_REPORT_DESC g_combinedRealizedProfitLossTable = {
    .account = {.table = {.nNameId = IDS_TABLE_COMBINED_REALIZED, .nTitleId = 41153, .nFixedColumns = 3,
                          .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_RP,
                          .nReplyType = MSG_RP, .directTypes = s_direct, .maps = s_maps,
                          .nCurrencyColumn = 15},
                .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands},
    .nDialogId = 0, .pszBody = "%ld|%s|%s|%s|||0||2", .nEchoFrom = 2, .nEchoTo = 3, .nErrorField = 9, .bEveryView = TRUE};

void RegisterCombinedRealizedDialog(COMBINED_RANGE_DIALOG pfnRun)
{
    s_pfnDialog = pfnRun;
}

long QueryCombinedRealized(const CString& strFrom, const CString& strTo)
{
    return QueryRangeReport(g_combinedRealizedProfitLossTable, strFrom, strTo);
}

BOOL CCombinedRealizedProfitLossTable::SendRequest()
{
    if (s_pfnDialog == nullptr)
        return QueryCombinedRealized(GetFrom(), GetTo()) != 0;
    CTableMDIWnd* pWindow = GetActiveWindow();
    return s_pfnDialog(pWindow != nullptr ? pWindow->m_hWnd : nullptr, GetFrom(), GetTo()) == IDOK;
}

void CCombinedRealizedProfitLossTable::OnQuerySent(long nNumber)
{
    m_nUsNumber = nNumber;
    m_nKseNumber = 0;
    m_nCurrent = 0;
}

void CCombinedRealizedProfitLossTable::OnRP(CServerMessage* pMsg)
{
    // Another report's request, or an earlier one of this table, is not this query's.
    if (pMsg == nullptr || m_nUsNumber == 0 || GetRawLineNumber(pMsg) != m_nUsNumber)
        return;
    // A refusal disarms the table: a later report's reply is not its own.
    if (!BeginRangeReply(pMsg, /*bEmpty=*/TRUE)) {
        m_nUsNumber = 0;
        return;
    }
    m_nCurrent = MSG_RP;
}

void CCombinedRealizedProfitLossTable::OnRK(CServerMessage* pMsg)
{
    if (pMsg == nullptr || m_nKseNumber == 0 || GetRawLineNumber(pMsg) != m_nKseNumber)
        return;
    m_nUsNumber = m_nKseNumber = 0;
    if (IsRefusal(pMsg, 0))
        return;
    // The KSE range titles the first view alone; the others keep the US reply's.
    ShowRange(pMsg, KSE_ECHO_FROM, KSE_ECHO_TO, /*bFirstViewOnly=*/TRUE);
    m_nCurrent = MSG_RK;
    BeginReply(/*bEmpty=*/FALSE);
}

void CCombinedRealizedProfitLossTable::OnRecord(CServerMessage* pMsg)
{
    if (m_nCurrent == 0 || pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    BOOL bNew = FALSE;
    CDataBuffer* pRow = FillOrAddRow(pMsg, m_nCurrent == MSG_RK ? MSG_RK : 0, &bNew);
    if (pRow == nullptr)
        return;
    if (m_nCurrent == MSG_RP) {
        const long nMarket = pMsg->GetLong(UF_MARKET);
        pRow->SetText(CC_MARKET, std::to_string(nMarket).c_str(), TRUE);
        pRow->SetText(CC_SYMBOL_TEXT, UsSymbolText(nMarket, pMsg->GetFieldText(UF_SYMBOL)), TRUE);
    } else {
        pRow->SetText(CC_MARKET, std::to_string(KSE_MARKET_CODE).c_str(), TRUE);
        pRow->SetText(CC_CURRENCY, KSE_CURRENCY, TRUE);
        pRow->SetText(CC_SYMBOL_TEXT, KseSymbolText(pMsg->GetFieldText(RKF_STOCK)), TRUE);
    }
    Convert(pRow);
}

void CCombinedRealizedProfitLossTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    const int nEnded = m_nCurrent;
    m_nCurrent = 0;
    EndReply(/*bComplete=*/nEnded == MSG_RK);
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (nEnded == MSG_RP && pApp != nullptr)
        m_nKseNumber = pApp->SendRequest(MSG_RK, RequestBody(s_kseBody, GetFrom(), GetTo()));
    (void)pMsg;
}

void CCombinedRealizedProfitLossTable::Convert(CDataBuffer* pRow)
{
    const double dRate = RateToBase(pRow->GetText(CC_CURRENCY, TRUE));
    for (int i = 0; i < 3; ++i)
        WriteConverted(pRow, CC_BASE_COST + i, pRow->GetDouble(s_converted[i]) * dRate);
}

void CCombinedRealizedProfitLossTable::ConvertToBaseCurrency()
{
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i)
        Convert(pRows->GetAt(i));
}
