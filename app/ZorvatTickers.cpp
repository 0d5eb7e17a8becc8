// The application's tickers: which are shown, where a new one goes, floating and docking them,
// and the ticker sub-menu.
#include <algorithm>
#include "app/AppCommands.h"
#include "app/DataTable.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/user/Menu.h"

#define FLOATING_HEIGHT 30      // a first floating ticker with no other to take the height from

namespace {

int FindName(const CStringArray& names, LPCSTR pszName)
{
    for (int i = 0; i < names.GetSize(); ++i)
        if (names[i] == pszName)
            return i;
    return -1;
}

}  // namespace

void CZORVAT32App::AddTicker(LPCSTR pszName)
{
    m_tickers.Add(pszName);
    m_tickerWindows.push_back(nullptr);
}

void CZORVAT32App::RemoveAllTickers()
{
    for (int i = 0; i < m_tickers.GetSize(); ++i)
        DestroyTickerAt(i);
    m_tickers.RemoveAll();
    m_tickerWindows.clear();
}

CTickerWnd* CZORVAT32App::GetTickerWindow(LPCSTR pszName) const
{
    return GetTickerWindowAt(FindName(m_tickers, pszName));
}

CTickerWnd* CZORVAT32App::GetTickerWindowAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < m_tickers.GetSize() ? m_tickerWindows[static_cast<size_t>(nIndex)] : nullptr;
}

std::vector<CTickerWnd*> CZORVAT32App::GetDockedTickers() const
{
    std::vector<CTickerWnd*> docked;
    for (CTickerWnd* pTicker : m_tickerWindows)
        if (pTicker != nullptr && pTicker->IsDocked())
            docked.push_back(pTicker);
    return docked;
}

int CZORVAT32App::GetTickerBarHeight(BOOL bDockedOnly) const
{
    int nHeight = 0;
    for (CTickerWnd* pTicker : m_tickerWindows)
        if (pTicker != nullptr && (!bDockedOnly || pTicker->IsDocked()))
            nHeight += pTicker->GetTextHeight(FALSE);
    return nHeight;
}

void CZORVAT32App::ShowTickers()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    for (int i = 0; i < m_tickers.GetSize(); ++i) {
        CString strShow, strSnap;
        strShow.Format("ShowTicker%d", i + 1);
        strSnap.Format("SnapTicker%d", i + 1);
        settings.SetSection("Ticker");
        if (settings.GetBool(static_cast<LPCSTR>(strShow), FALSE)) {
            BOOL bDocked = settings.GetBool(static_cast<LPCSTR>(strSnap), TRUE);
            CreateTickerAt(i, i + 1, bDocked);
        }
    }
}

void CZORVAT32App::GetTickerRect(RECT* pOut, int nNumber, BOOL bDocked) const
{
    RECT rc = {0, 0, 0, 0};
    if (bDocked) {
        HWND hParent = m_pInfoTable != nullptr ? m_pInfoTable->GetTickerParent() : nullptr;
        if (hParent != nullptr)
            ::GetClientRect(hParent, &rc);
        int nTotal = 0;
        for (CTickerWnd* pTicker : m_tickerWindows)
            if (pTicker != nullptr && pTicker->IsDocked()) {
                int h = pTicker->GetTextHeight(FALSE);
                nTotal += h;
                rc.top = rc.bottom - nTotal;
                rc.bottom = rc.top + h;
            }
        *pOut = RECT{rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top};
        return;
    }
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->GetClientRect(&rc);
    int nHeight = FLOATING_HEIGHT;
    for (CTickerWnd* pTicker : m_tickerWindows)
        if (pTicker != nullptr) {
            nHeight = pTicker->GetTextHeight(FALSE);
            break;
        }
    RECT rcDefault = {rc.left, rc.bottom - nHeight, rc.right, rc.bottom};
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->ClientToScreen(&rcDefault);
    WINDOWPLACEMENT wpDefault = {};
    wpDefault.length = sizeof(wpDefault);
    wpDefault.rcNormalPosition = rcDefault;
    WINDOWPLACEMENT wp = wpDefault;
    BOOL bUsedDefault = FALSE;
    CString strKey;
    strKey.Format("WinPlace%d", nNumber);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.GetWindowPlacement(&wp, static_cast<LPCSTR>(strKey), &wpDefault, &bUsedDefault);
    // A place of another screen or a damaged file: the strip no larger than the screen, and on it.
    const RECT& r = wp.rcNormalPosition;
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    const int cx = static_cast<int>(std::clamp<long long>(static_cast<long long>(r.right) - r.left, 1, cxScreen));
    const int cy = static_cast<int>(std::clamp<long long>(static_cast<long long>(r.bottom) - r.top, 1, cyScreen));
    *pOut = RECT{static_cast<int>(std::clamp<long long>(r.left, 0, cxScreen - cx)),
                 static_cast<int>(std::clamp<long long>(r.top, 0, cyScreen - cy)), cx, cy};
}

void CZORVAT32App::CreateTicker(LPCSTR pszName, int nNumber, BOOL bDocked)
{
    CreateTickerAt(FindName(m_tickers, pszName), nNumber, bDocked);
}

