#pragma once
// Where one display line of a view is: the line kinds and the five-field position record that
// the grouped tree fills on every insert, locate and removal, and that every row cursor carries.

class CTableRow;
class CTableGroup;

#define LINE_NONE       0   // no line, or a new row not yet in the tree
#define LINE_ROW        1   // data row
#define LINE_GROUP_END  2   // data row that closes its group
#define LINE_GROUP_SUM  3   // a group's sum line
#define LINE_TOTAL      4   // the grand total line
#define LINE_EMPTY      5   // empty separator line

struct CRowPosition
{
    CTableRow*   m_pNode = nullptr;
    CTableGroup* m_pGroup = nullptr;    // the group holding the line, null outside groups
    int m_nIndex = -1;                  // display index
    int m_nGroupStart = -1;             // display index of the group's first line
    int m_nKind = LINE_NONE;

    void Clear() { *this = CRowPosition(); }
    bool IsDataRow() const { return m_nKind == LINE_ROW || m_nKind == LINE_GROUP_END; }
};
