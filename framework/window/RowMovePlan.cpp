#include "framework/window/RowMovePlan.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// The change and the window, with the values every rule below reads.
struct CMoveContext
{
    int nQ = 0, nO = 0, nP = 0, nN = 0;     // old place and lines, new place and lines
    int nTop = 0, nWhole = 0, nShown = 0;
    int nOldCount = 0, nNewCount = 0;
    int nTrailing = 0;          // lines after the last data line: the grand total, the row's group's extras
    int nMaxTop = 0;            // the last possible top row after the change
    int nBelow = 0;             // view lines below the last whole line after the change
    int nCurrent = -1;          // before the change
    BOOL bOnLastRow = FALSE;
    BOOL bFollow = FALSE;       // follow-last-row is on and the current row stood on the last data line
    BOOL bShowsEnd = FALSE;     // the last whole line lay among the last data lines and the view overfilled the window
    BOOL bOldShown = FALSE;     // the lines that left start within the window (or just below its last whole line)
    BOOL bNewShown = FALSE;     // the same for the lines that came
};

// One run of old view lines that all move by the same number of view lines.
struct CSegment
{
    int nLow, nHigh;            // old view indexes [nLow, nHigh)
    int nDelta;                 // new index = old index + nDelta
};

BOOL CheckInput(const CRowMoveInput& in)
{
    if (in.m_nOldLines < 0 || in.m_nNewLines < 0 || in.m_nLineCount < 0 || in.m_nTopRow < 0)
        return FALSE;
    if (in.m_nWholeLines < 0 || in.m_nShownLines < in.m_nWholeLines || in.m_nShownLines > in.m_nWholeLines + 1)
        return FALSE;
    if (in.m_nGroupExtraLines < 0 || in.m_nNewLines > in.m_nLineCount)
        return FALSE;
    const int nOldCount = in.m_nLineCount - in.m_nNewLines + in.m_nOldLines;
    if (in.m_nOldLines > 0 && (in.m_nOldPos < 0 || in.m_nOldPos > nOldCount - in.m_nOldLines))
        return FALSE;
    if (in.m_nNewLines > 0 && (in.m_nNewPos < 0 || in.m_nNewPos > in.m_nLineCount - in.m_nNewLines))
        return FALSE;
    return in.m_nCurrentRow >= -1 && in.m_nCurrentRow <= nOldCount;
}

// An insertion has no old place and a removal no new one: put the missing place where the other
// one is, so that one index mapping describes every kind of change.
void FillContext(const CRowMoveInput& in, CMoveContext* pCtx)
{
    CMoveContext& c = *pCtx;
    c.nO = in.m_nOldLines;
    c.nN = in.m_nNewLines;
    c.nQ = c.nO > 0 ? in.m_nOldPos : in.m_nNewPos;
    c.nP = c.nN > 0 ? in.m_nNewPos : c.nQ;
    if (c.nO == 0 && c.nN == 0)
        c.nQ = c.nP = 0;
    c.nTop = in.m_nTopRow;
    c.nWhole = in.m_nWholeLines;
    c.nShown = in.m_nShownLines;
    c.nNewCount = in.m_nLineCount;
    c.nOldCount = in.m_nLineCount - c.nN + c.nO;
    c.nTrailing = (in.m_bTotalLine ? 1 : 0) + (in.m_bInGroup ? in.m_nGroupExtraLines : 0);
    c.nMaxTop = std::max(0, c.nNewCount - c.nWhole);
    c.nBelow = std::max(0, c.nNewCount - c.nTop - c.nWhole);
    c.nCurrent = in.m_nCurrentRow;

    const int nOldLastData = c.nOldCount - c.nTrailing - 1;
    c.bOnLastRow = c.nCurrent >= 0 && c.nCurrent >= nOldLastData;
    c.bFollow = in.m_bFollowLastRow && c.bOnLastRow;
    c.bShowsEnd = c.nTop + c.nWhole - 1 >= nOldLastData && c.nOldCount > c.nWhole;

    // The line just below the last whole one counts, shown in part or not: a row arriving there
    // pushes the rows the window shows.
    const int nLastLine = c.nTop + c.nWhole;
    c.bOldShown = c.nO > 0 && c.nQ <= nLastLine;
    c.bNewShown = c.nN > 0 && c.nP <= nLastLine;
}

