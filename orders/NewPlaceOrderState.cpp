// The order ticket's state: reset, the Submit button's conditions, the snapshot the requests
// are built from, and the access to its controls.
#include "orders/NewPlaceOrderDlg.h"

#include "market/TableLinks.h"
#include "orders/GoodTill.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

void CNewPlaceOrderDlg::UpdateSubmitButton()
{
    // Every condition is read, none skipped: a read empties a value that does not parse.
    const int nSide = CTransactionType::GetCodeByText(GetBoxText(IDC_TICKET_SIDE));
    const int nType = COrderType::GetCodeByText(GetBoxText(IDC_TICKET_TYPE));
    const int nValidity = COrderDur::GetCodeByText(GetBoxText(IDC_TICKET_VALIDITY));
    BOOL bOk = !GetText(IDC_TICKET_QUANTITY).IsEmpty();
    bOk &= !GetText(IDC_TICKET_TICKER).IsEmpty();
    bOk &= nSide != -1 && nType != -1;
    if (nType == 0 || nType == 5)
        bOk &= HoldsValue(IDC_TICKET_LIMIT);
    if (nType == 2)
        bOk &= HoldsValue(IDC_TICKET_LIMIT) & HoldsValue(IDC_TICKET_STOP);
    if (nType == 1)
        bOk &= HoldsValue(IDC_TICKET_STOP);
    bOk &= nValidity != -1 || m_nKseMarketType == KSE_TYPE_FORWARD;
    if (nValidity == 1)
        bOk &= m_editDays.GetLong() != 0;
    bOk &= HoldsValue(IDC_TICKET_QUANTITY);
    // No market chosen (after Reset, or a pre-market switch), no order: it would go to none.
    MarketDetail market;
    bOk &= GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(GetBoxText(IDC_TICKET_MARKET)), market);
    if (GetGlobals()->GetMarketCode(GetBoxText(IDC_TICKET_MARKET)) == 2)
        bOk &= m_nKseMarketType != KSE_TYPE_NONE;
    if (m_nKseMarketType == KSE_TYPE_FORWARD) {
        bOk &= CFillRest::GetCodeByText(GetBoxText(IDC_TICKET_FILL_RULE)) != -1;
        bOk &= !GetText(IDC_TICKET_MARKET_MAKER).IsEmpty();
        bOk &= !GetBoxText(IDC_TICKET_TENOR).IsEmpty();
    }
    if (m_nKseMarketType == KSE_TYPE_CONTRACT)
        bOk &= HoldsValue(IDC_TICKET_CONTRACT);
    EnableControl(IDC_TICKET_SUBMIT, bOk);
}

void CNewPlaceOrderDlg::ResetForm()
{
    // What an acknowledgement would empty is gone already; the ticket holds no order sent.
    ForgetSentFields();
    SetText(IDC_TICKET_TICKER, "");
    m_strTickerLooked.Empty();
    SetText(IDC_TICKET_QUANTITY, "");
    for (int nId : {IDC_TICKET_MARKET, IDC_TICKET_SIDE, IDC_TICKET_TYPE, IDC_TICKET_VALIDITY})
        SendDlgItemMessage(nId, CB_SETCURSEL, static_cast<WPARAM>(-1));
    m_strMarket.Empty();
    m_strSide.Empty();
    m_strType.Empty();
    m_strValidity.Empty();
    for (int nId : {IDC_TICKET_CURRENCY, IDC_TICKET_DESCRIPTION, IDC_TICKET_STOP, IDC_TICKET_LIMIT, IDC_TICKET_DAYS}) {
        SetText(nId, "");
        SetReadOnly(nId, TRUE);
    }
    EnableControl(IDC_TICKET_GOOD_TILL, FALSE);
    ShowKsePanel(KSE_TYPE_NONE);
    UpdateSubmitButton();
    CheckDlgButton(IDC_TICKET_FLAG, BST_UNCHECKED);
    SetText(IDC_TICKET_DAYS, "1");
    m_goodTill = GoodTillFromDays(GetOrderToday(), 1);
    ForgetOptionSeries();
    ApplyGoodTillDate();
    ColourBySide();             // no side chosen: no side's colour
}

