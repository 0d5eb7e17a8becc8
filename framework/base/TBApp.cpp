#include "framework/base/TBApp.h"

#include "framework/base/TBWnd.h"
#include "platform/win/kernel/Resources.h"

namespace {
CTBApp* s_pApp = nullptr;
}

CTBApp::CTBApp()
{
    s_pApp = this;
}

CTBApp::~CTBApp()
{
    if (s_pApp == this)
        s_pApp = nullptr;
}

CTBApp* GetTBApp()
{
    return s_pApp;
}

BOOL CTBApp::Init(HINSTANCE hModule, const char* pszName, int nOption)
{
    m_hModule = hModule;
    m_strName = pszName;
    m_nOption = nOption;
    // CTBString::LoadAppString and every framework resource read the layer's resource module.
    TbSetResourceModule(hModule);
    return TRUE;
}

BOOL CTBApp::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg == nullptr)
        return FALSE;
    HWND hWndStop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = GetParent(hWnd)) {
        CTBWnd* pWnd = CTBWnd::FromHandle(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

BOOL CTBApp::PumpMessage()
{
    if (GetMessageA(&m_msgCur, nullptr, 0, 0) <= 0)
        return FALSE;       // the quit message (or a read error, which ends the loop the same way)
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CTBApp::Run()
{
    if (!InitInstance())
        return FALSE;
    while (PumpMessage()) {
    }
    return ExitInstance();
}

CTBString GetAppString(UINT uId)
{
    CTBString str;
    str.LoadAppString(uId);
    return str;
}