// New view index of an old one that lies outside the row's old lines.
int MapIndex(const CMoveContext& c, int nOld)
{
    const int nAfterRemoval = nOld < c.nQ ? nOld : nOld - c.nO;
    return nAfterRemoval < c.nP ? nAfterRemoval : nAfterRemoval + c.nN;
}

// The current row stays on its line: on the moved row it goes along with it; on a removed row it
// takes the line that now stands there.
int MoveCurrentRow(const CMoveContext& c)
{
    if (c.nCurrent < 0)
        return -1;
    if (c.nCurrent >= c.nOldCount)
        return c.nNewCount;                             // the append line stays the append line
    if (c.nCurrent >= c.nQ && c.nCurrent < c.nQ + c.nO) {
        if (c.nN > 0)
            return c.nP + std::min(c.nCurrent - c.nQ, c.nN - 1);
        return std::min(MapIndex(c, c.nQ + c.nO), c.nNewCount - 1);
    }
    return MapIndex(c, c.nCurrent);
}

// Only new lines come into the window's range (an insertion, or a row moving up from below it).
int ShiftForArrival(const CMoveContext& c)
{
    // Above the top row: the rows on screen moved down by N view lines; follow them.
    if (c.nP < c.nTop)
        return c.nN;
    if (c.nCurrent >= 0 && c.nP <= c.nCurrent) {
        // Keep the current row and all below it on their window lines by pushing the lines above
        // the insertion out at the top, as long as the window can still scroll that far.
        if (c.nTop + c.nN <= c.nMaxTop)
            return c.nN;
        // The window cannot scroll that far, but a current row that follows the last row must
        // show the new end: scroll by the lines that now lie below the window.
        if (c.bFollow && c.nBelow > 0)
            return c.nBelow;
        return 0;
    }
    // Below the current row (or none): the lines from the insertion down move down, unless a
    // current row that follows the last row must show the new end.
    if (c.bFollow && !c.bShowsEnd && c.nBelow > 0)
        return c.nBelow;
    if (c.bFollow && c.bShowsEnd)
        return c.nN;
    return 0;
}

// Only old lines leave the window's range (a removal, or a row moving down past the window).
int ShiftForDeparture(const CMoveContext& c)
{
    // Wholly above the top row: the rows on screen moved up by O view lines; follow them.
    if (c.nQ + c.nO <= c.nTop)
        return -c.nO;
    const int nAboveTop = std::max(0, c.nTop - c.nQ);   // removed lines above the top row
    const int nFirst = std::max(c.nQ, c.nTop);
    // Pull the lines above the gap down when the window shows the end (the last row stays at the
    // bottom) or when that keeps the current row on its window line; the top stops at 0.
    const BOOL bPullAbove = c.bShowsEnd
        || (c.nCurrent >= nFirst && c.nTop - c.nO >= 0 && c.nTop - c.nO <= c.nMaxTop);
    if (bPullAbove)
        return -std::min(c.nO, c.nTop);
    return -nAboveTop;                                  // the lines below the gap move up into it
}

// Both places lie in the window's range (a row re-placed on screen, or resized in place).
int ShiftForMove(const CMoveContext& c)
{
    // At the end of the view the bottom row stays at the bottom: a row that gains or loses lines
    // moves the lines above it instead of those below.
    return c.bShowsEnd ? c.nN - c.nO : 0;
}

int ChooseShift(const CMoveContext& c)
{
    if (c.bOldShown && c.bNewShown)
        return ShiftForMove(c);
    if (c.bNewShown)
        return ShiftForArrival(c);
    if (c.bOldShown)
        return ShiftForDeparture(c);
    // The change lies wholly below the window: the rows on screen stay where they are; a change
    // wholly above cannot leave both places unconsidered.
    return 0;
}

// The new top row: never past either end, and with a following last row in view.
int FinalTop(const CMoveContext& c, int nShift, int nCurrentRow)
{
    int nTop = std::clamp(c.nTop + nShift, 0, c.nMaxTop);
    if (c.bFollow && c.nWhole > 0 && nCurrentRow >= 0) {
        if (nCurrentRow >= nTop + c.nWhole)
            nTop = nCurrentRow - c.nWhole + 1;
        else if (nCurrentRow < nTop)
            nTop = nCurrentRow;
        nTop = std::clamp(nTop, 0, c.nMaxTop);
    }
    return nTop;
}

struct CLineRun
{
    int nFirst, nEnd;
};

struct CBandCandidate
{
    CLineRun src;               // window lines whose pixels are kept
    CLineRun rect;              // the band: source and destination
    int nMoved;
};

