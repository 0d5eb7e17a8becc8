// The file, font and colour choosers: answered, refused where they break the chooser's rules,
// cancelled, with nobody to ask, and what they write into the caller's structures.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "FakeDisplay.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/GdiDefs.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/user/CommonDialogs.h"
#include "platform/win/user/Message.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/TestAnswers.h"

namespace {
struct FileChooserTest : ::testing::Test {
    void SetUp() override
    {
        char szDir[] = "/tmp/tbchooserXXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szDir));
        strDir = szDir;
        Touch("rates.txt");
        TbClearTestAnswers();
        memset(szFile, 'x', sizeof szFile);
        szFile[0] = 0;
        memset(szTitle, 0, sizeof szTitle);
        ofn = {};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = "Text\0*.txt\0All\0*.*\0\0";
        ofn.nFilterIndex = 2;
        ofn.lpstrFile = szFile;
        ofn.nMaxFile = sizeof szFile;
        ofn.lpstrFileTitle = szTitle;
        ofn.nMaxFileTitle = sizeof szTitle;
        ofn.lpstrInitialDir = strDir.c_str();
    }
    void TearDown() override
    {
        EXPECT_EQ(0, TbPendingTestAnswers());
        TbClearTestAnswers();
        std::string strCommand = "rm -rf '" + strDir + "'";
        EXPECT_EQ(0, system(strCommand.c_str()));
    }
    void Touch(const std::string& strName)
    {
        FILE* pFile = fopen((strDir + "/" + strName).c_str(), "w");
        ASSERT_NE(nullptr, pFile);
        fclose(pFile);
    }
    static void Answer(int nKind, const std::string& strText, int nValue = IDOK)
    {
        TbQueueTestAnswer({nKind, nValue, strText});
    }
    std::string strDir;
    char szFile[64];
    char szTitle[16];
    OPENFILENAMEA ofn;
};
}  // namespace

TEST_F(FileChooserTest, OpenTakesAnExistingFileAndRefusesAMissingOne)
{
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    Answer(TB_ASK_OPENFILE, "missing.txt");          // the chooser stays open
    Answer(TB_ASK_OPENFILE, "rates.txt");
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    const std::string strPath = strDir + "/rates.txt";
    EXPECT_EQ(strPath, szFile);
    EXPECT_STREQ("rates.txt", szTitle);
    EXPECT_EQ(strDir.size() + 1, ofn.nFileOffset);
    EXPECT_STREQ("txt", szFile + ofn.nFileExtension);
    EXPECT_EQ(2u, ofn.nFilterIndex);
    EXPECT_EQ(0u, CommDlgExtendedError());

    // A full path, a folder that is not there, a cancel.
    Answer(TB_ASK_OPENFILE, strDir + "/nowhere/rates.txt");
    Answer(TB_ASK_OPENFILE, "", IDCANCEL);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_EQ(strPath, szFile);                      // untouched by a cancel

    // Nobody to ask: cancelled. A wrong structure size is refused before anything is asked.
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(0u, CommDlgExtendedError());
    ofn.lStructSize = sizeof ofn - 8;
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(static_cast<DWORD>(CDERR_STRUCTSIZE), CommDlgExtendedError());
}

TEST_F(FileChooserTest, APathThatDoesNotFitIsRefusedNeverCut)
{
    const std::string strPath = strDir + "/rates.txt";
    ofn.nMaxFile = static_cast<DWORD>(strPath.size());    // one short for the terminator
    Answer(TB_ASK_OPENFILE, "rates.txt");
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(static_cast<DWORD>(FNERR_BUFFERTOOSMALL), CommDlgExtendedError());
    WORD wNeeded = 0;
    memcpy(&wNeeded, szFile, sizeof wNeeded);
    EXPECT_EQ(strPath.size() + 1, wNeeded);          // the size needed, in the first two bytes
    EXPECT_EQ('x', szFile[2]);                       // and nothing of the path

    ofn.nMaxFile = static_cast<DWORD>(strPath.size() + 1);
    Answer(TB_ASK_OPENFILE, "rates.txt");
    EXPECT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(strPath, szFile);

    // The name alone must fit its own buffer too.
    Touch("a_rather_long_name.txt");
    ofn.nMaxFile = sizeof szFile;
    Answer(TB_ASK_OPENFILE, "a_rather_long_name.txt");
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(static_cast<DWORD>(FNERR_BUFFERTOOSMALL), CommDlgExtendedError());
}

