// Process services: temporary files, 64-bit time, global memory, memory status and ticks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win/Windows.h"

namespace {
// Points TMPDIR at a fresh folder for one test and puts the old value back.
class CTempDirEnv
{
public:
    CTempDirEnv()
    {
        char szTemplate[] = "/tmp/tb_kernel_XXXXXX";
        m_strDir = mkdtemp(szTemplate) ? szTemplate : "";
        if (const char* psz = std::getenv("TMPDIR")) {
            m_strOld = psz;
            m_bHadOld = true;
        }
        setenv("TMPDIR", m_strDir.c_str(), 1);
    }
    ~CTempDirEnv()
    {
        if (m_bHadOld)
            setenv("TMPDIR", m_strOld.c_str(), 1);
        else
            unsetenv("TMPDIR");
        std::system(("rm -rf '" + m_strDir + "'").c_str());
    }
    const std::string& Dir() const { return m_strDir; }

private:
    std::string m_strDir, m_strOld;
    bool m_bHadOld = false;
};

unsigned ModeOf(const std::string& strPath)
{
    struct stat st {};
    return stat(strPath.c_str(), &st) == 0 ? static_cast<unsigned>(st.st_mode & 07777) : 0xFFFFu;
}
}  // namespace

TEST(TempFiles, LiveInAPrivateFolderWithPrivateModes)
{
    CTempDirEnv env;
    const mode_t oldMask = umask(0);                    // even a careless umask gives private files
    char szDir[MAX_PATH];
    const DWORD nLen = GetTempPathA(MAX_PATH, szDir);
    umask(oldMask);
    const std::string strExpected = env.Dir() + "/tb-" + std::to_string(getuid()) + "/";
    ASSERT_EQ(strExpected, std::string(szDir));
    EXPECT_EQ(strExpected.size(), nLen);
    EXPECT_EQ(0700u, ModeOf(szDir));
    // Too small a buffer: the size needed, terminator included, and nothing written.
    char szSmall[4] = "abc";
    EXPECT_EQ(strExpected.size() + 1, GetTempPathA(sizeof(szSmall), szSmall));
    EXPECT_STREQ("abc", szSmall);

    char szFile1[MAX_PATH], szFile2[MAX_PATH];
    const UINT u1 = GetTempFileNameA(szDir, "ViewTable", 0, szFile1);
    const UINT u2 = GetTempFileNameA(szDir, "ViewTable", 0, szFile2);
    ASSERT_NE(0u, u1);
    ASSERT_NE(0u, u2);
    EXPECT_STRNE(szFile1, szFile2);
    EXPECT_EQ(0u, std::string(szFile1).find(strExpected + "Vie"));    // the prefix keeps three characters
    EXPECT_EQ(".tmp", std::string(szFile1).substr(std::strlen(szFile1) - 4));
    EXPECT_EQ(0600u, ModeOf(szFile1));
    EXPECT_EQ(0600u, ModeOf(szFile2));

    // A given number only makes the name.
    char szNamed[MAX_PATH];
    EXPECT_EQ(0x1234u, GetTempFileNameA(szDir, "x", 0x1234, szNamed));
    EXPECT_EQ(strExpected + "x1234.tmp", szNamed);
    EXPECT_EQ(0xFFFFu, ModeOf(szNamed));
    EXPECT_EQ(0u, GetTempFileNameA((env.Dir() + "/missing").c_str(), "x", 0, szNamed));
    EXPECT_EQ(0u, GetTempFileNameA(std::string(300, 'a').c_str(), "x", 0, szNamed));
}

TEST(TempFiles, AFolderHeldBySomeoneElseIsNotUsed)
{
    CTempDirEnv env;
    // The expected name exists but is open to others: a fresh private folder takes its place.
    const std::string strShared = env.Dir() + "/tb-" + std::to_string(getuid());
    ASSERT_EQ(0, mkdir(strShared.c_str(), 0777));
    chmod(strShared.c_str(), 0777);
    char szDir[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, szDir), 0u);
    EXPECT_NE(strShared + "/", std::string(szDir));
    EXPECT_EQ(0u, std::string(szDir).find(strShared + "-"));
    EXPECT_EQ(0700u, ModeOf(szDir));
}

