#include "account/CombinedHoldingsTable.h"
#include <cstdio>
#include <cstring>
#include <memory>
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/LastPriceSource.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

#define KSE_MARKET 2
#define KSE_CURRENCY "=KWD"
#define KSE_PRICE_FIELD 7               // of "IK" rows and "IU" lines, in fils
#define FILS_PER_DINAR 1000.0
#define IH_OPTION_RIGHT 20              // an option's right (0: shares), "IH" and "NH"
#define NH_OPTION_RIGHT 23

namespace {
constexpr TABLE_COLUMN Amount(UINT nTitleId, UINT nFlags, int nMin, int nField, int nDecimals = -3, int nWidth = QUANTITY_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nMinDecimals = nMin, .nField = nField};
}
const int N = FIELD_NONE;

// The base map is the "IH" reply's. A row's amounts are in its own currency: only the
// base-currency columns and the KSE amounts have a total. Columns 8, 9 and 21 are the unrealized
// gain and its per cent, the line's until the row is valued. Amounts are held to their currency's
// cent or fils and show its places.
// A figure of the server's that no line gives a meaning is kept with its row but never shown:
// without a title that says what it holds it would tell the trader nothing.
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51236, .nSize = 6, .nField = 0},                                   // 0 symbol, KSE stock code
    AccountName(51171),                                                             // 1 company
    {.nTitleId = 57372, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_NAME_SIZE},  // 2 market
    {.nTitleId = 57213, .nSize = 6, .nField = 24},                                  // 3 currency
    {.nTitleId = 56258, .nType = COLTYPE_COMPUTED, .nWidth = 70,
     .pfnFormat = CCombinedHoldingsTable::FormatHoldingType, .nFormatValue = CH_TYPE},  // 4 holding type
    Amount(51172, COLF_ZERO_SHOWN, 0, 1),                                           // 5 quantity
    Amount(51173, COLF_BLANK_ZERO, 0, 2),                                           // 6
    Amount(51174, 0, 0, 3),                                                         // 7 second quantity
    Amount(41053, COLF_MONEY, 2, 9, -3, MONEY_WIDTH),                               // 8 unrealized gain
    Amount(41054, 0, 2, 27, -2, GAIN_PERCENT_WIDTH),                                     // 9 its per cent
    AccountPrice(51175, POSITION_PRICE_DECIMALS, 5, COLF_THOUSANDS | COLF_BLANK_ZERO),   // 10 price
    Amount(51176, COLF_ZERO_SHOWN | COLF_MONEY, 2, 6, -3, MONEY_WIDTH),             // 11 market value
    Amount(41128, COLF_SUMMED | COLF_ZERO_SHOWN, 3, N, -3, MONEY_WIDTH),            // 12 in the base currency
    Amount(52176, COLF_BLANK_ZERO | COLF_HIDDEN, 2, 15, -3, MONEY_WIDTH),           // 13
    Amount(52177, COLF_BLANK_ZERO | COLF_HIDDEN, 2, 16, -3, MONEY_WIDTH),           // 14
    Amount(51197, COLF_ZERO_SHOWN | COLF_HIDDEN | COLF_MONEY, 2, 18, -3, MONEY_WIDTH),  // 15
    Amount(41129, COLF_SUMMED | COLF_ZERO_SHOWN | COLF_HIDDEN, 3, N, -3, MONEY_WIDTH),  // 16 15 in the base currency
    Amount(56260, COLF_BLANK_ZERO, 0, N),                                           // 17 a KSE quantity
    Amount(56708, COLF_BLANK_ZERO | COLF_SUMMED | UNNAMED, 3, N, -3, MONEY_WIDTH),  // 18
    Amount(56709, COLF_BLANK_ZERO | COLF_SUMMED | UNNAMED, 3, N, -3, MONEY_WIDTH),  // 19
    Amount(51193, COLF_BLANK_ZERO | COLF_MONEY, 2, 4, -3, MONEY_WIDTH),             // 20 cost, to the unit as value and gain
    Amount(40989, COLF_MONEY | UNNAMED, 2, 26, -2, MONEY_WIDTH),                    // 21
    {.nTitleId = 42299, .nSize = 30},                                               // 22 status
};
static_assert(std::size(s_columns) == CH_COUNT);

const int s_nhFields[] = {0, N, N, 27, N, 1, 2, 3, 9, 29, 5, 6, N, 15, 16, 18, N, N, N, N, 4, 28, N};
const int s_ikFields[] = {1, N, N, N, 0, 2, 6, 4, 12, 14, 7, 8, N, N, N, N, N, N, 3, 9, 5, 13, N};
const int s_iuFields[] = {1, N, N, N, 0, 2, 6, 4, 12, 18, 7, 8, N, N, N, N, N, N, 3, 9, 5, 17, N};
static_assert(std::size(s_nhFields) == CH_COUNT && std::size(s_ikFields) == CH_COUNT &&
              std::size(s_iuFields) == CH_COUNT);
