#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "framework/window/RowMovePlan.h"

// The planner against a model of the grid: the view is a vector of line ids, the screen a vector of
// what each window line shows. A band move copies ids the way ScrollWindow copies pixels; a painted
// line takes the id the view holds there. After every change each window line must show exactly the
// view's line at top + line: a line that kept old pixels it should not have shows a stale id.

namespace {

const int EMPTY = 0;                    // a window line below the view's last line
const int TOTAL = -1;                   // the grand total line

struct CGrid
{
    int nTop = 0;
    int nWhole = 0;
    int nShown = 0;
    int nCurrent = -1;                  // view index; the append line = the line count
    BOOL bFollow = FALSE;
    std::vector<int> screen;            // id shown on each window line
};

struct CChange
{
    int nQ = -1, nO = 0, nP = -1, nN = 0;
    BOOL bInGroup = FALSE;
    int nGroupExtra = 0;
};

struct CStepResult
{
    CRowMovePlan plan;
    int nPainted = 0;                   // window lines painted, uncovered strips included
    std::string strFailure;             // empty when the screen, top and current row are right
};

int LineAt(const std::vector<int>& lines, int nIndex)
{
    return nIndex >= 0 && nIndex < static_cast<int>(lines.size()) ? lines[nIndex] : EMPTY;
}

void Paint(CGrid& grid, const std::vector<int>& lines, int nLine, int* pnPainted)
{
    grid.screen[nLine] = LineAt(lines, grid.nTop + nLine);
    ++*pnPainted;
}

void PaintAll(CGrid& grid, const std::vector<int>& lines)
{
    int nPainted = 0;
    grid.screen.assign(grid.nShown, EMPTY);
    for (int i = 0; i < grid.nShown; ++i)
        Paint(grid, lines, i, &nPainted);
}

// What ScrollRowsRegion does: move the band's pixels, paint the uncovered strip.
void ScrollBand(CGrid& grid, const std::vector<int>& lines, const CRowBandMove& band, int* pnPainted)
{
    CRowBandScroll s;
    if (!ComputeBandScroll(band, grid.nShown, &s))
        return;
    const std::vector<int> before = grid.screen;
    for (int i = s.m_nSrcFirst; i < s.m_nSrcEnd; ++i)
        grid.screen[i + s.m_nMoved] = before[i];
    for (int i = s.m_nUncoveredFirst; i < s.m_nUncoveredEnd; ++i)
        Paint(grid, lines, i, pnPainted);
}

// The finishing step: no space after the last row (the whole screen scrolls, the uncovered lines
// are painted), then the current row goes back to its row, or to the nearest window line.
void FinishMove(CGrid& grid, const std::vector<int>& lines, int nCurrentRow, int* pnPainted)
{
    const int nCount = static_cast<int>(lines.size());
    if (grid.nTop > 0 && grid.nTop + grid.nWhole > nCount) {
        const int nNewTop = std::max(0, nCount - grid.nWhole);
        const int nDown = grid.nTop - nNewTop;
        const std::vector<int> before = grid.screen;
        grid.nTop = nNewTop;
        for (int i = 0; i < grid.nShown; ++i) {
            if (i - nDown >= 0)
                grid.screen[i] = before[i - nDown];
            else
                Paint(grid, lines, i, pnPainted);
        }
    }
    grid.nCurrent = nCurrentRow;
    if (nCurrentRow < 0)
        return;
    if (nCurrentRow == nCount && nCount - grid.nTop < grid.nShown)
        return;                                         // the append line on screen
    const int nLimit = std::min(grid.nWhole, nCount - grid.nTop);
    const int nOffset = std::clamp(nCurrentRow - grid.nTop, 0, std::max(0, nLimit - 1));
    grid.nCurrent = nLimit > 0 ? grid.nTop + nOffset : -1;
}

// Where the current row must be after the change, read from the ids: the same line, the moved
// row's new place, the line that took a removed row's place, or the last data line when it follows.
int ExpectedCurrent(const CGrid& grid, const std::vector<int>& before, const std::vector<int>& after,
                    const CChange& ch, BOOL bFollows, int nTrailing)
{
    const int nOld = static_cast<int>(before.size());
    const int nNew = static_cast<int>(after.size());
    if (bFollows)
        return nNew > 0 ? std::max(0, nNew - nTrailing - 1) : -1;
    const int c = grid.nCurrent;
    if (c < 0)
        return -1;
    if (c >= nOld)
        return nNew;
    if (ch.nO > 0 && c >= ch.nQ && c < ch.nQ + ch.nO)
        return ch.nN > 0 ? ch.nP + std::min(c - ch.nQ, ch.nN - 1) : std::min(ch.nQ, nNew - 1);
    const auto it = std::find(after.begin(), after.end(), before[c]);
    return it == after.end() ? -2 : static_cast<int>(it - after.begin());
}

std::string Join(const std::vector<int>& v)
{
    std::ostringstream os;
    for (size_t i = 0; i < v.size(); ++i)
        os << (i ? " " : "") << v[i];
    return os.str();
}

std::string Describe(const CRowMoveInput& in, const CRowMovePlan& plan)
{
    std::ostringstream os;
    os << "Q=" << in.m_nOldPos << " O=" << in.m_nOldLines << " P=" << in.m_nNewPos << " N=" << in.m_nNewLines
       << " count=" << in.m_nLineCount << " top=" << in.m_nTopRow << " whole=" << in.m_nWholeLines
       << " shown=" << in.m_nShownLines << " current=" << in.m_nCurrentRow << " follow=" << in.m_bFollowLastRow
       << " total=" << in.m_bTotalLine << " group=" << in.m_bInGroup << "/" << in.m_nGroupExtraLines
       << "\n  plan: shift=" << plan.m_nTopShift << " nothing=" << plan.m_bNothing
       << " current=" << plan.m_nCurrentRow << " bands:";
    for (int i = 0; i < plan.m_nBands; ++i)
        os << " {" << plan.m_aBands[i].m_nFirstLine << "," << plan.m_aBands[i].m_nLines << ","
           << plan.m_aBands[i].m_nMoved << "}";
    os << " repaint:";
    for (int i = 0; i < plan.m_nRepaints; ++i)
        os << " [" << plan.m_aRepaints[i].m_nFirst << "+" << plan.m_aRepaints[i].m_nCount << "]";
    return os.str();
}

// One change on the grid, executed as the window executes the plan, then checked.
CStepResult ApplyChange(CGrid& grid, const std::vector<int>& before, const std::vector<int>& after,
                        const CChange& ch, BOOL bTotalLine)
{
    CStepResult r;
    CRowMoveInput in;
    in.m_nOldPos = ch.nO > 0 ? ch.nQ : ch.nP;           // an insertion reports its new place twice
    in.m_nOldLines = ch.nO;
    in.m_nNewPos = ch.nN > 0 ? ch.nP : ch.nQ;
    in.m_nNewLines = ch.nN;
    in.m_bInGroup = ch.bInGroup;
    in.m_nGroupExtraLines = ch.nGroupExtra;
    in.m_bTotalLine = bTotalLine;
    in.m_nLineCount = static_cast<int>(after.size());
    in.m_nTopRow = grid.nTop;
    in.m_nWholeLines = grid.nWhole;
    in.m_nShownLines = grid.nShown;
    in.m_nCurrentRow = grid.nCurrent;
    in.m_bFollowLastRow = grid.bFollow;
    if (!PlanRowMove(in, &r.plan)) {
        r.strFailure = "refused: " + Describe(in, r.plan);
        return r;
    }
    const int nTrailing = (bTotalLine ? 1 : 0) + (ch.bInGroup ? ch.nGroupExtra : 0);
    const int nOld = static_cast<int>(before.size());
    const BOOL bOnLast = grid.nCurrent >= 0 && grid.nCurrent >= nOld - nTrailing - 1;
    const int nExpected = ExpectedCurrent(grid, before, after, ch, grid.bFollow && bOnLast, nTrailing);
    const std::vector<int> screenBefore = grid.screen;

    if (!r.plan.m_bNothing) {
        grid.nTop += r.plan.m_nTopShift;
        for (int i = 0; i < r.plan.m_nBands; ++i)
            ScrollBand(grid, after, r.plan.m_aBands[i], &r.nPainted);
        for (int i = 0; i < r.plan.m_nRepaints; ++i)
            for (int j = 0; j < r.plan.m_aRepaints[i].m_nCount; ++j)
                Paint(grid, after, r.plan.m_aRepaints[i].m_nFirst + j, &r.nPainted);
        FinishMove(grid, after, r.plan.m_nCurrentRow, &r.nPainted);
    }

    std::ostringstream err;
    const int nCount = static_cast<int>(after.size());
    if (grid.nTop < 0 || grid.nTop > std::max(0, nCount - grid.nWhole))
        err << "top " << grid.nTop << " out of range\n";
    for (int i = 0; i < grid.nShown; ++i)
        if (grid.screen[i] != LineAt(after, grid.nTop + i))
            err << "line " << i << " shows " << grid.screen[i] << ", view has " << LineAt(after, grid.nTop + i) << "\n";
    if (r.plan.m_nCurrentRow != nExpected)
        err << "current row " << r.plan.m_nCurrentRow << ", expected " << nExpected << "\n";
    if (r.plan.m_bOnLastRow != bOnLast)
        err << "on-last-row flag " << r.plan.m_bOnLastRow << "\n";
    if (grid.bFollow && bOnLast && grid.nWhole > 0 && nCount > 0
        && (nExpected < grid.nTop || nExpected >= grid.nTop + grid.nWhole))
        err << "the followed last row " << nExpected << " is not shown\n";
    if (r.plan.m_bNothing && (nOld != nCount || grid.screen != screenBefore))
        err << "planned nothing, yet the screen or count changed\n";
    if (!err.str().empty())
        r.strFailure = err.str() + Describe(in, r.plan) + "\n  before: " + Join(before) + "\n  after:  " + Join(after)
            + "\n  screen: " + Join(grid.screen);
    return r;
}

// A view made of units: a data row and, for a grouped row, the extra lines that go with it.
struct CUnitView
{
    std::vector<std::vector<int>> units;
    BOOL bTotal = FALSE;
    int nNextId = 1;

