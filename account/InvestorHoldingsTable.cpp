#include "account/InvestorHoldingsTable.h"
#include <memory>
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/StockActions.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "framework/table/ViewRow.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "platform/mfc/CmdUI.h"
#include "platform/win/user/Menu.h"
#include "refdata/ZorvatTypes.h"

namespace {
const int N = FIELD_NONE;

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nWidth, int nDecimals, UINT nFlags, int nField, int nMin = 2)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nMinDecimals = nMin, .nField = nField};
}

const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51236, .nSize = 6, .nField = 0},                                   // 0 symbol
    Amount(51172, QUANTITY_WIDTH, -2, COLF_ZERO_SHOWN, 1, 0),                       // 1 quantity
    Amount(51173, QUANTITY_WIDTH, -2, COLF_BLANK_ZERO, 2, 0),                       // 2 quantity not valued
    Amount(51174, QUANTITY_WIDTH, -2, 0, 3, 0),                                     // 3 second quantity
    Amount(51193, MONEY_WIDTH, -2, COLF_SUMMED | COLF_BLANK_ZERO | COLF_MONEY, 4),  // 4 cost, to the cent as value and gain
    AccountPrice(51175, POSITION_PRICE_DECIMALS, 5, COLF_THOUSANDS | COLF_BLANK_ZERO),  // 5 price
    Amount(51176, MONEY_WIDTH, -2, COLF_SUMMED | COLF_ZERO_SHOWN | COLF_MONEY, 6),  // 6 market value
    Amount(52176, MONEY_WIDTH, -2, COLF_BLANK_ZERO | COLF_HIDDEN, 15),              // 7
    Amount(52177, MONEY_WIDTH, -2, COLF_BLANK_ZERO | COLF_HIDDEN, 16),              // 8
    Amount(51197, MONEY_WIDTH, -2, COLF_SUMMED | COLF_ZERO_SHOWN | COLF_HIDDEN | COLF_MONEY, 18),  // 9
    {.nTitleId = 57166, .nSize = 6, .nFlags = COLF_HIDDEN, .nField = 19},           // 10 option
    {.nTitleId = 57167, .nType = COLTYPE_COMPUTED, .nWidth = 30, .nFlags = COLF_HIDDEN, .nField = 20,
     .pfnFormat = COptionRight::FormatCodeColumn, .nFormatValue = HC_OPTION_RIGHT},  // 11 option right
    {.nTitleId = 57168, .nType = COLTYPE_DATE_TEXT, .nWidth = DATE_WIDTH, .nAlign = ALIGN_RIGHT,
     .nFlags = COLF_HIDDEN | COLF_SERVER_DATE, .nField = 22},                        // 12 option date
    Amount(57169, PRICE_WIDTH, -4, COLF_OMIT_ZERO_FRACTION | COLF_HIDDEN, 21),      // 13 strike
    {.nTitleId = 57372, .nWidth = MARKET_COLUMN_WIDTH, .nSize = MARKET_NAME_SIZE},  // 14 market
    {.nTitleId = 57213, .nSize = 6, .nField = 24},                                  // 15 currency
    AccountName(51171),                                                             // 16 company
    {.nTitleId = 51177, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nAlign = ALIGN_RIGHT, .nFlags = COLF_NO_THOUSANDS,
     .nField = 7},                                                                 // 17 sub-key, its title whole
    Amount(41053, MONEY_WIDTH, -2, COLF_MONEY, 9),                                  // 18
    // A per cent of each position's own cost: no total.
    {.nTitleId = 41054, .nType = COLTYPE_DOUBLE, .nWidth = GAIN_PERCENT_WIDTH, .nDecimals = -2, .nAlign = ALIGN_RIGHT,
     .nMinDecimals = 2, .nField = 27},                                               // 19
    // A figure of the server's no column of ours gives a meaning: kept with the row, never shown.
    Amount(57817, MONEY_WIDTH, -2, COLF_BLANK_ZERO | COLF_HIDDEN, 31),  // 20
};
static_assert(std::size(s_columns) == HC_COUNT);

const int s_liveFields[] = {0, 1, 2, 3, 4, 5, 6, 15, 16, 18, 22, 23, 25, 24, N, 27, N, 7, 9, 29, 30};
static_assert(std::size(s_liveFields) == HC_COUNT);
const TABLE_FIELD_MAP s_maps[] = {{.nMessageType = MSG_NH, .fields = s_liveFields}};
const TABLE_SORT_KEY s_sort[] = {{HC_SYMBOL, 1}, {HC_MARKET, -1}, {HC_SUBKEY, 1}};
const int s_keys[] = {HC_SYMBOL, HC_SUBKEY, HC_MARKET};
const int s_live[] = {MSG_NH};
const int s_direct[] = {MSG_GS};
const VALUED_COLUMNS s_valued = {HC_PRICE, HC_VALUE, HC_GAIN, HC_PERCENT};
}  // namespace