TEST(Time64, BreaksDownAndRefusesWhatTheOriginalRefuses)
{
    __time64_t tNow = 0;
    const __time64_t tReturned = _time64(&tNow);
    EXPECT_EQ(tNow, tReturned);
    EXPECT_GT(tNow, 1600000000);

    const __time64_t t = 1109808015;                   // 2005-03-03 00:00:15 UTC
    const tm* pUtc = _gmtime64(&t);
    ASSERT_NE(nullptr, pUtc);
    EXPECT_EQ(105, pUtc->tm_year);
    EXPECT_EQ(2, pUtc->tm_mon);
    EXPECT_EQ(3, pUtc->tm_mday);
    EXPECT_EQ(15, pUtc->tm_sec);

    tm local {};
    ASSERT_EQ(0, _localtime64_s(&local, &t));
    EXPECT_EQ(t, _mktime64(&local));                   // local time converts back to the same second
    const __time64_t tBeyond = 32535216000LL;          // 3001-01-01
    const __time64_t tBefore = -1;
    EXPECT_EQ(nullptr, _localtime64(&tBefore));
    EXPECT_EQ(nullptr, _gmtime64(&tBeyond));
    EXPECT_EQ(nullptr, _localtime64(nullptr));
    EXPECT_EQ(EINVAL, _localtime64_s(&local, &tBefore));
    EXPECT_EQ(-1, local.tm_year);
    tm far {};
    far.tm_year = 1200;                                 // year 3100
    far.tm_mday = 1;
    EXPECT_EQ(-1, _mktime64(&far));
}

TEST(GlobalMemory, MoveableHandlesSurviveReallocation)
{
    HGLOBAL hMem = GlobalAlloc(GHND, 16);
    ASSERT_NE(nullptr, hMem);
    EXPECT_EQ(16u, GlobalSize(hMem));
    BYTE* p = static_cast<BYTE*>(GlobalLock(hMem));
    ASSERT_NE(nullptr, p);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(0, p[i]);
    std::memcpy(p, "0123456789abcdef", 16);
    EXPECT_EQ(p, GlobalLock(hMem));                    // locked twice
    EXPECT_TRUE(GlobalUnlock(hMem));                    // still locked once
    EXPECT_EQ(nullptr, GlobalReAlloc(hMem, 1 << 20, GMEM_ZEROINIT));   // a locked block cannot move
    EXPECT_FALSE(GlobalUnlock(hMem));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());

    EXPECT_EQ(hMem, GlobalReAlloc(hMem, 1 << 20, GMEM_ZEROINIT));      // same handle, bigger block
    EXPECT_EQ(static_cast<SIZE_T>(1 << 20), GlobalSize(hMem));
    p = static_cast<BYTE*>(GlobalLock(hMem));
    EXPECT_EQ(0, std::memcmp(p, "0123456789abcdef", 16));
    EXPECT_EQ(0, p[(1 << 20) - 1]);
    GlobalUnlock(hMem);
    EXPECT_EQ(nullptr, GlobalFree(hMem));
    EXPECT_EQ(hMem, GlobalFree(hMem));                 // a freed handle is refused
    EXPECT_EQ(nullptr, GlobalLock(hMem));
    EXPECT_EQ(0u, GlobalSize(hMem));

    // A fixed block is its own address and moves only when allowed.
    HGLOBAL hFixed = GlobalAlloc(GPTR, 8);
    ASSERT_NE(nullptr, hFixed);
    EXPECT_EQ(hFixed, GlobalLock(hFixed));
    EXPECT_EQ(nullptr, GlobalReAlloc(hFixed, 1 << 20, 0));
    HGLOBAL hMoved = GlobalReAlloc(hFixed, 1 << 20, GMEM_MOVEABLE);
    ASSERT_NE(nullptr, hMoved);
    EXPECT_EQ(hMoved, GlobalLock(hMoved));
    EXPECT_EQ(nullptr, GlobalFree(hMoved));
    HGLOBAL hEmpty = GlobalAlloc(GMEM_MOVEABLE, 0);     // an empty block still has a handle
    EXPECT_NE(nullptr, hEmpty);
    EXPECT_EQ(0u, GlobalSize(hEmpty));
    EXPECT_EQ(nullptr, GlobalFree(hEmpty));
}

TEST(Process, MemoryStatusTicksAndTheLastError)
{
    MEMORYSTATUS ms {};
    GlobalMemoryStatus(&ms);
    EXPECT_EQ(sizeof(MEMORYSTATUS), ms.dwLength);
    EXPECT_GT(ms.dwTotalPhys, 0u);
    EXPECT_LE(ms.dwAvailPhys, ms.dwTotalPhys);
    EXPECT_LE(ms.dwMemoryLoad, 100u);
    EXPECT_GE(ms.dwTotalPageFile, ms.dwTotalPhys);
    EXPECT_LE(ms.dwAvailVirtual, ms.dwTotalVirtual);
    GlobalMemoryStatus(nullptr);

    const DWORD dwStart = GetTickCount();
    Sleep(30);
    const DWORD dwElapsed = GetTickCount() - dwStart;  // unsigned difference survives the wrap
    EXPECT_GE(dwElapsed, 30u);
    EXPECT_LT(dwElapsed, 5000u);

    SetLastError(ERROR_ACCESS_DENIED);
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
}
