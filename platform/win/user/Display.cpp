// The display in use, and the headless one that serves when none is set: no surfaces, a loop that
// sleeps in poll() until a post, a wake, a watched file descriptor or the next timer.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <vector>
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/SysMetrics.h"

void ITbDisplay::GetMdiChildFrame(RECT* prcFrame)
{
    const int cx = GetSystemMetrics(SM_CXFRAME), cy = GetSystemMetrics(SM_CYFRAME);
    *prcFrame = RECT{cx, cy + GetSystemMetrics(SM_CYCAPTION), cx, cy};
}

int ITbDisplay::GetMdiTitleWidth(LPCSTR pszTitle)
{
    // An average caption letter is about half a caption button wide.
    const int nLetters = pszTitle != nullptr ? static_cast<int>(strlen(pszTitle)) : 0;
    RECT rcFrame;
    GetMdiChildFrame(&rcFrame);
    return nLetters * GetSystemMetrics(SM_CXSIZE) / 2 + 4 * GetSystemMetrics(SM_CXSIZE) + rcFrame.left + rcFrame.right;
}

namespace {
class CHeadlessDisplay : public ITbDisplay
{
public:
    // The wake is an eventfd, so that a wake from another thread and a watched socket end the
    // same wait.
    CHeadlessDisplay() : m_fdWake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}
    ITbSurface* CreateSurface(HWND, ITbSurface*, DWORD, DWORD) override { return nullptr; }
    void Wait(int nTimeoutMs) override { Poll(nTimeoutMs, TRUE); }
    void Wake() override
    {
        const uint64_t nOne = 1;
        if (m_fdWake >= 0 && write(m_fdWake, &nOne, sizeof nOne) < 0 && errno != EAGAIN)
            m_fdWake = -1;
    }
    void ProcessPending() override
    {
        if (!m_watched.empty())
            Poll(0, FALSE);
    }
    void SetCursorShape(const TBCURSORSHAPE&) override {}
    BOOL GetCursorPos(POINT*) override { return FALSE; }
    SHORT GetAsyncKeyState(int nVirtKey) override { return TbDeliveredKeyState(nVirtKey); }
    void GetScreenSize(SIZE* pSize) override { *pSize = SIZE{1280, 1024}; }
    void Beep(UINT) override {}
    BOOL PlayWave(LPCSTR, BOOL) override { return TRUE; }
    void OfferClipboard(BOOL, BOOL) override {}
    BOOL GetClipboardText(std::string*) override { return FALSE; }
    // Nobody to ask: the layer answers for the person.
    ITbQuestion* AskMessageBox(HWND, TBMESSAGEBOXQUESTION*) override { return nullptr; }
    ITbQuestion* AskFile(HWND, TBFILEQUESTION*) override { return nullptr; }
    ITbQuestion* AskFont(HWND, TBFONTQUESTION*) override { return nullptr; }
    ITbQuestion* AskColor(HWND, TBCOLORQUESTION*) override { return nullptr; }
    // Menus and MDI: nobody to show a popup to; the menu's modal loop decides when it closes.
    BOOL OpenPopupMenu(HMENU, UINT, POINT, HWND) override { return FALSE; }
    void ClosePopupMenu() override {}
    void WatchFd(int fd, int nEvents) override
    {
        if (nEvents)
            m_watched[fd] = nEvents;
        else
            m_watched.erase(fd);
    }

private:
    void Poll(int nTimeoutMs, BOOL bWithWake)
    {
        std::vector<pollfd> fds;
        if (bWithWake && m_fdWake >= 0)
            fds.push_back({m_fdWake, POLLIN, 0});
        const size_t nFirst = fds.size();
        for (const auto& w : m_watched)
            fds.push_back({w.first, static_cast<short>(((w.second & TB_FD_READ) ? POLLIN : 0) |
                                                       ((w.second & TB_FD_WRITE) ? POLLOUT : 0)), 0});
        if (fds.empty()) {
            // No wake descriptor (out of descriptors): sleep the time out in small steps.
            usleep(static_cast<useconds_t>(nTimeoutMs < 0 || nTimeoutMs > 10 ? 10000 : nTimeoutMs * 1000));
            return;
        }
        if (poll(fds.data(), fds.size(), nTimeoutMs) <= 0)
            return;
        if (nFirst && (fds[0].revents & POLLIN)) {
            uint64_t nCount = 0;
            while (read(m_fdWake, &nCount, sizeof nCount) > 0) {
            }
        }
        for (size_t i = nFirst; i < fds.size(); ++i) {
            const short r = fds[i].revents;
            if (!r)
                continue;
            // An error or hang-up is news for whichever direction is watched.
            const int nWatched = (fds[i].events & POLLIN ? TB_FD_READ : 0) | (fds[i].events & POLLOUT ? TB_FD_WRITE : 0);
            int nReady = (r & POLLIN ? TB_FD_READ : 0) | (r & POLLOUT ? TB_FD_WRITE : 0);
            if (r & (POLLERR | POLLHUP | POLLNVAL))
                nReady |= nWatched;
            if (r & POLLNVAL)
                m_watched.erase(fds[i].fd);     // closed without being unwatched
            if (nReady & nWatched)
                TbDisplayFdReady(fds[i].fd, nReady & nWatched);
        }
    }

    int m_fdWake;
    std::map<int, int> m_watched;       // user-interface thread only
};

CHeadlessDisplay& Headless()
{
    static CHeadlessDisplay* s_pDisplay = new CHeadlessDisplay;
    return *s_pDisplay;
}
std::atomic<ITbDisplay*> s_pDisplay{nullptr};
std::atomic<ITbImageCodec*> s_pCodec{nullptr};
}

void TbSetDisplay(ITbDisplay* pDisplay)
{
    s_pDisplay.store(pDisplay);
}

ITbDisplay* TbGetDisplay()
{
    ITbDisplay* p = s_pDisplay.load();
    return p ? p : &Headless();
}

void TbSetImageCodec(ITbImageCodec* pCodec)
{
    s_pCodec.store(pCodec);
}

ITbImageCodec* TbGetImageCodec()
{
    return s_pCodec.load();
}
