#pragma once
// Expiration instruction (form 7309): the instruction that stands for an option position, asked
// with "XI" mode 0 for a symbol and market (again only when either changes) and submitted with
// mode 1 after the user changed its three values. Only the answers to the form's own requests
// count, each one: a refusal is told, naming the symbol; the last answer fills the form.
#include "app/FormFactory.h"
#include "orders/ActionForm.h"

#define IDD_FORM_EXPIRATION_INSTRUCTION 7309
#define IDC_EXPIRY_SYMBOL       6714
#define IDC_EXPIRY_MARKET       6716
#define IDC_EXPIRY_LIMIT        6722
#define IDC_EXPIRY_CONTRACTS    6723
#define IDC_EXPIRY_MIN_IN_MONEY 6724
#define IDC_EXPIRY_SUBMIT       6725
#define IDC_EXPIRY_CLOSE        6726
// Of our own: an instruction the server took (its letters and the contracts to exercise).
#define IDS_EXPIRY_RECORDED     40430

class CExpirationInstructionDlg : public CActionForm, public IExpirationInstructionForm
{
public:
    static constexpr int EDITS = 11;
    CExpirationInstructionDlg();
    static CWnd* Make(UINT nFormId);

    // IExpirationInstructionForm: the form emptied, the texts put in and the instruction asked.
    void Preset(LPCSTR pszSymbol, LPCSTR pszMarket) override;
    void OnXI(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // "XI" with the mode from the form's values now; nothing while no symbol is remembered.
    void SendInstruction(int nMode);
    void OnKeyLeft(int nId);

    CEnhancedEdit m_edits[EDITS];
    CString m_strSymbol;                // the texts last asked for
    CString m_strMarket;
};
