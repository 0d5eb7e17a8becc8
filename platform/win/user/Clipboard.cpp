// The clipboard: the process's formats and their owner, and the system clipboard through the
// display for text shared with other programs.
#include "platform/win/user/Clipboard.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include "platform/win/kernel/CodePage.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct ClipFormat {
    UINT uFormat;
    HANDLE hData;           // null: delayed, the owner renders it when asked
    UINT uCodePage;         // CF_TEXT: the page its bytes are in
};

struct ClipState {
    BOOL bOpen = FALSE;
    HWND hOpener = nullptr;
    HWND hOwner = nullptr;
    std::vector<ClipFormat> formats;    // in the order they were set
    BOOL bChanged = FALSE;              // emptied or set since it was opened: offer it anew at close
    // The contents are another program's (or nobody's yet): CF_TEXT comes from the display and
    // is kept in formats only as a copy read once.
    BOOL bExternal = TRUE;
    int nRendering = 0;                 // inside WM_RENDERFORMAT or WM_RENDERALLFORMATS
};

ClipState& State()
{
    static ClipState* s_pState = new ClipState;
    return *s_pState;
}

ClipFormat* Find(UINT uFormat)
{
    auto& formats = State().formats;
    auto it = std::find_if(formats.begin(), formats.end(), [uFormat](const ClipFormat& f) { return f.uFormat == uFormat; });
    return it == formats.end() ? nullptr : &*it;
}

// A bitmap is a GDI object, every other format a global memory block.
void FreeData(UINT uFormat, HANDLE hData)
{
    if (uFormat == CF_BITMAP)
        DeleteObject(static_cast<HGDIOBJ>(hData));
    else
        GlobalFree(hData);
}

void FreeFormats()
{
    for (const ClipFormat& f : State().formats)
        if (f.hData)
            FreeData(f.uFormat, f.hData);
    State().formats.clear();
}

void DropDelayed()
{
    auto& formats = State().formats;
    formats.erase(std::remove_if(formats.begin(), formats.end(), [](const ClipFormat& f) { return !f.hData; }),
                  formats.end());
}

// Tells the display what other programs may now read: the text when CF_TEXT is here.
void Offer()
{
    if (!State().bExternal)
        TbGetDisplay()->OfferClipboard(Find(CF_TEXT) != nullptr, Find(CF_BITMAP) != nullptr);
}

void Close()
{
    ClipState& s = State();
    s.bOpen = FALSE;
    s.hOpener = nullptr;
    if (s.bChanged) {
        s.bChanged = FALSE;
        Offer();
    }
}

// A window that went away without being destroyed through DestroyWindow still loses what it held.
void Prune()
{
    ClipState& s = State();
    if (s.hOwner && !IsWindow(s.hOwner)) {
        DropDelayed();
        s.hOwner = nullptr;
    }
    if (s.bOpen && s.hOpener && !IsWindow(s.hOpener))
        Close();
}

// Asks the owner to render a delayed format; SetClipboardData is open to it meanwhile.
void Render(UINT uMsg, UINT uFormat)
{
    ClipState& s = State();
    if (!s.hOwner)
        return;
    ++s.nRendering;
    SendMessageA(s.hOwner, uMsg, uFormat, 0);
    --s.nRendering;
}

std::string BlockText(HANDLE hData)
{
    const char* psz = static_cast<const char*>(GlobalLock(hData));
    if (!psz)
        return std::string();
    std::string text(psz, strnlen(psz, GlobalSize(hData)));
    GlobalUnlock(hData);
    return text;
}

std::string ReplaceAll(std::string text, const char* pszFrom, const char* pszTo)
{
    const size_t nFrom = strlen(pszFrom), nTo = strlen(pszTo);
    for (size_t nPos = text.find(pszFrom); nPos != std::string::npos; nPos = text.find(pszFrom, nPos + nTo))
        text.replace(nPos, nFrom, pszTo);
    return text;
}

