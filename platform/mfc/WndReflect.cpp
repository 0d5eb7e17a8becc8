// CWnd: reflection of a parent's messages to the objects of its controls, so a control class
// (an edit that checks its own input, a list that draws its own items) keeps its behaviour in
// one place whatever dialog it sits in.
#include "platform/mfc/Wnd.h"

#include "platform/win/user/Controls.h"

static bool IsCtlColor(UINT uMsg)
{
    return uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC;
}

BOOL CWnd::OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(uMsg, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (uMsg == WM_COMMAND) {
        const UINT nCode = HIWORD(wParam);
        for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
             pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* p = pMap->pEntries; p->pfn != nullptr; ++p) {
                if (p->nMessage != WM_REFLECT_BASE + WM_COMMAND || p->nCode != nCode)
                    continue;
                // The handler's answer says whether the parent's own handler is skipped.
                if (!p->pfn(this, uMsg, wParam, lParam))
                    return FALSE;
                if (pResult != nullptr)
                    *pResult = 1;
                return TRUE;
            }
        }
        return FALSE;
    }
    const UINT uReflected = WM_REFLECT_BASE + (IsCtlColor(uMsg) ? WM_CTLCOLOR : uMsg);
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(uReflected);
    if (pEntry == nullptr)
        return FALSE;
    const LRESULT lResult = pEntry->pfn(this, uMsg, wParam, lParam);
    // A null brush leaves the colours to the parent.
    if (IsCtlColor(uMsg) && lResult == 0)
        return FALSE;
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

BOOL CWnd::SendChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    HWND hWndChild = nullptr;
    if (uMsg == WM_COMMAND || IsCtlColor(uMsg)) {
        hWndChild = reinterpret_cast<HWND>(lParam);
    } else if (uMsg == WM_DRAWITEM) {
        const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (pDraw != nullptr && pDraw->CtlType != ODT_MENU)
            hWndChild = pDraw->hwndItem;
    } else if (uMsg == WM_MEASUREITEM) {
        // The request names the control by id only.
        const auto* pMeasure = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        if (pMeasure != nullptr && pMeasure->CtlType != ODT_MENU)
            hWndChild = ::GetDlgItem(m_hWnd, static_cast<int>(pMeasure->CtlID));
    }
    // A dialog's own background request names the dialog itself.
    if (hWndChild == nullptr || hWndChild == m_hWnd)
        return FALSE;
    CWnd* pChild = FromHandlePermanent(hWndChild);
    if (pChild == nullptr)
        return FALSE;
    LRESULT lResult = 0;
    if (!pChild->OnChildNotify(uMsg, wParam, lParam, &lResult))
        return FALSE;
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}
