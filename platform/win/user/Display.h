#pragma once
// The display side of the window system, implemented in platform/qt. No Qt type here.
// Without a display (tests of the window manager) windows have no surface, the loop waits on a
// condition variable and drawing still goes to the backing images.
#include <string>
#include "platform/win/WinTypes.h"

class CTbPixelBuffer;
struct ITbQuestion;
struct TBMESSAGEBOXQUESTION;
struct TBFILEQUESTION;
struct TBFONTQUESTION;
struct TBCOLORQUESTION;
struct TBPRINTERPROPSQUESTION;
struct TBPRINTSETUPQUESTION;

// One window's presence on the display. Geometry is in the parent's client coordinates, screen
// coordinates for a top-level window.
struct ITbSurface {
    virtual ~ITbSurface() = default;
    virtual void SetGeometry(int x, int y, int cx, int cy) = 0;
    virtual void SetVisible(BOOL bVisible) = 0;
    virtual void SetShowState(int nCmdShow) = 0;     // SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED, SW_SHOWNORMAL
    virtual void SetText(LPCSTR pszText) = 0;        // bytes in the active code page
    virtual void Update(const RECT& rc) = 0;         // the backing image changed there: show it
    virtual void SetFocus() = 0;
    virtual void SetEnabled(BOOL bEnabled) = 0;
    virtual void SetCapture(BOOL bCapture) = 0;
    virtual void Raise(BOOL bToTop) = 0;
    virtual void Reparent(ITbSurface* pParent) = 0;  // null: top-level
    // Menus and MDI.
    // Shows hMenu's items as the window's menu bar (null: no bar), built afresh from the menu so
    // that DrawMenuBar shows edits; answers the bar's height in pixels.
    virtual int SetMenuBar(HMENU hMenu) = 0;
    // The picture the window's title bar shows: an image and its mask (white = transparent,
    // empty = opaque); null: the display's default.
    virtual void SetIcon(const CTbPixelBuffer*, const CTbPixelBuffer*) {}
    // What the surface shows that the window never painted (a web page), drawn over pImage from
    // its top left corner; FALSE when it shows nothing of the kind.
    virtual BOOL DrawForeign(CTbPixelBuffer*) { return FALSE; }
};

// What a cursor shows: a standard shape (an IDC_ number) or an image with its hot spot.
struct TBCURSORSHAPE {
    int nStandard;
    const CTbPixelBuffer* pImage;
    POINT ptHotSpot;
};

// Directions of a watched file descriptor.
#define TB_FD_READ  1
#define TB_FD_WRITE 2

struct ITbDisplay {
    virtual ~ITbDisplay() = default;
    virtual ITbSurface* CreateSurface(HWND hWnd, ITbSurface* pParent, DWORD dwStyle, DWORD dwExStyle) = 0;
    // The event loop: wait for the display's events, a Wake or the time (-1: no limit), or only
    // handle what is pending. Wake may be called from any thread.
    virtual void Wait(int nTimeoutMs) = 0;
    virtual void Wake() = 0;
    virtual void ProcessPending() = 0;
    virtual void SetCursorShape(const TBCURSORSHAPE& shape) = 0;
    virtual BOOL GetCursorPos(POINT* pPoint) = 0;
    virtual SHORT GetAsyncKeyState(int nVirtKey) = 0;
    virtual void GetScreenSize(SIZE* pSize) = 0;
    virtual void Beep(UINT uType) = 0;
    // Starts a wave file and returns at once (bLoop repeats it); an empty path stops playing.
    // A machine without sound plays nothing and still answers TRUE.
    virtual BOOL PlayWave(LPCSTR pszPath, BOOL bLoop) = 0;
    // Watches a file descriptor (a socket) for the TB_FD_ directions in nEvents; 0 stops. While
    // the loop waits or handles pending events it reports readiness through TbDisplayFdReady,
    // on the user-interface thread, for as long as the condition holds: the watcher turns a
    // direction off until it has dealt with it.
    virtual void WatchFd(int fd, int nEvents) = 0;

