#pragma once
// Message maps: a class lists the messages and commands it handles between BEGIN_MESSAGE_MAP
// and END_MESSAGE_MAP, and a window looks each message up in its class's map, then in its base
// classes' maps. Each entry carries a small function, made by the macro, that splits the
// message's parameters and calls the handler, so a handler of the wrong shape does not compile.
//
// Handlers are named plainly in the macros, as the trading code writes them:
//     BEGIN_MESSAGE_MAP(CNorvCom, CMDIChildWnd)
//         ON_WM_TIMER()
//         ON_MESSAGE(WM_USER + 2, OnSocketNotify)      // LRESULT OnSocketNotify(WPARAM, LPARAM)
//         ON_COMMAND(ID_CONNECT, OnConnect)            // void OnConnect()
//     END_MESSAGE_MAP()
#include "platform/mfc/Object.h"
#include "platform/win/user/Messages.h"

class CCmdTarget;
struct AFX_CMDHANDLERINFO;

// Splits the message for one handler and calls it; the result becomes the message's result.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, UINT uMsg, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;              // the window message; WM_COMMAND for commands; 0 ends the map
    UINT nCode;                 // commands: the notification code (CN_COMMAND for menus and buttons)
    UINT nID;                   // commands: the first id of the range; 0 for window messages
    UINT nLastID;               // commands: the last id of the range
    const UINT* pnRegistered;   // ON_REGISTERED_MESSAGE: where the registered number is kept
    AFX_PMSG pfn;
    UINT nSig;                  // AFX_SIG_BOOL: the handler's result says whether it handled the command
};
#define AFX_SIG_VOID 0
#define AFX_SIG_BOOL 1
#define AFX_SIG_NOTIFY 2        // ON_NOTIFY: found by its code and control id, not as a plain message

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();    // null for the root
    const AFX_MSGMAP_ENTRY* pEntries;
};

// A menu item, accelerator or button click; control notifications carry their own code.
// CN_UPDATE_COMMAND_UI asks a command's update handler for the state of its item (CmdUI.h).
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<UINT>(-1))

class CCmdUI;
// Filled by OnCmdMsg when it is asked only whether a command has a handler.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

#define afx_msg

// The base of every object that takes commands: it answers from its message map.
class CCmdTarget : public CObject
{
public:
    // Calls the handler of command nID with notification nCode; with pHandlerInfo only tells
    // whether there is one. TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // The entry for a window message (or a registered one), searched from this class's map up.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT uMsg) const;
    // The ON_NOTIFY entry for a notification code from control nID, or null.
    const AFX_MSGMAP_ENTRY* FindNotifyEntry(UINT nCode, UINT nID) const;
};

#define DECLARE_MESSAGE_MAP()                               \
protected:                                                  \
    static const AFX_MSGMAP* GetThisMessageMap();           \
    const AFX_MSGMAP* GetMessageMap() const override;       \
                                                            \
private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                  \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }           \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                             \
    {                                                                                           \
        using ThisClass [[maybe_unused]] = theClass;                                            \
        using TheBaseClass = baseClass;                                                         \
        static const AFX_MSGMAP_ENTRY s_entries[] = {

#define END_MESSAGE_MAP()                                                                       \
            {0, 0, 0, 0, nullptr, nullptr, 0}};                                                    \
        static const AFX_MSGMAP s_map = {&TheBaseClass::GetThisMessageMap, s_entries};         \
        return &s_map;                                                                          \
    }

// The thunk's head: p is the target, m the message, w and l its parameters.
#define AFX_THUNK [](CCmdTarget* p, [[maybe_unused]] UINT m, [[maybe_unused]] WPARAM w, [[maybe_unused]] LPARAM l) -> LRESULT
#define AFX_THIS static_cast<ThisClass*>(p)
#define AFX_WINDOW_ENTRY(msg, ...) {msg, 0, 0, 0, nullptr, AFX_THUNK { __VA_ARGS__ }, AFX_SIG_VOID},

