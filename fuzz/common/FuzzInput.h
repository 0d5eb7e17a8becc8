#pragma once
// Reads a fuzz input as a stream of decisions and texts. Every call answers something even when
// the bytes have run out (zero, the low bound, an empty text), so a target never has to check.
#include <cstddef>
#include <cstdint>
#include <string>

class CFuzzInput
{
public:
    CFuzzInput(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}

    bool IsEmpty() const { return m_nPos >= m_nSize; }
    size_t Remaining() const { return m_nSize - m_nPos; }

    uint8_t TakeByte() { return IsEmpty() ? 0 : m_pData[m_nPos++]; }
    bool TakeBool() { return (TakeByte() & 1) != 0; }

    // A number in nLow..nHigh (inclusive), from as few bytes as the range needs.
    int TakeInt(int nLow, int nHigh)
    {
        if (nHigh <= nLow)
            return nLow;
        const uint64_t nRange = static_cast<uint64_t>(static_cast<int64_t>(nHigh) - nLow) + 1;
        uint64_t nValue = 0;
        for (uint64_t nSpan = 1; nSpan < nRange && !IsEmpty(); nSpan <<= 8)
            nValue = (nValue << 8) | TakeByte();
        return static_cast<int>(nLow + static_cast<int64_t>(nValue % nRange));
    }

    // Up to nCount bytes, fewer at the end of the input.
    std::string TakeBytes(size_t nCount)
    {
        const size_t n = nCount < Remaining() ? nCount : Remaining();
        std::string s(reinterpret_cast<const char*>(m_pData + m_nPos), n);
        m_nPos += n;
        return s;
    }

    // A text up to a NUL byte (taken and dropped) or nMax bytes, whichever comes first; the
    // result never holds a NUL, so it can go where the system expects a C string.
    std::string TakeText(size_t nMax)
    {
        std::string s;
        while (!IsEmpty() && s.size() < nMax) {
            const char c = static_cast<char>(m_pData[m_nPos++]);
            if (c == '\0')
                break;
            s += c;
        }
        return s;
    }

    // Everything left, as it stands (NUL bytes included).
    std::string Rest() { return TakeBytes(Remaining()); }

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};
