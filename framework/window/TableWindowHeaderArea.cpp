// Placeholder bodies of the row-header pane until its implementation lands.
#include "framework/window/TableWindowHeaderArea.h"

#include "framework/window/TableWindow.h"

int  CTableWindowHeaderArea::GetColumnWidth(int) const { return m_pGrid ? m_pGrid->GetRowHeight() : 20; }
void CTableWindowHeaderArea::Paint(HDC, const RECT&, CTableRowCache*) {}
void CTableWindowHeaderArea::PaintRowHeader(HDC, CTableRow*, int, const RECT&) {}
void CTableWindowHeaderArea::SetHotLine(int nLine) { m_nHotLine = nLine; }
void CTableWindowHeaderArea::BeginDrag(int, BOOL) {}
void CTableWindowHeaderArea::DragTo(int) {}
void CTableWindowHeaderArea::SetDragRange(int, int, HDC) {}
void CTableWindowHeaderArea::EndDrag(BOOL) {}
void CTableWindowHeaderArea::OnLinesScrolledDown(int) {}
void CTableWindowHeaderArea::OnLinesScrolledUp(int) {}
void CTableWindowHeaderArea::OnRowsMoved(HDC, int, int, int) {}
void CTableWindowHeaderArea::RepaintLines(HDC, int, int) {}
