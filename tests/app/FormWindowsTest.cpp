// The form frames: a plain form fits its form and comes back where it stood, separately for each
// reading direction; chart and page frames only hide when closed; a form copies itself to the
// clipboard as a picture alone.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include <cstring>
#include "app/FormMDIWnd.h"
#include "app/ViewHtml.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/WebBrowser.h"

namespace {

// A form of 300 by 200 pixels, as a form view takes the size of its template.
class CTestFormView : public CWnd
{
public:
    BOOL Create(LPCSTR, LPCSTR pszName, DWORD dwStyle, const RECT&, CWnd* pParent, UINT nId,
                CCreateContext* pContext) override
    {
        return CWnd::Create("STATIC", pszName, dwStyle, CRect(0, 0, 300, 200), pParent, nId, pContext);
    }
};

struct FormFixture : ::testing::Test
{
    CTestLanguage language;
    CTestShell shell;
    CTestFormView view;

    CRect WindowRect(CWnd* pWnd)
    {
        CRect rc;
        pWnd->GetWindowRect(&rc);
        shell.Frame()->GetClientWnd().ScreenToClient(&rc);
        return rc;
    }
};

// Refuses every browser control made while it is installed, as a display without one would.
LRESULT CALLBACK RefuseBrowsers(int nCode, WPARAM, LPARAM lParam)
{
    const CBT_CREATEWNDA* pCreate = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
    return nCode == HCBT_CREATEWND && pCreate->lpcs->lpszClass != nullptr &&
           strcmp(pCreate->lpcs->lpszClass, WC_WEBBROWSERA) == 0;
}

}  // namespace

TEST_F(FormFixture, PlainFormFitsAndComesBackWhereItStoodPerDirection)
{
    CFormMDIWnd* pSlot = new CFormMDIWnd;
    CFormMDIWnd** ppSlot = &pSlot;
    ASSERT_TRUE(pSlot->CreateForm(7117, &view, ppSlot));
    CRect rcClient;
    pSlot->GetClientRect(&rcClient);
    EXPECT_EQ(300, rcClient.Width());
    EXPECT_EQ(200, rcClient.Height());
    pSlot->SetWindowPos(nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    pSlot->DestroyWindow();
    EXPECT_EQ(nullptr, pSlot) << "the frame clears its creator's pointer";

    // The Arabic interface keeps its own place for the same form.
    GetNorvGlobals().SetRightToLeft(TRUE);
    CTestFormView arabicView;
    pSlot = new CFormMDIWnd;
    ASSERT_TRUE(pSlot->CreateForm(7117, &arabicView, ppSlot));
    EXPECT_NE(100, WindowRect(pSlot).left);
    pSlot->DestroyWindow();
    GetNorvGlobals().SetRightToLeft(FALSE);

    CTestFormView againView;
    pSlot = new CFormMDIWnd;
    ASSERT_TRUE(pSlot->CreateForm(7117, &againView, ppSlot));
    EXPECT_EQ(100, WindowRect(pSlot).left);
    EXPECT_EQ(80, WindowRect(pSlot).top);
    EXPECT_EQ(300, [&] { CRect rc; pSlot->GetClientRect(&rc); return rc.Width(); }()) << "the size is the form's";
    pSlot->DestroyWindow();
}

TEST_F(FormFixture, PageAndChartFramesHideWhenClosed)
{
    CFormHtml* pPage = new CFormHtml;
    CFormMDIWnd* pSlot = pPage;
    pPage->SetPageId("BRIEF_TEST_PAGE");
    ASSERT_TRUE(pPage->CreateForm(0, nullptr, &pSlot));
    CRect rc;
    pPage->GetWindowRect(&rc);
    EXPECT_EQ(640, rc.Width()) << "a page never placed opens 640 by 480";
    pPage->SendMessage(WM_CLOSE);
    ASSERT_EQ(pPage, pSlot) << "closing hides the frame, it stays";
    EXPECT_FALSE(pPage->IsWindowVisible());
    pPage->ShowWindow(SW_SHOW);
    EXPECT_TRUE(pPage->IsWindowVisible());

    CFormChart* pChart = new CFormChart;
    CFormMDIWnd* pChartSlot = pChart;
    pChart->SetSection("ChartView0");
    ASSERT_TRUE(pChart->CreateForm(0, nullptr, &pChartSlot));
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    pChart->GetWindowPlacement(&wp);
    EXPECT_EQ(50, wp.rcNormalPosition.left) << "a chart never placed starts at 50,50";
    pChart->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pChart->IsWindowVisible());
    pChart->SaveSettings();
    EXPECT_NE(std::string::npos, shell.Setting("ChartView0", "WinPlace").find("1111")) << "saved as hidden";
    pChart->DestroyWindow();
    EXPECT_EQ(nullptr, pChartSlot);
    pPage->DestroyWindow();
}

TEST_F(FormFixture, CopyPutsThePictureAloneOnTheClipboard)
{
    CFormMDIWnd* pSlot = new CFormMDIWnd;
    ASSERT_TRUE(pSlot->CreateForm(7117, &view, &pSlot));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    pSlot->SendMessage(WM_COMMAND, ID_EDIT_COPY_PICTURE);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_EQ(1, CountClipboardFormats());
    pSlot->DestroyWindow();
}

TEST_F(FormFixture, PageWithoutABrowserStaysAnEmptyFrameThatSizesAndCopies)
{
    HHOOK hHook = SetWindowsHookExA(WH_CBT, RefuseBrowsers, nullptr, 0);
    CFormHtml* pPage = new CFormHtml;
    CFormMDIWnd* pSlot = pPage;
    pPage->SetPageId("BRIEF_TEST_PAGE");
    const BOOL bMade = pPage->CreateForm(55280, new CViewHtml, &pSlot);
    UnhookWindowsHookEx(hHook);
    ASSERT_TRUE(bMade) << "the frame still comes";
    EXPECT_EQ(nullptr, pPage->GetView()) << "the view that went is forgotten";
    pPage->MoveWindow(30, 30, 500, 300);
    EXPECT_EQ(500, WindowRect(pPage).Width());
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    pPage->SendMessage(WM_COMMAND, ID_EDIT_COPY_PICTURE);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
    pPage->DestroyWindow();
    EXPECT_EQ(nullptr, pSlot);
}
