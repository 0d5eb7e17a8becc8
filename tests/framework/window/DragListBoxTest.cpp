// Window drag and drop with the drag list box: when a drag starts, what the windows under the
// pointer hear, drops and refusals, and the pointer and mouse capture afterwards. The mouse
// comes through the queue as the display delivers it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "framework/window/DragListBox.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Display.h"

namespace {
const int DRAG_TYPE = 7;

struct DragMessage {
    UINT uMsg;
    HWND hWnd;          // the window that heard it
    LPARAM lParam;
    LPVOID pData;       // of the drop record, for queries and drops
    HWND hWndTarget;
};

// A popup with two drag list boxes (A and B, ten items each) and a plain child (the target),
// which log the drag messages they hear. The popup starts a drag for every list that asks and
// answers the queries its lists pass on with m_lHostAnswer; the target answers its own with
// m_lTargetAnswer.
class CDragHost
{
public:
    CDragHost()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &HostProc;
        wc.lpszClassName = "DragTestHost";
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, "DragTestHost", "drag", WS_POPUP | WS_VISIBLE, 20, 20, 420, 180, nullptr, nullptr,
                                 nullptr, nullptr);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        MakeList(m_a, 101, 10);
        MakeList(m_b, 102, 150);
        m_hTarget = CreateWindowExA(0, "DragTestHost", "", WS_CHILD | WS_VISIBLE, 290, 10, 120, 150, m_hWnd,
                                    reinterpret_cast<HMENU>(103), nullptr, nullptr);
        SetWindowLongPtrA(m_hTarget, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        UpdateWindow(m_hWnd);
        Drain();
    }
    ~CDragHost()
    {
        DestroyWindow(m_hWnd);
        Drain();
    }

    // The mouse at a client point of a window, as the display reports it.
    void Mouse(UINT uMsg, HWND hWnd, int x, int y, WPARAM wKeys = 0)
    {
        POINT pt = {x, y};
        ClientToScreen(hWnd, &pt);
        if (uMsg == WM_LBUTTONDOWN || uMsg == WM_RBUTTONDOWN) {
            // A middle press first: this press never pairs with an earlier one into a double click.
            TbDisplayMouse(WindowFromPoint(pt), WM_MBUTTONDOWN, 0, pt);
            TbDisplayMouse(WindowFromPoint(pt), WM_MBUTTONUP, 0, pt);
        }
        TbDisplayMouse(WindowFromPoint(pt), uMsg, wKeys, pt);
        Drain();
    }
    int ItemY(const CTBDragListBox& list, int nItem) const
    {
        const int h = static_cast<int>(SendMessageA(list.m_hWnd, LB_GETITEMHEIGHT, 0, 0));
        return nItem * h + h / 2;
    }
    // Presses on an item of a list and moves 6 pixels down: the drag begins. The pointer shape
    // it began with.
    HCURSOR StartDrag(CTBDragListBox& list, int nItem)
    {
        Mouse(WM_LBUTTONDOWN, list.m_hWnd, 20, ItemY(list, nItem), MK_LBUTTON);
        const HCURSOR hCursor = GetCursor();
        Mouse(WM_MOUSEMOVE, list.m_hWnd, 20, ItemY(list, nItem) + 6, MK_LBUTTON);
        return hCursor;
    }
    std::vector<int> Selection(const CTBDragListBox& list) const
    {
        std::vector<int> items;
        for (int i = 0; i < static_cast<int>(SendMessageA(list.m_hWnd, LB_GETCOUNT, 0, 0)); ++i)
            if (SendMessageA(list.m_hWnd, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0)
                items.push_back(i);
        return items;
    }
    int Count(UINT uMsg, HWND hWnd, LPARAM lParam = -1) const
    {
        int n = 0;
        for (const DragMessage& m : m_log)
            n += m.uMsg == uMsg && m.hWnd == hWnd && (lParam == -1 || m.lParam == lParam);
        return n;
    }
    const DragMessage* Drop() const
    {
        for (const DragMessage& m : m_log)
            if (m.uMsg == GetDoDropMessage())
                return &m;
        return nullptr;
    }

    HWND m_hWnd = nullptr;
    HWND m_hTarget = nullptr;
    CTBDragListBox m_a;
    CTBDragListBox m_b;
    std::vector<DragMessage> m_log;
    LRESULT m_lHostAnswer = 1;
    LRESULT m_lTargetAnswer = 1;
    BOOL m_bStartDrags = TRUE;

private:
    void MakeList(CTBDragListBox& list, int nId, int x)
    {
        HWND hList = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_EXTENDEDSEL | LBS_NOTIFY |
                                     LBS_WANTKEYBOARDINPUT | LBS_NOINTEGRALHEIGHT, x, 10, 120, 150, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
        list.SubclassWindow(hList);
        for (int i = 0; i < 10; ++i) {
            const std::string str = (nId == 101 ? "A" : "B") + std::to_string(i);
            SendMessageA(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(str.c_str()));
        }
    }
    static LRESULT CALLBACK HostProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
    {
        CDragHost* pHost = reinterpret_cast<CDragHost*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (pHost == nullptr || uMsg < 0xC000)
            return DefWindowProcA(hWnd, uMsg, wParam, lParam);
        DragMessage m = {uMsg, hWnd, lParam, nullptr, nullptr};
        if (uMsg == GetQueryDropMessage() || uMsg == GetDoDropMessage()) {
            const TBDROPRECORD* pRecord = reinterpret_cast<const TBDROPRECORD*>(lParam);
            m.pData = pRecord->pData;
            m.hWndTarget = pRecord->hWndTarget;
        }
        pHost->m_log.push_back(m);
        if (uMsg == GetBeginDragDropMessage() && pHost->m_bStartDrags)
            CDragDropWnd::Create(reinterpret_cast<LPVOID>(lParam), DRAG_TYPE);
        if (uMsg == GetQueryDropMessage())
            return hWnd == pHost->m_hTarget ? pHost->m_lTargetAnswer : pHost->m_lHostAnswer;
        return 0;
    }
};
}  // namespace

