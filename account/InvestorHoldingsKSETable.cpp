#include "account/InvestorHoldingsKSETable.h"
#include <cstdio>
#include <memory>
#include "account/AccountTable.h"
#include "account/HoldingsValuation.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"

namespace {
enum
{
    KH_NAME = 0, KH_STOCK = 1, KH_TYPE = 2, KH_QUANTITY = 3, KH_SUM = 5, KH_QUANTITY2 = 6, KH_COST = 7, KH_PRICE = 8,
    KH_VALUE = 9, KH_GAIN = 10, KH_PERCENT = 11, KH_STATUS = 12, KH_COUNT = 13
};

constexpr TABLE_COLUMN Amount(UINT nTitleId, int nWidth, int nDecimals, UINT nFlags, int nMin, int nField)
{
    return {.nTitleId = nTitleId, .nType = COLTYPE_DOUBLE, .nWidth = nWidth, .nDecimals = nDecimals,
            .nAlign = ALIGN_RIGHT, .nFlags = nFlags, .nMinDecimals = nMin, .nField = nField};
}

// The cash line keeps stock code 0 as its key and shows it empty.
const TABLE_COLUMN s_columns[] = {
    {.nTitleId = 51171, .nSize = 20},
    {.nTitleId = 56691, .nType = COLTYPE_INT32, .nWidth = NUMBER_WIDTH, .nFlags = COLF_BLANK_ZERO | COLF_NO_THOUSANDS, .nField = 1},
    {.nTitleId = 56258, .nType = COLTYPE_COMPUTED, .nWidth = 70, .nField = 0,
     .pfnFormat = CInvestorHoldingsKSETable::FormatHoldingType, .nFormatValue = KH_TYPE},
    // Shares are whole; the cash line's quantities are its dinars, to the fils where it has them.
    Amount(56259, QUANTITY_WIDTH, -3, COLF_ZERO_SHOWN, 0, 2),
    Amount(56263, QUANTITY_WIDTH, -3, COLF_BLANK_ZERO, 0, 6),
    Amount(56260, QUANTITY_WIDTH, -3, COLF_BLANK_ZERO, 0, FIELD_NONE),
    Amount(56261, QUANTITY_WIDTH, -3, 0, 0, 4),
    Amount(56262, MONEY_WIDTH, -3, COLF_SUMMED | COLF_BLANK_ZERO | COLF_MONEY, 3, 5),   // cost
    AccountPrice(56264, KSE_PRICE_DECIMALS, 7, COLF_THOUSANDS | COLF_BLANK_ZERO),
    Amount(56265, MONEY_WIDTH, -3, COLF_SUMMED | COLF_ZERO_SHOWN | COLF_MONEY, 3, 8),
    Amount(41055, MONEY_WIDTH, -3, COLF_MONEY, 3, 12),      // unrealized gain, in dinars as the value
    Amount(41056, GAIN_PERCENT_WIDTH, -2, 0, 2, 14),             // its per cent: no total
    {.nTitleId = 42295, .nSize = 30},
};
static_assert(std::size(s_columns) == KH_COUNT);

const int N = FIELD_NONE;
const int s_liveFields[] = {N, 1, 0, 2, 6, N, 4, 5, 7, 8, 12, 18, N};
const TABLE_FIELD_MAP s_maps[] = {{.nMessageType = MSG_IU, .fields = s_liveFields}};
const TABLE_SORT_KEY s_sort[] = {{KH_STOCK, 1}, {KH_TYPE, 1}};
const int s_keys[] = {KH_STOCK, KH_TYPE};
const int s_live[] = {MSG_IU};
const VALUED_COLUMNS s_valued = {KH_PRICE, KH_VALUE, KH_GAIN, KH_PERCENT};
}  // namespace

const TABLE_DESC g_investorHoldingsKSETable = {
    .nNameId = IDS_TABLE_KSE_HOLDINGS, .nTitleId = 56790, .nFixedColumns = 1, .columns = s_columns, .sort = s_sort,
    .keys = s_keys, .nRequestType = MSG_IK, .nReplyType = MSG_IK, .liveTypes = s_live, .maps = s_maps,
    .nFlags = TABLEF_LIVE_UNGATED, .nMoneyDecimals = 3};

BOOL CInvestorHoldingsKSETable::FormatHoldingType(char* pszBuf, int nSize, const TBCellSlot* pRow, int nCol)
{
    if (pszBuf == nullptr || nSize <= 0 || pRow == nullptr)
        return TRUE;
    snprintf(pszBuf, static_cast<size_t>(nSize), "%s",
             static_cast<LPCSTR>(HoldingTypeText(pRow[nCol].nValue, pRow[KH_STOCK].nValue == 0)));
    return TRUE;
}

BOOL CInvestorHoldingsKSETable::SendRequest()
{
    const CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return FALSE;
    const CUser user = pApp->GetUser();
    CString strBody;
    strBody.Format("||%d|%s|3", user.GetUserNumber(), static_cast<LPCSTR>(user.GetAccountText()));
    m_nRequest = CDataTable::SendRequest(strBody);
    return m_nRequest != 0;
}

