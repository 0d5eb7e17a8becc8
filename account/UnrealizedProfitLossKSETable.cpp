#include "account/UnrealizedProfitLossKSETable.h"
#include <cstdio>
#include <memory>
#include "account/HoldingsValuation.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "refdata/ServerDateFields.h"

#define KSE_CASH "=KWD"

namespace {
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nDecimals, UINT nFlags, int nMin, int nField, int nWidth = QUANTITY_WIDTH)
{
    return AccountNumber(nTitleId, nDecimals, nField, COLF_THOUSANDS | nFlags, nMin, nWidth);
}
const UINT S = COLF_SUMMED;
const UINT Z = COLF_BLANK_ZERO;
const UINT O = COLF_ZERO_SHOWN;
const UINT M = COLF_MONEY;
const int N = FIELD_NONE;
const UINT UNNAMED = COLF_HIDDEN;

const TABLE_COLUMN s_columns[] = {
    AccountText(56290, 11, N),                                      // 0 symbol
    AccountText(56694, 6, 1),                                       // 1 stock code
    AccountCode(56401, 70, 0, CUnrealizedProfitLossKSETable::FormatKind, UK_KIND),
    Amount(56291, 0, S | O, 0, 6),                                  // 3 quantity
    Amount(56292, 0, S | Z, 0, 7),                                  // 4 second quantity
    // The server's figures no column of ours gives a meaning, and a column nothing fills: kept
    // with the row, never shown.
    Amount(41051, 0, S | O | UNNAMED, 0, 14, MONEY_WIDTH),
    Amount(41052, -3, S | O | UNNAMED, 3, 15, MONEY_WIDTH),
    Amount(56293, 0, S | Z, 0, N),                                  // 7 total quantity
    AccountDate(56294, 2),
    AccountDate(56295, 3),
    // An average cost to four places whatever filled it: the reply's figure or a live line's quotient.
    Amount(56296, -4, O, 4, 4, PRICE_WIDTH),                        // 10 average cost
    Amount(56297, -3, S | O | M, 3, 5, MONEY_WIDTH),                // 11 cost
    Amount(56298, -3, S | O, 3, 8, MONEY_WIDTH),
    Amount(56299, -3, S | O | UNNAMED, 3, N, MONEY_WIDTH),
    AccountPrice(56300, KSE_PRICE_DECIMALS, 10, COLF_THOUSANDS | Z), // 14 price
    Amount(56301, -3, S | Z | M, 3, N, MONEY_WIDTH),                // 15 market value
    Amount(56302, -3, S | O | M, 3, N, MONEY_WIDTH),                // 16 profit
    Amount(56303, -2, O, 2, N, GAIN_PERCENT_WIDTH),                      // 17 per cent
    AccountReference(56899, 12),
    AccountDate(56900, 11),
};
static_assert(std::size(s_columns) == UK_COUNT);

const TABLE_SORT_KEY s_sort[] = {{UK_STOCK, 1}, {UK_KIND, 1}, {UK_TEXT_KEY, 1}, {UK_DATE_KEY, 1}};
const int s_keys[] = {UK_STOCK, UK_KIND, UK_TEXT_KEY, UK_DATE_KEY};
const int s_live[] = {MSG_IU};
const int s_quickFilters[] = {UK_SYMBOL};
const ACCOUNT_REQUEST s_requests[] = {{MSG_UK, "||%d|%s|2"}};
const ACCOUNT_MENU_ITEM s_menu[] = {{.nId = ID_ACCOUNT_REFRESH}, {}};
const ACCOUNT_COMMAND s_commands[] = {{ID_ACCOUNT_REFRESH, RULE_ALWAYS, ACTION_REFRESH_ASKED}};
}  // namespace

