// The order ticket under random sequences of the trader's actions and the server's replies:
// fields typed and chosen, markets, tickers, good-till dates, the ticket commands and a row's
// order command, Reset, Submit by a click, by
// Enter or by the ticket's own notification, reviews confirmed or left, reviews held open while
// another terminal of the trader places and cancels an order, quantities the server refuses, and
// the replies taken only when the sequence lets the terminal read them (held meanwhile; keys typed
// then are typed while the check is held). After each step: no reply changed what the trader
// chose or typed, but for the fields of an order acknowledged that still showed it, untouched
// since its Submit; what went out is what the ticket showed at Submit, the order what its check
// carried; the order-status rows behind an open review follow the server's lines; and the keys
// are in the ticket's enabled field; each information line's time is no earlier than the one above.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "account/OrderStatusKSETable.h"
#include "account/OrderStatusTable.h"
#include "link/MessageTypes.h"
#include "orders/NewModifyOrderDlg.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "orders/NewPlaceOrderDlg.h"
#include "orders/ReviewDialog.h"
#include "platform/win/user/DateTimePick.h"
#include "platform/win/user/Display.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/VirtualKeys.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Property.h"
#include "tests/orders/OrderTestSupport.h"

namespace {
using TicketProperty = COrderStatusSession;

enum STEP_KIND {
    TYPE_QUANTITY, TYPE_LIMIT, CHOOSE_SIDE, CHOOSE_TYPE, CHOOSE_MARKET, CHOOSE_TICKER, TICKET_COMMAND, RESET,
    SUBMIT_NOTIFIED, SUBMIT_CLICKED, SUBMIT_ENTER, TAKE_REPLIES, FILL_ORDER, ROW_ORDER, CHOOSE_DATE, REVIEW_HELD,
    CLICK_TYPE, MODIFY_HELD,
    STEP_KINDS
};
const char* const STEP_NAMES[] = {"type quantity", "type limit", "side", "type", "market", "ticker", "command",
                                  "reset", "submit", "click submit", "enter", "replies", "fill", "row's order", "date",
                                  "review held", "click and type", "modify held"};
// Quantities: the last one the server refuses for its cash.
const char* const QUANTITIES[] = {"7", "500", "1000", "99999999"};
const char* const LIMITS[] = {"842", "850", "73.3", "48.5"};
// Typed right after a click on the field: by the digit keys, as characters without a key of their
// own (an Arabic keyboard's digits and decimal separator, as xdotool or an on-screen keyboard type
// them), or pasted; the field holds the first text of each pair.
const char* const CLICKED_QUANTITIES[][2] = {{"846", "\u0668\u0664\u0666"}, {"1500", "\u0661\u0665\u0660\u0660"}};
const char* const CLICKED_LIMITS[][2] = {{"846.0", "\u0668\u0664\u0666\u066B\u0660"}, {"48.5", "\u0664\u0668\u066B\u0665"}};
enum { BY_KEY_CODE, BY_CHARACTER, BY_PASTE, INPUT_PATHS };

struct STEP
{
    STEP() = default;
    STEP(int nKindIn, int nArgIn) : nKind(nKindIn), nArg(nArgIn) {}
    int nKind = 0;
    int nArg = 0;
};

std::ostream& operator<<(std::ostream& os, const STEP& step)
{
    return os << STEP_NAMES[step.nKind] << " " << step.nArg;
}

// The fields the trader chooses and types, as the ticket shows them.
const int FIELDS[] = {IDC_TICKET_MARKET, IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY, IDC_TICKET_TICKER,
                      IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT, IDC_TICKET_GOOD_TILL};

std::string FieldText(HWND hDlg, int nId)
{
    std::string strText = nId == IDC_TICKET_TICKER || nId == IDC_TICKET_QUANTITY || nId == IDC_TICKET_LIMIT ||
                                  nId == IDC_TICKET_GOOD_TILL
                              ? ControlText(hDlg, nId)
                              : BoxSelection(hDlg, nId);
    if (nId == IDC_TICKET_TICKER)
        strText = strText.substr(0, strText.find('/'));     // the name a reply adds is the symbol's
    if (nId == IDC_TICKET_QUANTITY || nId == IDC_TICKET_LIMIT) {
        std::string strPlain;
        for (char ch : strText)
            if (ch != ',')
                strPlain += ch;
        strText = strPlain.empty() ? "" : std::to_string(atof(strPlain.c_str()));
    }
    return strText;
}

// The other terminal's order, and the trader's own KSE order that a modify form changes: no ticket
// of the sequences sends 100 at 30 or at 800.
const char OTHER_ORDER[] = "1002|10020|1|ALPN|100|0|30.00||0|||secret";
const char OWN_KSE_ORDER[] = "||1002|10020|1|1|101|100|0|800||0|||secret";
// The changes the other terminal makes to an order of 100 so that the book fills it at once.
const char FILLING_KSE_CHANGE[] = "||1002|10020|1|101|100|0|870||0|||#|secret";
const char FILLING_US_CHANGE[] = "1002|10020|1|ALPN|100|0|49.50||0|||#|secret";
enum { KC_STATUS = 19, OC_STATUS = 12 };
// The quantity the trader's change asks for.
const char CHANGED_QUANTITY[] = "150";

std::string WithNumber(std::string strBody, const std::string& strOrder)
{
    strBody.replace(strBody.find('#'), 1, strOrder);
    return strBody;
}

const std::vector<std::string> CHECKS = {"KV", "OV", "KU", "KJ"}, ORDERS = {"KR", "OR", "KA", "KQ"};

// The body fields of side, symbol, quantity and limit of a check or order request.
std::vector<std::string> OrderFields(const std::string& strLine)
{
    const std::vector<std::string> body = BodyOf(strLine);
    const std::string strType = strLine.substr(1, 2);
    std::vector<int> at;
    if (strType == "OV" || strType == "OR")
        at = {2, 3, 4, 6};
    else if (strType == "KV" || strType == "KR")
        at = {5, 6, 7, 9};
    else
        return {};
    std::vector<std::string> fields;
    for (int n : at)
        fields.push_back(static_cast<size_t>(n) < body.size() ? body[static_cast<size_t>(n)] : "");
    fields[3] = fields[3].empty() ? "" : std::to_string(atof(fields[3].c_str()));
    return fields;
}

// Waits for what the server logs without letting the terminal read a reply meanwhile.
template <typename Pred>
bool WaitUnread(Pred pred, int nMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

struct CTicketRun
{
    explicit CTicketRun(TicketProperty& sIn) : s(sIn) {}
    TicketProperty& s;
    CNewPlaceOrderDlg* pTicket = nullptr;
    HWND hDlg = nullptr;
    std::vector<std::string> markets;
    // The fields the trader touched since the last order went out, and since the last check left.
    std::vector<int> touched, touchedSinceCheck;
    // Another terminal of the trader; what the order-status table showed of its order behind a review.
    COtherTerminal other;
    std::vector<std::string> behind;
    int nReviewsAnswered = 0;
    // The trader's orders the server ended while their change was under review ("KSE 3").
    std::vector<std::string> ended;
    size_t nOrdersSeen = 0;
    // The orders the server logged by the end of the last step.
    size_t nOrdersCounted = 0;
    // Per check sent: what the ticket showed at its Submit.
    std::vector<std::vector<std::string>> submitted;
    size_t nChecksSeen = 0;
    // The information lines whose time was read, and the latest time among them.
    size_t nLinesTimed = 0;
    CString strLastTime;

    void Touch(int nId)
    {
        touched.push_back(nId);
        touchedSinceCheck.push_back(nId);
    }
    bool Touched(int nId) const { return std::find(touched.begin(), touched.end(), nId) != touched.end(); }
    bool TouchedSinceCheck(int nId) const
    {
        return std::find(touchedSinceCheck.begin(), touchedSinceCheck.end(), nId) != touchedSinceCheck.end();
    }

    // Keys typed into the field with the caret in it, each as the display delivers a character to
    // the focus, without letting the terminal read a reply meanwhile.
    void Type(int nId, const char* pszKeys)
    {
        if ((GetWindowLongA(GetDlgItem(hDlg, nId), GWL_STYLE) & ES_READONLY) != 0 || !IsWindowEnabled(GetDlgItem(hDlg, nId)))
            return;
        ::SetFocus(GetDlgItem(hDlg, nId));
        SendDlgItemMessageA(hDlg, nId, EM_SETSEL, 0, -1);
        for (const char* p = pszKeys; *p != '\0'; ++p)
            SendDlgItemMessageA(hDlg, nId, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(*p)), 0);
        Touch(nId);
    }
    // A click on the field as the display delivers it, Ctrl+A and the keys at once after it, all
    // delivered before the terminal reads any: the keys are the clicked field's. Returns the text
    // the field holds then, "" when it takes no keys.
    std::string ClickAndType(int nId, int nArg)
    {
        const HWND hField = GetDlgItem(hDlg, nId);
        if ((GetWindowLongA(hField, GWL_STYLE) & ES_READONLY) != 0 || !IsWindowEnabled(hField) || !IsWindowVisible(hField))
            return "";
        const auto& typed = nId == IDC_TICKET_QUANTITY ? CLICKED_QUANTITIES[nArg / INPUT_PATHS % 2]
                                                       : CLICKED_LIMITS[nArg / INPUT_PATHS % 2];
        POINT pt = {3, 3};
        ClientToScreen(hField, &pt);
        TbDisplayMouse(hField, WM_LBUTTONDOWN, MK_LBUTTON, pt);
        TbDisplayMouse(hField, WM_LBUTTONUP, 0, pt);
        PressCtrlKey('A');
        switch (nArg % INPUT_PATHS) {
        case BY_KEY_CODE: TypeText(typed[0]); break;
        case BY_CHARACTER:
            for (const char* p = typed[1]; *p != '\0';) {
                size_t n = 1;
                while ((static_cast<unsigned char>(p[n]) & 0xC0) == 0x80)
                    ++n;
                TbDisplayKeyText(WM_KEYDOWN, VK_PACKET, MAKELPARAM(1, 0), std::string(p, n).c_str());
                TbDisplayKey(WM_KEYUP, VK_PACKET, MAKELPARAM(1, KF_UP | KF_REPEAT), nullptr);
                p += n;
            }
            break;
        default:
            if (OpenClipboard(nullptr)) {
                EmptyClipboard();
                const size_t nLen = strlen(typed[0]) + 1;
                if (const HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, nLen)) {
                    memcpy(GlobalLock(hText), typed[0], nLen);
                    GlobalUnlock(hText);
                    SetClipboardData(CF_TEXT, hText);
                }
                CloseClipboard();
            }
            PressCtrlKey('V');
            break;
        }
        PumpPending();
        Touch(nId);
        return std::to_string(atof(typed[0]));
    }
    void Choose(int nId, int nArg)
    {
        const std::vector<std::string> items = BoxItems(hDlg, nId);
        if (items.empty() || !IsWindowEnabled(GetDlgItem(hDlg, nId)))
            return;
        ChooseItem(hDlg, nId, items[static_cast<size_t>(nArg) % items.size()]);
        Touch(nId);
    }
    std::vector<std::string> Reading() const
    {
        std::vector<std::string> texts;
        for (int nId : FIELDS)
            texts.push_back(FieldText(hDlg, nId));
        return texts;
    }
    std::vector<std::string> Shown() const
    {
        const ORDER_TICKET_SNAPSHOT shot = pTicket->TakeSnapshot();
        CString strSymbol = shot.strTicker;
        if (strSymbol.Find('/') >= 0)
            strSymbol = strSymbol.Left(strSymbol.Find('/'));
        strSymbol.Trim();
        return {std::to_string(shot.nSide), static_cast<LPCSTR>(strSymbol), static_cast<LPCSTR>(shot.strQuantity),
                shot.strLimitPrice.IsEmpty() || (shot.nOrderType != 0 && shot.nOrderType != 2)
                    ? ""
                    : std::to_string(atof(shot.strLimitPrice))};
    }
    // The orders the ticket sent (the other terminal's are its own).
    std::vector<std::string> Orders() const
    {
        std::vector<std::string> orders;
        for (const std::string& strLine : s.Requests(ORDERS))
            if (strLine.find(OTHER_ORDER) == std::string::npos && strLine.find(OWN_KSE_ORDER) == std::string::npos)
                orders.push_back(strLine);
        return orders;
    }
    // The status the order-status table shows for the order, "" while it has no row.
    std::string Status(const std::string& strOrder, bool bKse = false) const
    {
        const CDataBuffer* pRow = s.Row(bKse ? IDS_TABLE_KSE_ORDERS : IDS_TABLE_US_ORDERS, strOrder);
        return pRow != nullptr ? std::string(pRow->GetText(bKse ? KC_STATUS : OC_STATUS, TRUE)) : std::string();
    }
    std::string UsStatus(const std::string& strOrder) const { return Status(strOrder); }
    // While the review is open, the other terminal places an order and cancels it, or moves its
    // limit to where the book fills it: its row and its end, as the table behind the review shows
    // them within a few seconds.
    void MoveBehindReview(bool bFill)
    {
        std::string strOrder;
        for (const std::string& strLine : other.Send("OR", OTHER_ORDER))
            if (strLine.rfind("~OR|", 0) == 0 && BodyOf(strLine).size() > 11)
                strOrder = BodyOf(strLine)[11];
        PumpUntil([&] { return !UsStatus(strOrder).empty(); }, 5000);
        const std::string strOpen = UsStatus(strOrder);
        if (bFill)
            other.Send("OM", WithNumber(FILLING_US_CHANGE, strOrder));
        else
            other.Send("OC", "1002|10020|" + strOrder + "|secret");
        PumpUntil([&] { return UsStatus(strOrder) != strOpen; }, 5000);
        behind.push_back(strOrder + ": " + strOpen + ", then " + UsStatus(strOrder));
        if (strOpen.empty() || UsStatus(strOrder) == strOpen)
            behind.push_back("stale");
    }
    // The review answered: with the password and OK, or left; bHold: after the other terminal's
    // lines came behind it.
    void AnswerReviews(bool bOk, bool bHold, bool bFill = false)
    {
        ClearDialogSteps();
        std::vector<DIALOG_STEP> steps;
        for (int n = 0; n < 3; ++n)
            steps.push_back({IDC_REVIEW_PASSWORD, [this, bOk, bHold, bFill](HWND h) {
                                 ++nReviewsAnswered;
                                 if (bHold)
                                     MoveBehindReview(bFill);
                                 SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "secret");
                                 ClickControl(h, bOk ? IDOK : IDCANCEL);
                             }});
        RunDialogSteps(steps);
    }
    void Submit(int nKind, int nArg)
    {
        if (!IsWindowEnabled(GetDlgItem(hDlg, IDC_TICKET_SUBMIT)))
            return;
        AnswerReviews(nArg % 3 != 0, nKind == REVIEW_HELD, nArg % 2 == 1);
        submitted.push_back(Shown());
        const size_t nChecks = s.Requests(CHECKS).size();
        if (nKind == SUBMIT_NOTIFIED || nKind == REVIEW_HELD) {
            NotifyControl(hDlg, IDC_TICKET_SUBMIT, BN_CLICKED);
        } else if (nKind == SUBMIT_ENTER) {
            ::SetFocus(GetDlgItem(hDlg, IDC_TICKET_QUANTITY));
            s.pRun->TypeKey(VK_RETURN, [&] { return s.Requests(CHECKS).size() > nChecks; });
        } else {
            const HWND hSubmit = GetDlgItem(hDlg, IDC_TICKET_SUBMIT);
            POINT pt = {3, 3};
            ClientToScreen(hSubmit, &pt);
            TbDisplayMouse(hSubmit, WM_LBUTTONDOWN, MK_LBUTTON, pt);
            TbDisplayMouse(hSubmit, WM_LBUTTONUP, 0, pt);
            PumpPending();
        }
        // A check under way reaches the server, however slow the machine; one refused at once
        // sends nothing.
        const bool bUnderWay = pTicket->GetPending().IsCheckPending() != FALSE;
        const bool bArrived = PumpUntil([&] { return s.Requests(CHECKS).size() > nChecks; }, bUnderWay ? 10000 : 1000);
        RC_ASSERT(bArrived || !bUnderWay);
        if (!bArrived)
            submitted.pop_back();
        else
            touchedSinceCheck.clear();
    }
    // The trader's own resting order (KSE or US), placed by the terminal; its modify form asks for
    // a quantity of 150; while the change's review is open, the other terminal on the account
    // cancels the order or moves its limit to where the book fills it; the trader reads the review
    // until the row behind it moves, then confirms or leaves it; or (bAtOnce) confirms it in the
    // instant the end's line is handled, before anything else queued. The review and the form end
    // by themselves or by the refusal, the end told.
    void ModifyWhileOrderEnds(int nArg)
    {
        const bool bKse = nArg % 2 == 0, bFill = nArg / 2 % 2 == 1, bOk = nArg / 4 % 2 == 0, bAtOnce = nArg / 8 % 2 == 1;
        const std::string strOrder = bKse ? s.Place(MSG_KR, OWN_KSE_ORDER, 17, IDS_TABLE_KSE_ORDERS)
                                          : s.Place(MSG_OR, OTHER_ORDER, 11, IDS_TABLE_US_ORDERS);
        RC_ASSERT(!strOrder.empty());
        const std::string strOpen = Status(strOrder, bKse);
        if (bKse)
            s.App().OpenModifyOrderKSE(atol(strOrder.c_str()));
        else
            s.App().OpenModifyOrderUS(atol(strOrder.c_str()));
        PumpPending();
        CFormMDIWnd* pFrame = s.App().GetModifyOrderForm();
        const bool bFormOpen = pFrame != nullptr && pFrame->GetView() != nullptr;
        RC_ASSERT(bFormOpen);
        const HWND hForm = pFrame->GetView()->m_hWnd;
        EnterText(hForm, IDC_MODIFY_QUANTITY, CHANGED_QUANTITY);
        ended.push_back((bKse ? "KSE " : "US ") + strOrder);
        const size_t nToldBefore = s.pRun->InfoText().size();
        bool bReviewed = false;
        std::string strBehind;
        ClearDialogSteps();
        RunDialogSteps({{IDC_REVIEW_PASSWORD, [&](HWND h) {
                             bReviewed = true;
                             if (bFill)
                                 other.Send(bKse ? "KM" : "OM", WithNumber(bKse ? FILLING_KSE_CHANGE : FILLING_US_CHANGE, strOrder));
                             else if (bKse)
                                 other.Send("KC", "||1002|10020|" + strOrder + "||||||||||||||||||||secret");
                             else
                                 other.Send("OC", "1002|10020|" + strOrder + "|secret");
                             if (bAtOnce) {
                                 const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
                                 MSG msg;
                                 while (Status(strOrder, bKse) == strOpen && std::chrono::steady_clock::now() < end)
                                     if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                                         TranslateMessage(&msg);
                                         DispatchMessageA(&msg);
                                     }
                             } else {
                                 PumpUntil([&] { return Status(strOrder, bKse) != strOpen; }, 5000);
                             }
                             strBehind = Status(strOrder, bKse);
                             if (IsWindow(h)) {
                                 SetDlgItemTextA(h, IDC_REVIEW_PASSWORD, "secret");
                                 ClickControl(h, bOk ? IDOK : IDCANCEL);
                             }
                         }}});
        NotifyControl(hForm, IDC_MODIFY_MODIFY, BN_CLICKED);
        const bool bFormClosed = PumpUntil([&] { return s.App().GetModifyOrderForm() == nullptr; }, 5000);
        ClearDialogSteps();
        const bool bTold = s.pRun->InfoText().find(strOrder, nToldBefore) != std::string::npos;
        RC_LOG() << "modify " << (bKse ? "KSE " : "US ") << strOrder << (bFill ? " filled" : " cancelled") << " behind its review: "
                 << strOpen << ", then " << strBehind << (bOk ? ", OK" : ", left") << (bAtOnce ? " at once" : "") << "\n";
        RC_LOG() << "changes: " << s.Lines(bKse ? "KM" : "OM") << "\n";
        RC_ASSERT(bReviewed);
        behind.push_back(strOrder + ": " + strOpen + ", then " + strBehind);
        if (strOpen.empty() || strBehind == strOpen)
            behind.push_back("stale");
        RC_ASSERT(bFormClosed);
        RC_ASSERT(bTold);
    }
    // The trader's changes the server received for an order it had ended ("KSE 3", "US 4").
    std::vector<std::string> ChangesOfEnded() const
    {
        std::vector<std::string> sent;
        for (const std::string& strLine : s.Requests({"KM", "OM"})) {
            const bool bKse = strLine.substr(1, 2) == "KM";
            const std::vector<std::string> body = BodyOf(strLine);
            const size_t nQty = bKse ? 6 : 4, nOrder = bKse ? 13 : 11;
            if (body.size() <= nOrder || body[nQty] != CHANGED_QUANTITY)
                continue;
            const std::string strKey = (bKse ? "KSE " : "US ") + body[nOrder];
            if (std::find(ended.begin(), ended.end(), strKey) != ended.end())
                sent.push_back(strLine);
        }
        return sent;
    }
    // The replies read until nothing of the ticket is under way, or (bHold) until an order leaves:
    // its acknowledgement is then held until the terminal reads again.
    void TakeReplies(bool bHold)
    {
        const bool bSettled = PumpUntil([&] {
            if (bHold && pTicket->GetPending().IsOrderPending() && !pTicket->IsReviewing())
                return true;
            return !pTicket->GetPending().IsCheckPending() && !pTicket->GetPending().IsOrderPending() &&
                   !pTicket->IsReviewing();
        }, 10000);
        const bool bCheckPending = pTicket->GetPending().IsCheckPending() != FALSE;
        const bool bOrderPending = pTicket->GetPending().IsOrderPending() != FALSE;
        const bool bReviewing = pTicket->IsReviewing();
        RC_LOG() << "replies: settled " << bSettled << ", check pending " << bCheckPending << ", order pending "
                 << bOrderPending << ", reviewing " << bReviewing << "\n";
        RC_ASSERT(bSettled);
        if (bHold)
            return;
        PumpFor(30);
        ClearDialogSteps();
    }
};

