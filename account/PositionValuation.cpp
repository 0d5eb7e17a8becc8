#include "account/PositionValuation.h"
#include <charconv>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/base/ColumnValues.h"
#include "framework/table/TableColumns.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"

int GainColour(double dGain)
{
    return dGain > 0 ? GAIN_COLOUR_UP : dGain < 0 ? GAIN_COLOUR_DOWN : GAIN_COLOUR_NONE;
}

namespace {
// The double a derived value's text reads back as, with that text. A quote values a position's
// cells at the same price in up to three tables, and again when the quotation table has stored
// it: the last few conversions are kept, so a value costs its text once.
struct CDerivedText
{
    double dValue = 0;
    double dStored = 0;
    bool bSpaced = false;
    bool bUsed = false;
    // Room for any finite double's "%f" (309 whole digits), its sign, six decimals and two blanks.
    char szText[DBL_MAX_10_EXP + 20] = "";
};

const CDerivedText& ToDerivedText(double dValue, bool bSpaced)
{
    static CDerivedText s_recent[8];
    static size_t s_nNext = 0;
    for (const CDerivedText& entry : s_recent)
        if (entry.bUsed && entry.bSpaced == bSpaced && std::memcmp(&entry.dValue, &dValue, sizeof dValue) == 0)
            return entry;
    CDerivedText& entry = s_recent[s_nNext++ % std::size(s_recent)];
    // The digits of "%f" (to_chars is printf's fixed form), and the double they read back as.
    char* pszText = entry.szText;
    if (bSpaced)
        *pszText++ = ' ';
    const auto result = std::to_chars(pszText, entry.szText + sizeof entry.szText - 2, dValue, std::chars_format::fixed, 6);
    char* pszEnd = result.ec == std::errc() ? result.ptr : pszText;
    if (bSpaced)
        *pszEnd++ = ' ';
    *pszEnd = '\0';
    entry.dValue = dValue;
    entry.dStored = atof(entry.szText);
    entry.bSpaced = bSpaced;
    entry.bUsed = true;
    return entry;
}

void WriteText(CDataBuffer* pRow, int nCol, const CDerivedText& text)
{
    const CViewTable* pView = pRow->GetArray()->GetReadView();
    if (pView == nullptr || nCol >= pView->GetColumnCount() || pView->GetColumns().GetColumn(nCol)->GetDataType() != COLTYPE_DOUBLE) {
        pRow->SetText(nCol, text.szText, pRow->IsAdded());
        return;
    }
    // A double column takes the value its text reads as, an amount held to the places it shows;
    // a cell that holds it already is left alone.
    const double dStored = pRow->GetArray()->HeldAmount(pRow, nCol, text.dStored);
    const double dHeld = pRow->GetDouble(nCol);
    if (std::memcmp(&dHeld, &dStored, sizeof dHeld) != 0)
        pRow->SetValue(nCol, &dStored, pRow->IsAdded());
}
}  // namespace

void WriteDerived(CDataBuffer* pRow, int nCol, double dValue)
{
    WriteText(pRow, nCol, ToDerivedText(dValue, false));
}

void WriteConverted(CDataBuffer* pRow, int nCol, double dValue)
{
    WriteText(pRow, nCol, ToDerivedText(dValue, true));
}

BOOL FindUsQuotePrice(LPCSTR pszSymbol, LPCSTR pszMarket, double& dPrice)
{
    // Every position table asks for the quote a line has just stored.
    static CPositionRows s_quotes(QC_TICKER, QC_MARKET, true);
    CDataTable* pQuotes = FindDataTable(IDS_TABLE_US_QUOTATIONS);
    if (pQuotes == nullptr)
        return FALSE;
    const std::vector<CDataBuffer*>& rows = s_quotes.Find(pQuotes->GetRows(), pszSymbol, pszMarket);
    if (rows.empty())
        return FALSE;
    const CDataBuffer* pRow = rows.front();
    dPrice = pRow->GetDouble(QC_LAST);
    if (dPrice == 0.0)
        dPrice = pRow->GetDouble(QC_CLOSE);
    return TRUE;
}

BOOL FindUnderlyingPrice(LPCSTR pszSymbol, double& dPrice)
{
    CDataTable* pQuotes = FindDataTable(IDS_TABLE_US_QUOTATIONS);
    if (pQuotes == nullptr || pszSymbol == nullptr || *pszSymbol == '\0')
        return FALSE;
    CRowFinder finder;
    pQuotes->GetRows()->FindRange(finder, {pszSymbol});
    for (const CDataBuffer* pRow = finder.GetRow(); pRow != nullptr; pRow = finder.FindNext()) {
        const double dLast = pRow->GetDouble(QC_LAST);
        const double dQuoted = dLast != 0.0 ? dLast : pRow->GetDouble(QC_CLOSE);
        if (dQuoted > 0) {
            dPrice = dQuoted;
            return TRUE;
        }
    }
    return FALSE;
}

