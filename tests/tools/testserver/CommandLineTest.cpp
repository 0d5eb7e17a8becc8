// The server's command line and data folder: --help lists every option and ends at once, a
// value that does not read is refused, a broken shapes file stops the server with its line,
// and a scripted section answers in place of a shape.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <cstdio>
#include <fstream>
#include "SimSession.h"

namespace {

// Runs the server to its end; its exit code, what it printed on stdout and stderr.
int RunServer(const std::string& strArgs, std::string& strOut)
{
    const std::string strCommand = std::string(TESTSERVER_PATH) + " " + strArgs + " 2>&1";
    FILE* p = popen(strCommand.c_str(), "r");
    if (!p)
        return -1;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        strOut.append(buf, n);
    const int nStatus = pclose(p);
    return WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1;
}

std::string CopyOfData()
{
    char szDir[] = "/tmp/tb-sim-data-XXXXXX";
    if (!mkdtemp(szDir))
        return "";
    const std::string strDir = szDir;
    const std::string strCommand = "cp -r " TB_SOURCE_DIR "/tools/testserver/data/. " + strDir;
    return system(strCommand.c_str()) == 0 ? strDir : "";
}

TEST(CommandLine, HelpListsEveryOptionAndEndsAtOnce)
{
    std::string strOut;
    EXPECT_EQ(0, RunServer("--help", strOut));
    for (const char* psz : {"--port", "--data", "--seed", "--clock", "--rate", "--scenario", "--fail", "--split",
                            "--lines", "--rsa-bits", "--run-time", "--idle-time", "--log", "--help"})
        EXPECT_NE(std::string::npos, strOut.find(psz)) << psz;
    for (const char* psz : {"live-in-refill", "en-after-error", "reverse=MN", "close-in-stream=MN", "delay=MN:S", "no-number=MN:F",
                            "live-first=MN", "us-mm-kse-0", "second-market-list", "unknown-types", "pad-lines"})
        EXPECT_NE(std::string::npos, strOut.find(psz)) << psz;
}

TEST(CommandLine, ValuesThatDoNotReadAreRefused)
{
    for (const char* pszArgs : {"--fail KB", "--fail KB=x", "--clock 2026-13-01", "--rate -1", "--scenario reverse",
                                "--scenario nothing", "--seed", "--port 70000"}) {
        std::string strOut;
        EXPECT_EQ(2, RunServer(pszArgs, strOut)) << pszArgs;
        EXPECT_NE(std::string::npos, strOut.find("testserver:")) << pszArgs;
    }
}

TEST(CommandLine, BrokenShapesFileStopsTheServerWithItsLine)
{
    const std::string strDir = CopyOfData();
    ASSERT_FALSE(strDir.empty());
    std::ofstream(strDir + "/shapes.txt", std::ios::app) << "XQ plain\n  head {nowhere.1}\n";
    std::string strOut;
    EXPECT_EQ(1, RunServer("--port 0 --run-time 5 --data " + strDir, strOut));
    EXPECT_NE(std::string::npos, strOut.find("shapes.txt:")) << strOut;
    EXPECT_NE(std::string::npos, strOut.find("{nowhere.1}")) << strOut;
}

TEST(CommandLine, ScriptedSectionAnswersInPlaceOfTheShape)
{
    const std::string strDir = CopyOfData();
    ASSERT_FALSE(strDir.empty());
    std::ofstream(strDir + "/session.txt", std::ios::app) << "[MT]\n~MT|{N}|XC||0|80000|130000\n";
    CSimSession s;
    ASSERT_TRUE(s.Start({"--data", strDir}));
    ASSERT_TRUE(s.client.Connect(s.server.Port()));
    const long nLink = s.Request("MT", "");
    std::string line;
    ASSERT_TRUE(s.client.ReadLine(line, 2000));
    EXPECT_EQ("~MT|" + std::to_string(nLink) + "|XC||0|80000|130000", line);
}

}  // namespace