void CNewPlaceOrderDlg::ForgetOptionSeries()
{
    SetText(IDC_TICKET_UNDERLYING, "");
    m_strOptionsAsked.Empty();
    // A series asked for before is no longer the ticket's.
    m_nOptionRequest = 0;
    SendDlgItemMessage(IDC_TICKET_STRIKE, CB_SETCURSEL, static_cast<WPARAM>(-1));
    SetText(IDC_TICKET_STRIKE, "");
    SendDlgItemMessage(IDC_TICKET_RIGHT, CB_SETCURSEL, 0);
    SendDlgItemMessage(IDC_TICKET_EXPIRY, CB_SETCURSEL, static_cast<WPARAM>(-1));
    SetText(IDC_TICKET_EXPIRY, "");
    SetText(IDC_TICKET_EXTRA, "");
}

ORDER_TICKET_SNAPSHOT CNewPlaceOrderDlg::TakeSnapshot()
{
    ORDER_TICKET_SNAPSHOT shot;
    shot.nSide = CTransactionType::GetCodeByText(GetBoxText(IDC_TICKET_SIDE));
    shot.nOrderType = COrderType::GetCodeByText(GetBoxText(IDC_TICKET_TYPE));
    shot.nValidity = COrderDur::GetCodeByText(GetBoxText(IDC_TICKET_VALIDITY));
    shot.strTicker = GetText(IDC_TICKET_TICKER);
    shot.strDescription = GetText(IDC_TICKET_DESCRIPTION);
    shot.strQuantity = static_cast<LPCSTR>(m_editQuantity.GetPlainText());
    shot.strLimitPrice = static_cast<LPCSTR>(m_editLimit.GetText(/*bStrip=*/TRUE));
    shot.strStopPrice = static_cast<LPCSTR>(m_editStop.GetText(/*bStrip=*/TRUE));
    shot.strDays = static_cast<LPCSTR>(m_editDays.GetPlainText());
    shot.goodTill = m_goodTill;
    shot.strMarketName = GetBoxText(IDC_TICKET_MARKET);
    shot.nMarketCode = GetGlobals()->GetMarketCode(shot.strMarketName);
    shot.nKseMarketType = m_nKseMarketType;
    shot.bPreMarket = m_bPreMarket;
    // The order is what the market chosen shows: a panel it hides is no part of it.
    if (m_bOptionsShown) {
        const int nRight = COptionRight::GetCodeByText(GetBoxText(IDC_TICKET_RIGHT));
        // Only a call or a put is an option series; any other text sends no option fields.
        shot.nRight = nRight == 1 || nRight == 2 ? nRight : 0;
        shot.strUnderlying = GetText(IDC_TICKET_UNDERLYING);
        shot.strStrike = GetBoxText(IDC_TICKET_STRIKE);
        shot.strExpiryMonth = GetBoxText(IDC_TICKET_EXPIRY);
        shot.strExpiryKey = shot.strExpiryMonth.IsEmpty() ? CString() : m_options.FindKey(shot.strExpiryMonth);
    }
    if (m_bExtraShown)
        shot.strExtra = GetText(IDC_TICKET_EXTRA);
    shot.bTicketFlag = IsDlgButtonChecked(IDC_TICKET_FLAG) == BST_CHECKED;
    m_pickContract.GetTime(shot.contractDate);
    shot.strContractNumber = static_cast<LPCSTR>(m_editContract.GetPlainText());
    shot.strMarketMaker = GetText(IDC_TICKET_MARKET_MAKER);
    shot.nFillRule = CFillRest::GetCodeByText(GetBoxText(IDC_TICKET_FILL_RULE));
    shot.strTenor = GetBoxText(IDC_TICKET_TENOR);
    return shot;
}

// ---- Commands on an order begun ----------------------------------------------------------

BOOL CNewPlaceOrderDlg::HoldsBegunOrder()
{
    for (int nId : {IDC_TICKET_TICKER, IDC_TICKET_QUANTITY, IDC_TICKET_LIMIT, IDC_TICKET_STOP}) {
        const CString strText = GetText(nId);
        if (strText.IsEmpty() || StillAsSent(nId) || (nId == IDC_TICKET_LIMIT && strText == m_strLimitApplied) ||
            (nId == IDC_TICKET_STOP && strText == m_strStopApplied))
            continue;
        return TRUE;
    }
    return FALSE;
}