void CZORVAT32App::CreateTickerAt(int i, int nNumber, BOOL bDocked)
{
    TickerMaker pfnMake = GetTickerMaker();
    if (i < 0 || i >= m_tickers.GetSize() || pfnMake == nullptr)
        return;
    CTickerWnd*& pSlot = m_tickerWindows[static_cast<size_t>(i)];
    if (pSlot != nullptr) {
        if (pSlot->IsDocked() == bDocked)
            return;
        DestroyTickerAt(i);
    }
    RECT rc;
    GetTickerRect(&rc, nNumber, bDocked);
    CWnd* pParent = nullptr;
    if (bDocked) {
        HWND hParent = m_pInfoTable != nullptr ? m_pInfoTable->GetTickerParent() : nullptr;
        if (hParent == nullptr)
            return;
        pParent = CWnd::FromHandle(hParent);
    } else {
        pParent = m_pMainFrame;
    }
    // A closed ticker is removed through its own menu command, once its own message has
    // returned; it is found by its window, as two tickers may have one name.
    SetTickerCloser([this](CTickerWnd* pClosed) {
        const auto it = std::find(m_tickerWindows.begin(), m_tickerWindows.end(), pClosed);
        if (pClosed != nullptr && it != m_tickerWindows.end() && m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
            m_pMainFrame->PostMessage(WM_COMMAND,
                                      static_cast<WPARAM>(ID_APP_TICKER_FIRST + (it - m_tickerWindows.begin())));
    });
    TICKER_PLACE place = {RECT{rc.left, rc.top, rc.left + rc.right, rc.top + rc.bottom}, pParent, &pSlot, bDocked,
                          nNumber, GetNorvGlobals().m_bRightToLeft, m_tickers[i]};
    pSlot = pfnMake(place);
    if (pSlot != nullptr && bDocked && m_pInfoTable != nullptr)
        m_pInfoTable->ResizeTableWindow();
}

void CZORVAT32App::DestroyTicker(LPCSTR pszName)
{
    DestroyTickerAt(FindName(m_tickers, pszName));
}

void CZORVAT32App::DestroyTickerAt(int i)
{
    if (GetTickerWindowAt(i) == nullptr)
        return;
    CTickerWnd* pTicker = m_tickerWindows[static_cast<size_t>(i)];
    BOOL bDocked = pTicker->IsDocked();
    pTicker->DestroyWindow();
    delete pTicker;
    m_tickerWindows[static_cast<size_t>(i)] = nullptr;
    if (bDocked && m_pInfoTable != nullptr && m_pInfoTable->GetTickerParent() != nullptr)
        m_pInfoTable->ResizeTableWindow();
}

void CZORVAT32App::OpenTicker(LPCSTR pszName, int nNumber, BOOL bShow, BOOL bDocked)
{
    OpenTickerAt(FindName(m_tickers, pszName), nNumber, bShow, bDocked);
}

void CZORVAT32App::OpenTickerAt(int i, int nNumber, BOOL bShow, BOOL bDocked)
{
    if (i < 0 || i >= m_tickers.GetSize())
        return;
    CTickerWnd* pTicker = GetTickerWindowAt(i);
    if (!bShow) {
        DestroyTickerAt(i);
        return;
    }
    if (pTicker != nullptr) {
        if (pTicker->IsDocked() == bDocked)
            return;
        pTicker->Settings();
        DestroyTickerAt(i);
    }
    // The new window reads its numbered settings as it is made.
    CreateTickerAt(i, nNumber, bDocked);
}

void CZORVAT32App::OnTickerMenuCommand(UINT nId)
{
    // Each item is its own ticker's: two markets may share a name.
    const int nIndex = static_cast<int>(nId) - ID_APP_TICKER_FIRST;
    if (nIndex < 0 || nIndex >= m_tickers.GetSize())
        return;
    if (GetTickerWindowAt(nIndex) != nullptr)
        DestroyTickerAt(nIndex);
    else
        OpenTickerAt(nIndex, nIndex + 1, TRUE, TRUE);
}

int CZORVAT32App::GetTickerMenuCheck(UINT nId) const
{
    int nIndex = static_cast<int>(nId) - ID_APP_TICKER_FIRST;
    return nIndex >= 0 && nIndex < m_tickers.GetSize() && m_tickerWindows[static_cast<size_t>(nIndex)] != nullptr;
}

void CZORVAT32App::OnTickerPlaceCommand(UINT nId)
{
    for (int i = 0; i < m_tickers.GetSize(); ++i) {
        CTickerWnd* pTicker = m_tickerWindows[static_cast<size_t>(i)];
        if (pTicker == nullptr || !pTicker->IsCommandPending())
            continue;
        OpenTickerAt(i, i + 1, TRUE, nId == ID_APP_TICKER_DOCK);
        if (CTickerWnd* pNow = m_tickerWindows[static_cast<size_t>(i)])
            pNow->SetCommandPending(FALSE);
        return;
    }
}
