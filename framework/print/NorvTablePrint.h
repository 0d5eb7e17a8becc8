#pragma once
// The print engine as every table window uses it: a product name and an optional logo, and the
// standard page header (rules, logo, name, title, date and time) and footer (the page line of
// string 860). CPrintProgress is the modeless dialog that follows a run; RunTablePrint is the
// whole print of a table window with its progress and its failure message.
#include "framework/print/TablePrint.h"
#include "platform/mfc/Dialog.h"

#define IDS_PRINT_PAGELINE      860     // the footer's page line, with page fields
#define IDS_PRINT_FAILED        28720   // told when a print could not be made
#define IDD_PRINT_PROGRESS      800
#define IDC_PRINT_PROGRESS      1000
#define IDB_PRINT_LOGO          115

class CNorvTablePrint : public CTablePrint
{
public:
    explicit CNorvTablePrint(CViewTable* pView);
    ~CNorvTablePrint() override;

    // Loads a bitmap of the shared services as the logo; FALSE when it cannot be had.
    BOOL LoadLogo(UINT uBitmapId);
    HBITMAP GetLogo() const { return m_hLogo; }
    void SetName(const char* pszName) { m_strName = pszName; }
    const CTBString& GetName() const { return m_strName; }
    // Appends the standard page header and footer; the report lists stay empty.
    void BuildHeaders(const char* pszTitle);

private:
    HBITMAP m_hLogo = nullptr;          // owned
    CTBString m_strName = "NORV";
};

// Follows a run's pages on a bar from 0 to 100 and closes itself at 100. It registers as the
// engine's progress sink and clears that when its window goes, then deletes itself: the engine's
// sink is null from the moment the dialog is gone.
class CPrintProgress : public CDialog, public IPrintProgressSink
{
public:
    CPrintProgress(CTablePrint* pPrint, CWnd* pParent, const char* pszCaption);
    BOOL SetProgress(int nPercent) override;
    BOOL OnInitDialog() override;

protected:
    void PostNcDestroy() override;

private:
    CTablePrint* m_pPrint = nullptr;    // not owned
    CTBString m_strCaption;
};

// The table window's print: a progress dialog, the run, the dialog closed when the run ends
// short of 100 %, and a message box (IDS_PRINT_FAILED) when nothing could be printed. Returns
// the engine's result.
int RunTablePrint(CTablePrint& print, CWnd* pParent, const char* pszCaption);
