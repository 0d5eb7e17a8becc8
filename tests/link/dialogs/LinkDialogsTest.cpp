// The link's settings dialogs run as the user runs them: opened by the link, their controls set
// from a timer inside the modal loop, closed with OK, Cancel or Escape; then the section
// "Communication" read back through a fresh link.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include "framework/base/SettingsFile.h"
#include "link/CommDialogs.h"
#include "link/NorvCom.h"
#include "link/ZorvatComm.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Dialogs.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/TestAnswers.h"

namespace {
class CDisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
    }
};
const auto* s_pEnvironment = ::testing::AddGlobalTestEnvironment(new CDisplayEnvironment);

// The language module the dialogs load from, for one test.
class CLanguage
{
public:
    explicit CLanguage(int nCodePage)
    {
        char szName[32];
        snprintf(szName, sizeof szName, "_%d.dll", nCodePage);
        m_hModule = LoadLibraryA(szName);
        EXPECT_NE(nullptr, m_hModule) << szName;
        m_hOld = TbGetResourceModule();
        TbSetResourceModule(m_hModule);
    }
    ~CLanguage()
    {
        TbSetResourceModule(m_hOld);
        if (m_hModule)
            FreeLibrary(m_hModule);
    }
    HMODULE m_hModule = nullptr;

private:
    HINSTANCE m_hOld = nullptr;
};

// A link without a window or a connection, over a settings file of its own.
class CTestLink : public CNorvCom
{
public:
    explicit CTestLink(const std::string& strPath) : CNorvCom(strPath.c_str(), 3, 7, 4096) {}
    void OnLineReceived(const char*) override {}
    void OnCommState(int) override {}
    void OnCommDestroy() override {}
    using CNorvCom::m_bReplayOn;
    using CNorvCom::m_bReplayRepeat;
    using CNorvCom::m_nReplayPeriod;
    using CNorvCom::m_nComPort;
    using CNorvCom::m_nBaudRate;
    using CNorvCom::m_nParity;
    using CNorvCom::m_nByteSize;
    using CNorvCom::m_nFlowControl;
    using CNorvCom::m_bXonXoff;
    using CNorvCom::m_bLocalEcho;
    using CNorvCom::m_strServer;
    using CNorvCom::m_strServer2;
    using CNorvCom::m_nPort;
    using CNorvCom::m_bUseUdp;
    using CNorvCom::m_bCryptSetting;
    using CNorvCom::m_bLogIn;
    using CNorvCom::m_strLogPath;
    using CNorvCom::m_nConnectionSetting;
    using CNorvCom::m_font;
};

// Steps run on the active dialog from a thread timer while the link's modal loop runs; each
// step waits for the dialog that holds its marking control, so nested dialogs take their turn.
struct DialogStep {
    int nMarkId;
    std::function<void(HWND)> fn;
};
std::deque<DialogStep> s_steps;

void CALLBACK StepTimer(HWND, UINT, UINT_PTR nId, DWORD)
{
    if (s_steps.empty()) {
        KillTimer(nullptr, nId);
        return;
    }
    HWND hActive = GetActiveWindow();
    if (!hActive || !GetDlgItem(hActive, s_steps.front().nMarkId))
        return;
    DialogStep step = std::move(s_steps.front());
    s_steps.pop_front();
    step.fn(hActive);
}

void RunSteps(std::initializer_list<DialogStep> steps)
{
    s_steps.assign(steps.begin(), steps.end());
    SetTimer(nullptr, 0, 5, StepTimer);
}

