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

double RateToBase(LPCSTR pszCurrency)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr && pszCurrency != nullptr ? pApp->GetRates().GetCrossRate(pszCurrency) : 0.0;
}

BOOL IsClosedUsPosition(CServerMessage* pMsg)
{
    return pMsg->GetLong(1) == 0 && pMsg->GetLong(3) == 0 && pMsg->GetLong(15) == 0 && pMsg->GetLong(16) == 0;
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
