#pragma once
// The KSE forward order ticket (form 7287): a KSE stock, a side, a tenor and a market maker
// chosen from the live forward quotes of that stock, side and tenor, best price first; the
// maker's quote fills the quantity and the price. It sends "KU", then "KA" after the review,
// through the order road (OrderRoadForm.h). Without the forward quotation table it makes
// the table, asks for it and stays disabled until its own "FQ" reply has ended.
#include "framework/window/EnhancedEdit.h"
#include "orders/OrderRoadForm.h"

#define IDD_FORM_FORWARD_ORDER  7287

class CPlaceOrderForwardDlg : public COrderRoadForm
{
public:
    CPlaceOrderForwardDlg();
    static CWnd* Make(UINT nFormId);

    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    void UpdateSubmitButton() override;
    void ResetForm();
    int GetInitCount() const { return m_nInits; }
    BOOL IsReceivingQuotes() const { return m_bReceivingQuotes; }

    void OnKU(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnKA(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    // "FQ": the form receives only its own reply, and initialises at that reply's end.
    void OnFQ(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    // Once a second: quotations the link could not ask for are asked again.
    void OnTick() override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT&) const override { return &FORWARD_TICKET_ROAD; }
    void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL) override { SetKeptTicketFlag(shot.bTicketFlag); }
    int ClearAfterAcknowledgement(int nOrderType) override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    void InitForm();
    void FillTickers();
    void FillMarketMakers();
    void OnMarketMakerChanged();
    void OnTickerChosen();
    void OnSideClicked();
    int GetSideIndex() const;
    int GetTenorIndex() const;
    long GetChosenCode() const;     // -1 when no ticker item is chosen
    void AskQuotes();               // "FQ", while the link is up
    long GetQuoteSide() const;

    CEnhancedEdit m_editQuantity, m_editPrice;
    CString m_strTyped;             // the ticker text typed last
    CString m_strDescription;       // handed to the review
    long m_nQuotesRequest = 0;      // the "FQ" this form sent, 0 when none is awaited
    BOOL m_bReceivingQuotes = FALSE;
    BOOL m_bAwaitingQuotes = FALSE;     // disabled until the quotations came
    int m_nInits = 0;
};
