#include "framework/base/Ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include <unistd.h>

#include "platform/win/kernel/Resources.h"

namespace {

// A colour as GetColor answers it: palette-relative.
COLORREF PaletteRgb(int r, int g, int b) { return 0x02000000 | RGB(r, g, b); }

// The typed accessors over a plain map of "section/key" to text, so that what they store can
// be read back as text and a store that refuses writes can be played.
class CMapIni : public CIni
{
public:
    CMapIni() : CIni("unused.ini", "Sec") {}
    std::map<std::string, std::string> values;
    bool bRefuse = false;

    DWORD ReadProfileString(LPCSTR pszSec, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cch, LPCSTR) override
    {
        auto it = values.find(std::string(pszSec) + "/" + pszKey);
        return static_cast<DWORD>(snprintf(pszOut, cch, "%s", it != values.end() ? it->second.c_str() : pszDefault));
    }
    int ReadProfileInt(LPCSTR pszSec, LPCSTR pszKey, int nDefault, LPCSTR) override
    {
        auto it = values.find(std::string(pszSec) + "/" + pszKey);
        return it != values.end() ? atoi(it->second.c_str()) : nDefault;
    }
    BOOL WriteProfileString(LPCSTR pszSec, LPCSTR pszKey, LPCSTR pszValue, LPCSTR) override
    {
        if (!bRefuse)
            values[std::string(pszSec) + "/" + pszKey] = pszValue;
        return !bRefuse;
    }
    void Put(const std::string& strKey, const std::string& strValue) { values["Sec/" + strKey] = strValue; }
    std::string Stored(const std::string& strKey) const
    {
        auto it = values.find("Sec/" + strKey);
        return it != values.end() ? it->second : "<missing>";
    }
};

// A device mode record with room for driver bytes and a guard behind them.
struct DevModeBuffer {
    DEVMODEA dm;
    BYTE extra[24];
    BYTE guard[64];
};

} // namespace

TEST(Ini, ValueKinds)
{
    CMapIni ini;
    EXPECT_TRUE(ini.WriteInt("Count", -42));
    EXPECT_TRUE(ini.WriteLong("Big", -2147483647 - 1));
    EXPECT_TRUE(ini.WriteString("Text", "first\nsecond"));
    EXPECT_TRUE(ini.WriteBool("On", TRUE));
    EXPECT_TRUE(ini.WriteColor("Back", PaletteRgb(1, 2, 3)));
    EXPECT_EQ("-42|-2147483648|first\\nsecond|Yes|1,2,3", ini.Stored("Count") + "|" + ini.Stored("Big") + "|" +
              ini.Stored("Text") + "|" + ini.Stored("On") + "|" + ini.Stored("Back"));
    EXPECT_EQ(-42, ini.GetInt("Count", 7));
    EXPECT_EQ(-2147483647 - 1, ini.GetLong("Big", 0));
    EXPECT_EQ("first\nsecond", std::string(ini.GetString("Text")));
    EXPECT_EQ(PaletteRgb(1, 2, 3), ini.GetColor("Back", RGB(9, 9, 9)));
    EXPECT_EQ("dflt", std::string(ini.GetString("Missing", "dflt")));
    EXPECT_EQ(7, ini.GetInt("Missing", 7));
    EXPECT_TRUE(ini.GetBool("Missing", TRUE));
    EXPECT_EQ(PaletteRgb(9, 9, 9), ini.GetColor("Missing", RGB(9, 9, 9))) << "the default, palette-relative";

    // Stored texts as a hand-edited file may hold them.
    ini.Put("Long", std::string(400, 'w'));
    EXPECT_EQ(std::string(255, 'w'), std::string(ini.GetString("Long")));
    for (const auto& [pszStored, nLong] : {std::pair{"+12", 12}, {"12a", 99}, {"", 0}, {" 12", 99},
                                           {"99999999999", 2147483647}}) {
        ini.Put("L", pszStored);
        EXPECT_EQ(nLong, ini.GetLong("L", 99)) << "'" << pszStored << "'";
    }
    for (const auto& [pszStored, bFlag] : {std::pair{"yes", TRUE}, {"Ja", TRUE}, {"1", TRUE}, {"jein", TRUE},
                                           {"No", FALSE}, {"true", FALSE}, {"", FALSE}, {" Yes", FALSE}}) {
        ini.Put("F", pszStored);
        EXPECT_EQ(bFlag, ini.GetBool("F", !bFlag)) << "'" << pszStored << "'";
    }
    ini.Put("C", " 0, 128,255");
    EXPECT_EQ(PaletteRgb(0, 128, 255), ini.GetColor("C", RGB(9, 9, 9)));
    for (const char* psz : {"256,0,0", "12,34", "-1,0,0", "1 ,2,3", "a,b,c", "99999999999,0,0", ""}) {
        ini.Put("C", psz);
        EXPECT_EQ(RGB(9, 9, 9), ini.GetColor("C", RGB(9, 9, 9))) << psz;
    }

    // Every write tells when the store refused the value.
    ini.bRefuse = true;
    DEVMODEA dm = {};
    dm.dmSize = sizeof(dm);
    EXPECT_FALSE(ini.WriteInt("K", 1) || ini.WriteLong("K", 1) || ini.WriteString("K", "x") ||
                 ini.WriteBool("K", TRUE) || ini.WriteColor("K", 0) || ini.WriteFontRecord("K", LOGFONTA{}) ||
                 ini.WriteDevMode("K", &dm));
    EXPECT_EQ("<missing>", ini.Stored("K"));
}

