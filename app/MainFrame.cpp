#include "app/MainFrame.h"

#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/Windows.h"
#include "platform/win/user/MessageBox.h"

#define IDS_ASK_CLOSE 40535
#define INDICATOR_TICK_MS 25
#define SINK_TICK_MS 1000

BEGIN_MESSAGE_MAP(CMainFrame, CNorvMainFrame)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LOGIN_AGAIN, OnLoginAgain)
    ON_COMMAND(ID_WINDOW_CLOSE_ACTIVE, OnCloseActive)
    ON_COMMAND(ID_WINDOW_CLOSE_TABLES, OnCloseTables)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    if (CNorvApp* pApp = CNorvApp::Get(); pApp != nullptr && pApp->GetMainFrame() == this)
        pApp->SetMainFrame(nullptr);
}

int CMainFrame::OnCreate(LPCREATESTRUCTA pCreate)
{
    // The client gets scroll bars for windows moved beyond it.
    pCreate->style |= WS_HSCROLL | WS_VSCROLL;
    if (CNorvMainFrame::OnCreate(pCreate) == -1)
        return -1;
    m_wndClient.SetBackground(IDB_MDI_BACKGROUND);
    if (CZORVAT32App* pApp = CZORVAT32App::Get())
        pApp->SetIndicatorState(0);
    SetTimer(MAIN_TIMER_INDICATOR, INDICATOR_TICK_MS, nullptr);
    SetTimer(MAIN_TIMER_TICK, SINK_TICK_MS, nullptr);
    return 0;
}

BOOL CMainFrame::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CNorvMainFrame::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return nCode == CN_COMMAND && pExtra == nullptr && pApp != nullptr && pApp->RunCommand(nId);
}

void CMainFrame::OnClose()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    CString strText;
    GetSharedGlobals()->LoadString(strText, IDS_ASK_CLOSE);
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
    CNorvApp* pApp = CNorvApp::Get();
    const int nCount = (pApp != nullptr ? pApp->CountVisibleTableWindows() : 0) + 1;
    for (int i = 0; i < nCount; ++i) {
        CMDIChildWnd* pActive = MDIGetActive();
        if (pActive == nullptr)
            break;
        pActive->SendMessage(WM_CLOSE);
    }
}