    std::vector<int> Lines() const
    {
        std::vector<int> lines;
        for (const auto& u : units)
            lines.insert(lines.end(), u.begin(), u.end());
        if (bTotal && !units.empty())
            lines.push_back(TOTAL);
        return lines;
    }
    int FirstLine(int nUnit) const
    {
        int n = 0;
        for (int i = 0; i < nUnit; ++i)
            n += static_cast<int>(units[i].size());
        return n;
    }
    std::vector<int> NewUnit(int nLines)
    {
        std::vector<int> u;
        for (int i = 0; i < nLines; ++i)
            u.push_back(nNextId++);
        return u;
    }
};

int Random(std::mt19937& rng, int nLow, int nHigh)
{
    return std::uniform_int_distribution<int>(nLow, nHigh)(rng);
}

// A new window size, scroll position and current row; the screen is painted whole, as after a resize.
void ReshapeGrid(std::mt19937& rng, CGrid& grid, const std::vector<int>& lines)
{
    const int nCount = static_cast<int>(lines.size());
    grid.nWhole = Random(rng, 0, 9) == 0 ? Random(rng, 0, 1) : Random(rng, 2, 14);
    grid.nShown = grid.nWhole + Random(rng, 0, 1);
    grid.nTop = Random(rng, 0, 3) == 0 ? std::max(0, nCount - grid.nWhole) : Random(rng, 0, std::max(0, nCount - grid.nWhole));
    grid.bFollow = Random(rng, 0, 1);
    const int nKind = Random(rng, 0, 9);
    const int nLimit = std::min(grid.nWhole, nCount - grid.nTop);
    if (nKind == 0 || nLimit <= 0)
        grid.nCurrent = (nCount - grid.nTop < grid.nShown && Random(rng, 0, 1)) ? nCount : -1;
    else if (nKind <= 3)
        grid.nCurrent = grid.nTop + nLimit - 1;     // the last row the window shows whole, often the view's last
    else
        grid.nCurrent = grid.nTop + Random(rng, 0, nLimit - 1);
    PaintAll(grid, lines);
}

// One random change of the view: insert, remove, move or resize a row; returns the change.
CChange RandomChange(std::mt19937& rng, CUnitView& view, int nMaxLines)
{
    CChange ch;
    const int nUnits = static_cast<int>(view.units.size());
    const auto randomSize = [&]() { return Random(rng, 0, 2) ? 1 : Random(rng, 2, 3); };
    int nKind = Random(rng, 0, 9);
    if (nUnits == 0 || (nKind < 3 && static_cast<int>(view.Lines().size()) < nMaxLines))
        nKind = 0;
    else if (nKind < 3)
        nKind = 3;
    if (nKind == 0) {                                   // insert
        const int nAt = Random(rng, 0, nUnits);
        std::vector<int> u = view.NewUnit(randomSize());
        ch.nP = view.FirstLine(nAt);
        ch.nN = static_cast<int>(u.size());
        ch.bInGroup = ch.nN > 1;
        ch.nGroupExtra = ch.nN - 1;
        view.units.insert(view.units.begin() + nAt, u);
        return ch;
    }
    const int nFrom = Random(rng, 0, nUnits - 1);
    ch.nQ = view.FirstLine(nFrom);
    ch.nO = static_cast<int>(view.units[nFrom].size());
    ch.bInGroup = ch.nO > 1;
    ch.nGroupExtra = ch.nO - 1;
    // Remove, but never the last row: the grand total line would go with it, and the view reports that apart.
    if (nKind <= 4 && nUnits > 1 && static_cast<int>(view.Lines().size()) > nMaxLines / 3) {
        view.units.erase(view.units.begin() + nFrom);
        return ch;
    }
    // Move (often near where it was) or change the line count in place: new content either way.
    std::vector<int> old = view.units[nFrom];
    view.units.erase(view.units.begin() + nFrom);
    int nTo = nKind <= 6 ? nFrom : Random(rng, 0, nUnits - 1);
    if (nKind == 7)
        nTo = std::clamp(nFrom + Random(rng, -3, 3), 0, nUnits - 1);
    int nSize = randomSize();
    if (nTo == nFrom && nSize == ch.nO)
        nSize = ch.nO == 1 ? 2 : ch.nO - 1;             // an unchanged place and size is a cell change, not a move
    std::vector<int> u = view.NewUnit(nSize);
    view.units.insert(view.units.begin() + nTo, u);
    ch.nP = view.FirstLine(nTo);
    ch.nN = nSize;
    return ch;
}

long ModelSteps()
{
    const char* psz = std::getenv("TB_MODEL_STEPS");
    const long n = psz ? std::atol(psz) : 0;
    return n > 0 ? n : 20000;
}

} // namespace

