#include "framework/window/TickerWnd.h"

#include <algorithm>
#include <cstring>

#include "framework/base/SharedGlobals.h"
#include "platform/mfc/CommonDialogs.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/SysMetrics.h"

namespace {

void CopyCut(char* pszOut, LPCSTR pszIn)
{
    size_t n = pszIn ? std::min(std::strlen(pszIn), static_cast<size_t>(CTickerWnd::MAX_TEXT)) : 0;
    if (n)
        std::memcpy(pszOut, pszIn, n);
    pszOut[n] = '\0';
}

}  // namespace

CTickerWnd::Timing CTickerWnd::TimingFor(int nLineHeight)
{
    int h = std::max(1, nLineHeight);
    Timing t;
    t.uIntervalMs = static_cast<UINT>(std::max(10, 750 / h));
    // At least one pixel, or a crawl would never reach its target and its timer never stop.
    t.nDefaultStep = std::clamp(h / 5, 1, 10);
    return t;
}

CTickerWnd::CTickerWnd()
{
    m_font.lfCharSet = 1;
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    m_bScrolling = settings.GetBool("Scrolling", TRUE);
}

CTickerWnd::~CTickerWnd()
{
    if (m_hWnd)
        DestroyWindow();
    FreeStrip();
    if (m_hFont)
        DeleteObject(m_hFont);
    if (m_ppOwner && *m_ppOwner == this)
        *m_ppOwner = nullptr;
}

BOOL CTickerWnd::CreateTickerWindow(const RECT& rect, CWnd* pParent, CTickerWnd** ppOwner, BOOL bDocked,
                                    BOOL bScrolling, BOOL bDirection)
{
    m_ppOwner = ppOwner;
    m_bDocked = bDocked;
    m_bScrolling = bScrolling;
    m_bDirection = bDirection;
    m_nTopMargin = bDocked ? 4 : 0;
    m_nScreenWidth = std::max(1, GetSystemMetrics(SM_CXFULLSCREEN));
    m_nStripWidth = 4 * m_nScreenWidth;
    m_nPosition = m_nTarget = m_nScreenWidth;
    DWORD dwStyle = bDocked ? (WS_CHILD | WS_VISIBLE) : (WS_POPUP | WS_VISIBLE | WS_BORDER | WS_SYSMENU | WS_THICKFRAME);
    if (!CreateEx(0, nullptr, "", dwStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                  pParent ? pParent->GetSafeHwnd() : nullptr, nullptr))
        return FALSE;
    RECT rc;
    GetClientRect(&rc);
    Resize(rc.right, rc.bottom);
    return TRUE;
}

void CTickerWnd::MakeFont()
{
    if (m_hFont)
        DeleteObject(m_hFont);
    m_hFont = CreateFontIndirectA(&m_font);
}

int CTickerWnd::MeasureText(HDC hdc, LPCSTR pszText) const
{
    SIZE size = {0, 0};
    if (pszText && *pszText)
        GetTextExtentPoint32A(hdc, pszText, static_cast<int>(std::strlen(pszText)), &size);
    return size.cx;
}

int CTickerWnd::GetTextHeight(BOOL bLessInternal) const
{
    HDC hdc = GetDC(nullptr);
    TEXTMETRICA tm = {};
    HGDIOBJ hOld = SelectObject(hdc, m_hFont ? m_hFont : GetStockObject(DEFAULT_GUI_FONT));
    GetTextMetricsA(hdc, &tm);
    SelectObject(hdc, hOld);
    ReleaseDC(nullptr, hdc);
    int h = tm.tmHeight + tm.tmExternalLeading - (bLessInternal ? tm.tmInternalLeading : 0);
    return std::max(1, h) + (m_bDocked ? 4 : 0);
}

int CTickerWnd::StripX(int nLogical, int nWidth) const
{
    return m_bDirection ? m_nStripWidth - nLogical - nWidth : nLogical;
}

int CTickerWnd::VisibleWidth() const
{
    RECT rc = {0, 0, 0, 0};
    if (m_hWnd)
        GetClientRect(&rc);
    return std::max(0, static_cast<int>(rc.right) - m_nBorder);
}

int CTickerWnd::VisibleStripX() const
{
    int cw = VisibleWidth();
    return StripX(m_nPosition - cw, cw);
}

LPCSTR CTickerWnd::GetItemText(int nIndex, BOOL bSecond) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    return bSecond ? m_items[static_cast<size_t>(nIndex)].szSecond : m_items[static_cast<size_t>(nIndex)].szFirst;
}

void CTickerWnd::AddItem(LPCSTR pszFirst, COLORREF crFirst, LPCSTR pszSecond, COLORREF crSecond)
{
    AddRecord(pszFirst, crFirst, pszSecond, crSecond, TRUE);
}

