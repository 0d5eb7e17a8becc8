#pragma once
// The framework's window wrapper: an object attached to a window handle that turns each window
// message into a call of a virtual handler. The grid window, its panes and controls, the
// framework's dialogs, menus, tab control and the print preview derive from it.
//
// Handlers receive the message's parameters already split: low and high words, signed mouse
// coordinates, and window handles turned into CTBWnd pointers (null for a window that is no
// framework window). Each base body does the default processing through Default(). Handlers
// returning a value give the message's result; for the others the result is 0.
#include "framework/base/TBString.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Window.h"

struct tagDRAWITEMSTRUCT;
struct tagMEASUREITEMSTRUCT;

class CTBWnd
{
public:
    CTBWnd();
    virtual ~CTBWnd();          // destroys the attached window
    CTBWnd(const CTBWnd&) = delete;
    CTBWnd& operator=(const CTBWnd&) = delete;

    // The object attached to a handle; null for a window that is no framework window, and for a
    // handle whose window is gone.
    static CTBWnd* FromHandle(HWND hWnd);
    HWND GetSafeHwnd() const { return m_hWnd; }
    // Attach refuses a null handle, a handle that is no window or already has an object, and an
    // object that already has a window.
    BOOL Attach(HWND hWnd);
    HWND Detach();