// Commands and messages.
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK { AFX_THIS->memberFxn(); return 0; }, AFX_SIG_VOID},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, AFX_THUNK { AFX_THIS->memberFxn(static_cast<UINT>(w)); return 0; }, AFX_SIG_VOID},
// BOOL memberFxn(UINT nID): FALSE passes the command on to the next target.
#define ON_COMMAND_EX(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK { return AFX_THIS->memberFxn(static_cast<UINT>(w)); }, AFX_SIG_BOOL},
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, AFX_THUNK { return AFX_THIS->memberFxn(static_cast<UINT>(w)); }, AFX_SIG_BOOL},
// void memberFxn(CCmdUI* pCmdUI): sets the state of the command's menu item, button or pane.
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK { AFX_THIS->memberFxn(reinterpret_cast<CCmdUI*>(l)); return 0; }, AFX_SIG_VOID},
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, AFX_THUNK { AFX_THIS->memberFxn(reinterpret_cast<CCmdUI*>(l)); return 0; }, AFX_SIG_VOID},
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, AFX_THUNK { AFX_THIS->memberFxn(); return 0; }, AFX_SIG_VOID},
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(idLast), nullptr, AFX_THUNK { AFX_THIS->memberFxn(static_cast<UINT>(w)); return 0; }, AFX_SIG_VOID},
#define ON_MESSAGE(message, memberFxn) \
    AFX_WINDOW_ENTRY(message, return AFX_THIS->memberFxn(w, l);)
// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult): a control's WM_NOTIFY of that code
// (CommCtrl.h); *pResult, 0 unless set, is the message's result.
#define ON_NOTIFY(code, id, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), nullptr, \
     AFX_THUNK { LRESULT lResult = 0; AFX_THIS->memberFxn(reinterpret_cast<NMHDR*>(l), &lResult); return lResult; }, AFX_SIG_NOTIFY},
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn) \
    {0xC000, 0, 0, 0, &(nMessageVariable), AFX_THUNK { return AFX_THIS->memberFxn(w, l); }, AFX_SIG_VOID},

// Window messages, with the class library's handler shapes.
#define ON_WM_CREATE() AFX_WINDOW_ENTRY(WM_CREATE, return AFX_THIS->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(l));)
#define ON_WM_DESTROY() AFX_WINDOW_ENTRY(WM_DESTROY, AFX_THIS->OnDestroy(); return 0;)
#define ON_WM_NCDESTROY() AFX_WINDOW_ENTRY(WM_NCDESTROY, AFX_THIS->OnNcDestroy(); return 0;)
#define ON_WM_CLOSE() AFX_WINDOW_ENTRY(WM_CLOSE, AFX_THIS->OnClose(); return 0;)
#define ON_WM_SIZE() AFX_WINDOW_ENTRY(WM_SIZE, AFX_THIS->OnSize(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0;)
#define ON_WM_SIZING() AFX_WINDOW_ENTRY(WM_SIZING, AFX_THIS->OnSizing(static_cast<UINT>(w), reinterpret_cast<LPRECT>(l)); return TRUE;)
#define ON_WM_MOVE() AFX_WINDOW_ENTRY(WM_MOVE, AFX_THIS->OnMove(GET_X_LPARAM(l), GET_Y_LPARAM(l)); return 0;)
#define ON_WM_PAINT() AFX_WINDOW_ENTRY(WM_PAINT, AFX_THIS->OnPaint(); return 0;)
#define ON_WM_ERASEBKGND() AFX_WINDOW_ENTRY(WM_ERASEBKGND, CDC dc(reinterpret_cast<HDC>(w)); return AFX_THIS->OnEraseBkgnd(&dc);)
#define ON_WM_CTLCOLOR() \
    AFX_WINDOW_ENTRY(WM_CTLCOLOR, CDC dc(reinterpret_cast<HDC>(w)); \
        return reinterpret_cast<LRESULT>(AFX_THIS->OnCtlColor(&dc, CWnd::FromHandle(reinterpret_cast<HWND>(l)), m >= WM_CTLCOLORMSGBOX ? m - WM_CTLCOLORMSGBOX : 0));)
