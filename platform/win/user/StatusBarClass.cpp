// The "msctls_statusbar32" class: a bar of parts, each with a text or drawn by the parent
// (SBT_OWNERDRAW: WM_DRAWITEM with the part's index as item and its data as item data).
#include <cstring>
#include <string>
#include <vector>

#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/ControlInternal.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int MAX_PARTS = 256;
const int BORDER_TOP = 2;       // between the bar's edge and its parts
const int PART_GAP = 2;         // between two parts
const int TEXT_MARGIN = 2;      // inside a part's frame

struct TbStatusPart {
    int nRight = -1;            // its right edge; -1 runs to the bar's end
    std::string strText;
    UINT uType = 0;             // SBT_ flags
    LPARAM lData = 0;           // an owner-drawn part's data
};

struct TbStatusBarState : TbControlState {
    std::vector<TbStatusPart> parts = std::vector<TbStatusPart>(1);
    int nMinHeight = 0;
};

TbStatusBarState* State(HWND hWnd)
{
    return TbClassStateOf<TbStatusBarState>(hWnd);
}

BOOL PartRect(HWND hWnd, const TbStatusBarState* p, size_t nPart, RECT* pRect)
{
    if (!p || nPart >= p->parts.size())
        return FALSE;
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    const int nLeft = nPart == 0 ? 0 : p->parts[nPart - 1].nRight + PART_GAP;
    const int nRight = p->parts[nPart].nRight < 0 ? rcClient.right : p->parts[nPart].nRight;
    RECT rc = {nLeft, BORDER_TOP, nRight < nLeft ? nLeft : nRight, rcClient.bottom};
    if (GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING))
        rc = {rcClient.right - rc.right, rc.top, rcClient.right - rc.left, rc.bottom};
    *pRect = rc;
    return TRUE;
}

// A text part: up to the first tab at the start, between the tabs centred, after the second at
// the end (the start being the right in a right-to-left bar).
void DrawPartText(HWND hWnd, HDC hdc, const TbStatusPart& part, RECT rc)
{
    InflateRect(&rc, -TEXT_MARGIN, -1);
    const UINT uRtl = TbTextFlags(hWnd) | ((part.uType & SBT_RTLREADING) ? DT_RTLREADING : 0);
    const BOOL bRtl = (GetWindowLongA(hWnd, GWL_EXSTYLE) & (WS_EX_LAYOUTRTL | WS_EX_RTLREADING)) != 0;
    static const UINT s_align[3] = {DT_LEFT, DT_CENTER, DT_RIGHT};
    size_t nStart = 0;
    for (int nField = 0; nField < 3 && nStart <= part.strText.size(); ++nField) {
        size_t nEnd = part.strText.find('\t', nStart);
        if (nField == 2 || nEnd == std::string::npos)
            nEnd = part.strText.size();
        UINT uAlign = s_align[nField];
        if (bRtl && nField != 1)
            uAlign = s_align[2 - nField];
        DrawTextA(hdc, part.strText.data() + nStart, static_cast<int>(nEnd - nStart), &rc,
                  uAlign | uRtl | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
        nStart = nEnd + 1;
    }
}

LRESULT OnPaint(HWND hWnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hWnd, &ps);
    if (!hdc)
        return 0;
    RECT rcClient;
    GetClientRect(hWnd, &rcClient);
    FillRect(hdc, &rcClient, GetSysColorBrush(COLOR_BTNFACE));
    const TbStatusBarState* p = State(hWnd);
    const HFONT hFont = TbControlFont(p);
    const int idCtl = GetDlgCtrlID(hWnd);
    for (size_t i = 0; p && i < p->parts.size(); ++i) {
        RECT rc;
        if (!PartRect(hWnd, p, i, &rc) || rc.right <= rc.left)
            continue;
        const TbStatusPart part = p->parts[i];      // the parent may change the parts as it draws
        if (!(part.uType & SBT_NOBORDERS))
            TbDrawFrame3D(hdc, rc, !(part.uType & SBT_POPOUT));
        RECT rcInner = rc;
        InflateRect(&rcInner, -1, -1);
        const int nSaved = SaveDC(hdc);
        SelectObject(hdc, hFont);
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
        if (part.uType & SBT_OWNERDRAW) {
            DRAWITEMSTRUCT dis = {0, static_cast<UINT>(idCtl), static_cast<UINT>(i), ODA_DRAWENTIRE, 0, hWnd, hdc,
                                  rcInner, static_cast<ULONG_PTR>(part.lData)};
            SendMessageA(GetParent(hWnd), WM_DRAWITEM, static_cast<WPARAM>(idCtl), reinterpret_cast<LPARAM>(&dis));
        } else {
            DrawPartText(hWnd, hdc, part, rcInner);
        }
        RestoreDC(hdc, nSaved);
        if (!(p = TbFindClassState<TbStatusBarState>(hWnd)))
            break;
    }
    EndPaint(hWnd, &ps);
    return 0;
}

