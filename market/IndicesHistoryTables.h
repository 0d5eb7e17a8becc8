#pragma once
// A KSE index's daily and monthly history, one row per date: asked for with "DX" of the daily
// or the monthly kind, cached per index in "IXD_%ld_%s.SAV" and "IXM_%ld_%s.SAV", so that a
// later request fetches only what came after the cached date. Both tables take every "DX"
// reply head and keep the one of their own kind.
#include "market/CachedStockTable.h"

#define IDS_TABLE_INDEX_DAILY 56873
#define IDS_TITLE_INDEX_DAILY 56874
#define IDS_TABLE_INDEX_MONTHLY 56890
#define IDS_TITLE_INDEX_MONTHLY 56891

// What tells the two apart beyond their table descriptions.
struct INDEX_HISTORY_DESC
{
    const TABLE_DESC& table;
    const CACHE_DESC& cache;
    long nKind;                         // "DX" field 4 of the request and of the reply
};

extern const INDEX_HISTORY_DESC g_indexDaily;
extern const INDEX_HISTORY_DESC g_indexMonthly;

class CIndicesHistoryTable : public CCachedStockTable
{
public:
    CIndicesHistoryTable(const INDEX_HISTORY_DESC& history, CZorvatMessageSource* pSource);

    long RequestHistory(long nIndex) { return Request(nIndex); }

    void OnDX(CServerMessage* pMsg) override { OnReplyHead(pMsg); }

protected:
    void AddRequestFields(CServerMessage& request, long nIndex) const override;
    BOOL IsOwnReply(CServerMessage* pMsg) const override;

private:
    const INDEX_HISTORY_DESC& m_history;
};

class CIndicesDailyTable : public CIndicesHistoryTable
{
public:
    explicit CIndicesDailyTable(CZorvatMessageSource* pSource) : CIndicesHistoryTable(g_indexDaily, pSource) {}
};

class CIndicesMonthlyTable : public CIndicesHistoryTable
{
public:
    explicit CIndicesMonthlyTable(CZorvatMessageSource* pSource) : CIndicesHistoryTable(g_indexMonthly, pSource) {}
};
