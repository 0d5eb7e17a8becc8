// The reference data's message handlers: the reply streams that fill its maps and the single
// messages that set states, times and notices.
#include <cstdlib>
#include "framework/base/NorvGlobals.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "platform/mfc/OleDateTime.h"
#include "refdata/MarketListClient.h"
#include "refdata/PriceText.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_US_MARKET_OPEN 55252
#define IDS_US_MARKET_CLOSED 55253
#define IDS_CLOSING_IN_FIVE_MINUTES 55322
#define IDS_CLOSING_IN_ONE_MINUTE 55323
#define IDS_KSE_MARKET_STATE_0 56696       // states 0 to 9: 56696 to 56705
#define IDS_KSE_STATUS_OFF 56910
#define IDS_KSE_STATUS_ON 56911
#define IDS_ORDER_NOTICE 57700             // + 1 field 14 set, + 2 field 11 set

#define KSE_MARKET_CODE 2
#define US_STATE_REOPENED 4

namespace {


// A server time field as a time of day; blanks or a field too long read as 0.
CNorvTime ServerTimeField(const CServerMessage& msg, int nField)
{
    const CString strDigits = ConvertServerDateField(msg.GetFieldText(nField), COLTYPE_TIME_TEXT);
    CNorvTime time;
    if (strDigits.GetLength() != 6)
        return time;
    const char* psz = strDigits;
    auto Pair = [psz](int i) { return (psz[i] >= '0' && psz[i] <= '9' && psz[i + 1] >= '0' && psz[i + 1] <= '9')
                                          ? (psz[i] - '0') * 10 + (psz[i + 1] - '0') : 0; };
    time.Set(Pair(0), Pair(2), Pair(4));
    return time;
}

CString LoadText(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return str;
}

int SecondsOfHhmmss(long nTime)
{
    return static_cast<int>(nTime / 10000 * 3600 + nTime / 100 % 100 * 60 + nTime % 100);
}

}  // namespace

void CZorvatGlobals::BeginStream(int nType)
{
    m_nReplyType = nType;
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->SetReceiving(m_sink.m_nId);
    if (m_pClient != nullptr)
        m_pClient->SetBusy(TRUE);
}

void CZorvatGlobals::EndStream()
{
    m_nReplyType = -1;
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->ClearReceiving(m_sink.m_nId);
    if (m_pClient != nullptr)
        m_pClient->SetBusy(FALSE);
}

void CZorvatGlobals::OnXC(CServerMessage* pMsg)
{
    SetGlobalTimeOffset(pMsg->GetLong(4));
    m_englishNames.RemoveAll();
    m_arabicNames.RemoveAll();
    m_markets.RemoveAll();
    m_permittedCodes.RemoveAll();
    // A symbol list whose reply failed never ends; counting afresh here keeps it from holding
    // back the order status refresh of every later market list.
    m_nPendingSymbolLists = 0;
    if (m_pClient != nullptr)
        m_pClient->RemoveAllTickers();
    BeginStream(MSG_XC);
}

void CZorvatGlobals::BeginSymbolMap(long nMarket)
{
    const int nCode = static_cast<int>(nMarket);
    CSymbolMap* pOld = nullptr;
    if (m_symbolMaps.Lookup(nCode, pOld))
        delete pOld;
    m_pCurrentSymbols = new CSymbolMap(10);
    m_symbolMaps[nCode] = m_pCurrentSymbols;
}

void CZorvatGlobals::OnDS(CServerMessage* pMsg)
{
    BeginSymbolMap(pMsg->GetLong(2));
    BeginStream(MSG_DS);
}

void CZorvatGlobals::OnSL(CServerMessage*)
{
    BeginSymbolMap(KSE_MARKET_CODE);
    BeginStream(MSG_SL);
}

void CZorvatGlobals::OnCL(CServerMessage*)
{
    BeginStream(MSG_CL);
}

void CZorvatGlobals::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    switch (m_nReplyType) {
    case MSG_CL: {
        CurrencyDetail currency;
        currency.SetFromRow(*pMsg);
        m_currencies[currency.m_strCode] = currency;
        break;
    }
    case MSG_XC:
        AddMarketRow(*pMsg);
        break;
    case MSG_DS:
    case MSG_SL: {
        ShortStockListEntry entry;
        if (m_nReplyType == MSG_DS)
            entry.SetFromSymbolRow(*pMsg);
        else
            entry.SetFromKseRow(*pMsg);
        m_stockLists[entry.text1] = entry;
        if (m_pCurrentSymbols != nullptr)
            (*m_pCurrentSymbols)[entry.text1] = entry;
        break;
    }
    default:
        break;      // no stream of ours is open
    }
}

