#pragma once
// Dialog templates, menus and accelerator tables as the resource reader keeps them. The reader
// leaves texts in UTF-8; a loaded module holds them in its code page. Each type has its own
// names: dialog 104, menu 104 and cursor 104 are three resources.
#include <map>
#include <string>
#include <vector>
#include "platform/win/WinTypes.h"
#include "platform/win/user/Accelerators.h"

// One control of a dialog template: its class ("BUTTON", "EDIT", ... or any class a CONTROL
// statement names), text, id, styles (WS_CHILD | WS_VISIBLE included) and rectangle in dialog units.
struct TBDLGITEMTEMPLATE {
    std::string strClass;
    std::string strText;
    int   nId = 0;
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    int   x = 0, y = 0, cx = 0, cy = 0;
};

// A dialog: its rectangle in dialog units, styles, caption, font (no face: the system's dialog
// font), optional menu and window class, and its controls in creation order.
struct TBDLGTEMPLATE {
    DWORD dwStyle = 0;
    DWORD dwExStyle = 0;
    int   x = 0, y = 0, cx = 0, cy = 0;
    std::string strCaption;
    std::string strFace;
    int   nPointSize = 0;
    int   nWeight = 0;
    BOOL  bItalic = FALSE;
    int   nCharSet = 1;             // DEFAULT_CHARSET
    std::string strMenu;            // "#200" or a name; empty: none
    std::string strClass;           // empty: the dialog class
    std::vector<TBDLGITEMTEMPLATE> items;
};
typedef const TBDLGTEMPLATE* LPCDLGTEMPLATEA;

// A menu item: a command (id), a separator (MF_SEPARATOR) or a popup (MF_POPUP, its items);
// flags carry MF_GRAYED, MF_CHECKED, MF_HELP, MF_MENUBREAK, MF_MENUBARBREAK.
struct TBMENUTEMPLATEITEM {
    std::string strText;
    UINT uId = 0;
    UINT uFlags = 0;
    std::vector<TBMENUTEMPLATEITEM> popup;
};

// A toolbar: the size of one image of its strip (the BITMAP of the same name) and its buttons'
// commands in order, 0 for a separator:
//     280 TOOLBAR 16, 15
//     BEGIN
//         BUTTON 32832
//         SEPARATOR
//     END
struct TBTOOLBARTEMPLATE {
    int cx = 0, cy = 0;
    std::vector<UINT> ids;
};

// The templates of one resource file, each type keyed by name ("#104" or the upper-cased word).
struct TbResourceTemplates {
    std::map<std::string, TBDLGTEMPLATE> dialogs;
    std::map<std::string, std::vector<TBMENUTEMPLATEITEM>> menus;
    std::map<std::string, std::vector<ACCEL>> accelerators;
    std::map<std::string, TBTOOLBARTEMPLATE> toolbars;
};

// Converts every text from UTF-8 to the code page.
void TbConvertTemplates(TbResourceTemplates& templates, UINT uCodePage);
// The key of a resource name: "#104" for MAKEINTRESOURCE(104) or "#104" itself, else upper case.
std::string TbResourceNameKey(LPCSTR pszName);
// A module's templates (null module: the resource module); null when there are none. Pointers
// stay good while the module is loaded.
const TbResourceTemplates* TbModuleTemplates(HINSTANCE hInstance);
const TBDLGTEMPLATE* TbFindDialogTemplate(HINSTANCE hInstance, LPCSTR pszName);
const std::vector<TBMENUTEMPLATEITEM>* TbFindMenuTemplate(HINSTANCE hInstance, LPCSTR pszName);
const std::vector<ACCEL>* TbFindAcceleratorTemplate(HINSTANCE hInstance, LPCSTR pszName);
const TBTOOLBARTEMPLATE* TbFindToolbarTemplate(HINSTANCE hInstance, LPCSTR pszName);
