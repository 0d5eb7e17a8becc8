// The US watch list's replies: holdings, the market list, a market's symbol list and the symbol
// lookups that add rows, with the removal of rows.
#include <cstdio>
#include <cstring>
#include "app/TableMDIWnd.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "market/TimeAndSalesFeed.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_ALREADY_LISTED 55302        // "%1": the symbol is in the list already

// --- Replies: holdings, market list, symbol lists ------------------------------------------

void CQuotationTable::BeginReceiving(int nType)
{
    m_nReplyType = nType;
    if (GetSource() != nullptr && CZorvatMessageSink::GetSinkId() >= 0)
        GetSource()->SetReceiving(CZorvatMessageSink::GetSinkId());
}

void CQuotationTable::OnIH(CServerMessage* /*pMsg*/)
{
    // A holdings reply is the whole of them: what waited from an earlier one is gone.
    m_waitingHoldings.clear();
    BeginReceiving(MSG_IH);
}

void CQuotationTable::OnXC(CServerMessage* /*pMsg*/)
{
    BeginReceiving(MSG_XC);
}

void CQuotationTable::OnDS(CServerMessage* pMsg)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    MarketDetail market;
    const long nMarket = pMsg != nullptr ? pMsg->GetLong(2) : 0;
    // Only the markets whose symbols the watch list takes: the others' lists are the reference
    // data's alone.
    if (pGlobals == nullptr || !pGlobals->LookupMarket(nMarket, market) || market.m_nEnabled == 0 ||
        market.m_nQuoteListFlag == 0)
        return;
    m_strListMarket = pGlobals->GetMarketName(nMarket);
    BeginReceiving(MSG_DS);
}

void CQuotationTable::OnNH(CServerMessage* pMsg)
{
    if (pMsg != nullptr && GetGlobals() != nullptr)
        ApplyHoldings(pMsg, GetGlobals()->GetMarketName(pMsg->GetLong(26)));
}

void CQuotationTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || GetGlobals() == nullptr)
        return;
    switch (m_nReplyType) {
    case MSG_IH:
        ApplyHoldings(pMsg, GetGlobals()->GetMarketName(pMsg->GetLong(23)));
        break;
    case MSG_DS:
        AddListedSymbol(pMsg);
        break;
    default:
        break;
    }
}

void CQuotationTable::OnEnd(CServerMessage* /*pMsg*/)
{
    // Only the end of a reply this table was receiving: another sink's "EN" changes nothing.
    const int nType = m_nReplyType;
    if (nType == 0)
        return;
    m_nReplyType = 0;
    if (GetSource() != nullptr && CZorvatMessageSink::GetSinkId() >= 0)
        GetSource()->ClearReceiving(CZorvatMessageSink::GetSinkId());
    if (nType == MSG_DS)
        SubscribeMarket(m_strListMarket);
    else if (nType == MSG_XC) {
        RestoreSavedSymbols();
        if (GetMainWindow() != nullptr)
            GetMainWindow()->UpdateTableMenu();
    }
}

void CQuotationTable::ApplyHoldings(CServerMessage* pMsg, LPCSTR pszMarket)
{
    // Holdings name the symbol alone: its first row takes them.
    CDataBuffer* pRow = GetRows()->FindRow({pMsg->GetFieldText(0)});
    if (pRow == nullptr) {
        if (*pMsg->GetFieldText(0) != '\0')
            m_waitingHoldings.insert_or_assign(pMsg->GetFieldText(0), std::make_pair(*pMsg, CString(pszMarket)));
        return;
    }
    const double dQuantity = pMsg->GetDouble(1, 0) + pMsg->GetDouble(3, 0);
    // The day's gain as a quote line reckons it: none while the symbol has not traded today.
    QUOTE_PRICES prices;
    prices.dLast = pRow->GetDouble(QC_LAST);
    prices.dClose = pRow->GetDouble(QC_CLOSE);
    prices.dOpen = pRow->GetDouble(QC_OPEN);
    prices.dHeld1 = dQuantity;
    QUOTE_FIGURES figures;
    ComputeQuoteFigures(prices, FALSE, &figures);
    const double dDayGain = figures.dDayGain;
    pRow->BeginChanges();
    FillRow(pMsg, pMsg->GetType() == MSG_NH ? MSG_NH : MSG_IH, pRow, TRUE);
    SetNumber(pRow, QC_POSITION, dQuantity, TRUE);
    SetNumber(pRow, QC_DAY_GAIN, dDayGain, TRUE);
    pRow->SetCellAttribute(QC_DAY_GAIN, QuoteAttribute(dDayGain, FALSE));
    // The holding's market corrects the row's, unless that pair is listed already: a second row
    // with the same keys would be a duplicate the store cannot tell apart.
    const CString strTicker = pRow->GetText(QC_TICKER);
    if (pszMarket != nullptr && *pszMarket != '\0' && GetGlobals()->GetMarketCode(pszMarket) != 0 &&
        FindQuote(strTicker, pszMarket) == nullptr) {
        // The starred mark goes with the row: left under the old pair it would claim a row
        // listed later under that pair, whose plain cells then never turn starred.
        if (m_starredRows.erase(StarredKey(pRow)) != 0)
            m_starredRows.insert(StarredKey(strTicker, pszMarket));
        pRow->SetText(QC_MARKET, pszMarket, TRUE);
    }
    pRow->Commit();
}

