#include "account/UnrealizedProfitLossTable.h"
#include <algorithm>
#include <memory>
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/SymbolCommands.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "refdata/ServerDateFields.h"
#include "refdata/ZorvatTypes.h"

#define OPTION_CALL 1
#define OPTION_PUT 2
#define CASH_DOLLARS "=USD"

namespace {
// Amounts: nDecimals fraction digits, trimmed to nMin; zero blank unless bShowZero.
constexpr TABLE_COLUMN Amount(UINT nTitleId, int nDecimals, int nMin, BOOL bShowZero, UINT nFlags, int nField,
                              int nWidth = PRICE_WIDTH)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = -nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags | (bShowZero ? COLF_ZERO_SHOWN : COLF_BLANK_ZERO), .nMinDecimals = nMin,
            .nField = nField};
}
constexpr TABLE_COLUMN Date(UINT nTitleId, int nField, UINT nFlags = 0)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
            .nFlags = COLF_SERVER_DATE | nFlags, .nField = nField};
}
const int N = FIELD_NONE;
const UINT S = COLF_SUMMED;
const UINT W = COLF_OMIT_ZERO_FRACTION;
const UINT M = COLF_MONEY;

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51199, .nSize = 6, .nField = 0},
    AccountPrice(51208, POSITION_PRICE_DECIMALS, 8, COLF_THOUSANDS | COLF_BLANK_ZERO),  // 1 last price
    Date(51202, 1), Date(51203, 2),
    // An average cost to four places whatever filled it: the reply's figure or a live line's quotient.
    Amount(51204, 4, 4, TRUE, 0, 3),                // 4 long average cost
    Amount(51205, 2, 2, TRUE, S | M, 4, MONEY_WIDTH),   // 5 long cost
    // Quantities count shares or option contracts, and column 9 is a per cent: no totals.
    Amount(51206, 2, 0, TRUE, 0, 5, QUANTITY_WIDTH),    // 6 long quantity
    Amount(51207, 2, 0, FALSE, 0, 6, QUANTITY_WIDTH),   // 7 second long quantity
    // 8 and 9: the unrealized gain and per cent of the line's fields, which the row's own (11
    // and 12) replace; they repeat those, so they show only when the trader asks.
    Amount(41049, 2, 2, TRUE, S | M | COLF_HIDDEN | COLF_SWITCHABLE, 24, MONEY_WIDTH),
    Amount(41050, 2, 2, TRUE, COLF_HIDDEN | COLF_SWITCHABLE, 25, GAIN_PERCENT_WIDTH),
    Amount(51209, 2, 2, FALSE, S | M, N, MONEY_WIDTH),  // 10 long market value
    Amount(51210, 2, 2, TRUE, S | M, N, MONEY_WIDTH),   // 11 long gain
    Amount(51211, 2, 2, TRUE, 0, N, GAIN_PERCENT_WIDTH),     // 12 long per cent
    Date(51213, 9), Date(51214, 10),
    Amount(51215, 4, 4, TRUE, 0, 11),               // 15 short average price
    Amount(51216, 2, 2, TRUE, S | M, 12, MONEY_WIDTH),  // 16 short proceeds
    Amount(51217, 2, 0, TRUE, 0, 13, QUANTITY_WIDTH),   // 17 short quantity
    Amount(51218, 2, 0, FALSE, 0, 14, QUANTITY_WIDTH),  // 18 second short quantity
    Amount(51219, 2, 2, FALSE, S | M, N, MONEY_WIDTH),  // 19 short market value
    Amount(51871, 2, 2, TRUE, S | M, N, MONEY_WIDTH),   // 20 short gain
    Amount(51872, 2, 2, TRUE, 0, N, GAIN_PERCENT_WIDTH),     // 21 short per cent
    {.nTitleId = 57226, .nSize = 6, .nFlags = COLF_HIDDEN, .nField = 16},
    {.nTitleId = 57227, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nFlags = COLF_HIDDEN, .nField = 17,
     .pfnFormat = COptionRight::FormatCodeColumn, .nFormatValue = UC_OPTION_RIGHT},
    Amount(57229, 4, 2, FALSE, W | COLF_HIDDEN, 18), // 24 strike
    Date(57228, 19, COLF_HIDDEN),
    {.nTitleId = 57380, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_NAME_SIZE},  // 26 market
    {.nTitleId = 57224, .nSize = 6, .nField = 21},
    AccountName(51201),                             // 28 company
    Amount(57243, 4, 2, FALSE, W, N),               // 29 intrinsic value
};
static_assert(std::size(s_columns) == UC_COUNT);

