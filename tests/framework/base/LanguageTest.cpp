#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "framework/base/Dictionary.h"
#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "framework/base/TBApp.h"
#include "framework/base/TBWnd.h"
#include "platform/win/Windows.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Mdi.h"

namespace {

const char* const HOST_CLASS = "LanguageTestHost";
const char* const TREELIST_CLASS = "QUEBROTREELISTCTRL";

// A dictionary loaded from a private file that the constructor writes and removes again.
class CTestDictionary
{
public:
    explicit CTestDictionary(const std::string& strLines)
    {
        char szPath[] = "/tmp/languageXXXXXX";
        const int fd = mkstemp(szPath);
        if (fd >= 0) {
            ssize_t nWritten = write(fd, strLines.data(), strLines.size());
            (void)nWritten;
            close(fd);
            m_dictionary.LoadDictionaryFile(szPath);
            remove(szPath);
        }
    }
    CDictionary& operator*() { return m_dictionary; }
    CDictionary* operator->() { return &m_dictionary; }

private:
    CDictionary m_dictionary;
};

// The host's record of what its children told it.
int s_nEditChanges = 0;

LRESULT CALLBACK HostProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_COMMAND && HIWORD(wParam) == EN_CHANGE)
        ++s_nEditChanges;
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

// A stand-in for the tree-list control: only its header's items, answered as a header does.
LRESULT CALLBACK TreeListProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    auto* pTitles = reinterpret_cast<std::vector<std::string>*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    HDITEMA* pItem = reinterpret_cast<HDITEMA*>(lParam);
    const size_t nItem = static_cast<size_t>(wParam);
    switch (uMsg) {
    case HDM_GETITEMCOUNT:
        return pTitles ? static_cast<LRESULT>(pTitles->size()) : 0;
    case HDM_GETITEMA:
        if (!pTitles || nItem >= pTitles->size() || !(pItem->mask & HDI_TEXT))
            return FALSE;
        snprintf(pItem->pszText, static_cast<size_t>(pItem->cchTextMax), "%s", (*pTitles)[nItem].c_str());
        return TRUE;
    case HDM_SETITEMA:
        if (!pTitles || nItem >= pTitles->size())
            return FALSE;
        (*pTitles)[nItem] = pItem->pszText;
        return TRUE;
    }
    return DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

void RegisterClasses()
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, HOST_CLASS, &wc)) {
        wc.lpfnWndProc = HostProc;
        wc.lpszClassName = HOST_CLASS;
        RegisterClassA(&wc);
    }
    if (!GetClassInfoA(nullptr, TREELIST_CLASS, &wc)) {
        wc = {};
        wc.lpfnWndProc = TreeListProc;
        wc.lpszClassName = TREELIST_CLASS;
        RegisterClassA(&wc);
    }
}

std::string WindowText(HWND hWnd)
{
    std::vector<char> text(static_cast<size_t>(GetWindowTextLengthA(hWnd)) + 1, '\0');
    GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::string TabText(HWND hTabs, int nItem)
{
    char szText[256] = "";
    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    SendMessageA(hTabs, TCM_GETITEMA, static_cast<WPARAM>(nItem), reinterpret_cast<LPARAM>(&item));
    return szText;
}

// A window with a caption, plain controls, a system tab strip, a tree-list header and a group
// whose first child has children of its own, so that the walk must come back up to its siblings.
struct CTestForm
{
    CTestForm()
    {
        RegisterClasses();
        hHost = CreateWindowExA(0, HOST_CLASS, "Order", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        hLabel = Child("Static", "Quantity", 1);
        hTabs = Child(WC_TABCONTROLA, "", 2);
        for (const char* pszTab : {"Buy", "Sell", "Cancel"}) {
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<char*>(pszTab);
            SendMessageA(hTabs, TCM_INSERTITEMA, 99, reinterpret_cast<LPARAM>(&item));
        }
        hTreeList = Child(TREELIST_CLASS, "", 3);
        SetWindowLongPtrA(hTreeList, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&headers));
        hGroup = Child("Static", "Price", 4);
        hInner = CreateWindowExA(0, "Static", "Buy", WS_CHILD, 0, 0, 10, 10, hGroup, nullptr, nullptr, nullptr);
        hInnerChild = CreateWindowExA(0, "Static", "Sell", WS_CHILD, 0, 0, 10, 10, hInner, nullptr, nullptr, nullptr);
        hInnerNext = CreateWindowExA(0, "Button", "Cancel", WS_CHILD, 0, 0, 10, 10, hGroup, nullptr, nullptr, nullptr);
        hEdit = Child("Edit", "Quantity and more", 5);
    }
    ~CTestForm() { DestroyWindow(hHost); }
    HWND Child(const char* pszClass, const char* pszText, int nId)
    {
        return CreateWindowExA(0, pszClass, pszText, WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, hHost,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(nId)), nullptr, nullptr);
    }
    std::string Texts()
    {
        std::string str = WindowText(hHost) + "|" + WindowText(hLabel) + "|" + TabText(hTabs, 0) + "," + TabText(hTabs, 1) + "," +
                          TabText(hTabs, 2) + "|" + headers[0] + "," + headers[1] + "|" + WindowText(hGroup) + "|" + WindowText(hInner) +
                          "|" + WindowText(hInnerChild) + "|" + WindowText(hInnerNext) + "|" + WindowText(hEdit);
        return str;
    }

    std::vector<std::string> headers = {"Symbol", "Last"};
    HWND hHost = nullptr, hLabel = nullptr, hTabs = nullptr, hTreeList = nullptr, hGroup = nullptr;
    HWND hInner = nullptr, hInnerChild = nullptr, hInnerNext = nullptr, hEdit = nullptr;
};

