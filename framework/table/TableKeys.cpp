#include "framework/table/TableKeys.h"

CTBString TableKeyText(UINT uId)
{
    CTBString str;
    str.LoadAppString(uId);
    return str;
}

CTBString TableKey(UINT uId, int n)
{
    CTBString str;
    str.Format("%s%d", static_cast<const char*>(TableKeyText(uId)), n);
    return str;
}

CTBString TableKey(const CTBString& strPrefix, UINT uId)
{
    return strPrefix + TableKeyText(uId);
}

CTBString TableKey(const CTBString& strPrefix, UINT uId, int n)
{
    CTBString str;
    str.Format("%s%s%d", static_cast<const char*>(strPrefix), static_cast<const char*>(TableKeyText(uId)), n);
    return str;
}

CTBString TableSubKey(const CTBString& strKey, UINT uId)
{
    CTBString str;
    str.Format("%s_%s", static_cast<const char*>(strKey), static_cast<const char*>(TableKeyText(uId)));
    return str;
}

CTBString TableSubSection(const CTBString& strSection, UINT uId)
{
    return strSection + "." + TableKeyText(uId);
}
