#pragma once
// What every order form is: a form view that is a message sink while its window lives, with one
// request in flight, requests built from one snapshot of its values, refusals shown in the
// information window at priority 2, and a modal dialog (a review, a confirmation) that a reply
// calls for. That dialog never runs inside the reply's handler, which would hold every later line
// of the server: the handler hands it to AfterLine(), and it opens from the message loop, one at
// a time, while the link goes on handling lines. A close or log-off during the dialog ends it
// with Cancel; the form is then deleted once the dialog's caller is done with it, never under it:
// the caller asks DeleteIfGone() right after RunModal() and returns at once when it says TRUE.
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "framework/window/EnhancedEdit.h"
#include "link/MessageSink.h"
#include "market/dialogs/FormDialog.h"
#include "orders/OrderPending.h"
#include "orders/OrderRequests.h"
#include "orders/OrderTicketSnapshot.h"
#include "refdata/PriceText.h"

class CServerMessage;

// One input field of a form: its edit, control, kind (COLTYPE_), decimals and length.
struct FORM_EDIT
{
    CEnhancedEdit* pEdit;
    int nId;
    int nType;
    int nDecimals;
    int nLength;
};

// What a quantity and a price field say when they refuse what was typed.
#define IDS_TICKET_QUANTITY_REFUSED 40389
#define IDS_TICKET_PRICE_REFUSED    40390
// What any other whole-number field says.
#define IDS_FIELD_DIGITS_REFUSED    40448

// The text of a refusal of any order road: the code in field nError, filled with the value the
// reply carries after it, or whole without the value's place. Every order form tells its
// refusals by it.
CString ReplyErrorText(const CServerMessage& reply, int nError);

class COrderFormBase : public CFormDialog, public CZorvatMessageSink
{
public:
    const COrderPending& GetPending() const { return m_pending; }
    // A dialog of the form is open, or a reply's dialog waits to open.
    BOOL IsInModal() const { return m_pModal != nullptr || m_nAfterLine > 0; }
    // A price read as a number, as the fields take it: no grouping, no zero fraction.
    static CString PriceText(double dPrice);

protected:
    // The sink registers with the application's message source at once, or (!bAddSinkNow) when
    // the form calls AddSink().
    COrderFormBase(UINT nTemplate, const CMessageTypeSet& types, BOOL bAddSinkNow = TRUE);
    void AddSink();

    // The values of a request: the snapshot, the logged-in user's number and account, the
    // password, and the ticket flag as the snapshot kept it.
    static ORDER_VALUES ValuesOf(const ORDER_TICKET_SNAPSHOT& shot, LPCSTR pszPassword);
    // Builds the body and sends it: the request's number, or 0 with the refusal's text id in
    // *pnRefusal when it cannot be built or did not leave.
    static long SendBody(const ORDER_BODY& body, const ORDER_VALUES& values, UINT* pnRefusal);

    // The refusal's text at priority 2, the focus on nFocus when the form has it.
    void ShowRefusal(UINT nTextId, int nFocus = 0);
    // A number field left: when it refused a key or a paste since it was last left, the text
    // that says what it takes (priority 2), once; a digit past a price's decimals is told so.
    void TellRefusedKeys(int nId, UINT nTextId);
    // Every number field of every form tells its refusals when left: the fields a form does not
    // speak for itself say what their kind takes.
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    // Every refusal a form is answered with, at priority 2: the text of the code in field nError,
    // filled with the value the reply carries after it, or whole without the value's place.
    static void ShowReplyError(const CServerMessage& reply, int nError);
    // The name an acknowledgement gives the order, as every other line about it does: an option
    // order's series, a KSE order's stock symbol; empty for the reply's own symbol.
    static CString AcknowledgedName(const ORDER_ACK& ack, const CServerMessage& reply, const ORDER_TICKET_SNAPSHOT& shot, BOOL bKse);

