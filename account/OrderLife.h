#pragma once
// What the lines of one order have told so far, whatever order they came in. The server writes
// an order's line (or a reply's row of it) with the fills made before it, and may deliver its
// trades, its lines and the reply in any order. The record keeps the most fills any of them
// told, the distinct trades, the order's first end, and the line that tells the order as it
// stands now, which is the line the row shows:
// - an ended order's first ending line stands; no later line opens it again;
// - else an ending line is newer than a line of an open order, and of two open lines the one
//   counting more fills is newer;
// - at the same count, a line of the same quantity is taken as it comes; of another quantity it
//   is the change's line when that quantity first showed at more fills than the row's (the
//   quantity it replaced was there before it), and older when at fewer. Until the lines tell,
//   the later one stands, and the other is kept in case an older line comes to tell it.
// Filled is the most that a line, a reply's row or the order's distinct trades tell: a trade
// told after a reply may be one the reply counted, so it counts only past what the reply and
// the order's lines count; the order's next line tells the rest.
#include <algorithm>
#include <deque>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "link/ServerMessage.h"
#include "platform/win/WinTypes.h"

// A line of the order kept as it came, with the field map its row is filled through. It is kept
// as its text and parsed the first time its row must be filled from it again, which few orders
// ever need: a day's reply of many orders keeps no parsed lines.
struct ORDER_LINE_COPY
{
    ORDER_LINE_COPY() = default;
    ORDER_LINE_COPY(const CServerMessage& line, int nLineMap, double dLineQuantity, double dLineFilled, long nLineStatus);

    BOOL IsKept() const { return m_bKept; }
    // The line as it came, parsed on the first call; null when no line is kept.
    CServerMessage* GetLine() const;

    int nMap = 0;
    double dQuantity = 0;
    double dFilled = 0;
    long nStatus = 0;

private:
    mutable CString m_strLine;                          // the text until it is parsed
    mutable std::unique_ptr<CServerMessage> m_pParsed;  // null until read
    int m_nMode = 0;
    bool m_bKept = false;
};

struct ORDER_LIFE
{
    double dLineFilled = 0;     // the most fills one of the order's lines or reply rows counted
    double dTraded = 0;         // the order's distinct trades told (US)
    long nEnded = 0;            // the status that ended the order first; 0 while it is open
    ORDER_LINE_COPY shown;      // the newest line as far as the lines tell; the row shows it
    ORDER_LINE_COPY other;      // a line of as many fills whose quantity the lines have not placed
    std::vector<std::pair<double, double>> firstCounts;    // each quantity shown, the fewest fills counted with it

    double Filled() const { return std::max(dLineFilled, dTraded); }
    // The fewest fills a line of that quantity counted; -1 for a quantity no line showed.
    double FirstCount(double dQuantity) const;
};

// Filled, cancelled by the trader or the market, expired, refused: no line opens the order again.
inline BOOL IsEndedOrderStatus(long nStatus)
{
    return nStatus == 3 || nStatus == 4 || nStatus == 5 || nStatus == 7 || nStatus == 8;
}

// An order line or reply row as the record reads it.
struct ORDER_LINE
{
    CServerMessage* pLine;
    int nMap;               // the field map its row is filled through
    double dQuantity;
    double dFilled;
    long nStatus;
};

// What the order's row shows after a line: the record's shown line in each case.
enum ORDER_ROW_CHANGE
{
    ORDER_ROW_KEEPS,        // the line is older: the row stays
    ORDER_ROW_TAKES_LINE,   // the line is the newest
    ORDER_ROW_TAKES_KEPT,   // the line told that a line kept before is the newest
};
// Takes the line into the record.
ORDER_ROW_CHANGE TakeOrderLine(ORDER_LIFE& life, const ORDER_LINE& line);

// The order's status, quantity, open and filled quantities by its record, for an order of
// dQuantity whose row reads nRowStatus. Trades that fill its quantity show it filled; only the
// server's own line ends it for good, as a line of a larger quantity may still come. Trades past
// the quantity prove a change whose line has not come: the quantity reads at least the fills,
// every fill counted, until that line tells the order's own.
struct ORDER_COUNTS
{
    long nStatus;
    double dQuantity;
    double dOpen;
    double dFilled;
};
ORDER_COUNTS CountOrder(const ORDER_LIFE& life, double dQuantity, long nRowStatus);

// Order numbers hashed by their digits: a server numbers its orders in sequence and a reply
// lists them so, and numbers in sequence fall in neighbouring buckets. Any other text hashes as
// text. Two numbers are the same order only when their texts are the same.
struct ORDER_NUMBER_HASH
{
    using is_transparent = void;
    size_t operator()(std::string_view order) const noexcept;
};
using ORDER_LIVES = std::unordered_map<std::string, ORDER_LIFE, ORDER_NUMBER_HASH, std::equal_to<>>;
// The order's record, made when it has none.
ORDER_LIFE& LifeOf(ORDER_LIVES& lives, std::string_view order);

// Lines that wait for their order's line, found by the order's number (field nOrderField), the
// oldest first; past nMax the oldest goes.
class COrderWaitingLines
{
public:
    COrderWaitingLines(int nOrderField, size_t nMax) : m_nOrderField(nOrderField), m_nMax(nMax) {}

    // Keeps a copy of the line; the oldest line when one had to go to make room, else null.
    std::unique_ptr<CServerMessage> Add(const CServerMessage& line);
    // The order's lines, the oldest first, no longer kept.
    std::vector<std::unique_ptr<CServerMessage>> Take(const std::string& strOrder);
    // Every line, the oldest first, no longer kept.
    std::vector<std::unique_ptr<CServerMessage>> TakeAll();
    size_t GetCount() const { return m_lines.size(); }
    // The numbers of the orders whose lines wait.
    std::vector<std::string> GetOrders() const;

private:
    using LINES = std::list<std::unique_ptr<CServerMessage>>;
    int m_nOrderField;
    size_t m_nMax;
    LINES m_lines;                                                  // the oldest first
    std::unordered_map<std::string, std::deque<LINES::iterator>> m_byOrder;
};