void CTickerWnd::AddText(LPCSTR pszText, COLORREF crText)
{
    AddRecord(pszText, crText, "", crText, FALSE);
}

void CTickerWnd::AddRecord(LPCSTR pszFirst, COLORREF crFirst, LPCSTR pszSecond, COLORREF crSecond, BOOL bTwo)
{
    Item item;
    CopyCut(item.szFirst, pszFirst);
    CopyCut(item.szSecond, pszSecond);
    item.crFirst = crFirst;
    item.crSecond = crSecond;
    m_items.push_front(item);
    if (m_items.size() > MAX_ITEMS)
        m_items.pop_back();
    if (!m_hdcStrip)
        return;

    char szSuffix[MAX_TEXT + 8] = "";
    if (bTwo)
        std::snprintf(szSuffix, sizeof(szSuffix), " %s...", item.szSecond);
    HGDIOBJ hOldFont = SelectObject(m_hdcStrip, m_hFont);
    SetBkColor(m_hdcStrip, m_crBack);
    SetBkMode(m_hdcStrip, OPAQUE);
    int wFirst = MeasureText(m_hdcStrip, item.szFirst);
    int wSuffix = MeasureText(m_hdcStrip, szSuffix);
    int w = wFirst + wSuffix;
    // The crawl speeds up when it falls behind.
    if (m_nTarget - m_nPosition > w)
        ++m_nStep;
    if (m_nTarget + w > m_nStripWidth) {
        // Everything left of the widest window is dropped at once, so that a full strip moves
        // once every few screens of items rather than at every item.
        int nShift = std::max(w, m_nPosition - m_nScreenWidth);
        int nKeep = std::max(0, m_nStripWidth - nShift);
        if (m_bDirection)
            BitBlt(m_hdcStrip, nShift, 0, nKeep, m_nLineHeight, m_hdcStrip, 0, 0, SRCCOPY);
        else
            BitBlt(m_hdcStrip, 0, 0, nKeep, m_nLineHeight, m_hdcStrip, nShift, 0, SRCCOPY);
        m_nPosition -= nShift;
        m_nTarget -= nShift;
        if (m_nPosition < m_nScreenWidth)
            m_nStep = m_nTarget - m_nPosition;
    }
    COLORREF crFirstUse = crFirst == TEXT_COLOR ? m_crText : crFirst;
    COLORREF crSecondUse = crSecond == TEXT_COLOR ? m_crText : crSecond;
    SetTextColor(m_hdcStrip, crFirstUse);
    TextOutA(m_hdcStrip, StripX(m_nTarget, w), 0, item.szFirst, static_cast<int>(std::strlen(item.szFirst)));
    SetTextColor(m_hdcStrip, crSecondUse);
    TextOutA(m_hdcStrip, StripX(m_nTarget, w) + wFirst, 0, szSuffix, static_cast<int>(std::strlen(szSuffix)));
    SelectObject(m_hdcStrip, hOldFont);
    m_nTarget += w;

    if (!m_hWnd || !IsWindowVisible()) {
        m_nPosition = m_nTarget;
        return;
    }
    if (m_uTimer == 0) {
        m_nStep = m_nDefaultStep;
        if (m_bScrolling)
            m_uTimer = SetTimer(SCROLL_TIMER, m_uInterval);
        if (m_uTimer == 0) {
            m_nPosition = m_nTarget;
            ShowNow();
        }
    }
}

void CTickerWnd::ShowNow()
{
    HDC hdc = GetDC(m_hWnd);
    if (!hdc)
        return;
    DrawTicker(hdc);
    ReleaseDC(m_hWnd, hdc);
}

void CTickerWnd::ScrollStep()
{
    HDC hdc = m_hdcStrip ? GetDC(m_hWnd) : nullptr;
    if (!hdc) {
        KillTimer(SCROLL_TIMER);
        m_uTimer = 0;
        return;
    }
    m_nStep = std::max(0, std::min(m_nStep, m_nTarget - m_nPosition));
    m_nPosition += m_nStep;
    int cw = VisibleWidth();
    int nStep = std::min(m_nStep, cw);
    if (nStep > 0) {
        RECT rcText = {m_bDirection ? 0 : m_nBorder, m_nTopMargin, m_bDirection ? cw : cw + m_nBorder,
                       m_nTopMargin + m_nLineHeight};
        ScrollWindowEx(m_hWnd, m_bDirection ? nStep : -nStep, 0, &rcText, &rcText, nullptr, nullptr, 0);
        int xStrip = StripX(m_nPosition - nStep, nStep);
        int xWindow = m_bDirection ? 0 : m_nBorder + cw - nStep;
        BitBlt(hdc, xWindow, m_nTopMargin, nStep, m_nLineHeight, m_hdcStrip, xStrip, 0, SRCCOPY);
    }
    ReleaseDC(m_hWnd, hdc);
    if (m_nPosition >= m_nTarget) {
        KillTimer(SCROLL_TIMER);
        m_uTimer = 0;
        m_nStep = m_nDefaultStep;
    }
}

