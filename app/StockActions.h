#pragma once
// What a stock's row asks of the application beyond its tables: the order ticket, the charts
// and the company news, with the rules that enable them. The application registers its
// implementation once it has these windows; without one nothing opens and the commands stay
// disabled.
#include "platform/mfc/String.h"
#include "platform/win/WinTypes.h"

#define ORDER_MODE_BUY 1
#define ORDER_MODE_SELL 2
// A chart's kind: today's trading against the clock, or a history against the calendar.
#define CHART_KIND_HISTORY 0
#define CHART_KIND_INTRADAY 1

struct IStockActions
{
    virtual ~IStockActions() = default;
    virtual void OpenOrderTicketKSE(int nMode, LPCSTR pszStock, double dPrice, long nQuantity, long nAccount) = 0;
    virtual void OpenChart(LPCSTR pszStock, int nKind, long nMarketCode) = 0;
    virtual void OpenCompanyNews(LPCSTR pszStock, long nMarketCode) = 0;
    virtual BOOL CanEnterOrderKSE() const = 0;
    virtual BOOL CanEnterOrderUS() const = 0;
    virtual BOOL CanOpenChart(int nKind) const = 0;
    virtual BOOL CanOpenCompanyNews() const = 0;
};

// Not owned; null removes it.
void SetStockActions(IStockActions* pActions);
IStockActions* GetStockActions();

// Shows a symbol as its market is shown: its historical chart, unless the market looks its symbols
// up in the quotations (or is unknown), which opens nothing.
void GoToSymbol(LPCSTR pszSymbol, long nMarketCode);
