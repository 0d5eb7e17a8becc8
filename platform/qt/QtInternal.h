#pragma once
// Inside platform/qt: the pieces the display is made of.
#include <QtGui/QKeyEvent>
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/TextEngine.h"
#include "platform/win/user/Display.h"

class QWidget;
class QColor;
class QPainter;
class QString;
class QIcon;
class CTbPixelBuffer;

// Key events as the original's keyboard messages: the virtual key (0 when none fits) and the
// key flags of lParam (repeat count 1, scan code, extended, Alt, previous state, release).
UINT   TbQtVirtualKey(const QKeyEvent* pEvent);
// The Qt key of a virtual key (the first of the keys that share it); 0 for none.
int    TbQtKeyOfVirtualKey(UINT uVk);
LPARAM TbQtKeyFlags(const QKeyEvent* pEvent, BOOL bRelease);

ITbDisplay* TbQtDisplay();
ITbTextEngine* TbQtTextEngine();
// One line in one of the text engine's faces onto a painter of another device (a printer's page),
// its cell's left at x and top at yTop.
void TbQtDrawFaceText(QPainter& painter, void* pFace, int x, int yTop, const QString& str, const QColor& color, BOOL bRtl);
// Printers: PDF files and the machine's CUPS queues (QtPrinting.cpp).
struct ITbPrintSystem;
ITbPrintSystem* TbQtPrintSystem();
// A PDF file Qt wrote made searchable in Arabic: its character maps give letters, not
// presentation forms. FALSE when the file cannot be read or written back.
BOOL TbQtPdfBaseLetters(const QString& strFile);
// FALSE: every string drawn with a painter and a layout of its own, as before strings were kept
// laid out; for the test that both give the same pixels.
void TbQtKeepTextLayouts(BOOL bKeep);
// Menu texts shaped whole, their mnemonic underlined under its glyph.
void TbQtInstallMenuStyle();
ITbImageCodec* TbQtImageCodec();
BOOL TbQtPlayWave(LPCSTR pszPath, BOOL bLoop);

// Counts the layer's calls running inside Qt event handlers, so that windows whose surface went
// away are deleted only where no handler of theirs is on the stack.
struct CTbQtHandlerScope {
    CTbQtHandlerScope();
    ~CTbQtHandlerScope();
    static int Depth();
};
// The widget that shows a window (null without one); for tests that drive Qt events.
QWidget* TbQtWidgetOf(HWND hWnd);
// The left button pressed and released at a point of a widget, as the window system sends a click.
void TbQtClickWidget(QWidget* pTarget, const QPointF& ptLocal);
void TbQtBury(QWidget* pWidget);
// A window's icon as Qt shows it: the image with its mask's white pixels transparent.
QIcon TbQtIcon(const CTbPixelBuffer* pImage, const CTbPixelBuffer* pMask);
// Gives a top-level window or a sub-window its icon; a null icon: the program's. The first main
// window's icon becomes the program's.
void TbQtSetWindowIcon(QWidget* pWindow, const QIcon& icon);
void TbQtDeleteBuried();

// Clipboard and choosers.
void TbQtOfferClipboard(BOOL bText, BOOL bImage);
BOOL TbQtGetClipboardText(std::string* pUtf8);
ITbQuestion* TbQtAskMessageBox(HWND hOwner, TBMESSAGEBOXQUESTION* pQuestion);
ITbQuestion* TbQtAskFile(HWND hOwner, TBFILEQUESTION* pQuestion);
ITbQuestion* TbQtAskFont(HWND hOwner, TBFONTQUESTION* pQuestion);
ITbQuestion* TbQtAskColor(HWND hOwner, TBCOLORQUESTION* pQuestion);
ITbQuestion* TbQtAskPrinterProperties(HWND hOwner, TBPRINTERPROPSQUESTION* pQuestion);
ITbQuestion* TbQtAskPrintSetup(HWND hOwner, TBPRINTSETUPQUESTION* pQuestion);
// Menus and MDI (QtMenus.cpp): the popup menu the display shows for TrackPopupMenu, and for tests
// the popup open now (null: none).
class QMenu;
BOOL TbQtOpenPopupMenu(HMENU hMenu, UINT uFlags, POINT pt, HWND hOwner);
void TbQtClosePopupMenu();
QMenu* TbQtOpenPopup();
// (QtMdi.cpp) The surface of an MDI client or of an MDI child inside one; null for any other window.
ITbSurface* TbQtCreateMdiSurface(HWND hWnd, ITbSurface* pParent, DWORD dwStyle, DWORD dwExStyle);
// The frame Qt's style draws around a sub-window's client (measured once).
void TbQtMdiChildFrame(RECT* prcFrame);
// The outer width a sub-window needs to show the title whole beside its icon and buttons.
int TbQtMdiTitleWidth(LPCSTR pszTitle);
// (QtWebEngine.cpp, built with the web engine) Said before the application object is made; the
// engine for the browser control, null when it cannot start.
struct ITbWebEngine;
void TbQtPrepareWebEngine();
ITbWebEngine* TbQtWebEngine();