const TABLE_FIELD_MAP s_maps[] = {
    {.nMessageType = MSG_NH, .fields = s_nhFields},
    {.nMessageType = MSG_IK, .fields = s_ikFields},
    {.nMessageType = MSG_IU, .fields = s_iuFields},
};
const TABLE_SORT_KEY s_sort[] = {{CH_SYMBOL, 1}, {CH_MARKET, -1}, {CH_TYPE, -1}};
const int s_keys[] = {CH_SYMBOL, CH_MARKET, CH_TYPE};
const int s_live[] = {MSG_NH, MSG_IU};
const int s_direct[] = {MSG_IH, MSG_IK};
const VALUED_COLUMNS s_valued = {CH_PRICE, CH_VALUE, CH_GAIN, CH_GAIN_PERCENT};
}  // namespace

// Each reply adds to the rows: the request empties the table, and the "IK" reply completes the
// "IH" reply's rows. Live lines apply outside the replies, before the first too; during one they
// wait for its end.
const TABLE_DESC g_combinedHoldingsTable = {
    .nNameId = IDS_TABLE_COMBINED_HOLDINGS, .nTitleId = 41126, .nFixedColumns = 1, .columns = s_columns,
    .sort = s_sort, .keys = s_keys, .nRequestType = MSG_IH, .nReplyType = 0, .liveTypes = s_live,
    .directTypes = s_direct, .maps = s_maps, .nFlags = TABLEF_REPLY_ADDS | TABLEF_LIVE_UNGATED,
    .nCurrencyColumn = CH_CURRENCY, .company = {CH_NAME, CH_SYMBOL, CH_MARKET}};

BOOL CCombinedHoldingsTable::FormatHoldingType(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (pszBuf == nullptr || nSize <= 0 || pRow == nullptr)
        return TRUE;
    const char* pszSymbol = static_cast<const char*>(pRow[CH_SYMBOL].pData);
    CurrencyDetail currency;
    const CZorvatGlobals* pGlobals = GetGlobals();
    const BOOL bCash = pszSymbol != nullptr && pGlobals != nullptr && pGlobals->LookupCurrency(pszSymbol, currency);
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s", static_cast<LPCSTR>(HoldingTypeText(pRow[nCol].nValue, bCash)));
    return TRUE;
}

long CCombinedHoldingsTable::Send(int nType, LPCSTR pszBody) const
{
    CString strLine;
    if (FormatRequestLine(&strLine, nType, pszBody, 1, FALSE, FALSE, nullptr, FALSE) != REQUEST_OK)
        return 0;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(strLine) : 0;
}

BOOL CCombinedHoldingsTable::SendKind(long nKind)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    m_strAccount = user.GetAccountText();
    CString strBody;
    strBody.Format("%ld|%s|%ld|", static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(m_strAccount), nKind);
    const long nRequest = Send(MSG_IH, strBody);
    // Without a link the rows stay: nothing will come to replace them.
    if (nRequest == 0)
        return FALSE;
    m_nUsRequest = nRequest;
    m_nKseRequest = -1;
    m_bUsAsked = TRUE;
    RemoveAllRows();
    return TRUE;
}

void CCombinedHoldingsTable::BeginReply(CServerMessage* pMsg, long nRequest)
{
    if (pMsg == nullptr || nRequest <= 0 || GetRawLineNumber(pMsg) != nRequest)
        return;
    m_nReply = pMsg->GetType();
    TableOnReplyBegin(pMsg);
    // The rows of both replies meet by their keys: the store stays sorted while they come.
    GetRows()->EndUpdate();
}

void CCombinedHoldingsTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    if (m_nReply == MSG_IH)
        AddUsRow(pMsg);
    else if (m_nReply == MSG_IK)
        ApplyKse(pMsg, MSG_IK, 17);
}

void CCombinedHoldingsTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    if (m_nReply == MSG_IH) {
        m_bUsAsked = FALSE;
        CString strBody;
        const CZORVAT32App* pApp = CZORVAT32App::Get();
        strBody.Format("||%ld|%s|%ld|", pApp != nullptr ? static_cast<long>(pApp->GetUser().GetUserNumber()) : 0L,
                       static_cast<LPCSTR>(m_strAccount), 3L);
        m_nReply = 0;
        m_nKseRequest = Send(MSG_IK, strBody);
    } else if (m_nReply == MSG_IK) {
        m_nUsRequest = m_nKseRequest = -1;
        RevalueEveryPosition(this, CH_SYMBOL, CH_MARKET);
    }
}

