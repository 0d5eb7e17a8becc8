// The list box and scroll bar wrappers on a dialog of lists (mfcdlg_1252.rc): the list data
// exchanges, selections, geometry, owner drawing reflected to the list's object, and the bar.
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/Controls.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/Resources.h"
#include "platform/win/user/ScrollBars.h"

namespace {
const int IDC_MARKETS = 201, IDC_SYMBOLS = 202, IDC_DRAWN = 203, IDC_BAR = 204;

// A list that draws and measures its own items; counts what reached it.
class CDrawnList : public CListBox
{
public:
    int m_nDrawn = 0;
    int m_nMeasured = 0;
    DWORD_PTR m_lastData = 0;

    void DrawItem(LPDRAWITEMSTRUCT pDraw) override
    {
        ++m_nDrawn;
        m_lastData = pDraw->itemData;
    }
    void MeasureItem(LPMEASUREITEMSTRUCT pMeasure) override
    {
        ++m_nMeasured;
        pMeasure->itemHeight = 21;
    }
};

class CListDlg : public CDialog
{
public:
    explicit CListDlg(CWnd* pParent) : CDialog(100, pParent) {}
    CListBox m_markets;
    CListBox m_symbols;
    CDrawnList m_drawn;
    CScrollBar m_bar;
    CString m_strMarket = "KSE";
    int m_nSymbol = 1;
    int m_nDrawnIndex = 0;

protected:
    BOOL OnInitDialog() override
    {
        // The controls are ours before the base fills them from the members.
        m_markets.SubclassDlgItem(IDC_MARKETS, this);
        for (LPCSTR psz : {"NYSE", "KSE", "DFM", "KSE-FWD"})
            m_markets.AddString(psz);
        return CDialog::OnInitDialog();
    }
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_LBString(pDX, IDC_MARKETS, m_strMarket);
        DDX_Control(pDX, IDC_SYMBOLS, m_symbols);
        DDX_Control(pDX, IDC_DRAWN, m_drawn);
        DDX_Control(pDX, IDC_BAR, m_bar);
        DDX_LBIndex(pDX, IDC_DRAWN, m_nDrawnIndex);
    }
};

class CListControls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
        m_hModule = LoadLibraryA("mfcdlg_1252.dll");
        ASSERT_NE(nullptr, m_hModule);
        m_hOldModule = TbGetResourceModule();
        TbSetResourceModule(m_hModule);
        ASSERT_TRUE(m_owner.CreateEx(0, nullptr, "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 500, 400, nullptr,
                                     nullptr));
        ASSERT_TRUE(m_dlg.Create(100u, &m_owner));
    }
    void TearDown() override
    {
        m_dlg.DestroyWindow();
        m_owner.DestroyWindow();
        TbSetResourceModule(m_hOldModule);
        FreeLibrary(m_hModule);
    }
    static std::string Items(const CListBox& list)
    {
        std::string str;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString strItem;
            list.GetText(i, strItem);
            str += (i ? "|" : "") + std::string(static_cast<LPCSTR>(strItem));
        }
        return str;
    }

    CWnd m_owner;
    CListDlg m_dlg{&m_owner};
    HMODULE m_hModule = nullptr;
    HINSTANCE m_hOldModule = nullptr;
};

TEST_F(CListControls, ListStringAndIndexExchangeBothWays)
{
    EXPECT_EQ("DFM|KSE|KSE-FWD|NYSE", Items(m_dlg.m_markets));
    EXPECT_EQ(1, m_dlg.m_markets.GetCurSel()) << "the first item that begins with the text";
    m_dlg.m_markets.SetCurSel(2);
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_STREQ("KSE-FWD", m_dlg.m_strMarket);
    m_dlg.m_markets.SetCurSel(-1);
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_STREQ("", m_dlg.m_strMarket) << "no selection reads as empty";

    m_dlg.m_drawn.AddString("A");
    m_dlg.m_drawn.AddString("B");
    m_dlg.m_nDrawnIndex = 1;
    EXPECT_TRUE(m_dlg.UpdateData(FALSE));
    EXPECT_EQ(1, m_dlg.m_drawn.GetCurSel());
    m_dlg.m_drawn.SetCurSel(0);
    EXPECT_TRUE(m_dlg.UpdateData(TRUE));
    EXPECT_EQ(0, m_dlg.m_nDrawnIndex);
}

