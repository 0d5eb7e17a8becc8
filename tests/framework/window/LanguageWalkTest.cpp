#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

#include "GridTestSupport.h"
#include "WindowTestSupport.h"
#include "framework/base/Dictionary.h"
#include "framework/table/ViewColumn.h"
#include "framework/window/TBTabControl.h"

namespace {

// A dictionary loaded from a private file that is removed again at once.
void LoadTestDictionary(CDictionary& dictionary, const std::string& strLines)
{
    char szPath[] = "/tmp/languagewalkXXXXXX";
    const int fd = mkstemp(szPath);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(static_cast<ssize_t>(strLines.size()), write(fd, strLines.data(), strLines.size()));
    close(fd);
    ASSERT_TRUE(dictionary.LoadDictionaryFile(szPath));
    remove(szPath);
}

std::string Titles(CViewTable& view)
{
    std::string str;
    for (int nCol = 0; nCol < view.GetColumnCount(); ++nCol) {
        CViewColumn column;
        view.GetColumn(nCol, column);
        str += std::string(nCol ? "," : "") + static_cast<const char*>(column.GetTableColumn()->GetTitleAt(0));
    }
    return str;
}

std::string Tabs(CTBTabControl& tabs)
{
    std::string str;
    for (int i = 0; i < tabs.GetItemCount(); ++i)
        str += std::string(i ? "," : "") + tabs.GetItemText(i);
    return str;
}

// Counts the column title events the view fires.
class CTitleSink : public CTableEventSink
{
public:
    void OnColumnTitleChanged(int, const CTBString*, int) override { ++m_nChanges; }
    int m_nChanges = 0;
};

// A form as the product's dialogs hold them: a caption, a label, the framework's tab strip, the
// system's tab strip and a grid control over a view.
class CLanguageForm
{
public:
    CLanguageForm() : parent(520, 320)
    {
        SetWindowTextA(parent.m_hWnd, "Quotes");
        hLabel = CreateWindowExA(0, "Static", "Market", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, parent.m_hWnd, nullptr, nullptr, nullptr);
        HWND hTabs = CreateWindowExA(0, TB_TABCONTROL_CLASS, "", WS_CHILD | WS_VISIBLE, 0, 20, 300, 40, parent.m_hWnd, nullptr, nullptr, nullptr);
        pTabs = dynamic_cast<CTBTabControl*>(CTBWnd::FromHandle(hTabs));
        if (pTabs)
            for (const char* psz : {"Buy", "Sell", "All"})
                pTabs->AddItem(psz);
        hSysTabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 300, 20, 200, 40, parent.m_hWnd, nullptr, nullptr, nullptr);
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>("Sell");
        SendMessageA(hSysTabs, TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        table.Fill(5);
        hGrid = CreateWindowExA(0, "NorvTableWindowCtl", "", WS_CHILD | WS_VISIBLE, 0, 70, 500, 200, parent.m_hWnd, nullptr, nullptr, nullptr);
        pGrid = dynamic_cast<CTableWindow*>(CTBWnd::FromHandle(hGrid));
        if (pGrid)
            pGrid->AttachView(&table.View());
        table.View().AddSink(&sink);
        Drain();
    }
    ~CLanguageForm() { table.View().RemoveSink(&sink); }
    std::string SysTab()
    {
        char szText[256] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = szText;
        item.cchTextMax = sizeof(szText);
        SendMessageA(hSysTabs, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        return szText;
    }
    std::string Texts()
    {
        char szCaption[64] = "", szLabel[64] = "";
        GetWindowTextA(parent.m_hWnd, szCaption, sizeof(szCaption));
        GetWindowTextA(hLabel, szLabel, sizeof(szLabel));
        return std::string(szCaption) + "|" + szLabel + "|" + Tabs(*pTabs) + "|" + SysTab() + "|" + Titles(table.View());
    }

    CGridTable table;
    CTestParent parent;
    CTitleSink sink;
    HWND hLabel = nullptr, hSysTabs = nullptr, hGrid = nullptr;
    CTBTabControl* pTabs = nullptr;
    CTableWindow* pGrid = nullptr;
};

const char* const FORM_DICTIONARY = "Quotes|Cours\nMarket|Marche\nBuy|Achat\nSell|Vente\nSymbol|Symbole\nLast|Dernier\n";

TEST(LanguageWalk, FormWithTabStripsAndGridTranslatesBothWays)
{
    CDictionary dictionary;
    LoadTestDictionary(dictionary, FORM_DICTIONARY);
    CLanguageForm form;
    ASSERT_NE(nullptr, form.pTabs);
    ASSERT_NE(nullptr, form.pGrid);
    const std::string strLeft = form.Texts();
    ASSERT_EQ("Quotes|Market|Buy,Sell,All|Sell|Symbol,Last,Volume,Change", strLeft);
    const int cxBuy = form.pTabs->GetItemRect(0).right - form.pTabs->GetItemRect(0).left;

    dictionary.TranslateWindow(form.parent.m_hWnd, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ("Cours|Marche|Achat,Vente,All|Vente|Symbole,Dernier,Volume,Change", form.Texts());
    EXPECT_EQ(2, form.sink.m_nChanges) << "an event for each changed title only";
    // The strip is laid out for its new labels.
    EXPECT_GT(form.pTabs->GetItemRect(0).right - form.pTabs->GetItemRect(0).left, cxBuy);

    dictionary.TranslateWindow(form.parent.m_hWnd, DICT_RIGHT_TO_LEFT);
    EXPECT_EQ(strLeft, form.Texts());
    EXPECT_EQ(4, form.sink.m_nChanges);
    EXPECT_EQ(cxBuy, form.pTabs->GetItemRect(0).right - form.pTabs->GetItemRect(0).left);
}

TEST(LanguageWalk, GridColumnTitlesThroughTheDictionary)
{
    CDictionary dictionary;
    LoadTestDictionary(dictionary, FORM_DICTIONARY);
    CLanguageForm form;
    ASSERT_NE(nullptr, form.pGrid);
    dictionary.TranslateColumnTitles(form.hGrid, DICT_LEFT_TO_RIGHT);
    EXPECT_EQ("Symbole,Dernier,Volume,Change", Titles(form.table.View()));
    EXPECT_EQ("Buy,Sell,All", Tabs(*form.pTabs)) << "the grid alone";
    // Not a grid: nothing happens.
    dictionary.TranslateColumnTitles(form.hLabel, DICT_LEFT_TO_RIGHT);
    char szLabel[32] = "";
    GetWindowTextA(form.hLabel, szLabel, sizeof(szLabel));
    EXPECT_STREQ("Market", szLabel);
}

}  // namespace
