#include "account/CombinedUnrealizedProfitLossTable.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include "account/HoldingsValuation.h"
#include "framework/base/ColumnValues.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ServerDateFields.h"

#define KSE_MARKET 2
#define KSE_CASH "=KWD"
#define IDS_NOT_SENT 40360
#define ID_COMBINED_UNREALIZED_DIALOG 40229
#define IDS_OPTION_KIND 57226           // "Option"

namespace {
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nDecimals, UINT nFlags, int nMin, int nField = FIELD_NONE,
                              int nWidth = MONEY_WIDTH)
{
    return AccountNumber(nTitleId, nDecimals, nField, COLF_THOUSANDS | nFlags, nMin, nWidth);
}
const UINT S = COLF_SUMMED;
const UINT Z = COLF_BLANK_ZERO;
const UINT O = COLF_ZERO_SHOWN;
const UINT W = COLF_OMIT_ZERO_FRACTION;
const UINT M = COLF_MONEY;
const int N = FIELD_NONE;

// The base map is the "UP" rows'. Each row counts in its own currency and units (dinars or
// dollars, shares or option contracts, a US row's per cent in column 21): only the base-currency
// columns have a total. Amounts are held to their currency's cent or fils, as the rows show them.
const TABLE_COLUMN s_columns[] = {
    AccountText(41154, 6, 0),                                       // 0 symbol, KSE stock code
    AccountName(41155),                                             // 1 name
    AccountText(41156, 40, N, MARKET_COLUMN_WIDTH),                 // 2 market
    AccountId(41157, 1, NUMBER_WIDTH, COLF_HIDDEN | COLF_SWITCHABLE),  // 3 the reply's account
    AccountText(41158, 6, 21),                                      // 4 currency
    AccountCode(41159, 70, N, CCombinedUnrealizedProfitLossTable::FormatKind, CU_KIND),
    Amount(41160, -3, O, 0, 5, QUANTITY_WIDTH),                     // 6 quantity, the cash row's dinars
    Amount(41161, -3, Z, 0, 6, QUANTITY_WIDTH),                     // 7 second quantity
    // 8 and 21: the unrealized gain and per cent of the line's fields, which the row's own (13
    // and 14) replace; they repeat those, so they show only when the trader asks.
    Amount(41162, -3, O | M | COLF_HIDDEN | COLF_SWITCHABLE, 3, 24),  // 8
    AccountPrice(41163, POSITION_PRICE_DECIMALS, 8, COLF_THOUSANDS | Z),  // 9 price, a KSE one in dinars
    // An average cost to four places whatever filled it: the reply's figure or a live line's quotient.
    Amount(41164, -4, O, 4, 3, PRICE_WIDTH),                        // 10 average cost
    Amount(41165, -3, O | M, 3, 4, MONEY_WIDTH),                    // 11 cost
    Amount(41166, -3, O | M, 3, N, MONEY_WIDTH),                    // 12 market value
    Amount(41167, -3, O | M, 3, N, MONEY_WIDTH),                    // 13 gain
    Amount(41168, -2, O, 2, N, GAIN_PERCENT_WIDTH),                      // 14 per cent
    Amount(41169, -3, S | O, 3, N, MONEY_WIDTH),                    // 15 cost in the base currency
    Amount(41170, -3, S | O, 3, N, MONEY_WIDTH),                    // 16 value in the base currency
    Amount(41171, -3, S | W | O, 3, N, MONEY_WIDTH),                // 17 gain in the base currency
    AccountDate(41172, 1),
    AccountDate(41173, 2),
    Amount(41174, -3, O, 3, 22),                                    // 20 added to the value
    Amount(41175, -2, O | COLF_HIDDEN | COLF_SWITCHABLE, 2, 25, GAIN_PERCENT_WIDTH),  // 21
    {.nTitleId = 851, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_HIDDEN | COLF_NOT_SORTABLE | COLF_NO_THOUSANDS},  // 22 running number
};
static_assert(std::size(s_columns) == CU_COUNT);

