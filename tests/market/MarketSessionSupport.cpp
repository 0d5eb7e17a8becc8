#include "tests/market/MarketSessionSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include "app/NorvApp.h"
#include "app/TableMDIWnd.h"
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
