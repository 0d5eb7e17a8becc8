// The row-header pane: change highlights, the hot line and marking drags, through a real grid.
#include <gtest/gtest.h>

#include <ctime>
#include <utility>
#include <vector>

#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

class CMarkSink : public CTableWindowEventSink
{
public:
    void OnRowMarked(CViewRow* pRow, BOOL bMark) override
    {
        m_marked.push_back({pRow ? pRow->GetIndex() : -1, bMark});
    }
    void OnRowsSelected(int nFirst, int nLast, BOOL bMark) override { m_selected.push_back({nFirst, nLast, bMark}); }
    std::vector<std::pair<int, BOOL>> m_marked;
    struct Range { int nFirst, nLast; BOOL bMark; };
    std::vector<Range> m_selected;
};

// A grid with row headers over rows whose marks the tests read by view index.
class CHeaderGrid
{
public:
    explicit CHeaderGrid(int nRows)
    {
        m_table.Fill(nRows);
        m_table.View().SetShowHeader(TRUE);
        m_pWindow = std::make_unique<CGridWindow>(m_table.View(), 400, 300);
        Grid().AddEventSink(&m_sink);
    }
    ~CHeaderGrid() { Grid().RemoveEventSink(&m_sink); }
    CTableWindow& Grid() { return m_pWindow->Grid(); }
    CTableWindowHeaderArea& Header() { return Grid().GetHeaderPane(); }
    HWND Hwnd() const { return m_pWindow->Hwnd(); }
    CTableRow* Row(int nIndex)
    {
        CViewRow row;
        return m_table.View().GetRow(row, nIndex) ? row.GetNode() : nullptr;
    }
    std::string Marks(int nCount)
    {
        std::string s;
        for (int i = 0; i < nCount; ++i)
            s += Row(i) && Row(i)->IsMarked() ? 'x' : '.';
        return s;
    }
    void SetMarked(int nIndex, BOOL bMark)
    {
        CViewRow row;
        ASSERT_TRUE(m_table.View().GetRow(row, nIndex));
        row.SetMarked(bMark);
    }
    void Drag(int nFrom, int nTo, BOOL bMark)
    {
        Header().BeginDrag(nFrom, bMark);
        Header().DragTo(nTo);
        Header().EndDrag(TRUE);
    }
    // The face of a header cell, away from its edges and its character.
    COLORREF Face(int nLine)
    {
        const RECT rc = Header().GetCellRect();
        HDC hdc = GetDC(Hwnd());
        COLORREF cr = GetPixel(hdc, rc.left + 3, rc.top + nLine * Grid().GetRowHeight() + 3);
        ReleaseDC(Hwnd(), hdc);
        return cr;
    }
    void Repaint()
    {
        InvalidateRect(Hwnd(), nullptr, FALSE);
        UpdateWindow(Hwnd());
    }

    CGridTable m_table;
    std::unique_ptr<CGridWindow> m_pWindow;
    CMarkSink m_sink;
};

}  // namespace

TEST(TableWindowHeaderArea, ChangeHighlightAgesByTheWholeDifference)
{
    CHeaderGrid g(10);
    ASSERT_GT(g.Header().GetRect().right, g.Header().GetRect().left);
    const COLORREF crHighlight = GetNorvGlobals().m_crFrame2;
    ASSERT_NE(crHighlight, GetNorvGlobals().m_crFrame1);
    // Inserting stamped every row: only the stamps below count.
    for (int i = 0; i < 10; ++i)
        g.Row(i)->SetStamp(0);
    const int64_t tNow = static_cast<int64_t>(time(nullptr));
    g.Row(1)->SetStamp(tNow - 3);
    g.Row(2)->SetStamp(tNow + 3600);                   // the clock was set back
    g.Row(3)->SetStamp(0);
    g.Row(4)->SetStamp(tNow - 65536 - 2);              // the same low 16 bits as a recent stamp
    g.Row(5)->SetStamp(tNow - 40000);                  // an old stamp past 32767 seconds

    g.Grid().SetHighlightSeconds(5);
    g.Repaint();
    EXPECT_EQ(crHighlight, g.Face(1));
    EXPECT_NE(crHighlight, g.Face(2));
    EXPECT_NE(crHighlight, g.Face(3));
    EXPECT_NE(crHighlight, g.Face(4));
    EXPECT_NE(crHighlight, g.Face(5));
    EXPECT_EQ(g.Face(0), g.Face(2));

    g.Grid().SetHighlightSeconds(0);
    g.Repaint();
    EXPECT_NE(crHighlight, g.Face(1));
}