// A position line inside the first reply waits for its end, as inside any other.
const ACCOUNT_DESC g_unrealizedProfitLossKSETable = {
    .table = {.nNameId = IDS_TABLE_KSE_UNREALIZED, .nTitleId = 56795, .nFixedColumns = 1, .columns = s_columns,
              .sort = s_sort, .keys = s_keys, .nRequestType = MSG_UK, .nReplyType = MSG_UK, .liveTypes = s_live,
              .nFlags = TABLEF_LIVE_UNGATED, .nMoneyDecimals = 3},
    .requests = s_requests, .quickFilters = s_quickFilters, .menu = s_menu, .commands = s_commands};

BOOL CUnrealizedProfitLossKSETable::FormatKind(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (pszBuf == nullptr || nSize <= 0 || pRow == nullptr)
        return TRUE;
    const char* pszStock = static_cast<const char*>(pRow[UK_STOCK].pData);
    const BOOL bNoStock = pszStock == nullptr || *pszStock == '\0';
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s", static_cast<LPCSTR>(HoldingTypeText(pRow[nCol].nValue, bNoStock)));
    return TRUE;
}

CDataBuffer* FindKsePositionRow(CDataArray* pRows, LPCSTR pszStock, LPCSTR pszKind)
{
    CDataBuffer* pRow = pRows->FindRow({pszStock, pszKind, "", ""});
    // A reply row may carry a text or a date key that no live line names: the position is its
    // stock and kind all the same.
    return pRow != nullptr ? pRow : pRows->FindRow({pszStock, pszKind});
}

BOOL CUnrealizedProfitLossKSETable::SendRequest()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format(s_requests[0].pszBody, user.GetUserNumber(), static_cast<LPCSTR>(user.GetAccountText()));
    m_nRequest = CDataTable::SendRequest(strBody);
    return m_nRequest != 0;
}

void CUnrealizedProfitLossKSETable::OnUK(CServerMessage* pMsg)
{
    // The combined report asks "UK" for the account typed in it: that reply is its own.
    if (pMsg == nullptr || m_nRequest <= 0 || GetRawLineNumber(pMsg) != m_nRequest)
        return;
    TableOnReplyBegin(pMsg);
    m_nReplyId = pMsg->GetLong(3);
}

void CUnrealizedProfitLossKSETable::RevalueRow(CDataBuffer* pRow)
{
    if (pRow == nullptr)
        return;
    pRow->BeginChanges();
    const double dQuantity = pRow->GetDouble(UK_QTY) + pRow->GetDouble(UK_QTY2);
    double dValue = dQuantity, dGain = 0, dPercent = 0;
    // The cash row's quantities are its dinars.
    if (pRow->GetText(UK_SYMBOL) != KSE_CASH) {
        // The gain is the value as it shows less the cost as it shows.
        const POSITION_VALUE value = ValuePosition(pRow, UK_VALUE, dQuantity, pRow->GetDouble(UK_PRICE),
                                                   QuotedUnit(KSE_MARKET_CODE, FALSE), pRow->GetDouble(UK_COST),
                                                   pRow->GetDouble(UK_EXTRA));
        dValue = value.dValue;
        dGain = value.dGain;
        dPercent = value.dPercent;
        MarkGain(pRow, {UK_GAIN, UK_PERCENT}, dGain);
    }
    WriteDerived(pRow, UK_VALUE, dValue);
    WriteDerived(pRow, UK_GAIN, dGain);
    WriteDerived(pRow, UK_PERCENT, dPercent);
    pRow->Commit();
}

void CUnrealizedProfitLossKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    pRow->SetText(UK_SYMBOL, KseStockName(pMsg->GetLong(1), TRUE), FALSE);
    pRow->SetDouble(UK_TOTAL, pMsg->GetDouble(6, 0) + pMsg->GetDouble(7, 0), FALSE);
    // The cost to the fils, its average price in fils to four places: one cost.
    if (pMsg->GetLong(1) > 0)
        pRow->SetDouble(UK_COST, PositionCost(pMsg->GetFieldText(5), pMsg->GetDouble(4, 0) * (pMsg->GetDouble(6, 0) + pMsg->GetDouble(7, 0)) / 1000.0),
                        FALSE);
    double dFils = 0;
    if (FindPositionPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, dFils))
        pRow->SetDouble(UK_PRICE, dFils, FALSE);
    const int nIndex = GetRows()->AddRow(pRow.get(), TRUE);
    if (nIndex >= 0)
        RevalueRow(GetRows()->GetAt(nIndex));
    if (pMsg->GetLong(1) > 0)
        TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, pMsg->GetDouble(10, 0));
}

