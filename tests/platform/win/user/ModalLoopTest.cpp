// The layer's modal loop, the accelerator table object and the queue of test answers.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "WindowTestSupport.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/ModalLoop.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/Window.h"

TEST(ModalLoop, KeepsTheQueueRunningWithTheOwnerDisabled)
{
    HWND hOwner = CreateTestWindow();
    HWND hChild = CreateTestWindow(hOwner, WS_CHILD | WS_VISIBLE, 3);
    CMessageLog::Get().Clear();
    PostMessageA(hOwner, WM_USER + 7, 0, 0);
    SetTimer(hOwner, 5, 10, nullptr);
    BOOL bOwnerEnabledInside = TRUE;
    int nFiltered = 0;
    BOOL bResult = TbRunModalLoop(
        hChild,                                     // its top-level window is the one disabled
        [&] {
            bOwnerEnabledInside = IsWindowEnabled(hOwner);
            return CMessageLog::Get().Count(WM_TIMER, hOwner) > 0 ? TRUE : FALSE;
        },
        [&](MSG* pMsg) {
            if (pMsg->message == WM_USER + 8) {     // handled by the filter, never dispatched
                ++nFiltered;
                return TRUE;
            }
            return FALSE;
        });
    EXPECT_TRUE(bResult);
    EXPECT_FALSE(bOwnerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(hOwner));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_USER + 7, hOwner));

    // A filtered message and a quit: the quit ends the loop and waits for the loop outside.
    PostMessageA(hOwner, WM_USER + 8, 0, 0);
    PostQuitMessage(3);
    bResult = TbRunModalLoop(hOwner, [] { return FALSE; });
    EXPECT_FALSE(bResult);
    EXPECT_EQ(0, nFiltered);                        // this loop had no filter: dispatched instead
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_USER + 8, hOwner));
    EXPECT_TRUE(IsWindowEnabled(hOwner));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(3u, msg.wParam);
    KillTimer(hOwner, 5);
    DestroyWindow(hOwner);
}

TEST(ModalLoop, ANestedLoopLeavesTheOwnerToTheOuterOne)
{
    HWND hOwner = CreateTestWindow();
    int nStep = 0;
    BOOL bEnabledAfterInner = TRUE;
    PostMessageA(hOwner, WM_USER + 1, 0, 0);
    TbRunModalLoop(hOwner, [&] {
        if (nStep == 0 && CMessageLog::Get().Count(WM_USER + 1, hOwner) > 0) {
            nStep = 1;
            PostMessageA(hOwner, WM_USER + 2, 0, 0);
            TbRunModalLoop(hOwner, [&] { return CMessageLog::Get().Count(WM_USER + 2, hOwner) > 0 ? TRUE : FALSE; });
            bEnabledAfterInner = IsWindowEnabled(hOwner);
            nStep = 2;
        }
        return nStep == 2 ? TRUE : FALSE;
    });
    EXPECT_FALSE(bEnabledAfterInner);
    EXPECT_TRUE(IsWindowEnabled(hOwner));
    DestroyWindow(hOwner);
}

namespace {
std::vector<std::string> s_reported;
}  // namespace

// A box begun while a server line is handled is reported once for the line, even when a test's
// answer closes it unseen; posted calls run after the line, in their order.
TEST(ModalLoop, OneOpenedInsideALineIsReportedAndAPostedCallWaitsForTheLine)
{
    s_reported.clear();
    const TBMODALINLINEREPORT pfnBefore = TbSetModalInLineReport([](LPCSTR pszWhat) { s_reported.push_back(pszWhat); });
    std::vector<int> ran;
    TbBeginLineHandling();
    TbPostCall([&] { ran.push_back(1); });
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDOK, ""});
    MessageBoxA(nullptr, "inside", "line", MB_OK);
    TbRunModalLoop(nullptr, [] { return TRUE; });
    TbPostCall([&] { ran.push_back(2); });
    TbEndLineHandling();
    EXPECT_TRUE(ran.empty()) << "nothing posted runs inside the line";
    TbRunModalLoop(nullptr, [&] { return ran.size() == 2 ? TRUE : FALSE; });
    EXPECT_EQ((std::vector<int>{1, 2}), ran);
    EXPECT_EQ(std::vector<std::string>{"message box"}, s_reported);
    TbSetModalInLineReport(pfnBefore);
}

