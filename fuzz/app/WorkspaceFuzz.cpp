// Fuzz target workspace: the input is a workspace file, loaded into an application with two
// tables and their windows.
//
// Properties:
// - no table shows more windows than a table may have, and its first window stays;
// - a window the file names that cannot open is told as left out, and never one that did;
// - the same file loaded again brings back the same windows and tells the same lines;
// - closing the windows afterwards leaves each table its one hidden window for the next input;
// - a page, a chart and a form placed from the file are no larger than the screen and keep their
//   captions inside the client area.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/FormMDIWnd.h"
#include "app/MDITable.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableMDIWnd.h"
#include "framework/base/InfoWindow.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/TableColumn.h"
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/platform/win/FuzzFiles.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/Display.h"

#define IDS_WORKSPACE_LEFT_OUT 855

namespace {

class CFuzzTable : public CMDITable
{
public:
    ~CFuzzTable() override { Destroy(); }
    BOOL Create(UINT nNameId)
    {
        if (!CreateTable(nNameId, 0))
            return FALSE;
        CNorvApp::Get()->AddTable(this);
        return TRUE;
    }

protected:
    void CreateColumns() override
    {
        const struct { const char* pszName; int nType; } columns[] = {
            {"Symbol", COLTYPE_STRING}, {"Last", COLTYPE_DOUBLE}, {"Volume", COLTYPE_INT32}};
        for (const auto& def : columns) {
            CColumn column = m_table.AddColumn();
            column.SetName(def.pszName);
            column.SetTitle(def.pszName, 0);
            column.SetDataType(def.nType);
            column.SetWidth(80);
        }
    }
};

struct CLines : IInfoWindow
{
    std::vector<std::string> lines;
    void AddText(LPCSTR pszText) override { lines.emplace_back(pszText != nullptr ? pszText : ""); }
    void AddResourceText(UINT nId) override { lines.push_back("#" + std::to_string(nId)); }
};

CNorvApp* s_pApp = nullptr;
CLines s_lines;
std::vector<CFuzzTable*> s_tables;

// Each table's visible windows, and the lines told, after loading the file.
std::pair<std::map<std::string, int>, std::vector<std::string>> Load(const std::string& strFile)
{
    s_lines.lines.clear();
    s_pApp->LoadWorkspace(strFile.c_str(), TRUE);
    std::map<std::string, int> shown;
    for (CFuzzTable* pTable : s_tables) {
        const std::string strName = static_cast<LPCSTR>(pTable->GetName());
        FUZZ_CHECK(pTable->GetWindowCount() >= 1 && pTable->GetWindowCount() <= MAX_TABLE_WINDOWS,
                   "a table keeps its first window and shows no more than it may");
        for (int i = 0; i < MAX_TABLE_WINDOWS; ++i)
            if (CTableMDIWnd* pWindow = pTable->FindWindowByView(i); pWindow != nullptr && pWindow->IsWindowVisible())
                ++shown[strName];
    }
    return {shown, s_lines.lines};
}

// The frames that read their own sections of the file, made on it and checked where they stand.
void CheckFramePlacements()
{
    CFormHtml* pPage = new CFormHtml;
    CFormChart* pChart = new CFormChart;
    CFormMDIWnd* pForm = new CFormMDIWnd;
    CFormMDIWnd* slots[] = {pPage, pChart, pForm};
    pPage->SetPageId("BRIEF_STORY_STOCKS");
    pChart->SetSection("ChartView0");
    FUZZ_CHECK(pPage->CreateForm(55281, nullptr, &slots[0]) && pChart->CreateForm(55290, nullptr, &slots[1]) &&
                   pForm->CreateForm(7310, nullptr, &slots[2]),
               "the frames are made whatever the file says");
    RECT rcFrame{};
    TbGetDisplay()->GetMdiChildFrame(&rcFrame);
    // A form the file does not place stays where its creation put it.
    WINDOWPLACEMENT wp{};
    BOOL bFormMissing = FALSE;
    GetSharedGlobals()->m_settings.SetSection("7310-0");
    GetSharedGlobals()->m_settings.GetWindowPlacement(&wp, "WinPlace", nullptr, &bFormMissing);
    for (CFormMDIWnd* pWnd : {static_cast<CFormMDIWnd*>(pPage), static_cast<CFormMDIWnd*>(pChart), pForm}) {
        if (pWnd == pForm && bFormMissing)
            continue;
        CRect rc;
        pWnd->GetWindowRect(&rc);
        ::ScreenToClient(::GetParent(pWnd->m_hWnd), reinterpret_cast<POINT*>(&rc.left));
        FUZZ_CHECK(rc.left >= rcFrame.left && rc.top >= rcFrame.top, "a caption inside the client area");
        FUZZ_CHECK(pWnd == pForm || (rc.Width() <= GetSystemMetrics(SM_CXSCREEN) && rc.Height() <= GetSystemMetrics(SM_CYSCREEN)),
                   "a window no larger than the screen");
    }
    for (CFormMDIWnd* pSlot : slots)
        if (pSlot != nullptr)
            pSlot->DestroyWindow();
}

}  // namespace