void CUnrealizedProfitLossKSETable::ApplyLive(CServerMessage* pMsg)
{
    // The cash row is never updated live.
    if (pMsg->GetLong(10) != m_nReplyId || strcmp(pMsg->GetFieldText(1), "0") == 0)
        return;
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = FindKsePositionRow(pRows, pMsg->GetFieldText(1), pMsg->GetFieldText(0));
    const double dQty = pMsg->GetDouble(2, 0), dQty2 = pMsg->GetDouble(4, 0);
    if (pMsg->GetLong(2) == 0 && pMsg->GetLong(4) == 0) {
        if (pRow != nullptr)
            pRows->RemoveAt(pRows->FindIndexOfRow(pRow));
        return;
    }
    if (pMsg->GetSize() < 16)
        return;
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    const BOOL bPublish = pRow != nullptr;
    if (bPublish)
        pTarget->BeginChanges();
    if (pNew != nullptr) {
        pTarget->SetText(UK_STOCK, pMsg->GetFieldText(1), FALSE);
        pTarget->SetText(UK_KIND, pMsg->GetFieldText(0), FALSE);
        pTarget->SetText(UK_SYMBOL, KseStockName(pMsg->GetLong(1), TRUE), FALSE);
        pTarget->SetText(UK_OPEN_DATE, ConvertServerDateField(pMsg->GetFieldText(13), COLTYPE_DATE_TEXT), FALSE);
    }
    // The board's price, as every window values the position; while the board has none, the
    // line's, and a line without one leaves a held position's price as it was.
    double dFils = pMsg->GetDouble(7, 0);
    FindPositionPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, dFils);
    if (pNew != nullptr || dFils > 0)
        pTarget->SetDouble(UK_PRICE, dFils, bPublish);
    pTarget->SetText(UK_LAST_DATE, ConvertServerDateField(pMsg->GetFieldText(14), COLTYPE_DATE_TEXT), bPublish);
    // The cost to the fils beside the same amount to a tenth of a fils: one cost.
    const double dCost = PositionCost(pMsg->GetFieldText(16), pMsg->GetDouble(5, 0));
    pTarget->SetDouble(UK_COST, dCost, bPublish);
    // An average over no quantity is 0, not a division by zero.
    pTarget->SetDouble(UK_AVERAGE, dQty + dQty2 != 0 ? dCost / (dQty + dQty2) * 1000.0 : 0.0, bPublish);
    pTarget->SetDouble(UK_QTY, dQty, bPublish);
    pTarget->SetDouble(UK_QTY2, dQty2, bPublish);
    pTarget->SetDouble(UK_TOTAL, dQty + dQty2, bPublish);
    if (pNew != nullptr) {
        const int nIndex = pRows->AddRow(pNew.get(), TRUE);
        pTarget = nIndex >= 0 ? pRows->GetAt(nIndex) : nullptr;
    }
    RevalueRow(pTarget);
    TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, pMsg->GetDouble(7, 0));
}

void CUnrealizedProfitLossKSETable::RevalueSymbol(LPCSTR pszStock, long nMarketCode)
{
    double dFils = 0;
    if (nMarketCode != KSE_MARKET_CODE || !FindPositionPrice(pszStock, nMarketCode, dFils))
        return;
    for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszStock, "")) {
        pRow->BeginChanges();
        pRow->SetDouble(UK_PRICE, dFils, TRUE);
        RevalueRow(pRow);
    }
}
