#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/Wnd.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const UINT WM_SOCKET = WM_USER + 2;
UINT s_uRegistered = 0;

class CMapWnd : public CWnd
{
public:
    std::string m_strLog;
    int m_nCreateResult = 0;
    BOOL m_bAttachedInCreate = FALSE;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate)
    {
        m_bAttachedInCreate = FromHandlePermanent(m_hWnd) == this && pCreate != nullptr;
        m_strLog += "Create ";
        return m_nCreateResult;
    }
    afx_msg void OnTimer(UINT_PTR nId)
    {
        m_strLog += "Timer" + std::to_string(nId) + " ";
        if (nId == 13)
            throw std::runtime_error("handler failed");
    }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint pt)
    {
        m_strLog += "LDown" + std::to_string(nFlags) + "@" + std::to_string(pt.x) + "," + std::to_string(pt.y) + " ";
    }
    afx_msg LRESULT OnSocket(WPARAM wParam, LPARAM lParam)
    {
        m_strLog += "Socket" + std::to_string(wParam) + "/" + std::to_string(lParam) + " ";
        return 77;
    }
    afx_msg LRESULT OnRegistered(WPARAM, LPARAM) { m_strLog += "Registered "; return 5; }
    afx_msg void OnConnect() { m_strLog += "Connect "; }
    afx_msg void OnMarket(UINT nId) { m_strLog += "Market" + std::to_string(nId) + " "; }
    afx_msg void OnEditChange() { m_strLog += "EditChange "; }
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd*, UINT nCtlColor)
    {
        m_strLog += "CtlColor" + std::to_string(nCtlColor) + " ";
        return reinterpret_cast<HBRUSH>(pDC->GetSafeHdc());
    }
    afx_msg BOOL OnEraseBkgnd(CDC*) { m_strLog += "Erase "; return TRUE; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMapWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_MESSAGE(WM_SOCKET, OnSocket)
    ON_REGISTERED_MESSAGE(s_uRegistered, OnRegistered)
    ON_COMMAND(100, OnConnect)
    ON_COMMAND_RANGE(200, 205, OnMarket)
    ON_CONTROL(0x0300, 300, OnEditChange)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

// A derived class answers the timer itself; what it does not name still reaches the base's map.
class CDerivedWnd : public CMapWnd
{
protected:
    afx_msg void OnTimer(UINT_PTR nId) { m_strLog += "DerivedTimer" + std::to_string(nId) + " "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CMapWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
}
}  // namespace

TEST(Wnd, MessageMapsDispatchWithSplitParameters)
{
    s_uRegistered = RegisterWindowMessageA("WndTestRegistered");
    CMapWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "map", WS_OVERLAPPED, 0, 0, 100, 80, nullptr, nullptr));
    EXPECT_TRUE(wnd.m_bAttachedInCreate) << "attached before WM_CREATE";
    EXPECT_EQ("Create ", wnd.m_strLog);
    wnd.m_strLog.clear();

    wnd.SendMessage(WM_TIMER, 4);
    wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-2, 7));
    EXPECT_EQ(77, wnd.SendMessage(WM_SOCKET, 3, 9));
    EXPECT_EQ(5, wnd.SendMessage(s_uRegistered));
    EXPECT_EQ("Timer4 LDown1@-2,7 Socket3/9 Registered ", wnd.m_strLog);

    // Commands: menus and accelerators are plain commands; controls carry their code.
    wnd.m_strLog.clear();
    EXPECT_EQ(1, wnd.SendMessage(WM_COMMAND, MAKEWPARAM(100, 1), 0));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(203, 0), 0);
    EXPECT_EQ(0, wnd.SendMessage(WM_COMMAND, MAKEWPARAM(206, 0), 0)) << "outside the range: not handled";
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0x0300), reinterpret_cast<LPARAM>(wnd.m_hWnd));
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(300, 0x0400), reinterpret_cast<LPARAM>(wnd.m_hWnd));
    EXPECT_EQ("Connect Market203 EditChange ", wnd.m_strLog);

    // The control colours all reach the one handler with their kind; the DC is the message's.
    wnd.m_strLog.clear();
    HDC hdc = GetDC(wnd.m_hWnd);
    EXPECT_EQ(reinterpret_cast<LRESULT>(hdc),
              wnd.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(wnd.m_hWnd)));
    EXPECT_EQ(1, wnd.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc)));
    ReleaseDC(wnd.m_hWnd, hdc);
    EXPECT_EQ("CtlColor6 Erase ", wnd.m_strLog);

    // What no map names gets the class's default processing.
    wnd.SetWindowText("renamed");
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_STREQ("renamed", strText);

    CDerivedWnd derived;
    ASSERT_TRUE(derived.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    derived.m_strLog.clear();
    derived.SendMessage(WM_TIMER, 8);
    derived.SendMessage(WM_SOCKET, 1, 2);
    EXPECT_EQ("DerivedTimer8 Socket1/2 ", derived.m_strLog);
}

