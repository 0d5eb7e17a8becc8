// The table window's print, preview and page-setup commands. Each loads the print settings from
// the section named after the view; results 1, 1090 and 1119 of the dialogs store them back.
#include "app/TableMDIWnd.h"

#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "framework/print/NorvTablePrint.h"
#include "framework/print/PreviewWnd.h"
#include "framework/print/PrintDialogs.h"
#include "framework/print/TBPageSetupDlg.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/print/TablePrintSettings.h"
#include "framework/table/Table.h"
#include "framework/table/ViewTable.h"
#include "platform/win/Windows.h"
#include "platform/win/user/MessageBox.h"

namespace {

#define IDS_NO_PRINTER      859
#define IDS_PREVIEW_CAPTION 857
#define IDS_PRODUCT_NAME    40366
#define SNAPSHOT_FLAGS       3

BOOL KeepsSettings(int nResult)
{
    return nResult == IDOK || nResult == PRINT_RESULT_PREVIEW || nResult == PRINT_RESULT_CHANGED;
}

void TellNoPrinter(HWND hOwner)
{
    CTBString strText = GetLanguage()->GetDictionary()->TranslateString(IDS_NO_PRINTER, GetLanguage()->GetDirection());
    MessageBoxA(hOwner, strText, nullptr, MB_OK | MB_ICONHAND);
}

// The main frame as the owner of a framework dialog: disabled while the dialog runs. The
// frame is a class-library window, so it is lent to the framework for the run only.
class CDialogOwner
{
public:
    explicit CDialogOwner(HWND hWnd) { m_owner.Attach(hWnd); }
    ~CDialogOwner() { m_owner.Detach(); }
    CDialogOwner(const CDialogOwner&) = delete;
    CDialogOwner& operator=(const CDialogOwner&) = delete;
    CTBWnd* Get() { return m_owner.m_hWnd ? &m_owner : nullptr; }

private:
    CTBWnd m_owner;
};

} // namespace

BOOL CTableMDIWnd::RunPrintCommand(UINT nId)
{
    // The preview's setup and print buttons open the same dialogs.
    InstallPrintDialogs();
    switch (nId) {
    case ID_TABLE_PRINT:
        OnPrint();
        return TRUE;
    case ID_TABLE_PRINT_PREVIEW:
        OnPrintPreview();
        return TRUE;
    case ID_TABLE_PAGE_SETUP:
        OnPageSetup();
        return TRUE;
    default:
        return FALSE;
    }
}

int CTableMDIWnd::ShowPrintDialog(CTablePrintSettings& settings)
{
    CDialogOwner owner(GetMDIFrame() ? GetMDIFrame()->m_hWnd : m_hWnd);
    CTBPrintDlg dlg(owner.Get(), m_pView);
    dlg.SetSettings(settings);
    const int nResult = dlg.DoModal();
    if (KeepsSettings(nResult))
        settings.CopyFrom(dlg.GetSettings());
    return nResult;
}

int CTableMDIWnd::ShowPageSetupDialog(CTablePrintSettings& settings)
{
    CDialogOwner owner(GetMDIFrame() ? GetMDIFrame()->m_hWnd : m_hWnd);
    CTBPageSetupDlg dlg(owner.Get(), m_pView);
    dlg.SetSettings(settings);
    dlg.SetSampleFont(m_grid.GetFont(), m_grid.GetBackgroundColor());
    const int nResult = dlg.DoModal();
    if (KeepsSettings(nResult))
        settings.CopyFrom(dlg.GetSettings());
    return nResult;
}

BOOL CTableMDIWnd::LoadPrintSettings(CTablePrintSettings& settings)
{
    SelectSection();
    settings.Load(GetSharedGlobals()->m_settings);
    if (!settings.HasPrinter()) {
        TellNoPrinter(m_hWnd);
        return FALSE;
    }
    return TRUE;
}

void CTableMDIWnd::OnPrint()
{
    CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
    CTablePrintSettings settings;
    if (!LoadPrintSettings(settings))
        return;
    int nResult = ShowPrintDialog(settings);
    if (KeepsSettings(nResult)) {
        SelectSection();
        settings.Save(settingsFile);
    }
    if (nResult == IDOK)
        PrintTable(settings);
    else if (nResult == PRINT_RESULT_PREVIEW)
        OnPrintPreview();
}

void CTableMDIWnd::PrintTable(const CTablePrintSettings& settings)
{
    CTable* pTable = m_pView ? m_pView->GetTable() : nullptr;
    CViewTable* pSnapshot = pTable ? pTable->CreateSnapshotView(SNAPSHOT_FLAGS) : nullptr;
    if (!pSnapshot)
        return;
    {
        CNorvTablePrint print(pSnapshot);
        print.GetSettings().CopyFrom(settings);
        print.GetProperties().CopyFrom(m_grid);
        CString strName;
        GetSharedGlobals()->GetProductName(strName);
        if (strName.IsEmpty())
            GetSharedGlobals()->LoadString(strName, IDS_PRODUCT_NAME);
        print.SetName(strName);
        print.LoadLogo(IDB_PRINT_LOGO);
        print.BuildHeaders(pSnapshot->GetTitle());
        RunTablePrint(print, this, nullptr);
    }
    delete pSnapshot;
}

void CTableMDIWnd::OnPrintPreview()
{
    CTablePrintSettings settings;
    if (!LoadPrintSettings(settings))
        return;
    SelectSection();
    CPreviewWnd* pPreview = new CPreviewWnd;
    CTBString strCaption = GetLanguage()->GetDictionary()->TranslateString(IDS_PREVIEW_CAPTION,
                                                                          GetLanguage()->GetDirection());
    CTBString strSection = GetSharedGlobals()->m_settings.GetSection();
    if (!pPreview->Create(&m_grid, strSection, strCaption, GetMDIFrame()))
        return;     // a frame that could not be made has deleted itself
}

void CTableMDIWnd::OnPageSetup()
{
    CSettingsFile& settingsFile = GetSharedGlobals()->m_settings;
    CTablePrintSettings settings;
    if (!LoadPrintSettings(settings))
        return;
    int nResult = ShowPageSetupDialog(settings);
    if (nResult == IDOK || nResult == PRINT_RESULT_PREVIEW) {
        SelectSection();
        settings.Save(settingsFile);
    }
    if (nResult == PRINT_RESULT_PREVIEW)
        OnPrintPreview();
}