TEST(DragListBox, ClickSelectsAndShortMovesNeverDrag)
{
    CDragHost host;
    host.m_bStartDrags = FALSE;
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 2), MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 23, host.ItemY(host.m_a, 2) + 3, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 23, host.ItemY(host.m_a, 2) + 3);
    EXPECT_EQ(0, host.Count(GetBeginDragDropMessage(), host.m_hWnd));
    EXPECT_EQ(std::vector<int>{2}, host.Selection(host.m_a));
    EXPECT_EQ(nullptr, GetCapture());

    // Shift extends from the anchor; a click into the selection keeps it until the release,
    // so that it could be dragged whole, and then selects the item alone.
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 4), MK_LBUTTON | MK_SHIFT);
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 4), MK_SHIFT);
    EXPECT_EQ((std::vector<int>{2, 3, 4}), host.Selection(host.m_a));
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 3), MK_LBUTTON);
    EXPECT_EQ((std::vector<int>{2, 3, 4}), host.Selection(host.m_a));
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 3));
    EXPECT_EQ(std::vector<int>{3}, host.Selection(host.m_a));

    // Four pixels are a drag; the selection dragged is the one there was.
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 5), MK_LBUTTON | MK_CONTROL);
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 5), MK_CONTROL);
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, host.ItemY(host.m_a, 3), MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 24, host.ItemY(host.m_a, 3), MK_LBUTTON);
    ASSERT_EQ(1, host.Count(GetBeginDragDropMessage(), host.m_hWnd));
    EXPECT_EQ(static_cast<LPARAM>(reinterpret_cast<INT_PTR>(host.m_a.m_hWnd)), host.m_log.back().lParam);
    EXPECT_EQ((std::vector<int>{3, 5}), host.Selection(host.m_a));
    EXPECT_EQ(nullptr, GetCapture());
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 24, host.ItemY(host.m_a, 3));
    EXPECT_EQ((std::vector<int>{3, 5}), host.Selection(host.m_a));
}

