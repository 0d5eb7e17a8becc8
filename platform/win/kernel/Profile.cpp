// The private-profile functions. Each call reads the file afresh (files are small and a
// process-wide cache would hide edits made by hand); a write replaces the whole file through a
// temporary file in the same folder, so a failed write never leaves half a file behind, and
// every line it does not change goes back byte for byte, with its own line end.
#include "platform/win/kernel/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Kernel.h"

namespace {
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names compare without case in the active page, as the original's did.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (TbToUpper(static_cast<BYTE>(a[i])) != TbToUpper(static_cast<BYTE>(b[i])))
            return false;
    return true;
}

// The bytes of a file; FALSE when it cannot be read (a folder, a file without read access).
bool ReadWholeFile(const char* pszPath, std::string& strAll)
{
    const int fd = open(pszPath, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    char achBuffer[8192];
    bool bOk = true;
    for (;;) {
        const ssize_t n = read(fd, achBuffer, sizeof(achBuffer));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            bOk = n == 0;
            break;
        }
        strAll.append(achBuffer, static_cast<size_t>(n));
    }
    close(fd);
    return bOk;
}

// One line of an INI file: its text and the line end that followed it, kept apart so that a
// write gives every line it does not touch back byte for byte.
struct CProfileLine
{
    std::string strText;        // without the line end
    std::string strEol;         // the CRs and the LF after it ("\r\n", "\r\r\n", "\n"); the last may lack the LF
};

// One INI file as lines, each with its own line end.
class CProfileFile
{
public:
    // FALSE when the file exists but cannot be read; a missing file reads as empty.
    BOOL Load(const char* pszPath)
    {
        struct stat st {};
        if (stat(pszPath, &st) != 0)
            return errno == ENOENT ? TRUE : FALSE;
        std::string strAll;
        if (!ReadWholeFile(pszPath, strAll))
            return FALSE;
        // A byte-order mark from an editor is not part of the first line, but it stays in the file.
        if (strAll.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            m_strBom = strAll.substr(0, 3);
            strAll.erase(0, 3);
        }
        bool bEolKnown = false;
        for (size_t nPos = 0; nPos < strAll.size();) {
            const size_t nLf = strAll.find('\n', nPos);
            const size_t nStop = nLf == std::string::npos ? strAll.size() : nLf;
            // The CRs before the LF are part of the line end, however many there are: a value
            // never ends in one (writes refuse them), and the line gives them back as they were.
            size_t nTextEnd = nStop;
            while (nTextEnd > nPos && strAll[nTextEnd - 1] == '\r')
                --nTextEnd;
            const size_t nNext = nLf == std::string::npos ? strAll.size() : nLf + 1;
            CProfileLine line{strAll.substr(nPos, nTextEnd - nPos), strAll.substr(nTextEnd, nNext - nTextEnd)};
            if (!bEolKnown && nLf != std::string::npos) {
                m_strEol = nTextEnd < nStop ? "\r\n" : "\n";
                bEolKnown = true;
            }
            m_lines.push_back(std::move(line));
            nPos = nNext;
        }
        return TRUE;
    }

    // The bytes of the file: the mark, then every line with its own line end.
    std::string Text() const
    {
        std::string strText = m_strBom;
        for (const CProfileLine& line : m_lines) {
            strText += line.strText;
            strText += line.strEol;
        }
        return strText;
    }

