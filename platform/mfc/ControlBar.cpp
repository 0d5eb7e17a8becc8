// The frame's bars: the common part (creation in a frame, idle updates) and the toolbar.
// The status bar is in StatusBar.cpp.
#include "platform/mfc/ControlBar.h"

#include <algorithm>

#include "platform/mfc/FrameWnd.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/user/Cursor.h"

// ---- CControlBar ----

CControlBar::~CControlBar()
{
    // The window goes before the frame forgets the bar, so that the frame never lays out a
    // bar whose object is gone.
    DestroyWindow();
    if (m_pDockSite != nullptr) {
        auto& bars = m_pDockSite->m_listControlBars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
    }
}

BOOL CControlBar::CreateBar(LPCSTR pszClass, DWORD dwCtrlStyle, DWORD dwStyle, CWnd* pParentWnd, UINT nID)
{
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pParentWnd);
    if (pFrame == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_dwStyle = dwStyle & CBRS_ALL;
    // A frame that reads right to left has its bars run from the right.
    const DWORD dwExStyle = pFrame->GetExStyle() & (WS_EX_RTLREADING | WS_EX_LAYOUTRTL);
    const DWORD dwWndStyle = (dwStyle & 0xFFFF0000) | (dwCtrlStyle & 0xFFFF) | WS_CHILD;
    if (!CreateEx(dwExStyle, pszClass, nullptr, dwWndStyle & ~static_cast<DWORD>(CBRS_GRIPPER), CRect(0, 0, 0, 0),
                  pParentWnd, nID))
        return FALSE;
    m_pDockSite = pFrame;
    pFrame->m_listControlBars.push_back(this);
    return TRUE;
}

void CControlBar::PostNcDestroy()
{
    if (m_pDockSite != nullptr) {
        auto& bars = m_pDockSite->m_listControlBars;
        bars.erase(std::remove(bars.begin(), bars.end(), this), bars.end());
        m_pDockSite = nullptr;
    }
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle & CBRS_ALL;
}

BOOL CControlBar::EnableToolTips(BOOL bEnable)
{
    const DWORD dwOld = m_dwStyle;
    m_dwStyle = bEnable ? (m_dwStyle | CBRS_TOOLTIPS) : (m_dwStyle & ~static_cast<DWORD>(CBRS_TOOLTIPS));
    return (dwOld & CBRS_TOOLTIPS) != 0;
}

BOOL CControlBar::IsVisible() const
{
    return m_hWnd != nullptr && (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

LRESULT CControlBar::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_IDLEUPDATECMDUI) {
        // Hidden bars are not updated: nobody sees them.
        if (IsVisible() && m_pDockSite != nullptr)
            OnUpdateCmdUI(m_pDockSite, static_cast<BOOL>(wParam));
        return 0;
    }
    return CWnd::WindowProc(uMsg, wParam, lParam);
}

// ---- CToolBar ----

namespace {
// A toolbar button's item for the update of its command.
class CToolCmdUI : public CCmdUI
{
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CToolBar* pBar = static_cast<CToolBar*>(m_pOther);
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nOld = pBar->GetButtonStyle(nIndex);
        const UINT nNew = bOn ? (nOld & ~static_cast<UINT>(TBBS_DISABLED)) : (nOld | TBBS_DISABLED);
        if (nNew != nOld)
            pBar->SetButtonStyle(nIndex, nNew);
    }
    void SetCheck(int nCheck) override
    {
        CToolBar* pBar = static_cast<CToolBar*>(m_pOther);
        const int nIndex = static_cast<int>(m_nIndex);
        const UINT nOld = pBar->GetButtonStyle(nIndex);
        UINT nNew = (nOld & ~static_cast<UINT>(TBBS_CHECKED | TBBS_INDETERMINATE)) | TBBS_CHECKBOX;
        if (nCheck == 1)
            nNew |= TBBS_CHECKED;
        else if (nCheck == 2)
            nNew |= TBBS_INDETERMINATE;
        if (nNew != nOld)
            pBar->SetButtonStyle(nIndex, nNew);
    }
    void SetText(LPCSTR) override {}     // buttons show images only
};
}  // namespace

