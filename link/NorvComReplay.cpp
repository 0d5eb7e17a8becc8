// Replay of a recorded feed: "datafeed.log" read one line per timer tick and handed on as if
// received, for demonstrations and for testing the consumers of the lines without a server.
#include <cstring>
#include "link/NorvCom.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/MessageBox.h"

static const char s_szReplayFile[] = "datafeed.log";

BOOL CNorvCom::StartReplay()
{
    StopReplay();
    m_pReplay = fopen(s_szReplayFile, "r");
    if (!m_pReplay)
        return FALSE;
    m_bLogInBeforeReplay = m_link.Options().bLogOutgoing;
    m_link.Options().bLogOutgoing = FALSE;
    ShowLinkWindow(SW_HIDE);
    m_dwReplayStart = GetTickCount();
    if (!m_hWnd || !SetTimer(LINK_TIMER_REPLAY, static_cast<UINT>(m_nReplayPeriod > 0 ? m_nReplayPeriod : 1))) {
        StopReplay();
        return FALSE;
    }
    return TRUE;
}

void CNorvCom::StopReplay()
{
    if (!m_pReplay)
        return;
    if (m_hWnd)
        KillTimer(LINK_TIMER_REPLAY);
    fclose(m_pReplay);
    m_pReplay = nullptr;
    m_link.Options().bLogOutgoing = m_bLogInBeforeReplay;
}

void CNorvCom::OnReplayTick()
{
    if (!m_pReplay)
        return;
    // One line of at most 32001 characters; a longer one is skipped whole, never cut in two.
    static const int s_nMax = LINK_MAX_LINE + 1;
    std::vector<char> line(s_nMax + 2);
    for (;;) {
        if (!fgets(line.data(), static_cast<int>(line.size()), m_pReplay))
            break;
        size_t nLength = std::strlen(line.data());
        const BOOL bWhole = nLength > 0 && line[nLength - 1] == '\n';
        if (!bWhole && !feof(m_pReplay)) {
            int ch;
            while ((ch = fgetc(m_pReplay)) != EOF && ch != '\n') {
            }
            continue;
        }
        // The last line may lack its newline; a file written on the original has CR LF.
        if (bWhole)
            line[--nLength] = '\0';
        if (nLength > 0 && line[nLength - 1] == '\r')
            line[--nLength] = '\0';
        DeliverLine(line.data());
        return;
    }
    // The end of the file: one cycle is done.
    KillTimer(LINK_TIMER_REPLAY);
    const DWORD dwSeconds = (GetTickCount() - m_dwReplayStart) / 1000;
    char szText[96];
    snprintf(szText, sizeof szText, "Time for one cycle: %02u:%02u:%02u Lines: %ld", dwSeconds / 3600,
             dwSeconds / 60 % 60, dwSeconds % 60, m_link.GetDeliveredCount());
    if (!m_bReplayRepeat)
        OnReplayCycle(szText);
    if (!m_pReplay)
        return;             // stopped while the message was up
    if (m_bReplayRepeat) {
        rewind(m_pReplay);
        SetTimer(LINK_TIMER_REPLAY, static_cast<UINT>(m_nReplayPeriod > 0 ? m_nReplayPeriod : 1));
    } else {
        StopReplay();
    }
}

void CNorvCom::OnReplayCycle(const char* pszText)
{
    MessageBoxA(m_hWnd, pszText, "Feed replay", MB_OK | MB_SYSTEMMODAL);
}
