// The grid in the user interface's language: its column titles through a dictionary.
#include "framework/base/Dictionary.h"
#include "framework/table/ViewColumn.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"

void CTableWindow::TranslateColumnTitles(CDictionary& dictionary, int nDirection)
{
    if (m_pView == nullptr)
        return;
    for (int nCol = 0; nCol < m_pView->GetColumnCount(); ++nCol) {
        CViewColumn column;
        if (!m_pView->GetColumn(nCol, column) || column.GetTableColumn() == nullptr)
            continue;
        CTBString strTitle = column.GetTableColumn()->GetTitleAt(0);
        column.SetTitle(dictionary.Translate(strTitle, nDirection), 0);
    }
    Refresh();
}

void TranslateGridControl(HWND hWnd, CDictionary& dictionary, int nDirection)
{
    if (CTableWindow* pGrid = dynamic_cast<CTableWindow*>(CTBWnd::FromHandle(hWnd)))
        pGrid->TranslateColumnTitles(dictionary, nDirection);
}
