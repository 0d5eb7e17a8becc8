#include "market/QuotationTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "app/DataTable.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/base/InfoWindow.h"
#include "framework/base/SharedGlobals.h"
#include "app/TableMDIWnd.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "link/MessageSource.h"
#include "link/RowWriter.h"
#include "link/ServerMessage.h"
#include "market/CompactQuote.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/TableLinks.h"
#include "market/TickerFeed.h"
#include "market/TimeAndSalesFeed.h"
#include "refdata/MarketListClient.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define INFO_PRIORITY_ERROR 2

// "GS" results that mean the symbol is not quoted for this user: its row goes.
static const long s_alNotQuoted[] = {561, 403, 402, 593, 1026};
#define RESULT_SERVER_BUSY 971

namespace {

// Price cells: up to four decimals, at least two, no zero fraction (zero shows blank, as every
// number cell does unless told otherwise).
constexpr TABLE_COLUMN Price(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION, .nMinDecimals = 2, .nField = nField};
}
constexpr TABLE_COLUMN Number(UINT nTitleId, int nWidth, int nDecimals, int nMinDecimals, int nField = FIELD_NONE)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nMinDecimals = nMinDecimals, .nField = nField};
}
constexpr TABLE_COLUMN Text(UINT nTitleId, int nSize, int nField = FIELD_NONE, int nArabicField = FIELD_NONE,
                            UINT nFlags = 0)
{
    return {.nTitleId = nTitleId, .nSize = nSize, .nFlags = nFlags, .nField = nField, .nArabicField = nArabicField};
}
// A company's name, whole in the name kind's width.
constexpr TABLE_COLUMN Name(UINT nTitleId, int nSize, int nField = FIELD_NONE, int nArabicField = FIELD_NONE)
{
    return {.nTitleId = nTitleId, .nWidth = NAME_WIDTH, .nSize = nSize, .nField = nField, .nArabicField = nArabicField};
}
constexpr TABLE_COLUMN Time(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_TIME_TEXT, .nWidth = TIME_WIDTH, .nAlign = ALIGN_RIGHT, .nField = nField};
}
constexpr TABLE_COLUMN Date(UINT nTitleId, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE, .nField = nField};
}
constexpr TABLE_COLUMN Computed(UINT nTitleId, TBCOLUMNFORMAT pfnFormat, int nCol, UINT nFlags = 0)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nAlign = ALIGN_RIGHT, .nFlags = nFlags,
            .pfnFormat = pfnFormat, .nFormatValue = nCol};
}

// Yes or no of a flag column.
BOOL FormatYesNo(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    return CYesNo::FormatCodeColumn(pszBuf, nSize, pRow, nCol);
}

const TABLE_COLUMN s_columns[] = {
    Text(51236, 6),                             // 0 ticker (key)
    {.nTitleId = 57375, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE},  // 1 market name (key)
    Name(51890, 50),                            // 2 display name
    Number(51891, PRICE_WIDTH, -4, 2, 3),       // 3 last
    Time(51922, FIELD_NONE),                    // 4 time as sent
    Time(51923, 6),                             // 5 time on the market's clock
    Price(51893, 10),                           // 6 open: the reference while 9 is empty
    Price(51894, 11),                           // 7 high
    Price(51895, 12),                           // 8 low
    Price(51896, 15),                           // 9 reference of the change
    {.nTitleId = 51897, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_OMIT_ZERO_FRACTION, .nMinDecimals = 2},                   // 10 change, 0 shown
    Number(51898, PERCENT_WIDTH, -2, 2),        // 11 percent change, 0 shown
    Text(57373, 6, 25),                         // 12
    Text(57374, 20, 23),                        // 13
    Date(51899, 16),                            // 14
    Price(51900, FIELD_NONE),                   // 15 alert price
    Computed(51901, CAlertDir::FormatCodeColumn, QC_ALERT_DIR),   // 16 alert direction
    Price(51902, 4),                            // 17 bid
    Number(51903, VOLUME_WIDTH, 0, 0),          // 18 bid size
    Price(51904, 5),                            // 19 ask
    Number(51905, VOLUME_WIDTH, 0, 0),          // 20 ask size
    Number(51906, VOLUME_WIDTH, 0, 0),          // 21 trade counter
    Name(51907, 100, 22, 26),                   // 22 company
    Price(51909, 13),                           // 23
    Price(51910, 14),                           // 24
    Number(51911, PRICE_WIDTH, -4, 0, 17),      // 25 earnings per share
    Number(51912, PRICE_WIDTH, -2, 0),          // 26 price-earnings ratio
    Text(51913, 6, 18),                         // 27
    Date(51914, 20),                            // 28
    Date(51915, 21),                            // 29
    Number(51916, QUANTITY_WIDTH, 0, 0),        // 30 held 1
    Number(51917, QUANTITY_WIDTH, 0, 0),        // 31 held 2
    Number(51918, QUANTITY_WIDTH, 0, 0),        // 32 held 3
    Number(51919, QUANTITY_WIDTH, 0, 0),        // 33 position
    Number(51920, MONEY_WIDTH, -2, 2),          // 34 day's gain
    Computed(51924, FormatYesNo, QC_SCROLLING), // 35 in the scrolling ticker
    Number(51925, QUANTITY_WIDTH, 0, 0),        // 36 own quantity
    Price(51926, FIELD_NONE),                   // 37 own price
    Number(51927, MONEY_WIDTH, -2, 2),          // 38 own cost
    Number(51928, MONEY_WIDTH, -2, 2),          // 39 own value
    Number(51929, MONEY_WIDTH, -4, 0),          // 40 own gain
    Number(51930, PERCENT_WIDTH, -2, 2),        // 41 own gain percent
    Text(51941, 20, FIELD_NONE, FIELD_NONE, COLF_HIDDEN),   // 42 short ticker
    Text(51942, 30),                            // 43 second sort key
    Computed(57444, FormatYesNo, QC_BOOK),      // 44 followed in the order book
    Computed(57491, FormatYesNo, QC_MAKER_BOOK, COLF_HIDDEN),   // 45 followed in the maker book
    Number(57493, COUNT_WIDTH, -2, 2),          // 46 trades after the counter's '#'
    Price(51937, 32),                           // 47
    Price(51936, 33),                           // 48
    Text(52180, 50, 34, FIELD_NONE, COLF_HIDDEN),   // 49
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == QC_COUNT);

