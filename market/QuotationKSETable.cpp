#include "market/QuotationKSETable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include "framework/base/SharedGlobals.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/QuotationFigures.h"
#include "market/TableLinks.h"
#include "market/TickerFeed.h"
#include "refdata/RoundByMode.h"
#include "refdata/ServerCodeTables.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_TABLE_STOCK_LIST_KSE 56376
#define KSE_MARKET_CODE 2
// The texts of the state, segment and session codes.
#define IDS_STATE_OTHER 57825           // states 1 to 3: 57826 to 57828
#define IDS_SESSION_ZERO 57829
#define IDS_SESSION_TWO 57830
#define IDS_SESSION_OTHER 57844
#define IDS_SEGMENT_BASE 57830          // segments 1 to 13: 57831 to 57843
#define IDS_SEGMENT_OTHER 57845

namespace {

constexpr TABLE_COLUMN Price(UINT nTitleId, int nField, UINT nFlags = 0)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = PRICE_WIDTH, .nDecimals = -1, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_OMIT_ZERO_FRACTION | nFlags, .nField = nField};
}

constexpr TABLE_COLUMN Number(UINT nTitleId, int nDecimals, UINT nFlags = 0, int nField = FIELD_NONE, int nWidth = QUANTITY_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nField = nField};
}

constexpr TABLE_COLUMN Text(UINT nTitleId, int nSize)
{
    return {.nTitleId = nTitleId, .nSize = nSize};
}

const TABLE_COLUMN s_columns[] = {
    Text(51890, 12),                                                                        // 0 stock text
    {.nTitleId = 51939, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nField = 0},  // 1 stock
    Price(51891, 1),                                                                        // 2 last
    {.nTitleId = 51922, .nType = COLTYPE_DATETIME_TEXT, .nWidth = DATETIME_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = KF_DATE},                                        // 3 last trade
    Price(51902, 3), Price(51904, 4), Price(51931, 14),                                     // 4 to 6
    Number(51906, 0, COLF_SUMMED, 8, VOLUME_WIDTH),                                         // 7 volume
    {.nTitleId = 51932, .nType = COLTYPE_INT32, .nWidth = COUNT_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_SUMMED,
     .nField = 9},                                                                          // 8 deals
    Number(51934, -3, COLF_SUMMED, 10, MONEY_WIDTH),                                        // 9 value
    Price(51893, 5), Price(51933, 11, COLF_SUMMED), Price(51894, 6), Price(51895, 7),       // 10 to 13
    Price(51935, FIELD_NONE),                                                               // 14 average
    Price(51896, 12),                                                                       // 15 previous
    {.nTitleId = 51899, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_SERVER_DATE, .nField = KF_PREVIOUS_DATE},                               // 16 previous date
    Price(51897, FIELD_NONE),                                                               // 17 change
    Price(51936, 15), Price(51937, 16), Price(51938, 22), Price(51943, 23), Price(51944, 24),   // 18 to 22
    Text(51945, 31), Text(51946, 31), Text(51947, 11), Text(51948, 21),                     // 23 to 26
    {.nTitleId = 51949, .nType = COLTYPE_TIME_TEXT, .nWidth = TIME_WIDTH, .nAlign = ALIGN_RIGHT},  // 27 market time
    Number(51898, -2, 0, FIELD_NONE, PERCENT_WIDTH),                                        // 28 change per cent
    Price(51900, FIELD_NONE),                                                               // 29 alert price
    {.nTitleId = 51901, .nType = COLTYPE_COMPUTED, .nWidth = 30, .pfnFormat = CAlertDir::FormatCodeColumn,
     .nFormatValue = KC_ALERT_DIR},                                                         // 30 alert direction
    Number(51916, 0), Number(51917, 0), Number(51918, 0), Number(51919, 0),                 // 31 to 34
    Number(51920, -2, 0, FIELD_NONE, MONEY_WIDTH),                                          // 35 held gain
    {.nTitleId = 51924, .nType = COLTYPE_COMPUTED, .nWidth = 30, .pfnFormat = CZorvatTypes::FormatYesNoColumn,
     .nFormatValue = KC_TICKER},                                                            // 36 ticker flag
    Number(51925, 0, COLF_HIDDEN), Price(51926, FIELD_NONE, COLF_HIDDEN),                   // 37, 38 outside
    Number(51927, -2, COLF_HIDDEN, FIELD_NONE, MONEY_WIDTH), Number(51928, -2, COLF_HIDDEN, FIELD_NONE, MONEY_WIDTH),
    Number(51929, -2, COLF_HIDDEN, FIELD_NONE, MONEY_WIDTH),
    Number(51930, -2, COLF_HIDDEN, FIELD_NONE, PERCENT_WIDTH),                              // 39 to 42
};
static_assert(sizeof(s_columns) / sizeof(s_columns[0]) == KC_COUNT);

