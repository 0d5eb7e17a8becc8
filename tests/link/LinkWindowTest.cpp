// The link window without the dispatcher: its "Communication" settings, the connection text, the
// replay of a recorded feed, a serial line on a pseudo-terminal pair, and UDP on loopback.
#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>
#include <fstream>
#include <sstream>
#include <string>
#include "LinkSessionSupport.h"
#include "LinkPortDouble.h"
#include "link/LinkChecksum.h"
#include "link/NorvCom.h"
#include "platform/win/serial/Comm.h"

namespace {

// What a test link saw; it outlives the window, which deletes itself.
struct CLinkRecord {
    std::vector<std::string> lines;
    std::vector<int> states;
    std::vector<std::string> cycles;
};

class CTestLink : public CNorvCom
{
public:
    CTestLink(const std::string& strSettings, CLinkRecord* pRecord)
        : CNorvCom(strSettings.c_str(), 3, 7, 4096), m_pRecord(pRecord)
    {
        Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW);
    }
    void OnLineReceived(const char* pszLine) override { m_pRecord->lines.push_back(pszLine); }
    void OnCommState(int nCode) override { m_pRecord->states.push_back(nCode); }
    void OnCommDestroy() override {}
    void OnReplayCycle(const char* pszText) override { m_pRecord->cycles.push_back(pszText); }
    void SetReplay(BOOL bRepeat, int nPeriod)
    {
        m_bReplayRepeat = bRepeat;
        m_nReplayPeriod = nPeriod;
    }
    LINK_OPTIONS& Options() { return LinkOptions(); }
private:
    CLinkRecord* m_pRecord;
};

