#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/DC.h"
#include "platform/mfc/View.h"

namespace {

std::string s_strLog;

// Paints its left half red and tells what it heard.
class CHalfView : public CView
{
    DECLARE_DYNCREATE(CHalfView)
public:
    ~CHalfView() override { s_strLog += "gone "; }
    void OnDraw(CDC* pDC) override
    {
        CRect rc;
        GetClientRect(&rc);
        rc.right = rc.Width() / 2;
        pDC->FillSolidRect(rc, RGB(255, 0, 0));
        s_strLog += "draw ";
    }
    void OnInitialUpdate() override
    {
        s_strLog += "initial ";
        CView::OnInitialUpdate();
    }
};
IMPLEMENT_DYNCREATE(CHalfView, CView)

}  // namespace

// A view made by its run-time class lives in its parent, paints through OnDraw when its window
// is painted, hears the frame's initial update, and goes with its window.
TEST(CViews, MadeByRuntimeClassPaintsThroughOnDrawAndGoesWithItsWindow)
{
    s_strLog.clear();
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 200, 120, nullptr, nullptr));
    parent.ShowWindow(SW_SHOW);
    EXPECT_STREQ("CHalfView", RUNTIME_CLASS(CHalfView)->m_lpszClassName);
    auto* pView = dynamic_cast<CView*>(RUNTIME_CLASS(CHalfView)->CreateObject());
    ASSERT_NE(nullptr, pView);
    ASSERT_TRUE(pView->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 60), &parent, 1));
    pView->SendMessage(WM_INITIALUPDATE);
    pView->UpdateWindow();
    EXPECT_EQ("initial draw ", s_strLog);
    {
        CClientDC dc(pView);
        EXPECT_EQ(RGB(255, 0, 0), dc.GetPixel(49, 30));
        EXPECT_NE(RGB(255, 0, 0), dc.GetPixel(50, 30));
    }
    pView->DestroyWindow();
    EXPECT_EQ("initial draw gone ", s_strLog);
    parent.DestroyWindow();
}
