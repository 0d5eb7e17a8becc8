#include "market/TimeAndSalesTable.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include "framework/base/ColumnDataType.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_TABLE_QUOTATIONS_US 51921

namespace {
// Quote lines: 0 symbol, 1 result, 2 what the line is (1 a snapshot), 3 last, 6 time,
// 9 "trades#volume" or the volume, 11 high, 12 low.
enum { GS_SYMBOL = 0, GS_RESULT = 1, GS_KIND = 2, GS_LAST = 3, GS_TIME = 6, GS_VOLUME = 9, GS_HIGH = 11, GS_LOW = 12 };
const long GS_SNAPSHOT = 1;
// The quotation table's columns read here.
enum { QUOTE_NAME = 2, QUOTE_HIGH = 7, QUOTE_LOW = 8, QUOTE_VOLUME = 21 };
const int MARK_LOW = 3;
const int MARK_HIGH = 4;

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 0, .nType = COLTYPE_INT32, .nWidth = 10, .nAlign = ALIGN_RIGHT, .nFlags = COLF_KEY},
    {.nTitleId = 51950, .nType = COLTYPE_TIME_TEXT, .nWidth = TIME_WIDTH, .nAlign = ALIGN_RIGHT, .nField = GS_TIME},
    {.nTitleId = 51236, .nSize = 6, .nField = GS_SYMBOL},
    {.nTitleId = 51952, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -4, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_OMIT_ZERO_FRACTION, .nMinDecimals = 2, .nField = GS_LAST},
    {.nTitleId = 51953, .nType = COLTYPE_DOUBLE, .nWidth = VOLUME_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED},
    {.nTitleId = 51951, .nWidth = NAME_WIDTH, .nSize = 50, .nField = GS_SYMBOL},   // the company's name
    {.nTitleId = 57382, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_COLUMN_SIZE},
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == UTC_COUNT);
const TABLE_SORT_KEY s_sort[] = {{UTC_TIME, SORT_ASCENDING}, {UTC_SYMBOL, SORT_ASCENDING}, {UTC_NUMBER, SORT_ASCENDING}};
const int s_direct[] = {MSG_GS};    // a trade of a watched symbol, added by the class
const int s_keys[] = {UTC_NUMBER};

// The cumulative volume of a quote: the number after '#' of "trades#volume", or the field.
long QuoteVolume(CServerMessage* pMsg)
{
    const LPCSTR pszField = pMsg->GetFieldText(GS_VOLUME);
    const char* pszHash = strchr(pszField, '#');
    return atol(pszHash != nullptr ? pszHash + 1 : pszField);
}

BOOL Contains(const std::vector<std::string>& list, LPCSTR pszSymbol)
{
    return pszSymbol != nullptr && std::find(list.begin(), list.end(), pszSymbol) != list.end();
}

void Erase(std::vector<std::string>& list, LPCSTR pszSymbol)
{
    list.erase(std::remove(list.begin(), list.end(), pszSymbol), list.end());
}
}  // namespace

const TABLE_DESC g_timeAndSalesTable = {
    .nNameId = IDS_TABLE_TIME_AND_SALES, .nTitleId = IDS_TITLE_TIME_AND_SALES, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .directTypes = s_direct, .nFlags = TABLEF_FOLLOW_LAST_ROW};

void CTimeAndSalesTable::AddSymbol(LPCSTR pszSymbol)
{
    if (pszSymbol == nullptr || *pszSymbol == '\0' || IsSymbolAdded(pszSymbol))
        return;
    CSymbolState state;
    if (const CDataTable* pQuotes = FindDataTable(IDS_TABLE_QUOTATIONS_US)) {
        if (const CDataBuffer* pQuote = pQuotes->GetRows()->FindRow({pszSymbol})) {
            state.dHigh = pQuote->GetDouble(QUOTE_HIGH);
            state.dLow = pQuote->GetDouble(QUOTE_LOW);
            state.nVolume = pQuote->GetLong(QUOTE_VOLUME);
        }
    }
    m_states[pszSymbol] = state;
    m_added.insert(m_added.begin(), pszSymbol);
}

void CTimeAndSalesTable::ToggleSymbolStop(LPCSTR pszSymbol)
{
    if (!IsSymbolAdded(pszSymbol))
        return;
    if (IsSymbolStopped(pszSymbol))
        Erase(m_stopped, pszSymbol);
    else
        m_stopped.push_back(pszSymbol);
}

