// The order tickets' option series store.
#include "orders/OptionChain.h"

#include "platform/mfc/StringArray.h"

namespace {
const int MONTH_LENGTH = 7;     // "%Y/%m"
}

BOOL COptionChain::AddReplyRow(const tagOption& option, BOOL bFirst)
{
    BOOL bEmptied = FALSE;
    if (bFirst && option.symbol != m_strUnderlying) {
        RemoveAll();
        bEmptied = TRUE;
    }
    m_strUnderlying = option.symbol;
    AddOption(option);
    return bEmptied;
}

void COptionChain::AddOption(const tagOption& option)
{
    m_series[option.expiry].Add(option);
}

void COptionChain::RemoveAll()
{
    m_series.clear();
    m_strUnderlying.Empty();
}

CString COptionChain::FindKey(LPCSTR pszText) const
{
    if (m_series.empty())
        return pszText != nullptr ? pszText : "";
    for (const auto& entry : m_series)
        if (entry.first.Find(pszText != nullptr ? pszText : "") >= 0)
            return entry.first;
    return "";
}

const COptions* COptionChain::Lookup(LPCSTR pszMonth) const
{
    const auto it = m_series.find(FindKey(pszMonth));
    return it != m_series.end() ? &it->second : nullptr;
}

void COptionChain::GetMonths(CStringArray& months) const
{
    months.RemoveAll();
    for (const auto& entry : m_series) {
        const CString strMonth = entry.first.Left(MONTH_LENGTH);
        if (months.GetSize() == 0 || months[months.GetSize() - 1] != strMonth)
            months.Add(strMonth);
    }
}

int COptionChain::GetCount() const
{
    int nCount = 0;
    for (const auto& entry : m_series)
        nCount += static_cast<int>(entry.second.GetSize());
    return nCount;
}