#define ON_WM_TIMER() AFX_WINDOW_ENTRY(WM_TIMER, AFX_THIS->OnTimer(static_cast<UINT_PTR>(w)); return 0;)
#define ON_WM_SETFOCUS() AFX_WINDOW_ENTRY(WM_SETFOCUS, AFX_THIS->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0;)
#define ON_WM_KILLFOCUS() AFX_WINDOW_ENTRY(WM_KILLFOCUS, AFX_THIS->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0;)
#define AFX_KEY_ENTRY(msg, fn) AFX_WINDOW_ENTRY(msg, AFX_THIS->fn(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0;)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define AFX_MOUSE_ENTRY(msg, fn) AFX_WINDOW_ENTRY(msg, AFX_THIS->fn(static_cast<UINT>(w), CPoint(l)); return 0;)
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_NCRBUTTONDOWN() AFX_MOUSE_ENTRY(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_MOUSEWHEEL() \
    AFX_WINDOW_ENTRY(WM_MOUSEWHEEL, return AFX_THIS->OnMouseWheel(LOWORD(w), static_cast<short>(HIWORD(w)), CPoint(l));)
#define ON_WM_NCHITTEST() AFX_WINDOW_ENTRY(WM_NCHITTEST, return AFX_THIS->OnNcHitTest(CPoint(l));)
#define AFX_SCROLL_ENTRY(msg, fn) \
    AFX_WINDOW_ENTRY(msg, AFX_THIS->fn(LOWORD(w), HIWORD(w), AfxScrollBarOf(reinterpret_cast<HWND>(l))); return 0;)
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)
#define ON_WM_SYSCOMMAND() AFX_WINDOW_ENTRY(WM_SYSCOMMAND, AFX_THIS->OnSysCommand(static_cast<UINT>(w), l); return 0;)
#define ON_WM_SETCURSOR() \
    AFX_WINDOW_ENTRY(WM_SETCURSOR, return AFX_THIS->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l));)
#define ON_WM_MDIACTIVATE() \
    AFX_WINDOW_ENTRY(WM_MDIACTIVATE, AFX_THIS->OnMDIActivate(reinterpret_cast<HWND>(l) == AFX_THIS->m_hWnd, \
        CWnd::FromHandle(reinterpret_cast<HWND>(l)), CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0;)
#define ON_WM_SHOWWINDOW() AFX_WINDOW_ENTRY(WM_SHOWWINDOW, AFX_THIS->OnShowWindow(static_cast<BOOL>(w), static_cast<UINT>(l)); return 0;)
#define ON_WM_SYSCOLORCHANGE() AFX_WINDOW_ENTRY(WM_SYSCOLORCHANGE, AFX_THIS->OnSysColorChange(); return 0;)
#define ON_WM_MOUSEACTIVATE() \
    AFX_WINDOW_ENTRY(WM_MOUSEACTIVATE, return AFX_THIS->OnMouseActivate(CWnd::FromHandle(reinterpret_cast<HWND>(w)), LOWORD(l), HIWORD(l));)
#define ON_WM_CAPTURECHANGED() \
    AFX_WINDOW_ENTRY(WM_CAPTURECHANGED, AFX_THIS->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(l))); return 0;)
#define ON_WM_GETMINMAXINFO() AFX_WINDOW_ENTRY(WM_GETMINMAXINFO, AFX_THIS->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(l)); return 0;)
#define ON_WM_ACTIVATE() \
    AFX_WINDOW_ENTRY(WM_ACTIVATE, AFX_THIS->OnActivate(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), HIWORD(w) != 0); return 0;)
#define ON_WM_INITMENUPOPUP() \
    AFX_WINDOW_ENTRY(WM_INITMENUPOPUP, AFX_THIS->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(w)), LOWORD(l), HIWORD(l) != 0); return 0;)
#define ON_WM_MENUSELECT() \
    AFX_WINDOW_ENTRY(WM_MENUSELECT, AFX_THIS->OnMenuSelect(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)); return 0;)
#define ON_WM_DRAWITEM() \
    AFX_WINDOW_ENTRY(WM_DRAWITEM, AFX_THIS->OnDrawItem(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l)); return TRUE;)
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_WINDOW_ENTRY(WM_WINDOWPOSCHANGED, AFX_THIS->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(l)); return 0;)

// Reflection: a control's class handles what its parent receives about it (WndReflect.cpp).
// A reflected entry holds WM_REFLECT_BASE + the parent's message. ON_CONTROL_REFLECT takes the
// notification from the parent; the _EX form's handler returns FALSE to let the parent have it
// as well. HBRUSH CtlColor(CDC*, UINT nCtlColor) answers null to leave the colours to the parent.
#define WM_REFLECT_BASE 0xBC00
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr, AFX_THUNK { AFX_THIS->memberFxn(); return TRUE; }, AFX_SIG_VOID},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND, static_cast<UINT>(code), 0, 0, nullptr, AFX_THUNK { return AFX_THIS->memberFxn() ? TRUE : FALSE; }, AFX_SIG_VOID},
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WINDOW_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, CDC dc(reinterpret_cast<HDC>(w)); \
        return reinterpret_cast<LRESULT>(AFX_THIS->CtlColor(&dc, m >= WM_CTLCOLORMSGBOX ? m - WM_CTLCOLORMSGBOX : 0));)
