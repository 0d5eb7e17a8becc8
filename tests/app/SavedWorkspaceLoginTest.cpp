// A saved workspace is a file of another session, language or version: whatever it holds, the
// login goes on, and a window that could not come back is told in the information window.
#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "AppTestSupport.h"
#include "TerminalRun.h"
#include "WholeTerminalMakers.h"

#define IDS_WORKSPACE_LEFT_OUT 855

namespace {

// Bytes of a disk that went wrong, around sections that still read.
const char s_szDamaged[] = "\0\xFF[[=\n[.Z-Order]\n=\n0=NoSuchWindow:2\nNumTables=2\n[ChartView0]\nTkrSymb=\xFF\nMarket=-99999\n";
const char s_szHoldingsArabic[] = "\xE3\xE1\xDF\xED\xC7\xCA \xD3\xE6\xDE \xC7\xE1\xDF\xE6\xED\xCA";

bool ToldLeftOut(const CTerminalRun& run, const std::string& strName)
{
    CString strLine;
    GetSharedGlobals()->LoadString(strLine, IDS_WORKSPACE_LEFT_OUT);
    strLine.Replace("%1", strName.c_str());
    return run.InfoText().find(static_cast<LPCSTR>(strLine)) != std::string::npos;
}

}  // namespace

// The files of an Arabic session, in both languages (its US watch list asks for quotes while
// the key exchange is under way; one window is named by its Arabic title), and a damaged file.
TEST(SavedWorkspaceLogin, SavedFilesNeverStopTheLoginAndTellWhatWasLeftOut)
{
    CWholeTerminalMakers makers;
    const std::vector<std::string> saved = {"Information", "QuotesKSE", s_szHoldingsArabic, "OrderStatusKSE"};
    const struct { bool bArabic; std::string strUserFile; std::vector<std::string> windows; } cases[] = {
        {false, "", saved}, {true, "", saved}, {false, std::string(s_szDamaged, sizeof s_szDamaged - 1), {"NoSuchWindow"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windows.back());
        CTestServer server;
        ASSERT_TRUE(server.Start());
        CTerminalRun run(c.bArabic);
        run.m_onMakersRegistered = &CWholeTerminalMakers::Register;
        for (const char* pszFile : {"/Default.wsp", "/TestTrad.wsp"})
            if (c.strUserFile.empty())
                std::filesystem::copy_file(TB_SOURCE_DIR "/tests/app/data/saved-arabic-workspace" + std::string(pszFile),
                                           run.Folder() + pszFile);
        std::ofstream(run.Folder() + "/TestTrad.wsp", std::ios::binary | std::ios::app) << c.strUserFile;
        ASSERT_TRUE(run.StartLoggedIn(server.Port(), "trader", "secret"));
        // Each window of the file is open again, or the user reads that it was left out.
        for (const std::string& strName : c.windows) {
            IDataTable* pTable = run.App().FindTableByName(strName.c_str());
            const bool bShown = pTable != nullptr && pTable->GetMainWindow()->IsWindowVisible();
            EXPECT_NE(bShown, ToldLeftOut(run, strName)) << strName << "\n" << run.InfoText();
        }
    }
}
