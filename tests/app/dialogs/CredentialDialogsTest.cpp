// The login and the change dialogs as a user runs them: typed into, moved through with Tab and
// clicks, closed with Enter, OK or Escape; what they refuse keeps them open on the field, and
// what they hand back is what the user typed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogDriver.h"
#include "app/dialogs/ChangeRequests.h"
#include "app/dialogs/CredentialDialogs.h"
#include "link/ServerMessage.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/User.h"

namespace {
class CredentialTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_TRUE(FinishedSteps()) << "a dialog step never ran";
        ClearDialogSteps();
    }
    CTestLanguage m_language{1252};
    CRecordingInfoWindow m_info;
};

// A user logged in as "jsmith", number 4711.
CUser LoggedInUser()
{
    std::string strLine = "&UL|3|XC||jsmith|0|4711";
    for (int i = 3; i < 28; ++i)
        strLine += i == 8 ? "|4" : "|x";
    CUser user;
    EXPECT_TRUE(user.SetFromLoginReply(CServerMessage(strLine.c_str(), 1)));
    return user;
}

using LoginTest = CredentialTest;

TEST_F(LoginTest, EnterHandsBackThePresetUserAndTheTypedPassword)
{
    CLoginDlg dlg;
    dlg.SetUserId("trader1");
    RunDialogSteps({{IDC_LOGIN_PASSWORD, [](HWND h) {
        EXPECT_EQ("trader1", ControlText(h, IDC_LOGIN_USER));
        EXPECT_EQ(IDC_LOGIN_PASSWORD, FocusedControl(h));     // the last user types only the password
        TypeText("Secret9");
        PressKey(VK_RETURN);
    }}});
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("trader1", std::string(dlg.GetUserId()));
    EXPECT_EQ("Secret9", std::string(dlg.GetPassword()));
}

