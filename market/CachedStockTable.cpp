#include "market/CachedStockTable.h"

#include <cstdio>
#include <memory>
#include "app/ZorvatApp.h"
#include "framework/base/InfoWindow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"

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
        // The file's rows are in and sorted; the reply's are added one by one, so that a day
        // both hold is found and takes the server's figures rather than standing twice.
        LoadCache(strOld);
    }
    m_strOldStamp = strOld;
    m_strStamp = pMsg->GetField(m_cacheDesc.nStampField);
    OnRowsBegin();
}

void CCachedStockTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsTakingRows())
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    AddReplyRow(pRow.get());
}

void CCachedStockTable::AddReplyRow(CDataBuffer* pRow)
{
    CDataArray* pRows = GetRows();
    if (!pRows->IsBulk()) {
        const int nIndex = pRows->FindIndexOfRow(pRow);
        if (nIndex >= 0)
            pRows->RemoveAt(nIndex);
    }
    pRows->AddRow(pRow, TRUE);
}

BOOL CCachedStockTable::IsTakingRows() const
{
    return IsReceiving() && (GetSource() == nullptr || GetSource()->IsRestricted());
}

BOOL CCachedStockTable::WriteCache(LPCSTR pszPath)
{
    // Written whole beside the file, then put in its place: a write that fails half-way leaves
    // whatever file stood there before as it was.
    const CString strTemp = CString(pszPath) + ".new";
    if (SaveToFile(strTemp) && rename(strTemp, pszPath) == 0)
        return TRUE;
    remove(strTemp);
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp != nullptr)
        if (IInfoWindow* pInfo = pApp->GetInfoWindow()) {
            CString strText = LoadMarketText(IDS_CACHE_NOT_WRITTEN);
            strText += pszPath;
            pInfo->AddText(strText);
        }
    return FALSE;
}

void CCachedStockTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    const CString strLanguage = LanguageCode();
    const CString strPath = m_cache.MakePath(m_nStock, strLanguage, m_strStamp);
    // A stamp that names no file leaves the rows shown and the old cache as it was; so does a
    // file that could not be written.
    if (!strPath.IsEmpty() && WriteCache(strPath) && m_strOldStamp != m_strStamp)
        m_cache.Delete(m_nStock, strLanguage, m_strOldStamp);
    m_strOldStamp.Empty();
}
