// Sound on a machine that may have no audio device: calls return at once and never fail for the
// device's sake.
#include <gtest/gtest.h>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>
#include "QtTestSupport.h"
#include "platform/win/user/Sound.h"

namespace {
// A tenth of a second of a quiet tone as a 16-bit mono wave file.
void WriteWave(const std::string& strPath)
{
    const uint32_t nRate = 8000, nSamples = 800, nData = nSamples * 2;
    FILE* pFile = fopen(strPath.c_str(), "wb");
    ASSERT_NE(nullptr, pFile);
    auto put32 = [pFile](uint32_t n) { fwrite(&n, 4, 1, pFile); };
    auto put16 = [pFile](uint16_t n) { fwrite(&n, 2, 1, pFile); };
    fwrite("RIFF", 1, 4, pFile);
    put32(36 + nData);
    fwrite("WAVEfmt ", 1, 8, pFile);
    put32(16);
    put16(1);
    put16(1);
    put32(nRate);
    put32(nRate * 2);
    put16(2);
    put16(16);
    fwrite("data", 1, 4, pFile);
    put32(nData);
    for (uint32_t i = 0; i < nSamples; ++i)
        put16(static_cast<uint16_t>((i % 20) < 10 ? 2000 : -2000));
    fclose(pFile);
}
}

TEST(QtSound, WavesAndBeepsReturnAtOnceWithOrWithoutSound)
{
    ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
    // A file of this process's own: CTest runs this test and the whole program repeated at
    // once, and one must not rewrite the wave while the other's player reads it.
    const std::string strName = "tone-" + std::to_string(getpid());
    const std::string strPng = ScreenshotPath(strName.c_str());
    const std::string strPath = strPng.substr(0, strPng.size() - 4) + ".wav";
    WriteWave(strPath);
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(PlaySoundA(strPath.c_str(), nullptr, SND_FILENAME | SND_ASYNC));
    EXPECT_TRUE(PlaySoundA(strPath.c_str(), nullptr, SND_FILENAME | SND_SYNC));     // never blocks
    const UINT nBeeps = TbGetBeepCount();
    EXPECT_TRUE(MessageBeep(MB_ICONEXCLAMATION));
    EXPECT_EQ(nBeeps + 1, TbGetBeepCount()) << "a beep is told even where none is heard";
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), TbGetLastBeepType());
    EXPECT_TRUE(PlaySoundA(nullptr, nullptr, 0));                                   // stops
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_FALSE(PlaySoundA("/no/such/file.wav", nullptr, SND_FILENAME | SND_NODEFAULT));
    EXPECT_FALSE(PlaySoundA("SystemExclamation", nullptr, SND_ALIAS));
    PumpQt(50);
    PlaySoundA(nullptr, nullptr, 0);
    remove(strPath.c_str());
}
