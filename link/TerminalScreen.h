#pragma once
// The character screen of the link window's terminal view: 25 rows of 80 characters and a
// cursor, written byte by byte as the link receives them. The window owns one and paints it;
// this class only says what each byte changed, so that the window repaints no more than that.
#include "platform/win/WinTypes.h"

#define TERM_COLUMNS 80
#define TERM_ROWS    25

// What one byte did to the screen.
#define TERM_MOVED    0     // only the cursor moved (or nothing changed)
#define TERM_CELL     1     // one cell changed (Put tells which)
#define TERM_SCROLLED 2     // every row moved up one
#define TERM_BEEP     3     // BEL: the owner sounds it

class CTerminalScreen
{
public:
    CTerminalScreen() { Clear(); }

    // All spaces, the cursor home.
    void Clear();
    // BEL, BS, LF and CR act; every other byte is stored at the cursor. Answers a TERM_ code;
    // pnCellCol and pnCellRow (may be null) get the cell that TERM_CELL changed.
    int Put(BYTE ch, int* pnCellCol = nullptr, int* pnCellRow = nullptr);

    // One row's 80 characters, not terminated; a row outside the screen reads as null.
    const char* GetRow(int nRow) const;
    int GetCursorColumn() const { return m_nColumn; }
    int GetCursorRow() const { return m_nRow; }

    // Options: at the last column a byte continues on the next row (otherwise it overwrites the
    // last cell); CR also moves to the next row.
    BOOL m_bAutoWrap = TRUE;
    BOOL m_bNewLineOnCr = FALSE;

private:
    // The next row; from the last one the screen scrolls. TRUE when it scrolled.
    BOOL LineFeed();

    char m_cells[TERM_ROWS][TERM_COLUMNS];
    int m_nColumn = 0;
    int m_nRow = 0;
};