const int N = FIELD_NONE;
// Holdings lines ("IH" rows, "NH"): the three quantities.
const int s_holdingFields[] = {N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N,
                               1, 2, 3};
// A market's symbol list ("DS" rows).
const int s_listFields[] = {0, N, 3, N, N, N, N, N, N, N, N, N, 7, N, N, N, N, N, N, N, N, N,
                            5, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, 8};
const int s_listArabicFields[] = {N, N, 4, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N,
                                  6, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, 9};
// A symbol lookup ("RN").
const int s_lookupFields[] = {2, 3, 5, N, N, N, N, N, N, N, N, N, 9, 16, N, N, N, N, N, N, N, N,
                              7, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, 15, 17};
const int s_lookupArabicFields[] = {N, N, 6, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N,
                                    8, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, N, 18};

const TABLE_FIELD_MAP s_maps[] = {
    {.nMessageType = MSG_IH, .fields = s_holdingFields},
    {.nMessageType = MSG_NH, .fields = s_holdingFields},
    {.nMessageType = MSG_DS, .fields = s_listFields, .arabicFields = s_listArabicFields},
    {.nMessageType = MSG_RN, .fields = s_lookupFields, .arabicFields = s_lookupArabicFields},
};
const TABLE_SORT_KEY s_sort[] = {{QC_MARKET, 1}, {43, 1}, {QC_TICKER, 1}};
const int s_keys[] = {QC_TICKER, QC_MARKET};
// Every line the class handles applies itself: the quotation, the holdings, the market list and
// its stocks, the lookup answer.
const int s_direct[] = {MSG_GS, MSG_IH, MSG_NH, MSG_XC, MSG_DS, MSG_RN};

// Shown at first but for these, which the user may show (the saved layout overrides both).
const int s_hiddenAtFirst[] = {4, 5, 11, 15, 16, 18, 20, 22, 23, 24, 25, 26, 27, 28, 29, 32, 34, 35, 44};

// The cells that carry a change's colour; every other cell is plain (or starred plain).
BOOL IsChangeColumn(int nCol)
{
    return nCol == QC_LAST || nCol == QC_CHANGE || nCol == QC_PERCENT || nCol == QC_DAY_GAIN;
}

}  // namespace

BOOL CQuotationTable::SetNumber(CDataBuffer* pRow, int nCol, double dValue, BOOL bPublish)
{
    return pRow->SetValue(nCol, &dValue, bPublish);
}

long CQuotationTable::SendLine(int nType, LPCSTR pszBody)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->SendRequest(nType, pszBody) : 0;
}

void CQuotationTable::ShowInfo(LPCSTR pszText)
{
    if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow)
        pInfo->AddText(pszText);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->BringInfoWindowToTop(INFO_PRIORITY_ERROR);
}

