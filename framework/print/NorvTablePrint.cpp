// The framework's table print: standard headers, the progress dialog and the run.
#include "framework/print/NorvTablePrint.h"

#include <cstdio>
#include <ctime>

#include "framework/base/DateTime.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/Language.h"
#include "framework/table/ViewTable.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/MessageBox.h"

CNorvTablePrint::CNorvTablePrint(CViewTable* pView)
{
    SetView(pView);
}

CNorvTablePrint::~CNorvTablePrint()
{
    if (m_hLogo)
        DeleteObject(m_hLogo);
}

BOOL CNorvTablePrint::LoadLogo(UINT uBitmapId)
{
    if (m_hLogo)
        DeleteObject(m_hLogo);
    m_hLogo = GetSharedGlobals()->LoadBitmap(uBitmapId);
    return m_hLogo != nullptr;
}

void CNorvTablePrint::BuildHeaders(const char* pszTitle)
{
    LOGFONTA lf = {};
    lf.lfHeight = 10;                   // points; the element makes the height for the DC
    lf.lfWeight = FW_NORMAL;
    // The character set names the code page of the texts: Arabic ones while reading right to left.
    lf.lfCharSet = GetNorvGlobals().m_bRightToLeft ? ARABIC_CHARSET : DEFAULT_CHARSET;
    snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "Arial");
    const COLORREF crBlack = PALETTERGB(0, 0, 0);
    const COLORREF crWhite = PALETTERGB(255, 255, 255);

    CTablePrintHeaderList& header = GetPageHeader();
    CTablePrintHeader::AddLine(header, 1, crBlack, PRINT_ALIGN_FULL, 0);
    CTablePrintHeader::AddSeparator(header, 2, PRINT_ALIGN_FULL, crWhite, 0);
    if (m_hLogo)
        CTablePrintHeader::AddBitmap(header, m_hLogo, 200, 200, PRINT_ALIGN_LEFT, 0);
    CTablePrintHeader::AddText(header, m_strName, lf, PRINT_ALIGN_CENTER, crBlack, crWhite, 0);
    CTablePrintHeader::AddText(header, pszTitle ? pszTitle : "", lf, PRINT_ALIGN_CENTER, crBlack, crWhite, 0);

    time_t tNow = time(nullptr);
    struct tm local = {};
    localtime_r(&tNow, &local);
    const CNorvGlobals& globals = GetNorvGlobals();
    char szDate[21];
    char szTime[21];
    FormatDate(szDate, sizeof(szDate), globals.m_strDatePattern, local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    FormatTime(szTime, sizeof(szTime), globals.m_strTimePattern, local.tm_hour, local.tm_min, local.tm_sec);
    char szStamp[48];
    snprintf(szStamp, sizeof(szStamp), "%s %s", szDate, szTime);
    CTablePrintHeader::AddText(header, szStamp, lf, PRINT_ALIGN_RIGHT, crBlack, crWhite, 0);
    CTablePrintHeader::AddLine(header, 1, crBlack, PRINT_ALIGN_FULL, 0);
    CTablePrintHeader::AddSeparator(header, 5, PRINT_ALIGN_FULL, crWhite, 0);

    CTablePrintHeaderList& footer = GetPageFooter();
    CTablePrintHeader::AddSeparator(footer, 5, PRINT_ALIGN_FULL, crWhite, 0);
    CTBString strPageLine = GetLanguage()->GetDictionary()->TranslateString(IDS_PRINT_PAGELINE,
                                                                           GetLanguage()->GetDirection());
    CTablePrintHeader::AddText(footer, strPageLine, lf, PRINT_ALIGN_FULL, crBlack, crWhite, 0);
}

// ---- Progress ---------------------------------------------------------------------------------

CPrintProgress::CPrintProgress(CTablePrint* pPrint, CWnd* pParent, const char* pszCaption)
    : CDialog(IDD_PRINT_PROGRESS, pParent), m_strCaption(pszCaption)
{
    if (pPrint) {
        m_pPrint = pPrint;
        Create(IDD_PRINT_PROGRESS, pParent);
    }
}

BOOL CPrintProgress::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!m_strCaption.IsBlank()) {
        // A title bar of its own, the client area kept and the dialog moved up by the bar.
        RECT rcWindow;
        GetWindowRect(&rcWindow);
        RECT rcBefore;
        GetClientRect(&rcBefore);
        ModifyStyle(0, WS_CAPTION, SWP_FRAMECHANGED);
        RECT rcAfter;
        GetClientRect(&rcAfter);
        int nAdded = (rcBefore.bottom - rcBefore.top) - (rcAfter.bottom - rcAfter.top);
        SetWindowPos(nullptr, rcWindow.left, rcWindow.top - nAdded, rcWindow.right - rcWindow.left,
                     rcWindow.bottom - rcWindow.top + nAdded, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowText(m_strCaption);
    }
    SendDlgItemMessage(IDC_PRINT_PROGRESS, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    if (m_pPrint)
        m_pPrint->SetProgressSink(this);
    ShowWindow(SW_SHOW);
    UpdateWindow();
    return TRUE;
}

BOOL CPrintProgress::SetProgress(int nPercent)
{
    SendDlgItemMessage(IDC_PRINT_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(nPercent), 0);
    if (nPercent >= 100)
        DestroyWindow();
    return TRUE;
}

void CPrintProgress::PostNcDestroy()
{
    if (m_pPrint && m_pPrint->GetProgressSink() == this)
        m_pPrint->SetProgressSink(nullptr);
    delete this;
}

int RunTablePrint(CTablePrint& print, CWnd* pParent, const char* pszCaption)
{
    CPrintProgress* pProgress = new CPrintProgress(&print, pParent, pszCaption);
    if (!pProgress->GetSafeHwnd())
        delete pProgress;           // no window: nothing will delete it
    int nResult = print.Print();
    // A run that ended short of 100 % leaves its dialog open: close it here. The sink is null
    // once the dialog has gone, so nothing touches a dialog that deleted itself.
    if (CPrintProgress* pOpen = dynamic_cast<CPrintProgress*>(print.GetProgressSink()))
        pOpen->DestroyWindow();
    print.SetProgressSink(nullptr);
    if (nResult == 0) {
        CTBString strText = GetLanguage()->GetDictionary()->TranslateString(IDS_PRINT_FAILED,
                                                                           GetLanguage()->GetDirection());
        MessageBoxA(pParent ? pParent->GetSafeHwnd() : nullptr, strText, nullptr, MB_OK | MB_ICONHAND);
    }
    return nResult;
}