// Hidden at first, but the user may show them.
const int s_hiddenColumns[] = {33, KC_HELD_GAIN, KC_TICKER};

const TABLE_SORT_KEY s_sort[] = {{KC_STOCK, 1}};
const int s_keys[] = {KC_STOCK};
const int s_liveTypes[] = {MSG_QQ};

CString CodeText(UINT nId)
{
    return LoadMarketText(nId);
}

CString StateText(long nCode)
{
    return CodeText(nCode >= 1 && nCode <= 3 ? IDS_STATE_OTHER + nCode : IDS_STATE_OTHER);
}

CString SegmentText(long nCode)
{
    return CodeText(nCode >= 1 && nCode <= 13 ? IDS_SEGMENT_BASE + nCode : IDS_SEGMENT_OTHER);
}

CString SessionText(long nCode)
{
    return CodeText(nCode == 0 ? IDS_SESSION_ZERO : nCode == 2 ? IDS_SESSION_TWO : IDS_SESSION_OTHER);
}

}  // namespace

const TABLE_DESC g_quotationKSETable = {
    .nNameId = IDS_TABLE_QUOTATIONS_KSE, .nTitleId = IDS_TITLE_QUOTATIONS_KSE, .nFixedColumns = 1,
    .columns = s_columns, .sort = s_sort, .keys = s_keys, .nReplyType = MSG_SQ, .liveTypes = s_liveTypes,
    .crCellBack0 = RGB(255, 255, 128)};

double KSEReferencePrice(double dLast, double dPrevious, double dThird)
{
    return dLast != 0 ? dLast : dPrevious != 0 ? dPrevious : dThird;
}

CQuotationKSETable::CQuotationKSETable(CZorvatMessageSource* pSource) : CDataTable(g_quotationKSETable, pSource)
{
}

BOOL CQuotationKSETable::Create(UINT nNameId, int /*nFixedColumns*/, UINT nTitleId)
{
    m_bShowExternal = FALSE;
    // The stock text stays in view whatever the caller asks.
    return CDataTable::Create(nNameId, 1, nTitleId);
}

void CQuotationKSETable::CreateColumns()
{
    CDataTable::CreateColumns();
    // A stock's number is a name, not an amount.
    GetTable()->GetColumn(KC_STOCK).SetThousands(FALSE);
    for (int nCol : s_hiddenColumns)
        GetTable()->GetColumn(nCol).SetHidden(TRUE);
}

CDataBuffer* CQuotationKSETable::FindStock(long nStock) const
{
    return GetRows()->FindRowByIds({static_cast<LONG>(nStock)});
}

CString CQuotationKSETable::GetStockName(long nStock, BOOL /*bFlag*/) const
{
    if (const CDataBuffer* pRow = FindStock(nStock))
        return pRow->GetText(KC_STATE);
    CString strText;
    strText.Format("%ld", nStock);
    return strText;
}

double CQuotationKSETable::GetLastPrice(long nStock) const
{
    const CDataBuffer* pRow = FindStock(nStock);
    if (pRow == nullptr)
        return 0.0;
    const double dLast = pRow->GetDouble(KC_LAST);
    return dLast > 0 ? dLast : pRow->GetDouble(KC_FALLBACK);
}

CString CQuotationKSETable::GetStockSymbol(long nStock, BOOL /*bSecond*/) const
{
    const CDataBuffer* pRow = FindStock(nStock);
    return pRow != nullptr ? pRow->GetText(KC_TEXT) : CString();
}

