// The grid's part of the application object.
#include "framework/window/TWApp.h"

#include "framework/base/NorvGlobals.h"
#include "framework/window/TBTabControl.h"
#include "framework/window/TableWindow.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Sound.h"

CTWApp::CTWApp() : m_uClipFormat(RegisterClipboardFormatA("CF_NorvTable")) {}

CTWApp::~CTWApp() = default;

CTWApp* CTWApp::Get()
{
    return dynamic_cast<CTWApp*>(GetTBApp());
}

BOOL CTWApp::RegisterWindowClasses()
{
    if (!RegisterTableWindowCtlClass())
        return FALSE;
    return RegisterTabControlClass();
}

void CTWApp::SetTargetWindow(CTableWindow* pWindow)
{
    m_pTarget = pWindow;
}

void CTWApp::OnSysColorChange()
{
    GetNorvGlobals().RecreateFrames();
}

// The filter, fast-find and sort dialogs come with the grid's interaction; until then a request
// is refused the way a dialog that cannot be made is.
void CTWApp::ShowFilterDialog(CTableWindow* pWindow, int nCol)
{
    (void)pWindow;
    (void)nCol;
    if (GetNorvGlobals().m_bBeep)
        MessageBeep(0);
}

void CTWApp::ShowFastFindDialog(CTableWindow* pWindow, int nCol)
{
    ShowFilterDialog(pWindow, nCol);
}

void CTWApp::ShowSortDialog(CTableWindow* pWindow)
{
    ShowFilterDialog(pWindow, -1);
}

void CTWApp::NotifySortChanged(CTableWindow* pWindow)
{
    (void)pWindow;   // no sort dialog exists yet to reload
}

void CTWApp::OnWindowDestroyed(CTableWindow* pWindow)
{
    if (m_pTarget == pWindow)
        m_pTarget = nullptr;
}