void Click(HWND hDlg, int nId)
{
    SendMessageA(GetDlgItem(hDlg, nId), BM_CLICK, 0, 0);
}
BOOL IsChecked(HWND hDlg, int nId)
{
    return IsDlgButtonChecked(hDlg, nId) == BST_CHECKED;
}
BOOL IsShown(HWND hDlg, int nId)
{
    return IsWindowVisible(GetDlgItem(hDlg, nId));
}
// Chooses the item whose value is nValue in a list.
void Choose(HWND hDlg, int nId, int nValue)
{
    HWND hCombo = GetDlgItem(hDlg, nId);
    const int nCount = static_cast<int>(SendMessageA(hCombo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i)
        if (SendMessageA(hCombo, CB_GETITEMDATA, i, 0) == nValue)
            SendMessageA(hCombo, CB_SETCURSEL, i, 0);
}
int Chosen(HWND hDlg, int nId)
{
    return GetCommListValue(GetDlgItem(hDlg, nId), -1);
}
std::string Text(HWND hDlg, int nId)
{
    char sz[256] = "";
    GetDlgItemTextA(hDlg, nId, sz, sizeof sz);
    return sz;
}
void Answer(int nKind, INT_PTR nValue, const char* pszText)
{
    TBTESTANSWER answer;
    answer.nKind = nKind;
    answer.nValue = nValue;
    answer.strText = pszText;
    TbQueueTestAnswer(answer);
}

class LinkDialogs : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TbClearTestAnswers();
        char szPath[] = "/tmp/linkdlgXXXXXX";
        int fd = mkstemp(szPath);
        ASSERT_GE(fd, 0);
        close(fd);
        m_strPath = szPath;
        m_strLog = m_strPath + ".log";
    }
    void TearDown() override
    {
        EXPECT_TRUE(s_steps.empty()) << "a dialog step never ran";
        s_steps.clear();
        EXPECT_EQ(0, TbPendingTestAnswers()) << "a chooser that should have come did not";
        TbClearTestAnswers();
        unlink(m_strPath.c_str());
        unlink(m_strLog.c_str());
    }
    std::string Stored(const char* pszKey)
    {
        CSettingsFile settings(m_strPath.c_str(), "Communication");
        LPCSTR psz = settings.GetValue("Communication", pszKey);
        return psz ? psz : "<missing>";
    }

    CLanguage m_language{1252};
    std::string m_strPath, m_strLog;
};

TEST_F(LinkDialogs, NetworkSettingsAreWrittenAndReadBack)
{
    CTestLink link(m_strPath);
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        // The defaults of an empty settings file.
        EXPECT_TRUE(IsChecked(h, IDC_COMM_NETWORK));
        EXPECT_EQ("8001", Text(h, IDC_COMM_PORT));
        EXPECT_EQ(9600, Chosen(h, IDC_COMM_SPEED));
        EXPECT_TRUE(IsShown(h, IDC_COMM_SERVER));
        EXPECT_FALSE(IsShown(h, IDC_COMM_COMPORT));
        SetDlgItemTextA(h, IDC_COMM_SERVER, "127.0.0.5");
        SetDlgItemTextA(h, IDC_COMM_SERVER2, "127.0.0.6");
        SetDlgItemTextA(h, IDC_COMM_PORT, "9100");
        Click(h, IDC_COMM_UDP);
        Click(h, IDC_COMM_CRYPT);
        Click(h, IDOK);
    }}});
    EXPECT_EQ(1, link.EditCommSettings(8));

    CTestLink reread(m_strPath);
    EXPECT_STREQ("127.0.0.5", reread.m_strServer);
    EXPECT_STREQ("127.0.0.6", reread.m_strServer2);
    EXPECT_EQ(9100, reread.m_nPort);
    EXPECT_TRUE(reread.m_bUseUdp);
    EXPECT_TRUE(reread.m_bCryptSetting);
    EXPECT_EQ(1, reread.m_nConnectionSetting);
    EXPECT_TRUE(link.IsEncryptionOption());
}

TEST_F(LinkDialogs, CancelEscapeAndABadPortWriteNothing)
{
    CTestLink link(m_strPath);
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        SetDlgItemTextA(h, IDC_COMM_SERVER, "elsewhere");
        Click(h, IDCANCEL);
    }}});
    link.EditCommSettings(0);
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        SetDlgItemTextA(h, IDC_COMM_SERVER, "elsewhere");
        PostMessageA(GetDlgItem(h, IDC_COMM_SERVER), WM_KEYDOWN, VK_ESCAPE, 0);
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ("<missing>", Stored("IP-Server"));

    // A port out of range keeps the dialog open with a message; Cancel then leaves.
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        SetDlgItemTextA(h, IDC_COMM_PORT, "70000");
        Answer(TB_ASK_MESSAGEBOX, IDOK, "");
        Click(h, IDOK);
        EXPECT_TRUE(IsWindow(h));
        Click(h, IDCANCEL);
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ("<missing>", Stored("IP-Port"));
    EXPECT_EQ(8001, link.m_nPort);
}

