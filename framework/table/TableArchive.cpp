#include "framework/table/TableArchive.h"
#include <cstdlib>
#include <cstring>
#include <vector>
#include "framework/table/TableFilters.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"

CTableFileArchive::CTableFileArchive(CViewTable* pView, BOOL bRowState) : m_pView(pView), m_bRowState(bRowState)
{
    int nSize = 3;
    int nColumns = pView ? pView->GetColumnCount() : 0;
    for (int i = 0; i < nColumns; ++i)
        nSize += 2 * pView->GetColumns()[i]->m_nSize + 1;
    if (bRowState)
        nSize += 2 * nColumns + 11;
    m_nBufferSize = nSize;
}

CTableFileArchive::~CTableFileArchive()
{
    Close();
}

BOOL CTableFileArchive::Open(const char* pszPath, BOOL bForReading)
{
    Close();
    if (!pszPath)
        return FALSE;
    m_pFile = fopen(pszPath, bForReading ? "r" : "w+");
    m_nRows = 0;
    return m_pFile != nullptr;
}

void CTableFileArchive::Close()
{
    if (m_pFile)
        fclose(m_pFile);
    m_pFile = nullptr;
    m_nRows = 0;
}

long CTableFileArchive::GetFileSize() const
{
    if (!m_pFile)
        return 0;
    long nAt = ftell(m_pFile);
    fseek(m_pFile, 0, SEEK_END);
    long nSize = ftell(m_pFile);
    fseek(m_pFile, nAt, SEEK_SET);
    return nSize;
}

int CTableFileArchive::WriteString(const char* pszText)
{
    if (!m_pFile || !pszText)
        return 0;
    return fputs(pszText, m_pFile) >= 0 ? 1 : 0;
}

int CTableFileArchive::ReadString(char* pszBuffer, int nSize)
{
    if (!m_pFile || !pszBuffer || nSize < 2)
        return 0;
    return fgets(pszBuffer, nSize, m_pFile) != nullptr ? 1 : 0;
}

const char* CTableFileArchive::ReadLine()
{
    if (!m_pFile)
        return nullptr;
    // Whole lines: a long line read in pieces would turn its tail into a bogus row. A NUL byte
    // ends the text of its line, never the line: the next line stays a row of its own.
    m_line.clear();
    int ch;
    while ((ch = getc(m_pFile)) != EOF) {
        m_line += static_cast<char>(ch);
        if (ch == '\n')
            break;
    }
    if (m_line.empty())
        return nullptr;
    return m_line.c_str();
}

int CTableFileArchive::ReadHeader(const CTableColumns&)
{
    return ReadLine() ? 1 : 0;
}

std::string CTableFileArchive::EscapeField(const char* pszText, char chSeparator, char chEscape)
{
    std::string out;
    for (const char* psz = pszText ? pszText : ""; *psz; ++psz) {
        if (*psz == chSeparator || *psz == chEscape)
            out += chEscape;
        out += *psz;
    }
    return out;
}

int CTableFileArchive::UnescapeField(char* pszText, char chReplace, char chSeparator, char chEscape)
{
    if (!pszText || !*pszText)
        return 0;
    char* pszOut = pszText;
    for (const char* psz = pszText; *psz;) {
        if (*psz == chEscape && (psz[1] == chSeparator || psz[1] == chEscape)) {
            *pszOut++ = psz[1];
            psz += 2;
        } else if (*psz == chSeparator) {
            *pszOut++ = chReplace;
            ++psz;
        } else {
            *pszOut++ = *psz++;
        }
    }
    *pszOut = '\0';
    return static_cast<int>(pszOut - pszText);
}

int CTableFileArchive::WriteHeader(const CTableColumns& columns)
{
    std::string line;
    for (const CTableColumn* pColumn : columns) {
        for (const char* psz = pColumn->GetTitle(); *psz; ++psz)
            line += *psz == '\n' ? ' ' : *psz;
        line += m_chSeparator;
    }
    if (line.size() > 1024)
        line.resize(1024);
    // A title line of full length gets its line end all the same: the next line is a row.
    line += '\n';
    return WriteString(line.c_str());
}

// A status character that cannot stand in a line is carried as a blank.
static char CarriedStatus(char ch)
{
    return ch == '\0' || ch == '\n' || ch == '\r' ? ' ' : ch;
}

static BOOL IsMissingFill(const char* pszText, int nSize)
{
    int n = 0;
    while (pszText[n] == '#')
        ++n;
    return n == nSize - 1 && pszText[n] == '\0';
}

