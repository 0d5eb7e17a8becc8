#include "link/ReceiveRing.h"
#include <algorithm>
#include <cstring>

CReceiveRing::CReceiveRing()
    : m_pData(new BYTE[RECEIVE_RING_SIZE]())
{
}

CReceiveRing::~CReceiveRing()
{
    delete[] m_pData;
}

int CReceiveRing::GetUsed() const
{
    const int n = m_nWrite - m_nRead;
    return n >= 0 ? n : n + RECEIVE_RING_SIZE;
}

int CReceiveRing::Put(const BYTE* pBytes, int nCount)
{
    const int nTake = std::min(std::max(nCount, 0), GetFree());
    int nDone = 0;
    while (nDone < nTake) {
        const int nRun = std::min(nTake - nDone, RECEIVE_RING_SIZE - m_nWrite);
        std::memcpy(m_pData + m_nWrite, pBytes + nDone, static_cast<size_t>(nRun));
        m_nWrite = (m_nWrite + nRun) % RECEIVE_RING_SIZE;
        nDone += nRun;
    }
    return nTake;
}

int CReceiveRing::PeekSegment(const BYTE** ppBytes) const
{
    *ppBytes = m_pData + m_nRead;
    return m_nWrite >= m_nRead ? m_nWrite - m_nRead : RECEIVE_RING_SIZE - m_nRead;
}

void CReceiveRing::Skip(int nCount)
{
    const int nSkip = std::min(std::max(nCount, 0), GetUsed());
    m_nRead = (m_nRead + nSkip) % RECEIVE_RING_SIZE;
}

int CReceiveRing::TakeAll(BYTE* pOut, int nMax)
{
    int nDone = 0;
    while (nDone < nMax && !IsEmpty()) {
        const BYTE* p = nullptr;
        const int nRun = std::min(PeekSegment(&p), nMax - nDone);
        std::memcpy(pOut + nDone, p, static_cast<size_t>(nRun));
        Skip(nRun);
        nDone += nRun;
    }
    return nDone;
}
