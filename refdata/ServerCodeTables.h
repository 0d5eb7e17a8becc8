#pragma once
// The two code tables the server fills: CCountryName (country code to name, the "CT" reply that
// the login asks for) and CRoleName (role code text to name, an "RO" reply the server sends of its
// own accord). CZorvatTypes makes them empty with the other tables; each registers with the
// application's message source and collects the rows of its reply. A second reply adds to the
// table and replaces the names of codes that come again; rows are never removed.
//
// As for every code table, readers call the static operations, which answer as for a missing
// code while the table does not exist.
#include "link/MessageSink.h"
#include "platform/mfc/Map.h"
#include "platform/mfc/String.h"
#include "refdata/CodeTable.h"

class CServerMessage;
class CZorvatMessageSource;
struct IAppServices;

// The sink half both tables share: registration, and the busy cycle of their reply stream.
class CServerCodeTableSink : public CZorvatMessageSink
{
public:
    // Ends this table's reply; an "EN" of a stream that was not this table's is left alone.
    void OnEnd(CServerMessage* pMsg) override;

protected:
    // Takes the table's reply type and registers with pSource when given (not owned; a source
    // that dies first unregisters us). The types are stated here, before the registration.
    CServerCodeTableSink(std::initializer_list<int> types, CZorvatMessageSource* pSource, IAppServices* pApp);
    // The reply header: take its rows, with the busy flag and wait cursor until its "EN".
    void BeginReply();
    // A data row of this table's open reply with at least the code and name fields.
    BOOL IsOwnRow(const CServerMessage* pMsg) const;

private:
    IAppServices* m_pApp;           // not owned; null: no busy flag to set
};

struct tagCountryName
{
    int code = 0;
    CString name;
};

class CCountryName : public CCodeTable<CCountryName, int, tagCountryName, CT_TEXT | CT_CODE, -1, CODE_NONE>,
                     public CServerCodeTableSink
{
public:
    CCountryName(CZorvatMessageSource* pSource, IAppServices* pApp);

    // Stores {nCode, name} under nCode, replacing the record there; gives back the name.
    CString Add(int nCode, LPCSTR pszName);

    // "CT" opens the reply; its rows are "code|name". A code that is not a whole number in
    // range, or a row without a name field, is dropped.
    void OnCT(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
};

struct tagRoleName
{
    CString code;
    CString name;
};

class CRoleName : public CMap<CString, LPCSTR, tagRoleName, tagRoleName&>, public CServerCodeTableSink
{
public:
    CRoleName(CZorvatMessageSource* pSource, IAppServices* pApp);

    // The table CZorvatTypes made; null before CZorvatTypes::CreateTables and after the holder.
    static CRoleName* Get() { return s_pTable; }
    // The role's name; a code the table lacks (or no table, or null) shows as the code itself.
    static CString GetText(LPCSTR pszCode);
    // The code whose name is pszName exactly, the first met in the map's walk; "" when no
    // record holds it, no table exists or pszName is null.
    static CString GetCodeByText(LPCSTR pszName);

    // Stores {code, name} under the code, replacing the record there; gives back the name.
    CString Add(LPCSTR pszCode, LPCSTR pszName);

    // "RO" opens the reply; its rows are "code|name". A row with an empty code, or without a
    // name field, is dropped.
    void OnRO(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;

private:
    friend class CZorvatTypes;
    static inline CRoleName* s_pTable = nullptr;    // owned by CZorvatTypes
};
