// Placeholder bodies of the grid's layout and scrolling until they land.
#include "framework/window/TableWindow.h"

void CTableWindow::Refresh() {}
void CTableWindow::SetTopRow(int nRow, BOOL, int) { m_nTopRow = nRow; }
BOOL CTableWindow::ScrollToRow(int, int) { return TRUE; }
void CTableWindow::VScroll(UINT, int, int) {}
void CTableWindow::HScroll(UINT) {}
void CTableWindow::AutoScroll(int, int) {}
void CTableWindow::OnPaneScrollBarChanged(CTableWindowArea*, BOOL) {}
BOOL CTableWindow::GetVisibleRowRange(int* pFirst, int* pLast) const { *pFirst = *pLast = -1; return FALSE; }
int  CTableWindow::GetRowCount() const { return 0; }
int  CTableWindow::GetWholeLines() const { return 0; }
int  CTableWindow::GetLinesThatFit() const { return 0; }
int  CTableWindow::GetLastShownRow() const { return -1; }
int  CTableWindow::GetLastFullyShownRow() const { return -1; }
int  CTableWindow::GetMaxTopRow() const { return 0; }
int  CTableWindow::GetAppendLineOffset() const { return -3; }
void CTableWindow::PullBackAtEnd(BOOL) {}
int  CTableWindow::SetColumnWidth(int, int, BOOL) { return -1; }
int  CTableWindow::GetColumnWidth(int nCol) const { return nCol >= 0 && nCol < GetDisplayColumnCount() ? m_widths[nCol] : 0; }
void CTableWindow::RebuildWidthTable() {}
int  CTableWindow::AutoFitColumn(int, BOOL) { return -1; }
void CTableWindow::SetPaneColumnRuns() {}
void CTableWindow::BeginColumnResize(int, POINT) {}
void CTableWindow::TrackColumnResize(int, int) {}
void CTableWindow::EndColumnResize(BOOL) {}
void CTableWindow::GrowResizedColumn() {}
void CTableWindow::ShrinkResizedColumn() {}
void CTableWindow::BeginColumnMove(int, POINT) {}
void CTableWindow::TrackColumnMove(int, int) {}
void CTableWindow::EndColumnMove(BOOL) {}
void CTableWindow::DrawMoveImage() {}
void CTableWindow::EraseMoveImage(const RECT*) {}
void CTableWindow::DrawResizeLine() {}
void CTableWindow::EraseResizeLine() {}
void CTableWindow::SetCursorForZone(int) {}
int  CTableWindow::ColumnFromPoint(int, int) const { return -3; }
int  CTableWindow::RowFromPoint(int, int) const { return -3; }
int  CTableWindow::HitTestZone(POINT, int* pCol) const { if (pCol) *pCol = -1; return 0; }
int  CTableWindow::FindNextHiddenColumn(int) const { return -1; }
void CTableWindow::StartAutoScrollTimer(UINT_PTR) {}
void CTableWindow::StopAutoScrollTimer() {}
void CTableWindow::OnSize(UINT n, int cx, int cy) { CTBWnd::OnSize(n, cx, cy); }
void CTableWindow::OnVScroll(UINT n, UINT p, CTBWnd* s) { CTBWnd::OnVScroll(n, p, s); }
void CTableWindow::OnHScroll(UINT n, UINT p, CTBWnd* s) { CTBWnd::OnHScroll(n, p, s); }
void CTableWindow::OnMouseWheel(UINT k, short d) { CTBWnd::OnMouseWheel(k, d); }
void CTableWindow::RecalcLayout(const RECT&) {}
void CTableWindow::UpdateVScrollBar(int) {}
void CTableWindow::MeasureHeights() {}
void CTableWindow::MeasureDigitWidths() {}
void CTableWindow::MoveDivider(int) {}
int  CTableWindow::ChooseColor(COLORREF, COLORREF*) { return 0; }