const TABLE_SORT_KEY s_sort[] = {{UC_SYMBOL, 1}, {UC_MARKET, 1}};
const int s_keys[] = {UC_SYMBOL, UC_MARKET};
const int s_live[] = {MSG_NH};
// The symbol's items, on top of the popup in this order, and the separator under them.
const UINT s_symbolItems[] = {ID_POSITIONS_SYMBOL, ID_POSITIONS_SYMBOL_BOOK, ID_POSITIONS_SYMBOL_NEWS};

// The selected position's symbol item has something to open: the order book only for the book's
// market.
BOOL IsSymbolItemEnabled(UINT nId, const CDataBuffer* pRow, const CString& strMarket)
{
    return pRow != nullptr && (nId != ID_POSITIONS_SYMBOL_BOOK || strMarket == BOOK_MARKET_TEXT) &&
           CanRunSymbolCommand(nId, strMarket);
}

void RemoveSymbolItems(HMENU hMenu)
{
    for (const UINT nId : s_symbolItems) {
        for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
            if (GetMenuItemID(hMenu, i) != nId)
                continue;
            RemoveMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            if (nId == s_symbolItems[std::size(s_symbolItems) - 1] && i < GetMenuItemCount(hMenu) &&
                GetMenuItemID(hMenu, i) == 0 && GetSubMenu(hMenu, i) == nullptr)
                RemoveMenu(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
            break;
        }
    }
}

double Quotient(double dAmount, double dQuantity)
{
    return dQuantity != 0 ? dAmount / dQuantity : 0.0;
}

// The server gives an option's cost and proceeds as the premium per share times the contracts;
// the row shows them, and its value, in dollars as the holdings do. Every row is of a US market.
double ContractShares(long nOptionRight)
{
    return QuotedUnit(0, nOptionRight != 0);
}
}  // namespace

// A position line inside the first reply waits for its end, as inside any other. Amounts are
// held in cents, as they show, whatever fraction of a cent the server's carry.
const TABLE_DESC g_unrealizedProfitLossTable = {
    .nNameId = IDS_TABLE_US_UNREALIZED, .nTitleId = 56769, .nFixedColumns = 2, .columns = s_columns, .sort = s_sort,
    .keys = s_keys, .nRequestType = MSG_UP, .nReplyType = MSG_UP, .liveTypes = s_live, .nFlags = TABLEF_LIVE_UNGATED,
    .nCurrencyColumn = UC_TEXT, .nMoneyDecimals = 2, .company = {UC_COMPANY, UC_SYMBOL, UC_MARKET}};

BOOL CUnrealizedProfitLossTable::SendRequest()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format("%ld|%s|2", static_cast<long>(user.GetUserNumber()), static_cast<LPCSTR>(user.GetAccountText()));
    m_nRequest = CDataTable::SendRequest(strBody);
    return m_nRequest != 0;
}

void CUnrealizedProfitLossTable::OnUP(CServerMessage* pMsg)
{
    // The combined report asks "UP" for the account typed in it: that reply, and the account it
    // names, are its own, not this window's.
    if (pMsg == nullptr || m_nRequest <= 0 || GetRawLineNumber(pMsg) != m_nRequest)
        return;
    TableOnReplyBegin(pMsg);
    m_nReplyId = pMsg->GetLong(1);
}

void CUnrealizedProfitLossTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    const long nMarket = pMsg->GetLong(20);
    const CString strMarket = MarketNameOf(nMarket);
    double dLast = 0;
    if (FindPositionPrice(pMsg->GetFieldText(0), nMarket, dLast))
        pRow->SetDouble(UC_LAST, dLast, FALSE);
    pRow->SetText(UC_MARKET, strMarket, FALSE);
    const double dShares = ContractShares(pRow->GetLong(UC_OPTION_RIGHT));
    // The cost (and the proceeds) to the cent, its average price to four places: one cost.
    pRow->SetDouble(UC_LONG_COST,
                    PositionCost(pMsg->GetFieldText(4), pMsg->GetDouble(3, 0) * (pMsg->GetDouble(5, 0) + pMsg->GetDouble(6, 0))) * dShares,
                    FALSE);
    pRow->SetDouble(UC_SHORT_PROCEEDS,
                    PositionCost(pMsg->GetFieldText(12), pMsg->GetDouble(11, 0) * (pMsg->GetDouble(13, 0) + pMsg->GetDouble(14, 0))) *
                        dShares,
                    FALSE);
    const CString strCompany = CompanyNameOf(nMarket, pMsg->GetFieldText(0), /*bInterface=*/TRUE);
    if (!strCompany.IsEmpty())
        pRow->SetText(UC_COMPANY, strCompany, FALSE);
    const int nIndex = GetRows()->AddRow(pRow.get(), TRUE);
    if (nIndex >= 0)
        RevalueRow(GetRows()->GetAt(nIndex));
    // A position no quote prices (an option) is worth the server's latest price in every window.
    TakeServerPrice(pMsg->GetFieldText(0), nMarket, pMsg->GetDouble(8, 0));
}

