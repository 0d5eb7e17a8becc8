#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "app/NewsStory.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "platform/mfc/Array.h"
#include "platform/win/Windows.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_TICKERS_MENU 57389
#define IDS_MARKETS_MENU 57406
#define IDS_ALL_MARKETS 57407
#define MENU_MARKETS_POPUP 7            // the main menu's popup that lists the market schedules
#define MENU_TICKERS_POPUP 9            // the one that lists the tickers
#define MENU_MARKETS_PLACE 4            // where the schedules' popup stands in it
#define MENU_TICKERS_PLACE 3            // where the separator before the tickers' popup stands
#define MENU_ITEMS_MAX 11               // the command ids each sub-menu has

namespace {

CString LoadText(UINT nId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    return strText;
}

// The position of the popup titled strTitle in hMenu, -1 when there is none.
int FindPopup(HMENU hMenu, const CString& strTitle)
{
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        char szText[256];
        if (GetSubMenu(hMenu, i) == nullptr)
            continue;
        if (GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION) > 0 && strTitle == szText)
            return i;
    }
    return -1;
}

BOOL IsSeparator(HMENU hMenu, int nPos)
{
    return nPos >= 0 && nPos < GetMenuItemCount(hMenu) && GetSubMenu(hMenu, nPos) == nullptr &&
           GetMenuItemID(hMenu, nPos) == 0;
}

// Puts hPopup, titled strTitle, into hMenu at nPos (or at its end when it is shorter) with a
// separator before or after it, in place of the popup of that title a former market list left
// with its separator: a second list replaces the first rather than adding to it.
void ReplacePopup(HMENU hMenu, HMENU hPopup, const CString& strTitle, int nPos, BOOL bSeparatorBefore)
{
    const int nOld = FindPopup(hMenu, strTitle);
    if (nOld >= 0) {
        DeleteMenu(hMenu, static_cast<UINT>(nOld), MF_BYPOSITION);
        const int nSeparator = bSeparatorBefore ? nOld - 1 : nOld;
        if (IsSeparator(hMenu, nSeparator))
            DeleteMenu(hMenu, static_cast<UINT>(nSeparator), MF_BYPOSITION);
    }
    const int nCount = GetMenuItemCount(hMenu);
    const UINT nAt = static_cast<UINT>(nPos < nCount ? nPos : nCount);
    InsertMenuA(hMenu, nAt, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), strTitle);
    InsertMenuA(hMenu, bSeparatorBefore ? nAt : nAt + 1, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

}  // namespace

void CZORVAT32App::OpenFormWindow(CFormMDIWnd** ppSlot, UINT nFormId)
{
    if (ppSlot == nullptr)
        return;
    if (*ppSlot == nullptr) {
        const PFN_MAKE_FORM_VIEW pfnMake = FindFormMaker(nFormId);
        CWnd* pView = pfnMake != nullptr ? pfnMake(nFormId) : nullptr;
        CFormMDIWnd* pFrame = new CFormMDIWnd;
        *ppSlot = pFrame;
        if (!pFrame->CreateForm(nFormId, pView, ppSlot)) {
            // A frame whose window never came is still ours, and so is a view never created.
            if (*ppSlot == pFrame)
                delete pFrame;
            *ppSlot = nullptr;
            if (pView != nullptr && pView->m_hWnd == nullptr)
                delete pView;
            return;
        }
    }
    if (*ppSlot != nullptr && (*ppSlot)->m_hWnd != nullptr) {
        // Its command brings a hidden or minimised form back where it stood, as a table's does.
        if (!(*ppSlot)->IsWindowVisible() || (*ppSlot)->IsIconic())
            (*ppSlot)->ShowWindow(SW_SHOWNORMAL);
        (*ppSlot)->MDIActivate();
        (*ppSlot)->FocusFirstField();
    }
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->RecalcLayout();
}

void CZORVAT32App::OpenOptionChain(LPCSTR pszSymbol)
{
    // Without its view the form would be an empty frame: it waits for its maker quietly.
    if (FindFormMaker(IDD_FORM_OPTION_CHAIN) == nullptr)
        return;
    OpenFormWindow(&m_pOptionChainForm, IDD_FORM_OPTION_CHAIN);
    if (pszSymbol == nullptr || *pszSymbol == '\0' || m_pOptionChainForm == nullptr)
        return;
    if (auto* pForm = dynamic_cast<ITickerForm*>(m_pOptionChainForm->GetView()))
        pForm->SetTicker(pszSymbol);
}

void CZORVAT32App::OpenNewsStory(LPCSTR pszBody, LPCSTR pszTitle, LPCSTR pszLink)
{
    OpenFormWindow(&m_pNewsReaderForm, IDD_FORM_NEWS_READER);
    if (m_pNewsReaderForm == nullptr)
        return;
    // Without the market layer's maker the frame holds no reader; nothing to show then.
    if (auto* pReader = dynamic_cast<INewsStoryView*>(m_pNewsReaderForm->GetView()))
        pReader->ShowStory(pszBody != nullptr ? pszBody : "", pszTitle != nullptr ? pszTitle : "",
                           pszLink != nullptr ? pszLink : "");
}

void CZORVAT32App::BuildMarketMenus()
{
    HMENU hMain = m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr ? ::GetMenu(m_pMainFrame->m_hWnd) : nullptr;
    if (hMain == nullptr)
        return;
    // The tickers, numbered from 1 in the order of the names; the menu has ids for eleven.
    if (HMENU hView = GetSubMenu(hMain, MENU_TICKERS_POPUP)) {
        HMENU hTickers = CreatePopupMenu();
        for (int i = 0; i < m_tickers.GetSize() && i < MENU_ITEMS_MAX; ++i)
            AppendMenuA(hTickers, MF_STRING, static_cast<UINT_PTR>(ID_APP_TICKER_FIRST + i), m_tickers[i]);
        ReplacePopup(hView, hTickers, LoadText(IDS_TICKERS_MENU), MENU_TICKERS_PLACE, /*bSeparatorBefore=*/TRUE);
    }
    // The markets' schedules, one item per market (eleven at most), then all markets.
    if (HMENU hMarkets = GetSubMenu(hMain, MENU_MARKETS_POPUP)) {
        HMENU hSchedules = CreatePopupMenu();
        CArray<int, int> codes;
        GetGlobals()->GetMarketCodes(codes);
        for (int i = 0; i < codes.GetSize() && i < MENU_ITEMS_MAX; ++i)
            AppendMenuA(hSchedules, MF_STRING, static_cast<UINT_PTR>(ID_APP_MARKET_FIRST + i),
                        GetGlobals()->GetMarketName(codes[i]));
        AppendMenuA(hSchedules, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(hSchedules, MF_STRING, ID_APP_MARKET_ALL, LoadText(IDS_ALL_MARKETS));
        ReplacePopup(hMarkets, hSchedules, LoadText(IDS_MARKETS_MENU), MENU_MARKETS_PLACE, /*bSeparatorBefore=*/FALSE);
    }
    m_pMainFrame->DrawMenuBar();
}

int CZORVAT32App::NextChartSlot()
{
    for (int i = 0; i < CHART_SLOTS; ++i) {
        CFormMDIWnd* pChart = m_chartSlots[i];
        if (pChart == nullptr || pChart->m_hWnd == nullptr || !pChart->IsWindowVisible()) {
            m_nChartSlot = i;
            return i;
        }
    }
    m_nChartSlot = (m_nChartSlot + 1) % CHART_SLOTS;
    return m_nChartSlot;
}
