#include "link/ErrorDictionary.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include "framework/base/NorvGlobals.h"
#include "link/AppServices.h"
#include "link/MarketServices.h"
#include "link/MessageSource.h"
#include "link/RefDataServices.h"
#include "link/ServerMessage.h"

#define IDS_UNKNOWN_ERROR_CODE 55203    // "%1": the number of a code without a text

namespace {

// Codes whose text takes the parameter between its parentheses.
const long s_zeroParamCodes[] = {428, 432, 433};    // an empty parameter shows as "0"
const long s_paramCodes[] = {442, 447, 652, 724, 863, 901, 902, 906, 908, 909,
                             910, 914, 915, 917, 947, 951, 963, 999, 1000, 1164};
// Codes whose figure counts shares.
const long s_shareCounts[] = {432, 442};
// The client's own sentence for a code whose figure stands inside the sentence: closed up over a
// missing figure it would read as another statement ("at least shares").
const struct
{
    long nCode;
    UINT nTextId;
} s_withoutFigure[] = {{428, 55200}, {432, 55201}, {433, 55202}, {442, 55197}, {724, 55198}, {901, 55199}};
const long PAYMENT_MODE_CODE = 695;
const long ACCOUNT_TYPE_CODE = 696;

template<size_t N>
bool IsIn(const long (&codes)[N], long nCode)
{
    return std::find(codes, codes + N, nCode) != codes + N;
}

bool IsBlank(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i)
        if (strText[i] != ' ')
            return false;
    return true;
}

// The text with the value put where its parentheses were; without a value the sentence closes up
// over the place, so that no empty "( )" and no double blank is shown.
// An amount the server puts in a text ("993288.781") reads grouped, as the forms show amounts, and
// so does a count of shares; any other whole number (an order's, a stock's) stays as sent.
CString ShownValue(const CString& strValue, long nCode)
{
    const std::string str = static_cast<LPCSTR>(strValue);
    if (str.find('.') == std::string::npos && !IsIn(s_shareCounts, nCode))
        return strValue;
    return GroupedNumber(str).c_str();
}

// Where the place stands between two words, the sentence needs its figure.
bool IsInsideSentence(const CString& strBefore, const CString& strAfter)
{
    return !strBefore.IsEmpty() && !strAfter.IsEmpty() && strchr(".,:;!?)", strAfter[0]) == nullptr;
}

CString FillHole(const CString& strLeft, const CString& strValue, const CString& strRight, long nCode = 0)
{
    if (!strValue.IsEmpty())
        return strLeft + ShownValue(strValue, nCode) + strRight;
    CString strBefore = strLeft, strAfter = strRight;
    strBefore.TrimRight();
    strAfter.TrimLeft();
    if (!IsInsideSentence(strBefore, strAfter))
        return strBefore + strAfter;
    for (const auto& entry : s_withoutFigure) {
        CString strOwn;
        if (entry.nCode == nCode && strOwn.LoadString(entry.nTextId))
            return strOwn;
    }
    return strBefore + " " + strAfter;
}

int ResolveField(const CServerMessage* pMsg, int nField)
{
    return nField == -1 ? pMsg->GetSize() - 1 : nField;
}

}  // namespace

void FormatNumberText(CString* pOut, UINT nId, long nNumber)
{
    if (pOut == nullptr)
        return;
    char szNumber[24];
    snprintf(szNumber, sizeof(szNumber), "%ld", nNumber);
    if (!pOut->LoadString(nId)) {
        *pOut = szNumber;
        return;
    }
    pOut->Replace("%1", szNumber);
}

long IsReplyError(const CServerMessage* pMsg, int nField)
{
    if (pMsg == nullptr || pMsg->GetRawFirstChar() == '$')
        return 0;
    return pMsg->GetLong(ResolveField(pMsg, nField));
}

CZorvatErrorDictionary::CZorvatErrorDictionary(CZorvatMessageSource* pSource, IAppServices* pApp,
                                               IRefDataServices* pRefData)
    : CZorvatMessageSink({MSG_EM}), m_pApp(pApp), m_pRefData(pRefData)
{
    if (pSource != nullptr && pSource->AddSink(&m_sink))
        pSource->SetErrorDictionary(this);
}

CZorvatErrorDictionary::~CZorvatErrorDictionary()
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->RemoveSink(m_sink.m_nId);
}

void CZorvatErrorDictionary::GetText(CString* pOut, long nCode)
{
    if (pOut == nullptr)
        return;
    if (m_texts.Lookup(nCode, *pOut))
        return;
    m_bMissingCode = TRUE;
    FormatNumberText(pOut, IDS_UNKNOWN_ERROR_CODE, nCode);
}

