#pragma once
// The terminal's main frame: the framework's MDI frame with the information indicator, the
// once-a-second tick to every message sink, the close confirmation, the window commands and the
// login that the session asks for again (WM_LOGIN_AGAIN).
#include "app/NorvMainFrame.h"
#include "app/NorvStatusBar.h"
#include "platform/mfc/ControlBar.h"

#define ID_WINDOW_CLOSE_ACTIVE 32833
#define ID_WINDOW_CLOSE_TABLES 32834
#define MAIN_TIMER_INDICATOR 1
#define MAIN_TIMER_TICK 5
#define IDB_MDI_BACKGROUND 127

class CZorvatStatusBarStatusPane;

class CMainFrame : public CNorvMainFrame
{
public:
    CMainFrame();
    ~CMainFrame() override;

    void RestoreBars() override;
    void SaveFrameSettings() override;

    CToolBar& GetToolBar() { return m_wndToolBar; }
    CNorvStatusBar& GetStatusBar() { return m_wndStatusBar; }
    CZorvatStatusBarStatusPane* GetConnectionPane() const { return m_pConnectionPane; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIdEvent);
    afx_msg LRESULT OnLoginAgain(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCloseActive();
    afx_msg void OnCloseTables();
    afx_msg void OnHelp();
    DECLARE_MESSAGE_MAP()

private:
    BOOL CreateToolBar();
    void AddStatusPanes();
    void DrawIndicator(int nState);

    CToolBar m_wndToolBar;
    CNorvStatusBar m_wndStatusBar;
    CZorvatStatusBarStatusPane* m_pConnectionPane = nullptr;    // owned by the status bar
    int m_nIndicatorTicks = 0;
    // The indicator's pictures, loaded once: idle, new lines, blinking.
    HBITMAP m_hIndicatorIdle = nullptr;
    HBITMAP m_hIndicatorNew = nullptr;
    HBITMAP m_hIndicatorBlink = nullptr;
};
