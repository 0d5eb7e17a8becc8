#pragma once
// The rows of the lines a grid window shows, read from its view once per paint instead of once
// per pane and cell. The grid window owns one, sets it to the rows on screen before it paints
// and clears it whenever the rows under the range may have changed.
#include <memory>
#include "platform/win/WinTypes.h"

class CViewTable;
class CViewRow;
class CTableRow;

class CTableRowCache
{
public:
    // The least number of slots SetCapacity keeps: a grid rarely shows more lines than this.
    static constexpr int MIN_CAPACITY = 100;

    CTableRowCache() = default;
    virtual ~CTableRowCache() = default;
    CTableRowCache(const CTableRowCache&) = delete;
    CTableRowCache& operator=(const CTableRowCache&) = delete;

    // Binds the view (not owned) and makes nCapacity fresh slots; FALSE, with no slots, for a
    // capacity below 1 or memory that cannot be had.
    BOOL Init(CViewTable* pView, int nCapacity);
    // Grows the slots so that nLines lines fit (never below MIN_CAPACITY), keeping the view;
    // the range is cleared when the slots are remade. FALSE when memory cannot be had: the
    // old slots stay.
    BOOL SetCapacity(int nLines);
    // Empties the range and every slot; slots keep their memory.
    void Clear();
    // Takes the range of nCount view rows from nFirst, cut to the capacity; an unchanged range
    // keeps its filled slots unless bForce.
    void SetRange(int nFirst, int nCount, BOOL bForce);

    // The slot of a screen line (0 = the range's first row), read from the view on first use;
    // null for a line outside the range, a row the view does not have, or no slots or view.
    CViewRow*  GetLine(int nLine);
    CTableRow* GetLineRow(int nLine);
    // The same by view index.
    CViewRow*  GetRow(int nIndex) { return m_nFirst < 0 ? nullptr : GetLine(nIndex - m_nFirst); }
    CTableRow* GetRowData(int nIndex) { return m_nFirst < 0 ? nullptr : GetLineRow(nIndex - m_nFirst); }

    int GetFirst() const { return m_nFirst; }          // -1 while empty
    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }
    CViewTable* GetView() const { return m_pView; }

private:
    CViewTable* m_pView = nullptr;      // not owned
    int m_nFirst = -1;
    int m_nCount = 0;
    int m_nCapacity = 0;
    int m_nFilled = 0;                  // slots from here on were not read since the last Clear
    std::unique_ptr<CViewRow[]> m_pSlots;   // a slot without a node is not read yet
};
