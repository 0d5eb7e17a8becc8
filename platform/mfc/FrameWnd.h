#pragma once
// Frame windows. A frame owns itself: it is made with new and deletes itself when its window is
// destroyed (and when its creation fails). CMDIChildWnd is a document window of the application's
// MDI frame; while no MDI frame exists it lives in a plain top-level window, so a child window
// can be created, shown, hidden and sent messages without one, and its code stays the same once
// the frame takes it in.
#include "platform/mfc/Wnd.h"

class CMDIFrameWnd;

class CFrameWnd : public CWnd
{
public:
    // Where the system places and sizes the window itself.
    static const CRect rectDefault;

    // A menu name needs the menu support, which frames do not have yet: refused (FALSE).
    virtual BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR pszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Shows the frame (SW_SHOW for -1) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;

protected:
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
public:
    virtual BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // The MDI frame; null while the window stands alone.
    CMDIFrameWnd* GetMDIFrame() const { return nullptr; }
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};

// The class the library registers for frame windows.
#define AFX_FRAME_CLASS "AfxFrameOrView"