const int s_ukFields[] = {1, N, N, 3, N, 0, 6, 7, 14, 10, 4, 5, N, N, N, N, N, N, 2, 3, 8, 15, N};
const int s_iuFields[] = {1, N, N, 10, N, 0, 2, 4, 12, N, N, 16, N, N, N, N, N, N, N, N, N, N, N};
const int s_nhFields[] = {0, N, N, 7, 27, N, 1, 3, 9, N, N, 13, N, N, N, N, N, N, N, N, N, N, N};
static_assert(std::size(s_ukFields) == CU_COUNT && std::size(s_iuFields) == CU_COUNT &&
              std::size(s_nhFields) == CU_COUNT);
const TABLE_FIELD_MAP s_maps[] = {
    {.nMessageType = MSG_UK, .fields = s_ukFields},
    {.nMessageType = MSG_IU, .fields = s_iuFields},
    {.nMessageType = MSG_NH, .fields = s_nhFields},
};
const TABLE_SORT_KEY s_sort[] = {{CU_SYMBOL, 1}, {CU_MARKET, 1}, {CU_KIND, 1}, {CU_ROW, 1}};
const int s_keys[] = {CU_SYMBOL, CU_MARKET, CU_KIND, CU_ROW};
const int s_live[] = {MSG_NH, MSG_IU};
const int s_direct[] = {MSG_UP, MSG_UK};
const int s_quickFilters[] = {CU_NAME};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_OWN}};

// A derived value as its six-decimal text holds it, without the text: a price change writes
// five of them.
void WriteSix(CDataBuffer* pRow, int nCol, double dValue)
{
    pRow->SetDouble(nCol, std::nearbyint(dValue * 1e6) / 1e6, pRow->IsAdded());
}

// A base-currency amount as its column shows it, to the fils, rounded as the grid rounds.
double BaseShown(double dValue)
{
    return RoundHalfAwayFromZero(dValue, 3);
}

double Quotient(double dAmount, double dQuantity)
{
    return dQuantity != 0 ? dAmount / dQuantity : 0.0;
}

// The kind of a US row, as a key's text: shares, or an option.
LPCSTR UsKind(BOOL bOption)
{
    static_assert(CU_KIND_OPTION == 5);
    return bOption ? "5" : "0";
}

CString NumberText(long nValue)
{
    CString strText;
    strText.Format("%ld", nValue);
    return strText;
}
}  // namespace

// Each reply adds to the rows: "UP" empties the table at its start, "UK" adds the KSE rows. A
// position line inside the first reply waits for its end, as inside any other.
const ACCOUNT_DESC g_combinedUnrealizedTable = {
    .table = {.nNameId = IDS_TABLE_COMBINED_UNREALIZED, .nTitleId = 41177, .nFixedColumns = 2,
              .columns = s_columns, .sort = s_sort, .keys = s_keys, .nRequestType = MSG_UP, .nReplyType = 0,
              .liveTypes = s_live, .directTypes = s_direct, .maps = s_maps,
              .nFlags = TABLEF_REPLY_ADDS | TABLEF_LIVE_UNGATED, .nCurrencyColumn = CU_CURRENCY,
              .company = {CU_NAME, CU_SYMBOL, CU_MARKET}},
    .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands};

BOOL CCombinedUnrealizedProfitLossTable::FormatKind(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (pszBuf == nullptr || nSize <= 0 || pRow == nullptr)
        return TRUE;
    const char* pszSymbol = static_cast<const char*>(pRow[CU_SYMBOL].pData);
    const BOOL bNoSymbol = pszSymbol == nullptr || *pszSymbol == '\0';
    const int nKind = pRow[nCol].nValue;
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s",
             static_cast<LPCSTR>(nKind == CU_KIND_OPTION ? LoadMarketText(IDS_OPTION_KIND) : HoldingTypeText(nKind, bNoSymbol)));
    return TRUE;
}

