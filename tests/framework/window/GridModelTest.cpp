// A live grid under random table changes, scrolls and resizes: after every step its window must
// look exactly like a second grid of the same size that paints the same state from scratch, its
// top row and current row must be valid, and a current row whose row stays on screen stays on it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <vector>

#include "framework/table/SortColumns.h"
#include "framework/table/ViewRow.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/framework/window/GridTestSupport.h"

namespace {

int Between(std::mt19937& rng, int nLow, int nHigh)
{
    return nLow + static_cast<int>(rng() % static_cast<unsigned>(nHigh - nLow + 1));
}

// The grid's own image (its children excluded) inside a rectangle, as 0x00RRGGBB values.
std::vector<DWORD> WindowPixels(HWND hWnd, const RECT& rc)
{
    const int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    std::vector<DWORD> bits(static_cast<size_t>(std::max(0, cx * cy)));
    if (bits.empty())
        return bits;
    HDC hdcWindow = GetDC(hWnd);
    HDC hdcMem = CreateCompatibleDC(hdcWindow);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcWindow, cx, cy);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdcMem, 0, 0, cx, cy, hdcWindow, rc.left, rc.top, SRCCOPY);
    SelectObject(hdcMem, hOld);
    GetBitmapBits(hBitmap, static_cast<LONG>(bits.size() * 4), bits.data());
    DeleteObject(hBitmap);
    DeleteDC(hdcMem);
    ReleaseDC(hWnd, hdcWindow);
    return bits;
}

// The first differing pixel of two images of the same rectangle, for the failure message.
std::string FirstDifference(const std::vector<DWORD>& a, const std::vector<DWORD>& b, const RECT& rc)
{
    const int cx = rc.right - rc.left;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i] != b[i]) {
            std::ostringstream out;
            out << "first difference at (" << rc.left + static_cast<int>(i) % cx << ", "
                << rc.top + static_cast<int>(i) / cx << "): live " << std::hex << a[i] << ", repainted " << b[i];
            return out.str();
        }
    return a.size() == b.size() ? "" : "sizes differ";
}

// Empty when the live grid, once its pending paints are done the way the user sees them at the
// next WM_PAINT, shows exactly what the reference grid of the same size paints from nothing at
// the live grid's top row, sideways offset and current row; else where they first differ (and
// both pictures are written to the screenshots).
std::string DifferenceFromRepaint(CGridWindow& liveWindow, CGridWindow& referenceWindow)
{
    CTableWindow& live = liveWindow.Grid();
    CTableWindow& reference = referenceWindow.Grid();
    UpdateWindow(liveWindow.Hwnd());
    const int nOffset = live.GetCurrentOffset();
    reference.SetTopRow(live.GetTopRow(), FALSE, 0);
    reference.GetScrollPane().ScrollTo(live.GetScrollPane().GetOffset(), FALSE);
    reference.SetCurrentRowOffset(nOffset >= 0 || nOffset == TW_APPEND_LINE ? nOffset : 0);
    reference.Refresh();
    if (nOffset < 0 && nOffset != TW_APPEND_LINE)
        reference.ParkCurrentRow();
    std::string strDifference;
    const CTableWindowArea* panes[] = {&live.GetHeaderPane(), &live.GetFixedPane(), &live.GetScrollPane()};
    for (const CTableWindowArea* pPane : panes)
        for (const RECT* pRect : {&pPane->GetTitleRect(), &pPane->GetCellRect()}) {
            const std::vector<DWORD> a = WindowPixels(liveWindow.Hwnd(), *pRect);
            const std::vector<DWORD> b = WindowPixels(referenceWindow.Hwnd(), *pRect);
            if (a != b && strDifference.empty()) {
                strDifference = FirstDifference(a, b, *pRect);
                TbSaveWindowPng(liveWindow.Hwnd(), ScreenshotPath("grid_model_live").c_str());
                TbSaveWindowPng(referenceWindow.Hwnd(), ScreenshotPath("grid_model_repainted").c_str());
            }
        }
    if (nOffset < 0 && nOffset != TW_APPEND_LINE)
        reference.RestoreCurrentRow();
    return strDifference;
}

class CGridModel
{
public:
    explicit CGridModel(unsigned nSeed)
        : m_rng(nSeed), m_live(m_table.View(), 420, 300), m_reference(m_table.View(), 420, 300)
    {
        m_table.Fill(120);
        m_nNext = 120;
        m_table.SortBy(GRID_COL_LAST, SORT_DESCENDING);
        m_table.View().SetShowHeader(TRUE);
        for (CTableWindow* pGrid : {&m_live.Grid(), &m_reference.Grid()})
            pGrid->SetHighlightSeconds(3600);   // nothing expires between the two paints
        m_live->Refresh();
        m_reference->Refresh();
    }

