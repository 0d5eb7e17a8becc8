#include "DialogTestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "framework/base/NorvGlobals.h"
#include "framework/base/TBApp.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"

CDialogResources::CDialogResources(int nCodePage)
{
    TbAddResourcePath(TB_SOURCE_DIR "/tests/framework/window/data");
    char szName[32];
    snprintf(szName, sizeof(szName), "tbdlg_%d.dll", nCodePage);
    m_hModule = LoadLibraryA(szName);
    EXPECT_NE(nullptr, m_hModule) << szName;
    CTBApp* pApp = GetTBApp();
    m_hOldApp = pApp->GetModule();
    // Before the application's Init, which makes its module the resource module too.
    m_hOldResources = TbGetResourceModule();
    CTBString strName = pApp->GetName();
    pApp->Init(m_hModule, strName, pApp->GetOption());
    TbSetResourceModule(m_hModule);
    m_bOldRightToLeft = GetNorvGlobals().m_bRightToLeft;
    GetNorvGlobals().SetRightToLeft(nCodePage == 1256);

    char szPath[] = "/tmp/tbdlgXXXXXX";
    int fd = mkstemp(szPath);
    EXPECT_GE(fd, 0);
    if (fd >= 0)
        close(fd);
    m_strPath = szPath;
    EXPECT_TRUE(m_pSettings->Open(szPath));
    pApp->m_pSettings = m_pSettings.get();
}

CDialogResources::~CDialogResources()
{
    CTBApp* pApp = GetTBApp();
    pApp->m_pSettings = nullptr;
    CTBString strName = pApp->GetName();
    pApp->Init(m_hOldApp, strName, pApp->GetOption());
    TbSetResourceModule(m_hOldResources);
    GetNorvGlobals().SetRightToLeft(m_bOldRightToLeft);
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
    m_pSettings.reset();
    unlink(m_strPath.c_str());
}
