#pragma once
// The KSE regular board's order ticket (form 7139): a stock of the KSE stock list, the side, order
// type and validity as radio groups, quantity and prices typed; Submit checks "KV", the review
// confirms it with the trading password and "KR" is the order. The form is coloured by its side;
// purchases carry the ticket flag. The odd-lot ticket is this form on its own description.
#include "framework/window/EnhancedEdit.h"
#include "orders/OrderRoadForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDD_FORM_KSE_TICKET     7139
#define IDC_KSE_DAYS            5718
#define IDC_KSE_GOOD_TILL       5719
#define IDC_KSE_STOCK           5722
#define IDC_KSE_QUANTITY        5723
#define IDC_KSE_FLAG            6872
#define IDC_KSE_CLOSE           5738
#define IDC_KSE_RESET           5742
// The radio groups: side (codes 1, 2, 27, 28), order type, validity; and the prices. The limit
// price of a limit order is 5728, the stop price of a stop order 5726, a stop-limit order's are
// 5731 and 5730.
#define IDC_KSE_SIDE_BUY        5720
#define IDC_KSE_SIDE_SELL       5721
#define IDC_KSE_SIDE_27         5770
#define IDC_KSE_SIDE_28         5771
#define IDC_KSE_TYPE_MARKET     5724
#define IDC_KSE_TYPE_LIMIT      5725
#define IDC_KSE_TYPE_STOP       5727
#define IDC_KSE_TYPE_STOP_LIMIT 5729
#define IDC_KSE_LIMIT           5728
#define IDC_KSE_STOP            5726
#define IDC_KSE_STOP_2          5730
#define IDC_KSE_LIMIT_2         5731
#define IDC_KSE_VALIDITY_FIRST  5732        // 5732 to 5735

// A radio and the code it chooses.
struct KSE_CHOICE
{
    int nControl;
    int nCode;
};

// What makes one KSE ticket: its template, its order-type radios, its road and how its stock box
// takes typing.
struct KSE_TICKET_KIND
{
    UINT nTemplate;
    const KSE_CHOICE* pTypes;
    int nTypes;
    const ORDER_ROAD* pRoad;
    BOOL bFilterAsTyped;        // else the item typed exactly is chosen when the box is left
    BOOL bClearPricesOnType;    // a new order type empties the prices
};

class CPlaceOrderKSEDlg : public COrderRoadForm
{
public:
    CPlaceOrderKSEDlg();
    static CWnd* Make(UINT nFormId);

    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    void ResetForm();
    void UpdateSubmitButton() override;

    void OnKV(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnKR(CServerMessage* pMsg) override { OnOrderReply(pMsg); }

protected:
    explicit CPlaceOrderKSEDlg(const KSE_TICKET_KIND& kind);

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT&) const override { return m_kind.pRoad; }
    void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL bSent) override;
    int ClearAfterAcknowledgement(int nOrderType) override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnGoodTillDateChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    void FillStockList(LPCSTR pszFilter);
    void OnStockLeft();
    void OnSideChosen();
    void OnOrderTypeChosen();
    void OnValidityChosen();
    void OnDaysLeft();
    void ApplyGoodTillDate();
    int GetOrderType() const;
    int GetValidity() const;
    // The stock chosen: the selected item's id while the box shows that item, else "".
    CString GetStockNumber() const;
    // The chosen item's text, "" when none is chosen.
    CEnhancedEdit* FindEdit(int nId);
    BOOL HoldsValue(int nId);

    const KSE_TICKET_KIND& m_kind;
    CEnhancedEdit m_editQuantity;
    CEnhancedEdit m_editPrices[4];          // 5728, 5726, 5730, 5731
    CEnhancedEdit m_editDays;
    CDateTimeCtrl m_pickGoodTill;
    COleDateTime m_goodTill;
};