BOOL Overlaps(const CLineRun& a, const CLineRun& b)
{
    return a.nFirst < b.nEnd && b.nFirst < a.nEnd;
}

// The lines the row's change leaves in order: before both places, between them, after both.
int BuildSegments(const CMoveContext& c, CSegment* pSegs)
{
    if (c.nP < c.nQ) {
        pSegs[0] = {INT_MIN, c.nP, 0};
        pSegs[1] = {c.nP, c.nQ, c.nN};
        pSegs[2] = {c.nQ + c.nO, INT_MAX, c.nN - c.nO};
    } else {
        pSegs[0] = {INT_MIN, c.nQ, 0};
        pSegs[1] = {c.nQ + c.nO, c.nP + c.nO, -c.nO};
        pSegs[2] = {c.nP + c.nO, INT_MAX, c.nN - c.nO};
    }
    return 3;
}

// Order the bands so that none scrolls pixels that an earlier band has already overwritten: a band
// goes first when another band's rectangle covers its source lines. A band that cannot be ordered
// is dropped; its lines are then painted.
int OrderBands(CBandCandidate* pBands, int nBands)
{
    CBandCandidate aOrdered[ROWMOVE_MAX_BANDS];
    int nOrdered = 0;
    BOOL abDone[ROWMOVE_MAX_BANDS] = {};
    for (int nRound = 0; nRound < nBands; ++nRound) {
        int nPick = -1;
        for (int k = 0; k < nBands && nPick < 0; ++k) {
            if (abDone[k])
                continue;
            BOOL bFree = TRUE;
            for (int j = 0; j < nBands; ++j)
                if (j != k && !abDone[j] && Overlaps(pBands[k].rect, pBands[j].src))
                    bFree = FALSE;
            if (bFree)
                nPick = k;
        }
        if (nPick < 0)
            break;
        abDone[nPick] = TRUE;
        aOrdered[nOrdered++] = pBands[nPick];
    }
    std::copy(aOrdered, aOrdered + nOrdered, pBands);
    return nOrdered;
}

// Turn the index mapping into band moves on the screen and the lines left to paint. Each run of
// lines that moves together becomes one band whose rectangle holds its source and destination, so
// ScrollWindow brings the pixels and paints exactly the rest of the rectangle.
void BuildBands(const CMoveContext& c, int nNewTop, CRowMovePlan* pPlan)
{
    const int nShift = nNewTop - c.nTop;
    CSegment aSegs[3];
    const int nSegs = BuildSegments(c, aSegs);

    CBandCandidate aBands[ROWMOVE_MAX_BANDS];
    int nBands = 0;
    CLineRun aKept[3];                                  // runs that stay on their window lines
    int nKept = 0;
    for (int i = 0; i < nSegs; ++i) {
        const CSegment& seg = aSegs[i];
        const int nFirst = std::max(seg.nLow, c.nTop) - c.nTop;
        const int nEnd = (seg.nHigh >= c.nTop + c.nShown ? c.nShown : seg.nHigh - c.nTop);
        const int nMoved = seg.nDelta - nShift;
        // Only source lines that land inside the window are worth their pixels.
        const int nSrcFirst = std::max(nFirst, -nMoved);
        const int nSrcEnd = std::min(nEnd, c.nShown - nMoved);
        if (nSrcFirst >= nSrcEnd)
            continue;
        if (nMoved == 0) {
            aKept[nKept++] = {nSrcFirst, nSrcEnd};
            continue;
        }
        CBandCandidate& band = aBands[nBands++];
        band.src = {nSrcFirst, nSrcEnd};
        band.rect = {std::min(nSrcFirst, nSrcFirst + nMoved), std::max(nSrcEnd, nSrcEnd + nMoved)};
        band.nMoved = nMoved;
    }
    nBands = OrderBands(aBands, nBands);

    // Every line inside a band's rectangle ends up right (moved there or painted as uncovered);
    // kept lines were right already. Whatever else the window shows is painted.
    CLineRun aRight[3];                                 // one run per segment at most
    int nRight = 0;
    pPlan->m_nBands = 0;
    for (int i = 0; i < nBands; ++i) {
        const CBandCandidate& band = aBands[i];
        CRowBandMove& move = pPlan->m_aBands[pPlan->m_nBands++];
        move.m_nFirstLine = band.rect.nFirst;
        move.m_nLines = band.rect.nEnd >= c.nShown ? -1 : band.rect.nEnd - band.rect.nFirst;
        move.m_nMoved = band.nMoved;
        aRight[nRight++] = band.rect;
    }
    for (int i = 0; i < nKept; ++i)
        aRight[nRight++] = aKept[i];
    for (int i = 1; i < nRight; ++i)                    // a handful of runs: insertion sort by first line
        for (int j = i; j > 0 && aRight[j].nFirst < aRight[j - 1].nFirst; --j)
            std::swap(aRight[j], aRight[j - 1]);

    pPlan->m_nRepaints = 0;
    int nLine = 0;
    for (int i = 0; i <= nRight; ++i) {
        const int nGapEnd = i < nRight ? aRight[i].nFirst : c.nShown;
        if (nGapEnd > nLine) {
            if (pPlan->m_nRepaints == ROWMOVE_MAX_REPAINTS) {
                // Cannot happen with three runs; stay correct anyway by widening the last range.
                CRowLineRange& last = pPlan->m_aRepaints[ROWMOVE_MAX_REPAINTS - 1];
                last.m_nCount = nGapEnd - last.m_nFirst;
            } else {
                pPlan->m_aRepaints[pPlan->m_nRepaints++] = {nLine, nGapEnd - nLine};
            }
        }
        if (i < nRight)
            nLine = std::max(nLine, aRight[i].nEnd);
    }
}

} // namespace

