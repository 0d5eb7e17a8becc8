#pragma once
// Option exercise (form 7304): the contracts of an option position to exercise. Exercise asks
// for the terms ("XO" mode 0); the answer to that request opens the confirmation, whose OK sends
// "XO" mode 1 with the same values; the answer to that one is reported in the information
// window. Other "XO" replies are someone else's.
#include "app/FormFactory.h"
#include "orders/ActionForm.h"

#define IDD_FORM_MANUAL_EXERCISE 7304
#define IDC_EXERCISE_CLOSE      6681
#define IDC_EXERCISE_SEND       6682
#define IDC_EXERCISE_SYMBOL     6688
#define IDC_EXERCISE_CONTRACTS  6689
#define IDC_EXERCISE_SHARES     6690
#define IDC_EXERCISE_MARKET     6724
#define IDS_EXERCISE_DONE       40362

class CManualExerciseDlg : public CActionForm, public IManualExerciseForm
{
public:
    CManualExerciseDlg();
    static CWnd* Make(UINT nFormId);

    // IManualExerciseForm: the option and market of the US holdings row of the two keys.
    void LoadPosition(LPCSTR pszSymbolKey, LPCSTR pszSecondKey) override;
    void OnXO(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void OnExercise();
    void UpdateExerciseButton();
    void OnTermsReply(const CServerMessage& reply);

    CEnhancedEdit m_edits[4];
};