void CTimeAndSalesTable::RemoveSymbol(LPCSTR pszSymbol)
{
    if (pszSymbol == nullptr)
        return;
    Erase(m_added, pszSymbol);
    Erase(m_stopped, pszSymbol);
    m_states.erase(pszSymbol);
    CDataArray* pRows = GetRows();
    for (int i = pRows->GetCount() - 1; i >= 0; --i)
        if (pRows->GetAt(i)->GetText(UTC_SYMBOL) == pszSymbol)
            pRows->RemoveAt(i);
}

void CTimeAndSalesTable::FilterSymbol(LPCSTR pszSymbol)
{
    ShowRowsOf(this, UTC_SYMBOL, pszSymbol);
}

BOOL CTimeAndSalesTable::IsSymbolAdded(LPCSTR pszSymbol) const
{
    return Contains(m_added, pszSymbol);
}

BOOL CTimeAndSalesTable::IsSymbolStopped(LPCSTR pszSymbol) const
{
    return Contains(m_stopped, pszSymbol);
}

BOOL CTimeAndSalesTable::HasRowOf(LPCSTR pszSymbol) const
{
    const CDataArray* pRows = GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i)
        if (pRows->GetAt(i)->GetText(UTC_SYMBOL) == pszSymbol)
            return TRUE;
    return FALSE;
}

void CTimeAndSalesTable::OnGS(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetLong(GS_RESULT) != 0)
        return;
    const LPCSTR pszSymbol = pMsg->GetFieldText(GS_SYMBOL);
    if (!IsSymbolAdded(pszSymbol))
        return;
    CSymbolState& state = m_states[pszSymbol];
    if (pMsg->GetLong(GS_KIND) == GS_SNAPSHOT) {
        if (!HasRowOf(pszSymbol)) {
            state.dHigh = pMsg->GetDouble(GS_HIGH, 0);
            state.dLow = pMsg->GetDouble(GS_LOW, 0);
            state.nVolume = QuoteVolume(pMsg);
        }
        return;
    }
    const double dPrice = pMsg->GetDouble(GS_LAST, 0);
    if (*pMsg->GetFieldText(GS_TIME) == '\0' || dPrice <= 0.0)
        return;
    const long nVolume = QuoteVolume(pMsg);
    if (nVolume <= state.nVolume)
        return;
    const long nQuantity = nVolume - state.nVolume;
    state.nVolume = nVolume;
    int nMark = 0;
    if (dPrice <= state.dLow) {
        state.dLow = dPrice;
        nMark = MARK_LOW;
    }
    if (dPrice >= state.dHigh) {
        state.dHigh = dPrice;
        nMark = MARK_HIGH;
    }
    if (!IsSymbolStopped(pszSymbol))
        AddTrade(pMsg, nQuantity, nMark);
}

void CTimeAndSalesTable::AddTrade(CServerMessage* pMsg, long nQuantity, int nMark)
{
    char szShifted[SHIFT_TIME_SIZE] = "";
    const CZorvatGlobals* pGlobals = GetGlobals();
    pGlobals->ShiftServerTimeField(pMsg->GetFieldText(GS_TIME), szShifted, pMsg->GetHeaderNumber());
    pMsg->SetOverride(GS_TIME, szShifted);

    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    CString strText;
    strText.Format("%ld", nQuantity);
    pRow->SetText(UTC_QUANTITY, strText, FALSE);
    pRow->SetText(UTC_MARKET, pGlobals->GetMarketName(pMsg->GetHeaderNumber()), FALSE);
    strText.Format("%lld", m_nNextTrade++);
    pRow->SetText(UTC_NUMBER, strText, FALSE);
    if (const CDataTable* pQuotes = FindDataTable(IDS_TABLE_QUOTATIONS_US)) {
        if (const CDataBuffer* pQuote = pQuotes->GetRows()->FindRow({pMsg->GetFieldText(GS_SYMBOL)})) {
            const CString strName = pQuote->GetText(QUOTE_NAME, TRUE);
            if (!strName.IsEmpty())
                pRow->SetText(UTC_NAME, strName, FALSE);
        }
    }
    const int nIndex = GetRows()->AddRow(pRow.get(), TRUE);
    CDataBuffer* pStored = GetRows()->GetAt(nIndex);
    if (nMark == 0 || pStored == nullptr)
        return;
    // The mark in one batch: the new row repaints once.
    pStored->BeginChanges();
    for (int nCol = UTC_TIME; nCol < UTC_COUNT; ++nCol)
        pStored->SetCellBackColor(nCol, nMark);
    pStored->Commit();
}

void CTimeAndSalesTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if (nCol != UTC_SYMBOL && nCol != UTC_MARKET)
        return;
    if (FilterViewOnCell(this, pRow, nCol) && pnHandled != nullptr)
        *pnHandled = 1;
}
