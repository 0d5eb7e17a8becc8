// Menus and accelerator tables from the resource files, built with the ordinary menu and table calls.
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/user/Accelerators.h"
#include "platform/win/user/Menu.h"

static BOOL AppendTemplateItems(HMENU hMenu, const std::vector<TBMENUTEMPLATEITEM>& items)
{
    for (const TBMENUTEMPLATEITEM& item : items) {
        if (item.uFlags & MF_POPUP) {
            HMENU hPopup = CreatePopupMenu();
            if (!hPopup)
                return FALSE;
            // The menu owns the popup once appended; one that cannot be filled goes too.
            if (!AppendTemplateItems(hPopup, item.popup) ||
                !AppendMenuA(hMenu, item.uFlags, reinterpret_cast<UINT_PTR>(hPopup), item.strText.c_str())) {
                DestroyMenu(hPopup);
                return FALSE;
            }
        } else if (!AppendMenuA(hMenu, item.uFlags, item.uId, item.strText.c_str())) {
            return FALSE;
        }
    }
    return TRUE;
}

HMENU LoadMenuA(HINSTANCE hInstance, LPCSTR pszMenuName)
{
    const std::vector<TBMENUTEMPLATEITEM>* pItems = TbFindMenuTemplate(hInstance, pszMenuName);
    if (!pItems)
        return nullptr;
    HMENU hMenu = CreateMenu();
    if (hMenu && !AppendTemplateItems(hMenu, *pItems)) {
        DestroyMenu(hMenu);
        return nullptr;
    }
    return hMenu;
}

HACCEL LoadAcceleratorsA(HINSTANCE hInstance, LPCSTR pszTableName)
{
    const std::vector<ACCEL>* pTable = TbFindAcceleratorTemplate(hInstance, pszTableName);
    if (!pTable || pTable->empty())
        return nullptr;
    return CreateAcceleratorTableA(pTable->data(), static_cast<int>(pTable->size()));
}
