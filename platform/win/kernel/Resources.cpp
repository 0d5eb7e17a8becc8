// Resource modules: finding a library's resource file, loading its strings in the library's
// code page, and the module the framework loads from.
#include "platform/win/kernel/Resources.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/kernel/ResourceScript.h"

namespace {
// What an HMODULE of ours points at.
struct CResourceModule {
    std::string strPath;                    // the resource file
    UINT uCodePage = 1252;
    int nRefs = 1;
    std::map<UINT, std::string> strings;    // already in the module's code page
    std::map<std::string, std::string> files;   // image entries: key to the file's full path
    TbResourceTemplates templates;          // dialogs, menus, accelerators; texts in the code page
};

// The program is single-threaded apart from the serial watcher, which loads nothing.
std::vector<std::unique_ptr<CResourceModule>> s_modules;
std::vector<std::string> s_extraPaths;
HINSTANCE s_hResourceModule = nullptr;

CResourceModule* FindModule(HMODULE hModule)
{
    for (auto& p : s_modules)
        if (reinterpret_cast<HMODULE>(p.get()) == hModule)
            return p.get();
    return nullptr;
}

std::string ExecutablePath()
{
    char szPath[4096];
    const ssize_t n = readlink("/proc/self/exe", szPath, sizeof(szPath) - 1);
    if (n <= 0)
        return std::string();
    return std::string(szPath, static_cast<size_t>(n));
}

std::string FolderOf(const std::string& strPath)
{
    const size_t nSlash = strPath.rfind('/');
    return nSlash == std::string::npos ? std::string(".") : strPath.substr(0, nSlash == 0 ? 1 : nSlash);
}

bool FileExists(const std::string& strPath)
{
    return access(strPath.c_str(), R_OK) == 0;
}

// The folders searched, in order: beside the program, its "resources" folder, the folders
// added by the program or its tests, then the one the environment names.
std::vector<std::string> SearchFolders()
{
    std::vector<std::string> folders;
    const std::string strExe = ExecutablePath();
    if (!strExe.empty()) {
        folders.push_back(FolderOf(strExe));
        folders.push_back(FolderOf(strExe) + "/resources");
    }
    folders.insert(folders.end(), s_extraPaths.begin(), s_extraPaths.end());
    if (const char* pszEnv = std::getenv("TB_RESOURCE_DIR"); pszEnv && *pszEnv)
        folders.emplace_back(pszEnv);
    return folders;
}

// "_1256.dll", "C:\\x\\branding_1256.dll" or "/opt/x/_1256" give the stem and the folder the
// caller named, if any.
void SplitLibraryName(const char* pszName, std::string& strFolder, std::string& strStem)
{
    std::string strName(pszName);
    for (char& ch : strName)
        if (ch == '\\')
            ch = '/';
    const size_t nSlash = strName.rfind('/');
    if (nSlash != std::string::npos) {
        strFolder = nSlash == 0 ? "/" : strName.substr(0, nSlash);
        strName.erase(0, nSlash + 1);
    }
    const size_t nDot = strName.rfind('.');
    if (nDot != std::string::npos && nDot > 0)
        strName.erase(nDot);
    strStem = strName;
}

// The Arabic libraries carry their texts in 1256, every other one in 1252.
UINT CodePageOfStem(const std::string& strStem)
{
    const size_t n = strStem.size();
    return (n >= 4 && strStem.compare(n - 4, 4, "1256") == 0) ? 1256 : 1252;
}

// Copies with the original's truncation: cut to nSize-1 and terminated, the length returned.
int CopyCut(LPSTR pszOut, int nSize, const std::string& str)
{
    if (!pszOut || nSize <= 0)
        return 0;
    const int n = static_cast<int>(str.size()) < nSize - 1 ? static_cast<int>(str.size()) : nSize - 1;
    std::memcpy(pszOut, str.data(), static_cast<size_t>(n));
    pszOut[n] = '\0';
    return n;
}
}  // namespace

