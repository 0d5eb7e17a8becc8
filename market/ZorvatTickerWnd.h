#pragma once
// The terminal's scrolling ticker: the framework's ticker window with a name and a number. Each
// ticker keeps its settings under its number in section "Ticker", shows its name in a label box
// at one end of the strip, and takes the quotation tables' items under its name (TickerFeed.h).
#include "app/Tickers.h"
#include "framework/window/TickerWnd.h"
#include "market/TickerFeed.h"

class CZorvatTickerWnd : public CTickerWnd, public ITickerFeed
{
public:
    CZorvatTickerWnd() = default;
    ~CZorvatTickerWnd() override;

    // Keeps the number and the name, then creates the window. FALSE when no window was made.
    BOOL CreateTicker(const RECT& rect, CWnd* pParent, CTickerWnd** ppOwner, BOOL bDocked, BOOL bScrolling,
                      int nNumber, BOOL bDirection, LPCSTR pszName);
    void LoadSettings();
    void Settings() override;
    void SavePlacement() override;
    void OnCloseTicker() override;
    void OnDockedHeightChanged() override;
    void DrawTicker(HDC hdc) override;
    int OnCreateWindow(LPCREATESTRUCTA pCreate) override;

    const CString& GetName() const { return m_strName; }
    int GetNumber() const { return m_nNumber; }
    // The label box in client coordinates.
    RECT GetLabelRect() const;

    // ITickerFeed.
    void AddItem(LPCSTR pszLabel, COLORREF crLabel, LPCSTR pszText, COLORREF crText) override;
    COLORREF GetTextColor() const override { return CTickerWnd::GetTextColor(); }
    COLORREF GetUpColor() const override { return CTickerWnd::GetUpColor(); }
    COLORREF GetDownColor() const override { return CTickerWnd::GetDownColor(); }
    BOOL IsShowingChanges() const override { return CTickerWnd::IsShowingChanges(); }

    // The application's maker (app/Tickers.h).
    static CTickerWnd* Make(const TICKER_PLACE& place);

protected:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

private:
    CString Key(LPCSTR pszWord) const;
    int LabelWidth(HDC hdc) const;

    CString m_strName;
    int m_nNumber = 0;
    BOOL m_bRegistered = FALSE;
};