const TABLE_DESC g_quotationTable = {.nNameId = IDS_TABLE_QUOTATIONS_US, .nTitleId = IDS_TITLE_QUOTATIONS_US,
                                     .columns = s_columns, .sort = s_sort, .keys = s_keys,
                                     .directTypes = s_direct, .maps = s_maps};

CQuotationTable::CQuotationTable(CZorvatMessageSource* pSource) : CDataTable(g_quotationTable, pSource)
{
}

CQuotationTable::~CQuotationTable() = default;

BOOL CQuotationTable::Create(UINT nNameId, int nFixedColumns, UINT nTitleId)
{
    if (!CDataTable::Create(nNameId, nFixedColumns, nTitleId))
        return FALSE;
    if (CTableMDIWnd* pMain = GetMainWindow()) {
        CTableWindow& grid = pMain->GetGrid();
        grid.SetCellTextColor(RGB(150, 150, 150), QUOTE_ATTR_STAR_UNCHANGED);
        grid.SetCellTextColor(RGB(140, 200, 140), QUOTE_ATTR_STAR_RISING);
        grid.SetCellTextColor(RGB(200, 140, 140), QUOTE_ATTR_STAR_FALLING);
    }
    RestoreSavedSymbols();
    return TRUE;
}

void CQuotationTable::CreateColumns()
{
    CDataTable::CreateColumns();
    for (int nCol : s_hiddenAtFirst)
        GetTable()->GetColumn(nCol).SetHidden(TRUE);
    // No change is news too: it shows as 0, where an empty price means none came.
    GetTable()->GetColumn(QC_CHANGE).SetBlankZero(FALSE);
    GetTable()->GetColumn(QC_PERCENT).SetBlankZero(FALSE);
    // The own-position columns stay out of reach until the user asks for them.
    for (int nCol = QC_OWN_QTY; nCol <= QC_OWN_GAIN_PERCENT; ++nCol) {
        CColumn column = GetTable()->GetColumn(nCol);
        column.SetHidden(!m_bShowExt);
        column.SetUserSwitchable(m_bShowExt);
    }
}

CDataBuffer* CQuotationTable::FindQuote(LPCSTR pszTicker, LPCSTR pszMarket) const
{
    if (pszTicker == nullptr || pszMarket == nullptr)
        return nullptr;
    return GetRows()->FindRow({pszTicker, pszMarket});
}

BOOL ShowTradesOfSymbol(UINT nTableId, int nSymbolColumn, LPCSTR pszSymbol)
{
    CDataTable* pTrades = FindDataTable(nTableId);
    if (pTrades == nullptr || pszSymbol == nullptr)
        return FALSE;
    CDataArray* pRows = pTrades->GetRows();
    int nRow = 0;
    while (nRow < pRows->GetCount() && pRows->GetAt(nRow)->GetText(nSymbolColumn) != pszSymbol)
        ++nRow;
    if (nRow == pRows->GetCount() || !ShowRowsOf(pTrades, nSymbolColumn, pszSymbol))
        return FALSE;
    CTableMDIWnd* pWindow = pTrades->GetMainWindow();
    if (pWindow->HasGrid() && pWindow->GetGrid().GetRowCount() > 0)
        pWindow->GetGrid().SelectRow(pWindow->GetGrid().GetRowCount() - 1, 0, FALSE);
    return TRUE;
}

// --- Subscriptions ---------------------------------------------------------------------------

BOOL CQuotationTable::SendSubscription(LPCSTR pszTicker, LPCSTR pszMarket, BOOL bOn)
{
    if (pszTicker == nullptr || *pszTicker == '\0' || pszMarket == nullptr || strlen(pszTicker) > MAX_TICKER_LENGTH)
        return FALSE;
    CZorvatGlobals* pGlobals = GetGlobals();
    MarketDetail market;
    if (pGlobals == nullptr || !pGlobals->LookupMarket(pGlobals->GetMarketCode(pszMarket), market) ||
        market.m_nNoQuoteFlag == 1)
        return FALSE;
    char szBody[64];
    snprintf(szBody, sizeof(szBody), "%s|%d", pszTicker, bOn ? 1 : 0);
    return SendLine(MSG_GS, szBody) > 0;
}

void CQuotationTable::SubscribeQuote(LPCSTR pszTicker, LPCSTR pszMarket, LPCSTR /*pszShortTicker*/)
{
    SendSubscription(pszTicker, pszMarket, TRUE);
}

void CQuotationTable::UnsubscribeQuote(LPCSTR pszTicker, LPCSTR pszMarket, LPCSTR /*pszShortTicker*/)
{
    SendSubscription(pszTicker, pszMarket, FALSE);
}

