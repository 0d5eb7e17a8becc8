#pragma once
// The shell's open and HTML Help: an address or a file is handed to the desktop's opener
// (xdg-open), which shows it in the user's browser or viewer. Tests switch the opener off and
// read what would have been opened.
#include <string>
#include "platform/win/WinTypes.h"

#define SEE_MASK_DEFAULT    0x00000000
#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

#define SE_ERR_FNF      2
#define SE_ERR_NOASSOC  31

struct SHELLEXECUTEINFOA {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCSTR lpVerb;              // null or "open"; other verbs are not served
    LPCSTR lpFile;
    LPCSTR lpParameters;
    LPCSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;         // above 32 on success, else an SE_ERR_ code
    void* lpIDList;
    LPCSTR lpClass;
    void* hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;            // always null: the opener is not the caller's to wait for
};
typedef SHELLEXECUTEINFOA* LPSHELLEXECUTEINFOA;

// Opens an http, https, ftp or mailto address, or an existing file given by its absolute path.
// FALSE (hInstApp SE_ERR_NOASSOC or SE_ERR_FNF) for anything else, for a text with control
// characters, and on a machine without a desktop session.
BOOL ShellExecuteExA(LPSHELLEXECUTEINFOA pInfo);

// HTML Help: the commands that show a help file open it in the desktop's viewer; a file that
// is not there does nothing. Answers null: the viewer's window is not one of ours.
#define HH_DISPLAY_TOPIC 0x0000
#define HH_HELP_FINDER   0x0000
#define HH_DISPLAY_TOC   0x0001
#define HH_DISPLAY_INDEX 0x0002
#define HH_HELP_CONTEXT  0x000F
#define HH_CLOSE_ALL     0x0012
HWND HtmlHelpA(HWND hWndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

// WinHelp commands, as the framework's help entries pass them on.
#define HELP_CONTEXT  0x0001
#define HELP_QUIT     0x0002
#define HELP_INDEX    0x0003
#define HELP_CONTENTS 0x0003
#define HELP_FINDER   0x000B

// Tests: while recording, nothing is handed to the desktop; each open is kept (the address or
// the file's path) and taken back oldest first. Turning recording off forgets what was kept.
void TbRecordShellOpens(BOOL bRecord);
BOOL TbTakeShellOpen(std::string* pstrTarget);