void CQuotationTable::ApplyWaitingHoldings(LPCSTR pszTicker)
{
    const auto it = m_waitingHoldings.find(pszTicker);
    if (it == m_waitingHoldings.end())
        return;
    std::pair<CServerMessage, CString> waiting = std::move(it->second);
    m_waitingHoldings.erase(it);
    ApplyHoldings(&waiting.first, waiting.second);
}

void CQuotationTable::AddListedSymbol(CServerMessage* pMsg)
{
    const LPCSTR pszTicker = pMsg->GetFieldText(0);
    if (*pszTicker == '\0')
        return;
    const CString strMarket = GetGlobals()->GetMarketName(pMsg->GetLong(1));
    CDataBuffer* pRow = FindQuote(pszTicker, strMarket);
    const BOOL bNew = pRow == nullptr;
    CDataBuffer* pNew = bNew ? GetRows()->NewRow() : nullptr;
    if (bNew)
        pRow = pNew;
    else
        pRow->BeginChanges();
    // Index and option symbols start with '.': they stay out of the scrolling ticker.
    if (*pszTicker != '.') {
        const int nOn = 1;
        pRow->SetValue(QC_SCROLLING, &nOn, TRUE);
    }
    FillRow(pMsg, MSG_DS, pRow, TRUE);
    pRow->SetText(QC_MARKET, strMarket, TRUE);
    if (ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed())
        pTrades->AddSymbol(pszTicker);
    if (bNew) {
        GetRows()->AddRow(pNew, TRUE);
        delete pNew;
        ApplyWaitingHoldings(pszTicker);
    } else {
        pRow->Commit();
    }
}

// --- Symbol lookups --------------------------------------------------------------------------

void CQuotationTable::ShowAlreadyListed(LPCSTR pszTicker)
{
    CString strText;
    strText.FormatMessage(IDS_ALREADY_LISTED, pszTicker);
    ShowInfo(strText);
}

BOOL CQuotationTable::AddSymbol(LPCSTR pszTicker, LPCSTR pszMarket, const WATCH_ENTRY* pEntry)
{
    if (pszTicker == nullptr || *pszTicker == '\0')
        return FALSE;
    const LPCSTR pszMarketName = pszMarket != nullptr ? pszMarket : "";
    if (FindQuote(pszTicker, pszMarketName) != nullptr) {
        ShowAlreadyListed(pszTicker);
        return FALSE;
    }
    // A bar would shift the request's fields; a ticker cut to fit would ask for another symbol.
    if (strchr(pszTicker, '|') != nullptr || strlen(pszTicker) > MAX_TICKER_LENGTH)
        return FALSE;
    char szBody[96];
    if (*pszMarketName != '\0' && GetGlobals() != nullptr)
        snprintf(szBody, sizeof(szBody), "||%s|%ld", pszTicker, GetGlobals()->GetMarketCode(pszMarketName));
    else
        snprintf(szBody, sizeof(szBody), "||%s", pszTicker);
    PENDING_SYMBOL pending;
    pending.strTicker = pszTicker;
    pending.strMarket = pszMarketName;
    if (pEntry != nullptr) {
        pending.bSaved = TRUE;
        pending.entry = *pEntry;
    }
    if (SendLine(MSG_RN, szBody) <= 0)
        return FALSE;
    m_pending.push_back(pending);
    return TRUE;
}

void CQuotationTable::OnRN(CServerMessage* pMsg)
{
    if (pMsg == nullptr || GetGlobals() == nullptr)
        return;
    const CString strTicker = pMsg->GetField(2);
    const CString strMarket = GetGlobals()->GetMarketName(pMsg->GetLong(3));
    // Only answers to our own lookups count; an order form's lookup is not a symbol to add.
    size_t nPending = 0;
    while (nPending < m_pending.size() &&
           !(m_pending[nPending].strTicker == strTicker &&
             (m_pending[nPending].strMarket.IsEmpty() || m_pending[nPending].strMarket == strMarket)))
        ++nPending;
    if (nPending == m_pending.size())
        return;
    const PENDING_SYMBOL pending = m_pending[nPending];
    m_pending.erase(m_pending.begin() + static_cast<std::ptrdiff_t>(nPending));
    const long nResult = pMsg->GetLong(0);
    if (nResult != 0) {
        ShowError(nResult);
        return;
    }
    if (CDataBuffer* pRow = FindQuote(strTicker, strMarket)) {
        // A saved symbol a symbol list brought in meanwhile keeps what the user set on it.
        if (pending.bSaved) {
            pRow->BeginChanges();
            ApplySavedEntry(pRow, pending.entry, TRUE);
            pRow->Commit();
        } else {
            ShowAlreadyListed(strTicker);
        }
        return;
    }
    AddSymbolRow(pMsg, pending);
}

