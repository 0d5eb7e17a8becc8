// The web pages: one opener for every row of the page table (app/HtmlPages.h), the symbol,
// story and book operations that pick a row, and the news tables' way in (app/NewsPages.h).
#include <cstring>

#include "app/CompanyNews.h"
#include "app/FormMDIWnd.h"
#include "app/HtmlPages.h"
#include "app/NewsPages.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ViewHtml.h"
#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/SettingsFile.h"

namespace {

// The quotes page opens at this normal rectangle each time its window is made.
const RECT s_rcQuotesPage = {20, 20, 670, 543};

class CAppNewsPages : public INewsPages
{
public:
    void OpenNewsPage(LPCSTR pszStoryId) override
    {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenNewsPage(pszStoryId);
    }
    void OpenNewsPageKSE(LPCSTR pszStoryId) override
    {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            pApp->OpenNewsPageKSE(pszStoryId);
    }
};
CAppNewsPages s_newsPages;

// A page frame and its view, made into the slot; the frame is the slot's or gone.
CFormMDIWnd* MakePageWindow(CFormMDIWnd** ppSlot, LPCSTR pszPageId, UINT nFormId)
{
    CFormHtml* pFrame = new CFormHtml;
    pFrame->SetPageId(pszPageId);
    CViewHtml* pView = new CViewHtml;
    *ppSlot = pFrame;
    if (!pFrame->CreateForm(nFormId, pView, ppSlot)) {
        // A frame whose window never came is still ours, and so is a view never created.
        if (*ppSlot == pFrame)
            delete pFrame;
        if (pView->m_hWnd == nullptr)
            delete pView;
        *ppSlot = nullptr;
    }
    return *ppSlot;
}

}  // namespace

void CZORVAT32App::RegisterPageOpeners(BOOL bRegister)
{
    if (bRegister)
        SetNewsPages(&s_newsPages);
    else if (GetNewsPages() == &s_newsPages)
        SetNewsPages(nullptr);
}

CViewHtml* CZORVAT32App::GetPageView(LPCSTR pszPageId) const
{
    CFormMDIWnd* pFrame = GetPageWindow(pszPageId);
    return pFrame != nullptr ? dynamic_cast<CViewHtml*>(pFrame->GetView()) : nullptr;
}

CFormMDIWnd* CZORVAT32App::GetPageWindow(LPCSTR pszPageId) const
{
    for (int i = 0; i < g_nHtmlPages; ++i) {
        if (strcmp(g_htmlPages[i].pszPageId, pszPageId) == 0)
            return m_pageSlots[i];
        if (g_htmlPages[i].pszCompanionId != nullptr && strcmp(g_htmlPages[i].pszCompanionId, pszPageId) == 0)
            return m_companionSlots[i];
    }
    return nullptr;
}

void CZORVAT32App::OpenHtmlPage(CFormMDIWnd** ppSlot, LPCSTR pszAddress, LPCSTR pszPageId, UINT nFormId,
                                CFormMDIWnd** ppCompanionSlot, LPCSTR pszCompanionId, UINT nCompanionFormId)
{
    if (ppSlot == nullptr)
        return;
    CViewHtml* pView = nullptr;
    if (*ppSlot != nullptr) {
        (*ppSlot)->ShowWindow(SW_SHOW);
        (*ppSlot)->MDIActivate();
        pView = dynamic_cast<CViewHtml*>((*ppSlot)->GetView());
    } else if (CFormMDIWnd* pFrame = MakePageWindow(ppSlot, pszPageId, nFormId)) {
        if (strcmp(pszPageId, "USMarketQuotesWindow") == 0) {
            WINDOWPLACEMENT wp{};
            wp.length = sizeof wp;
            pFrame->GetWindowPlacement(&wp);
            wp.rcNormalPosition = s_rcQuotesPage;
            wp.showCmd = SW_SHOWNORMAL;
            pFrame->SetWindowPlacement(&wp);
        }
        pFrame->ShowWindow(SW_SHOW);
        pView = dynamic_cast<CViewHtml*>(pFrame->GetView());
    }
    if (pView != nullptr)
        pView->ShowAddress(pszAddress);
    if (ppCompanionSlot == nullptr || pszCompanionId == nullptr)
        return;
    if (*ppCompanionSlot == nullptr) {
        // Made hidden: it shows when the page opens a window into it.
        CWnd* pActive = m_pMainFrame != nullptr ? m_pMainFrame->MDIGetActive() : nullptr;
        if (CFormMDIWnd* pCompanion = MakePageWindow(ppCompanionSlot, pszCompanionId,
                                                      nCompanionFormId != 0 ? nCompanionFormId : nFormId)) {
            pCompanion->ShowWindow(SW_HIDE);
            if (CMDIChildWnd* pMain = dynamic_cast<CMDIChildWnd*>(pActive))
                pMain->MDIActivate();
        }
    }
    if (pView != nullptr)
        pView->SetTargetSlot(ppCompanionSlot);
}

