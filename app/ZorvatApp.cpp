#include "app/ZorvatApp.h"

#include <algorithm>
#include <vector>

#include "app/DataTable.h"
#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "app/HtmlPages.h"
#include "app/NorvMainFrame.h"
#include "app/RestoredPlacement.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/SharedGlobals.h"
#include "link/MarketServices.h"
#include "link/ZorvatComm.h"
#include "platform/win/Windows.h"
#include "platform/win/user/LineHandling.h"
#include "platform/win/user/MessageBox.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_VERSION_REFUSED_BOX 55304
#define IDS_KEY_ALERT_SOUND 57072       // the ".General" key of the alert sound's mode
#define IDS_KEY_ALERT_SOUND_FILE 57073  // and of its wave file
#define US_QUOTATIONS_TABLE_ID 51921     // the table that expands compact quotes
#define FRAME_ORDER_KEY "ZOrder"         // a chart's or page's place among the windows on view, 0 on top
#define IDD_FORM_INTL_CONVERSION 7307

CZORVAT32App::CZORVAT32App()
    : m_errors(this, this, this), m_dispatcher(this, &m_errors, this, this), m_rates(this)
{
}

CZORVAT32App::~CZORVAT32App()
{
    // The link window outlives nothing of ours: it would call back into a dead object.
    if (m_pComm != nullptr && m_pComm->m_hWnd != nullptr)
        m_pComm->DestroyWindow();
    DestroyTickersAndTables();
}

CZORVAT32App* CZORVAT32App::Get()
{
    return dynamic_cast<CZORVAT32App*>(CTWApp::Get());
}

ICommLink* CZORVAT32App::GetLink()
{
    return m_pComm;
}

BOOL CZORVAT32App::IsConnected() const
{
    return m_pComm != nullptr && m_pComm->IsConnected();
}

long CZORVAT32App::SendRequest(LPCSTR pszLine)
{
    const long nNumber = m_dispatcher.SendRequest(pszLine);
    return nNumber > 0 ? nNumber : 0;
}

long CZORVAT32App::SendRequest(int nType, LPCSTR pszBody)
{
    if (!IsConnected())
        return -1;
    return m_dispatcher.SendRequest(nType, pszBody);
}

ICompactQuoteExpander* CZORVAT32App::GetQuoteExpander()
{
    return dynamic_cast<ICompactQuoteExpander*>(FindTable(US_QUOTATIONS_TABLE_ID));
}

void CZORVAT32App::BringInfoWindowToTop(int nPriority)
{
    if (m_nInfoPriority > nPriority || m_pInfoTable == nullptr)
        return;
    m_pInfoTable->BringWindowToTop();
    // It rises beneath the active window, and no higher than leaves every caption it would lie
    // over in view (a restored workspace's windows keep their titles readable): it stops under
    // the lowest window whose caption it would cover. Unread there, its lines blink the indicator.
    IDataTable* pTable = m_pInfoTable->GetDataTable();
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    // The active window (the one the trader works in, maximised ones among them) stays on top.
    const HWND hActive = pWindow != nullptr && pWindow->m_hWnd != nullptr
                             ? reinterpret_cast<HWND>(::SendMessageA(::GetParent(pWindow->m_hWnd), WM_MDIGETACTIVE, 0, 0))
                             : nullptr;
    if (pWindow != nullptr && pWindow->m_hWnd != nullptr && pWindow->m_hWnd != hActive &&
        ::IsWindowVisible(pWindow->m_hWnd) && !pWindow->IsIconic() && !pWindow->IsZoomed())
        if (const HWND hUnder = LowestCaptionCovered(pWindow->m_hWnd))
            ::SetWindowPos(pWindow->m_hWnd, hUnder, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CZORVAT32App::AddInfoText(LPCSTR pszText)
{
    if (m_pInfoTable != nullptr)
        m_pInfoTable->AddText(pszText);
}

void CZORVAT32App::OpenInternationalCurrencyConversion(LPCSTR pszFrom, LPCSTR pszTo)
{
    if (m_pConversionOpener != nullptr) {
        if (pszFrom != nullptr && pszTo != nullptr)
            m_pConversionOpener->OpenCurrencyConversion(pszFrom, pszTo);
        return;
    }
    // Without its view the form would be an empty frame: the opener waits for it quietly.
    if (FindFormMaker(IDD_FORM_INTL_CONVERSION) == nullptr)
        return;
    OpenFormWindow(&m_pIntlConversionForm, IDD_FORM_INTL_CONVERSION);
    if (m_pIntlConversionForm != nullptr)
        if (auto* pForm = dynamic_cast<ICurrencyPairForm*>(m_pIntlConversionForm->GetView()))
            pForm->SelectCurrencyPair(pszFrom, pszTo);
}

void CZORVAT32App::ShowInfoResource(UINT nId, int nPriority)
{
    if (m_pInfoTable != nullptr)
        m_pInfoTable->AddResourceText(nId);
    if (nPriority > 0)
        BringInfoWindowToTop(nPriority);
}

CString CZORVAT32App::GetPaymentModeText(long nCode) const
{
    CString strText;
    strText.Format("%ld", nCode);
    return strText;
}

CString CZORVAT32App::GetAccountTypeText(long nCode) const
{
    CString strText;
    strText.Format("%ld", nCode);
    return strText;
}

CString CZORVAT32App::GetProgramFolder() const
{
    // The reference data wants the folder without its separator.
    CString strFolder = m_strProgramFolder;
    if (!strFolder.IsEmpty() && strFolder[strFolder.GetLength() - 1] == '/')
        strFolder = strFolder.Left(strFolder.GetLength() - 1);
    return strFolder;
}

BOOL CZORVAT32App::IsActiveChild(HWND hWnd) const
{
    CMDIChildWnd* pActive = m_pMainFrame != nullptr ? m_pMainFrame->MDIGetActive() : nullptr;
    return pActive != nullptr && pActive->m_hWnd == hWnd;
}

CString CZORVAT32App::GetErrorText(long nCode)
{
    CString strText;
    m_errors.GetTextAlone(&strText, nCode);
    return strText;
}

void CZORVAT32App::ShowMessageBox(LPCSTR pszText, UINT nFlags)
{
    // A server line's box opens after the line: the lines behind it are handled meanwhile.
    if (!TbIsHandlingLine()) {
        MessageBoxA(nullptr, pszText, m_strAppTitle, nFlags);
        return;
    }
    TbPostCall([strText = CString(pszText), strTitle = m_strAppTitle, nFlags] {
        MessageBoxA(nullptr, strText, strTitle, nFlags);
    });
}

int CZORVAT32App::AskYesNo(UINT nTextId)
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nTextId);
    return MessageBoxA(nullptr, strText, m_strAppTitle, MB_YESNO | MB_ICONQUESTION);
}

