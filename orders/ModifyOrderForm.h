#pragma once
// The body of the forms that change or cancel an open order: Modify reads the form once, sends
// the family's preview and, on the form's own preview reply, reviews it; Cancel reviews a
// preview built here and sent nowhere; OK sends the change or the cancel built from the values
// read at Submit plus the password; the form's own acknowledgement closes it, as does an "NC"
// for its order, or a line or an order-status reply whose row shows the order ended. A form
// class adds its layout, its load and its snapshot; what it sends is its roads (OrderRequests.h).
//
// The preview's review opens once the preview's line is handled, and the order's lines are handled
// while it is open: the form's row stays current behind it. Whatever ends the form meanwhile (an
// "NC" for its order, a fill, a reply that shows it ended, an acknowledgement, a log-off or a
// close) ends the review with Cancel, or keeps a review still to open shut: nothing is sent, the
// order's end is told, and the form closes, or is deleted, once the review is over. OK reads the
// order's row as it stands.
#include "orders/OrderFormBase.h"
#include "platform/mfc/OleDateTime.h"

#define IDS_ORDER_STATE_REFUSED 40326
// Of our own: the form's order ended while the form was open ("%1" the order); nothing of the
// form goes out for it any more.
#define IDS_FORM_ORDER_FILLED    40470
#define IDS_FORM_ORDER_CANCELLED 40471
#define IDS_FORM_ORDER_EXPIRED   40472
#define IDS_FORM_ORDER_ENDED     40473

// The controls the body drives.
struct MODIFY_CONTROLS
{
    int nModify;
    int nCancel;
    int nQuantity;
    int nOpen;          // the order's open and filled quantities, as its row reads them
    int nFilled;
};

// An open order as its row of the order-status table (US 51110, KSE 51128) holds it, read whole
// before a form shows any of it. The texts of side, type and duration are the code tables' texts.
struct OPEN_ORDER
{
    long nOrder = 0;                    // 0: no order
    BOOL bKse = FALSE;
    BOOL bChangeable = FALSE;           // by its flags, its linked order, (KSE) its state and market
    CString strSide, strType, strDuration;
    CString strSymbol;
    CString strSecurity;                // KSE: the stock list's name
    CString strMarket;
    long nMarketCode = 0;
    CString strCurrency;                // US
    CString strQuantity, strOpen, strFilled;
    double dLimit = 0, dStop = 0;
    COleDateTime goodTill;              // invalid when the row has none
    BOOL bDurationFixed = FALSE;        // US
    CString strRight, strOptionA, strOptionB;   // US, an option order's: right, strike and expiry as shown
    ORDER_TICKET_SNAPSHOT series;       // US, an option order's series (nRight 1 or 2), as a ticket sends it
    long nKseMarketType = 0;            // KSE
    CString strContract, strSeries;     // KSE market type 4
    COleDateTime contractDate;
};

class CModifyOrderForm : public COrderFormBase
{
public:
    long GetOrderNumber() const { return m_nOrder; }
    BOOL IsReviewing() const { return IsInModal(); }

    // Previews, changes, cancels and the order's end, each for this form's own request or order.
    void OnOW(CServerMessage* pMsg) override { OnPreviewReply(pMsg); }
    void OnKW(CServerMessage* pMsg) override { OnPreviewReply(pMsg); }
    void OnOM(CServerMessage* pMsg) override { OnAcknowledgement(pMsg); }
    void OnKM(CServerMessage* pMsg) override { OnAcknowledgement(pMsg); }
    void OnOC(CServerMessage* pMsg) override { OnAcknowledgement(pMsg); }
    void OnKC(CServerMessage* pMsg) override { OnAcknowledgement(pMsg); }
    void OnNC(CServerMessage* pMsg) override;
    // The order's own lines (a change, a fill, a KSE status): the form follows its order-status
    // row once the tables have them.
    void OnNO(CServerMessage* pMsg) override { OnOrderLine(pMsg, 0); }
    void OnNS(CServerMessage* pMsg) override { OnOrderLine(pMsg, 0); }
    void OnNT(CServerMessage* pMsg) override { OnOrderLine(pMsg, 9); }

protected:
    CModifyOrderForm(UINT nTemplate, const MODIFY_CONTROLS& controls, int nMoreType);

