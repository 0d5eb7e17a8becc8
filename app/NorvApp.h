#pragma once
// The framework's application: the table map (every open server-fed table by its name), the
// workspace (the settings file of the general settings, every table window's layout and the
// windows' order), the colours the table windows use, and the busy flag. The trading
// application derives from it.
#include <map>
#include <vector>
#include "framework/window/TWApp.h"
#include "platform/mfc/WinApp.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

struct IDataTable;
class CNorvMainFrame;
class CTableMDIWnd;

// The lines that tell a window of the workspace that did not come back ("%1": its name).
#define IDS_WORKSPACE_LEFT_OUT 855      // it could not be opened
#define IDS_WORKSPACE_REPORT_CLOSED 850 // a report, closed with the session that asked for it

// The colours of price movements and market segments (0x00BBGGRR).
struct APP_COLORS
{
    COLORREF crUp = 0x008000;
    COLORREF crDown = 0x0000FF;
    COLORREF crUnchanged = 0xFF0000;
    COLORREF crTickerDifferent = 0x008000;
    COLORREF crMarketMaker = 0xFF00FF;
    COLORREF crJuniorStock = 0x0000FF;
    COLORREF crOddLot = 0xFF00FF;
    COLORREF crSegment1 = 0x80FF80;
    COLORREF crSegment2 = 0xFF8080;
    COLORREF crSegment3 = 0x8080FF;
};

// The placeholder window class "QUEBROTREELISTCTRL"; callers ignore the result.
ATOM RegisterTreeListClass();

class CNorvApp : public CWinApp, public CTWApp
{
public:
    // The map of open tables by name; it does not own them (RemoveTable deletes).
    class CTablePtrMap : public CMap<CString, LPCSTR, IDataTable*, IDataTable*>
    {
    };

    CNorvApp();
    ~CNorvApp() override;

    // The application object when it is one of these, else null.
    static CNorvApp* Get();

    // Both bases' slots. The framework's windows see a message first, then the class library.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL InitInstance() override { return TRUE; }
    // Deletes the language and shared-services singletons, then the class library's exit.
    int ExitInstance() override;
    int Run() override { return CWinApp::Run(); }
    // The recent-file list and the command line open a workspace.
    CDocument* OpenDocumentFile(LPCSTR pszFileName) override;

    // Tables. A name not in the map gives null; FindTable looks in a map by name id kept beside
    // the names, so the tables that are asked for on every message cost no string load. AddTable
    // replaces an entry of the same name (the old table is not deleted); RemoveTable destroys and
    // deletes the slot's table.
    IDataTable* FindTable(UINT nNameId) const;
    IDataTable* FindTableByName(LPCSTR pszName) const;
    void AddTable(IDataTable* pTable);
    void RemoveTable(IDataTable** ppSlot);
    void RemoveAllTables();
    // Every table, in the map's order.
    std::vector<IDataTable*> GetTables() const;
    // Shown normal, activated, the frame laid out again.
    static void ShowTable(IDataTable* pTable);
    // Every table's windows in the character set (1 default, 178 Arabic), and the grid fonts of
    // the settings file's first section; FALSE when a window refused or there is no section.
    BOOL SetFontCharset(BYTE nCharset);
    // Visible table windows among the MDI children; 0 when none is active.
    short CountVisibleTableWindows() const;

    // Workspace. LoadWorkspace switches the settings file to pszFile (when it is another),
    // applies ".General", restores the table windows of ".Z-Order" (at most
    // MAX_TABLE_WINDOWS per table) and their order. SaveWorkspace writes ".General", the
    // frame's settings and every window's layout into the current settings file.
    virtual void LoadWorkspace(LPCSTR pszFile, BOOL bCloseFirst);
    virtual void SaveWorkspace();
    // FALSE when no table of that name is open or may be made here. nCount is the highest
    // window number saved: window 3 saved alone still comes back as the third.
    BOOL RestoreTableWindows(LPCSTR pszName, int nCount);
    // A table the session already had, shown again by the workspace; and a further window of
    // a table, its layout loaded. What their commands add to them is the application's.
    virtual void OnStandingTableRestored(IDataTable*) {}
    virtual void OnExtraWindowRestored(IDataTable*, CTableMDIWnd*) {}
    // The table windows ".Z-Order" names that are here, the top one first.
    std::vector<HWND> SavedTableOrder() const;
    // A table the workspace names and the map lacks, made as its command makes it; null when
    // none may be made here.
    virtual IDataTable* MakeWorkspaceTable(LPCSTR) { return nullptr; }
    // A window the workspace names and nothing here can open (a name of another version or
    // language, a window this user may not open, a damaged entry): the user is told, and the
    // rest of the workspace comes back all the same.
    virtual void ReportLeftOut(LPCSTR pszName, UINT nLineId = IDS_WORKSPACE_LEFT_OUT);
    // The same for a table's windows: the application names the table by its title.
    virtual void ReportLeftOutTable(LPCSTR pszName) { ReportLeftOut(pszName); }
    // The name of this session's table that a name saved in a workspace stands for (a file of
    // the other language, or of the previous version, may hold a name or title in that
    // language); the saved name when it stands for none.
    virtual CString WorkspaceTableName(LPCSTR pszSaved) const { return pszSaved; }
    const CString& GetWorkspaceFile() const { return m_strWorkspaceFile; }
    void SetWorkspaceFile(LPCSTR pszFile) { m_strWorkspaceFile = pszFile; }

    // The main frame; null before it exists.
    CNorvMainFrame* GetMainFrame() const { return m_pMainFrame; }
    void SetMainFrame(CNorvMainFrame* pFrame) { m_pMainFrame = pFrame; }
    int NextZOrderIndex();

    const APP_COLORS& GetColors() const { return m_colors; }
    const CString& GetTableWindowClass() const { return m_strTableWindowClass; }
    // The class of every table window, with the icon of that id; kept empty (the frames' own
    // class) when the resources have no such icon.
    void RegisterTableWindowClass(UINT nIconId);
    const CString& GetProgramFolder() const { return m_strProgramFolder; }
    BOOL IsAutoSave() const { return m_bAutoSave; }
    BOOL IsShowTimeOnMenuBar() const { return m_bShowTimeOnMenuBar; }
    // The busy flag, with the wait cursor while it is set.
    void SetBusyFlag(BOOL bBusy);
    BOOL IsBusy() const { return m_nBusy != 0; }

protected:
    // Entry nIndex of ".Z-Order": the name of this session's table it stands for, and the
    // number after its colon (0 without one); an empty name for an empty entry.
    std::pair<CString, int> ZOrderEntry(int nIndex) const;
    // The ".General" values of the framework, from the current section; and back. The
    // application writes its own around the framework's.
    void ReadGeneralSettings();
    virtual void WriteGeneralSettings();
    // The id map's entry of a table, when it is that table's.
    void ForgetTableId(IDataTable* pTable);

    CString m_strWorkspaceFile;
    BOOL m_bShowTimeOnMenuBar = FALSE;
    BOOL m_bAutoSave = TRUE;
    APP_COLORS m_colors;
    CString m_strTableWindowClass;
    CString m_strProgramFolder;         // ends in the path separator
    int m_nBusy = 0;
    CTablePtrMap m_tables;
    std::map<UINT, IDataTable*> m_tablesById;  // the same tables by name id (0 ids left out)
    CNorvMainFrame* m_pMainFrame = nullptr;     // not owned: the frame deletes itself
};
