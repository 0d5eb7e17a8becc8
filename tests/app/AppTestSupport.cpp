#include "AppTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <vector>
#include "framework/base/Language.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/user/Message.h"

std::string MakeTestFolder(const char* pszStem)
{
    static int s_nFolder = 0;
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/test-files/app-" + std::to_string(getpid()) + "-" +
                                  pszStem + "-" + std::to_string(++s_nFolder);
    std::error_code ec;
    std::filesystem::remove_all(strFolder, ec);
    std::filesystem::create_directories(strFolder, ec);
    return strFolder;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

CTestLanguage::CTestLanguage(int nCodePage)
{
    static bool s_bPath = false;
    if (!s_bPath) {
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
        s_bPath = true;
    }
    char szName[32];
    snprintf(szName, sizeof szName, "_%d.dll", nCodePage);
    m_hModule = LoadLibraryA(szName);
    m_hOld = TbGetResourceModule();
    TbSetResourceModule(m_hModule);
    GetNorvGlobals().SetRightToLeft(nCodePage == 1256);
    GetNorvGlobals().SetLanguage(nCodePage == 1256 ? 1 : 0);
}

CTestLanguage::~CTestLanguage()
{
    TbSetResourceModule(m_hOld);
    GetNorvGlobals().SetRightToLeft(FALSE);
    GetNorvGlobals().SetLanguage(0);
    if (m_hModule != nullptr)
        FreeLibrary(m_hModule);
}

CTestShell::CTestShell()
{
    m_strFolder = MakeTestFolder("shell");
    m_pApp = new CNorvApp;
    m_pApp->LoadWorkspace((m_strFolder + "/settings.ini").c_str(), FALSE);
    m_pFrame = new CNorvMainFrame;
    m_pFrame->Create(nullptr, "Test terminal", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 700));
    m_pFrame->ShowWindow(SW_SHOW);
    m_pApp->SetMainFrame(m_pFrame);
}

CTestShell::~CTestShell()
{
    m_pApp->RemoveAllTables();
    if (m_pFrame->m_hWnd != nullptr)
        m_pFrame->DestroyWindow();
    GetSharedGlobals()->m_pInfoWindow = nullptr;
    delete m_pApp;
    PumpPending();
}

std::string CTestShell::Setting(const char* pszSection, const char* pszKey)
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(pszSection);
    return static_cast<const char*>(settings.GetString(pszKey, "<none>"));
}

namespace {

// One display for the whole program, so that fonts measure and screenshots can be written.
class CDisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(TbInitQtPlatform(nullptr, nullptr));
        // The registry of this program's run, away from the user's own.
        setenv("XDG_CONFIG_HOME", MakeTestFolder("config").c_str(), 1);
    }
};

const ::testing::Environment* const s_pDisplay = ::testing::AddGlobalTestEnvironment(new CDisplayEnvironment);

}  // namespace

namespace {
std::string InkOfPicture(const std::string& strPath, bool bSaved, RECT rcBand)
{
    CTbPixelBuffer image;
    if (!bSaved || !TbGetImageCodec()->Load(strPath.c_str(), &image, nullptr))
        return "no picture";
    std::string strInk;
    for (int x = std::max(0, static_cast<int>(rcBand.left)); x < std::min(image.Width(), static_cast<int>(rcBand.right)); ++x) {
        bool bInk = false;
        for (int y = std::max(0, static_cast<int>(rcBand.top)); y < std::min(image.Height(), static_cast<int>(rcBand.bottom)); ++y) {
            const uint32_t px = image.Row(y)[x];
            bInk = bInk || ((px >> 16) & 0xFF) + ((px >> 8) & 0xFF) + (px & 0xFF) < 3 * 96;
        }
        strInk += bInk ? '#' : '.';
    }
    const size_t nFirst = strInk.find('#');
    return nFirst == std::string::npos ? "" : strInk.substr(nFirst, strInk.rfind('#') - nFirst + 1);
}
}  // namespace

std::string InkOfWindow(HWND hWnd, const RECT& rcBand)
{
    const std::string strPath = MakeTestFolder("ink") + "/window.png";
    return InkOfPicture(strPath, TbSaveWindowPng(hWnd, strPath.c_str()), rcBand);
}

std::string InkOfText(HFONT hFont, const std::string& strText, COLORREF crBack, bool bRtlReading, COLORREF crText)
{
    HDC hdcScreen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, 1000, 60);
    ReleaseDC(nullptr, hdcScreen);
    HGDIOBJ hOldBitmap = SelectObject(hdc, hBitmap);
    HGDIOBJ hOldFont = SelectObject(hdc, hFont);
    RECT rc = {0, 0, 1000, 60};
    HBRUSH hBack = CreateSolidBrush(crBack);
    FillRect(hdc, &rc, hBack);
    DeleteObject(hBack);
    SetTextColor(hdc, crText);
    SetBkMode(hdc, TRANSPARENT);
    RECT rcText = {10, 10, 990, 50};
    DrawTextA(hdc, strText.c_str(), static_cast<int>(strText.size()), &rcText,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | (bRtlReading ? DT_RTLREADING : 0u));
    SelectObject(hdc, hOldFont);
    SelectObject(hdc, hOldBitmap);
    DeleteDC(hdc);
    const std::string strPath = MakeTestFolder("ink") + "/text.png";
    const std::string strInk = InkOfPicture(strPath, TbSaveBitmapPng(hBitmap, strPath.c_str()), rc);
    DeleteObject(hBitmap);
    return strInk;
}

namespace {
std::vector<int> InkRuns(const std::string& strInk)
{
    std::vector<int> runs;
    for (size_t i = 0; i < strInk.size(); ++i) {
        if (i == 0 || strInk[i] != strInk[i - 1])
            runs.push_back(0);
        ++runs.back();
    }
    return runs;
}
}  // namespace

::testing::AssertionResult SameInk(const std::string& strExpected, const std::string& strSeen)
{
    const std::vector<int> expected = InkRuns(strExpected);
    const std::vector<int> seen = InkRuns(strSeen);
    bool bSame = !expected.empty() && expected.size() == seen.size();
    for (size_t i = 0; bSame && i < expected.size(); ++i)
        bSame = std::abs(expected[i] - seen[i]) <= 1;
    if (bSame)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected " << strExpected << "\n    seen " << strSeen;
}

void ShowWhole(CTableMDIWnd* pWnd)
{
    CTableWindow& grid = pWnd->GetGrid();
    // No taller than the rows and totals need: every pixel of the window is painted.
    const int nHeight = std::min(16000, 3 * grid.GetTitleHeight() + (pWnd->GetView()->GetRowCount() + 4) * grid.GetRowHeight() + 200);
    SetWindowPos(pWnd->m_hWnd, nullptr, 0, 0, 5000, nHeight, SWP_NOZORDER | SWP_NOMOVE);
    UpdateWindow(grid.m_hWnd);
    // A row out of view would be passed over by every check that reads the cells shown.
    EXPECT_GE(grid.GetWholeLines(), pWnd->GetView()->GetRowCount() - grid.GetTopRow()) << "rows out of view";
}
