#pragma once
// Frame windows. A frame owns itself: it is made with new and deletes itself when its window is
// destroyed (and when its creation fails). CMDIFrameWnd is the application's MDI frame, whose
// client holds the document windows; CMDIChildWnd is a document window, made inside the MDI
// frame's client when a frame exists, and standing alone as a top-level window otherwise, so
// that its code stays the same either way.
#include <vector>

#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/Menu.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Mdi.h"

class CMDIFrameWnd;
class CMDIChildWnd;
class CControlBar;

// The Window menu's commands, which an MDI frame carries out itself.
#ifndef ID_WINDOW_NEW
#define ID_WINDOW_NEW       0xE130
#define ID_WINDOW_ARRANGE   0xE131
#define ID_WINDOW_CASCADE   0xE132
#define ID_WINDOW_TILE_HORZ 0xE133
#define ID_WINDOW_TILE_VERT 0xE134
#define ID_WINDOW_SPLIT     0xE135
#endif
// Frame styles of the library, kept in the window's style: the title shows the document's name
// (there are no documents here, so the title stays the frame's own).
#define FWS_ADDTOTITLE  0x00008000L
#define FWS_PREFIXTITLE 0x00040000L
#define FWS_SNAPTOBARS  0x00200000L
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
    // The frame's title, which LoadFrame takes from its string; SetTitle shows it as the caption too.
    void SetTitle(LPCSTR pszTitle);
    CString GetTitle() const { return m_strTitle; }
    // Shows the frame (SW_SHOW for -1) and brings it to the top.
    virtual void ActivateFrame(int nCmdShow = -1);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // Keys of the frame's accelerator table become commands before they are dispatched.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Commands go to the frame's own map, then to the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Bars (ControlBar.h). RecalcLayout places the visible bars, top ones from the top and bottom
    // ones from the bottom, and gives the rest of the client area to the pane (the MDI client).
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void EnableDocking(DWORD dwDockStyle) { m_dwDockStyle = dwDockStyle; }
    // Docks the bar at the side its style names (CBRS_ALIGN_BOTTOM: the bottom, else the top).
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT pRect = nullptr);
    CControlBar* GetControlBar(UINT nID) const;     // null when the frame has no bar of that id
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);

    // Prompts in the status bar's message pane: the text up to the first '\n' of the string
    // whose id is the command id; AFX_IDS_IDLEMESSAGE when nothing is being pointed at.
    virtual void GetMessageString(UINT nID, CString& rMessage) const;
    void SetMessageText(LPCSTR pszText);
    void SetMessageText(UINT nID);
    CWnd* GetMessageBar() const;        // the status bar, null without one

    HACCEL m_hAccelTable = nullptr;     // LoadFrame's is owned and destroyed with the frame; one set by hand is not
    BOOL m_bAutoMenuEnable = TRUE;      // menu items without any handler are disabled
    CString m_strTitle;

protected:
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    // Tool tips of the bars' buttons: the text after the '\n' of the command's string; with
    // CBRS_FLYBY the button's prompt shows in the status bar while its tip does.
    afx_msg LRESULT OnToolTipNotify(WPARAM wParam, LPARAM lParam);
    // ID_VIEW_TOOLBAR and ID_VIEW_STATUS_BAR: show or hide the bar of that id, checked while shown.
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // The help commands: the application's help for the frame.
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();
    afx_msg void OnContextHelp();
    DECLARE_MESSAGE_MAP()

private:
    friend class CControlBar;
    CControlBar* BarOfTip(HWND hWndTip) const;     // the bar whose tip window it is
    BOOL m_bOwnAccelTable = FALSE;
    std::vector<CControlBar*> m_listControlBars;   // not owned: a bar leaves the list when it goes
    DWORD m_dwDockStyle = 0;
    UINT m_nIDTracking = 0;             // the prompt shown, 0 for none
    UINT m_nIDLastMessage = 0;
    BOOL m_bInRecalcLayout = FALSE;
};

class CMDIFrameWnd : public CFrameWnd
{
public:
    // Makes the MDI client over the frame's client area (done on WM_CREATE). pWindowMenu is
    // where the window list goes; null takes the frame menu's submenu with the Window commands.
    // WS_HSCROLL and WS_VSCROLL in pCreate's style go to the client.
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
    // Commands and their updates: the active document window first, then the frame and the application.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
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
