#include "market/DataArray.h"
#include "framework/base/ColumnValues.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The fixed forms are not terminated in their storage, and the engine copies exactly this many
// bytes, so a shorter text is padded with zeros first.
int FixedTextChars(int nType)
{
    switch (nType) {
    case COLTYPE_CHAR4:
    case COLTYPE_PACKED_DATE:
    case COLTYPE_PACKED_TIME:
        return 4;
    case COLTYPE_PACKED_DATETIME:
    case COLTYPE_TIME_TEXT:
        return 6;
    case COLTYPE_DATE_TEXT:
        return 8;
    case COLTYPE_DATETIME_TEXT:
        return 14;
    default:
        return 0;
    }
}

// A 32-bit integer from a text, as the system's atol: out-of-range values stop at the limits.
static int32_t TextToInt32(const char* pszText)
{
    long long nValue = strtoll(pszText, nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(nValue, INT32_MIN, INT32_MAX));
}

// ---------------------------------------------------------------------------------------------
// CDataBuffer

CDataBuffer::CDataBuffer(CDataArray* pArray) : m_pArray(pArray)
{
}

CDataBuffer::CDataBuffer(CDataArray* pArray, const TBCellSlot* pSource) : m_pArray(pArray)
{
    TBCellSlot* pValues = AllocValues();
    CViewTable* pView = m_pArray ? m_pArray->GetReadView() : nullptr;
    if (pValues && pSource && pView)
        pView->GetColumns().CopyRowValues(pValues, pSource);
}

CDataBuffer::~CDataBuffer()
{
    delete m_pPending;
    CTableColumns::FreeRowValues(m_pValues);
}

TBCellSlot* CDataBuffer::AllocValues()
{
    if (!m_pValues) {
        CViewTable* pView = m_pArray ? m_pArray->GetReadView() : nullptr;
        if (pView)
            m_pValues = pView->GetColumns().AllocRowValues(FALSE);
    }
    return m_pValues;
}

const CTableColumn* CDataBuffer::GetColumn(int nCol) const
{
    CViewTable* pView = m_pArray ? m_pArray->GetReadView() : nullptr;
    if (!pView || nCol < 0 || nCol >= pView->GetColumnCount())
        return nullptr;
    return pView->GetColumns().GetColumn(nCol);
}

BOOL CDataBuffer::SetText(int nCol, const char* pszText, BOOL bPublish)
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn)
        return FALSE;
    if (!pszText)
        pszText = "";
    switch (pColumn->GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED: {
        int32_t nValue = TextToInt32(pszText);
        return Write(nCol, &nValue, bPublish);
    }
    case COLTYPE_INT64: {
        LONGLONG nValue = strtoll(pszText, nullptr, 10);
        return Write(nCol, &nValue, bPublish);
    }
    case COLTYPE_DOUBLE: {
        double dValue = m_pArray != nullptr ? m_pArray->HeldAmount(this, nCol, atof(pszText)) : atof(pszText);
        return Write(nCol, &dValue, bPublish);
    }
    default:
        return SetValue(nCol, pszText, bPublish);
    }
}

BOOL CDataBuffer::SetValue(int nCol, const void* pValue, BOOL bPublish)
{
    const CTableColumn* pColumn = GetColumn(nCol);
    if (!pColumn)
        return FALSE;
    int nType = pColumn->GetDataType();
    int nFixed = FixedTextChars(nType);
    if (nFixed > 0) {
        char achText[16] = {};
        if (pValue)
            strncpy(achText, static_cast<const char*>(pValue), static_cast<size_t>(nFixed));
        return Write(nCol, achText, bPublish);
    }
    switch (nType) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
    case COLTYPE_INT64:
    case COLTYPE_DOUBLE:
    case COLTYPE_STRING:
        return Write(nCol, pValue, bPublish);
    default:
        return FALSE;       // a column without a value of its own
    }
}