std::string ReadFile(const std::string& strPath)
{
    std::ifstream in(strPath);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(LinkWindow, SettingsDefaultsAndRoundTrip)
{
    CLinkRecord record;
    const std::string strEmpty = WriteSettings("");
    auto* pLink = new CTestLink(strEmpty, &record);
    CString strText;
    pLink->GetConnectionText(&strText);
    EXPECT_STREQ("Not connected", strText);
    EXPECT_FALSE(pLink->IsEncryptionOption());
    pLink->SaveCommSettings();
    const std::string saved = ReadFile(strEmpty);
    for (const char* pszLine : {"Connection type=1\n", "IP-Port=8001\n", "IP-Server=192.168.1.10\n",
                                "IP-Server2=192.168.1.10\n", "CryptConnection=No\n", "UseUDP=No\n", "Reconnect Time=0\n",
                                "Localecho=No\n", "Autowrap=Yes\n", "COM Port=1\n", "Baud Rate=9600\n", "Flowctrl=0\n",
                                "Parity=0\n", "Stopbits=0\n", "XonOff=Yes\n", "Logfile in=No\n", "WinPlace="})
        EXPECT_NE(std::string::npos, saved.find(pszLine)) << pszLine << " in\n" << saved;
    EXPECT_NE(std::string::npos, saved.find("Font=Courier")) << saved;
    // Closing the window only hides it: the link stays.
    pLink->ShowLinkWindow(SW_SHOW);
    pLink->SendMessage(WM_CLOSE);
    EXPECT_TRUE(IsWindow(pLink->m_hWnd));
    EXPECT_FALSE(pLink->IsLinkWindowVisible());
    pLink->DestroyWindow();

    const std::string strSet = WriteSettings("Connection type=2\nIP-Port=9100\nIP-Server=feed.example\n"
                                             "CryptConnection=Yes\nCOM Port=5\nBaud Rate=19200\nParity=2\n"
                                             "Logfile in path=" + strEmpty + ".traffic\n");
    pLink = new CTestLink(strSet, &record);
    EXPECT_TRUE(pLink->IsEncryptionOption());
    // The traffic log has one line per line received.
    ASSERT_TRUE(pLink->OpenTrafficLog());
    char szLine[] = "QT|1|logged";
    pLink->DeliverLine(szLine);
    pLink->CloseTrafficLog();
    EXPECT_EQ("QT|1|logged\n", ReadFile(strEmpty + ".traffic"));
    pLink->SaveCommSettings();
    const std::string again = ReadFile(strSet);
    for (const char* pszLine : {"Connection type=2\n", "IP-Port=9100\n", "IP-Server=feed.example\n",
                                "IP-Server2=feed.example\n", "CryptConnection=Yes\n", "COM Port=5\n",
                                "Baud Rate=19200\n", "Parity=2\n"})
        EXPECT_NE(std::string::npos, again.find(pszLine)) << pszLine << " in\n" << again;
    pLink->DestroyWindow();
}

TEST(LinkWindow, ReplayDeliversEveryLineAndShowsTheCycleOnce)
{
    char szDir[] = "/tmp/tb-link-replay-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    char szOld[MAX_PATH];
    ASSERT_NE(nullptr, getcwd(szOld, sizeof szOld));
    ASSERT_EQ(0, chdir(szDir));
    std::ofstream(std::string(szDir) + "/datafeed.log") << "first|1|2\r\nsecond\n\n" << std::string(40000, 'x')
                                                        << "\nlast without newline";
    CLinkRecord record;
    auto* pLink = new CTestLink(WriteSettings(""), &record);
    pLink->SetReplay(/*bRepeat=*/FALSE, 1);
    ASSERT_TRUE(pLink->StartReplay());
    EXPECT_TRUE(PumpUntil([&] { return !record.cycles.empty(); }));
    PumpFor(30);
    // The over-long line is skipped whole; the empty one is a line.
    EXPECT_EQ(std::vector<std::string>({"first|1|2", "second", "", "last without newline"}), record.lines);
    ASSERT_EQ(1u, record.cycles.size());
    EXPECT_EQ(0u, record.cycles[0].find("Time for one cycle: 00:00:0")) << record.cycles[0];
    EXPECT_NE(std::string::npos, record.cycles[0].find(" Lines: 4")) << record.cycles[0];
    EXPECT_FALSE(pLink->IsReplaying());

    record.lines.clear();
    pLink->SetReplay(/*bRepeat=*/TRUE, 1);
    ASSERT_TRUE(pLink->StartReplay());
    EXPECT_TRUE(PumpUntil([&] { return record.lines.size() >= 9; }));
    EXPECT_EQ(1u, record.cycles.size()) << "repeat shows no cycle message";
    EXPECT_TRUE(pLink->IsReplaying());
    pLink->StopReplay();
    EXPECT_EQ(4 + static_cast<long>(record.lines.size()), pLink->GetDeliveredCount()) << "every line counted";
    pLink->DestroyWindow();
    ASSERT_EQ(0, chdir(szOld));
}

TEST(LinkWindow, SerialLineOnAPseudoTerminal)
{
    int fdMaster = -1, fdSlave = -1;
    char szName[256];
    if (openpty(&fdMaster, &fdSlave, szName, nullptr, nullptr) != 0)
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    SetCommPortDevice("COM4", szName);
    CLinkRecord record;
    auto* pLink = new CTestLink(WriteSettings("Connection type=0\nCOM Port=4\nBaud Rate=14400\n"), &record);
    EXPECT_FALSE(pLink->Connect(LINK_SERIAL_RAW, 1)) << "a speed the port cannot take";
    pLink->DestroyWindow();

    pLink = new CTestLink(WriteSettings("Connection type=0\nCOM Port=4\nBaud Rate=9600\n"), &record);
    ASSERT_TRUE(pLink->Connect(LINK_SERIAL_RAW, 1));
    const std::string bytes = Checked("QT|1|raw line") + "\r\n" + "half a li";
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), write(fdMaster, bytes.data(), bytes.size()));
    EXPECT_TRUE(PumpUntil([&] { return !record.lines.empty(); }, 3000));
    const std::string rest = std::string("ne|2") + "\n";
    ASSERT_EQ(static_cast<ssize_t>(rest.size()), write(fdMaster, rest.data(), rest.size()));
    PumpFor(100);
    EXPECT_EQ(std::vector<std::string>({"QT|1|raw line"}), record.lines) << "the second line's check is wrong";

    // Over to the protocol: the hello goes out on the port.
    ASSERT_TRUE(pLink->Connect(LINK_SERIAL_SWITCH, 1));
    char buf[64] = {};
    PumpFor(50);
    const ssize_t n = read(fdMaster, buf, sizeof buf);
    EXPECT_EQ("\r@OK3J\r", std::string(buf, n > 0 ? static_cast<size_t>(n) : 0));
    EXPECT_TRUE(pLink->Disconnect(FALSE));
    EXPECT_FALSE(pLink->IsConnected());
    pLink->DestroyWindow();
    close(fdSlave);
    close(fdMaster);
    SetCommPortDevice("COM4", nullptr);
}

int FreeUdpPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t nLen = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &nLen);
    close(fd);
    return ntohs(addr.sin_port);
}

bool SendDatagram(const char* pszTo, int nPort, const std::string& bytes)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    // The group's datagrams come back to this host's members through the multicast loop.
    const unsigned char chLoop = 1;
    setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &chLoop, sizeof chLoop);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(nPort));
    inet_pton(AF_INET, pszTo, &to.sin_addr);
    const bool bSent = sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
                       static_cast<ssize_t>(bytes.size());
    close(fd);
    return bSent;
}

TEST(LinkWindow, UdpReadsWholeDatagramsFromItsPort)
{
    // A unicast group address cannot be joined (505), but the link opens and hears its port.
    const int nPort = FreeUdpPort();
    CLinkRecord record;
    auto* pLink = new CTestLink(WriteSettings("IP-Server=127.0.0.1\nUseUDP=Yes\nIP-Port=" + std::to_string(nPort) + "\n"),
                                &record);
    pLink->Options().bDecompress = FALSE;
    ASSERT_TRUE(pLink->Connect(LINK_NETWORK, 1));
    EXPECT_EQ(std::vector<int>({LINK_ERR_MULTICAST}), record.states);
    // A datagram far larger than the ring carries two packets, the second after the ring's size.
    std::string big = "#/" + Checked("QT|1|a") + "\n" + std::string(40000, '!') + "\n#0" + Checked("QT|2|b") + "\n";
    ASSERT_TRUE(SendDatagram("127.0.0.1", nPort, big));
    EXPECT_TRUE(PumpUntil([&] { return record.lines.size() >= 2; }, 3000));
    EXPECT_EQ(std::vector<std::string>({"QT|1|a", "QT|2|b"}), record.lines);
    CString strText;
    pLink->GetConnectionText(&strText);
    EXPECT_STREQ(("UDP/IP 127.0.0.1:" + std::to_string(nPort)).c_str(), strText);

    // The direct socket mode over UDP: ready at once, plain lines.
    record = CLinkRecord();
    ASSERT_TRUE(pLink->Connect(LINK_DIRECT_SOCKET, 1));
    EXPECT_EQ(std::vector<int>({LINK_ERR_MULTICAST, LINK_STATE_READY}), record.states);
    ASSERT_TRUE(SendDatagram("127.0.0.1", nPort, "$VC|1|XC||0\nsecond line\n"));
    EXPECT_TRUE(PumpUntil([&] { return record.lines.size() >= 2; }, 3000));
    EXPECT_EQ(std::vector<std::string>({"$VC|1|XC||0", "second line"}), record.lines);
    pLink->DestroyWindow();
}

TEST(LinkWindow, UdpMulticastOnLoopback)
{
    const int nPort = FreeUdpPort();
    CLinkRecord record;
    auto* pLink = new CTestLink(
        WriteSettings("IP-Server=239.255.77.31\nUseUDP=Yes\nIP-Port=" + std::to_string(nPort) + "\n"), &record);
    pLink->Options().bDecompress = FALSE;
    ASSERT_TRUE(pLink->Connect(LINK_NETWORK, 1));
    const bool bJoined = record.states.empty();
    const bool bSent = bJoined && SendDatagram("239.255.77.31", nPort, "#/" + Checked("QT|1|multicast") + "\n");
    const bool bHeard = bSent && PumpUntil([&] { return !record.lines.empty(); }, 2000);
    pLink->DestroyWindow();
    if (!bHeard)
        GTEST_SKIP() << "this machine's loopback carries no multicast (joined " << bJoined << ", sent " << bSent << ")";
    EXPECT_EQ(std::vector<std::string>({"QT|1|multicast"}), record.lines);
}

}
