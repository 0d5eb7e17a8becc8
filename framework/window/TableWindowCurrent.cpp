// Placeholder bodies of the grid's current row and in-place editing until they land.
#include "framework/window/TableWindow.h"

int  CTableWindow::GetCurrentRow() const { return -1; }
BOOL CTableWindow::IsValidCurrentRow(int) const { return FALSE; }
void CTableWindow::SetCurrentRowOffset(int, int) {}
void CTableWindow::ParkCurrentRow() {}
void CTableWindow::RestoreCurrentRow(int) {}
BOOL CTableWindow::MoveCurrentRow(int) { return FALSE; }
BOOL CTableWindow::SetCurrentCell(int, int) { return FALSE; }
BOOL CTableWindow::SelectRow(int, int, BOOL) { return FALSE; }
BOOL CTableWindow::StartEdit(int, int) { return FALSE; }
void CTableWindow::CloseEditor(BOOL) {}
BOOL CTableWindow::IsEditorShowing() const { return FALSE; }
void CTableWindow::BeginEdit() {}
void CTableWindow::EditChanged() {}
void CTableWindow::EndEdit() {}
BOOL CTableWindow::ResolveCell(CViewRow*, int*, int*, BOOL) { return FALSE; }
BOOL CTableWindow::GetCellRect(int, int, RECT*) const { return FALSE; }
BOOL CTableWindow::DeleteRowAt(int) { return FALSE; }
int  CTableWindow::CellClick(int, int) { return 0; }
int  CTableWindow::CellRightClick(int, int) { return 0; }
void CTableWindow::NotifyCurrentRow() {}
BOOL CTableWindow::MoveEditorToNextRow(int) { return FALSE; }
void CTableWindow::OnLButtonDblClk(UINT nKeys, int x, int y) { CTBWnd::OnLButtonDblClk(nKeys, x, y); }
void CTableWindow::OnRButtonDown(UINT nKeys, int x, int y) { CTBWnd::OnRButtonDown(nKeys, x, y); }
