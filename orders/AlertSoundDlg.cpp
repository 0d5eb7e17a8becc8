// The alert sound's choice and its file chooser.
#include "orders/AlertSoundDlg.h"

#include "framework/base/ColumnDataType.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/mfc/DataExchange.h"
#include "refdata/ZorvatGlobals.h"

CAlertSoundDlg::CAlertSoundDlg(CWnd* pParent) : CDialog(IDD_ALERT_SOUND, pParent)
{
}

void CAlertSoundDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_EnhancedEdit(pDX, IDC_ALERT_SOUND_PATH, m_editPath, COLTYPE_STRING, 0, ALERT_SOUND_PATH_MAX, 0, EE_KEEP_COLOR,
                     EE_KEEP_COLOR, m_strPath);
    DDX_Radio(pDX, IDC_ALERT_SOUND_NONE, m_nChoice);
}

BOOL CAlertSoundDlg::OnInitDialog()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    m_strPath = pGlobals->m_strAlertSoundFile;
    m_nChoice = pGlobals->m_nAlertSoundMode >= 0 && pGlobals->m_nAlertSoundMode <= 2 ? pGlobals->m_nAlertSoundMode : 0;
    CDialog::OnInitDialog();
    // The field's exchange only reads: the stored path is put in here.
    m_editPath.SetText(m_strPath);
    return TRUE;
}

BOOL CAlertSoundDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_ALERT_SOUND_BROWSE && HIWORD(wParam) == BN_CLICKED) {
        OnBrowse();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CAlertSoundDlg::OnBrowse()
{
    CFileDialog dlg(/*bOpenFileDialog=*/TRUE, nullptr, nullptr, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST,
                    "All (*.*)|*.*|Wave (*.WAV)|*.WAV||", this);
    if (dlg.DoModal() != IDOK)
        return;
    m_strPath = dlg.GetPathName();
    m_nChoice = 2;
    UpdateData(FALSE);
    m_editPath.SetText(m_strPath);
}

void CAlertSoundDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CZorvatGlobals* pGlobals = GetGlobals();
    if (m_nChoice == 2 && !m_strPath.IsEmpty())
        pGlobals->m_strAlertSoundFile = m_strPath;
    pGlobals->m_nAlertSoundMode = m_nChoice;
    EndDialog(IDOK);
}