TEST(RowMovePlanModel, ScreenFollowsTheViewThroughRandomChanges)
{
    const long nSteps = ModelSteps();
    for (unsigned nSeed : {11u, 12u, 13u}) {
        std::mt19937 rng(nSeed);                        // fixed seed: a failure replays step by step
        CUnitView view;
        view.bTotal = nSeed == 12;
        CGrid grid;
        for (int i = 0; i < 12; ++i)
            view.units.push_back(view.NewUnit(1));
        ReshapeGrid(rng, grid, view.Lines());
        int nMaxLines = 30;
        for (long nStep = 0; nStep < nSteps; ++nStep) {
            if (Random(rng, 0, 19) == 0) {
                nMaxLines = Random(rng, 4, 30);
                ReshapeGrid(rng, grid, view.Lines());
            }
            const std::vector<int> before = view.Lines();
            const CChange ch = RandomChange(rng, view, nMaxLines);
            const CStepResult r = ApplyChange(grid, before, view.Lines(), ch, view.bTotal && !view.units.empty());
            ASSERT_EQ("", r.strFailure) << "seed " << nSeed << " step " << nStep;
        }
    }
}

namespace {

// A view of ids 1..nCount in a grid of the given shape.
struct CCase
{
    std::vector<int> before;
    CGrid grid;
    CCase(int nCount, int nTop, int nWhole, BOOL bPartial, int nCurrent, BOOL bFollow = FALSE)
    {
        for (int i = 1; i <= nCount; ++i)
            before.push_back(i);
        grid.nTop = nTop;
        grid.nWhole = nWhole;
        grid.nShown = nWhole + (bPartial ? 1 : 0);
        grid.nCurrent = nCurrent;
        grid.bFollow = bFollow;
        PaintAll(grid, before);
    }
    // The row of nO lines at nQ (none for an insertion) leaves; a new row of nN lines lands at nP.
    CStepResult Change(int nQ, int nO, int nP, int nN, BOOL bTotalLine = FALSE)
    {
        std::vector<int> after = before;
        if (nO > 0)
            after.erase(after.begin() + nQ, after.begin() + nQ + nO);
        for (int i = 0; i < nN; ++i)
            after.insert(after.begin() + nP + i, 1000 + i);
        CChange ch;
        ch.nQ = nQ;
        ch.nO = nO;
        ch.nP = nP;
        ch.nN = nN;
        CStepResult r = ApplyChange(grid, before, after, ch, bTotalLine);
        before = after;
        return r;
    }
};

} // namespace