TEST_F(FileChooserTest, SaveAddsTheDefaultExtensionAndAsksBeforeReplacing)
{
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    ofn.lpstrDefExt = "txt";
    ofn.lpstrFileTitle = nullptr;
    Answer(TB_ASK_SAVEFILE, "export");
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(strDir + "/export.txt", szFile);
    EXPECT_FALSE(ofn.Flags & OFN_EXTENSIONDIFFERENT);

    // Replacing: the question comes as a message box; No keeps the chooser open, nobody
    // answering takes its default, No.
    Answer(TB_ASK_SAVEFILE, "rates");
    Answer(TB_ASK_MESSAGEBOX, "", IDNO);
    Answer(TB_ASK_SAVEFILE, "rates.txt");
    Answer(TB_ASK_SAVEFILE, "prices.csv");
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(strDir + "/prices.csv", szFile);
    EXPECT_TRUE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
    Answer(TB_ASK_SAVEFILE, "rates.txt");
    Answer(TB_ASK_MESSAGEBOX, "", IDYES);
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(strDir + "/rates.txt", szFile);

    // The offered name's folder is where the chooser opens.
    ASSERT_EQ(0, mkdir((strDir + "/sub").c_str(), 0700));
    snprintf(szFile, sizeof szFile, "%s/sub/old.txt", strDir.c_str());
    Answer(TB_ASK_SAVEFILE, "new");
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(strDir + "/sub/new.txt", szFile);
}

TEST_F(FileChooserTest, NamesTravelInTheActiveCodePage)
{
    const UINT uOld = GetACP();
    Touch("أسعار.txt");
    ofn.lpstrFileTitle = nullptr;
    ofn.Flags = OFN_FILEMUSTEXIST;
    ASSERT_TRUE(TbSetActiveCodePage(1256));
    Answer(TB_ASK_OPENFILE, "أسعار.txt");
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(TbUtf8ToCodePage(strDir + "/أسعار.txt", 1256), szFile);
    // English cannot spell the name: refused rather than a path to another file.
    ASSERT_TRUE(TbSetActiveCodePage(1252));
    Answer(TB_ASK_OPENFILE, "أسعار.txt");
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(static_cast<DWORD>(FNERR_INVALIDFILENAME), CommDlgExtendedError());
    TbSetActiveCodePage(uOld);
}

TEST(FileChooser, TellsTheDisplayWhatToShow)
{
    CFakeDisplay display;
    TbClearTestAnswers();
    char szFile[MAX_PATH] = "/tmp/report.log";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = "Text (*.txt)\0*.txt;*.log\0All (*.*)\0*.*\0\0";
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = sizeof szFile;
    ofn.lpstrTitle = "Export";
    ofn.lpstrDefExt = "log";
    ofn.Flags = OFN_OVERWRITEPROMPT;
    // The person chooses a file in the display's chooser.
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        TBFILEQUESTION* p = TheFakeDisplay()->m_pFile;
        ASSERT_EQ(2u, p->filters.size());
        EXPECT_EQ("Text (*.txt)", p->filters[0].first);
        EXPECT_EQ("*.txt;*.log", p->filters[0].second);
        EXPECT_EQ("*.*", p->filters[1].second);
        EXPECT_EQ(0, p->nFilter);
        EXPECT_EQ("Export", p->strTitle);
        EXPECT_EQ("/tmp", p->strFolder);
        EXPECT_EQ("report.log", p->strFile);
        EXPECT_EQ("log", p->strDefExt);
        EXPECT_TRUE(p->bSave && p->bConfirmOverwrite && !p->bMustExist);
        p->strPath = "/tmp/chosen";
        p->nFilter = 1;
        p->bOk = TRUE;
        TheFakeDisplay()->m_pOpen->Answer();
    });
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ("/tmp/chosen.log", szFile);
    EXPECT_EQ(2u, ofn.nFilterIndex);
    EXPECT_EQ(1, display.m_nAsked);
}

