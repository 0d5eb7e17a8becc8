// The about box as the user opens it, and every session dialog in both languages for a look:
// <build>/screenshots/app_<dialog>_<code page>.png.
#include <gtest/gtest.h>

#include <string>

#include "DialogDriver.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/CredentialDialogs.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Cursor.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
TEST(AboutBox, WithoutALinkItSaysNotConnectedWithThePlainPicture)
{
    CTestLanguage language(1252);
    CAboutDlg dlg(nullptr);
    EXPECT_EQ(static_cast<UINT>(IDB_LINK_PLAIN), dlg.GetPictureId());
    RunDialogSteps({{IDC_ABOUT_CONNECTION, [](HWND h) {
        EXPECT_EQ("Not connected", ControlText(h, IDC_ABOUT_CONNECTION));
        EXPECT_EQ("8.00.00[Mar 29 2018 09:09:21]", ControlText(h, IDC_ABOUT_VERSION));
        EXPECT_NE(0, SendDlgItemMessageA(h, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
        EXPECT_NE(0, SendDlgItemMessageA(h, IDC_ABOUT_ICON, STM_GETICON, 0, 0));
        PressKey(VK_RETURN);
    }}});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(FinishedSteps());
    ClearDialogSteps();
}

TEST(SessionDialogScreens, EnglishAndArabic)
{
    for (int nCodePage : {1252, 1256}) {
        CTestLanguage language(nCodePage);
        const std::string strSuffix = "_" + std::to_string(nCodePage);

        CLoginDlg login;
        login.SetUserId("trader1");
        ASSERT_TRUE(login.Create(IDD_LOGIN));
        SetDlgItemTextA(login.m_hWnd, IDC_LOGIN_PASSWORD, "secret");
        EXPECT_TRUE(SaveDialogScreenshot(login.m_hWnd, ("app_login" + strSuffix).c_str()));
        login.DestroyWindow();

        CLoginDlg refused;
        refused.SetUserId("trader1");
        refused.SetRefusal(TbUtf8ToCodePage(nCodePage == 1256 ? "اسم المستخدم أو كلمة المرور غير صحيحة"
                                                              : "Unknown user or password",
                                            nCodePage).c_str());
        ASSERT_TRUE(refused.Create(IDD_LOGIN));
        EXPECT_TRUE(SaveDialogScreenshot(refused.m_hWnd, ("app_login_refused" + strSuffix).c_str()));
        refused.DestroyWindow();

        CChangePasswdDlg password("jsmith");
        ASSERT_TRUE(password.Create(IDD_CHANGE_PASSWORD));
        EXPECT_TRUE(SaveDialogScreenshot(password.m_hWnd, ("app_change_password" + strSuffix).c_str()));
        password.DestroyWindow();

        CChangePINDlg pin("jsmith");
        ASSERT_TRUE(pin.Create(IDD_CHANGE_PIN));
        EXPECT_TRUE(SaveDialogScreenshot(pin.m_hWnd, ("app_change_pin" + strSuffix).c_str()));
        pin.DestroyWindow();

        CAboutDlg about(nullptr);
        ASSERT_TRUE(about.Create(IDD_ABOUTBOX));
        EXPECT_TRUE(SaveDialogScreenshot(about.m_hWnd, ("app_about" + strSuffix).c_str()));
        about.DestroyWindow();
    }
}
}  // namespace
