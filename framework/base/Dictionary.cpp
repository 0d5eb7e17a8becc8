#include "framework/base/Dictionary.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// "(" at the start or after anything but a backslash, some text, then ")" after anything but a
// backslash: a part that stands for variable text. Shared by every entry while any exists.
tbre::regexp* s_pDetect = nullptr;
int s_nInstances = 0;

BOOL HasGroup(const char* pszText)
{
    return s_pDetect != nullptr && tbre::regexec(s_pDetect, pszText) ? TRUE : FALSE;
}

// Unescaped '(' characters of a text as written.
int CountGroups(const char* pszText)
{
    int nGroups = 0;
    for (const char* p = pszText; *p != '\0'; ++p)
        if (*p == '(' && (p == pszText || p[-1] != '\\'))
            ++nGroups;
    return nGroups;
}

// The template side as written turned into a substitution template: its n-th parenthesised part
// becomes "\n". Cut to DICT_SUBST_SIZE - 1 characters.
std::string MakeTemplate(const char* pszSide)
{
    std::string strTemplate;
    int nGroup = 0;
    for (const char* p = pszSide; *p != '\0'; ++p) {
        if (*p == '(' && (p == pszSide || p[-1] != '\\')) {
            const char* pszClose = strchr(p, ')');
            if (pszClose == nullptr)
                break;
            strTemplate += '\\';
            strTemplate += std::to_string(++nGroup);
            p = pszClose;
        } else {
            strTemplate += *p;
        }
    }
    if (strTemplate.size() > DICT_SUBST_SIZE - 1)
        strTemplate.resize(DICT_SUBST_SIZE - 1);
    return strTemplate;
}

int CompareEntries(const void* pA, const void* pB)
{
    const CDictString* a = *static_cast<CDictString* const*>(pA);
    const CDictString* b = *static_cast<CDictString* const*>(pB);
    // Plain entries (no group) first; among patterns the more specific, with more groups, first.
    bool bPlainA = a->GetGroupCount() == 0, bPlainB = b->GetGroupCount() == 0;
    if (bPlainA != bPlainB)
        return bPlainA ? -1 : 1;
    if (a->GetGroupCount() != b->GetGroupCount())
        return a->GetGroupCount() > b->GetGroupCount() ? -1 : 1;
    if (a->GetLeft().GetLength() != b->GetLeft().GetLength())
        return a->GetLeft().GetLength() > b->GetLeft().GetLength() ? -1 : 1;
    return a->m_nFileOrder < b->m_nFileOrder ? -1 : a->m_nFileOrder > b->m_nFileOrder ? 1 : 0;
}

// One line without its line end (LF, CR LF or a lone CR before LF); FALSE at the end of the file.
BOOL ReadLine(FILE* pFile, std::string& strLine)
{
    strLine.clear();
    char szChunk[1024];
    bool bAny = false;
    while (fgets(szChunk, sizeof szChunk, pFile) != nullptr) {
        bAny = true;
        strLine += szChunk;
        if (!strLine.empty() && strLine.back() == '\n')
            break;
    }
    while (!strLine.empty() && (strLine.back() == '\n' || strLine.back() == '\r'))
        strLine.pop_back();
    return bAny ? TRUE : FALSE;
}

}  // namespace

CDictString::CDictString()
{
    if (s_nInstances++ == 0)
        s_pDetect = tbre::regcomp("(^|[^\\\\])\\(.+[^\\\\]\\)");
}

CDictString::~CDictString()
{
    Init();
    if (--s_nInstances == 0) {
        free(s_pDetect);
        s_pDetect = nullptr;
    }
}

void CDictString::Init()
{
    m_strLeft.Empty();
    m_strRight.Empty();
    m_strPatternLeft.Empty();
    m_strPatternRight.Empty();
    free(m_pLeftRe);
    free(m_pRightRe);
    m_pLeftRe = nullptr;
    m_pRightRe = nullptr;
    m_bPattern = FALSE;
    m_nGroups = 0;
}

