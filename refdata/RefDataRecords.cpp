#include "refdata/RefDataRecords.h"

#include "link/ServerMessage.h"

#define KSE_MARKET_CODE 2

namespace {

int FieldInt(const CServerMessage& row, int nField)
{
    return static_cast<int>(row.GetLong(nField));
}

}  // namespace

void MarketDetail::SetFromRow(const CServerMessage& row, LPCSTR pszLinkedMarketName)
{
    *this = MarketDetail();
    m_strEnglishName = row.GetField(13);
    m_strArabicName = row.GetField(14);
    m_strText3 = row.GetField(3);
    m_nEnabled = FieldInt(row, 4);
    m_strText0 = row.GetField(0);
    m_nValue5 = FieldInt(row, 5);
    m_nMarketCode = FieldInt(row, 12);
    m_nQuoteListFlag = FieldInt(row, 15);
    m_nNoQuoteFlag = FieldInt(row, 16);
    m_nQuoteLookupFlag = FieldInt(row, 17);
    m_nValue18 = FieldInt(row, 18);
    m_nValue19 = FieldInt(row, 19);
    m_nNoNewsFlag = FieldInt(row, 20);
    m_nValue9 = FieldInt(row, 9);
    m_nValue10 = FieldInt(row, 10);
    m_nValue11 = FieldInt(row, 11);
    m_nValue7 = FieldInt(row, 7);
    m_strLinkedMarketName = pszLinkedMarketName != nullptr ? pszLinkedMarketName : "";
    m_nTimeOffset = FieldInt(row, 21);
    m_nValue22 = FieldInt(row, 22);
}

void StockList::SetFromSymbolRow(const CServerMessage& row)
{
    market = FieldInt(row, 1);
    text1 = row.GetField(0);
    text2 = row.GetField(2);
    text3 = row.GetField(3);
    text4 = row.GetField(4);
    text5 = row.GetField(5);
    text6 = row.GetField(6);
}

void StockList::SetFromKseRow(const CServerMessage& row)
{
    market = KSE_MARKET_CODE;
    text1 = row.GetField(0);
    text2 = row.GetField(0);
    text3 = row.GetField(1);
    text4 = row.GetField(2);
    text5 = row.GetField(3);
    text6 = row.GetField(4);
}

void CurrencyDetail::SetFromRow(const CServerMessage& row)
{
    m_strCode = row.GetField(1);
    m_nValue2 = FieldInt(row, 2);
    m_nValue0 = FieldInt(row, 0);
    m_strText3 = row.GetField(3);
}