BOOL CCombinedUnrealizedProfitLossTable::OpenForAccount(LPCSTR pszAccount)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("%ld|%s|2", static_cast<long>(pApp->GetUser().GetUserNumber()), pszAccount);
    const long nRequest = pApp->SendRequest(MSG_UP, strBody);
    if (nRequest == 0) {
        PostNotice(IDS_NOT_SENT, {});
        return FALSE;
    }
    IDataTable* pFound = pApp->FindTable(IDS_TABLE_COMBINED_UNREALIZED);
    if (pFound == nullptr && (pFound = MakeTable(IDS_TABLE_COMBINED_UNREALIZED, 0, 41177)) != nullptr)
        if (CTableMDIWnd* pMain = pFound->GetMainWindow())
            pMain->LoadSettings();
    auto* pTable = dynamic_cast<CCombinedUnrealizedProfitLossTable*>(pFound);
    if (pTable == nullptr)
        return FALSE;
    // Armed before the window shows: showing it runs the message loop, and the reply may come.
    pTable->SetAccount(pszAccount, nRequest);
    CNorvApp::ShowTable(pTable);
    return TRUE;
}

void CCombinedUnrealizedProfitLossTable::SetAccount(LPCSTR pszAccount, long nUsRequest)
{
    m_strAccount = pszAccount;
    m_nUsRequest = nUsRequest;
    m_nKseRequest = -1;
}

BOOL CCombinedUnrealizedProfitLossTable::SendRequest()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    CString strBody;
    strBody.Format("%ld|%s|2", static_cast<long>(pApp->GetUser().GetUserNumber()), static_cast<LPCSTR>(m_strAccount));
    const long nRequest = pApp->SendRequest(MSG_UP, strBody);
    if (nRequest == 0) {
        PostNotice(IDS_NOT_SENT, {});
        return FALSE;
    }
    m_nUsRequest = nRequest;
    m_nKseRequest = -1;
    return TRUE;
}

void CCombinedUnrealizedProfitLossTable::OnAccountCommand(UINT /*nId*/)
{
    // The account dialog first (its OK asks again), then the question.
    if (COMMAND_DIALOG_RUNNER pfnRun = FindCommandDialog(ID_COMBINED_UNREALIZED_DIALOG)) {
        CTableMDIWnd* pWindow = GetActiveWindow();
        pfnRun(pWindow != nullptr ? pWindow->m_hWnd : nullptr);
    }
    if (AskRefresh())
        SendRequest();
}

void CCombinedUnrealizedProfitLossTable::StartReply(int nKind, long nReplyId)
{
    m_nReading = nKind;
    m_nReplyId = nReplyId;
    CDataTable::BeginReply(nKind == MSG_UP);
}

void CCombinedUnrealizedProfitLossTable::OnUP(CServerMessage* pMsg)
{
    if (pMsg == nullptr || m_nUsRequest <= 0 || GetRawLineNumber(pMsg) != m_nUsRequest)
        return;
    m_nUsRequest = -1;
    m_kseBefore.clear();
    m_kseRows.clear();
    m_optionRows.clear();
    StartReply(MSG_UP, pMsg->GetLong(1));
}

void CCombinedUnrealizedProfitLossTable::OnUK(CServerMessage* pMsg)
{
    // Only the "UK" the latest "UP" reply's end sent, and only once.
    if (pMsg == nullptr || m_nKseRequest <= 0 || GetRawLineNumber(pMsg) != m_nKseRequest)
        return;
    m_nKseRequest = -1;
    m_kseBefore.clear();
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        CDataBuffer* pRow = pRows->GetAt(i);
        if (IsKseRow(pRow))
            m_kseBefore.emplace(std::make_pair(std::string(pRow->GetText(CU_SYMBOL)), pRow->GetLong(CU_KIND)), pRow);
    }
    StartReply(MSG_UK, pMsg->GetLong(3));
}

void CCombinedUnrealizedProfitLossTable::OnRecord(CServerMessage* pMsg)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()) ||
        pApp == nullptr || !pApp->IsUnrealizedSelectorOn())
        return;
    if (m_nReading == MSG_UP)
        AddUsRow(pMsg);
    else if (m_nReading == MSG_UK)
        AddKseRow(pMsg);
}

