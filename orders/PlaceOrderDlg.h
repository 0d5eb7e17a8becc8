#pragma once
// The US order ticket (form 7130): a market of the market list but the KSE odd-lot board, a
// ticker, a side, a quantity, an order type with its prices, a validity and, optionally, an
// option series from the chain form's "GO" replies. It sends "OV", then "OR" after the review,
// through the order road (OrderRoadForm.h); "RN" asks for what the ticker box cannot tell.
// No command opens it: the form factory makes it for its id.
#include "framework/window/EnhancedEdit.h"
#include "orders/OptionChain.h"
#include "orders/OrderRoadForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDD_FORM_US_ORDER       7130

class CPlaceOrderDlg : public COrderRoadForm
{
public:
    CPlaceOrderDlg();
    static CWnd* Make(UINT nFormId);

    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    void UpdateSubmitButton() override;
    void ResetForm();
    const COptionChain& GetOptionStore() const { return m_options; }

    void OnOV(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnOR(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    // "RN": the answer to this form's own request; its field 3 is a market code.
    void OnRN(CServerMessage* pMsg) override;
    // "GO": every open form takes the chain's series.
    void OnGO(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // No market chosen, no order: "OV" would name none.
    const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const override;
    void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT&, BOOL) override {}
    int ClearAfterAcknowledgement(int nOrderType) override;
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnGoodTillDateChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void OnTickerChanged();
    void OnMarketChanged();
    void OnSideClicked();
    void OnOrderTypeClicked(int nId);
    void OnValidityClicked(int nId);
    void OnDaysLeft();
    void ApplyPriceFields();
    void ApplyValidityFields();
    void ShowGoodTill(const COleDateTime& date);
    void FillMarketSymbols();
    void FillStrikeList();
    void ShowOptionFields(BOOL bShow);
    void RequestTickerInfo(LPCSTR pszSymbol);
    void LoadRecentTickers();
    void SaveRecentTickers();
    int GetOrderTypeIndex() const;
    int GetValidityIndex() const;
    CString GetSymbol() const;

    CEnhancedEdit m_editQuantity, m_editLimit, m_editStop, m_editStopOfStopLimit, m_editLimitOfStopLimit, m_editDays,
        m_editInfo, m_editDescription, m_editUnderlying, m_editSeries;
    CDateTimeCtrl m_pickGoodTill;
    CString m_strTicker;                // the ticker last acted on
    CString m_strMarket;                // the market last chosen
    CString m_strDescription;           // handed to the review
    COleDateTime m_goodTill;
    COptionChain m_options;
    BOOL m_bReceivingOptions = FALSE;   // between a "GO" head and its end
    int m_nOptionRows = 0;
    long m_nOptionRequest = 0;          // the ticket's own "GO", 0 when answered
    CString m_strOptionsAsked;          // the underlying it asked for last
    long m_nTickerInfoRequest = 0;      // the last "RN" sent, 0 when answered
    CString m_strTickerInfoSymbol;      // the symbol it asked for
};
