#include "app/MainFrame.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/ZorvatApp.h"
#include "app/ZorvatStatusPanes.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/MessageBox.h"

#define IDS_ASK_CLOSE 40535
#define IDS_ORDER_UNSENT_ON_EXIT 40399   // "%1": the form's title
#define IDS_HELP_MISSING 40412         // "%s": where the help file was looked for
#define INDICATOR_TICK_MS 25
#define SINK_TICK_MS 1000
#define IDR_MAINFRAME 280
#define IDI_BRAND 280
#define IDB_INDICATOR_NEW 257
#define IDB_INDICATOR_IDLE 258
#define IDB_INDICATOR_BLINK 259
#define TOOLBAR_STYLE 0x900             // flat, tool tips
#define TOOLBAR_WINDOW_STYLE 0x50002824

namespace {

// The toolbar's buttons in order, 0 for a separator.
const UINT s_toolbarButtons[] = {
    32832, 32831, 0, 57634, 0, 57607, 0, 32774, 32775, 32776, 0, 33191, 33601, 33101, 33103, 33112,
    0, 33203, 33204, 33205, 0, 33614, 33566, 0, 33190, 33192, 0, 33251, 33223, 33224, 33226, 33233,
    0, 33287, 33288, 33289, 0, 33300, 33301, 0, 33198, 0, 57664, 0, 33621, 0, 40230,
};

}  // namespace

BEGIN_MESSAGE_MAP(CMainFrame, CNorvMainFrame)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LOGIN_AGAIN, OnLoginAgain)
    ON_COMMAND(ID_WINDOW_CLOSE_ACTIVE, OnCloseActive)
    ON_COMMAND(ID_WINDOW_CLOSE_TABLES, OnCloseTables)
    ON_COMMAND(ID_HELP_FINDER, OnHelp)
    ON_COMMAND(ID_HELP, OnHelp)
    ON_COMMAND(ID_CONTEXT_HELP, OnHelp)
    ON_COMMAND(ID_DEFAULT_HELP, OnHelp)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    for (HBITMAP hBitmap : {m_hIndicatorNew, m_hIndicatorIdle, m_hIndicatorBlink})
        if (hBitmap != nullptr)
            DeleteObject(hBitmap);
    if (CNorvApp* pApp = CNorvApp::Get(); pApp != nullptr && pApp->GetMainFrame() == this) {
        pApp->SetMainFrame(nullptr);
        if (pApp->CWinApp::m_pMainWnd == this)
            pApp->CWinApp::m_pMainWnd = nullptr;
    }
}

int CMainFrame::OnCreate(LPCREATESTRUCTA pCreate)
{
    // The client gets scroll bars for windows moved beyond it.
    pCreate->style |= WS_HSCROLL | WS_VSCROLL;
    if (CNorvMainFrame::OnCreate(pCreate) == -1)
        return -1;
    m_wndClient.SetBackground(IDB_MDI_BACKGROUND);
    CSharedGlobals* pShared = GetSharedGlobals();
    if (pShared->m_hBranding != nullptr) {
        if (HICON hIcon = pShared->LoadIcon(IDI_BRAND))
            ::SetClassLongPtrA(m_hWnd, GCLP_HICON, reinterpret_cast<LONG_PTR>(hIcon));
    }
    if (!CreateToolBar())
        return -1;
    if (!pShared->m_bWindowOption) {
        if (!m_wndStatusBar.CreateStatusBar(this))
            return -1;
        AddStatusPanes();
    }
    // Loaded once: the indicator redraws every 25 ms.
    m_hIndicatorNew = pShared->LoadBitmap(IDB_INDICATOR_NEW);
    m_hIndicatorIdle = pShared->LoadBitmap(IDB_INDICATOR_IDLE);
    m_hIndicatorBlink = pShared->LoadBitmap(IDB_INDICATOR_BLINK);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->SetIndicatorState(0);
    SetTimer(MAIN_TIMER_INDICATOR, INDICATOR_TICK_MS, nullptr);
    SetTimer(MAIN_TIMER_TICK, SINK_TICK_MS, nullptr);
    RecalcLayout();
    return 0;
}

