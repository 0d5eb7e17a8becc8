// Temporary files. The shared /tmp is not private the way a user's temporary folder is on the
// original, so ours live in a folder of their own, mode 0700, owned by the user.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win/kernel/Kernel.h"

namespace {
// Our folder when it is ours alone: a real folder (no link), owned by us, closed to others.
bool IsPrivateFolder(const std::string& strDir)
{
    struct stat st {};
    return lstat(strDir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
           (st.st_mode & 077) == 0;
}

// "$TMPDIR/tb-<uid>/" (or under /tmp), made on first use and again if a cleaner removed it.
// When someone else holds that name, a fresh folder is made for this process instead.
std::string PrivateTempFolder()
{
    static std::string s_strFallback;
    if (!s_strFallback.empty() && IsPrivateFolder(s_strFallback))
        return s_strFallback + "/";
    const char* pszBase = std::getenv("TMPDIR");
    std::string strBase = (pszBase && *pszBase == '/') ? pszBase : "/tmp";
    while (strBase.size() > 1 && strBase.back() == '/')
        strBase.pop_back();
    const std::string strDir = strBase + "/tb-" + std::to_string(getuid());
    if (mkdir(strDir.c_str(), 0700) != 0 && errno != EEXIST)
        return std::string();
    if (IsPrivateFolder(strDir))
        return strDir + "/";
    std::string strTemplate = strDir + "-XXXXXX";
    if (!mkdtemp(strTemplate.data()))
        return std::string();
    s_strFallback = strTemplate;
    return s_strFallback + "/";
}
}  // namespace

DWORD GetTempPathA(DWORD nBufferLength, LPSTR pszBuffer)
{
    const std::string strDir = PrivateTempFolder();
    if (strDir.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (!pszBuffer || nBufferLength <= strDir.size())
        return static_cast<DWORD>(strDir.size() + 1);
    std::memcpy(pszBuffer, strDir.c_str(), strDir.size() + 1);
    return static_cast<DWORD>(strDir.size());
}

UINT GetTempFileNameA(LPCSTR pszPathName, LPCSTR pszPrefixString, UINT uUnique, LPSTR pszTempFileName)
{
    if (!pszPathName || !*pszPathName || !pszTempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string strDir = pszPathName;
    if (strDir.back() != '/')
        strDir += '/';
    char szPrefix[4] = {};
    if (pszPrefixString)
        std::snprintf(szPrefix, sizeof(szPrefix), "%s", pszPrefixString);
    // The original makes names of four hex digits at most. Given a number, only the name is
    // made; otherwise numbers are tried from a start that differs in each process, so that two
    // programs rarely walk into each other's names, until a new file can be created.
    char szName[MAX_PATH];
    auto format = [&](UINT uNumber) {
        const int n = std::snprintf(szName, sizeof(szName), "%s%s%X.tmp", strDir.c_str(), szPrefix, uNumber);
        return n >= 0 && n < MAX_PATH;
    };
    if (uUnique != 0) {
        if (!format(uUnique & 0xFFFF)) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::memcpy(pszTempFileName, szName, std::strlen(szName) + 1);
        return uUnique;
    }
    UINT uNumber = (static_cast<UINT>(getpid()) * 2654435761u + GetTickCount()) & 0xFFFF;
    for (UINT nTries = 0; nTries < 0x10000; ++nTries, uNumber = (uNumber + 1) & 0xFFFF) {
        if (uNumber == 0)
            continue;
        if (!format(uNumber)) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        const int fd = open(szName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fchmod(fd, 0600);       // whatever the umask says
            close(fd);
            std::memcpy(pszTempFileName, szName, std::strlen(szName) + 1);
            return uNumber;
        }
        if (errno != EEXIST) {
            SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : ERROR_ACCESS_DENIED);
            return 0;
        }
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}
