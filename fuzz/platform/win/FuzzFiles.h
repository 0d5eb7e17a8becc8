#pragma once
// What the file-reading fuzz targets of platform/win and framework/base share: a private
// temporary folder that is the only place they write (on tmpfs where there is one, so that the
// saves' fsync costs nothing), reading and writing a file's bytes, and a check that says which
// values broke it.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/common/FuzzCheck.h"

// FUZZ_CHECK with the values that broke it, printed before the property's own report.
[[gnu::format(printf, 1, 2)]] inline void TbFuzzSay(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    std::vfprintf(stderr, pszFormat, args);
    va_end(args);
    std::fputc('\n', stderr);
}
#define FUZZ_CHECK_SAY(cond, what, ...)                          \
    do {                                                         \
        if (!(cond)) {                                           \
            TbFuzzSay(__VA_ARGS__);                              \
            TbFuzzFail((what), #cond, __FILE__, __LINE__);       \
        }                                                        \
    } while (0)

// The one folder a target writes into: made on first use, emptied for each input, removed at exit.
class CFuzzTempDir
{
public:
    static const std::string& Get()
    {
        static CFuzzTempDir s_dir;
        return s_dir.m_strPath;
    }
    static std::string Path(const char* pszName) { return Get() + "/" + pszName; }

    static std::vector<std::string> List()
    {
        std::vector<std::string> names;
        if (DIR* pDir = opendir(Get().c_str())) {
            while (dirent* pEntry = readdir(pDir))
                if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
                    names.emplace_back(pEntry->d_name);
            closedir(pDir);
        }
        return names;
    }
    static void Clear()
    {
        for (const std::string& strName : List())
            RemoveTree(Get() + "/" + strName);
    }

private:
    CFuzzTempDir()
    {
        const char* pszBase = std::getenv("TMPDIR");
        std::string strBase = pszBase != nullptr && *pszBase != '\0' ? pszBase : "";
        if (strBase.empty())
            strBase = access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string strTemplate = strBase + "/tb_fuzz_XXXXXX";
        if (mkdtemp(strTemplate.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_strPath = strTemplate;
    }
    ~CFuzzTempDir() { RemoveTree(m_strPath); }

    static void RemoveTree(const std::string& strPath)
    {
        struct stat st {};
        if (lstat(strPath.c_str(), &st) != 0)
            return;
        if (S_ISDIR(st.st_mode)) {
            if (DIR* pDir = opendir(strPath.c_str())) {
                std::vector<std::string> names;
                while (dirent* pEntry = readdir(pDir))
                    if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
                        names.emplace_back(pEntry->d_name);
                closedir(pDir);
                for (const std::string& strName : names)
                    RemoveTree(strPath + "/" + strName);
            }
            rmdir(strPath.c_str());
        } else {
            unlink(strPath.c_str());
        }
    }

    std::string m_strPath;
};

inline bool FuzzWriteFile(const std::string& strPath, std::string_view bytes)
{
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    if (pFile == nullptr)
        return false;
    const bool bOk = std::fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return std::fclose(pFile) == 0 && bOk;
}

inline std::string FuzzReadFile(const std::string& strPath)
{
    std::string strBytes;
    if (FILE* pFile = std::fopen(strPath.c_str(), "rb")) {
        char ach[4096];
        size_t n;
        while ((n = std::fread(ach, 1, sizeof(ach), pFile)) > 0)
            strBytes.append(ach, n);
        std::fclose(pFile);
    }
    return strBytes;
}