TEST(TableWindowHeaderArea, DragOnOneLineTogglesAndOverSeveralMarksThemAll)
{
    CHeaderGrid g(10);
    g.Drag(2, 2, TRUE);
    EXPECT_EQ("..x.......", g.Marks(10));
    ASSERT_EQ(1u, g.m_sink.m_marked.size());
    EXPECT_EQ(2, g.m_sink.m_marked[0].first);
    EXPECT_TRUE(g.m_sink.m_marked[0].second);
    g.Drag(2, 2, TRUE);
    EXPECT_EQ("..........", g.Marks(10));
    // Unmarking a single unmarked row leaves it unmarked.
    g.Drag(3, 3, FALSE);
    EXPECT_EQ("..........", g.Marks(10));

    g.SetMarked(4, TRUE);
    g.Drag(5, 1, TRUE);                                 // either order
    EXPECT_EQ(".xxxxx....", g.Marks(10));
    ASSERT_EQ(1u, g.m_sink.m_selected.size());
    EXPECT_EQ(1, g.m_sink.m_selected[0].nFirst);
    EXPECT_EQ(5, g.m_sink.m_selected[0].nLast);
    EXPECT_TRUE(g.m_sink.m_selected[0].bMark);
    g.Drag(3, 4, FALSE);
    EXPECT_EQ(".xx..x....", g.Marks(10));
    EXPECT_FALSE(g.Header().IsDragActive());

    // Without apply nothing changes; a negative line starts no drag.
    g.Header().BeginDrag(7, TRUE);
    g.Header().DragTo(8);
    g.Header().EndDrag(FALSE);
    EXPECT_EQ(".xx..x....", g.Marks(10));
    g.Header().BeginDrag(-1, TRUE);
    EXPECT_FALSE(g.Header().IsDragActive());
}

TEST(TableWindowHeaderArea, DragFollowsItsAnchorRowWhileTheGridScrolls)
{
    CHeaderGrid g(200);
    g.Header().BeginDrag(1, TRUE);
    // The grid scrolls 3 rows on: the anchor row leaves the window at the top.
    g.Grid().SetTopRow(3, FALSE, 0);
    g.Header().OnLinesScrolledUp(3);
    EXPECT_EQ(-2, g.Header().GetAnchorLine());
    g.Header().DragTo(5);
    g.Header().EndDrag(TRUE);
    EXPECT_EQ(".xxxxxxxx.", g.Marks(10));
    ASSERT_EQ(1u, g.m_sink.m_selected.size());
    EXPECT_EQ(1, g.m_sink.m_selected[0].nFirst);
    EXPECT_EQ(8, g.m_sink.m_selected[0].nLast);

    // Lines past the window reach rows past it.
    g.Grid().SetTopRow(0, FALSE, 0);
    g.Header().BeginDrag(0, FALSE);
    g.Header().DragTo(7 + 1000);
    g.Header().EndDrag(TRUE);
    EXPECT_EQ("..........", g.Marks(10));
}

TEST(TableWindowHeaderArea, HotLineOnlyOnMarkableRows)
{
    CHeaderGrid g(10);
    g.Row(2)->SetFlag(ROW_MARKABLE, FALSE);
    g.Header().SetHotLine(2);
    EXPECT_EQ(-3, g.Header().GetHotLine());
    g.Header().SetHotLine(3);
    EXPECT_EQ(3, g.Header().GetHotLine());
    g.Header().SetHotLine(-1);
    EXPECT_EQ(-1, g.Header().GetHotLine());
    g.Header().SetHotLine(g.Header().GetLinesThatFit());
    EXPECT_EQ(-3, g.Header().GetHotLine());
    // A line past the last row has no row to mark.
    g.Header().SetHotLine(12);
    EXPECT_EQ(-3, g.Header().GetHotLine());

    // A drag shows the mark only on rows that may be marked, and marks none that may not.
    g.Header().BeginDrag(1, TRUE);
    g.Header().DragTo(2);
    g.Header().EndDrag(TRUE);
    EXPECT_EQ(".xx.......", g.Marks(10));
    g.Drag(2, 2, TRUE);
    EXPECT_EQ(".xx.......", g.Marks(10));
}

TEST(TableWindowHeaderArea, PressedHeadersFollowTheDragAndGoWithIt)
{
    CHeaderGrid g(10);
    g.Repaint();
    const RECT rcCells = g.Header().GetCellRect();
    auto Shot = [&]() {
        std::vector<COLORREF> pixels;
        HDC hdc = GetDC(g.Hwnd());
        for (int y = rcCells.top; y < rcCells.bottom; ++y)
            for (int x = rcCells.left; x < rcCells.right; ++x)
                pixels.push_back(GetPixel(hdc, x, y));
        ReleaseDC(g.Hwnd(), hdc);
        return pixels;
    };
    const std::vector<COLORREF> idle = Shot();
    g.Header().BeginDrag(2, TRUE);
    g.Header().DragTo(4);
    const std::vector<COLORREF> pressed = Shot();
    EXPECT_NE(idle, pressed);
    // What the drag drew is what a whole repaint draws.
    g.Repaint();
    EXPECT_EQ(pressed, Shot());
    g.Header().DragTo(2);
    g.Header().DragTo(4);
    EXPECT_EQ(pressed, Shot());
    g.Header().EndDrag(FALSE);
    EXPECT_EQ(idle, Shot());
}