const char* const FORM_DICTIONARY =
    "Order|Ordre\nQuantity|Quantite\nBuy|Achat\nSell|Vente\nCancel|Annuler\nSymbol|Symbole\nPrice|Prix\n";

TEST(Language, WithoutDictionaryPathEveryTextStaysAsItIs)
{
    CLanguage* pLanguage = GetLanguage();
    EXPECT_FALSE(pLanguage->IsForward());
    EXPECT_EQ(DICT_RIGHT_TO_LEFT, pLanguage->GetDirection());
    EXPECT_STREQ("", pLanguage->GetDictionaryPath());
    CDictionary* pDictionary = pLanguage->GetDictionary();
    ASSERT_NE(nullptr, pDictionary);
    EXPECT_EQ(pDictionary, pLanguage->GetDictionary());
    EXPECT_FALSE(pDictionary->IsLoaded());
    EXPECT_STREQ("Order", pLanguage->Translate("Order"));

    CTestForm form;
    const std::string strBefore = form.Texts();
    TranslateWindowForLanguage(form.hHost);
    EXPECT_EQ(strBefore, form.Texts());
}

TEST(Language, WindowTreeTranslatesBothWays)
{
    CTestDictionary dictionary(FORM_DICTIONARY);
    CTestForm form;
    const std::string strLeft = form.Texts();
    ASSERT_EQ("Order|Quantity|Buy,Sell,Cancel|Symbol,Last|Price|Buy|Sell|Cancel|Quantity and more", strLeft);

    dictionary->TranslateWindow(form.hHost, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ("Ordre|Quantite|Achat,Vente,Annuler|Symbole,Last|Prix|Achat|Vente|Annuler|Quantity and more", form.Texts());
    EXPECT_EQ(3, SendMessageA(form.hTabs, TCM_GETITEMCOUNT, 0, 0));

    dictionary->TranslateWindow(form.hHost, DICT_RIGHT_TO_LEFT);
    EXPECT_EQ(strLeft, form.Texts());

    // A window without children translates itself alone, not the siblings after it.
    dictionary->TranslateWindow(form.hLabel, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ("Order|Quantite|Buy,Sell,Cancel|Symbol,Last|Price|Buy|Sell|Cancel|Quantity and more", form.Texts());
    dictionary->TranslateWindow(nullptr, DICT_LEFT_TO_RIGHT);
}

TEST(Language, UntranslatedFieldKeepsTextSelectionAndQuiet)
{
    const std::string strLong(300, 'q');
    // An entry for the first 255 characters: a text read cut would match it and be written back cut.
    CTestDictionary dictionary(strLong.substr(0, 255) + "|short\nOrder|Ordre\n");
    CTestForm form;
    SetWindowTextA(form.hEdit, strLong.c_str());
    SendMessageA(form.hEdit, EM_SETSEL, 10, 20);
    s_nEditChanges = 0;

    dictionary->TranslateWindow(form.hHost, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ(strLong, WindowText(form.hEdit));
    DWORD dwStart = 0, dwEnd = 0;
    SendMessageA(form.hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&dwStart), reinterpret_cast<LPARAM>(&dwEnd));
    EXPECT_EQ(10u, dwStart);
    EXPECT_EQ(20u, dwEnd);
    EXPECT_EQ(0, s_nEditChanges);
    EXPECT_EQ("Ordre", WindowText(form.hHost));

    // The whole long text is what is looked up.
    CTestDictionary whole(strLong + "|long translated\n");
    whole->TranslateWindow(form.hEdit, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ("long translated", WindowText(form.hEdit));
    EXPECT_EQ(1, s_nEditChanges);
}

struct CMenuItemView
{
    std::string strText;
    UINT uState;
    UINT uId;
    HMENU hSub;
};

CMenuItemView ItemAt(HMENU hMenu, int nPos)
{
    char szText[256] = "";
    GetMenuStringA(hMenu, static_cast<UINT>(nPos), szText, sizeof(szText), MF_BYPOSITION);
    return {szText, GetMenuState(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION), GetMenuItemID(hMenu, nPos), GetSubMenu(hMenu, nPos)};
}

TEST(Language, MenuTranslatesFourLevelsAndKeepsItemStates)
{
    CTestDictionary dictionary("Open|Ouvrir\nFile|Fichier\nSave|Enregistrer\nMore|Plus\nPrint|Imprimer\nDeep|Profond\n"
                               "Export|Exporter\nDeeper|Encore\nClose|Fermer\n");
    HMENU hLevel5 = CreatePopupMenu();
    AppendMenuA(hLevel5, MF_STRING, 50, "Close");
    HMENU hLevel4 = CreatePopupMenu();
    AppendMenuA(hLevel4, MF_STRING, 40, "Export");
    AppendMenuA(hLevel4, MF_POPUP, reinterpret_cast<UINT_PTR>(hLevel5), "Deeper");
    HMENU hLevel3 = CreatePopupMenu();
    AppendMenuA(hLevel3, MF_STRING | MF_OWNERDRAW, 30, "Print");
    AppendMenuA(hLevel3, MF_POPUP, reinterpret_cast<UINT_PTR>(hLevel4), "Deep");
    HMENU hLevel2 = CreatePopupMenu();
    AppendMenuA(hLevel2, MF_STRING | MF_GRAYED, 20, "Save");
    AppendMenuA(hLevel2, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hLevel2, MF_STRING, 0, "Open");         // no command id: left alone
    AppendMenuA(hLevel2, MF_POPUP, reinterpret_cast<UINT_PTR>(hLevel3), "More");
    HMENU hMenu = CreateMenu();
    AppendMenuA(hMenu, MF_STRING | MF_CHECKED, 10, "Open");
    AppendMenuA(hMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(hLevel2), "File");
    const CMenuItemView open = ItemAt(hMenu, 0), save = ItemAt(hLevel2, 0), print = ItemAt(hLevel3, 0);

    ASSERT_TRUE(dictionary->TranslateMenu(hMenu, DICT_LEFT_TO_RIGHT));
    const CMenuItemView openNow = ItemAt(hMenu, 0), saveNow = ItemAt(hLevel2, 0), printNow = ItemAt(hLevel3, 0);
    EXPECT_EQ("Ouvrir", openNow.strText);
    EXPECT_EQ(open.uState, openNow.uState);
    EXPECT_TRUE(openNow.uState & MF_CHECKED);
    EXPECT_EQ(10u, openNow.uId);
    EXPECT_EQ("Enregistrer", saveNow.strText);
    EXPECT_EQ(save.uState, saveNow.uState);
    EXPECT_TRUE(saveNow.uState & MF_GRAYED);
    EXPECT_EQ("Imprimer", printNow.strText);
    EXPECT_EQ(print.uState, printNow.uState);
    EXPECT_TRUE(printNow.uState & MF_OWNERDRAW);
    EXPECT_EQ(30u, printNow.uId);

    EXPECT_EQ("Fichier", ItemAt(hMenu, 1).strText);
    EXPECT_EQ(hLevel2, ItemAt(hMenu, 1).hSub);
    EXPECT_EQ("Open", ItemAt(hLevel2, 2).strText);
    EXPECT_EQ("Plus", ItemAt(hLevel2, 3).strText);
    EXPECT_EQ("Profond", ItemAt(hLevel3, 1).strText);
    EXPECT_EQ(hLevel4, ItemAt(hLevel3, 1).hSub);
    // Level 4: commands yes, a submenu's caption and its items no.
    EXPECT_EQ("Exporter", ItemAt(hLevel4, 0).strText);
    EXPECT_EQ("Deeper", ItemAt(hLevel4, 1).strText);
    EXPECT_EQ(hLevel5, ItemAt(hLevel4, 1).hSub);
    EXPECT_EQ("Close", ItemAt(hLevel5, 0).strText);

    ASSERT_TRUE(dictionary->TranslateMenu(hMenu, DICT_RIGHT_TO_LEFT));
    EXPECT_EQ("Open", ItemAt(hMenu, 0).strText);
    EXPECT_EQ("Export", ItemAt(hLevel4, 0).strText);
    EXPECT_EQ(open.uState, ItemAt(hMenu, 0).uState);
    DestroyMenu(hMenu);
}

// The MDI client's own procedure, with a log of the restore and maximize requests it gets.
WNDPROC s_pfnClient = nullptr;
std::string s_strClientLog;

LRESULT CALLBACK LoggingClientProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_MDIRESTORE)
        s_strClientLog += "restore ";
    else if (uMsg == WM_MDIMAXIMIZE)
        s_strClientLog += "maximize ";
    return CallWindowProcA(s_pfnClient, hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK MdiFrameProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return DefFrameProcA(hWnd, reinterpret_cast<HWND>(GetWindowLongPtrA(hWnd, 0)), uMsg, wParam, lParam);
}

TEST(Language, MainMenuTranslatedWithMaximizedDocumentRestoredMeanwhile)
{
    WNDCLASSA wc = {};
    if (!GetClassInfoA(nullptr, "LanguageTestFrame", &wc)) {
        wc.lpfnWndProc = MdiFrameProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.lpszClassName = "LanguageTestFrame";
        RegisterClassA(&wc);
        wc = {};
        wc.lpfnWndProc = DefMDIChildProcA;
        wc.lpszClassName = "LanguageTestDocument";
        RegisterClassA(&wc);
    }
    CTestDictionary dictionary("Window|Fenetre\nCascade|Cascade en\n");
    HMENU hWindowMenu = CreatePopupMenu();
    AppendMenuA(hWindowMenu, MF_STRING, 500, "Cascade");
    HMENU hBar = CreateMenu();
    AppendMenuA(hBar, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindowMenu), "Window");
    HWND hFrame = CreateWindowExA(0, "LanguageTestFrame", "Frame", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, hBar, nullptr, nullptr);
    CLIENTCREATESTRUCT ccs = {hWindowMenu, 0xFF00};
    HWND hClient = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 600, 400, hFrame, nullptr, nullptr, &ccs);
    SetWindowLongPtrA(hFrame, 0, reinterpret_cast<LONG_PTR>(hClient));
    MDICREATESTRUCTA mcs = {"LanguageTestDocument", "Quotes", nullptr, 0, 0, 300, 200, WS_VISIBLE, 0};
    HWND hDocument = reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(nullptr, hDocument);
    SendMessageA(hClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(hDocument), 0);
    s_pfnClient = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hClient, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LoggingClientProc)));
    s_strClientLog.clear();

    CTBApp app;
    CTBWnd main;
    ASSERT_TRUE(main.Attach(hFrame));
    app.m_pMainWnd = &main;
    EXPECT_TRUE(dictionary->TranslateMenu(nullptr, DICT_LEFT_TO_RIGHT));
    EXPECT_EQ("Fenetre", ItemAt(hBar, 0).strText);
    EXPECT_EQ("Cascade en", ItemAt(hWindowMenu, 0).strText);
    EXPECT_EQ("restore maximize ", s_strClientLog);
    BOOL bMaximized = FALSE;
    EXPECT_EQ(hDocument, reinterpret_cast<HWND>(SendMessageA(hClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&bMaximized))));
    EXPECT_TRUE(bMaximized);

    // Not maximized: left as it is.
    SendMessageA(hClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(hDocument), 0);
    s_strClientLog.clear();
    EXPECT_TRUE(dictionary->TranslateMenu(nullptr, DICT_RIGHT_TO_LEFT));
    EXPECT_EQ("Window", ItemAt(hBar, 0).strText);
    EXPECT_EQ("", s_strClientLog);

    app.m_pMainWnd = nullptr;
    main.Detach();
    DestroyWindow(hFrame);
}

}  // namespace