TEST(Wnd, FailingHandlerAndFailedCreation)
{
    CMapWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    wnd.m_strLog.clear();
    EXPECT_EQ(0, wnd.SendMessage(WM_TIMER, 13));
    wnd.SendMessage(WM_TIMER, 14);
    EXPECT_EQ("Timer13 Timer14 ", wnd.m_strLog) << "the window goes on after a failing handler";

    // Timers reach the map through the queue as well.
    wnd.m_strLog.clear();
    EXPECT_EQ(21u, wnd.SetTimer(21, 10));
    MSG msg;
    while (wnd.m_strLog.empty() && GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    EXPECT_TRUE(wnd.KillTimer(21));
    EXPECT_EQ("Timer21 ", wnd.m_strLog);

    CMapWnd refused;
    refused.m_nCreateResult = -1;
    EXPECT_FALSE(refused.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, refused.m_hWnd);
    EXPECT_FALSE(refused.CreateEx(0, "NoSuchClass", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr));
    Drain();
}

TEST(Wnd, HandlesOfOtherAndDestroyedWindows)
{
    CMapWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr));
    HWND hPlain = CreateWindowExA(0, AFX_WND_CLASS, "plain", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ASSERT_NE(nullptr, hPlain);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hPlain));
    CWnd* pTemp = CWnd::FromHandle(hPlain);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(pTemp, CWnd::FromHandle(hPlain)) << "one temporary object per window";
    EXPECT_EQ(pTemp, parent.GetDlgItem(9));
    EXPECT_EQ(&parent, pTemp->GetParent());
    EXPECT_EQ(9, pTemp->GetDlgCtrlID());

    DestroyWindow(hPlain);
    EXPECT_EQ(nullptr, CWnd::FromHandle(hPlain));
    CWnd::DeleteTempMap();

    HWND hParent = parent.m_hWnd;
    EXPECT_TRUE(parent.DestroyWindow());
    EXPECT_EQ(nullptr, parent.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandle(hParent));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hParent));

    // A window attached by hand, then let go.
    HWND hOther = CreateWindowExA(0, AFX_WND_CLASS, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CWnd attached;
    EXPECT_FALSE(attached.Attach(nullptr));
    ASSERT_TRUE(attached.Attach(hOther));
    CWnd second;
    EXPECT_FALSE(second.Attach(hOther));
    EXPECT_EQ(&attached, CWnd::FromHandle(hOther));
    EXPECT_EQ(hOther, attached.Detach());
    EXPECT_NE(&attached, CWnd::FromHandle(hOther));
    DestroyWindow(hOther);
    CWnd::DeleteTempMap();
}

namespace {
class CLinkLikeWnd : public CMDIChildWnd
{
public:
    explicit CLinkLikeWnd(BOOL* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CLinkLikeWnd() override { *m_pbDeleted = TRUE; }
    std::string m_strLog;

protected:
    afx_msg LRESULT OnSocket(WPARAM wParam, LPARAM) { m_strLog += "Socket" + std::to_string(wParam) + " "; return 0; }
    afx_msg void OnDestroy() { m_strLog += "Destroy "; CMDIChildWnd::OnDestroy(); }
    DECLARE_MESSAGE_MAP()

private:
    BOOL* m_pbDeleted;
};

BEGIN_MESSAGE_MAP(CLinkLikeWnd, CMDIChildWnd)
    ON_MESSAGE(WM_SOCKET, OnSocket)
    ON_WM_DESTROY()
END_MESSAGE_MAP()
}  // namespace

TEST(MDIChildWnd, StandsAloneWithoutAFrameAndDeletesItself)
{
    BOOL bDeleted = FALSE;
    auto* pLink = new CLinkLikeWnd(&bDeleted);
    ASSERT_TRUE(pLink->Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW));
    EXPECT_EQ(nullptr, pLink->GetMDIFrame());
    EXPECT_EQ(nullptr, ::GetParent(pLink->m_hWnd)) << "a top-level window while there is no MDI frame";
    EXPECT_FALSE(pLink->GetStyle() & WS_CHILD);
    EXPECT_FALSE(pLink->IsWindowVisible());
    CString strTitle;
    pLink->GetWindowText(strTitle);
    EXPECT_STREQ("Terminal", strTitle);

