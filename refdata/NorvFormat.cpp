#include "refdata/NorvFormat.h"

#include <new>

#include "framework/base/Language.h"
#include "framework/base/SharedGlobals.h"
#include "refdata/CodeTable.h"

namespace {
// A text and its dictionary text, as the language tables keep them.
template<class TRecord>
void SetTexts(TRecord& rec, const CString& strText)
{
    rec.text = strText;
    rec.dictText = static_cast<const char*>(GetLanguage()->Translate(strText));
}
}  // namespace

// The constructors, from the tables' lines of the list. The global tables are objects of this
// file, built by the program's static initialisation.
#define TB_GLOBAL_TABLE(table) \
    static C##table s_##table; \
    C##table* C##table::Get() { return &s_##table; }
#define TB_RECORD_TABLE(table, ...) \
    C##table::C##table() \
    { \
        static const tag##table records[] = {__VA_ARGS__}; \
        for (const tag##table& rec : records) \
            Put(rec); \
    } \
    TB_GLOBAL_TABLE(table)
#define TB_DIRECTION_TABLE(table, ...) TB_RECORD_TABLE(table, __VA_ARGS__)
#define TB_INDEXED_PAIR_TABLE(table, ...) TB_RECORD_TABLE(table, __VA_ARGS__)
#define TB_CLEARING_TABLE(table, ...) TB_RECORD_TABLE(table, __VA_ARGS__)
#define TB_LOAN_DIRECTION_TABLE(table, base, ...) \
    C##table::C##table() \
    { \
        static const tag##base records[] = {__VA_ARGS__}; \
        for (const tag##base& rec : records) \
            Put(rec); \
    } \
    TB_GLOBAL_TABLE(table)
#define TB_PAIR_TABLE(table, key, ...) \
    C##table::C##table() \
    { \
        static const CPairEntry entries[] = {__VA_ARGS__}; \
        for (const CPairEntry& entry : entries) { \
            tag##table rec; \
            rec.code = static_cast<decltype(rec.code)>(entry.nCode); \
            rec.english = entry.pszEnglish; \
            rec.spanish = entry.pszSpanish; \
            Put(rec); \
        } \
    } \
    TB_GLOBAL_TABLE(table)
#define TB_LOAN_TYPE_TABLE(table, ...) \
    C##table::C##table() \
    { \
        static const CLoanTypeEntry entries[] = {__VA_ARGS__}; \
        for (const CLoanTypeEntry& entry : entries) { \
            tag##table rec; \
            rec.code = entry.nCode; \
            rec.index = entry.nIndex; \
            SetTexts(rec, LoadCodeText(CCodeEntry{entry.nCode, entry.nId, entry.nId == 0 ? "" : nullptr})); \
            SetAt(static_cast<char>(entry.nCode), rec); \
        } \
    }
#define TB_LANGUAGE_TABLE(table, ...) \
    C##table::C##table() \
    { \
        static const CCodeEntry entries[] = {__VA_ARGS__}; \
        for (const CCodeEntry& entry : entries) { \
            tag##table rec; \
            rec.code = static_cast<E##table>(entry.nCode); \
            SetTexts(rec, LoadCodeText(entry)); \
            Put(rec); \
        } \
    }
#include "refdata/NorvFormatList.h"
#undef TB_GLOBAL_TABLE
#undef TB_RECORD_TABLE

void CNorvFormat::CreateTables()
{
#define TB_DIRECTION_TABLE(table, ...)
#define TB_LOAN_DIRECTION_TABLE(table, ...)
#define TB_INDEXED_PAIR_TABLE(table, ...)
#define TB_PAIR_TABLE(table, ...)
#define TB_CLEARING_TABLE(table, ...)
#define TB_LOAN_TYPE_TABLE(table, ...) \
    if (C##table::s_pTable == nullptr) \
        C##table::s_pTable = new (std::nothrow) C##table;
#define TB_LANGUAGE_TABLE(table, ...) TB_LOAN_TYPE_TABLE(table)
#include "refdata/NorvFormatList.h"
}

CNorvFormat::~CNorvFormat()
{
#define TB_DIRECTION_TABLE(table, ...)
#define TB_LOAN_DIRECTION_TABLE(table, ...)
#define TB_INDEXED_PAIR_TABLE(table, ...)
#define TB_PAIR_TABLE(table, ...)
#define TB_CLEARING_TABLE(table, ...)
#define TB_LOAN_TYPE_TABLE(table, ...) \
    delete C##table::s_pTable; \
    C##table::s_pTable = nullptr;
#define TB_LANGUAGE_TABLE(table, ...) TB_LOAN_TYPE_TABLE(table)
#include "refdata/NorvFormatList.h"
}