BOOL CZORVAT32App::OpenPage(int nPage, LPCSTR pszText1, LPCSTR pszText2)
{
    if (nPage < 0 || nPage >= g_nHtmlPages)
        return FALSE;
    const HTML_PAGE& page = g_htmlPages[nPage];
    CString strTicker(pszText1 != nullptr ? pszText1 : "");
    CString strAddress;
    switch (page.nArgument) {
    case PAGE_ARG_USER_PAGE:
        // The server names this page: only a web address opens, never a file or a program.
        strAddress = m_user.GetQuotesPageAddress();
        if (!IsWebPageAddress(strAddress))
            return FALSE;
        break;
    case PAGE_ARG_STORY:
        if (pszText1 == nullptr)
            return FALSE;
        break;
    case PAGE_ARG_TICKER:
        if (pszText1 == nullptr) {
            const PFN_CHOOSE_COMPANY pfnChoose = GetCompanyChooser();
            CString strMarket;
            const HWND hParent = m_pMainFrame != nullptr ? m_pMainFrame->m_hWnd : nullptr;
            if (pfnChoose == nullptr || !pfnChoose(hParent, COMPANY_CHOICE_TICKER, page.nFormId, &strTicker, &strMarket))
                return FALSE;
        }
        break;
    default:
        break;
    }
    if (page.nArgument != PAGE_ARG_USER_PAGE) {
        CString strPattern;
        GetSharedGlobals()->LoadString(strPattern, page.nAddressId);
        strAddress = MakePageAddress(strPattern, strTicker, pszText2);
    }
    m_pageTexts[nPage][0] = strTicker;
    m_pageTexts[nPage][1] = pszText2 != nullptr ? pszText2 : "";
    OpenHtmlPage(&m_pageSlots[nPage], strAddress, page.pszPageId, page.nFormId,
                 page.pszCompanionId != nullptr ? &m_companionSlots[nPage] : nullptr, page.pszCompanionId,
                 page.nCompanionFormId);
    return TRUE;
}

void CZORVAT32App::OnPageCommand(UINT nId)
{
    OpenPage(FindHtmlPageByCommand(nId));
}

void CZORVAT32App::OpenNewsPage(LPCSTR pszStoryId)
{
    OpenPage(FindHtmlPage(PAGE_KIND_STORY, PAGE_MARKET_US), pszStoryId);
}

void CZORVAT32App::OpenNewsPageKSE(LPCSTR pszStoryId)
{
    OpenPage(FindHtmlPage(PAGE_KIND_STORY, PAGE_MARKET_KSE), pszStoryId);
}

void CZORVAT32App::OpenCompanyProfilePage(LPCSTR pszTicker, int nMarket)
{
    OpenPage(FindHtmlPage(PAGE_KIND_PROFILE, nMarket), pszTicker);
}

void CZORVAT32App::OpenResearchPage(LPCSTR pszTicker, int nMarket)
{
    OpenPage(FindHtmlPage(PAGE_KIND_RESEARCH, nMarket), pszTicker);
}

void CZORVAT32App::OpenInsiderTradesPage(LPCSTR pszTicker, int nMarket)
{
    OpenPage(FindHtmlPage(PAGE_KIND_INSIDER, nMarket), pszTicker);
}

void CZORVAT32App::OpenOrderBookPage(LPCSTR pszText1, LPCSTR pszText2)
{
    OpenPage(FindHtmlPageById("OrderbookPageWindow"), pszText1 != nullptr ? pszText1 : "", pszText2);
}

void CZORVAT32App::SavePageWindows()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    for (int i = 0; i < g_nHtmlPages; ++i) {
        if (m_companionSlots[i] != nullptr && m_companionSlots[i]->m_hWnd != nullptr)
            m_companionSlots[i]->SaveSettings();
        if (m_pageSlots[i] == nullptr || m_pageSlots[i]->m_hWnd == nullptr)
            continue;
        m_pageSlots[i]->SaveSettings();
        // What the page was about, so that it opens again on the same symbol or story.
        settings.SetSection(g_htmlPages[i].pszPageId);
        settings.WriteString("Text1", m_pageTexts[i][0]);
        settings.WriteString("Text2", m_pageTexts[i][1]);
    }
}

void CZORVAT32App::LoadPageWindows()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    for (int i = 0; i < g_nHtmlPages; ++i) {
        const HTML_PAGE& page = g_htmlPages[i];
        WINDOWPLACEMENT none{};
        WINDOWPLACEMENT wp{};
        BOOL bMissing = FALSE;
        settings.SetSection(page.pszPageId);
        settings.GetWindowPlacement(&wp, "WinPlace", &none, &bMissing);
        if (bMissing || wp.showCmd == SW_SAVED_HIDDEN)
            continue;
        const CString strText1 = static_cast<LPCSTR>(settings.GetString("Text1", ""));
        const CString strText2 = static_cast<LPCSTR>(settings.GetString("Text2", ""));
        // A page about a symbol or a story without one would ask the user: it stays closed.
        if ((page.nArgument == PAGE_ARG_TICKER || page.nArgument == PAGE_ARG_STORY) && strText1.IsEmpty())
            continue;
        BOOL bEnabled = m_user.GetRole() != -1;
        if (page.nCommand != 0)
            GetCommandState(page.nCommand, &bEnabled, nullptr);
        if (!bEnabled || !OpenPage(i, strText1, strText2) || m_pageSlots[i] == nullptr) {
            CString strTitle;
            GetSharedGlobals()->LoadString(strTitle, page.nFormId);
            ReportLeftOut(strTitle.IsEmpty() ? CString(page.pszPageId) : strTitle);
            continue;
        }
        // A frame that was already there takes the workspace's place too.
        m_pageSlots[i]->LoadSettings(&settings);
    }
}
