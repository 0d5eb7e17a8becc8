// The registry on per-user text files. A file holds the keys of one brand:
//     TBREGISTRY 1
//     [Software\Brand\App\Settings]
//     Arabic=4:01000000
// A value line is its name, '=', its type in decimal, ':' and its bytes in hex; names escape
// '%', '=', '[', ']' and control bytes as %XX. Lines that do not read are skipped, so a damaged
// or cut file gives what it still holds, and the next write leaves a clean file.
#include "platform/win/kernel/Registry.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/win/kernel/Kernel.h"

struct TbRegKey {
    std::string strFolder;      // the brand's folder; empty for a key above the brands
    std::vector<std::string> path;
    REGSAM sam = 0;
};

namespace {
const size_t MAX_NAME = 255;                    // a key name's part, as the original allows
const size_t MAX_VALUE_NAME = 16383;
const size_t MAX_DATA = 1 << 20;
const size_t MAX_FILE = 16u << 20;              // beyond this a file is not ours: read no further
const char* const FILE_HEADER = "TBREGISTRY 1";

struct RegValue {
    std::string strName;
    DWORD dwType = REG_NONE;
    std::string data;
};

struct RegKeyData {
    std::vector<std::string> path;
    std::vector<RegValue> values;
};

typedef std::vector<RegKeyData> RegFile;

std::mutex s_mutex;                             // the handle list; the serial thread may read settings
std::vector<std::unique_ptr<TbRegKey>> s_keys;

bool SameNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb)
            return false;
    }
    return true;
}

bool SamePath(const std::vector<std::string>& a, const std::vector<std::string>& b, size_t nCount)
{
    if (a.size() < nCount || b.size() < nCount)
        return false;
    for (size_t i = 0; i < nCount; ++i)
        if (!SameNoCase(a[i], b[i]))
            return false;
    return true;
}

// "a\b\c" into its parts; one trailing backslash is allowed. FALSE for an empty part or one too long.
bool SplitKeyName(const char* pszName, std::vector<std::string>& parts)
{
    if (!pszName || !*pszName)
        return true;
    std::string strName(pszName);
    if (strName.back() == '\\')
        strName.pop_back();
    size_t nStart = 0;
    for (;;) {
        const size_t nEnd = strName.find('\\', nStart);
        std::string strPart = strName.substr(nStart, nEnd == std::string::npos ? std::string::npos : nEnd - nStart);
        if (strPart.empty() || strPart.size() > MAX_NAME)
            return false;
        parts.push_back(std::move(strPart));
        if (nEnd == std::string::npos)
            return true;
        nStart = nEnd + 1;
    }
}

// The brand a key belongs to: the part after "Software", or the first part of any other key.
// Empty for keys above that level; FALSE for a name that cannot be a folder.
bool FolderOfPath(const std::vector<std::string>& path, std::string& strFolder)
{
    strFolder.clear();
    const bool bSoftware = !path.empty() && SameNoCase(path[0], "Software");
    const size_t nLevel = bSoftware ? 1 : 0;
    if (path.size() <= nLevel)
        return true;
    strFolder = path[nLevel];
    for (char& ch : strFolder)
        if (ch == '/')
            ch = '_';
    return strFolder != "." && strFolder != "..";
}

std::string ConfigHome()
{
    if (const char* psz = std::getenv("XDG_CONFIG_HOME"); psz && psz[0] == '/')
        return psz;
    const char* pszHome = std::getenv("HOME");
    if (!pszHome || !*pszHome) {
        const passwd* pw = getpwuid(getuid());
        pszHome = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(pszHome) + "/.config";
}

// The brand's folder. Key names compare without case, so "Software\BRAND" finds the folder
// "Brand" made before; a new brand's folder takes the name as first written.
std::string FolderPath(const std::string& strFolder)
{
    const std::string strHome = ConfigHome();
    struct stat st {};
    if (stat((strHome + "/" + strFolder).c_str(), &st) != 0) {
        if (DIR* pDir = opendir(strHome.c_str())) {
            std::string strFound;
            while (const dirent* pEntry = readdir(pDir)) {
                if (strcasecmp(pEntry->d_name, strFolder.c_str()) == 0) {
                    strFound = pEntry->d_name;
                    break;
                }
            }
            closedir(pDir);
            if (!strFound.empty())
                return strHome + "/" + strFound;
        }
    }
    return strHome + "/" + strFolder;
}

// ---- the file's text ----

std::string EscapeName(const std::string& str)
{
    std::string strOut;
    for (unsigned char ch : str) {
        if (ch < 0x20 || ch == 0x7F || ch == '%' || ch == '=' || ch == '[' || ch == ']') {
            char sz[4];
            std::snprintf(sz, sizeof sz, "%%%02X", ch);
            strOut += sz;
        } else {
            strOut += static_cast<char>(ch);
        }
    }
    return strOut;
}

int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    return -1;
}