TEST(RowMovePlan, ChangesOutsideTheWindowScrollNothing)
{
    {   // wholly below: no line painted, nothing moves
        CCase t(30, 0, 10, TRUE, 3);
        const CStepResult r = t.Change(-1, 0, 20, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(0, r.nPainted);
        EXPECT_EQ(0, r.plan.m_nBands);
        EXPECT_EQ(0, t.grid.nTop);
    }
    {   // inserted above the top: the same rows stay, one further down the view
        CCase t(30, 5, 10, FALSE, 8);
        const CStepResult r = t.Change(-1, 0, 2, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(0, r.nPainted);
        EXPECT_EQ(0, r.plan.m_nBands);
        EXPECT_EQ(6, t.grid.nTop);
        EXPECT_EQ(9, t.grid.nCurrent);
    }
    {   // old and new place both above the top, same size: nothing at all
        CCase t(30, 10, 10, FALSE, 12);
        const CStepResult r = t.Change(2, 1, 5, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_TRUE(r.plan.m_bNothing);
        EXPECT_EQ(10, t.grid.nTop);
    }
}

TEST(RowMovePlan, InsertionsKeepTheCurrentRowOnItsWindowLine)
{
    {   // above the current row in a window that can scroll: the lines above move up
        CCase t(30, 5, 10, FALSE, 10);
        const CStepResult r = t.Change(-1, 0, 8, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(6, t.grid.nTop);
        EXPECT_EQ(5, t.grid.nCurrent - t.grid.nTop);
        ASSERT_EQ(1, r.plan.m_nBands);
        EXPECT_EQ(-1, r.plan.m_aBands[0].m_nMoved);
        EXPECT_EQ(1, r.nPainted);
    }
    {   // below the current row: the lines from the insertion move down
        CCase t(30, 5, 10, FALSE, 7);
        const CStepResult r = t.Change(-1, 0, 10, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(5, t.grid.nTop);
        ASSERT_EQ(1, r.plan.m_nBands);
        EXPECT_EQ(5, r.plan.m_aBands[0].m_nFirstLine);
        EXPECT_EQ(1, r.plan.m_aBands[0].m_nMoved);
        EXPECT_EQ(1, r.nPainted);
    }
    {   // follow-last-row: the appended row becomes current and shows, also under a partly shown line
        for (BOOL bPartial : {FALSE, TRUE}) {
            CCase t(30, 20, 10, bPartial, 29, TRUE);
            const CStepResult r = t.Change(-1, 0, 30, 1);
            ASSERT_EQ("", r.strFailure);
            EXPECT_EQ(30, t.grid.nCurrent);
            EXPECT_EQ(21, t.grid.nTop);
        }
    }
    {   // follow-last-row in a window that is not full yet: no scrolling, the new row is current
        CCase t(5, 0, 10, FALSE, 4, TRUE);
        const CStepResult r = t.Change(-1, 0, 5, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(0, t.grid.nTop);
        EXPECT_EQ(5, t.grid.nCurrent);
        EXPECT_EQ(1, r.nPainted);
    }
}

TEST(RowMovePlan, RemovalsAtTheEndPullTheLinesAboveDown)
{
    {   // the last row stays at the bottom, the current row on its row
        CCase t(30, 20, 10, FALSE, 27);
        const CStepResult r = t.Change(24, 1, -1, 0);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(19, t.grid.nTop);
        EXPECT_EQ(26, t.grid.nCurrent);
        EXPECT_EQ(30, t.grid.screen[9]);
        EXPECT_EQ(1, r.nPainted);                       // only the line uncovered at the top
    }
    {   // top row 1, two shown rows go, one at a time or as one row of two lines: the top becomes 0
        CCase t(11, 1, 10, FALSE, 8);
        ASSERT_EQ("", t.Change(5, 1, -1, 0).strFailure);
        ASSERT_EQ("", t.Change(5, 1, -1, 0).strFailure);
        EXPECT_EQ(0, t.grid.nTop);
        CCase u(11, 1, 10, FALSE, 8);
        ASSERT_EQ("", u.Change(5, 2, -1, 0).strFailure);
        EXPECT_EQ(0, u.grid.nTop);
    }
}

TEST(RowMovePlan, MovesShiftOnlyTheLinesBetweenThePlaces)
{
    {   // moved up within the window, same size, both below the top
        CCase t(30, 5, 10, FALSE, 6);
        const CStepResult r = t.Change(12, 1, 7, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(5, t.grid.nTop);
        ASSERT_EQ(1, r.plan.m_nBands);
        EXPECT_EQ(2, r.plan.m_aBands[0].m_nFirstLine);
        EXPECT_EQ(6, r.plan.m_aBands[0].m_nLines);
        EXPECT_EQ(1, r.plan.m_aBands[0].m_nMoved);
        EXPECT_EQ(1, r.nPainted);
    }
    {   // moved down gaining a line: both its lines show new content, the rows after it move down
        CCase t(30, 0, 10, FALSE, 0);
        const CStepResult r = t.Change(2, 1, 6, 2);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(2, r.nPainted);
    }
    {   // moved down losing a line at the end of the view: the lines above it come down into view
        CCase t(30, 20, 10, FALSE, 29);
        const CStepResult r = t.Change(22, 2, 25, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(19, t.grid.nTop);
        EXPECT_EQ(28, t.grid.nCurrent);
    }
    {   // the current row is the moved row: it goes along
        CCase t(30, 5, 10, FALSE, 12);
        const CStepResult r = t.Change(12, 1, 7, 1);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(7, t.grid.nCurrent);
    }
}

TEST(RowMovePlan, ResizeInPlaceMovesTheLinesBelowOrAbove)
{
    {   // away from the end: the lines below move down, the row's lines are painted
        CCase t(30, 0, 10, FALSE, 1);
        const CStepResult r = t.Change(3, 1, 3, 2);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(0, t.grid.nTop);
        ASSERT_EQ(1, r.plan.m_nBands);
        EXPECT_EQ(1, r.plan.m_aBands[0].m_nMoved);
        EXPECT_EQ(2, r.nPainted);
    }
    {   // at the end: the lines above move up and the top row grows
        CCase t(30, 20, 10, FALSE, 22);
        const CStepResult r = t.Change(25, 1, 25, 2);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(21, t.grid.nTop);
        ASSERT_EQ(1, r.plan.m_nBands);
        EXPECT_EQ(-1, r.plan.m_aBands[0].m_nMoved);
        EXPECT_EQ(2, r.nPainted);
    }
    {   // a grouped row growing from 2 to 3 lines: every line of its new content is painted
        CCase t(30, 0, 10, FALSE, 1);
        const CStepResult r = t.Change(3, 2, 3, 3);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(3, r.nPainted);
    }
}

TEST(RowMovePlan, BandScrollClipsToTheShownLines)
{
    CRowBandScroll s;
    EXPECT_FALSE(ComputeBandScroll({10, -1, 1}, 10, &s));         // starts below the window
    ASSERT_TRUE(ComputeBandScroll({2, -1, 3}, 10, &s));
    EXPECT_EQ(10, s.m_nEnd);
    EXPECT_EQ(2, s.m_nSrcFirst);
    EXPECT_EQ(7, s.m_nSrcEnd);
    EXPECT_EQ(2, s.m_nUncoveredFirst);
    EXPECT_EQ(5, s.m_nUncoveredEnd);
    ASSERT_TRUE(ComputeBandScroll({2, 4, -1}, 10, &s));            // up: the strip is at the band's bottom
    EXPECT_EQ(6, s.m_nEnd);
    EXPECT_EQ(5, s.m_nUncoveredFirst);
    ASSERT_TRUE(ComputeBandScroll({2, 3, 5}, 10, &s));             // a move taller than the band paints it
    EXPECT_EQ(0, s.m_nMoved);
    EXPECT_EQ(2, s.m_nUncoveredFirst);
    EXPECT_EQ(5, s.m_nUncoveredEnd);

    CRowMoveInput in;
    CRowMovePlan plan;
    in.m_nLineCount = 5;
    in.m_nWholeLines = 3;
    in.m_nShownLines = 5;                                           // more than one partly shown line
    EXPECT_FALSE(PlanRowMove(in, &plan));
    in.m_nShownLines = 4;
    in.m_nNewPos = 4;
    in.m_nNewLines = 2;                                             // past the view's end
    EXPECT_FALSE(PlanRowMove(in, &plan));
    EXPECT_FALSE(PlanRowMove(in, nullptr));
}

TEST(RowMovePlan, GrandTotalLineStaysOutOfTheWay)
{
    {   // the window shows the end (the last data row above the total line) from top 0: a row moving
        // up and losing two lines would pull the top above the view's first line
        CCase t(11, 0, 10, FALSE, 2);
        t.before.back() = TOTAL;
        PaintAll(t.grid, t.before);
        const CStepResult r = t.Change(5, 3, 0, 1, /*bTotalLine=*/TRUE);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(0, t.grid.nTop);
    }
    {   // follow-last-row with a total line: the appended row becomes current, not the total line
        CCase t(31, 21, 10, FALSE, 29, TRUE);
        t.before.back() = TOTAL;
        PaintAll(t.grid, t.before);
        const CStepResult r = t.Change(-1, 0, 30, 1, /*bTotalLine=*/TRUE);
        ASSERT_EQ("", r.strFailure);
        EXPECT_EQ(30, t.grid.nCurrent);
        EXPECT_EQ(22, t.grid.nTop);
    }
}