void RunSequence(TicketProperty& s, std::vector<STEP> steps, bool bArabic = false)
{
    // The replies still held are taken at the end.
    steps.push_back({TAKE_REPLIES, 0});
    // A failed step ends the sequence: the session ends with it, for the next one to start afresh.
    struct CEnd
    {
        TicketProperty& s;
        ~CEnd()
        {
            ClearDialogSteps();
            s.TearDown();
        }
    } end{s};
    s.Start(bArabic, {"--rate", "0"});
    const bool bStarted = !::testing::Test::HasFatalFailure() && s.pRun != nullptr;
    RC_ASSERT(bStarted);
    CTicketRun run{s};
    const bool bOtherOpen = run.other.Open(s.server.Port());
    RC_ASSERT(bOtherOpen);
    run.pTicket = s.Command(33049);
    const bool bOpened = run.pTicket != nullptr;
    RC_ASSERT(bOpened);
    run.hDlg = run.pTicket->m_hWnd;
    run.markets = BoxItems(run.hDlg, IDC_TICKET_MARKET);
    const std::vector<UINT> commands = CZORVAT32App::GetOrderTicketCommands();
    for (const STEP& step : steps) {
        // A failing sequence tells each step with the fields as they read before it.
        RC_LOG() << step;
        const std::vector<std::string> before = run.Reading();
        const HWND hFocusBefore = GetFocus();
        for (const std::string& strField : before)
            RC_LOG() << " |" << strField;
        RC_LOG() << "\n";
        const bool bOrderPendingBefore = run.pTicket->GetPending().IsOrderPending() != FALSE;
        const std::string strSideBefore = BoxSelection(run.hDlg, IDC_TICKET_SIDE);
        int nClicked = 0, nReviewsBefore = 0;
        std::string strClickedTyped;
        switch (step.nKind) {
        case TYPE_QUANTITY: run.Type(IDC_TICKET_QUANTITY, QUANTITIES[step.nArg % 4]); break;
        case TYPE_LIMIT: run.Type(IDC_TICKET_LIMIT, LIMITS[step.nArg % 4]); break;
        case CHOOSE_SIDE: run.Choose(IDC_TICKET_SIDE, step.nArg); break;
        case CHOOSE_TYPE: run.Choose(IDC_TICKET_TYPE, step.nArg); break;
        case CHOOSE_MARKET: {
            run.Choose(IDC_TICKET_MARKET, step.nArg);
            // The side chosen stays where the market offers it.
            const std::vector<std::string> sides = BoxItems(run.hDlg, IDC_TICKET_SIDE);
            if (!strSideBefore.empty() && std::find(sides.begin(), sides.end(), strSideBefore) != sides.end()) {
                const std::string strSide = BoxSelection(run.hDlg, IDC_TICKET_SIDE);
                RC_ASSERT(strSide == strSideBefore);
            }
            break;
        }
        case CLICK_TYPE:
            nClicked = step.nArg % 2 == 0 ? IDC_TICKET_QUANTITY : IDC_TICKET_LIMIT;
            nReviewsBefore = run.nReviewsAnswered;
            strClickedTyped = run.ClickAndType(nClicked, step.nArg / 2);
            break;
        case CHOOSE_TICKER: run.Choose(IDC_TICKET_TICKER, step.nArg); break;
        case TICKET_COMMAND:
            {
                const bool bSame = s.Command(commands[static_cast<size_t>(step.nArg) % commands.size()]) == run.pTicket;
                RC_ASSERT(bSame);
            }
            run.touched.clear();        // the command's ticket: only what it keeps is the trader's
            for (int nId : FIELDS)
                run.Touch(nId);
            break;
        case RESET:
            ClickControl(run.hDlg, IDC_TICKET_RESET);
            PumpPending();
            break;
        case TAKE_REPLIES: run.TakeReplies(step.nArg % 2 == 1); break;
        case MODIFY_HELD: run.ModifyWhileOrderEnds(step.nArg); break;
        case ROW_ORDER:
            // A row's order command: a KSE stock of the market's list, or a US quotation's symbol.
            if (step.nArg % 2 == 0)
                s.App().OpenOrderTicketKSE(1 + step.nArg % 4 / 2, "101", 0.0, 0, 1);
            else
                s.App().OpenOrderTicket(0, "ALPN", 0.0, static_cast<LPCSTR>(GetGlobals()->GetMarketName(8)), nullptr, 0);
            PumpPending();
            run.touched.clear();
            for (int nId : FIELDS)
                run.Touch(nId);
            break;
        case CHOOSE_DATE: {
            // The dated validity and a date a few days on, as the picker tells its change.
            for (const std::string& strValidity : BoxItems(run.hDlg, IDC_TICKET_VALIDITY))
                if (COrderDur::GetCodeByText(strValidity.c_str()) == 1 && IsWindowEnabled(GetDlgItem(run.hDlg, IDC_TICKET_VALIDITY))) {
                    ChooseItem(run.hDlg, IDC_TICKET_VALIDITY, strValidity);
                    run.Touch(IDC_TICKET_VALIDITY);
                }
            const HWND hPicker = GetDlgItem(run.hDlg, IDC_TICKET_GOOD_TILL);
            if (!IsWindowEnabled(hPicker))
                break;
            const COleDateTime picked = run.pTicket->TakeSnapshot().goodTill + COleDateTimeSpan(1 + step.nArg % 5, 0, 0, 0);
            NMDATETIMECHANGE change = {};
            if (!picked.GetAsSystemTime(change.st))
                break;
            SendMessageA(hPicker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&change.st));
            change.nmhdr.hwndFrom = hPicker;
            change.nmhdr.idFrom = IDC_TICKET_GOOD_TILL;
            change.nmhdr.code = DTN_DATETIMECHANGE;
            SendMessageA(run.hDlg, WM_NOTIFY, IDC_TICKET_GOOD_TILL, reinterpret_cast<LPARAM>(&change));
            run.Touch(IDC_TICKET_GOOD_TILL);
            break;
        }
        case FILL_ORDER:
            // A whole order as the trader fills one: side, ticker, the first order type (a limit),
            // quantity and price.
            run.Choose(IDC_TICKET_SIDE, step.nArg % 3 == 2 ? step.nArg : 0);     // mostly bought: none is held
            run.Choose(IDC_TICKET_TICKER, 0);
            run.Choose(IDC_TICKET_TYPE, 0);
            run.Type(IDC_TICKET_QUANTITY, QUANTITIES[step.nArg % 4]);
            run.Type(IDC_TICKET_LIMIT, LIMITS[step.nArg % 4]);
            break;
        default: run.Submit(step.nKind, step.nArg); break;
        }
        // An order that went out starts the fields the trader touches afresh. The server logs it
        // a moment after it leaves: it counts in the step it left in, not in a later one.
        if (run.pTicket->GetPending().IsOrderPending() && !bOrderPendingBefore) {
            const bool bLogged = WaitUnread([&] { return run.Orders().size() > run.nOrdersCounted; }, 10000);
            RC_ASSERT(bLogged);
        }
        const size_t nOrders = run.Orders().size();
        const bool bOrderWent = nOrders > run.nOrdersCounted;
        run.nOrdersCounted = nOrders;
        RC_LOG() << "  orders " << nOrders << ", checks " << s.Requests(CHECKS).size() << (bOrderWent ? ", an order went" : "")
                 << "\n";
        const std::vector<std::string> after = run.Reading();
        // The keys typed at once after a click are the clicked field's, whatever path they took.
        if (!strClickedTyped.empty()) {
            const std::string strClicked = FieldText(run.hDlg, nClicked);
            RC_LOG() << "clicked field " << nClicked << " reads '" << strClicked << "'\n";
            // A review that opened over the ticket before the click was read took the click and
            // the keys, as the screen would have: the field is left as it was.
            const size_t nField = static_cast<size_t>(std::find(std::begin(FIELDS), std::end(FIELDS), nClicked) - std::begin(FIELDS));
            if (run.nReviewsAnswered == nReviewsBefore || strClicked != before.at(nField)) {
                RC_ASSERT(strClicked == strClickedTyped);
                const bool bKeysThere = GetFocus() == GetDlgItem(run.hDlg, nClicked);
                RC_ASSERT(bKeysThere);
            } else {
                // The keys are back where they were before the review.
                const bool bKeysBack = IsChild(run.hDlg, hFocusBefore) ? GetFocus() == hFocusBefore : IsChild(run.hDlg, GetFocus()) != FALSE;
                RC_ASSERT(bKeysBack);
            }
        }
        if (step.nKind == TAKE_REPLIES || step.nKind == SUBMIT_CLICKED || step.nKind == SUBMIT_ENTER ||
            step.nKind == CLICK_TYPE || step.nKind == MODIFY_HELD) {
            // No reply changed a choice or a key, but for an untouched field of an order sent
            // emptied by its acknowledgement; no key went into a field it was not typed in.
            for (size_t i = 0; i < before.size(); ++i) {
                if (before[i] == after[i] || FIELDS[i] == nClicked)
                    continue;
                RC_LOG() << "field " << FIELDS[i] << " went from '" << before[i] << "' to '" << after[i] << "'"
                         << (run.Touched(FIELDS[i]) ? ", touched" : "") << (bOrderWent ? ", an order went" : "") << "\n";
                RC_ASSERT(after[i].empty());
                RC_ASSERT(bOrderWent || !run.Touched(FIELDS[i]));
                // What the trader typed or chose after the order's check left is the next order's.
                RC_ASSERT(!run.TouchedSinceCheck(FIELDS[i]));
                RC_ASSERT(FIELDS[i] != IDC_TICKET_MARKET && FIELDS[i] != IDC_TICKET_TYPE && FIELDS[i] != IDC_TICKET_VALIDITY &&
                          FIELDS[i] != IDC_TICKET_GOOD_TILL);
            }
        }
        if (bOrderWent)
            run.touched.clear();
        // Behind every review held open, the other terminal's order appeared and ended.
        for (const std::string& strSeen : run.behind)
            RC_LOG() << "behind the review: " << strSeen << "\n";
        RC_ASSERT(std::find(run.behind.begin(), run.behind.end(), "stale") == run.behind.end());
        run.behind.clear();
        // No change went out for an order the server had ended.
        for (const std::string& strLine : run.ChangesOfEnded())
            RC_LOG() << "a change of an ended order went out: " << strLine << "\n";
        RC_ASSERT(run.ChangesOfEnded().empty());
        // What went out is what the ticket showed at its Submit; each order is its check's.
        const std::vector<std::string> checks = s.Requests(CHECKS);
        for (; run.nChecksSeen < checks.size() && run.nChecksSeen < run.submitted.size(); ++run.nChecksSeen) {
            const std::vector<std::string> sent = OrderFields(checks[run.nChecksSeen]);
            if (!sent.empty())
                RC_ASSERT(sent == run.submitted[run.nChecksSeen]);
        }
        const std::vector<std::string> orders = run.Orders();
        for (; run.nOrdersSeen < orders.size(); ++run.nOrdersSeen) {
            const std::vector<std::string> order = OrderFields(orders[run.nOrdersSeen]);
            bool bChecked = false;
            for (const std::string& strCheck : checks)
                bChecked |= OrderFields(strCheck) == order;
            RC_ASSERT(bChecked);
        }
        // Each information line is stamped no earlier than the line above it, a line told after a
        // review as well (a time the server's message brought along is its own).
        const std::vector<INFO_LINE> lines = s.App().GetInfoTable()->GetLines();
        for (; run.nLinesTimed < lines.size(); ++run.nLinesTimed) {
            const INFO_LINE& line = lines[run.nLinesTimed];
            if (line.strTime.IsEmpty() || line.bTimeColored || line.nMachineSeconds >= 0)
                continue;
            RC_LOG() << "line " << run.nLinesTimed << " at " << static_cast<LPCSTR>(line.strTime) << ": "
                     << static_cast<LPCSTR>(line.strText) << "\n";
            const bool bPastMidnight = run.strLastTime.Left(2) == "23" && line.strTime.Left(2) == "00";
            RC_ASSERT(line.strTime.Compare(run.strLastTime) >= 0 || bPastMidnight);
            run.strLastTime = line.strTime;
        }
        // The keys are in the ticket, in a control that takes them.
        const HWND hFocus = GetFocus();
        const HWND hClient = s.App().GetMainFrame()->m_hWndMDIClient;
        if (reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, 0)) == GetParent(run.hDlg) &&
            !run.pTicket->IsReviewing()) {
            const bool bInTicket = hFocus != nullptr && (IsChild(run.hDlg, hFocus) || hFocus == run.hDlg);
            const bool bTakesKeys = bInTicket && IsWindowEnabled(hFocus) != FALSE;
            RC_ASSERT(bInTicket);
            RC_ASSERT(bTakesKeys);
        }
    }
}
// A kept sequence run on its own: a failed check tells what it saw.
void RunKept(TicketProperty& s, std::vector<STEP> steps, bool bArabic = false)
{
    try {
        RunSequence(s, std::move(steps), bArabic);
    } catch (const rc::detail::CaseResult& failure) {
        ADD_FAILURE() << failure.description;
    }
}
}  // namespace

