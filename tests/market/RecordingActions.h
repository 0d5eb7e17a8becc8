#pragma once
// What a table's commands reach, as a test sees it: the application's stock actions, each call
// written down as a line ("ticket <mode> <stock> <price>", "chart <stock> <kind> <market>",
// "news <stock> <market>") with rules that answer as the test sets them, and an item's update.
#include <cstdio>
#include <string>
#include <vector>
#include "app/StockActions.h"
#include "platform/mfc/CmdUI.h"

class CRecordingActions : public IStockActions
{
public:
    void OpenOrderTicketKSE(int nMode, LPCSTR pszStock, double dPrice, long, long) override
    {
        char szCall[96];
        snprintf(szCall, sizeof(szCall), "ticket %d %s %g", nMode, pszStock, dPrice);
        calls.push_back(szCall);
    }
    void OpenChart(LPCSTR pszStock, int nKind, long nMarket) override
    {
        calls.push_back("chart " + std::string(pszStock) + " " + std::to_string(nKind) + " " + std::to_string(nMarket));
    }
    void OpenCompanyNews(LPCSTR pszStock, long nMarket) override
    {
        calls.push_back("news " + std::string(pszStock) + " " + std::to_string(nMarket));
    }
    BOOL CanEnterOrderKSE() const override { return bAllowed; }
    BOOL CanEnterOrderUS() const override { return bUsAllowed; }
    BOOL CanOpenChart(int) const override { return bAllowed; }
    BOOL CanOpenCompanyNews() const override { return bAllowed; }
    std::vector<std::string> calls;
    BOOL bAllowed = TRUE;       // every rule but the US order entry's
    BOOL bUsAllowed = TRUE;
};

// The application's actions for one scope of a test, gone again when it ends however it ends.
class CStockActionsScope
{
public:
    explicit CStockActionsScope(IStockActions* pActions) { SetStockActions(pActions); }
    ~CStockActionsScope() { SetStockActions(nullptr); }
    CStockActionsScope(const CStockActionsScope&) = delete;
    CStockActionsScope& operator=(const CStockActionsScope&) = delete;
};

class CUpdateProbe : public CCmdUI
{
public:
    void Enable(BOOL bOn) override { bEnabled = bOn; }
    void SetCheck(int nCheck) override { nChecked = nCheck; }
    BOOL bEnabled = FALSE;
    int nChecked = -1;
};
