#include "link/TerminalScreen.h"

#include <cstring>

void CTerminalScreen::Clear()
{
    std::memset(m_cells, ' ', sizeof m_cells);
    m_nColumn = 0;
    m_nRow = 0;
}

const char* CTerminalScreen::GetRow(int nRow) const
{
    if (nRow < 0 || nRow >= TERM_ROWS)
        return nullptr;
    return m_cells[nRow];
}

BOOL CTerminalScreen::LineFeed()
{
    if (m_nRow < TERM_ROWS - 1) {
        ++m_nRow;
        return FALSE;
    }
    std::memmove(m_cells[0], m_cells[1], sizeof m_cells - TERM_COLUMNS);
    std::memset(m_cells[TERM_ROWS - 1], ' ', TERM_COLUMNS);
    return TRUE;
}

int CTerminalScreen::Put(BYTE ch, int* pnCellCol, int* pnCellRow)
{
    switch (ch) {
    case 7:
        return TERM_BEEP;
    case 8:
        if (m_nColumn > 0)
            --m_nColumn;
        return TERM_MOVED;
    case 10:
        return LineFeed() ? TERM_SCROLLED : TERM_MOVED;
    case 13:
        m_nColumn = 0;
        if (m_bNewLineOnCr)
            return LineFeed() ? TERM_SCROLLED : TERM_MOVED;
        return TERM_MOVED;
    }
    m_cells[m_nRow][m_nColumn] = static_cast<char>(ch);
    if (pnCellCol)
        *pnCellCol = m_nColumn;
    if (pnCellRow)
        *pnCellRow = m_nRow;
    if (m_nColumn < TERM_COLUMNS - 1) {
        ++m_nColumn;
        return TERM_CELL;
    }
    // At the last column the cursor stays, and the next byte overwrites it, unless the line wraps.
    if (!m_bAutoWrap)
        return TERM_CELL;
    m_nColumn = 0;
    return LineFeed() ? TERM_SCROLLED : TERM_CELL;
}
