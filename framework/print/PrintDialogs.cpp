#include "framework/print/PrintDialogs.h"

#include "framework/print/PreviewWnd.h"
#include "framework/print/TBPageSetupDlg.h"
#include "framework/print/TBPrintDlg.h"
#include "framework/print/TablePrint.h"

namespace {
BOOL KeepsSettings(int nResult)
{
    return nResult == IDOK || nResult == PRINT_RESULT_PREVIEW || nResult == PRINT_RESULT_CHANGED;
}
}  // namespace

int RunPrintDialog(CTablePrint* pPrint, HWND hOwner, void* pContext)
{
    if (!pPrint)
        return IDCANCEL;
    CTBPrintDlg dlg(CTBWnd::FromHandle(hOwner), pPrint->GetView(), pContext);
    dlg.SetSettings(pPrint->GetSettings());
    const int nResult = dlg.DoModal();
    if (KeepsSettings(nResult))
        pPrint->GetSettings().CopyFrom(dlg.GetSettings());
    return nResult;
}

int RunPageSetupDialog(CTablePrint* pPrint, HWND hOwner, void*)
{
    if (!pPrint)
        return IDCANCEL;
    CTBPageSetupDlg dlg(CTBWnd::FromHandle(hOwner), pPrint->GetView());
    dlg.SetSettings(pPrint->GetSettings());
    const CTableWindowProperties& properties = pPrint->GetProperties();
    dlg.SetSampleFont(properties.GetFont(), properties.GetBackgroundColor());
    const int nResult = dlg.DoModal();
    if (KeepsSettings(nResult))
        pPrint->GetSettings().CopyFrom(dlg.GetSettings());
    return nResult;
}

void InstallPrintDialogs()
{
    CTablePrintWindow::s_pfnPrintDialog = RunPrintDialog;
    CTablePrintWindow::s_pfnPageSetup = RunPageSetupDialog;
}