void CTickerWnd::FreeStrip()
{
    if (m_hdcStrip) {
        SelectObject(m_hdcStrip, m_hbmOld);
        DeleteDC(m_hdcStrip);
        m_hdcStrip = nullptr;
    }
    if (m_hbmStrip) {
        DeleteObject(m_hbmStrip);
        m_hbmStrip = nullptr;
    }
}

void CTickerWnd::Resize(int cx, int cy)
{
    // A window wider than the screen would show parts before the strip's start.
    if (cx > m_nScreenWidth) {
        m_nScreenWidth = cx;
        m_nStripWidth = 4 * cx;
    }
    if (!m_bDocked && cy > 0 && m_font.lfHeight != cy)
        m_font.lfHeight = cy;
    if (!m_hFont || !m_bDocked)
        MakeFont();
    RebuildStrip();
}

void CTickerWnd::RebuildStrip()
{
    m_nLineHeight = std::max(1, GetTextHeight(FALSE) - (m_bDocked ? 4 : 0));
    Timing t = TimingFor(m_nLineHeight);
    m_uInterval = t.uIntervalMs;
    m_nDefaultStep = t.nDefaultStep;
    if (m_uTimer) {
        KillTimer(SCROLL_TIMER);
        m_uTimer = 0;
    }
    m_nStep = m_nDefaultStep;

    FreeStrip();
    HDC hdcScreen = GetDC(nullptr);
    m_hdcStrip = CreateCompatibleDC(hdcScreen);
    m_hbmStrip = CreateCompatibleBitmap(hdcScreen, m_nStripWidth, m_nLineHeight);
    ReleaseDC(nullptr, hdcScreen);
    if (!m_hdcStrip || !m_hbmStrip) {
        FreeStrip();
        return;
    }
    m_hbmOld = SelectObject(m_hdcStrip, m_hbmStrip);
    HBRUSH hbr = CreateSolidBrush(m_crBack);
    RECT rc = {0, 0, m_nStripWidth, m_nLineHeight};
    FillRect(m_hdcStrip, &rc, hbr);
    DeleteObject(hbr);
    m_nPosition = m_nTarget = m_nScreenWidth;

    // The kept items are drawn again, oldest first, without animation.
    BOOL bLocked = m_hWnd ? LockWindowUpdate() : FALSE;
    std::deque<Item> items;
    items.swap(m_items);
    BOOL bScrolling = m_bScrolling;
    m_bScrolling = FALSE;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->szSecond[0])
            AddItem(it->szFirst, it->crFirst, it->szSecond, it->crSecond);
        else
            AddText(it->szFirst, it->crFirst);
    }
    m_bScrolling = bScrolling;
    if (bLocked)
        UnlockWindowUpdate();
    if (m_hWnd)
        Invalidate(FALSE);
}

void CTickerWnd::SetLogFont(const LOGFONTA& font)
{
    m_font = font;
    MakeFont();
    if (m_hWnd)
        RebuildStrip();
}

void CTickerWnd::SetColors(COLORREF crText, COLORREF crBack, COLORREF crUp, COLORREF crDown)
{
    m_crText = crText;
    m_crBack = crBack;
    m_crUp = crUp;
    m_crDown = crDown;
    if (m_hWnd)
        RebuildStrip();
}

void CTickerWnd::DrawTicker(HDC hdc)
{
    RECT rc;
    GetClientRect(&rc);
    if (m_bDocked) {
        RECT rcTop = {0, 0, rc.right, m_nTopMargin};
        FillRect(hdc, &rcTop, GetSysColorBrush(COLOR_INACTIVEBORDER));
    }
    if (!m_hdcStrip)
        return;
    int cw = VisibleWidth();
    BitBlt(hdc, m_bDirection ? 0 : m_nBorder, m_nTopMargin, cw, m_nLineHeight, m_hdcStrip, VisibleStripX(), 0,
           SRCCOPY);
}

void CTickerWnd::Settings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.WriteBool("SnapTicker", m_bDocked);
    settings.WriteFontRecord("Font", m_font);
    settings.WriteBool("Scrolling", m_bScrolling);
    settings.WriteLong("TxtColor", static_cast<LONG>(m_crText));
    settings.WriteLong("BkColor", static_cast<LONG>(m_crBack));
    if (!m_bDocked)
        SavePlacement();
}

