#include "tests/market/MarketSessionSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/table/ViewRow.h"
#include "platform/win/Windows.h"
#include "platform/win/gdi/ImageCodec.h"
#include "tests/app/AppTestSupport.h"

namespace fs = std::filesystem;

std::string ScreenshotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    fs::create_directories(strFolder);
    return strFolder + "/" + strName + ".png";
}

std::vector<std::string> CacheFiles(const std::string& strFolder, const std::string& strStem)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(strFolder))
        if (entry.path().filename().string().rfind(strStem, 0) == 0)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> ShownTexts(CDataTable* pTable, int nCol)
{
    std::vector<std::string> texts;
    CViewRow row;
    for (int i = 0; pTable->GetMainWindow()->GetView()->GetRow(row, i); ++i) {
        CTBString strText;
        if (row.IsDataRow() && row.GetText(strText, nCol))
            texts.push_back(std::string(strText));
    }
    return texts;
}

void Shoot(CDataTable* pTable, const std::string& strName)
{
    ASSERT_NE(nullptr, pTable);
    CNorvApp::ShowTable(pTable);
    PumpFor(200);
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    UpdateWindow(pWindow->m_hWnd);
    EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, ScreenshotPath(strName).c_str()));
}

std::string CopyServerData(const std::string& strStem)
{
    std::string strDir = "/tmp/" + strStem + "-XXXXXX";
    if (mkdtemp(strDir.data()) == nullptr)
        return "";
    const std::string strData = strDir + "/data";
    std::error_code error;
    fs::copy(std::string(TB_SOURCE_DIR) + "/tools/testserver/data", strData, fs::copy_options::recursive, error);
    if (error) {
        fs::remove_all(strDir, error);
        return "";
    }
    return strData;
}

void RemoveServerData(const std::string& strData)
{
    if (strData.empty())
        return;
    std::error_code error;
    fs::remove_all(fs::path(strData).parent_path(), error);
}

CMarketSession::CMarketSession()
    : strDatePattern(GetNorvGlobals().m_strDatePattern), strTimePattern(GetNorvGlobals().m_strTimePattern)
{
}

::testing::AssertionResult CMarketSession::StartSession(const std::vector<std::string>& options, bool bArabic,
                                                        const std::string& strFolder)
{
    if (!server.Start(options))
        return ::testing::AssertionFailure() << "the test server did not start";
    pRun = std::make_unique<CTerminalRun>(bArabic, strFolder);
    return pRun->StartLoggedIn(server.Port(), "trader", "secret");
}

void CMarketSession::StopSession()
{
    pRun.reset();
    server.Stop();
    GetNorvGlobals().m_strDatePattern = strDatePattern;
    GetNorvGlobals().m_strTimePattern = strTimePattern;
    RemoveServerData(strData);
    strData.clear();
}

std::vector<std::string> CMarketSession::Requests(const std::string& strMnemonic) const
{
    std::vector<std::string> lines;
    for (const std::string& line : server.Received())
        if (line.rfind("&" + strMnemonic + "|", 0) == 0)
            lines.push_back(line);
    return lines;
}

std::string CMarketSession::ServerLines(const std::string& strMnemonic) const
{
    std::string strLines;
    for (const std::string& line : server.Log())
        if (line.find(strMnemonic + "|") != std::string::npos)
            strLines += line.substr(0, 160) + "\n";
    return strLines;
}

namespace {
std::function<void(HWND)> s_dialogStep;
int s_nDialogMark = 0;
bool s_bDialogStepRan = false;
UINT_PTR s_nDialogTimer = 0;

void CALLBACK DialogStepTimer(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND hActive = GetActiveWindow();
    if (!s_dialogStep || hActive == nullptr || GetDlgItem(hActive, s_nDialogMark) == nullptr)
        return;
    // Taken and the timer gone first: the step may run a nested loop in which it must not fire again.
    auto step = std::move(s_dialogStep);
    CancelDialogStep();
    s_bDialogStepRan = true;
    step(hActive);
}
}  // namespace

void RunOnNextDialog(int nMark, std::function<void(HWND)> step)
{
    CancelDialogStep();
    s_nDialogMark = nMark;
    s_dialogStep = std::move(step);
    s_bDialogStepRan = false;
    s_nDialogTimer = SetTimer(nullptr, 0, 5, DialogStepTimer);
}

bool DialogStepRan()
{
    return s_bDialogStepRan;
}

void CancelDialogStep()
{
    if (s_nDialogTimer != 0)
        KillTimer(nullptr, s_nDialogTimer);
    s_nDialogTimer = 0;
    s_dialogStep = nullptr;
}