void CZorvatErrorDictionary::FormatReplyError(CString* pOut, int nCodeField, int nParamField,
                                              const CServerMessage* pMsg)
{
    if (pOut == nullptr)
        return;
    pOut->Empty();
    if (pMsg == nullptr)
        return;
    const int nCodeIndex = ResolveField(pMsg, nCodeField);
    // The parameter follows the code; after the last field there is none.
    const int nParamIndex = nCodeField == -1 ? nCodeIndex + 1 : nParamField;
    FormatText(pOut, pMsg->GetLong(nCodeIndex), pMsg, nParamIndex);
}

void CZorvatErrorDictionary::GetTextAlone(CString* pOut, long nCode)
{
    if (pOut != nullptr)
        FormatText(pOut, nCode, nullptr, 0);
}

void CZorvatErrorDictionary::FormatText(CString* pOut, long nCode, const CServerMessage* pMsg, int nParamIndex)
{
    const CString strParam = pMsg != nullptr ? pMsg->GetField(nParamIndex) : CString();
    CString strText;
    GetText(&strText, nCode);
    const int nOpen = strText.Find('(');
    const int nClose = strText.ReverseFind(')');
    const CString strLeft = nOpen < 0 ? CString() : strText.Left(nOpen);
    CString strRight = nClose < 0 ? strText : strText.Mid(nClose + 1);

    if (IsIn(s_zeroParamCodes, nCode) && pMsg != nullptr) {
        *pOut = strLeft + (strParam.IsEmpty() ? CString("0") : ShownValue(strParam, nCode)) + strRight;
    } else if (IsIn(s_zeroParamCodes, nCode) || IsIn(s_paramCodes, nCode)) {
        *pOut = FillHole(strLeft, strParam, strRight, nCode);
    } else if (nCode == PAYMENT_MODE_CODE || nCode == ACCOUNT_TYPE_CODE) {
        const long nParam = pMsg != nullptr ? pMsg->GetLong(nParamIndex) : 0;
        CString strName;
        if (m_pRefData != nullptr && pMsg != nullptr)
            strName = nCode == PAYMENT_MODE_CODE ? m_pRefData->GetPaymentModeText(nParam)
                                                 : m_pRefData->GetAccountTypeText(nParam);
        *pOut = FillHole(strLeft, strName, strRight);
    } else if (nCode == 697 || nCode == 698) {
        const int nLastOpen = strText.ReverseFind('(');
        strRight = nLastOpen < 0 ? strText : strText.Mid(nLastOpen + 1);
        *pOut = FillHole(strLeft, strParam, strRight);
    } else if (nOpen >= 0 && nClose > nOpen && IsBlank(strText.Mid(nOpen + 1, nClose - nOpen - 1))) {
        // A code outside the lists whose text still asks for a value gets the reply's.
        *pOut = FillHole(strLeft, strParam, strRight, nCode);
    } else {
        *pOut = strText;
    }
}

BOOL CZorvatErrorDictionary::CheckReplyError(const CServerMessage* pMsg, int nField)
{
    if (IsReplyError(pMsg, nField) == 0)
        return FALSE;
    ShowReplyError(pMsg, nField);
    return TRUE;
}

void CZorvatErrorDictionary::ShowReplyError(const CServerMessage* pMsg, int nField)
{
    CString strText;
    FormatReplyError(&strText, nField, nField + 1, pMsg);
    if (m_pApp == nullptr)
        return;
    if (IInfoWindow* pInfo = m_pApp->GetInfoWindow())
        pInfo->AddText(strText);
    m_pApp->BringInfoWindowToTop(2);
}

void CZorvatErrorDictionary::OnEM(CServerMessage*)
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->SetReceiving(m_sink.m_nId);
    if (m_pApp != nullptr)
        m_pApp->SetBusy(TRUE);
}

void CZorvatErrorDictionary::OnRecord(CServerMessage* pMsg)
{
    // Rows outside an open reply belong to nobody.
    if (pMsg == nullptr || m_sink.m_pSource == nullptr || !m_sink.m_pSource->IsRestricted())
        return;
    m_texts[pMsg->GetLong(0)] = pMsg->GetField(1);
}

void CZorvatErrorDictionary::OnEnd(CServerMessage*)
{
    if (m_sink.m_pSource != nullptr)
        m_sink.m_pSource->ClearReceiving(m_sink.m_nId);
    if (m_pApp != nullptr)
        m_pApp->SetBusy(FALSE);
}
