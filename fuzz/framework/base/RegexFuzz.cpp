// Fuzz target regex: the regular expressions of the dictionaries, whose patterns come from
// dictionary files.
//
// Input: the expression (up to a NUL), the text (up to a NUL, at most 300 bytes), a destination size byte,
// then the substitution template.
//
// Properties: an expression is compiled into a program that starts with the magic byte, or is
// refused with a message; a match lies inside the text and every group that took part lies
// inside the match; a substitution is terminated inside its destination, whatever its size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/Regex.h"
#include "fuzz/common/FuzzCheck.h"
#include "fuzz/common/FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzInput in(data, size);
    const std::string strExpression = in.TakeText(2000);
    // Matching time grows with program size times text length only: texts long enough for the
    // matcher's memory of tried positions to span several words.
    const std::string strText = in.TakeText(300);
    const size_t cbDest = 1 + in.TakeByte();
    const std::string strTemplate = in.TakeText(200);

    tbre::regerror(nullptr);
    tbre::regexp* pRe = tbre::regcomp(strExpression.c_str());
    if (pRe == nullptr) {
        FUZZ_CHECK(tbre::RegLastError() != nullptr, "a refused expression is reported");
        return 0;
    }
    FUZZ_CHECK(static_cast<unsigned char>(pRe->program[0]) == tbre::REGEXP_MAGIC, "the program starts with its magic");
    const char* pszText = strText.c_str();
    if (tbre::regexec(pRe, pszText)) {
        const char* pszStart = pRe->startp[0];
        const char* pszEnd = pRe->endp[0];
        FUZZ_CHECK(pszStart >= pszText && pszStart <= pszEnd && pszEnd <= pszText + strText.size(),
                   "the match lies inside the text");
        for (int i = 1; i < tbre::NSUBEXP; ++i) {
            FUZZ_CHECK((pRe->startp[i] == nullptr) == (pRe->endp[i] == nullptr), "a group has both ends or none");
            if (pRe->startp[i] != nullptr)
                FUZZ_CHECK(pRe->startp[i] >= pszStart && pRe->startp[i] <= pRe->endp[i] && pRe->endp[i] <= pszEnd,
                           "a group lies inside the match");
        }
        // Exactly the size given, so that a write past it is seen.
        char* pszDest = static_cast<char*>(malloc(cbDest));
        tbre::regsub(pRe, strTemplate.c_str(), pszDest, cbDest);
        FUZZ_CHECK(strlen(pszDest) < cbDest, "the substitution is terminated inside its destination");
        free(pszDest);
    }
    free(pRe);
    return 0;
}
