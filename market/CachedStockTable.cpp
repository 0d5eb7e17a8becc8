#include "market/CachedStockTable.h"

#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"

CCachedStockTable::CCachedStockTable(const TABLE_DESC& desc, const CACHE_DESC& cache, CZorvatMessageSource* pSource)
    : CDataTable(desc, pSource), m_cacheDesc(cache), m_cache(cache.pszPrefix, cache.bLanguage)
{
}

CString CCachedStockTable::LanguageCode() const
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    return pApp != nullptr ? pApp->GetLanguageCode() : "0";
}

long CCachedStockTable::Request(long nStock)
{
    RemoveAllRows();
    // Asked at each request: the program's folder is known once the application has started.
    const CNorvApp* pApp = CNorvApp::Get();
    m_cache.SetFolder(pApp != nullptr ? static_cast<LPCSTR>(pApp->GetProgramFolder()) : "");
    m_strStamp = m_cache.FindStamp(nStock, LanguageCode());
    m_strOldStamp.Empty();
    m_nStock = nStock;

    const CZORVAT32App* pZorvat = CZORVAT32App::Get();
    CServerMessage request(1);
    CString strUser;
    strUser.Format("%d", pZorvat != nullptr ? pZorvat->GetUser().GetUserNumber() : 0);
    request.SetAtGrow(2, strUser);
    request.SetAtGrow(3, m_strStamp);
    AddRequestFields(request, nStock);
    CString strLine;
    if (request.FormatRequest(&strLine, GetDescription().nRequestType, 1, FALSE, FALSE, nullptr, FALSE) != REQUEST_OK)
        return 0;
    CZORVAT32App* pSender = CZORVAT32App::Get();
    return pSender != nullptr ? pSender->SendRequest(strLine) : 0;
}

void CCachedStockTable::LoadCache(LPCSTR pszStamp)
{
    const CString strPath = m_cache.MakePath(m_nStock, LanguageCode(), pszStamp);
    if (!strPath.IsEmpty())
        LoadFromFile(strPath);
}

void CCachedStockTable::OnReplyHead(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsOwnReply(pMsg) || m_nStock < 0 || pMsg->GetLong(m_cacheDesc.nStockField) != m_nStock)
        return;
    const long nMode = pMsg->GetLong(m_cacheDesc.nModeField);
    if (nMode == CACHE_MODE_CURRENT) {
        RemoveAllRows();
        LoadCache(m_strStamp);
        return;
    }
    const CString strOld = m_strStamp;
    TableOnReplyBegin(pMsg);
    if (nMode == m_cacheDesc.nIncrementMode) {
        LoadCache(strOld);
        // The file's rows are in; the reply's are appended to them and sorted at its end.
        GetRows()->BeginUpdate();
    }
    m_strOldStamp = strOld;
    m_strStamp = pMsg->GetField(m_cacheDesc.nStampField);
    OnRowsBegin();
}

BOOL CCachedStockTable::IsTakingRows() const
{
    return IsReceiving() && (GetSource() == nullptr || GetSource()->IsRestricted());
}

void CCachedStockTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    const CString strLanguage = LanguageCode();
    const CString strPath = m_cache.MakePath(m_nStock, strLanguage, m_strStamp);
    // A stamp that names no file leaves the rows shown and the old cache as it was.
    if (!strPath.IsEmpty() && SaveToFile(strPath) && m_strOldStamp != m_strStamp)
        m_cache.Delete(m_nStock, strLanguage, m_strOldStamp);
    m_strOldStamp.Empty();
}
