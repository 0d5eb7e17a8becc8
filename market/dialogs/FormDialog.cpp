// The market forms' common body.
#include "market/dialogs/FormDialog.h"

BOOL CFormDialog::Create(LPCSTR, LPCSTR, DWORD, const RECT&, CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    return CDialog::Create(nID, pParentWnd);
}

void CFormDialog::CloseForm()
{
    HWND hFrame = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hFrame != nullptr)
        ::PostMessageA(hFrame, WM_CLOSE, 0, 0);
}
