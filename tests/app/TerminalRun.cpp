#include "TerminalRun.h"

#include <stdlib.h>
#include <chrono>
#include <fstream>
#include "AppTestSupport.h"
#include "app/MainFrame.h"
#include "app/dialogs/CredentialDialogs.h"
#include "framework/base/NorvGlobals.h"
#include "market/MarketTables.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Display.h"
#include "platform/win/user/MessageBox.h"
#include "platform/win/user/TestAnswers.h"
#include "platform/win/user/VirtualKeys.h"
#include "platform/win/user/WebBrowser.h"
#include "tools/demo/TerminalSetup.h"

namespace {

CTerminalRun* s_pRunning = nullptr;

}  // namespace

CTerminalRun::CTerminalRun(bool bArabic, const std::string& strFolder)
{
    // The tree's language files, unless the test named others.
    if (getenv("TB_RESOURCE_DIR") == nullptr)
        TbAddResourcePath(TB_SOURCE_DIR "/resources");
    m_strFolder = !strFolder.empty() ? strFolder : MakeTestFolder(bArabic ? "terminal-ar" : "terminal-en");
    // Browsers on the rich-text surface: the web engine is for the web programs, which run with
    // the sanitizer settings its teardown needs. Those turn it on again after this.
    TbWebBrowserUseEngine(FALSE);
    setenv("TB_PROGRAM_DIR", m_strFolder.c_str(), 1);
    WriteLanguageChoice(bArabic);
    m_bArabic = bArabic;
    const CNorvGlobals& globals = GetNorvGlobals();
    m_formats = {globals.m_strDatePattern, globals.m_strTimePattern, globals.m_chDecimal, globals.m_chThousands};
    m_lcid = GetThreadLocale();
}

CTerminalRun::~CTerminalRun()
{
    Close();
    // An answer queued for a box that never came must not answer the next test's.
    TbClearTestAnswers();
    unsetenv("TB_PROGRAM_DIR");
    TbWebBrowserUseEngine(TRUE);
    // The next test starts from the English interface, as a fresh program would.
    GetNorvGlobals().SetRightToLeft(FALSE);
    GetNorvGlobals().SetLanguage(0);
    TbSetActiveCodePage(1252);
    CNorvGlobals& globals = GetNorvGlobals();
    globals.m_strDatePattern = m_formats.strDate;
    globals.m_strTimePattern = m_formats.strTime;
    globals.m_chDecimal = m_formats.chDecimal;
    globals.m_chThousands = m_formats.chThousands;
    SetThreadLocale(m_lcid);
}

void CTerminalRun::WriteLinkSettings(int nPort)
{
    ::WriteLinkSettings(m_strFolder, m_bArabic, nPort);
}

bool CTerminalRun::Start()
{
    // The standing tables come from the market layer, as in the terminal's executable.
    RegisterMarketTables();
    if (m_onMakersRegistered)
        m_onMakersRegistered();
    m_pApp = new CZORVAT32App;
    s_pRunning = this;
    // Thread timers run inside every modal loop, so the login dialog is answered where it waits.
    m_nTimer = SetTimer(nullptr, 0, 30, &CTerminalRun::OnTimer);
    if (!m_pApp->InitInstance()) {
        m_bClosed = true;
        return false;
    }
    return true;
}

void CALLBACK CTerminalRun::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_pRunning != nullptr)
        s_pRunning->LookForDialog();
}

void CTerminalRun::QueueDialog(int nMarkId, const std::vector<std::pair<int, std::string>>& fields)
{
    m_dialogs.emplace_back(nMarkId, fields);
}

void CTerminalRun::LookForDialog()
{
    HWND hDlg = GetActiveWindow();
    if (hDlg != nullptr && hDlg != m_hLastDialog && !m_dialogs.empty() &&
        GetDlgItem(hDlg, m_dialogs.front().first) != nullptr && IsWindowVisible(hDlg)) {
        m_hLastDialog = hDlg;
        char szMark[512] = "";
        GetDlgItemTextA(hDlg, m_dialogs.front().first, szMark, sizeof szMark);
        m_strMarkText = szMark;
        for (const auto& field : m_dialogs.front().second)
            SetDlgItemTextA(hDlg, field.first, field.second.c_str());
        m_dialogs.pop_front();
        SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        return;
    }
    if (hDlg == nullptr || hDlg == m_hLastDialog || GetDlgItem(hDlg, IDC_LOGIN_USER) == nullptr ||
        GetDlgItem(hDlg, IDC_LOGIN_PASSWORD) == nullptr)
        return;
    if (!IsWindowVisible(hDlg))
        return;
    if (hDlg != m_hAnswering) {
        ++m_nDialogsSeen;
        char szRefusal[512] = "";
        if (IsWindowVisible(GetDlgItem(hDlg, IDC_LOGIN_REFUSAL)))
            GetDlgItemTextA(hDlg, IDC_LOGIN_REFUSAL, szRefusal, sizeof szRefusal);
        m_loginRefusals.push_back(szRefusal);
    }
    m_hAnswering = hDlg;
    if (!m_strDialogShot.empty()) {
        UpdateWindow(hDlg);
        TbSaveWindowPng(hDlg, m_strDialogShot.c_str());
        m_strDialogShot.clear();
    }
    if (m_logins.empty()) {
        if (m_bCancelUnanswered) {
            m_hLastDialog = hDlg;
            SendMessageA(GetDlgItem(hDlg, IDCANCEL), BM_CLICK, 0, 0);
        }
        return;
    }
    m_hLastDialog = hDlg;
    const auto login = m_logins.front();
    m_logins.pop_front();
    SetDlgItemTextA(hDlg, IDC_LOGIN_USER, login.first.c_str());
    SetDlgItemTextA(hDlg, IDC_LOGIN_PASSWORD, login.second.c_str());
    SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
    // A dialog that refused its answer stays open for the next one.
    if (IsWindow(hDlg) && IsWindowVisible(hDlg))
        m_hLastDialog = nullptr;
}

