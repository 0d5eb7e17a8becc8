// The status bar: panes over the control's parts, laid out from their widths (the stretching
// pane takes what is left), updated through the frame's command routing while idle.
#include <algorithm>
#include <cstring>

#include "platform/mfc/ControlBar.h"
#include "platform/mfc/FrameWnd.h"

namespace {
const int PANE_PADDING = 6;     // a pane's frame and margins around its text
const int PART_GAP = 2;         // the control's gap between two parts
const int BAR_TOP = 2;          // the control's margin above its parts

// A pane's item for the update of its command.
class CStatusCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CStatusBar* pBar = static_cast<CStatusBar*>(m_pOther);
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nOld = pBar->GetPaneStyle(nIndex);
        const UINT nNew = bOn ? (nOld & ~static_cast<UINT>(SBPS_DISABLED)) : (nOld | SBPS_DISABLED);
        if (nNew != nOld)
            pBar->SetPaneStyle(nIndex, nNew);
    }
    void SetCheck(int nCheck) override
    {
        CStatusBar* pBar = static_cast<CStatusBar*>(m_pOther);
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nOld = pBar->GetPaneStyle(nIndex);
        const UINT nNew = nCheck ? (nOld | SBPS_POPOUT) : (nOld & ~static_cast<UINT>(SBPS_POPOUT));
        if (nNew != nOld)
            pBar->SetPaneStyle(nIndex, nNew);
    }
    void SetText(LPCSTR pszText) override
    {
        static_cast<CStatusBar*>(m_pOther)->SetPaneText(static_cast<int>(m_nIndex), pszText);
    }
};

int TextWidth(HWND hWnd, LPCSTR pszText)
{
    HDC hdc = ::GetDC(hWnd);
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOld = ::SelectObject(hdc, hFont ? static_cast<HGDIOBJ>(hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(hdc, pszText, static_cast<int>(std::strlen(pszText)), &size);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(hWnd, hdc);
    return size.cx;
}
}  // namespace

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CStatusBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    return CreateBar(STATUSCLASSNAMEA, dwCtrlStyle, dwStyle, pParentWnd, nID);
}

BOOL CStatusBar::SetIndicators(const UINT* pIDArray, int nIDCount)
{
    if (m_hWnd == nullptr || nIDCount < 0 || nIDCount > 255 || (pIDArray == nullptr && nIDCount > 0))
        return FALSE;
    m_panes.assign(static_cast<size_t>(nIDCount), Pane());
    BOOL bResult = TRUE;
    for (int i = 0; i < nIDCount; ++i) {
        Pane& pane = m_panes[static_cast<size_t>(i)];
        pane.nID = pIDArray[i];
        if (pane.nID == ID_SEPARATOR)
            continue;
        // An indicator's string gives its text and its width; a missing one leaves the pane empty.
        if (!pane.strText.LoadString(pane.nID))
            bResult = FALSE;
        pane.cxText = TextWidth(m_hWnd, pane.strText);
    }
    // The message pane stretches over what the others leave.
    if (!m_panes.empty() && m_panes[0].nID == ID_SEPARATOR)
        m_panes[0].nStyle = SBPS_NOBORDERS | SBPS_STRETCH;
    UpdateAllPanes(TRUE, TRUE);
    return bResult;
}

void CStatusBar::UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText)
{
    if (m_hWnd == nullptr || m_panes.empty())
        return;
    if (bUpdateRects) {
        CRect rcClient;
        GetClientRect(&rcClient);
        int nFixed = 0, nStretch = -1;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            if ((m_panes[i].nStyle & SBPS_STRETCH) && nStretch < 0)
                nStretch = static_cast<int>(i);
            else
                nFixed += m_panes[i].cxText + PANE_PADDING + PART_GAP;
        }
        std::vector<int> edges;
        int nRight = 0;
        for (size_t i = 0; i < m_panes.size(); ++i) {
            int cx = m_panes[i].cxText + PANE_PADDING;
            if (static_cast<int>(i) == nStretch)
                cx = std::max(cx, rcClient.Width() - nFixed - PART_GAP);
            nRight += cx;
            edges.push_back(nRight);
            nRight += PART_GAP;
        }
        SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (bUpdateText)
        for (size_t i = 0; i < m_panes.size(); ++i)
            SendPaneText(static_cast<int>(i));
}

void CStatusBar::SendPaneText(int nIndex)
{
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    const UINT uType = pane.nStyle & (SBT_OWNERDRAW | SBT_NOBORDERS | SBT_POPOUT);
    // A disabled pane shows nothing; an owner-drawn one gets its text as the item's data.
    LPCSTR pszText = (pane.nStyle & SBPS_DISABLED) ? "" : pane.strText.GetString();
    SendMessage(SB_SETTEXTA, static_cast<WPARAM>(nIndex) | uType, reinterpret_cast<LPARAM>(pszText));
}

