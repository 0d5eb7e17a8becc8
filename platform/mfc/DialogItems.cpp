// CWnd: the wrappers that reach a window's controls by id.
#include "platform/mfc/Wnd.h"

#include "platform/win/user/Dialogs.h"

void CWnd::SetDlgItemText(int nID, LPCSTR pszText)
{
    ::SetDlgItemTextA(m_hWnd, nID, pszText);
}

int CWnd::GetDlgItemText(int nID, CString& strText) const
{
    strText.Empty();
    HWND hWndCtrl = ::GetDlgItem(m_hWnd, nID);
    if (hWndCtrl == nullptr)
        return 0;
    const int nLength = ::GetWindowTextLengthA(hWndCtrl);
    if (nLength > 0) {
        ::GetWindowTextA(hWndCtrl, strText.GetBuffer(nLength), nLength + 1);
        strText.ReleaseBuffer();
    }
    return strText.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* pbTranslated, BOOL bSigned) const
{
    return ::GetDlgItemInt(m_hWnd, nID, pbTranslated, bSigned);
}

void CWnd::CheckDlgButton(int nID, UINT nCheck)
{
    ::CheckDlgButton(m_hWnd, nID, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nID) const
{
    return ::IsDlgButtonChecked(m_hWnd, nID);
}

void CWnd::CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck)
{
    ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    return ::SendDlgItemMessageA(m_hWnd, nID, uMsg, wParam, lParam);
}