TEST(DragListBox, AsksEachWindowOnceAndDropsOnAnAcceptingOne)
{
    CDragHost host;
    const HCURSOR hBefore = host.StartDrag(host.m_a, 1);
    HWND hTracker = GetCapture();
    ASSERT_NE(nullptr, hTracker);
    EXPECT_NE(host.m_a.m_hWnd, hTracker);

    // Three moves over the target: a dragging message each, one question.
    for (int y : {20, 40, 60})
        host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, y, MK_LBUTTON);
    const LPARAM lTarget = reinterpret_cast<LPARAM>(host.m_hTarget);
    EXPECT_EQ(3, host.Count(GetDraggingMessage(), host.m_hTarget, lTarget));
    EXPECT_EQ(1, host.Count(GetQueryDropMessage(), host.m_hTarget));
    EXPECT_NE(hBefore, GetCursor());
    // Over list B the list passes the question to its owner, once; back on the target it is
    // asked again.
    host.Mouse(WM_MOUSEMOVE, host.m_b.m_hWnd, 30, 30, MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, host.m_b.m_hWnd, 30, 50, MK_LBUTTON);
    EXPECT_EQ(1, host.Count(GetQueryDropMessage(), host.m_hWnd));
    EXPECT_EQ(host.m_b.m_hWnd, host.m_log.back().hWndTarget);
    host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, 70, MK_LBUTTON);
    EXPECT_EQ(2, host.Count(GetQueryDropMessage(), host.m_hTarget));
    EXPECT_EQ(nullptr, host.Drop());

    host.Mouse(WM_LBUTTONUP, host.m_hTarget, 30, 70);
    const DragMessage* pDrop = host.Drop();
    ASSERT_NE(nullptr, pDrop);
    EXPECT_EQ(host.m_hTarget, pDrop->hWnd);
    EXPECT_EQ(static_cast<LPVOID>(host.m_a.m_hWnd), pDrop->pData);
    EXPECT_EQ(host.m_hTarget, pDrop->hWndTarget);
    EXPECT_EQ(3, host.Count(GetQueryDropMessage(), host.m_hTarget));   // asked again at the release
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(hBefore, GetCursor());
    EXPECT_FALSE(IsWindow(hTracker));
}

TEST(DragListBox, RefusedOrNowhereNoDropAndEverythingRestored)
{
    CDragHost host;
    host.m_lTargetAnswer = 0;
    HCURSOR hBefore = host.StartDrag(host.m_a, 0);
    host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, 30, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.m_hTarget, 30, 30);
    EXPECT_EQ(2, host.Count(GetQueryDropMessage(), host.m_hTarget));
    EXPECT_EQ(nullptr, host.Drop());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(hBefore, GetCursor());

    // Released where there is no window at all: nobody is asked.
    host.m_lTargetAnswer = 1;
    host.m_log.clear();
    hBefore = host.StartDrag(host.m_a, 0);
    host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, 30, MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, 3000, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.m_hTarget, 30, 3000);
    EXPECT_EQ(1, host.Count(GetQueryDropMessage(), host.m_hTarget));
    EXPECT_EQ(nullptr, host.Drop());
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_EQ(hBefore, GetCursor());

    // A window that had the mouse before the drag has it again afterwards.
    SetCapture(host.m_hWnd);
    HWND hTracker = CDragDropWnd::Create(nullptr, DRAG_TYPE)->m_hWnd;
    EXPECT_EQ(hTracker, GetCapture());
    host.Mouse(WM_LBUTTONUP, host.m_hTarget, 30, 30);
    EXPECT_EQ(host.m_hWnd, GetCapture());
    EXPECT_FALSE(IsWindow(hTracker));
    ReleaseCapture();
}

