#pragma once
// The order road every order form takes: Submit reads the form once, checks it and sends the
// check request of the form's road; the form's own check reply opens the review, whose OK sends
// the order built from the same values plus the password; the form's own order reply is
// acknowledged. The review opens once the reply's line is handled (OrderFormBase.h): the values
// are a copy. A form adds its snapshot, its road, how it keeps the ticket flag and what it clears
// after an acknowledgement.
#include <initializer_list>
#include <map>

#include "orders/OrderFormBase.h"

#define IDC_ORDER_FORM_SUBMIT 5737

// The name of a KSE stock in the stock list, in the interface language or (bFirst) the first
// language; empty when the list lacks it.
CString GetKseStockName(LPCSTR pszStock, BOOL bFirst = FALSE);

class COrderRoadForm : public COrderFormBase
{
public:
    // The form's values now, read once.
    virtual ORDER_TICKET_SNAPSHOT TakeSnapshot() = 0;
    BOOL IsReviewing() const { return IsInModal(); }
    // The form's background colour.
    COLORREF GetFormColour() const { return m_crForm; }

protected:
    using COrderFormBase::COrderFormBase;
    ~COrderRoadForm() override;

    // A ticket's background: a purchase's, a sale's, or (neither) the dialog face's; the form is
    // repainted with its labels, which paint their own backgrounds.
    void ColourBySide(BOOL bBuy, BOOL bSell);
    void SetFormColour(COLORREF crBack);
    // Fills the form with its background (a ticket that colours itself maps WM_ERASEBKGND here).
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // Yellow for the boxes an order cannot go without, named in boxes (a combo box's edit part
    // asks with its own id); null for any other control.
    HBRUSH YellowBrushFor(CDC* pDC, CWnd* pWnd, std::initializer_list<int> boxes) const;
    // The form's background for the form and its labels (bButtons: its buttons too), drawn
    // transparently; null for any other control.
    HBRUSH FormBrushFor(CDC* pDC, UINT nCtlColor, BOOL bButtons) const;

    void Submit();
    // Enables Submit exactly when the form holds a complete order. It also follows the typing in
    // the form's input fields: a trader who types a quantity and clicks Submit at once finds it
    // enabled. What leaving a field does (a negative value taken as its size, a refusal told)
    // still waits for the focus to leave.
    virtual void UpdateSubmitButton() = 0;
    BOOL OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Replies of the road's kinds; each counts only when it answers one of the form's requests,
    // and each of those is answered on screen: a second Submit's check does not hide the first's.
    void OnCheckReply(CServerMessage* pMsg);
    void OnOrderReply(CServerMessage* pMsg);

    // The road of these values; null sends nothing.
    virtual const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const = 0;
    // Submit read the form; bSent: its check left.
    virtual void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL bSent) = 0;
    // Empties what the order used (each field through EmptyIfAsSent); the id of the field the next
    // order begins with. The focus is left alone: the road keeps the keys where the trader had them.
    virtual int ClearAfterAcknowledgement(int nOrderType) = 0;

    // Whether the field still holds what the last order sent put in it, untouched since: no key
    // typed in it, no item chosen, nothing put there by a command. Only such a field is the sent
    // order's; any other is the next order's, the trader's or a command's.
    BOOL StillAsSent(int nId) const;
    // Empties the field when it is still as sent (TRUE when it did).
    BOOL EmptyIfAsSent(int nId);
    // The fields as sent are forgotten: the form holds another order now (filled by a command, a
    // refused or reviewed order left to mend).
    void ForgetSentFields()
    {
        m_asSent.clear();
        m_atCheck.clear();
    }
    BOOL HoldsFieldsAsSent() const { return !m_asSent.empty(); }
    // The keys go back to the field the trader worked in last when they are nowhere or in a
    // control of the form that cannot take them (a Submit clicked and disabled): a refusal or a
    // reply never leaves the trader typing into nothing.
    void KeepKeysInForm() override;

private:
    // The review of a check answered, and the order when it ends with OK.
    void Review(const ORDER_ROAD& road, const CServerMessage& reply, const OUTSTANDING_ORDER& check);
    // Every field of the form by id, with its text now.
    std::map<int, CString> FieldTexts() const;
    int RunReview(const ORDER_ROAD& road, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot,
                  CString* pPassword);
    // fields: the form's fields as the check read them, each untouched by the trader since.
    void SendOrder(const ORDER_ROAD& road, const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword,
                   const std::map<int, CString>& fields);
    void Refuse(UINT nTextId, int nFocus);
    // After the reset: the keys stay in hFocus, the form's field that had them before it, or go
    // to field nFirst when the reset took hFocus away (disabled or hidden); a form that had no
    // keys gets none.
    void KeepTheKeys(HWND hFocus, int nFirst);

    // Whether the form holds an order the trader typed and did not send (WM_FORM_HOLDS_ORDER).
    BOOL HoldsUnsentOrder();
    // Whether these values are the order sent last, as the trader fills it in.
    BOOL IsLastSent(const ORDER_TICKET_SNAPSHOT& shot) const;
    // The field is the trader's now: neither the order sent nor one being checked holds it.
    void ForgetField(int nId);
    // Notes the trader's own change of a field (typed, chosen, ticked).
    void NoteTheTradersChange(WPARAM wParam, LPARAM lParam);

    BOOL m_bOrderSentLast = FALSE;      // the last request Submit led to was an order
    ORDER_TICKET_SNAPSHOT m_lastSent;   // the values of the last order sent
    // The fields that still show the order sent last, by id, with their texts as it went out; a
    // field leaves when it is touched. The acknowledgement empties only these: a trader who began
    // the next order keeps every field he touched.
    std::map<int, CString> m_asSent;
    // By check number: the fields as that check read them; a field leaves when it is touched, so
    // what the trader typed while the check was answered is never taken for the order sent.
    std::map<long, std::map<int, CString>> m_atCheck;
    HWND m_hLastField = nullptr;        // the form's field the trader worked in last

    COLORREF m_crForm = ::GetSysColor(COLOR_BTNFACE);
    HBRUSH m_hbrForm = ::CreateSolidBrush(m_crForm);            // owned
    HBRUSH m_hbrYellow = ::CreateSolidBrush(RGB(255, 255, 0));  // owned
};