TEST(Ini, FontRecords)
{
    CMapIni ini;
    LOGFONTA lf = {-13, 0, 0, 0, 700, 1, 0, 0, 178, 0, 0, 0, 34, "Tahoma"};
    EXPECT_TRUE(ini.WriteFontRecord("Font", lf));
    EXPECT_EQ("Tahoma,-13,0,0,0,700,1,0,0,178,0,0,0,34", ini.Stored("Font"));
    LOGFONTA back = {};
    ASSERT_TRUE(ini.ReadFontRecord("Font", &back));
    EXPECT_EQ(0, memcmp(&lf, &back, sizeof(lf)));

    // Incomplete or blank texts leave the record as it was.
    for (const char* psz : {"Arial,1,2,3,4,5", "   ", "Arial,1,2,3,4,5,6,7,8,9,10,11,12"}) {
        ini.Put("F", psz);
        LOGFONTA out = lf;
        EXPECT_FALSE(ini.ReadFontRecord("F", &out)) << psz;
        EXPECT_EQ(0, memcmp(&lf, &out, sizeof(out))) << psz;
    }
    // A face name too long for the record is cut to 31 characters.
    ini.Put("F", std::string(40, 'f') + ",1,2,3,4,5,6,7,8,9,10,11,12,300");
    ASSERT_TRUE(ini.ReadFontRecord("F", &back));
    EXPECT_EQ(std::string(31, 'f'), back.lfFaceName);
    EXPECT_EQ(300 & 0xff, back.lfPitchAndFamily);
}

