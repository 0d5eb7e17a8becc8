#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/base/Ini.h"
#include "framework/window/TableWindowProperties.h"

namespace {
// Settings in a map: what a save wrote, key by key.
class CMapIni : public CIni
{
public:
    CMapIni() : CIni("unused.ini", "Grid") {}
    DWORD ReadProfileString(LPCSTR, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cch, LPCSTR) override
    {
        auto it = m_values.find(pszKey);
        return static_cast<DWORD>(snprintf(pszOut, cch, "%s", it != m_values.end() ? it->second.c_str() : pszDefault));
    }
    int ReadProfileInt(LPCSTR, LPCSTR pszKey, int nDefault, LPCSTR) override
    {
        auto it = m_values.find(pszKey);
        return it != m_values.end() ? atoi(it->second.c_str()) : nDefault;
    }
    BOOL WriteProfileString(LPCSTR, LPCSTR pszKey, LPCSTR pszValue, LPCSTR) override
    {
        m_values[pszKey] = pszValue;
        return TRUE;
    }
    std::map<std::string, std::string> m_values;
};

HFONT MakeFont(int nHeight, const char* pszFace)
{
    LOGFONTA lf = {};
    lf.lfHeight = nHeight;
    lf.lfWeight = FW_NORMAL;
    snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", pszFace);
    return CreateFontIndirectA(&lf);
}

// Colours read back palette-relative: compare their RGB.
COLORREF Rgb(COLORREF cr)
{
    return cr & 0xffffff;
}
}  // namespace

TEST(TableWindowProperties, ColourTablesAndTheBackgroundSetters)
{
    CTableWindowProperties props;
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), props.GetWindowBackColor());
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), props.GetCellTextColor(126));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), props.GetCellBackColor(126));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), props.GetFaceColor());
    EXPECT_TRUE(props.GetFollowLastRow() && props.GetFlag5() && props.GetAllowResize());
    EXPECT_FALSE(props.GetFocusFrame());

    props.SetBackgroundColor(RGB(1, 2, 3));
    EXPECT_EQ(RGB(1, 2, 3), props.GetCellBackColor(0));
    props.SetWindowBackColor(RGB(4, 5, 6));
    EXPECT_EQ(RGB(4, 5, 6), props.GetBackgroundColor());
    EXPECT_EQ(RGB(1, 2, 3), props.GetCellBackColor(0));

    // Indexes beyond the 7-bit attribute's table read entry 0 and are not written.
    props.SetCellTextColor(RGB(9, 9, 9), 0);
    props.SetCellTextColor(RGB(7, 7, 7), 127);
    props.SetCellTextColor(RGB(7, 7, 7), -1);
    EXPECT_EQ(RGB(9, 9, 9), props.GetCellTextColor(127));
    EXPECT_EQ(RGB(9, 9, 9), props.GetCellTextColor(-5));
    props.SetCellBackColor(RGB(8, 8, 8), 126);
    EXPECT_EQ(RGB(8, 8, 8), props.GetCellBackColor(126));
    EXPECT_EQ(RGB(1, 2, 3), props.GetCellBackColor(200));
}

TEST(TableWindowProperties, FontsAreOwnedAndCopiesNeverShareThem)
{
    CTableWindowProperties props;
    EXPECT_EQ(nullptr, props.GetFont());
    HFONT hFirst = MakeFont(-13, "DejaVu Sans");
    props.SetFont(hFirst);
    props.SetFont(hFirst);                          // the same handle again is kept
    EXPECT_EQ(OBJ_FONT, GetObjectType(hFirst));
    HFONT hSecond = MakeFont(-15, "DejaVu Sans");
    props.SetFont(hSecond);
    EXPECT_NE(OBJ_FONT, GetObjectType(hFirst));     // replaced: deleted
    props.SetBoldFont(MakeFont(-15, "DejaVu Serif"));
    props.SetFocusFrame(TRUE);
    props.SetHighlightSeconds(5);
    props.SetCellBackColor(RGB(10, 20, 30), 42);

    CTableWindowProperties copy;
    copy.CopyFrom(props);
    ASSERT_NE(nullptr, copy.GetFont());
    EXPECT_NE(props.GetFont(), copy.GetFont());
    LOGFONTA lf = {};
    ASSERT_EQ(static_cast<int>(sizeof lf), GetObjectA(copy.GetBoldFont(), sizeof lf, &lf));
    EXPECT_STREQ("DejaVu Serif", lf.lfFaceName);
    EXPECT_EQ(5, copy.GetHighlightSeconds());
    EXPECT_EQ(RGB(10, 20, 30), copy.GetCellBackColor(42));
    EXPECT_FALSE(copy.GetFocusFrame());             // the frame is the window's own
}

TEST(TableWindowProperties, SaveAndLoadGoThroughTheKeysOfTheLanguageFile)
{
    CTableWindowProperties props;
    props.SetFont(MakeFont(-13, "DejaVu Sans"));
    props.SetCellTextColor(RGB(200, 0, 0), 3);
    props.SetCellBackColor(RGB(0, 0, 200), 126);
    props.SetFaceColor(RGB(1, 1, 1));
    props.SetHighlightSeconds(7);
    props.SetFollowLastRow(FALSE);
    props.SetFocusFrame(TRUE);
    CMapIni ini;
    props.Save(&ini, nullptr);
    EXPECT_EQ("200,0,0", ini.m_values["CellText3"]);
    EXPECT_EQ("0,0,200", ini.m_values["CellBack126"]);
    EXPECT_EQ(0u, ini.m_values.count("CellText127"));
    EXPECT_EQ("7", ini.m_values["HighlightSeconds"]);
    EXPECT_EQ(5u + 2 * 127 + 4, ini.m_values.size());

    CTableWindowProperties loaded;
    loaded.Load(&ini, nullptr);
    EXPECT_EQ(RGB(200, 0, 0), Rgb(loaded.GetCellTextColor(3)));
    EXPECT_EQ(RGB(0, 0, 200), Rgb(loaded.GetCellBackColor(126)));
    EXPECT_EQ(RGB(1, 1, 1), Rgb(loaded.GetFaceColor()));
    EXPECT_EQ(7, loaded.GetHighlightSeconds());
    EXPECT_FALSE(loaded.GetFollowLastRow());
    EXPECT_TRUE(loaded.GetFocusFrame());
    LOGFONTA lf = {};
    ASSERT_EQ(static_cast<int>(sizeof lf), GetObjectA(loaded.GetFont(), sizeof lf, &lf));
    EXPECT_EQ(-13, lf.lfHeight);
    EXPECT_EQ(nullptr, loaded.GetBoldFont());

    // Missing keys keep what is held, the font handle included.
    CMapIni partial;
    partial.m_values["HighlightSeconds"] = "2";
    HFONT hHeld = loaded.GetFont();
    loaded.Load(&partial, nullptr);
    EXPECT_EQ(2, loaded.GetHighlightSeconds());
    EXPECT_EQ(hHeld, loaded.GetFont());
    EXPECT_EQ(OBJ_FONT, GetObjectType(hHeld));
    EXPECT_EQ(RGB(200, 0, 0), Rgb(loaded.GetCellTextColor(3)));
    loaded.Load(nullptr, nullptr);
    loaded.Save(nullptr, nullptr);
}