TEST_F(LoginTest, ShortFieldsKeepTheDialogOpenOnTheField)
{
    CLoginDlg dlg;
    RunDialogSteps({
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            TypeText("12345");
            ClickControl(h, IDOK);                            // no user id at all
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_TRUE(IsWindowVisible(h));
            EXPECT_EQ(IDC_LOGIN_USER, FocusedControl(h));
            TypeText("trader");                               // exactly 6: enough
            PressKey(VK_RETURN);                              // the 5-character password is not
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ(IDC_LOGIN_PASSWORD, FocusedControl(h));
            EXPECT_EQ("12345", ControlText(h, IDC_LOGIN_PASSWORD));
            PressKey(VK_END);
            TypeText("6");
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("trader", std::string(dlg.GetUserId()));
    EXPECT_EQ("123456", std::string(dlg.GetPassword()));
}

TEST_F(LoginTest, BarsAndControlCharactersAreRefusedLikeAShortField)
{
    CLoginDlg dlg;
    dlg.SetUserId("ab|cdef");
    RunDialogSteps({
        {IDC_LOGIN_PASSWORD, [](HWND) { TypeText("pass|word"); }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            // The fields themselves take no '|', typed or preset.
            EXPECT_EQ("password", ControlText(h, IDC_LOGIN_PASSWORD));
            EXPECT_EQ("abcdef", ControlText(h, IDC_LOGIN_USER));
            // Text that reaches a field past its filter, as another program can put it there.
            SetDlgItemTextA(h, IDC_LOGIN_USER, "abc|def");
            PressKey(VK_RETURN);
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ(IDC_LOGIN_USER, FocusedControl(h));
            TypeText("abcdef");                               // the refused text is selected: replaced
            SetDlgItemTextA(h, IDC_LOGIN_PASSWORD, "pass\tword");
            PressKey(VK_RETURN);
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ(IDC_LOGIN_PASSWORD, FocusedControl(h));
            EXPECT_EQ("abcdef", ControlText(h, IDC_LOGIN_USER));
            TypeText("pass\x7Fword");
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ("password", ControlText(h, IDC_LOGIN_PASSWORD));   // typed control characters do nothing
            SetDlgItemTextA(h, IDC_LOGIN_PASSWORD, "pass\x7Fword");
            PressKey(VK_RETURN);
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ(IDC_LOGIN_PASSWORD, FocusedControl(h));
            TypeText("passw0rd");
            PressKey(VK_RETURN);
        }},
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ("abcdef", std::string(dlg.GetUserId()));
    EXPECT_EQ("passw0rd", std::string(dlg.GetPassword()));
}

TEST_F(LoginTest, FieldsStopAtTwelveAndEscapeHandsNothingBack)
{
    CLoginDlg dlg;
    RunDialogSteps({
        {IDC_LOGIN_PASSWORD, [](HWND) {
            TypeText("abcdefghijklmn");
            PressKey(VK_TAB, /*bShift=*/true);
        }},
        {IDC_LOGIN_PASSWORD, [](HWND h) {
            EXPECT_EQ("abcdefghijkl", ControlText(h, IDC_LOGIN_PASSWORD));
            EXPECT_EQ(IDC_LOGIN_USER, FocusedControl(h));
            TypeText("trader1");
            PressKey(VK_ESCAPE);
        }},
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ("", std::string(dlg.GetUserId()));
    EXPECT_EQ("", std::string(dlg.GetPassword()));
}

// The two change dialogs share their behaviour; each case runs on both.
struct CHANGE_CASE
{
    const char* pszName;
    int nUser, nOld, nNew, nRepeat;
    // Runs the command for the user: the dialog, then the request body.
    BOOL (*pfnRun)(CUser& user, CString* pBody, CString* pNew);
    const char* pszBody;                // of the values typed below
};
const CHANGE_CASE s_cases[] = {
    {"password", IDC_PASSWORD_USER, IDC_PASSWORD_OLD, IDC_PASSWORD_NEW, IDC_PASSWORD_REPEAT,
     [](CUser& user, CString* pBody, CString* pNew) { return ChangePassword(user, pBody, pNew); },
     "4711|old123||New456|||||"},
    {"PIN", IDC_PIN_USER, IDC_PIN_OLD, IDC_PIN_NEW, IDC_PIN_REPEAT,
     [](CUser& user, CString* pBody, CString* pNew) {
         *pNew = "";
         return ChangePin(user, pBody);
     },
     "4711||||old123|New456|||"},
};

using ChangeTest = CredentialTest;

TEST_F(ChangeTest, MismatchedNewValuesAreTypedAgainThenTheRequestIsMade)
{
    for (const CHANGE_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszName);
        m_info.m_lines.clear();
        CUser user = LoggedInUser();
        const CHANGE_CASE* p = &c;
        RunDialogSteps({
            {c.nRepeat, [p](HWND h) {
                EXPECT_EQ("jsmith", ControlText(h, p->nUser));
                EXPECT_TRUE(GetWindowLongA(GetDlgItem(h, p->nUser), GWL_STYLE) & ES_READONLY);
                EXPECT_EQ(p->nOld, FocusedControl(h));        // the read-only user id is passed over
                TypeText("old123");
                PressKey(VK_TAB);
            }},
            {c.nRepeat, [](HWND) {
                TypeText("New456");
                PressKey(VK_TAB);
            }},
            {c.nRepeat, [](HWND) {
                TypeText("new456");                           // the case differs
                PressKey(VK_RETURN);
            }},
            {c.nRepeat, [p](HWND h) {
                EXPECT_EQ(p->nRepeat, FocusedControl(h));
                EXPECT_EQ("", ControlText(h, p->nRepeat));
                TypeText("New456 ");                          // a trailing blank differs too
                ClickControl(h, IDOK);
            }},
            {c.nRepeat, [p](HWND h) {
                EXPECT_EQ(p->nRepeat, FocusedControl(h));
                TypeText("New456");
                ClickControl(h, IDOK);
            }},
        });
        CString strBody, strNew;
        ASSERT_TRUE(c.pfnRun(user, &strBody, &strNew));
        EXPECT_EQ(c.pszBody, std::string(strBody));
        EXPECT_EQ((std::vector<std::string>{"#40304", "#40304"}), m_info.m_lines);
        // An accepted change keeps the user's text.
        EXPECT_EQ("jsmith", std::string(user.GetPendingText()));
        user.AcceptPendingText();
        EXPECT_EQ("jsmith", std::string(user.GetUserText()));
        ASSERT_TRUE(FinishedSteps());
    }
}

TEST_F(ChangeTest, EmptyOldValueIsSentAndBarsKeepTheDialogOpen)
{
    for (const CHANGE_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszName);
        CUser user = LoggedInUser();
        const CHANGE_CASE* p = &c;
        RunDialogSteps({
            {c.nRepeat, [](HWND) { PressKey(VK_TAB); }},      // the old value stays empty
            {c.nRepeat, [p](HWND h) {
                SetDlgItemTextA(h, p->nNew, "a|b");
                SetDlgItemTextA(h, p->nRepeat, "a|b");
                PressKey(VK_RETURN);
            }},
            {c.nRepeat, [p](HWND h) {
                EXPECT_EQ(p->nNew, FocusedControl(h));
                TypeText("abcd");
                PressKey(VK_TAB);
            }},
            {c.nRepeat, [](HWND) {
                TypeText("abcd");
                PressKey(VK_RETURN);
            }},
        });
        CString strBody, strNew;
        ASSERT_TRUE(c.pfnRun(user, &strBody, &strNew));
        const std::string strExpected = p->nUser == IDC_PASSWORD_USER ? "4711|||abcd|||||" : "4711|||||abcd|||";
        EXPECT_EQ(strExpected, std::string(strBody));
        EXPECT_TRUE(m_info.m_lines.empty());
        ASSERT_TRUE(FinishedSteps());
    }
}

TEST_F(ChangeTest, CancelMakesNoRequestAndLeavesTheUserAlone)
{
    for (const CHANGE_CASE& c : s_cases) {
        SCOPED_TRACE(c.pszName);
        CUser user = LoggedInUser();
        user.SetPendingText("earlier");
        RunDialogSteps({{c.nRepeat, [](HWND h) {
            TypeText("old123");
            ClickControl(h, IDCANCEL);
        }}});
        CString strBody = "untouched", strNew = "untouched";
        EXPECT_FALSE(c.pfnRun(user, &strBody, &strNew));
        EXPECT_EQ("untouched", std::string(strBody));
        EXPECT_EQ("earlier", std::string(user.GetPendingText()));
        ASSERT_TRUE(FinishedSteps());
    }
}
}  // namespace
