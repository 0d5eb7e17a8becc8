#pragma once
#include <vector>
#include "platform/win/WinTypes.h"

// Writes the text of one column's cell in a group's sum line, from the group's key value and
// its row count (0 and -1 for the view's total line). Installed by the table's owner.
class ICustSumFormat
{
public:
    virtual ~ICustSumFormat() = default;
    virtual void Format(int nKey, int nRows, int nCol, char* pszBuf, int nSize) = 0;
};

// A column's custom sum line: which cells of a group's sum line come from a handler instead of
// a sum. The handler is not owned.
class CCustSumLine
{
public:
    virtual ~CCustSumLine() = default;
    virtual void Format(int nKey, int nRows, int nCol, char* pszBuf, int nSize)
    {
        if (m_pHandler)
            m_pHandler->Format(nKey, nRows, nCol, pszBuf, nSize);
    }
    // Entry of a column: 0 an ordinary sum, non-zero a handler text, 2 asked again whenever the
    // group's sums change. Columns past the entries read 0.
    int  GetEntry(int nCol) const { return nCol >= 0 && nCol < static_cast<int>(m_entries.size()) ? m_entries[nCol] : 0; }
    void SetEntry(int nCol, int nEntry)
    {
        if (nCol < 0)
            return;
        if (nCol >= static_cast<int>(m_entries.size()))
            m_entries.resize(static_cast<size_t>(nCol) + 1, 0);
        m_entries[nCol] = nEntry;
    }
    int  GetEntryCount() const { return static_cast<int>(m_entries.size()); }

    ICustSumFormat* m_pHandler = nullptr;
    std::vector<int> m_entries;
    int m_nExtra = 0;
    int m_nKeyColumn = -1;              // the column whose group value the handler receives
};
