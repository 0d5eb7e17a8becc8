#pragma once
// Forward contract details (form 7289): one contract of the KSE forward market as "KD" gives it,
// and the actions the server allows on it (a mask: 1 a new order on the contract, 2, 4, 8 and
// 16 its actions). An action is previewed with "KL", confirmed in the contract review with the
// trading password and taken with "KI" built from the preview's values. Replies count only when
// they answer the form's own request; a "CU" line for the shown contract shows it again with the
// line's mask.
#include "app/FormFactory.h"
#include "orders/ActionForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDD_FORM_FORWARD_CONTRACT 7289
#define IDC_CONTRACT_SYMBOL     6429
#define IDC_CONTRACT_MAKER      6425
#define IDC_CONTRACT_ID         6424
#define IDC_CONTRACT_DATE       6423
#define IDC_CONTRACT_MATURITY   6431
#define IDC_CONTRACT_PRICE      6454
#define IDC_CONTRACT_QUANTITY   6436
#define IDC_CONTRACT_HELD       6441
#define IDC_CONTRACT_TEXT_26    6451
#define IDC_CONTRACT_NEW_ORDER  6455
#define IDC_CONTRACT_ACTION_2   6456
#define IDC_CONTRACT_ACTION_4   6457
#define IDC_CONTRACT_ACTION_8   6458
#define IDC_CONTRACT_CLOSE      6459
#define IDC_CONTRACT_ACTION_16  6460
#define IDS_CONTRACT_DONE       56961
#define IDS_CONTRACT_DONE_EXTRA 56966

class CForwardContractDetailDlg : public CActionForm, public IForwardContractForm
{
public:
    static constexpr int EDITS = 25;

    CForwardContractDetailDlg();
    static CWnd* Make(UINT nFormId);

    // IForwardContractForm: asks for the contract's details and sets the buttons by the mask.
    void ShowContract(long nUser, long nAccount, const COleDateTime& date, LPCSTR pszContractId, long nMask) override;

    void OnKD(CServerMessage* pMsg) override;
    void OnKL(CServerMessage* pMsg) override;
    void OnKI(CServerMessage* pMsg) override;
    void OnCU(CServerMessage* pMsg) override;

    const CString& GetContractId() const { return m_strContractId; }
    long GetMask() const { return m_nMask; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    // "KL" for the action, from the form's values now.
    void SendActionPreview(int nAction);
    void SendAction(const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword);
    void OnNewOrder();
    // The review's line of the action.
    CString ReviewText(const ORDER_TICKET_SNAPSHOT& shot, const CServerMessage& reply) const;
    void SetCaptions(const CServerMessage& reply);

    CEnhancedEdit m_edits[EDITS];
    CDateTimeCtrl m_pickDate;
    CDateTimeCtrl m_pickMaturity;
    COleDateTime m_contractDate;
    COleDateTime m_maturity;
    CString m_strContractId;            // the shown contract's, matched by "CU"
    long m_nMask = 0;
    long m_nStock = 0;                  // "KD" fields 8, 7 and 9, sent back with an action
    int m_nSide = 0;
    long m_nSeries = 0;
    long m_nDetailsRequest = 0;         // the "KD" in flight, 0 when answered
};
