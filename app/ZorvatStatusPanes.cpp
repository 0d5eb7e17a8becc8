#include "app/ZorvatStatusPanes.h"

#include "app/ZorvatApp.h"
#include "framework/base/SharedGlobals.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_MARKET_STATE_UNKNOWN 55254

namespace {

// No state message reaches a terminal without its link: what came before the loss may no
// longer hold, so the panes say the states are unknown until the link is back.
BOOL AreStatesKnown()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr && pApp->IsConnected();
}

CString FormatStates(const CString& strUs, const CString& strKse)
{
    CString strText;
    if (AreStatesKnown()) {
        strText.Format("US: %s  KSE: %s ", static_cast<LPCSTR>(strUs), static_cast<LPCSTR>(strKse));
    } else {
        CString strUnknown;
        GetSharedGlobals()->LoadString(strUnknown, IDS_MARKET_STATE_UNKNOWN);
        strText.Format("US: %s  KSE: %s ", static_cast<LPCSTR>(strUnknown), static_cast<LPCSTR>(strUnknown));
    }
    return strText;
}

}  // namespace

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

CString CZorvatStatusBarKSEStatusPane::GetText() const
{
    return FormatStates(GetGlobals()->GetKseStatus1Text(), GetGlobals()->GetKseStatus2Text());
}

CString CZorvatStatusBarStatePane::GetText() const
{
    return FormatStates(GetGlobals()->GetUsMarketStateText(), GetGlobals()->GetKseMarketStateText());
}
