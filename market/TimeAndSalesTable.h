#pragma once
// The US trades, made from the live quote lines ("GS") of the symbols the user follows: a line
// whose cumulative volume grew is a trade of that many shares, marked when it sets the day's
// new low or high. One of the standing tables; it sends no request.
#include <map>
#include <string>
#include <vector>
#include "market/DataTable.h"
#include "market/TimeAndSalesFeed.h"

#define IDS_TABLE_TIME_AND_SALES 51954
#define IDS_TITLE_TIME_AND_SALES 56782

enum US_TRADES_COLUMN { UTC_NUMBER = 0, UTC_TIME = 1, UTC_SYMBOL = 2, UTC_PRICE = 3, UTC_QUANTITY = 4,
                        UTC_NAME = 5, UTC_MARKET = 6, UTC_COUNT = 7 };

extern const TABLE_DESC g_timeAndSalesTable;

class CTimeAndSalesTable : public CDataTable, public ITimeAndSalesFeed
{
public:
    explicit CTimeAndSalesTable(CZorvatMessageSource* pSource) : CDataTable(g_timeAndSalesTable, pSource) {}

    // ITimeAndSalesFeed.
    void AddSymbol(LPCSTR pszSymbol) override;
    void ToggleSymbolStop(LPCSTR pszSymbol) override;
    void RemoveSymbol(LPCSTR pszSymbol) override;
    void FilterSymbol(LPCSTR pszSymbol) override;
    BOOL IsSymbolAdded(LPCSTR pszSymbol) const override;
    BOOL IsSymbolStopped(LPCSTR pszSymbol) const override;

    void OnGS(CServerMessage* pMsg) override;
    void OnCellClick(CViewRow* pRow, int nCol, int* pnHandled) override;

private:
    struct CSymbolState
    {
        double dHigh = 0.0;
        double dLow = 0.0;
        long nVolume = 0;               // cumulative, as the last quote gave it
    };
    BOOL HasRowOf(LPCSTR pszSymbol) const;
    void AddTrade(CServerMessage* pMsg, long nQuantity, int nMark);

    std::vector<std::string> m_added;   // newest first
    std::vector<std::string> m_stopped;
    std::map<std::string, CSymbolState> m_states;
    long long m_nNextTrade = 0;         // the running number of the next trade row
};
