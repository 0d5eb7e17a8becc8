// The version dialog and its link as the user meets them: the status line by the hello's version
// status, the server's address shown and opened only when it is a web address, the link's hover
// font shared by every link and given back when the pointer leaves, and screenshots.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "app/dialogs/AboutDlg.h"
#include "app/dialogs/VersionInfoDlg.h"
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/kernel/Shell.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/VirtualKeys.h"

namespace {
class VersionTest : public ::testing::Test
{
protected:
    void SetUp() override { TbRecordShellOpens(TRUE); }
    void TearDown() override
    {
        TbRecordShellOpens(FALSE);
        ClearDialogSteps();
    }
    CTestLanguage m_language{1252};
};

std::string Opened()
{
    std::string strTarget;
    return TbTakeShellOpen(&strTarget) ? strTarget : "<nothing>";
}

// Input outside a modal loop: delivered, then read as a loop reads it.
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void MouseAt(HWND hWnd, UINT uMsg, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(hWnd, &pt);
    TbDisplayMouse(hWnd, uMsg, uMsg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, pt);
    Pump();
}

void Click(HWND hWnd)
{
    MouseAt(hWnd, WM_MOUSEMOVE, 2, 2);
    MouseAt(hWnd, WM_LBUTTONDOWN, 2, 2);
    MouseAt(hWnd, WM_LBUTTONUP, 2, 2);
}

// Whether some pixel of the window is near the colour (text is drawn smoothed).
bool Shows(HWND hWnd, COLORREF cr)
{
    const auto Near = [cr](COLORREF crPixel) {
        return abs(GetRValue(crPixel) - GetRValue(cr)) < 40 && abs(GetGValue(crPixel) - GetGValue(cr)) < 40 &&
               abs(GetBValue(crPixel) - GetBValue(cr)) < 40;
    };
    UpdateWindow(hWnd);
    RECT rc;
    GetClientRect(hWnd, &rc);
    HDC hdc = GetDC(hWnd);
    bool bFound = false;
    for (int y = 0; y < rc.bottom && !bFound; ++y)
        for (int x = 0; x < rc.right && !bFound; ++x)
            bFound = Near(GetPixel(hdc, x, y));
    ReleaseDC(hWnd, hdc);
    return bFound;
}

std::string LoadText(UINT uId)
{
    CString str;
    GetSharedGlobals()->LoadString(str, uId);
    return std::string(str);
}

TEST_F(VersionTest, StatusLineFollowsTheHelloStatusAlone)
{
    EXPECT_EQ(static_cast<UINT>(IDS_VERSION_NEWER), GetVersionStatusStringId(1));
    for (int nStatus : {0, 2, -1, 11})
        EXPECT_EQ(static_cast<UINT>(IDS_VERSION_CURRENT), GetVersionStatusStringId(nStatus)) << nStatus;
    for (int nStatus : {1, 0}) {
        CVersionInfoDlg dlg("https://example.com/terminal", nStatus);
        const std::string strExpected = LoadText(nStatus == 1 ? IDS_VERSION_NEWER : IDS_VERSION_CURRENT);
        RunDialogSteps({{IDC_VERSION_STATUS, [strExpected](HWND h) {
            EXPECT_EQ(strExpected, ControlText(h, IDC_VERSION_STATUS));
            EXPECT_EQ("https://example.com/terminal", ControlText(h, IDC_VERSION_LINK));
            EXPECT_NE(0, SendDlgItemMessageA(h, IDC_VERSION_ICON, STM_GETICON, 0, 0));
            PressKey(VK_ESCAPE);
        }}});
        EXPECT_EQ(IDCANCEL, dlg.DoModal());
        EXPECT_TRUE(FinishedSteps());
    }
}

TEST_F(VersionTest, OnlyWebAddressesAreOpened)
{
    for (const char* pszUrl : {"http://example.com", "HTTPS://example.com/a?b=c", "https://x"})
        EXPECT_TRUE(CHyperLink::IsWebAddress(pszUrl)) << pszUrl;
    for (const char* pszUrl : {"", "https://", "http:///etc/passwd", "file:///etc/passwd", "ftp://example.com",
                               "mailto:a@example.com", "javascript:alert(1)", "/usr/bin/xterm", "example.com",
                               "http://example.com/a b", "http://example.com/\n", "http://a\x7F"})
        EXPECT_FALSE(CHyperLink::IsWebAddress(pszUrl)) << pszUrl;

    // A click and the space key open the address; the link is then visited.
    CVersionInfoDlg web("https://example.com/terminal", 1);
    ASSERT_TRUE(web.Create(IDD_VERSION_INFO));
    ShowWindow(web.m_hWnd, SW_SHOW);
    HWND hLink = GetDlgItem(web.m_hWnd, IDC_VERSION_LINK);
    EXPECT_FALSE(web.GetLink().IsVisited());
    EXPECT_TRUE(Shows(hLink, HYPERLINK_COLOR));
    Click(hLink);
    EXPECT_EQ("https://example.com/terminal", Opened());
    EXPECT_TRUE(web.GetLink().IsVisited());
    EXPECT_TRUE(Shows(hLink, HYPERLINK_COLOR_VISITED));
    EXPECT_FALSE(Shows(hLink, HYPERLINK_COLOR));
    SetFocus(hLink);
    TbDisplayKey(WM_KEYDOWN, VK_SPACE, MAKELPARAM(1, 0), " ");
    TbDisplayKey(WM_KEYUP, VK_SPACE, MAKELPARAM(1, KF_UP | KF_REPEAT), nullptr);
    Pump();
    EXPECT_EQ("https://example.com/terminal", Opened());
    web.DestroyWindow();

    // What the server may send instead is shown, never handed to the system's opener.
    CVersionInfoDlg other("file:///usr/bin/xterm", 1);
    ASSERT_TRUE(other.Create(IDD_VERSION_INFO));
    Click(GetDlgItem(other.m_hWnd, IDC_VERSION_LINK));
    EXPECT_EQ("<nothing>", Opened());
    EXPECT_FALSE(other.GetLink().IsVisited());
    EXPECT_EQ("file:///usr/bin/xterm", ControlText(other.m_hWnd, IDC_VERSION_LINK));
    other.DestroyWindow();
}

TEST_F(VersionTest, EmptyTextShowsNoAddressAndLongTextIsCut)
{
    CVersionInfoDlg empty("", 0);
    ASSERT_TRUE(empty.Create(IDD_VERSION_INFO));
    EXPECT_EQ(LoadText(IDS_NO_ADDRESS), ControlText(empty.m_hWnd, IDC_VERSION_LINK));
    Click(GetDlgItem(empty.m_hWnd, IDC_VERSION_LINK));
    EXPECT_EQ("<nothing>", Opened());
    empty.DestroyWindow();

    const std::string strLong = "https://example.com/" + std::string(2000, 'a');
    CVersionInfoDlg tall(strLong.c_str(), 0);
    ASSERT_TRUE(tall.Create(IDD_VERSION_INFO));
    EXPECT_EQ(strLong.substr(0, VERSION_TEXT_MAX), ControlText(tall.m_hWnd, IDC_VERSION_LINK));
    Click(GetDlgItem(tall.m_hWnd, IDC_VERSION_LINK));
    EXPECT_EQ(strLong.substr(0, VERSION_TEXT_MAX), Opened());
    tall.DestroyWindow();
}

TEST_F(VersionTest, HoverUnderlinesWithOneSharedFontAndLeavingGivesTheFontBack)
{
    // Two links on one dialog: the about box's version and connection texts.
    CAboutDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX));
    HWND hFirst = GetDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION);
    HWND hSecond = GetDlgItem(dlg.m_hWnd, IDC_ABOUT_CONNECTION);
    const LRESULT lPlain = SendMessageA(hFirst, WM_GETFONT, 0, 0);
    LRESULT lShared = 0;
    {
        CHyperLink first, second;
        ASSERT_TRUE(first.AttachToDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION, "https://example.com/1"));
        ASSERT_TRUE(second.AttachToDlgItem(dlg.m_hWnd, IDC_ABOUT_CONNECTION, "https://example.com/2"));
        EXPECT_FALSE(first.AttachToDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION, "https://example.com/again"));
        EXPECT_FALSE(CHyperLink().AttachToDlgItem(dlg.m_hWnd, 4242, "https://example.com"));

        MouseAt(hFirst, WM_MOUSEMOVE, 2, 2);
        EXPECT_TRUE(first.IsHovering());
        EXPECT_EQ(hFirst, GetCapture());
        const LRESULT lUnderlined = SendMessageA(hFirst, WM_GETFONT, 0, 0);
        EXPECT_NE(lPlain, lUnderlined);
        LOGFONTA lf = {};
        ASSERT_NE(0, GetObjectA(reinterpret_cast<HGDIOBJ>(lUnderlined), sizeof lf, &lf));
        EXPECT_TRUE(lf.lfUnderline);
        // Leaving: the capture goes, and with it the hover and the underline.
        MouseAt(hFirst, WM_MOUSEMOVE, -5, 2);
        EXPECT_FALSE(first.IsHovering());
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(lPlain, SendMessageA(hFirst, WM_GETFONT, 0, 0));

        MouseAt(hSecond, WM_MOUSEMOVE, 2, 2);
        EXPECT_EQ(lUnderlined, SendMessageA(hSecond, WM_GETFONT, 0, 0));      // the same font
        RECT rc;
        GetClientRect(hSecond, &rc);
        MouseAt(hSecond, WM_MOUSEMOVE, rc.right, 2);                           // right edge is outside
        EXPECT_FALSE(second.IsHovering());
        // The links go before their dialog: the statics get their own procedures back, and the
        // shared font goes with the second.
        lShared = lUnderlined;
    }
    LOGFONTA lf = {};
    EXPECT_EQ(0, GetObjectA(reinterpret_cast<HGDIOBJ>(lShared), sizeof lf, &lf));
    EXPECT_EQ(lPlain, SendMessageA(hFirst, WM_GETFONT, 0, 0));
    MouseAt(hFirst, WM_MOUSEMOVE, 2, 2);
    EXPECT_EQ(nullptr, GetCapture());
    dlg.DestroyWindow();
}

