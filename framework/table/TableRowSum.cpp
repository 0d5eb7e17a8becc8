#include "framework/table/TableRowSum.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include "framework/base/ColumnValues.h"
#include "framework/table/TableGroup.h"
#include "framework/table/ViewTable.h"

CTableRowSum::CTableRowSum()
{
    m_bKind = NODE_SUM;
    SetFlag(ROW_EDITABLE | ROW_MARKABLE, FALSE);
}

CTableRowSum::~CTableRowSum()
{
    FreeSums();
}

void CTableRowSum::FreeSums()
{
    CTableColumns::FreeRowValues(m_pSums);
    m_pSums = nullptr;
    m_custom.clear();
    m_wide.clear();
}

namespace {
BOOL IsWideSummed(const CTableColumn* pColumn)
{
    return pColumn->GetDataType() == COLTYPE_INT32 || pColumn->GetDataType() == COLTYPE_INT;
}
}  // namespace

void CTableRowSum::ResetRow()
{
    CTableRow::ResetRow();
    SetFlag(ROW_EDITABLE | ROW_MARKABLE, FALSE);
}

void CTableRowSum::Init(CViewTable* pView, CTableGroup* pOwner)
{
    FreeSums();
    m_pOwner = pOwner;
    if (pView)
        m_pSums = pView->GetColumns().AllocRowValues(FALSE);
    CTreeNode::Init(m_pSums);
    int nColumns = pView ? pView->GetColumnCount() : 0;
    m_wide.assign(static_cast<size_t>(nColumns), 0);
    AllocAttributes(nColumns);
    // Sum lines are bold in text colour 1.
    for (int i = 0; i < nColumns; ++i)
        SetAttr(i, 1, static_cast<BYTE>(CELL_BOLD | 1));
}

// The custom sum line of the view's first group column, whether or not it applies now.
static const CCustSumLine* FirstGroupCustomLine(CViewTable* pView)
{
    if (pView->GetGroupColumns().GetCount() == 0)
        return nullptr;
    const CTableColumn* pFirst = pView->GetColumns().GetColumn(pView->GetGroupColumns().GetAt(0).m_nColumn);
    return pFirst ? &pFirst->m_custSum : nullptr;
}

void CTableRowSum::DirtyFollowingTexts(CViewTable* pView)
{
    const CCustSumLine* pCustom = FirstGroupCustomLine(pView);
    for (size_t i = 0; i < m_custom.size(); ++i)
        if (!pCustom || pCustom->GetEntry(static_cast<int>(i)) == 2)
            m_custom[i].bDirty = TRUE;
}

void CTableRowSum::Reset(CViewTable* pView)
{
    if (!m_pSums || !pView)
        return;
    const CTableColumns& columns = pView->GetColumns();
    for (int i = 0; i < columns.GetCount(); ++i)
        ClearColumnValue(&m_pSums[i], columns[i]->GetDataType());
    std::fill(m_wide.begin(), m_wide.end(), 0);
    DirtyFollowingTexts(pView);
}

