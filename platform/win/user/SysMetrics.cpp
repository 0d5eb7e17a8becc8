// System metrics and colours.
#include <vector>
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowRecord.h"

namespace {
struct SysColors {
    COLORREF cr[TB_SYSCOLOR_COUNT] = {
        RGB(212, 208, 200), RGB(58, 110, 165), RGB(10, 36, 106), RGB(128, 128, 128), RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106), RGB(255, 255, 255),
        RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0), RGB(212, 208, 200),
        RGB(255, 255, 255), RGB(64, 64, 64), RGB(212, 208, 200), RGB(0, 0, 0), RGB(255, 255, 225),
        RGB(181, 181, 181), RGB(0, 0, 128), RGB(166, 202, 240), RGB(192, 192, 192), RGB(49, 106, 197),
        RGB(212, 208, 200)};
    HBRUSH brushes[TB_SYSCOLOR_COUNT] = {};
};
SysColors& Colors()
{
    static SysColors* s_pColors = new SysColors;
    return *s_pColors;
}
}

int GetSystemMetrics(int nIndex)
{
    SIZE screen = {1024, 768};
    TbGetDisplay()->GetScreenSize(&screen);
    static const struct { int nIndex; int nValue; } s_fixed[] = {
        {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}, {SM_CYCAPTION, 18}, {SM_CXBORDER, 1}, {SM_CYBORDER, 1},
        {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3}, {SM_CYVTHUMB, 16}, {SM_CXHTHUMB, 16}, {SM_CXICON, 32},
        {SM_CYICON, 32}, {SM_CXCURSOR, 32}, {SM_CYCURSOR, 32}, {SM_CYMENU, 19}, {SM_MOUSEPRESENT, 1},
        {SM_CYVSCROLL, 16}, {SM_CXHSCROLL, 16}, {SM_SWAPBUTTON, 0}, {SM_CXMIN, 112}, {SM_CYMIN, 27},
        {SM_CXSIZE, 18}, {SM_CYSIZE, 18}, {SM_CXFRAME, 4}, {SM_CYFRAME, 4}, {SM_CXMINTRACK, 112},
        {SM_CYMINTRACK, 27}, {SM_CXDOUBLECLK, 4}, {SM_CYDOUBLECLK, 4}, {SM_CXEDGE, 2}, {SM_CYEDGE, 2},
        {SM_CXSMICON, 16}, {SM_CYSMICON, 16}, {SM_CXDRAG, 4}, {SM_CYDRAG, 4}, {SM_CMONITORS, 1},
    };
    switch (nIndex) {
    case SM_CXSCREEN: case SM_CXMAXIMIZED: return screen.cx;
    case SM_CYSCREEN: case SM_CYMAXIMIZED: return screen.cy;
    case SM_CXFULLSCREEN: return screen.cx;
    case SM_CYFULLSCREEN: return screen.cy - 18;
    }
    for (const auto& m : s_fixed)
        if (m.nIndex == nIndex)
            return m.nValue;
    return 0;
}

COLORREF GetSysColor(int nIndex)
{
    return (nIndex >= 0 && nIndex < TB_SYSCOLOR_COUNT) ? Colors().cr[nIndex] : 0;
}

HBRUSH GetSysColorBrush(int nIndex)
{
    if (nIndex < 0 || nIndex >= TB_SYSCOLOR_COUNT)
        return nullptr;
    HBRUSH& hbr = Colors().brushes[nIndex];
    if (!TbGdiFindAs<TbBrush>(hbr, OBJ_BRUSH)) {
        auto pBrush = std::make_shared<TbBrush>();
        pBrush->cr = Colors().cr[nIndex];
        pBrush->bStock = TRUE;      // the program never deletes the system's brushes
        hbr = static_cast<HBRUSH>(TbGdiAdd(std::move(pBrush), OBJ_BRUSH));
    }
    return hbr;
}

BOOL SetSysColors(int cElements, const INT* pIndexes, const COLORREF* pValues)
{
    if (cElements < 0 || (cElements > 0 && (!pIndexes || !pValues)))
        return FALSE;
    for (int i = 0; i < cElements; ++i) {
        int nIndex = pIndexes[i];
        if (nIndex < 0 || nIndex >= TB_SYSCOLOR_COUNT)
            continue;
        Colors().cr[nIndex] = pValues[i] & 0xFFFFFF;
        if (TbBrush* pBrush = TbGdiFindAs<TbBrush>(Colors().brushes[nIndex], OBJ_BRUSH))
            pBrush->cr = pValues[i] & 0xFFFFFF;
    }
    std::vector<HWND> all = TbUser().topLevel;
    for (HWND h : all)
        SendMessageA(h, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}
