#pragma once
// A one-line window in which short coloured items slide in from one side, like a news crawl.
// Each new item is drawn at the end of an off-screen strip four screens wide, and a timer moves
// the window a few pixels a tick until that end shows; then the timer stops. Docked it is a child
// strip with a margin above the text; floating it is a popup with a thick frame.
//
// Direction 0: the text moves left and new items enter at the right. Direction 1 (right-to-left
// interfaces) mirrors it: items enter at the left. Positions are kept in the strip's logical
// x (growing as items arrive); StripX maps them to the bitmap.
#include <deque>

#include "platform/mfc/Wnd.h"

class CTickerWnd : public CWnd
{
public:
    // Timing that follows the line height: a taller line moves faster so that a crawl takes
    // about the same time whatever the font. A height below 1 counts as 1.
    struct Timing
    {
        UINT uIntervalMs;
        int nDefaultStep;
    };
    static Timing TimingFor(int nLineHeight);

    static constexpr int MAX_ITEMS = 15;
    static constexpr int MAX_TEXT = 254;        // longer texts are cut
    static constexpr UINT_PTR SCROLL_TIMER = 1;
    static constexpr COLORREF TEXT_COLOR = 0xFFFFFFFF;     // an item colour: the ticker's text colour

    // The window's own commands, on its context menu (menu 112 of the resources).
    enum : UINT
    {
        ID_TICKER_FONT = 32837,
        ID_TICKER_SCROLLING = 32838,
        ID_TICKER_SNAP = 32843,         // asks the main window to float or dock the ticker
        ID_TICKER_CLOSE = 32844,
        ID_TICKER_UP_COLOR = 33087,
        ID_TICKER_DOWN_COLOR = 33088,
        ID_TICKER_CHANGES = 33089,
        ID_APP_UNSNAP = 32842,          // the main window's float and dock commands
        ID_APP_SNAP = 32843,
        IDR_TICKER_MENU = 112,
    };

    CTickerWnd();
    ~CTickerWnd() override;     // clears the owner's slot

    // The owner's slot (may be null) is set to null when the window goes. FALSE when no window
    // was made.
    BOOL CreateTickerWindow(const RECT& rect, CWnd* pParent, CTickerWnd** ppOwner, BOOL bDocked, BOOL bScrolling,
                            BOOL bDirection);
    void AddItem(LPCSTR pszFirst, COLORREF crFirst, LPCSTR pszSecond, COLORREF crSecond);
    void AddText(LPCSTR pszText, COLORREF crText);
    // One line in the current font (height plus external leading; bLessInternal takes off the
    // internal leading), plus the top margin when docked; at least 1.
    int GetTextHeight(BOOL bLessInternal) const;

    virtual void Settings();
    virtual void OnCloseTicker() {}
    // A docked ticker's height changed: its frame stacks its tickers again.
    virtual void OnDockedHeightChanged() {}
    // One of the window's own commands; FALSE for another id.
    BOOL RunTickerCommand(UINT nId);
    virtual void DrawTicker(HDC hdc);
    virtual void OnDestroyWindow();
    virtual int OnCreateWindow(LPCREATESTRUCTA pCreate);
    virtual void SavePlacement();

    // The fields the settings and the item builders read and write.
    BOOL IsDocked() const { return m_bDocked; }
    BOOL IsScrolling() const { return m_bScrolling; }
    void SetScrolling(BOOL bScrolling) { m_bScrolling = bScrolling; }
    BOOL IsShowingChanges() const { return m_bShowChanges; }
    BOOL GetDirection() const { return m_bDirection; }
    COLORREF GetBackColor() const { return m_crBack; }
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetUpColor() const { return m_crUp; }
    COLORREF GetDownColor() const { return m_crDown; }
    const LOGFONTA& GetLogFont() const { return m_font; }
    // A new font or colour rebuilds the strip from the kept items.
    void SetLogFont(const LOGFONTA& font);
    void SetColors(COLORREF crText, COLORREF crBack, COLORREF crUp, COLORREF crDown);
    void SetShowChanges(BOOL bShow) { m_bShowChanges = bShow; }

    // Set when the window's own menu asks the application to float or dock it; the application
    // finds the ticker by it and clears it.
    BOOL IsCommandPending() const { return m_bCommandPending; }
    void SetCommandPending(BOOL bPending) { m_bCommandPending = bPending; }

    // State, for the frame that stacks tickers and for checks.
    int GetPosition() const { return m_nPosition; }
    int GetTarget() const { return m_nTarget; }
    int GetStep() const { return m_nStep; }
    int GetDefaultStep() const { return m_nDefaultStep; }
    UINT GetTimerInterval() const { return m_uInterval; }
    BOOL IsTimerRunning() const { return m_uTimer != 0; }
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Item i, newest first; null past the end.
    LPCSTR GetItemText(int nIndex, BOOL bSecond) const;
    int GetTopMargin() const { return m_nTopMargin; }
    int GetLineHeight() const { return m_nLineHeight; }
    int GetStripWidth() const { return m_nStripWidth; }
    // The strip's memory DC (null before the first sizing) and the bitmap x of a logical x.
    HDC GetStripDC() const { return m_hdcStrip; }
    int StripX(int nLogical, int nWidth) const;
    // The bitmap x shown at the window's left edge now.
    int VisibleStripX() const;

protected:
    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void ScrollStep();
    void ShowContextMenu(POINT ptScreen);
    void Resize(int cx, int cy);
    // The width of the text in the ticker's font.
    int MeasureText(HDC hdc, LPCSTR pszText) const;
    HFONT GetFontHandle() const { return m_hFont; }
    UINT m_uTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

private:
    struct Item
    {
        char szFirst[MAX_TEXT + 1];
        char szSecond[MAX_TEXT + 1];
        COLORREF crSecond;
        COLORREF crFirst;
    };
    void AddRecord(LPCSTR pszFirst, COLORREF crFirst, LPCSTR pszSecond, COLORREF crSecond, BOOL bTwo);
    void ShowNow();
    void RebuildStrip();
    void FreeStrip();
    void MakeFont();
    int VisibleWidth() const;

    BOOL m_bDocked = TRUE;
    LOGFONTA m_font = {};
    BOOL m_bScrolling = TRUE;
    BOOL m_bShowChanges = TRUE;
    COLORREF m_crBack = 0xFFFFFF;
    COLORREF m_crText = 0;
    COLORREF m_crUp = 0x00FF00;
    COLORREF m_crDown = 0x0000FF;
    int m_nTopMargin = 0;
    BOOL m_bCommandPending = FALSE;
    std::deque<Item> m_items;           // newest first
    HDC m_hdcStrip = nullptr;
    HBITMAP m_hbmStrip = nullptr;
    HGDIOBJ m_hbmOld = nullptr;
    HFONT m_hFont = nullptr;
    int m_nPosition = 0;
    int m_nTarget = 0;
    CTickerWnd** m_ppOwner = nullptr;
    UINT_PTR m_uTimer = 0;
    UINT m_uInterval = 50;
    int m_nScreenWidth = 0;
    int m_nStripWidth = 0;
    int m_nStep = 3;
    int m_nDefaultStep = 3;
    int m_nLineHeight = 1;
    BOOL m_bDirection = FALSE;
    int m_nBorder = 0;
};
