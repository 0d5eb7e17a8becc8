#pragma once
// The one-line editor a grid window lays over a cell: a child "Edit" control that filters what
// is typed by the column's data type and hands the navigation keys to its parent, so that Tab,
// Enter, Escape, page and line moves act while editing as they do on the grid. The grid window
// owns one for its whole life and shows, moves and hides it.
#include "framework/base/TBWnd.h"

class CTableEdit : public CTBWnd
{
public:
    CTableEdit() = default;

    // The control at rect in the parent's window, with the style or-ed with WS_CHILD, WS_VISIBLE
    // and ES_AUTOHSCROLL; FALSE without a parent window or when no control was made.
    BOOL Create(UINT nId, const char* pszText, const RECT& rect, CTBWnd* pParent, DWORD dwStyle, DWORD dwExStyle);

    // The column being edited: its data type code (-1 = none, every character refused) and its
    // decimals code as the cell shows (negative allows a decimal separator, -99 = a fraction).
    void SetColumnType(int nDataType, int nDecimals) { m_nDataType = nDataType; m_nDecimals = nDecimals; }
    int  GetDataType() const { return m_nDataType; }
    void SetDataType(int nDataType) { m_nDataType = nDataType; }
    int  GetDecimals() const { return m_nDecimals; }
    void SetDecimals(int nDecimals) { m_nDecimals = nDecimals; }
    BOOL GetAllowNegative() const { return m_bAllowNegative; }
    void SetAllowNegative(BOOL bAllow) { m_bAllowNegative = bAllow; }

    LRESULT WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    static constexpr int DECIMALS_FRACTION = -99;

private:
    static BOOL IsGridKey(UINT nKey);
    BOOL AcceptsChar(unsigned char ch) const;
    BOOL AcceptsNumericSign(unsigned char ch) const;

    int m_nDataType = -1;
    int m_nDecimals = 0;
    BOOL m_bAllowNegative = TRUE;
};