void CCombinedHoldingsTable::Settle(CDataBuffer* pRow)
{
    // Until a quote values it, a position's gain is its line's value less its cost; both gain
    // columns hold it.
    WriteDerived(pRow, CH_GAIN_2, SettleGain(pRow, s_valued, CH_COST).dGain);
}

void CCombinedHoldingsTable::Convert(CDataBuffer* pRow)
{
    const double dRate = RateToBase(pRow->GetText(CH_CURRENCY));
    WriteConverted(pRow, CH_BASE_VALUE, dRate * pRow->GetDouble(CH_VALUE));
    WriteConverted(pRow, CH_BASE_HIDDEN_AMOUNT, dRate * pRow->GetDouble(CH_HIDDEN_AMOUNT));
}

void CCombinedHoldingsTable::AddUsRow(CServerMessage* pMsg)
{
    const long nMarket = pMsg->GetLong(23);
    const CString strMarket = MarketNameOf(nMarket);
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pMsg->GetFieldText(0), strMarket});
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    const BOOL bPublish = pRow != nullptr;
    FillRow(pMsg, MSG_IH, pTarget, bPublish);
    SetKind(pTarget, pMsg->GetLong(IH_OPTION_RIGHT), bPublish);
    pTarget->SetText(CH_MARKET, strMarket, bPublish);
    const CString strCompany = CompanyNameOf(nMarket, pMsg->GetFieldText(0), /*bInterface=*/TRUE);
    if (!strCompany.IsEmpty())
        pTarget->SetText(CH_NAME, strCompany, bPublish);
    Settle(pTarget);
    Convert(pTarget);
    if (pNew != nullptr)
        pRows->AddRow(pNew.get(), TRUE);
    RevalueSymbol(pMsg->GetFieldText(0), nMarket);
    // A position no quote prices (an option) is worth the server's latest price in every window.
    TakeServerPrice(pMsg->GetFieldText(0), nMarket, pMsg->GetDouble(5, 0), pMsg->GetFieldText(7));
}

void CCombinedHoldingsTable::ApplyKse(CServerMessage* pMsg, int nType, int nStatusField)
{
    const long nStock = pMsg->GetLong(1);
    const BOOL bCash = nStock <= 0;
    const CString strMarket = bCash ? CString() : MarketNameOf(KSE_MARKET);
    const CString strSymbol = bCash ? CString(KSE_CURRENCY) : CString(pMsg->GetFieldText(1));
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({strSymbol, strMarket, pMsg->GetFieldText(0)});
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    const BOOL bPublish = pRow != nullptr;
    // Every KSE row is in dinars, so that a change of base currency converts it too; its amounts
    // are held to the fils as the line fills them.
    pTarget->SetText(CH_CURRENCY, KSE_CURRENCY, bPublish);
    FillRow(pMsg, nType, pTarget, bPublish);
    pTarget->SetText(CH_SYMBOL, strSymbol, bPublish);
    // A reply names the stock in the user's language, a live line in the first one; a reply's
    // cash line has no name of its own.
    if (!(bCash && nType == MSG_IK))
        pTarget->SetText(CH_NAME, KseStockName(nStock, nType == MSG_IK), bPublish);
    pTarget->SetText(CH_MARKET, strMarket, bPublish);
    // The line's price is in fils; the row's, like its values, in dinars.
    if (!bCash)
        WriteDerived(pTarget, CH_PRICE, pMsg->GetDouble(KSE_PRICE_FIELD, 0) / FILS_PER_DINAR);
    // A quantity: the line's other quantity, never with an amount added.
    WriteDerived(pTarget, CH_KSE_SUM, pMsg->GetDouble(3, 0));
    pTarget->SetText(CH_STATUS, KseStatusText(pMsg->GetLong(nStatusField)), bPublish);
    if (!bCash)
        Settle(pTarget);
    Convert(pTarget);
    if (pNew != nullptr)
        pRows->AddRow(pNew.get(), TRUE);
    // A live line's price is the server's of its moment: the board's is the one of now, as the
    // reply's rows take it at its end.
    if (nType == MSG_IU && !bCash)
        RevalueSymbol(strSymbol, KSE_MARKET);
    if (!bCash)
        TakeServerPrice(strSymbol, KSE_MARKET, pMsg->GetDouble(KSE_PRICE_FIELD, 0), nType == MSG_IU ? pMsg->GetFieldText(10) : nullptr);
}

void CCombinedHoldingsTable::SetKind(CDataBuffer* pRow, long nOptionRight, BOOL bPublish)
{
    CString strKind;
    strKind.Format("%d", nOptionRight != 0 ? HOLDING_TYPE_OPTION : 0);
    pRow->SetText(CH_TYPE, strKind, bPublish);
}