TEST_F(CListControls, ListWrappersEditFindAndSelect)
{
    CListBox& list = m_dlg.m_symbols;
    EXPECT_EQ(0, list.AddString("ZAIN"));
    EXPECT_EQ(1, list.AddString("NBK"));
    EXPECT_EQ(1, list.InsertString(1, "KFH"));
    EXPECT_EQ("ZAIN|KFH|NBK", Items(m_dlg.m_symbols));
    EXPECT_EQ(3, list.GetTextLen(1));
    char szItem[8] = {};
    EXPECT_EQ(3, list.GetText(2, szItem));
    EXPECT_STREQ("NBK", szItem);
    CString strMissing = "x";
    list.GetText(9, strMissing);
    EXPECT_STREQ("", strMissing);
    int nPayload = 5;
    list.SetItemData(0, 77);
    list.SetItemDataPtr(1, &nPayload);
    EXPECT_EQ(77u, list.GetItemData(0));
    EXPECT_EQ(&nPayload, list.GetItemDataPtr(1));
    EXPECT_EQ(2, list.FindString(-1, "nb"));
    EXPECT_EQ(LB_ERR, list.FindStringExact(-1, "NB"));
    EXPECT_EQ(1, list.FindStringExact(-1, "kfh"));

    // Several selections.
    EXPECT_NE(LB_ERR, list.SelItemRange(TRUE, 0, 1));
    EXPECT_EQ(2, list.GetSelCount());
    list.SetSel(1, FALSE);
    list.SetSel(2);
    int rgSel[4] = {-1, -1, -1, -1};
    EXPECT_EQ(2, list.GetSelItems(4, rgSel));
    EXPECT_EQ(0, rgSel[0]);
    EXPECT_EQ(2, rgSel[1]);
    EXPECT_GT(list.GetSel(2), 0);
    EXPECT_EQ(0, list.GetSel(1));
    list.SetCaretIndex(2);
    EXPECT_EQ(2, list.GetCaretIndex());

    // Geometry: an item's rectangle and the item under a point in it.
    EXPECT_NE(LB_ERR, list.SetItemHeight(0, 18));
    EXPECT_EQ(18, list.GetItemHeight(0));
    CRect rcItem;
    EXPECT_NE(LB_ERR, list.GetItemRect(1, &rcItem));
    EXPECT_EQ(18, rcItem.Height());
    BOOL bOutside = TRUE;
    EXPECT_EQ(1u, list.ItemFromPoint(CPoint(rcItem.left + 2, rcItem.top + 2), bOutside));
    EXPECT_FALSE(bOutside);
    for (int i = 0; i < 20; ++i)
        list.AddString("MORE");
    EXPECT_NE(LB_ERR, list.SetTopIndex(5));
    EXPECT_EQ(5, list.GetTopIndex());

    EXPECT_EQ(22, list.DeleteString(0));
    list.ResetContent();
    EXPECT_EQ(0, list.GetCount());
}

TEST_F(CListControls, OwnerDrawnListDrawsAndMeasuresThroughReflection)
{
    m_dlg.m_drawn.AddString("KSE");
    m_dlg.m_drawn.SetItemData(0, 4242);
    m_dlg.ShowWindow(SW_SHOW);
    m_dlg.m_drawn.Invalidate();
    m_dlg.m_drawn.UpdateWindow();
    EXPECT_GT(m_dlg.m_drawn.m_nDrawn, 0);
    EXPECT_EQ(4242u, m_dlg.m_drawn.m_lastData);

    // A list the object creates is measured by it as the list is made.
    CDrawnList made;
    ASSERT_TRUE(made.Create(WC_LISTBOXA, "", WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, CRect(0, 0, 80, 80),
                            &m_dlg, 300));
    EXPECT_EQ(1, made.m_nMeasured);
    EXPECT_EQ(21, made.GetItemHeight(0));
}

TEST_F(CListControls, ScrollBarWrappersSetAndReadTheControl)
{
    CScrollBar& bar = m_dlg.m_bar;
    bar.SetScrollRange(0, 200);
    int nMin = -1, nMax = -1;
    bar.GetScrollRange(&nMin, &nMax);
    EXPECT_EQ(0, nMin);
    EXPECT_EQ(200, nMax);
    EXPECT_EQ(0, bar.SetScrollPos(50));
    EXPECT_EQ(50, bar.GetScrollPos());
    SCROLLINFO si = {};
    si.fMask = SIF_PAGE | SIF_POS;
    si.nPage = 20;
    si.nPos = 190;
    EXPECT_TRUE(bar.SetScrollInfo(&si));
    SCROLLINFO got = {};
    EXPECT_TRUE(bar.GetScrollInfo(&got));
    EXPECT_EQ(20u, got.nPage);
    EXPECT_EQ(181, got.nPos) << "kept within the last page";
    EXPECT_TRUE(bar.EnableScrollBar(ESB_DISABLE_BOTH));
    bar.ShowScrollBar(FALSE);
    EXPECT_FALSE(bar.IsWindowVisible());
}

TEST(CListControlsArabic, MirroredTemplateMakesTheSameLists)
{
    TbAddResourcePath(TB_SOURCE_DIR "/tests/platform/data");
    HMODULE hModule = LoadLibraryA("mfcdlg_1256.dll");
    ASSERT_NE(nullptr, hModule);
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);
    CListDlg dlg(nullptr);
    ASSERT_TRUE(dlg.Create(100u));
    EXPECT_EQ(1, dlg.m_markets.GetCurSel());
    CRect rcMarkets, rcDrawn;
    dlg.m_markets.GetWindowRect(&rcMarkets);
    dlg.m_drawn.GetWindowRect(&rcDrawn);
    EXPECT_GT(rcMarkets.left, rcDrawn.left) << "the first list stands on the right";
    dlg.DestroyWindow();
    TbSetResourceModule(hOld);
    FreeLibrary(hModule);
}
}  // namespace