TEST(DragListBox, OwnDropsOnlyWhenAllowedWithTheInsertionMark)
{
    CDragHost host;
    // Not allowed: the list answers itself, its owner is not asked, nothing drops.
    host.StartDrag(host.m_a, 2);
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 5), MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 5));
    EXPECT_EQ(0, host.Count(GetQueryDropMessage(), host.m_hWnd));
    EXPECT_EQ(nullptr, host.Drop());
    EXPECT_EQ(-1, host.m_a.GetInsertMark());

    // Allowed, with the mark: it follows the pointer, goes when the pointer leaves, and the
    // drop reaches the owner with the list as target.
    host.m_a.m_bAcceptsOwnDrops = TRUE;
    host.m_a.m_bAcceptsDragging = TRUE;
    host.StartDrag(host.m_a, 2);
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 5), MK_LBUTTON);
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 6), MK_LBUTTON);
    EXPECT_EQ(6, host.m_a.GetInsertMark());
    host.Mouse(WM_MOUSEMOVE, host.m_hTarget, 30, 30, MK_LBUTTON);
    EXPECT_EQ(-1, host.m_a.GetInsertMark());
    host.Mouse(WM_MOUSEMOVE, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 4), MK_LBUTTON);
    EXPECT_EQ(4, host.m_a.GetInsertMark());
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 30, host.ItemY(host.m_a, 4));
    const DragMessage* pDrop = host.Drop();
    ASSERT_NE(nullptr, pDrop);
    EXPECT_EQ(host.m_hWnd, pDrop->hWnd);
    EXPECT_EQ(host.m_a.m_hWnd, pDrop->hWndTarget);
    EXPECT_EQ(-1, host.m_a.GetInsertMark());
    // List B shows no mark: its owner did not ask for one.
    host.StartDrag(host.m_a, 2);
    host.Mouse(WM_MOUSEMOVE, host.m_b.m_hWnd, 30, host.ItemY(host.m_b, 3), MK_LBUTTON);
    EXPECT_EQ(-1, host.m_b.GetInsertMark());
    host.Mouse(WM_LBUTTONUP, host.m_b.m_hWnd, 30, host.ItemY(host.m_b, 3));
}

TEST(DragListBox, DoubleClicksTellTheButtonAndRightClickAsksForSpace)
{
    struct Seen { UINT uMsg; WPARAM wParam; int nSource; };
    static std::vector<Seen> s_seen;
    static CTBDragListBox* s_pList = nullptr;
    CDragHost host;
    s_seen.clear();
    s_pList = &host.m_a;
    // The host's procedure logs only registered messages; a small subclass hears the rest.
    static WNDPROC s_pfnHost = nullptr;
    s_pfnHost = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(host.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(
        +[](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if ((uMsg == WM_COMMAND && HIWORD(wParam) == LBN_DBLCLK) || uMsg == WM_VKEYTOITEM)
                s_seen.push_back({uMsg, wParam, s_pList->GetDoubleClickSource()});
            return CallWindowProcA(s_pfnHost, hWnd, uMsg, wParam, lParam);
        })));
    const int y = host.ItemY(host.m_a, 3);
    host.Mouse(WM_LBUTTONDOWN, host.m_a.m_hWnd, 20, y, MK_LBUTTON);
    host.Mouse(WM_LBUTTONUP, host.m_a.m_hWnd, 20, y);
    POINT pt = {20, y};
    ClientToScreen(host.m_a.m_hWnd, &pt);
    TbDisplayMouse(host.m_a.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, pt);
    TbDisplayMouse(host.m_a.m_hWnd, WM_LBUTTONUP, 0, pt);
    Drain();
    ASSERT_EQ(1u, s_seen.size());
    EXPECT_EQ(1, s_seen[0].nSource);
    SendMessageA(host.m_a.m_hWnd, WM_RBUTTONDBLCLK, 0, MAKELPARAM(20, y));
    ASSERT_EQ(2u, s_seen.size());
    EXPECT_EQ(2, s_seen[1].nSource);
    EXPECT_EQ(0, host.m_a.GetDoubleClickSource());
    EXPECT_EQ(nullptr, GetCapture());

    // A right click selects; on an item that was selected already it is a Space on it.
    s_seen.clear();
    const int y5 = host.ItemY(host.m_a, 5);
    host.Mouse(WM_RBUTTONDOWN, host.m_a.m_hWnd, 20, y5, MK_RBUTTON);
    host.Mouse(WM_RBUTTONUP, host.m_a.m_hWnd, 20, y5);
    EXPECT_EQ(std::vector<int>{5}, host.Selection(host.m_a));
    EXPECT_TRUE(s_seen.empty());
    host.Mouse(WM_RBUTTONDOWN, host.m_a.m_hWnd, 20, y5, MK_RBUTTON);
    host.Mouse(WM_RBUTTONUP, host.m_a.m_hWnd, 20, y5);
    ASSERT_EQ(1u, s_seen.size());
    EXPECT_EQ(static_cast<UINT>(WM_VKEYTOITEM), s_seen[0].uMsg);
    EXPECT_EQ(MAKEWPARAM(VK_SPACE, 5), s_seen[0].wParam);
    SetWindowLongPtrA(host.m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(s_pfnHost));
}
