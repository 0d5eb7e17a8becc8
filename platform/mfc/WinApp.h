#pragma once
// The application object: one per program (AfxGetApp), usually a static object of a class
// derived from CWinApp. AfxWinMain runs it: InitInstance, then Run (the message loop with idle
// updates of the bars) until WM_QUIT, then ExitInstance. It is the last command target a frame
// routes to, and it keeps the program's profile: the registry under
// "Software\<registry key>\<profile name>" after SetRegistryKey, an INI file before, and the
// recent-file list. Texts it owns (m_pszAppName, m_pszProfileName, ...) are malloc'd copies that
// a program may free and replace, as the original's programs do.
#include "platform/mfc/AfxRes.h"
#include "platform/mfc/CmdTarget.h"
#include "platform/mfc/String.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Message.h"

class CWnd;
class CCmdUI;
class CRecentFileList;
class CPrintDialog;

// No document templates here: a non-null CDocument* from OpenDocumentFile only says the file opened.
class CDocument : public CCmdTarget
{
};

// The command line as ParseCommandLine reads it: a file name asks to open it, nothing a new file.
class CCommandLineInfo : public CObject
{
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
    // One argument: a flag ('-' or '/' before it, given without it) or a parameter.
    virtual void ParseParam(LPCSTR pszParam, BOOL bFlag, BOOL bLast);

    int m_nShellCommand = FileNew;
    CString m_strFileName;
    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
};

class CWinThread : public CCmdTarget
{
public:
    // The loop: takes, pre-translates and dispatches messages; while the queue is empty it calls
    // OnIdle with a growing count until that answers FALSE. Returns ExitInstance's result once
    // WM_QUIT arrives.
    virtual int Run();
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance();
    // lCount 0: the main window and its bars update their items (WM_IDLEUPDATECMDUI); 1: the
    // temporary window and menu objects are freed. TRUE while there is more to do.
    virtual BOOL OnIdle(LONG lCount);
    // Offers the message to the windows from its own to the main window; TRUE when one took it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // FALSE for the messages that must not restart idle processing (a mouse move to the same
    // place, painting), which would otherwise never stop.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // One message through: FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    CWnd* GetMainWnd() const { return m_pMainWnd; }

    CWnd* m_pMainWnd = nullptr;     // the main frame; not owned (frames own themselves)
    MSG m_msgCur = {};

private:
    POINT m_ptLastMouse = {-1, -1};
    UINT m_nLastMessage = 0;
};

class CWinApp : public CWinThread
{
public:
    // The newest application object is the program's (AfxGetApp); when it is destroyed, the one
    // made before it is again.
    explicit CWinApp(LPCSTR pszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitApplication() { return TRUE; }
    // Saves the recent-file list; the exit code of the program.
    int ExitInstance() override;
    // The program's own path, help file and default profile from the executable's path
    // (GetModuleFileName, so $TB_PROGRAM_DIR moves them). AfxWinMain calls it; so does the
    // constructor.
    void SetCurrentHandles();

    // Profile. SetRegistryKey moves it to the registry: HKEY_CURRENT_USER "Software\<key>\<m_pszProfileName>",
    // whose profile name then is the application's name.
    void SetRegistryKey(LPCSTR pszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // The open keys of the profile, for the caller to close; null without a registry key.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR pszSection);
    UINT GetProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nDefault);
    BOOL WriteProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nValue);
    CString GetProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszDefault = nullptr);
    // A null value deletes the entry.
    BOOL WriteProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszValue);
    // *ppData is new[]'d for the caller to delete[]; FALSE (and null) when the entry is missing.
    BOOL GetProfileBinary(LPCSTR pszSection, LPCSTR pszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCSTR pszSection, LPCSTR pszEntry, LPBYTE pData, UINT nBytes);

    // The recent-file list of nMaxMRU entries (at most 16), read from the profile's
    // "Recent File List"; written back by ExitInstance.
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    // Puts the file first in the list (once: an entry already there moves up).
    virtual void AddToRecentFileList(LPCSTR pszPathName);
    // Opens a file the user chose (recent files, File Open, the command line); null when it did not open.
    virtual CDocument* OpenDocumentFile(LPCSTR pszFileName);

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileOpen opens the file (FALSE when it does not open); FileNew runs ID_FILE_NEW when a
    // target handles it. FALSE when there is no main window afterwards.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);

    // Help: the help file (m_pszHelpFilePath) in HTML Help; a missing file shows nothing.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = 0x0001 /*HELP_CONTEXT*/);
    virtual void HtmlHelp(DWORD_PTR dwData, UINT nCmd = 0x000F /*HH_HELP_CONTEXT*/);

    // Resources of the resource module.
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCSTR pszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR pszCursorName) const;
    // 1 shows the wait cursor (counted), -1 takes one back, 0 shows it again if counted.
    virtual void DoWaitCursor(int nCode);
    void BeginWaitCursor() { DoWaitCursor(1); }
    void EndWaitCursor() { DoWaitCursor(-1); }

    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;      // the executable's name without its folder
    LPCSTR m_pszHelpFilePath = nullptr; // beside the executable, its name with ".hlp"
    LPCSTR m_pszProfileName = nullptr;  // an INI file's path, or the profile's key name after SetRegistryKey
    LPCSTR m_pszRegistryKey = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;        // not owned
    int m_nCmdShow = 1;                 // SW_SHOWNORMAL
    CRecentFileList* m_pRecentFileList = nullptr;   // owned
    int m_nNumPreviewPages = 0;
    // The application's default printer, as the print-setup chooser (ID_FILE_PRINT_SETUP)
    // leaves it; both null until then: the machine's default printer.
    HGLOBAL m_hDevMode = nullptr;       // owned
    HGLOBAL m_hDevNames = nullptr;      // owned

protected:
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg void OnAppExit();
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnFilePrintSetup();
    // Runs the chooser on the application's printer; on OK the choice becomes it.
    INT_PTR DoPrintDialog(CPrintDialog* pPD);
    DECLARE_MESSAGE_MAP()

private:
    static void Replace(LPCSTR& psz, LPCSTR pszValue);
    int m_nWaitCursorCount = 0;
    HCURSOR m_hcurWaitCursorRestore = nullptr;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
// The module every resource is loaded from (the language library once start-up chose it).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstance);
// Runs the application object: InitInstance (a FALSE destroys the main window, if any, and
// goes to ExitInstance), Run. The result is the program's exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// Sockets and OLE need no start-up here; kept for the start-up code that asks for them.
BOOL AfxSocketInit(void* pWSAData = nullptr);
BOOL AfxOleInit();
void AfxEnableControlContainer();