void CUnrealizedProfitLossTable::RevalueSymbol(LPCSTR pszSymbol, long nMarketCode)
{
    if (nMarketCode == KSE_MARKET_CODE)
        return;
    double dPrice = 0;
    if (FindPositionPrice(pszSymbol, nMarketCode, dPrice))
        for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszSymbol, MarketNameOf(nMarketCode))) {
            pRow->BeginChanges();
            pRow->SetDouble(UC_LAST, dPrice, TRUE);
            RevalueRow(pRow);
        }
    // The options on the symbol: their intrinsic value follows it.
    for (CDataBuffer* pOption : m_options.Find(GetRows(), pszSymbol, ""))
        if (pOption->GetLong(UC_OPTION_RIGHT) != 0)
            RevalueRow(pOption);
}

void CUnrealizedProfitLossTable::RevalueRow(CDataBuffer* pRow)
{
    if (pRow == nullptr)
        return;
    // One batch: the grid finds the row once and repaints it once.
    pRow->BeginChanges();
    const double dLong = pRow->GetDouble(UC_LONG_QTY) + pRow->GetDouble(UC_LONG_QTY2);
    const double dShort = pRow->GetDouble(UC_SHORT_QTY) + pRow->GetDouble(UC_SHORT_QTY2);
    double dLongValue = dLong, dShortValue = dShort;
    double dLongGain = 0, dShortGain = 0, dLongPercent = 0, dShortPercent = 0;
    // A currency's quantities are its amounts: they have no price and no gain.
    if (pRow->GetText(UC_SYMBOL).Left(1) != "=") {
        const double dLast = pRow->GetDouble(UC_LAST);
        const double dProceeds = pRow->GetDouble(UC_SHORT_PROCEEDS);
        const long nRight = pRow->GetLong(UC_OPTION_RIGHT);
        const double dUnit = ContractShares(nRight);
        // Each gain is its value as it shows against its cost or proceeds as they show.
        const POSITION_VALUE longSide = ValuePosition(pRow, UC_LONG_VALUE, dLong, dLast, dUnit, pRow->GetDouble(UC_LONG_COST));
        dLongValue = longSide.dValue;
        dLongGain = longSide.dGain;
        dLongPercent = longSide.dPercent;
        // A short position gains what its value falls below the proceeds.
        dShortValue = ValuePosition(pRow, UC_SHORT_VALUE, dShort, dLast, dUnit, 0).dValue;
        dShortGain = dProceeds - dShortValue;
        // No short position: its per cent is of nothing, a zero.
        dShortPercent = dProceeds != 0 ? dShortGain * 100.0 / dProceeds : dShort != 0 ? 100.0 : 0.0;
        MarkGain(pRow, {UC_LONG_GAIN, UC_LONG_PERCENT}, dLongGain);
        MarkGain(pRow, {UC_SHORT_GAIN, UC_SHORT_PERCENT}, dShortGain);
        // What exercising a contract now is worth a share: the underlying's price beyond the
        // strike (a call above it, a put below it), never below nothing.
        double dUnderlying = 0;
        if ((nRight == OPTION_CALL || nRight == OPTION_PUT) && FindUnderlyingPrice(pRow->GetText(UC_OPTION), dUnderlying)) {
            const double dStrike = pRow->GetDouble(UC_STRIKE);
            pRow->SetDouble(UC_INTRINSIC, std::max(0.0, nRight == OPTION_CALL ? dUnderlying - dStrike : dStrike - dUnderlying), TRUE);
        }
    }
    WriteDerived(pRow, UC_LONG_VALUE, dLongValue);
    WriteDerived(pRow, UC_LONG_GAIN, dLongGain);
    WriteDerived(pRow, UC_LONG_PERCENT, dLongPercent);
    // The reply's own gain and per cent stood at its price and quantities: they follow the row's.
    WriteDerived(pRow, UC_LONG_AMOUNT, dLongGain);
    WriteDerived(pRow, UC_LONG_AMOUNT_PERCENT, dLongPercent);
    WriteDerived(pRow, UC_SHORT_VALUE, dShortValue);
    WriteDerived(pRow, UC_SHORT_GAIN, dShortGain);
    WriteDerived(pRow, UC_SHORT_PERCENT, dShortPercent);
    pRow->Commit();
}