CQuotationKSETable::ROW_STATE CQuotationKSETable::PrepareLine(CServerMessage* pMsg) const
{
    ROW_STATE state;
    const LPCSTR pszSession = pMsg->GetFieldText(KF_SESSION);
    const char* pszTwo = strchr(pszSession, '2');
    state.bSession = pszTwo != nullptr && pszTwo[1] == '\0';
    const long nSegment = pMsg->GetLong(KF_SEGMENT);
    state.bSuspended = nSegment == 9 || nSegment == 10 || nSegment == 11 || nSegment == 4;
    state.bSegment = pMsg->GetLong(KF_STATE) == 3 && nSegment == 1;
    return state;
}

void CQuotationKSETable::WriteLineTexts(CServerMessage* pMsg, CDataBuffer* pRow, BOOL bPublish) const
{
    pRow->SetText(KC_STATE, StateText(pMsg->GetLong(KF_STATE)), bPublish);
    pRow->SetText(KC_SESSION, SessionText(pMsg->GetLong(KF_SESSION)), bPublish);
    pRow->SetText(KC_SEGMENT, SegmentText(pMsg->GetLong(KF_SEGMENT)), bPublish);
    char szShifted[SHIFT_TIME_SIZE] = "";
    GetGlobals()->ShiftServerTimeField(pMsg->GetFieldText(KF_MARKET_TIME), szShifted, KSE_MARKET_CODE);
    pRow->SetText(KC_MARKET_TIME, szShifted, bPublish);
    const double dWhole = RoundByMode(0, atof(pMsg->GetFieldText(KF_WHOLE)), 0);
    if (dWhole > 0) {
        char szWhole[32];
        snprintf(szWhole, sizeof(szWhole), "%d", static_cast<int>(dWhole));
        pRow->SetText(KC_WHOLE, szWhole, bPublish);
    }
}

void CQuotationKSETable::UpdateDerivedColumns(CDataBuffer* pRow, const ROW_STATE& state, BOOL bPublish)
{
    QUOTE_PRICES prices;
    prices.dLast = pRow->GetDouble(KC_LAST);
    prices.dClose = pRow->GetDouble(KC_PREVIOUS);
    prices.dHeld1 = pRow->GetDouble(KC_HELD1);
    prices.dHeld3 = pRow->GetDouble(KC_HELD3);
    const double dChange = prices.dLast > 0 ? prices.dLast - prices.dClose : 0;
    const double dPercent = prices.dLast > 0 && prices.dClose > 0 ? dChange / prices.dClose * 100 : 0;
    const double dVolume = pRow->GetDouble(KC_VOLUME);
    const double dAverage =
        dVolume > 0 ? static_cast<double>(static_cast<long long>(pRow->GetDouble(KC_VALUE) * 10000 / dVolume + 0.5)) / 10
                    : 0;
    const double dHeldGain = (prices.dHeld1 + prices.dHeld3) * dChange;
    pRow->SetValue(KC_CHANGE, &dChange, bPublish);
    pRow->SetValue(KC_PERCENT, &dPercent, bPublish);
    pRow->SetValue(KC_AVERAGE, &dAverage, bPublish);
    pRow->SetValue(KC_HELD_GAIN, &dHeldGain, bPublish);

    // The row changes its colours as one: the prices by their sign, the rest by the row's state.
    const int nRise = QuoteAttribute(dChange, FALSE);
    const int nState = !state.Any()       ? QUOTE_ATTR_UNCHANGED
                       : state.bSession   ? KSE_ATTR_SESSION
                       : state.bSuspended ? KSE_ATTR_SUSPENDED
                                          : KSE_ATTR_SEGMENT;
    for (int nCol = 0; nCol < KC_COUNT; ++nCol)
        pRow->SetCellAttribute(nCol, nCol == KC_LAST || nCol == KC_CHANGE || nCol == KC_PERCENT ? nRise : nState);
    pRow->SetCellAttribute(KC_HELD_GAIN, dHeldGain != 0 ? QuoteAttribute(dHeldGain, state.Any()) : QUOTE_ATTR_UNCHANGED);
}

void CQuotationKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    const ROW_STATE state = PrepareLine(pMsg);
    std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
    FillRow(pMsg, pNew.get(), FALSE);
    CString strText = GetStockSymbolFrom(IDS_TABLE_STOCK_LIST_KSE, pMsg->GetLong(KF_STOCK), IsArabicInterface());
    if (strText.IsEmpty())
        strText.Format("%ld", pMsg->GetLong(KF_STOCK));
    pNew->SetText(KC_TEXT, strText, FALSE);
    WriteLineTexts(pMsg, pNew.get(), FALSE);
    UpdateDerivedColumns(pNew.get(), state, FALSE);
    // A reply's rows are appended unsorted; a second line of one stock adds nothing and leaves
    // no row half made.
    const int nIndex = GetRows()->AddRow(pNew.get(), TRUE);
    if (CDataBuffer* pRow = GetRows()->GetAt(nIndex))
        UpdateDerivedColumns(pRow, state, TRUE);
}

void CQuotationKSETable::OnEnd(CServerMessage* pMsg)
{
    const BOOL bMine = IsReceiving();
    TableOnEnd(pMsg);
    // A fresh board gets the user's settings back, and the positions its prices; a stray end
    // changes nothing.
    if (!bMine)
        return;
    LoadUserSettings(GetSharedGlobals()->m_settings);
    for (int i = 0; i < GetRows()->GetCount(); ++i)
        RevaluePositionsOf(GetRows()->GetAt(i)->GetText(KC_STOCK), KSE_MARKET_CODE);
}

void CQuotationKSETable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg == nullptr)
        return;
    const ROW_STATE state = PrepareLine(pMsg);
    CDataBuffer* pRow = FindStock(pMsg->GetLong(KF_STOCK));
    if (pRow == nullptr) {
        // A stock the board did not list: its row waits for the next reply for its text.
        std::unique_ptr<CDataBuffer> pNew(GetRows()->NewRow());
        FillRow(pMsg, pNew.get(), FALSE);
        WriteLineTexts(pMsg, pNew.get(), FALSE);
        UpdateDerivedColumns(pNew.get(), state, FALSE);
        if (CDataBuffer* pAdded = GetRows()->GetAt(GetRows()->AddRow(pNew.get(), TRUE))) {
            pAdded->BeginChanges();
            UpdateDerivedColumns(pAdded, state, TRUE);
            pAdded->Commit();
        }
        RevaluePositionsOf(pMsg->GetFieldText(KF_STOCK), KSE_MARKET_CODE);
        return;
    }
    // One batch: one commit, one repaint of the row.
    pRow->BeginChanges();
    FillRow(pMsg, pRow, TRUE);
    WriteLineTexts(pMsg, pRow, TRUE);
    UpdateDerivedColumns(pRow, state, TRUE);
    const double dReference =
        KSEReferencePrice(pRow->GetDouble(KC_LAST), pRow->GetDouble(KC_PREVIOUS), pRow->GetDouble(KC_REFERENCE3));
    if (IsAlertDue(dReference, pRow->GetDouble(KC_ALERT_PRICE), pRow->GetLong(KC_ALERT_DIR)))
        FireAlert(pRow);
    pRow->Commit();
    // The positions in the stock are valued at the price just stored.
    RevaluePositionsOf(pMsg->GetFieldText(KF_STOCK), KSE_MARKET_CODE);
    SendToTicker(pMsg, pRow);
}

void CQuotationKSETable::SendToTicker(CServerMessage* pMsg, const CDataBuffer* pRow) const
{
    if (pMsg->GetLong(KF_TICKER) == 0 || pRow->GetLong(KC_TICKER) == 0)
        return;
    const CZorvatGlobals* pGlobals = GetGlobals();
    ITickerFeed* pTicker = pGlobals != nullptr ? FindTickerFeed(pGlobals->GetMarketName(KSE_MARKET_CODE)) : nullptr;
    if (pTicker == nullptr)
        return;
    const double dLast = pRow->GetDouble(KC_LAST);
    const double dPrevious = pRow->GetDouble(KC_PREVIOUS);
    const double dChange = dPrevious > 0 ? dLast - dPrevious : 0;
    AddPriceItem(pTicker, pRow->GetText(KC_TEXT), dLast, dChange, 2);
}