TEST(Ini, DeviceModesInNumberedKeys)
{
    CMapIni ini;
    DevModeBuffer in = {};
    BYTE* pIn = reinterpret_cast<BYTE*>(&in);
    for (int i = 0; i < 148 + 10; ++i)
        pIn[i] = static_cast<BYTE>(i * 7 + 1);
    in.dm.dmSize = 148;
    in.dm.dmDriverExtra = 10;
    EXPECT_TRUE(ini.WriteDevMode("Dev", &in.dm));
    EXPECT_EQ("80 80 80 56 <missing> 20", std::to_string(ini.Stored("Dev.0").size()) + " " +
              std::to_string(ini.Stored("Dev.1").size()) + " " + std::to_string(ini.Stored("Dev.2").size()) +
              " " + std::to_string(ini.Stored("Dev.3").size()) + " " + ini.Stored("Dev.4") + " " +
              std::to_string(ini.Stored("Dev.x0").size()));
    EXPECT_EQ("01080f161d", ini.Stored("Dev.0").substr(0, 10));

    DevModeBuffer out = {};
    out.dm.dmSize = 148;
    out.dm.dmDriverExtra = 10;
    EXPECT_TRUE(ini.GetDevMode("Dev", &out.dm));
    EXPECT_EQ(0, memcmp(&in, &out, 148 + 10));
    // Driver bytes of another size than the caller's are left alone.
    DevModeBuffer other = {};
    other.dm.dmSize = 148;
    other.dm.dmDriverExtra = 4;
    ini.GetDevMode("Dev", &other.dm);
    EXPECT_EQ(4, other.dm.dmDriverExtra);
    EXPECT_EQ(0, other.extra[0]);

    // A shorter one blanks the keys it no longer uses; null blanks them all.
    in.dm.dmSize = 60;
    in.dm.dmDriverExtra = 0;
    EXPECT_TRUE(ini.WriteDevMode("Dev", &in.dm));
    EXPECT_EQ("40||", std::to_string(ini.Stored("Dev.1").size()) + "|" + ini.Stored("Dev.2") + "|" +
              ini.Stored("Dev.x0"));
    EXPECT_TRUE(ini.WriteDevMode("Dev", nullptr));
    EXPECT_FALSE(ini.GetDevMode("Dev", &out.dm));

    // Stored bytes that claim a far larger record, and more driver bytes than fit: the
    // caller's sizes bound every write.
    std::string strHex;
    for (int i = 0; i < 40; ++i)
        strHex += i == 36 ? "ff" : i == 37 ? "7f" : i == 38 ? "18" : i == 39 ? "00" : "ab";
    for (int n = 0; n < 40; ++n) {
        ini.Put("Dev." + std::to_string(n), strHex);
        ini.Put("Dev.x" + std::to_string(n), std::string(80, 'c'));
    }
    DevModeBuffer buf = {};
    memset(buf.guard, 0x5a, sizeof(buf.guard));
    buf.dm.dmSize = sizeof(DEVMODEA);
    buf.dm.dmDriverExtra = 24;
    ini.GetDevMode("Dev", &buf.dm);
    EXPECT_EQ(sizeof(DEVMODEA), buf.dm.dmSize);
    EXPECT_EQ(0xcc, buf.extra[23]);
    for (BYTE b : buf.guard)
        ASSERT_EQ(0x5a, b);
    EXPECT_EQ(0xa0, HexPairToByte("A0"));
    EXPECT_EQ(0x10, HexPairToByte("1g")) << "what is no hex digit counts as 0";
}

TEST(Ini, KeysByStringId)
{
    TbAddResourcePath(TB_SOURCE_DIR "/resources");
    HMODULE hModule = LoadLibraryA("_1252.dll");
    ASSERT_NE(nullptr, hModule);
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hModule);

    CMapIni ini;
    EXPECT_TRUE(ini.WriteInt(28000u, 5));
    EXPECT_EQ("5", ini.Stored("Name"));
    EXPECT_EQ(5, ini.GetInt(28000u, 0));
    EXPECT_TRUE(ini.WriteBool(28605u, TRUE));
    EXPECT_TRUE(ini.GetBool(CTBString("Font"), FALSE));
    // An id without a string is the empty key.
    EXPECT_TRUE(ini.WriteString(65000u, "x"));
    EXPECT_EQ("x", ini.values["Sec/"]);

    TbSetResourceModule(hOld);
    FreeLibrary(hModule);
}

TEST(Ini, PrivateProfileFiles)
{
    char szDir[] = "/tmp/tb-iniXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strPath = std::string(szDir) + "/prefs.ini";
    CIni ini(strPath.c_str(), "Print");
    EXPECT_TRUE(ini.WriteInt("Copies", 3));
    EXPECT_TRUE(ini.WriteString("Header", "Title\nDate"));
    EXPECT_TRUE(ini.WriteColor("Ink", RGB(10, 20, 30)));
    EXPECT_EQ(3, ini.GetInt("copies", 0)) << "profile keys ignore case";
    EXPECT_EQ("Title\nDate", std::string(ini.GetString("Header")));
    EXPECT_EQ(PaletteRgb(10, 20, 30), ini.GetColor("Ink", 0));
    ini.SetSection("Other");
    EXPECT_EQ(-1, ini.GetInt("Copies", -1));

    // A file below a regular file cannot be written, and the writes say so.
    CIni blocked((strPath + "/below.ini").c_str(), "S");
    EXPECT_FALSE(blocked.WriteInt("K", 1));
    EXPECT_FALSE(blocked.WriteString("K", "v"));
    EXPECT_EQ(9, blocked.GetInt("K", 9));

    unlink(strPath.c_str());
    rmdir(szDir);
}
