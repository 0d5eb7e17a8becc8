// The link window's terminal view: the screen of received bytes painted in the terminal font,
// typing on a serial link, scrolling over the 80 by 25 screen and the caret at the cursor.
#include <algorithm>
#include "link/NorvCom.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/serial/Comm.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/Sound.h"
#include "platform/win/user/SysMetrics.h"

namespace {
// The scan code of the Backspace key, in the key flags of WM_CHAR.
const UINT SCAN_BACKSPACE = 14;
// How long a typed byte may wait for the port.
const DWORD TYPED_WRITE_WAIT_MS = 1000;

// The new position of a scroll bar after one of its SB_ requests.
int ScrollRequest(UINT nSBCode, UINT nThumb, int nPos, int nLine, int nPage, int nMax)
{
    switch (nSBCode) {
    case SB_LINEUP:        nPos -= nLine; break;
    case SB_LINEDOWN:      nPos += nLine; break;
    case SB_PAGEUP:        nPos -= nPage; break;
    case SB_PAGEDOWN:      nPos += nPage; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: nPos = static_cast<int>(nThumb); break;
    case SB_TOP:           nPos = 0; break;
    case SB_BOTTOM:        nPos = nMax; break;
    default:               break;
    }
    return std::clamp(nPos, 0, nMax);
}
}  // namespace

void CNorvCom::MeasureCells()
{
    if (m_hFont)
        DeleteObject(m_hFont);
    m_hFont = CreateFontIndirectA(&m_font);
    HDC hdc = ::GetDC(m_hWnd);
    HGDIOBJ hOld = SelectObject(hdc, m_hFont);
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ::ReleaseDC(m_hWnd, hdc);
    m_cxChar = std::max(1, static_cast<int>(tm.tmAveCharWidth));
    m_cyChar = std::max(1, static_cast<int>(tm.tmHeight + tm.tmExternalLeading));
}

void CNorvCom::ApplyTerminalFont()
{
    if (!m_hWnd)
        return;
    MeasureCells();
    // The same size again: WM_SIZE recomputes the scroll ranges for the new cells.
    CRect rc;
    GetWindowRect(&rc);
    SetWindowPos(nullptr, 0, 0, rc.Width(), rc.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    UpdateScrollRanges();
    if (m_bCaret) {
        RemoveCaret();
        CreateTerminalCaret();
    }
    Invalidate(TRUE);
}

void CNorvCom::ShowReceived(const BYTE* pBytes, int nCount)
{
    if (!m_hWnd || !m_bVisible || !pBytes)
        return;
    m_screen.m_bAutoWrap = m_bAutoWrap;
    BOOL bScrolled = FALSE;
    for (int i = 0; i < nCount; ++i) {
        int nColumn = 0, nRow = 0;
        switch (m_screen.Put(pBytes[i], &nColumn, &nRow)) {
        case TERM_BEEP:
            MessageBeep(0);
            break;
        case TERM_CELL:
            // A scroll still to be painted covers the cell as well.
            if (!bScrolled)
                PaintCell(nColumn, nRow);
            break;
        case TERM_SCROLLED:
            bScrolled = TRUE;
            break;
        }
    }
    if (bScrolled) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    PlaceCaret();
}

void CNorvCom::PaintRows(HDC hdc, int nFirst, int nLast)
{
    HGDIOBJ hOld = SelectObject(hdc, m_hFont);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
    SetBkMode(hdc, OPAQUE);
    for (int nRow = std::max(0, nFirst); nRow <= std::min(nLast, TERM_ROWS - 1); ++nRow) {
        const int y = nRow * m_cyChar - m_nVScrollPos;
        const RECT rcCells = {-m_nHScrollPos, y, TERM_COLUMNS * m_cxChar - m_nHScrollPos, y + m_cyChar};
        ExtTextOutA(hdc, rcCells.left, y, ETO_OPAQUE | ETO_CLIPPED, &rcCells, m_screen.GetRow(nRow), TERM_COLUMNS,
                    nullptr);
    }
    SelectObject(hdc, hOld);
}

void CNorvCom::PaintCell(int nColumn, int nRow)
{
    const int x = nColumn * m_cxChar - m_nHScrollPos, y = nRow * m_cyChar - m_nVScrollPos;
    const RECT rcCell = {x, y, x + m_cxChar, y + m_cyChar};
    HDC hdc = ::GetDC(m_hWnd);
    if (m_bCaret)
        ::HideCaret(m_hWnd);
    HGDIOBJ hOld = SelectObject(hdc, m_hFont);
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_WINDOW));
    ExtTextOutA(hdc, x, y, ETO_OPAQUE | ETO_CLIPPED, &rcCell, m_screen.GetRow(nRow) + nColumn, 1, nullptr);
    SelectObject(hdc, hOld);
    if (m_bCaret)
        ::ShowCaret(m_hWnd);
    ::ReleaseDC(m_hWnd, hdc);
}

void CNorvCom::OnPaint()
{
    CPaintDC dc(this);
    const RECT& rcPaint = dc.m_ps.rcPaint;
    // Only the rows the update region touches.
    PaintRows(dc, (rcPaint.top + m_nVScrollPos) / m_cyChar, (rcPaint.bottom + m_nVScrollPos) / m_cyChar);
}

