#pragma once
// The order ticket for every market (form 7310): the chosen market's record decides the sides,
// order types and validities offered and the panel shown (the KSE regular board, forward
// market or forward contract; the option series of a US market with options); the ticker box
// lists the market's symbols, filtered as the user types. The form reads as one snapshot for
// the requests. Implementation by concern: NewPlaceOrderDlg.cpp (life, commands, market
// choices), NewPlaceOrderState.cpp (reset, the Submit button, the snapshot, control access),
// NewPlaceOrderTicker.cpp (ticker box, symbols, reference price, recent tickers),
// NewPlaceOrderPanels.cpp (panels, layout, dates, option series, presets).
#include <vector>

#include "app/FormFactory.h"
#include "framework/window/EnhancedEdit.h"
#include "link/MessageSink.h"
#include "orders/MarketChoices.h"
#include "orders/OptionChain.h"
#include "orders/OrderRoadForm.h"
#include "orders/OrderTicketSnapshot.h"
#include "platform/mfc/Controls.h"
#include "platform/mfc/OleDateTime.h"
#include "platform/mfc/String.h"

#define IDD_FORM_ORDER_TICKET   7310
#define IDS_TITLE_ORDER_TICKET  7130
#define IDS_TITLE_PRE_MARKET    57029
#define IDC_TICKET_DAYS         5718
#define IDC_TICKET_GOOD_TILL    5719
#define IDC_TICKET_TICKER       5722
#define IDC_TICKET_QUANTITY     5723
#define IDC_TICKET_STOP         5726
#define IDC_TICKET_LIMIT        5728
#define IDC_TICKET_SUBMIT       5737
#define IDC_TICKET_CLOSE        5738
#define IDC_TICKET_LOGIN        5739
#define IDC_TICKET_USER_NAME    5741
#define IDC_TICKET_RESET        5742
#define IDC_TICKET_ACCOUNTS     5717
#define IDC_TICKET_ACCOUNT_INFO 5815
#define IDC_TICKET_ACCOUNT      6629
#define IDC_TICKET_STRIKE       6676
#define IDC_TICKET_RIGHT        6677
#define IDC_TICKET_EXPIRY       6678
#define IDC_TICKET_UNDERLYING   6679
#define IDC_TICKET_MARKET       6730
#define IDC_TICKET_CURRENCY     6731
#define IDC_TICKET_DESCRIPTION  6732
#define IDC_TICKET_SIDE_GROUP   6738
#define IDC_TICKET_EXTRA        6743
#define IDC_TICKET_ADVANCED     6744
#define IDC_TICKET_SIDE_LABEL   6745
#define IDC_TICKET_SIDE         6746
#define IDC_TICKET_TYPE         6747
#define IDC_TICKET_VALIDITY     6748
#define IDC_TICKET_ADVANCED_FIRST 6750
#define IDC_TICKET_ADVANCED_LAST  6753
#define IDC_TICKET_SIDE_NOTE    6755
#define IDC_TICKET_SESSION      6861
#define IDC_TICKET_CONTRACT     6863
#define IDC_TICKET_MARKET_MAKER 6865
#define IDC_TICKET_CONTRACT_DATE 6867
#define IDC_TICKET_FILL_RULE    6869
#define IDC_TICKET_TENOR        6871
#define IDC_TICKET_FLAG         6872
// The labels that come and go with their panels.
#define IDC_TICKET_CONTRACT_LABEL 6862
#define IDC_TICKET_MAKER_LABEL  6864
#define IDC_TICKET_DATE_LABEL   6866
#define IDC_TICKET_FILL_LABEL   6868
#define IDC_TICKET_TENOR_LABEL  6870
#define IDC_TICKET_OPTION_LABEL_FIRST 6672  // 6672 to 6675: underlying, right, expiry, strike
#define IDC_TICKET_EXTRA_LABEL  6742
// What the ticker box says when no KSE stock has the number or symbol typed.
#define IDS_TICKET_NO_KSE_STOCK     40388
// What a command did not do to an order begun, what replaced one, what a symbol's market took.
#define IDS_TICKET_BEGUN_ORDER_KEPT     40494
#define IDS_TICKET_SYMBOLS_MARKET       40495
#define IDS_TICKET_BEGUN_ORDER_REPLACED 40496
#define IDS_TICKET_SIDE_NOT_TAKEN       40497

