#include "app/NorvStatusBar.h"

#include "framework/base/DrawUtils.h"
#include "platform/win/Windows.h"

#define STATUS_BAR_STYLE 0x50408210     // child, visible, tooltips, bottom
#define STATUS_UPDATE_MS 500

BEGIN_MESSAGE_MAP(CNorvStatusBar, CStatusBar)
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

HFONT MakeFont(LPCSTR pszFace, int nPoints)
{
    if (pszFace == nullptr || *pszFace == '\0' || nPoints <= 0)
        return nullptr;
    LOGFONTA lf{};
    HDC hdc = GetDC(nullptr);
    lf.lfHeight = -MulDiv(nPoints, GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, hdc);
    lf.lfWeight = FW_NORMAL;
    // The segments' texts are in the program's code page, Arabic ones included.
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, pszFace, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

}  // namespace

CNorvStatusBarTextPane::~CNorvStatusBarTextPane()
{
    for (Segment& segment : m_segments)
        if (segment.hFont != nullptr)
            DeleteObject(segment.hFont);
}

int CNorvStatusBarTextPane::AddSegment(LPCSTR pszText, COLORREF crText, LPCSTR pszFace, int nPoints)
{
    m_segments.push_back(Segment{pszText != nullptr ? pszText : "", crText, MakeFont(pszFace, nPoints)});
    Changed();
    return static_cast<int>(m_segments.size()) - 1;
}

void CNorvStatusBarTextPane::SetSegment(int nIndex, LPCSTR pszText, COLORREF crText)
{
    if (nIndex < 0 || nIndex >= static_cast<int>(m_segments.size()))
        return;
    m_segments[static_cast<size_t>(nIndex)].strText = pszText != nullptr ? pszText : "";
    m_segments[static_cast<size_t>(nIndex)].crText = crText;
    Changed();
}

CString CNorvStatusBarTextPane::GetSegmentText(int nIndex) const
{
    return nIndex >= 0 && nIndex < static_cast<int>(m_segments.size()) ? m_segments[static_cast<size_t>(nIndex)].strText
                                                                        : CString();
}

COLORREF CNorvStatusBarTextPane::GetSegmentColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < static_cast<int>(m_segments.size()) ? m_segments[static_cast<size_t>(nIndex)].crText
                                                                        : CLR_INVALID;
}

void CNorvStatusBarTextPane::Attach(CNorvStatusBar* pBar, int nIndex)
{
    m_pBar = pBar;
    m_nIndex = nIndex;
    if (m_pBar != nullptr)
        m_pBar->SetPaneStyle(nIndex, m_pBar->GetPaneStyle(nIndex) | SBPS_OWNERDRAW);
    m_bDirty = TRUE;
}

void CNorvStatusBarTextPane::Changed()
{
    m_bDirty = TRUE;
    if (m_pBar != nullptr && m_pBar->m_hWnd != nullptr) {
        m_pBar->Invalidate(TRUE);
        m_pBar->UpdateWindow();
    }
}

void CNorvStatusBarTextPane::DrawItem(LPDRAWITEMSTRUCT pDraw)
{
    if (m_segments.empty() || m_pBar == nullptr)
        return;
    HDC hdc = pDraw->hDC;
    const int nSaved = SaveDC(hdc);
    HGDIOBJ hBarFont = reinterpret_cast<HGDIOBJ>(m_pBar->SendMessage(WM_GETFONT));
    if (m_bDirty) {
        // Measured once per change: the pane takes the segments' width, the bar their height.
        int cx = 0, cyMax = 0;
        for (const Segment& segment : m_segments) {
            SelectObject(hdc, segment.hFont != nullptr ? segment.hFont : hBarFont);
            SIZE size{0, 0};
            GetTextExtentPoint32A(hdc, segment.strText, segment.strText.GetLength(), &size);
            TEXTMETRICA tm{};
            GetTextMetricsA(hdc, &tm);
            cx += size.cx;
            cyMax = std::max<int>(cyMax, size.cy + tm.tmExternalLeading);
        }
        m_bDirty = FALSE;
        UINT nId, nStyle;
        int cxOld;
        m_pBar->GetPaneInfo(m_nIndex, nId, nStyle, cxOld);
        if (cxOld != cx)
            m_pBar->SetPaneInfo(m_nIndex, nId, nStyle, cx);
        RECT rcBar;
        m_pBar->GetClientRect(&rcBar);
        if (cyMax + pDraw->rcItem.top > rcBar.bottom) {
            m_pBar->SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(cyMax + pDraw->rcItem.top));
            if (CWnd* pFrame = m_pBar->GetParent())
                pFrame->SendMessage(WM_SIZE);
        }
    }
    SetBkMode(hdc, TRANSPARENT);
    SetTextAlign(hdc, TA_UPDATECP);
    MoveToEx(hdc, pDraw->rcItem.left, pDraw->rcItem.top, nullptr);
    for (const Segment& segment : m_segments) {
        SelectObject(hdc, segment.hFont != nullptr ? segment.hFont : hBarFont);
        SetTextColor(hdc, segment.crText);
        TextOutA(hdc, 0, 0, segment.strText, segment.strText.GetLength());
    }
    RestoreDC(hdc, nSaved);
}

