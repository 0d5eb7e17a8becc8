#include "tests/common/DialogSteps.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cctype>
#include <deque>
#include <string>

#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
std::deque<DIALOG_STEP> s_steps;
UINT_PTR s_nTimer = 0;
int s_nIdleTicks = 0;
const int MAX_IDLE_TICKS = 600;         // 3 s of 5 ms ticks

bool IsDialog(HWND hWnd)
{
    return GetDlgItem(hWnd, IDOK) != nullptr || GetDlgItem(hWnd, IDCANCEL) != nullptr;
}

// An enabled dialog on screen, active or not: a modal dialog the trader cannot type in is as
// stuck as one nobody answers.
HWND OpenDialog(HWND hActive)
{
    if (hActive != nullptr && IsDialog(hActive))
        return hActive;
    HWND hFound = nullptr;
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (!IsWindowVisible(hWnd) || !IsWindowEnabled(hWnd) || !IsDialog(hWnd))
                return TRUE;
            *reinterpret_cast<HWND*>(lParam) = hWnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

std::string Caption(HWND hWnd)
{
    char szCaption[256] = "";
    if (hWnd != nullptr)
        GetWindowTextA(hWnd, szCaption, sizeof szCaption);
    return szCaption;
}

void CALLBACK StepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    HWND hActive = GetActiveWindow();
    if (s_steps.empty() || !hActive || !GetDlgItem(hActive, s_steps.front().nMarkId)) {
        // A dialog that stays open with nothing left to do, or a step whose dialog never comes,
        // ends the run: the test fails instead of waiting for ever. Only a dialog is ended, never
        // the frame a logged-in terminal shows between dialogs.
        HWND hDialog = nullptr;
        if (++s_nIdleTicks > MAX_IDLE_TICKS && (hDialog = OpenDialog(hActive)) != nullptr) {
            ADD_FAILURE() << (hDialog != hActive ? "a dialog open but not active"
                              : s_steps.empty()  ? "the dialog stayed open after its last step"
                                                 : "a step's dialog never came")
                          << ": \"" << Caption(hDialog) << "\", the active window \"" << Caption(hActive) << "\"";
            s_steps.clear();
            EndDialog(hDialog, -2);
            s_nIdleTicks = 0;
        }
        return;
    }
    s_nIdleTicks = 0;
    DIALOG_STEP step = std::move(s_steps.front());
    s_steps.pop_front();
    step.fn(hActive);
}

// The virtual key that types a character on a US keyboard, and whether Shift is down for it.
UINT KeyOf(char ch, bool* pbShift)
{
    *pbShift = isupper(static_cast<unsigned char>(ch)) || ch == '|';
    if (isalpha(static_cast<unsigned char>(ch)))
        return static_cast<UINT>(toupper(static_cast<unsigned char>(ch)));
    if (isdigit(static_cast<unsigned char>(ch)) || ch == ' ')
        return static_cast<UINT>(ch);
    if (ch == '|')
        return VK_OEM_5;
    return VK_OEM_PERIOD;
}

void Key(UINT uMsg, UINT nKey, LPCSTR pszChars)
{
    TbDisplayKey(uMsg, nKey, MAKELPARAM(1, uMsg == WM_KEYUP ? KF_UP | KF_REPEAT : 0), pszChars);
}
}  // namespace

void RunDialogSteps(std::vector<DIALOG_STEP> steps)
{
    s_steps.assign(steps.begin(), steps.end());
    s_nIdleTicks = 0;
    if (s_nTimer == 0)
        s_nTimer = SetTimer(nullptr, 0, 5, StepTimer);
}

bool FinishedSteps()
{
    return s_steps.empty();
}

void ClearDialogSteps()
{
    s_steps.clear();
    if (s_nTimer != 0)
        KillTimer(nullptr, s_nTimer);
    s_nTimer = 0;
}

void TypeText(const char* pszText)
{
    for (const char* p = pszText; *p != '\0'; ++p) {
        bool bShift = false;
        const UINT nKey = KeyOf(*p, &bShift);
        if (bShift)
            Key(WM_KEYDOWN, VK_SHIFT, nullptr);
        const char szChar[2] = {*p, '\0'};
        Key(WM_KEYDOWN, nKey, szChar);
        Key(WM_KEYUP, nKey, nullptr);
        if (bShift)
            Key(WM_KEYUP, VK_SHIFT, nullptr);
    }
}