void CCombinedHoldingsTable::ApplyUsLine(CServerMessage* pMsg)
{
    const LPCSTR pszSymbol = pMsg->GetFieldText(0);
    const long nMarket = pMsg->GetLong(26);
    // A currency's line is a cash line: it has no market, found and stored alike.
    const CString strMarket = *pszSymbol == '=' ? CString() : MarketNameOf(nMarket);
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pszSymbol, strMarket});
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    const BOOL bPublish = pRow != nullptr;
    if (bPublish)
        pTarget->BeginChanges();
    FillRow(pMsg, pTarget, bPublish);
    SetKind(pTarget, pMsg->GetLong(NH_OPTION_RIGHT), bPublish);
    pTarget->SetText(CH_MARKET, strMarket, bPublish);
    NameCompany(pTarget, bPublish);
    if (*pszSymbol != '=')
        Settle(pTarget);
    Convert(pTarget);
    if (bPublish)
        pTarget->Commit();
    else
        pRows->AddRow(pNew.get(), TRUE);
    RevalueSymbol(pszSymbol, nMarket);
    TakeServerPrice(pszSymbol, nMarket, pMsg->GetDouble(5, 0), pMsg->GetFieldText(7));
}

void CCombinedHoldingsTable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg->GetType() == MSG_NH)
        ApplyUsLine(pMsg);
    else if (pMsg->GetType() == MSG_IU)
        ApplyKse(pMsg, MSG_IU, 21);
}

void CCombinedHoldingsTable::RevalueSymbol(LPCSTR pszSymbol, long nMarketCode)
{
    double dQuoted = 0;
    if (!FindPositionPrice(pszSymbol, nMarketCode, dQuoted))
        return;
    const BOOL bKse = nMarketCode == KSE_MARKET;
    for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszSymbol, MarketNameOf(nMarketCode))) {
        // The row shows a KSE price in dinars, as its values.
        const double dUnit = QuotedUnit(nMarketCode, pRow->GetLong(CH_TYPE) == HOLDING_TYPE_OPTION);
        const POSITION_VALUE value = ValuePosition(pRow, CH_VALUE, pRow->GetDouble(CH_QUANTITY) + pRow->GetDouble(CH_QUANTITY2), dQuoted,
                                                   dUnit, pRow->GetDouble(CH_COST));
        pRow->BeginChanges();
        WriteValuation(pRow, s_valued, bKse ? dQuoted * dUnit : dQuoted, value);
        // Both gain columns hold the row's gain, whatever its market.
        WriteDerived(pRow, CH_GAIN_2, value.dGain);
        // The base-currency value follows the row's own, so the total in the base currency holds.
        WriteConverted(pRow, CH_BASE_VALUE, RateToBase(pRow->GetText(CH_CURRENCY)) * pRow->GetDouble(CH_VALUE));
        pRow->Commit();
    }
}

void CCombinedHoldingsTable::ConvertToBaseCurrency()
{
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i)
        Convert(pRows->GetAt(i));
}

HMENU CCombinedHoldingsTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    InsertRefreshAndItem(hMenu, ID_POSITIONS_ORDER, LoadMenuItemText(IDS_POSITIONS_ORDER_ITEM));
    return hMenu;
}

BOOL CCombinedHoldingsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    switch (nId) {
    case ID_POSITIONS_REFRESH:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] { SendKind(3); });
    case ID_POSITIONS_ORDER: {
        CDataBuffer* pRow = GetSelectedDataRow();
        const BOOL bEnabled = pRow != nullptr && IsAlphanumeric(pRow->GetText(CH_SYMBOL)) && HasUsAccess();
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bEnabled, [this] {
            CDataBuffer* pSelected = GetSelectedDataRow();
            CZORVAT32App* pTarget = CZORVAT32App::Get();
            if (pSelected == nullptr || pTarget == nullptr)
                return;
            const CString strSymbol = pSelected->GetText(CH_SYMBOL), strMarket = pSelected->GetText(CH_MARKET);
            if (MarketCodeOf(strMarket) == KSE_MARKET) {
                pTarget->OpenOrderTicketKSE(1, strSymbol, GetLastPriceFrom(IDS_TABLE_KSE_QUOTATIONS, atol(strSymbol)), 0, 0);
                return;
            }
            double dPrice = 0;
            if (!FindUsQuotePrice(strSymbol, strMarket, dPrice))
                dPrice = 0;
            pTarget->OpenOrderTicket(0, strSymbol, dPrice, strMarket, pSelected->GetText(CH_CURRENCY), 0);
        });
    }
    default:
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    }
}

void CCombinedHoldingsTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == CH_MARKET || nCol == CH_CURRENCY) && FilterViewOnCell(this, pRow, nCol, /*bWhileFiltered=*/TRUE) && pnHandled != nullptr)
        *pnHandled = 1;
}
