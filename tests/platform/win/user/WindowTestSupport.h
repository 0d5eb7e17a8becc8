#pragma once
// A window class that records every message its windows receive, for the window-manager tests.
#include <string>
#include <vector>
#include "platform/win/user/Message.h"
#include "platform/win/user/Paint.h"

struct RecordedMessage {
    HWND hWnd;
    UINT uMsg;
    WPARAM wParam;
    LPARAM lParam;
};

class CMessageLog
{
public:
    static CMessageLog& Get();
    void Clear() { m_log.clear(); }
    void Add(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) { m_log.push_back({hWnd, uMsg, wParam, lParam}); }
    // The messages of interest, in order, as names: "NCCREATE CREATE SIZE".
    std::string Names(HWND hWnd = nullptr) const;
    int Count(UINT uMsg, HWND hWnd = nullptr) const;
    const std::vector<RecordedMessage>& All() const { return m_log; }

private:
    std::vector<RecordedMessage> m_log;
};

// Registers "TbTestWindow" once; its procedure logs and then does the default processing.
// Set OnMessage to answer a message differently (return TRUE from it to stop the default).
LPCSTR TestWindowClass();
extern LRESULT (*g_pfnTestOverride)(HWND, UINT, WPARAM, LPARAM, BOOL* pbHandled);
HWND CreateTestWindow(HWND hParent = nullptr, DWORD dwStyle = WS_OVERLAPPEDWINDOW, int nId = 0);
// Reads and dispatches everything that is ready (posted, paint, due timers) without waiting.
int PumpReady();
// Pumps, waiting for more, until the time is up.
void PumpFor(int nMs);