TEST_F(TicketProperty, NoReplyChangesTheTradersOrderAndWhatGoesOutIsWhatTheTicketShows)
{
    TB_CHECK_PROPERTY(30, [this] {
        const int nLength = *rc::gen::inRange(8, 40);
        const auto steps = *rc::gen::container<std::vector<STEP>>(
            static_cast<size_t>(nLength),
            rc::gen::construct<STEP>(rc::gen::weightedOneOf<int>({{4, rc::gen::inRange(0, static_cast<int>(STEP_KINDS))},
                                                                   {1, rc::gen::just(static_cast<int>(FILL_ORDER))},
                                                                   {1, rc::gen::just(static_cast<int>(SUBMIT_NOTIFIED))},
                                                                   {1, rc::gen::just(static_cast<int>(REVIEW_HELD))},
                                                                   {2, rc::gen::just(static_cast<int>(TAKE_REPLIES))}}),
                                     rc::gen::inRange(0, 16)));
        RunSequence(*this, steps, *rc::gen::arbitrary<bool>());
    });
}

// Sequences the property found, shrunk. A review left re-enables Submit after a Reset emptied the
// ticket; Submit clicked there is refused and keeps the keys; a side then chosen disables it under
// them: the keys go back to the ticket's field.
TEST_F(TicketProperty, ASubmitDisabledUnderTheKeysGivesThemBackToTheTicket)
{
    RunKept(*this, {{TYPE_QUANTITY, 0}, {TYPE_LIMIT, 0}, {CHOOSE_TICKER, 0}, {SUBMIT_NOTIFIED, 0}, {RESET, 0}, {SUBMIT_CLICKED, 0}, {CHOOSE_SIDE, 0}});
}

