// The system tab strip through its item messages: labels and values read and written by index,
// labels cut to the caller's buffer, the current tab kept on the same item as others come and go.
#include <gtest/gtest.h>
#include <string>
#include "ControlTestSupport.h"

namespace {
class TabStrips : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_hParent = CreateControlParent();
        m_hTabs = CreateControl(m_hParent, WC_TABCONTROLA, 0, 0, 0, 200, 30, 4);
    }
    void TearDown() override
    {
        if (IsWindow(m_hParent))
            DestroyWindow(m_hParent);
        DrainQueue();
    }
    LRESULT Insert(int nAt, const char* pszText, LPARAM lParam = 0)
    {
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<char*>(pszText);
        item.lParam = lParam;
        return SendMessageA(m_hTabs, TCM_INSERTITEMA, static_cast<WPARAM>(nAt), reinterpret_cast<LPARAM>(&item));
    }
    std::string Labels()
    {
        std::string str;
        const int nItems = static_cast<int>(SendMessageA(m_hTabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < nItems; ++i) {
            char szText[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = sizeof(szText);
            SendMessageA(m_hTabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
            str += std::string(i ? "," : "") + szText;
        }
        return str;
    }
    HWND m_hParent = nullptr;
    HWND m_hTabs = nullptr;
};
}  // namespace

TEST_F(TabStrips, ItemsByIndex)
{
    ASSERT_NE(nullptr, m_hTabs);
    EXPECT_EQ(-1, SendMessageA(m_hTabs, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(0, Insert(0, "Buy"));
    EXPECT_EQ(1, Insert(99, "Cancel")) << "past the end appends";
    EXPECT_EQ(1, Insert(1, "Sell", 77));
    EXPECT_EQ("Buy,Sell,Cancel", Labels());

    TCITEMA item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>("Orders");
    EXPECT_TRUE(SendMessageA(m_hTabs, TCM_SETITEMA, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_FALSE(SendMessageA(m_hTabs, TCM_SETITEMA, 3, reinterpret_cast<LPARAM>(&item)));
    char szText[4] = "xyz";
    TCITEMA read = {};
    read.mask = TCIF_TEXT | TCIF_PARAM;
    read.pszText = szText;
    read.cchTextMax = sizeof(szText);
    EXPECT_TRUE(SendMessageA(m_hTabs, TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&read)));
    EXPECT_STREQ("Ord", szText);
    EXPECT_EQ(77, read.lParam) << "a text change keeps the item's value";
    EXPECT_FALSE(SendMessageA(m_hTabs, TCM_GETITEMA, 3, reinterpret_cast<LPARAM>(&read)));

    EXPECT_EQ(0, SendMessageA(m_hTabs, TCM_SETCURSEL, 2, 0));
    EXPECT_TRUE(SendMessageA(m_hTabs, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ("Orders,Cancel", Labels());
    EXPECT_EQ(1, SendMessageA(m_hTabs, TCM_GETCURSEL, 0, 0)) << "still on Cancel";
    EXPECT_EQ(0, Insert(0, "Buy"));
    EXPECT_EQ(2, SendMessageA(m_hTabs, TCM_GETCURSEL, 0, 0));
    EXPECT_TRUE(SendMessageA(m_hTabs, TCM_DELETEALLITEMS, 0, 0));
    EXPECT_EQ(0, SendMessageA(m_hTabs, TCM_GETITEMCOUNT, 0, 0));
    EXPECT_EQ(-1, SendMessageA(m_hTabs, TCM_GETCURSEL, 0, 0));
}
