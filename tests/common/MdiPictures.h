#pragma once
// The document windows of an MDI client as the display composes them, held against each window's
// own picture: the window and its children repainted whole, pictured alone and laid at the place
// the window has, in the stacking order the windows have. Each visible part must show its own
// window; a picture of another window, or an old picture of its own, shows as pixels that differ.
#include <cstdlib>
#include <string>
#include <algorithm>
#include <vector>
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/user/Display.h"

// With TB_MISDRAWN_DIR set, the pictures of a window that does not show its own are kept there.
inline void SaveMisdrawn(const CTbPixelBuffer& image, const std::string& strName)
{
    if (const char* pszDir = getenv("TB_MISDRAWN_DIR"); pszDir != nullptr && TbGetImageCodec() != nullptr)
        TbGetImageCodec()->SavePng(image, (std::string(pszDir) + "/" + strName + ".png").c_str());
}

// "" when every shown document window shows its own picture; else, for each that does not, its
// title and how many of its visible pixels differ, or what is wrong with its place.
inline std::string MisdrawnWindows(HWND hClient)
{
    // Paints already due are done first (a busy queue holds them back): what is compared is what
    // the windows drew, not when.
    RedrawWindow(hClient, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    CTbPixelBuffer composed;
    if (!TbQtPicture(hClient, &composed))
        return "the display shows no client";
    std::string strWrong;
    // The pixels the windows above cover.
    std::vector<char> covered(static_cast<size_t>(composed.Width()) * static_cast<size_t>(composed.Height()), 0);
    auto cover = [&](const RECT& r) {
        for (int y = std::max(0, static_cast<int>(r.top)); y < std::min(composed.Height(), static_cast<int>(r.bottom)); ++y)
            for (int x = std::max(0, static_cast<int>(r.left)); x < std::min(composed.Width(), static_cast<int>(r.right)); ++x)
                covered[static_cast<size_t>(y) * static_cast<size_t>(composed.Width()) + static_cast<size_t>(x)] = 1;
    };
    int nWindow = 0;
    for (HWND hChild = GetWindow(hClient, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!IsWindowVisible(hChild))
            continue;
        char szTitle[128] = {};
        GetWindowTextA(hChild, szTitle, sizeof szTitle);
        RECT rc;
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        RedrawWindow(hChild, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        CTbPixelBuffer own;
        RECT rcFrame = {};
        if (!TbQtPicture(hChild, &own, &rcFrame)) {
            strWrong += std::string(szTitle) + ": not on the display; ";
            continue;
        }
        const RECT rcOuter = {rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
        if (own.Width() != rcOuter.right - rcOuter.left || own.Height() != rcOuter.bottom - rcOuter.top) {
            strWrong += std::string(szTitle) + ": shown " + std::to_string(own.Width()) + "x" + std::to_string(own.Height()) +
                        " for " + std::to_string(rcOuter.right - rcOuter.left) + "x" +
                        std::to_string(rcOuter.bottom - rcOuter.top) + "; ";
            cover(rcOuter);
            continue;
        }
        // The client's pixels; the frame is the display's own drawing (a minimised window has no client).
        long nDiffering = 0;
        for (int y = std::max(0, static_cast<int>(rc.top)); y < std::min(composed.Height(), static_cast<int>(rc.bottom)); ++y)
            for (int x = std::max(0, static_cast<int>(rc.left)); x < std::min(composed.Width(), static_cast<int>(rc.right)) && !IsIconic(hChild); ++x)
                if (!covered[static_cast<size_t>(y) * static_cast<size_t>(composed.Width()) + static_cast<size_t>(x)] &&
                    composed.Row(y)[x] != own.Row(y - rcOuter.top)[x - rcOuter.left])
                    ++nDiffering;
        if (nDiffering > 0) {
            strWrong += std::string(szTitle) + " at " + std::to_string(rcOuter.left) + "," + std::to_string(rcOuter.top) + ": " +
                        std::to_string(nDiffering) + " pixels not its own; ";
            SaveMisdrawn(own, "own-" + std::to_string(nWindow));
        }
        cover(rcOuter);
        ++nWindow;
    }
    if (!strWrong.empty())
        SaveMisdrawn(composed, "composed");
    return strWrong;
}

// What a cascade leaves in view: "" when the active window is the topmost and the front one (no
// window's caption lies lower) and each shown document window's caption shows where it starts (a
// square of the title bar's height at its left end, its icon and the start of its title) under
// the windows above it; else what is hidden.
inline std::string HiddenInCascade(HWND hClient)
{
    RECT rcFrame = {};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    const int nTitle = std::max(1, static_cast<int>(rcFrame.top));
    const HWND hActive = reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0));
    std::string strHidden;
    std::vector<RECT> above;
    int nFrontTop = -1;
    for (HWND hChild = GetWindow(hClient, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!IsWindowVisible(hChild) || IsIconic(hChild))
            continue;
        char szTitle[128] = {};
        GetWindowTextA(hChild, szTitle, sizeof szTitle);
        if (above.empty() && hChild != hActive)
            strHidden += std::string(szTitle) + " is over the active window; ";
        RECT rc;
        GetWindowRect(hChild, &rc);
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rc), 2);
        const RECT rcOuter = {rc.left - rcFrame.left, rc.top - rcFrame.top, rc.right + rcFrame.right, rc.bottom + rcFrame.bottom};
        const RECT rcStart = {rcOuter.left, rcOuter.top, rcOuter.left + nTitle, rcOuter.top + nTitle};
        for (const RECT& r : above)
            if (r.left < rcStart.right && rcStart.left < r.right && r.top < rcStart.bottom && rcStart.top < r.bottom) {
                strHidden += std::string(szTitle) + ": caption covered; ";
                break;
            }
        nFrontTop = std::max(nFrontTop, static_cast<int>(rcOuter.top));
        above.push_back(rcOuter);
    }
    RECT rcActive = {};
    if (hActive != nullptr && GetWindowRect(hActive, &rcActive)) {
        MapWindowPoints(nullptr, hClient, reinterpret_cast<POINT*>(&rcActive), 2);
        if (rcActive.top - rcFrame.top < nFrontTop)
            strHidden += "the active window is not the front one; ";
    }
    return strHidden;
}
