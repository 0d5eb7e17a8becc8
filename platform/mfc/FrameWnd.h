#pragma once
// Frame windows. A frame owns itself: it is made with new and deletes itself when its window is
// destroyed (and when its creation fails). CMDIFrameWnd is the application's MDI frame, whose
// client holds the document windows; CMDIChildWnd is a document window, made inside the MDI
// frame's client when a frame exists, and standing alone as a top-level window otherwise, so
// that its code stays the same either way.
#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Mdi.h"

class CMDIFrameWnd;
class CMDIChildWnd;

// The Window menu's commands, which an MDI frame carries out itself.
#ifndef ID_WINDOW_NEW
#define ID_WINDOW_NEW       0xE130
#define ID_WINDOW_ARRANGE   0xE131
#define ID_WINDOW_CASCADE   0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#define ID_WINDOW_SPLIT     0xE135
#endif
#define AFX_IDM_FIRST_MDICHILD 0xFF00     // the first document window's id in the window list
#define AFX_IDW_PANE_FIRST     0xE900

class CFrameWnd : public CWnd
{
public:
    // Where the system places and sizes the window itself.
    static const CRect rectDefault;
    ~CFrameWnd() override;

    // pszMenuName names a MENU resource of the resource module, which becomes the frame's menu
    // and is destroyed with it; a name without a menu fails the creation (FALSE).
    virtual BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCSTR pszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // The frame of one resource id: the menu of that id (required), its accelerators when there
    // are any, and the title from the string of that id up to its first '\n' (empty without one).
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW, CWnd* pParentWnd = nullptr,
                           CCreateContext* pContext = nullptr);
    // Shows the frame (SW_SHOW for -1) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // Keys of the frame's accelerator table become commands before they are dispatched.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    HACCEL m_hAccelTable = nullptr;     // LoadFrame's is owned and destroyed with the frame; one set by hand is not

protected:
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bOwnAccelTable = FALSE;
};

class CMDIFrameWnd : public CFrameWnd
{
public:
    // Makes the MDI client over the frame's client area (done on WM_CREATE). pWindowMenu is
    // where the window list goes; null takes the frame menu's submenu with the Window commands.
    virtual BOOL CreateClient(LPCREATESTRUCTA pCreate, CMenu* pWindowMenu);
    // The MDI operations, on the frame's client.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDINext();
    void MDIPrev();
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    void MDICascade(int nType = 0);
    void MDITile(int nType = 0);        // MDITILE_ flags
    void MDIIconArrange();
    // Replaces the frame's menu and the window list's menu (null: keep); the old frame menu.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);
    // Menu and accelerator commands go to the active document window first, then to the frame.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Ctrl+F4 and Ctrl+F6 for the document windows, then the frame's accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnWindowCommand(UINT nID);
    DECLARE_MESSAGE_MAP()
};

class CMDIChildWnd : public CFrameWnd
{
public:
    // Inside pParentWnd's client, or the first MDI frame's when pParentWnd is null; a top-level
    // window of its own when no MDI frame exists.
    virtual BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // The MDI frame; null while the window stands alone.
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIDestroy();
    void MDIMaximize();
    void MDIRestore();
    // Inside a frame the client destroys the window, so that another becomes active.
    BOOL DestroyWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
};

// The class the library registers for frame windows.
#define AFX_FRAME_CLASS "AfxFrameOrView"
