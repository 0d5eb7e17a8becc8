#pragma once
// The option chain form: the user types a US underlying, asks for its chain (one "GO" per option
// right into the option chain table, emptied first), narrows the embedded grid by strike range,
// expiry range and right, and subscribes the quotes of the marked series. The table outlives the
// form; the form is the grid's and the view's event sink while it lives.
#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "framework/table/TableEvents.h"
#include "framework/window/EnhancedComboBox.h"
#include "framework/window/EnhancedEdit.h"
#include "framework/window/TableWindowEvents.h"
#include "market/dialogs/FormDialog.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"

#define IDC_OPTION_TICKER       6707
#define IDC_OPTION_STRIKE_FROM  6708
#define IDC_OPTION_STRIKE_TO    6709
#define IDC_OPTION_EXPIRY_FROM  6710
#define IDC_OPTION_EXPIRY_TO    6711
#define IDC_OPTION_GRID         6712
#define IDC_OPTION_REQUEST      6713
#define IDC_OPTION_SUBSCRIBE    6714
#define IDC_OPTION_RIGHT        6715

class COptionChainTable;
class CTableWindow;
class CViewTable;

class COptionChainDlg : public CFormDialog, public ITickerForm, public CTableWindowEventSink, public CTableEventSink
{
public:
    // The table is not owned; its first view is the grid's.
    explicit COptionChainDlg(COptionChainTable* pTable);
    // The form on the option chain table, made when it is missing; null without the table.
    static CWnd* Make(UINT nFormId);

    // Resets the form and puts the ticker in; the request then waits for the user.
    void SetTicker(LPCSTR pszTicker) override;

protected:
    BOOL OnInitDialog() override;

    afx_msg void OnTickerChanged();
    afx_msg void OnRequest();
    afx_msg void OnSubscribe();
    afx_msg void OnExpiryChanged(NMHDR* pHeader, LRESULT* pResult);
    afx_msg void OnStrikeLeft();
    afx_msg void OnRightChosen();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    // The grid's marks decide the subscribe button.
    void OnRowMarked(CViewRow* pRow, BOOL bMark) override;
    void OnRowsSelected(int nFirst, int nLast, BOOL bMark) override;
    void OnWindowDestroyed(CTableWindow* pWindow) override;
    // The table went first (the application's end): nothing of it is touched again.
    void OnViewDestroyed() override;

private:
    // Empty table, both rights, empty fields, no dates, subscribe off, the ticker focused.
    void Reset();
    // The filter applied when a value differs from the last applied one, or always when forced.
    void ApplyFilter(BOOL bForce);
    // A strike field's number; a text that is not one is cleared and reads 0.
    double ReadStrike(int nId);
    void SendChainRequest(LPCSTR pszTicker, LPCSTR pszRight, long* pnRequestId);
    void EnableRequest();
    void EnableSubscribe();
    CString GetRightText() const;

    COptionChainTable* m_pTable;        // not owned: it outlives the form
    CViewTable* m_pView = nullptr;      // the table's first view, shown by the grid
    CTableWindow* m_pGrid = nullptr;    // the template's grid control; it deletes itself
    CEnhancedEdit m_editTicker;
    CEnhancedEdit m_editStrikeFrom;
    CEnhancedEdit m_editStrikeTo;
    CEnhancedComboBox m_comboRight;
    CDateTimeCtrl m_pickExpiryFrom;
    CDateTimeCtrl m_pickExpiryTo;
    double m_dAppliedStrikeFrom = 0.0;
    double m_dAppliedStrikeTo = 0.0;
    COleDateTime m_appliedExpiryFrom;
    COleDateTime m_appliedExpiryTo;
    long m_nRequestIds[2] = {};         // one request-id slot per right
};
