#pragma once
// The exchange rates the server sends, by currency pair, and the rate of a currency against
// the user's base currency for the account tables that add up amounts of both markets.
// table[A][B] = r: one unit of A is worth r units of B, as the server sent it for A and B.
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

// The rates of one currency against others, by currency code as the server writes it.
class CRate : public CObject
{
public:
    CRate() : m_rates(10) {}
    CRate(const CRate& other) : CObject(other), m_rates(10) { *this = other; }
    CRate& operator=(const CRate& other);
    ~CRate() override = default;

    void SetAt(LPCSTR pszCurrency, double dRate) { m_rates[pszCurrency] = dRate; }
    BOOL Lookup(LPCSTR pszCurrency, double& dRate) const { return m_rates.Lookup(pszCurrency, dRate); }
    int  GetCount() const { return m_rates.GetCount(); }

private:
    CMap<CString, LPCSTR, double, double&> m_rates;
};

// What the rates need of the application: the user's base currency (".General"
// "BaseCurrency", "=KWD" unless the user chose another), read at each conversion.
struct IBaseCurrencySource
{
    virtual ~IBaseCurrencySource() = default;
    virtual CString GetBaseCurrency() const = 0;
};

class CBaseCurrConv
{
public:
    // The source is not owned; without one no rate is found.
    explicit CBaseCurrConv(const IBaseCurrencySource* pBase = nullptr) : m_pBase(pBase) {}
    void SetBaseCurrencySource(const IBaseCurrencySource* pBase) { m_pBase = pBase; }

    // Stores table[A][B]; A's other rates stay, a rate for the same pair is replaced.
    void SetCrossRate(LPCSTR pszFrom, LPCSTR pszTo, double dRate);
    // table[currency][base currency]: only a rate the server sent counts, so no inverse, no
    // chain through a third currency and no 1.0 of the base itself; 0.0 when there is none.
    double GetCrossRate(LPCSTR pszCurrency) const;

private:
    CMap<CString, LPCSTR, CRate, CRate> m_table;
    const IBaseCurrencySource* m_pBase = nullptr;      // not owned: the application
};