void CInvestorHoldingsKSETable::OnIK(CServerMessage* pMsg)
{
    // Only the reply to this table's own request empties it.
    if (pMsg != nullptr && GetRawLineNumber(pMsg) == m_nRequest)
        TableOnReplyBegin(pMsg);
}

void CInvestorHoldingsKSETable::Complete(CDataBuffer* pRow, CServerMessage* pMsg, BOOL bInterface, int nStatusField)
{
    const BOOL bPublish = pRow->IsAdded();
    pRow->SetText(KH_NAME, KseStockName(pMsg->GetLong(1), bInterface), bPublish);
    // A quantity: the line's other quantity, never with an amount added.
    WriteDerived(pRow, KH_SUM, pMsg->GetDouble(3, 0));
    // The gain is the value as it shows less the cost as it shows, and its per cent follows it;
    // the cash line has none.
    if (pMsg->GetLong(1) > 0)
        SettleGain(pRow, s_valued, KH_COST);
    pRow->SetText(KH_STATUS, KseStatusText(pMsg->GetLong(nStatusField)), bPublish);
}

void CInvestorHoldingsKSETable::OnRecord(CServerMessage* pMsg)
{
    if (pMsg == nullptr || !IsReceiving() || (GetSource() != nullptr && !GetSource()->IsRestricted()))
        return;
    std::unique_ptr<CDataBuffer> pRow(GetRows()->NewRow());
    FillRow(pMsg, pRow.get(), FALSE);
    Complete(pRow.get(), pMsg, TRUE, 17);
    GetRows()->AddRow(pRow.get(), TRUE);
    if (pMsg->GetLong(1) > 0)
        TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, pMsg->GetDouble(7, 0));
}

void CInvestorHoldingsKSETable::OnEnd(CServerMessage* pMsg)
{
    if (!IsReceiving())
        return;
    TableOnEnd(pMsg);
    RevalueEveryPosition(this, KH_STOCK, -1, KSE_MARKET_CODE);
}

void CInvestorHoldingsKSETable::ApplyLive(CServerMessage* pMsg)
{
    CDataArray* pRows = GetRows();
    CDataBuffer* pRow = pRows->FindRow({pMsg->GetFieldText(1), pMsg->GetFieldText(0)});
    if (pRow != nullptr) {
        pRow->BeginChanges();
        FillRow(pMsg, pRow, TRUE);
        Complete(pRow, pMsg, FALSE, 21);
        pRow->Commit();
    } else {
        std::unique_ptr<CDataBuffer> pNew(pRows->NewRow());
        FillRow(pMsg, pNew.get(), FALSE);
        Complete(pNew.get(), pMsg, FALSE, 21);
        pRows->AddRow(pNew.get(), TRUE);
    }
    // The line's price is the server's of its moment: the board's is the one of now.
    RevalueSymbol(pMsg->GetFieldText(1), KSE_MARKET_CODE);
    if (pMsg->GetLong(1) > 0)
        TakeServerPrice(pMsg->GetFieldText(1), KSE_MARKET_CODE, pMsg->GetDouble(7, 0), pMsg->GetFieldText(10));
}

void CInvestorHoldingsKSETable::RevalueSymbol(LPCSTR pszStock, long nMarketCode)
{
    double dFils = 0;
    if (nMarketCode != KSE_MARKET_CODE || !FindPositionPrice(pszStock, nMarketCode, dFils))
        return;
    for (CDataBuffer* pRow : m_positions.Find(GetRows(), pszStock, "")) {
        if (pRow->GetLong(KH_STOCK) <= 0)
            continue;
        const POSITION_VALUE value = ValuePosition(pRow, KH_VALUE, pRow->GetDouble(KH_QUANTITY) + pRow->GetDouble(KH_QUANTITY2), dFils,
                                                   QuotedUnit(nMarketCode, FALSE), pRow->GetDouble(KH_COST));
        pRow->BeginChanges();
        WriteValuation(pRow, s_valued, dFils, value);
        pRow->Commit();
    }
}

HMENU CInvestorHoldingsKSETable::CreateContextMenu()
{
    HMENU hMenu = CDataTable::CreateContextMenu();
    if (hMenu == nullptr)
        return nullptr;
    InsertRefreshAndItem(hMenu, ID_KSE_HOLDINGS_ITEM, LoadMenuItemText(ID_KSE_HOLDINGS_ITEM));
    return hMenu;
}

BOOL CInvestorHoldingsKSETable::OnCmdMsg(UINT nId, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (nId != ID_POSITIONS_REFRESH)
        return CDataTable::OnCmdMsg(nId, nCode, pExtra, pHandlerInfo);
    return RouteOwnCommand(nCode, pExtra, pHandlerInfo, TRUE, [this] {
        if (AskRefresh())
            SendRequest();
    });
}