TEST(Accelerators, TablesCopyTheirEntriesAndDieWithTheirHandle)
{
    const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'C', 100}, {FVIRTKEY, 0x70, 101}, {0, 'x', 102}};
    EXPECT_EQ(nullptr, CreateAcceleratorTableA(entries, 0));
    HACCEL hAccel = CreateAcceleratorTableA(entries, 3);
    ASSERT_NE(nullptr, hAccel);
    EXPECT_EQ(3, CopyAcceleratorTableA(hAccel, nullptr, 0));
    ACCEL copy[3] = {};
    EXPECT_EQ(2, CopyAcceleratorTableA(hAccel, copy, 2));
    EXPECT_EQ(101, copy[1].cmd);
    EXPECT_EQ(0, copy[2].cmd);                      // never written past the count asked
    EXPECT_TRUE(DestroyAcceleratorTable(hAccel));
    EXPECT_EQ(0, CopyAcceleratorTableA(hAccel, nullptr, 0));
    EXPECT_FALSE(DestroyAcceleratorTable(hAccel));
    HACCEL hNext = CreateAcceleratorTableA(entries, 1);
    EXPECT_EQ(0, CopyAcceleratorTableA(hAccel, nullptr, 0));   // the old handle never finds the new table
    DestroyAcceleratorTable(hNext);
}

TEST(TestAnswers, EachQuestionTakesTheOldestAnswerOfItsKind)
{
    TbClearTestAnswers();
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 42, ""});
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDCANCEL, ""});
    EXPECT_EQ(IDNO, MessageBoxA(nullptr, "Sure?", "Question", MB_YESNOCANCEL));
    EXPECT_EQ(IDCANCEL, MessageBoxA(nullptr, "Sure?", "Question", MB_YESNOCANCEL));
    EXPECT_EQ(1, TbPendingTestAnswers());
    TBTESTANSWER answer;
    EXPECT_FALSE(TbTakeTestAnswer(TB_ASK_COLOR, &answer));
    ASSERT_TRUE(TbTakeTestAnswer(TB_ASK_POPUPMENU, &answer));
    EXPECT_EQ(42, answer.nValue);
    EXPECT_EQ(0, TbPendingTestAnswers());
}

TEST(ModalLoop, TheDisplayCannotActivateAWindowTheLoopDisabled)
{
    HWND hOwner = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hDialog = CreateTestWindow(nullptr, WS_POPUP | WS_VISIBLE);
    SetActiveWindow(hDialog);
    HWND hActiveInside = nullptr;
    TbRunModalLoop(hOwner, [&] {
        TbDisplayActivate(hOwner);              // late activation from the display, or a click
        hActiveInside = GetActiveWindow();
        return TRUE;
    });
    EXPECT_EQ(hDialog, hActiveInside);
    TbDisplayActivate(hOwner);                  // enabled again: it may be activated
    EXPECT_EQ(hOwner, GetActiveWindow());
    DestroyWindow(hDialog);
    DestroyWindow(hOwner);
}

namespace {
// A window holding the capture as a drag would, and the windows that saw WM_CANCELMODE.
struct CancelModeCase {
    HWND hFrame = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hGrid = CreateTestWindow(hFrame, WS_CHILD | WS_VISIBLE, 4);
    CancelModeCase()
    {
        SetActiveWindow(hFrame);
        SetCapture(hGrid);
        CMessageLog::Get().Clear();
    }
    ~CancelModeCase() { DestroyWindow(hFrame); }
    int Cancels() const { return CMessageLog::Get().Count(WM_CANCELMODE); }
};
}  // namespace

TEST(CancelMode, APopupMenuEndsTheDragBeforeItOpensAndStaysOpen)
{
    CancelModeCase c;
    HMENU hMenu = CreatePopupMenu();
    AppendMenuA(hMenu, MF_STRING, 42, "Item");
    TbClearTestAnswers();
    TbQueueTestAnswer({TB_ASK_POPUPMENU, 42, ""});
    // The default answer to WM_CANCELMODE closes the open popup: this one must not close itself.
    EXPECT_EQ(42, TrackPopupMenu(hMenu, TPM_RETURNCMD, 10, 10, 0, c.hFrame, nullptr));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, c.hGrid));
    EXPECT_EQ(1, c.Cancels());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CAPTURECHANGED, c.hGrid));
    DestroyMenu(hMenu);
}

