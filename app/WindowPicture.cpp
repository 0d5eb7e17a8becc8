#include "app/WindowPicture.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/Window.h"

BOOL CopyWindowPicture(HWND hWnd, HWND hOwner, BOOL bEmpty)
{
    RECT rc;
    if (!::GetWindowRect(hWnd, &rc))
        return FALSE;
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hdcWindow = ::GetWindowDC(hWnd);
    HDC hdcMem = CreateCompatibleDC(hdcWindow);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcWindow, cx, cy);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdcMem, 0, 0, cx, cy, hdcWindow, 0, 0, SRCCOPY);
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    ::ReleaseDC(hWnd, hdcWindow);
    if (!OpenClipboard(hOwner)) {
        DeleteObject(hBitmap);
        return FALSE;
    }
    if (bEmpty)
        EmptyClipboard();
    SetClipboardData(CF_BITMAP, hBitmap);   // the clipboard owns it now
    CloseClipboard();
    return TRUE;
}
