#include "market/ZorvatTickerWnd.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/InfoTable.h"
#include "app/NorvApp.h"
#include "app/DataTable.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/user/SysMetrics.h"

#define IDS_TABLE_INFO_WINDOW 50001

namespace {

// The live tickers, so that docked ones stacked in a frame show labels of one width.
std::vector<CZorvatTickerWnd*>& LiveTickers()
{
    static std::vector<CZorvatTickerWnd*> tickers;
    return tickers;
}

// Colours are kept as longs.
COLORREF ReadColor(const CString& strKey, COLORREF crDefault)
{
    return static_cast<COLORREF>(GetSharedGlobals()->m_settings.GetLong(static_cast<LPCSTR>(strKey),
                                                                        static_cast<LONG>(crDefault)));
}

void WriteColor(const CString& strKey, COLORREF cr)
{
    GetSharedGlobals()->m_settings.WriteLong(static_cast<LPCSTR>(strKey), static_cast<LONG>(cr));
}

}  // namespace

CTickerWnd* CZorvatTickerWnd::Make(const TICKER_PLACE& place)
{
    auto* pTicker = new CZorvatTickerWnd;
    if (!pTicker->CreateTicker(place.rect, place.pParent, place.ppSlot, place.bDocked, TRUE, place.nNumber,
                               place.bDirection, place.pszName)) {
        delete pTicker;
        return nullptr;
    }
    return pTicker;
}

CZorvatTickerWnd::~CZorvatTickerWnd()
{
    if (m_bRegistered && FindTickerFeed(m_strName) == this)
        RegisterTickerFeed(m_strName, nullptr);
    auto& live = LiveTickers();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (m_hWnd)
        DestroyWindow();
}

BOOL CZorvatTickerWnd::CreateTicker(const RECT& rect, CWnd* pParent, CTickerWnd** ppOwner, BOOL bDocked,
                                    BOOL bScrolling, int nNumber, BOOL bDirection, LPCSTR pszName)
{
    m_nNumber = nNumber;
    m_strName = pszName ? pszName : "";
    if (!CreateTickerWindow(rect, pParent, ppOwner, bDocked, bScrolling, bDirection))
        return FALSE;
    LiveTickers().push_back(this);
    RegisterTickerFeed(m_strName, this);
    m_bRegistered = TRUE;
    Invalidate(FALSE);
    return TRUE;
}

CString CZorvatTickerWnd::Key(LPCSTR pszWord) const
{
    CString strKey;
    strKey.Format("%s%d", pszWord, m_nNumber);
    return strKey;
}

void CZorvatTickerWnd::LoadSettings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    LOGFONTA font = GetLogFont();
    LOGFONTA current = font;
    settings.GetLogFont(&font, static_cast<LPCSTR>(Key("Font")), &current);
    SetScrolling(settings.GetBool(static_cast<LPCSTR>(Key("Scrolling")), IsScrolling()));
    COLORREF crText = ReadColor(Key("TxtColor"), CTickerWnd::GetTextColor());
    COLORREF crBack = ReadColor(Key("BkColor"), GetBackColor());
    COLORREF crUp = ReadColor(Key("UpColor"), 0x00FF00);
    COLORREF crDown = ReadColor(Key("DownColor"), 0x0000FF);
    SetShowChanges(settings.GetBool(static_cast<LPCSTR>(Key("Changes")), TRUE));
    SetLogFont(font);
    SetColors(crText, crBack, crUp, crDown);
}

void CZorvatTickerWnd::Settings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.WriteBool(static_cast<LPCSTR>(Key("SnapTicker")), IsDocked());
    settings.WriteFontRecord(static_cast<LPCSTR>(Key("Font")), GetLogFont());
    settings.WriteBool(static_cast<LPCSTR>(Key("Scrolling")), IsScrolling());
    WriteColor(Key("TxtColor"), CTickerWnd::GetTextColor());
    WriteColor(Key("BkColor"), GetBackColor());
    WriteColor(Key("UpColor"), GetUpColor());
    WriteColor(Key("DownColor"), GetDownColor());
    settings.WriteBool(static_cast<LPCSTR>(Key("Changes")), IsShowingChanges());
    if (!IsDocked())
        SavePlacement();
}

void CZorvatTickerWnd::SavePlacement()
{
    if (!m_hWnd)
        return;
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof(wp);
    GetWindowPlacement(&wp);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection("Ticker");
    settings.WriteWindowPlacement(static_cast<LPCSTR>(Key("WinPlace")), &wp);
}

