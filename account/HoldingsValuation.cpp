#include "account/HoldingsValuation.h"
#include <charconv>
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/Table.h"
#include "framework/table/TableColumns.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewTable.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/QuotationKSETable.h"
#include "market/QuotationTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "platform/win/user/MessageBox.h"

#define IDS_STATUS_OTHER 57825          // a KSE position's status: other, 1, 2, 3
#define IDS_CASH_TYPE_0 56267           // holding types 0 to 2 of a cash line
#define IDS_STOCK_TYPE_0 56404          // and of a stock: 56404, 56912, 56403
#define IDS_STOCK_TYPE_1 56912
#define IDS_STOCK_TYPE_2 56403
#define IDS_HOLDING_TYPE_3 56270        // types 3 and 4, whatever the row
#define IDS_OPTION_HOLDING 57226        // "Option"
#define IDS_HOLDING_TYPE_4 56271

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

double RateToBase(LPCSTR pszCurrency)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr && pszCurrency != nullptr ? pApp->GetRates().GetCrossRate(pszCurrency) : 0.0;
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

BOOL IsClosedUsPosition(CServerMessage* pMsg)
{
    return pMsg->GetLong(1) == 0 && pMsg->GetLong(3) == 0 && pMsg->GetLong(15) == 0 && pMsg->GetLong(16) == 0;
}

BOOL FindPositionPrice(LPCSTR pszSymbol, long nMarketCode, double& dPrice)
{
    if (pszSymbol == nullptr || *pszSymbol == '\0' || *pszSymbol == '=')
        return FALSE;
    double dQuoted = 0;
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
    if (!(dQuoted > 0))
        return FALSE;
    dPrice = dQuoted;
    return TRUE;
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
    const POSITION_VALUE exact = ValuePosition(dQuantity, dPrice, dUnit, dCost, dAdded);
    return ValuePosition(1.0, pRow->GetArray()->HeldAmount(pRow, nValueCol, exact.dValue), 1.0, dCost);
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

CString MarketNameOf(long nMarketCode)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    return pGlobals != nullptr ? pGlobals->GetMarketName(nMarketCode) : CString();
}

long MarketCodeOf(LPCSTR pszMarketName)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    return pGlobals != nullptr ? pGlobals->GetMarketCode(pszMarketName) : 0;
}

CString KseStockName(long nStock, BOOL bInterface)
{
    if (nStock <= 0)
        return "=KWD";
    return GetKSEStockSymbol(nStock, bInterface && IsArabicInterface());
}

CString KseStatusText(long nStatus)
{
    return LoadMarketText(nStatus >= 1 && nStatus <= 3 ? IDS_STATUS_OTHER + static_cast<UINT>(nStatus) : IDS_STATUS_OTHER);
}

CString HoldingTypeText(int nType, BOOL bCash)
{
    static const UINT s_stockTypes[] = {IDS_STOCK_TYPE_0, IDS_STOCK_TYPE_1, IDS_STOCK_TYPE_2};
    if (nType >= 0 && nType <= 2)
        return LoadMarketText(bCash ? IDS_CASH_TYPE_0 + static_cast<UINT>(nType) : s_stockTypes[nType]);
    if (nType == 3 || nType == 4)
        return LoadMarketText(nType == 3 ? IDS_HOLDING_TYPE_3 : IDS_HOLDING_TYPE_4);
    if (nType == HOLDING_TYPE_OPTION)
        return LoadMarketText(IDS_OPTION_HOLDING);
    return CString();
}

BOOL FilterOptionRows(CDataTable* pTable, int nCol, OPTION_FILTER filter)
{
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    CViewTable* pView = pWindow != nullptr ? pWindow->GetView() : nullptr;
    if (pView == nullptr)
        return FALSE;
    // The window's other criteria stay while its sums are filtered; the option criterion is new.
    const BOOL bKeep = pView->GetSumMode() != 0;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pView, bKeep ? pView->GetFilters() : nullptr);
    pFilters->ClearRowRange();
    pFilters->SetMode(1);
    pFilters->RemoveColumnFilters(nCol);
    if (bKeep)
        pView->SetSumMode(0);
    if (filter != OPTION_FILTER_ALL)
        pFilters->AddFilter(nCol, filter == OPTION_FILTER_OPTIONS ? ">0" : "=0", FALSE, 0, FALSE);
    return CDataTable::SetViewFilter(pWindow, pFilters);
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

BOOL AskRefresh()
{
    return MessageBoxA(nullptr, LoadMarketText(IDS_REFRESH_QUESTION), nullptr, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

BOOL IsAlphanumeric(LPCSTR pszText)
{
    for (const char* p = pszText; p != nullptr && *p != '\0'; ++p)
        if (!((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')))
            return FALSE;
    return TRUE;
}

void SetColumnsHiddenOf(CDataTable* pTable, std::initializer_list<int> columns, BOOL bHidden)
{
    CTable* pEngine = pTable->GetTable();
    for (int nCol : columns) {
        if (pEngine == nullptr || nCol >= pEngine->GetColumnCount())
            return;
        CColumn column = pEngine->GetColumn(nCol);
        column.SetUserSwitchable(!bHidden);
        column.SetHidden(bHidden);
    }
}


void InsertRefreshAndItem(HMENU hMenu, UINT nItemId, LPCSTR pszItemText)
{
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, nItemId, pszItemText);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, ID_POSITIONS_REFRESH, LoadMenuItemText(ID_POSITIONS_REFRESH));
}

BOOL HasUsAccess()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr && pApp->GetUser().GetUsAccessLevel() >= 10;
}
