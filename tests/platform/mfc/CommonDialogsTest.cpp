// The class library's file, font and colour dialogs over the layer's choosers, answered as a
// person would through the test answers.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "platform/mfc/CommonDialogs.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"

namespace {
struct MfcDialogsTest : ::testing::Test {
    void SetUp() override
    {
        TbClearTestAnswers();
        char szDir[] = "/tmp/tbmfcdlgXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szDir));
        strDir = szDir;
    }
    void TearDown() override
    {
        EXPECT_EQ(0, TbPendingTestAnswers());
        EXPECT_EQ(0, system(("rm -rf '" + strDir + "'").c_str()));
    }
    std::string strDir;
};
}  // namespace

TEST_F(MfcDialogsTest, FileDialogTakesTheLibrarysFilterAndSplitsTheChosenPath)
{
    const std::string strOld = strDir + "/old.tbl";
    CFileDialog dlg(FALSE, "tbl", strOld.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                    "Tables (*.tbl)|*.tbl|All (*.*)|*.*||");
    // The filter as the structure wants it: each piece ending in a zero, the list in another.
    const char* psz = dlg.m_ofn.lpstrFilter;
    std::string strPieces;
    for (; *psz; psz += strlen(psz) + 1)
        strPieces += std::string(psz) + "/";
    EXPECT_EQ("Tables (*.tbl)/*.tbl/All (*.*)/*.*/", strPieces);
    EXPECT_EQ(static_cast<DWORD>(MAX_PATH), dlg.m_ofn.nMaxFile);
    EXPECT_EQ(strOld, (LPCSTR)dlg.GetPathName());

    TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, "quotes"});
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(strDir + "/quotes.tbl", (LPCSTR)dlg.GetPathName());
    EXPECT_STREQ("quotes.tbl", dlg.GetFileName());
    EXPECT_STREQ("tbl", dlg.GetFileExt());

    // An open dialog on a file without an extension; then cancelled.
    CFileDialog open(TRUE, nullptr, nullptr, OFN_FILEMUSTEXIST);
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, strDir});     // a folder is no file
    FILE* pFile = fopen((strDir + "/README").c_str(), "w");
    ASSERT_NE(nullptr, pFile);
    fclose(pFile);
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDOK, strDir + "/README"});
    ASSERT_EQ(IDOK, open.DoModal());
    EXPECT_STREQ("README", open.GetFileName());
    EXPECT_STREQ("", open.GetFileExt());
    TbQueueTestAnswer({TB_ASK_OPENFILE, IDCANCEL, ""});
    EXPECT_EQ(IDCANCEL, open.DoModal());
    EXPECT_EQ(0u, CommDlgExtendedError());

    // Longer than the library's buffer: refused, not cut.
    TbQueueTestAnswer({TB_ASK_SAVEFILE, IDOK, "/tmp/" + std::string(300, 'a') + ".tbl"});
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(static_cast<DWORD>(FNERR_BUFFERTOOSMALL), CommDlgExtendedError());
}

TEST_F(MfcDialogsTest, FontDialogStartsFromItsFontAndGivesTheChoiceBack)
{
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lf.lfWeight = 400;
    strcpy(lf.lfFaceName, "Arial");
    CFontDialog dlg(&lf);
    EXPECT_TRUE(dlg.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
    EXPECT_TRUE(dlg.m_cf.Flags & CF_EFFECTS);
    EXPECT_STREQ("Arial", dlg.m_lf.lfFaceName);
    TbQueueTestAnswer({TB_ASK_FONT, IDOK, "DejaVu Sans;11;700;0,128,0"});
    ASSERT_EQ(IDOK, dlg.DoModal());
    LOGFONTA chosen = {};
    dlg.GetCurrentFont(&chosen);
    EXPECT_STREQ("DejaVu Sans", chosen.lfFaceName);
    EXPECT_EQ(700, chosen.lfWeight);
    EXPECT_EQ(RGB(0, 128, 0), dlg.GetColor());
    EXPECT_STREQ("Arial", lf.lfFaceName);           // the caller's font is only where it started

    CFontDialog plain(nullptr, CF_SCREENFONTS);
    EXPECT_FALSE(plain.m_cf.Flags & CF_INITTOLOGFONTSTRUCT);
    EXPECT_EQ(IDCANCEL, plain.DoModal());           // nobody to ask
}

TEST_F(MfcDialogsTest, ColorDialogsShareTheLibrarysCustomColours)
{
    COLORREF* pSaved = CColorDialog::GetSavedCustomColors();
    CColorDialog first(RGB(1, 2, 3));
    CColorDialog second;
    EXPECT_EQ(pSaved, first.m_cc.lpCustColors);
    EXPECT_EQ(pSaved, second.m_cc.lpCustColors);
    EXPECT_TRUE(first.m_cc.Flags & CC_RGBINIT);
    EXPECT_FALSE(second.m_cc.Flags & CC_RGBINIT);
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "4,5,6"});
    ASSERT_EQ(IDOK, first.DoModal());
    EXPECT_EQ(RGB(4, 5, 6), first.GetColor());
    EXPECT_EQ(IDCANCEL, second.DoModal());
    EXPECT_EQ(0u, second.GetColor());
}