void CCombinedUnrealizedProfitLossTable::OnEnd(CServerMessage* /*pMsg*/)
{
    if (!IsReceiving())
        return;
    const int nEnded = m_nReading;
    m_nReading = 0;
    m_kseBefore.clear();
    EndReply(nEnded == MSG_UK);
    if (nEnded != MSG_UP)
        return;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return;
    CString strBody;
    strBody.Format("||%ld|%s|2", static_cast<long>(pApp->GetUser().GetUserNumber()), static_cast<LPCSTR>(m_strAccount));
    m_nKseRequest = pApp->SendRequest(MSG_UK, strBody);
}

void CCombinedUnrealizedProfitLossTable::Number(CDataBuffer* pRow, BOOL bKse, BOOL bOption)
{
    const long nRow = m_nNextRow++;
    pRow->SetText(CU_ROW, NumberText(nRow), FALSE);
    if (bKse)
        m_kseRows.insert(nRow);
    if (bOption)
        m_optionRows.insert(nRow);
}

BOOL CCombinedUnrealizedProfitLossTable::IsKseRow(const CDataBuffer* pRow) const
{
    return m_kseRows.count(pRow->GetLong(CU_ROW)) != 0;
}

CDataBuffer* CCombinedUnrealizedProfitLossTable::Store(CDataBuffer* pNew)
{
    const int nIndex = GetRows()->AddRow(pNew, TRUE);
    return nIndex >= 0 ? GetRows()->GetAt(nIndex) : nullptr;
}

void CCombinedUnrealizedProfitLossTable::AddUsRow(CServerMessage* pMsg)
{
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    const long nMarket = pMsg->GetLong(20);
    const CString strMarket = MarketNameOf(nMarket);
    double dLast = 0;
    if (FindPositionPrice(pMsg->GetFieldText(0), nMarket, dLast))
        pRow->SetDouble(CU_PRICE, dLast, FALSE);
    pRow->SetText(CU_REPLY, NumberText(m_nReplyId), FALSE);
    pRow->SetText(CU_NAME, CompanyNameOf(nMarket, pMsg->GetFieldText(0), /*bInterface=*/TRUE), FALSE);
    pRow->SetText(CU_MARKET, strMarket, FALSE);
    const BOOL bOption = pMsg->GetLong(17) != 0;
    pRow->SetText(CU_KIND, UsKind(bOption), FALSE);
    // An option's cost comes as the premium per share times the contracts; the row holds dollars.
    // The cost to the cent, its average price to four places: one cost.
    const double dCost =
        PositionCost(pMsg->GetFieldText(4), pMsg->GetDouble(3, 0) * (pMsg->GetDouble(5, 0) + pMsg->GetDouble(6, 0))) * QuotedUnit(0, bOption);
    pRow->SetDouble(CU_COST, dCost, FALSE);
    ConvertCost(pRow.get());
    Number(pRow.get(), FALSE, bOption);
    RevalueRow(Store(pRow.get()));
    // A position no quote prices (an option) is worth the server's latest price in every window.
    TakeServerPrice(pMsg->GetFieldText(0), nMarket, pMsg->GetDouble(8, 0), m_strAccount);
}

