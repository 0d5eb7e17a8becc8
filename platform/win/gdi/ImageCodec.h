#pragma once
// Reading and writing image files, implemented by the display (Qt's codecs). Without a display
// no file can be read or written.
#include "platform/win/WinTypes.h"

class CTbPixelBuffer;

struct ITbImageCodec {
    virtual ~ITbImageCodec() = default;
    // Fills the buffer with the image's pixels; transparent pixels are reported in the mask
    // (white where transparent) when one is given. FALSE when the file cannot be read.
    virtual BOOL Load(LPCSTR pszPath, CTbPixelBuffer* pImage, CTbPixelBuffer* pMask) = 0;
    virtual BOOL SavePng(const CTbPixelBuffer& image, LPCSTR pszPath) = 0;
};
void TbSetImageCodec(ITbImageCodec* pCodec);
ITbImageCodec* TbGetImageCodec();

// Writes a bitmap, or a window as it shows (its backing image with its visible child windows
// drawn over it), as a PNG file. FALSE without a codec or pixels.
BOOL TbSaveBitmapPng(HBITMAP hBitmap, LPCSTR pszPath);
BOOL TbSaveWindowPng(HWND hWnd, LPCSTR pszPath);
// The window as the display shows it with the open popup menu, and the submenus open from it,
// drawn over it where they show: what a person sees while a menu is open. The number of menus
// drawn, -1 when nothing could be written.
int  TbSaveScreenPng(HWND hWnd, LPCSTR pszPath);
