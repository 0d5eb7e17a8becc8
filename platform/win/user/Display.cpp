// The display in use, and the headless one that serves when none is set: no surfaces, a loop that
// sleeps on a condition variable until a post, a wake or the next timer.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/user/Display.h"

namespace {
class CHeadlessDisplay : public ITbDisplay
{
public:
    ITbSurface* CreateSurface(HWND, ITbSurface*, DWORD, DWORD) override { return nullptr; }
    void Wait(int nTimeoutMs) override
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto woken = [this] { return m_bWoken; };
        if (nTimeoutMs < 0)
            m_cv.wait(lock, woken);
        else
            m_cv.wait_for(lock, std::chrono::milliseconds(nTimeoutMs), woken);
        m_bWoken = false;
    }
    void Wake() override
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bWoken = true;
        }
        m_cv.notify_one();
    }
    void ProcessPending() override {}
    void SetCursorShape(const TBCURSORSHAPE&) override {}
    BOOL GetCursorPos(POINT*) override { return FALSE; }
    SHORT GetAsyncKeyState(int) override { return 0; }
    void GetScreenSize(SIZE* pSize) override { *pSize = SIZE{1280, 1024}; }
    void Beep(UINT) override {}
    BOOL PlayWave(LPCSTR, BOOL) override { return TRUE; }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_bWoken = false;
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
