#include "refdata/CurrencyRates.h"

CRate& CRate::operator=(const CRate& other)
{
    if (&other == this)
        return *this;
    m_rates.RemoveAll();
    POSITION pos = other.m_rates.GetStartPosition();
    while (pos != nullptr) {
        CString strCurrency;
        double dRate = 0.0;
        other.m_rates.GetNextAssoc(pos, strCurrency, dRate);
        m_rates[strCurrency] = dRate;
    }
    return *this;
}

void CBaseCurrConv::SetCrossRate(LPCSTR pszFrom, LPCSTR pszTo, double dRate)
{
    if (pszFrom == nullptr || pszTo == nullptr)
        return;
    CRate rates;
    m_table.Lookup(pszFrom, rates);
    rates.SetAt(pszTo, dRate);
    m_table[pszFrom] = rates;
}

double CBaseCurrConv::GetCrossRate(LPCSTR pszCurrency) const
{
    if (pszCurrency == nullptr || m_pBase == nullptr)
        return 0.0;
    const CString strBase = m_pBase->GetBaseCurrency();
    CRate rates;
    double dRate = 0.0;
    if (!m_table.Lookup(pszCurrency, rates) || !rates.Lookup(strBase, dRate))
        return 0.0;
    return dRate;
}
