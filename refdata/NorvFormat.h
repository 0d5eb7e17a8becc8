#pragma once
// The framework's code tables for securities-market vocabulary, one class per code set, each
// generated from its line of NorvFormatList.h, and their holder CNorvFormat, which the
// application object owns. The global tables are built before the application runs and hold
// texts written in the program; the others CNorvFormat makes at start-up from the language
// library, each text with its dictionary text beside it.
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"

template<class TTable, class KEY, class TRecord>
class CFormatTable : public CMap<KEY, KEY, TRecord, TRecord&>
{
public:
    // The table, null while CNorvFormat has not made it (a global table's class hides this with
    // its own, which is never null).
    static TTable* Get() { return s_pTable; }

protected:
    CFormatTable() : CMap<KEY, KEY, TRecord, TRecord&>(10) {}
    void Put(const TRecord& rec) { this->SetAt(rec.code, rec); }

private:
    friend class CNorvFormat;
    static inline TTable* s_pTable = nullptr;   // owned by CNorvFormat
};

// A code of a pair table, and of a loan type (string id 0: an empty text).
struct CPairEntry { int nCode; LPCSTR pszEnglish; LPCSTR pszSpanish; };
struct CLoanTypeEntry { int nCode; int nIndex; UINT nId; };

#define TB_GLOBAL_TABLE_CLASS(table, key) \
    class C##table : public CFormatTable<C##table, key, tag##table> \
    { \
    public: \
        C##table(); \
        static C##table* Get(); \
    };
#define TB_DIRECTION_TABLE(table, ...) \
    struct tag##table { char code; int index; CString english; CString englishPast; \
                        CString spanish; CString spanishPast; int id; }; \
    TB_GLOBAL_TABLE_CLASS(table, char)
// Its records are those of its base, whose own come first.
#define TB_LOAN_DIRECTION_TABLE(table, base, ...) \
    class C##table : public C##base \
    { \
    public: \
        C##table(); \
        static C##table* Get(); \
    };
#define TB_INDEXED_PAIR_TABLE(table, ...) \
    struct tag##table { char code; int index; CString english; CString spanish; }; \
    TB_GLOBAL_TABLE_CLASS(table, char)
#define ENUM_KEY(table) E##table
#define char_KEY(table) char
#define TB_PAIR_TABLE(table, key, ...) \
    enum E##table : int {}; \
    struct tag##table { key##_KEY(table) code; CString english; CString spanish; }; \
    TB_GLOBAL_TABLE_CLASS(table, key##_KEY(table))
#define TB_CLEARING_TABLE(table, ...) \
    struct tag##table { char code; int index; CString text; }; \
    TB_GLOBAL_TABLE_CLASS(table, char)
#define TB_LOAN_TYPE_TABLE(table, ...) \
    struct tag##table { int code; int index; CString text; CString dictText; }; \
    class C##table : public CFormatTable<C##table, char, tag##table> \
    { \
    public: \
        C##table(); \
    };
#define TB_LANGUAGE_TABLE(table, ...) \
    enum E##table : int {}; \
    struct tag##table { E##table code; CString text; CString dictText; }; \
    class C##table : public CFormatTable<C##table, E##table, tag##table> \
    { \
    public: \
        C##table(); \
    };
#include "refdata/NorvFormatList.h"
#undef TB_GLOBAL_TABLE_CLASS
#undef ENUM_KEY
#undef char_KEY

// The holder of the tables made at start-up.
class CNorvFormat
{
public:
    CNorvFormat() = default;
    virtual ~CNorvFormat();             // deletes the tables it made
    CNorvFormat(const CNorvFormat&) = delete;
    CNorvFormat& operator=(const CNorvFormat&) = delete;

    // Makes each table that does not exist yet, with the language library and dictionary current
    // now; a table that cannot be allocated stays missing and the others are still made.
    virtual void CreateTables();
};