// An order sent, its acknowledgement held, the quantity typed again meanwhile: the
// acknowledgement leaves it.
TEST_F(TicketProperty, AQuantityTypedWhileTheAcknowledgementIsHeldStays)
{
    RunKept(*this, {{FILL_ORDER, 0}, {SUBMIT_NOTIFIED, 1}, {TAKE_REPLIES, 1}, {TYPE_QUANTITY, 2}, {TAKE_REPLIES, 0}});
}

// An order confirmed while the replies are held (a side and a ticker chosen while its check was
// under way), a quantity typed before its acknowledgement is read: the acknowledgement empties
// the order's fields and leaves the quantity.
TEST_F(TicketProperty, AnAcknowledgementReadAfterAQuantityTypedEmptiesOnlyTheOrdersFields)
{
    RunKept(*this, {{CHOOSE_MARKET, 1}, {FILL_ORDER, 5}, {TICKET_COMMAND, 4}, {FILL_ORDER, 2}, {TYPE_QUANTITY, 1},
                    {CHOOSE_TICKER, 4}, {FILL_ORDER, 4}, {TAKE_REPLIES, 3}, {CHOOSE_SIDE, 4}, {TAKE_REPLIES, 0},
                    {SUBMIT_NOTIFIED, 5}, {CHOOSE_TICKER, 1}, {TAKE_REPLIES, 5}, {TYPE_QUANTITY, 0}});
}

