// Fuzz target settings_file: a settings file made of the input, read, saved and read again.
//
// Input: a plain file, NUL bytes and all, into which a key of a section "Fuzz" is written; or a
// NUL, then section, NUL, key, NUL, value, NUL: the write to make, and then the file.
//
// Properties:
// - a read through the store is cut to its buffer and terminated;
// - read, saved and read again, the file answers every lookup as it did; once saved, a file
//   read and saved again keeps its bytes;
// - a write the store refuses changes no lookup; one it takes reads back at once, and again after
//   a save and a load (with backslash and 'n' turned into a line break, as the file keeps one),
//   and leaves every other key as it was;
// - a save that cannot write (the file size limit) is FALSE and leaves the old file whole, with
//   no temporary file behind.
#include <signal.h>
#include <sys/resource.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "framework/base/RecordStore.h"
#include "framework/base/SettingsFile.h"
#include "fuzz/common/FuzzInput.h"
#include "fuzz/platform/win/FuzzFiles.h"

namespace {

const size_t FILE_MAX = 4096;
const char NO_VALUE[] = "\x02<none>";       // the default that tells a missing key

typedef std::pair<std::string, std::string> CAt;    // section, key

// Every section and key name the file holds, as its walk gives them.
std::set<CAt> Names(const CSettingsFile& file)
{
    std::set<CAt> names;
    CTBString strSection;
    int nPos = 0;
    while (const CRecordStore* pEntries = file.GetNextSection(nPos, strSection)) {
        names.emplace(std::string(strSection), std::string());
        for (int i = pEntries->GetNextIndex(-1); i >= 0; i = pEntries->GetNextIndex(i)) {
            const INT_PTR* pEntry = pEntries->GetAt(i);
            names.emplace(std::string(strSection), pEntry[0] != 0 ? reinterpret_cast<const char*>(pEntry[0]) : "");
        }
    }
    return names;
}

// What the store answers for a name, through both of its ways to read.
std::string Lookup(CSettingsFile& file, const CAt& at)
{
    const LPCSTR pszValue = file.GetValue(at.first.c_str(), at.second.c_str());
    char szBuffer[1100];
    std::memset(szBuffer, '\x7f', sizeof(szBuffer));
    const DWORD n = file.ReadProfileString(at.first.c_str(), at.second.c_str(), NO_VALUE, szBuffer, 1030, nullptr);
    FUZZ_CHECK(szBuffer[1029] == '\0' || strlen(szBuffer) < 1030, "a read is terminated in its buffer");
    FUZZ_CHECK(szBuffer[1030] == '\x7f', "a read stays in its buffer");
    const std::string strRead(szBuffer);
    FUZZ_CHECK_SAY((pszValue == nullptr && strRead == NO_VALUE) || (pszValue != nullptr && strRead == pszValue),
                   "both ways to read agree", "[%s] %s", at.first.c_str(), at.second.c_str());
    FUZZ_CHECK(n == strRead.size(), "a read counts what it gave");
    // A small buffer gets a cut, terminated text.
    char szSmall[8];
    std::memset(szSmall, '\x7f', sizeof(szSmall));
    file.ReadProfileString(at.first.c_str(), at.second.c_str(), NO_VALUE, szSmall, 4, nullptr);
    FUZZ_CHECK(szSmall[4] == '\x7f' && strlen(szSmall) < 4 && strRead.compare(0, strlen(szSmall), szSmall) == 0,
               "a small buffer gets a cut, terminated text");
    // "-" for a missing key, "=" and the text for a value, so that no value can pass for missing.
    return pszValue == nullptr ? std::string("-") : "=" + std::string(pszValue);
}

std::map<CAt, std::string> ReadAll(CSettingsFile& file, const std::set<CAt>& names)
{
    std::map<CAt, std::string> values;
    for (const CAt& at : names)
        values[at] = Lookup(file, at);
    return values;
}

void CheckSameAnswers(const std::map<CAt, std::string>& before, const std::map<CAt, std::string>& after,
                      const char* pszWhat, const CAt* pExcept = nullptr)
{
    for (const auto& [at, strValue] : before) {
        if (pExcept != nullptr && at == *pExcept)
            continue;
        const auto it = after.find(at);
        FUZZ_CHECK_SAY(it != after.end() && it->second == strValue, pszWhat, "[%s] %s was '%s', now '%s'",
                       at.first.c_str(), at.second.c_str(), strValue.c_str(),
                       it == after.end() ? "(not asked)" : it->second.c_str());
    }
}

// A save while no byte may be written: FALSE, the old file whole, nothing left behind.
void CheckFailedSave(CSettingsFile& file, const std::string& strPath)
{
    const std::string strBefore = FuzzReadFile(strPath);
    const size_t nFiles = CFuzzTempDir::List().size();
    // A write past the limit must fail with EFBIG rather than end the process, whatever handler
    // the fuzzer has put on the signal; both are put back at once.
    struct sigaction ignore {}, oldAction {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &oldAction);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit none = old;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
    const BOOL bSaved = file.SaveSettingsFile();
    setrlimit(RLIMIT_FSIZE, &old);
    sigaction(SIGXFSZ, &oldAction, nullptr);
    if (bSaved) {
        // Only a file without a written line can be saved with no byte to write.
        FUZZ_CHECK(FuzzReadFile(strPath).empty(), "a save with no room wrote nothing");
        FUZZ_CHECK(FuzzWriteFile(strPath, strBefore), "the old file is put back");
    } else {
        FUZZ_CHECK(FuzzReadFile(strPath) == strBefore, "a failed save leaves the old file whole");
    }
    FUZZ_CHECK(CFuzzTempDir::List().size() == nFiles, "no temporary file is left behind");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    CFuzzTempDir::Clear();
    CFuzzInput input(pData, cbData);
    CAt written("Fuzz", "Key");
    std::string strValue = "written";
    if (cbData > 0 && pData[0] == '\0') {
        input.TakeByte();
        written.first = input.TakeText(64);
        written.second = input.TakeText(64);
        strValue = input.TakeText(256);
    }
    const std::string strText = input.TakeBytes(FILE_MAX);
    const std::string strPath = CFuzzTempDir::Path("s.ini");
    FUZZ_CHECK(FuzzWriteFile(strPath, strText), "the input is written");

    // Read, save, read again: the same answers.
    std::set<CAt> names;
    std::map<CAt, std::string> first;
    {
        CSettingsFile file;
        FUZZ_CHECK(file.Open(strPath.c_str()), "a readable file opens");
        names = Names(file);
        first = ReadAll(file, names);
        FUZZ_CHECK(file.SaveSettingsFile(), "a save into our own folder succeeds");
    }   // and the object saves once more on its way out
    CSettingsFile file;
    FUZZ_CHECK(file.Open(strPath.c_str()), "a saved file opens");
    for (const CAt& at : Names(file))
        names.insert(at);
    names.insert(written);
    const std::map<CAt, std::string> second = ReadAll(file, names);
    CheckSameAnswers(first, second, "read, saved and read again, every key reads as it did");
    // Saving settles: from the second save on, a file read and saved again keeps its bytes (the
    // first may still drop a section line whose every value was empty).
    FUZZ_CHECK(file.SaveSettingsFile(), "a save into our own folder succeeds");
    const std::string strSavedAgain = FuzzReadFile(strPath);
    {
        CSettingsFile settled;
        FUZZ_CHECK(settled.Open(strPath.c_str()) && settled.SaveSettingsFile() &&
                       FuzzReadFile(strPath) == strSavedAgain,
                   "a file read and saved again keeps its bytes");
    }

    // One write through the store.
    const BOOL bTaken = file.WriteProfileString(written.first.c_str(), written.second.c_str(), strValue.c_str(), nullptr);
    const std::map<CAt, std::string> afterWrite = ReadAll(file, names);
    if (!bTaken) {
        CheckSameAnswers(second, afterWrite, "a refused write changes nothing");
        return 0;
    }
    CheckSameAnswers(second, afterWrite, "a write changes no other key", &written);
    FUZZ_CHECK(afterWrite.at(written) == (strValue.empty() ? std::string("-") : "=" + strValue),
               "the key written reads back its value");

    CheckFailedSave(file, strPath);
    FUZZ_CHECK(file.SaveSettingsFile(), "a save into our own folder succeeds");
    CSettingsFile reloaded;
    FUZZ_CHECK(reloaded.Open(strPath.c_str()), "a saved file opens");
    const std::map<CAt, std::string> third = ReadAll(reloaded, names);
    CheckSameAnswers(afterWrite, third, "saved and read again, every other key reads as it did", &written);
    // The file keeps a line break as backslash and 'n', so those two characters typed into a
    // value come back as a line break: the one change a save makes to a value.
    std::string strLoaded;
    for (size_t i = 0; i < strValue.size(); ++i) {
        const bool bPair = strValue[i] == '\\' && i + 1 < strValue.size() && strValue[i + 1] == 'n';
        strLoaded += bPair ? '\n' : strValue[i];
        i += bPair ? 1 : 0;
    }
    FUZZ_CHECK_SAY(third.at(written) == (strValue.empty() ? std::string("-") : "=" + strLoaded),
                   "the key written reads back after a save", "'%s' read back as '%s'", strValue.c_str(),
                   third.at(written).c_str());
    return 0;
}
