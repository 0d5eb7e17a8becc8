#include "account/OrderLife.h"

#include <cstdint>

namespace {
void NoteQuantity(ORDER_LIFE& life, double dQuantity, double dFilled)
{
    for (auto& [dSeen, dFirst] : life.firstCounts)
        if (dSeen == dQuantity) {
            dFirst = std::min(dFirst, dFilled);
            return;
        }
    life.firstCounts.emplace_back(dQuantity, dFilled);
}

// Two open lines of as many fills and other quantities: which stands the lines may tell later.
BOOL IsUnplaced(const ORDER_LINE_COPY& shown, double dQuantity, double dFilled, long nStatus)
{
    return shown.IsKept() && !IsEndedOrderStatus(shown.nStatus) && !IsEndedOrderStatus(nStatus) &&
           shown.dFilled == dFilled && shown.dQuantity != dQuantity;
}

// TRUE when the line tells the order as it stands now rather than the line the row shows.
BOOL IsNewer(const ORDER_LIFE& life, const ORDER_LINE& line)
{
    const ORDER_LINE_COPY& shown = life.shown;
    if (!shown.IsKept())
        return TRUE;
    if (IsEndedOrderStatus(shown.nStatus))
        return FALSE;
    if (IsEndedOrderStatus(line.nStatus))
        return TRUE;
    if (line.dFilled != shown.dFilled)
        return line.dFilled > shown.dFilled;
    // The quantity that showed first is the one a change replaced; a tie goes to the later line.
    return line.dQuantity == shown.dQuantity || life.FirstCount(line.dQuantity) >= life.FirstCount(shown.dQuantity);
}
}  // namespace

ORDER_LINE_COPY::ORDER_LINE_COPY(const CServerMessage& line, int nLineMap, double dLineQuantity, double dLineFilled,
                                 long nLineStatus)
    : nMap(nLineMap), dQuantity(dLineQuantity), dFilled(dLineFilled), nStatus(nLineStatus),
      m_strLine(line.GetRawLine()), m_nMode(line.GetMode()), m_bKept(true)
{
}

CServerMessage* ORDER_LINE_COPY::GetLine() const
{
    if (!m_bKept)
        return nullptr;
    if (m_pParsed == nullptr) {
        // The parsed line holds the text now: the kept text goes.
        const CString strLine = std::move(m_strLine);
        m_pParsed = std::make_unique<CServerMessage>(strLine, m_nMode);
    }
    return m_pParsed.get();
}

double ORDER_LIFE::FirstCount(double dQuantity) const
{
    for (const auto& [dSeen, dFirst] : firstCounts)
        if (dSeen == dQuantity)
            return dFirst;
    return -1;
}

ORDER_ROW_CHANGE TakeOrderLine(ORDER_LIFE& life, const ORDER_LINE& line)
{
    life.dLineFilled = std::max(life.dLineFilled, line.dFilled);
    NoteQuantity(life, line.dQuantity, line.dFilled);
    if (IsNewer(life, line)) {
        // A line told again leaves the kept line as unplaced as it was.
        if (IsUnplaced(life.shown, line.dQuantity, line.dFilled, line.nStatus))
            life.other = std::move(life.shown);
        else if (!IsUnplaced(life.other, line.dQuantity, line.dFilled, line.nStatus))
            life.other = ORDER_LINE_COPY();
        if (life.nEnded == 0 && IsEndedOrderStatus(line.nStatus))
            life.nEnded = line.nStatus;
        life.shown = ORDER_LINE_COPY(*line.pLine, line.nMap, line.dQuantity, line.dFilled, line.nStatus);
        return ORDER_ROW_TAKES_LINE;
    }
    if (IsUnplaced(life.shown, line.dQuantity, line.dFilled, line.nStatus))
        life.other = ORDER_LINE_COPY(*line.pLine, line.nMap, line.dQuantity, line.dFilled, line.nStatus);
    // An older line may tell that the quantity shown came first: the line kept beside it stands.
    const ORDER_LINE_COPY& other = life.other;
    if (other.IsKept() && IsUnplaced(life.shown, other.dQuantity, other.dFilled, other.nStatus) &&
        life.FirstCount(other.dQuantity) > life.FirstCount(life.shown.dQuantity)) {
        std::swap(life.shown, life.other);
        return ORDER_ROW_TAKES_KEPT;
    }
    return ORDER_ROW_KEEPS;
}