// A main window that keeps the status-bar messages it is sent.
std::vector<std::string> s_status;
LRESULT CALLBACK StatusProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_SETMESSAGESTRING) {
        s_status.push_back(lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "#" + std::to_string(wParam));
        return 0;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

TEST_F(VersionTest, TheStatusBarTellsWhereTheLinkLeads)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = StatusProc;
    wc.lpszClassName = "TestStatusFrame";
    RegisterClassA(&wc);
    CWinApp app("link test");
    CWnd frame;
    ASSERT_TRUE(frame.Attach(CreateWindowExA(0, "TestStatusFrame", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr,
                                             nullptr, nullptr, nullptr)));
    app.m_pMainWnd = &frame;
    s_status.clear();
    for (const char* pszText : {"https://example.com/terminal", ""}) {
        CVersionInfoDlg dlg(pszText, 0);
        ASSERT_TRUE(dlg.Create(IDD_VERSION_INFO));
        HWND hLink = GetDlgItem(dlg.m_hWnd, IDC_VERSION_LINK);
        MouseAt(hLink, WM_MOUSEMOVE, 2, 2);
        MouseAt(hLink, WM_MOUSEMOVE, 2, -3);
        dlg.DestroyWindow();
    }
    // The link is the dialog's first stop: its focus tells first, then the pointer; leaving and
    // losing the focus with the dialog give the idle prompt back. An empty address shows the text
    // that says so.
    const std::string strUrl = "https://example.com/terminal", strIdle = LoadText(57345), strNone = LoadText(IDS_NO_ADDRESS);
    EXPECT_EQ((std::vector<std::string>{strUrl, strUrl, strIdle, strIdle, strNone, strNone, strIdle, strIdle}), s_status);
    app.m_pMainWnd = nullptr;
    ::DestroyWindow(frame.Detach());
}

TEST(VersionScreens, EnglishAndArabic)
{
    for (int nCodePage : {1252, 1256}) {
        CTestLanguage language(nCodePage);
        CVersionInfoDlg dlg("https://downloads.example.com/quelmor/setup.exe", 1);
        ASSERT_TRUE(dlg.Create(IDD_VERSION_INFO));
        EXPECT_TRUE(SaveDialogScreenshot(dlg.m_hWnd, ("app_version_" + std::to_string(nCodePage)).c_str()));
        dlg.DestroyWindow();
    }
}
}  // namespace
