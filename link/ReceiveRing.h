#pragma once
// The link's receive ring: received bytes wait here until the framing cuts them into lines.
// 32000 bytes, allocated zeroed with the link and kept for its whole life; one byte always
// stays free, so equal indices mean empty and the ring holds at most 31999 bytes.
#include "platform/win/WinTypes.h"

#define RECEIVE_RING_SIZE 32000

class CReceiveRing
{
public:
    CReceiveRing();
    ~CReceiveRing();
    CReceiveRing(const CReceiveRing&) = delete;
    CReceiveRing& operator=(const CReceiveRing&) = delete;

    void Reset() { m_nWrite = m_nRead = 0; }
    int  GetUsed() const;
    int  GetFree() const { return RECEIVE_RING_SIZE - 1 - GetUsed(); }
    BOOL IsEmpty() const { return m_nWrite == m_nRead; }

    // Stores as many bytes as there is room for, wrapping at the end; returns how many.
    int  Put(const BYTE* pBytes, int nCount);
    // The bytes from the read index up to the write index or the end of the storage, whichever
    // comes first; Skip moves the read index past bytes the reader has taken.
    int  PeekSegment(const BYTE** ppBytes) const;
    void Skip(int nCount);
    // Takes everything out, at most nMax bytes into pOut; returns how many.
    int  TakeAll(BYTE* pOut, int nMax);

private:
    BYTE* m_pData;              // owned, RECEIVE_RING_SIZE bytes
    int m_nWrite = 0;
    int m_nRead = 0;
};
