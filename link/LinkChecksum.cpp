#include "link/LinkChecksum.h"

void LinkChecksum(const char* pText, int nLength, char* pCheck)
{
    unsigned int uSum = 0;
    for (int i = 0; i < nLength; ++i)
        uSum += static_cast<unsigned char>(pText[i]);
    pCheck[0] = static_cast<char>('0' + ((uSum >> 6) & 63));
    pCheck[1] = static_cast<char>('0' + (uSum & 63));
}

BOOL LinkChecksumMatches(const char* pText, int nLength)
{
    if (!pText || nLength < 2)
        return FALSE;
    char check[2];
    LinkChecksum(pText, nLength - 2, check);
    return check[0] == pText[nLength - 2] && check[1] == pText[nLength - 1];
}