TEST(FontChooser, StartsFromTheCallersFontAndKeepsItsLimits)
{
    CFakeDisplay display;
    TbClearTestAnswers();
    HDC hdc = GetDC(nullptr);
    const int nDpi = GetDeviceCaps(hdc, LOGPIXELSY);
    ReleaseDC(nullptr, hdc);
    LOGFONTA lf = {};
    lf.lfHeight = -(10 * nDpi / 72);
    lf.lfWeight = 400;
    lf.lfCharSet = ARABIC_CHARSET;
    strcpy(lf.lfFaceName, "Arial");
    CHOOSEFONTA cf = {};
    cf.lStructSize = sizeof cf;
    cf.lpLogFont = &lf;
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_LIMITSIZE;
    cf.rgbColors = RGB(0, 0, 128);
    cf.nSizeMin = 8;
    cf.nSizeMax = 24;
    // Too big for the limits, then unreadable, then a font: only the last closes it.
    TbQueueTestAnswer({TB_ASK_FONT, IDOK, "DejaVu Sans;30"});
    TbQueueTestAnswer({TB_ASK_FONT, IDOK, "DejaVu Sans;twelve"});
    TbQueueTestAnswer({TB_ASK_FONT, IDOK, "DejaVu Sans;12;700;italic;underline;255,0,0"});
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ(0, display.m_nAsked);
    EXPECT_STREQ("DejaVu Sans", lf.lfFaceName);
    EXPECT_EQ(-((120 * nDpi + 360) / 720), lf.lfHeight);
    EXPECT_EQ(700, lf.lfWeight);
    EXPECT_EQ(1, lf.lfItalic);
    EXPECT_EQ(1, lf.lfUnderline);
    EXPECT_EQ(ARABIC_CHARSET, lf.lfCharSet);        // the caller's script stays
    EXPECT_EQ(120, cf.iPointSize);
    EXPECT_EQ(RGB(255, 0, 0), cf.rgbColors);
    EXPECT_EQ(SCREEN_FONTTYPE | BOLD_FONTTYPE | ITALIC_FONTTYPE, cf.nFontType);

    // Without effects no underline and the colour stays; the display sees the caller's font.
    cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    lf.lfHeight = -(10 * nDpi / 72);
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        TBFONTQUESTION* p = TheFakeDisplay()->m_pFont;
        EXPECT_EQ("DejaVu Sans", p->font.strFace);
        EXPECT_EQ(100, p->font.nPointSize10);       // -13 at 96 dpi shows as 10 points
        EXPECT_TRUE(p->font.bItalic);
        EXPECT_FALSE(p->font.bUnderline);
        EXPECT_FALSE(p->bEffects);
        p->font.nPointSize10 = 90;
        p->font.bUnderline = TRUE;
        p->bOk = TRUE;
        TheFakeDisplay()->m_pOpen->Answer();
    });
    ASSERT_TRUE(ChooseFontA(&cf));
    EXPECT_EQ(90, cf.iPointSize);
    EXPECT_EQ(0, lf.lfUnderline);
    EXPECT_EQ(RGB(255, 0, 0), cf.rgbColors);

    cf.Flags = CF_LIMITSIZE;
    cf.nSizeMax = 6;
    EXPECT_FALSE(ChooseFontA(&cf));
    EXPECT_EQ(static_cast<DWORD>(CFERR_MAXLESSTHANMIN), CommDlgExtendedError());
    cf.Flags = CF_SCREENFONTS;
    TbQueueTestAnswer({TB_ASK_FONT, IDCANCEL, ""});
    EXPECT_FALSE(ChooseFontA(&cf));
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_EQ(0, TbPendingTestAnswers());
}

TEST(ColorChooser, EachCallerKeepsItsOwnCustomColours)
{
    CFakeDisplay display;
    TbClearTestAnswers();
    COLORREF custom[16] = {};
    for (int i = 0; i < 16; ++i)
        custom[i] = RGB(i, i, i);
    CHOOSECOLORA cc = {};
    cc.lStructSize = sizeof cc;
    cc.rgbResult = 0x020000FF;                      // palette-relative red
    cc.lpCustColors = custom;
    cc.Flags = CC_RGBINIT | CC_FULLOPEN;
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "300,0,0"});
    TbQueueTestAnswer({TB_ASK_COLOR, IDOK, "10,20,30"});
    ASSERT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(RGB(10, 20, 30), cc.rgbResult);
    EXPECT_EQ(RGB(5, 5, 5), custom[5]);

    // On the display: the start colour as plain RGB, the caller's customs; a custom colour
    // the person changes stays even when it cancels.
    cc.rgbResult = 0x020000FF;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        TBCOLORQUESTION* p = TheFakeDisplay()->m_pColor;
        EXPECT_EQ(RGB(255, 0, 0), p->crColor);
        EXPECT_EQ(RGB(15, 15, 15), p->custom[15]);
        p->custom[3] = RGB(1, 2, 3);
        p->crColor = RGB(9, 9, 9);
        p->bOk = FALSE;
        TheFakeDisplay()->m_pOpen->Answer();
    });
    EXPECT_FALSE(ChooseColorA(&cc));
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_EQ(0x020000FFu, cc.rgbResult);
    EXPECT_EQ(RGB(1, 2, 3), custom[3]);

    // Without CC_RGBINIT the chooser starts from black; no custom colours at all is refused.
    cc.Flags = 0;
    SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR nId, DWORD) {
        KillTimer(nullptr, nId);
        EXPECT_EQ(0u, TheFakeDisplay()->m_pColor->crColor);
        TheFakeDisplay()->m_pColor->bOk = TRUE;
        TheFakeDisplay()->m_pOpen->Answer();
    });
    EXPECT_TRUE(ChooseColorA(&cc));
    EXPECT_EQ(0u, cc.rgbResult);
    cc.lpCustColors = nullptr;
    EXPECT_FALSE(ChooseColorA(&cc));
    EXPECT_EQ(static_cast<DWORD>(CDERR_INITIALIZATION), CommDlgExtendedError());
}