BOOL HasExternalText()
{
    return Find(CF_TEXT) || TbGetDisplay()->GetClipboardText(nullptr);
}

// Another program's text as CF_TEXT, read from the display once and kept until the contents or
// the active code page change.
HANDLE ExternalText()
{
    if (ClipFormat* pFormat = Find(CF_TEXT)) {
        if (pFormat->uCodePage == GetACP())
            return pFormat->hData;
        FreeFormats();
    }
    std::string strUtf8;
    if (!TbGetDisplay()->GetClipboardText(&strUtf8))
        return nullptr;
    const std::string text = TbUtf8ToCodePage(ReplaceAll(ReplaceAll(strUtf8, "\r\n", "\n"), "\n", "\r\n"), CP_ACP);
    HGLOBAL hData = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* pData = static_cast<char*>(GlobalLock(hData));
    if (!pData) {
        GlobalFree(hData);
        return nullptr;
    }
    memcpy(pData, text.c_str(), text.size() + 1);
    GlobalUnlock(hData);
    State().formats.push_back({CF_TEXT, hData, GetACP()});
    return hData;
}

std::vector<UINT> AvailableFormats()
{
    std::vector<UINT> formats;
    if (State().bExternal) {
        if (HasExternalText())
            formats.push_back(CF_TEXT);
        return formats;
    }
    for (const ClipFormat& f : State().formats)
        formats.push_back(f.uFormat);
    return formats;
}

BOOL RefuseClosed()
{
    if (State().bOpen)
        return FALSE;
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return TRUE;
}
}  // namespace

