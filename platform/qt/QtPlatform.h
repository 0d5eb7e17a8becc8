#pragma once
// Starting the Qt display. Plain C++: the program's start-up and the tests include this to bring
// the display up; nothing else about Qt is visible outside this folder.
#include <string>
#include "platform/win/WinTypes.h"

class CTbPixelBuffer;

// Makes the Qt application object when the program has none, and sets the window surfaces, the
// event loop, the font engine, the image codecs and sound as the layer's display. Call once on
// the user-interface thread before the first window is created. FALSE when Qt cannot start.
BOOL TbInitQtPlatform(int* pArgc, char** argv);
// Screen geometry of a window's surface on the display (a top-level window's client area), for
// tests that drive the display; FALSE for a window without a surface.
BOOL TbQtGetSurfaceGeometry(HWND hWnd, RECT* pRect);
// The document window an MDI client's area shows over the others (shown, not minimised) and
// the one it draws as active, for tests that check the display agrees with the windows' state.
BOOL TbQtMdiShown(HWND hClient, HWND* phTop, HWND* phActive);
// The left button pressed and released at a point of a window (client coordinates; a menu bar's
// height above 0), sent to whatever Qt shows there as the window system would: the menu bar,
// its buttons, a document window's frame, the window itself. FALSE when nothing is there.
BOOL TbQtClickWindow(HWND hWnd, POINT ptClient);
// The user's click on a document window's title-bar button, the one of the system command uCommand
// (SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_CLOSE) as the window shows it; FALSE when it shows none.
BOOL TbQtClickTitleButton(HWND hChild, UINT uCommand);
// Where that button stands on the screen (its centre), for a click of the window system's own;
// and where the button of a maximised document window's command stands on the frame's menu bar.
BOOL TbQtTitleButtonOnScreen(HWND hChild, UINT uCommand, POINT* pptScreen);
BOOL TbQtMenuBarButtonOnScreen(HWND hFrame, UINT uCommand, POINT* pptScreen);
// What the display shows of a window: an MDI client, its area with the document windows over its
// background (on a real display the screen's pixels, on the offscreen one a drawing of the
// widgets); a document window, drawn afresh and alone, its frame and caption included, with the
// frame's extent around its client (left, top, right, bottom; all 0 for a minimised or maximised
// one). For tests that hold the composed picture against each window's own. FALSE for a window
// the display does not show.
BOOL TbQtPicture(HWND hWnd, CTbPixelBuffer* pImage, RECT* prcFrame = nullptr);
// Whether the display shows a document window whole: its caption and its client, not only a
// caption in the icon row or an empty frame.
BOOL TbQtMdiChildShownWhole(HWND hChild);
// The window's menu bar worked with the mouse: each menu of the bar clicked open in turn until
// one holds the command uId, and the command clicked. FALSE when no menu opened that holds it.
BOOL TbQtChooseFromMenuBar(HWND hWnd, UINT uId);
// A key pressed and released on a top-level window as the window system delivers it to the
// window that has the keyboard: the window becomes the display's active one, the display's own
// shortcuts (a menu bar's mnemonics) are tried first, then the window's focus takes the key.
// fVirt: FSHIFT, FCONTROL and FALT held; uVk 0: the key that types chTyped (a character of the
// active code page) on a layout that has it. FALSE when the window or the key has no counterpart.
BOOL TbQtPressKey(HWND hWnd, UINT uVk, BYTE fVirt, char chTyped = 0);
// Characters (UTF-8) typed one key each on a top-level window, as TbQtPressKey delivers keys.
// bOwnKeys: each on a key Qt knows, as a layout that has it gives it (a digit of any script on
// its digit key, '.' on Key_Period, another character on its physical key); otherwise on the key
// code Qt names by the character itself, as another layout, an input method or a tool that
// makes a key up for it sends it. FALSE when the window has no surface.
BOOL TbQtTypeText(HWND hWnd, const char* pszUtf8, BOOL bOwnKeys);
// Text (UTF-8) put on the system clipboard as another program copies it.
BOOL TbQtCopyAsAnotherProgram(const char* pszUtf8);
// Whether one of the display's menus is open (a menu bar's or a popup menu).
BOOL TbQtMenuOpen();
// The top-level window the display shows active (its caption drawn active, the keyboard's);
// null when it is none of the layer's.
HWND TbQtActiveWindow();
// The frame a window manager draws around a titled top-level window, in pixels: left, top (its
// caption), right, bottom; null: the display's own. A window shown keeps that whole frame on the
// screen. For tests on a display without a window manager.
void TbQtSetWindowManagerFrame(const RECT* prcFrame);
// The title the display gives the window manager for a window, in UTF-8, its width in the
// title font and the room the window's caption leaves it; FALSE for a window without a surface.
BOOL TbQtShownTitle(HWND hWnd, std::string* pstrTitle, int* pnWidth, int* pnRoom);
