// DDX_EnhancedEdit: the input field in the class library's dialog data exchange.
#include <cstdio>

#include "framework/window/EnhancedEdit.h"
#include "platform/mfc/DataExchange.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/SysMetrics.h"

namespace {
void FailLength(CDataExchange* pDX, const char* pszFormat, LONGLONG nLength)
{
    char szText[96];
    snprintf(szText, sizeof(szText), pszFormat, nLength);
    ::MessageBoxA(pDX->m_pDlgWnd->GetSafeHwnd(), szText, nullptr, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}
}  // namespace

void DDX_EnhancedEdit(CDataExchange* pDX, int nIDC, CEnhancedEdit& rField, int nType, int nDecimals,
                      LONGLONG nMaxLength, LONGLONG nMinLength, COLORREF crText, COLORREF crBack, CString& value)
{
    if (pDX->HasFailed())
        return;
    HWND hWndItem = pDX->PrepareEditCtrl(nIDC);
    if (hWndItem == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate)
        rField.SetLengthLimits(nMaxLength, nMinLength);
    if (rField.m_hWnd == nullptr && !rField.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd->GetSafeHwnd())) {
        pDX->Fail();
        return;
    }
    const BOOL bReadOnly = (GetWindowLongA(hWndItem, GWL_STYLE) & ES_READONLY) != 0;
    rField.SetReadOnly(bReadOnly);
    rField.SetDataType(nType, nDecimals);
    rField.SetColors(crBack == EE_KEEP_COLOR ? GetSysColor(COLOR_WINDOW) : crBack,
                     crText == EE_KEEP_COLOR ? GetSysColor(COLOR_WINDOWTEXT) : crText);
    if (!pDX->m_bSaveAndValidate || bReadOnly)
        return;
    DDX_Text(pDX, nIDC, value);
    if (pDX->HasFailed() || nType != COLTYPE_STRING)
        return;
    const LONGLONG nLength = value.GetLength();
    if (nMaxLength > 0 && nLength > nMaxLength)
        FailLength(pDX, "Please enter no more than %lld characters.", nMaxLength);
    else if (nLength < nMinLength)
        FailLength(pDX, "Please enter at least %lld characters.", nMinLength);
}
