#pragma once
// What the order forms send and how they acknowledge what comes back, as data: one description
// per request body (field, where its value comes from, when it is sent), one road per kind of
// order (check request, review, order request, the replies' error fields), one acknowledgement
// layout per order reply. A form reads its values once (ORDER_TICKET_SNAPSHOT) and builds every
// body from them, so nothing that changes the form after Submit changes what is sent.
//
// Numbers go on the wire as plain C-locale text: no group separators, '.' as the decimal point.
// A value that cannot stand on the request line (a '|', CR or LF, a number that is no number, a
// quantity above 2,147,483,647) refuses the whole request with a text; nothing is cut or
// saturated.
#include <vector>
#include "orders/OrderTicketSnapshot.h"
#include "platform/mfc/String.h"

class CServerMessage;

#define IDS_ORDER_NO_SIDE        40327
#define IDS_ORDER_NO_TICKER      40321
#define IDS_ORDER_NO_QUANTITY    40323
#define IDS_ORDER_NO_PRICE       40324
#define IDS_ORDER_ACKNOWLEDGED   55229
#define IDS_ORDER_FORWARD_ACK    55265
#define IDS_ORDER_MODIFIED       55230
#define IDS_ORDER_CANCELLED      55231
// Of our own: what an order's status line says happened to it (the order and its reference).
#define IDS_ORDER_ENDED_FILLED   40391
#define IDS_ORDER_ENDED_CANCELLED 40392
#define IDS_ORDER_ENDED_EXPIRED  40393
#define IDS_ORDER_ENDED          40394
enum { ORDER_STATUS_FILLED = 3, ORDER_STATUS_CANCELLED = 5, ORDER_STATUS_EXPIRED = 7 };
// Of our own: a request that never left.
#define IDS_ORDER_NOT_CONNECTED  40360
#define IDS_ORDER_BAD_TEXT       40361
#define IDS_ORDER_PRICE_DECIMALS 40440

// The order types (COrderType) that carry a limit price: limit and stop-limit; a stop price: stop
// and stop-limit.
inline bool IsLimitType(int nType)
{
    return nType == 0 || nType == 2;
}

inline bool IsStopType(int nType)
{
    return nType == 1 || nType == 2;
}

// Where a body field's value comes from.
enum ORDER_SOURCE
{
    OS_USER,            // the logged-in user's number
    OS_ACCOUNT,         // the user's account text
    OS_ONE,             // "1"
    OS_KSE_TYPE,        // the KSE market type
    OS_SIDE,            // codes "%d"
    OS_ORDER_TYPE,
    OS_VALIDITY,
    OS_FILL_RULE,
    OS_SYMBOL,          // the ticker text before the first "/", trimmed
    OS_SYMBOL_US,       // as OS_SYMBOL, but a "/" ticker stays whole on market code 1
    OS_QUANTITY,        // a whole number up to 2,147,483,647
    OS_LIMIT,           // the prices as typed, checked to be numbers
    OS_STOP,
    OS_LIMIT_TEXT,      // as OS_LIMIT and OS_STOP, but an empty field goes empty
    OS_STOP_TEXT,
    OS_DAYS,            // a whole number
    OS_GOOD_TILL,       // the good-till date in the server's form
    OS_MARKET_CODE,
    OS_UNDERLYING,
    OS_RIGHT,           // 1 or 2
    OS_STRIKE,
    OS_EXPIRY,          // the chosen month's expiry date in the server's form
    OS_EXTRA,
    OS_TICKET_FLAG,     // "1" when the ticket's flag box is clear, "0" when set
    OS_KEPT_FLAG,       // the same of the flag the last Submit kept
    OS_MARKET_MAKER,    // read as a number
    OS_TENOR,
    OS_CONTRACT_DATE,   // in the server's form
    OS_CONTRACT_NUMBER, // a whole number
    OS_PASSWORD,        // the trading password the review returned
    OS_ACTION,          // the contract action's code
    OS_MODE,            // 0 asks, 1 confirms or submits
    OS_CONTRACT_ID,     // the contract's identifier as the server gave it
    OS_STOCK_NUMBER,
    OS_SERIES,
    OS_ZERO_PRICE,      // "0.000000"
    OS_ORDER_NUMBER,    // the order a modify form changes
    OS_ODD_LOT_BOARD,   // "2", the KSE odd-lot board
    OS_MARKET_NAME,     // the market box's text
};