    // A new line before index nAt (m_lines.size() appends) with the file's line end. A last line
    // without a LF gets one in front of the new line (after any CRs it ends in), and the new line
    // then ends the file as that one did.
    void Insert(size_t nAt, std::string strText)
    {
        CProfileLine line{std::move(strText), m_strEol};
        CProfileLine* pLast = m_lines.empty() ? nullptr : &m_lines.back();
        if (nAt == m_lines.size() && pLast != nullptr && pLast->strEol.find('\n') == std::string::npos) {
            pLast->strEol += pLast->strEol.empty() ? m_strEol : std::string("\n");
            line.strEol.clear();
        }
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(nAt), std::move(line));
    }

    // What a line says: its text up to a NUL, which no name or value can hold (the line keeps
    // its bytes for the file all the same).
    std::string_view TextAt(size_t i) const { return Said(m_lines[i].strText); }
    static std::string_view Said(const std::string& strText)
    {
        return std::string_view(strText.c_str());
    }

    // The section name of a header line ("[ name ]"), or FALSE for any other line.
    static BOOL SectionOf(std::string_view strLine, std::string_view& name)
    {
        const std::string_view s = Trim(strLine);
        if (s.empty() || s.front() != '[')
            return FALSE;
        const size_t nClose = s.find(']');
        name = Trim(s.substr(1, nClose == std::string_view::npos ? std::string_view::npos : nClose - 1));
        return TRUE;
    }

    // The key and value of an entry line; FALSE for blank lines, comments and headers.
    static BOOL EntryOf(std::string_view strLine, std::string_view& key, std::string_view& value)
    {
        const std::string_view s = Trim(strLine);
        if (s.empty() || s.front() == ';' || s.front() == '[')
            return FALSE;
        const size_t nEq = s.find('=');
        key = Trim(s.substr(0, nEq));
        value = nEq == std::string_view::npos ? std::string_view() : Trim(s.substr(nEq + 1));
        return TRUE;
    }

    // Index of the first header with that name, or -1.
    int FindSection(std::string_view section) const
    {
        std::string_view name;
        for (size_t i = 0; i < m_lines.size(); ++i)
            if (SectionOf(TextAt(i), name) && SameName(name, section))
                return static_cast<int>(i);
        return -1;
    }

    // One past the last line of the section whose header is at nHeader.
    int SectionEnd(int nHeader) const
    {
        std::string_view name;
        size_t i = static_cast<size_t>(nHeader) + 1;
        while (i < m_lines.size() && !SectionOf(TextAt(i), name))
            ++i;
        return static_cast<int>(i);
    }

    // Index of the first entry with that key in the section, or -1.
    int FindKey(int nHeader, std::string_view key) const
    {
        std::string_view k, v;
        const int nEnd = SectionEnd(nHeader);
        for (int i = nHeader + 1; i < nEnd; ++i)
            if (EntryOf(TextAt(static_cast<size_t>(i)), k, v) && SameName(k, key))
                return i;
        return -1;
    }

    std::vector<CProfileLine> m_lines;
    std::string m_strBom;
    std::string m_strEol = "\r\n";      // for new lines: files of the original use CR LF; keep what a file has
};

// Drops a pair of quotes around a value, as the original does.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// The original's truncation: cut to the buffer size - 1 and terminated; the count copied.
DWORD CopyCut(LPSTR pszOut, DWORD cchOut, std::string_view text)
{
    if (!pszOut || cchOut == 0)
        return 0;
    const size_t n = text.size() < cchOut - 1 ? text.size() : cchOut - 1;
    if (n > 0)
        std::memcpy(pszOut, text.data(), n);
    pszOut[n] = '\0';
    return static_cast<DWORD>(n);
}

// A list of names, each terminated, the whole ended by a second NUL. A list that does not fit
// is cut and still ends in two NULs; the count excludes the final NUL.
DWORD CopyList(LPSTR pszOut, DWORD cchOut, const std::vector<std::string_view>& names)
{
    if (!pszOut || cchOut == 0)
        return 0;
    std::string strList;
    for (std::string_view name : names) {
        strList.append(name);
        strList += '\0';
    }
    if (strList.size() + 1 <= cchOut) {
        std::memcpy(pszOut, strList.data(), strList.size());
        pszOut[strList.size()] = '\0';
        return static_cast<DWORD>(strList.size());
    }
    if (cchOut < 2) {
        pszOut[0] = '\0';
        return 0;
    }
    std::memcpy(pszOut, strList.data(), cchOut - 2);
    pszOut[cchOut - 2] = '\0';
    pszOut[cchOut - 1] = '\0';
    return cchOut - 2;
}

