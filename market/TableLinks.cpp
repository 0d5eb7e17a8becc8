#include "market/TableLinks.h"

#include <set>
#include <string>
#include "app/SessionHooks.h"
#include "refdata/PriceText.h"
#include "refdata/ZorvatTypes.h"

#include "app/NorvApp.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/base/InfoWindow.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBString.h"
#include "framework/table/Table.h"
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "market/DataTable.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

CDataTable* FindDataTable(UINT nNameId)
{
    const CNorvApp* pApp = CNorvApp::Get();
    return pApp != nullptr ? dynamic_cast<CDataTable*>(pApp->FindTable(nNameId)) : nullptr;
}

void RevaluePositionsOf(LPCSTR pszSymbol, long nMarketCode)
{
    const CNorvApp* pApp = CNorvApp::Get();
    if (pApp == nullptr || pszSymbol == nullptr || *pszSymbol == '\0')
        return;
    for (UINT nTable : g_positionTables)
        if (IDataTable* pTable = pApp->FindTable(nTable))
            pTable->RevalueSymbol(pszSymbol, nMarketCode);
}

CString GetStockSymbolFrom(UINT nNameId, long nStockId, BOOL bSecond)
{
    const IStockTextSource* pSource = dynamic_cast<const IStockTextSource*>(FindDataTable(nNameId));
    return pSource != nullptr ? pSource->GetStockSymbol(nStockId, bSecond) : CString();
}

BOOL IsArabicInterface()
{
    return GetNorvGlobals().m_nLanguage == 1;
}

CString CompanyNameOf(long nMarketCode, LPCSTR pszSymbol, BOOL bInterface)
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    ShortStockListEntry entry;
    if (pGlobals == nullptr || !pGlobals->LookupShortStockEntry(nMarketCode, pszSymbol, entry))
        return CString();
    // A symbol row carries the display name in English, then in Arabic.
    if (bInterface && IsArabicInterface() && !entry.text4.IsEmpty())
        return entry.text4;
    return entry.text3;
}

#define IDS_TABLE_KSE_STOCK_LIST_NAME 56376

CString KseOrderName(long nStock)
{
    CString strName = GetStockSymbolFrom(IDS_TABLE_KSE_STOCK_LIST_NAME, nStock, IsArabicInterface());
    if (strName.IsEmpty())
        strName.Format("%ld", nStock);
    return strName;
}

CString OptionSeriesName(LPCSTR pszUnderlying, int nRight, double dStrike, long nExpiry)
{
    CString strExpiry;
    if (nExpiry > 19000000)
        strExpiry.Format("%02ld/%02ld/%04ld", nExpiry % 100, nExpiry / 100 % 100, nExpiry / 10000);
    CString strText;
    strText.Format("%s %s %s %s", pszUnderlying != nullptr ? pszUnderlying : "",
                   static_cast<LPCSTR>(COptionRight::GetText(nRight)), static_cast<LPCSTR>(FormatPrice(dStrike, 2)),
                   static_cast<LPCSTR>(strExpiry));
    strText.Trim();
    return strText;
}

namespace {
std::set<std::string> s_toldOrderEnds;

void ForgetToldOrderEnds()
{
    s_toldOrderEnds.clear();
}
}  // namespace

BOOL IsFirstToTellOrderEnd(BOOL bKse, LPCSTR pszOrder)
{
    RegisterLogoffHook(&ForgetToldOrderEnds);
    return s_toldOrderEnds.insert(std::string(bKse ? "K" : "U") + (pszOrder != nullptr ? pszOrder : "")).second;
}

namespace {
BOOL FilterWindow(CTableMDIWnd* pWindow, int nCol, LPCSTR pszText, BOOL bOnTop)
{
    CViewTable* pView = pWindow->GetView();
    if (pView == nullptr || pszText == nullptr)
        return FALSE;
    CTableFilters* pFilters = new CTableFilters;
    pFilters->Init(pView, bOnTop ? pView->GetFilters() : nullptr);
    pFilters->ClearRowRange();
    // Quoted: the cell's text is matched as it stands, whatever criteria signs it holds.
    pFilters->AddFilter(nCol, pszText, /*bFlag=*/FALSE, /*nGroup=*/0, /*bQuote=*/TRUE);
    return CDataTable::SetViewFilter(pWindow, pFilters);
}
}  // namespace

BOOL FilterViewOnCell(CDataTable* pTable, CViewRow* pRow, int nCol, BOOL bWhileFiltered)
{
    if (pTable == nullptr || pRow == nullptr || !pRow->IsDataRow() || pRow->GetView() == nullptr)
        return FALSE;
    CTableMDIWnd* pWindow = pTable->FindWindowByView(pTable->GetTable()->FindView(pRow->GetView()));
    CTBString strText;
    if (pWindow == nullptr || !pRow->GetText(strText, nCol))
        return FALSE;
    const CViewTable* pView = pWindow->GetView();
    const BOOL bOnTop = !bWhileFiltered || (pView != nullptr && pView->GetSumMode() != 0);
    return FilterWindow(pWindow, nCol, strText, bOnTop);
}

BOOL ShowRowsOf(CDataTable* pTable, int nCol, LPCSTR pszText)
{
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    return pWindow != nullptr && FilterWindow(pWindow, nCol, pszText, /*bOnTop=*/TRUE);
}

BOOL NarrowWindow(CTableMDIWnd* pWindow, int nCol, LPCSTR pszText)
{
    return pWindow != nullptr && FilterWindow(pWindow, nCol, pszText, /*bOnTop=*/FALSE);
}

BOOL NarrowToLatest(CDataTable* pTable, int nCol, LPCSTR pszText)
{
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    if (!NarrowWindow(pWindow, nCol, pszText))
        return FALSE;
    if (pWindow->HasGrid() && pWindow->GetGrid().GetRowCount() > 0)
        pWindow->GetGrid().SelectRow(pWindow->GetGrid().GetRowCount() - 1, 0, FALSE);
    return TRUE;
}

CTableMDIWnd* GetCurrentViewWindow(CDataTable* pTable)
{
    if (pTable == nullptr)
        return nullptr;
    CTable* pEngine = pTable->GetTable();
    CTableMDIWnd* pWindow =
        pEngine->GetViewCount() > 0 ? pTable->FindWindowByView(pEngine->FindView(pEngine->GetCurrentView())) : nullptr;
    return pWindow != nullptr ? pWindow : pTable->GetMainWindow();
}

CString LoadMarketText(UINT nId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    return strText;
}

CString LoadMenuItemText(UINT nId)
{
    const CString strText = LoadMarketText(nId);
    const int nBreak = strText.Find('\n');
    return nBreak >= 0 ? strText.Mid(nBreak + 1) : strText;
}

void ShowMarketInfo(LPCSTR pszText, UINT nTextId, int nPriority)
{
    if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow) {
        if (pszText != nullptr)
            pInfo->AddText(pszText);
        else
            pInfo->AddResourceText(nTextId);
    }
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->BringInfoWindowToTop(nPriority);
}
