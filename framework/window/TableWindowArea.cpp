// Placeholder bodies of the grid's panes until their implementation lands.
#include "framework/window/TableWindowArea.h"

#include "framework/window/TableWindow.h"

void CTableWindowArea::Init(int, CTableWindow* pGrid, int nFirst, int nLast, BOOL bScrollable)
{
    m_pGrid = pGrid;
    m_nFirst = nFirst;
    m_nLast = nLast;
    m_bScrollable = bScrollable;
}
void CTableWindowArea::InitHeader(int nUnused, CTableWindow* pGrid) { Init(nUnused, pGrid, 0, 0, FALSE); }
void CTableWindowArea::SetColumnRange(int nFirst, int nLast) { m_nFirst = nFirst; m_nLast = nLast; }
BOOL CTableWindowArea::ContainsColumn(int) const { return FALSE; }
void CTableWindowArea::SetRect(const RECT& rect, BOOL) { m_rcPane = rect; }
void CTableWindowArea::RecalcTotalWidth() {}
int  CTableWindowArea::GetRowHeight() const { return m_pGrid ? m_pGrid->GetRowHeight() : 20; }
int  CTableWindowArea::GetVisibleRowCount(const RECT&) const { return 0; }
void CTableWindowArea::ReserveScrollStrip(BOOL bReserve) { m_bReserveStrip = bReserve; }
int  CTableWindowArea::GetColumnWidth(int) const { return 0; }
void CTableWindowArea::SetColumnWidth(int, int, BOOL) {}
void CTableWindowArea::SetColumnWidthNow(int, int) {}
void CTableWindowArea::ResizeColumn(int, int) {}
void CTableWindowArea::ResizeColumnRtl(int, int) {}
BOOL CTableWindowArea::RestoreColumnWidth(int, BOOL) { return FALSE; }
BOOL CTableWindowArea::GetColumnRect(int, RECT*) const { return FALSE; }
BOOL CTableWindowArea::IsColumnVisible(int) const { return FALSE; }
BOOL CTableWindowArea::EnsureColumnVisible(int) { return FALSE; }
int  CTableWindowArea::GetDecimalPadding(const CTableColumn*, const BYTE*, const char*, BOOL) const { return 0; }
void CTableWindowArea::OnHScroll(UINT, UINT) {}
void CTableWindowArea::Scroll(UINT, UINT) {}
void CTableWindowArea::ScrollTo(int, BOOL) {}
void CTableWindowArea::OnBeginScroll() {}
int  CTableWindowArea::GetMaxOffset() const { return 0; }
void CTableWindowArea::ClampScroll() {}
void CTableWindowArea::Paint(HDC, const RECT&, CTableRowCache*) {}
void CTableWindowArea::PaintRow(HDC, CTableRow*, int, int, int, int, const RECT&) {}
void CTableWindowArea::PaintCell(HDC, CTableRow*, int, const RECT&) {}
BOOL CTableWindowArea::GetLineRect(int, RECT*) const { return FALSE; }
void CTableWindowArea::DrawFocus(HDC, int) {}
void CTableWindowArea::EraseFocus(HDC) {}
int  CTableWindowArea::ColumnFromX(int) const { return -2; }
int  CTableWindowArea::RowFromY(int) const { return -3; }
void CTableWindowArea::Invalidate(const RECT*, BOOL) {}
void CTableWindowArea::InvalidateCells(BOOL) {}
void CTableWindowArea::MoveTo(const RECT&) {}
void CTableWindowArea::MoveToRtl(const RECT&) {}
void CTableWindowArea::RecalcLayout() {}
void CTableWindowArea::UpdateScrollBar() {}
