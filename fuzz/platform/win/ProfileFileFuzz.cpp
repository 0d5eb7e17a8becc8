// Fuzz target profile_file: the private-profile functions on a file made of the input.
//
// Input: a plain file, NUL bytes and all, whose first key (or a key of a section "Fuzz") is
// written; or a NUL, then section, NUL, key, NUL, value, NUL: the write to make ("\x01" as key or
// value stands for a null pointer: delete the section or the key), and then the file.
//
// Properties:
// - every read is bounded by its buffer and terminated; the lists end in two NULs;
// - reading everything twice gives the same answers;
// - a refused write (a line break anywhere, ']' in the section, '=' in the key, a key starting
//   with '[' or ';') is FALSE and leaves the file's bytes as they were;
// - an accepted write changes its own line only: every other line keeps its bytes and line end,
//   every other key reads as before, and the key written reads back its value.
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz/common/FuzzInput.h"
#include "fuzz/platform/win/FuzzFiles.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/Profile.h"

namespace {

const char NO_VALUE[] = "\n<none>";        // the default that tells a missing key: no value holds a LF
const size_t FILE_MAX = 4096;               // bytes of the file: each read loads it afresh
const size_t KEYS_MAX = 16;                 // keys read one by one, each a load of the file
const DWORD BIG = 8192;                     // larger than any line: nothing is cut

struct CProfileRead
{
    std::vector<std::string> sections;                          // as listed, repeats included
    std::map<std::pair<std::string, std::string>, std::string> values;   // (section, key) as listed
};

// The names of a list answer: NUL-terminated names, the whole ended by a second NUL.
std::vector<std::string> SplitList(const char* pszList, DWORD n)
{
    std::vector<std::string> names;
    for (DWORD i = 0; i < n;) {
        const std::string strName(pszList + i);
        names.push_back(strName);
        i += static_cast<DWORD>(strName.size()) + 1;
    }
    return names;
}

std::string ReadString(const char* pszSection, const char* pszKey, const std::string& strFile, DWORD cch = BIG)
{
    std::vector<char> buffer(cch + 16, '\x7f');
    const DWORD n = GetPrivateProfileStringA(pszSection, pszKey, NO_VALUE, buffer.data(), cch, strFile.c_str());
    FUZZ_CHECK_SAY(n < cch && buffer[n] == '\0', "a read is cut and terminated", "%u into %u", n, cch);
    for (size_t i = cch; i < buffer.size(); ++i)
        FUZZ_CHECK_SAY(buffer[i] == '\x7f', "a read stays in its buffer", "buffer of %u", cch);
    return std::string(buffer.data(), n);
}

// A list answer, with the checks every list answer must pass at any buffer size.
std::vector<std::string> ReadList(const char* pszSection, const std::string& strFile, bool bCutToo)
{
    std::vector<char> buffer(BIG + 2, '\x7f');
    const DWORD n = GetPrivateProfileStringA(pszSection, nullptr, "", buffer.data(), BIG, strFile.c_str());
    FUZZ_CHECK(n + 1 < BIG && buffer[n] == '\0' && (n == 0 || buffer[n - 1] == '\0'), "a whole list ends in two NULs");
    const std::string strFull(buffer.data(), n);
    for (DWORD cch : {1u, 2u, 3u, 7u}) {
        if (!bCutToo)
            break;
        std::vector<char> small(cch + 8, '\x7f');
        const DWORD m = GetPrivateProfileStringA(pszSection, nullptr, "", small.data(), cch, strFile.c_str());
        FUZZ_CHECK_SAY(m < cch && small[m] == '\0', "a list is cut and terminated", "%u into %u", m, cch);
        for (size_t i = cch; i < small.size(); ++i)
            FUZZ_CHECK_SAY(small[i] == '\x7f', "a list stays in its buffer", "buffer of %u", cch);
        // Whole, the last name's NUL and one more; cut, two NULs after what was kept.
        if (m > 0)
            FUZZ_CHECK(small[m - 1] == '\0' || (m + 1 < cch && small[m + 1] == '\0'), "a cut list ends in two NULs");
        FUZZ_CHECK(std::string_view(small.data(), m) == std::string_view(strFull).substr(0, m), "a cut list is a prefix");
    }
    return SplitList(buffer.data(), n);
}

// Everything the file answers. The first read also checks cut reads, each a load of the file.
CProfileRead ReadAll(const std::string& strFile, bool bCutToo)
{
    CProfileRead read;
    read.sections = ReadList(nullptr, strFile, bCutToo);
    for (const std::string& strSection : read.sections) {
        if (read.values.size() >= KEYS_MAX)
            break;
        for (const std::string& strKey : ReadList(strSection.c_str(), strFile, bCutToo)) {
            const auto at = std::make_pair(strSection, strKey);
            if (read.values.count(at) != 0 || read.values.size() >= KEYS_MAX)
                continue;
            const std::string strValue = ReadString(strSection.c_str(), strKey.c_str(), strFile);
            FUZZ_CHECK(strValue != NO_VALUE, "a listed key reads");
            read.values[at] = strValue;
            if (!bCutToo)
                continue;
            // Cut reads are prefixes; the integer of an empty value is the default.
            const std::string strCut = ReadString(strSection.c_str(), strKey.c_str(), strFile, 3);
            FUZZ_CHECK(std::string_view(strValue).substr(0, strCut.size()) == strCut, "a cut read is a prefix");
            if (strValue.empty())
                FUZZ_CHECK(GetPrivateProfileIntA(strSection.c_str(), strKey.c_str(), -7, strFile.c_str()) == UINT(-7),
                           "an empty value reads as the default number");
        }
    }
    return read;
}

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

bool SameName(std::string_view a, std::string_view b)
{
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (TbToUpper(static_cast<BYTE>(a[i])) != TbToUpper(static_cast<BYTE>(b[i])))
            return false;
    return true;
}

bool HasLineBreak(const std::string& str)
{
    return str.find_first_of("\r\n") != std::string::npos;
}

// Lines with their line ends, as bytes: the unit a write may change.
std::vector<std::string> Lines(const std::string& strFile)
{
    std::vector<std::string> lines;
    for (size_t nPos = 0; nPos < strFile.size();) {
        const size_t nLf = strFile.find('\n', nPos);
        const size_t nNext = nLf == std::string::npos ? strFile.size() : nLf + 1;
        lines.push_back(strFile.substr(nPos, nNext - nPos));
        nPos = nNext;
    }
    return lines;
}

// The CRs and the LF that end a line ("" for a last line without them).
std::string LineEnd(const std::string& strLine)
{
    if (strLine.empty() || strLine.back() != '\n')
        return std::string();
    size_t n = strLine.size() - 1;
    while (n > 0 && strLine[n - 1] == '\r')
        --n;
    return strLine.substr(n);
}

// The write changed one place: the lines before and after it are the old ones, byte for byte.
// Of the old lines at most one is gone: the line replaced, or a last line without a line end
// that got one.
void CheckOnePlaceChanged(const std::string& strOld, const std::string& strNew, bool bDelete)
{
    std::string strBom;
    if (strOld.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        FUZZ_CHECK(strNew.compare(0, 3, "\xEF\xBB\xBF") == 0, "the byte-order mark stays");
        strBom = "\xEF\xBB\xBF";
    }
    const std::vector<std::string> before = Lines(strOld.substr(strBom.size()));
    const std::vector<std::string> after = Lines(strNew.substr(strBom.size()));
    size_t nHead = 0;
    while (nHead < before.size() && nHead < after.size() && before[nHead] == after[nHead])
        ++nHead;
    size_t nTail = 0;
    while (nTail < before.size() - nHead && nTail < after.size() - nHead &&
           before[before.size() - 1 - nTail] == after[after.size() - 1 - nTail])
        ++nTail;
    const size_t nGone = before.size() - nHead - nTail;
    const size_t nCame = after.size() - nHead - nTail;
    if (bDelete) {
        FUZZ_CHECK(nCame == 0, "a delete adds nothing");
        return;
    }
    // A new section is a blank line, its header and the entry; a last line without a line end
    // comes back with one in front of them.
    const bool bLastGotEnd = nGone == 1 && nHead + 1 == before.size() && before.back().back() != '\n';
    FUZZ_CHECK_SAY(nGone <= 1 && nCame <= 3 + (bLastGotEnd ? 1u : 0u), "a write changes one line",
                   "%zu lines changed, %zu came", nGone, nCame);
    if (nGone == 0 && nCame == 0)
        return;     // the line written was there already, byte for byte
    FUZZ_CHECK(nCame >= 1, "a write that was taken is in the file");
    if (nGone == 1) {
        // Either the line was replaced, keeping its line end, or a last line without one got it.
        const std::string& strOld = before[nHead];
        const std::string& strNow = after[nHead];
        const bool bEndAdded = bLastGotEnd && (strNow == strOld + "\n" || strNow == strOld + "\r\n");
        if (!bEndAdded)
            FUZZ_CHECK(nCame == 1 && LineEnd(strNow) == LineEnd(strOld), "a line replaced keeps its line end");
    }
}

std::string ExpectedValue(const std::string& strValue)
{
    std::string_view value = Trim(strValue);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    CFuzzTempDir::Clear();
    CFuzzInput input(pData, cbData);
    const bool bHasWrite = cbData > 0 && pData[0] == '\0';
    std::string strSection, strKey, strValue;
    if (bHasWrite) {
        input.TakeByte();
        strSection = input.TakeText(64);
        strKey = input.TakeText(64);
        strValue = input.TakeText(256);
    }
    const std::string strText = input.TakeBytes(FILE_MAX);
    const std::string strFile = CFuzzTempDir::Path("p.ini");
    FUZZ_CHECK(FuzzWriteFile(strFile, strText), "the input is written");

    const CProfileRead first = ReadAll(strFile, /*bCutToo=*/true);
    const CProfileRead again = ReadAll(strFile, /*bCutToo=*/false);
    FUZZ_CHECK(first.sections == again.sections && first.values == again.values, "a read changes nothing");

    // The write: from the input, else the first key the file has.
    if (!bHasWrite && !first.values.empty()) {
        strSection = first.values.begin()->first.first;
        strKey = first.values.begin()->first.second;
        strValue = "written";
    } else if (!bHasWrite) {
        strSection = "Fuzz";
        strKey = "Key";
        strValue = "written";
    }
    const bool bNullKey = strKey == "\x01";
    const bool bNullValue = strValue == "\x01";
    const std::string_view key = Trim(strKey);
    const bool bRefused = HasLineBreak(strSection) || (!bNullKey && HasLineBreak(strKey)) ||
                          (!bNullValue && HasLineBreak(strValue)) || Trim(strSection).find(']') != std::string::npos ||
                          (!bNullKey && (key.find('=') != std::string::npos ||
                                         (!key.empty() && (key.front() == '[' || key.front() == ';'))));
    const BOOL bWritten = WritePrivateProfileStringA(strSection.c_str(), bNullKey ? nullptr : strKey.c_str(),
                                                     bNullValue ? nullptr : strValue.c_str(), strFile.c_str());
    const std::string strNew = FuzzReadFile(strFile);
    FUZZ_CHECK(CFuzzTempDir::List().size() == 1, "no temporary file is left behind");
    if (bRefused) {
        FUZZ_CHECK(!bWritten, "a write that cannot be stored is refused");
        FUZZ_CHECK(strNew == strText, "a refused write changes nothing");
        return 0;
    }
    FUZZ_CHECK(bWritten, "a write into our own folder succeeds");
    CheckOnePlaceChanged(strText, strNew, bNullKey || bNullValue);

    // Every other key reads as before. A delete can uncover a later section or key of the same
    // name, so after one only the keys of other sections are compared.
    for (const auto& [at, strBefore] : first.values) {
        const bool bSameSection = SameName(at.first, strSection);
        if (bSameSection && (bNullKey || bNullValue || SameName(at.second, strKey)))
            continue;
        const std::string strNow = ReadString(at.first.c_str(), at.second.c_str(), strFile);
        FUZZ_CHECK_SAY(strNow == strBefore, "every other key reads as before", "[%s] %s was '%s', now '%s'",
                       at.first.c_str(), at.second.c_str(), strBefore.c_str(), strNow.c_str());
    }
    if (!bNullKey && !bNullValue) {
        const std::string strBack = ReadString(strSection.c_str(), strKey.c_str(), strFile);
        FUZZ_CHECK_SAY(strBack == ExpectedValue(strValue), "the key written reads back its value",
                       "written '%s', read back '%s'", strValue.c_str(), strBack.c_str());
    } else if (bNullKey) {
        // Only the first section of that name goes, header and lines.
        size_t nMatching = 0;
        for (const std::string& s : first.sections)
            nMatching += SameName(s, strSection);
        FUZZ_CHECK(ReadList(nullptr, strFile, false).size() + (nMatching > 0 ? 1 : 0) == first.sections.size(),
                   "a section delete takes one section");
    }
    return 0;
}