class CNewPlaceOrderDlg : public COrderRoadForm, public IOrderTicketForm
{
public:
    CNewPlaceOrderDlg();
    static CWnd* Make(UINT nFormId);

    // IOrderTicketForm: what the application's openers call.
    void HideDurationExtras() override;
    void ShowDurationList() override;
    void ShowDurationDate() override;
    void SelectMarket(LPCSTR pszMarketName) override;
    BOOL SelectKseMarketType(int nType) override;
    void UpdateMarketChoices(const MarketDetail& market) override;
    CString MakeTickerText(LPCSTR pszText) override;
    void SetTickerAndLookUp(LPCSTR pszTicker) override;
    void SetTickerOfItsMarket(LPCSTR pszTicker) override;
    void SetLimitPrice(double dPrice) override;
    void SetCurrency(LPCSTR pszCurrency) override;
    void SetContractDate(const COleDateTime& date) override;
    void SetMarketMaker(LPCSTR pszText) override;
    void SetContractNumber(LPCSTR pszText) override;
    void SetQuantity(LPCSTR pszText) override;
    void SelectTransactionType(int nSide) override;
    void SetBackgroundColor(COLORREF crBack) override;
    void SetPreMarket(BOOL bPreMarket) override;
    void LeaveKseMarket(BOOL bForSymbol) override;
    void ShowAdvanced(BOOL bShow) override;
    void ShowSidePanel(BOOL bShow) override;
    void LoadUSOrder(long nOrder) override;
    void LoadKSEOrder(long nOrder) override;
    BOOL KeepBegunOrder(int nKind, int nSide) override;
    void ReplaceBegunOrder(LPCSTR pszCompleting, LPCSTR pszMarket) override;
    // Whether the ticket holds an order the trader began: a ticker, a quantity or a price that is
    // neither the order sent last, untouched, nor a reference price the ticket put there.
    BOOL HoldsBegunOrder();

    // The form's values now, read once.
    ORDER_TICKET_SNAPSHOT TakeSnapshot() override;
    // The ticker box refilled with the chosen market's symbols whose symbol or name holds the
    // text (upper case); the box then shows the text again.
    void FilterTickers(LPCSTR pszTyped);
    void OnTickerChanged();
    void UpdateSubmitButton() override;
    void ResetForm();
    // The option series and the market's extra text are forgotten: the next order names its own.
    void ForgetOptionSeries();

    int GetKseMarketType() const { return m_nKseMarketType; }
    BOOL IsPreMarket() const { return m_bPreMarket; }
    const COptionChain& GetOptionStore() const { return m_options; }
    // Between a "GO" header and its end.
    BOOL IsReceivingOptions() const { return m_nReceiving != -1; }