void CDictString::Set(const char* pszLeft, const char* pszRight)
{
    Init();
    if (pszLeft == nullptr || pszRight == nullptr)
        return;
    m_nGroups = CountGroups(pszLeft);
    if (HasGroup(pszLeft) && HasGroup(pszRight)) {
        m_bPattern = TRUE;
        m_strPatternLeft = pszLeft;
        m_strPatternRight = pszRight;
        // An expression that does not compile leaves its side never matching.
        m_pLeftRe = tbre::regcomp(pszLeft);
        m_pRightRe = tbre::regcomp(pszRight);
    }
    m_strLeft = Unescape(pszLeft, 0);
    m_strRight = Unescape(pszRight, 0);
}

CTBString CDictString::Unescape(const char* pszText, char ch)
{
    if (pszText == nullptr)
        return CTBString();
    std::string strOut;
    for (const char* p = pszText; *p != '\0'; ++p) {
        if (*p == '\\' && ch == '\0')
            continue;
        if (*p == '\\' && p[1] == ch)
            ++p;
        strOut += *p;
    }
    return CTBString(strOut.c_str());
}

BOOL CDictString::Lookup(const char* pszText, int nDirection, CTBString& strOut)
{
    bool bBack = nDirection == DICT_RIGHT_TO_LEFT;
    if (!m_bPattern) {
        if (strcmp(pszText, bBack ? m_strRight : m_strLeft) != 0)
            return FALSE;
        strOut = bBack ? m_strLeft : m_strRight;
        return TRUE;
    }
    return Substitute(bBack ? m_pRightRe : m_pLeftRe, pszText, bBack ? m_strPatternLeft : m_strPatternRight, strOut);
}

BOOL CDictString::Substitute(tbre::regexp* pRe, const char* pszText, const CTBString& strSide, CTBString& strOut) const
{
    if (pRe == nullptr || !tbre::regexec(pRe, pszText))
        return FALSE;
    std::string strTemplate = MakeTemplate(strSide);
    char szResult[DICT_SUBST_SIZE];
    tbre::regsub(pRe, strTemplate.c_str(), szResult, sizeof szResult);
    // The matched part is replaced; what stands around it in the text stays.
    std::string strText(pszText, pRe->startp[0]);
    strText += Unescape(szResult, 0);
    strText += pRe->endp[0];
    strOut = strText.c_str();
    return TRUE;
}

void CDictArray::Sort()
{
    if (GetSize() > 1)
        qsort(GetData(), static_cast<size_t>(GetSize()), sizeof(CDictString*), CompareEntries);
}

CTBString TranslateText(CDictArray& entries, const char* pszText, int nDirection)
{
    if (pszText == nullptr)
        return CTBString();
    CTBString strOut;
    for (CDictString* pEntry : entries)
        if (pEntry != nullptr && pEntry->Lookup(pszText, nDirection, strOut))
            return strOut;
    return CTBString(pszText);
}

BOOL CDictionary::LoadDictionaryFile(const char* pszPath)
{
    FILE* pFile = pszPath != nullptr ? fopen(pszPath, "r") : nullptr;
    if (pFile == nullptr)
        return FALSE;
    std::string strLine;
    int nOrder = 0;
    while (ReadLine(pFile, strLine)) {
        size_t nBar = strLine.find('|');
        // Empty lines, lines without a left text and lines without '|' hold no pair.
        if (nBar == std::string::npos || nBar == 0)
            continue;
        auto* pEntry = new CDictString;
        pEntry->Set(strLine.substr(0, nBar).c_str(), strLine.c_str() + nBar + 1);
        pEntry->m_nFileOrder = nOrder++;
        m_entries.Add(pEntry);
    }
    fclose(pFile);
    m_entries.Sort();
    m_bLoaded = TRUE;
    return TRUE;
}

CTBString CDictionary::Translate(const char* pszText, int nDirection)
{
    if (!m_bLoaded)
        return CTBString(pszText);
    return TranslateText(m_entries, pszText, nDirection);
}

CTBString CDictionary::TranslateString(UINT uId, int nDirection)
{
    CTBString strText;
    strText.LoadAppString(uId);
    return Translate(strText, nDirection);
}
