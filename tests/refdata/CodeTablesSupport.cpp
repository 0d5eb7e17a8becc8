#include "CodeTablesSupport.h"

#include <gtest/gtest.h>

#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"

namespace {
class CRefDataEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        TbAddResourcePath(TB_SOURCE_DIR "/tests/refdata/data");
    }
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CRefDataEnvironment);
}  // namespace

CCodeTextModule::CCodeTextModule()
{
    m_hModule = LoadLibraryA("codetexts_1252.dll");
    EXPECT_NE(nullptr, m_hModule);
    m_hOld = TbGetResourceModule();
    TbSetResourceModule(m_hModule);
}

CCodeTextModule::~CCodeTextModule()
{
    TbSetResourceModule(m_hOld);
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}
