#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/base/NorvGlobals.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"

namespace {
class CDisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
    }
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CDisplayEnvironment);
}  // namespace

CTestLanguage::CTestLanguage(int nCodePage)
{
    char szName[32];
    snprintf(szName, sizeof szName, "_%d.dll", nCodePage);
    m_hModule = LoadLibraryA(szName);
    EXPECT_NE(nullptr, m_hModule) << szName;
    m_hOld = TbGetResourceModule();
    TbSetResourceModule(m_hModule);
    m_bOldRightToLeft = GetNorvGlobals().m_bRightToLeft;
    GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
}

CTestLanguage::~CTestLanguage()
{
    GetNorvGlobals().SetRightToLeft(m_bOldRightToLeft);
    TbSetResourceModule(m_hOld);
    if (m_hModule)
        FreeLibrary(m_hModule);
}

CRecordingInfoWindow::CRecordingInfoWindow() : m_pOld(GetSharedGlobals()->m_pInfoWindow)
{
    GetSharedGlobals()->m_pInfoWindow = this;
}

CRecordingInfoWindow::~CRecordingInfoWindow()
{
    GetSharedGlobals()->m_pInfoWindow = m_pOld;
}
