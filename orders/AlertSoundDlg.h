#pragma once
// How the terminal plays its alert sound: not at all, with the beep, or with a sound file the
// user browses to. OK stores the choice in the reference data (a file only when one is named:
// the sound file with an empty field keeps the previous path); Cancel changes nothing.
#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/Dialog.h"
#include "platform/mfc/String.h"

#define IDD_ALERT_SOUND         7301
#define IDC_ALERT_SOUND_NONE    6630        // the first of the three radio buttons
#define IDC_ALERT_SOUND_BEEP    6631
#define IDC_ALERT_SOUND_FILE    6632
#define IDC_ALERT_SOUND_PATH    6633
#define IDC_ALERT_SOUND_BROWSE  6634
#define ALERT_SOUND_PATH_MAX    260

class CAlertSoundDlg : public CDialog
{
public:
    explicit CAlertSoundDlg(CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OnBrowse();

    CEnhancedEdit m_editPath;
    CString m_strPath;
    int m_nChoice = 0;                  // 0 none, 1 beep, 2 the file
};