bool UnescapeName(const std::string& str, std::string& strOut)
{
    strOut.clear();
    for (size_t i = 0; i < str.size(); ++i) {
        if (str[i] != '%') {
            strOut += str[i];
            continue;
        }
        if (i + 2 >= str.size())
            return false;
        const int nHigh = HexDigit(str[i + 1]), nLow = HexDigit(str[i + 2]);
        if (nHigh < 0 || nLow < 0)
            return false;
        strOut += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
    }
    return true;
}

bool ReadHex(const char* p, size_t n, std::string& data)
{
    if (n % 2 != 0 || n / 2 > MAX_DATA)
        return false;
    data.resize(n / 2);
    for (size_t i = 0; i < n; i += 2) {
        const int nHigh = HexDigit(p[i]), nLow = HexDigit(p[i + 1]);
        if (nHigh < 0 || nLow < 0)
            return false;
        data[i / 2] = static_cast<char>(nHigh * 16 + nLow);
    }
    return true;
}

RegKeyData* FindKey(RegFile& file, const std::vector<std::string>& path)
{
    for (RegKeyData& key : file)
        if (key.path.size() == path.size() && SamePath(key.path, path, path.size()))
            return &key;
    return nullptr;
}

RegValue* FindValue(RegKeyData& key, const std::string& strName)
{
    for (RegValue& value : key.values)
        if (SameNoCase(value.strName, strName))
            return &value;
    return nullptr;
}

// A key line "[a\b]" or a value line "name=4:01000000"; anything else is skipped.
void ParseLine(const std::string& strLine, RegFile& file, RegKeyData*& pKey)
{
    if (strLine.size() >= 2 && strLine.front() == '[' && strLine.back() == ']') {
        std::string strPath;
        std::vector<std::string> path;
        pKey = nullptr;
        if (!UnescapeName(strLine.substr(1, strLine.size() - 2), strPath) || strPath.find('\0') != std::string::npos ||
            !SplitKeyName(strPath.c_str(), path) || path.empty())
            return;
        pKey = FindKey(file, path);     // a key given twice gathers its values in the first
        if (!pKey) {
            file.push_back(RegKeyData{std::move(path), {}});
            pKey = &file.back();
        }
        return;
    }
    const size_t nEq = strLine.find('=');
    if (!pKey || nEq == std::string::npos)
        return;
    const size_t nColon = strLine.find(':', nEq);
    if (nColon == std::string::npos || nColon == nEq + 1 || nColon - nEq > 11)
        return;
    RegValue value;
    unsigned long long ullType = 0;
    for (size_t i = nEq + 1; i < nColon; ++i) {
        if (strLine[i] < '0' || strLine[i] > '9')
            return;
        ullType = ullType * 10 + static_cast<unsigned>(strLine[i] - '0');
    }
    if (ullType > 0xFFFFFFFFULL || !UnescapeName(strLine.substr(0, nEq), value.strName) ||
        value.strName.size() > MAX_VALUE_NAME || value.strName.find('\0') != std::string::npos ||
        !ReadHex(strLine.data() + nColon + 1, strLine.size() - nColon - 1, value.data))
        return;
    value.dwType = static_cast<DWORD>(ullType);
    if (!FindValue(*pKey, value.strName))       // the first of a name wins
        pKey->values.push_back(std::move(value));
}

RegFile ParseFile(const std::string& strText)
{
    RegFile file;
    file.reserve(16);
    RegKeyData* pKey = nullptr;
    size_t nStart = 0;
    while (nStart < strText.size()) {
        size_t nEnd = strText.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        std::string strLine = strText.substr(nStart, nEnd - nStart);
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        const size_t nKeys = file.size();
        ParseLine(strLine, file, pKey);
        // A new key may have moved the vector: find the current one again.
        if (file.size() != nKeys && pKey)
            pKey = &file.back();
        nStart = nEnd + 1;
    }
    return file;
}

std::string FormatFile(const RegFile& file)
{
    static const char s_hex[] = "0123456789ABCDEF";
    std::string strText = FILE_HEADER;
    strText += '\n';
    for (const RegKeyData& key : file) {
        std::string strPath;
        for (const std::string& strPart : key.path)
            strPath += (strPath.empty() ? "" : "\\") + strPart;
        strText += "[" + EscapeName(strPath) + "]\n";
        for (const RegValue& value : key.values) {
            strText += EscapeName(value.strName) + "=" + std::to_string(value.dwType) + ":";
            for (unsigned char ch : value.data) {
                strText += s_hex[ch >> 4];
                strText += s_hex[ch & 15];
            }
            strText += '\n';
        }
    }
    return strText;
}