// When a body field is sent; otherwise it stays empty.
enum ORDER_WHEN
{
    OW_ALWAYS,
    OW_LIMIT_TYPE,      // order types 0 and 2
    OW_STOP_TYPE,       // order types 1 and 2
    OW_DATED,           // validity 1 with an order type other than 3
    OW_PRE_MARKET,
    OW_OPTION,          // the right is 1 or 2
    OW_BUY_SIDE,        // side codes 1 and 27
    OW_PRICED,          // an order type other than 3
    OW_MAKER_CHOSEN,    // a market maker is chosen
};

struct ORDER_FIELD
{
    int nField;
    int nSource;
    int nWhen;
};

struct ORDER_BODY
{
    int nType;          // the message type
    const ORDER_FIELD* pFields;
    int nFields;
};

// The values a body is built from: the snapshot, who sends it and the password of the review.
struct ORDER_VALUES
{
    const ORDER_TICKET_SNAPSHOT* pShot = nullptr;
    CString strUser;
    CString strAccount;
    CString strPassword;
    BOOL bKeptFlag = FALSE;
};

// The request line of the body from the values; 0, or the id of the text that says why it is
// refused (pLine then empty).
UINT BuildOrderRequest(const ORDER_BODY& body, const ORDER_VALUES& values, CString* pLine);

// The checks of Submit, in order: no side (40327), no ticker (40321), no quantity or 0 (40323),
// a needed price of 0 (40324). 0 when all pass; *pnFocus the control to focus, 0 for none.
UINT CheckOrderTicket(const ORDER_TICKET_SNAPSHOT& shot, int* pnFocus);

// How an order reply is acknowledged.
enum ACK_KIND
{
    ACK_ORDER,          // string 55229: reference, account, side, quantity, stock, prices
    ACK_FORWARD,        // string 55265: the forward ticket's text
    ACK_MODIFIED,       // string 55230: as ACK_ORDER
    ACK_CANCELLED,      // string 55231: the order (nReference) and the account
};

struct ORDER_ACK
{
    int nKind;
    int nError;         // the error field; its code's text, when not 0 (with the insert that follows it)
    int nReference, nAccount, nSide, nQuantity, nStock, nOrderType, nPrice, nStop, nValidity, nGoodTill;
    int nPriceDecimals; // the least a price shows with (the price rule): its market's
    // The order's number, by which its status lines and notices name it: when the reply carries
    // it, the acknowledgement names the order so too rather than by nReference. -1: none.
    int nOrder = -1;
};

// The option series of an order as the trader reads it: underlying, right, strike and expiry
// date ("ALPN Call 45.00 18/12/2026"); empty when the order is for no series.
CString OptionSeriesText(const ORDER_TICKET_SNAPSHOT& shot);

// The acknowledgement of an order reply (pszStockName: the stock's name, for the forward text;
// for the others, what the order was for when the reply's symbol alone does not say it, as an
// option's series); FALSE, and no text, when the reply carries an error. The name given is noted
// for the order (CZorvatGlobals::NoteOrderName), for the server's notices of it.
BOOL BuildAcknowledgement(const ORDER_ACK& ack, const CServerMessage& reply, LPCSTR pszStockName, CString* pText);

// The review a check reply opens.
enum ORDER_REVIEW
{
    OR_US,
    OR_KSE,
    OR_FORWARD,
    OR_CONTRACT,
    OR_NONE,            // the form shows the reply itself
    OR_ODD_LOT,
};

