#pragma once
#include "framework/base/TBString.h"

class CIni;

#define SORT_ASCENDING   1
#define SORT_DESCENDING  (-1)

struct CSortPair
{
    int m_nColumn = static_cast<int>(0x80000000);   // a cleared pair
    int m_nDirection = SORT_ASCENDING;
};

// A key's tag in a tree node (see CTreeNode::m_chKey1): (column + 1) * direction, 0 when the
// column cannot be tagged.
inline signed char PackedKeyTag(const CSortPair& key)
{
    return key.m_nColumn >= 0 && key.m_nColumn < 127
        ? static_cast<signed char>((key.m_nColumn + 1) * (key.m_nDirection < 0 ? -1 : 1)) : 0;
}

// A list of (column, direction) keys with a capacity fixed at construction: the sort keys of a
// view (30), its group keys (3) and its default sort keys (15). Text form "+3,-0".
class CSortColumns
{
public:
    explicit CSortColumns(int nCapacity);
    CSortColumns(const CSortColumns& other);
    CSortColumns& operator=(const CSortColumns& other) { Assign(other); return *this; }
    virtual ~CSortColumns();
    virtual void Clear();

    // A full list ignores further keys.
    void Add(int nColumn, int nDirection);
    void Add(const CSortPair& pair) { Add(pair.m_nColumn, pair.m_nDirection); }
    // Takes the other's keys, as many as fit.
    void Assign(const CSortColumns& other);
    BOOL HasColumn(int nColumn) const;
    int  GetCount() const { return m_nCount; }
    int  GetCapacity() const { return m_nCapacity; }
    const CSortPair& GetAt(int nIndex) const { return m_pPairs[nIndex]; }
    const CSortPair* GetPairs() const { return m_pPairs; }
    // The tags of the first two keys (0 = none), kept as keys come and go: every comparison of
    // a walk down a tree matches them against the nodes' packed keys.
    signed char GetPackedTag(int nIndex) const { return m_chTags[nIndex & 1]; }
    bool operator==(const CSortColumns& other) const;

    CTBString ToText() const;
    // Replaces the list; FALSE (list empty) for a column number that cannot be negated. Items
    // past the capacity, and with nColumns >= 0 items naming no column below it, are dropped.
    BOOL FromText(const char* pszText, int nColumns = -1);
    BOOL Save(CIni& ini, UINT uKeyId) const;
    BOOL Load(CIni& ini, UINT uKeyId, int nColumns = -1);

private:
    CSortPair* m_pPairs;
    int m_nCapacity;
    int m_nCount = 0;
    signed char m_chTags[2] = {0, 0};
};

class CGroupColumns : public CSortColumns
{
public:
    CGroupColumns() : CSortColumns(3) {}
};

class CDefaultSortColumns : public CSortColumns
{
public:
    CDefaultSortColumns() : CSortColumns(15) {}
};
