// The font chooser with existing faces only, as a print page's font button calls it: a face the
// machine lacks does not close it; one it has, or one a substitute stands for, does.
#include <gtest/gtest.h>
#include "QtTestSupport.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

TEST(QtFontChoice, ExistingFacesOnly)
{
    TbInitQtPlatform(nullptr, nullptr);
    TbClearTestAnswers();
    const struct { const char* pszAnswer; const char* pszChosen; } cases[] = {
        {"No Such Face Anywhere;10", "Liberation Serif"},
        {"Arial;12", "Arial"},                   // a substitute stands for it
    };
    for (const auto& c : cases) {
        LOGFONTA lf = {};
        CHOOSEFONTA cf = {};
        cf.lStructSize = sizeof cf;
        cf.lpLogFont = &lf;
        cf.Flags = CF_SCREENFONTS | CF_FORCEFONTEXIST;
        TbQueueTestAnswer(TBTESTANSWER{TB_ASK_FONT, IDOK, c.pszAnswer});
        TbQueueTestAnswer(TBTESTANSWER{TB_ASK_FONT, IDOK, "Liberation Serif;11"});
        EXPECT_TRUE(ChooseFontA(&cf)) << c.pszAnswer;
        EXPECT_STREQ(c.pszChosen, lf.lfFaceName) << c.pszAnswer;
        TbClearTestAnswers();
    }
    // Without the flag any name is taken as typed.
    LOGFONTA lf = {};
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS;
    TbQueueTestAnswer(TBTESTANSWER{TB_ASK_FONT, IDOK, "No Such Face Anywhere;10"});
    EXPECT_TRUE(ChooseFontA(&cf));
    EXPECT_STREQ("No Such Face Anywhere", lf.lfFaceName);
}