HMODULE LoadLibraryA(LPCSTR pszName)
{
    if (!pszName || !*pszName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string strFolder, strStem;
    SplitLibraryName(pszName, strFolder, strStem);
    if (strStem.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    std::vector<std::string> folders;
    if (strFolder.empty())
        folders = SearchFolders();
    else
        folders.push_back(strFolder);
    for (const std::string& strDir : folders) {
        const std::string strPath = strDir + "/" + strStem + ".rc";
        if (!FileExists(strPath))
            continue;
        for (auto& p : s_modules) {
            if (p->strPath == strPath) {
                ++p->nRefs;
                return reinterpret_cast<HMODULE>(p.get());
            }
        }
        CResourceScript script;
        if (!script.LoadFile(strPath.c_str()))
            continue;
        // A fault in a resource file is the author's; say where, and keep what could be read.
        for (const std::string& strError : script.GetErrors())
            std::fprintf(stderr, "%s: %s\n", strPath.c_str(), strError.c_str());
        auto pModule = std::make_unique<CResourceModule>();
        pModule->strPath = strPath;
        pModule->uCodePage = CodePageOfStem(strStem);
        for (const auto& [uId, strUtf8] : script.GetStrings())
            pModule->strings.emplace(uId, TbUtf8ToCodePage(strUtf8, pModule->uCodePage));
        pModule->templates = script.GetTemplates();
        TbConvertTemplates(pModule->templates, pModule->uCodePage);
        // Image files are named relative to the resource file.
        for (const auto& [strKey, strFile] : script.GetFiles())
            pModule->files.emplace(strKey, !strFile.empty() && strFile[0] == '/' ? strFile : strDir + "/" + strFile);
        s_modules.push_back(std::move(pModule));
        return reinterpret_cast<HMODULE>(s_modules.back().get());
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE hModule)
{
    for (auto it = s_modules.begin(); it != s_modules.end(); ++it) {
        if (reinterpret_cast<HMODULE>(it->get()) != hModule)
            continue;
        if (--(*it)->nRefs == 0) {
            if (s_hResourceModule == hModule)
                s_hResourceModule = nullptr;
            s_modules.erase(it);
        }
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

int LoadStringA(HINSTANCE hInstance, UINT uId, LPSTR pszBuffer, int cchMax)
{
    if (!pszBuffer || cchMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    pszBuffer[0] = '\0';
    // The program's own instance stands for the module its resources come from.
    const CResourceModule* pModule = FindModule(hInstance ? hInstance : s_hResourceModule);
    if (!pModule) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const auto it = pModule->strings.find(uId);
    if (it == pModule->strings.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    return CopyCut(pszBuffer, cchMax, it->second);
}

HINSTANCE TbGetResourceModule()
{
    return s_hResourceModule;
}

void TbSetResourceModule(HINSTANCE hModule)
{
    s_hResourceModule = hModule;
}

void TbPutResourcePathFirst(LPCSTR pszFolder, BOOL bFirst)
{
    if (!pszFolder || !*pszFolder)
        return;
    std::erase(s_extraPaths, std::string(pszFolder));
    if (bFirst)
        s_extraPaths.insert(s_extraPaths.begin(), pszFolder);
}

void TbAddResourcePath(LPCSTR pszFolder)
{
    if (!pszFolder || !*pszFolder)
        return;
    for (const std::string& str : s_extraPaths)
        if (str == pszFolder)
            return;
    s_extraPaths.emplace_back(pszFolder);
}

DWORD GetModuleFileNameA(HMODULE hModule, LPSTR pszFileName, DWORD nSize)
{
    if (!pszFileName || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string strPath;
    if (!hModule) {
        strPath = ExecutablePath();
        // Tests and the demo run the program as if it stood in a folder of their own, where its
        // settings files and workspaces are.
        if (const char* pszDir = std::getenv("TB_PROGRAM_DIR"); pszDir && *pszDir && !strPath.empty())
            strPath = std::string(pszDir) + strPath.substr(strPath.rfind('/'));
    } else if (const CResourceModule* pModule = FindModule(hModule)) {
        strPath = pModule->strPath;
    } else {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (strPath.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    const int n = CopyCut(pszFileName, static_cast<int>(nSize > 0x7FFFFFFF ? 0x7FFFFFFF : nSize), strPath);
    if (static_cast<size_t>(n) < strPath.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    return static_cast<DWORD>(n);
}

BOOL TbFindResourceFile(HINSTANCE hInstance, LPCSTR pszType, LPCSTR pszName, LPSTR pszPath, int cchPath)
{
    const CResourceModule* pModule = FindModule(hInstance ? hInstance : s_hResourceModule);
    if (!pModule || !pszType || !pszName || !pszPath || cchPath <= 0)
        return FALSE;
    const std::string strName = IS_INTRESOURCE(pszName)
        ? NumberedName(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(pszName)))
        : std::string(pszName);
    const auto it = pModule->files.find(ResourceFileKey(pszType, strName));
    if (it == pModule->files.end() || static_cast<int>(it->second.size()) >= cchPath)
        return FALSE;
    CopyCut(pszPath, cchPath, it->second);
    return TRUE;
}

const TbResourceTemplates* TbModuleTemplates(HINSTANCE hInstance)
{
    const CResourceModule* pModule = FindModule(hInstance ? hInstance : s_hResourceModule);
    return pModule ? &pModule->templates : nullptr;
}
