#pragma once
// The base of the tables that show one KSE stock's history from a local cache: a request names
// the stock and the stamp of the cache file it holds; the reply's head says whether that file
// is current (its rows are loaded), stale (the reply brings every row) or to be added to (the
// file's rows, then the reply's). The new file is written at the reply's end, and only then is
// the older one deleted, so that a reply cut short leaves the old cache whole.
#include "market/DataTable.h"
#include "market/HistoryCache.h"

#define CACHE_MODE_CURRENT 0
#define IDS_CACHE_NOT_WRITTEN 56990     // the information window's line when a cache file fails

// Where a table's reply heads and caches differ.
struct CACHE_DESC
{
    LPCSTR pszPrefix;           // the files' prefix, "QM", "SF", "SI"
    BOOL bLanguage;             // the file name carries the language code
    int nStockField;            // the reply head's stock
    int nStampField;            // the reply head's stamp of the data it sends
    int nModeField;             // 0 current; any other reloads, but for the increment mode
    int nIncrementMode;         // the mode that adds to the cached rows; -1 none
};

class CCachedStockTable : public CDataTable
{
public:
    CCachedStockTable(const TABLE_DESC& desc, const CACHE_DESC& cache, CZorvatMessageSource* pSource);

    // Empties the table, finds the stamp of the stock's cache and asks the server for the rest.
    // The link's number of the request, 0 when nothing was sent.
    long Request(long nStock);
    long GetStock() const { return m_nStock; }
    const CString& GetStamp() const { return m_strStamp; }
    const CHistoryCache& GetCache() const { return m_cache; }

    // A data line of this table's reply, through the field map.
    void OnRecord(CServerMessage* pMsg) override;
    // "EN": only the end of this table's own reply writes the cache.
    void OnEnd(CServerMessage* pMsg) override;

protected:
    // The reply's head, routed from the reply type's slot. A head for another stock than the
    // last one requested is left alone (the reply of an earlier request, overtaken).
    void OnReplyHead(CServerMessage* pMsg);
    // The request's fields after the user number and the stamp.
    virtual void AddRequestFields(CServerMessage& request, long nStock) const = 0;
    // A head this table takes at all (the monthly history shares its reply type).
    virtual BOOL IsOwnReply(CServerMessage* /*pMsg*/) const { return TRUE; }
    // A reply with rows starts (the head is the table's own, for its stock).
    virtual void OnRowsBegin() {}
    // A reply's row into the store; in an increment, a row the cache holds already is replaced.
    void AddReplyRow(CDataBuffer* pRow);
    // TRUE while the data lines of this table's reply arrive.
    BOOL IsTakingRows() const;

private:
    CString LanguageCode() const;
    // The rows into the file, through a temporary one; FALSE, said in the information window,
    // when it could not be written.
    BOOL WriteCache(LPCSTR pszPath);
    void LoadCache(LPCSTR pszStamp);

    const CACHE_DESC& m_cacheDesc;
    CHistoryCache m_cache;
    long m_nStock = -1;                 // of the last request; -1 before any
    CString m_strStamp;                 // of the cache in use, or of the data being received
    CString m_strOldStamp;              // the file the reply replaces, deleted once the new one stands
};
