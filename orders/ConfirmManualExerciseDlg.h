#pragma once
// The terms of an option exercise as the server gave them ("XO" mode 0), shown read-only for
// the user's OK; a warning in red when the money left after it would be below zero.
#include "framework/window/EnhancedEdit.h"
#include "link/ServerMessage.h"
#include "platform/mfc/Dialog.h"

#define IDD_CONFIRM_EXERCISE    7305
#define IDC_CONFIRM_WARNING     6735
#define IDS_CONFIRM_SHORT_CASH  57199

class CConfirmManualExerciseDlg : public CDialog
{
public:
    static constexpr int FIELDS = 10;
    CConfirmManualExerciseDlg(const CServerMessage& reply, CWnd* pParent);

protected:
    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    CServerMessage m_reply;
    CEnhancedEdit m_edits[FIELDS];
};
