#include "market/ZorvatInfoTable.h"

#include <algorithm>

#include "framework/window/TickerWnd.h"

#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/InternationalMarketScheduleTable.h"
#include "market/TableLinks.h"
#include "platform/win/Windows.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_NEWER_VERSION 55303
#define IDS_VERSION_REFUSED 55304
#define IDS_VERSION_CLOSED 40534

#define VERSION_STATUS_NEWER 1
#define VERSION_STATUS_REFUSED 2

CZorvatInfoTable::CZorvatInfoTable(IInfoTableHost* pHost, CZorvatMessageSource* pSource)
    : CNorvInfoTable(pSource), m_pHost(pHost)
{
}

CZorvatInfoTable::~CZorvatInfoTable() = default;

BOOL CZorvatInfoTable::IsWindowOpen() const
{
    CTableMDIWnd* pMain = GetMainWindow();
    return pMain != nullptr && pMain->m_hWnd != nullptr && m_pHost != nullptr &&
           m_pHost->IsActiveChild(pMain->m_hWnd) && !pMain->IsIconic();
}

CString CZorvatInfoTable::GetTimeText()
{
    return GetGlobals()->GetServerTimeText();
}

void CZorvatInfoTable::UpdateIndicator()
{
    if (m_pHost != nullptr)
        m_pHost->SetIndicatorState(IsWindowOpen() ? INFO_INDICATOR_IDLE : INFO_INDICATOR_NEW);
}

void CZorvatInfoTable::AddTimedMessage(LPCSTR pszText, LPCSTR pszStamp, LPCSTR pszSecond, LPCSTR pszThird)
{
    UpdateIndicator();
    CNorvInfoTable::AddTimedMessage(pszText, pszStamp, pszSecond, pszThird);
}

void CZorvatInfoTable::AddMessage(LPCSTR pszText, int32_t nPackedTime, LPCSTR pszSecond, LPCSTR pszThird)
{
    UpdateIndicator();
    // The reference data may have heard the time after this table did (the sinks' order).
    RestampWithServerTime();
    CNorvInfoTable::AddMessage(pszText, nPackedTime, pszSecond, pszThird);
}

int CZorvatInfoTable::GetProvisionalSeconds()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (pGlobals->HasServerTime())
        return -1;
    // The server time stands on the machine's clock: the offset it used comes off again.
    const long long nSeconds = pGlobals->GetServerTime().GetSecondsOfDay() + static_cast<long long>(pGlobals->GetClockOffset());
    return static_cast<int>((nSeconds % 86400 + 86400) % 86400);
}

void CZorvatInfoTable::RestampWithServerTime()
{
    const CZorvatGlobals* pGlobals = GetGlobals();
    if (!HasProvisionalLines() || !pGlobals->HasServerTime())
        return;
    const long nOffset = pGlobals->GetClockOffset();
    Restamp([nOffset](int nMachineSeconds) {
        CNorvTime time;
        time.Set(0, 0, static_cast<int>(nMachineSeconds - static_cast<long long>(nOffset) % 86400));
        return CZorvatClocks::ClockText(time);
    });
}

void CZorvatInfoTable::OnTI(CServerMessage*)
{
    RestampWithServerTime();
}

void CZorvatInfoTable::AddText(LPCSTR pszText)
{
    UpdateIndicator();
    CNorvInfoTable::AddText(pszText);
}

void CZorvatInfoTable::OnMS(CServerMessage* pMsg)
{
    const long nCode = pMsg->GetLong(1);
    CString strText;
    if (nCode < 1)
        strText = pMsg->GetField(GetNorvGlobals().m_nLanguage == 1 ? 3 : 2);
    else if (m_pHost != nullptr)
        strText = m_pHost->GetErrorText(nCode);
    CString strLine = strText;
    strLine.Replace("#", ", ");
    AddText(strLine);
    if (m_pHost == nullptr)
        return;
    m_pHost->BringInfoWindowToTop(1);
    if (pMsg->GetLong(4) != 0) {
        CString strBox = strText;
        strBox.Replace("#", "\n\n");
        const BOOL bError = GetNorvGlobals().m_nLanguage != 1 && pMsg->GetLong(5) != 0;
        m_pHost->ShowMessageBox(strBox, bError ? MB_ICONERROR : MB_ICONINFORMATION);
    }
}

