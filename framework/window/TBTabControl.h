#pragma once
// The framework's own-drawn tab strip, window class "NorvTabControlCtl", so that dialog templates
// can place it. Up to ten text tabs in one scrolling row (two arrow buttons that repeat while
// held) or, with TCS_NORV_MULTIROW, in several rows that rotate so that the current row touches
// the page. The object belongs to its window: it deletes itself when the window is destroyed.
//
// Right to left (the window's WS_EX_LAYOUTRTL or WS_EX_RTLREADING, or the application's
// right-to-left language) mirrors the strip: the first tab at the right, tabs running leftwards,
// the arrows at the left and Left stepping to the next tab.
//
// The parent hears of a change twice: before it, TBTN_QUERYCHANGE (wParam the tab asked for,
// lParam the control's window) whose non-zero answer vetoes it; after it, WM_COMMAND with the
// control id and TBTN_SELCHANGE, lParam the control's window.
#include "framework/base/TBString.h"
#include "framework/base/TBWnd.h"
#include "framework/base/OwnedPtrArray.h"

#define TB_TABCONTROL_CLASS "NorvTabControlCtl"
#define TCS_NORV_MULTIROW   0x0200L     // window style: several rows instead of one scrolling row
#define TBTN_QUERYCHANGE    0x0375      // message 885 to the parent
#define TBTN_SELCHANGE      2           // WM_COMMAND notification code

// Registers the window class in the application's module, with its labels' translator for the
// dictionaries; TRUE also when it is there already.
BOOL RegisterTabControlClass();

// The five arrow images side by side in bitmap 114 of the application's module.
enum TabArrowImage { TAB_ARROWS_BOTH = 0, TAB_ARROWS_LEFT_PRESSED, TAB_ARROWS_LEFT_OFF, TAB_ARROWS_RIGHT_PRESSED,
                     TAB_ARROWS_RIGHT_OFF };

class CTBTabControl : public CTBWnd
{
public:
    CTBTabControl();
    ~CTBTabControl() override;

    // Tabs. Before the window exists AddItem returns the new index (-1 when ten exist); once it
    // exists, TRUE or FALSE, and the strip is laid out again and repainted.
    int  AddItem(const char* pszText);
    BOOL DeleteItem(int nIndex);            // FALSE for an index out of range
    int  GetItemCount() const { return m_items.GetSize(); }
    // "" and FALSE for an index out of range. A new label lays the strip out again.
    const char* GetItemText(int nIndex) const;
    BOOL SetItemText(int nIndex, const char* pszText);
    int  GetCurSel() const { return m_nCurrent; }
    int  GetFirstVisible() const { return m_nFirstVisible; }
    // Asks the parent first; FALSE on a veto or an index out of range.
    BOOL SelectTab(int nIndex);
    void EnsureVisible(int nIndex);

    // Geometry, in client coordinates; an empty rectangle for a tab out of view.
    RECT GetItemRect(int nIndex) const;
    BOOL IsItemFullyVisible(int nIndex) const;
    int  GetStripHeight() const { return m_nStripHeight; }
    RECT GetArrowRect() const { return m_rcArrows; }
    BOOL AreArrowsShown() const;
    // TAB_HIT_LEFT or TAB_HIT_RIGHT on a shown arrow, else the tab under the point or -1.
    int  HitTest(int x, int y) const;
    // The arrow image shown now (TabArrowImage), whether or not the arrows are shown.
    int  GetArrowImage() const;

    static constexpr int MAX_TABS = 10;
    static constexpr int TAB_HIT_LEFT = -5;
    static constexpr int TAB_HIT_RIGHT = -6;
    static constexpr int TAB_NO_ARROW = -7;
    static constexpr UINT_PTR REPEAT_TIMER = 15;
    static constexpr UINT REPEAT_MS = 500;

protected:
    void OnNcDestroy() override;
    int  OnCreate(LPCREATESTRUCTA pCreate) override;
    BOOL OnEraseBkgnd(HDC hdc) override;
    void OnSetFocus(CTBWnd* pOldWnd) override;
    void OnKillFocus(CTBWnd* pNewWnd) override;
    void OnPaint() override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnKeyDown(UINT nKey, UINT nRepeat, UINT nFlags) override;
    void OnLButtonDown(UINT nKeys, int x, int y) override;
    void OnLButtonUp(UINT nKeys, int x, int y) override;
    void OnMouseMove(UINT nKeys, int x, int y) override;
    void OnTimer(UINT_PTR nIdEvent) override;
    UINT OnGetDlgCode() override;

private:
    struct CTabItem
    {
        CTBString strText;
        RECT rc = {};
        RECT rcPrev = {};       // where it was painted, so that only moved tabs repaint
        int nWidth = -1;        // text width + 16, -1 until measured
    };

    BOOL IsMultiRow() const;
    BOOL IsRightToLeft() const;
    void MirrorItems();                     // left-to-right rectangles to right-to-left ones
    // The scrolling direction of an arrow: the one towards the later tabs moves on (+1).
    int  ArrowDirection(int nHit) const;
    void Layout();                          // the mode's layout from the current state
    // Tabs added or deleted can change the number of rows: the window follows the strip.
    void FitHeight();
    void LayoutRow(int nFirst);
    void LayoutRows(int nCurrent);
    void MeasureItems();
    int  GetLetterHeight();
    int  GetUsableRight() const;
    BOOL CanScroll(int nDirection) const;
    void Scroll(int nDirection);
    void InvalidateItem(int nIndex);
    void InvalidateMoved();
    void DrawItem(HDC hdc, int nIndex, BOOL bCurrent);
    void DrawBaseLine(HDC hdc, int cxClient);
    void DrawArrows(HDC hdc);
    HBRUSH GetBackgroundBrush(HDC hdc);
    static HBITMAP GetArrowBitmap();

    CTBOwnedPtrArray<CTabItem> m_items;
    RECT m_rcArrows = {};
    BOOL m_bInLayout = FALSE;
    int  m_nStripHeight = 0;
    HFONT m_hFontCurrent = nullptr;         // owned, like the other one; null: the DC's font
    HFONT m_hFontOther = nullptr;
    int  m_nCurrent = 0;
    int  m_nFirstVisible = 0;               // single row only
    int  m_nPressed = TAB_NO_ARROW;
    BOOL m_bPointerOutside = FALSE;         // the pointer left the pressed arrow
};