// A quantity and a limit typed while the order's check is held: the review shows the order as
// submitted, OK sends it, and its acknowledgement leaves what was typed meanwhile.
TEST_F(TicketProperty, KeysTypedWhileTheCheckIsHeldStayAfterTheAcknowledgement)
{
    RunKept(*this, {{FILL_ORDER, 0}, {SUBMIT_NOTIFIED, 1}, {TYPE_QUANTITY, 2}, {TYPE_LIMIT, 1}, {TAKE_REPLIES, 0}});
}

// An order sent, the next quantity typed while its check was held, then an order command on the
// ticket: the command keeps the order begun, and the acknowledgement empties none of its fields.
TEST_F(TicketProperty, AnOrderBegunAndKeptByACommandKeepsItsSideAfterTheAcknowledgement)
{
    RunKept(*this, {{REVIEW_HELD, 0}, {TYPE_QUANTITY, 0}, {SUBMIT_NOTIFIED, 0}, {FILL_ORDER, 0}, {FILL_ORDER, 0}, {TYPE_QUANTITY, 0},
                    {TYPE_QUANTITY, 0}, {FILL_ORDER, 0}, {TAKE_REPLIES, 0}, {TAKE_REPLIES, 0}, {TYPE_QUANTITY, 0},
                    {REVIEW_HELD, 2}, {TYPE_QUANTITY, 0}, {TICKET_COMMAND, 1}});
}

