// CEnhancedComboBox: completion while typing, the check on leaving, the read-only mode and
// the colours of the box and its edit part.
#include "framework/window/EnhancedComboBox.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/SysMetrics.h"

namespace {
const int ID_COMBO_EDIT = 1001;     // the edit child every combo box with an edit part has
}

BEGIN_MESSAGE_MAP(CEnhancedComboEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CEnhancedComboEdit::CEnhancedComboEdit()
    : m_crText(GetSysColor(COLOR_WINDOWTEXT)),
      m_crBack(GetSysColor(COLOR_WINDOW)),
      m_hbrNormal(static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))),
      m_hbrReadOnly(CreateSolidBrush(RGB(255, 255, 255)))
{
}

CEnhancedComboEdit::~CEnhancedComboEdit()
{
    DeleteObject(m_hbrReadOnly);
}

HBRUSH CEnhancedComboEdit::ApplyColors(CDC* pDC) const
{
    pDC->SetTextColor(m_bReadOnly ? m_crTextReadOnly : m_crText);
    pDC->SetBkColor(m_bReadOnly ? m_crBackReadOnly : m_crBack);
    return m_bReadOnly ? m_hbrReadOnly : m_hbrNormal;
}

HBRUSH CEnhancedComboEdit::CtlColor(CDC* pDC, UINT)
{
    return ApplyColors(pDC);
}

BEGIN_MESSAGE_MAP(CEnhancedComboBox, CComboBox)
    ON_CONTROL_REFLECT(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT(CBN_KILLFOCUS, OnKillFocus)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

void CEnhancedComboBox::PreSubclassWindow()
{
    HWND hEdit = ::GetDlgItem(m_hWnd, ID_COMBO_EDIT);
    if (hEdit != nullptr && m_edit.m_hWnd == nullptr)
        m_edit.SubclassWindow(hEdit);
    CComboBox::PreSubclassWindow();
}

void CEnhancedComboBox::SetReadOnly(BOOL bReadOnly)
{
    m_edit.SetReadOnlyFlag(bReadOnly);
    if (m_edit.m_hWnd != nullptr)
        m_edit.SetReadOnly(bReadOnly);
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

BOOL CEnhancedComboBox::AcceptText(LPCSTR)
{
    return TRUE;
}

int CEnhancedComboBox::AddText(LPCSTR pszText)
{
    if (pszText == nullptr || *pszText == '\0' || !AcceptText(pszText))
        return 0;
    if (FindStringExact(-1, pszText) != CB_ERR)
        return 1;
    if (GetStyle() & CBS_SORT)
        AddString(pszText);
    else
        InsertString(0, pszText);
    return 1;
}

int CEnhancedComboBox::AddCurrentText()
{
    GetWindowText(m_strLast);
    return AddText(m_strLast);
}

void CEnhancedComboBox::OnEditUpdate()
{
    if (!m_bAutoComplete)
        return;
    CString strText;
    GetWindowText(strText);
    const DWORD dwSel = GetEditSel();
    const int nStart = LOWORD(dwSel), nEnd = HIWORD(dwSel);
    const int nLength = strText.GetLength();
    const int nCompare = m_bCaseSensitive ? m_strLast.Compare(strText) : m_strLast.CompareNoCase(strText);
    // Only characters added at the end complete: after a deletion the user wants less, not more.
    if (nLength > 0 && nStart == nEnd && nEnd == nLength && nCompare != 0 && m_strLast.GetLength() <= nLength) {
        const int nItem = FindString(-1, strText);
        if (nItem != CB_ERR) {
            CString strItem;
            GetLBText(nItem, strItem);
            SetWindowText(strItem);
            SetEditSel(nLength, -1);
        }
    }
    m_strLast = strText;
}

void CEnhancedComboBox::OnKillFocus()
{
    if (m_bAddOnLeaving)
        AddCurrentText();
    CString strText;
    GetWindowText(strText);
    HWND hParent = ::GetParent(m_hWnd);
    const int nId = GetDlgCtrlID();
    const int nItem = FindStringExact(-1, strText);
    if (nItem != CB_ERR) {
        SetCurSel(nItem);
        ::PostMessageA(hParent, WM_COMMAND, MAKEWPARAM(nId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(m_hWnd));
    }
    ::PostMessageA(hParent, WM_COMMAND, MAKEWPARAM(nId, ECBN_LEFT), reinterpret_cast<LPARAM>(m_hWnd));
}

HBRUSH CEnhancedComboBox::CtlColor(CDC* pDC, UINT)
{
    return m_edit.ApplyColors(pDC);
}

BOOL CEnhancedComboBox::SwallowsWhileReadOnly(UINT uMsg) const
{
    switch (uMsg) {
    case WM_ACTIVATE:
    case WM_SETFOCUS:
    case EM_SETSEL:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_CUT:
    case WM_PASTE:
        return TRUE;
    default:
        return uMsg >= WM_LBUTTONDOWN && uMsg <= WM_RBUTTONDBLCLK;
    }
}

LRESULT CEnhancedComboBox::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // A drop-down list has no edit part to be read-only; the box itself refuses the user.
    if (m_edit.IsReadOnly() && m_edit.m_hWnd == nullptr && SwallowsWhileReadOnly(uMsg))
        return 0;
    return CComboBox::WindowProc(uMsg, wParam, lParam);
}