BOOL CMainFrame::CreateToolBar()
{
    if (!m_wndToolBar.CreateEx(this, TOOLBAR_STYLE, TOOLBAR_WINDOW_STYLE, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR))
        return FALSE;
    if (!m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return FALSE;
    m_wndToolBar.SetButtons(s_toolbarButtons, static_cast<int>(std::size(s_toolbarButtons)));
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    return TRUE;
}

void CMainFrame::AddStatusPanes()
{
    m_wndStatusBar.AddPane(new CZorvatStatusBarTextPane);
    m_wndStatusBar.AddPane(new CZorvatStatusBarKwTimePane);
    m_wndStatusBar.AddPane(new CZorvatStatusBarNyTimePane);
    m_wndStatusBar.AddPane(new CZorvatStatusBarKSEStatusPane);
    m_wndStatusBar.AddPane(new CZorvatStatusBarStatePane);
    m_pConnectionPane = new CZorvatStatusBarStatusPane;
    m_wndStatusBar.AddPane(m_pConnectionPane);
}

void CMainFrame::SaveFrameSettings()
{
    CNorvMainFrame::SaveFrameSettings();
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    settings.WriteBool("ShowToolBar", m_wndToolBar.m_hWnd != nullptr && m_wndToolBar.IsWindowVisible());
    settings.WriteBool("ShowStatusBar", m_wndStatusBar.m_hWnd != nullptr && m_wndStatusBar.IsWindowVisible());
}

void CMainFrame::RestoreBars()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    const struct { CControlBar* pBar; const char* pszKey; } bars[] = {
        {&m_wndStatusBar, "ShowStatusBar"},
        {&m_wndToolBar, "ShowToolBar"},
    };
    for (const auto& bar : bars) {
        if (bar.pBar->m_hWnd == nullptr)
            continue;
        const BOOL bShow = settings.GetBool(bar.pszKey, TRUE);
        if (bShow != bar.pBar->IsWindowVisible()) {
            bar.pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
            RecalcLayout();
        }
    }
}

