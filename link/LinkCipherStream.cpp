#include "link/LinkCipherStream.h"
#include <cstring>
#include "link/crypto/LinkCipher.h"

CLinkCipherStream::CLinkCipherStream()
{
    ClearKey();
    std::memset(m_carry, 0, sizeof m_carry);
}

void CLinkCipherStream::SetOn(BOOL bOn)
{
    m_bOn = bOn ? TRUE : FALSE;
    m_nCarry = 0;
}

void CLinkCipherStream::ClearKey()
{
    std::memset(m_szKey, 0, sizeof m_szKey);
}

BOOL CLinkCipherStream::Encrypt(const char* pBytes, int nLength, std::vector<BYTE>& out) const
{
    if (nLength <= 0)
        return TRUE;
    const int nPadded = (nLength + LINK_CIPHER_BLOCK - 1) / LINK_CIPHER_BLOCK * LINK_CIPHER_BLOCK;
    const size_t nStart = out.size();
    out.resize(nStart + static_cast<size_t>(nPadded));
    BYTE* p = out.data() + nStart;
    std::memcpy(p, pBytes, static_cast<size_t>(nLength));
    std::memset(p + nLength, '-', static_cast<size_t>(nPadded - nLength));
    if (TwofishEncryptBlocks(p, p, nPadded, m_szKey) != 0) {
        out.resize(nStart);
        return FALSE;
    }
    return TRUE;
}

BOOL CLinkCipherStream::Decrypt(const BYTE* pBytes, int nLength, std::vector<BYTE>& out)
{
    if (nLength <= 0)
        return TRUE;
    const int nTotal = m_nCarry + nLength;
    const int nWhole = nTotal / LINK_CIPHER_BLOCK * LINK_CIPHER_BLOCK;
    if (nWhole == 0) {
        std::memcpy(m_carry + m_nCarry, pBytes, static_cast<size_t>(nLength));
        m_nCarry = nTotal;
        return TRUE;
    }
    // Decipher in place at the end of out, then squeeze the padding out of what was added.
    const size_t nStart = out.size();
    out.resize(nStart + static_cast<size_t>(nWhole));
    BYTE* p = out.data() + nStart;
    std::memcpy(p, m_carry, static_cast<size_t>(m_nCarry));
    std::memcpy(p + m_nCarry, pBytes, static_cast<size_t>(nWhole - m_nCarry));
    const int nUsed = nWhole - m_nCarry;
    m_nCarry = nLength - nUsed;
    std::memcpy(m_carry, pBytes + nUsed, static_cast<size_t>(m_nCarry));
    if (TwofishDecryptBlocks(p, p, nWhole, m_szKey) != 0) {
        out.resize(nStart);
        return FALSE;
    }
    // p starts on a block boundary of the stream, so offsets within p tell the boundaries.
    int nOut = 0;
    for (int i = 0; i < nWhole;) {
        const BYTE* pLf = static_cast<const BYTE*>(std::memchr(p + i, '\n', static_cast<size_t>(nWhole - i)));
        const int nLineEnd = pLf ? static_cast<int>(pLf - p) + 1 : nWhole;
        std::memmove(p + nOut, p + i, static_cast<size_t>(nLineEnd - i));
        nOut += nLineEnd - i;
        i = nLineEnd;
        if (!pLf)
            break;
        const int nBoundary = (i + LINK_CIPHER_BLOCK - 1) / LINK_CIPHER_BLOCK * LINK_CIPHER_BLOCK;
        int j = i;
        while (j < nBoundary && p[j] == '-')
            ++j;
        if (j == nBoundary)
            i = nBoundary;
    }
    out.resize(nStart + static_cast<size_t>(nOut));
    return TRUE;
}
