#pragma once
// The terminal's information table: the framework's message log stamped with the server's
// clock, a message sink of the server's notices ("MS"), the hello reply ("VC"), market states
// ("BM") and the server's time ("TI", which tells again the times of the lines stamped before
// it with the machine's clock: one clock for every line), and the source of the toolbar's new-message indicator. The application makes
// one each time it builds its standing tables and hands it out as the information window.
#include "market/NorvInfoTable.h"

class CZorvatMessageSource;

class CZorvatInfoTable : public CNorvInfoTable
{
public:
    // Neither is owned; both outlive the table.
    CZorvatInfoTable(IInfoTableHost* pHost, CZorvatMessageSource* pSource);
    ~CZorvatInfoTable() override;

    // The window is the host's active MDI child and not minimised.
    BOOL IsWindowOpen() const override;

    CString GetTimeText() override;
    void AddTimedMessage(LPCSTR pszText, LPCSTR pszStamp, LPCSTR pszSecond, LPCSTR pszThird) override;
    void AddMessage(LPCSTR pszText, int32_t nPackedTime, LPCSTR pszSecond, LPCSTR pszThird) override;
    void AddText(LPCSTR pszText) override;

    // Docked tickers: stacked at the bottom of the window, the grid above them.
    void ArrangeTickers(int cx, int cy) override;
    void ResizeTableWindow() override;
    HWND GetTickerParent() const override;
    void OnWindowSize(CTableMDIWnd* pWindow, UINT nType, int cx, int cy) override;

    void OnMM(CServerMessage*) override {}
    void OnMS(CServerMessage* pMsg) override;
    void OnVC(CServerMessage* pMsg) override;
    void OnBM(CServerMessage* pMsg) override;
    void OnTI(CServerMessage* pMsg) override;

protected:
    int GetProvisionalSeconds() override;

private:
    // The lines stamped before the server told its time take the server's time now known.
    void RestampWithServerTime();
    void UpdateIndicator();
    // Fits the grid to cx by cy less the docked tickers, which are stacked below it.
    void FitGrid(UINT nType, int cx, int cy);

    IInfoTableHost* m_pHost;
};