void CTickerWnd::SavePlacement()
{
    if (!m_hWnd)
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(&wp);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.WriteWindowPlacement("WinPlace", &wp);
}

void CTickerWnd::OnDestroyWindow()
{
    if (!m_bDocked)
        SavePlacement();
}

int CTickerWnd::OnCreateWindow(LPCREATESTRUCTA /*pCreate*/)
{
    return static_cast<int>(Default());
}

BOOL CTickerWnd::RunTickerCommand(UINT nId)
{
    switch (nId) {
    case ID_TICKER_FONT: {
        CFontDialog dlg(&m_font, CF_SCREENFONTS | CF_SCALABLEONLY | CF_FORCEFONTEXIST, nullptr, this);
        if (dlg.DoModal() != IDOK)
            return TRUE;
        LOGFONTA font;
        dlg.GetCurrentFont(&font);
        SetLogFont(font);
        if (m_bDocked) {
            OnDockedHeightChanged();
        } else {
            RECT rc;
            GetWindowRect(&rc);
            int cy = GetTextHeight(FALSE) + 2 * GetSystemMetrics(SM_CYEDGE);
            SetWindowPos(nullptr, rc.left, rc.top, rc.right - rc.left, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        Settings();
        return TRUE;
    }
    case ID_TICKER_SCROLLING:
        m_bScrolling = !m_bScrolling;
        return TRUE;
    case ID_TICKER_UP_COLOR:
    case ID_TICKER_DOWN_COLOR: {
        COLORREF& cr = nId == ID_TICKER_UP_COLOR ? m_crUp : m_crDown;
        CColorDialog dlg(cr, CC_SOLIDCOLOR, this);
        if (dlg.DoModal() == IDOK)
            cr = dlg.GetColor();
        return TRUE;
    }
    case ID_TICKER_CHANGES:
        m_bShowChanges = !m_bShowChanges;
        return TRUE;
    case ID_TICKER_SNAP: {
        // The main window removes and remakes this ticker: it hears of it once this message is done.
        m_bCommandPending = TRUE;
        HWND hMain = ::GetAncestor(m_hWnd, GA_ROOTOWNER);
        if (hMain != nullptr && hMain != m_hWnd)
            ::PostMessageA(hMain, WM_COMMAND, m_bDocked ? ID_APP_UNSNAP : ID_APP_SNAP, 0);
        return TRUE;
    }
    case ID_TICKER_CLOSE:
        OnCloseTicker();
        return TRUE;
    default:
        return FALSE;
    }
}

void CTickerWnd::ShowContextMenu(POINT ptScreen)
{
    HMENU hBar = LoadMenuA(TbGetResourceModule(), MAKEINTRESOURCEA(IDR_TICKER_MENU));
    HMENU hMenu = hBar != nullptr ? GetSubMenu(hBar, 0) : nullptr;
    if (hMenu != nullptr) {
        CheckMenuItem(hMenu, ID_TICKER_SCROLLING, MF_BYCOMMAND | (m_bScrolling ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(hMenu, ID_TICKER_SNAP, MF_BYCOMMAND | (m_bDocked ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(hMenu, ID_TICKER_CHANGES, MF_BYCOMMAND | (m_bShowChanges ? MF_CHECKED : MF_UNCHECKED));
        TrackPopupMenu(hMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, ptScreen.x, ptScreen.y, 0, m_hWnd, nullptr);
    }
    if (hBar != nullptr)
        DestroyMenu(hBar);
}

LRESULT CTickerWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    switch (uMsg) {
    case WM_COMMAND:
        if (RunTickerCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_RBUTTONDOWN: {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(&pt);
        ShowContextMenu(pt);
        return 0;
    }
    case WM_NCRBUTTONDOWN: {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ShowContextMenu(pt);
        return 0;
    }
    case WM_CREATE:
        return OnCreateWindow(reinterpret_cast<LPCREATESTRUCTA>(lParam));
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(m_hWnd, &ps);
        if (hdc)
            DrawTicker(hdc);
        EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_TIMER:
        if (wParam == SCROLL_TIMER) {
            ScrollStep();
            return 0;
        }
        break;
    case WM_SIZE:
        Resize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_NCHITTEST: {
        LRESULT nHit = CWnd::WindowProc(uMsg, wParam, lParam);
        return (!m_bDocked && nHit == HTCLIENT) ? HTCAPTION : nHit;
    }
    case WM_DESTROY:
        if (m_uTimer) {
            KillTimer(SCROLL_TIMER);
            m_uTimer = 0;
        }
        OnDestroyWindow();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(uMsg, wParam, lParam);
}