TEST_F(LinkDialogs, SerialLineThroughBothDialogs)
{
    CTestLink link(m_strPath);
    RunSteps({
        {IDC_COMM_SERVER, [](HWND h) {
            Click(h, IDC_COMM_PROTOCOL);
            Click(h, IDC_COMM_SERIAL);
            EXPECT_TRUE(IsShown(h, IDC_COMM_COMPORT));
            EXPECT_TRUE(IsShown(h, IDC_COMM_PROTOCOL));
            EXPECT_FALSE(IsShown(h, IDC_COMM_SERVER));
            EXPECT_FALSE(IsShown(h, IDC_COMM_CRYPT));
            // A change of kind clears the protocol box.
            EXPECT_FALSE(IsChecked(h, IDC_COMM_PROTOCOL));
            Choose(h, IDC_COMM_COMPORT, 3);
            Choose(h, IDC_COMM_SPEED, 19200);
            Click(h, IDC_COMM_SERIALSET);
            // Back from the serial dialog: its port and speed show here.
            EXPECT_EQ(COMM_PORT_DUAL, Chosen(h, IDC_COMM_COMPORT));
            EXPECT_EQ(38400, Chosen(h, IDC_COMM_SPEED));
            PostMessageA(GetDlgItem(h, IDOK), WM_KEYDOWN, VK_RETURN, 0);
        }},
        {IDC_SERIAL_PARITY, [](HWND h) {
            EXPECT_EQ(3, Chosen(h, IDC_SERIAL_PORT));
            EXPECT_EQ(19200, Chosen(h, IDC_SERIAL_SPEED));
            EXPECT_EQ(8, Chosen(h, IDC_SERIAL_BYTESIZE));
            EXPECT_EQ(0, Chosen(h, IDC_SERIAL_STOPBITS));
            EXPECT_TRUE(IsChecked(h, IDC_SERIAL_XONXOFF));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDC_SERIAL_PORT)));
            Choose(h, IDC_SERIAL_PORT, COMM_PORT_DUAL);
            Choose(h, IDC_SERIAL_SPEED, 38400);
            Choose(h, IDC_SERIAL_BYTESIZE, 7);
            Choose(h, IDC_SERIAL_PARITY, 1);
            Click(h, IDC_SERIAL_XONXOFF);
            Click(h, IDC_SERIAL_RTSCTS);
            Click(h, IDC_SERIAL_LOCALECHO);
            Click(h, IDOK);
        }},
    });
    link.EditCommSettings(0);

    EXPECT_NE("1", Stored("Connection type"));
    CTestLink reread(m_strPath);
    EXPECT_NE(1, reread.m_nConnectionSetting);
    EXPECT_EQ(COMM_PORT_DUAL, reread.m_nComPort);
    EXPECT_EQ(38400, reread.m_nBaudRate);
    EXPECT_EQ(1, reread.m_nParity);
    EXPECT_EQ(2, reread.m_nFlowControl);
    EXPECT_FALSE(reread.m_bXonXoff);
    EXPECT_TRUE(reread.m_bLocalEcho);
    EXPECT_EQ(7, link.m_nByteSize);
}

TEST_F(LinkDialogs, SerialSettingsParityListMapsLabelsToValues)
{
    // The list shows none, even, odd, mark, space; the values are 0, 2, 1, 3, 4.
    COMM_SERIAL_VALUES values;
    values.nParity = 2;
    CCommSerialSettings dlg(values, TRUE);
    ASSERT_TRUE(dlg.Create(IDD_COMM_SERIAL));
    HWND hParity = GetDlgItem(dlg.m_hWnd, IDC_SERIAL_PARITY);
    EXPECT_EQ(1, SendMessageA(hParity, CB_GETCURSEL, 0, 0));
    char sz[64] = "";
    SendMessageA(hParity, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(sz));
    EXPECT_STREQ("Even", sz);
    // An open port cannot be changed.
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg.m_hWnd, IDC_SERIAL_PORT)));
    dlg.DestroyWindow();
}

