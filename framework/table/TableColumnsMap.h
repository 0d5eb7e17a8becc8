#pragma once
#include "framework/base/OwnedPtrArray.h"

class CViewTable;
class CTableColumn;
class CTableColumns;
class CIni;

// The display order of a view's columns: column indexes by display position.
class CTableColumnsMap
{
public:
    virtual ~CTableColumnsMap() = default;
    virtual void Append(int nCol);

    void SetView(CViewTable* pView) { m_pView = pView; }
    void Clear() { m_order.SetSize(0); }
    // Refused (FALSE) when the other map's view has another column count.
    BOOL CopyFrom(const CTableColumnsMap& other);
    int  GetCount() const { return m_order.GetSize(); }
    CTableColumn* GetColumn(int nPos) const;
    int  GetColumnIndex(int nPos) const { return m_order.GetAt(nPos); }
    int  FindPosition(int nCol) const;
    // The entry leaves nFrom and goes before the entry that was at nTo (appended past the end).
    BOOL MoveColumn(int nFrom, int nTo);
    // Columns not hidden; -1 when none is.
    int  GetVisibleColumnCount() const;
    void Rebuild(const CTableColumns& columns);

    void Save(CIni* pLayout) const;
    // Refused whole (the order stays) unless the stored order is a permutation of the columns.
    BOOL Load(CIni* pLayout);

private:
    CViewTable* m_pView = nullptr;
    CTBIntArray m_order;
};
