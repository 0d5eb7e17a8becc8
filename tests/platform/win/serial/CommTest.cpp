// Serial ports on a pseudo-terminal pair: line settings and the speeds termios refuses, the
// event character releasing the watch, a new mask ending a wait, reading and writing.
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include "platform/win/kernel/Kernel.h"
#include "platform/win/serial/Comm.h"

namespace {
struct CPtyPort {
    int fdMaster = -1;
    HANDLE hPort = INVALID_HANDLE_VALUE;
    CPtyPort()
    {
        int fdSlave = -1;
        char szName[256];
        if (openpty(&fdMaster, &fdSlave, szName, nullptr, nullptr) != 0)
            return;
        SetCommPortDevice("COM3", szName);
        hPort = OpenCommPort("COM3");
        close(fdSlave);     // the port has its own descriptor
    }
    ~CPtyPort()
    {
        if (hPort != INVALID_HANDLE_VALUE)
            CloseHandle(hPort);
        if (fdMaster >= 0)
            close(fdMaster);
        SetCommPortDevice("COM3", nullptr);
    }
    void Peer(const std::string& bytes) { ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(fdMaster, bytes.data(), bytes.size())); }
};

DCB LineSettings(DWORD dwBaud)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    dcb.BaudRate = dwBaud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.EvtChar = '\n';
    dcb.XonChar = 17;
    dcb.XoffChar = 19;
    return dcb;
}
}

TEST(Comm, DevicePathsAndRefusedPorts)
{
    char szPath[64];
    ASSERT_TRUE(GetCommPortDevice("COM2", szPath, sizeof szPath));
    EXPECT_STREQ("/dev/ttyS1", szPath);
    SetCommPortDevice("COM2", "/dev/null");
    ASSERT_TRUE(GetCommPortDevice("COM2", szPath, sizeof szPath));
    EXPECT_STREQ("/dev/null", szPath);
    // A device that is no terminal is no serial port.
    EXPECT_EQ(INVALID_HANDLE_VALUE, OpenCommPort("COM2"));
    SetCommPortDevice("COM2", nullptr);
    EXPECT_FALSE(GetCommPortDevice("LPT1", szPath, sizeof szPath));
    EXPECT_FALSE(GetCommPortDevice("COM2", szPath, 4));
}

TEST(Comm, SpeedsTermiosCannotSetAreRefused)
{
    CPtyPort pty;
    if (pty.fdMaster < 0)
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    ASSERT_NE(INVALID_HANDLE_VALUE, pty.hPort);
    for (DWORD dwBaud : {110u, 9600u, 19200u, 38400u}) {
        DCB dcb = LineSettings(dwBaud);
        EXPECT_TRUE(SetCommState(pty.hPort, &dcb)) << dwBaud;
    }
    for (DWORD dwBaud : {14400u, 56000u, 128000u, 256000u}) {
        DCB dcb = LineSettings(dwBaud);
        EXPECT_FALSE(SetCommState(pty.hPort, &dcb)) << dwBaud;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    }
    DCB dcb = LineSettings(9600);
    dcb.StopBits = ONE5STOPBITS;
    EXPECT_FALSE(SetCommState(pty.hPort, &dcb));
    DCB now{};
    ASSERT_TRUE(GetCommState(pty.hPort, &now));
    EXPECT_EQ(38400u, now.BaudRate) << "a refused setting leaves the last good one";
}

TEST(Comm, EventCharacterReleasesTheWatchAndANewMaskEndsIt)
{
    CPtyPort pty;
    if (pty.fdMaster < 0)
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    ASSERT_NE(INVALID_HANDLE_VALUE, pty.hPort);
    DCB dcb = LineSettings(9600);
    ASSERT_TRUE(SetCommState(pty.hPort, &dcb));
    ASSERT_TRUE(SetupComm(pty.hPort, 16000, 8192));
    ASSERT_TRUE(SetCommMask(pty.hPort, EV_RXFLAG));
    std::atomic<int> nEvents{0};
    std::atomic<DWORD> dwLast{0xFFFF};
    std::thread watch([&] {
        DWORD dwMask = 0;
        while (WaitCommEvent(pty.hPort, &dwMask) && dwMask) {
            dwLast = dwMask;
            ++nEvents;
        }
        dwLast = dwMask;
    });
    pty.Peer("no line end yet");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(0, nEvents.load());
    pty.Peer(" - now\nmore");
    for (int i = 0; i < 200 && nEvents.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(1, nEvents.load());
    EXPECT_EQ(static_cast<DWORD>(EV_RXFLAG), dwLast.load());
    char buf[64];
    DWORD dwRead = 0;
    ASSERT_TRUE(ReadComm(pty.hPort, buf, sizeof buf, &dwRead));
    EXPECT_EQ("no line end yet - now\nmore", std::string(buf, dwRead));
    ASSERT_TRUE(ReadComm(pty.hPort, buf, sizeof buf, &dwRead));
    EXPECT_EQ(0u, dwRead);
    // Closing the port clears the mask first: the watch ends.
    ASSERT_TRUE(SetCommMask(pty.hPort, 0));
    watch.join();
    EXPECT_EQ(0u, dwLast.load());
}

TEST(Comm, WritesReachThePeerAndPurgeDropsInput)
{
    CPtyPort pty;
    if (pty.fdMaster < 0)
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    ASSERT_NE(INVALID_HANDLE_VALUE, pty.hPort);
    DCB dcb = LineSettings(9600);
    ASSERT_TRUE(SetCommState(pty.hPort, &dcb));
    DWORD dwWritten = 0;
    ASSERT_TRUE(WriteComm(pty.hPort, "@OK3J\r", 6, &dwWritten, 1000));
    EXPECT_EQ(6u, dwWritten);
    char buf[16] = {};
    EXPECT_EQ(6, read(pty.fdMaster, buf, sizeof buf));
    EXPECT_EQ("@OK3J\r", std::string(buf, 6));
    pty.Peer("stale");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    COMSTAT stat{};
    DWORD dwErrors = 1;
    ASSERT_TRUE(ClearCommError(pty.hPort, &dwErrors, &stat));
    EXPECT_EQ(0u, dwErrors);
    EXPECT_EQ(5u, stat.cbInQue);
    ASSERT_TRUE(PurgeComm(pty.hPort, PURGE_RXCLEAR | PURGE_TXCLEAR));
    DWORD dwRead = 1;
    ASSERT_TRUE(ReadComm(pty.hPort, buf, sizeof buf, &dwRead));
    EXPECT_EQ(0u, dwRead);
}

TEST(Comm, EventsWaitAndReset)
{
    HANDLE hAuto = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE hManual = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hAuto, 10));
    std::thread setter([&] { SetEvent(hAuto); });
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hAuto, INFINITE));
    setter.join();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hAuto, 0)) << "automatic reset";
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hManual, 0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), WaitForSingleObject(hManual, 0));
    ResetEvent(hManual);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(hManual, 0));
    EXPECT_TRUE(CloseHandle(hAuto));
    EXPECT_TRUE(CloseHandle(hManual));
    EXPECT_FALSE(CloseHandle(nullptr));
}