    pLink->ShowWindow(SW_SHOW);
    EXPECT_TRUE(pLink->IsWindowVisible());
    pLink->ShowWindow(SW_HIDE);
    EXPECT_FALSE(pLink->IsWindowVisible());
    pLink->PostMessage(WM_SOCKET, 4);
    pLink->SendMessage(WM_SOCKET, 5);
    Drain();
    EXPECT_EQ("Socket5 Socket4 ", pLink->m_strLog);

    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    EXPECT_TRUE(pLink->GetWindowPlacement(&wp));
    wp.rcNormalPosition = RECT{30, 40, 230, 190};
    EXPECT_TRUE(pLink->SetWindowPlacement(&wp));
    CRect rc;
    pLink->GetWindowRect(&rc);
    EXPECT_EQ(200, rc.Width());
    EXPECT_EQ(150, rc.Height());

    // Closing destroys the window, and the frame deletes itself.
    pLink->SendMessage(WM_CLOSE);
    EXPECT_TRUE(bDeleted);

    // A visible one from the defaults.
    bDeleted = FALSE;
    auto* pShown = new CLinkLikeWnd(&bDeleted);
    ASSERT_TRUE(pShown->Create(nullptr, "Shown"));
    EXPECT_TRUE(pShown->IsWindowVisible());
    pShown->MDIDestroy();
    EXPECT_TRUE(bDeleted);

    // A frame that is refused deletes itself as well.
    bDeleted = FALSE;
    auto* pRefused = new CLinkLikeWnd(&bDeleted);
    EXPECT_FALSE(pRefused->Create("NoSuchClass", "x"));
    EXPECT_TRUE(bDeleted);
}

TEST(Rect, GeometryHelpers)
{
    CRect rc(10, 20, 30, 60);
    EXPECT_EQ(20, rc.Width());
    EXPECT_EQ(40, rc.Height());
    EXPECT_TRUE(rc.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(rc.PtInRect(CPoint(30, 20))) << "right and bottom lie outside";
    CRect rcOther;
    EXPECT_FALSE(rcOther.IntersectRect(rc, CRect(40, 0, 50, 10)));
    EXPECT_TRUE(rcOther.IsRectNull());
    EXPECT_TRUE(rcOther.IntersectRect(rc, CRect(25, 0, 50, 30)));
    EXPECT_EQ(CRect(25, 20, 30, 30), rcOther);
    rcOther.UnionRect(rc, CRect(0, 0, 5, 5));
    EXPECT_EQ(CRect(0, 0, 30, 60), rcOther);
    CRect rcFlipped(5, 5, 1, 1);
    rcFlipped.NormalizeRect();
    EXPECT_EQ(CRect(1, 1, 5, 5), rcFlipped);
}

namespace {
// Counts the colour changes it hears, then lets the class library handle them, as the
// product's frame windows do.
class CColourWnd : public CWnd
{
public:
    int m_nChanges = 0;

protected:
    afx_msg void OnSysColorChange()
    {
        ++m_nChanges;
        CWnd::OnSysColorChange();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CColourWnd, CWnd)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

int s_nPlainChanges = 0;
LRESULT CALLBACK PlainColourProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_SYSCOLORCHANGE)
        ++s_nPlainChanges;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}
}  // namespace

// The system tells only the top-level windows; each passes the change on to every window inside
// it, the framework's own windows too, so that whatever paints with system colours hears of it.
TEST(Wnd, ColourChangeReachesEveryWindowInsideATopLevelOne)
{
    CWnd frame;     // maps nothing: the class library's own handling
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_OVERLAPPED, 0, 0, 200, 200, nullptr, nullptr));
    CColourWnd child, grandchild;
    ASSERT_TRUE(child.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 100, 100, frame.m_hWnd, nullptr));
    ASSERT_TRUE(grandchild.CreateEx(0, nullptr, "", WS_CHILD, 0, 0, 50, 50, child.m_hWnd, nullptr));
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &PlainColourProc;
    wc.lpszClassName = "PlainColourCounter";
    RegisterClassA(&wc);
    HWND hPlain = CreateWindowExA(0, "PlainColourCounter", "", WS_CHILD, 0, 0, 10, 10, grandchild.m_hWnd, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(nullptr, hPlain);
    s_nPlainChanges = 0;

    INT nIndex = COLOR_BTNFACE;
    COLORREF crSame = GetSysColor(nIndex);
    ASSERT_TRUE(SetSysColors(1, &nIndex, &crSame));
    EXPECT_EQ(1, child.m_nChanges);
    EXPECT_EQ(1, grandchild.m_nChanges) << "once: a child window passes nothing on";
    EXPECT_EQ(1, s_nPlainChanges) << "a window that is no class library object hears it too";
    frame.DestroyWindow();
}
