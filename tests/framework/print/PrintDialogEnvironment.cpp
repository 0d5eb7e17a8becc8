// One display and one application object for the print tests, unless another part of the
// program made them first.
#include <gtest/gtest.h>

#include <memory>

#include "framework/base/TBApp.h"
#include "framework/window/TWApp.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/kernel/Resources.h"

namespace {
class CPrintDialogTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        if (GetTBApp() == nullptr) {
            m_pApp = std::make_unique<CTWApp>();
            m_pApp->Init(LoadLibraryA("_1252.dll"), "test_framework_print", 0);
            ASSERT_TRUE(m_pApp->RegisterWindowClasses());
        }
    }
    std::unique_ptr<CTWApp> m_pApp;
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CPrintDialogTestEnvironment);
}  // namespace
