#include "WindowTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/window/TBTabControl.h"
#include "framework/window/TWApp.h"
#include "platform/qt/QtPlatform.h"

namespace {
const char* const PARENT_CLASS = "WindowTestParent";

LRESULT CALLBACK ParentProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pParent = reinterpret_cast<CTestParent*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (pParent) {
        switch (uMsg) {
        case WM_COMMAND:
        case TBTN_QUERYCHANGE:
        case WM_USER + 1000:
        case WM_USER + 1001:
            pParent->m_log.push_back({uMsg, wParam, lParam});
            return uMsg == TBTN_QUERYCHANGE ? pParent->m_lVeto : 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(pParent->m_hFont);
        }
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// One display and one application object for the whole program.
class CWindowEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        HMODULE hModule = LoadLibraryA("_1252.dll");
        ASSERT_NE(nullptr, hModule);
        m_app.Init(hModule, "test_framework_window", 0);
        WNDCLASSA wc = {};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = ParentProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = PARENT_CLASS;
        ASSERT_NE(0, RegisterClassA(&wc));
        ASSERT_TRUE(m_app.RegisterWindowClasses());
    }
    CTWApp m_app;   // the grid's part of the application, as the product has it
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CWindowEnvironment);
}  // namespace

CTestParent::CTestParent(int cx, int cy, DWORD dwExStyle)
{
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lf.lfWeight = FW_NORMAL;
    // As the Arabic dialogs' fonts: the character set tells the text engine the code page.
    lf.lfCharSet = GetNorvGlobals().m_bRightToLeft ? ARABIC_CHARSET : DEFAULT_CHARSET;
    snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "%s", "DejaVu Sans");
    m_hFont = CreateFontIndirectA(&lf);
    m_hWnd = CreateWindowExA(dwExStyle, PARENT_CLASS, "parent", WS_OVERLAPPED | WS_VISIBLE, 0, 0, cx, cy, nullptr,
                             nullptr, nullptr, nullptr);
    SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CTestParent::~CTestParent()
{
    DestroyWindow(m_hWnd);
    DeleteObject(m_hFont);
    Drain();
}

std::vector<ParentMessage> CTestParent::Messages(UINT uMsg) const
{
    std::vector<ParentMessage> out;
    for (const auto& m : m_log)
        if (m.uMsg == uMsg)
            out.push_back(m);
    return out;
}

void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            DispatchMessageA(&msg);
}

bool PumpUntil(const std::function<bool()>& condition, int nMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    // A timer of our own wakes GetMessage, so that the wait never outlasts the bound by much.
    UINT_PTR nTimer = SetTimer(nullptr, 0, 20, nullptr);
    MSG msg;
    while (!condition() && std::chrono::steady_clock::now() < end && GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    KillTimer(nullptr, nTimer);
    return condition();
}

std::string ScreenshotPath(const char* pszName)
{
    std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    return strDir + "/" + pszName + ".png";
}

std::string Arabic(const char* pszUtf8)
{
    return TbUtf8ToCodePage(pszUtf8, 1256);
}