    void Step(int nStep)
    {
        m_nStep = nStep;
        const int nRows = m_table.View().GetRowCount();
        CTableRow* pCurrentNode = CurrentNode();
        // A current row on the last row follows the last row instead of its own.
        bool bKeepsRow = !(m_live->GetFollowLastRow() && m_live->GetCurrentRow() == nRows - 1);
        // Changes also come while earlier paints are still pending, as when they arrive faster than
        // the display's messages.
        if (Between(m_rng, 0, 3) == 0)
            InvalidateRandomRect();
        m_nOp = Between(m_rng, 0, 17);
        switch (m_nOp) {
        case 0: m_table.Add(m_nNext++); break;
        case 1: DeleteRandomRow(); bKeepsRow = false; break;
        case 2: case 3: case 4: WriteVolume(); break;
        case 5: case 6: WriteLast(); break;
        case 7: m_table.SortBy(Between(m_rng, 0, 1) ? GRID_COL_LAST : GRID_COL_SYMBOL, Between(m_rng, 0, 1) ? 1 : -1); break;
        case 8: m_table.View().SetFixedColumnCount(Between(m_rng, 0, 2)); bKeepsRow = false; break;   // a layout keeps the line
        case 9: Resize(); bKeepsRow = false; break;
        case 10: SendMessageA(m_live.Hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, Between(m_rng, 0, 1) ? 120 : static_cast<WORD>(-120)), 0); bKeepsRow = false; break;
        case 11: m_live->SetTopRow(Between(m_rng, 0, m_live->GetMaxTopRow()), TRUE, 0); bKeepsRow = false; break;
        case 12: m_live->ScrollToRow(Between(m_rng, 0, std::max(0, nRows - 1)), Between(m_rng, 0, 1) ? -3 : Between(m_rng, 0, 10)); bKeepsRow = false; break;
        case 13: ScrollBar(); bKeepsRow = false; break;   // pages and ends keep the screen line
        case 14: m_live->SetCurrentRowOffset(Between(m_rng, 0, std::max(0, m_live->GetWholeLines() - 1))); bKeepsRow = false; break;
        case 15: MarkRandomRow(); break;
        case 16: ResizeColumn(); m_table.Add(m_nNext++); break;   // the resize's paints still pending
        case 17: EmptyOrPending(); m_table.Add(m_nNext++); bKeepsRow = false; break;
        }
        Check(bKeepsRow ? pCurrentNode : nullptr);
    }

    // A fixed scene: the grid at a size and top row, then resized, then checked.
    void ResizeScene(int cx0, int cy0, int nTop, int cx1, int cy1)
    {
        for (HWND hWnd : {m_live.Hwnd(), m_reference.Hwnd()})
            SetWindowPos(hWnd, nullptr, 0, 0, cx0, cy0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        m_live->ScrollToRow(nTop, 0);
        UpdateWindow(m_live.Hwnd());
        for (HWND hWnd : {m_live.Hwnd(), m_reference.Hwnd()})
            SetWindowPos(hWnd, nullptr, 0, 0, cx1, cy1, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        Check(nullptr);
    }

private:
    CTableRow* CurrentNode()
    {
        const int nRow = m_live->GetCurrentRow();
        CViewRow row(&m_table.View());
        return nRow >= 0 && m_table.View().GetRow(row, nRow) ? row.GetNode() : nullptr;
    }
    int IndexOf(CTableRow* pNode)
    {
        for (int i = 0; i < m_table.View().GetRowCount(); ++i) {
            CViewRow row(&m_table.View());
            if (m_table.View().GetRow(row, i) && row.GetNode() == pNode)
                return i;
        }
        return -1;
    }
    TBCellSlot* BlockAt(int nIndex)
    {
        CViewRow row(&m_table.View());
        if (!m_table.View().GetRow(row, nIndex) || !row.IsDataRow())
            return nullptr;
        TBCellSlot* pBlock = row.LockValues();
        row.UnlockValues(pBlock);
        return pBlock;
    }
    // Half the writes go to rows on screen, where the live road paints them.
    int RandomRow()
    {
        const int nRows = m_table.View().GetRowCount();
        if (nRows == 0)
            return -1;
        if (Between(m_rng, 0, 1))
            return Between(m_rng, 0, nRows - 1);
        return std::min(nRows - 1, m_live->GetTopRow() + Between(m_rng, 0, std::max(0, m_live->GetLinesThatFit())));
    }
    void WriteVolume()
    {
        TBCellSlot* pBlock = BlockAt(RandomRow());
        if (!pBlock)
            return;
        CRow row = m_table.t.Find(pBlock);
        int32_t nValue = Between(m_rng, 0, 100000);
        row.UpdateCell(GRID_COL_VOLUME, &nValue);
    }
    void WriteLast()
    {
        TBCellSlot* pBlock = BlockAt(RandomRow());
        if (!pBlock)
            return;
        CRow row = m_table.t.Find(pBlock);
        double dLast = 100.0 + Between(m_rng, 0, 2000) / 8.0;
        row.UpdateCell(GRID_COL_LAST, &dLast);
    }
    void DeleteRandomRow()
    {
        TBCellSlot* pBlock = BlockAt(RandomRow());
        if (!pBlock || m_table.View().GetRowCount() < 10)
            return;
        CRow row = m_table.t.Find(pBlock);
        m_table.t.Table().DeleteRow(row);
        m_table.t.FreeBlock(pBlock);
    }
    void MarkRandomRow()
    {
        CViewRow row(&m_table.View());
        if (m_table.View().GetRow(row, RandomRow()) && row.IsDataRow())
            row.SetMarked(!row.IsMarked());
    }
    void InvalidateRandomRect()
    {
        RECT rc;
        GetClientRect(m_live.Hwnd(), &rc);
        const int y = Between(m_rng, 0, std::max(0, static_cast<int>(rc.bottom) - 1));
        rc = RECT{Between(m_rng, 0, rc.right / 2), y, Between(m_rng, rc.right / 2, rc.right), y + Between(m_rng, 1, 60)};
        InvalidateRect(m_live.Hwnd(), &rc, FALSE);
    }
    // A column widened or narrowed the way a user's drag does it, on both grids; a fixed one may
    // push its pane under the vertical scroll bar.
    void ResizeColumn()
    {
        const int nCol = Between(m_rng, 0, GRID_COLUMNS - 1);
        const int nBy = Between(m_rng, -20, 30);
        for (CTableWindow* pGrid : {&m_live.Grid(), &m_reference.Grid()}) {
            pGrid->ParkCurrentRow();
            pGrid->SetColumnWidth(nCol, pGrid->GetColumnWidth(nCol) + nBy, TRUE);
            pGrid->RestoreCurrentRow();
        }
    }
    // Now and then the table is emptied; otherwise the whole window waits for its next paint.
    void EmptyOrPending()
    {
        if (Between(m_rng, 0, 7) == 0)
            m_table.t.Table().RemoveAllRows();
        else
            InvalidateRect(m_live.Hwnd(), nullptr, FALSE);
    }
    void Resize()
    {
        const int cx = Between(m_rng, 150, 600), cy = Between(m_rng, 60, 500);
        for (HWND hWnd : {m_live.Hwnd(), m_reference.Hwnd()})
            SetWindowPos(hWnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    void ScrollBar()
    {
        static const UINT s_codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
        const UINT uCode = s_codes[Between(m_rng, 0, 5)];
        SendMessageA(m_live.Hwnd(), WM_VSCROLL, MAKEWPARAM(uCode, 0), 0);
        SendMessageA(m_live.Hwnd(), WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
    }

    void Check(CTableRow* pKeptNode)
    {
        CTableWindow& live = m_live.Grid();
        const int nTop = live.GetTopRow();
        ASSERT_GE(nTop, 0) << "step " << m_nStep << " op " << m_nOp;
        ASSERT_LE(nTop, live.GetMaxTopRow()) << "step " << m_nStep << " op " << m_nOp;
        const int nOffset = live.GetCurrentOffset();
        ASSERT_TRUE(nOffset == TW_NO_ROW || nOffset == TW_APPEND_LINE || nOffset == -1
                    || (nOffset >= 0 && nOffset < std::max(1, live.GetWholeLines())))
            << "step " << m_nStep << " op " << m_nOp << " offset " << nOffset;
        if (pKeptNode) {
            const int nIndex = IndexOf(pKeptNode);
            if (nIndex >= nTop && nIndex < nTop + live.GetWholeLines()) {
                ASSERT_EQ(nIndex, live.GetCurrentRow()) << "step " << m_nStep << " op " << m_nOp;
            }
        }
        ASSERT_EQ("", DifferenceFromRepaint(m_live, m_reference)) << "step " << m_nStep << " op " << m_nOp;
    }

    std::mt19937 m_rng;
    CGridTable m_table;
    CGridWindow m_live;
    CGridWindow m_reference;
    int m_nNext = 0;
    int m_nStep = 0;
    int m_nOp = 0;
};

// A log: rows appended one at a time at the end of a view ordered by symbol (newest last), the
// current row following the last row. Every change can come while the paints of the one before
// are still pending, as they are when changes arrive faster than the display's messages.
class CLogScene
{
public:
    explicit CLogScene(int nRows) : m_live(m_table.View(), 300, 200), m_reference(m_table.View(), 300, 200)
    {
        m_table.SortBy(GRID_COL_SYMBOL, 1);
        for (CTableWindow* pGrid : {&m_live.Grid(), &m_reference.Grid()}) {
            pGrid->SetHighlightSeconds(3600);
            pGrid->SetFollowLastRow(TRUE);
        }
        for (int i = 0; i < nRows; ++i)
            Append();
        m_live->Refresh();
        m_live->SetCurrentRowOffset(std::max(0, m_live->GetRowCount() - 1 - m_live->GetTopRow()));
        UpdateWindow(m_live.Hwnd());
    }

    void Append() { m_table.Add(m_nNext++); }
    void Empty() { m_table.t.Table().RemoveAllRows(); }
    // A column widened the way a user's drag does it: the pane moves what follows the column
    // and leaves the rest to the next paint.
    void Widen(int nDisplayCol, int nBy)
    {
        for (CTableWindow* pGrid : {&m_live.Grid(), &m_reference.Grid()}) {
            pGrid->ParkCurrentRow();
            pGrid->SetColumnWidth(nDisplayCol, pGrid->GetColumnWidth(nDisplayCol) + nBy, TRUE);
            pGrid->RestoreCurrentRow();
        }
    }
    // The whole grid to be painted at the next WM_PAINT, as after a refresh that did not paint yet.
    void InvalidateAll() { InvalidateRect(m_live.Hwnd(), nullptr, FALSE); }
    void Paint() { UpdateWindow(m_live.Hwnd()); }
    std::string Difference() { return DifferenceFromRepaint(m_live, m_reference); }

private:
    CGridTable m_table;
    CGridWindow m_live;
    CGridWindow m_reference;
    int m_nNext = 0;
};

int ModelSteps()
{
    const char* psz = getenv("TB_MODEL_STEPS");
    if (psz && atoi(psz) > 0)
        return atoi(psz);
#ifdef __SANITIZE_ADDRESS__
    return 300;     // every step compares whole pictures, fifteen times slower under the sanitizers
#else
    return 1500;
#endif
}

}  // namespace

TEST(GridModel, LiveGridLooksLikeAFullRepaintAfterEveryStep)
{
    for (unsigned nSeed : {1u, 2u}) {
        CGridModel model(nSeed);
        for (int nStep = 0; nStep < ModelSteps(); ++nStep) {
            model.Step(nStep);
            if (::testing::Test::HasFatalFailure())
                return;
        }
    }
}

// A resize that makes the scrolling pane show its bar while the window grows taller and sits at
// the end of the view: the pane's bar is answered only after every pane has its place.
TEST(GridModel, ResizeThatBringsAPaneBarPaintsLikeAFullRepaint)
{
    CGridModel model(1);
    model.ResizeScene(470, 200, 105, 250, 300);
}

// Lines appended to a log that does not fill the window yet, then past its bottom, whether or
// not the window painted between them.
TEST(GridModel, AppendedRowsPaintLikeAFullRepaint)
{
    for (bool bPaint : {true, false})
        for (bool bPending : {false, true}) {
            CLogScene scene(3);
            for (int i = 0; i < 20; ++i) {
                if (bPending)
                    scene.InvalidateAll();
                scene.Append();
                if (bPaint)
                    scene.Paint();
                ASSERT_EQ("", scene.Difference()) << "row " << i << " paint " << bPaint << " pending " << bPending;
            }
        }
}

// An emptied log, then a new line: nothing of the old lines may show under it.
TEST(GridModel, RowAfterEmptyingPaintsLikeAFullRepaint)
{
    for (bool bPending : {false, true})
        for (int nRows : {4, 30}) {
            CLogScene scene(nRows);
            scene.Empty();
            if (bPending)
                scene.InvalidateAll();
            scene.Append();
            ASSERT_EQ("", scene.Difference()) << nRows << " rows, pending " << bPending;
            scene.Append();
            ASSERT_EQ("", scene.Difference()) << nRows << " rows, pending " << bPending;
        }
}

// A column widened between two appended lines, before the widening was painted or after.
TEST(GridModel, RowAfterWideningAColumnPaintsLikeAFullRepaint)
{
    for (bool bPaint : {true, false})
        for (int nRows : {3, 30}) {
            CLogScene scene(nRows);
            for (int i = 0; i < 4; ++i) {
                scene.Widen(i % 2 == 0 ? 1 : 2, 7);
                if (bPaint)
                    scene.Paint();
                scene.Append();
                ASSERT_EQ("", scene.Difference()) << nRows << " rows, widening " << i << ", paint " << bPaint;
            }
        }
}