int CStatusBar::CommandToIndex(UINT nIDFind) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].nID == nIDFind)
            return static_cast<int>(i);
    return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nID : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT pRect) const
{
    if (pRect == nullptr)
        return;
    if (!IsValidIndex(nIndex) || !SendMessage(SB_GETRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pRect)))
        ::SetRectEmpty(pRect);
}

CString CStatusBar::GetPaneText(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[static_cast<size_t>(nIndex)].strText : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCSTR pszNewText, BOOL bUpdate)
{
    if (!IsValidIndex(nIndex))
        return FALSE;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    const char* pszText = pszNewText ? pszNewText : "";
    // The same text again costs no drawing: idle updates set every pane twice a second.
    if (pane.strText.Compare(pszText) == 0 && !(pane.nStyle & SBPS_OWNERDRAW))
        return TRUE;
    pane.strText = pszText;
    if (bUpdate && m_hWnd != nullptr)
        SendPaneText(nIndex);
    return TRUE;
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const
{
    if (!IsValidIndex(nIndex)) {
        nID = nStyle = 0;
        cxWidth = 0;
        return;
    }
    const Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    nID = pane.nID;
    nStyle = pane.nStyle;
    cxWidth = pane.cxText;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth)
{
    if (!IsValidIndex(nIndex))
        return;
    Pane& pane = m_panes[static_cast<size_t>(nIndex)];
    const bool bLayout = pane.cxText != cxWidth || ((pane.nStyle ^ nStyle) & SBPS_STRETCH);
    pane.nID = nID;
    pane.nStyle = nStyle;
    pane.cxText = cxWidth < 0 ? 0 : cxWidth;
    UpdateAllPanes(bLayout, FALSE);
    if (m_hWnd != nullptr)
        SendPaneText(nIndex);
}

UINT CStatusBar::GetPaneStyle(int nIndex) const
{
    return IsValidIndex(nIndex) ? m_panes[static_cast<size_t>(nIndex)].nStyle : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle)
{
    if (!IsValidIndex(nIndex) || m_panes[static_cast<size_t>(nIndex)].nStyle == nStyle)
        return;
    const bool bLayout = ((m_panes[static_cast<size_t>(nIndex)].nStyle ^ nStyle) & SBPS_STRETCH) != 0;
    m_panes[static_cast<size_t>(nIndex)].nStyle = nStyle;
    UpdateAllPanes(bLayout, FALSE);
    if (m_hWnd != nullptr)
        SendPaneText(nIndex);
}

void CStatusBar::DrawItem(LPDRAWITEMSTRUCT)
{
}

BOOL CStatusBar::OnChildNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (uMsg != WM_DRAWITEM)
        return CControlBar::OnChildNotify(uMsg, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult != nullptr)
        *pResult = TRUE;
    return TRUE;
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL)
{
    int cyText = 0;
    if (m_hWnd != nullptr) {
        HDC hdc = ::GetDC(m_hWnd);
        HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        HGDIOBJ hOld = ::SelectObject(hdc, hFont ? static_cast<HGDIOBJ>(hFont) : ::GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(hdc, &tm);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(m_hWnd, hdc);
        cyText = tm.tmHeight + 4;
    }
    // Room for the taller of the text and the minimum height, the margin above the parts and the
    // frame below them.
    return CSize(32767, std::max(cyText, m_nMinHeight) + BAR_TOP + 1 + m_cyTopBorder + m_cyBottomBorder);
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL)
{
    CStatusCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(m_panes.size());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax && state.m_nIndex < m_panes.size(); ++state.m_nIndex) {
        state.m_nID = m_panes[state.m_nIndex].nID;
        // The bar's own map answers first (the panes of a class derived from CStatusBar); panes
        // are never disabled for want of a handler.
        if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, FALSE);
    }
}

LRESULT CStatusBar::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case SB_SETMINHEIGHT:
        m_nMinHeight = static_cast<int>(wParam);
        break;
    case WM_SIZE:
        UpdateAllPanes(TRUE, FALSE);
        break;
    case WM_SETTEXT:
        // The bar's text is its message pane's.
        if (CommandToIndex(ID_SEPARATOR) == 0)
            SetPaneText(0, reinterpret_cast<LPCSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        LPSTR pszOut = reinterpret_cast<LPSTR>(lParam);
        const CString strText = GetPaneText(0);
        if (pszOut == nullptr || wParam == 0)
            return 0;
        const size_t n = std::min(static_cast<size_t>(strText.GetLength()), static_cast<size_t>(wParam) - 1);
        std::memcpy(pszOut, strText.GetString(), n);
        pszOut[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return GetPaneText(0).GetLength();
    }
    return CControlBar::WindowProc(uMsg, wParam, lParam);
}
