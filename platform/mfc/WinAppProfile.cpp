// The application's profile: the registry after SetRegistryKey, the INI file m_pszProfileName
// before. In an INI file a binary value is two letters per byte, 'A' + the low half then 'A' +
// the high half, as the original writes them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/mfc/WinApp.h"
#include "platform/win/kernel/Profile.h"

namespace {
// The original's buffer for a profile string.
const DWORD PROFILE_TEXT_MAX = 4096;

// Reads a value of the key into data; FALSE when it is missing or too big.
bool QueryValue(HKEY hKey, LPCSTR pszEntry, DWORD& dwType, std::vector<BYTE>& data)
{
    DWORD cb = 0;
    if (RegQueryValueExA(hKey, pszEntry, nullptr, &dwType, nullptr, &cb) != ERROR_SUCCESS)
        return false;
    data.resize(cb);
    if (cb == 0)
        return true;
    return RegQueryValueExA(hKey, pszEntry, nullptr, &dwType, data.data(), &cb) == ERROR_SUCCESS && cb == data.size();
}

// Runs fn on the section's key and closes it; fallback when the key cannot be had.
template <class T, class FN>
T WithSectionKey(CWinApp* pApp, LPCSTR pszSection, T fallback, FN fn)
{
    HKEY hSection = pApp->GetSectionKey(pszSection);
    if (hSection == nullptr)
        return fallback;
    T result = fn(hSection);
    RegCloseKey(hSection);
    return result;
}

int HexLetter(char ch)
{
    return (ch >= 'A' && ch <= 'P') ? ch - 'A' : -1;
}
}  // namespace

void CWinApp::SetRegistryKey(LPCSTR pszRegistryKey)
{
    if (pszRegistryKey == nullptr || *pszRegistryKey == '\0')
        return;
    Replace(m_pszRegistryKey, pszRegistryKey);
    Replace(m_pszProfileName, m_pszAppName);
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString strKey;
    if (strKey.LoadString(nIDRegistryKey))
        SetRegistryKey(strKey.GetString());
}

HKEY CWinApp::GetAppRegistryKey()
{
    if (m_pszRegistryKey == nullptr || m_pszProfileName == nullptr || *m_pszProfileName == '\0')
        return nullptr;
    HKEY hSoftware = nullptr, hCompany = nullptr, hApp = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftware) == ERROR_SUCCESS) {
        DWORD dw = 0;
        if (RegCreateKeyExA(hSoftware, m_pszRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                            nullptr, &hCompany, &dw) == ERROR_SUCCESS) {
            RegCreateKeyExA(hCompany, m_pszProfileName, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                            nullptr, &hApp, &dw);
        }
    }
    if (hSoftware != nullptr)
        RegCloseKey(hSoftware);
    if (hCompany != nullptr)
        RegCloseKey(hCompany);
    return hApp;
}

HKEY CWinApp::GetSectionKey(LPCSTR pszSection)
{
    if (pszSection == nullptr || *pszSection == '\0')
        return nullptr;
    HKEY hApp = GetAppRegistryKey();
    if (hApp == nullptr)
        return nullptr;
    HKEY hSection = nullptr;
    DWORD dw = 0;
    RegCreateKeyExA(hApp, pszSection, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &hSection, &dw);
    RegCloseKey(hApp);
    return hSection;
}

UINT CWinApp::GetProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nDefault)
{
    if (pszSection == nullptr || pszEntry == nullptr)
        return static_cast<UINT>(nDefault);
    if (m_pszRegistryKey == nullptr)
        return ::GetPrivateProfileIntA(pszSection, pszEntry, nDefault, m_pszProfileName);
    // Anything but a 4-byte number reads as the default.
    return WithSectionKey(this, pszSection, static_cast<UINT>(nDefault), [&](HKEY hKey) {
        DWORD dwType = 0;
        std::vector<BYTE> data;
        if (!QueryValue(hKey, pszEntry, dwType, data) || dwType != REG_DWORD || data.size() != sizeof(DWORD))
            return static_cast<UINT>(nDefault);
        DWORD dwValue = 0;
        std::memcpy(&dwValue, data.data(), sizeof dwValue);
        return static_cast<UINT>(dwValue);
    });
}

