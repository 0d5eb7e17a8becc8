#pragma once
// The link's send queue: a circular byte buffer of the size the link was made with, holding
// the lines to write one after another, each ended by a NUL. Three positions walk it: the
// write position (where the next line goes), the next line not yet written, and the oldest
// line not yet acknowledged, which may be written again.
#include <string>
#include "platform/win/WinTypes.h"

class CSendQueue
{
public:
    explicit CSendQueue(int nSize);
    ~CSendQueue();
    CSendQueue(const CSendQueue&) = delete;
    CSendQueue& operator=(const CSendQueue&) = delete;

    // All positions to 0: the queue is empty.
    void Reset();
    // Stores the line and its NUL. FALSE, with nothing changed, when it does not fit in front
    // of the oldest unacknowledged line (one byte always stays free) or holds a NUL.
    BOOL Put(const char* pLine, int nLength);

    // Lines not yet written / not yet acknowledged.
    BOOL HasUnsent() const { return m_nNext != m_nWrite; }
    BOOL HasUnacknowledged() const { return m_nOldest != m_nWrite; }
    // Copies the next unwritten line (bAdvance) or the oldest unacknowledged one into strLine;
    // with bAdvance the next position moves past it. FALSE when there is none.
    BOOL TakeLine(BOOL bAdvance, std::string& strLine);
    // Everything written so far counts as acknowledged: its room is free again.
    void AcknowledgeWritten() { m_nOldest = m_nNext; }

    int GetSize() const { return m_nSize; }
    int GetUsed() const;        // bytes between the oldest line and the write position

private:
    char* m_pData;              // owned, m_nSize bytes, zeroed at construction
    int m_nSize;
    int m_nWrite = 0;
    int m_nNext = 0;
    int m_nOldest = 0;
};