BOOL CTableRowSum::Accumulate(const CTableRow* pRow, CViewTable* pView, int nCol, BOOL bAdd)
{
    const TBCellSlot* pValues = pRow ? pRow->GetData() : nullptr;
    if (!m_pSums || !pValues || !pView)
        return FALSE;
    const CTableColumns& columns = pView->GetColumns();
    int nFirst = nCol < 0 ? 0 : nCol;
    int nLast = nCol < 0 ? columns.GetCount() - 1 : nCol;
    if (nLast >= columns.GetCount())
        return FALSE;
    BOOL bMet = FALSE;
    for (int i = nFirst; i <= nLast; ++i) {
        const CTableColumn* pColumn = columns[i];
        if (!pColumn->m_bSummed)
            continue;
        bMet = TRUE;
        int nRowDecimals = pColumn->GetDecimals(pRow->IsFraction(i));
        int nSumDecimals = pColumn->GetDecimals(IsFraction(i));
        if (pColumn->GetDataType() == COLTYPE_DOUBLE && pValues[i].pData != nullptr) {
            // A total adds the rows as they show, each rounded once to the decimals of its cell.
            double dValue;
            memcpy(&dValue, pValues[i].pData, sizeof dValue);
            dValue = pColumn->ShownDouble(pValues, dValue, pRow->IsFraction(i));
            TBCellSlot shown{};
            shown.pData = &dValue;
            if (bAdd)
                AddColumnValues(&m_pSums[i], nSumDecimals, &shown, nRowDecimals, COLTYPE_DOUBLE);
            else
                SubtractColumnValues(&m_pSums[i], nSumDecimals, &shown, nRowDecimals, COLTYPE_DOUBLE);
            continue;
        }
        if (IsWideSummed(pColumn) && static_cast<size_t>(i) < m_wide.size()) {
            LONGLONG& nSum = m_wide[static_cast<size_t>(i)];
            if (bAdd)
                AddInt64Value(&nSum, nSumDecimals, pValues[i].nValue == MISSING_INT32 ? MISSING_INT64 : pValues[i].nValue,
                              nRowDecimals);
            else
                SubtractInt64Value(&nSum, nSumDecimals,
                                   pValues[i].nValue == MISSING_INT32 ? MISSING_INT64 : pValues[i].nValue, nRowDecimals);
            // The cell keeps the sum where it fits, for whoever reads the line's values.
            m_pSums[i].nValue = nSum > INT32_MIN && nSum <= INT32_MAX ? static_cast<int32_t>(nSum) : MISSING_INT32;
            continue;
        }
        if (bAdd)
            AddColumnValues(&m_pSums[i], nSumDecimals, &pValues[i], nRowDecimals, pColumn->GetDataType());
        else
            SubtractColumnValues(&m_pSums[i], nSumDecimals, &pValues[i], nRowDecimals, pColumn->GetDataType());
    }
    if (bMet)
        DirtyFollowingTexts(pView);
    return bMet;
}

BOOL CTableRowSum::AddRow(const CTableRow* pRow, CViewTable* pView, int nCol)
{
    return Accumulate(pRow, pView, nCol, TRUE);
}

BOOL CTableRowSum::SubtractRow(const CTableRow* pRow, CViewTable* pView, int nCol)
{
    return Accumulate(pRow, pView, nCol, FALSE);
}

void CTableRowSum::InvalidateCustomTexts()
{
    for (CustomText& text : m_custom)
        text.bDirty = TRUE;
}

void CTableRowSum::GetCellText(char* pszBuf, int nSize, int nCol, const CTableColumn* pColumn, CViewTable* pView)
{
    if (!pszBuf || nSize <= 0)
        return;
    pszBuf[0] = '\0';
    if (!pColumn || !pView || nCol < 0 || nCol >= pView->GetColumnCount())
        return;
    const CCustSumLine* pCustom = pView->HasCustomGroupSumLine() ? FirstGroupCustomLine(pView) : nullptr;
    if (pCustom && pCustom->GetEntry(nCol) != 0) {
        if (m_custom.size() < static_cast<size_t>(pView->GetColumnCount()))
            m_custom.resize(static_cast<size_t>(pView->GetColumnCount()));
        CustomText& text = m_custom[static_cast<size_t>(nCol)];
        int nTextSize = pColumn->m_nSize > 0 ? pColumn->m_nSize : 1;
        if (text.buffer.size() != static_cast<size_t>(nTextSize)) {
            text.buffer.assign(static_cast<size_t>(nTextSize), '\0');
            text.bDirty = TRUE;
        }
        if (text.bDirty) {
            int nKey = 0;
            int nRows = -1;
            if (m_pOwner) {
                const TBCellSlot* pGroupValues = m_pOwner->GetData();
                int nKeyCol = pCustom->m_nKeyColumn;
                nKey = pGroupValues && nKeyCol >= 0 && nKeyCol < pView->GetColumnCount() ? pGroupValues[nKeyCol].nValue : 0;
                nRows = m_pOwner->m_rows.GetCount();
            }
            memset(text.buffer.data(), 0, text.buffer.size());
            const_cast<CCustSumLine*>(pCustom)->Format(nKey, nRows, nCol, text.buffer.data(), nTextSize);
            text.buffer.back() = '\0';
            text.bDirty = FALSE;
        }
        snprintf(pszBuf, static_cast<size_t>(nSize), "%s", text.buffer.data());
        return;
    }
    if (pColumn->m_bSummed && IsWideSummed(pColumn) && static_cast<size_t>(nCol) < m_wide.size())
        FormatInt64Value(pszBuf, nSize, m_wide[static_cast<size_t>(nCol)], pColumn->GetDecimals(IsFraction(nCol)), *pColumn);
    else if (pColumn->m_bSummed)
        CTableTreeNode::GetCellText(pszBuf, nSize, nCol, pColumn, pView);
}
