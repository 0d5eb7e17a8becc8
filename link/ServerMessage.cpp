#include "link/ServerMessage.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include "framework/base/ColumnDataType.h"
#include "framework/base/NorvGlobals.h"
#include "link/FieldNumbers.h"
#include "link/RowWriter.h"

namespace {

bool IsTypePrefix(char ch, int nMode)
{
    return nMode == 1 ? (ch == '~' || ch == '$' || ch == '&') : ch == '$';
}

bool HoldsLineEnd(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

CServerMessage::CServerMessage(int nMode) : m_nMode(nMode)
{
}

CServerMessage::CServerMessage(LPCSTR pszLine, int nMode) : m_nMode(nMode)
{
    Parse(pszLine);
}

CServerMessage::~CServerMessage() = default;

void CServerMessage::ForgetNumbers()
{
    if (++m_nCacheStamp == 0) {
        // The stamp wrapped: an entry left from 2^32 changes ago must not look fresh.
        m_numbers.clear();
        m_nCacheStamp = 1;
    }
}

CServerMessage::FieldNumbers& CServerMessage::NumbersOf(int i) const
{
    if (m_numbers.size() <= static_cast<size_t>(i))
        m_numbers.resize(static_cast<size_t>(GetSize()));
    return m_numbers[static_cast<size_t>(i)];
}

void CServerMessage::Clear()
{
    ForgetNumbers();
    m_nType = MESSAGE_TYPE_UNKNOWN;
    m_nHeaderNumber = 0;
    m_text.clear();
    m_fields.clear();
    m_built.clear();
    m_bBuilt = FALSE;
    m_overrides.clear();
    m_nOverrides = 0;
}

void CServerMessage::Parse(LPCSTR pszLine)
{
    Clear();
    m_text.assign(pszLine != nullptr ? pszLine : "");
    const size_t nLength = m_text.size();
    if (nLength == 0)
        return;
    char* pText = m_text.data();
    if (m_nMode != 1 && pText[0] == '-')
        return;

    char* pFirstBar = static_cast<char*>(memchr(pText, '|', nLength));
    const size_t nHead = pFirstBar != nullptr ? static_cast<size_t>(pFirstBar - pText) : 0;
    // Pieces before nDataStart are header fields; piece nNumberPiece carries the header number.
    size_t nDataStart = 0;
    size_t nNumberPiece = SIZE_MAX;
    if (nHead > 0 && IsTypePrefix(pText[0], m_nMode)) {
        m_nType = nHead >= 3 ? GetMessageCode(pText[1], pText[2]) : MESSAGE_TYPE_UNKNOWN;
        if (m_nMode != 1) {
            nDataStart = 2;
        } else if (m_nType == MSG_EN) {
            nDataStart = 3;
        } else {
            nDataStart = 4;
            nNumberPiece = 3;
        }
    } else {
        m_nType = MESSAGE_TYPE_DATA_ROW;
        // A received line without any '|' is a row of one empty field and the whole line.
        if (m_nMode == 1 && pFirstBar == nullptr)
            m_fields.push_back({static_cast<unsigned>(nLength), 0});
    }

    // Room for a typical line at once; longer ones grow.
    m_fields.reserve(32);
    // One pass over the bytes: fields are a few characters long, too short for a search call
    // per field to pay.
    size_t nStart = 0;
    size_t nPiece = 0;
    for (size_t nEnd = 0;; ++nEnd) {
        if (nEnd < nLength && pText[nEnd] != '|')
            continue;
        if (nPiece >= nDataStart)
            m_fields.push_back({static_cast<unsigned>(nStart), static_cast<int>(nEnd - nStart)});
        else if (nPiece == nNumberPiece && nEnd > nStart)
            m_nHeaderNumber = ReadFieldLong(std::string_view(pText + nStart, nEnd - nStart));
        if (nEnd == nLength)
            break;
        pText[nEnd] = '\0';
        nStart = nEnd + 1;
        ++nPiece;
    }
}

CString CServerMessage::GetRawLine() const
{
    std::string line(m_text);
    std::replace(line.begin(), line.end(), '\0', '|');
    return CString(line.c_str(), static_cast<int>(line.size()));
}

char CServerMessage::GetRawFirstChar() const
{
    // The parse put a NUL where each '|' stood; a line holds no NUL of its own.
    if (m_text.empty())
        return '\0';
    return m_text[0] != '\0' ? m_text[0] : '|';
}

LPCSTR CServerMessage::GetFieldText(int i) const
{
    if (i < 0 || i >= GetSize())
        return "";
    if (m_bBuilt)
        return m_built[static_cast<size_t>(i)].GetString();
    return m_text.data() + m_fields[static_cast<size_t>(i)].nOffset;
}

std::string_view CServerMessage::GetFieldView(int i) const
{
    if (i < 0 || i >= GetSize())
        return {};
    if (m_bBuilt) {
        const CString& str = m_built[static_cast<size_t>(i)];
        return {str.GetString(), static_cast<size_t>(str.GetLength())};
    }
    const Field& field = m_fields[static_cast<size_t>(i)];
    return {m_text.data() + field.nOffset, static_cast<size_t>(field.nLength)};
}

CString CServerMessage::GetField(int i) const
{
    const std::string_view text = GetFieldView(i);
    return CString(text.data(), static_cast<int>(text.size()));
}

long CServerMessage::GetLong(int i) const
{
    if (i < 0 || i >= GetSize())
        return 0;
    FieldNumbers& numbers = NumbersOf(i);
    if (numbers.nLongStamp != m_nCacheStamp) {
        numbers.nLong = ReadFieldLong(GetFieldView(i));
        numbers.nLongStamp = m_nCacheStamp;
    }
    return numbers.nLong;
}

double CServerMessage::GetDouble(int i, int nPower) const
{
    if (i < 0 || i >= GetSize())
        return 0.0;
    FieldNumbers& numbers = NumbersOf(i);
    if (numbers.nDoubleStamp != m_nCacheStamp) {
        numbers.dDouble = ReadFieldDouble(GetFieldView(i));
        numbers.nDoubleStamp = m_nCacheStamp;
    }
    return numbers.dDouble * PowerOfTen(nPower);
}

void CServerMessage::SetOverride(int i, LPCSTR pszText)
{
    if (i < 0 || i >= GetSize())
        return;
    if (m_overrides.size() < static_cast<size_t>(GetSize()))
        m_overrides.resize(static_cast<size_t>(GetSize()));
    m_overrides[static_cast<size_t>(i)] = pszText;
    ++m_nOverrides;
}

LPCSTR CServerMessage::GetFieldOrOverrideText(int i) const
{
    if (m_nOverrides > 0 && i >= 0 && static_cast<size_t>(i) < m_overrides.size() &&
        !m_overrides[static_cast<size_t>(i)].IsEmpty())
        return m_overrides[static_cast<size_t>(i)].GetString();
    return GetFieldText(i);
}

CString CServerMessage::GetFieldOrOverride(int i) const
{
    return CString(GetFieldOrOverrideText(i));
}

void CServerMessage::ResetOverrides()
{
    // Every fan-out calls this before each sink: with nothing set it costs one test.
    if (m_nOverrides == 0)
        return;
    for (CString& str : m_overrides)
        str.Empty();
    m_nOverrides = 0;
}

void CServerMessage::OwnFields()
{
    if (m_bBuilt)
        return;
    m_built.clear();
    m_built.reserve(m_fields.size());
    for (const Field& field : m_fields)
        m_built.emplace_back(m_text.data() + field.nOffset, field.nLength);
    m_fields.clear();
    m_bBuilt = TRUE;
}

int CServerMessage::Add(LPCSTR pszField)
{
    OwnFields();
    ForgetNumbers();
    m_built.emplace_back(pszField);
    return GetSize() - 1;
}

void CServerMessage::SetAtGrow(int i, LPCSTR pszField)
{
    if (i < 0)
        return;
    OwnFields();
    ForgetNumbers();
    if (static_cast<size_t>(i) >= m_built.size())
        m_built.resize(static_cast<size_t>(i) + 1);
    m_built[static_cast<size_t>(i)] = pszField;
}

void CServerMessage::RemoveAll()
{
    ForgetNumbers();
    m_fields.clear();
    m_built.clear();
    m_bBuilt = FALSE;
    m_overrides.clear();
    m_nOverrides = 0;
}

int CServerMessage::FormatRequest(CString* pOut, int nType, int nMode, BOOL bCaret, BOOL bRaw,
                                  long* pnRequestNumber, BOOL bDoubleBar) const
{
    if (pOut == nullptr)
        return REQUEST_NO_TYPE;
    pOut->Empty();
    // A raw line is passed on whole, so only its line ends matter; everywhere else a '|' in a
    // field would shift every field after it.
    const BOOL bRawLine = nMode == 1 && bRaw;
    for (int i = 0; i < GetSize(); ++i) {
        if (GetFieldView(i).find_first_of(bRawLine ? "\r\n" : "|\r\n") != std::string_view::npos)
            return REQUEST_BAD_FIELD;
    }
    std::string body;
    for (int i = 0; i < GetSize(); ++i) {
        if (i > 0)
            body += '|';
        body += GetFieldView(i);
    }
    return FormatRequestLine(pOut, nType, body, nMode, bCaret, bRaw, pnRequestNumber, bDoubleBar);
}

int CServerMessage::FillRow(const int* pnFieldOfColumn, int nMapSize, IMessageRowWriter* pRow, int nFlag) const
{
    if (pRow == nullptr)
        return 0;
    const int nColumns = pRow->GetColumnCount();
    if (nColumns < 1 || pnFieldOfColumn == nullptr)
        return nColumns;
    const char chDecimal = GetNorvGlobals().m_chDecimal;
    for (int nCol = 0; nCol < nColumns && nCol < nMapSize; ++nCol) {
        const int nField = pnFieldOfColumn[nCol];
        if (nField < 0 || nField >= GetSize())
            continue;
        LPCSTR pszText = GetFieldOrOverrideText(nField);
        const int nDecimals = m_nMode == 0 ? pRow->GetColumnDecimals(nCol) : 0;
        if (m_nMode == 0 && pRow->GetColumnType(nCol) == COLTYPE_DOUBLE && nDecimals != 0 &&
            nDecimals != DECIMALS_64THS && strchr(pszText, chDecimal) == nullptr) {
            // A whole number in a scaled column: the value is text times 10^d, written as
            // "%lf" would, but with the separator the table reads.
            const double dValue = ReadFieldDouble(pszText) * PowerOfTen(nDecimals);
            char szValue[400];
            const auto result = std::to_chars(szValue, szValue + sizeof(szValue) - 1, dValue,
                                              std::chars_format::fixed, 6);
            *result.ptr = '\0';
            if (char* pPoint = strchr(szValue, '.'))
                *pPoint = chDecimal;
            pRow->SetCellText(nCol, szValue, nFlag);
        } else {
            pRow->SetCellText(nCol, pszText, nFlag);
        }
    }
    return nColumns;
}

BOOL IsRequestFieldText(LPCSTR pszText)
{
    if (pszText == nullptr)
        return FALSE;
    for (const char* p = pszText; *p != '\0'; ++p) {
        const unsigned char ch = static_cast<unsigned char>(*p);
        if (ch == '|' || ch < 0x20 || ch == 0x7F)
            return FALSE;
    }
    return TRUE;
}

int FormatRequestLine(CString* pOut, int nType, std::string_view body, int nMode, BOOL bCaret, BOOL bRaw,
                      const long* pnRequestNumber, BOOL bDoubleBar)
{
    if (pOut == nullptr)
        return REQUEST_NO_TYPE;
    pOut->Empty();
    LPCSTR pszMnemonic = GetMessageMnemonic(nType);
    if (pszMnemonic == nullptr || nMode < 0 || nMode > 2)
        return REQUEST_NO_TYPE;
    if (HoldsLineEnd(body))
        return REQUEST_BAD_FIELD;

    std::string line;
    line.reserve(body.size() + 32);
    if (nMode != 1) {
        line += '@';
        line += pszMnemonic;
        if (!body.empty())
            line += bDoubleBar ? "||" : "|";
        line += body;
    } else if (bRaw) {
        line = body;
    } else {
        line += bCaret ? '^' : '&';
        line += pszMnemonic;
        if (body.empty()) {
            line += "|XC||";
        } else if (nType == MSG_EN) {
            line += "|XC|";
        } else if (pnRequestNumber != nullptr && *pnRequestNumber != 0) {
            char szNumber[24];
            const auto result = std::to_chars(szNumber, szNumber + sizeof(szNumber), *pnRequestNumber);
            line += "|XC|";
            line.append(szNumber, result.ptr);
            line += '|';
        } else {
            line += "|XC||";
        }
        line += body;
    }
    *pOut = CString(line.c_str(), static_cast<int>(line.size()));
    return REQUEST_OK;
}