// Live lines come before the first reply too: a position opened while the reply is on its way.
// The server's amounts may carry a fraction of a cent: they are held in cents, as they show.
const TABLE_DESC g_investorHoldingsTable = {
    .nNameId = IDS_TABLE_US_HOLDINGS, .nTitleId = 56745, .nFixedColumns = 1, .columns = s_columns, .sort = s_sort,
    .keys = s_keys, .nRequestType = MSG_IH, .nReplyType = MSG_IH, .liveTypes = s_live, .directTypes = s_direct,
    .maps = s_maps, .nFlags = TABLEF_LIVE_UNGATED, .nCurrencyColumn = HC_CURRENCY, .nMoneyDecimals = 2,
    .company = {HC_COMPANY, HC_SYMBOL, HC_MARKET}};

BOOL CInvestorHoldingsTable::SendKind(long nKind)
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format("%d|%s|%ld", user.GetUserNumber(), static_cast<LPCSTR>(user.GetAccountText()), nKind);
    m_nRequest = CDataTable::SendRequest(strBody);
    m_bRequestOutstanding = TRUE;
    return m_nRequest != 0;
}

void CInvestorHoldingsTable::OnIH(CServerMessage* pMsg)
{
    // Another table's holdings reply is not this one's, unless this table's own is still awaited.
    if (pMsg == nullptr || (!m_bRequestOutstanding && GetRawLineNumber(pMsg) != m_nRequest))
        return;
    TableOnReplyBegin(pMsg);
}

void CInvestorHoldingsTable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    const long nMarket = pMsg->GetLong(23);
    pRow->SetText(HC_MARKET, MarketNameOf(nMarket), FALSE);
    const CString strCompany = CompanyNameOf(nMarket, pMsg->GetFieldText(0), /*bInterface=*/TRUE);
    if (!strCompany.IsEmpty())
        pRow->SetText(HC_COMPANY, strCompany, FALSE);
    // The price comes at the end, once per position: the store finds no row while it fills. Until
    // then, and for a position no quote values, the gain is the line's value less its cost.
    SettleGain(pRow.get(), s_valued, HC_COST);
    GetRows()->AddRow(pRow.get(), TRUE);
    // A position no quote prices (an option) is worth the server's latest price in every window.
    TakeServerPrice(pMsg->GetFieldText(0), nMarket, pMsg->GetDouble(5, 0), pMsg->GetFieldText(7));
}

void CInvestorHoldingsTable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    RevalueEveryPosition(this, HC_SYMBOL, HC_MARKET);
    m_bRequestOutstanding = FALSE;
}

void CInvestorHoldingsTable::ApplyLive(CServerMessage* pMsg)
{
    const CString strMarket = MarketNameOf(pMsg->GetLong(26));
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pMsg->GetFieldText(0), pMsg->GetFieldText(7), strMarket});
    if (pRow != nullptr) {
        pRow->BeginChanges();
        FillRow(pMsg, pRow, TRUE);
        SettleGain(pRow, s_valued, HC_COST);
        pRow->Commit();
    } else {
        std::unique_ptr<CDataBuffer> pNew(pRows->NewRow());
        FillRow(pMsg, pNew.get(), FALSE);
        SettleGain(pNew.get(), s_valued, HC_COST);
        pNew->SetText(HC_MARKET, strMarket, FALSE);
        pNew->SetText(HC_COMPANY, CompanyNameOf(pMsg->GetLong(26), pMsg->GetFieldText(0), /*bInterface=*/TRUE), FALSE);
        pRows->AddRow(pNew.get(), TRUE);
    }
    RevalueSymbol(pMsg->GetFieldText(0), pMsg->GetLong(26));
    TakeServerPrice(pMsg->GetFieldText(0), pMsg->GetLong(26), pMsg->GetDouble(5, 0), pMsg->GetFieldText(7));
}

void CInvestorHoldingsTable::OnGS(CServerMessage* pMsg)
{
    if (pMsg == nullptr || pMsg->GetLong(1) != 0 || *pMsg->GetFieldText(0) == '\0')
        return;
    RevalueSymbol(pMsg->GetFieldText(0), pMsg->GetHeaderNumber());
}

void CInvestorHoldingsTable::RevalueSymbol(LPCSTR pszSymbol, long nMarketCode)
{
    double dPrice = 0;
    if (nMarketCode != KSE_MARKET_CODE && FindPositionPrice(pszSymbol, nMarketCode, dPrice))
        ValueRows(pszSymbol, MarketNameOf(nMarketCode), nMarketCode, dPrice);
}