namespace {
// The server's price a line has just given, while every window takes it; none between lines.
struct TAKEN_PRICE
{
    LPCSTR pszSymbol = nullptr;
    long nMarketCode = 0;
    double dPrice = 0;
    long nAccount = 0;
};
TAKEN_PRICE s_taken;

// The account a line or window is for, as a number; null names the trader's own.
long AccountOf(LPCSTR pszAccount)
{
    if (pszAccount != nullptr)
        return atol(pszAccount);
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? atol(pApp->GetUser().GetAccountText()) : 0;
}

BOOL FindQuotedPrice(LPCSTR pszSymbol, long nMarketCode, double& dQuoted)
{
    if (nMarketCode == KSE_MARKET_CODE) {
        const CDataTable* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS);
        const CDataBuffer* pRow = pBoard != nullptr ? pBoard->GetRows()->FindRowByIds({static_cast<LONG>(atol(pszSymbol))}) : nullptr;
        if (pRow != nullptr) {
            dQuoted = pRow->GetDouble(KC_LAST);
            if (dQuoted <= 0)
                dQuoted = pRow->GetDouble(KC_PREVIOUS);
        }
    } else if (!FindUsQuotePrice(pszSymbol, MarketNameOf(nMarketCode), dQuoted)) {
        return FALSE;
    }
    return dQuoted > 0;
}
}  // namespace

BOOL FindPositionPrice(LPCSTR pszSymbol, long nMarketCode, double& dPrice, LPCSTR pszAccount)
{
    if (pszSymbol == nullptr || *pszSymbol == '\0' || *pszSymbol == '=')
        return FALSE;
    double dQuoted = 0;
    if (FindQuotedPrice(pszSymbol, nMarketCode, dQuoted)) {
        dPrice = dQuoted;
        return TRUE;
    }
    if (s_taken.pszSymbol == nullptr || s_taken.nMarketCode != nMarketCode || strcmp(s_taken.pszSymbol, pszSymbol) != 0 ||
        s_taken.nAccount != AccountOf(pszAccount))
        return FALSE;
    dPrice = s_taken.dPrice;
    return TRUE;
}

void TakeServerPrice(LPCSTR pszSymbol, long nMarketCode, double dPrice, LPCSTR pszAccount)
{
    double dQuoted = 0;
    if (pszSymbol == nullptr || *pszSymbol == '\0' || *pszSymbol == '=' || !(dPrice > 0) || s_taken.pszSymbol != nullptr ||
        FindQuotedPrice(pszSymbol, nMarketCode, dQuoted))
        return;
    // Held only while the windows revalue the position: a window's rows keep what they took.
    const std::string strSymbol(pszSymbol);
    s_taken = {strSymbol.c_str(), nMarketCode, dPrice, AccountOf(pszAccount)};
    RevaluePositionsOf(strSymbol.c_str(), nMarketCode);
    s_taken = TAKEN_PRICE();
}

double QuotedUnit(long nMarketCode, BOOL bOption)
{
    return nMarketCode == KSE_MARKET_CODE ? 0.001 : bOption ? 100.0 : 1.0;
}

POSITION_VALUE ValuePosition(double dQuantity, double dPrice, double dUnit, double dCost, double dAdded)
{
    POSITION_VALUE value;
    value.dValue = dQuantity * dPrice * dUnit + dAdded;
    value.dGain = value.dValue - dCost;
    value.dPercent = dCost == 0 ? 100.0 : value.dGain * 100.0 / dCost;
    return value;
}

POSITION_VALUE ValuePosition(CDataBuffer* pRow, int nValueCol, double dQuantity, double dPrice, double dUnit, double dCost,
                             double dAdded)
{
    const CDataArray* pRows = pRow->GetArray();
    POSITION_VALUE value;
    // The product carries a binary hair that a value at half a fils or cent would round by: a
    // KSE value reckoned in fils or in dinars is one value. No position's value has six places.
    value.dValue = pRows->HeldAmount(pRow, nValueCol, RoundHalfAwayFromZero(dQuantity * dPrice * dUnit + dAdded, 6));
    // The difference of two amounts of the same places, held as it reads.
    value.dGain = pRows->HeldAmount(pRow, nValueCol, value.dValue - dCost);
    value.dPercent = dCost == 0 ? 100.0 : value.dGain * 100.0 / dCost;
    return value;
}

double PositionCost(LPCSTR pszCostLine, double dExact)
{
    const double dLine = pszCostLine != nullptr ? atof(pszCostLine) : 0.0;
    const char* pszPoint = pszCostLine != nullptr ? strchr(pszCostLine, '.') : nullptr;
    int nPlaces = 0;
    for (const char* p = pszPoint != nullptr ? pszPoint + 1 : ""; *p >= '0' && *p <= '9'; ++p)
        ++nPlaces;
    if (!std::isfinite(dExact) || nPlaces > 15)
        return dLine;
    return RoundHalfAwayFromZero(dExact, nPlaces) == RoundHalfAwayFromZero(dLine, nPlaces) ? dExact : dLine;
}