CToolBar::~CToolBar()
{
    DestroyWindow();
    if (m_hbmImageWell != nullptr)
        DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    SetBorders(rcBorders.left, rcBorders.top, rcBorders.right, rcBorders.bottom);
    // Tips need the control's tip window; CBRS_TOOLTIPS may come later through SetBarStyle.
    if (!CreateBar(TOOLBARCLASSNAMEA, dwCtrlStyle | TBSTYLE_TOOLTIPS, dwStyle, pParentWnd, nID))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    m_sizeButton = sizeButton;
    m_sizeImage = sizeImage;
    if (m_hWnd == nullptr)
        return;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    Invalidate();
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    if (m_hbmImageWell != nullptr && m_hbmImageWell != hbmImageWell)
        DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbmImageWell;
    if (m_hWnd == nullptr || hbmImageWell == nullptr)
        return hbmImageWell != nullptr;
    TBADDBITMAP add = {nullptr, reinterpret_cast<UINT_PTR>(hbmImageWell)};
    return SendMessage(TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&add)) >= 0;
}

BOOL CToolBar::LoadBitmap(LPCSTR pszResourceName)
{
    HBITMAP hBitmap = ::LoadBitmapA(nullptr, pszResourceName);
    return hBitmap != nullptr && SetBitmap(hBitmap);
}

BOOL CToolBar::LoadToolBar(LPCSTR pszResourceName)
{
    const TBTOOLBARTEMPLATE* pTemplate = TbFindToolbarTemplate(nullptr, pszResourceName);
    if (pTemplate == nullptr || !LoadBitmap(pszResourceName))
        return FALSE;
    // The buttons keep the library's margins around their images.
    SetSizes(CSize(pTemplate->cx + 7, pTemplate->cy + 7), CSize(pTemplate->cx, pTemplate->cy));
    return SetButtons(pTemplate->ids.data(), static_cast<int>(pTemplate->ids.size()));
}

BOOL CToolBar::SetButtons(const UINT* pIDArray, int nIDCount)
{
    if (m_hWnd == nullptr || nIDCount < 0)
        return FALSE;
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    int iImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON button = {};
        button.fsState = TBSTATE_ENABLED;
        if (pIDArray == nullptr || pIDArray[i] == ID_SEPARATOR) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.idCommand = static_cast<int>(pIDArray[i]);
            button.iBitmap = iImage++;
        }
        if (!SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)))
            return FALSE;
    }
    return TRUE;
}

int CToolBar::GetCount() const
{
    return m_hWnd ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return m_hWnd ? static_cast<int>(SendMessage(TB_COMMANDTOINDEX, nIDFind)) : -1;
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button = {};
    if (m_hWnd == nullptr || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & TBSTYLE_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT pRect) const
{
    if (pRect == nullptr)
        return;
    if (m_hWnd == nullptr || !SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(pRect)))
        ::SetRectEmpty(pRect);
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    TBBUTTON button = {};
    if (m_hWnd == nullptr || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button)))
        return 0;
    return MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE;
    info.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    info.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    if (m_hWnd != nullptr)
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button = {};
    if (m_hWnd == nullptr || !SendMessage(TB_GETBUTTON, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button))) {
        nID = 0;
        nStyle = 0;
        iImage = 0;
        return;
    }
    nID = static_cast<UINT>(button.idCommand);
    nStyle = MAKELONG(button.fsStyle, button.fsState ^ TBSTATE_ENABLED);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | TBIF_STATE | TBIF_IMAGE;
    info.idCommand = static_cast<int>(nID);
    info.fsStyle = static_cast<BYTE>(LOWORD(nStyle));
    info.fsState = static_cast<BYTE>(HIWORD(nStyle) ^ TBSTATE_ENABLED);
    info.iImage = iImage;
    // A separator's image is its width.
    if (info.fsStyle & TBSTYLE_SEP)
        info.iImage = iImage > 0 ? iImage : 0;
    if (m_hWnd != nullptr)
        SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

CSize CToolBar::CalcFixedLayout(BOOL, BOOL)
{
    // The control keeps a 2-pixel margin above and below its buttons.
    return CSize(32767, m_sizeButton.cy + 4 + m_cyTopBorder + m_cyBottomBorder);
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        const UINT nStyle = GetButtonStyle(static_cast<int>(state.m_nIndex));
        if (LOWORD(nStyle) & TBSTYLE_SEP)
            continue;
        state.m_nID = GetItemID(static_cast<int>(state.m_nIndex));
        // The bar's own map may answer first (a class derived from CToolBar).
        if (CWnd::OnCmdMsg(state.m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &state, nullptr))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}