void CQuotationTable::ResubscribeAll()
{
    RestoreSavedSymbols();
    CDataArray* pRows = GetRows();
    for (int i = pRows->GetCount() - 1; i >= 0; --i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        SubscribeQuote(pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET), pRow->GetText(QC_SHORT_TICKER));
    }
}

void CQuotationTable::SubscribeMarket(LPCSTR pszMarket)
{
    CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        if (pRow->GetText(QC_MARKET) == pszMarket)
            SubscribeQuote(pRow->GetText(QC_TICKER), pszMarket, pRow->GetText(QC_SHORT_TICKER));
    }
}

void CQuotationTable::ExpandCompactQuote(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    // The expansion is parsed into the message that owns the packed field: copy it out first.
    if (!ExpandCompactQuoteLine(pMsg->GetHeaderNumber(), pMsg->GetFieldView(0), pMsg->GetFieldView(1), m_strExpanded)) {
        pMsg->Parse("");
        return;
    }
    pMsg->Parse(m_strExpanded.c_str());
}

// --- Live quotes -----------------------------------------------------------------------------

void CQuotationTable::ShowError(long nCode)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr)
        ShowInfo(pApp->GetErrorText(nCode));
}

void CQuotationTable::OnGS(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    CZorvatGlobals* pGlobals = GetGlobals();
    const CString strMarket = pGlobals != nullptr ? pGlobals->GetMarketName(pMsg->GetHeaderNumber()) : CString();
    const long nResult = pMsg->GetLong(1);
    if (nResult != 0) {
        // A busy server says so with every quote: once is enough until something else comes.
        if (nResult == RESULT_SERVER_BUSY) {
            if (m_bBusyShown)
                return;
            m_bBusyShown = TRUE;
        } else {
            m_bBusyShown = FALSE;
        }
        for (long nCode : s_alNotQuoted)
            if (nResult == nCode && *pMsg->GetFieldText(0) != '\0')
                RemoveSymbol(pMsg->GetFieldText(0), strMarket);
        ShowError(nResult);
        return;
    }
    m_bBusyShown = FALSE;
    CDataBuffer* pRow = FindQuote(pMsg->GetFieldText(0), strMarket);
    if (pRow == nullptr)
        return;
    // What the line updates: 0 the scrolling ticker only, 1 the row only, else both. The ticker
    // goes first: it compares the line with the row as it was.
    const long nKind = pMsg->GetLong(2);
    if (nKind != 1)
        SendToTicker(pMsg, pRow, strMarket);
    if (nKind == 0)
        return;

    const std::string_view kind = pMsg->GetFieldView(2);
    m_bStarred = !kind.empty() && kind.back() == '*';
    // The trade counter and the trades after it: "1500#200", or the counter alone.
    const LPCSTR pszCounter = pMsg->GetFieldText(9);
    const LPCSTR pszHash = strchr(pszCounter, '#');
    const double dCounter = atof(pszCounter);
    const double dTrades = pszHash != nullptr ? atof(pszHash + 1) : 0;
    const LPCSTR pszTime = pMsg->GetFieldText(6);
    char szShifted[SHIFT_TIME_SIZE] = "";
    if (pGlobals != nullptr)
        pGlobals->ShiftServerTimeField(pszTime, szShifted, pMsg->GetHeaderNumber());
    const double dLast = pMsg->GetDouble(3, 0);

    // One batch: the row is re-sorted and repainted once, at Commit.
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    SetNumber(pRow, QC_BID_SIZE, pMsg->GetDouble(7, 0) * 100, TRUE);
    SetNumber(pRow, QC_ASK_SIZE, pMsg->GetDouble(8, 0) * 100, TRUE);
    SetNumber(pRow, QC_VOLUME, dCounter, TRUE);
    SetNumber(pRow, QC_TRADES, dTrades, TRUE);
    pRow->SetText(QC_MARKET_TIME, szShifted, TRUE);
    pRow->SetText(QC_TIME, pszTime, TRUE);
    if (dLast != 0)
        CheckAlert(pRow, dLast);
    ComputeRow(pRow);
    ComputePosition(pRow);
    pRow->Commit();
    // The account tables read the price this table has just stored.
    RevaluePositionsOf(pMsg->GetFieldText(0), pMsg->GetHeaderNumber());
}

