#pragma once
// A window's widget: shows the window's backing image and turns Qt's input into the layer's
// messages. Its surface is how the window manager moves, shows and updates it.
#include <QtGui/QFont>
#include <QtCore/QPointer>
#include <QtWidgets/QWidget>
#include "platform/win/user/Display.h"

class QMenuBar;

class CTbWindowWidget : public QWidget
{
public:
    CTbWindowWidget(HWND hWnd, QWidget* pParent);
    HWND GetHwnd() const { return m_hWnd; }
    void Detach() { m_hWnd = nullptr; }
    // While the layer itself changes the geometry, Qt's echo of it is not reported back.
    BOOL m_bApplying = FALSE;
    BOOL m_bFixedSize = FALSE;          // a top-level window without a sizing frame: the user cannot size it
    // Activations the layer asked Qt for and whose events have not come back yet: those events
    // are echoes, not the user's choice. Reported, a late echo would activate this window again
    // after the layer had moved on, and two windows would take turns for ever.
    int m_nActivationsAsked = 0;
    // Menus and MDI: the menu bar across the top; the client area (the backing image and the
    // child windows) starts below it.
    QPointer<QMenuBar> m_pMenuBar;
    int m_nClientTop = 0;
    // A window with WS_EX_LEFTSCROLLBAR shows its vertical bar at its left edge; its image keeps
    // the bar at the client area's right, as every window's does. The bar's width, else 0.
    int LeftBarWidth() const;

protected:
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void leaveEvent(QEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void keyReleaseEvent(QKeyEvent* pEvent) override;
    void inputMethodEvent(QInputMethodEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    bool focusNextPrevChild(bool) override { return false; }    // Tab is the program's key

private:
    // A point of the widget as the image has it (the two sides of a left bar exchanged).
    QPoint ToImage(const QPoint& pt) const;
    void Mouse(QMouseEvent* pEvent, UINT uDown, BOOL bRelease);
    void Key(QKeyEvent* pEvent, BOOL bRelease);
    // Alt and a character that a form the keys are in marks: its mnemonic, not the menu bar's.
    bool ClaimsMnemonic(const QKeyEvent* pEvent) const;
    static void SyncModifiers(Qt::KeyboardModifiers mods);
    void ReportGeometry();
    void KeepShowState();
    // A titled top-level window keeps the window manager's frame around it, caption included, on
    // the screen: the caption is where the user moves and closes it. Checked once the window
    // manager has framed the window after it shows.
    void KeepFrameOnScreen();
    HWND m_hWnd;
    int m_nFrameChecks = 0;
};

class CTbQtSurface : public ITbSurface
{
public:
    explicit CTbQtSurface(CTbWindowWidget* pWidget) : m_pWidget(pWidget) {}
    ~CTbQtSurface() override;
    CTbWindowWidget* Widget() const { return m_pWidget; }
    void SetGeometry(int x, int y, int cx, int cy) override;
    void SetVisible(BOOL bVisible) override;
    void SetShowState(int nCmdShow) override;
    void SetText(LPCSTR pszText) override;
    void Update(const RECT& rc) override;
    void SetFocus() override;
    void SetEnabled(BOOL) override {}          // the layer keeps input from disabled windows itself
    void SetCapture(BOOL) override {}          // the layer routes captured input itself
    void Raise(BOOL bToTop) override;
    void Reparent(ITbSurface* pParent) override;
    // Menus and MDI (QtMenus.cpp).
    int SetMenuBar(HMENU hMenu) override;
    void SetIcon(const CTbPixelBuffer* pImage, const CTbPixelBuffer* pMask) override;
    // A widget of another toolkit's drawing inside (a web page) says so with the property "tbForeign".
    BOOL DrawForeign(CTbPixelBuffer* pImage) override;

    // The title the display shows: the window's text, or for a top-level window too narrow for
    // it, its start and an ellipsis. Left to itself the window manager cuts a long title in its
    // middle ("Combined Unr... rofit and Loss").
    QString ShownTitle() const;

private:
    void ShowTitle();
    QPointer<CTbWindowWidget> m_pWidget;
    QString m_strTitle;
};

// The room a window manager leaves a top-level window's title (its width less the icon and the
// buttons beside the title), and a font at least as wide as the one it draws the title in.
int TbQtTitleRoom(int cxWindow);
QFont TbQtTitleFont();
