#pragma once
// The separate modify forms (7124 for a US order, 7264 for the KSE regular board, 7266 for the
// KSE odd-lot board): the order shown in radio groups with read-only prices. The quantity
// changes; the validity only while the order may be changed. A click on another side or type
// is undone, except on the first type (a market order), which is taken. Good-till dates keep
// off weekends. A form loads its order from the order-status row (US 51110, KSE 51128) as the
// combined form does; a load that fails shows no order, so nothing can be sent for it.
#include "framework/window/EnhancedEdit.h"
#include "orders/ModifyOrderForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDC_SEPARATE_SIDE_BUY       5830
#define IDC_SEPARATE_SIDE_SELL      5831
#define IDC_SEPARATE_SIDE_COVER     5832
#define IDC_SEPARATE_SIDE_SHORT     5850
#define IDC_SEPARATE_TYPE_MARKET    5834
#define IDC_SEPARATE_TYPE_LIMIT     5835
#define IDC_SEPARATE_TYPE_STOP      5837
#define IDC_SEPARATE_TYPE_STOP_LIMIT 5839
#define IDC_SEPARATE_VALIDITY_1     5842
#define IDC_SEPARATE_VALIDITY_2     5843
#define IDC_SEPARATE_VALIDITY_3     5846
#define IDC_SEPARATE_VALIDITY_4     5856
#define IDC_SEPARATE_QUANTITY       5833
#define IDC_SEPARATE_FILLED         5852
#define IDC_SEPARATE_OPEN           5853
#define IDC_SEPARATE_STOP           5836
#define IDC_SEPARATE_LIMIT          5838
#define IDC_SEPARATE_SL_STOP        5840
#define IDC_SEPARATE_SL_LIMIT       5841
#define IDC_SEPARATE_DAYS           5844
#define IDC_SEPARATE_GOOD_TILL      5845
#define IDC_SEPARATE_SYMBOL         1701
#define IDC_SEPARATE_CURRENCY       1699
#define IDC_SEPARATE_ORDER          1697
#define IDC_SEPARATE_SIDE_OPTION    6873
#define IDC_SEPARATE_CANCEL         5847
#define IDC_SEPARATE_CLOSE          5848
#define IDC_SEPARATE_MODIFY         5854
#define IDC_SEPARATE_CLEAR          5855

// What sets one separate form apart.
struct SEPARATE_MODIFY_FORM
{
    UINT nTemplate;
    BOOL bKse;                  // its orders come from the KSE order-status table
    const int* pValidities;     // the validity radios' codes, in order; none on the odd-lot board
    int nValidities;
    int nDecimals;              // of its prices
    const MODIFY_ROAD* pRoads;
    int nMoreType;              // a further message its sink takes, 0 for none
};

class CSeparateModifyForm : public CModifyOrderForm
{
public:
    // Shows the order of that number from its order-status row; no order when the row is
    // missing, its table closed or (KSE) its state refused.
    virtual void LoadOrder(long nOrder);
    const COleDateTime& GetGoodTill() const { return m_goodTill; }

protected:
    explicit CSeparateModifyForm(const SEPARATE_MODIFY_FORM& form);

    const CString& GetSymbol() const { return m_strSymbol; }
    long GetMarketCode() const { return m_nMarketCode; }
    void SetSecurityName(const CString& strName) { m_strSecurity = strName; }

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnGoodTillChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    const MODIFY_ROAD& GetRoads() const override { return *m_form.pRoads; }
    CString GetSecurityName() const override { return m_strSecurity; }

private:
    void Show(const OPEN_ORDER& order);
    // The radios as the order stands: a click elsewhere is undone.
    void ShowRadios();
    void ApplyValidity();
    void ShowGoodTill(const COleDateTime& date);
    void OnDaysLeft();
    BOOL HasValidity() const { return m_form.nValidities > 0; }

    const SEPARATE_MODIFY_FORM& m_form;
    CEnhancedEdit m_editQuantity;
    CEnhancedEdit m_editDays;
    CDateTimeCtrl m_pickGoodTill;
    int m_nSide = -1;               // codes of the order shown
    int m_nOrderType = -1;
    int m_nValidity = -1;
    BOOL m_bEditAllowed = FALSE;    // the validity may change
    CString m_strSymbol;
    CString m_strSecurity;
    long m_nMarketCode = 0;
    COleDateTime m_goodTill;
    COleDateTime m_loadedGoodTill;      // the order's date as loaded, invalid when it had none
};