void CCombinedUnrealizedProfitLossTable::AddKseRow(CServerMessage* pMsg)
{
    // A position a live line brought before this reply is this row: it takes the reply's
    // figures, which are the later ones.
    CDataBuffer* pFound = nullptr;
    const auto it = m_kseBefore.find(std::make_pair(std::string(pMsg->GetFieldText(1)), pMsg->GetLong(0)));
    if (it != m_kseBefore.end()) {
        pFound = it->second;
        m_kseBefore.erase(it);
    }
    std::unique_ptr<CDataBuffer> pNew(pFound == nullptr ? GetRows()->NewRow() : nullptr);
    CDataBuffer* pRow = pFound != nullptr ? pFound : pNew.get();
    const BOOL bPublish = pFound != nullptr;
    if (bPublish)
        pRow->BeginChanges();
    FillRow(pMsg, MSG_UK, pRow, bPublish);
    const long nStock = pMsg->GetLong(1);
    const BOOL bCash = nStock <= 0;
    pRow->SetText(CU_NAME, bCash ? CString() : KseStockName(nStock, TRUE), bPublish);
    if (bCash)
        pRow->SetText(CU_SYMBOL, KSE_CASH, bPublish);
    pRow->SetText(CU_CURRENCY, KSE_CASH, bPublish);
    pRow->SetText(CU_MARKET, MarketNameOf(KSE_MARKET), bPublish);
    pRow->SetText(CU_REPLY, NumberText(m_nReplyId), bPublish);
    // The reply's price and average cost are in fils; the row, as its cost and value, in dinars.
    pRow->SetDouble(CU_PRICE, pMsg->GetDouble(10, 0) / 1000.0, bPublish);
    pRow->SetDouble(CU_AVERAGE, pMsg->GetDouble(4, 0) / 1000.0, bPublish);
    double dFils = 0;
    if (!bCash && FindPositionPrice(pMsg->GetFieldText(1), KSE_MARKET, dFils))
        pRow->SetDouble(CU_PRICE, dFils / 1000.0, bPublish);
    // The cost to the fils, its average price in fils to four places: one cost.
    if (!bCash)
        pRow->SetDouble(CU_COST, PositionCost(pMsg->GetFieldText(5), pMsg->GetDouble(4, 0) * (pMsg->GetDouble(6, 0) + pMsg->GetDouble(7, 0)) / 1000.0),
                        bPublish);
    ConvertCost(pRow);
    if (pNew != nullptr) {
        Number(pRow, TRUE, FALSE);
        pRow = Store(pRow);
    }
    RevalueRow(pRow);
    if (!bCash)
        TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET, pMsg->GetDouble(10, 0), m_strAccount);
}

void CCombinedUnrealizedProfitLossTable::ConvertCost(CDataBuffer* pRow)
{
    // The row's cost as it shows, in the base currency as that column shows it.
    WriteSix(pRow, CU_BASE_COST, BaseShown(pRow->GetDouble(CU_COST) * RateToBase(pRow->GetText(CU_CURRENCY))));
}

void CCombinedUnrealizedProfitLossTable::RevalueRow(CDataBuffer* pRow) const
{
    if (pRow == nullptr)
        return;
    pRow->BeginChanges();
    const double dQuantity = pRow->GetDouble(CU_QTY) + pRow->GetDouble(CU_QTY2);
    double dValue = dQuantity, dGain = 0, dPercent = 0;
    const char* pszSymbol = static_cast<const char*>(pRow->GetValues()[CU_SYMBOL].pData);
    if (pszSymbol == nullptr || strcmp(pszSymbol, KSE_CASH) != 0) {
        // A KSE row's price shows in dinars, as its cost and value: only a contract has a unit.
        const double dUnit = QuotedUnit(0, m_optionRows.count(pRow->GetLong(CU_ROW)) != 0);
        // The gain is the value as it shows less the cost as it shows.
        const POSITION_VALUE value = ValuePosition(pRow, CU_VALUE, dQuantity, pRow->GetDouble(CU_PRICE), dUnit,
                                                   pRow->GetDouble(CU_COST), pRow->GetDouble(CU_EXTRA));
        dValue = value.dValue;
        dGain = value.dGain;
        dPercent = value.dPercent;
        MarkGain(pRow, {CU_GAIN, CU_PERCENT}, dGain);
    }
    const double dRate = RateToBase(static_cast<const char*>(pRow->GetValues()[CU_CURRENCY].pData));
    const double dBaseValue = BaseShown(dValue * dRate);
    WriteSix(pRow, CU_BASE_VALUE, dBaseValue);
    WriteSix(pRow, CU_BASE_GAIN, dBaseValue - BaseShown(pRow->GetDouble(CU_BASE_COST)));
    WriteSix(pRow, CU_VALUE, dValue);
    WriteSix(pRow, CU_GAIN, dGain);
    // The row's own gain and per cent, never figures its line left at another price.
    WriteSix(pRow, CU_SERVER_GAIN, dGain);
    WriteSix(pRow, CU_PERCENT, dPercent);
    WriteSix(pRow, CU_SERVER_PERCENT, dPercent);
    pRow->Commit();
}