// One kind of order of a form: by KSE market type, what it checks with and what it sends.
struct ORDER_ROAD
{
    int nKseType;           // -1 for a US-type market
    const ORDER_BODY* pCheck;
    int nCheckError;        // the check reply's error field; its value follows it
    int nReview;            // ORDER_REVIEW
    UINT nReviewTitle;      // 0: the template's
    const ORDER_BODY* pOrder;
    const ORDER_ACK* pAck;
};

// Every road of every order form, the ticket's, the modify forms', the per-market tickets' and
// the contract and option forms', for what must hold on all of them.
std::vector<const ORDER_ROAD*> GetAllOrderRoads();

// The order ticket's roads; null for a KSE market type that sends nothing.
const ORDER_ROAD* FindTicketRoad(int nKseType);
// The road whose check or order request has that message type; null for none.
const ORDER_ROAD* FindRoadOfCheck(int nType);
const ORDER_ROAD* FindRoadOfOrder(int nType);

// The application's remembered ticket flag: written by Submit, sent with the KSE orders, and
// forgotten when the user logs off.
BOOL GetKeptTicketFlag();
void SetKeptTicketFlag(BOOL bSet);
void ForgetKeptTicketFlag();

// A modify form's roads for one market family: Modify checks with the server's preview and
// sends the change; Cancel reviews a preview built here, never sent, and sends the cancel.
struct MODIFY_ROAD
{
    BOOL bKse;
    ORDER_ROAD modify;
    ORDER_ROAD cancel;
};
// The combined modify form's roads, by family.
const MODIFY_ROAD& GetCombinedModifyRoad(BOOL bKse);
// The separate modify forms' roads: the US form (7124), the KSE regular board's (7264) and the
// odd-lot board's (7266).
extern const MODIFY_ROAD US_MODIFY_ROAD;
extern const MODIFY_ROAD KSE_MODIFY_ROAD;
extern const MODIFY_ROAD ODD_LOT_MODIFY_ROAD;

// The body's fields, each followed by "|", parsed back as a reply of the body's type: the
// review of a cancel reads it as the server's preview. FALSE, with the refusal's text id in
// *pnRefusal, when a value cannot stand on a request line.
BOOL BuildLocalPreview(const ORDER_BODY& body, const ORDER_VALUES& values, CServerMessage* pPreview, UINT* pnRefusal);
// The KSE tickets' roads: the regular board's (form 7139) and the odd-lot board's (form 7265).
extern const ORDER_ROAD KSE_TICKET_ROAD;
extern const ORDER_ROAD ODD_LOT_TICKET_ROAD;

// The body of an "RN" ticker-information request.
extern const ORDER_BODY RN_BODY;
// The body of a ticket's own "GO": the option series of its underlying.
extern const ORDER_BODY GO_BODY;

// The contract and option forms: a forward contract's details asked with "KD" (the account as
// its number in ORDER_VALUES::strAccount); an action on the contract previewed with "KL" and
// taken with "KI"; an exercise asked with "XO" mode 0 and confirmed with mode 1; an expiration
// instruction asked (mode 0) or submitted (mode 1) with "XI". Their replies carry the error in
// field 0; the forms acknowledge them themselves.
extern const ORDER_BODY KD_BODY;
extern const ORDER_ROAD CONTRACT_ACTION_ROAD;
extern const ORDER_ROAD EXERCISE_ROAD;
extern const ORDER_ROAD INSTRUCTION_ROAD;
// The US ticket's road (form 7130) and the forward ticket's (form 7287).
extern const ORDER_ROAD US_TICKET_ROAD;
extern const ORDER_ROAD FORWARD_TICKET_ROAD;
// The per-market forms' "RN": the symbol alone.
extern const ORDER_BODY RN_SYMBOL_BODY;
