#pragma once
// The class library's window: an object attached to a window handle whose messages are looked
// up in the message maps of its class and its bases (CmdTarget.h). Created through the creation
// hook, so the object sees the window's first messages; a window of a message that no map names
// gets the default processing of its class.
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/DC.h"
#include "platform/mfc/Rect.h"
#include "platform/mfc/String.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Window.h"

#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX    0
#define CTLCOLOR_EDIT      1
#define CTLCOLOR_LISTBOX   2
#define CTLCOLOR_BTN       3
#define CTLCOLOR_DLG       4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC    6
#endif

class CScrollBar;
class CMenu;
class CDataExchange;
struct CCreateContext;

class CWnd : public CCmdTarget
{
public:
    CWnd();
    ~CWnd() override;           // destroys the attached window
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object of a handle. For a live window without an object FromHandle answers a
    // temporary one owned by the library; a destroyed window's handle answers null.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();                    // frees the temporary objects
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    BOOL Attach(HWND hWnd);     // FALSE for null, a dead handle, one with an object, or when attached
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    // Creation. A null class name takes the library's own window class.
    virtual BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                          int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID pParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID pParam = nullptr);
    // A child window of pParentWnd.
    virtual BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PostNcDestroy();
    virtual void PreSubclassWindow();

    // The message path.
    virtual LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // A control's WM_NOTIFY that the map takes with ON_NOTIFY; null for anything else.
    const AFX_MSGMAP_ENTRY* NotifyEntryOf(UINT uMsg, LPARAM lParam) const;
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    LRESULT Default();                              // DefWindowProc of the message being dispatched
    // Sends the message to every child (and their children with bDeep); with bOnlyPerm only to
    // windows that have an object.
    void SendMessageToDescendants(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL bDeep = TRUE,
                                  BOOL bOnlyPerm = FALSE) const;
    // Help for the window: the application's help (CWinApp::WinHelp) unless a class says otherwise.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001 /*HELP_CONTEXT*/);
    CWnd* GetTopLevelParent() const;
    static const MSG& GetCurrentMessage();
    // Offers a message to the windows from its own up to hWndStop; TRUE when one consumed it.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // The common wrappers of the window functions.
    LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(const RECT& rect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetClientRect(LPRECT pRect) const;
    void GetWindowRect(LPRECT pRect) const;
    void ScreenToClient(LPPOINT pPoint) const;
    void ScreenToClient(LPRECT pRect) const;
    void ClientToScreen(LPPOINT pPoint) const;
    void ClientToScreen(LPRECT pRect) const;
    BOOL GetWindowPlacement(WINDOWPLACEMENT* pPlacement) const;
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* pPlacement);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    CWnd* SetActiveWindow();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const RECT* pRect, BOOL bErase = TRUE);
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC pfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    void SetWindowText(LPCSTR pszText);
    void GetWindowText(CString& strText) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes then adds style bits; with nFlags the frame is told through SetWindowPos. TRUE when changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL IsChild(const CWnd* pWnd) const;
    // Menus (Menu.cpp): temporary CMenu objects of the window's menus.
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar();
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // Controls by id, for dialogs and any window that holds controls (DialogItems.cpp).
    void SetDlgItemText(int nID, LPCSTR pszText);
    int GetDlgItemText(int nID, CString& strText) const;     // the length; empty without the control
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* pbTranslated = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nID, UINT nCheck);
    UINT IsDlgButtonChecked(int nID) const;
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck);
    LRESULT SendDlgItemMessage(int nID, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Data exchange between the controls and the members DoDataExchange names (DataExchange.cpp).
    // FALSE when an exchange failed: the failing control then has the focus.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Reflection (WndReflect.cpp): a control's object gets the first chance at the notifications
    // and owner-draw requests its parent receives; TRUE when it took the message (*pResult set).
    virtual BOOL OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

    HWND m_hWnd = nullptr;

protected:
    // The default handlers of the window messages the maps name; each does the default processing.
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT nSide, LPRECT pRect);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT uMessage);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysColorChange();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT uMessage);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnWindowPosChanged(WINDOWPOS* pPos);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT pDrawItemStruct);

    static const AFX_MSGMAP* GetThisMessageMap();
    const AFX_MSGMAP* GetMessageMap() const override;
    // The reflected entries of this object's maps (ON_CONTROL_REFLECT, ON_WM_CTLCOLOR_REFLECT).
    BOOL ReflectChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Offers a message of this window to the permanent object of the control it concerns
    // (WM_COMMAND from a control, WM_CTLCOLORxxx, WM_DRAWITEM, WM_MEASUREITEM).
    BOOL SendChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
    friend CScrollBar* AfxScrollBarOf(HWND hWnd);
    template <class> friend class CTbCreationHook;
    template <class THandle, class TObject, THandle TObject::*> friend class CTbHandleMap;
    void AttachWindowCreate(HWND hWnd);
    BOOL TakeOverProcedure();

    WNDPROC m_pfnSuper = nullptr;       // the window's own procedure before ours; null: the system default
    BOOL m_bTemporary = FALSE;          // made by FromHandle for a window without an object
    // The window whose controls' notifications are dropped while UpdateData fills them.
    static inline HWND s_hWndLockoutNotify = nullptr;
};

// A scroll bar control; the scroll handlers name it, so it is declared here. Its members are in
// Controls.cpp with the other controls.
class CScrollBar : public CWnd
{
public:
    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);        // the previous position
    void GetScrollRange(LPINT pnMinPos, LPINT pnMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL SetScrollInfo(LPSCROLLINFO pInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO pInfo, UINT nMask = SIF_ALL) const;
    void ShowScrollBar(BOOL bShow = TRUE);
    BOOL EnableScrollBar(UINT nArrowFlags = 0);              // ESB_ flags; 0 enables both arrows
};

// The scroll bar a WM_HSCROLL or WM_VSCROLL names, for the scroll handlers: its own object when it
// is a CScrollBar, else a temporary scroll-bar object over the handle (a slider sends the same
// messages), so that no handler gets a window object cast to a class it is not. Null for none.
CScrollBar* AfxScrollBarOf(HWND hWnd);

// The window class the library registers for plain windows.
#define AFX_WND_CLASS "AfxWnd"