BOOL CDataBuffer::SetDouble(int nCol, double dValue, BOOL bPublish)
{
    if (m_pArray != nullptr)
        dValue = m_pArray->HeldAmount(this, nCol, dValue);
    // The value goes through its text with 16 fraction digits. From 1 up (and for 0, infinities
    // and NaN) that text holds every significant digit and reads back as the same double, so a
    // double column takes the value itself: the text costs a quarter of a quote line's batch.
    const CTableColumn* pColumn = GetColumn(nCol);
    if (pColumn && pColumn->GetDataType() == COLTYPE_DOUBLE
        && (dValue == 0 || !std::isfinite(dValue) || std::fabs(dValue) >= 1))
        return Write(nCol, &dValue, bPublish);
    // Room for the whole part of any double with 16 fraction digits.
    char szText[400];
    snprintf(szText, sizeof szText, "%.16f", dValue);
    return SetText(nCol, szText, bPublish);
}

BOOL CDataBuffer::Write(int nCol, const void* pValue, BOOL bPublish)
{
    TBCellSlot* pValues = AllocValues();
    if (!pValues)
        return FALSE;
    const CTableColumns& columns = m_pArray->GetReadView()->GetColumns();
    // An equal value changes nothing: no lookup in the engine table, no repaint.
    if (!columns.SlotDiffers(&pValues[nCol], pValue, nCol))
        return TRUE;
    CTable* pTable = m_pArray->GetTable();
    BOOL bKey = m_bAdded && m_pArray->IsKeyColumn(nCol);
    if (bKey)
        m_pArray->Reshaped();
    BOOL bThrough = m_bAdded && bPublish && pTable;
    if (m_bDirty) {
        if (bKey && !m_bKeyChanged) {
            m_bKeyChanged = TRUE;
            ++m_pArray->m_nKeyBatches;
        }
        CRow* pPending = bThrough ? OpenPending() : nullptr;
        if (!pPending || !pPending->UpdateCell(nCol, pValue))
            columns.SetSlotValue(&pValues[nCol], pValue, nCol);
        return TRUE;
    }
    int nOld = bKey && !m_pArray->IsBulk() ? m_pArray->IndexOfRow(this) : -1;
    BOOL bStored = FALSE;
    if (bThrough) {
        CRow key(pTable, pValues);
        CRow found = pTable->FindRow(key);
        // The engine moves the row itself when the value is one of its views' sort keys.
        bStored = found.IsValid() && found.UpdateCell(nCol, pValue);
    }
    if (!bStored)
        columns.SetSlotValue(&pValues[nCol], pValue, nCol);
    if (nOld >= 0)
        m_pArray->Reposition(this, nOld);
    return TRUE;
}

CRow* CDataBuffer::OpenPending()
{
    if (m_pPending)
        return m_pPending;
    CTable* pTable = m_pArray->GetTable();
    if (!pTable || !m_pValues)
        return nullptr;
    CRow key(pTable, m_pValues);
    CRow found = pTable->FindRow(key);
    if (!found.IsValid())
        return nullptr;
    m_pPending = new CRow(found);
    m_pPending->BeginUpdate();
    return m_pPending;
}

void CDataBuffer::CloseBatch()
{
    if (m_pPending) {
        m_pPending->EndUpdate();
        delete m_pPending;
        m_pPending = nullptr;
    }
    m_bDirty = FALSE;
}

void CDataBuffer::Commit()
{
    if (!m_bDirty)
        return;
    CloseBatch();
    if (m_bKeyChanged) {
        m_bKeyChanged = FALSE;
        m_pArray->OnKeyBatchCommitted(this);
    }
}

BOOL CDataBuffer::WriteColour(int nCol, int nColour, int nFlags)
{
    CTable* pTable = m_pArray ? m_pArray->GetTable() : nullptr;
    if (!m_bAdded || !pTable || !m_pValues || !GetColumn(nCol))
        return FALSE;
    if (m_bDirty) {
        CRow* pPending = OpenPending();
        if (!pPending)
            return FALSE;
        return nFlags == WRITE_TEXTCOLOR ? pPending->SetCellTextColor(nCol, nColour)
                                         : pPending->SetCellBackColor(nCol, nColour);
    }
    CRow key(pTable, m_pValues);
    CRow found = pTable->FindRow(key);
    if (!found.IsValid())
        return FALSE;
    // A single write would repaint the row even when every view shows that colour already.
    int nByte = nFlags == WRITE_TEXTCOLOR ? 1 : 0;
    BOOL bSame = TRUE;
    for (int i = 0; i < found.GetViewCount() && bSame; ++i) {
        const CTableRow* pNode = found.GetViewRow(i)->GetNode();
        bSame = pNode && (pNode->GetAttr(nCol, nByte) & CELL_TEXT_MASK) == (nColour & CELL_TEXT_MASK);
    }
    if (bSame)
        return TRUE;
    return nFlags == WRITE_TEXTCOLOR ? found.SetCellTextColor(nCol, nColour) : found.SetCellBackColor(nCol, nColour);
}