BOOL CWinApp::WriteProfileInt(LPCSTR pszSection, LPCSTR pszEntry, int nValue)
{
    if (pszSection == nullptr || pszEntry == nullptr)
        return FALSE;
    if (m_pszRegistryKey == nullptr) {
        char szValue[16];
        std::snprintf(szValue, sizeof szValue, "%d", nValue);
        return ::WritePrivateProfileStringA(pszSection, pszEntry, szValue, m_pszProfileName);
    }
    return WithSectionKey(this, pszSection, FALSE, [&](HKEY hKey) {
        const DWORD dwValue = static_cast<DWORD>(nValue);
        return static_cast<BOOL>(RegSetValueExA(hKey, pszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue),
                                                sizeof dwValue) == ERROR_SUCCESS);
    });
}

CString CWinApp::GetProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszDefault)
{
    const CString strDefault(pszDefault ? pszDefault : "");
    if (pszSection == nullptr || pszEntry == nullptr)
        return strDefault;
    if (m_pszRegistryKey == nullptr) {
        std::vector<char> buffer(PROFILE_TEXT_MAX);
        ::GetPrivateProfileStringA(pszSection, pszEntry, strDefault, buffer.data(), PROFILE_TEXT_MAX, m_pszProfileName);
        return CString(buffer.data());
    }
    // A text value ends at its first zero; a value of another type reads as the default.
    return WithSectionKey(this, pszSection, strDefault, [&](HKEY hKey) {
        DWORD dwType = 0;
        std::vector<BYTE> data;
        if (!QueryValue(hKey, pszEntry, dwType, data) || (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
            return strDefault;
        const std::string strValue(data.begin(), data.end());
        return CString(strValue.substr(0, strValue.find('\0')).c_str());
    });
}

BOOL CWinApp::WriteProfileString(LPCSTR pszSection, LPCSTR pszEntry, LPCSTR pszValue)
{
    if (pszSection == nullptr)
        return FALSE;
    if (m_pszRegistryKey == nullptr)
        return ::WritePrivateProfileStringA(pszSection, pszEntry, pszValue, m_pszProfileName);
    if (pszEntry == nullptr)
        return FALSE;           // whole sections are not removed from the registry here
    return WithSectionKey(this, pszSection, FALSE, [&](HKEY hKey) {
        if (pszValue == nullptr)
            return static_cast<BOOL>(RegDeleteValueA(hKey, pszEntry) == ERROR_SUCCESS);
        return static_cast<BOOL>(RegSetValueExA(hKey, pszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(pszValue),
                                                static_cast<DWORD>(std::strlen(pszValue) + 1)) == ERROR_SUCCESS);
    });
}

BOOL CWinApp::GetProfileBinary(LPCSTR pszSection, LPCSTR pszEntry, LPBYTE* ppData, UINT* pBytes)
{
    if (ppData == nullptr || pBytes == nullptr)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    if (pszSection == nullptr || pszEntry == nullptr)
        return FALSE;
    std::vector<BYTE> data;
    if (m_pszRegistryKey == nullptr) {
        const CString strText = GetProfileString(pszSection, pszEntry, nullptr);
        if (strText.IsEmpty() || strText.GetLength() % 2 != 0)
            return FALSE;
        for (int i = 0; i < strText.GetLength(); i += 2) {
            const int nLow = HexLetter(strText[i]), nHigh = HexLetter(strText[i + 1]);
            if (nLow < 0 || nHigh < 0)
                return FALSE;
            data.push_back(static_cast<BYTE>(nHigh << 4 | nLow));
        }
    } else {
        const BOOL bFound = WithSectionKey(this, pszSection, FALSE, [&](HKEY hKey) {
            DWORD dwType = 0;
            return static_cast<BOOL>(QueryValue(hKey, pszEntry, dwType, data) && dwType == REG_BINARY);
        });
        if (!bFound)
            return FALSE;
    }
    *ppData = new BYTE[data.empty() ? 1 : data.size()];
    if (!data.empty())
        std::memcpy(*ppData, data.data(), data.size());
    *pBytes = static_cast<UINT>(data.size());
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR pszSection, LPCSTR pszEntry, LPBYTE pData, UINT nBytes)
{
    if (pszSection == nullptr || pszEntry == nullptr || (pData == nullptr && nBytes != 0))
        return FALSE;
    if (m_pszRegistryKey == nullptr) {
        std::string strText;
        for (UINT i = 0; i < nBytes; ++i) {
            strText += static_cast<char>('A' + (pData[i] & 0x0F));
            strText += static_cast<char>('A' + (pData[i] >> 4));
        }
        return WriteProfileString(pszSection, pszEntry, strText.c_str());
    }
    return WithSectionKey(this, pszSection, FALSE, [&](HKEY hKey) {
        return static_cast<BOOL>(RegSetValueExA(hKey, pszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS);
    });
}
