#pragma once
// The program's code tables, one class per code set, each generated from its line of
// CodeTableList.h (CTransactionType keyed by ETransactionType with tagTransactionType records,
// and so on), and their holder CZorvatTypes, which the application object owns.
#include "link/MessageSink.h"
#include "refdata/CodeTable.h"

class CZorvatMessageSource;
struct IAppServices;

// The sink part of the tables below: never registered, it takes no type.
class CIdleMessageSink : public CZorvatMessageSink
{
public:
    CIdleMessageSink() : CZorvatMessageSink(CMessageTypeSet()) {}
};

// A table keyed by its own enumeration, with {code, text} records.
#define TB_CODE_TABLE(table, readers, absent, standIn, ...) \
    enum E##table : int {}; \
    struct tag##table { int code = 0; CString text; }; \
    class C##table : public CCodeTable<C##table, E##table, tag##table, readers, absent, standIn> \
    { \
    public: \
        C##table(); \
    };
// The same with an idle message-sink part.
#define TB_CODE_TABLE_SINK(table, ...) \
    enum E##table : int {}; \
    struct tag##table { int code = 0; CString text; }; \
    class C##table : public CCodeTable<C##table, E##table, tag##table, 0, -1, CODE_NONE>, \
                    public CIdleMessageSink \
    { \
    public: \
        C##table(); \
    };
// A table of names keyed by a plain int, with a sink part as above; Add stores {code, name}
// under the code and gives back the name.
#define TB_NAME_TABLE_SINK(table, ...) \
    struct tag##table { int code = 0; CString name; }; \
    class C##table : public CCodeTable<C##table, int, tag##table, 0, -1, CODE_NONE>, \
                    public CIdleMessageSink \
    { \
    public: \
        C##table(); \
        CString Add(int nCode, LPCSTR pszName); \
    };
#define TB_SERVER_TABLE(table)
#include "refdata/CodeTableList.h"

// The holder: makes every table once and deletes them. Tables are reached through their classes'
// static operations (CTransactionType::GetText), never through the holder.
class CZorvatTypes
{
public:
    // The tables the server fills (ServerCodeTables.h) register with pSource and set the busy
    // flag of pApp while their reply comes in; both not owned, either may be null.
    explicit CZorvatTypes(CZorvatMessageSource* pSource = nullptr, IAppServices* pApp = nullptr)
        : m_pSource(pSource), m_pApp(pApp)
    {
    }
    virtual ~CZorvatTypes();            // deletes every table made, each once
    CZorvatTypes(const CZorvatTypes&) = delete;
    CZorvatTypes& operator=(const CZorvatTypes&) = delete;

    // Makes, in the list's order, each table that does not exist yet; a second call makes
    // nothing. A table that cannot be allocated stays missing and the others are still made.
    virtual void CreateTables();

    // A computed grid column's callback for a flag: value 1 and 0 give the yes and no texts
    // (loaded with the tables), any other value its number. FALSE, and the buffer untouched,
    // while the tables do not exist.
    static BOOL FormatYesNoColumn(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol);

private:
    CZorvatMessageSource* m_pSource;
    IAppServices* m_pApp;
    static inline CString s_strYes;
    static inline CString s_strNo;
};

// The flag column's texts.
#define IDS_CODE_YES    56100
#define IDS_CODE_NO     56101
