#pragma once
// The print dialog: printer, page range, copies and collation, the rows counted in the sums and
// the column order of one table print, edited on the dialog's own copy of the print settings.
// The run ends with 1 (print), 1090 (preview), 1119 (settings changed, nothing printed: Cancel
// once another printer was chosen) or 2 (nothing).
#include "framework/print/TablePrintSettings.h"
#include "framework/window/TBDialog.h"

class CViewTable;

#define IDD_PRINT               1127
#define IDS_PRINT_CAPTION       28711
#define IDS_PRINT_KEEP          28712   // the Cancel button's text once something changed
#define IDC_PRINT_PRINTER       1073
#define IDC_PRINT_PROPERTIES    1074
#define IDC_PRINT_MODEL         1093
#define IDC_PRINT_LOCATION      1095
#define IDC_PRINT_PAGES         1063
#define IDC_PRINT_ALLPAGES      1064
#define IDC_PRINT_RANGE         1059
#define IDC_PRINT_COPIES        1075
#define IDC_PRINT_COLLATE       1094
#define IDC_PRINT_ROWS_ALL      1080
#define IDC_PRINT_ROWS_3        1081
#define IDC_PRINT_ROWS_1        1082
#define IDC_PRINT_ROWS_2        1083
#define IDC_PRINT_NOSORT        1055
#define IDC_PRINT_TABLEORDER    1050
#define IDC_PRINT_PREVIEW       1090

// Results of the print dialogs beside IDOK and IDCANCEL.
#define PRINT_RESULT_PREVIEW    1090
#define PRINT_RESULT_CHANGED    1119

class CTBPrintDlg : public CTBLangDialog
{
public:
    // The view gives the caption and the remembered position; it may be null.
    CTBPrintDlg(CTBWnd* pOwner, CViewTable* pView, void* pContext = nullptr);
    ~CTBPrintDlg() override;

    void SetSettings(const CTablePrintSettings& settings) { m_settings.CopyFrom(settings); }
    const CTablePrintSettings& GetSettings() const { return m_settings; }
    CTablePrintSettings& Settings() { return m_settings; }
    BOOL IsChanged() const { return m_bChanged; }
    void* GetContext() const { return m_pContext; }

    CTBString GetSettingsSection() override;
    CTBString GetCaption() override;
    CTBString GetLangSection(int nLanguage) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ShowPrinter();
    void OnPrinterChange();
    void ShowRange();
    void TakeRange();
    void MarkChanged();
    void EndWith(int nCode);

    CTablePrintSettings m_settings;
    CViewTable* m_pView;            // not owned; may be null
    BOOL m_bChanged = FALSE;
    void* m_pContext;               // the caller's, not read here
    BOOL m_bShowing = FALSE;        // the dialog writes its own fields: no typing to react to
};
