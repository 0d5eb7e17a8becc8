// CTBDialog and CTBLangDialog: creation through the window base's hook, the modal run, and the
// language dialogs' texts and remembered position.
#include "framework/window/TBDialog.h"

#include <cstdio>
#include <cstdlib>

#include "framework/base/Ini.h"
#include "framework/base/NorvGlobals.h"
#include "framework/base/SettingsFile.h"
#include "framework/base/TBApp.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/SysMetrics.h"
#include "platform/win/user/WindowObjects.h"

namespace {
const char* const NO_TEXT = "@(#(@";     // the default that tells a missing text entry
const char* const KEY_POS = "DialogPos";

HINSTANCE AppModule()
{
    CTBApp* pApp = GetTBApp();
    return pApp ? pApp->GetModule() : TbGetResourceModule();
}

CIni* Settings()
{
    CTBApp* pApp = GetTBApp();
    return pApp ? pApp->m_pSettings : nullptr;
}

// A part of the saved position: blank is -1, anything else its atoi value.
int PositionPart(const char* pszBegin, const char* pszEnd)
{
    std::string str(pszBegin, pszEnd);
    if (str.find_first_not_of(" \t") == std::string::npos)
        return -1;
    return atoi(str.c_str());
}

// Whether a window of this size at (x, y) shows at least one pixel of the screen. A position
// saved on a larger or second screen would otherwise open the dialog where nobody can reach it.
bool ReachesScreen(int x, int y, int cx, int cy)
{
    const int cxScreen = GetSystemMetrics(SM_CXSCREEN), cyScreen = GetSystemMetrics(SM_CYSCREEN);
    return x < cxScreen && y < cyScreen && x + cx > 0 && y + cy > 0;
}
}  // namespace

INT_PTR CALLBACK TBDialogProc(HWND hDlg, UINT uMsg, WPARAM, LPARAM)
{
    if (uMsg != WM_INITDIALOG)
        return 0;
    auto* pDlg = dynamic_cast<CTBDialog*>(CTBWnd::FromHandle(hDlg));
    return pDlg ? pDlg->HandleInitDialog() : 1;
}

CTBDialog::CTBDialog() = default;

CTBDialog::CTBDialog(UINT nIdTemplate, CTBWnd* pOwner)
    : m_pOwner(pOwner), m_pszTemplate(MAKEINTRESOURCEA(nIdTemplate))
{
}

CTBDialog::~CTBDialog()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

