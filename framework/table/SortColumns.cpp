#include "framework/table/SortColumns.h"
#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include "framework/base/Ini.h"

CSortColumns::CSortColumns(int nCapacity)
    : m_pPairs(new CSortPair[nCapacity > 0 ? nCapacity : 1]), m_nCapacity(nCapacity > 0 ? nCapacity : 0)
{
}

CSortColumns::CSortColumns(const CSortColumns& other) : CSortColumns(other.m_nCapacity)
{
    Assign(other);
}

CSortColumns::~CSortColumns()
{
    delete[] m_pPairs;
}

void CSortColumns::Clear()
{
    for (int i = 0; i < m_nCapacity; ++i)
        m_pPairs[i] = CSortPair();
    m_nCount = 0;
    m_chTags[0] = m_chTags[1] = 0;
}

void CSortColumns::Add(int nColumn, int nDirection)
{
    if (m_nCount >= m_nCapacity)
        return;
    m_pPairs[m_nCount].m_nColumn = nColumn;
    m_pPairs[m_nCount].m_nDirection = nDirection < 0 ? SORT_DESCENDING : SORT_ASCENDING;
    if (m_nCount < 2)
        m_chTags[m_nCount] = PackedKeyTag(m_pPairs[m_nCount]);
    ++m_nCount;
}

void CSortColumns::Assign(const CSortColumns& other)
{
    if (&other == this)
        return;
    Clear();
    for (int i = 0; i < other.m_nCount; ++i)
        Add(other.m_pPairs[i]);
}

BOOL CSortColumns::HasColumn(int nColumn) const
{
    for (int i = 0; i < m_nCount; ++i)
        if (m_pPairs[i].m_nColumn == nColumn)
            return TRUE;
    return FALSE;
}

bool CSortColumns::operator==(const CSortColumns& other) const
{
    if (m_nCount != other.m_nCount)
        return false;
    for (int i = 0; i < m_nCount; ++i)
        if (m_pPairs[i].m_nColumn != other.m_pPairs[i].m_nColumn
            || m_pPairs[i].m_nDirection != other.m_pPairs[i].m_nDirection)
            return false;
    return true;
}

CTBString CSortColumns::ToText() const
{
    CTBString strText("");
    for (int i = 0; i < m_nCount; ++i) {
        char szItem[16];
        snprintf(szItem, sizeof szItem, "%s%c%d", i ? "," : "", m_pPairs[i].m_nDirection < 0 ? '-' : '+',
                 m_pPairs[i].m_nColumn);
        strText += szItem;
    }
    return strText;
}

BOOL CSortColumns::FromText(const char* pszText, int nColumns)
{
    Clear();
    if (IsBlankText(pszText))
        return TRUE;
    CTBString strRest(pszText);
    for (int nItem = 0; nItem < 30; ++nItem) {
        CTBString strItem(strRest);
        strItem.SplitToken(",", strRest);
        if (strItem.IsBlank())
            break;
        char chFirst = strItem.GetAt(0);
        if (!strItem.IsDigits() && chFirst != '+' && chFirst != '-')
            break;
        // The runtime's integer parse of the whole item: leading digits count, the rest not.
        errno = 0;
        long nValue = strtol(strItem, nullptr, 10);
        if (nValue <= INT_MIN || nValue > INT_MAX || errno == ERANGE) {
            Clear();
            return FALSE;
        }
        int nColumn = static_cast<int>(nValue < 0 ? -nValue : nValue);
        // A key of a column the view does not have would compare cells that are not there.
        if (nColumns >= 0 && nColumn >= nColumns)
            continue;
        Add(nColumn, chFirst == '-' ? SORT_DESCENDING : SORT_ASCENDING);
    }
    return TRUE;
}

BOOL CSortColumns::Save(CIni& ini, UINT uKeyId) const
{
    return ini.WriteString(uKeyId, ToText());
}

BOOL CSortColumns::Load(CIni& ini, UINT uKeyId, int nColumns)
{
    return FromText(ini.GetString(uKeyId, ""), nColumns);
}