BOOL CNewPlaceOrderDlg::KeepBegunOrder(int nKind, int nSide)
{
    if (!HoldsBegunOrder()) {
        // The order sent last is no part of the command's: what still shows it goes.
        DropFieldsAsSent(TRUE);
        return FALSE;
    }
    MarketDetail market;
    const BOOL bKse = GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market) &&
                      ReadMarketChoices(market).nFamily == MARKET_FAMILY_KSE;
    const int nShownSide = CTransactionType::GetCodeByText(GetBoxText(IDC_TICKET_SIDE));
    BOOL bSameKind = FALSE;
    switch (nKind) {
    case KIND_US: bSameKind = !m_strMarket.IsEmpty() && !bKse && !m_bPreMarket; break;
    case KIND_PRE_MARKET: bSameKind = !m_strMarket.IsEmpty() && m_bPreMarket; break;
    case KIND_KSE: bSameKind = bKse && m_nKseMarketType == KSE_TYPE_REGULAR; break;
    case KIND_KSE_FORWARD: bSameKind = bKse && m_nKseMarketType == KSE_TYPE_FORWARD; break;
    default: bSameKind = bKse && m_nKseMarketType == KSE_TYPE_CONTRACT; break;
    }
    if (!bSameKind || (nSide > 0 && nShownSide > 0 && nSide != nShownSide))
        ShowMarketInfo(nullptr, IDS_TICKET_BEGUN_ORDER_KEPT, 2);
    // Kept on the trader's command, every field it shows is the begun order's: the last order's
    // acknowledgement empties none of them.
    ForgetSentFields();
    return TRUE;
}

void CNewPlaceOrderDlg::ReplaceBegunOrder(LPCSTR pszCompleting, LPCSTR pszMarket)
{
    if (!HoldsBegunOrder()) {
        DropFieldsAsSent(TRUE);
        return;
    }
    const CString strTicker = GetSymbolText();
    // A symbol whose market the server names is a US one: a KSE order begun is none of its.
    MarketDetail market;
    const BOOL bKse = GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market) &&
                      ReadMarketChoices(market).nFamily == MARKET_FAMILY_KSE;
    if (pszCompleting != nullptr && (strTicker.IsEmpty() || strTicker.CompareNoCase(pszCompleting) == 0) &&
        (pszMarket != nullptr ? m_strMarket == pszMarket : !bKse))
        return;                 // the symbol completes the order begun
    CString strBegun = strTicker;
    const CString strQuantity = GetText(IDC_TICKET_QUANTITY);
    if (!strQuantity.IsEmpty())
        strBegun += (strBegun.IsEmpty() ? "" : " ") + strQuantity;
    CString strText;
    strText.FormatMessage(IDS_TICKET_BEGUN_ORDER_REPLACED, static_cast<LPCSTR>(strBegun));
    ShowMarketInfo(strText, 0, 2);
    ResetForm();
    ForgetPrices();
    ColourBySide();
}

// ---- Control helpers ----------------------------------------------------------------------

void CNewPlaceOrderDlg::SetReadOnly(int nId, BOOL bReadOnly)
{
    CEnhancedEdit* const edits[] = {&m_editQuantity, &m_editLimit, &m_editStop, &m_editDays, &m_editContract,
                                    &m_editLogin, &m_editUserName};
    for (CEnhancedEdit* pEdit : edits)
        if (pEdit->m_hWnd != nullptr && ::GetDlgCtrlID(pEdit->m_hWnd) == nId)
            pEdit->SetReadOnly(bReadOnly);
}

BOOL CNewPlaceOrderDlg::HoldsValue(int nId)
{
    CEnhancedEdit* pEdit = nId == IDC_TICKET_QUANTITY ? &m_editQuantity
                           : nId == IDC_TICKET_LIMIT  ? &m_editLimit
                           : nId == IDC_TICKET_STOP   ? &m_editStop
                                                      : &m_editContract;
    return !pEdit->IsEmpty() && pEdit->GetDouble() != 0.0;
}
