#pragma once
// The window of numbered message lines that shows the user every notice and error. The
// application's information table implements it and hands it to the shared services and to the
// link's routing; both reach it only while the application holds one.
#include "platform/win/WinTypes.h"

struct IInfoWindow
{
    virtual ~IInfoWindow() = default;
    // Adds one numbered line with the text (bytes in the active code page).
    virtual void AddText(LPCSTR pszText) = 0;
    // Adds the text of a string id; an id without a string adds string 854 with its number.
    virtual void AddResourceText(UINT nId) = 0;
};
