// What the link's dialogs load must exist in both language modules with the same type, and each
// dialog must offer the same controls in both, or one language loses a field the code reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>
#include "link/CommDialogs.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/ResourceTemplates.h"
#include "platform/win/kernel/Resources.h"

namespace {
const UINT s_dialogs[] = {IDD_COMM_SETTINGS, IDD_COMM_SERIAL, IDD_FEED_SETTINGS};

std::vector<UINT> LinkStrings()
{
    std::vector<UINT> ids;
    for (UINT n = 0; n < 13; ++n)
        ids.push_back(IDS_COMM_SPEED_FIRST + n);
    for (UINT n = 0; n < 5; ++n)
        ids.push_back(IDS_COMM_PARITY_FIRST + n);
    ids.insert(ids.end(), {IDS_COMM_STOPBITS, IDS_COMM_LOG_FILTER, IDS_FEED_PERIOD});
    return ids;
}

std::vector<std::pair<int, std::string>> Controls(const TBDLGTEMPLATE* pTemplate)
{
    std::vector<std::pair<int, std::string>> controls;
    for (const auto& item : pTemplate->items) {
        std::string strClass = item.strClass;
        std::transform(strClass.begin(), strClass.end(), strClass.begin(), ::tolower);
        controls.emplace_back(item.nId, strClass);
    }
    std::sort(controls.begin(), controls.end());
    return controls;
}

TEST(LinkResources, BothLanguagesHoldWhatTheDialogsLoad)
{
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    HMODULE hEnglish = LoadLibraryA("_1252.dll");
    HMODULE hArabic = LoadLibraryA("_1256.dll");
    ASSERT_NE(nullptr, hEnglish);
    ASSERT_NE(nullptr, hArabic);
    for (UINT nId : s_dialogs) {
        const TBDLGTEMPLATE* pEnglish = TbFindDialogTemplate(hEnglish, MAKEINTRESOURCEA(nId));
        const TBDLGTEMPLATE* pArabic = TbFindDialogTemplate(hArabic, MAKEINTRESOURCEA(nId));
        ASSERT_NE(nullptr, pEnglish) << nId;
        ASSERT_NE(nullptr, pArabic) << nId;
        EXPECT_EQ(Controls(pEnglish), Controls(pArabic)) << nId;
        EXPECT_FALSE(pEnglish->strCaption.empty()) << nId;
        EXPECT_FALSE(pArabic->strCaption.empty()) << nId;
    }
    for (UINT nId : LinkStrings()) {
        char sz[256];
        EXPECT_GT(LoadStringA(hEnglish, nId, sz, sizeof sz), 0) << nId;
        EXPECT_GT(LoadStringA(hArabic, nId, sz, sizeof sz), 0) << nId;
    }
    // A string id is no dialog: the types are kept apart.
    EXPECT_EQ(nullptr, TbFindDialogTemplate(hEnglish, MAKEINTRESOURCEA(IDS_COMM_STOPBITS)));
    FreeLibrary(hArabic);
    FreeLibrary(hEnglish);
}
}  // namespace