template <class F>
BOOL CTBDialog::CreateThrough(F&& fnCreate)
{
    m_bRunning = TRUE;
    m_nEndCode = -1;
    BOOL bAttached = FALSE;
    HWND hWnd = CTbCreationHook<CTBWnd>::CreateThrough(this, fnCreate, &bAttached);
    if (!bAttached)
        PostNcDestroy();
    if (hWnd == nullptr)
        return FALSE;
    if (!m_bRunning) {
        // Ended during its initialisation.
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CTBDialog::Create(LPCSTR pszTemplate, CTBWnd* pOwner)
{
    if (m_hWnd != nullptr)
        return FALSE;
    if (pszTemplate != m_pszTemplate) {
        if (IS_INTRESOURCE(pszTemplate)) {
            m_pszTemplate = pszTemplate;
        } else {
            m_strTemplate = pszTemplate ? pszTemplate : "";
            m_pszTemplate = m_strTemplate.c_str();
        }
    }
    m_pOwner = pOwner;
    HWND hWndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    return CreateThrough([&] {
        return CreateDialogParamA(AppModule(), m_pszTemplate, hWndOwner, TBDialogProc, 0);
    });
}

BOOL CTBDialog::CreateIndirectEx(LPCDLGTEMPLATEA pTemplate, CTBWnd* pOwner, HINSTANCE hModule)
{
    if (m_hWnd != nullptr || pTemplate == nullptr)
        return FALSE;
    m_pOwner = pOwner;
    HWND hWndOwner = pOwner ? pOwner->m_hWnd : nullptr;
    HINSTANCE hInst = hModule ? hModule : AppModule();
    return CreateThrough([&] { return CreateDialogIndirectParamA(hInst, pTemplate, hWndOwner, TBDialogProc, 0); });
}

int CTBDialog::DoModal()
{
    HWND hWndOwner = m_pOwner ? m_pOwner->m_hWnd : nullptr;
    BOOL bDisabledOwner = FALSE;
    if (hWndOwner != nullptr && IsWindowEnabled(hWndOwner)) {
        EnableWindow(hWndOwner, FALSE);
        bDisabledOwner = TRUE;
    }
    if (!Create(m_pszTemplate, m_pOwner)) {
        if (bDisabledOwner)
            EnableWindow(hWndOwner, TRUE);
        return -1;
    }
    RunModalLoop();
    if (m_hWnd != nullptr)
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (bDisabledOwner)
        EnableWindow(hWndOwner, TRUE);
    if (hWndOwner != nullptr && m_hWnd != nullptr && GetActiveWindow() == m_hWnd)
        SetActiveWindow(hWndOwner);
    if (m_hWnd != nullptr)
        DestroyWindow();
    return m_nEndCode;
}

void CTBDialog::EndDialog(int nCode)
{
    m_nEndCode = nCode;
    m_bRunning = FALSE;
    EndModalLoop(nCode);
}

void CTBDialog::EnableItem(int nId, BOOL bEnable)
{
    HWND hWndItem = m_hWnd ? GetDlgItem(m_hWnd, nId) : nullptr;
    if (hWndItem != nullptr)
        EnableWindow(hWndItem, bEnable);
}

int CTBDialog::GetItemText(int nId, CTBString& strText) const
{
    strText.Empty();
    HWND hWndItem = m_hWnd ? GetDlgItem(m_hWnd, nId) : nullptr;
    CTBWnd* pItem = CTBWnd::FromHandle(hWndItem);
    if (pItem != nullptr)
        return pItem->GetWindowText(strText);
    if (hWndItem == nullptr)
        return 0;
    const int nLength = GetWindowTextLengthA(hWndItem);
    std::string str(static_cast<size_t>(nLength) + 1, '\0');
    GetWindowTextA(hWndItem, str.data(), nLength + 1);
    strText = str.c_str();
    return strText.GetLength();
}

BOOL CTBDialog::OnCmdMsg(UINT nId, int)
{
    if (nId == IDOK) {
        OnOK();
        return TRUE;
    }
    if (nId == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return FALSE;
}

BOOL CTBDialog::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWnd == nullptr || pMsg == nullptr)
        return FALSE;
    const UINT uMsg = pMsg->message;
    if ((uMsg >= WM_KEYFIRST && uMsg <= WM_KEYLAST) || (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MBUTTONDBLCLK))
        return IsDialogMessageA(m_hWnd, pMsg);
    return FALSE;
}

BOOL CTBDialog::OnInitDialog()
{
    return TRUE;
}

BOOL CTBDialog::HandleInitDialog()
{
    return OnInitDialog();
}

void CTBDialog::OnOK()
{
    EndDialog(IDOK);
}

void CTBDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

CTBLangDialog::~CTBLangDialog()
{
    StopListening();
    m_bDestructing = TRUE;
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CTBLangDialog::HandleInitDialog()
{
    OnLanguageChanged(GetNorvGlobals().m_nLanguage);

    if (CIni* pIni = Settings()) {
        const CTBString strOld = pIni->GetSection();
        pIni->SetSection(GetSettingsSection());
        const CTBString strPos = pIni->GetString(CTBString(KEY_POS), "");
        pIni->SetSection(strOld);
        const char* psz = strPos;
        if (std::string(psz).find_first_not_of(" \t") != std::string::npos) {
            const char* pszComma = strchr(psz, ',');
            const char* pszEnd = psz + strlen(psz);
            const int x = PositionPart(psz, pszComma ? pszComma : pszEnd);
            const int y = pszComma ? PositionPart(pszComma + 1, pszEnd) : -1;
            RECT rc = {};
            GetWindowRect(m_hWnd, &rc);
            if (x >= 0 && y >= 0 && ReachesScreen(x, y, rc.right - rc.left, rc.bottom - rc.top))
                SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    if (!m_bListening)
        m_bListening = GetNorvGlobals().AddSink(this);
    const BOOL bCallback = m_pfnInit ? m_pfnInit(m_hWnd) : FALSE;
    const BOOL bOwn = CTBDialog::HandleInitDialog();
    return (m_pfnInit != nullptr && bCallback && bOwn) ? TRUE : FALSE;
}

void CTBLangDialog::OnLanguageChanged(int nLanguage)
{
    if (m_hWnd == nullptr)
        return;
    CIni* pIni = Settings();
    CTBString strOld;
    if (pIni != nullptr) {
        strOld = pIni->GetSection();
        pIni->SetSection(GetLangSection(nLanguage));
    }
    SetWindowTextA(m_hWnd, GetCaption());
    if (pIni != nullptr) {
        for (HWND hWnd = GetWindow(m_hWnd, GW_CHILD); hWnd != nullptr; hWnd = GetWindow(hWnd, GW_HWNDNEXT)) {
            const int nId = GetDlgCtrlID(hWnd);
            if (nId == 0)
                continue;
            char szKey[16];
            snprintf(szKey, sizeof(szKey), "%d", nId);
            const CTBString strText = pIni->GetString(CTBString(szKey), NO_TEXT);
            if (strcmp(strText, NO_TEXT) != 0)
                SetWindowTextA(hWnd, strText);
        }
        pIni->SetSection(strOld);
    }
}

void CTBLangDialog::OnDestroy()
{
    CIni* pIni = Settings();
    if (pIni != nullptr && !m_bDestructing) {
        RECT rc = {};
        GetWindowRect(m_hWnd, &rc);
        char szPos[32];
        snprintf(szPos, sizeof(szPos), "%d,%d", static_cast<int>(rc.left), static_cast<int>(rc.top));
        const CTBString strOld = pIni->GetSection();
        pIni->SetSection(GetSettingsSection());
        pIni->WriteString(CTBString(KEY_POS), szPos);
        pIni->SetSection(strOld);
    }
    StopListening();
    CTBDialog::OnDestroy();
}

void CTBLangDialog::StopListening()
{
    if (m_bListening)
        GetNorvGlobals().RemoveSink(GetSinkId());
    m_bListening = FALSE;
}
