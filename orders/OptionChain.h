#pragma once
// The option series an order ticket offers: the rows of the option chain's "GO" replies, by
// expiry date. A reply for the underlying already held adds to what is held (the chain asks
// for each right in turn); one for another underlying replaces it.
#include <map>
#include "platform/mfc/Array.h"
#include "platform/mfc/String.h"
#include "platform/mfc/StringArray.h"

struct tagOption
{
    CString symbol;             // the underlying
    long right = 0;             // COptionRight code: 1 call, 2 put
    CString strike;
    CString expiry;             // "%Y/%m/%d"
};

typedef CArray<tagOption, const tagOption&> COptions;

class CServerMessage;

// A "GO" row: 0 underlying, 2 right, 3 strike, 4 expiry (a server date).
tagOption ReadOptionRow(const CServerMessage& row);

class COptionChain
{
public:
    // A row of a reply; bFirst for its first row, which decides whether the store is kept.
    // TRUE when the store was emptied first (another underlying).
    BOOL AddReplyRow(const tagOption& option, BOOL bFirst);
    // Appends the option to its expiry's series, unless that series holds it already.
    void AddOption(const tagOption& option);
    void RemoveAll();

    // The first key, in date order, that contains the text; "" when none does; the text itself
    // while the store is empty.
    CString FindKey(LPCSTR pszText) const;
    // The series of the key FindKey gives; null when there is none.
    const COptions* Lookup(LPCSTR pszMonth) const;
    // The months "%Y/%m" of every expiry held, in date order, each once.
    void GetMonths(CStringArray& months) const;
    // The strikes of the month's series of that right, in the order received; of the
    // underlying only when one is given.
    void GetStrikes(LPCSTR pszMonth, long nRight, LPCSTR pszUnderlying, CStringArray& strikes) const;

    const CString& GetUnderlying() const { return m_strUnderlying; }
    int GetCount() const;
    int GetExpiryCount() const { return static_cast<int>(m_series.size()); }

private:
    std::map<CString, COptions> m_series;   // by expiry date; dates in this form sort by time
    CString m_strUnderlying;                // of the rows held
};
