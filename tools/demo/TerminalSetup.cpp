#include "tools/demo/TerminalSetup.h"

#include <sys/stat.h>
#include <fstream>
#include "app/ZorvatApp.h"
#include "platform/win/kernel/Registry.h"
#include "platform/win/kernel/Resources.h"

namespace {

std::string ModuleText(const char* pszModule, UINT nId)
{
    HMODULE hModule = LoadLibraryA(pszModule);
    char szText[256] = "";
    if (hModule != nullptr) {
        LoadStringA(hModule, nId, szText, sizeof szText);
        FreeLibrary(hModule);
    }
    return szText;
}

}  // namespace

void MakeFolder(const std::string& strPath)
{
    for (size_t i = 1; i <= strPath.size(); ++i)
        if (i == strPath.size() || strPath[i] == '/')
            mkdir(strPath.substr(0, i).c_str(), 0755);
}

std::string AppText(bool bArabic, UINT nId)
{
    const std::string strBranding = ModuleText(bArabic ? "branding_1256.dll" : "branding_1252.dll", nId);
    return !strBranding.empty() ? strBranding : ModuleText(bArabic ? "_1256.dll" : "_1252.dll", nId);
}

BOOL WriteLinkSettings(const std::string& strFolder, bool bArabic, int nPort)
{
    const std::string strName = AppText(bArabic, IDS_LINK_SETTINGS_FILE);
    if (strName.empty())
        return FALSE;
    MakeFolder(strFolder);
    std::ofstream out(strFolder + "/" + strName);
    out << "[Communication]\nConnection type=1\nIP-Server=127.0.0.1\nIP-Port=" << nPort << "\nUseUDP=0\n";
    return out ? TRUE : FALSE;
}

void WriteLanguageChoice(bool bArabic)
{
    std::string strBrand = ModuleText("branding_1252.dll", 40372);
    if (strBrand.empty())
        strBrand = "ZORVATOnLine";
    const std::string strKey = "Software\\" + strBrand + "\\Quelmor Pro\\Settings";
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, strKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &hKey, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD dwValue = bArabic ? 1 : 0;
    RegSetValueExA(hKey, "Arabic", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof dwValue);
    RegCloseKey(hKey);
}
