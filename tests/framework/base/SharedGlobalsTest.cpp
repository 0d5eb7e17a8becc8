#include <gtest/gtest.h>

#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "framework/base/CompressedDateTime.h"
#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/ImageCodec.h"
#include "platform/win/gdi/PixelBuffer.h"
#include "platform/win/kernel/Resources.h"

namespace {
// Images by file name: the branding picture is 3 pixels wide, the language one 2.
class CFakeCodec : public ITbImageCodec
{
public:
    BOOL Load(LPCSTR pszPath, CTbPixelBuffer* pImage, CTbPixelBuffer*) override
    {
        int nWidth = strstr(pszPath, "brand.png") ? 3 : strstr(pszPath, "lang.png") ? 2 : 0;
        if (nWidth == 0)
            return FALSE;
        pImage->Create(nWidth, 1, FALSE, TB_PIXEL_WHITE);
        return TRUE;
    }
    BOOL SavePng(const CTbPixelBuffer&, LPCSTR) override { return FALSE; }
};

void WriteFile(const std::string& strPath, const char* pszText)
{
    FILE* pFile = fopen(strPath.c_str(), "w");
    ASSERT_NE(nullptr, pFile);
    fputs(pszText, pFile);
    fclose(pFile);
}

int BitmapWidth(HBITMAP hBitmap)
{
    BITMAP bm = {};
    return hBitmap && GetObjectA(hBitmap, sizeof(bm), &bm) ? static_cast<int>(bm.bmWidth) : 0;
}
}  // namespace

TEST(SharedGlobals, BrandingLibraryComesBeforeTheLanguageLibrary)
{
    char szDir[] = "/tmp/tbsharedXXXXXX";
    ASSERT_NE(nullptr, mkdtemp(szDir));
    const std::string strDir(szDir);
    WriteFile(strDir + "/lang_1252.rc", "STRINGTABLE\nBEGIN\n 500, \"language\"\n 501, \"language only\"\nEND\n"
                                        "300 BITMAP \"lang.png\"\n301 BITMAP \"lang.png\"\n");
    WriteFile(strDir + "/brand_1252.rc", "STRINGTABLE\nBEGIN\n 500, \"branding\"\nEND\n300 BITMAP \"brand.png\"\n");
    HMODULE hLanguage = LoadLibraryA((strDir + "/lang_1252.dll").c_str());
    ASSERT_NE(nullptr, hLanguage);
    HINSTANCE hOld = TbGetResourceModule();
    TbSetResourceModule(hLanguage);
    ITbImageCodec* pOldCodec = TbGetImageCodec();
    CFakeCodec codec;
    TbSetImageCodec(&codec);

    CSharedGlobals* pShared = GetSharedGlobals();
    EXPECT_EQ(pShared, GetSharedGlobals());
    EXPECT_EQ(nullptr, pShared->m_pInfoWindow);
    CString str;
    pShared->LoadString(str, 500);
    EXPECT_STREQ("language", str) << "no branding library yet";
    EXPECT_EQ(2, BitmapWidth(pShared->LoadBitmap(300)));

    pShared->m_hBranding = LoadLibraryA((strDir + "/brand_1252.dll").c_str());
    ASSERT_NE(nullptr, pShared->m_hBranding);
    pShared->LoadString(str, 500);
    EXPECT_STREQ("branding", str);
    pShared->LoadString(str, 501);
    EXPECT_STREQ("language only", str);
    pShared->LoadString(str, 502);
    EXPECT_STREQ("", str);
    pShared->LoadString(str, 0);
    EXPECT_STREQ("", str);
    EXPECT_EQ(3, BitmapWidth(pShared->LoadBitmap(300)));
    EXPECT_EQ(2, BitmapWidth(pShared->LoadBitmap(301)));
    EXPECT_EQ(nullptr, pShared->LoadBitmap(302));
    EXPECT_EQ(nullptr, pShared->LoadBitmap(0));
    EXPECT_EQ(nullptr, pShared->LoadIcon(0));

    CString strName;
    pShared->GetProductName(strName);
    EXPECT_STREQ("NORV", strName);
    EXPECT_EQ(9, pShared->m_nExportSeparator);
    EXPECT_TRUE(pShared->m_bTableCommands);

    // The language object lives as long as the shared services, and returns texts as they are.
    CLanguage* pLanguage = GetLanguage();
    EXPECT_EQ(pLanguage, GetLanguage());
    EXPECT_EQ(1, pLanguage->GetDirection());
    EXPECT_STREQ("Quotes", pLanguage->Translate("Quotes"));
    DeleteSharedSingletons();   // frees the branding library too
    EXPECT_EQ(nullptr, GetSharedGlobals()->m_hBranding) << "a fresh object after the exit clean-up";
    DeleteSharedSingletons();

    TbSetImageCodec(pOldCodec);
    TbSetResourceModule(hOld);
    FreeLibrary(hLanguage);
}

TEST(SharedGlobals, ClockTextRunsPastMidnightWithTheOffset)
{
    EXPECT_STREQ("24:30:00", CSharedGlobals::FormatClock(23 * 3600 + 30 * 60, 3600));
    EXPECT_STREQ("09:05:07", CSharedGlobals::FormatClock(9 * 3600 + 5 * 60 + 7, 0));
    EXPECT_STREQ("08:00:00", CSharedGlobals::FormatClock(9 * 3600, -3600));
    CString strNow;
    GetSharedGlobals()->GetTimeText(strNow);
    EXPECT_EQ(8, strNow.GetLength());
    EXPECT_EQ(':', strNow[2]);
    DeleteSharedSingletons();
}

TEST(CompressedDateTime, ReadsDateAndTimeAndRefusesOtherLengths)
{
    CCompressedDateTime dt;
    EXPECT_EQ(0, dt.Parse("S15"));
    EXPECT_EQ(2005, dt.GetDate().GetYear());
    EXPECT_EQ(1, dt.GetDate().GetMonth());
    EXPECT_EQ(5, dt.GetDate().GetDay());

    EXPECT_EQ(0, dt.Parse("f<9;09"));               // 2024-12-09 11:00:09
    EXPECT_EQ(2024, dt.GetDate().GetYear());
    EXPECT_EQ(12, dt.GetDate().GetMonth());
    EXPECT_EQ(110009, dt.GetTime().GetPacked());

    // Two characters have no seconds to read: refused, nothing changes.
    EXPECT_NE(0, dt.Parse("f<"));
    EXPECT_NE(0, dt.Parse(""));
    EXPECT_NE(0, dt.Parse(nullptr));
    EXPECT_NE(0, dt.Parse("f<9;0"));
    EXPECT_EQ(2024, dt.GetDate().GetYear());
    EXPECT_EQ(110009, dt.GetTime().GetPacked());

    EXPECT_NE(0, dt.Parse("S=5")) << "month 13";
    const char szLate[] = {static_cast<char>(0x80), '1', '1', '\0'};
    EXPECT_EQ(0, dt.Parse(szLate));
    EXPECT_EQ(2050, dt.GetDate().GetYear()) << "the year byte counts on past 127";
}
