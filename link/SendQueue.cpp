#include "link/SendQueue.h"
#include <algorithm>
#include <cstring>

CSendQueue::CSendQueue(int nSize)
    : m_pData(new char[static_cast<size_t>(std::max(nSize, 2))]()), m_nSize(std::max(nSize, 2))
{
}

CSendQueue::~CSendQueue()
{
    delete[] m_pData;
}

void CSendQueue::Reset()
{
    m_nWrite = m_nNext = m_nOldest = 0;
}

int CSendQueue::GetUsed() const
{
    const int n = m_nWrite - m_nOldest;
    return n >= 0 ? n : n + m_nSize;
}

BOOL CSendQueue::Put(const char* pLine, int nLength)
{
    if (!pLine || nLength < 0 || std::memchr(pLine, 0, static_cast<size_t>(nLength)))
        return FALSE;
    // The write position may never come round to the oldest line, or a full queue would read
    // as an empty one.
    if (GetUsed() + nLength + 1 > m_nSize - 1)
        return FALSE;
    for (int i = 0; i <= nLength; ++i) {
        m_pData[m_nWrite] = i < nLength ? pLine[i] : '\0';
        m_nWrite = (m_nWrite + 1) % m_nSize;
    }
    return TRUE;
}

BOOL CSendQueue::TakeLine(BOOL bAdvance, std::string& strLine)
{
    int nPos = bAdvance ? m_nNext : m_nOldest;
    if (nPos == m_nWrite)
        return FALSE;
    strLine.clear();
    while (nPos != m_nWrite && m_pData[nPos] != '\0') {
        const int nEnd = nPos < m_nWrite ? m_nWrite : m_nSize;
        const char* pStart = m_pData + nPos;
        const void* pNul = std::memchr(pStart, 0, static_cast<size_t>(nEnd - nPos));
        const int nRun = pNul ? static_cast<int>(static_cast<const char*>(pNul) - pStart) : nEnd - nPos;
        strLine.append(pStart, static_cast<size_t>(nRun));
        nPos = (nPos + nRun) % m_nSize;
    }
    if (nPos != m_nWrite)
        nPos = (nPos + 1) % m_nSize;    // past the NUL
    if (bAdvance)
        m_nNext = nPos;
    return TRUE;
}
