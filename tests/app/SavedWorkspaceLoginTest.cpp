// A saved workspace is a file of another session, language or version: whatever it holds, the
// login goes on, and a window that could not come back is told in the information window.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"

#define IDS_WORKSPACE_LEFT_OUT 855

namespace {

// Bytes of a disk that went wrong, around sections that still read.
const char s_szDamaged[] = "\0\xFF[[=\n[.Z-Order\n=\nNumTables=zz\n[ChartView0]\nTkrSymb=\xFF\nMarket=-99999\n";
const char s_szHoldingsArabic[] = "\xE3\xE1\xDF\xED\xC7\xCA \xD3\xE6\xDE \xC7\xE1\xDF\xE6\xED\xCA";

bool ToldLeftOut(const CTerminalRun& run, const std::string& strName)
{
    CString strLine;
    GetSharedGlobals()->LoadString(strLine, IDS_WORKSPACE_LEFT_OUT);
    strLine.Replace("%1", strName.c_str());
    return run.InfoText().find(static_cast<LPCSTR>(strLine)) != std::string::npos;
}

}  // namespace

// The files of an Arabic session: its US watch list asks for quotes while the key exchange is
// under way, and one window is named by its Arabic title.
TEST(SavedWorkspaceLogin, ArabicSessionsFilesLogInInBothLanguages)
{
    CWholeTerminalMakers makers;
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        CTestServer server;
        ASSERT_TRUE(server.Start());
        CTerminalRun run(bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        for (const char* pszFile : {"/Default.wsp", "/TestTrad.wsp"})
            std::filesystem::copy_file(TB_SOURCE_DIR "/tests/app/data/saved-arabic-workspace" + std::string(pszFile),
                                       run.Folder() + pszFile);
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
        // Each window of the file is open again, or the user reads that it was left out.
        for (const char* pszName : {"Information", "QuotesKSE", s_szHoldingsArabic, "OrderStatusKSE"}) {
            IDataTable* pTable = run.App().FindTableByName(pszName);
            const bool bShown = pTable != nullptr && pTable->GetMainWindow()->IsWindowVisible();
            EXPECT_NE(bShown, ToldLeftOut(run, pszName)) << pszName << "\n" << run.InfoText();
        }
    }
}

TEST(SavedWorkspaceLogin, DamagedFilesLogInAndTellWhatWasLeftOut)
{
    const struct { std::string strText; const char* pszLeftOut; } cases[] = {
        {"[.Z-Order]\nNumTables=3\n0=NoSuchWindow:2\n1=QuotesKSE:9\n2=\n", "NoSuchWindow"},
        {std::string(s_szDamaged, sizeof s_szDamaged - 1), ""},
        {"[.Z-Order]\nNumTables=70000\n4463=" + std::string(300, 'W') + "\n", "WWWW"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszLeftOut);
        CTestServer server;
        ASSERT_TRUE(server.Start());
        CTerminalRun run;
        std::ofstream(run.Folder() + "/TestTrad.wsp", std::ios::binary) << c.strText;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
        EXPECT_NE(std::string::npos, run.InfoText().find(c.pszLeftOut)) << run.InfoText();
    }
}