    // "GO": the option series the ticket asked for, when the user left its underlying field;
    // another form's series are not the ticket's.
    void OnGO(CServerMessage* pMsg) override;
    void OnRecord(CServerMessage* pMsg) override;
    void OnEnd(CServerMessage* pMsg) override;
    // The order road (OrderRoadForm.h): check replies open the review of the ticket's own
    // pending check, order replies acknowledge its own order; others are ignored.
    void OnOV(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnKV(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnKU(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnKJ(CServerMessage* pMsg) override { OnCheckReply(pMsg); }
    void OnOR(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    void OnKR(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    void OnKA(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    void OnKQ(CServerMessage* pMsg) override { OnOrderReply(pMsg); }
    // "RN": the answer to the ticket's own ticker-information request fills the ticket.
    void OnRN(CServerMessage* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnGoodTillDateChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

protected:
    // The order road's parts of this ticket (NewPlaceOrderSubmit.cpp).
    const ORDER_ROAD* GetRoadOf(const ORDER_TICKET_SNAPSHOT& shot) const override;
    void KeepTicketFlag(const ORDER_TICKET_SNAPSHOT& shot, BOOL bSent) override;
    int ClearAfterAcknowledgement(int nOrderType) override;
    // The fields that still show the order sent last, untouched, are emptied (bSide: its side too)
    // and forgotten: they are no part of an order on another market, nor of the next one.
    void DropFieldsAsSent(BOOL bSide);

private:
    // Commands by control (NewPlaceOrderDlg.cpp).
    void OnMarketChanged();
    void OnSideChanged();
    void OnOrderTypeChanged();
    void OnValidityChanged();
    void OnKseMarketTypeChanged();
    void OnDaysLeft();
    void OnNumberLeft(int nId);
    // A KSE ticker typed as a stock number or symbol; FALSE, told, when no stock has it.
    BOOL TakeKseStock(const CString& strTyped);
    void ColourBySide();
    void ApplyReferencePrice();
    // The reference price into a price field that takes it (else emptied), unless the user typed
    // over what was put there last (*pApplied, the field's text then).
    void ApplyPrice(int nId, BOOL bTakes, CString* pApplied);
    // The boxes' item lists.
    void FillBox(int nId, const std::vector<CHOICE_ITEM>& items);
    void ApplyChoices(const MARKET_CHOICES& choices, BOOL bEnabled);
    // The prices and the reference price of the market chosen before are forgotten.
    void ForgetPrices();
    // Ticker box and symbols (NewPlaceOrderTicker.cpp).
    void FillSymbolMap(long nMarketCode);
    void UpdateReferencePrice();
    void RequestTickerInfo(LPCSTR pszSymbol, long nMarketCode);
    // The market the server named for the ticker chosen, keeping what the trader chose and typed
    // where that market takes it; told when it cannot.
    void TakeSymbolsMarket(const CString& strMarket, const CString& strTicker);
    void LoadRecentTickers();
    void SaveRecentTickers();
    CString GetSymbolText() const;
    BOOL ListsSymbol(const CString& strSymbol) const;
    // Panels, layout, dates, options (NewPlaceOrderPanels.cpp).
    void ShowKsePanel(int nKseType);
    void ShowOptionPanel(BOOL bShow);
    void ShowExtraField(BOOL bShow);
    void ApplyGoodTillDate();
    void FillStrikeList();
    void FillMarketBox();
    void LoadOrderRow(long nOrder, BOOL bKse);

    // Control helpers.
    void SetReadOnly(int nId, BOOL bReadOnly);
    BOOL HoldsValue(int nId);

    CEnhancedEdit m_editQuantity;
    CEnhancedEdit m_editLimit;
    CEnhancedEdit m_editStop;
    CEnhancedEdit m_editDays;
    CEnhancedEdit m_editContract;
    CEnhancedEdit m_editCurrency;
    CEnhancedEdit m_editDescription;
    CEnhancedEdit m_editMarketMaker;
    CEnhancedEdit m_editUnderlying;
    CEnhancedEdit m_editExtra;
    CEnhancedEdit m_editLogin;
    CEnhancedEdit m_editUserName;
    CDateTimeCtrl m_pickGoodTill;
    CDateTimeCtrl m_pickContract;

    int m_nKseMarketType = KSE_TYPE_NONE;
    BOOL m_bPreMarket = FALSE;
    CString m_strMarket;                // the market chosen last
    MARKET_CHOICES m_choices;           // of that market, before its KSE market type
    CString m_strReferencePrice;
    CString m_strLimitApplied, m_strStopApplied;    // the price fields' texts as last applied
    CString m_strTickerLooked;          // the ticker text last looked up or set by the form
    // Symbol to name for the chosen market, in symbol order; the box lists these.
    std::vector<std::pair<CString, CString>> m_symbols;
    COptionChain m_options;
    BOOL m_bOptionsShown = FALSE;       // the option panel, as the market chosen shows it
    BOOL m_bExtraShown = FALSE;         // the extra field, likewise
    int m_nReceiving = -1;              // the reply being received (304) or -1
    int m_nOptionRows = 0;              // rows of that reply so far
    long m_nOptionRequest = 0;          // the ticket's own "GO", 0 when answered
    CString m_strOptionsAsked;          // the underlying it asked for last
    COleDateTime m_goodTill;
    BOOL m_bAdvancedShown = TRUE;       // as the template is made
    BOOL m_bSidePanelShown = TRUE;
    CString m_strSide, m_strType, m_strValidity, m_strKseType;     // the boxes' texts last acted on
    long m_nTickerInfoRequest = 0;              // the number of the last "RN" sent, 0 when answered
    BOOL m_bTakeAnswersMarket = FALSE;          // that "RN" asked for a symbol's market
};