void CZorvatGlobals::AddMarketRow(const CServerMessage& row)
{
    MarketDetail market;
    const long nLinked = row.GetLong(8);
    market.SetFromRow(row, GetMarketName(nLinked));
    const int nCode = market.m_nMarketCode;
    m_markets[nCode] = market;
    const int nMask = m_pClient != nullptr ? m_pClient->GetUser().GetMarketMask() : 0;
    if ((nMask & nCode) != 0) {
        m_permittedCodes.Add(nCode);
        if (m_pClient != nullptr)
            m_pClient->AddTicker(GetNorvGlobals().m_nLanguage != 0 ? market.m_strArabicName : market.m_strEnglishName);
    }
    m_englishNames[nCode] = market.m_strEnglishName;
    m_arabicNames[nCode] = market.m_strArabicName;
}

void CZorvatGlobals::EndMarketList()
{
    if (m_pClient == nullptr || m_pClient->GetUser().GetUserNumber() == USER_NUMBER_NONE)
        return;
    POSITION pos = m_markets.GetStartPosition();
    while (pos != nullptr) {
        int nCode = 0;
        MarketDetail market;
        m_markets.GetNextAssoc(pos, nCode, market);
        if (market.m_nEnabled == 0 || nCode == KSE_MARKET_CODE)
            continue;
        CString strBody;
        strBody.Format("||%ld", static_cast<long>(nCode));
        m_pClient->SendRequest(MSG_DS, strBody);
        ++m_nPendingSymbolLists;
    }
    if (m_pClient->GetTickerCount() == 0)
        m_pClient->AddTicker(TICKER_ALL_MARKETS);
    m_pClient->OnMarketListChanged();
    WriteMarketsFile();
}

void CZorvatGlobals::OnEnd(CServerMessage*)
{
    if (m_nReplyType == MSG_XC) {
        EndMarketList();
    } else if (m_nReplyType == MSG_DS) {
        if (m_nPendingSymbolLists > 0 && --m_nPendingSymbolLists == 0 && m_pClient != nullptr)
            m_pClient->OnSymbolListsIn();
    } else if (m_nReplyType == MSG_CL && m_pClient != nullptr) {
        m_pClient->OnCurrencyListIn();
    }
    EndStream();
}

void CZorvatGlobals::OnMT(CServerMessage* pMsg)
{
    SetFirstMarketTime(ServerTimeField(*pMsg, 1));
    SetSecondMarketTime(ServerTimeField(*pMsg, 2));
}

void CZorvatGlobals::OnGM(CServerMessage* pMsg)
{
    for (int i = 0; i < 8; ++i)
        m_scheduleTimes[i] = ServerTimeField(*pMsg, 2 + i);
    m_bScheduleIn = TRUE;
    m_strKseStatus2 = LoadText(pMsg->GetLong(12) == 0 ? IDS_KSE_STATUS_OFF : IDS_KSE_STATUS_ON);
    m_strKseStatus1 = LoadText(IDS_KSE_STATUS_OFF);
}

void CZorvatGlobals::OnCM(CServerMessage* pMsg)
{
    const CString strText = LoadText(pMsg->GetLong(1) == 0 ? IDS_KSE_STATUS_OFF : IDS_KSE_STATUS_ON);
    switch (pMsg->GetLong(0)) {
    case 1: m_strKseStatus1 = strText; break;
    case 2: m_strKseStatus2 = strText; break;
    default: break;
    }
}

void CZorvatGlobals::OnMM(CServerMessage* pMsg)
{
    const long nState = pMsg->GetLong(0);
    if (pMsg->GetLong(1) == KSE_MARKET_CODE) {
        m_nKseState = static_cast<int>(nState);
        m_strKseStateText = nState >= 0 && nState <= 9 ? LoadText(IDS_KSE_MARKET_STATE_0 + nState) : CString();
        return;
    }
    switch (nState) {
    case 1: case 3: case 8: case 9: case 99:
        m_strUsStateText = LoadText(IDS_US_MARKET_CLOSED);
        break;
    case US_STATE_REOPENED:
        m_strUsStateText = LoadText(IDS_US_MARKET_OPEN);
        if (m_pClient != nullptr)
            m_pClient->ResetCharts();
        break;
    default:
        m_strUsStateText.Empty();
        break;
    }
}

void CZorvatGlobals::OnGG(CServerMessage* pMsg)
{
    for (int i = 0; i < 13; ++i)
        m_kseParams.anValues[i] = static_cast<int>(pMsg->GetLong(2 + i));
    for (int i = 0; i < 5; ++i) {
        m_kseParams.adRatesA[i] = pMsg->GetDouble(20 + i, 0);
        m_kseParams.adRatesB[i] = pMsg->GetDouble(15 + i, 0);
    }
    for (int i = 0; i < 3; ++i)
        m_kseParams.anLimits[i] = static_cast<int>(pMsg->GetLong(25 + i));
}

void CZorvatGlobals::ShowNotice(LPCSTR pszText)
{
    if (m_pClient == nullptr)
        return;
    m_pClient->AddInfoText(pszText);
    m_pClient->BringInfoWindowToTop(1);
}

