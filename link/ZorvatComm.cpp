#include "link/ZorvatComm.h"
#include <cstring>
#include "link/AppServices.h"
#include "link/MessageDispatcher.h"

CZorvatComm::CZorvatComm(const CString& strSettingsFile, CMessageDispatcher* pDispatcher, IAppServices* pApp)
    : CNorvCom(strSettingsFile, /*nDialogFlags=*/1, ZORVAT_CLIENT_ID, ZORVAT_SEND_QUEUE_SIZE),
      m_pDispatcher(pDispatcher), m_pApp(pApp)
{
    // The terminal's own road: encrypted whatever the settings say, plain lines, no watchdog.
    LINK_OPTIONS& options = LinkOptions();
    options.bEncryption = TRUE;
    options.bChecksums = FALSE;
    options.bDecompress = FALSE;
    options.nIdlePeriod = -1;
    options.nClientId = 1;
    // Always encrypted and never logged: the dialog offers neither choice.
    ShowDialogControls(FALSE, FALSE, FALSE);
}

BOOL CZorvatComm::CreateLinkWindow()
{
    return Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL);
}

BOOL CZorvatComm::SendLine(LPCSTR pszLine, long* pnNumber)
{
    if (pnNumber)
        *pnNumber = 0;
    if (!pszLine || std::strpbrk(pszLine, "\r\n"))
        return FALSE;
    return CNorvCom::SendLine(pszLine, pnNumber);
}

void CZorvatComm::OnLineReceived(const char* pszLine)
{
    if (m_pDispatcher)
        m_pDispatcher->OnServerMessage(pszLine);
}

void CZorvatComm::OnCommState(int nCode)
{
    // The application takes the code as the 16-bit value the original passed.
    if (m_pApp)
        m_pApp->OnConnectionState(static_cast<short>(nCode));
}

void CZorvatComm::OnCommDestroy()
{
    if (m_pApp)
        m_pApp->OnCommDestroyed();
}
