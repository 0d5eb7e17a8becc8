#pragma once
// The form views of the layers above the application (order tickets, account forms, market
// forms) come from makers those layers register per form id, as the tables do through
// TableFactory.h; the application opens a form window by id and gets the view made, or an empty
// form frame for an id without a maker.
#include "platform/mfc/String.h"
#include "platform/win/Windows.h"

class CWnd;

// Makes the view of a form on the heap, not yet created; the form frame creates it as its child
// and the view deletes itself with its window. Null when it cannot.
typedef CWnd* (*PFN_MAKE_FORM_VIEW)(UINT nFormId);

// A form that the application opens for a symbol: the form is reset and shows the symbol.
struct ITickerForm
{
    virtual ~ITickerForm() = default;
    virtual void SetTicker(LPCSTR pszTicker) = 0;
};

// A second registration of an id replaces the first; a null maker removes it.
void RegisterFormMaker(UINT nFormId, PFN_MAKE_FORM_VIEW pfnMake);
PFN_MAKE_FORM_VIEW FindFormMaker(UINT nFormId);

struct MarketDetail;
class COleDateTime;

// The order ticket as the application's openers fill it (the orders layer implements it). Each
// call acts on the open form at once; texts are the ticket's own (market names in the interface
// language, a ticker "symbol" or "symbol/name").
struct IOrderTicketForm
{
    virtual ~IOrderTicketForm() = default;
    // Validity extras: none shown, the validity list, or the contract date picker (set to now).
    virtual void HideDurationExtras() = 0;
    virtual void ShowDurationList() = 0;
    virtual void ShowDurationDate() = 0;
    // The market box shows the name and the market is chosen (its boxes, panels and symbols).
    virtual void SelectMarket(LPCSTR pszMarketName) = 0;
    // The market-type box selects the text of the KSE market type exactly; FALSE when absent.
    virtual BOOL SelectKseMarketType(int nType) = 0;
    virtual void UpdateMarketChoices(const MarketDetail& market) = 0;
    // "symbol/name" when the chosen market's symbols know the text as a name, else the text.
    virtual CString MakeTickerText(LPCSTR pszText) = 0;
    // The ticker box takes the text and the ticket looks the symbol up.
    virtual void SetTickerAndLookUp(LPCSTR pszTicker) = 0;
    // A symbol given without its market (a lookup result's): asked of the server by itself, and
    // the ticket takes the market its answer names, ready to fill.
    virtual void SetTickerOfItsMarket(LPCSTR pszTicker) = 0;
    virtual void SetLimitPrice(double dPrice) = 0;
    virtual void SetCurrency(LPCSTR pszCurrency) = 0;
    virtual void SetContractDate(const COleDateTime& date) = 0;
    // The forward contract's texts: market maker (6 characters), contract number and quantity.
    virtual void SetMarketMaker(LPCSTR pszText) = 0;
    virtual void SetContractNumber(LPCSTR pszText) = 0;
    virtual void SetQuantity(LPCSTR pszText) = 0;
    virtual void SelectTransactionType(int nSide) = 0;
    virtual void SetBackgroundColor(COLORREF crBack) = 0;
    virtual void SetPreMarket(BOOL bPreMarket) = 0;
    // A ticket left on a KSE market starts afresh with no market chosen when nothing is typed in
    // it, or for a symbol of another market (bForSymbol); a KSE order begun and no symbol given,
    // or any other market, stays as it stands.
    virtual void LeaveKseMarket(BOOL bForSymbol) = 0;
    virtual void ShowAdvanced(BOOL bShow) = 0;
    virtual void ShowSidePanel(BOOL bShow) = 0;
    // Presets from a row of the order-status tables; nothing without the table or the row. An
    // order begun in the ticket is replaced by the row's, and told.
    virtual void LoadUSOrder(long nOrder) = 0;
    virtual void LoadKSEOrder(long nOrder) = 0;

    // The kinds of ticket the commands without an order of their own open.
    enum { KIND_US = 0, KIND_PRE_MARKET, KIND_KSE, KIND_KSE_FORWARD, KIND_KSE_CONTRACT };
    // A command that names no order of its own (a ticket of a kind, on a side or none, -1): TRUE
    // when the ticket holds an order the trader began, which then stands whole and the command
    // changes nothing (told when the order is not of the command's kind). FALSE: the ticket is the
    // command's; what still showed the order sent last is gone.
    virtual BOOL KeepBegunOrder(int nKind, int nSide) = 0;
    // A command with an order of its own (a row's symbol, a lookup result's): an order begun in the
    // ticket is replaced whole, and told, unless the symbol completes it: pszCompleting, a symbol
    // the begun order may take when it names none or the same, on the market pszMarket (null: the
    // market the server names for the symbol).
    virtual void ReplaceBegunOrder(LPCSTR pszCompleting, LPCSTR pszMarket) = 0;
};

// The forms that act on a position, as the application's openers fill them (the orders layer
// implements them). Forward contract details: the contract of that date and identifier, with
// the actions the server allows as a mask (1 a new order, 2, 4, 8 and 16 its actions).
struct IForwardContractForm
{
    virtual ~IForwardContractForm() = default;
    virtual void ShowContract(long nUser, long nAccount, const COleDateTime& date, LPCSTR pszContractId,
                              long nMask) = 0;
};
// Option exercise: the US holdings row of these two keys (null or "" for none).
struct IManualExerciseForm
{
    virtual ~IManualExerciseForm() = default;
    virtual void LoadPosition(LPCSTR pszSymbolKey, LPCSTR pszSecondKey) = 0;
};
// Expiration instruction: the instruction standing for the symbol on that market (null for none).
struct IExpirationInstructionForm
{
    virtual ~IExpirationInstructionForm() = default;
    virtual void Preset(LPCSTR pszSymbol, LPCSTR pszMarket) = 0;
};
// The combined modify form as the application's openers fill it (the orders layer implements
// it): the order of a status table's row is loaded into the open form, or none when the row or
// its table is missing.
struct IModifyOrderForm
{
    virtual ~IModifyOrderForm() = default;
    virtual void LoadUSOrder(long nOrder) = 0;
    virtual void LoadKSEOrder(long nOrder) = 0;
    virtual void ShowSidePanel(BOOL bShow) = 0;
    virtual void ShowAdvanced(BOOL bShow) = 0;
};
// The international currency conversion as the application's opener presets it (the account
// layer implements it): the pair chosen and quoted; FALSE when either code is empty or unknown.
struct ICurrencyPairForm
{
    virtual ~ICurrencyPairForm() = default;
    virtual BOOL SelectCurrencyPair(LPCSTR pszFrom, LPCSTR pszTo) = 0;
};
