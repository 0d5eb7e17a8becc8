#pragma once
#include "platform/win/WinTypes.h"

// What a grid window does when its view moves, inserts, removes or resizes one row: which top row
// keeps the right rows on screen, which bands of pixels ScrollWindow moves, which lines must be
// painted and where the current row goes. Pure integers, no window: the grid executes the plan.
//
// Window lines are screen lines: 0 is the first row line of the rows region. Storing a new top row
// moves no pixel, so a band's lines are the same before and after the top row changes; what a line
// shows once painted is the view line new top row + window line.

#define ROWMOVE_MAX_BANDS       3
#define ROWMOVE_MAX_REPAINTS    4

// One change as the view reports it, with what the grid knows about itself at that moment.
struct CRowMoveInput
{
    int  m_nOldPos = -1;            // display index of the row's first line before; ignored when m_nOldLines is 0
    int  m_nOldLines = 0;           // 0 = an insertion
    int  m_nNewPos = -1;            // display index of the row's first line after; ignored when m_nNewLines is 0
    int  m_nNewLines = 0;           // 0 = a removal
    BOOL m_bInGroup = FALSE;        // the old row sits in a group ...
    int  m_nGroupExtraLines = 0;    // ... whose sum and empty lines follow its rows
    BOOL m_bTotalLine = FALSE;      // the view ends with the grand total line
    int  m_nLineCount = 0;          // the view's lines after the change
    int  m_nTopRow = 0;             // before the change
    int  m_nWholeLines = 0;         // lines the window shows whole
    int  m_nShownLines = 0;         // the same plus a partly shown last line
    int  m_nCurrentRow = -1;        // view index before the change; the append line = the old line count; -1 none
    BOOL m_bFollowLastRow = FALSE;  // a current row on the last data line stays on the last data line
};

// One ScrollRowsRegion call: the band runs from its first window line down m_nLines lines (-1 = to
// the bottom of the shown lines) and its pixels move m_nMoved lines (down when positive), clipped to it.
struct CRowBandMove
{
    int m_nFirstLine = -1;
    int m_nLines = 0;
    int m_nMoved = 0;
};

struct CRowLineRange
{
    int m_nFirst = -1;              // window line
    int m_nCount = 0;
};

struct CRowMovePlan
{
    BOOL m_bNothing = TRUE;         // no line changes and the count stays: skip even the finishing step
    int  m_nTopShift = 0;           // added to the top row before the bands scroll
    int  m_nBands = 0;              // scrolled in this order
    CRowBandMove m_aBands[ROWMOVE_MAX_BANDS];
    int  m_nRepaints = 0;           // painted after the bands: lines no band brought or uncovered
    CRowLineRange m_aRepaints[ROWMOVE_MAX_REPAINTS];
    int  m_nCurrentRow = -1;        // view index after the change; the append line = the new line count
    BOOL m_bOnLastRow = FALSE;      // the current row stood on the view's last data line before the change
    BOOL m_bFollow = FALSE;         // the follow-last-row property took the current row to the last data line
};

// FALSE for an input that cannot describe a change of this window (the plan is then "nothing";
// the grid repaints in full).
BOOL PlanRowMove(const CRowMoveInput& in, CRowMovePlan* pPlan);

// What one band move does on a window of nShownLines lines, as ScrollRowsRegion computes it: the band
// rectangle [m_nFirst, m_nEnd), the lines whose pixels ScrollWindow keeps (m_nSrcFirst..m_nSrcEnd
// move by m_nMoved) and the uncovered strip [m_nUncoveredFirst, m_nUncoveredEnd) that is painted at
// once. FALSE (nothing to do) when the band does not start within the shown lines.
struct CRowBandScroll
{
    int m_nFirst = 0;
    int m_nEnd = 0;
    int m_nMoved = 0;               // 0 when the move does not fit in the band: all of it is uncovered
    int m_nSrcFirst = 0;
    int m_nSrcEnd = 0;
    int m_nUncoveredFirst = 0;
    int m_nUncoveredEnd = 0;
};
BOOL ComputeBandScroll(const CRowBandMove& band, int nShownLines, CRowBandScroll* pScroll);
