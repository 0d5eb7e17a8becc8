// Linked into every test program: a dialog, box or question that opens inside the handler of a
// server line fails the test that made it open.
#include <gtest/gtest.h>

#include "platform/win/user/LineHandling.h"

namespace {
class CModalInLineCheck : public ::testing::Environment
{
public:
    void SetUp() override
    {
        TbSetModalInLineReport([](LPCSTR pszWhat) {
            ADD_FAILURE() << "a " << pszWhat << " opened inside the handler of a server line: it must open after the line";
        });
    }
    void TearDown() override { TbSetModalInLineReport(nullptr); }
};

const auto* s_pCheck = ::testing::AddGlobalTestEnvironment(new CModalInLineCheck);
}  // namespace
