// Message boxes: the button sets and their default and escape answers, the answer with nobody to
// ask, the sound, and the wait in the modal loop while the queue keeps running.
#include <gtest/gtest.h>
#include "FakeDisplay.h"
#include "WindowTestSupport.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

TEST(MessageBox, WithNobodyToAskTheDefaultButtonAnswers)
{
    TbClearTestAnswers();
    static const struct { UINT uType; int nAnswer; } s_cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE, IDABORT},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
        {MB_RETRYCANCEL, IDRETRY},
        {MB_OKCANCEL | MB_DEFBUTTON3, IDOK},        // past the last button: the first
        {MB_YESNO | MB_RIGHT | MB_RTLREADING | MB_ICONHAND, IDYES},
    };
    for (const auto& c : s_cases)
        EXPECT_EQ(c.nAnswer, MessageBoxA(nullptr, "Text", "Caption", c.uType)) << std::hex << c.uType;
    SetLastError(0);
    EXPECT_EQ(0, MessageBoxA(nullptr, "Text", "Caption", 6));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MSGBOX_STYLE), GetLastError());
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDRETRY, ""});
    EXPECT_EQ(IDRETRY, MessageBoxA(nullptr, "Text", "Caption", MB_RETRYCANCEL));
}

TEST(MessageBox, TellsTheDisplayItsButtonsIconAndReadingOrder)
{
    CFakeDisplay display;
    TbClearTestAnswers();
    // The person answers from a timer while the box is open.
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        TheFakeDisplay()->m_pMessageBox->nAnswer = IDNO;
        TheFakeDisplay()->m_pOpen->Answer();
    });
    EXPECT_EQ(IDNO, MessageBoxA(nullptr, "\xD3\xDA\xD1", nullptr, MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_RIGHT));
    const TBMESSAGEBOXQUESTION* p = &display.m_box;
    EXPECT_EQ((std::vector<int>{IDYES, IDNO, IDCANCEL}), p->buttons);
    EXPECT_EQ(IDNO, p->nDefault);
    EXPECT_EQ(IDCANCEL, p->nEscape);
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION), p->uIcon);
    EXPECT_TRUE(p->bRight);
    EXPECT_FALSE(p->bRtl);
    EXPECT_EQ("Error", p->strCaption);              // the original's caption for none
    EXPECT_EQ((std::vector<UINT>{MB_ICONQUESTION}), display.m_beeps);
    EXPECT_EQ(nullptr, display.m_pOpen);             // off the screen once answered

    // Each icon its own sound; a box without an icon the plain one.
    display.m_beeps.clear();
    for (UINT uIcon : {0u, static_cast<UINT>(MB_ICONSTOP), static_cast<UINT>(MB_ICONWARNING), static_cast<UINT>(MB_ICONINFORMATION)}) {
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
        MessageBoxA(nullptr, "", "", MB_OK | uIcon);
    }
    EXPECT_EQ((std::vector<UINT>{MB_OK, MB_ICONHAND, MB_ICONEXCLAMATION, MB_ICONASTERISK}), display.m_beeps);
}

TEST(MessageBox, TheQueueRunsWhileItIsOpenAndTheOwnerWaits)
{
    CFakeDisplay display;
    TbClearTestAnswers();
    HWND hOwner = CreateTestWindow();
    HWND hChild = CreateTestWindow(hOwner, WS_CHILD | WS_VISIBLE, 4);
    CMessageLog::Get().Clear();
    PostMessageA(hOwner, WM_USER + 1, 0, 0);
    SetTimer(hOwner, 7, 10, nullptr);
    // A test's answer queued while the box is open closes it, as the person would.
    static HWND s_hOwner;
    static BOOL s_bOwnerEnabled;
    s_hOwner = hOwner;
    s_bOwnerEnabled = TRUE;
    SetTimer(nullptr, 0, 40, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        s_bOwnerEnabled = IsWindowEnabled(s_hOwner);
        PostMessageA(s_hOwner, WM_USER + 2, 0, 0);
        SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId2, DWORD) {
            KillTimer(nullptr, nId2);
            TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDCANCEL, ""});
        });
    });
    EXPECT_EQ(IDCANCEL, MessageBoxA(hChild, "Sure?", "Question", MB_OKCANCEL));
    KillTimer(hOwner, 7);
    EXPECT_EQ(1, display.m_nAsked);
    EXPECT_EQ(nullptr, display.m_pOpen);
    EXPECT_TRUE(IsWindowEnabled(hOwner));
    EXPECT_FALSE(s_bOwnerEnabled);                   // the child's top-level window waited
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_USER + 1, hOwner));
    EXPECT_GE(CMessageLog::Get().Count(WM_TIMER, hOwner), 1);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_USER + 2, hOwner));
    EXPECT_EQ(0, TbPendingTestAnswers());

    // A quit closes the box with its escape answer, or 0 where Escape does nothing; the quit
    // goes on to the loop outside.
    for (UINT uType : {static_cast<UINT>(MB_OK), static_cast<UINT>(MB_YESNO)}) {
        PostQuitMessage(9);
        EXPECT_EQ(uType == MB_OK ? IDOK : 0, MessageBoxA(hOwner, "Bye", "", uType));
        MSG msg;
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(9u, msg.wParam);
    }
    DestroyWindow(hOwner);
}