BOOL CDataBuffer::SetCellAttribute(int nCol, int nColour)
{
    return WriteColour(nCol, nColour, WRITE_TEXTCOLOR);
}

BOOL CDataBuffer::SetCellBackColor(int nCol, int nColour)
{
    return WriteColour(nCol, nColour, WRITE_BACKCOLOR);
}

BOOL CDataBuffer::SetViewCellAttribute(int nView, int nCol, int nColour)
{
    CTable* pTable = m_pArray ? m_pArray->GetTable() : nullptr;
    if (!m_bAdded || m_bDirty || !pTable || !m_pValues || !GetColumn(nCol) || nView < 0
        || nView >= pTable->GetViewCount())
        return FALSE;
    CRow key(pTable, m_pValues);
    CRow found = pTable->FindRow(key);
    CViewRow* pRow = found.GetViewRow(nView);
    return pRow && pRow->IsValid() && pRow->SetCellBackColor(nCol, nColour);
}

int CDataBuffer::Compare(const CDataBuffer* pOther, int nKeys) const
{
    CViewTable* pView = m_pArray ? m_pArray->GetReadView() : nullptr;
    if (!pView || !pOther || nKeys == 0)
        return 0;
    const std::vector<int>& keys = m_pArray->m_keys;
    int nCount = static_cast<int>(keys.size());
    if (nCount == 0)
        return 0;
    if (nKeys < 0 || nKeys > nCount)
        nKeys = nCount;
    if (!m_pValues || !pOther->m_pValues)
        return (m_pValues != nullptr) - (pOther->m_pValues != nullptr);
    const CTableColumns& columns = pView->GetColumns();
    for (int i = 0; i < nKeys; ++i) {
        int nCol = keys[static_cast<size_t>(i)];
        const CTableColumn* pColumn = columns.GetColumn(nCol);
        int nDecimals = pColumn->GetDecimals(FALSE);
        int nResult = CompareColumnValues(&m_pValues[nCol], nDecimals, &pOther->m_pValues[nCol], nDecimals,
                                          pColumn->GetDataType());
        if (nResult != 0)
            return nResult;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// CDataArray

uint64_t CDataArray::NextShape()
{
    // One clock for every store: a store made where another was never repeats its stamps.
    static uint64_t s_nClock = 0;
    return ++s_nClock;
}

CDataArray::~CDataArray()
{
    RemoveAll();
    delete m_pKeyRow;
}

void CDataArray::SetTable(CTable* pTable)
{
    if (!pTable)
        return;
    m_pTable = pTable;
    Reshaped();
    delete m_pKeyRow;
    m_pKeyRow = nullptr;
}

CViewTable* CDataArray::GetReadView() const
{
    if (!m_pTable)
        return nullptr;
    CViewTable* pView = m_pTable->GetCurrentView();
    return pView ? pView : m_pTable->GetView(0);
}

int CDataArray::GetColumnCount() const
{
    CViewTable* pView = GetReadView();
    return pView ? pView->GetColumnCount() : 0;
}

BOOL CDataArray::SetKeyColumns(std::span<const int> columns)
{
    int nColumns = GetColumnCount();
    if (nColumns == 0 || columns.empty() || static_cast<int>(columns.size()) > nColumns)
        return FALSE;
    for (int nCol : columns)
        if (nCol < 0 || nCol >= nColumns)
            return FALSE;
    m_keys.assign(columns.begin(), columns.end());
    Reshaped();
    // Rows stored under the old keys would hide from every binary search: sorted now, or when
    // the open batches and the load are done.
    if (!IsBulk())
        Sort();
    else
        m_bKeysMoved = TRUE;
    return TRUE;
}

BOOL CDataArray::IsKeyColumn(int nCol) const
{
    return std::find(m_keys.begin(), m_keys.end(), nCol) != m_keys.end();
}

void CDataArray::SetMoneyColumns(std::span<const int> columns, int nCurrencyCol, int nDefaultDecimals)
{
    m_money.assign(static_cast<size_t>(std::max(GetColumnCount(), 0)), false);
    for (const int nCol : columns)
        if (nCol >= 0 && static_cast<size_t>(nCol) < m_money.size())
            m_money[static_cast<size_t>(nCol)] = true;
    m_nCurrencyCol = nCurrencyCol;
    m_nMoneyDecimals = nDefaultDecimals;
}

int CurrencyDecimals(const char* pszCurrency, int nDecimals)
{
    if (pszCurrency == nullptr)
        return nDecimals;
    if (*pszCurrency == '=')
        ++pszCurrency;
    if (*pszCurrency == '\0')
        return nDecimals;
    // An amount that shows more places than any currency's unit (an average cost to four) keeps them.
    if (nDecimals < -3 && nDecimals >= -15)
        return nDecimals;
    // The dinar counts a thousand fils; the other currencies the accounts hold, a hundred cents.
    static const struct { const char* pszCode; int nDecimals; } s_units[] = {{"KWD", 3}};
    for (const auto& unit : s_units)
        if (strcmp(pszCurrency, unit.pszCode) == 0)
            return -unit.nDecimals;
    return -2;
}

double CDataArray::HeldAmount(const CDataBuffer* pRow, int nCol, double dValue) const
{
    if (nCol < 0 || static_cast<size_t>(nCol) >= m_money.size() || !m_money[static_cast<size_t>(nCol)]
        || !std::isfinite(dValue))
        return dValue;
    const CViewTable* pView = GetReadView();
    const CTableColumn* pColumn = pView != nullptr && nCol < pView->GetColumnCount() ? pView->GetColumns().GetColumn(nCol) : nullptr;
    const int nOwn = pColumn != nullptr ? pColumn->GetDecimals(FALSE) : 0;
    // Held to the places the cell shows: its currency's unit, or the table's while it names none.
    int nDecimals = m_nMoneyDecimals;
    if (nDecimals >= 0 && nOwn < -nDecimals && nOwn < -3 && nOwn >= -15)
        nDecimals = -nOwn;
    if (m_nCurrencyCol >= 0 && m_nCurrencyCol != nCol) {
        const CString strCurrency = pRow->GetText(m_nCurrencyCol);
        const char* pszCode = static_cast<const char*>(strCurrency);
        if (*pszCode == '=')
            ++pszCode;
        if (*pszCode != '\0')
            nDecimals = -CurrencyDecimals(pszCode, nOwn);
    }
    if (nDecimals < 0)
        return dValue;
    const double dHeld = RoundHalfAwayFromZero(dValue, nDecimals);
    return std::isfinite(dHeld) ? dHeld : dValue;
}

int CDataArray::GetKeyColumn(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetKeyColumnCount() ? m_keys[static_cast<size_t>(nIndex)] : -1;
}

CDataBuffer* CDataArray::GetAt(int nIndex) const
{
    return nIndex >= 0 && nIndex < GetCount() ? m_rows[static_cast<size_t>(nIndex)] : nullptr;
}

int CDataArray::AddRow(CDataBuffer* pRow, BOOL bPublish)
{
    const TBCellSlot* pSource = pRow ? pRow->AllocValues() : nullptr;
    if (!pSource)
        return -1;
    CDataBuffer* pCopy = new CDataBuffer(this, pSource);
    Reshaped();
    if (!pCopy->GetValues()) {
        delete pCopy;
        return -1;
    }
    int nIndex = GetCount();
    if (IsBulk()) {
        // Appended out of order while a batch's key change is open: the last Commit sorts.
        if (!m_bBulk)
            m_bKeysMoved = TRUE;
        m_rows.push_back(pCopy);
        m_lead.push_back(LeadOf(pCopy));
    } else {
        BOOL bEqual = FALSE;
        nIndex = InsertPosition(pCopy, &bEqual);
        if (bEqual) {
            delete pCopy;
            return -1;
        }
        m_rows.insert(m_rows.begin() + nIndex, pCopy);
        m_lead.insert(m_lead.begin() + nIndex, LeadOf(pCopy));
    }
    // The copy's block is new, so the engine table cannot hold it yet.
    if (bPublish && m_pTable) {
        CRow row(m_pTable, pCopy->GetValues());
        m_pTable->InsertRow(row);
    }
    pCopy->m_bAdded = TRUE;
    return nIndex;
}

void CDataArray::Unpublish(CDataBuffer* pRow)
{
    pRow->CloseBatch();
    if (pRow->m_bKeyChanged) {
        pRow->m_bKeyChanged = FALSE;
        --m_nKeyBatches;
        m_bKeysMoved = TRUE;
    }
    // An emptied engine table (a new reply) needs no lookup per row. The base view's nodes
    // count rather than its lines, which a filter or a sum mode may hide.
    CViewTable* pBase = m_pTable ? m_pTable->GetView(0) : nullptr;
    if (!pBase || !pRow->GetValues() || pBase->GetRowTree().GetNodeCount() == 0)
        return;
    CRow key(m_pTable, pRow->GetValues());
    CRow found = m_pTable->FindRow(key);
    if (found.IsValid())
        m_pTable->DeleteRow(found);
}

BOOL CDataArray::RemoveAt(int nIndex)
{
    CDataBuffer* pRow = GetAt(nIndex);
    if (!pRow)
        return FALSE;
    Unpublish(pRow);
    Reshaped();
    m_rows.erase(m_rows.begin() + nIndex);
    m_lead.erase(m_lead.begin() + nIndex);
    delete pRow;
    // The last open key batch went with the row: what it left out of order is sorted now.
    if (m_nKeyBatches == 0 && m_bKeysMoved && !m_bBulk) {
        m_bKeysMoved = FALSE;
        Sort();
    }
    return TRUE;
}

void CDataArray::RemoveAll()
{
    for (CDataBuffer* pRow : m_rows) {
        Unpublish(pRow);
        delete pRow;
    }
    m_rows.clear();
    m_lead.clear();
    Reshaped();
    m_nKeyBatches = 0;
    m_bKeysMoved = FALSE;
}

void CDataArray::EndUpdate()
{
    if (!m_bBulk)
        return;
    m_bBulk = FALSE;
    if (m_nKeyBatches > 0) {
        m_bKeysMoved = TRUE;
        return;
    }
    m_bKeysMoved = FALSE;
    Sort();
}

void CDataArray::Sort()
{
    Reshaped();
    // Stable: rows with equal keys keep the order they arrived in.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const CDataBuffer* pA, const CDataBuffer* pB) { return pA->Compare(pB, -1) < 0; });
    RebuildLead();
}

void CDataArray::OnKeyBatchCommitted(CDataBuffer* pRow)
{
    Reshaped();
    --m_nKeyBatches;
    if (m_bBulk)
        return;
    if (m_nKeyBatches > 0) {
        m_bKeysMoved = TRUE;
        return;
    }
    if (m_bKeysMoved) {
        m_bKeysMoved = FALSE;
        Sort();
        return;
    }
    // Only this row is out of place: a search by address finds it, a binary search its new place.
    auto it = std::find(m_rows.begin(), m_rows.end(), pRow);
    if (it != m_rows.end())
        Reposition(pRow, static_cast<int>(it - m_rows.begin()));
}

void CDataArray::Reposition(CDataBuffer* pRow, int nOldIndex)
{
    Reshaped();
    m_rows.erase(m_rows.begin() + nOldIndex);
    m_lead.erase(m_lead.begin() + nOldIndex);
    BOOL bEqual = FALSE;
    int nIndex = InsertPosition(pRow, &bEqual);
    // Equal keys with another row: both stay, this one after it.
    m_rows.insert(m_rows.begin() + nIndex, pRow);
    m_lead.insert(m_lead.begin() + nIndex, LeadOf(pRow));
}

int CDataArray::InsertPosition(const CDataBuffer* pRow, BOOL* pbEqual) const
{
    size_t nFirst = 0;
    size_t nLast = m_rows.size();
    int nCovered = 0;
    if (!LeadRange(pRow, -1, &nFirst, &nLast, &nCovered)) {
        // No row has its leading keys: it goes where they would stand.
        *pbEqual = FALSE;
        return static_cast<int>(nFirst);
    }
    if (nCovered >= GetKeyColumnCount()) {
        // Every key settled: after the equal rows.
        *pbEqual = TRUE;
        return static_cast<int>(nLast);
    }
    auto first = m_rows.begin() + static_cast<std::ptrdiff_t>(nFirst);
    auto it = std::upper_bound(first, m_rows.begin() + static_cast<std::ptrdiff_t>(nLast), pRow,
                               [](const CDataBuffer* pA, const CDataBuffer* pB) { return pA->Compare(pB, -1) < 0; });
    *pbEqual = it != first && (*(it - 1))->Compare(pRow, -1) == 0;
    return static_cast<int>(it - m_rows.begin());
}

BOOL CDataArray::HasIntegerLead() const
{
    CViewTable* pView = GetReadView();
    if (m_keys.empty() || !pView)
        return FALSE;
    const CTableColumn* pColumn = pView->GetColumns().GetColumn(m_keys[0]);
    if (!pColumn)
        return FALSE;
    // The slot holds the value itself; one column's values share a decimal code, so they
    // order as plain integers.
    const int nType = pColumn->GetDataType();
    return nType == COLTYPE_INT32 || nType == COLTYPE_INT || nType == COLTYPE_COMPUTED;
}

BOOL CDataArray::HasNumberSecond() const
{
    CViewTable* pView = GetReadView();
    if (m_keys.size() < 2 || !pView)
        return FALSE;
    const CTableColumn* pColumn = pView->GetColumns().GetColumn(m_keys[1]);
    const int nType = pColumn ? pColumn->GetDataType() : 0;
    return nType == COLTYPE_INT32 || nType == COLTYPE_INT || nType == COLTYPE_COMPUTED || nType == COLTYPE_DOUBLE;
}

CDataArray::CLead CDataArray::LeadOf(const CDataBuffer* pRow) const
{
    CLead lead;
    if (m_keys.empty() || !pRow || !pRow->m_pValues)
        return lead;
    lead.nFirst = pRow->m_pValues[m_keys[0]].nValue;
    if (m_keys.size() < 2)
        return lead;
    const TBCellSlot& slot = pRow->m_pValues[m_keys[1]];
    CViewTable* pView = GetReadView();
    const CTableColumn* pColumn = pView ? pView->GetColumns().GetColumn(m_keys[1]) : nullptr;
    if (pColumn && pColumn->GetDataType() == COLTYPE_DOUBLE)
        // A missing value orders first, as the column's own comparison has it.
        lead.dSecond = slot.pData ? *static_cast<const double*>(slot.pData) : -HUGE_VAL;
    else
        lead.dSecond = slot.nValue;
    return lead;
}

void CDataArray::RebuildLead()
{
    m_lead.resize(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i)
        m_lead[i] = LeadOf(m_rows[i]);
}

BOOL CDataArray::LeadRange(const CDataBuffer* pKey, int nKeys, size_t* pnFirst, size_t* pnLast, int* pnCovered) const
{
    *pnFirst = 0;
    *pnLast = m_rows.size();
    *pnCovered = 0;
    if (!pKey || !pKey->m_pValues || nKeys == 0 || m_lead.size() != m_rows.size() || !HasIntegerLead())
        return TRUE;
    const CLead key = LeadOf(pKey);
    auto range = std::equal_range(m_lead.begin(), m_lead.end(), key,
                                  [](const CLead& a, const CLead& b) { return a.nFirst < b.nFirst; });
    *pnFirst = static_cast<size_t>(range.first - m_lead.begin());
    *pnLast = static_cast<size_t>(range.second - m_lead.begin());
    *pnCovered = 1;
    if (range.first == range.second)
        return FALSE;
    // Within one leading key the second orders the rows; not a number (which orders nowhere)
    // leaves the stretch to the row comparison.
    if ((nKeys < 0 || nKeys > 1) && HasNumberSecond() && key.dSecond == key.dSecond) {
        range = std::equal_range(range.first, range.second, key,
                                 [](const CLead& a, const CLead& b) { return a.dSecond < b.dSecond; });
        *pnFirst = static_cast<size_t>(range.first - m_lead.begin());
        *pnLast = static_cast<size_t>(range.second - m_lead.begin());
        *pnCovered = 2;
        if (range.first == range.second)
            return FALSE;
    }
    return TRUE;
}
