// The replay dialog: the period on a slider with its value beside it, replay on and repeat.
#include <cstdio>
#include "link/CommDialogs.h"
#include "platform/win/user/Controls.h"

BEGIN_MESSAGE_MAP(CNorvFeedSettings, CDialog)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

CNorvFeedSettings::CNorvFeedSettings(const FEED_REPLAY_VALUES& values, CWnd* pParent)
    : CDialog(IDD_FEED_SETTINGS, pParent), m_values(values)
{
}

BOOL CNorvFeedSettings::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND hSlider = ::GetDlgItem(m_hWnd, IDC_FEED_PERIOD);
    SendMessageA(hSlider, TBM_SETRANGE, FALSE, MAKELPARAM(FEED_PERIOD_MIN, FEED_PERIOD_MAX));
    SendMessageA(hSlider, TBM_SETPAGESIZE, 0, FEED_PERIOD_PAGE);
    SendMessageA(hSlider, TBM_SETPOS, TRUE, m_values.nPeriod);
    ::CheckDlgButton(m_hWnd, IDC_FEED_REPLAY, m_values.bReplay ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_FEED_REPEAT, m_values.bRepeat ? BST_CHECKED : BST_UNCHECKED);
    ShowPeriod();
    return TRUE;
}

void CNorvFeedSettings::ShowPeriod()
{
    const int nPeriod = static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_FEED_PERIOD, TBM_GETPOS, 0, 0));
    CString strFormat;
    if (!strFormat.LoadString(IDS_FEED_PERIOD))
        strFormat = "%d";
    char szText[64];
    snprintf(szText, sizeof szText, strFormat, nPeriod);
    ::SetDlgItemTextA(m_hWnd, IDC_FEED_PERIOD_TEXT, szText);
}

void CNorvFeedSettings::OnHScroll(UINT, UINT, CScrollBar*)
{
    ShowPeriod();
}

void CNorvFeedSettings::OnOK()
{
    m_values.nPeriod = static_cast<int>(SendDlgItemMessageA(m_hWnd, IDC_FEED_PERIOD, TBM_GETPOS, 0, 0));
    m_values.bReplay = ::IsDlgButtonChecked(m_hWnd, IDC_FEED_REPLAY) == BST_CHECKED;
    m_values.bRepeat = ::IsDlgButtonChecked(m_hWnd, IDC_FEED_REPEAT) == BST_CHECKED;
    EndDialog(IDOK);
}
