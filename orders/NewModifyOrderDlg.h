#pragma once
// The combined modify form (7311): one open order of either family, loaded from its row of the
// US (51110) or KSE (51128) order-status table, changed or cancelled through the modify road
// (ModifyOrderForm.h). The loaded order decides the layout: -1 a US order, else the KSE market
// type (1, 3 or 4) with its own read-only fields. A load reads the whole row before it shows
// anything: a load that fails shows no order (number 0, fields empty, Modify and Cancel order
// disabled), so no request ever joins one order's number with another's fields. Good-till dates
// run from tomorrow to ninety days on, weekends included.
#include "app/FormFactory.h"
#include "framework/window/EnhancedEdit.h"
#include "orders/ModifyOrderForm.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDD_FORM_MODIFY_ORDER   7311
#define IDC_MODIFY_LOGIN        5849
#define IDC_MODIFY_USER_NAME    5851
#define IDC_MODIFY_ACCOUNT      6771
#define IDC_MODIFY_SYMBOL       5832
#define IDC_MODIFY_MARKET       6773
#define IDC_MODIFY_SECURITY     6790
#define IDC_MODIFY_CURRENCY     6789
#define IDC_MODIFY_SIDE         6759
#define IDC_MODIFY_TYPE         6760
#define IDC_MODIFY_DURATION     6761
#define IDC_MODIFY_QUANTITY     5833
#define IDC_MODIFY_FILLED       6792
#define IDC_MODIFY_OPEN         6793
#define IDC_MODIFY_LIMIT        5838
#define IDC_MODIFY_STOP         5836
#define IDC_MODIFY_DAYS         5844
#define IDC_MODIFY_GOOD_TILL    5845
#define IDC_MODIFY_SIDE_OPTION  6873
#define IDC_MODIFY_MARKET_TYPE  6887
#define IDC_MODIFY_FILL_RULE    6896
#define IDC_MODIFY_TENOR        6898
#define IDC_MODIFY_CONTRACT     6890
#define IDC_MODIFY_SERIES       6892
#define IDC_MODIFY_CONTRACT_DATE 6894
#define IDC_MODIFY_RIGHT        6776
#define IDC_MODIFY_OPTION_A     6777
#define IDC_MODIFY_OPTION_B     6779
#define IDC_MODIFY_MODIFY       6783
#define IDC_MODIFY_CANCEL       6784
#define IDC_MODIFY_CLEAR        5855
#define IDC_MODIFY_CLOSE        5848

class CNewModifyOrderDlg : public CModifyOrderForm, public IModifyOrderForm
{
public:
    CNewModifyOrderDlg();
    static CWnd* Make(UINT nFormId);

    // IModifyOrderForm.
    void LoadUSOrder(long nOrder) override;
    void LoadKSEOrder(long nOrder) override;
    void ShowSidePanel(BOOL bShow) override;
    void ShowAdvanced(BOOL bShow) override;

    // -1 (US), or the KSE market type 1, 3 or 4; any other value is -1.
    void SetLayoutMode(int nMode);
    int GetLayoutMode() const { return m_nLayout; }
    const COleDateTime& GetGoodTill() const { return m_goodTill; }

    // The security name of the form's own "RN", for its symbol exactly.
    void OnRN(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnGoodTillChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    const MODIFY_ROAD& GetRoads() const override;
    CString GetSecurityName() const override { return m_strSecurity; }

private:
    // Shows the order, or no order for an empty one.
    void Show(const OPEN_ORDER& order);
    void ApplyValidity(BOOL bChangeable);
    void UpdateDaysFromDate();
    void OnDaysLeft();
    void OnNumberLeft(int nId);
    void SetReadOnly(int nId, BOOL bReadOnly);

    CEnhancedEdit m_editQuantity;
    CEnhancedEdit m_editLimit;
    CEnhancedEdit m_editStop;
    CEnhancedEdit m_editDays;
    CDateTimeCtrl m_pickGoodTill;
    CDateTimeCtrl m_pickContract;

    int m_nLayout = -1;
    BOOL m_bKse = FALSE;                // the order came from the KSE table, whatever its type
    int m_nOrderType = -1;              // of the loaded order: the type box returns to it
    CString m_strDuration;              // the duration box's text last acted on
    CString m_strSymbol;
    CString m_strSecurity;
    COleDateTime m_goodTill;
    COleDateTime m_loadedGoodTill;      // the order's date as loaded, invalid when it had none
    CString m_strLimitLoaded, m_strStopLoaded;  // the prices as loaded
    BOOL m_bSidePanelShown = TRUE;      // as the template is made
    BOOL m_bAdvancedShown = TRUE;
};
