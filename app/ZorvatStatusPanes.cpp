#include "app/ZorvatStatusPanes.h"

#include "app/ZorvatApp.h"
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

CString CZorvatStatusBarKSEStatusPane::GetText() const
{
    CString strText;
    strText.Format("US: %s  KSE: %s ", static_cast<LPCSTR>(GetGlobals()->GetKseStatus1Text()),
                   static_cast<LPCSTR>(GetGlobals()->GetKseStatus2Text()));
    return strText;
}

CString CZorvatStatusBarStatePane::GetText() const
{
    CString strText;
    strText.Format("US: %s  KSE: %s ", static_cast<LPCSTR>(GetGlobals()->GetUsMarketStateText()),
                   static_cast<LPCSTR>(GetGlobals()->GetKseMarketStateText()));
    return strText;
}