static BOOL IsNumberType(int nType)
{
    return nType == COLTYPE_INT32 || nType == COLTYPE_INT || nType == COLTYPE_COMPUTED || nType == COLTYPE_INT64
           || nType == COLTYPE_DOUBLE;
}

// An empty field of a number column is a missing value, as the writer leaves it.
static BOOL SetMissingValue(const CTableColumns& columns, TBCellSlot* pSlot, int nCol)
{
    const int32_t nMissing = MISSING_INT32;
    const LONGLONG nMissing64 = MISSING_INT64;
    const double dMissing = MISSING_DOUBLE;
    switch (columns[nCol]->GetDataType()) {
    case COLTYPE_INT32:
    case COLTYPE_INT:
    case COLTYPE_COMPUTED:
        columns.SetSlotValue(pSlot, &nMissing, nCol);
        return TRUE;
    case COLTYPE_INT64:
        columns.SetSlotValue(pSlot, &nMissing64, nCol);
        return TRUE;
    case COLTYPE_DOUBLE:
        columns.SetSlotValue(pSlot, &dMissing, nCol);
        return TRUE;
    }
    return FALSE;
}

int CTableFileArchive::WriteRow(CTableRow* pNode)
{
    if (!pNode || pNode->GetKind() != NODE_ROW || !m_pView)
        return 0;
    if (m_pFilters && !m_pFilters->Match(pNode, -1))
        return 1;
    const CTableColumns& columns = m_pView->GetColumns();
    int nColumns = columns.GetCount();
    std::string line;
    std::vector<char> cell;
    for (int i = 0; i < nColumns; ++i) {
        // The whole text of any value: a number wider than the column's text size would show
        // as '#' characters, which no reader takes back.
        int nSize = columns[i]->GetFullTextSize();
        cell.assign(static_cast<size_t>(nSize), '\0');
        pNode->GetCellText(cell.data(), nSize, i, columns[i], m_pView);
        // A missing value shows as a fill of '#' that no reader takes back; it travels as an
        // empty field (no text fills the whole buffer: a text cell holds fewer characters). A
        // zero shown blank is written out, or it would read back as missing.
        if (IsMissingFill(cell.data(), nSize))
            cell[0] = '\0';
        else if (cell[0] == '\0' && IsNumberType(columns[i]->GetDataType()))
            snprintf(cell.data(), cell.size(), "0");
        line += EscapeField(cell.data(), m_chSeparator, m_chEscape);
        if (i < nColumns - 1 || m_bRowState)
            line += m_chSeparator;
    }
    if (m_bRowState) {
        char szHead[16];
        int nFlags = (pNode->m_bFlags & ROW_EDITABLE ? 1 : 0) | (pNode->IsMarked() ? 2 : 0)
                   | (pNode->m_bFlags & ROW_MARKABLE ? 4 : 0);
        // The status is escaped as a cell is: the reader unescapes the whole line first.
        char szStatus[2] = {CarriedStatus(pNode->GetStatus()), '\0'};
        snprintf(szHead, sizeof szHead, "%08lx", static_cast<unsigned long>(pNode->GetCategory()));
        line += szHead;
        line += EscapeField(szStatus, m_chSeparator, m_chEscape);
        snprintf(szHead, sizeof szHead, "%01x", nFlags);
        line += szHead;
        char szPair[8];
        for (int i = 0; i < nColumns; ++i) {
            BYTE b1 = pNode->GetAttr(i, 1);
            int nAttr = (b1 & 0x3f) | (b1 & CELL_BOLD ? 0x40 : 0) | (pNode->IsFraction(i) ? 0x80 : 0);
            snprintf(szPair, sizeof szPair, "%02x", nAttr);
            line += szPair;
        }
        // The pairs above hold six bits of the text colour and no background; the full indexes
        // follow after a '+', where readers of the short form stop.
        line += '+';
        for (int i = 0; i < nColumns; ++i) {
            snprintf(szPair, sizeof szPair, "%02x%02x", pNode->GetAttr(i, 1) & CELL_TEXT_MASK,
                     pNode->GetAttr(i, 0) & CELL_BACK_MASK);
            line += szPair;
        }
    }
    line += '\n';
    if (!WriteString(line.c_str()))
        return 0;
    fflush(m_pFile);
    ++m_nRows;
    return 1;
}

static int HexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

static int HexPair(const char* psz)
{
    int nHigh = psz[0] ? HexDigit(psz[0]) : -1;
    int nLow = nHigh >= 0 && psz[1] ? HexDigit(psz[1]) : -1;
    return nLow >= 0 ? nHigh * 16 + nLow : -1;
}

