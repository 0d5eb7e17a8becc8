// The terminal's resources in the four resource files: every text, dialog, menu entry, toolbar
// button and picture it loads exists in both languages, and the English files read the same
// through the Arabic code page; the dialogs offer the same controls in both and the Arabic ones
// are the English ones mirrored; the names the program stores read the same everywhere, so that
// the reading-direction command writes the value start-up reads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/user/Menu.h"
#include "platform/win/user/Window.h"
#include "tests/common/MenuCommands.h"

namespace {
const std::string s_strResources = TB_SOURCE_DIR "/resources";
enum { ENGLISH, ARABIC, BRAND_ENGLISH, BRAND_ARABIC, FILE_COUNT };
const char* const s_pszFiles[FILE_COUNT] = {"_1252.rc", "_1256.rc", "branding_1252.rc", "branding_1256.rc"};

// The strings the terminal loads from the language files, as ranges.
const struct { UINT uFirst, uLast; } s_strings[] = {
    {280, 280}, {501, 599}, {851, 854}, {856, 859}, {40304, 40304}, {40329, 40329}, {40331, 40332},
    {40336, 40336}, {40339, 40342}, {40349, 40349}, {40366, 40366}, {40370, 40371}, {40373, 40373},
    {40375, 40379}, {40534, 40535}, {40600, 40601}, {42229, 42229}, {50001, 50001}, {55207, 55207},
    {55303, 55304}, {55478, 55478}, {56710, 56710}, {57345, 57345}, {57557, 57557},
    // The page windows' titles.
    {55280, 55289}, {55307, 55307}, {55319, 55320}, {55443, 55451}, {55454, 55455}, {55463, 55463}, {42226, 42226},
};

// Names the program stores or looks for: one text in every file that holds them.
const UINT s_names[] = {40600, 40601, 40371, 40372, 40373, 40375, 40376, 40378, 40379};

// The dialogs and the controls the code reads in each.
const struct { const char* pszName; std::vector<int> controls; } s_dialogs[] = {
    {"#2", {1530, 1531, 1532, 5602, 1}},
    {"#501", {1001, 1002, 1, 2}},
    {"#285", {1693, 1143, 1144, 1145, 1, 2}},
    {"#7258", {1753, 1754, 1755, 1756, 1, 2}},
    {"#42223", {1532, 42224, 42268, 1}},
};

// The commands this menu must offer now; later menus add theirs.
const UINT s_menuCommands[] = {32774, 32775, 32776, 32778, 32780, 32819, 32831, 32832, 32835, 33046, 33047,
                               33048, 33163, 33193, 33195, 33196, 33197, 33199, 33203, 33204, 33205, 33207,
                               33232, 33268, 33285, 33286, 33311, 33335, 33337, 33355, 33625, 33627, 33628,
                               33629, 33630, 40230, 40231, 57616, 57664, 33180, 33186, 33187, 33188, 33189, 33290,
                               33296, 33297, 33298, 33299, 33315, 33621};

// The main frame's toolbar: its buttons by command, 0 for a separator.
const UINT s_toolbar[] = {32832, 32831, 0, 57634, 0, 57607, 0, 32774, 32775, 32776, 0, 33191, 33601, 33101, 33103,
                          33112, 0, 33203, 33204, 33205, 0, 33614, 33566, 0, 33190, 33192, 0, 33251, 33223, 33224,
                          33226, 33233, 0, 33287, 33288, 33289, 0, 33300, 33301, 0, 33198, 0, 57664, 0, 33621, 0, 40230};

class TerminalResources : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        for (int i = 0; i < FILE_COUNT; ++i) {
            s_files[i] = CResourceScript();            // a repeated run reads the files afresh
            ASSERT_TRUE(s_files[i].LoadFile((s_strResources + "/" + s_pszFiles[i]).c_str())) << s_pszFiles[i];
            ASSERT_TRUE(s_files[i].GetErrors().empty()) << s_pszFiles[i] << ": " << s_files[i].GetErrors().front();
        }
    }
    static const CResourceScript& File(int i) { return s_files[i]; }
    static CResourceScript s_files[FILE_COUNT];
};
CResourceScript TerminalResources::s_files[FILE_COUNT];

