#include "OrderDialogSteps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <deque>

#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"

namespace order_steps {
namespace {
std::deque<STEP> s_steps;
UINT_PTR s_nTimer = 0;
int s_nIdleTicks = 0;
const int MAX_IDLE_TICKS = 600;         // 3 s of 5 ms ticks

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hActive = GetActiveWindow();
    if (s_steps.empty() || !hActive || !GetDlgItem(hActive, s_steps.front().nMarkId)) {
        if (++s_nIdleTicks > MAX_IDLE_TICKS && hActive != nullptr && GetDlgItem(hActive, IDOK) != nullptr) {
            ADD_FAILURE() << (s_steps.empty() ? "the dialog stayed open after its last step" : "a step's dialog never came");
            s_steps.clear();
            EndDialog(hActive, -2);
            s_nIdleTicks = 0;
        }
        return;
    }
    s_nIdleTicks = 0;
    STEP step = std::move(s_steps.front());
    s_steps.pop_front();
    step.fn(hActive);
}

void Key(UINT uMsg, UINT nKey, LPCSTR pszChars)
{
    TbDisplayKey(uMsg, nKey, MAKELPARAM(1, uMsg == WM_KEYUP ? KF_UP | KF_REPEAT : 0), pszChars);
}
}  // namespace

void RunSteps(std::vector<STEP> steps)
{
    s_steps.assign(steps.begin(), steps.end());
    s_nIdleTicks = 0;
    if (s_nTimer == 0)
        s_nTimer = SetTimer(nullptr, 0, 5, StepTimer);
}

bool Finished()
{
    return s_steps.empty();
}

void Clear()
{
    s_steps.clear();
    if (s_nTimer != 0)
        KillTimer(nullptr, s_nTimer);
    s_nTimer = 0;
}

void TypeText(const char* pszText)
{
    for (const char* p = pszText; *p != '\0'; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        const bool bShift = isupper(ch) || ch == '|';
        const UINT nKey = isalpha(ch) ? static_cast<UINT>(toupper(ch)) : ch == '|' ? VK_OEM_5 : static_cast<UINT>(ch);
        if (bShift)
            Key(WM_KEYDOWN, VK_SHIFT, nullptr);
        const char szChar[2] = {*p, '\0'};
        Key(WM_KEYDOWN, nKey, szChar);
        Key(WM_KEYUP, nKey, nullptr);
        if (bShift)
            Key(WM_KEYUP, VK_SHIFT, nullptr);
    }
}

void PressKey(UINT nKey)
{
    Key(WM_KEYDOWN, nKey, nKey == VK_RETURN ? "\r" : nKey == VK_ESCAPE ? "\x1b" : nullptr);
    Key(WM_KEYUP, nKey, nullptr);
}

void Click(HWND hDlg, int nId)
{
    HWND hControl = GetDlgItem(hDlg, nId);
    ASSERT_NE(nullptr, hControl) << nId;
    POINT pt = {3, 3};
    ClientToScreen(hControl, &pt);
    TbDisplayMouse(hControl, WM_MOUSEMOVE, 0, pt);
    TbDisplayMouse(hControl, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    TbDisplayMouse(hControl, WM_LBUTTONUP, 0, pt);
}

std::string Text(HWND hDlg, int nId)
{
    char sz[1024] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof sz);
    return sz;
}

int Focused(HWND hDlg)
{
    HWND hFocus = GetFocus();
    return hFocus != nullptr && GetParent(hFocus) == hDlg ? GetDlgCtrlID(hFocus) : 0;
}

bool Visible(HWND hDlg, int nId)
{
    HWND hControl = GetDlgItem(hDlg, nId);
    return hControl != nullptr && (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Shoot(HWND hDlg, const std::string& strName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    UpdateWindow(hDlg);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return TbSaveWindowPng(hDlg, (strDir + "/" + strName + ".png").c_str()) != FALSE;
}

}  // namespace order_steps