void CNorvStatusBarAutoResizePane::Update()
{
    if (m_pBar == nullptr || m_pBar->m_hWnd == nullptr)
        return;
    const CString strText = GetText();
    m_pBar->SetPaneText(m_nIndex, strText);
    HDC hdc = ::GetDC(m_pBar->m_hWnd);
    HGDIOBJ hOld = SelectObject(hdc, reinterpret_cast<HGDIOBJ>(m_pBar->SendMessage(WM_GETFONT)));
    SIZE size{0, 0};
    GetTextExtentPoint32A(hdc, strText, strText.GetLength(), &size);
    SelectObject(hdc, hOld);
    ::ReleaseDC(m_pBar->m_hWnd, hdc);
    UINT nId, nStyle;
    int cx;
    m_pBar->GetPaneInfo(m_nIndex, nId, nStyle, cx);
    if (cx != size.cx)
        m_pBar->SetPaneInfo(m_nIndex, nId, nStyle & ~SBPS_DISABLED, size.cx);
}

BOOL CNorvStatusBar::CreateStatusBar(CWnd* pParent)
{
    m_bCreated = CStatusBar::Create(pParent, STATUS_BAR_STYLE, AFX_IDW_STATUS_BAR);
    if (m_bCreated) {
        RebuildIndicators();
        SetTimer(STATUS_TIMER_UPDATE, STATUS_UPDATE_MS, nullptr);
    }
    return m_bCreated;
}

void CNorvStatusBar::AddPane(INorvStatusBarPane* pPane)
{
    if (!m_bCreated || pPane == nullptr) {
        delete pPane;
        return;
    }
    m_panes.emplace_back(pPane);
    RebuildIndicators();
}

INorvStatusBarPane* CNorvStatusBar::GetPane(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetPaneCount() ? m_panes[static_cast<size_t>(nIndex)].get() : nullptr;
}

void CNorvStatusBar::RebuildIndicators()
{
    m_ids.assign(1, ID_SEPARATOR);
    for (int i = 1; i <= GetPaneCount(); ++i)
        m_ids.push_back(static_cast<UINT>(STATUS_PANE_FIRST_ID + i));
    SetIndicators(m_ids.data(), static_cast<int>(m_ids.size()));
    for (int i = 1; i <= GetPaneCount(); ++i)
        m_panes[static_cast<size_t>(i - 1)]->Attach(this, i);
    UINT nId, nStyle;
    int cx;
    GetPaneInfo(0, nId, nStyle, cx);
    SetPaneInfo(0, nId, SBPS_STRETCH | SBPS_NOBORDERS, cx);
}

void CNorvStatusBar::UpdatePanes()
{
    for (auto& pPane : m_panes)
        pPane->Update();
}

void CNorvStatusBar::DrawItem(LPDRAWITEMSTRUCT pDraw)
{
    const int nIndex = static_cast<int>(pDraw->itemID);
    if (INorvStatusBarPane* pPane = GetPane(nIndex - 1))
        pPane->DrawItem(pDraw);
}

void CNorvStatusBar::OnTimer(UINT_PTR nIdEvent)
{
    if (nIdEvent == STATUS_TIMER_UPDATE)
        UpdatePanes();
}

void CNorvStatusBar::OnDestroy()
{
    KillTimer(STATUS_TIMER_UPDATE);
    CStatusBar::OnDestroy();
}
