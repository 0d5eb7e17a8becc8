#include "refdata/ServerCodeTables.h"

#include <charconv>
#include <cstring>
#include <string_view>
#include "link/AppServices.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"

namespace {

const int FIELD_CODE = 0;
const int FIELD_NAME = 1;

// A whole decimal number that fits an int, nothing before or after it. A reading such as atol's
// would file a garbled code under 0 or under its leading digits, over a real country's name.
BOOL ParseCode(std::string_view text, int* pnCode)
{
    const char* pEnd = text.data() + text.size();
    const std::from_chars_result result = std::from_chars(text.data(), pEnd, *pnCode);
    return !text.empty() && result.ec == std::errc() && result.ptr == pEnd;
}

}  // namespace

CServerCodeTableSink::CServerCodeTableSink(std::initializer_list<int> types, CZorvatMessageSource* pSource,
                                           IAppServices* pApp)
    : CZorvatMessageSink(types), m_pApp(pApp)
{
    if (pSource != nullptr)
        pSource->AddSink(&m_sink);
}

void CServerCodeTableSink::BeginReply()
{
    if (m_sink.m_pSource == nullptr || !m_sink.m_pSource->SetReceiving(m_sink.m_nId))
        return;
    if (m_pApp != nullptr)
        m_pApp->SetBusy(TRUE);
}

void CServerCodeTableSink::OnEnd(CServerMessage*)
{
    // Outside a stream every sink sees "EN": only the table whose reply it ends lets go of the
    // busy flag, so that another reply still coming in keeps its wait cursor.
    if (!m_sink.m_bReceiving || m_sink.m_pSource == nullptr)
        return;
    m_sink.m_pSource->ClearReceiving(m_sink.m_nId);
    if (m_pApp != nullptr)
        m_pApp->SetBusy(FALSE);
}

BOOL CServerCodeTableSink::IsOwnRow(const CServerMessage* pMsg) const
{
    // Rows outside our open reply belong to nobody; a row cut short would blank a stored name.
    return pMsg != nullptr && m_sink.m_bReceiving && m_sink.m_pSource != nullptr &&
           m_sink.m_pSource->IsRestricted() && pMsg->GetSize() > FIELD_NAME;
}

CCountryName::CCountryName(CZorvatMessageSource* pSource, IAppServices* pApp)
    : CServerCodeTableSink({MSG_CT}, pSource, pApp)
{
}

CString CCountryName::Add(int nCode, LPCSTR pszName)
{
    tagCountryName rec;
    rec.code = nCode;
    rec.name = pszName != nullptr ? pszName : "";
    SetAt(nCode, rec);
    return rec.name;
}

void CCountryName::OnCT(CServerMessage*)
{
    BeginReply();
}

void CCountryName::OnRecord(CServerMessage* pMsg)
{
    int nCode = 0;
    if (!IsOwnRow(pMsg) || !ParseCode(pMsg->GetFieldView(FIELD_CODE), &nCode))
        return;
    Add(nCode, pMsg->GetFieldText(FIELD_NAME));
}

CRoleName::CRoleName(CZorvatMessageSource* pSource, IAppServices* pApp)
    : CMap<CString, LPCSTR, tagRoleName, tagRoleName&>(10), CServerCodeTableSink({MSG_RO}, pSource, pApp)
{
}

CString CRoleName::GetText(LPCSTR pszCode)
{
    if (pszCode == nullptr)
        return CString();
    tagRoleName rec;
    if (s_pTable != nullptr && s_pTable->Lookup(pszCode, rec))
        return rec.name;
    return CString(pszCode);
}

CString CRoleName::GetCodeByText(LPCSTR pszName)
{
    if (s_pTable == nullptr || pszName == nullptr)
        return CString();
    POSITION pos = s_pTable->GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        tagRoleName rec;
        s_pTable->GetNextAssoc(pos, strKey, rec);
        if (strcmp(rec.name, pszName) == 0)
            return rec.code;
    }
    return CString();
}

CString CRoleName::Add(LPCSTR pszCode, LPCSTR pszName)
{
    tagRoleName rec;
    rec.code = pszCode != nullptr ? pszCode : "";
    rec.name = pszName != nullptr ? pszName : "";
    SetAt(rec.code, rec);
    return rec.name;
}

void CRoleName::OnRO(CServerMessage*)
{
    BeginReply();
}

void CRoleName::OnRecord(CServerMessage* pMsg)
{
    if (!IsOwnRow(pMsg) || pMsg->GetFieldView(FIELD_CODE).empty())
        return;
    Add(pMsg->GetFieldText(FIELD_CODE), pMsg->GetFieldText(FIELD_NAME));
}