    // Runs fn from the message loop once the line being handled is done, after the form's dialog
    // open then, if any; never when the form has gone meanwhile. A reply's review runs here.
    void AfterLine(std::function<void()> fn);
    // Runs the dialog modally: IDCANCEL when one already runs or the form went meanwhile.
    INT_PTR RunModal(CDialog& dialog);
    // Ends the dialog running with Cancel.
    void CancelModal();
    // TRUE when the form was destroyed during RunModal: it is deleted now.
    BOOL DeleteIfGone();

    // The form and its frame take that size of the form, in the form font's dialog units.
    void FitFrame(int nWidth, int nHeight);
    // The ticket and the combined modify form share one frame, with or without the side panel
    // and the advanced rows.
    void FitPanelFrame(BOOL bSidePanel, BOOL bAdvanced);
    // The form takes the records of a multi-record reply (TRUE) until its end (FALSE); bBusy
    // shows the application busy meanwhile.
    void ReceiveRecords(BOOL bReceive, BOOL bBusy);
    // The "RN" of the symbol on that market (0: on whichever market lists it): the request's
    // number, 0 when it did not leave.
    static long SendNameRequest(LPCSTR pszSymbol, long nMarketCode);
    // A ticket's "GO" for the underlying typed in nField, when it is not the one asked last
    // (*pstrAsked): the request's number, 0 when nothing left.
    long AskOptionSeries(int nField, CString* pstrAsked);

    // Subclasses the fields the form has with their kinds and lengths.
    void SetUpEdits(std::initializer_list<FORM_EDIT> edits);
    // A price field of the market's decimals (the decimals of its tick): a price typed or given
    // to it shows as the price rule has it, with every decimal it carries (up to six) and at least
    // the market's, so that no field cuts a quote, a loaded order or a maker's price. A request
    // refuses a price of more decimals than it carries.
    void SetPriceField(CEnhancedEdit& edit, int nId, int nMarketDecimals);
    // Control helpers; a control the form lacks is left alone.
    CString GetText(int nId) const;
    void SetText(int nId, LPCSTR pszText);
    // A control disabled while it has the keys gives them to KeepKeysInForm's field: a disabled
    // control would swallow every key typed.
    void EnableControl(int nId, BOOL bEnable);
    // Where the keys go when the control that had them cannot keep them: the next control that
    // takes them; an order form gives them back to the field the trader worked in last.
    virtual void KeepKeysInForm();
    void ShowControl(int nId, BOOL bShow);
    BOOL HasControl(int nId) const { return ::GetDlgItem(m_hWnd, nId) != nullptr; }
    // Empties the fields the user may type in; read-only ones keep what the form put there.
    void ClearEditable(std::initializer_list<int> fields);
    // The selected item's text, else the box's text.
    CString GetBoxText(int nId) const;
    // The selected item's text alone, "" when no item is selected.
    CString SelectedItemText(int nId) const;
    // Selects the item of exactly that text (!bExact: the first one starting with it); -1 when
    // there is none, the selection then as it was.
    int SelectBoxText(int nId, LPCSTR pszText, BOOL bExact = TRUE);
    // Shows the text as the box's selected item, added first when bAdd and missing; no item
    // selected (-1) when there is none.
    int ShowBoxText(int nId, LPCSTR pszText, BOOL bAdd);

    COrderPending m_pending;            // the form's requests in flight

    afx_msg void OnDestroy();
    afx_msg LRESULT OnFieldRefused(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    struct PRICE_FIELD
    {
        int nId;
        CEnhancedEdit* pEdit;
    };
    std::vector<PRICE_FIELD> m_priceFields;
    int m_nRefusedField = 0;            // the field that refused a key since it was last left
    WPARAM m_nRefusedWhy = 0;           // why, as the field said it (EER_)
    CDialog* m_pModal = nullptr;        // the dialog running
    BOOL m_bGone = FALSE;               // the window went while it ran
    int m_nAfterLine = 0;               // calls of AfterLine not yet run
    std::vector<std::function<void()>> m_afterModal;    // waiting for the dialog open to end
    std::shared_ptr<char> m_pAlive = std::make_shared<char>(0);     // a posted call's test of the form
};
