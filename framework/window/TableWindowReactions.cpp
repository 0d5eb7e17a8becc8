// Placeholder bodies of the grid's reactions to view and settings events until they land.
#include "framework/window/TableWindow.h"

void CTableWindow::OnRowsAdded(int, int) {}
void CTableWindow::OnRowsRemoved(int, int) {}
void CTableWindow::OnRowChanged(CTableRow*, int, int) {}
void CTableWindow::OnSettingsSaved(CIni*, CIni*) {}
void CTableWindow::OnSettingsLoaded(CIni*, CIni*) {}
void CTableWindow::OnSortChanging() {}
void CTableWindow::OnSortChanged(CSortColumns*) {}
void CTableWindow::OnViewDestroyed() {}
void CTableWindow::OnSumModeChanged() {}
void CTableWindow::OnSumModeChanging() {}
void CTableWindow::OnFilterChanged() {}
void CTableWindow::OnRowInserted(CTableRow*, int, int) {}
void CTableWindow::OnColumnAlignChanged(int, int) {}
void CTableWindow::OnColumnTitleChanged(int, const CTBString*, int) {}
void CTableWindow::OnColumnHiddenChanged(int, BOOL) {}
void CTableWindow::OnColumnWidthChanged(int, int) {}
void CTableWindow::OnColumnAttributeChanged(int, int) {}
void CTableWindow::OnFixedColumnsChanged(int) {}
void CTableWindow::OnColumnNumberFormatChanged(int, CTableColumn*) {}
void CTableWindow::OnShowHeaderChanged(BOOL) {}
void CTableWindow::OnGroupHeaderModeChanged(int) {}
void CTableWindow::OnTotalsModeChanged(int) {}
void CTableWindow::OnTitleChanged(const CTBString*, int) {}
void CTableWindow::OnLayoutChanged(int) {}
void CTableWindow::OnLanguageChanged(int) {}
void CTableWindow::OnFrameColor1Changed(COLORREF) {}
void CTableWindow::OnFrameColor2Changed(COLORREF) {}
void CTableWindow::ToggleSumMode() {}
void CTableWindow::HideColumn(int) {}
void CTableWindow::ShowColumn(int) {}
void CTableWindow::RepaintRowNow(int, int) {}
int  CTableWindow::RememberDataRow(int) const { return -1; }
int  CTableWindow::RememberMarkedRow(int) const { return -1; }