RegFile ReadFile(const std::string& strFolder)
{
    const int fd = open((FolderPath(strFolder) + "/registry").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return RegFile();
    std::string strText;
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        strText.append(buffer, static_cast<size_t>(n));
        if (strText.size() >= MAX_FILE)
            break;
    }
    close(fd);
    return ParseFile(strText);
}

bool WriteAll(int fd, const std::string& str)
{
    size_t nDone = 0;
    while (nDone < str.size()) {
        const ssize_t n = write(fd, str.data() + nDone, str.size() - nDone);
        if (n <= 0)
            return false;
        nDone += static_cast<size_t>(n);
    }
    return true;
}

// The new file goes beside the old under a temporary name and replaces it only once it is
// safely on disk; the caller holds the folder's lock.
bool WriteFile(const std::string& strFolder, const RegFile& file)
{
    const std::string strDir = FolderPath(strFolder);
    const std::string strTemp = strDir + "/registry.new";
    const int fd = open(strTemp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const bool bWritten = WriteAll(fd, FormatFile(file)) && fsync(fd) == 0;
    close(fd);
    if (!bWritten || rename(strTemp.c_str(), (strDir + "/registry").c_str()) != 0) {
        unlink(strTemp.c_str());
        return false;
    }
    if (const int fdDir = open(strDir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); fdDir >= 0) {
        fsync(fdDir);
        close(fdDir);
    }
    return true;
}

bool MakeFolders(const std::string& strPath)
{
    for (size_t nSlash = strPath.find('/', 1); ; nSlash = strPath.find('/', nSlash + 1)) {
        const std::string strPart = strPath.substr(0, nSlash);
        if (mkdir(strPart.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (nSlash == std::string::npos)
            return true;
    }
}

// Runs a change on the brand's file under its lock: read, change, write when fnChange asks.
LSTATUS ChangeFile(const std::string& strFolder, const std::function<LSTATUS(RegFile&, bool&)>& fnChange)
{
    const std::string strDir = FolderPath(strFolder);
    if (!MakeFolders(strDir))
        return ERROR_ACCESS_DENIED;
    const int fdLock = open((strDir + "/registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fdLock < 0)
        return ERROR_ACCESS_DENIED;
    while (flock(fdLock, LOCK_EX) != 0 && errno == EINTR) {
    }
    RegFile file = ReadFile(strFolder);
    bool bWrite = false;
    LSTATUS lResult = fnChange(file, bWrite);
    if (lResult == ERROR_SUCCESS && bWrite && !WriteFile(strFolder, file))
        lResult = ERROR_WRITE_FAULT;
    flock(fdLock, LOCK_UN);
    close(fdLock);
    return lResult;
}

bool KeyExists(const RegFile& file, const std::vector<std::string>& path)
{
    for (const RegKeyData& key : file)
        if (SamePath(key.path, path, path.size()))
            return true;
    return false;
}

TbRegKey* FindHandle(HKEY hKey)
{
    for (const auto& p : s_keys)
        if (p.get() == hKey)
            return p.get();
    return nullptr;
}

// The key a handle and a subkey name reach; FALSE for a bad handle or name (lResult says which).
bool ResolveKey(HKEY hKey, LPCSTR pszSubKey, TbRegKey& key, LSTATUS& lResult)
{
    if (hKey != HKEY_CURRENT_USER) {
        std::lock_guard<std::mutex> lock(s_mutex);
        const TbRegKey* pParent = FindHandle(hKey);
        if (!pParent) {
            lResult = ERROR_INVALID_HANDLE;
            return false;
        }
        key.path = pParent->path;
    }
    if ((pszSubKey && pszSubKey[0] == '\\') || !SplitKeyName(pszSubKey, key.path) ||
        !FolderOfPath(key.path, key.strFolder)) {
        lResult = ERROR_INVALID_PARAMETER;
        return false;
    }
    return true;
}

HKEY NewHandle(TbRegKey&& key)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    s_keys.push_back(std::make_unique<TbRegKey>(std::move(key)));
    return s_keys.back().get();
}

// A copy of an open handle's key for a value operation; FALSE for a bad handle.
bool HandleKey(HKEY hKey, TbRegKey& key)
{
    if (hKey == HKEY_CURRENT_USER) {
        key = TbRegKey{std::string(), {}, KEY_ALL_ACCESS};
        return true;
    }
    std::lock_guard<std::mutex> lock(s_mutex);
    const TbRegKey* p = FindHandle(hKey);
    if (!p)
        return false;
    key = *p;
    return true;
}
}  // namespace

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR pszSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                        const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD pdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    TbRegKey key;
    LSTATUS lResult = ERROR_SUCCESS;
    if (!ResolveKey(hKey, pszSubKey, key, lResult))
        return lResult;
    key.sam = samDesired;
    DWORD dwDisposition = REG_OPENED_EXISTING_KEY;
    if (!key.strFolder.empty()) {
        lResult = ChangeFile(key.strFolder, [&](RegFile& file, bool& bWrite) {
            if (!KeyExists(file, key.path)) {
                file.push_back(RegKeyData{key.path, {}});
                dwDisposition = REG_CREATED_NEW_KEY;
                bWrite = true;
            }
            return static_cast<LSTATUS>(ERROR_SUCCESS);
        });
        if (lResult != ERROR_SUCCESS)
            return lResult;
    }
    if (pdwDisposition)
        *pdwDisposition = dwDisposition;
    *phkResult = NewHandle(std::move(key));
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR pszSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    TbRegKey key;
    LSTATUS lResult = ERROR_SUCCESS;
    if (!ResolveKey(hKey, pszSubKey, key, lResult))
        return lResult;
    if (!key.strFolder.empty() && !KeyExists(ReadFile(key.strFolder), key.path))
        return ERROR_FILE_NOT_FOUND;
    key.sam = samDesired;
    *phkResult = NewHandle(std::move(key));
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey)
{
    if (hKey == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    std::lock_guard<std::mutex> lock(s_mutex);
    for (auto it = s_keys.begin(); it != s_keys.end(); ++it) {
        if (it->get() == hKey) {
            s_keys.erase(it);
            return ERROR_SUCCESS;
        }
    }
    return ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR pszValueName, LPDWORD, LPDWORD pdwType, LPBYTE pData, LPDWORD pcbData)
{
    TbRegKey key;
    if (!HandleKey(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (pData && !pcbData)
        return ERROR_INVALID_PARAMETER;
    if (!(key.sam & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    if (key.strFolder.empty())
        return ERROR_FILE_NOT_FOUND;
    RegFile file = ReadFile(key.strFolder);
    RegKeyData* pKey = FindKey(file, key.path);
    const RegValue* pValue = pKey ? FindValue(*pKey, pszValueName ? pszValueName : "") : nullptr;
    if (!pValue)
        return ERROR_FILE_NOT_FOUND;
    if (pdwType)
        *pdwType = pValue->dwType;
    const DWORD cbValue = static_cast<DWORD>(pValue->data.size());
    if (!pcbData)
        return ERROR_SUCCESS;
    if (pData && *pcbData < cbValue) {
        *pcbData = cbValue;
        return ERROR_MORE_DATA;
    }
    if (pData)
        std::memcpy(pData, pValue->data.data(), cbValue);
    *pcbData = cbValue;
    return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR pszValueName, DWORD, DWORD dwType, const BYTE* pData, DWORD cbData)
{
    TbRegKey key;
    if (!HandleKey(hKey, key))
        return ERROR_INVALID_HANDLE;
    const std::string strName = pszValueName ? pszValueName : "";
    if ((!pData && cbData) || cbData > MAX_DATA || strName.size() > MAX_VALUE_NAME)
        return ERROR_INVALID_PARAMETER;
    if (!(key.sam & KEY_SET_VALUE) || key.strFolder.empty())
        return ERROR_ACCESS_DENIED;
    const std::string data(reinterpret_cast<const char*>(pData), pData ? cbData : 0);
    return ChangeFile(key.strFolder, [&](RegFile& file, bool& bWrite) {
        RegKeyData* pKey = FindKey(file, key.path);
        if (!pKey) {
            // Deleted under us by another writer: the original writes into the open key anyway.
            file.push_back(RegKeyData{key.path, {}});
            pKey = &file.back();
        }
        if (RegValue* pValue = FindValue(*pKey, strName)) {
            pValue->dwType = dwType;
            pValue->data = data;
        } else {
            pKey->values.push_back(RegValue{strName, dwType, data});
        }
        bWrite = true;
        return static_cast<LSTATUS>(ERROR_SUCCESS);
    });
}

LSTATUS RegDeleteValueA(HKEY hKey, LPCSTR pszValueName)
{
    TbRegKey key;
    if (!HandleKey(hKey, key))
        return ERROR_INVALID_HANDLE;
    if (!(key.sam & KEY_SET_VALUE))
        return ERROR_ACCESS_DENIED;
    if (key.strFolder.empty())
        return ERROR_FILE_NOT_FOUND;
    const std::string strName = pszValueName ? pszValueName : "";
    return ChangeFile(key.strFolder, [&](RegFile& file, bool& bWrite) {
        RegKeyData* pKey = FindKey(file, key.path);
        if (!pKey)
            return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
        for (auto it = pKey->values.begin(); it != pKey->values.end(); ++it) {
            if (SameNoCase(it->strName, strName)) {
                pKey->values.erase(it);
                bWrite = true;
                return static_cast<LSTATUS>(ERROR_SUCCESS);
            }
        }
        return static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND);
    });
}
