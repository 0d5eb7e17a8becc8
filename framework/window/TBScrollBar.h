#pragma once
// The framework's scroll-bar control: a child window of the system class "ScrollBar" on the
// window base, so that its messages reach the framework's handlers. The grid owns two.
#include "framework/base/TBWnd.h"

class CTBScrollBar : public CTBWnd
{
public:
    CTBScrollBar() = default;
    ~CTBScrollBar() override;
    // SBS_ styles with the WS_ ones; FALSE when no window was made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CTBWnd* pParent, UINT nId);
};
