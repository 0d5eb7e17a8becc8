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

    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // The MDI client, subclassed as CMDIClientWnd.
    BOOL CreateClient(LPCREATESTRUCTA pCreate, CMenu* pWindowMenu) override;
    CMDIClientWnd& GetClientWnd() { return m_wndClient; }

protected:
    CMDIClientWnd m_wndClient;

private:
    CString m_strTitle;
    short m_nZOrder = 0;
};