void CZorvatGlobals::OnTI(CServerMessage* pMsg)
{
    const int nServerSeconds = SecondsOfHhmmss(pMsg->GetLong(0));
    SetClockOffset(Clock().GetLocalSecondsOfDay() - nServerSeconds);
    const int nLeft = GetSecondMarketTime().GetSecondsOfDay() - nServerSeconds;
    if (nLeft < 1 || nLeft > 300) {
        m_bFiveMinuteWarned = m_bOneMinuteWarned = FALSE;
        return;
    }
    if (!m_bFiveMinuteWarned) {
        ShowNotice(LoadText(IDS_CLOSING_IN_FIVE_MINUTES));
        m_bFiveMinuteWarned = TRUE;
    }
    if (nLeft < 61 && !m_bOneMinuteWarned) {
        ShowNotice(LoadText(IDS_CLOSING_IN_ONE_MINUTE));
        m_bOneMinuteWarned = TRUE;
    }
}

namespace {
CString OrderNameKey(LPCSTR pszOrder, LPCSTR pszSymbol)
{
    CString strKey;
    strKey.Format("%s|%s", pszOrder != nullptr ? pszOrder : "", pszSymbol != nullptr ? pszSymbol : "");
    return strKey;
}
}  // namespace

void CZorvatGlobals::NoteOrderName(LPCSTR pszOrder, LPCSTR pszSymbol, LPCSTR pszName)
{
    if (pszOrder == nullptr || *pszOrder == '\0' || pszName == nullptr || *pszName == '\0')
        return;
    const CString strKey = OrderNameKey(pszOrder, pszSymbol);
    CString strKnown;
    if (!m_orderNames.Lookup(strKey, strKnown)) {
        if (m_orderNameKeys.GetSize() >= ORDER_NAMES_KEPT) {
            m_orderNames.RemoveKey(m_orderNameKeys[0]);
            m_orderNameKeys.RemoveAt(0);
        }
        m_orderNameKeys.Add(strKey);
    }
    m_orderNames[strKey] = pszName;
}

void CZorvatGlobals::ForgetOrderNames()
{
    m_orderNames.RemoveAll();
    m_orderNameKeys.RemoveAll();
}

CString CZorvatGlobals::GetOrderName(LPCSTR pszOrder, LPCSTR pszSymbol) const
{
    CString strName;
    if (m_orderNames.Lookup(OrderNameKey(pszOrder, pszSymbol), strName))
        return strName;
    ShortStockListEntry stock;
    if (LookupShortStockEntry(KSE_MARKET_CODE, pszSymbol, stock)) {
        // A KSE list row: its symbol, then the symbol's Arabic form.
        strName = GetNorvGlobals().m_nLanguage != 0 ? stock.text4 : stock.text3;
        if (!strName.IsEmpty())
            return strName;
    }
    return pszSymbol != nullptr ? pszSymbol : "";
}

void CZorvatGlobals::OnNU(CServerMessage* pMsg)
{
    const CString strTransaction = CTransactionType::GetText(static_cast<int>(pMsg->GetLong(2)));
    // A price as booked, at least as its market quotes: a KSE stock's in fils to one decimal, as
    // its order forms tell them; the dollar markets' to four.
    ShortStockListEntry stock;
    const int nDecimals = LookupShortStockEntry(KSE_MARKET_CODE, pMsg->GetField(5), stock) ? KSE_PRICE_DECIMALS : US_PRICE_DECIMALS;
    CString strPrices;
    const long nPriceKind = pMsg->GetLong(6);
    if (nPriceKind == 1 || nPriceKind == 2)
        strPrices.Format("%s %s", static_cast<LPCSTR>(FormatPrice(pMsg->GetDouble(8, 0), nDecimals)),
                         static_cast<LPCSTR>(COrderType::GetText(1)));
    if (nPriceKind == 0 || nPriceKind == 2) {
        if (!strPrices.IsEmpty())
            strPrices += " ";
        strPrices.AppendFormat("%s %s", static_cast<LPCSTR>(FormatPrice(pMsg->GetDouble(7, 0), nDecimals)),
                               static_cast<LPCSTR>(COrderType::GetText(0)));
    } else if (nPriceKind == 3) {
        strPrices = COrderType::GetText(3);
    }
    if (pMsg->GetLong(9) == 1) {
        const COleDateTime date = ParseServerDateField(pMsg->GetFieldText(10), COLTYPE_DATE_TEXT);
        if (date.GetStatus() == COleDateTime::valid)
            strPrices.AppendFormat(" %s %s", static_cast<LPCSTR>(COrderDur::GetText(1)),
                                   static_cast<LPCSTR>(date.Format("%d/%m/%Y")));
    }
    UINT nId = IDS_ORDER_NOTICE;
    if (pMsg->GetLong(14) != 0)
        nId += 1;
    if (pMsg->GetLong(11) != 0)
        nId += 2;
    // The order by the name its acknowledgement gave it, not by the stock's number or letters.
    CString strNotice;
    strNotice.FormatMessage(nId, pMsg->GetField(1), pMsg->GetField(0), strTransaction,
                            GetOrderName(pMsg->GetFieldText(1), pMsg->GetFieldText(5)), pMsg->GetField(3), strPrices);
    ShowNotice(strNotice);
}
