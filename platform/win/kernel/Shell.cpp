// The shell's open and HTML Help over the desktop's opener.
#include "platform/win/kernel/Shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <deque>
#include <mutex>

extern char** environ;

namespace {
std::mutex s_mutex;
bool s_bRecording = false;
std::deque<std::string> s_opened;

bool StartsWithNoCase(const char* psz, const char* pszPrefix)
{
    return strncasecmp(psz, pszPrefix, std::strlen(pszPrefix)) == 0;
}

bool IsAddress(const char* pszTarget)
{
    static const char* const s_schemes[] = {"http://", "https://", "ftp://", "mailto:"};
    for (const char* pszScheme : s_schemes)
        if (StartsWithNoCase(pszTarget, pszScheme) && pszTarget[std::strlen(pszScheme)] != '\0')
            return true;
    return false;
}

bool IsFile(const char* pszTarget)
{
    struct stat st {};
    return pszTarget[0] == '/' && stat(pszTarget, &st) == 0 && S_ISREG(st.st_mode);
}

bool HasControlCharacters(const char* psz)
{
    for (; *psz; ++psz)
        if (static_cast<unsigned char>(*psz) < 0x20 || *psz == 0x7F)
            return true;
    return false;
}

// The opener runs in the background of a shell that ends at once, so no child is left to reap;
// the target travels as an argument, never inside the command text.
bool HandToDesktop(const std::string& strTarget)
{
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        if (s_bRecording) {
            s_opened.push_back(strTarget);
            return true;
        }
    }
    const char* pszDisplay = std::getenv("DISPLAY");
    const char* pszWayland = std::getenv("WAYLAND_DISPLAY");
    if ((!pszDisplay || !*pszDisplay) && (!pszWayland || !*pszWayland))
        return false;
    const char* argv[] = {"/bin/sh", "-c", "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &", "sh", strTarget.c_str(),
                          nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int nStatus = 0;
    while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}
}  // namespace

BOOL ShellExecuteExA(LPSHELLEXECUTEINFOA pInfo)
{
    if (!pInfo)
        return FALSE;
    pInfo->hProcess = nullptr;
    pInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
    const char* pszFile = pInfo->lpFile;
    if ((pInfo->lpVerb && *pInfo->lpVerb && strcasecmp(pInfo->lpVerb, "open") != 0) || !pszFile || !*pszFile ||
        HasControlCharacters(pszFile))
        return FALSE;
    if (!IsAddress(pszFile) && !IsFile(pszFile)) {
        if (pszFile[0] == '/')
            pInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_FNF));
        return FALSE;
    }
    if (!HandToDesktop(pszFile))
        return FALSE;
    pInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    return TRUE;
}

HWND HtmlHelpA(HWND, LPCSTR pszFile, UINT uCommand, DWORD_PTR)
{
    if (!pszFile || !*pszFile)
        return nullptr;
    if (uCommand != HH_DISPLAY_TOPIC && uCommand != HH_DISPLAY_TOC && uCommand != HH_DISPLAY_INDEX &&
        uCommand != HH_HELP_CONTEXT)
        return nullptr;
    // "file.chm::/topic.htm" names a page inside the file; the viewer opens the file.
    std::string strFile(pszFile);
    if (const size_t nTopic = strFile.find("::"); nTopic != std::string::npos)
        strFile.erase(nTopic);
    if (!HasControlCharacters(strFile.c_str()) && IsFile(strFile.c_str()))
        HandToDesktop(strFile);
    return nullptr;
}

void TbRecordShellOpens(BOOL bRecord)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    s_bRecording = bRecord != FALSE;
    if (!s_bRecording)
        s_opened.clear();
}

BOOL TbTakeShellOpen(std::string* pstrTarget)
{
    std::lock_guard<std::mutex> lock(s_mutex);
    if (s_opened.empty())
        return FALSE;
    if (pstrTarget)
        *pstrTarget = s_opened.front();
    s_opened.pop_front();
    return TRUE;
}
