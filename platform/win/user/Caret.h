#pragma once
// The caret: one per thread, owned by a window, drawn as an inverted rectangle on the owner's
// backing image that blinks while shown. Painting hides it for the paint and shows it after, so
// the inversion never mixes with new pixels.
#include "platform/win/WinTypes.h"

// A solid caret of nWidth x nHeight pixels (0: 1 wide, 16 high; a bitmap shape is not drawn).
// A new caret destroys the previous one. It starts hidden.
BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
BOOL DestroyCaret();
// Hiding nests: each HideCaret needs a ShowCaret. Both refuse a window that does not own it.
BOOL ShowCaret(HWND hWnd);
BOOL HideCaret(HWND hWnd);
BOOL SetCaretPos(int x, int y);                 // in the owner's client coordinates
BOOL GetCaretPos(LPPOINT pPoint);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT uMSeconds);

// Inside the layer: painting the owner takes the caret's pixels off first and puts them back after.
void TbCaretBeforePaint(HWND hWnd);
void TbCaretAfterPaint(HWND hWnd);
// TRUE while the caret's inversion is on the image (for tests).
BOOL TbIsCaretDrawn();