void CNorvCom::OnSize(UINT nType, int cx, int cy)
{
    CMDIChildWnd::OnSize(nType, cx, cy);
    UpdateScrollRanges();
}

void CNorvCom::UpdateScrollRanges()
{
    // A bar that appears or goes takes or gives client room, and so changes the other range:
    // again until the client size holds (the bars settle within two rounds).
    for (int nRound = 0; nRound < 3; ++nRound) {
        CRect rc;
        GetClientRect(&rc);
        m_nHScrollMax = std::max(0, TERM_COLUMNS * m_cxChar - rc.Width());
        m_nVScrollMax = std::max(0, TERM_ROWS * m_cyChar - rc.Height());
        ScrollTo(m_nHScrollPos, m_nVScrollPos);
        SCROLLINFO si = {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, TERM_ROWS * m_cyChar - 1,
                         static_cast<UINT>(std::max(0, rc.Height())), m_nVScrollPos, 0};
        ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
        si.nMax = TERM_COLUMNS * m_cxChar - 1;
        si.nPage = static_cast<UINT>(std::max(0, rc.Width()));
        si.nPos = m_nHScrollPos;
        ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
        CRect rcAfter;
        GetClientRect(&rcAfter);
        if (rcAfter == rc)
            break;
    }
}

void CNorvCom::ScrollTo(int nHPos, int nVPos)
{
    nHPos = std::clamp(nHPos, 0, m_nHScrollMax);
    nVPos = std::clamp(nVPos, 0, m_nVScrollMax);
    if (nHPos == m_nHScrollPos && nVPos == m_nVScrollPos)
        return;
    const int dx = m_nHScrollPos - nHPos, dy = m_nVScrollPos - nVPos;
    m_nHScrollPos = nHPos;
    m_nVScrollPos = nVPos;
    ::SetScrollPos(m_hWnd, SB_HORZ, nHPos, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, nVPos, TRUE);
    ScrollWindowEx(m_hWnd, dx, dy, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE | SW_ERASE);
    PlaceCaret();
}

void CNorvCom::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rc;
    GetClientRect(&rc);
    ScrollTo(ScrollRequest(nSBCode, nPos, m_nHScrollPos, m_cxChar, rc.Width(), m_nHScrollMax), m_nVScrollPos);
}

void CNorvCom::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    CRect rc;
    GetClientRect(&rc);
    ScrollTo(m_nHScrollPos, ScrollRequest(nSBCode, nPos, m_nVScrollPos, m_cyChar, rc.Height(), m_nVScrollMax));
}

// The cursor's row comes into view: typing goes on where the user can see it.
void CNorvCom::ShowCursorRow()
{
    CRect rc;
    GetClientRect(&rc);
    const int nTop = m_screen.GetCursorRow() * m_cyChar;
    int nPos = m_nVScrollPos;
    if (nTop < nPos)
        nPos = nTop;
    else if (nTop + m_cyChar > nPos + rc.Height())
        nPos = nTop + m_cyChar - rc.Height();
    ScrollTo(m_nHScrollPos, nPos);
}

void CNorvCom::OnChar(UINT nChar, UINT, UINT nFlags)
{
    const BYTE ch = static_cast<BYTE>(nChar);
    // Backspace goes out as DEL; the scan code tells the key from Ctrl+H where the display has one.
    const BOOL bBackspace = (nFlags & 0xFF) == SCAN_BACKSPACE || ch == 8;
    // Every typed character is shown as if it had been received, whatever the port does with it.
    const BYTE chShown = bBackspace ? 8 : ch;
    ShowReceived(&chShown, 1);
    if (m_hPort != INVALID_HANDLE_VALUE) {
        const BYTE chSent = bBackspace ? 127 : ch;
        DWORD dwWritten = 0;
        WriteComm(m_hPort, &chSent, 1, &dwWritten, TYPED_WRITE_WAIT_MS);
    }
    if (ch == '\r')
        ShowCursorRow();
}

void CNorvCom::PlaceCaret()
{
    if (m_bCaret)
        SetCaretPos(m_screen.GetCursorColumn() * m_cxChar - m_nHScrollPos,
                    m_screen.GetCursorRow() * m_cyChar - m_nVScrollPos);
}

void CNorvCom::CreateTerminalCaret()
{
    if (!CreateCaret(m_hWnd, nullptr, m_cxChar, m_cyChar))
        return;
    m_bCaret = TRUE;
    PlaceCaret();
    ::ShowCaret(m_hWnd);
}

void CNorvCom::RemoveCaret()
{
    if (!m_bCaret)
        return;
    ::HideCaret(m_hWnd);
    DestroyCaret();
    m_bCaret = FALSE;
}

void CNorvCom::OnSetFocus(CWnd* pOldWnd)
{
    CMDIChildWnd::OnSetFocus(pOldWnd);
    // Only a port that is open takes what is typed: without one there is nothing to point at.
    if (m_hPort != INVALID_HANDLE_VALUE)
        CreateTerminalCaret();
}

void CNorvCom::OnKillFocus(CWnd* pNewWnd)
{
    RemoveCaret();
    CMDIChildWnd::OnKillFocus(pNewWnd);
}
