#include "app/ZorvatStatusPanes.h"

#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "refdata/ZorvatGlobals.h"

CZorvatStatusBarStatusPane::CZorvatStatusBarStatusPane()
{
    AddSegment("Disconnected", STATUS_COLOR_DISCONNECTED, "Arial", 10);
}

void CZorvatStatusBarStatusPane::Update()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const BOOL bConnected = pApp != nullptr && pApp->IsConnected();
    if (bConnected == m_bConnected)
        return;
    m_bConnected = bConnected;
    SetSegment(0, bConnected ? "Connected" : "Disconnected",
               bConnected ? STATUS_COLOR_CONNECTED : STATUS_COLOR_DISCONNECTED);
}

CString CZorvatStatusBarKwTimePane::GetText() const
{
    return GetGlobals()->GetServerTimeText();
}

CString CZorvatStatusBarNyTimePane::GetText() const
{
    return GetGlobals()->GetServerTimeNYText();
}

namespace {
// "US: %s  KSE: %s ", each label a part of its own in right-to-left reading (an empty or Latin
// text would join the labels into one left-to-right run with the colons at its ends).
CString UsAndKseText(const CString& strUs, const CString& strKse)
{
    const LPCSTR pszMark = GetNorvGlobals().GetRtlMark();
    CString strText;
    strText.Format("US:%s %s  KSE:%s %s ", pszMark, static_cast<LPCSTR>(strUs), pszMark, static_cast<LPCSTR>(strKse));
    return strText;
}
}  // namespace

CString CZorvatStatusBarKSEStatusPane::GetText() const
{
    return UsAndKseText(GetGlobals()->GetKseStatus1Text(), GetGlobals()->GetKseStatus2Text());
}

CString CZorvatStatusBarStatePane::GetText() const
{
    return UsAndKseText(GetGlobals()->GetUsMarketStateText(), GetGlobals()->GetKseMarketStateText());
}