BOOL PlanRowMove(const CRowMoveInput& in, CRowMovePlan* pPlan)
{
    if (!pPlan)
        return FALSE;
    *pPlan = CRowMovePlan();
    if (!CheckInput(in))
        return FALSE;

    CMoveContext ctx;
    FillContext(in, &ctx);
    int nCurrentRow = MoveCurrentRow(ctx);
    if (ctx.bFollow)
        nCurrentRow = ctx.nNewCount > 0 ? std::max(0, ctx.nNewCount - ctx.nTrailing - 1) : -1;
    const int nNewTop = FinalTop(ctx, ChooseShift(ctx), nCurrentRow);

    pPlan->m_nTopShift = nNewTop - ctx.nTop;
    pPlan->m_nCurrentRow = nCurrentRow;
    pPlan->m_bOnLastRow = ctx.bOnLastRow;
    pPlan->m_bFollow = ctx.bFollow;
    BuildBands(ctx, nNewTop, pPlan);
    pPlan->m_bNothing = pPlan->m_nBands == 0 && pPlan->m_nRepaints == 0 && pPlan->m_nTopShift == 0
        && ctx.nNewCount == ctx.nOldCount && nCurrentRow == ctx.nCurrent;
    return TRUE;
}

BOOL ComputeBandScroll(const CRowBandMove& band, int nShownLines, CRowBandScroll* pScroll)
{
    if (!pScroll || nShownLines <= 0 || band.m_nFirstLine < 0 || band.m_nFirstLine >= nShownLines)
        return FALSE;
    if (band.m_nLines < -1 || band.m_nLines == 0)
        return FALSE;
    CRowBandScroll& s = *pScroll;
    s.m_nFirst = band.m_nFirstLine;
    s.m_nEnd = band.m_nLines < 0 ? nShownLines : std::min(nShownLines, band.m_nFirstLine + band.m_nLines);
    const int nHeight = s.m_nEnd - s.m_nFirst;
    // ScrollWindow clips the move to the band: a move as tall as the band keeps no pixel, and a
    // band that does not move is painted whole.
    s.m_nMoved = (band.m_nMoved >= nHeight || -band.m_nMoved >= nHeight) ? 0 : band.m_nMoved;
    if (s.m_nMoved == 0) {
        s.m_nSrcFirst = s.m_nSrcEnd = s.m_nFirst;
        s.m_nUncoveredFirst = s.m_nFirst;
        s.m_nUncoveredEnd = s.m_nEnd;
        return TRUE;
    }
    if (s.m_nMoved > 0) {
        s.m_nSrcFirst = s.m_nFirst;
        s.m_nSrcEnd = s.m_nEnd - s.m_nMoved;
        s.m_nUncoveredFirst = s.m_nFirst;
        s.m_nUncoveredEnd = s.m_nFirst + s.m_nMoved;
    } else {
        s.m_nSrcFirst = s.m_nFirst - s.m_nMoved;
        s.m_nSrcEnd = s.m_nEnd;
        s.m_nUncoveredFirst = s.m_nEnd + s.m_nMoved;
        s.m_nUncoveredEnd = s.m_nEnd;
    }
    return TRUE;
}
