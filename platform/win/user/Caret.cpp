// The caret and its blinking.
#include "platform/win/user/Caret.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct CaretState {
    HWND  hWnd = nullptr;
    int   cx = 1, cy = 16;
    POINT pt = {0, 0};
    int   nHidden = 1;          // created hidden
    BOOL  bDrawn = FALSE;       // the inversion is on the image now
    int   nPaintDepth = 0;      // inside BeginPaint..EndPaint of the owner
    UINT  uBlinkMs = 530;
    UINT_PTR nTimer = 0;
};
CaretState& Caret()
{
    static CaretState* s_pCaret = new CaretState;
    return *s_pCaret;
}

// Inverting twice gives the pixels back exactly, so on and off are the same operation.
void Invert()
{
    CaretState& c = Caret();
    if (!TbFindWindow(c.hWnd))
        return;
    HDC hdc = GetDC(c.hWnd);
    PatBlt(hdc, c.pt.x, c.pt.y, c.cx, c.cy, DSTINVERT);
    ReleaseDC(c.hWnd, hdc);
    c.bDrawn = !c.bDrawn;
}

void TakeOff()
{
    if (Caret().bDrawn)
        Invert();
}

void CALLBACK Blink(HWND, UINT, UINT_PTR, DWORD)
{
    CaretState& c = Caret();
    if (c.nHidden == 0 && c.nPaintDepth == 0)
        Invert();
}

void StartBlinking()
{
    CaretState& c = Caret();
    if (c.nTimer)
        KillTimer(nullptr, c.nTimer);
    c.nTimer = SetTimer(nullptr, 0, c.uBlinkMs, Blink);
}

void StopBlinking()
{
    CaretState& c = Caret();
    if (c.nTimer)
        KillTimer(nullptr, c.nTimer);
    c.nTimer = 0;
}
}  // namespace

BOOL CreateCaret(HWND hWnd, HBITMAP, int nWidth, int nHeight)
{
    if (!TbFindWindow(hWnd))
        return FALSE;
    DestroyCaret();
    CaretState& c = Caret();
    c.hWnd = hWnd;
    c.cx = nWidth > 0 ? nWidth : 1;
    c.cy = nHeight > 0 ? nHeight : 16;
    c.pt = POINT{0, 0};
    c.nHidden = 1;
    c.bDrawn = FALSE;
    return TRUE;
}

BOOL DestroyCaret()
{
    CaretState& c = Caret();
    if (!c.hWnd)
        return FALSE;
    TakeOff();
    StopBlinking();
    c.hWnd = nullptr;
    c.bDrawn = FALSE;
    return TRUE;
}

BOOL ShowCaret(HWND hWnd)
{
    CaretState& c = Caret();
    if (!c.hWnd || (hWnd && hWnd != c.hWnd) || c.nHidden == 0)
        return FALSE;
    if (--c.nHidden == 0) {
        if (c.nPaintDepth == 0)
            Invert();
        StartBlinking();
    }
    return TRUE;
}

BOOL HideCaret(HWND hWnd)
{
    CaretState& c = Caret();
    if (!c.hWnd || (hWnd && hWnd != c.hWnd))
        return FALSE;
    if (c.nHidden++ == 0) {
        TakeOff();
        StopBlinking();
    }
    return TRUE;
}

BOOL SetCaretPos(int x, int y)
{
    CaretState& c = Caret();
    if (!c.hWnd)
        return FALSE;
    if (c.pt.x == x && c.pt.y == y)
        return TRUE;
    const BOOL bWasDrawn = c.bDrawn;
    TakeOff();
    c.pt = POINT{x, y};
    // A moved caret shows at once, then blinks from there.
    if ((bWasDrawn || c.nHidden == 0) && c.nPaintDepth == 0) {
        Invert();
        StartBlinking();
    }
    return TRUE;
}

BOOL GetCaretPos(LPPOINT pPoint)
{
    if (!pPoint || !Caret().hWnd)
        return FALSE;
    *pPoint = Caret().pt;
    return TRUE;
}

UINT GetCaretBlinkTime()
{
    return Caret().uBlinkMs;
}

BOOL SetCaretBlinkTime(UINT uMSeconds)
{
    if (uMSeconds == 0)
        return FALSE;
    Caret().uBlinkMs = uMSeconds;
    if (Caret().nTimer)
        StartBlinking();
    return TRUE;
}

void TbCaretBeforePaint(HWND hWnd)
{
    CaretState& c = Caret();
    if (c.hWnd != hWnd)
        return;
    if (c.nPaintDepth++ == 0)
        TakeOff();
}

void TbCaretAfterPaint(HWND hWnd)
{
    CaretState& c = Caret();
    if (c.hWnd != hWnd || c.nPaintDepth == 0)
        return;
    if (--c.nPaintDepth == 0 && c.nHidden == 0 && !c.bDrawn)
        Invert();
}

BOOL TbIsCaretDrawn()
{
    return Caret().bDrawn;
}
