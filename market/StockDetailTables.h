#pragma once
// A KSE stock's financial figures ("SF") and company information ("SI"), one stock at a time,
// each cached per stock, language and date stamp ("SF_%ld_%s_%s.SAV", "SI_%ld_%s_%s.SAV"). The
// rows keep the server's order through a running number in their hidden first column.
#include "market/CachedStockTable.h"

#define IDS_TABLE_STOCK_FINANCIAL 56906
#define IDS_TITLE_STOCK_FINANCIAL 56907
#define IDS_TABLE_STOCK_INFORMATION 56897
#define IDS_TITLE_STOCK_INFORMATION 56898

extern const TABLE_DESC g_stockFinancialTable;
extern const TABLE_DESC g_stockInformationTable;

class CStockDetailTable : public CCachedStockTable
{
public:
    CStockDetailTable(const TABLE_DESC& desc, const CACHE_DESC& cache, CZorvatMessageSource* pSource);
    void OnRecord(CServerMessage* pMsg) override;

protected:
    void AddRequestFields(CServerMessage& request, long nStock) const override;
    void OnRowsBegin() override { m_nRowCounter = 0; }

private:
    long m_nRowCounter = 0;
};

class CStockFinancialTable : public CStockDetailTable
{
public:
    explicit CStockFinancialTable(CZorvatMessageSource* pSource);
    void OnSF(CServerMessage* pMsg) override { OnReplyHead(pMsg); }
};

class CStockInformationTable : public CStockDetailTable
{
public:
    explicit CStockInformationTable(CZorvatMessageSource* pSource);
    void OnSI(CServerMessage* pMsg) override { OnReplyHead(pMsg); }
};
