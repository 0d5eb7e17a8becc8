#pragma once
// The framework's MDI main frame: its title, the counter that numbers the table windows as the
// workspace saves them from the top down, and the bars it restores with the workspace. The
// application's frame adds the toolbar, the status panes and the timers.
#include "app/MDIClientWnd.h"
#include "platform/mfc/FrameWnd.h"

class CNorvMainFrame : public CMDIFrameWnd
{
public:
    CNorvMainFrame() = default;

    void SetTitleText(LPCSTR pszTitle);
    const CString& GetTitleText() const { return m_strTitle; }
    // The next window's index in ".Z-Order" (written there as "NumTables" too); -1 after 32767.
    int NextZOrderIndex();
    void ResetZOrder() { m_nZOrder = 0; }
    // The frame's part of the workspace (".General" "WinPlace"); called before the windows save.
    virtual void SaveFrameSettings();
    virtual void RestoreBars() {}
    // The "Window" menu's list of the open table and form windows, made afresh: numbered,
    // "&%d %s" up to 9 and "%d&%d %s" from 10, the active window checked; nothing while no table
    // window is visible.
    void BuildWindowMenu(HMENU hPopup);

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The MDI client, subclassed as CMDIClientWnd.
    BOOL CreateClient(LPCREATESTRUCTA pCreate, CMenu* pWindowMenu) override;
    CMDIClientWnd& GetClientWnd() { return m_wndClient; }

protected:
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()

protected:
    CMDIClientWnd m_wndClient;

private:
    CString m_strTitle;
    short m_nZOrder = 0;
};

// After a child hid itself instead of closing: the next window takes the activation, unless
// hiding it has already passed the activation on (a second step would skip a window).
void ActivateNextAfterHiding(CMDIChildWnd* pChild);
