// The link window's terminal view inside an MDI frame on the Qt display: received bytes painted
// in the terminal font, typing on a serial line (a pseudo-terminal pair), scrolling over the
// screen, the caret at the cursor, the font change, and hiding on close.
#include <gtest/gtest.h>

#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include <string>
#include "../LinkSessionSupport.h"
#include "framework/base/SettingsFile.h"
#include "link/NorvCom.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/serial/Comm.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/Paint.h"
#include "platform/win/user/ScrollBars.h"

namespace {
class CTerminalLink : public CNorvCom
{
public:
    explicit CTerminalLink(const std::string& strSettings) : CNorvCom(strSettings.c_str(), 3, 7, 4096) {}
    void OnLineReceived(const char*) override {}
    void OnCommState(int) override {}
    void OnCommDestroy() override {}
    // What the settings dialog does after storing a font: reload, then apply.
    void ReloadFontFrom(const std::string& strPath)
    {
        CSettingsFile settings(strPath.c_str(), "Communication");
        settings.GetLogFont(&m_font, "Font", &m_font);
        ApplyTerminalFont();
    }
};

class CDocWnd : public CMDIChildWnd
{
};

// A pseudo-terminal standing for COM3; the test reads what the link writes on the master side.
class CPseudoPort
{
public:
    CPseudoPort()
    {
        char szName[256];
        if (openpty(&m_fdMaster, &m_fdSlave, szName, nullptr, nullptr) == 0)
            SetCommPortDevice("COM3", szName);
    }
    ~CPseudoPort()
    {
        SetCommPortDevice("COM3", nullptr);
        if (m_fdMaster >= 0) {
            close(m_fdSlave);
            close(m_fdMaster);
        }
    }
    bool IsOpen() const { return m_fdMaster >= 0; }
    std::string Written()
    {
        PumpFor(50);
        char buf[64];
        std::string text;
        for (ssize_t n; (n = ReadSome(buf, sizeof buf)) > 0;)
            text.append(buf, static_cast<size_t>(n));
        return text;
    }

private:
    ssize_t ReadSome(char* pBuffer, size_t nSize)
    {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(m_fdMaster, &set);
        timeval tv = {0, 20000};
        return select(m_fdMaster + 1, &set, nullptr, nullptr, &tv) > 0 ? read(m_fdMaster, pBuffer, nSize) : 0;
    }
    int m_fdMaster = -1, m_fdSlave = -1;
};

struct TerminalView : ::testing::Test {
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(pFrame->CreateEx(0, nullptr, "Terminal test", WS_OVERLAPPEDWINDOW, 0, 0, 900, 560, nullptr, nullptr));
        pFrame->ShowWindow(SW_SHOW);
        pDoc = new CDocWnd;
        ASSERT_TRUE(pDoc->Create(nullptr, "Quotes"));
        pLink = new CTerminalLink(WriteSettings(strSettings));
        ASSERT_TRUE(pLink->Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL));
        pLink->ShowLinkWindow(SW_SHOW);
        pLink->MDIActivate();
        PumpFor(20);
    }
    void TearDown() override
    {
        if (pFrame)
            pFrame->DestroyWindow();
        PumpFor(10);
    }
    void Show(const std::string& text)
    {
        pLink->ShowReceived(reinterpret_cast<const BYTE*>(text.data()), static_cast<int>(text.size()));
    }
    std::string Row(int nRow) const
    {
        std::string row(pLink->GetScreen().GetRow(nRow), TERM_COLUMNS);
        return row.substr(0, row.find_last_not_of(' ') + 1);
    }
    void Type(char ch, UINT nScan = 0)
    {
        pLink->SendMessage(WM_CHAR, static_cast<BYTE>(ch), static_cast<LPARAM>(1 | (nScan << 16)));
    }
    // Dark pixels in a cell of the view: something was drawn there.
    int InkIn(int nCol, int nRow)
    {
        const SIZE cell = pLink->GetCellSize();
        const POINT pos = pLink->GetScrollPositions();
        HDC hdc = GetDC(pLink->m_hWnd);
        int nInk = 0;
        for (int y = 0; y < cell.cy; ++y)
            for (int x = 0; x < cell.cx; ++x) {
                const COLORREF cr = GetPixel(hdc, nCol * cell.cx + x - pos.x, nRow * cell.cy + y - pos.y);
                nInk += cr != CLR_INVALID && GetRValue(cr) < 128;
            }
        ReleaseDC(pLink->m_hWnd, hdc);
        return nInk;
    }
    std::string strSettings = "Connection type=0\nCOM Port=3\nLocalecho=Yes\nAutowrap=No\n";
    CMDIFrameWnd* pFrame = nullptr;
    CDocWnd* pDoc = nullptr;
    CTerminalLink* pLink = nullptr;
};

