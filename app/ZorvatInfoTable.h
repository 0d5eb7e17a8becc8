#pragma once
// The terminal's information table: the framework's message log stamped with the server's
// clock, a message sink of the server's notices ("MS"), the hello reply ("VC") and market
// states ("BM"), and the source of the toolbar's new-message indicator. The application makes
// one each time it builds its standing tables and hands it out as the information window.
#include "app/NorvInfoTable.h"
#include "link/MessageSink.h"

class CZorvatMessageSource;

// Indicator states: idle, then blinking between the two while lines wait unseen.
#define INFO_INDICATOR_IDLE    0
#define INFO_INDICATOR_CLICKED 1
#define INFO_INDICATOR_NEW     2
#define INFO_INDICATOR_BLINK   3

// What the information table needs of the application.
struct IInfoTableHost
{
    virtual ~IInfoTableHost() = default;
    virtual void SetIndicatorState(int nState) = 0;
    // The window is the active MDI child.
    virtual BOOL IsActiveChild(HWND hWnd) const = 0;
    virtual void BringInfoWindowToTop(int nPriority) = 0;
    // The server's text of an error code.
    virtual CString GetErrorText(long nCode) = 0;
    // A message box captioned with the application's title; MB_ flags.
    virtual void ShowMessageBox(LPCSTR pszText, UINT nFlags) = 0;
    // The hello said this version is outdated (1) or may no longer connect (2): the version
    // dialog with the server's text; for 2 the link is closed first.
    virtual void OnVersionStatus(int nStatus, LPCSTR pszText) = 0;
};

class CZorvatInfoTable : public CNorvInfoTable, public CZorvatMessageSink
{
public:
    // Neither is owned; both outlive the table.
    CZorvatInfoTable(IInfoTableHost* pHost, CZorvatMessageSource* pSource);
    ~CZorvatInfoTable() override;

    BOOL Create(UINT nNameId, int nFixedColumns, UINT nTitleId) override;
    void Destroy() override;

    // The window is the active MDI child and not minimised.
    BOOL IsWindowOpen() const;
    // Shown normal and activated.
    void ShowWindow();

    CString GetTimeText() override;
    void AddTimedMessage(LPCSTR pszText, LPCSTR pszStamp, LPCSTR pszSecond, LPCSTR pszThird) override;
    void AddMessage(LPCSTR pszText, int32_t nPackedTime, LPCSTR pszSecond, LPCSTR pszThird) override;
    void AddText(LPCSTR pszText) override;

    void OnMM(CServerMessage*) override {}
    void OnMS(CServerMessage* pMsg) override;
    void OnVC(CServerMessage* pMsg) override;
    void OnBM(CServerMessage* pMsg) override;

private:
    void UpdateIndicator();

    IInfoTableHost* m_pHost;
    CZorvatMessageSource* m_pSource;
};
