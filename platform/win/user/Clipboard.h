#pragma once
// The clipboard: one set of formats, each a global memory block (GlobalAlloc) that the clipboard
// owns once it is set, or "delayed": no data yet, the owner window renders it on WM_RENDERFORMAT
// when someone asks. One window at a time has it open; the opener that empties it becomes the
// owner, and the previous owner hears WM_DESTROYCLIPBOARD.
//
// CF_TEXT is text in the active code page. The display offers it to other programs as Unicode
// (CR LF as LF), and text another program put there reads back as CF_TEXT in the active code
// page (LF as CR LF; a character the page lacks becomes '?'). Other formats stay in the process.
// CF_BITMAP is an HBITMAP, which the clipboard owns (and deletes) once it is set; other programs
// are offered it as a picture.
// Without a display the clipboard works the same inside the process.
#include "platform/win/WinTypes.h"

#define CF_TEXT 1
#define CF_BITMAP 2

#define ERROR_CLIPBOARD_NOT_OPEN 1418

// Opening. FALSE while another window has it open (a window that opens it again keeps it);
// hWndNewOwner may be null. CloseClipboard is FALSE when it was not open.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
HWND GetOpenClipboardWindow();
// Frees every format, sends WM_DESTROYCLIPBOARD to the owner there was (itself included) and makes
// the opener the owner. FALSE unless open.
BOOL EmptyClipboard();
HWND GetClipboardOwner();

// Data. The clipboard must be open, except that an owner asked to render (WM_RENDERFORMAT,
// WM_RENDERALLFORMATS) sets its data without opening. A null hMem offers the format for delayed
// rendering, which needs an owner. The block replaces the format's old one (freed) and belongs to
// the clipboard: the caller must not free it. The handle back, null on failure.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// Open only. A delayed format is rendered first; null when it is absent or was not rendered.
// The block stays the clipboard's.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT uFormat);
int  CountClipboardFormats();
// Open only: the format after uFormat in the order they were set (0 starts), 0 after the last.
UINT EnumClipboardFormats(UINT uFormat);
// 0xC000..0xFFFF; the same name (compared without case) gives the same id. 0 for an empty name.
UINT RegisterClipboardFormatA(LPCSTR pszFormat);

// Inside the window manager: a window is about to get WM_DESTROY. An owner with formats still
// delayed renders them now (WM_RENDERALLFORMATS); what it leaves unrendered is gone.
void TbClipboardWindowDestroying(HWND hWnd);