void CUnrealizedProfitLossTable::ApplyLive(CServerMessage* pMsg)
{
    if (pMsg->GetLong(7) != m_nReplyId || strcmp(pMsg->GetFieldText(0), CASH_DOLLARS) == 0)
        return;
    const LPCSTR pszSymbol = pMsg->GetFieldText(0);
    const CString strMarket = MarketNameOf(pMsg->GetLong(26));
    CDataArray* pRows = GetRows();
    // A closed position goes: its row in the line's market, whatever the symbol holds elsewhere.
    if (IsClosedUsPosition(pMsg)) {
        pRows->RemoveRow({pszSymbol, strMarket});
        return;
    }
    if (pMsg->GetSize() <= 13)
        return;
    CDataBuffer* pRow = pRows->FindRow({pszSymbol, strMarket});
    std::unique_ptr<CDataBuffer> pNew(pRow == nullptr ? pRows->NewRow() : nullptr);
    CDataBuffer* pTarget = pRow != nullptr ? pRow : pNew.get();
    const BOOL bPublish = pRow != nullptr;
    if (pNew != nullptr) {
        pTarget->SetText(UC_SYMBOL, pszSymbol, FALSE);
        pTarget->SetText(UC_MARKET, strMarket, FALSE);
        NameCompany(pTarget, FALSE);
        for (int nCol : {UC_LONG_DATE, UC_SHORT_DATE})
            pTarget->SetText(nCol, ConvertServerDateField(pMsg->GetFieldText(10), COLTYPE_DATE_TEXT), FALSE);
        double dLast = 0;
        if (!FindPositionPrice(pszSymbol, pMsg->GetLong(26), dLast))
            dLast = pMsg->GetDouble(5, 0);
        pTarget->SetDouble(UC_LAST, dLast, FALSE);
        // The line names an option by its series, as the reply does: underlying, right, strike, expiry.
        pTarget->SetText(UC_OPTION, pMsg->GetFieldText(22), FALSE);
        pTarget->SetText(UC_OPTION_RIGHT, pMsg->GetFieldText(23), FALSE);
        pTarget->SetDouble(UC_STRIKE, pMsg->GetDouble(24, 0), FALSE);
        pTarget->SetText(UC_EXPIRY, ConvertServerDateField(pMsg->GetFieldText(25), COLTYPE_DATE_TEXT), FALSE);
    } else if (pMsg->GetDouble(5, 0) > 0) {
        // A held position unquoted here (an option) takes the server's price of the moment, as the
        // holdings do.
        double dLast = 0;
        if (!FindPositionPrice(pszSymbol, pMsg->GetLong(26), dLast))
            pTarget->SetDouble(UC_LAST, pMsg->GetDouble(5, 0), TRUE);
    }
    for (int nCol : {UC_LONG_DATE2, UC_SHORT_DATE2})
        pTarget->SetText(nCol, ConvertServerDateField(pMsg->GetFieldText(11), COLTYPE_DATE_TEXT), bPublish);
    const double dLong1 = pMsg->GetDouble(1, 0), dLong2 = pMsg->GetDouble(3, 0);
    const double dShort1 = pMsg->GetDouble(15, 0), dShort2 = pMsg->GetDouble(16, 0);
    const double dShares = ContractShares(pTarget->GetLong(UC_OPTION_RIGHT));
    // The cost to the cent beside the amount its average is taken from: one cost.
    pTarget->SetDouble(UC_LONG_COST, PositionCost(pMsg->GetFieldText(13), pMsg->GetDouble(12, 0)) * dShares, bPublish);
    pTarget->SetDouble(UC_SHORT_PROCEEDS, PositionCost(pMsg->GetFieldText(19), pMsg->GetDouble(18, 0)) * dShares, bPublish);
    // An average over no quantity is 0, not a division by zero.
    pTarget->SetDouble(UC_LONG_AVERAGE, Quotient(pMsg->GetDouble(12, 0), dLong1 + dLong2), bPublish);
    pTarget->SetDouble(UC_SHORT_AVERAGE, Quotient(pMsg->GetDouble(18, 0), dShort1 + dShort2), bPublish);
    pTarget->SetDouble(UC_LONG_QTY, dLong1, bPublish);
    pTarget->SetDouble(UC_LONG_QTY2, dLong2, bPublish);
    pTarget->SetDouble(UC_SHORT_QTY, dShort1, bPublish);
    pTarget->SetDouble(UC_SHORT_QTY2, dShort2, bPublish);
    pTarget->SetDouble(UC_LONG_AMOUNT, pMsg->GetDouble(9, 0), bPublish);
    if (pNew != nullptr) {
        const int nIndex = pRows->AddRow(pNew.get(), TRUE);
        pTarget = nIndex >= 0 ? pRows->GetAt(nIndex) : nullptr;
    }
    RevalueRow(pTarget);
    TakeServerPrice(pszSymbol, pMsg->GetLong(26), pMsg->GetDouble(5, 0));
}

HMENU CUnrealizedProfitLossTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    HMENU hFilters = CreatePopupMenu();
    for (UINT nId : {ID_POSITIONS_ALL, ID_POSITIONS_STOCKS})
        AppendMenuA(hFilters, MF_STRING, nId, LoadMenuItemText(nId));
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(hFilters),
                LoadMarketText(IDS_POSITIONS_FILTER_MENU));
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING, ID_POSITIONS_REFRESH, LoadMenuItemText(ID_POSITIONS_REFRESH));
    m_hPopup = hMenu;
    return hMenu;
}

void CUnrealizedProfitLossTable::OnInitMenuPopup(HMENU hMenu, UINT /*nIndex*/, BOOL bSysMenu)
{
    if (bSysMenu || hMenu == nullptr || hMenu != m_hPopup)
        return;
    // The set of the last opening goes by its ids, whatever else the menu holds.
    RemoveSymbolItems(hMenu);
    const CDataBuffer* pRow = GetSelectedDataRow();
    const CString strSymbol = pRow != nullptr ? pRow->GetText(UC_SYMBOL) : CString();
    const CString strMarket = pRow != nullptr ? pRow->GetText(UC_MARKET) : CString();
    InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
    for (int i = static_cast<int>(std::size(s_symbolItems)) - 1; i >= 0; --i) {
        const UINT nId = s_symbolItems[i];
        CString strText = LoadMenuItemText(nId);
        if (!strSymbol.IsEmpty()) {
            CString strNamed;
            strNamed.Format("%s (%s)", static_cast<LPCSTR>(strText), static_cast<LPCSTR>(strSymbol));
            strText = strNamed;
        }
        const BOOL bEnabled = IsSymbolItemEnabled(nId, pRow, strMarket);
        InsertMenuA(hMenu, 0, MF_BYPOSITION | MF_STRING | (bEnabled ? MF_ENABLED : MF_GRAYED), nId, strText);
    }
}

BOOL CUnrealizedProfitLossTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL bUs = HasUsAccess();
    switch (nId) {
    case ID_POSITIONS_REFRESH:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
            if (AskRefresh())
                SendRequest();
        });
    case ID_POSITIONS_ALL:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bUs,
                               [this] { FilterOptionRows(this, UC_OPTION_RIGHT, OPTION_FILTER_ALL); });
    case ID_POSITIONS_STOCKS:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bUs,
                               [this] { FilterOptionRows(this, UC_OPTION_RIGHT, OPTION_FILTER_STOCKS); });
    default:
        break;
    }
    if (!IsSymbolCommand(nId))
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    CDataBuffer* pRow = GetSelectedDataRow();
    const CString strMarket = pRow != nullptr ? pRow->GetText(UC_MARKET) : CString();
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, IsSymbolItemEnabled(nId, pRow, strMarket), [&] {
        if (IsSymbolItemEnabled(nId, pRow, strMarket))
            RunSymbolCommand(nId, pRow->GetText(UC_SYMBOL), strMarket);
    });
}

void CUnrealizedProfitLossTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == UC_SYMBOL || nCol == UC_MARKET || nCol == UC_TEXT || nCol == UC_COMPANY) &&
        FilterViewOnCell(this, pRow, nCol, /*bWhileFiltered=*/TRUE) && pnHandled != nullptr)
        *pnHandled = 1;
}

void CUnrealizedProfitLossTable::SetColumnsHidden(BOOL bHidden)
{
    SetColumnsHiddenOf(this, {UC_OPTION, UC_OPTION_RIGHT, UC_EXPIRY, UC_STRIKE}, bHidden);
}