    // Clipboard and choosers.
    // The layer's clipboard changed: the system clipboard now offers other programs text (read
    // through TbDisplayClipboardText when one asks) and a picture (TbDisplayClipboardImage), or nothing.
    virtual void OfferClipboard(BOOL bText, BOOL bImage) = 0;
    // Text another program put on the system clipboard, as UTF-8; FALSE when there is none.
    // pUtf8 may be null to ask only.
    virtual BOOL GetClipboardText(std::string* pUtf8) = 0;
    // Shows a question (Questions.h) over the owner without waiting for it; the display fills
    // the request's answer when the person closes it. Null: there is nobody to ask.
    virtual ITbQuestion* AskMessageBox(HWND hOwner, TBMESSAGEBOXQUESTION* pQuestion) = 0;
    virtual ITbQuestion* AskFile(HWND hOwner, TBFILEQUESTION* pQuestion) = 0;
    virtual ITbQuestion* AskFont(HWND hOwner, TBFONTQUESTION* pQuestion) = 0;
    virtual ITbQuestion* AskColor(HWND hOwner, TBCOLORQUESTION* pQuestion) = 0;
    virtual ITbQuestion* AskPrinterProperties(HWND, TBPRINTERPROPSQUESTION*) { return nullptr; }
    virtual ITbQuestion* AskPrintSetup(HWND, TBPRINTSETUPQUESTION*) { return nullptr; }
    // Menus and MDI.
    // Opens a popup menu for hOwner at a screen point placed by the TPM_ alignment flags and
    // returns at once; the user's moves and choice come back through TbDisplayMenuSelect and
    // TbDisplayMenuDone. FALSE when there is nobody to show it to.
    virtual BOOL OpenPopupMenu(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner) = 0;
    // Closes the open popup; no TbDisplayMenuDone follows.
    virtual void ClosePopupMenu() = 0;
    // The frame the display draws around an MDI child's client, in pixels: left, top (title bar
    // included), right and bottom. The MDI client leaves room for it when it places children.
    // Without a display of its own: the classic caption and sizing frame of the system metrics.
    virtual void GetMdiChildFrame(RECT* prcFrame);
    // The outer width (frame included) an MDI child's title bar needs to show pszTitle (bytes in
    // the active code page) whole, beside its icon and buttons. Without a display of its own: an
    // estimate from the system metrics.
    virtual int GetMdiTitleWidth(LPCSTR pszTitle);
};

// The display in use; null goes back to the built-in headless one. Set once at start-up.
void TbSetDisplay(ITbDisplay* pDisplay);
ITbDisplay* TbGetDisplay();

