#pragma once
// The class library's own command and string ids, which menus, toolbars and resource files of
// the program name.

// File and application commands.
#define ID_FILE_NEW         0xE100
#define ID_FILE_OPEN        0xE101
#define ID_FILE_CLOSE       0xE102
#define ID_FILE_SAVE        0xE103
#define ID_FILE_SAVE_AS     0xE104
#define ID_FILE_PAGE_SETUP  0xE105
#define ID_FILE_PRINT_SETUP 0xE106
#define ID_FILE_PRINT       0xE107
#define ID_FILE_MRU_FILE1   0xE110      // the recent-file list: FILE1 to FILE16
#define ID_FILE_MRU_FILE16  0xE11F
#define ID_APP_ABOUT        0xE140
#define ID_APP_EXIT         0xE141
#define ID_HELP_INDEX       0xE142
#define ID_HELP_FINDER      0xE143
#define ID_HELP_USING       0xE144
#define ID_CONTEXT_HELP     0xE145
#define ID_HELP             0xE146
#define ID_DEFAULT_HELP     0xE147
#define ID_VIEW_TOOLBAR     0xE800
#define ID_VIEW_STATUS_BAR  0xE801
#define ID_SEPARATOR        0

// Control bar ids.
#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_CONTROLBAR_LAST  0xE8FF
#define AFX_IDW_TOOLBAR          0xE800
#define AFX_IDW_STATUS_BAR       0xE801

// Strings: the title, the idle prompt of the status bar, the prompts of system commands
// (AFX_IDS_SCFIRST + (SC_xxx - SC_SIZE) / 16) and of the window list's items.
#define AFX_IDS_APP_TITLE    0xE000
#define AFX_IDS_IDLEMESSAGE  0xE001
#define AFX_IDS_SCFIRST      0xEF00
#define AFX_IDS_MDICHILD     0xEF1F

// The frame's private messages: show a prompt (wParam a string id, or lParam a text) and
// update the bars' buttons and panes when the program is idle (wParam: disable what has no handler).
#define WM_SETMESSAGESTRING 0x0362
#define WM_IDLEUPDATECMDUI  0x0363
