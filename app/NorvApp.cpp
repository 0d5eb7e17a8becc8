#include "app/NorvApp.h"

#include <algorithm>
#include <cstdio>
#include "app/DataTable.h"
#include "app/NorvMainFrame.h"
#include "app/RestoredPlacement.h"
#include "app/TableMDIWnd.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SharedGlobals.h"
#include "framework/table/ViewTable.h"
#include "framework/window/CellText.h"
#include "framework/window/TableWindowProperties.h"
#include "platform/win/Windows.h"

#define IDS_WORKSPACE_LOADED 856        // followed by the workspace file's name

namespace {

// The colours of ".General": key, member, default when loading, written by a save.
const struct { const char* pszKey; COLORREF APP_COLORS::*pMember; COLORREF crDefault; BOOL bSaved; } s_colors[] = {
    {"ColorUp", &APP_COLORS::crUp, 0x008000, TRUE},
    {"ColorDown", &APP_COLORS::crDown, 0x0000FF, TRUE},
    {"ColorUnchanged", &APP_COLORS::crUnchanged, 0xFF0000, TRUE},
    {"ColorTickerDifferent", &APP_COLORS::crTickerDifferent, 0x008000, TRUE},
    {"ColorMarketMaker", &APP_COLORS::crMarketMaker, 0x008000, FALSE},
    {"ColorJuniorStock", &APP_COLORS::crJuniorStock, 0x008000, FALSE},
    {"ColorOddLot", &APP_COLORS::crOddLot, 0x008000, FALSE},
    {"ColorSegment1", &APP_COLORS::crSegment1, 0x80FF80, FALSE},
    {"ColorSegment2", &APP_COLORS::crSegment2, 0xFF8080, FALSE},
    {"ColorSegment3", &APP_COLORS::crSegment3, 0x8080FF, FALSE},
};

CSettingsFile& Settings()
{
    return GetSharedGlobals()->m_settings;
}

CTableMDIWnd* TableWindowOf(HWND hWnd)
{
    return dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(hWnd));
}

// The MDI client's children, top of the order first.
std::vector<HWND> MdiChildren(const CNorvMainFrame* pFrame)
{
    std::vector<HWND> children;
    if (pFrame == nullptr || pFrame->m_hWndMDIClient == nullptr)
        return children;
    for (HWND hChild = GetWindow(pFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT))
        children.push_back(hChild);
    return children;
}

}  // namespace

#define TABLE_WINDOW_CLASS "NorvTableMDIWnd"
#define TREE_LIST_CLASS "QUEBROTREELISTCTRL"

ATOM RegisterTreeListClass()
{
    WNDCLASSA wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = TREE_LIST_CLASS;
    return RegisterClassA(&wc);
}

void CNorvApp::RegisterTableWindowClass(UINT nIconId)
{
    HICON hIcon = GetSharedGlobals()->LoadIcon(nIconId);
    if (hIcon == nullptr)
        return;
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, TABLE_WINDOW_CLASS, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hIcon = hIcon;
        wc.lpszClassName = TABLE_WINDOW_CLASS;
        if (RegisterClassA(&wc) == 0)
            return;
    }
    m_strTableWindowClass = TABLE_WINDOW_CLASS;
}

CNorvApp::CNorvApp() = default;

CNorvApp::~CNorvApp()
{
    RemoveAllTables();
}

CNorvApp* CNorvApp::Get()
{
    return dynamic_cast<CNorvApp*>(CTWApp::Get());
}