void CCombinedUnrealizedProfitLossTable::RevalueSymbol(LPCSTR pszSymbol, long nMarketCode)
{
    double dPrice = 0;
    if (!FindPositionPrice(pszSymbol, nMarketCode, dPrice, m_strAccount))
        return;
    for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszSymbol, MarketNameOf(nMarketCode))) {
        // A KSE stock's code may also be a US symbol's: each row is of its own side.
        if ((IsKseRow(pRow) != FALSE) != (nMarketCode == KSE_MARKET))
            continue;
        pRow->BeginChanges();
        // A KSE row shows its price in dinars.
        pRow->SetDouble(CU_PRICE, nMarketCode == KSE_MARKET ? dPrice / 1000.0 : dPrice, TRUE);
        RevalueRow(pRow);
    }
}

void CCombinedUnrealizedProfitLossTable::ConvertToBaseCurrency()
{
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        CDataBuffer* pRow = pRows->GetAt(i);
        // The cost first: the base gain is the base value less it.
        ConvertCost(pRow);
        RevalueRow(pRow);
    }
}

void CCombinedUnrealizedProfitLossTable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg->GetType() == MSG_NH)
        ApplyUsLine(pMsg);
    else if (pMsg->GetType() == MSG_IU)
        ApplyKseLine(pMsg);
}

void CCombinedUnrealizedProfitLossTable::ApplyUsLine(CServerMessage* pMsg)
{
    const LPCSTR pszSymbol = pMsg->GetFieldText(0);
    if (pMsg->GetLong(7) != m_nReplyId || *pszSymbol == '=')
        return;
    const CString strMarket = MarketNameOf(pMsg->GetLong(26));
    CDataArray* pRows = GetRows();
    const BOOL bOption = pMsg->GetLong(23) != 0;
    CDataBuffer* pRow = pRows->FindRow({pszSymbol, strMarket, UsKind(bOption)});
    if (pRow != nullptr && IsKseRow(pRow))
        pRow = nullptr;
    const double dQty = pMsg->GetDouble(1, 0), dQty2 = pMsg->GetDouble(3, 0);
    // A closed position takes its row in its own market only.
    std::unique_ptr<CDataBuffer> pNew;
    CDataBuffer* pTarget = OpenLiveRow(pMsg, MSG_NH, pRow, IsClosedUsPosition(pMsg), 13, pNew);
    if (pTarget == nullptr)
        return;
    const BOOL bPublish = pNew == nullptr;
    if (pNew != nullptr) {
        pTarget->SetText(CU_OPEN_DATE, ConvertServerDateField(pMsg->GetFieldText(10), COLTYPE_DATE_TEXT), FALSE);
        pTarget->SetText(CU_MARKET, strMarket, FALSE);
        NameCompany(pTarget, FALSE);
        pTarget->SetText(CU_KIND, UsKind(bOption), FALSE);
        double dLast = 0;
        if (!FindPositionPrice(pszSymbol, pMsg->GetLong(26), dLast))
            dLast = pMsg->GetDouble(5, 0);
        pTarget->SetDouble(CU_PRICE, dLast, FALSE);
        Number(pTarget, FALSE, bOption);
    } else if (pMsg->GetDouble(5, 0) > 0) {
        // A held position unquoted here (an option) takes the server's price of the moment, as the
        // holdings do.
        double dLast = 0;
        if (!FindPositionPrice(pszSymbol, pMsg->GetLong(26), dLast))
            pTarget->SetDouble(CU_PRICE, pMsg->GetDouble(5, 0), TRUE);
    }
    pTarget->SetText(CU_LAST_DATE, ConvertServerDateField(pMsg->GetFieldText(11), COLTYPE_DATE_TEXT), bPublish);
    // An average over no quantity is 0, not a division by zero.
    pTarget->SetDouble(CU_AVERAGE, Quotient(pMsg->GetDouble(12, 0), dQty + dQty2), bPublish);
    // The cost to the cent beside the amount its average is taken from: one cost.
    const double dCost = PositionCost(pMsg->GetFieldText(13), pMsg->GetDouble(12, 0)) *
                         QuotedUnit(0, m_optionRows.count(pTarget->GetLong(CU_ROW)) != 0);
    pTarget->SetDouble(CU_COST, dCost, bPublish);
    ConvertCost(pTarget);
    RevalueRow(pNew != nullptr ? Store(pNew.get()) : pTarget);
    TakeServerPrice(pszSymbol, pMsg->GetLong(26), pMsg->GetDouble(5, 0), m_strAccount);
}