// The shape of a menu, texts left out: ids, flags and nesting.
std::string MenuShape(const std::vector<TBMENUTEMPLATEITEM>& items)
{
    std::ostringstream out;
    for (const auto& item : items) {
        out << item.uId << "/" << item.uFlags;
        if (item.uFlags & MF_POPUP)
            out << "{" << MenuShape(item.popup) << "}";
        out << " ";
    }
    return out.str();
}

// The width and height of a PNG file, from its header; 0 when it cannot be read.
std::pair<unsigned, unsigned> PngSize(const std::string& strPath)
{
    std::ifstream in(strPath, std::ios::binary);
    unsigned char header[24] = {};
    if (!in.read(reinterpret_cast<char*>(header), sizeof header))
        return {0, 0};
    const auto BigEndian = [&header](int i) {
        return (unsigned{header[i]} << 24) | (unsigned{header[i + 1]} << 16) | (unsigned{header[i + 2]} << 8) | header[i + 3];
    };
    return {BigEndian(16), BigEndian(20)};
}

TEST_F(TerminalResources, TextsExistInBothLanguages)
{
    for (const auto& range : s_strings)
        for (UINT uId = range.uFirst; uId <= range.uLast; ++uId)
            for (int i : {ENGLISH, ARABIC})
                EXPECT_TRUE(File(i).GetStrings().count(uId)) << s_pszFiles[i] << " lacks string " << uId;
    // The brand's title and name stand in both branding files.
    for (UINT uId : {280u, 40372u})
        for (int i : {BRAND_ENGLISH, BRAND_ARABIC})
            EXPECT_TRUE(File(i).GetStrings().count(uId)) << s_pszFiles[i] << " lacks string " << uId;
    // Texts a message shows with one insert carry it; the Arabic ones are Arabic.
    for (UINT uId : {40332u, 55207u})
        for (int i : {ENGLISH, ARABIC})
            EXPECT_NE(std::string::npos, File(i).GetStrings().at(uId).find("%1")) << s_pszFiles[i] << " " << uId;
    for (UINT uId : {280u, 599u, 40304u, 55303u, 55478u, 57557u})
        EXPECT_NE(File(ENGLISH).GetStrings().at(uId), File(ARABIC).GetStrings().at(uId)) << uId;
    // The English files read as written through the machines' Arabic code page too: they hold no
    // letter that page lacks.
    for (int i : {ENGLISH, BRAND_ENGLISH}) {
        std::ifstream in(s_strResources + "/" + s_pszFiles[i]);
        for (std::string strLine; std::getline(in, strLine);)
            EXPECT_EQ(strLine, TbCodePageToUtf8(TbUtf8ToCodePage(strLine, 1252), 1256)) << s_pszFiles[i];
    }
}

TEST_F(TerminalResources, PageAddressesAreTheBrandsAndTakeTheirTexts)
{
    // Each address pattern with the number of texts its page puts in.
    std::vector<std::pair<UINT, int>> patterns = {{57065, 0}, {42225, 2}, {57573, 0}};
    for (UINT uId = 57558; uId <= 57569; ++uId)
        patterns.emplace_back(uId, 0);
    for (UINT uId : {57570u, 57571u, 57572u, 57574u, 57575u, 57576u, 57578u, 57579u})
        patterns.emplace_back(uId, 1);
    std::set<std::string> seen;
    for (const auto& [uId, nTexts] : patterns) {
        ASSERT_TRUE(File(BRAND_ENGLISH).GetStrings().count(uId)) << uId;
        const std::string& strAddress = File(BRAND_ENGLISH).GetStrings().at(uId);
        EXPECT_EQ(strAddress, File(BRAND_ARABIC).GetStrings().count(uId) ? File(BRAND_ARABIC).GetStrings().at(uId) : "")
            << uId;
        EXPECT_EQ(0u, strAddress.rfind("https://", 0)) << uId;
        int nFound = 0;
        for (size_t n = strAddress.find('%'); n != std::string::npos; n = strAddress.find('%', n + 2), ++nFound)
            EXPECT_EQ('s', strAddress[n + 1]) << uId;
        EXPECT_EQ(nTexts, nFound) << uId;
        EXPECT_TRUE(seen.insert(strAddress).second) << uId << " repeats another page's address";
    }
}