void TypeDisplayText(const char* pszUtf8)
{
    for (const char* p = pszUtf8; *p != '\0';) {
        // One character's bytes, as the display hands over what a key typed.
        size_t n = 1;
        while ((static_cast<unsigned char>(p[n]) & 0xC0) == 0x80)
            ++n;
        const std::string strChar(p, n);
        p += n;
        // An Arabic keyboard's digit lies on the digit key of its value.
        UINT nKey = VK_OEM_PERIOD;
        if (n == 1 && isdigit(static_cast<unsigned char>(strChar[0])))
            nKey = static_cast<UINT>(strChar[0]);
        else if (n == 2 && ((strChar[0] == '\xD9' && (strChar[1] & 0xF0) == 0xA0) ||
                            (strChar[0] == '\xDB' && (strChar[1] & 0xF0) == 0xB0)))
            nKey = '0' + (static_cast<unsigned char>(strChar[1]) & 0x0F);
        TbDisplayKeyText(WM_KEYDOWN, nKey, MAKELPARAM(1, 0), strChar.c_str());
        Key(WM_KEYUP, nKey, nullptr);
    }
}

void PressKey(UINT nKey, bool bShift)
{
    if (bShift)
        Key(WM_KEYDOWN, VK_SHIFT, nullptr);
    Key(WM_KEYDOWN, nKey, nKey == VK_RETURN ? "\r" : nKey == VK_ESCAPE ? "\x1b" : nKey == VK_TAB ? "\t" : nullptr);
    Key(WM_KEYUP, nKey, nullptr);
    if (bShift)
        Key(WM_KEYUP, VK_SHIFT, nullptr);
}

void PressCtrlKey(char chLetter)
{
    const UINT nKey = static_cast<UINT>(toupper(static_cast<unsigned char>(chLetter)));
    const char szChar[2] = {static_cast<char>(nKey - 'A' + 1), '\0'};
    Key(WM_KEYDOWN, VK_CONTROL, nullptr);
    Key(WM_KEYDOWN, nKey, szChar);
    Key(WM_KEYUP, nKey, nullptr);
    Key(WM_KEYUP, VK_CONTROL, nullptr);
}

void ClickControl(HWND hDlg, int nId)
{
    HWND hControl = GetDlgItem(hDlg, nId);
    ASSERT_NE(nullptr, hControl) << nId;
    POINT pt = {3, 3};
    ClientToScreen(hControl, &pt);
    TbDisplayMouse(hControl, WM_MOUSEMOVE, 0, pt);
    TbDisplayMouse(hControl, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    TbDisplayMouse(hControl, WM_LBUTTONUP, 0, pt);
}

void NotifyControl(HWND hDlg, int nId, int nCode)
{
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, nCode), reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

void ChooseItem(HWND hDlg, int nId, const std::string& strText)
{
    const LRESULT nItem = SendDlgItemMessageA(hDlg, nId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                              reinterpret_cast<LPARAM>(strText.c_str()));
    ASSERT_NE(CB_ERR, nItem) << strText << " in box " << nId;
    SendDlgItemMessageA(hDlg, nId, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
    NotifyControl(hDlg, nId, CBN_SELCHANGE);
}

void EnterText(HWND hDlg, int nId, const std::string& strText)
{
    SetDlgItemTextA(hDlg, nId, strText.c_str());
    NotifyControl(hDlg, nId, EN_KILLFOCUS);
}

std::string ControlText(HWND hDlg, int nId)
{
    char sz[1024] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof sz);
    return sz;
}

bool ControlVisible(HWND hDlg, int nId)
{
    HWND hControl = GetDlgItem(hDlg, nId);
    return hControl != nullptr && (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
}

int FocusedControl(HWND hDlg)
{
    HWND hFocus = GetFocus();
    return hFocus != nullptr && GetParent(hFocus) == hDlg ? GetDlgCtrlID(hFocus) : 0;
}

bool SaveDialogScreenshot(HWND hDlg, const std::string& strName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    ShowWindow(hDlg, SW_SHOW);
    UpdateWindow(hDlg);
    // The controls paint from their own queued messages.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    const std::string strPath = strDir + "/" + strName + ".png";
    return TbSaveWindowPng(hDlg, strPath.c_str()) != FALSE;
}