BOOL OpenClipboard(HWND hWndNewOwner)
{
    if (!TbIsUiThread())
        return FALSE;
    Prune();
    ClipState& s = State();
    if (s.bOpen) {
        if (s.hOpener == hWndNewOwner)
            return TRUE;
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (hWndNewOwner && !IsWindow(hWndNewOwner)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    s.bOpen = TRUE;
    s.hOpener = hWndNewOwner;
    s.bChanged = FALSE;
    return TRUE;
}

BOOL CloseClipboard()
{
    Prune();
    if (RefuseClosed())
        return FALSE;
    Close();
    return TRUE;
}

HWND GetOpenClipboardWindow()
{
    Prune();
    return State().bOpen ? State().hOpener : nullptr;
}

BOOL EmptyClipboard()
{
    Prune();
    if (RefuseClosed())
        return FALSE;
    ClipState& s = State();
    // The owner hears it before its blocks go, and may still look at them.
    if (s.hOwner)
        SendMessageA(s.hOwner, WM_DESTROYCLIPBOARD, 0, 0);
    FreeFormats();
    s.hOwner = s.hOpener && IsWindow(s.hOpener) ? s.hOpener : nullptr;
    s.bExternal = FALSE;
    s.bChanged = TRUE;
    return TRUE;
}

HWND GetClipboardOwner()
{
    Prune();
    return State().hOwner;
}

HANDLE SetClipboardData(UINT uFormat, HANDLE hMem)
{
    Prune();
    ClipState& s = State();
    if (!s.bOpen && !s.nRendering) {
        SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
        return nullptr;
    }
    if (!uFormat || (!hMem && !s.hOwner)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (hMem && uFormat == CF_BITMAP) {
        if (GetObjectType(static_cast<HGDIOBJ>(hMem)) != OBJ_BITMAP) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
    } else if (hMem) {
        if (!GlobalLock(hMem)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        GlobalUnlock(hMem);
    }
    if (s.bExternal) {
        // Set without emptying first: the other program's text stays beside the new format.
        ExternalText();
        s.bExternal = FALSE;
    }
    ClipFormat* pFormat = Find(uFormat);
    if (!pFormat) {
        s.formats.push_back({uFormat, nullptr, 0});
        pFormat = &s.formats.back();
    }
    if (pFormat->hData && pFormat->hData != hMem)
        FreeData(uFormat, pFormat->hData);
    pFormat->hData = hMem;
    pFormat->uCodePage = GetACP();
    if (s.bOpen)
        s.bChanged = TRUE;
    return hMem;
}

HANDLE GetClipboardData(UINT uFormat)
{
    Prune();
    if (RefuseClosed())
        return nullptr;
    if (State().bExternal)
        return uFormat == CF_TEXT ? ExternalText() : nullptr;
    const ClipFormat* pFormat = Find(uFormat);
    if (pFormat && !pFormat->hData) {
        Render(WM_RENDERFORMAT, uFormat);
        pFormat = Find(uFormat);
    }
    return pFormat ? pFormat->hData : nullptr;
}

BOOL IsClipboardFormatAvailable(UINT uFormat)
{
    Prune();
    const std::vector<UINT> formats = AvailableFormats();
    return std::find(formats.begin(), formats.end(), uFormat) != formats.end();
}

int CountClipboardFormats()
{
    Prune();
    return static_cast<int>(AvailableFormats().size());
}

UINT EnumClipboardFormats(UINT uFormat)
{
    Prune();
    if (RefuseClosed())
        return 0;
    const std::vector<UINT> formats = AvailableFormats();
    auto it = uFormat == 0 ? formats.begin() : std::find(formats.begin(), formats.end(), uFormat);
    if (uFormat != 0 && it != formats.end())
        ++it;
    SetLastError(ERROR_SUCCESS);
    return it == formats.end() ? 0 : *it;
}

UINT RegisterClipboardFormatA(LPCSTR pszFormat)
{
    // One table with the registered messages, as on the original: a name means one number.
    return RegisterWindowMessageA(pszFormat);
}

void TbClipboardWindowDestroying(HWND hWnd)
{
    ClipState& s = State();
    if (!hWnd || s.hOwner != hWnd)
        return;
    const BOOL bDelayed = std::any_of(s.formats.begin(), s.formats.end(), [](const ClipFormat& f) { return !f.hData; });
    if (bDelayed)
        Render(WM_RENDERALLFORMATS, 0);
    DropDelayed();
    s.hOwner = nullptr;
    if (bDelayed) {
        if (s.bOpen)
            s.bChanged = TRUE;
        else
            Offer();
    }
}

void TbDisplayClipboardChanged()
{
    ClipState& s = State();
    if (!s.bExternal && s.hOwner)
        SendMessageA(s.hOwner, WM_DESTROYCLIPBOARD, 0, 0);
    FreeFormats();
    s.hOwner = nullptr;
    s.bExternal = TRUE;
    s.bChanged = FALSE;
}

BOOL TbDisplayClipboardText(std::string* pUtf8)
{
    if (State().bExternal || !Find(CF_TEXT))
        return FALSE;
    if (!Find(CF_TEXT)->hData)
        Render(WM_RENDERFORMAT, CF_TEXT);
    const ClipFormat* pFormat = Find(CF_TEXT);
    if (!pFormat || !pFormat->hData)
        return FALSE;
    if (pUtf8)
        *pUtf8 = TbCodePageToUtf8(ReplaceAll(BlockText(pFormat->hData), "\r\n", "\n"), pFormat->uCodePage);
    return TRUE;
}

BOOL TbDisplayClipboardImage(CTbPixelBuffer* pImage)
{
    if (State().bExternal || !Find(CF_BITMAP))
        return FALSE;
    if (!Find(CF_BITMAP)->hData)
        Render(WM_RENDERFORMAT, CF_BITMAP);
    const ClipFormat* pFormat = Find(CF_BITMAP);
    const TbBitmap* pBitmap = pFormat ? TbGdiFindAs<TbBitmap>(static_cast<HGDIOBJ>(pFormat->hData), OBJ_BITMAP) : nullptr;
    if (!pBitmap || pBitmap->bits.IsEmpty())
        return FALSE;
    if (pImage)
        *pImage = pBitmap->bits;
    return TRUE;
}