// The row a live position line writes: the found row, its changes published, or a new one kept
// in pNew until it is stored; null when the line closes the position (its row goes) or is too
// short to fill one (no more than nLastField fields).
CDataBuffer* CCombinedUnrealizedProfitLossTable::OpenLiveRow(CServerMessage* pMsg, int nType, CDataBuffer* pRow,
                                                             BOOL bClosed, int nLastField,
                                                             std::unique_ptr<CDataBuffer>& pNew)
{
    CDataArray* pRows = GetRows();
    if (bClosed) {
        if (pRow != nullptr)
            pRows->RemoveAt(pRows->FindIndexOfRow(pRow));
        return nullptr;
    }
    if (pMsg->GetSize() <= nLastField)
        return nullptr;
    if (pRow == nullptr) {
        pNew.reset(pRows->NewRow());
        pRow = pNew.get();
    } else {
        pRow->BeginChanges();
    }
    FillRow(pMsg, nType, pRow, pNew == nullptr);
    return pRow;
}

void CCombinedUnrealizedProfitLossTable::ApplyKseLine(CServerMessage* pMsg)
{
    if (pMsg->GetLong(10) != m_nReplyId || strcmp(pMsg->GetFieldText(1), "0") == 0)
        return;
    const CString strMarket = MarketNameOf(KSE_MARKET);
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pMsg->GetFieldText(1), strMarket, pMsg->GetFieldText(0)});
    if (pRow != nullptr && !IsKseRow(pRow))
        pRow = nullptr;
    const double dQty = pMsg->GetDouble(2, 0), dQty2 = pMsg->GetDouble(4, 0);
    std::unique_ptr<CDataBuffer> pNew;
    CDataBuffer* pTarget = OpenLiveRow(pMsg, MSG_IU, pRow, pMsg->GetLong(2) == 0 && pMsg->GetLong(4) == 0, 15, pNew);
    if (pTarget == nullptr)
        return;
    const BOOL bPublish = pNew == nullptr;
    if (pNew != nullptr) {
        pTarget->SetText(CU_OPEN_DATE, ConvertServerDateField(pMsg->GetFieldText(13), COLTYPE_DATE_TEXT), FALSE);
        pTarget->SetText(CU_NAME, KseStockName(pMsg->GetLong(1), TRUE), FALSE);
        pTarget->SetText(CU_MARKET, strMarket, FALSE);
        pTarget->SetText(CU_CURRENCY, KSE_CASH, FALSE);
        Number(pTarget, TRUE, FALSE);
    }
    // The board's price, as every window values the position; while the board has none, the
    // line's, and a line without one leaves a held position's price as it was.
    double dPrice = pMsg->GetDouble(7, 0);
    FindPositionPrice(pMsg->GetFieldText(1), KSE_MARKET, dPrice);
    if (dPrice > 0 || pNew != nullptr)
        pTarget->SetDouble(CU_PRICE, dPrice / 1000.0, bPublish);
    pTarget->SetText(CU_LAST_DATE, ConvertServerDateField(pMsg->GetFieldText(14), COLTYPE_DATE_TEXT), bPublish);
    pTarget->SetDouble(CU_AVERAGE, Quotient(pMsg->GetDouble(16, 0), dQty + dQty2), bPublish);
    // The cost to the fils beside the same amount to a tenth of a fils: one cost.
    pTarget->SetDouble(CU_COST, PositionCost(pMsg->GetFieldText(16), pMsg->GetDouble(5, 0)), bPublish);
    ConvertCost(pTarget);
    RevalueRow(pNew != nullptr ? Store(pNew.get()) : pTarget);
    TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET, pMsg->GetDouble(7, 0), m_strAccount);
}
