#include "app/ZorvatStatusPanes.h"

#include "app/ZorvatApp.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "refdata/ZorvatGlobals.h"

#define IDS_MARKET_STATE_UNKNOWN 55254
#define IDS_LINK_CONNECTED 55258
#define IDS_LINK_DISCONNECTED 55259

namespace {

// No state message reaches a terminal without its link: what came before the loss may no
// longer hold, so the panes say the states are unknown until the link is back. A pane with no
// application behind it has no link to lose.
BOOL AreStatesKnown()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp == nullptr || pApp->IsConnected();
}

// "US: %s  KSE: %s ", each label a part of its own in right-to-left reading (an empty or Latin
// text would join the labels into one left-to-right run with the colons at its ends).
CString FormatStates(const CString& strUs, const CString& strKse)
{
    // A state nobody has told yet (before the login's, or one without a word) is unknown too,
    // so that a label never stands alone.
    const BOOL bKnown = AreStatesKnown();
    CString strUnknown;
    GetSharedGlobals()->LoadString(strUnknown, IDS_MARKET_STATE_UNKNOWN);
    const CString& strUsShown = bKnown && !strUs.IsEmpty() ? strUs : strUnknown;
    const CString& strKseShown = bKnown && !strKse.IsEmpty() ? strKse : strUnknown;
    const LPCSTR pszMark = GetNorvGlobals().GetRtlMark();
    CString strText;
    strText.Format("US:%s %s  KSE:%s %s ", pszMark, static_cast<LPCSTR>(strUsShown), pszMark,
                   static_cast<LPCSTR>(strKseShown));
    return strText;
}

// The connection's word in the language of the windows.
CString LinkStateText(BOOL bConnected)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, bConnected ? IDS_LINK_CONNECTED : IDS_LINK_DISCONNECTED);
    if (strText.IsEmpty())
        strText = bConnected ? "Connected" : "Disconnected";
    return strText;
}

}  // namespace

CZorvatStatusBarStatusPane::CZorvatStatusBarStatusPane()
{
    AddSegment(LinkStateText(FALSE), STATUS_COLOR_DISCONNECTED, "Arial", 10);
}

void CZorvatStatusBarStatusPane::Update()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    const BOOL bConnected = pApp != nullptr && pApp->IsConnected();
    if (bConnected == m_bConnected)
        return;
    m_bConnected = bConnected;
    SetSegment(0, LinkStateText(bConnected), bConnected ? STATUS_COLOR_CONNECTED : STATUS_COLOR_DISCONNECTED);
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