void InvalidatePart(HWND hWnd, const TbStatusBarState* p, size_t nPart)
{
    RECT rc;
    if (PartRect(hWnd, p, nPart, &rc))
        InvalidateRect(hWnd, &rc, TRUE);
}

LRESULT OnSetText(HWND hWnd, WPARAM wParam, LPARAM lParam)
{
    TbStatusBarState* p = State(hWnd);
    const size_t nPart = wParam & 0xFF;
    if (!p || nPart >= p->parts.size())
        return FALSE;
    TbStatusPart& part = p->parts[nPart];
    part.uType = static_cast<UINT>(wParam & 0xFF00);
    if (part.uType & SBT_OWNERDRAW) {
        part.lData = lParam;
        part.strText.clear();
    } else {
        const char* pszText = reinterpret_cast<const char*>(lParam);
        part.strText = pszText ? pszText : "";
        part.lData = 0;
    }
    InvalidatePart(hWnd, p, nPart);
    return TRUE;
}

// SB_GETTEXTA and SB_GETTEXTLENGTHA: the length in the low word and the type in the high one;
// an owner-drawn part answers its data.
LRESULT OnGetText(HWND hWnd, WPARAM wPart, LPSTR pszBuffer, BOOL bCopy)
{
    const TbStatusBarState* p = State(hWnd);
    if (!p || wPart >= p->parts.size())
        return 0;
    const TbStatusPart& part = p->parts[wPart];
    if (part.uType & SBT_OWNERDRAW)
        return part.lData;
    if (bCopy && pszBuffer) {
        std::memcpy(pszBuffer, part.strText.c_str(), part.strText.size() + 1);
    }
    return MAKELONG(part.strText.size(), part.uType);
}

LRESULT OnSetParts(HWND hWnd, WPARAM wCount, LPARAM lParam)
{
    TbStatusBarState* p = State(hWnd);
    const int* pnEdges = reinterpret_cast<const int*>(lParam);
    if (!p || !pnEdges || wCount == 0 || wCount > MAX_PARTS)
        return FALSE;
    p->parts.resize(wCount);
    for (size_t i = 0; i < wCount; ++i)
        p->parts[i].nRight = pnEdges[i];
    InvalidateRect(hWnd, nullptr, TRUE);
    return TRUE;
}

LRESULT OnGetParts(HWND hWnd, WPARAM wCount, LPARAM lParam)
{
    const TbStatusBarState* p = State(hWnd);
    if (!p)
        return 0;
    int* pnEdges = reinterpret_cast<int*>(lParam);
    for (size_t i = 0; pnEdges && i < wCount && i < p->parts.size(); ++i)
        pnEdges[i] = p->parts[i].nRight;
    return static_cast<LRESULT>(p->parts.size());
}

LRESULT OnGetBorders(LPARAM lParam)
{
    if (int* pn = reinterpret_cast<int*>(lParam)) {
        pn[0] = 0;
        pn[1] = BORDER_TOP;
        pn[2] = PART_GAP;
        return TRUE;
    }
    return FALSE;
}

LRESULT OnGetRect(HWND hWnd, WPARAM wPart, LPARAM lParam)
{
    RECT* pRect = reinterpret_cast<RECT*>(lParam);
    return pRect && PartRect(hWnd, State(hWnd), wPart, pRect);
}
}  // namespace

LRESULT CALLBACK TbStatusBarWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_NCCREATE:        return TbControlNcCreate(hWnd, State(hWnd) != nullptr, wParam, lParam);
    case WM_PAINT:           return OnPaint(hWnd);
    case WM_ERASEBKGND:      return 1;
    case WM_SIZE:            InvalidateRect(hWnd, nullptr, TRUE); return 0;
    case WM_SETFONT:         return TbControlSetFont(hWnd, State(hWnd), reinterpret_cast<HFONT>(wParam), LOWORD(lParam));
    case WM_GETFONT:         return TbControlGetFont(State(hWnd));
    case SB_SETTEXTA:        return OnSetText(hWnd, wParam, lParam);
    case SB_GETTEXTA:        return OnGetText(hWnd, wParam, reinterpret_cast<LPSTR>(lParam), TRUE);
    case SB_GETTEXTLENGTHA:  return OnGetText(hWnd, wParam, nullptr, FALSE);
    case SB_SETPARTS:        return OnSetParts(hWnd, wParam, lParam);
    case SB_GETPARTS:        return OnGetParts(hWnd, wParam, lParam);
    case SB_GETBORDERS:      return OnGetBorders(lParam);
    case SB_GETRECT:         return OnGetRect(hWnd, wParam, lParam);
    case SB_SETMINHEIGHT:    if (State(hWnd)) State(hWnd)->nMinHeight = static_cast<int>(wParam); return 0;
    case SB_SIMPLE:          return FALSE;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