TEST_F(TerminalResources, StoredNamesReadTheSameEverywhere)
{
    for (UINT uId : s_names) {
        const std::string& strEnglish = File(ENGLISH).GetStrings().at(uId);
        EXPECT_FALSE(strEnglish.empty()) << uId;
        for (int i = ARABIC; i < FILE_COUNT; ++i) {
            const auto& strings = File(i).GetStrings();
            if (strings.count(uId)) {
                EXPECT_EQ(strEnglish, strings.at(uId)) << s_pszFiles[i] << " " << uId;
            }
        }
    }
    // The reading-direction command writes profile section 40375, key 40376 under the
    // application's key "Software\" + 40372 + "\" + 40378; start-up reads the language there.
    // A branding file's name wins over its language file's, as the shared services look.
    for (int i = 0; i < FILE_COUNT; ++i) {
        const auto Name = [i](UINT uId) {
            const auto& strings = File(i).GetStrings().count(uId) ? File(i).GetStrings() : File(i % 2).GetStrings();
            return strings.at(uId);
        };
        EXPECT_EQ("Software\\ZORVATOnLine\\Quelmor Pro\\Settings",
                  "Software\\" + Name(40372) + "\\" + Name(40378) + "\\" + Name(40375)) << s_pszFiles[i];
        EXPECT_EQ("Arabic", Name(40376)) << s_pszFiles[i];
    }
    // File names: no folder, nothing a file system would refuse.
    for (UINT uId : {40600u, 40601u, 40371u})
        EXPECT_EQ(std::string::npos, File(ENGLISH).GetStrings().at(uId).find_first_of("/\\:*?\"<>| ")) << uId;
}