void CMainFrame::DrawIndicator(int nState)
{
    const int nIndex = m_wndToolBar.CommandToIndex(ID_APP_INFO_BUTTON);
    HBITMAP hBitmap = nState == 2 ? m_hIndicatorNew : nState == 3 ? m_hIndicatorBlink : m_hIndicatorIdle;
    if (nIndex < 0 || hBitmap == nullptr || m_wndToolBar.m_hWnd == nullptr)
        return;
    RECT rc;
    m_wndToolBar.GetItemRect(nIndex, &rc);
    BITMAP bm{};
    GetObjectA(hBitmap, sizeof bm, &bm);
    HDC hdc = ::GetDC(m_wndToolBar.m_hWnd);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    if (nState == 3)
        SetBkMode(hdc, TRANSPARENT);
    BitBlt(hdc, rc.left + 10, rc.top + 3, bm.bmWidth, bm.bmHeight, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    ::ReleaseDC(m_wndToolBar.m_hWnd, hdc);
}

void CMainFrame::OnClose()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CString strText;
    GetSharedGlobals()->LoadString(strText, IDS_ASK_CLOSE);
    // An order typed and not sent goes with the program: the question names its form, so that
    // the trader can stay and send it.
    if (pApp != nullptr) {
        CString strUnsent;
        for (const CString& strLine : pApp->DescribeUnsentOrders(IDS_ORDER_UNSENT_ON_EXIT))
            strUnsent += strLine + "\n";
        if (!strUnsent.IsEmpty())
            strText = strUnsent + "\n" + strText;
    }
    if (MessageBoxA(m_hWnd, strText, pApp != nullptr ? pApp->GetAppTitle() : "", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    if (pApp != nullptr) {
        if (pApp->IsAutoSave())
            pApp->SaveWorkspace();
        pApp->Disconnect(FALSE);
    }
    DestroyWindow();
}

void CMainFrame::OnDestroy()
{
    KillTimer(MAIN_TIMER_TICK);
    KillTimer(MAIN_TIMER_INDICATOR);
    CNorvMainFrame::OnDestroy();
    // The application ends with its main window.
    if (CNorvApp* pApp = CNorvApp::Get(); pApp != nullptr && pApp->GetMainFrame() == this)
        PostQuitMessage(0);
}

void CMainFrame::OnTimer(UINT_PTR nIdEvent)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return;
    if (nIdEvent == MAIN_TIMER_TICK) {
        pApp->FireTick(-1);
        return;
    }
    if (nIdEvent != MAIN_TIMER_INDICATOR)
        return;
    // Lines the user has not seen blink the indicator until the information window is open.
    switch (pApp->GetIndicatorState()) {
    case 0:
        m_nIndicatorTicks = 0;
        break;
    case 2:
        ++m_nIndicatorTicks;
        if (pApp->GetInfoTable() != nullptr && pApp->GetInfoTable()->IsWindowOpen()) {
            pApp->SetIndicatorState(0);
        } else if (m_nIndicatorTicks >= 15) {
            pApp->SetIndicatorState(3);
            m_nIndicatorTicks = 0;
        }
        break;
    case 3:
        if (++m_nIndicatorTicks >= 15) {
            pApp->SetIndicatorState(2);
            m_nIndicatorTicks = 0;
        }
        break;
    default:
        break;
    }
    DrawIndicator(pApp->GetIndicatorState());
}

LRESULT CMainFrame::OnLoginAgain(WPARAM, LPARAM)
{
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->RunLogin();
    return 0;
}

void CMainFrame::OnCloseActive()
{
    if (CMDIChildWnd* pActive = MDIGetActive())
        pActive->SendMessage(WM_CLOSE);
}

void CMainFrame::OnCloseTables()
{
    // Every window the Window menu names, forms as well as tables, each asked once: the active
    // one first, as the user would close them. A window that stays (the information window only
    // goes to the icon row) is not asked again, and keeps no other from being asked: a
    // minimised window left active among icons took every close and left the rest open.
    std::vector<HWND> asked;
    auto wasAsked = [&asked](HWND h) { return std::find(asked.begin(), asked.end(), h) != asked.end(); };
    for (;;) {
        CMDIChildWnd* pActive = MDIGetActive();
        HWND hNext = pActive != nullptr && ::IsWindowVisible(pActive->m_hWnd) && !wasAsked(pActive->m_hWnd) ? pActive->m_hWnd : nullptr;
        for (HWND h = ::GetWindow(m_hWndMDIClient, GW_CHILD); h != nullptr && hNext == nullptr; h = ::GetWindow(h, GW_HWNDNEXT))
            if (::IsWindowVisible(h) && !wasAsked(h))
                hNext = h;
        if (hNext == nullptr)
            break;
        asked.push_back(hNext);
        ::SendMessageA(hNext, WM_CLOSE, 0, 0);
    }
}

void CMainFrame::OnHelp()
{
    // The help file's first topic, whatever was asked.
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return;
    const LPCSTR pszFile = pApp->m_pszHelpFilePath != nullptr ? pApp->m_pszHelpFilePath : "";
    if (FILE* pFile = fopen(pszFile, "rb")) {
        fclose(pFile);
        pApp->HtmlHelp(0, HH_DISPLAY_TOPIC);
        return;
    }
    // Not every installation has the file: the user learns so, and where it should be.
    CString strFormat, strText;
    GetSharedGlobals()->LoadString(strFormat, IDS_HELP_MISSING);
    strText.Format(strFormat, pszFile);
    CZORVAT32App* pZorvat = CZORVAT32App::Get();
    MessageBoxA(m_hWnd, strText, pZorvat != nullptr ? pZorvat->GetAppTitle() : "", MB_OK | MB_ICONINFORMATION);
}