// Writes the lines to a temporary file beside the target and renames it over the target,
// keeping the old file's mode. FALSE, with the old file untouched, on any failure.
BOOL SaveAtomically(const char* pszPath, const CProfileFile& file)
{
    // Write through a symbolic link to the file it names, rather than replacing the link.
    std::string strTarget = pszPath;
    if (char* pszReal = realpath(pszPath, nullptr)) {
        strTarget = pszReal;
        std::free(pszReal);
    }
    mode_t mode = 0;
    struct stat st {};
    if (stat(strTarget.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    std::string strTemp = strTarget + ".XXXXXX";
    const int fd = mkstemp(strTemp.data());
    if (fd < 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const std::string strText = file.Text();
    bool bOk = fchmod(fd, mode) == 0;
    for (size_t nDone = 0; bOk && nDone < strText.size();) {
        const ssize_t n = write(fd, strText.data() + nDone, strText.size() - nDone);
        if (n < 0 && errno == EINTR)
            continue;
        bOk = n > 0;
        if (bOk)
            nDone += static_cast<size_t>(n);
    }
    bOk = bOk && fsync(fd) == 0;
    bOk = (close(fd) == 0) && bOk;
    bOk = bOk && rename(strTemp.c_str(), strTarget.c_str()) == 0;
    if (!bOk) {
        unlink(strTemp.c_str());
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

bool HasLineBreak(LPCSTR psz)
{
    return psz && std::strpbrk(psz, "\r\n") != nullptr;
}
}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszDefault, LPSTR pszOut, DWORD cchOut,
                               LPCSTR pszFile)
{
    if (!pszOut || cchOut == 0)
        return 0;
    CProfileFile file;
    const BOOL bRead = pszFile && file.Load(pszFile);

    // A null section lists the sections, a null key the keys of the section.
    if (!pszSection || !pszKey) {
        std::vector<std::string_view> names;
        if (bRead && !pszSection) {
            std::string_view name;
            for (const CProfileLine& line : file.m_lines)
                if (CProfileFile::SectionOf(CProfileFile::Said(line.strText), name))
                    names.push_back(name);
        } else if (bRead) {
            const int nHeader = file.FindSection(Trim(pszSection));
            const int nEnd = nHeader < 0 ? 0 : file.SectionEnd(nHeader);
            std::string_view key, value;
            for (int i = nHeader + 1; i < nEnd; ++i)
                if (CProfileFile::EntryOf(file.TextAt(static_cast<size_t>(i)), key, value))
                    names.push_back(key);
        }
        return CopyList(pszOut, cchOut, names);
    }

    if (bRead) {
        const int nHeader = file.FindSection(Trim(pszSection));
        const int nLine = nHeader < 0 ? -1 : file.FindKey(nHeader, Trim(pszKey));
        if (nLine >= 0) {
            std::string_view key, value;
            CProfileFile::EntryOf(file.TextAt(static_cast<size_t>(nLine)), key, value);
            return CopyCut(pszOut, cchOut, Unquote(value));
        }
    }
    // The default loses its trailing blanks, as the original's does.
    std::string_view def = pszDefault ? std::string_view(pszDefault) : std::string_view();
    while (!def.empty() && IsBlank(def.back()))
        def.remove_suffix(1);
    return CopyCut(pszOut, cchOut, def);
}

UINT GetPrivateProfileIntA(LPCSTR pszSection, LPCSTR pszKey, INT nDefault, LPCSTR pszFile)
{
    char szValue[64];
    if (GetPrivateProfileStringA(pszSection, pszKey, "", szValue, sizeof(szValue), pszFile) == 0)
        return static_cast<UINT>(nDefault);
    // Leading digits count, with an optional sign; "12abc" is 12 and "abc" is 0.
    const char* p = szValue;
    bool bNegative = false;
    if (*p == '-' || *p == '+')
        bNegative = *p++ == '-';
    unsigned long long ullValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        ullValue = (ullValue * 10 + static_cast<unsigned>(*p - '0')) & 0xFFFFFFFFULL;
    const UINT uValue = static_cast<UINT>(ullValue);
    return bNegative ? 0u - uValue : uValue;
}

BOOL WritePrivateProfileStringA(LPCSTR pszSection, LPCSTR pszKey, LPCSTR pszValue, LPCSTR pszFile)
{
    if (!pszSection || !pszFile || !*pszFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A line break would split the entry and a key with '=' or a leading '[' or ';' would read
    // back as something else: such a write is refused rather than corrupting the file.
    const std::string_view section = Trim(pszSection);
    const std::string_view key = pszKey ? Trim(pszKey) : std::string_view();
    if (HasLineBreak(pszSection) || HasLineBreak(pszKey) || HasLineBreak(pszValue) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        (!key.empty() && (key.front() == '[' || key.front() == ';'))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CProfileFile file;
    if (!file.Load(pszFile)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    std::vector<CProfileLine>& lines = file.m_lines;
    const int nHeader = file.FindSection(section);
    if (!pszKey) {                                      // delete the whole section
        if (nHeader < 0)
            return TRUE;
        lines.erase(lines.begin() + nHeader, lines.begin() + file.SectionEnd(nHeader));
        return SaveAtomically(pszFile, file);
    }
    const int nLine = nHeader < 0 ? -1 : file.FindKey(nHeader, key);
    if (!pszValue) {                                    // delete the key
        if (nLine < 0)
            return TRUE;
        lines.erase(lines.begin() + nLine);
        return SaveAtomically(pszFile, file);
    }
    std::string strEntry = std::string(key) + "=" + pszValue;
    if (nLine >= 0) {
        lines[static_cast<size_t>(nLine)].strText = std::move(strEntry);     // its line end stays
    } else if (nHeader >= 0) {
        // After the section's last entry, before the blank lines that part it from the next.
        int nAt = file.SectionEnd(nHeader);
        while (nAt > nHeader + 1 && Trim(file.TextAt(static_cast<size_t>(nAt - 1))).empty())
            --nAt;
        file.Insert(static_cast<size_t>(nAt), std::move(strEntry));
    } else {
        if (!lines.empty() && !Trim(CProfileFile::Said(lines.back().strText)).empty())
            file.Insert(lines.size(), std::string());
        file.Insert(lines.size(), "[" + std::string(section) + "]");
        file.Insert(lines.size(), std::move(strEntry));
    }
    return SaveAtomically(pszFile, file);
}
