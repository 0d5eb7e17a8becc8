#include "refdata/ZorvatTypes.h"

#include <new>

#include "framework/base/SharedGlobals.h"
#include "refdata/ServerCodeTables.h"

CString LoadCodeText(const CCodeEntry& entry)
{
    if (entry.pszText != nullptr)
        return CString(entry.pszText);
    CString str;
    if (entry.bBranding)
        GetSharedGlobals()->LoadString(str, entry.nId);
    else
        str.LoadString(entry.nId);
    return str;
}

void CopyCodeText(char* pszBuf, int nSize, LPCSTR pszText)
{
    if (pszBuf == nullptr || nSize <= 0)
        return;
    size_t nLength = strlen(pszText);
    if (nLength > static_cast<size_t>(nSize - 1))
        nLength = static_cast<size_t>(nSize - 1);
    memcpy(pszBuf, pszText, nLength);
    pszBuf[nLength] = '\0';
}

// The constructors: each table's codes, from its line of the list.
#define TB_CODE_TABLE(table, readers, absent, standIn, ...) \
    C##table::C##table() \
    { \
        static const CCodeEntry entries[] = {__VA_ARGS__}; \
        Fill(entries, static_cast<int>(sizeof(entries) / sizeof(entries[0]))); \
    }
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table, 0, -1, CODE_NONE, __VA_ARGS__)
#define TB_NAME_TABLE_SINK(table, ...) \
    C##table::C##table() \
    { \
        static const CCodeEntry entries[] = {__VA_ARGS__}; \
        for (const CCodeEntry& entry : entries) \
            Add(entry.nCode, LoadCodeText(entry)); \
    }
#define TB_SERVER_TABLE(table)
#include "refdata/CodeTableList.h"

CString CBusinessType::Add(int nCode, LPCSTR pszName)
{
    tagBusinessType rec;
    rec.code = nCode;
    rec.name = pszName != nullptr ? pszName : "";
    SetAt(nCode, rec);
    return rec.name;
}

void CZorvatTypes::CreateTables()
{
#define TB_CODE_TABLE(table, ...) \
    if (C##table::s_pTable == nullptr) \
        C##table::s_pTable = new (std::nothrow) C##table;
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_SERVER_TABLE(table) \
    if (C##table::s_pTable == nullptr) \
        C##table::s_pTable = new (std::nothrow) C##table(m_pSource, m_pApp);
#include "refdata/CodeTableList.h"
    // The flag column paints a cell per visible row: its two texts are loaded here, once.
    if (CBusinessType::s_pTable != nullptr && s_strYes.IsEmpty() && s_strNo.IsEmpty()) {
        s_strYes.LoadString(IDS_CODE_YES);
        s_strNo.LoadString(IDS_CODE_NO);
    }
}

CZorvatTypes::~CZorvatTypes()
{
#define TB_CODE_TABLE(table, ...) \
    delete C##table::s_pTable; \
    C##table::s_pTable = nullptr;
#define TB_CODE_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_NAME_TABLE_SINK(table, ...) TB_CODE_TABLE(table)
#define TB_SERVER_TABLE(table) TB_CODE_TABLE(table)
#include "refdata/CodeTableList.h"
    s_strYes.Empty();
    s_strNo.Empty();
}

BOOL CZorvatTypes::FormatYesNoColumn(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (CBusinessType::s_pTable == nullptr || pszBuf == nullptr || nSize <= 0 || pRow == nullptr ||
        nCol < 0)
        return FALSE;
    const int nValue = pRow[nCol].nValue;
    if (nValue == 1)
        CopyCodeText(pszBuf, nSize, s_strYes);
    else if (nValue == 0)
        CopyCodeText(pszBuf, nSize, s_strNo);
    else
        snprintf(pszBuf, static_cast<size_t>(nSize), "%d", nValue);
    return TRUE;
}
