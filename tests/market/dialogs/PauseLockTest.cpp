// The pause lock as a user meets it: a wrong password told in the information window with the
// lock kept, the right one (case counts) unlocking, and Cancel, Escape or the close box asking
// before logging off.
#include <gtest/gtest.h>

#include "app/dialogs/DialogDriver.h"
#include "market/dialogs/PausePasswdDlg.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class PauseLock : public ::testing::Test
{
protected:
    void SetUp() override { TbClearTestAnswers(); }
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "a question never came";
        TbClearTestAnswers();
    }
    static void Answer(int nButton) { TbQueueTestAnswer({TB_ASK_MESSAGEBOX, nButton, ""}); }

    CTestLanguage m_language{1252};
    CRecordingInfoWindow m_info;
};

TEST_F(PauseLock, WrongPasswordKeepsTheLockAndTellsTheRightOneUnlocks)
{
    CPausePasswdDlg dlg;
    dlg.SetExpectedPassword("Secret");
    RunDialogSteps({
        {IDC_PAUSE_PASSWORD, [](HWND h) {
            EXPECT_EQ("", ControlText(h, IDC_PAUSE_PASSWORD));
            EXPECT_NE(0, GetWindowLongA(GetDlgItem(h, IDC_PAUSE_PASSWORD), GWL_STYLE) & ES_PASSWORD);
            TypeText("secret");                               // case counts
            PressKey(VK_RETURN);
        }},
        {IDC_PAUSE_PASSWORD, [this](HWND h) {
            ASSERT_EQ(1u, m_info.m_lines.size());
            EXPECT_EQ("#40302", m_info.m_lines[0]);
            EXPECT_EQ(IDC_PAUSE_PASSWORD, FocusedControl(h));
            SendDlgItemMessageA(h, IDC_PAUSE_PASSWORD, EM_SETSEL, 0, -1);
            TypeText("Secret");
            ClickControl(h, IDOK);
        }},
    });
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1u, m_info.m_lines.size());
}

TEST_F(PauseLock, CancelAsksAndOnlyYesEndsIt)
{
    CPausePasswdDlg dlg;
    dlg.SetExpectedPassword("Secret");
    RunDialogSteps({
        {IDC_PAUSE_PASSWORD, [](HWND h) {
            Answer(IDNO);
            ClickControl(h, IDCANCEL);
        }},
        {IDC_PAUSE_PASSWORD, [](HWND h) {
            EXPECT_EQ(0, TbPendingTestAnswers());
            // A question titled with the program's name, not "Error".
            EXPECT_EQ("The current user will be logged off. Continue?", TbLastAnsweredText());
            EXPECT_EQ("Quelmor Pro", TbLastAnsweredCaption());
            Answer(IDNO);
            SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);       // the close box
        }},
        {IDC_PAUSE_PASSWORD, [](HWND) {
            EXPECT_EQ(0, TbPendingTestAnswers());
            Answer(IDYES);
            PressKey(VK_ESCAPE);
        }},
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(m_info.m_lines.empty());
}
}  // namespace
