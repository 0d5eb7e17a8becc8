#include "account/HoldingsValuation.h"
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
#define IDS_HOLDING_TYPE_4 56271

int GainColour(double dGain)
{
    return dGain > 0 ? GAIN_COLOUR_UP : dGain < 0 ? GAIN_COLOUR_DOWN : GAIN_COLOUR_NONE;
}

void WriteDerived(CDataBuffer* pRow, int nCol, double dValue)
{
    char szText[64];
    snprintf(szText, sizeof szText, "%f", dValue);
    pRow->SetText(nCol, szText, pRow->IsAdded());
}

void WriteConverted(CDataBuffer* pRow, int nCol, double dValue)
{
    char szText[64];
    snprintf(szText, sizeof szText, " %f ", dValue);
    pRow->SetText(nCol, szText, pRow->IsAdded());
}

double RateToBase(LPCSTR pszCurrency)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr && pszCurrency != nullptr ? pApp->GetRates().GetCrossRate(pszCurrency) : 0.0;
}

BOOL FindUsQuotePrice(LPCSTR pszSymbol, LPCSTR pszMarket, double& dPrice)
{
    const CDataTable* pQuotes = FindDataTable(IDS_TABLE_US_QUOTATIONS);
    const CDataBuffer* pRow = pQuotes != nullptr ? pQuotes->GetRows()->FindRow({pszSymbol, pszMarket}) : nullptr;
    if (pRow == nullptr)
        return FALSE;
    dPrice = pRow->GetDouble(QC_LAST);
    if (dPrice == 0.0)
        dPrice = pRow->GetDouble(QC_CLOSE);
    return TRUE;
}

BOOL FindKsePrice(LPCSTR pszStock, double& dDinars)
{
    const CDataTable* pBoard = FindDataTable(IDS_TABLE_KSE_QUOTATIONS);
    const CDataBuffer* pRow = pBoard != nullptr ? pBoard->GetRows()->FindRowByIds({static_cast<LONG>(atol(pszStock))}) : nullptr;
    if (pRow == nullptr)
        return FALSE;
    double dFils = pRow->GetDouble(KC_LAST);
    if (dFils == 0.0)
        dFils = pRow->GetDouble(KC_PREVIOUS);
    dDinars = dFils / 1000.0;
    return TRUE;
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

CString CompanyNameOf(long nMarketCode, LPCSTR pszSymbol)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    ShortStockListEntry entry;
    if (pGlobals == nullptr || !pGlobals->LookupShortStockEntry(nMarketCode, pszSymbol, entry))
        return CString();
    return entry.text3;
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

void RevalueEveryPosition(CDataTable* pTable, int nSymbolCol, int nMarketCol)
{
    std::set<std::pair<std::string, std::string>> positions;
    const CDataArray* pRows = pTable->GetRows();
    for (int i = 0; i < pRows->GetCount(); ++i) {
        const CDataBuffer* pRow = pRows->GetAt(i);
        const CString strMarket = pRow->GetText(nMarketCol);
        if (!strMarket.IsEmpty())
            positions.emplace(static_cast<LPCSTR>(strMarket), static_cast<LPCSTR>(pRow->GetText(nSymbolCol)));
    }
    for (const auto& position : positions)
        pTable->RevalueSymbol(position.second.c_str(), MarketCodeOf(position.first.c_str()));
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
