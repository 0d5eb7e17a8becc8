#pragma once
// Placeholder interface of the grid's in-place editor until its class lands.
#include "framework/base/TBWnd.h"

class CTableEdit : public CTBWnd
{
public:
    BOOL Create(UINT nId, const char* pszText, const RECT& rect, CTBWnd* pParent, DWORD dwStyle, DWORD dwExStyle);
    void SetColumnType(int nDataType, int nDecimals) { m_nDataType = nDataType; m_nDecimals = nDecimals; }
    int  GetDataType() const { return m_nDataType; }
    int  GetDecimals() const { return m_nDecimals; }

private:
    int  m_nDataType = -1;
    int  m_nDecimals = 0;
    BOOL m_bAllowNegative = TRUE;
};