TEST_F(LinkDialogs, TheProgramsLinkOffersNeitherLogNorEncryption)
{
    CSettingsFile settings(m_strPath.c_str(), "Communication");
    settings.WriteBool("CryptConnection", FALSE);
    settings.SaveSettingsFile();
    CZorvatComm link(m_strPath.c_str(), nullptr, nullptr);
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        for (int nId : {IDC_COMM_LOG, IDC_COMM_LOGPATH, IDC_COMM_BROWSE, IDC_COMM_CRYPT, IDC_COMM_SERIAL,
                        IDC_COMM_PROTOCOL})
            EXPECT_FALSE(IsShown(h, nId)) << nId;
        EXPECT_TRUE(IsShown(h, IDC_COMM_NETWORK));
        EXPECT_TRUE(IsShown(h, IDC_COMM_UDP));
        Click(h, IDOK);
    }}});
    link.EditCommSettings(0);
    EXPECT_TRUE(link.IsEncryptionOption());
    EXPECT_EQ("No", Stored("Logfile in"));
}

TEST_F(LinkDialogs, LogPathOfADisconnectedLinkOpensNoFile)
{
    CTestLink link(m_strPath);
    const std::string strLog = m_strLog;
    Answer(TB_ASK_SAVEFILE, IDOK, strLog.c_str());
    RunSteps({{IDC_COMM_SERVER, [strLog](HWND h) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_COMM_LOGPATH)));
        // Checking the box with no path asks for one at once.
        Click(h, IDC_COMM_LOG);
        EXPECT_EQ(strLog, Text(h, IDC_COMM_LOGPATH));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(h, IDC_COMM_LOGPATH)));
        Click(h, IDOK);
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ("Yes", Stored("Logfile in"));
    EXPECT_EQ(m_strLog, Stored("Logfile in path"));
    struct stat st;
    EXPECT_NE(0, stat(m_strLog.c_str(), &st));
    EXPECT_FALSE(link.IsTrafficLogOpen());

    // Only the path changes: stored, still no file.
    const std::string strOther = m_strLog + "2";
    RunSteps({{IDC_COMM_SERVER, [strOther](HWND h) {
        SetDlgItemTextA(h, IDC_COMM_LOGPATH, strOther.c_str());
        Click(h, IDOK);
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ(strOther, Stored("Logfile in path"));
    EXPECT_NE(0, stat(strOther.c_str(), &st));
    EXPECT_FALSE(link.IsTrafficLogOpen());
}

TEST_F(LinkDialogs, EmptyLogPathOrNoChoiceUnchecksTheBox)
{
    CTestLink link(m_strPath);
    Answer(TB_ASK_SAVEFILE, IDCANCEL, "");
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        Click(h, IDC_COMM_LOG);
        EXPECT_FALSE(IsChecked(h, IDC_COMM_LOG));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_COMM_BROWSE)));
        SetDlgItemTextA(h, IDC_COMM_LOGPATH, "/tmp/some.log");
        Click(h, IDC_COMM_LOG);
        EXPECT_TRUE(IsChecked(h, IDC_COMM_LOG));
        SetDlgItemTextA(h, IDC_COMM_LOGPATH, "");
        EXPECT_FALSE(IsChecked(h, IDC_COMM_LOG));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(h, IDC_COMM_LOGPATH)));
        Click(h, IDOK);
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ("No", Stored("Logfile in"));
}

// The font button answered by the queued chooser answer, then OK.
void ChooseFontAndClose(CTestLink& link)
{
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        Click(h, IDC_COMM_FONT);
        Click(h, IDOK);
    }}});
    link.EditCommSettings(0);
}

TEST_F(LinkDialogs, FontChoiceIsStoredAndCancelKeepsTheOld)
{
    CTestLink link(m_strPath);
    Answer(TB_ASK_FONT, IDOK, "DejaVu Sans Mono;14");
    ChooseFontAndClose(link);
    EXPECT_STREQ("DejaVu Sans Mono", link.m_font.lfFaceName);
    CTestLink reread(m_strPath);
    EXPECT_STREQ("DejaVu Sans Mono", reread.m_font.lfFaceName);

    Answer(TB_ASK_FONT, IDCANCEL, "");
    ChooseFontAndClose(link);
    EXPECT_STREQ("DejaVu Sans Mono", link.m_font.lfFaceName);
}