void CZorvatTickerWnd::OnCloseTicker()
{
    CloseTicker(this);
}

void CZorvatTickerWnd::OnDockedHeightChanged()
{
    CNorvApp* pApp = CNorvApp::Get();
    IDataTable* pTable = pApp != nullptr ? pApp->FindTable(IDS_TABLE_INFO_WINDOW) : nullptr;
    if (auto* pInfo = dynamic_cast<IInfoTable*>(pTable))
        pInfo->ResizeTableWindow();
}

int CZorvatTickerWnd::OnCreateWindow(LPCREATESTRUCTA pCreate)
{
    if (CTickerWnd::OnCreateWindow(pCreate) == -1)
        return -1;
    LoadSettings();
    return 0;
}

void CZorvatTickerWnd::AddItem(LPCSTR pszLabel, COLORREF crLabel, LPCSTR pszText, COLORREF crText)
{
    CTickerWnd::AddItem(pszLabel, crLabel, pszText, crText);
}

int CZorvatTickerWnd::LabelWidth(HDC hdc) const
{
    HGDIOBJ hOld = SelectObject(hdc, GetFontHandle());
    int nWidth = MeasureText(hdc, m_strName);
    if (IsDocked()) {
        for (const CZorvatTickerWnd* pTicker : LiveTickers())
            if (pTicker->IsDocked())
                nWidth = std::max(nWidth, MeasureText(hdc, pTicker->m_strName));
    }
    SelectObject(hdc, hOld);
    return nWidth + 8;
}

RECT CZorvatTickerWnd::GetLabelRect() const
{
    RECT rc = {0, 0, 0, 0};
    if (!m_hWnd)
        return rc;
    GetClientRect(&rc);
    HDC hdc = GetDC(m_hWnd);
    int nWidth = LabelWidth(hdc);
    ReleaseDC(m_hWnd, hdc);
    int nHeight = GetTextHeight(FALSE);
    if (GetDirection())
        return RECT{rc.right - nWidth, 0, rc.right, nHeight};
    return RECT{0, 0, nWidth, nHeight};
}

void CZorvatTickerWnd::DrawTicker(HDC hdc)
{
    CTickerWnd::DrawTicker(hdc);
    RECT rcBox = GetLabelRect();
    FillRect(hdc, &rcBox, GetSysColorBrush(COLOR_BTNFACE));
    HBRUSH hbrWhite = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HBRUSH hbrBlack = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RECT rcTop = {rcBox.left, rcBox.top, rcBox.right, rcBox.top + 1};
    RECT rcLeft = {rcBox.left, rcBox.top, rcBox.left + 1, rcBox.bottom};
    RECT rcBottom = {rcBox.left, rcBox.bottom - 1, rcBox.right, rcBox.bottom};
    RECT rcRight = {rcBox.right - 1, rcBox.top, rcBox.right, rcBox.bottom};
    FillRect(hdc, &rcTop, hbrWhite);
    FillRect(hdc, &rcLeft, hbrWhite);
    FillRect(hdc, &rcBottom, hbrBlack);
    FillRect(hdc, &rcRight, hbrBlack);
    HGDIOBJ hOldFont = SelectObject(hdc, GetFontHandle());
    int nOldMode = SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, CTickerWnd::GetTextColor());
    DrawTextA(hdc, m_strName, m_strName.GetLength(), &rcBox, m_uTextFormat | DT_CENTER);
    SetBkMode(hdc, nOldMode);
    SelectObject(hdc, hOldFont);
}

LRESULT CZorvatTickerWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_TIMER && wParam == SCROLL_TIMER) {
        // The step scrolls the label box with the strip; it is drawn again over it.
        LRESULT lResult = CTickerWnd::WindowProc(uMsg, wParam, lParam);
        HDC hdc = GetDC(m_hWnd);
        if (hdc) {
            RECT rcBox = GetLabelRect();
            HRGN hrgn = CreateRectRgnIndirect(&rcBox);
            SelectClipRgn(hdc, hrgn);
            DrawTicker(hdc);
            SelectClipRgn(hdc, nullptr);
            DeleteObject(hrgn);
            ReleaseDC(m_hWnd, hdc);
        }
        return lResult;
    }
    if (uMsg == WM_CLOSE) {
        OnCloseTicker();
        return 0;
    }
    return CTickerWnd::WindowProc(uMsg, wParam, lParam);
}
