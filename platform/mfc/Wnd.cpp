// CWnd: handle maps, creation through the CBT hook, subclassing, the library's window procedure
// and the dispatch through the message maps. The wrappers and default handlers are in
// WndWrappers.cpp.
#include "platform/mfc/Wnd.h"
#include <memory>
#include <unordered_map>

#include <vector>
#include "platform/mfc/HandleMap.h"
#include "platform/mfc/WinApp.h"
#include "platform/win/user/CommCtrl.h"
#include "platform/win/user/WindowObjects.h"

namespace {
using WindowMap = CTbHandleMap<HWND, CWnd, &CWnd::m_hWnd>;
WindowMap& Maps()
{
    // Never destroyed: static windows of the program may still be destroyed at exit.
    static WindowMap* s_pMaps = new WindowMap(&IsWindow);
    return *s_pMaps;
}

MSG s_msgCurrent = {};

BOOL RegisterLibraryClass()
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(nullptr, AFX_WND_CLASS, &wc))
        return TRUE;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = AFX_WND_CLASS;
    return RegisterClassA(&wc) != 0;
}
}  // namespace

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    return TbCallObjectProc(s_msgCurrent, hWnd, uMsg, wParam, lParam,
                            [&] { return pWnd->WindowProc(uMsg, wParam, lParam); });
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && !m_bTemporary)
        ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr && !m_bTemporary)
        Detach();
    CTbCreationHook<CWnd>::Forget(this);
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return hWnd == nullptr ? nullptr : Maps().FindPermanent(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    // Handles are never reused: a dead one can only be found through a stale entry.
    return Maps().FromHandle(hWnd);
}

// Scroll-bar objects made for windows whose own object is no CScrollBar; freed with the
// temporary objects.
static std::unordered_map<HWND, std::unique_ptr<CScrollBar>>& ScrollBarTemporaries()
{
    static std::unordered_map<HWND, std::unique_ptr<CScrollBar>> s_temporaries;
    return s_temporaries;
}

CScrollBar* AfxScrollBarOf(HWND hWnd)
{
    CWnd* pWnd = CWnd::FromHandle(hWnd);
    if (pWnd == nullptr)
        return nullptr;
    if (CScrollBar* pScrollBar = dynamic_cast<CScrollBar*>(pWnd))
        return pScrollBar;
    auto& temporaries = ScrollBarTemporaries();
    if (temporaries.size() >= 32 && temporaries.find(hWnd) == temporaries.end())
        std::erase_if(temporaries, [](const auto& entry) { return !::IsWindow(entry.first); });
    std::unique_ptr<CScrollBar>& pTemporary = temporaries[hWnd];
    if (!pTemporary) {
        pTemporary = std::make_unique<CScrollBar>();
        pTemporary->m_hWnd = hWnd;
        pTemporary->m_bTemporary = TRUE;
    }
    return pTemporary.get();
}

void CWnd::DeleteTempMap()
{
    Maps().DeleteTemporary();
    ScrollBarTemporaries().clear();
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || !IsWindow(hWnd) || !Maps().Attach(hWnd, this))
        return FALSE;
    m_hWnd = hWnd;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != nullptr && !m_bTemporary)
        Maps().Detach(hWnd, this);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::TakeOverProcedure()
{
    return TbTakeOverProcedure(m_hWnd, &AfxWndProc, m_pfnSuper);
}