TEST_F(LinkDialogs, FeedReplaySettings)
{
    CTestLink link(m_strPath);
    RunSteps({{IDC_FEED_PERIOD, [](HWND h) {
        EXPECT_EQ("5 ms", Text(h, IDC_FEED_PERIOD_TEXT));
        HWND hSlider = GetDlgItem(h, IDC_FEED_PERIOD);
        // Past the end the slider stops at its maximum.
        SendMessageA(hSlider, TBM_SETPOS, TRUE, 5000);
        SendMessageA(h, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(hSlider));
        EXPECT_EQ("3000 ms", Text(h, IDC_FEED_PERIOD_TEXT));
        SendMessageA(hSlider, TBM_SETPOS, TRUE, 250);
        SendMessageA(h, WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(hSlider));
        EXPECT_EQ("250 ms", Text(h, IDC_FEED_PERIOD_TEXT));
        Click(h, IDC_FEED_REPLAY);
        Click(h, IDC_FEED_REPEAT);
        Click(h, IDOK);
    }}});
    EXPECT_EQ(1, link.EditFeedLogSettings());
    EXPECT_EQ(250, link.m_nReplayPeriod);
    EXPECT_TRUE(link.m_bReplayOn);
    EXPECT_TRUE(link.m_bReplayRepeat);

    RunSteps({{IDC_FEED_PERIOD, [](HWND h) {
        EXPECT_TRUE(IsChecked(h, IDC_FEED_REPLAY));
        Click(h, IDC_FEED_REPEAT);
        Click(h, IDCANCEL);
    }}});
    link.EditFeedLogSettings();
    EXPECT_TRUE(link.m_bReplayRepeat);
}

TEST_F(LinkDialogs, AltLetterMovesToTheField)
{
    CTestLink link(m_strPath);
    static int s_nFocus = 0;
    RunSteps({{IDC_COMM_SERVER, [](HWND h) {
        PostMessageA(GetDlgItem(h, IDOK), WM_SYSKEYDOWN, 'P', 1 << 29);
        SetTimer(h, 1, 5, [](HWND hDlg, UINT, UINT_PTR, DWORD) {
            KillTimer(hDlg, 1);
            s_nFocus = GetDlgCtrlID(GetFocus());
            PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
        });
    }}});
    link.EditCommSettings(0);
    EXPECT_EQ(IDC_COMM_PORT, s_nFocus);
}

// The three dialogs in both languages, for a look.
TEST(LinkDialogScreens, EnglishAndArabic)
{
    std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    for (int nCodePage : {1252, 1256}) {
        CLanguage language(nCodePage);
        char szName[64];
        COMM_DIALOG_VALUES values;
        values.strServer = "127.0.0.10";
        values.strServer2 = "127.0.0.11";
        values.bLog = TRUE;
        values.strLogPath = "/var/log/link.log";
        COMM_DIALOG_OPTIONS options;
        options.nDialogFlags = 3;
        CCommSettingsDlg comm(values, options);
        ASSERT_TRUE(comm.Create(IDD_COMM_SETTINGS));
        CCommSerialSettings serial(values.serial, FALSE);
        ASSERT_TRUE(serial.Create(IDD_COMM_SERIAL));
        CNorvFeedSettings feed(FEED_REPLAY_VALUES{TRUE, FALSE, 500});
        ASSERT_TRUE(feed.Create(IDD_FEED_SETTINGS));
        const struct { CDialog* pDlg; const char* pszName; } shots[] = {
            {&comm, "link_comm"}, {&serial, "link_serial"}, {&feed, "link_feed"}};
        for (const auto& shot : shots) {
            ShowWindow(shot.pDlg->m_hWnd, SW_SHOW);
            UpdateWindow(shot.pDlg->m_hWnd);
            // The controls paint from their own queued messages.
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
            snprintf(szName, sizeof szName, "%s/%s_%d.png", strDir.c_str(), shot.pszName, nCodePage);
            EXPECT_TRUE(TbSaveWindowPng(shot.pDlg->m_hWnd, szName)) << szName;
            shot.pDlg->DestroyWindow();
        }
    }
}
}  // namespace
