// The order dialogs' templates and texts in both language files: the same controls of the same
// classes in both, the Arabic ones mirrored and reading right to left, every control the code
// reads present, no two controls over one another, the password field showing no characters,
// and every text in both languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/user/Controls.h"
#include "platform/win/user/Window.h"

namespace {

const char* const s_pszFiles[2] = {TB_SOURCE_DIR "/resources/_1252.rc", TB_SOURCE_DIR "/resources/_1256.rc"};

// The templates and the controls the code reads in each (1637 the password, 1774 the keep box).
const struct { const char* pszName; std::vector<int> controls; } s_dialogs[] = {
    {"#7268", {5742, 5754, 5743, 5747, 5748, 5758, 5744, 5749, 5752, 5753, 5745, 5746, 5816, 5817, 5818, 5819, 5751,
               6550, 1705, 1706, 1637, 1774, 1, 2}},
    {"#7267", {5742, 5754, 5743, 5747, 5744, 5749, 5752, 5745, 5746, 5816, 5817, 5818, 5819, 5751, 6550, 1705, 1706,
               1637, 1774, 1, 2}},
    {"#7129", {5742, 5754, 5747, 5743, 5748, 5758, 5744, 5749, 5752, 5753, 5745, 5746, 5750, 6644, 6723, 6550, 6581,
               6582, 6639, 6641, 6643, 1705, 1706, 6635, 6636, 6637, 6638, 6640, 6642, 5996, 5997, 1637, 1774, 1, 2}},
    {"#7288", {5742, 5754, 5759, 5760, 5761, 5749, 5744, 5745, 5746, 5816, 5817, 5818, 5751, 6550, 1706, 1637, 1774,
               1, 2}},
    {"#7290", {5814, 1637, 1774, 5769, 1, 2}},
    {"#7301", {6630, 6631, 6632, 6633, 6634, 1, 2}},
    {"#7139", {5722, 5723, 5720, 5721, 5770, 5771, 5724, 5725, 5727, 5729, 5728, 5726, 5730, 5731, 5732, 5735, 5718, 5719, 6872, 5737, 5738, 5742}},
    {"#7265", {5722, 5723, 5720, 5721, 5770, 5771, 5724, 5727, 5728, 6872, 5737, 5738, 5742}},
};
const UINT s_texts[] = {40350, 40351, 40353, 56856, 56857, 56892, 56893, 7293};

// A combo box's made height is its dropped list's; closed it is one field high.
int ShownHeight(const TBDLGITEMTEMPLATE& item)
{
    return item.strClass == "COMBOBOX" ? std::min<int>(item.cy, 14) : item.cy;
}

bool Overlap(const TBDLGITEMTEMPLATE& a, const TBDLGITEMTEMPLATE& b)
{
    return a.x < b.x + b.cx && b.x < a.x + a.cx && a.y < b.y + ShownHeight(b) && b.y < a.y + ShownHeight(a);
}

// A group box frames the controls it holds.
bool IsGroupBox(const TBDLGITEMTEMPLATE& item)
{
    return item.strClass == "BUTTON" && (item.dwStyle & 0xF) == BS_GROUPBOX;
}

}  // namespace

TEST(OrderResources, TemplatesAgreeInBothLanguagesAndTextsExist)
{
    CResourceScript files[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(files[i].LoadFile(s_pszFiles[i])) << s_pszFiles[i];
        ASSERT_TRUE(files[i].GetErrors().empty()) << s_pszFiles[i] << ": " << files[i].GetErrors().front();
    }
    for (const auto& dialog : s_dialogs) {
        SCOPED_TRACE(dialog.pszName);
        const auto& en = files[0].GetTemplates().dialogs;
        const auto& ar = files[1].GetTemplates().dialogs;
        ASSERT_TRUE(en.count(dialog.pszName) && ar.count(dialog.pszName));
        const TBDLGTEMPLATE& dlgEn = en.at(dialog.pszName);
        const TBDLGTEMPLATE& dlgAr = ar.at(dialog.pszName);
        EXPECT_NE(dlgEn.strCaption, dlgAr.strCaption);
        ASSERT_EQ(dlgEn.cx, dlgAr.cx);
        ASSERT_EQ(dlgEn.items.size(), dlgAr.items.size());
        for (size_t n = 0; n < dlgEn.items.size(); ++n) {
            const TBDLGITEMTEMPLATE& itemEn = dlgEn.items[n];
            const TBDLGITEMTEMPLATE& itemAr = dlgAr.items[n];
            EXPECT_EQ(itemEn.nId, itemAr.nId) << "item " << n;
            EXPECT_EQ(itemEn.strClass, itemAr.strClass) << "item " << n;
            EXPECT_EQ(dlgEn.cx - itemEn.x - itemEn.cx, itemAr.x) << "item " << itemEn.nId;
            EXPECT_EQ(itemEn.y, itemAr.y) << "item " << itemEn.nId;
            EXPECT_TRUE(itemEn.x >= 0 && itemEn.x + itemEn.cx <= dlgEn.cx && itemEn.y + itemEn.cy <= dlgEn.cy)
                << "item " << itemEn.nId << " leaves the dialog";
            if (itemAr.strClass == "STATIC" && !itemAr.strText.empty()) {
                EXPECT_EQ(static_cast<DWORD>(WS_EX_RTLREADING | WS_EX_RIGHT),
                          itemAr.dwExStyle & (WS_EX_RTLREADING | WS_EX_RIGHT)) << "item " << n;
            }
            // The KSE reviews' two side labels share a place: one of them shows.
            for (size_t m = 0; m < n; ++m)
                if (Overlap(dlgEn.items[m], itemEn) && !(dlgEn.items[m].nId == 1706 && itemEn.nId == 1705) &&
                    !IsGroupBox(dlgEn.items[m]))
                    ADD_FAILURE() << "items " << dlgEn.items[m].nId << " and " << itemEn.nId << " overlap";
            if (itemEn.nId == 1637) {
                EXPECT_TRUE(itemEn.dwStyle & ES_PASSWORD);
            }
        }
        for (int nId : dialog.controls) {
            bool bFound = false;
            for (const TBDLGITEMTEMPLATE& item : dlgEn.items)
                bFound = bFound || item.nId == nId;
            EXPECT_TRUE(bFound) << "lacks control " << nId;
        }
    }
    for (UINT uId : s_texts) {
        ASSERT_TRUE(files[0].GetStrings().count(uId) && files[1].GetStrings().count(uId)) << uId;
        EXPECT_NE(files[0].GetStrings().at(uId), files[1].GetStrings().at(uId)) << uId;
    }
}