void CZORVAT32App::OnVersionStatus(int nStatus, LPCSTR pszText)
{
    if (nStatus == 2) {
        // An outdated version may no longer connect: the link closes before the user reads why.
        if (m_pComm != nullptr)
            m_pComm->Disconnect(FALSE);
    }
    // The hello's answer is a line: what it says opens once the line is handled.
    TbPostCall([strText = CString(pszText), nStatus] {
        CZORVAT32App* pApp = CZORVAT32App::Get();
        if (pApp == nullptr)
            return;             // the application ended meanwhile
        if (nStatus == 2) {
            CString strBox;
            GetSharedGlobals()->LoadString(strBox, IDS_VERSION_REFUSED_BOX);
            MessageBoxA(nullptr, strBox, pApp->m_strAppTitle, MB_OK | MB_ICONERROR);
        }
        pApp->ShowVersionInfo(strText, nStatus);
    });
}

void CZORVAT32App::SetFrameTitle(LPCSTR pszTitle)
{
    if (m_pMainFrame != nullptr)
        m_pMainFrame->SetTitleText(pszTitle);
}

int CZORVAT32App::BuildStandingSet()
{
    const int nResult = OpenStandingTables();
    if (nResult == 1) {
        CString strFile;
        GetSharedGlobals()->LoadString(strFile, IDS_SETTINGS_FILE);
        LoadWorkspace(m_strProgramFolder + strFile, TRUE);
    }
    return nResult;
}

void CZORVAT32App::DestroyTickersAndTables()
{
    // Nobody may write into the information table from here until a new one is handed over.
    for (int i = 0; i < m_tickers.GetSize(); ++i)
        DestroyTickerAt(i);
    GetSharedGlobals()->m_pInfoWindow = nullptr;
    m_pInfoTable = nullptr;
    RemoveAllTables();
}

void CZORVAT32App::WriteGeneralSettings()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    settings.WriteBool("BringInfoWindoToTop", m_bInfoRaise);
    settings.WriteInt("BringInfoWindowToTopPriority", m_nInfoPriority);
    settings.WriteBool("RememberPIN", m_bRememberPin);
    CNorvApp::WriteGeneralSettings();     // leaves ".General" current
    settings.WriteInt(IDS_KEY_ALERT_SOUND, GetGlobals()->m_nAlertSoundMode);
    settings.WriteString(IDS_KEY_ALERT_SOUND_FILE, GetGlobals()->m_strAlertSoundFile);
}

void CZORVAT32App::SaveWorkspace()
{
    if (m_pMainFrame == nullptr || m_pMainFrame->m_hWnd == nullptr)
        return;
    CNorvApp::SaveWorkspace();
    SaveChartWindows();
    SavePageWindows();
    SaveFrameOrder();
    if (m_pComm != nullptr)
        m_pComm->SaveCommSettings();
}