void CWnd::AttachWindowCreate(HWND hWnd)
{
    if (!Attach(hWnd))
        return;
    PreSubclassWindow();
    TakeOverProcedure();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (m_bTemporary || !Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    if (!TakeOverProcedure()) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (pParent == nullptr || pParent->m_hWnd == nullptr)
        return FALSE;
    HWND hWndItem = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return hWndItem != nullptr && SubclassWindow(hWndItem);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID pParam)
{
    if (m_hWnd != nullptr || m_bTemporary)
        return FALSE;
    CREATESTRUCTA cs = {pParam, nullptr, nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                        static_cast<LONG>(dwStyle), pszWindowName, pszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    BOOL bAttached = FALSE;
    HWND hWnd = CTbCreationHook<CWnd>::Create(this, cs, &bAttached);
    if (!bAttached) {
        // The hook never saw the window: nothing was attached, and the object's creation is over.
        PostNcDestroy();
        return FALSE;
    }
    return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID pParam)
{
    return CreateEx(dwExStyle, pszClassName, pszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), pParam);
}

BOOL CWnd::Create(LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext*)
{
    return CreateEx(0, pszClassName, pszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.lpszClass == nullptr) {
        if (!RegisterLibraryClass())
            return FALSE;
        cs.lpszClass = AFX_WND_CLASS;
    }
    return TRUE;
}

void CWnd::PostNcDestroy()
{
}

void CWnd::PreSubclassWindow()
{
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd != nullptr && ::DestroyWindow(m_hWnd);
}

const MSG& CWnd::GetCurrentMessage()
{
    return s_msgCurrent;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(s_msgCurrent.message, s_msgCurrent.wParam, s_msgCurrent.lParam);
}

LRESULT CWnd::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (m_hWnd == nullptr)
        return 0;
    if (m_pfnSuper != nullptr)
        return CallWindowProcA(m_pfnSuper, m_hWnd, uMsg, wParam, lParam);
    return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(uMsg, wParam, lParam, &lResult))
        lResult = DefWindowProc(uMsg, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = 0;
    if (uMsg == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        lResult = 1;
    } else if (const AFX_MSGMAP_ENTRY* pNotify = NotifyEntryOf(uMsg, lParam)) {
        lResult = pNotify->pfn(this, uMsg, wParam, lParam);
    } else if (uMsg == WM_SYSCOLORCHANGE && FindMessageEntry(uMsg) == nullptr) {
        OnSysColorChange();     // the library's own handling, which a map may take over
    } else if (uMsg == WM_NCDESTROY) {
        // The library's own ending comes after whatever the map does with the message.
        if (const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(uMsg))
            pEntry->pfn(this, uMsg, wParam, lParam);
        else
            OnNcDestroy();
    } else {
        UINT uLookup = (uMsg >= WM_CTLCOLORMSGBOX && uMsg <= WM_CTLCOLORSTATIC) ? WM_CTLCOLOR : uMsg;
        const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(uLookup);
        if (pEntry == nullptr && uLookup != uMsg)
            pEntry = FindMessageEntry(uMsg);
        if (pEntry != nullptr)
            lResult = pEntry->pfn(this, uMsg, wParam, lParam);
        // Unmapped colour and owner-draw requests go to the control's own object first, as the
        // default handlers of the class library do.
        else if (!SendChildNotify(uMsg, wParam, lParam, &lResult))
            return FALSE;
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

const AFX_MSGMAP_ENTRY* CWnd::NotifyEntryOf(UINT uMsg, LPARAM lParam) const
{
    if (uMsg != WM_NOTIFY || lParam == 0)
        return nullptr;
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    return FindNotifyEntry(pHeader->code, static_cast<UINT>(pHeader->idFrom));
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = static_cast<int>(HIWORD(wParam));
    // Menus and accelerators (no control) are plain commands.
    if (lParam == 0) {
        nCode = CN_COMMAND;
    } else {
        // A control's notification: dropped while UpdateData fills the controls, so handlers
        // see only what the person changes; then the control's own object may take it.
        if (s_hWndLockoutNotify == m_hWnd)
            return TRUE;
        if (SendChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
    }
    if (nID == 0)
        return FALSE;
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    if (pMsg == nullptr)
        return FALSE;
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = FromHandlePermanent(hWnd);
        if (pWnd != nullptr && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

void CWnd::OnNcDestroy()
{
    HWND hWnd = m_hWnd;
    LONG_PTR nProc = GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    Default();
    // Give a subclassed window its own procedure back, unless someone subclassed it after us.
    if (m_pfnSuper != nullptr && GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == nProc)
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    // The main window's end is the program's: the message loop stops.
    if (CWinApp* pApp = AfxGetApp(); pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    Detach();
    PostNcDestroy();
}

const AFX_MSGMAP* CWnd::GetThisMessageMap()
{
    // The handlers of the common messages are reached through derived maps only; the window's
    // own map is empty, so unmapped messages get their class's default processing.
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, nullptr, nullptr, 0}};
    static const AFX_MSGMAP s_map = {&CCmdTarget::GetThisMessageMap, s_entries};
    return &s_map;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const
{
    return GetThisMessageMap();
}
