#pragma once
// The commands a menu of a resource file reaches, its popups walked: what the resource tests
// compare with the commands the program handles.
#include <set>
#include <vector>
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/user/Menu.h"

inline void CollectCommands(const std::vector<TBMENUTEMPLATEITEM>& items, std::set<UINT>& commands)
{
    for (const auto& item : items) {
        if (item.uFlags & MF_POPUP)
            CollectCommands(item.popup, commands);
        else if (!(item.uFlags & MF_SEPARATOR))
            commands.insert(item.uId);
    }
}