    // Creation: the object receives the window's very first messages (WM_NCCREATE, WM_CREATE).
    // FALSE when PreCreateWindow refused or no window was made.
    BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                  int nWidth, int nHeight, HWND hWndParent, HMENU hMenuOrId, LPVOID pParam = nullptr);
    BOOL Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CTBWnd* pParent,
                UINT nId);
    // Takes over an existing window; its own procedure becomes the super procedure and is put back
    // when the window is destroyed.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nId, CTBWnd* pParent);

    int  GetWindowText(CTBString& strText) const;   // the length
    CTBString GetWindowText() const;
    LRESULT SetFont(HFONT hFont, BOOL bRedraw);

    // Life and the message path.
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);    // FALSE cancels the creation
    virtual void PostNcDestroy();                       // last call; self-owning objects delete here
    virtual void PreSubclassWindow();
    LRESULT Default();                                  // DefWindowProc of the message being dispatched
    virtual LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);   // nonzero: handled
    virtual BOOL OnCmdMsg(UINT nId, int nCode);              // base: not handled
    WNDPROC* GetSuperWndProcAddr() { return &m_pfnSuper; }
    // The message the window procedure is dispatching now (nested dispatches see their own).
    static const MSG& GetCurrentMessage();

    // Modal loops pump the application's queue until EndModalLoop; a quit message ends them
    // with -1 and is posted again for the loop outside.
    virtual int  RunModalLoop();
    virtual BOOL IsInModalLoop() const { return (m_nModalFlags & MODAL_CONTINUE) != 0; }
    virtual void EndModalLoop(int nResult);
    virtual BOOL PreTranslateMessage(MSG* pMsg);         // TRUE: consumed

    // The handler slots.
    virtual void OnActivateApp(BOOL bActive, DWORD dwThreadId);
    virtual void OnActivate(UINT nState, CTBWnd* pWndOther, BOOL bMinimized);
    virtual void OnCancelMode();
    virtual void OnChildActivate();
    virtual void OnClose();
    virtual int  OnCreate(LPCREATESTRUCTA pCreate);
    virtual void OnDestroy();
    virtual void OnEnable(BOOL bEnable);
    virtual void OnEndSession(BOOL bEnding);
    virtual BOOL OnEraseBkgnd(HDC hdc);
    virtual void OnGetMinMaxInfo(MINMAXINFO* pInfo);
    virtual void OnIconEraseBkgnd(HDC hdc);
    virtual void OnKillFocus(CTBWnd* pNewWnd);
    virtual LRESULT OnMenuChar(UINT nChar, UINT nFlags, HMENU hMenu);
    virtual int  OnMenuSelect(UINT nItemId, UINT nFlags, HMENU hMenu);   // 0 passes it to the parent
    virtual void OnMove(int x, int y);
    virtual void OnPaint();
    virtual void OnHScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar);
    virtual void OnVScroll(UINT nCode, UINT nPos, CTBWnd* pScrollBar);
    virtual void OnMouseWheel(UINT nKeys, short nDelta);
    virtual HCURSOR OnQueryDragIcon();
    virtual BOOL OnQueryEndSession();
    virtual BOOL OnQueryNewPalette();
    virtual BOOL OnQueryOpen();
    virtual BOOL OnSetCursor(CTBWnd* pWnd, UINT nHitTest, UINT uMouseMsg);
    virtual void OnSetFocus(CTBWnd* pOldWnd);
    virtual void OnShowWindow(BOOL bShow, UINT nStatus);
    virtual void OnSize(UINT nType, int cx, int cy);
    virtual void OnWindowPosChanging(WINDOWPOS* pPos);
    virtual void OnWindowPosChanged(WINDOWPOS* pPos);
    virtual void OnDropFiles(HANDLE hDrop);
    virtual void OnPaletteIsChanging(CTBWnd* pRealizeWnd);
    virtual BOOL OnNcActivate(BOOL bActive);
    virtual void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* pParams);
    virtual BOOL OnNcCreate(LPCREATESTRUCTA pCreate);
    virtual LRESULT OnNcHitTest(int x, int y);
    virtual void OnNcLButtonDblClk(UINT nHitTest, int x, int y);
    virtual void OnNcLButtonDown(UINT nHitTest, int x, int y);
    virtual void OnNcLButtonUp(UINT nHitTest, int x, int y);
    virtual void OnNcMButtonDblClk(UINT nHitTest, int x, int y);
    virtual void OnNcMButtonDown(UINT nHitTest, int x, int y);
    virtual void OnNcMButtonUp(UINT nHitTest, int x, int y);
    virtual void OnNcMouseMove(UINT nHitTest, int x, int y);
    virtual void OnNcPaint();
    virtual void OnNcRButtonDblClk(UINT nHitTest, int x, int y);
    virtual void OnNcRButtonDown(UINT nHitTest, int x, int y);
    virtual void OnNcRButtonUp(UINT nHitTest, int x, int y);
    virtual void OnSysChar(UINT nChar, UINT nRepeat, UINT nFlags);
    virtual void OnSysCommand(UINT nCommand, LPARAM lParam);
    virtual void OnSysDeadChar(UINT nChar, UINT nRepeat, UINT nFlags);
    virtual void OnSysKeyDown(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnSysKeyUp(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnCompacting(UINT nRatio);
    virtual void OnFontChange();
    virtual void OnPaletteChanged(CTBWnd* pFocusWnd);
    virtual void OnSpoolerStatus(UINT nStatus, UINT nJobs);
    virtual void OnTimeChange();
    virtual void OnChar(UINT nChar, UINT nRepeat, UINT nFlags);
    virtual void OnDeadChar(UINT nChar, UINT nRepeat, UINT nFlags);
    virtual void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnKeyUp(UINT nKey, UINT nRepeat, UINT nFlags);
    virtual void OnLButtonDblClk(UINT nKeys, int x, int y);
    virtual void OnLButtonDown(UINT nKeys, int x, int y);
    virtual void OnLButtonUp(UINT nKeys, int x, int y);
    virtual void OnMButtonDblClk(UINT nKeys, int x, int y);
    virtual void OnMButtonDown(UINT nKeys, int x, int y);
    virtual void OnMButtonUp(UINT nKeys, int x, int y);
    virtual void OnMouseActivate(CTBWnd* pTopWnd, UINT nHitTest, UINT uMouseMsg);
    virtual void OnMouseMove(UINT nKeys, int x, int y);
    virtual void OnRButtonDblClk(UINT nKeys, int x, int y);
    virtual void OnRButtonDown(UINT nKeys, int x, int y);
    virtual void OnRButtonUp(UINT nKeys, int x, int y);
    virtual void OnTimer(UINT_PTR nIdEvent);
    virtual void OnInitMenu(HMENU hMenu);
    virtual void OnInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
    virtual void OnAskCbFormatName(UINT nMaxCount, LPSTR pszName);
    virtual void OnChangeCbChain(CTBWnd* pRemoved, CTBWnd* pAfter);
    virtual void OnDestroyClipboard();
    virtual void OnDrawClipboard();
    virtual void OnHScrollClipboard(CTBWnd* pViewer, UINT nCode, UINT nPos);
    virtual void OnPaintClipboard(CTBWnd* pViewer, HGLOBAL hPaint);
    virtual void OnRenderAllFormats();
    virtual void OnRenderFormat(UINT nFormat);
    virtual void OnSizeClipboard(CTBWnd* pViewer, HGLOBAL hRect);
    virtual void OnVScrollClipboard(CTBWnd* pViewer, UINT nCode, UINT nPos);
    virtual UINT OnGetDlgCode();
    virtual void OnMDIActivate(BOOL bActivate, CTBWnd* pActivateWnd, CTBWnd* pDeactivateWnd);
    virtual void OnDrawItem(int nIdCtl, tagDRAWITEMSTRUCT* pDraw);
    virtual void OnMeasureItem(int nIdCtl, tagMEASUREITEMSTRUCT* pMeasure);

    HWND m_hWnd = nullptr;      // null until created, attached or subclassed; again null after WM_NCDESTROY

protected:
    virtual void OnNcDestroy();

private:
    friend LRESULT CALLBACK TBWndProc(HWND, UINT, WPARAM, LPARAM);
    template <class> friend class CTbCreationHook;
    void AttachWindowCreate(HWND hWnd);
    BOOL TakeOverProcedure();
    void PassToParent(UINT uMsg, WPARAM wParam, LPARAM lParam);

    static const int MODAL_RUNNING = 0x1;
    static const int MODAL_CONTINUE = 0x2;
    WNDPROC m_pfnSuper = nullptr;   // the window's own procedure before ours; null: the system default
    int m_nModalFlags = 0;
    int m_nModalResult = -1;
};

// Registers a window class in the application's module with the system's default procedure,
// unless one of that name is there already. The name, or null when registration failed.
LPCSTR RegisterWndClass(LPCSTR pszName, UINT uClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon);