BOOL CNorvApp::PreTranslateMessage(MSG* pMsg)
{
    if (CTBApp::PreTranslateMessage(pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

int CNorvApp::ExitInstance()
{
    DeleteSharedSingletons();
    return CWinApp::ExitInstance();
}

CDocument* CNorvApp::OpenDocumentFile(LPCSTR pszFileName)
{
    // The class library only asks whether the file opened.
    static CDocument s_opened;
    if (CWnd* pMain = m_pMainFrame)
        pMain->SendMessage(WM_SETREDRAW, FALSE);
    LoadWorkspace(pszFileName, TRUE);
    WriteProfileString(".General", "Workspace", m_strWorkspaceFile);
    if (CWnd* pMain = m_pMainFrame) {
        pMain->SendMessage(WM_SETREDRAW, TRUE);
        pMain->Invalidate();
    }
    return &s_opened;
}

IDataTable* CNorvApp::FindTable(UINT nNameId) const
{
    const auto it = m_tablesById.find(nNameId);
    return it == m_tablesById.end() ? nullptr : it->second;
}

IDataTable* CNorvApp::FindTableByName(LPCSTR pszName) const
{
    IDataTable* pTable = nullptr;
    if (pszName == nullptr || !m_tables.Lookup(pszName, pTable))
        return nullptr;
    return pTable;
}

void CNorvApp::AddTable(IDataTable* pTable)
{
    if (pTable == nullptr)
        return;
    // The table it replaces under that name is no longer found by its id either.
    IDataTable* pReplaced = FindTableByName(pTable->GetName());
    if (pReplaced != nullptr && pReplaced != pTable)
        ForgetTableId(pReplaced);
    m_tables.SetAt(pTable->GetName(), pTable);
    if (pTable->GetNameId() != 0)
        m_tablesById[pTable->GetNameId()] = pTable;
}

void CNorvApp::ForgetTableId(IDataTable* pTable)
{
    const auto it = m_tablesById.find(pTable->GetNameId());
    if (it != m_tablesById.end() && it->second == pTable)
        m_tablesById.erase(it);
}

void CNorvApp::RemoveTable(IDataTable** ppSlot)
{
    if (ppSlot == nullptr || *ppSlot == nullptr)
        return;
    IDataTable* pTable = *ppSlot;
    IDataTable* pListed = nullptr;
    if (m_tables.Lookup(pTable->GetName(), pListed) && pListed == pTable)
        m_tables.RemoveKey(pTable->GetName());
    ForgetTableId(pTable);
    pTable->Destroy();
    delete pTable;
    *ppSlot = nullptr;
}

void CNorvApp::RemoveAllTables()
{
    for (IDataTable* pTable : GetTables())
        RemoveTable(&pTable);
    m_tables.RemoveAll();
    m_tablesById.clear();
}

std::vector<IDataTable*> CNorvApp::GetTables() const
{
    std::vector<IDataTable*> tables;
    POSITION pos = m_tables.GetStartPosition();
    while (pos != nullptr) {
        CString strName;
        IDataTable* pTable = nullptr;
        m_tables.GetNextAssoc(pos, strName, pTable);
        tables.push_back(pTable);
    }
    return tables;
}

void CNorvApp::ShowTable(IDataTable* pTable)
{
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    if (pWindow == nullptr)
        return;
    // A hidden or minimised window comes up normal; one on view keeps its state, so a maximised
    // window stays maximised, and the activation carries the client's maximised mode over.
    pWindow->FitBeforeShowing();
    if (!pWindow->IsWindowVisible() || pWindow->IsIconic())
        pWindow->ShowWindow(SW_SHOWNORMAL);
    pWindow->MDIActivate();
    if (CMDIFrameWnd* pFrame = pWindow->GetMDIFrame())
        pFrame->SendMessage(WM_SIZE, 0, 0);
}

BOOL CNorvApp::SetFontCharset(BYTE nCharset)
{
    BOOL bAll = TRUE;
    for (IDataTable* pTable : GetTables())
        bAll = pTable->SetWindowsCharset(nCharset) && bAll;
    CSettingsFile& settings = Settings();
    int nPos = 0;
    CTBString strSection;
    if (settings.GetNextSection(nPos, strSection) == nullptr)
        return FALSE;
    settings.SetSection(strSection);
    for (UINT nKey : {IDS_GRID_FONT, IDS_GRID_BOLDFONT}) {
        const CTBString strKey = GetAppString(nKey);
        if (settings.GetValue(strSection, strKey) == nullptr)
            continue;
        LOGFONTA lf{};
        settings.GetLogFont(&lf, strKey, nullptr);
        lf.lfCharSet = nCharset;
        settings.WriteLogFont(strKey, &lf);
    }
    return bAll;
}

short CNorvApp::CountVisibleTableWindows() const
{
    if (m_pMainFrame == nullptr || m_pMainFrame->MDIGetActive() == nullptr)
        return 0;
    short nCount = 0;
    for (HWND hChild : MdiChildren(m_pMainFrame))
        if (TableWindowOf(hChild) != nullptr && IsWindowVisible(hChild))
            ++nCount;
    return nCount;
}

int CNorvApp::NextZOrderIndex()
{
    return m_pMainFrame != nullptr ? m_pMainFrame->NextZOrderIndex() : -1;
}

void CNorvApp::SetBusyFlag(BOOL bBusy)
{
    m_nBusy = bBusy ? 1 : 0;
    SetCursor(LoadCursorA(nullptr, bBusy ? IDC_WAIT : IDC_ARROW));
}

void CNorvApp::ReadGeneralSettings()
{
    CSettingsFile& settings = Settings();
    settings.SetSection(".General");
    CSharedGlobals* pShared = GetSharedGlobals();
    pShared->m_bCloseOnSysMenu = settings.GetBool("CloseOnSysMenu", pShared->m_bCloseOnSysMenu);
    m_bShowTimeOnMenuBar = settings.GetBool("ShowTimeOnMenuBar", FALSE);
    m_bAutoSave = settings.GetBool("AutoSave", TRUE);
    for (const auto& color : s_colors)
        m_colors.*color.pMember = static_cast<COLORREF>(settings.GetLong(color.pszKey, static_cast<LONG>(color.crDefault)));
}

void CNorvApp::WriteGeneralSettings()
{
    CSettingsFile& settings = Settings();
    settings.SetSection(".General");
    settings.WriteBool("CloseOnSysMenu", GetSharedGlobals()->m_bCloseOnSysMenu);
    settings.WriteBool("ShowTimeOnMenuBar", m_bShowTimeOnMenuBar);
    settings.WriteBool("AutoSave", m_bAutoSave);
    for (const auto& color : s_colors)
        if (color.bSaved)
            settings.WriteLong(color.pszKey, static_cast<LONG>(m_colors.*color.pMember));
}

void CNorvApp::LoadWorkspace(LPCSTR pszFile, BOOL bCloseFirst)
{
    const CWorkspacePlacing placing(m_pMainFrame != nullptr ? m_pMainFrame->m_hWndMDIClient : nullptr);
    SetBusyFlag(TRUE);
    if (bCloseFirst)
        for (IDataTable* pTable : GetTables())
            pTable->CloseAllWindows();
    CSettingsFile& settings = Settings();
    const CString strFile = pszFile != nullptr ? pszFile : "";
    if (strFile != m_strWorkspaceFile) {
        m_strWorkspaceFile = strFile;
        settings.Open(strFile);
    }
    if (IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow) {
        CString strLine;
        GetSharedGlobals()->LoadString(strLine, IDS_WORKSPACE_LOADED);
        pInfo->AddText(strLine + m_strWorkspaceFile);
    }
    ReadGeneralSettings();
    if (m_pMainFrame != nullptr)
        m_pMainFrame->RestoreBars();

    // The windows of each table, up to the highest number an entry gives one of its views
    // (a table's third window may be on view without its second).
    settings.SetSection(".Z-Order");
    const short nEntries = static_cast<short>(settings.GetInt("NumTables", 100));
    std::vector<std::pair<CString, int>> counts;
    for (int i = 0; i < nEntries; ++i) {
        const auto [strName, nNumber] = ZOrderEntry(i);
        if (strName.IsEmpty())
            continue;
        const int nWindow = nNumber > 1 && nNumber <= MAX_TABLE_WINDOWS ? nNumber : 1;
        bool bSeen = false;
        for (auto& count : counts)
            if (count.first == strName) {
                count.second = std::max(count.second, nWindow);
                bSeen = true;
            }
        if (!bSeen)
            counts.emplace_back(strName, nWindow);
    }
    for (const auto& count : counts)
        if (!RestoreTableWindows(count.first, count.second))
            ReportLeftOutTable(count.first);
    for (IDataTable* pTable : GetTables())
        pTable->ReloadHiddenWindows();

    // The order: the last entry raised first, so that entry 0 ends on top. The order lists only
    // windows that were on view: one whose place was saved under another name (a file of the
    // other language or the previous version) shows all the same.
    const std::vector<HWND> order = SavedTableOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        ::SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (::IsWindowVisible(*it) ? 0 : SWP_SHOWWINDOW));
    SetBusyFlag(FALSE);
}

std::pair<CString, int> CNorvApp::ZOrderEntry(int nIndex) const
{
    char szKey[16];
    snprintf(szKey, sizeof szKey, "%d", nIndex);
    CSettingsFile& settings = Settings();
    settings.SetSection(".Z-Order");
    const CString strValue = static_cast<const char*>(settings.GetString(szKey, ""));
    if (strValue.IsEmpty())
        return {};
    const int nColon = strValue.Find(':');
    const CString strName = WorkspaceTableName(nColon >= 0 ? strValue.Left(nColon) : strValue);
    return {strName, nColon >= 0 ? atoi(strValue.Mid(nColon + 1)) : 0};
}

std::vector<HWND> CNorvApp::SavedTableOrder() const
{
    std::vector<HWND> order;
    Settings().SetSection(".Z-Order");
    const short nEntries = static_cast<short>(Settings().GetInt("NumTables", 100));
    for (int i = 0; i < nEntries; ++i) {
        const auto [strName, nNumber] = ZOrderEntry(i);
        IDataTable* pTable = strName.IsEmpty() ? nullptr : FindTableByName(strName);
        CTableMDIWnd* pWindow = pTable != nullptr ? pTable->FindWindowByView(nNumber > 0 ? nNumber - 1 : 0) : nullptr;
        if (pWindow != nullptr && pWindow->m_hWnd != nullptr &&
            std::find(order.begin(), order.end(), pWindow->m_hWnd) == order.end())
            order.push_back(pWindow->m_hWnd);
    }
    return order;
}

void CNorvApp::ReportLeftOut(LPCSTR pszName, UINT nLineId)
{
    IInfoWindow* pInfo = GetSharedGlobals()->m_pInfoWindow;
    if (pInfo == nullptr)
        return;
    CString strLine;
    GetSharedGlobals()->LoadString(strLine, nLineId);
    // A damaged file's name could be a page long; the line shows its start.
    CString strName = pszName != nullptr ? pszName : "";
    if (strName.GetLength() > 64)
        strName = strName.Left(64) + "...";
    // A line holding right-to-left letters reads right to left: in a left-to-right interface the
    // name of the other language goes on a line of its own, so that neither loses the other.
    if (!GetNorvGlobals().m_bRightToLeft && CellReadingFlag(strName) != 0) {
        strLine.Replace("%1", "");
        pInfo->AddText(strLine);
        pInfo->AddText(strName);
        return;
    }
    strLine.Replace("%1", strName);
    pInfo->AddText(strLine);
}

BOOL CNorvApp::RestoreTableWindows(LPCSTR pszName, int nCount)
{
    IDataTable* pTable = FindTableByName(pszName);
    const BOOL bStanding = pTable != nullptr;
    if (pTable == nullptr)
        pTable = MakeWorkspaceTable(pszName);
    if (pTable == nullptr)
        return FALSE;
    if (CTableMDIWnd* pMain = pTable->GetMainWindow()) {
        pMain->LoadSettings();
        ::SetWindowPos(pMain->m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    if (bStanding)
        OnStandingTableRestored(pTable);
    // A file may ask for any number of windows; a table shows at most a few.
    const int nWindows = nCount < MAX_TABLE_WINDOWS ? nCount : MAX_TABLE_WINDOWS;
    for (int i = 2; i <= nWindows && pTable->GetWindowCount() < MAX_TABLE_WINDOWS; ++i) {
        CTableMDIWnd* pWindow = pTable->OpenWindow(FALSE);
        if (pWindow == nullptr)
            break;
        pWindow->ShowWindow(SW_SHOWNORMAL);
        pWindow->LoadSettings();
        OnExtraWindowRestored(pTable, pWindow);
    }
    return TRUE;
}

void CNorvApp::SaveWorkspace()
{
    if (m_pMainFrame == nullptr || m_pMainFrame->m_hWnd == nullptr)
        return;
    SetBusyFlag(TRUE);
    WriteGeneralSettings();
    m_pMainFrame->SaveFrameSettings();
    for (HWND hChild : MdiChildren(m_pMainFrame))
        if (CTableMDIWnd* pWindow = TableWindowOf(hChild))
            pWindow->SaveSettings();
    SetBusyFlag(FALSE);
}