// A review held open while another terminal places an order and the book fills it: the
// order-status table behind it shows both, and the order confirmed afterwards is the one
// reviewed. Then the trader's own KSE order cancelled, and a US one filled, while a change of it
// is reviewed: the rows behind show the end, the review and its form end, and no change goes out,
// confirmed or left.
TEST_F(TicketProperty, TheTablesBehindAnOpenReviewFollowTheServer)
{
    RunKept(*this, {{FILL_ORDER, 1}, {REVIEW_HELD, 1}, {TAKE_REPLIES, 0}, {MODIFY_HELD, 0}, {MODIFY_HELD, 7}, {MODIFY_HELD, 9}});
}

// Limit clicked and typed in, Quantity typed, Limit clicked again within a double click's time:
// the second press of the double click gives the keys back to Limit.
TEST_F(TicketProperty, AFieldClickedTwiceWithKeysBetweenTakesTheKeys)
{
    RunKept(*this, {{CLICK_TYPE, 3}, {TAKE_REPLIES, 0}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0},
                    {CLICK_TYPE, 3}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0}});
}

// The same in Arabic, Limit clicked again after a row's order took the keys from it: the limit
// pasted after the click is Limit's.
TEST_F(TicketProperty, ALimitPastedAfterARowsOrderIsTheLimits)
{
    RunKept(*this, {{CLICK_TYPE, 5}, {ROW_ORDER, 0}, {CLICK_TYPE, 11}}, true);
}

// A review that a late check reply opens while the trader clicks Quantity and types in it, left
// without confirming: the keys go back to Quantity, not to the ticket's first field.
TEST_F(TicketProperty, AReviewLeftWhileTheTraderTypesGivesTheKeysBackToTheFieldTypedIn)
{
    RunKept(*this, {{TYPE_QUANTITY, 0}, {REVIEW_HELD, 0}, {TYPE_QUANTITY, 0}, {TAKE_REPLIES, 0}, {FILL_ORDER, 0},
                    {SUBMIT_NOTIFIED, 0}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0}, {TYPE_QUANTITY, 0},
                    {TYPE_QUANTITY, 0}, {REVIEW_HELD, 0}, {REVIEW_HELD, 0}, {FILL_ORDER, 0}, {TYPE_QUANTITY, 0},
                    {CLICK_TYPE, 0}});
}
