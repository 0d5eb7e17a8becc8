#pragma once
// The grid's fast find: a small modeless dialog that makes current the first row of a grid whose
// cell in one column begins with the typed text (without case; '*', '?' and '\' work as in the
// filters' masks). Every keystroke searches again from the top; Find next goes on after the
// current row and wraps. The grid's application layer (CTWApp) owns the one instance.
#include "framework/window/TBDialog.h"

class CTableWindow;
class CViewTable;

#define IDD_FASTFIND            5200
#define IDS_FASTFIND_CAPTION    28713

// Controls the grid dialogs share.
#define IDC_GRID_COLUMNS        1006    // the view's columns; item data = column index
#define IDC_GRID_FIND_NEXT      1004
// The fast find's own.
#define IDC_FASTFIND_TEXT       1031

// The column lists of the grid dialogs: one item per column of the view in column-list order,
// leaving out hidden columns the user may not show; the title with its line feeds as blanks,
// the column index as item data. The item of nCol, -1 when it is not listed (or no view).
int FillColumnList(HWND hCombo, CViewTable* pView, int nCol);
// Selects the item of nCol; a column outside the view stands for the first column shown or that
// the user may show (0 when none). The item selected, -1 when none is.
int SelectColumnInList(HWND hCombo, CViewTable* pView, int nCol);
// The column of the selected item, -1 when nothing valid is selected.
int GetSelectedColumn(HWND hCombo, CViewTable* pView);
// "<string id>" or "<string id> - <view title>".
CTBString GridDialogCaption(UINT nIdString, CViewTable* pView);
// A grid dialog's settings section: "<view name>.<dialog>", or the dialog's name alone without a
// view or when the view has no name (never a section named by an empty text).
CTBString GridDialogSection(const char* pszDialog, CViewTable* pView);
// "<dialog>.Lang<index>": where the dialog's texts of a language are kept.
CTBString GridDialogLangSection(const char* pszDialog, int nLanguage);

class CDlgFastFind : public CTBLangDialog
{
public:
    CDlgFastFind();
    ~CDlgFastFind() override;

    // Modeless for the window (owner) and column (-1 = none yet); FALSE when the dialog could
    // not be made.
    BOOL Create(CTableWindow* pWindow, int nCol);
    // Another grid, or none (null: everything greyed, nothing searched). Works without a window too.
    void SetTarget(CTableWindow* pWindow, int nCol);
    void SetColumn(int nCol);
    CTableWindow* GetTarget() const { return m_pTarget; }
    int  GetColumn() const { return m_nCol; }

    // Searches from view row nFirst to the end; FALSE when no row matched. TRUE also when nothing
    // could be searched (blank text, no column, no target), which greys the find button.
    BOOL Find(int nFirst);
    // From the row after the current row, then again from the top.
    void FindNext();

    CTBString GetSettingsSection() override;
    CTBString GetCaption() override;
    CTBString GetLangSection(int nLanguage) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;

private:
    CViewTable* TargetView() const;
    void FillColumns(BOOL bSelect);
    void TakeSelection();
    void UpdateFindButton();

    CTableWindow* m_pTarget = nullptr;  // not owned; cleared when it goes (CTWApp)
    int m_nCol = -1;                    // column index in the view, -1 = none
};
