#pragma once
// The MDI child that shows one view of a server-fed table in an embedded grid. It forwards the
// commands it does not handle to its table, keeps its caption in step with the view's title,
// saves and restores its layout and place in the workspace, and records its place in the window
// order. Made with new by its table; deletes itself when its window is destroyed.
#include "framework/table/TableEvents.h"
#include "framework/window/TableWindow.h"
#include "platform/mfc/FrameWnd.h"

struct IDataTable;
class CCmdUI;
class CViewTable;
class CTablePrintSettings;

// Show command of a saved placement whose window was hidden.
#define SW_SAVED_HIDDEN 1111

// The table windows' own commands.
#define ID_TABLE_FILTER        60000
#define ID_TABLE_SHOW_COLUMNS  60001
#define ID_TABLE_FOLLOW_LAST   60002
#define ID_TABLE_GRAND_TOTAL   60003
#define ID_TABLE_REMOVE_FILTER 60004
#define ID_TABLE_TITLES        60005
#define ID_TABLE_COPY_ALL      60006
#define ID_TABLE_EXPORT        60008
#define ID_TABLE_NEW_WINDOW    60009
#define ID_TABLE_COPY_PICTURE  57634
#define ID_TABLE_PRINT         57607
#define ID_TABLE_PRINT_PREVIEW 57609
#define ID_TABLE_PAGE_SETUP    60007

class CTableMDIWnd : public CMDIChildWnd, public CTableEventSink
{
public:
    CTableMDIWnd(IDataTable* pTable, CViewTable* pView);
    ~CTableMDIWnd() override;

    // The MDI child with the application's table-window class and the view's title; FALSE when
    // the window or its grid could not be made (the object is then gone). At the MDI client's next
    // default place; as large as pSizeFrom's normal rectangle when given, else the default size.
    BOOL CreateTableWindow(LPCSTR pszClassName, CMDIFrameWnd* pFrame, CWnd* pSizeFrom = nullptr);

    IDataTable* GetDataTable() const { return m_pTable; }
    CViewTable* GetView() const { return m_pView; }
    CTableWindow& GetGrid() { return m_grid; }
    BOOL HasGrid() const { return m_grid.m_hWnd != nullptr; }

    // Layout: grid properties, the view's columns and the placement, under the view's section.
    void LoadSettings();
    void SaveSettings();
    void RestorePlacement();
    // A hidden window made as wide as its columns and caption need (up to the client) before a
    // command shows it; never narrower than it was.
    void FitBeforeShowing();
    // The application's price colours into the grid's colour indices.
    void ApplyAppColors();
    void UpdateTableMenu();
    // The grid's normal and bold fonts in the character set, when it is another. TRUE.
    BOOL SetFontCharset(BYTE nCharset);

    BOOL OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    // The view's title became the caption.
    void OnTitleChanged(const CTBString* pTitle, int nLanguage) override;
    // A narrowed view says so in the caption.
    void OnFilterChanged() override;
    void OnSumModeChanged() override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pCreate);
    afx_msg void OnClose();
    afx_msg void OnSysCommand(UINT nId, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT uMessage);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
    afx_msg void OnSysColorChange();
    afx_msg void OnMenuSelect(UINT nItemId, UINT nFlags, HMENU hSysMenu);
    afx_msg void OnInitMenuPopup(CMenu* pMenu, UINT nIndex, BOOL bSysMenu);
    DECLARE_MESSAGE_MAP()

private:
    void SelectSection();
    void SizeGrid(int cx, int cy);
    // The width the columns and the caption need, up to the MDI client's (*pnMost); the
    // placement's normal rectangle made that wide from its reading start (bWidenOnly: kept
    // between that and the client's width).
    int  FittedWidth(int* pnMost = nullptr);
    void FitToColumns(WINDOWPLACEMENT* pwp, BOOL bWidenOnly);
    // The table's commands that every table window carries out itself; FALSE for other ids.
    BOOL RunOwnCommand(UINT nId);
    void ShowFilterDialog();
    void RemoveFilter();
    // The view's title, and while only the rows that pass its filters show, " - " and their criteria.
    void UpdateCaption();
    void Export();
    // The rows as text and table data, and a picture of the window beside them.
    void CopyAsPicture();
    // The state of those commands' items; FALSE for other ids.
    BOOL UpdateOwnCommand(UINT nId, CCmdUI* pCmdUI);

    // Printing (TableMDIWndPrint.cpp): print, preview and page setup with the settings stored
    // under the view's section. FALSE for other ids.
    BOOL RunPrintCommand(UINT nId);
    void OnPrint();
    void OnPrintPreview();
    void OnPageSetup();
    // The print run on a snapshot of the table with the grid's appearance and the standard headers.
    void PrintTable(const CTablePrintSettings& settings);
    // The window's print settings from its section; FALSE, after telling the user, without a printer.
    BOOL LoadPrintSettings(CTablePrintSettings& settings);
    // The print and page-setup dialogs: 1 print (or keep), 2 cancel, 1090 preview, 1119 keep
    // without printing. Until they exist the stored settings print as they are.
    int  ShowPrintDialog(CTablePrintSettings& settings);
    int  ShowPageSetupDialog(CTablePrintSettings& settings);

    CTableWindow m_grid;
    CViewTable* m_pView;                // not owned: the table's
    IDataTable* m_pTable;               // not owned: the table owns this window
};