TEST(CancelMode, AMessageBoxOrChooserEndsTheDragHoweverItIsAnswered)
{
    CancelModeCase c;
    TbClearTestAnswers();
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDNO, ""});
    EXPECT_EQ(IDNO, MessageBoxA(c.hFrame, "Sure?", "Question", MB_YESNO));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, c.hGrid));
    EXPECT_EQ(nullptr, GetCapture());
    // Nothing holds the capture now: the next box sends nothing.
    TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
    EXPECT_EQ(IDYES, MessageBoxA(c.hFrame, "Sure?", "Question", MB_YESNO));
    EXPECT_EQ(1, c.Cancels());

    SetCapture(c.hGrid);
    CMessageLog::Get().Clear();
    COLORREF custom[16] = {};
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = c.hFrame;
    cc.lpCustColors = custom;
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "1,2,3"});
    EXPECT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, c.hGrid));
    EXPECT_EQ(nullptr, GetCapture());
}

TEST(CancelMode, AModalLoopEndsTheDragButATrackingLoopKeepsIt)
{
    CancelModeCase c;
    HWND hCaptureInside = nullptr;
    TbRunModalLoop(c.hFrame, [&] { hCaptureInside = GetCapture(); return TRUE; }, {}, TB_MODAL_KEEPMODE);
    EXPECT_EQ(c.hGrid, hCaptureInside);
    EXPECT_EQ(0, c.Cancels());
    CMessageLog::Get().Clear();
    TbRunModalLoop(c.hFrame, [&] { hCaptureInside = GetCapture(); return TRUE; });
    EXPECT_EQ(nullptr, hCaptureInside);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, c.hGrid));
    // The message came before the owner was disabled, so the window could still act on it.
    const auto& log = CMessageLog::Get().All();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(static_cast<UINT>(WM_CANCELMODE), log.front().uMsg);
    EXPECT_EQ(2, CMessageLog::Get().Count(WM_ENABLE, c.hFrame));
}

TEST(CancelMode, ActivatingAnotherTopLevelWindowEndsTheDrag)
{
    CancelModeCase c;
    HWND hOther = CreateTestWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetActiveWindow(c.hFrame);
    SetCapture(c.hGrid);
    CMessageLog::Get().Clear();
    // The capture in a window that keeps its activation is left alone.
    SetActiveWindow(c.hGrid);
    EXPECT_EQ(0, c.Cancels());
    TbDisplayActivate(hOther);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, c.hGrid));
    EXPECT_EQ(nullptr, GetCapture());
    // The window kept the capture until told: WM_CANCELMODE comes before the deactivation.
    const auto& log = CMessageLog::Get().All();
    EXPECT_EQ(static_cast<UINT>(WM_CANCELMODE), log.front().uMsg);
    // Capture in the newly active window stays when that window activates another of its own.
    SetCapture(hOther);
    CMessageLog::Get().Clear();
    SetActiveWindow(c.hFrame);
    EXPECT_EQ(1, CMessageLog::Get().Count(WM_CANCELMODE, hOther));
    SetActiveWindow(hOther);
    EXPECT_EQ(1, c.Cancels());                  // nothing held the capture
    DestroyWindow(hOther);
}

TEST(CancelMode, AWindowThatKeepsItsModeKeepsTheCapture)
{
    CancelModeCase c;
    g_pfnTestOverride = [](HWND, UINT uMsg, WPARAM, LPARAM, BOOL* pbHandled) -> LRESULT {
        *pbHandled = uMsg == WM_CANCELMODE;
        return 0;
    };
    TbCancelMode();
    g_pfnTestOverride = nullptr;
    EXPECT_EQ(1, c.Cancels());
    EXPECT_EQ(c.hGrid, GetCapture());
    // The default processing releases it.
    TbCancelMode();
    EXPECT_EQ(nullptr, GetCapture());
    ReleaseCapture();
}