void CInvestorHoldingsTable::ValueRows(LPCSTR pszSymbol, LPCSTR pszMarket, long nMarketCode, double dPrice)
{
    for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszSymbol, pszMarket)) {
        const POSITION_VALUE value =
            ValuePosition(pRow, HC_VALUE, pRow->GetDouble(HC_QUANTITY) + pRow->GetDouble(HC_QUANTITY2), dPrice,
                          QuotedUnit(nMarketCode, pRow->GetLong(HC_OPTION_RIGHT) != 0), pRow->GetDouble(HC_COST));
        // One batch a row: the grid finds it once and repaints it once.
        pRow->BeginChanges();
        WriteValuation(pRow, s_valued, dPrice, value);
        pRow->Commit();
    }
}

HMENU CInvestorHoldingsTable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    InsertRefreshAndItem(hMenu, ID_POSITIONS_ORDER, LoadMenuItemText(IDS_POSITIONS_ORDER_ITEM));
    // The option forms, after the order item.
    InsertMenuA(hMenu, 3, MF_BYPOSITION | MF_STRING, ID_POSITIONS_EXPIRATION, LoadMenuItemText(ID_POSITIONS_EXPIRATION));
    InsertMenuA(hMenu, 3, MF_BYPOSITION | MF_STRING, ID_POSITIONS_EXERCISE, LoadMenuItemText(ID_POSITIONS_EXERCISE));
    return hMenu;
}

BOOL CInvestorHoldingsTable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL bUs = HasUsAccess();
    switch (nId) {
    case ID_POSITIONS_REFRESH:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
            if (AskRefresh())
                SendKind(US_HOLDINGS_KIND_ALL);
        });
    case ID_POSITIONS_ALL:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bUs,
                               [this] { FilterOptionRows(this, HC_OPTION_RIGHT, OPTION_FILTER_ALL); });
    case ID_POSITIONS_STOCKS:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bUs,
                               [this] { FilterOptionRows(this, HC_OPTION_RIGHT, OPTION_FILTER_STOCKS); });
    case ID_POSITIONS_ORDER: {
        CDataBuffer* pRow = GetSelectedDataRow();
        const BOOL bEnabled = pRow != nullptr && IsAlphanumeric(pRow->GetText(HC_SYMBOL)) && bUs;
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bEnabled, [this] {
            CDataBuffer* pSelected = GetSelectedDataRow();
            CZORVAT32App* pTarget = CZORVAT32App::Get();
            if (pSelected == nullptr || pTarget == nullptr)
                return;
            const CString strSymbol = pSelected->GetText(HC_SYMBOL), strMarket = pSelected->GetText(HC_MARKET);
            double dPrice = 0;
            if (!FindUsQuotePrice(strSymbol, strMarket, dPrice))
                dPrice = 0;
            pTarget->OpenOrderTicket(0, strSymbol, dPrice, strMarket, pSelected->GetText(HC_CURRENCY), 0);
        });
    }
    case ID_POSITIONS_EXERCISE:
    case ID_POSITIONS_EXPIRATION: {
        // Only an option's row: a call or a put.
        const auto optionRow = [this]() -> CDataBuffer* {
            CDataBuffer* pRow = GetSelectedDataRow();
            const long nRight = pRow != nullptr ? pRow->GetLong(HC_OPTION_RIGHT) : 0;
            return nRight == 1 || nRight == 2 ? pRow : nullptr;
        };
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, bUs && optionRow() != nullptr, [optionRow, nId] {
            CDataBuffer* pSelected = optionRow();
            CZORVAT32App* pTarget = CZORVAT32App::Get();
            if (pSelected == nullptr || pTarget == nullptr)
                return;
            if (nId == ID_POSITIONS_EXERCISE)
                pTarget->OpenManualExercise(pSelected->GetText(HC_SYMBOL), pSelected->GetText(HC_SUBKEY));
            else
                pTarget->OpenExpirationInstruction(pSelected->GetText(HC_SYMBOL), pSelected->GetText(HC_MARKET));
        });
    }
    case ID_POSITIONS_SYMBOL:
        return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
            if (const CDataBuffer* pSelected = GetSelectedDataRow())
                GoToSymbol(pSelected->GetText(HC_SYMBOL), MarketCodeOf(pSelected->GetText(HC_MARKET)));
        });
    default:
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    }
}

void CInvestorHoldingsTable::OnCellClick(CViewRow* pRow, int nCol, int* pnHandled)
{
    if ((nCol == HC_MARKET || nCol == HC_CURRENCY || nCol == HC_SUBKEY) && FilterViewOnCell(this, pRow, nCol, /*bWhileFiltered=*/TRUE) &&
        pnHandled != nullptr)
        *pnHandled = 1;
}

void CInvestorHoldingsTable::SetColumnsHidden(BOOL bHidden)
{
    SetColumnsHiddenOf(this, {10, 11, 12, 13}, bHidden);
}