    // The form's values now, read once; nOrderNumber the order shown.
    virtual ORDER_TICKET_SNAPSHOT TakeSnapshot() = 0;
    // The roads of the order shown.
    virtual const MODIFY_ROAD& GetRoads() const = 0;
    // The name the review shows beside the symbol.
    virtual CString GetSecurityName() const = 0;

    // Modify (TRUE) or Cancel order.
    void Submit(BOOL bModify);
    // The order shown (0 for none, which sends nothing) and whether it may be changed: Modify and
    // Cancel order enabled for it. Called once the form shows the whole order: a cancel stands
    // for what it shows then.
    void SetOrder(long nOrder, BOOL bChangeable);
    // The days field as the form writes it; the user changed it when it no longer reads so. A
    // field merely passed through (Tab) leaves the order's date as it was.
    void ShowDays(int nId, LPCSTR pszDays);
    BOOL AreDaysTyped(int nId) const { return GetText(nId) != m_strDaysShown; }
    BOOL IsChangeable() const { return m_bChangeable; }

    // The option series of the order shown (none: nRight 0): the review and the acknowledgements
    // name it, as the ticket's do. Set before SetOrder.
    void SetSeries(const ORDER_TICKET_SNAPSHOT& series) { m_series = series; }
    BOOL IsOptionOrder() const { return m_series.nRight == 1 || m_series.nRight == 2; }
    CString GetSeriesText() const { return OptionSeriesText(m_series); }

    // Reads the order of that number from the family's order-status row: FALSE when the row is
    // missing or its table closed, or (KSE) its state refused, which the information window says.
    static BOOL ReadOpenOrder(BOOL bKse, long nOrder, OPEN_ORDER* pOrder);
    // Asks the security name of the symbol ("RN"); only the answer to this request counts.
    void AskSecurityName(const CString& strSymbol, long nMarketCode);
    void ForgetSecurityName() { m_nNameRequest = 0; }
    // TRUE for the answer to that request, without error and for strSymbol exactly (case
    // matters); the request is done with any answer to it.
    BOOL TakeSecurityName(const CServerMessage& msg, const CString& strSymbol);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Closed while a change or cancel it sent is unanswered: the form ends, hidden, and closes
    // with the last reply; loaded again, it shows once more.
    afx_msg LRESULT OnFormClosing(WPARAM wParam, LPARAM lParam);
    // The link went down: no reply comes any more, so a form kept for them goes.
    afx_msg LRESULT OnLinkDown(WPARAM wParam, LPARAM lParam);
    // A line of its order came, or an order-status reply ended: the form follows its row.
    afx_msg LRESULT OnOrderRowChanged(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void OnOrderLine(CServerMessage* pMsg, int nOrderField);
    // FALSE, told once and the form ended, when the order's row says it is no longer open (filled,
    // cancelled, expired): nothing goes out for it then. Else the form shows the open and filled
    // quantities the row reads now.
    BOOL FollowOrder();
    // The order ended with that status: told once (with the server's reference when given), and
    // the form ends.
    void EndWithOrder(long nStatus, LPCSTR pszReference);
    void OnPreviewReply(CServerMessage* pMsg);
    void OnAcknowledgement(CServerMessage* pMsg);
    void Review(const ORDER_ROAD& road, int nMode, const CServerMessage& preview, const ORDER_TICKET_SNAPSHOT& shot);
    void Refuse(UINT nTextId, int nFocus);
    // Modify enabled again, for an order that may be changed.
    void EnableModify();
    // The form ends: a review open ends with Cancel (one still to open stays shut), and the form
    // closes once the review is over.
    void EndForm();

    MODIFY_CONTROLS m_controls;
    long m_nOrder = 0;
    BOOL m_bChangeable = FALSE;
    BOOL m_bEnding = FALSE;                 // the form closes once the review is over
    BOOL m_bFinished = FALSE;               // the order's end was told: no more Submit, no more status notice
    BOOL m_bHidden = FALSE;                 // closed by the user, waiting for its replies
    // The form's values with the order's series, which no field of the form holds.
    ORDER_TICKET_SNAPSHOT TakeSeriesSnapshot();

    ORDER_TICKET_SNAPSHOT m_loaded;         // the order as loaded: what a cancel stands for
    ORDER_TICKET_SNAPSHOT m_series;         // its option series
    CString m_strDaysShown;                 // the days the form last wrote
    long m_nNameRequest = 0;                // the "RN" this form sent, 0 when answered
};