std::string ScreenshotPath(const char* pszName)
{
    const std::string strDir = std::string(TB_BINARY_DIR) + "/screenshots";
    mkdir(strDir.c_str(), 0755);
    return strDir + "/" + pszName + ".png";
}
}  // namespace

TEST_F(TerminalView, ReceivedTextIsPaintedOnlyWhileVisible)
{
    const SIZE cell = pLink->GetCellSize();
    EXPECT_GT(cell.cx, 3);
    EXPECT_GT(cell.cy, 8);
    Show("Link up\r\n\aREADY>\x08?");
    EXPECT_EQ("Link up", Row(0));
    EXPECT_EQ("READY?", Row(1));
    EXPECT_GT(InkIn(0, 0), 0);
    EXPECT_EQ(0, InkIn(7, 0));
    EXPECT_GT(InkIn(5, 1), 0);
    // A long line without auto-wrap keeps overwriting the last column.
    Show(std::string(85, '#') + "!");
    EXPECT_EQ("READY?" + std::string(73, '#') + "!", Row(1));
    // Twenty-six lines: the first is scrolled out and the screen repainted.
    Show("\r\n");
    for (int i = 3; i <= 26; ++i)
        Show("line " + std::to_string(i) + "\r\n");
    EXPECT_EQ("line 3", Row(0));
    EXPECT_EQ("line 26", Row(23));
    EXPECT_EQ("", Row(24));
    EXPECT_GT(InkIn(5, 0), 0);
    EXPECT_EQ(0, InkIn(5, 24));
    // Hidden: nothing reaches the screen.
    pLink->SendMessage(WM_CLOSE);
    EXPECT_FALSE(pLink->IsLinkWindowVisible());
    Show("unseen");
    EXPECT_EQ("", Row(24));
}

TEST_F(TerminalView, ClosingHidesTheViewAndActivatesTheNextChild)
{
    ASSERT_EQ(pLink, pFrame->MDIGetActive());
    HWND hLink = pLink->m_hWnd;
    pLink->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(hLink));
    EXPECT_FALSE(IsWindowVisible(hLink));
    EXPECT_EQ(pDoc, pFrame->MDIGetActive());
    // Shown again, it is where it was, with what it showed.
    pLink->ShowLinkWindow(SW_SHOW);
    EXPECT_TRUE(pLink->IsLinkWindowVisible());
}

TEST_F(TerminalView, TypingEchoesAndWritesOnlyToAnOpenPort)
{
    CPseudoPort port;
    if (!port.IsOpen())
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    // The port closed: the character is shown, nothing goes out.
    Type('a');
    EXPECT_EQ("a", Row(0));
    ASSERT_TRUE(pLink->Connect(LINK_SERIAL_RAW, 1));
    EXPECT_EQ("", port.Written());
    Type('b');
    Type('c');
    Type('\b', 14);                 // Backspace: out as DEL, on screen one column back
    Type('d');
    EXPECT_EQ(std::string("bc\x7F" "d"), port.Written());
    EXPECT_EQ("abd", Row(0));
    EXPECT_EQ(3, pLink->GetScreen().GetCursorColumn());
    pLink->Disconnect(FALSE);
    Type('e');
    EXPECT_EQ("", port.Written());
    EXPECT_EQ("abde", Row(0));
}