// The display's fonts come through fontconfig, which keeps its configuration for the process's
// life; the fuzzer's leak check runs without the test script's suppressions.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("XDG_CONFIG_HOME", CFuzzTempDir::Get().c_str(), 1);
    TbInitQtPlatform(nullptr, nullptr);
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    TbSetResourceModule(LoadLibraryA("_1252.dll"));
    s_pApp = new CNorvApp;
    s_pApp->LoadWorkspace(CFuzzTempDir::Path("start.wsp").c_str(), FALSE);
    auto* pFrame = new CNorvMainFrame;
    pFrame->Create(nullptr, "Workspace", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1000, 700));
    pFrame->ShowWindow(SW_SHOW);
    s_pApp->SetMainFrame(pFrame);
    GetSharedGlobals()->m_pInfoWindow = &s_lines;
    for (UINT nId : {52114u, 51128u}) {
        auto* pTable = new CFuzzTable;
        if (!pTable->Create(nId))
            std::abort();
        s_tables.push_back(pTable);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    // Names of this input's own: a file already loaded is not read again, and the one loaded
    // last is saved over when another is loaded.
    static int s_nInput = 0;
    const std::string strStem = CFuzzTempDir::Path("input") + std::to_string(++s_nInput);
    const std::string strFirst = strStem + "a.wsp", strAgain = strStem + "b.wsp";
    const std::string_view bytes(reinterpret_cast<const char*>(pData), nSize);
    if (!FuzzWriteFile(strFirst, bytes) || !FuzzWriteFile(strAgain, bytes))
        return 0;
    const auto first = Load(strFirst);
    CString strLeftOut;
    GetSharedGlobals()->LoadString(strLeftOut, IDS_WORKSPACE_LEFT_OUT);
    for (CFuzzTable* pTable : s_tables) {
        CString strLine = strLeftOut;
        strLine.Replace("%1", pTable->GetName());
        for (const std::string& strTold : first.second)
            FUZZ_CHECK(strTold != static_cast<LPCSTR>(strLine), "a table that is here is never told as left out");
    }
    CheckFramePlacements();
    const auto again = Load(strAgain);
    FUZZ_CHECK(first.first == again.first, "the same file brings back the same windows");
    // The workspace line names the file; the others are the same.
    FUZZ_CHECK(!first.second.empty() && first.second.size() == again.second.size() &&
                   std::equal(first.second.begin() + 1, first.second.end(), again.second.begin() + 1),
               "the same file tells the same lines");
    for (CFuzzTable* pTable : s_tables) {
        pTable->CloseAllWindows();
        FUZZ_CHECK(pTable->GetWindowCount() == 1 && !pTable->GetMainWindow()->IsWindowVisible(),
                   "closing leaves the table its one hidden window");
    }
    s_pApp->LoadWorkspace((strStem + "rest.wsp").c_str(), FALSE);
    CFuzzTempDir::Clear();
    return 0;
}