POSITION_VALUE SettleGain(CDataBuffer* pRow, const VALUED_COLUMNS& columns, int nCostCol)
{
    const POSITION_VALUE value = ValuePosition(pRow, columns.nValue, 1.0, pRow->GetDouble(columns.nValue), 1.0, pRow->GetDouble(nCostCol));
    WriteDerived(pRow, columns.nGain, value.dGain);
    WriteDerived(pRow, columns.nPercent, value.dPercent);
    return value;
}

void WriteValuation(CDataBuffer* pRow, const VALUED_COLUMNS& columns, double dShownPrice, const POSITION_VALUE& value)
{
    WriteDerived(pRow, columns.nPrice, dShownPrice);
    WriteDerived(pRow, columns.nValue, value.dValue);
    WriteDerived(pRow, columns.nGain, value.dGain);
    WriteDerived(pRow, columns.nPercent, value.dPercent);
}

void MarkGain(CDataBuffer* pRow, std::initializer_list<int> columns, double dGain)
{
    for (int nCol : columns)
        pRow->SetCellAttribute(nCol, GainColour(dGain));
}

namespace {
std::string PositionKey(const char* pszSymbol, size_t nSymbolChars, const char* pszMarket, size_t nMarketChars)
{
    std::string strKey(pszSymbol, strnlen(pszSymbol, nSymbolChars));
    strKey += '\x1f';
    strKey.append(pszMarket, strnlen(pszMarket, nMarketChars));
    return strKey;
}

size_t StoredChars(const CDataArray* pRows, int nCol)
{
    const CViewTable* pView = pRows->GetReadView();
    const CTableColumn* pColumn = pView != nullptr && nCol < pView->GetColumnCount() ? pView->GetColumns().GetColumn(nCol) : nullptr;
    return pColumn != nullptr && pColumn->m_nSize > 0 ? static_cast<size_t>(pColumn->m_nSize - 1) : SIZE_MAX;
}
}  // namespace

void CPositionRows::Build(CDataArray* pRows)
{
    m_index.clear();
    m_nSymbolChars = StoredChars(pRows, m_nSymbolCol);
    m_nMarketChars = m_bMarketKey ? StoredChars(pRows, m_nMarketCol) : SIZE_MAX;
    for (int i = 0; i < pRows->GetCount(); ++i) {
        CDataBuffer* pRow = pRows->GetAt(i);
        m_index[PositionKey(pRow->GetText(m_nSymbolCol), SIZE_MAX, m_nMarketCol >= 0 ? pRow->GetText(m_nMarketCol) : "", SIZE_MAX)]
            .push_back(pRow);
    }
    m_pBuiltFor = pRows;
    m_nBuiltAt = pRows->GetShapeChanges();
}

const std::vector<CDataBuffer*>& CPositionRows::Find(CDataArray* pRows, LPCSTR pszSymbol, LPCSTR pszMarket)
{
    m_found.clear();
    if (pRows == nullptr || pszSymbol == nullptr || pszMarket == nullptr || pRows->IsBulk())
        return m_found;
    const uint64_t nShape = pRows->GetShapeChanges();
    if (m_pBuiltFor != pRows || nShape != m_nBuiltAt) {
        if (nShape == m_nSeenAt && m_pBuiltFor == pRows)
            Build(pRows);
        else
            m_pBuiltFor = pRows;
        m_nSeenAt = nShape;
    }
    if (m_nBuiltAt == nShape && m_pBuiltFor == pRows) {
        const auto it = m_index.find(PositionKey(pszSymbol, m_nSymbolChars, m_nMarketCol >= 0 ? pszMarket : "", m_nMarketChars));
        if (it != m_index.end())
            return it->second;
        // Searched row by row, the store would find no more than the index.
        if (!m_bSymbolKey)
            return m_found;
    }
    if (!m_bSymbolKey) {
        for (int i = 0; i < pRows->GetCount(); ++i)
            if (CDataBuffer* pRow = pRows->GetAt(i); pRow->GetText(m_nSymbolCol) == pszSymbol)
                m_found.push_back(pRow);
        return m_found;
    }
    CRowFinder finder;
    if (m_bMarketKey)
        pRows->FindRange(finder, {pszSymbol, pszMarket});
    else
        pRows->FindRange(finder, {pszSymbol});
    for (CDataBuffer* pRow = finder.GetRow(); pRow != nullptr; pRow = finder.FindNext())
        if (m_bMarketKey || m_nMarketCol < 0 || pRow->GetText(m_nMarketCol) == pszMarket)
            m_found.push_back(pRow);
    return m_found;
}

void RevalueEveryPosition(CDataTable* pTable, int nSymbolCol, int nMarketCol, long nMarketCode)
{
    std::set<std::pair<std::string, std::string>> positions;
    const CDataArray* pRows = pTable->GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const CString strMarket = nMarketCol >= 0 ? pRow->GetText(nMarketCol) : CString();
        if (!strMarket.IsEmpty() || nMarketCol < 0)
            positions.emplace(static_cast<LPCSTR>(strMarket), static_cast<LPCSTR>(pRow->GetText(nSymbolCol)));
    }
    for (const auto& position : positions)
        pTable->RevalueSymbol(position.second.c_str(), nMarketCol >= 0 ? MarketCodeOf(position.first.c_str()) : nMarketCode);
}

