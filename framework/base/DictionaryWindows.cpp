// Applying a dictionary to the user interface: window trees, menus and the controls that
// translate themselves.
#include <cstring>
#include <vector>

#include "framework/base/Dictionary.h"
#include "framework/base/TBApp.h"
#include "framework/base/TBWnd.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Mdi.h"

namespace {

const int TAB_TEXT_SIZE = 255;          // a tab label as the strip reads it
const int HEADER_TEXT_SIZE = 1024;
const int MENU_TEXT_SIZE = 1024;
const int MENU_COMMAND_LEVELS = 4;      // command items are translated down to this level
const int MENU_CAPTION_LEVELS = 3;      // submenu captions down to this one; deeper ones stay closed
const int MAX_CONTROL_TRANSLATORS = 8;

struct ControlTranslator
{
    char szClass[64];
    PFNTRANSLATECONTROL pfn;
};
ControlTranslator s_translators[MAX_CONTROL_TRANSLATORS];
int s_nTranslators = 0;

BOOL IsClass(const char* pszClass, const char* pszName)
{
    return strcmp(pszClass, pszName) == 0;
}

void TranslateTabItems(HWND hWnd, CDictionary& dictionary, int nDirection)
{
    const int nItems = static_cast<int>(SendMessageA(hWnd, TCM_GETITEMCOUNT, 0, 0));
    for (int nItem = 0; nItem < nItems; ++nItem) {
        char szText[TAB_TEXT_SIZE + 1] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        if (!SendMessageA(hWnd, TCM_GETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
            continue;
        CTBString strNew = dictionary.Translate(szText, nDirection);
        if (strNew == szText)
            continue;
        item.pszText = const_cast<char*>(static_cast<const char*>(strNew));
        SendMessageA(hWnd, TCM_SETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
    }
    RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void TranslateHeaderItems(HWND hWnd, CDictionary& dictionary, int nDirection)
{
    const int nItems = static_cast<int>(SendMessageA(hWnd, HDM_GETITEMCOUNT, 0, 0));
    for (int nItem = 0; nItem < nItems; ++nItem) {
        std::vector<char> text(HEADER_TEXT_SIZE, '\0');
        HDITEMA item = {};
        item.mask = HDI_TEXT;
        item.pszText = text.data();
        item.cchTextMax = HEADER_TEXT_SIZE;
        if (!SendMessageA(hWnd, HDM_GETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item)))
            continue;
        CTBString strNew = dictionary.Translate(text.data(), nDirection);
        if (strNew == text.data())
            continue;
        item.pszText = const_cast<char*>(static_cast<const char*>(strNew));
        SendMessageA(hWnd, HDM_SETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
    }
}

// The whole text, however long: a cut text would be written back cut.
void TranslateWindowText(HWND hWnd, CDictionary& dictionary, int nDirection)
{
    const int nLength = GetWindowTextLengthA(hWnd);
    std::vector<char> text(static_cast<size_t>(nLength) + 1, '\0');
    GetWindowTextA(hWnd, text.data(), nLength + 1);
    CTBString strNew = dictionary.Translate(text.data(), nDirection);
    // An edit field rewritten with its own text would lose its caret and selection and tell its
    // parent of a change that is none.
    if (strNew != text.data())
        SetWindowTextA(hWnd, strNew);
}

// The MDI client among the frame's children, or null.
HWND FindMdiClient(HWND hFrame)
{
    for (HWND hChild = GetWindow(hFrame, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[16] = "";
        GetClassNameA(hChild, szClass, sizeof(szClass));
        if (IsClass(szClass, "MDICLIENT"))
            return hChild;
    }
    return nullptr;
}

}  // namespace

BOOL RegisterControlTranslator(const char* pszClassName, PFNTRANSLATECONTROL pfnTranslate)
{
    if (pszClassName == nullptr || strlen(pszClassName) >= sizeof(s_translators[0].szClass))
        return FALSE;
    for (int i = 0; i < s_nTranslators; ++i) {
        if (IsClass(s_translators[i].szClass, pszClassName)) {
            s_translators[i].pfn = pfnTranslate;
            return TRUE;
        }
    }
    if (s_nTranslators >= MAX_CONTROL_TRANSLATORS)
        return FALSE;
    ControlTranslator& entry = s_translators[s_nTranslators++];
    snprintf(entry.szClass, sizeof(entry.szClass), "%s", pszClassName);
    entry.pfn = pfnTranslate;
    return TRUE;
}

PFNTRANSLATECONTROL FindControlTranslator(const char* pszClassName)
{
    for (int i = 0; i < s_nTranslators; ++i)
        if (IsClass(s_translators[i].szClass, pszClassName))
            return s_translators[i].pfn;
    return nullptr;
}

void CDictionary::TranslateOneWindow(HWND hWnd, int nDirection)
{
    char szClass[256] = "";
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (IsClass(szClass, WC_TABCONTROLA))
        TranslateTabItems(hWnd, *this, nDirection);
    else if (IsClass(szClass, "QUEBROTREELISTCTRL"))
        TranslateHeaderItems(hWnd, *this, nDirection);
    else if (PFNTRANSLATECONTROL pfn = FindControlTranslator(szClass))
        pfn(hWnd, *this, nDirection);
    else
        TranslateWindowText(hWnd, *this, nDirection);
}

void CDictionary::TranslateWindow(HWND hWnd, int nDirection)
{
    if (hWnd == nullptr || !IsWindow(hWnd))
        return;
    TranslateOneWindow(hWnd, nDirection);
    for (HWND hChild = GetWindow(hWnd, GW_CHILD); hChild != nullptr; hChild = GetWindow(hChild, GW_HWNDNEXT))
        TranslateWindow(hChild, nDirection);
}

void CDictionary::TranslateColumnTitles(HWND hWnd, int nDirection)
{
    if (PFNTRANSLATECONTROL pfn = FindControlTranslator("NorvTableWindowCtl"))
        pfn(hWnd, *this, nDirection);
}

BOOL CDictionary::TranslateMenuLevel(HMENU hMenu, int nLevel, int nDirection)
{
    const int nItems = GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nItems; ++nPos) {
        const UINT uState = GetMenuState(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
        HMENU hSub = GetSubMenu(hMenu, nPos);
        if (hSub == nullptr && ((uState & MF_SEPARATOR) || GetMenuItemID(hMenu, nPos) < 1 || nLevel > MENU_COMMAND_LEVELS))
            continue;
        if (hSub != nullptr && nLevel > MENU_CAPTION_LEVELS)
            continue;
        std::vector<char> text(MENU_TEXT_SIZE, '\0');
        GetMenuStringA(hMenu, static_cast<UINT>(nPos), text.data(), MENU_TEXT_SIZE, MF_BYPOSITION);
        CTBString strNew = Translate(text.data(), nDirection);
        if (strNew != text.data()) {
            // Only the text changes: the id, the submenu, check and grey marks and an owner-drawn
            // type stay as they are.
            MENUITEMINFOA mii = {};
            mii.cbSize = sizeof(mii);
            mii.fMask = MIIM_STRING;
            mii.dwTypeData = const_cast<char*>(static_cast<const char*>(strNew));
            if (!SetMenuItemInfoA(hMenu, static_cast<UINT>(nPos), TRUE, &mii))
                return FALSE;
        }
        if (hSub != nullptr && !TranslateMenuLevel(hSub, nLevel + 1, nDirection))
            return FALSE;
    }
    return TRUE;
}

BOOL CDictionary::TranslateMenu(HMENU hMenu, int nDirection)
{
    if (hMenu != nullptr)
        return TranslateMenuLevel(hMenu, 1, nDirection);
    CTBApp* pApp = GetTBApp();
    HWND hMain = pApp != nullptr && pApp->m_pMainWnd != nullptr ? pApp->m_pMainWnd->m_hWnd : nullptr;
    if (hMain == nullptr)
        return TRUE;
    DrawMenuBar(hMain);
    // A maximized document window puts its system menu into the bar: restore it for the walk.
    HWND hClient = FindMdiClient(hMain);
    HWND hMaximized = nullptr;
    if (hClient != nullptr) {
        BOOL bMaximized = FALSE;
        HWND hActive = reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized)));
        if (hActive != nullptr && bMaximized) {
            hMaximized = hActive;
            SendMessageA(hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hActive), 0);
        }
    }
    BOOL bDone = TRUE;
    if (HMENU hBar = GetMenu(hMain))
        bDone = TranslateMenuLevel(hBar, 1, nDirection);
    if (hMaximized != nullptr)
        SendMessageA(hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hMaximized), 0);
    DrawMenuBar(hMain);
    return bDone;
}