void CQuotationTable::AddSymbolRow(CServerMessage* pMsg, const PENDING_SYMBOL& pending)
{
    const CString strMarket = GetGlobals()->GetMarketName(pMsg->GetLong(3));
    CDataBuffer* pRow = GetRows()->NewRow();
    FillRow(pMsg, MSG_RN, pRow, FALSE);
    CString strShort = pMsg->GetField(15);
    strShort.Trim();
    pRow->SetText(QC_SHORT_TICKER, strShort, FALSE);
    pRow->SetText(QC_MARKET, strMarket, FALSE);
    pRow->SetText(QC_ALERT_PRICE, "", FALSE);
    if (pending.bSaved)
        ApplySavedEntry(pRow, pending.entry, FALSE);
    const CString strTicker = pRow->GetText(QC_TICKER);
    const CString strShortTicker = pRow->GetText(QC_SHORT_TICKER);
    const int nIndex = GetRows()->AddRow(pRow, TRUE);
    delete pRow;
    if (nIndex < 0)
        return;
    if (CDataBuffer* pStored = GetRows()->GetAt(nIndex)) {
        pStored->BeginChanges();
        ComputePosition(pStored);
        pStored->Commit();
    }
    ApplyWaitingHoldings(strTicker);
    RevaluePositionsOf(strTicker, pMsg->GetLong(3));
    // The trades follow the symbol once its row is there to read its volume from.
    if (ITimeAndSalesFeed* pTrades = FindTimeAndSalesFeed(); pTrades != nullptr && pending.entry.bInTimesAndSales) {
        pTrades->AddSymbol(strTicker);
        if (pending.entry.bStoppedInTimesAndSales && !pTrades->IsSymbolStopped(strTicker))
            pTrades->ToggleSymbolStop(strTicker);
    }
    SubscribeQuote(strTicker, strMarket, strShortTicker);
}

void CQuotationTable::ApplySavedEntry(CDataBuffer* pRow, const WATCH_ENTRY& entry, BOOL bPublish)
{
    SetNumber(pRow, QC_OWN_QTY, entry.nOwnQuantity, bPublish);
    SetNumber(pRow, QC_OWN_PRICE, entry.dOwnPrice, bPublish);
    if (entry.dAlertPrice != 0)
        SetNumber(pRow, QC_ALERT_PRICE, entry.dAlertPrice, bPublish);
    else
        pRow->SetText(QC_ALERT_PRICE, "", bPublish);
    const int nDirection = static_cast<int>(entry.nAlertDirection);
    pRow->SetValue(QC_ALERT_DIR, &nDirection, bPublish);
    if (entry.strShortTicker.GetLength() > 0)
        pRow->SetText(QC_SHORT_TICKER, entry.strShortTicker, bPublish);
    const int nScrolling = entry.bScrollingTicker ? 1 : 0;
    pRow->SetValue(QC_SCROLLING, &nScrolling, bPublish);
    if (pRow->IsAdded())
        ComputePosition(pRow);
}

BOOL CQuotationTable::RemoveSymbol(LPCSTR pszTicker, LPCSTR pszMarket)
{
    const int nIndex = pszTicker != nullptr && pszMarket != nullptr ? GetRows()->FindRowIndex({pszTicker, pszMarket}) : -1;
    if (nIndex < 0)
        return FALSE;
    CDataBuffer* pRow = GetRows()->GetAt(nIndex);
    UnsubscribeQuote(pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET), pRow->GetText(QC_SHORT_TICKER));
    StopFollowedBooks(pRow);
    m_starredRows.erase(StarredKey(pRow));
    return GetRows()->RemoveAt(nIndex);
}

void CQuotationTable::RemoveUnusableMarkets()
{
    CZorvatGlobals* pGlobals = GetGlobals();
    CDataArray* pRows = GetRows();
    for (int i = pRows->GetCount() - 1; i >= 0; --i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const CString strMarket = pRow->GetText(QC_MARKET);
        MarketDetail market;
        if (pGlobals == nullptr || !pGlobals->LookupMarket(pGlobals->GetMarketCode(strMarket), market) ||
            market.m_nEnabled == 0)
            RemoveSymbol(pRow->GetText(QC_TICKER), strMarket);
    }
}

void CQuotationTable::SetOrderBookFlag(LPCSTR pszTicker, long nMarketCode, long nValue)
{
    if (GetGlobals() == nullptr)
        return;
    if (CDataBuffer* pRow = FindQuote(pszTicker, GetGlobals()->GetMarketName(nMarketCode))) {
        const int nFlag = static_cast<int>(nValue);
        pRow->SetValue(QC_BOOK, &nFlag, TRUE);
    }
}