void CTerminalRun::QueueLogin(const std::string& strUser, const std::string& strPassword)
{
    m_logins.emplace_back(strUser, strPassword);
}

int CTerminalRun::CountInfoLines(UINT nId) const
{
    CString strText;
    GetSharedGlobals()->LoadString(strText, nId);
    IInfoTable* pInfo = m_pApp != nullptr ? m_pApp->GetInfoTable() : nullptr;
    int nCount = 0;
    for (int i = 0; pInfo != nullptr && i < pInfo->GetLineCount(); ++i)
        if (pInfo->GetLineCell(i, INFO_COL_TEXT) == strText)
            ++nCount;
    return nCount;
}

std::string CTerminalRun::InfoText() const
{
    std::string strText;
    IInfoTable* pInfo = m_pApp != nullptr ? m_pApp->GetInfoTable() : nullptr;
    for (int i = 0; pInfo != nullptr && i < pInfo->GetLineCount(); ++i)
        strText += std::string(pInfo->GetLineCell(i, INFO_COL_TEXT)) + "\n";
    return strText;
}

bool CTerminalRun::TypeCtrl(char chKey, const std::function<bool()>& done)
{
    const LPARAM lUp = static_cast<LPARAM>(KF_UP) << 16;
    const char szChar[2] = {static_cast<char>(chKey - 'A' + 1), '\0'};
    TbDisplayKey(WM_KEYDOWN, VK_CONTROL, 1, "");
    TbDisplayKey(WM_KEYDOWN, static_cast<UINT>(chKey), 1, szChar);
    TbDisplayKey(WM_KEYUP, static_cast<UINT>(chKey), 1 | lUp, "");
    TbDisplayKey(WM_KEYUP, VK_CONTROL, 1 | lUp, "");
    return PumpUntilDone(done);
}

bool CTerminalRun::TypeKey(UINT nKey, const std::function<bool()>& done)
{
    TbDisplayKey(WM_KEYDOWN, nKey, 1, "");
    TbDisplayKey(WM_KEYUP, nKey, 1 | (static_cast<LPARAM>(KF_UP) << 16), "");
    return PumpUntilDone(done);
}

bool CTerminalRun::PumpUntilDone(const std::function<bool()>& done)
{
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 10, nullptr);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    CQueueWatch watch;
    MSG msg;
    while (!done() && std::chrono::steady_clock::now() < end && ::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!m_pApp->PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        CQueueWatch::Beat();
    }
    ::KillTimer(nullptr, nTimer);
    return done();
}

bool CTerminalRun::WaitForLoad(int nMs)
{
    return PumpUntil([this] { return m_pApp->IsInitialLoadDone(); }, nMs);
}

::testing::AssertionResult CTerminalRun::StartLoggedIn(int nPort, const std::string& strUser,
                                                       const std::string& strPassword)
{
    WriteLinkSettings(nPort);
    QueueLogin(strUser, strPassword);
    if (!Start())
        return ::testing::AssertionFailure() << "the terminal did not start";
    if (!WaitForLoad())
        return ::testing::AssertionFailure() << "no initial load: " << InfoText();
    return ::testing::AssertionSuccess();
}

void CTerminalRun::Close()
{
    if (m_bClosed || m_pApp == nullptr) {
        if (m_nTimer != 0)
            KillTimer(nullptr, m_nTimer);
        m_nTimer = 0;
        delete m_pApp;
        m_pApp = nullptr;
        s_pRunning = nullptr;
        return;
    }
    m_bClosed = true;
    if (CNorvMainFrame* pFrame = m_pApp->GetMainFrame()) {
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        pFrame->SendMessage(WM_CLOSE);
    }
    PumpPending();
    m_pApp->ExitInstance();
    KillTimer(nullptr, m_nTimer);
    m_nTimer = 0;
    delete m_pApp;
    m_pApp = nullptr;
    s_pRunning = nullptr;
    TbClearTestAnswers();
    PumpPending();
}
