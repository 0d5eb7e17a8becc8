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
        m_nOp = Between(m_rng, 0, 15);
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
        // What is still invalid gets painted the way the user sees it, at the next WM_PAINT.
        UpdateWindow(m_live.Hwnd());
        // The reference paints the same state from nothing.
        CTableWindow& reference = m_reference.Grid();
        reference.SetTopRow(nTop, FALSE, 0);
        reference.GetScrollPane().ScrollTo(live.GetScrollPane().GetOffset(), FALSE);
        reference.SetCurrentRowOffset(nOffset >= 0 || nOffset == TW_APPEND_LINE ? nOffset : 0);
        reference.Refresh();
        if (nOffset < 0 && nOffset != TW_APPEND_LINE)
            reference.ParkCurrentRow();
        const CTableWindowArea* panes[] = {&live.GetHeaderPane(), &live.GetFixedPane(), &live.GetScrollPane()};
        for (const CTableWindowArea* pPane : panes)
            for (const RECT* pRect : {&pPane->GetTitleRect(), &pPane->GetCellRect()}) {
                const std::vector<DWORD> a = WindowPixels(m_live.Hwnd(), *pRect);
                const std::vector<DWORD> b = WindowPixels(m_reference.Hwnd(), *pRect);
                if (a != b) {
                    TbSaveWindowPng(m_live.Hwnd(), ScreenshotPath("grid_model_live").c_str());
                    TbSaveWindowPng(m_reference.Hwnd(), ScreenshotPath("grid_model_repainted").c_str());
                }
                ASSERT_TRUE(a == b) << "step " << m_nStep << " op " << m_nOp << ": " << FirstDifference(a, b, *pRect);
            }
        if (nOffset < 0 && nOffset != TW_APPEND_LINE)
            reference.RestoreCurrentRow();
    }

    std::mt19937 m_rng;
    CGridTable m_table;
    CGridWindow m_live;
    CGridWindow m_reference;
    int m_nNext = 0;
    int m_nStep = 0;
    int m_nOp = 0;
};

int ModelSteps()
{
    const char* psz = getenv("TB_MODEL_STEPS");
    return psz && atoi(psz) > 0 ? atoi(psz) : 1500;
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