TEST_F(TerminalView, TypingShowsTheCharacterWithoutLocalEchoToo)
{
    pLink->DestroyWindow();
    pLink = new CTerminalLink(WriteSettings("Connection type=0\nCOM Port=3\n"));
    ASSERT_TRUE(pLink->Create(nullptr, "Terminal", WS_CHILD | WS_OVERLAPPEDWINDOW));
    pLink->ShowLinkWindow(SW_SHOW);
    Type('x');
    EXPECT_EQ("x", Row(0));
}

TEST_F(TerminalView, ScrollRangesFollowTheSize)
{
    const SIZE cell = pLink->GetCellSize();
    // Smaller than the screen: the client shows part of it.
    pLink->SetWindowPos(nullptr, 0, 0, 30 * cell.cx, 10 * cell.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rc;
    pLink->GetClientRect(&rc);
    const int nHMax = TERM_COLUMNS * cell.cx - rc.Width(), nVMax = TERM_ROWS * cell.cy - rc.Height();
    // The window's bars: the screen's size as the range, the client as the page.
    SCROLLINFO si = {sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(pLink->m_hWnd, SB_VERT, &si));
    EXPECT_EQ(TERM_ROWS * cell.cy - 1, si.nMax);
    EXPECT_EQ(static_cast<UINT>(rc.Height()), si.nPage);
    ASSERT_TRUE(GetScrollInfo(pLink->m_hWnd, SB_HORZ, &si));
    EXPECT_EQ(TERM_COLUMNS * cell.cx - 1, si.nMax);
    EXPECT_EQ(static_cast<UINT>(rc.Width()), si.nPage);
    pLink->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    pLink->SendMessage(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(cell.cx, pLink->GetScrollPositions().x);
    EXPECT_EQ(cell.cy, pLink->GetScrollPositions().y);
    EXPECT_EQ(cell.cy, GetScrollPos(pLink->m_hWnd, SB_VERT));
    pLink->SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(cell.cy + rc.Height(), pLink->GetScrollPositions().y);
    pLink->SendMessage(WM_VSCROLL, SB_BOTTOM);
    pLink->SendMessage(WM_HSCROLL, SB_PAGEDOWN);
    pLink->SendMessage(WM_HSCROLL, SB_PAGEDOWN);
    pLink->SendMessage(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(nHMax, pLink->GetScrollPositions().x);
    EXPECT_EQ(nVMax, pLink->GetScrollPositions().y);
    pLink->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 7));
    EXPECT_EQ(7, pLink->GetScrollPositions().y);
    pLink->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 60000));
    EXPECT_EQ(nVMax, pLink->GetScrollPositions().y);
    // Painting follows the positions: the last row's text is at the client's bottom.
    Show(std::string(24, '\n') + std::string(79, ' ') + "Z");
    EXPECT_GT(InkIn(79, 24), 0);
    // Taller than the screen: no vertical range left, the view back at the top.
    pLink->SetWindowPos(nullptr, 0, 0, 30 * cell.cx, 30 * cell.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    pLink->GetClientRect(&rc);
    EXPECT_EQ(0, pLink->GetScrollPositions().y);
    EXPECT_EQ(TERM_COLUMNS * cell.cx - rc.Width(), pLink->GetScrollPositions().x);
    pLink->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(0, pLink->GetScrollPositions().y);
    pLink->SendMessage(WM_HSCROLL, SB_TOP);
    EXPECT_EQ(0, pLink->GetScrollPositions().x);
}

