#include "framework/base/TempFiles.h"

#include "platform/win/kernel/Kernel.h"

CTBString GetTempDirectory()
{
    char szPath[MAX_PATH] = "";
    DWORD nLength = GetTempPathA(MAX_PATH, szPath);
    if (nLength == 0 || nLength >= MAX_PATH)
        return CTBString();
    return CTBString(szPath);
}

CTBString MakeTempFileName(const char* pszPrefix)
{
    CTBString strDir = GetTempDirectory();
    if (strDir.GetLength() == 0)
        return CTBString();
    char szFile[MAX_PATH] = "";
    if (GetTempFileNameA(strDir, pszPrefix ? pszPrefix : "", 0, szFile) == 0)
        return CTBString();
    szFile[MAX_PATH - 1] = '\0';
    return CTBString(szFile);
}
