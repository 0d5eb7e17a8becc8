// CIni: fonts kept as their logical font records in the font text.
#include "framework/base/Ini.h"

#include "platform/win/gdi/Gdi.h"

HFONT CIni::GetFont(const CTBString& strKey, HFONT hDefault)
{
    LOGFONTA lf = {};
    if (!ReadFontRecord(strKey, &lf))
        return hDefault;
    HFONT hFont = CreateFontIndirectA(&lf);
    return hFont ? hFont : hDefault;
}

BOOL CIni::WriteFont(const CTBString& strKey, HFONT hFont)
{
    if (hFont == nullptr)
        return WriteValue(strKey, "");
    LOGFONTA lf = {};
    if (GetObjectType(hFont) != OBJ_FONT || GetObjectA(hFont, sizeof(lf), &lf) != static_cast<int>(sizeof(lf))) {
        WriteValue(strKey, "");
        return FALSE;
    }
    return WriteFontRecord(strKey, lf);
}