TEST_F(TerminalView, TheCaretFollowsTheCursorWhileFocusedOnAnOpenPort)
{
    CPseudoPort port;
    if (!port.IsOpen())
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    const SIZE cell = pLink->GetCellSize();
    // No port, no caret.
    pLink->SetFocus();
    POINT pt;
    EXPECT_FALSE(GetCaretPos(&pt));
    pDoc->SetFocus();
    ASSERT_TRUE(pLink->Connect(LINK_SERIAL_RAW, 1));
    pLink->SetFocus();
    Show("abc\r\nde");
    ASSERT_TRUE(GetCaretPos(&pt));
    EXPECT_EQ(2 * cell.cx, pt.x);
    EXPECT_EQ(cell.cy, pt.y);
    pLink->SetWindowPos(nullptr, 0, 0, 20 * cell.cx, 10 * cell.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    pLink->SendMessage(WM_HSCROLL, SB_LINEDOWN);
    pLink->SendMessage(WM_VSCROLL, SB_LINEDOWN);
    ASSERT_TRUE(GetCaretPos(&pt));
    EXPECT_EQ(cell.cx, pt.x);
    EXPECT_EQ(0, pt.y);
    // A CR typed on a row scrolled out of view brings it back.
    pLink->SendMessage(WM_VSCROLL, SB_BOTTOM);
    Type('\r');
    EXPECT_EQ(cell.cy, pLink->GetScrollPositions().y);
    // Focus elsewhere: the caret goes; closing the port takes it too.
    pDoc->SetFocus();
    EXPECT_FALSE(GetCaretPos(&pt));
    pLink->SetFocus();
    EXPECT_TRUE(GetCaretPos(&pt));
    pLink->Disconnect(FALSE);
    EXPECT_FALSE(GetCaretPos(&pt));
}

TEST_F(TerminalView, AFontChangeMeasuresTheCellsAgain)
{
    CPseudoPort port;
    if (!port.IsOpen())
        GTEST_SKIP() << "no pseudo-terminals on this machine";
    const SIZE before = pLink->GetCellSize();
    pLink->SetWindowPos(nullptr, 0, 0, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(pLink->Connect(LINK_SERIAL_RAW, 1));
    pLink->SetFocus();
    Show("ab");
    // The settings dialog stores a larger font and has the window take it.
    const std::string strPath = WriteSettings(strSettings);
    {
        CSettingsFile settings(strPath.c_str(), "Communication");
        LOGFONTA lf{};
        lf.lfHeight = -24;
        lf.lfWeight = 700;
        std::strncpy(lf.lfFaceName, "Courier", LF_FACESIZE - 1);
        settings.WriteLogFont("Font", &lf);
        settings.SaveSettingsFile();
    }
    pLink->ReloadFontFrom(strPath);
    const SIZE after = pLink->GetCellSize();
    EXPECT_GT(after.cy, before.cy);
    EXPECT_GT(after.cx, before.cx);
    // The ranges follow the new cells, and the caret has the new cell's size at the cursor.
    pLink->SendMessage(WM_VSCROLL, SB_BOTTOM);
    CRect rc;
    pLink->GetClientRect(&rc);
    EXPECT_EQ(TERM_ROWS * after.cy - rc.Height(), pLink->GetScrollPositions().y);
    pLink->SendMessage(WM_VSCROLL, SB_TOP);
    POINT pt;
    ASSERT_TRUE(GetCaretPos(&pt));
    EXPECT_EQ(2 * after.cx, pt.x);
    pLink->Disconnect(FALSE);
}

TEST_F(TerminalView, ScreenshotOfTheTerminalInItsFrame)
{
    pFrame->MDICascade();
    Show("Serial link terminal\r\n");
    Show("\r\n> ATZ\r\nOK\r\n> status\r\nline up, 9600 baud, 8N1\r\n");
    Show(std::string(79, '.') + "|");
    PumpFor(50);
    EXPECT_GT(InkIn(0, 0), 0);
    // Written under a name of this process first: another run of the program may be writing
    // the picture at the same moment.
    const std::string strPath = ScreenshotPath("terminal_view");
    const std::string strOwn = strPath + "." + std::to_string(getpid());
    ASSERT_TRUE(TbSaveWindowPng(pFrame->m_hWnd, strOwn.c_str()));
    struct stat st{};
    EXPECT_EQ(0, stat(strOwn.c_str(), &st));
    EXPECT_GT(st.st_size, 1000);
    std::rename(strOwn.c_str(), strPath.c_str());
}