void CTableFileArchive::ReadRowState(CViewRow& row, const char* pszSuffix)
{
    if (strlen(pszSuffix) < 10)
        return;
    DWORD dwCategory = 0;
    for (int i = 0; i < 8; ++i) {
        int nDigit = HexDigit(pszSuffix[i]);
        if (nDigit < 0)
            return;
        dwCategory = (dwCategory << 4) | static_cast<DWORD>(nDigit);
    }
    int nFlags = HexDigit(pszSuffix[9]);
    if (nFlags < 0)
        return;
    row.SetCategoryBits(dwCategory);
    row.SetStatusChar(CarriedStatus(pszSuffix[8]));
    row.SetEditable(nFlags & 1);
    row.SetMarked((nFlags & 2) != 0);
    row.SetMarkable((nFlags & 4) != 0);
    CTableRow* pNode = row.GetNode();
    int nColumns = m_pView->GetColumnCount();
    const char* psz = pszSuffix + 10;
    int i = 0;
    for (; i < nColumns; ++i, psz += 2) {
        int nAttr = HexPair(psz);
        if (nAttr < 0)
            return;
        BYTE b1 = pNode->GetAttr(i, 1);
        b1 = static_cast<BYTE>((b1 & ~(CELL_TEXT_MASK | CELL_BOLD)) | (nAttr & 0x3f) | (nAttr & 0x40 ? CELL_BOLD : 0));
        pNode->SetAttr(i, 1, b1);
        BYTE b2 = pNode->GetAttr(i, 2);
        pNode->SetAttr(i, 2, static_cast<BYTE>(nAttr & 0x80 ? (b2 | CELL_FRACTION) : (b2 & ~CELL_FRACTION)));
    }
    if (*psz != '+')
        return;
    ++psz;
    for (i = 0; i < nColumns; ++i, psz += 4) {
        int nText = HexPair(psz);
        int nBack = nText >= 0 ? HexPair(psz + 2) : -1;
        if (nBack < 0)
            return;
        pNode->SetAttr(i, 1, static_cast<BYTE>((pNode->GetAttr(i, 1) & CELL_BOLD) | (nText & CELL_TEXT_MASK)));
        pNode->SetAttr(i, 0, static_cast<BYTE>(nBack & CELL_BACK_MASK));
    }
}

int CTableFileArchive::ReadOneRow(CViewRow& row)
{
    row.Reset(TRUE);
    const char* pszLine = ReadLine();
    if (!pszLine)
        return 0;
    std::string line(pszLine);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    ITreeAlloc* pAlloc = m_pView->GetAllocator();
    TBCellSlot* pValues = pAlloc ? pAlloc->AllocValues(&m_pView->GetColumns()) : nullptr;
    if (!pValues)
        return 0;
    row.NewNode(pValues);
    CTableRow* pNode = row.GetNode();
    if (!pNode || pNode->GetData() != pValues) {
        CTableColumns::FreeRowValues(pValues);
        return 0;
    }
    std::vector<char> text(line.begin(), line.end());
    text.push_back('\0');
    int nLength = UnescapeField(text.data(), '\0', m_chSeparator, m_chEscape);
    const char* psz = text.data();
    const char* pszEnd = text.data() + nLength;
    const CTableColumns& columns = m_pView->GetColumns();
    std::vector<const char*> cells(static_cast<size_t>(columns.GetCount()));
    for (const char*& pszCell : cells) {
        if (psz > pszEnd)
            return -1;
        pszCell = psz;
        psz += strlen(psz) + 1;
    }
    // The row state goes first: it says which cells are in sixty-fourths, and "10 1/2" reads as
    // 672 sixty-fourths there but as 10.50 in a cell of two decimals.
    if (m_bRowState && psz < pszEnd)
        ReadRowState(row, psz);
    for (int i = 0; i < columns.GetCount(); ++i) {
        const char* pszCell = cells[static_cast<size_t>(i)];
        if (*pszCell == '\0' && SetMissingValue(columns, &pValues[i], i))
            continue;
        if (!pNode->SetCellText(pszCell, i, columns[i], m_pView))
            return -1;
    }
    return 1;
}

int CTableFileArchive::ReadRow(CViewRow& row)
{
    if (!m_pFile || !m_pView)
        return 0;
    for (;;) {
        int nRead = ReadOneRow(row);
        if (nRead <= 0) {
            if (nRead < 0)
                row.Reset(TRUE);
            return nRead;
        }
        if (!m_pFilters || m_pFilters->Match(row.GetNode(), -1))
            break;
    }
    ++m_nRows;
    return 1;
}
