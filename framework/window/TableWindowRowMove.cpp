// Placeholder bodies of the grid's row-move tracking until it lands.
#include "framework/window/TableWindow.h"

void CTableWindow::OnRowMoved(CRowPosition*, int, CRowPosition*, int) { Refresh(); }
void CTableWindow::ScrollRowsRegion(int, int, int) {}
void CTableWindow::SmoothScrollLines(int) { InvalidateRect(m_hWnd, nullptr, FALSE); }