void CQuotationTable::SendToTicker(CServerMessage* pMsg, const CDataBuffer* pRow, LPCSTR pszMarket) const
{
    ITickerFeed* pTicker = FindTickerFeed(pszMarket);
    if (pTicker == nullptr)
        pTicker = FindTickerFeed(TICKER_ALL_MARKETS);
    const double dLast = pMsg->GetDouble(3, 0);
    // Only a trade moves the ticker: a line that changes the bid or the ask alone leaves the
    // counter where it was.
    if (pTicker == nullptr || dLast <= 0 || *pMsg->GetFieldText(6) == '\0' || pRow->GetLong(QC_SCROLLING) == 0 ||
        atof(pMsg->GetFieldText(9)) <= pRow->GetDouble(QC_VOLUME))
        return;
    QUOTE_PRICES prices;
    prices.dClose = pRow->GetDouble(QC_CLOSE);
    prices.dOpen = pRow->GetDouble(QC_OPEN);
    // Without a reference yet the whole price would read as a rise.
    const double dReference = QuoteReference(prices);
    const double dChange = dReference > 0 ? dLast - dReference : 0;
    const CString strName = pRow->GetText(QC_NAME);
    AddPriceItem(pTicker, strName.IsEmpty() ? pRow->GetText(QC_TICKER) : strName, dLast, dChange, 3);
}

std::string CQuotationTable::StarredKey(LPCSTR pszTicker, LPCSTR pszMarket)
{
    return std::string(pszTicker) + '|' + pszMarket;
}

std::string CQuotationTable::StarredKey(const CDataBuffer* pRow)
{
    return StarredKey(pRow->GetText(QC_TICKER), pRow->GetText(QC_MARKET));
}

void CQuotationTable::ComputeRow(CDataBuffer* pRow)
{
    QUOTE_PRICES prices;
    prices.dLast = pRow->GetDouble(QC_LAST);
    prices.dClose = pRow->GetDouble(QC_CLOSE);
    prices.dOpen = pRow->GetDouble(QC_OPEN);
    prices.dEarnings = pRow->GetDouble(QC_EPS);
    prices.dHeld1 = pRow->GetDouble(QC_HELD1);
    prices.dHeld3 = pRow->GetDouble(QC_HELD3);
    QUOTE_FIGURES figures;
    ComputeQuoteFigures(prices, m_bStarred, &figures);
    SetNumber(pRow, QC_CHANGE, figures.dChange, TRUE);
    SetNumber(pRow, QC_PERCENT, figures.dPercent, TRUE);
    SetNumber(pRow, QC_PE, figures.dEarningsRatio, TRUE);
    SetNumber(pRow, QC_DAY_GAIN, figures.dDayGain, TRUE);
    // The plain cells change colour only when the row's quotes turn starred or back: most lines
    // leave them as they are, and 46 cells a line are not rewritten for nothing.
    const std::string strKey = StarredKey(pRow);
    const BOOL bWasStarred = m_starredRows.count(strKey) != 0;
    if (bWasStarred != m_bStarred) {
        const int nPlain = QuoteAttribute(0, m_bStarred);
        for (int nCol = 0; nCol < QC_COUNT; ++nCol)
            if (!IsChangeColumn(nCol))
                pRow->SetCellAttribute(nCol, nPlain);
        if (m_bStarred)
            m_starredRows.insert(strKey);
        else
            m_starredRows.erase(strKey);
    }
    pRow->SetCellAttribute(QC_LAST, figures.nAttr);
    pRow->SetCellAttribute(QC_CHANGE, figures.nAttr);
    pRow->SetCellAttribute(QC_PERCENT, figures.nAttr);
    pRow->SetCellAttribute(QC_DAY_GAIN, figures.nDayGainAttr);
}

void CQuotationTable::ComputePosition(CDataBuffer* pRow)
{
    QUOTE_PRICES prices;
    prices.dLast = pRow->GetDouble(QC_LAST);
    prices.dClose = pRow->GetDouble(QC_CLOSE);
    prices.dOpen = pRow->GetDouble(QC_OPEN);
    POSITION_FIGURES figures;
    ComputePositionFigures(pRow->GetDouble(QC_OWN_QTY), pRow->GetDouble(QC_OWN_PRICE), prices, &figures);
    SetNumber(pRow, QC_OWN_COST, figures.dCost, TRUE);
    SetNumber(pRow, QC_OWN_VALUE, figures.dValue, TRUE);
    SetNumber(pRow, QC_OWN_GAIN, figures.dGain, TRUE);
    SetNumber(pRow, QC_OWN_GAIN_PERCENT, figures.dGainPercent, TRUE);
    pRow->SetCellAttribute(QC_OWN_GAIN, figures.nAttr);
    pRow->SetCellAttribute(QC_OWN_GAIN_PERCENT, figures.nAttr);
}