// Calls from the display into the window system.
// Mouse: the window under the pointer (the capture window gets it instead), a WM_ mouse message,
// the MK_ key state (wheel: the delta in the high word) and the pointer in screen coordinates.
void TbDisplayMouse(HWND hWndUnder, UINT uMsg, WPARAM wKeys, POINT ptScreen);
// The pointer left a window's surface (for another program's window, or nowhere).
void TbDisplayMouseLeave(HWND hWnd);
// Whether the user's input may reach hWnd: not while its top-level window is disabled (a modal
// dialog's owner). The display asks it for what it draws itself (menu bars, frames of document
// windows); a press it refused is told, and brings the modal window forward.
BOOL TbDisplayTakesInput(HWND hWnd);
void TbDisplayInputRefused(HWND hWnd);
// Keyboard: WM_KEYDOWN or WM_KEYUP with the virtual key and the key flags of lParam (KF_ALTDOWN
// makes it a system key), and the characters the key produced in the active code page.
void TbDisplayKey(UINT uMsg, UINT uVirtKey, LPARAM lParam, LPCSTR pszChars);
// The same with the characters as the display has them (UTF-8), put in the active code page:
// Arabic-Indic digits and the Arabic separators become the page's; a key whose characters the
// page cannot hold is refused with a beep (FALSE), never delivered as '?', and the focus hears
// which character it was as WM_UNICHAR.
BOOL TbDisplayKeyText(UINT uMsg, UINT uVirtKey, LPARAM lParam, const char* pszUtf8);
// The modifiers the display says are held as an event comes. A release the program never heard
// (it went to a menu of the display's own that the key opened) is delivered first, so that a
// key that came up is not taken as held with the keys that follow.
void TbDisplayModifiers(BOOL bShift, BOOL bCtrl, BOOL bAlt);
// The keys and mouse buttons as the deliveries above left them (0x8000 down), at once, before the
// program takes the messages: a display without a keyboard of its own answers GetAsyncKeyState
// with it.
SHORT TbDeliveredKeyState(int nVirtKey);
// The user moved or sized a top-level window, asked to close it, or activated it.
// The display reports only places, never when a drag begins or ends, so the window's size/move
// phase is inferred: the first change of place after quiet sends WM_ENTERSIZEMOVE before its
// WM_WINDOWPOSCHANGING, WM_MOVE and WM_SIZE; the phase ends with WM_EXITSIZEMOVE once
// TB_SIZEMOVE_QUIET_MS pass without a change while the display does not report the left button
// held (GetAsyncKeyState), measured by a layer timer, so only in a message loop. A report of the
// place the window has already is no change. Places the program sets (MoveWindow, SetWindowPos)
// and show-state changes (maximise, restore) send neither.
#define TB_SIZEMOVE_QUIET_MS 300
void TbDisplayGeometry(HWND hWnd, int x, int y, int cx, int cy);
void TbDisplayShowState(HWND hWnd, int nCmdShow);
void TbDisplayClose(HWND hWnd);
void TbDisplayActivate(HWND hWnd);
// The backing image to show for a window (null when it never painted).
const CTbPixelBuffer* TbDisplayImage(HWND hWnd);
// The class background colour to show where nothing painted yet (CLR_INVALID: none).
COLORREF TbDisplayBackground(HWND hWnd);
// A watched file descriptor is ready in the TB_FD_ directions of nEvents (an error or a hang-up
// counts for every watched direction). platform/win/net hands it to the socket's window.
void TbDisplayFdReady(int fd, int nEvents);

// Clipboard and choosers.
// Another program took the system clipboard: the process's contents go (WM_DESTROYCLIPBOARD).
void TbDisplayClipboardChanged();
// Another program asks for the text the layer offers: CF_TEXT, rendered when delayed, as UTF-8.
BOOL TbDisplayClipboardText(std::string* pUtf8);
// Another program asks for the picture the layer offers: CF_BITMAP's pixels, rendered when delayed.
BOOL TbDisplayClipboardImage(CTbPixelBuffer* pImage);
// Menus: a submenu of hOwner's menu bar or open popup is about to show (nPos: its place in the
// menu above it; bEntering: the first of a menu-bar session). The owner gets WM_INITMENU and
// WM_INITMENUPOPUP here, so the display builds the submenu from the menu afterwards.
void TbDisplayMenuInit(HWND hOwner, HMENU hMenu, int nPos, BOOL bEntering);
// The pointer or the keys moved to an item: its command id (a submenu's position) and MF_ flags.
void TbDisplayMenuSelect(HWND hOwner, HMENU hMenu, UINT uItem, UINT uFlags);
// The open popup or the menu bar's menu closed with the command chosen (0: none).
void TbDisplayMenuDone(HWND hOwner, UINT uId);
// MDI: the user moved or sized a document window on the display (x, y in its parent's client
// area): it gets WM_SYSCOMMAND SC_MOVE or SC_SIZE, whose default applies the place; a window that
// refuses is put back. A system command from the display's frame of a document window
// (SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE); a refused one leaves the display as the window is.
void TbDisplayUserGeometry(HWND hWnd, int x, int y, int cx, int cy);
void TbDisplaySysCommand(HWND hWnd, UINT uCmd);
// The user activated an MDI child on the display: it gets WM_CHILDACTIVATE.
void TbDisplayChildActivate(HWND hWnd);
