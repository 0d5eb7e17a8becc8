// The order tickets' option series store.
#include "orders/OptionChain.h"

#include "framework/base/ColumnDataType.h"
#include "link/ServerMessage.h"
#include "platform/mfc/StringArray.h"
#include "refdata/ServerDateFields.h"

namespace {
const int MONTH_LENGTH = 7;     // "%Y/%m"
const int GO_UNDERLYING = 0, GO_RIGHT = 2, GO_STRIKE = 3, GO_EXPIRY = 4;
}  // namespace

tagOption ReadOptionRow(const CServerMessage& row)
{
    const CString strDate = ConvertServerDateField(row.GetFieldText(GO_EXPIRY), COLTYPE_DATE_TEXT);
    tagOption option;
    option.symbol = row.GetFieldText(GO_UNDERLYING);
    option.right = row.GetLong(GO_RIGHT);
    option.strike = row.GetFieldText(GO_STRIKE);
    option.expiry.Format("%s/%s/%s", static_cast<LPCSTR>(strDate.Left(4)), static_cast<LPCSTR>(strDate.Mid(4, 2)),
                         static_cast<LPCSTR>(strDate.Mid(6, 2)));
    return option;
}

void COptionChain::GetStrikes(LPCSTR pszMonth, long nRight, LPCSTR pszUnderlying, CStringArray& strikes) const
{
    strikes.RemoveAll();
    const COptions* pOptions = pszMonth != nullptr && *pszMonth != '\0' ? Lookup(pszMonth) : nullptr;
    for (int i = 0; pOptions != nullptr && i < pOptions->GetSize(); ++i) {
        const tagOption& option = pOptions->GetAt(i);
        if (option.right == nRight && (pszUnderlying == nullptr || option.symbol == pszUnderlying))
            strikes.Add(option.strike);
    }
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
    // A series asked for again (the underlying typed anew) is the one held, not a second.
    COptions& options = m_series[option.expiry];
    for (int i = 0; i < options.GetSize(); ++i) {
        const tagOption& held = options.GetAt(i);
        if (held.symbol == option.symbol && held.right == option.right && held.strike == option.strike)
            return;
    }
    options.Add(option);
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
