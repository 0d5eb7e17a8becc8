#include "framework/table/TBMenu.h"
#include "framework/table/ViewTable.h"

#define ID_COLUMN_MENU_FIRST 27000

HMENU CViewTable::BuildColumnMenu()
{
    if (m_columns.GetCount() == 0)
        return nullptr;
    CTBMenu menu;
    if (!menu.CreatePopup())
        return nullptr;
    for (int i = 0; i < m_columns.GetCount(); ++i) {
        const CTableColumn* pColumn = m_columns[i];
        if (!pColumn->m_bUserSwitchable)
            continue;
        CTBString strTitle = pColumn->GetTitle().ReplaceChar('\n', ' ');
        menu.AppendItem(strTitle, static_cast<UINT>(ID_COLUMN_MENU_FIRST + i), !pColumn->m_bHidden);
    }
    menu.SortItems();
    return menu.Detach();
}