void CZorvatInfoTable::OnVC(CServerMessage* pMsg)
{
    const int nStatus = static_cast<int>(pMsg->GetLong(2));
    const CString strText = pMsg->GetField(5);
    if (nStatus == VERSION_STATUS_NEWER) {
        AddResourceText(IDS_NEWER_VERSION);
        if (m_pHost != nullptr) {
            m_pHost->BringInfoWindowToTop(1);
            m_pHost->OnVersionStatus(nStatus, strText);
        }
    } else if (nStatus == VERSION_STATUS_REFUSED) {
        AddResourceText(IDS_VERSION_REFUSED);
        AddResourceText(IDS_VERSION_CLOSED);
        if (m_pHost != nullptr) {
            m_pHost->BringInfoWindowToTop(2);
            m_pHost->OnVersionStatus(nStatus, strText);
        }
    }
}

void CZorvatInfoTable::OnBM(CServerMessage* pMsg)
{
    CZorvatGlobals* pGlobals = GetGlobals();
    const long nMarket = pMsg->GetLong(0);
    pGlobals->SetMarketState(nMarket, static_cast<int>(pMsg->GetLong(1)));
    // The schedule names each market's states: the line says the state in its words, and only
    // once the schedule has them.
    const CDataTable* pSchedule = FindDataTable(IDS_TABLE_MARKET_SCHEDULE);
    if (pSchedule == nullptr)
        return;
    const CString strMarket = pGlobals->GetMarketName(nMarket);
    // Its rows are keyed by market code and state: the state alone would find another market's text.
    CString strCode;
    strCode.Format("%ld", nMarket);
    const CDataBuffer* pRow = pSchedule->GetRows()->FindRow({strCode, pMsg->GetFieldText(1)});
    if (pRow == nullptr)
        return;
    CString strText;
    strText.FormatMessage(IDS_MARKET_STATE_NOW, static_cast<LPCSTR>(strMarket),
                          static_cast<LPCSTR>(pRow->GetText(SCHEDULE_COL_TEXT, TRUE)));
    AddText(strText);
}

HWND CZorvatInfoTable::GetTickerParent() const
{
    CTableMDIWnd* pWindow = GetMainWindow();
    return pWindow != nullptr ? pWindow->m_hWnd : nullptr;
}

void CZorvatInfoTable::ArrangeTickers(int cx, int cy)
{
    HWND hParent = GetTickerParent();
    if (hParent == nullptr)
        return;
    RECT rc;
    ::GetClientRect(hParent, &rc);
    if (cx >= 0)
        rc.right = cx;
    if (cy >= 0)
        rc.bottom = cy;
    int nBottom = rc.bottom;
    for (CTickerWnd* pTicker : m_pHost->GetDockedTickers()) {
        int h = pTicker->GetTextHeight(FALSE);
        nBottom -= h;
        pTicker->MoveWindow(rc.left, nBottom, rc.right - rc.left, h);
    }
}

void CZorvatInfoTable::FitGrid(UINT nType, int cx, int cy)
{
    CTableMDIWnd* pWindow = GetMainWindow();
    if (pWindow == nullptr)
        return;
    int h = 0;
    for (CTickerWnd* pTicker : m_pHost->GetDockedTickers())
        h += pTicker->GetTextHeight(FALSE);
    if (h > 0)
        ArrangeTickers(cx, cy);
    if (nType != SIZE_MINIMIZED && pWindow->GetGrid().m_hWnd != nullptr)
        ::SetWindowPos(pWindow->GetGrid().m_hWnd, nullptr, 0, 0, cx, std::max(0, cy - h),
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

void CZorvatInfoTable::ResizeTableWindow()
{
    HWND hParent = GetTickerParent();
    if (hParent == nullptr)
        return;
    RECT rc;
    ::GetClientRect(hParent, &rc);
    FitGrid(SIZE_RESTORED, rc.right, rc.bottom);
}

void CZorvatInfoTable::OnWindowSize(CTableMDIWnd* pWindow, UINT nType, int cx, int cy)
{
    CNorvInfoTable::OnWindowSize(pWindow, nType, cx, cy);
    FitGrid(nType, cx, cy);
}
