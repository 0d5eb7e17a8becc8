// Fuzz target resource_file: the resource-script reader and the resource modules on a file made
// of the input.
//
// Input: the file's bytes up to a NUL; "1256" after the NUL loads it as an Arabic library.
//
// Properties:
// - the file loads as a module; every string it yields loads through LoadStringA as the reader's
//   text in the module's code page, terminated, and a buffer of any size is never overrun: a cut
//   text is a prefix of the whole one;
// - an id the file does not give loads nothing and leaves the empty text;
// - image entries are found only when their path fits the caller's buffer;
// - whatever comes before it, a later valid string table still yields its string, and every
//   string of the damaged part keeps its text.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "fuzz/common/FuzzInput.h"
#include "fuzz/platform/win/FuzzFiles.h"
#include "platform/win/kernel/CodePage.h"
#include "platform/win/kernel/ResourceScript.h"
#include "platform/win/kernel/Resources.h"

namespace {

const size_t TEXT_MAX = 8192;
const UINT LATER_ID = 65432;
const char LATER_TEXT[] = "a later string";
// Closes a comment the damaged part may have left open, then a clean table. Outside a comment
// the "*/" is a stray line, which the reader reports and steps over.
const char LATER_TABLE[] = "\n*/\nSTRINGTABLE\nBEGIN\n    65432, \"a later string\"\nEND\n";

void CheckLoads(HMODULE hModule, UINT uId, const std::string& strWant)
{
    std::vector<char> whole(strWant.size() + 16, '\x7f');
    const int nWhole = LoadStringA(hModule, uId, whole.data(), static_cast<int>(whole.size()));
    FUZZ_CHECK_SAY(nWhole == static_cast<int>(strWant.size()) && whole[nWhole] == '\0' &&
                       std::string(whole.data(), nWhole) == strWant,
                   "a string loads as the reader's text in the module's code page", "string %u: %d of %zu", uId,
                   nWhole, strWant.size());
    for (int cch : {1, 2, 3, 8, 64}) {
        std::vector<char> small(cch + 8, '\x7f');
        const int n = LoadStringA(hModule, uId, small.data(), cch);
        FUZZ_CHECK_SAY(n >= 0 && n < cch && small[n] == '\0' && n == (nWhole < cch - 1 ? nWhole : cch - 1) &&
                           std::string(small.data(), n) == strWant.substr(0, n),
                       "a string is cut to its buffer, terminated", "string %u into %d: %d", uId, cch, n);
        for (size_t i = cch; i < small.size(); ++i)
            FUZZ_CHECK_SAY(small[i] == '\x7f', "a string stays in its buffer", "string %u, buffer %d", uId, cch);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t cbData)
{
    CFuzzTempDir::Clear();
    CFuzzInput input(pData, cbData);
    const std::string strText = input.TakeText(TEXT_MAX);
    const bool bArabic = input.TakeText(8) == "1256";
    const UINT uCodePage = bArabic ? 1256 : 1252;

    CResourceScript script;
    script.Parse(strText);
    const std::string strFile = CFuzzTempDir::Path(bArabic ? "fuzz_1256.rc" : "fuzz_1252.rc");
    FUZZ_CHECK(FuzzWriteFile(strFile, strText), "the input is written");
    HMODULE hModule = LoadLibraryA(strFile.c_str());
    FUZZ_CHECK(hModule != nullptr, "a readable file loads, faults and all");
    for (const auto& [uId, strUtf8] : script.GetStrings())
        CheckLoads(hModule, uId, TbUtf8ToCodePage(strUtf8, uCodePage));
    // Ids the file does not give: nothing, and the empty text.
    for (UINT uId : {0u, 1u, 65535u, 65536u, 0xFFFFFFFFu}) {
        if (script.GetStrings().count(uId) != 0)
            continue;
        char sz[8] = "xxxxxxx";
        FUZZ_CHECK(LoadStringA(hModule, uId, sz, sizeof(sz)) == 0 && sz[0] == '\0', "a missing id loads nothing");
    }
    // Image entries: a path that does not fit is refused, one that fits is terminated.
    for (const auto& [strKey, strName] : script.GetFiles()) {
        const size_t nSlash = strKey.find('/');
        const std::string strType = strKey.substr(0, nSlash);
        const std::string strEntry = strKey.substr(nSlash + 1);
        for (int cch : {1, 16, 4096}) {
            std::vector<char> path(cch + 8, '\x7f');
            const BOOL bFound = TbFindResourceFile(hModule, strType.c_str(), strEntry.c_str(), path.data(), cch);
            if (bFound)
                FUZZ_CHECK(strlen(path.data()) < static_cast<size_t>(cch), "a path found is terminated");
            for (size_t i = cch; i < path.size(); ++i)
                FUZZ_CHECK_SAY(path[i] == '\x7f', "a path stays in its buffer", "buffer %d", cch);
        }
    }
    FUZZ_CHECK(FreeLibrary(hModule), "the module is freed");

    // A later valid table is read whatever came before it, and the damaged part keeps its texts.
    CResourceScript withLater;
    withLater.Parse(strText + LATER_TABLE);
    if (script.GetStrings().count(LATER_ID) == 0) {
        const auto it = withLater.GetStrings().find(LATER_ID);
        FUZZ_CHECK(it != withLater.GetStrings().end(), "the later string table was lost");
        FUZZ_CHECK(it->second == LATER_TEXT, "the later string keeps its text");
    }
    for (const auto& [uId, strUtf8] : script.GetStrings()) {
        const auto it = withLater.GetStrings().find(uId);
        FUZZ_CHECK_SAY(it != withLater.GetStrings().end() && it->second == strUtf8,
                       "what follows the damage changes none of its strings", "string %u", uId);
    }
    return 0;
}