void CZORVAT32App::LoadWorkspace(LPCSTR pszFile, BOOL bCloseFirst)
{
    // Every window of the file, charts and pages too, is fitted into the client together at the end.
    const CWorkspacePlacing placing(m_pMainFrame != nullptr ? m_pMainFrame->m_hWndMDIClient : nullptr);
    for (IDataTable* pTable : GetTables())
        pTable->CloseAllWindows();
    m_bHoldTableRequests = !IsInitialLoadDone();
    CNorvApp::LoadWorkspace(pszFile, bCloseFirst);
    m_bHoldTableRequests = FALSE;
    LoadChartWindows();
    LoadPageWindows();
    RestoreFrameOrder();
    // The news shown again asks for its stories again.
    IDataTable* pNews = FindTable(IDS_TABLE_NEWS);
    CTableMDIWnd* pNewsWindow = pNews != nullptr ? pNews->GetMainWindow() : nullptr;
    if (pNewsWindow != nullptr && pNewsWindow->IsWindowVisible())
        pNews->SendRequestFor(0, nullptr);
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    settings.SetSection(".General");
    m_bInfoRaise = settings.GetBool("BringInfoWindoToTop", TRUE);
    m_nInfoPriority = settings.GetInt("BringInfoWindowToTopPriority", 1);
    m_bRememberPin = settings.GetBool("RememberPIN", FALSE);
    // A file without the alert keys leaves the sound as it is.
    CZorvatGlobals* pGlobals = GetGlobals();
    pGlobals->m_nAlertSoundMode = settings.GetInt(IDS_KEY_ALERT_SOUND, pGlobals->m_nAlertSoundMode);
    pGlobals->m_strAlertSoundFile =
        static_cast<LPCSTR>(settings.GetString(IDS_KEY_ALERT_SOUND_FILE, pGlobals->m_strAlertSoundFile));
    for (IDataTable* pTable : GetTables()) {
        settings.SetSection(pTable->GetName());
        pTable->ReloadLogSetting();
    }
    settings.SetSection("Ticker");
    if (m_pMainFrame != nullptr && m_pMainFrame->m_hWnd != nullptr)
        m_pMainFrame->RecalcLayout();
}

CString CZORVAT32App::FrameSection(HWND hWnd) const
{
    for (CFormMDIWnd* pFrame : m_chartSlots)
        if (auto* pChart = dynamic_cast<CFormChart*>(pFrame); pChart != nullptr && pChart->m_hWnd == hWnd)
            return pChart->GetSection();
    for (int i = 0; i < g_nHtmlPages; ++i)
        if (m_pageSlots[i] != nullptr && m_pageSlots[i]->m_hWnd == hWnd)
            return g_htmlPages[i].pszPageId;
    return "";
}

void CZORVAT32App::SaveFrameOrder()
{
    // Counted as the table windows count theirs: every window on view from the top, tables,
    // charts and pages alike.
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    int nPlace = 0;
    for (HWND hChild = ::GetWindow(m_pMainFrame->m_hWndMDIClient, GW_CHILD); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(hChild))
            continue;
        if (dynamic_cast<CTableMDIWnd*>(CWnd::FromHandlePermanent(hChild)) != nullptr) {
            ++nPlace;
            continue;
        }
        const CString strSection = FrameSection(hChild);
        if (strSection.IsEmpty())
            continue;
        settings.SetSection(strSection);
        settings.WriteInt(FRAME_ORDER_KEY, nPlace++);
    }
}

void CZORVAT32App::RestoreFrameOrder()
{
    CSettingsFile& settings = GetSharedGlobals()->m_settings;
    std::vector<std::pair<int, HWND>> frames;
    for (CFormMDIWnd* pFrame : m_chartSlots) {
        auto* pChart = dynamic_cast<CFormChart*>(pFrame);
        if (pChart == nullptr || pChart->m_hWnd == nullptr || !pChart->IsWindowVisible())
            continue;
        settings.SetSection(pChart->GetSection());
        frames.emplace_back(settings.GetInt(FRAME_ORDER_KEY, -1), pChart->m_hWnd);
    }
    for (int i = 0; i < g_nHtmlPages; ++i) {
        if (m_pageSlots[i] == nullptr || m_pageSlots[i]->m_hWnd == nullptr || !m_pageSlots[i]->IsWindowVisible())
            continue;
        settings.SetSection(g_htmlPages[i].pszPageId);
        frames.emplace_back(settings.GetInt(FRAME_ORDER_KEY, -1), m_pageSlots[i]->m_hWnd);
    }
    // A frame without a place (a file of the previous version) stays where it opened, on top.
    std::erase_if(frames, [](const std::pair<int, HWND>& frame) { return frame.first < 0; });
    if (frames.empty())
        return;
    std::stable_sort(frames.begin(), frames.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const std::vector<HWND> tables = SavedTableOrder();
    std::vector<HWND> order;
    size_t nTable = 0;
    for (const auto& frame : frames) {
        while (static_cast<int>(order.size()) < frame.first && nTable < tables.size())
            order.push_back(tables[nTable++]);
        order.push_back(frame.second);
    }
    order.insert(order.end(), tables.begin() + static_cast<std::ptrdiff_t>(nTable), tables.end());
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        ::SetWindowPos(*it, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
