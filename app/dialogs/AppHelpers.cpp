// The application's small services.
#include "app/dialogs/AppHelpers.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/base/NorvGlobals.h"
#include "link/ServerMessage.h"

LPCSTR GetLanguageCode()
{
    return GetNorvGlobals().m_bRightToLeft ? "1" : "0";
}

int GetRawLineNumber(const CServerMessage* pMessage)
{
    if (pMessage == nullptr)
        return 0;
    const CString strLine = pMessage->GetRawLine();
    // Empty pieces do not count: "&XC||17" carries 17.
    int nPiece = 0;
    const char* p = strLine;
    while (*p != '\0') {
        const size_t nLength = strcspn(p, "|");
        if (nLength > 0 && ++nPiece == 2)
            return atoi(std::string(p, nLength).c_str());
        p += nLength;
        if (*p == '|')
            ++p;
    }
    return 0;
}

namespace {
int Base64Value(unsigned char ch)
{
    if (ch >= 'A' && ch <= 'Z')
        return ch - 'A';
    if (ch >= 'a' && ch <= 'z')
        return ch - 'a' + 26;
    if (ch >= '0' && ch <= '9')
        return ch - '0' + 52;
    if (ch == '+')
        return 62;
    if (ch == '/')
        return 63;
    return -1;
}
}  // namespace

BOOL Base64DecodeString(const CString& strText, CString* pOut)
{
    std::string strBytes;
    strBytes.reserve(static_cast<size_t>(strText.GetLength()) * 3 / 4 + 1);
    unsigned nBits = 0;
    int nBitCount = 0;
    int nDigits = 0;
    int nPadding = 0;
    for (const char* p = strText; *p != '\0'; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n')
            continue;
        if (ch == '=') {
            ++nPadding;
            continue;
        }
        const int nValue = Base64Value(ch);
        // A digit after the padding, or anything outside the alphabet, is not Base64.
        if (nValue < 0 || nPadding > 0)
            return FALSE;
        ++nDigits;
        nBits = (nBits << 6) | static_cast<unsigned>(nValue);
        nBitCount += 6;
        if (nBitCount >= 8) {
            nBitCount -= 8;
            strBytes += static_cast<char>((nBits >> nBitCount) & 0xFF);
        }
    }
    // One digit alone makes no byte; padding only completes the last group of four.
    if (nDigits % 4 == 1 || nPadding > 2 || (nPadding > 0 && (nDigits + nPadding) % 4 != 0))
        return FALSE;
    // Through the buffer: the bytes may hold zeros, which a C-string copy would stop at.
    const int nBytes = static_cast<int>(strBytes.size());
    memcpy(pOut->GetBufferSetLength(nBytes), strBytes.data(), strBytes.size());
    pOut->ReleaseBuffer(nBytes);
    return TRUE;
}

CString FormatChartViewKey(int n)
{
    CString strKey;
    strKey.Format("ChartView%d", n);
    return strKey;
}