TEST_F(TerminalResources, DialogsOfferTheSameControlsMirroredInArabic)
{
    for (const auto& dialog : s_dialogs) {
        const auto& en = File(ENGLISH).GetTemplates().dialogs;
        const auto& ar = File(ARABIC).GetTemplates().dialogs;
        ASSERT_TRUE(en.count(dialog.pszName) && ar.count(dialog.pszName)) << dialog.pszName;
        const TBDLGTEMPLATE& dlgEn = en.at(dialog.pszName);
        const TBDLGTEMPLATE& dlgAr = ar.at(dialog.pszName);
        EXPECT_FALSE(dlgEn.strCaption.empty() || dlgAr.strCaption.empty()) << dialog.pszName;
        EXPECT_EQ(dlgEn.cx, dlgAr.cx) << dialog.pszName;
        ASSERT_EQ(dlgEn.items.size(), dlgAr.items.size()) << dialog.pszName;
        std::set<int> ids;
        for (size_t n = 0; n < dlgEn.items.size(); ++n) {
            const TBDLGITEMTEMPLATE& itemEn = dlgEn.items[n];
            const TBDLGITEMTEMPLATE& itemAr = dlgAr.items[n];
            EXPECT_EQ(itemEn.nId, itemAr.nId) << dialog.pszName << " item " << n;
            EXPECT_EQ(itemEn.strClass, itemAr.strClass) << dialog.pszName << " item " << n;
            // The same tab order, each control in the mirrored place.
            EXPECT_EQ(dlgEn.cx - itemEn.x - itemEn.cx, itemAr.x) << dialog.pszName << " item " << itemEn.nId;
            EXPECT_EQ(itemEn.y, itemAr.y) << dialog.pszName << " item " << itemEn.nId;
            EXPECT_EQ(itemEn.cx, itemAr.cx) << dialog.pszName << " item " << itemEn.nId;
            // Arabic text reads right to left from the right edge.
            const bool bArabicText = std::any_of(itemAr.strText.begin(), itemAr.strText.end(),
                                                 [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
            if (bArabicText && itemAr.strClass == "STATIC") {
                EXPECT_EQ(static_cast<DWORD>(WS_EX_RTLREADING | WS_EX_RIGHT),
                          itemAr.dwExStyle & (WS_EX_RTLREADING | WS_EX_RIGHT)) << dialog.pszName << " item " << n;
            }
            ids.insert(itemEn.nId);
        }
        for (int nId : dialog.controls)
            EXPECT_TRUE(ids.count(nId)) << dialog.pszName << " lacks control " << nId;
    }
}

TEST_F(TerminalResources, MenuToolbarAndAcceleratorsAgreeAndEveryCommandHasAPrompt)
{
    const auto& menuEn = File(ENGLISH).GetTemplates().menus;
    const auto& menuAr = File(ARABIC).GetTemplates().menus;
    ASSERT_TRUE(menuEn.count("#280") && menuAr.count("#280"));
    EXPECT_EQ(MenuShape(menuEn.at("#280")), MenuShape(menuAr.at("#280")));
    // Twelve popups in their final places: the eighth and tenth take the market schedules and the
    // tickers, the second-to-last lists the windows.
    const auto& bar = menuEn.at("#280");
    ASSERT_EQ(12u, bar.size());
    for (const auto& popup : bar)
        EXPECT_TRUE(popup.uFlags & MF_POPUP) << popup.strText;
    EXPECT_EQ("&Markets", bar[7].strText);
    EXPECT_EQ("&View", bar[9].strText);
    EXPECT_EQ("&Window", bar[bar.size() - 2].strText);
    std::set<UINT> commands;
    CollectCommands(bar, commands);
    for (UINT uId : s_menuCommands)
        EXPECT_TRUE(commands.count(uId)) << "menu lacks command " << uId;

    // The toolbar's buttons, and one 16 by 15 image in its strip for each button.
    for (int i : {ENGLISH, ARABIC}) {
        const auto& toolbars = File(i).GetTemplates().toolbars;
        ASSERT_TRUE(toolbars.count("#280")) << s_pszFiles[i];
        const TBTOOLBARTEMPLATE& toolbar = toolbars.at("#280");
        EXPECT_EQ(std::vector<UINT>(std::begin(s_toolbar), std::end(s_toolbar)), toolbar.ids) << s_pszFiles[i];
        EXPECT_EQ(16, toolbar.cx);
        EXPECT_EQ(15, toolbar.cy);
        const std::string strStrip = File(i).GetFiles().at(ResourceFileKey("BITMAP", NumberedName(280)));
        const unsigned nButtons = static_cast<unsigned>(std::count_if(toolbar.ids.begin(), toolbar.ids.end(), [](UINT u) { return u != 0; }));
        EXPECT_EQ(std::make_pair(nButtons * 16, 15u), PngSize(s_strResources + "/" + strStrip)) << strStrip;
    }
    for (UINT uId : s_toolbar)
        if (uId != 0)
            commands.insert(uId);
    const auto& accelEn = File(ENGLISH).GetTemplates().accelerators;
    const auto& accelAr = File(ARABIC).GetTemplates().accelerators;
    ASSERT_TRUE(accelEn.count("#280") && accelAr.count("#280"));
    ASSERT_EQ(accelEn.at("#280").size(), accelAr.at("#280").size());
    for (size_t n = 0; n < accelEn.at("#280").size(); ++n) {
        const ACCEL& en = accelEn.at("#280")[n];
        const ACCEL& ar = accelAr.at("#280")[n];
        EXPECT_TRUE(en.fVirt == ar.fVirt && en.key == ar.key && en.cmd == ar.cmd) << "accelerator " << n;
        EXPECT_TRUE(commands.count(en.cmd)) << "accelerator for a command nowhere else: " << en.cmd;
    }
    // The recent files take the ids after the first one; each shows a prompt.
    for (UINT uId = 57617; uId <= 57631; ++uId)
        commands.insert(uId);
    for (UINT uId : commands) {
        for (int i : {ENGLISH, ARABIC}) {
            const auto& strings = File(i).GetStrings();
            EXPECT_TRUE(strings.count(uId) && !strings.at(uId).empty()) << s_pszFiles[i] << " lacks prompt " << uId;
        }
        if (File(ENGLISH).GetStrings().count(uId) && File(ARABIC).GetStrings().count(uId)) {
            EXPECT_NE(File(ENGLISH).GetStrings().at(uId), File(ARABIC).GetStrings().at(uId)) << "prompt " << uId;
        }
    }
}

TEST_F(TerminalResources, PicturesExistInBothLanguagesAndTheBrands)
{
    std::vector<std::string> keys;
    for (int nId : {115, 127, 234, 235, 257, 258, 259, 280})
        keys.push_back(ResourceFileKey("BITMAP", NumberedName(nId)));
    for (int nId : {280, 284})
        keys.push_back(ResourceFileKey("ICON", NumberedName(nId)));
    for (const auto& strKey : keys)
        for (int i : {ENGLISH, ARABIC})
            EXPECT_TRUE(File(i).GetFiles().count(strKey)) << s_pszFiles[i] << " lacks " << strKey;
    for (int i : {BRAND_ENGLISH, BRAND_ARABIC}) {
        const std::string strKey = ResourceFileKey("ICON", NumberedName(280));
        ASSERT_TRUE(File(i).GetFiles().count(strKey)) << s_pszFiles[i];
        EXPECT_EQ(0, access((s_strResources + "/" + File(i).GetFiles().at(strKey)).c_str(), R_OK)) << s_pszFiles[i];
    }
}
}  // namespace

namespace {
// The letter a control's text underlines (one UTF-8 character, ASCII letters upper-cased), "" for
// none; "&&" shows an ampersand.
std::string Underlined(const std::string& strText)
{
    for (size_t n = 0; n + 1 < strText.size(); ++n) {
        if (strText[n] != '&')
            continue;
        if (strText[n + 1] == '&') {
            ++n;
            continue;
        }
        const unsigned char chLead = static_cast<unsigned char>(strText[n + 1]);
        const size_t nLength = chLead < 0x80 ? 1 : chLead < 0xE0 ? 2 : chLead < 0xF0 ? 3 : 4;
        std::string strLetter = strText.substr(n + 1, nLength);
        if (nLength == 1)
            strLetter[0] = static_cast<char>(toupper(chLead));
        return strLetter;
    }
    return "";
}
}  // namespace

// Alt with a letter goes to one control: in every dialog of both languages, whichever of its
// controls the dialog shows at a time, no two underline the same letter.
TEST_F(TerminalResources, EveryDialogUnderlinesEachLetterOnce)
{
    int nDialogs = 0;
    for (int nFile : {ENGLISH, ARABIC}) {
        for (const auto& [strName, dialog] : File(nFile).GetTemplates().dialogs) {
            std::map<std::string, std::string> seen;
            for (const TBDLGITEMTEMPLATE& item : dialog.items) {
                const std::string strLetter = Underlined(item.strText);
                if (!strLetter.empty() && !seen.emplace(strLetter, item.strText).second)
                    ADD_FAILURE() << s_pszFiles[nFile] << " dialog " << strName << ": \"" << item.strText
                                  << "\" underlines what \"" << seen[strLetter] << "\" does";
            }
            ++nDialogs;
        }
    }
    EXPECT_GT(nDialogs, 2);
}