ORDER_COUNTS CountOrder(const ORDER_LIFE& life, double dQuantity, long nRowStatus)
{
    const double dFilled = life.Filled();
    const double dAtLeast = std::max(dQuantity, dFilled);
    if (life.nEnded != 0)
        return {life.nEnded, dAtLeast, 0, dFilled};
    if (dQuantity > 0 && dFilled >= dQuantity)
        return {3, dAtLeast, 0, dFilled};
    // Unfilled, it keeps the status its line gave it (waiting, open), unless that told of fills.
    const long nStatus = dFilled > 0 ? 6 : IsEndedOrderStatus(nRowStatus) || nRowStatus == 6 ? 2 : nRowStatus;
    return {nStatus, dQuantity, std::max(0.0, dQuantity - dFilled), dFilled};
}

size_t ORDER_NUMBER_HASH::operator()(std::string_view order) const noexcept
{
    // Up to 19 digits fit a 64-bit number whole.
    if (order.empty() || order.size() > 19)
        return std::hash<std::string_view>()(order);
    uint64_t nNumber = 0;
    for (char ch : order) {
        if (ch < '0' || ch > '9')
            return std::hash<std::string_view>()(order);
        nNumber = nNumber * 10 + static_cast<uint64_t>(ch - '0');
    }
    return static_cast<size_t>(nNumber);
}

ORDER_LIFE& LifeOf(ORDER_LIVES& lives, std::string_view order)
{
    const auto it = lives.find(order);
    if (it != lives.end())
        return it->second;
    return lives.try_emplace(std::string(order)).first->second;
}

std::unique_ptr<CServerMessage> COrderWaitingLines::Add(const CServerMessage& line)
{
    std::unique_ptr<CServerMessage> pGone;
    if (m_lines.size() >= m_nMax && !m_lines.empty()) {
        const std::string strOrder = m_lines.front()->GetFieldText(m_nOrderField);
        auto itOrder = m_byOrder.find(strOrder);
        if (itOrder != m_byOrder.end()) {
            itOrder->second.pop_front();
            if (itOrder->second.empty())
                m_byOrder.erase(itOrder);
        }
        pGone = std::move(m_lines.front());
        m_lines.pop_front();
    }
    m_lines.push_back(std::make_unique<CServerMessage>(line));
    m_byOrder[line.GetFieldText(m_nOrderField)].push_back(std::prev(m_lines.end()));
    return pGone;
}

std::vector<std::unique_ptr<CServerMessage>> COrderWaitingLines::Take(const std::string& strOrder)
{
    std::vector<std::unique_ptr<CServerMessage>> taken;
    auto itOrder = m_byOrder.find(strOrder);
    if (itOrder == m_byOrder.end())
        return taken;
    for (LINES::iterator it : itOrder->second) {
        taken.push_back(std::move(*it));
        m_lines.erase(it);
    }
    m_byOrder.erase(itOrder);
    return taken;
}

std::vector<std::unique_ptr<CServerMessage>> COrderWaitingLines::TakeAll()
{
    std::vector<std::unique_ptr<CServerMessage>> taken;
    for (std::unique_ptr<CServerMessage>& pLine : m_lines)
        taken.push_back(std::move(pLine));
    m_lines.clear();
    m_byOrder.clear();
    return taken;
}

std::vector<std::string> COrderWaitingLines::GetOrders() const
{
    std::vector<std::string> orders;
    for (const auto& [strOrder, lines] : m_byOrder)
        orders.push_back(strOrder);
    return orders;
}
