// The order ticket's openers: each opens or activates the one ticket window and fills it in its
// own order, so that a later step sees what an earlier one chose (the market before the ticker,
// the market type before the market's capabilities).
#include "app/FormFactory.h"
#include "app/FormMDIWnd.h"
#include "app/ZorvatApp.h"
#include "platform/mfc/OleDateTime.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"

#define IDD_FORM_ORDER_TICKET 7310
#define IDD_FORM_MODIFY_ORDER 7311
#define IDD_FORM_FORWARD_CONTRACT 7289
#define IDD_FORM_MANUAL_EXERCISE 7304
#define KSE_MARKET_CODE 2
#define KSE_TYPE_REGULAR 1
#define KSE_TYPE_FORWARD 3
#define KSE_TYPE_CONTRACT 4
#define SIDE_SELL 2

namespace {
const char* const KSE_CURRENCY = "=KWD";
const COLORREF SELL_COLOUR = 0x80FF80;

// The KSE market: its name in the interface language into the market box, chosen. A ticket
// still in pre-market mode lists no KSE market and would drop the choice when the mode ends
// afterwards: the regular session comes first.
void SelectKseMarket(IOrderTicketForm* pTicket)
{
    pTicket->SetPreMarket(FALSE);
    const CString strName = GetGlobals()->GetMarketName(KSE_MARKET_CODE);
    if (!strName.IsEmpty())
        pTicket->SelectMarket(strName);
}

// The last steps of the KSE board's and the forward market's tickets.
void FinishKseTicket(IOrderTicketForm* pTicket, double dPrice)
{
    if (dPrice != 0.0)
        pTicket->SetLimitPrice(dPrice);
    pTicket->SetCurrency(KSE_CURRENCY);
    pTicket->SetPreMarket(FALSE);
    pTicket->ShowAdvanced(FALSE);
    pTicket->ShowSidePanel(FALSE);
}
}  // namespace

IOrderTicketForm* CZORVAT32App::OpenTicketForm()
{
    // Without its view the form would be an empty frame: the command waits for it quietly.
    if (FindFormMaker(IDD_FORM_ORDER_TICKET) == nullptr)
        return nullptr;
    OpenFormWindow(&m_pOrderTicketForm, IDD_FORM_ORDER_TICKET);
    return m_pOrderTicketForm != nullptr ? dynamic_cast<IOrderTicketForm*>(m_pOrderTicketForm->GetView()) : nullptr;
}

void CZORVAT32App::OpenOrderTicket(int nMode, LPCSTR pszSymbol, double dPrice, LPCSTR pszMarket, LPCSTR pszCurrency,
                                   int)
{
    IOrderTicketForm* pTicket = OpenTicketForm();
    if (pTicket == nullptr)
        return;
    // A command never mixes two orders: without one of its own it leaves an order begun whole;
    // with a symbol it replaces it whole, told, unless the symbol completes it.
    if (pszSymbol == nullptr && dPrice == 0.0) {
        if (pTicket->KeepBegunOrder(nMode == 1 ? IOrderTicketForm::KIND_PRE_MARKET : IOrderTicketForm::KIND_US, -1)) {
            pTicket->ShowAdvanced(FALSE);
            pTicket->ShowSidePanel(FALSE);
            return;
        }
    } else {
        pTicket->ReplaceBegunOrder(pszSymbol, pszMarket);
    }
    // The US ticket: one that was opened for the KSE does not stay on it, but for a KSE order the
    // trader has begun and no symbol given.
    if (pszMarket != nullptr)
        pTicket->SelectMarket(pszMarket);
    else
        pTicket->LeaveKseMarket(pszSymbol != nullptr);
    // A symbol without its market (a lookup result's) goes to the market the server names for it.
    if (pszSymbol != nullptr && pszMarket != nullptr)
        pTicket->SetTickerAndLookUp(pszSymbol);
    else if (pszSymbol != nullptr)
        pTicket->SetTickerOfItsMarket(pszSymbol);
    if (dPrice != 0.0)
        pTicket->SetLimitPrice(dPrice);
    if (pszCurrency != nullptr)
        pTicket->SetCurrency(pszCurrency);
    pTicket->SetPreMarket(nMode == 1);
    pTicket->ShowAdvanced(FALSE);
    pTicket->ShowSidePanel(FALSE);
}

void CZORVAT32App::OpenOrderTicketFromOrderUS(long nOrder)
{
    if (IOrderTicketForm* pTicket = OpenTicketForm())
        pTicket->LoadUSOrder(nOrder);
}

void CZORVAT32App::OpenOrderTicketFromOrderKSE(long nOrder)
{
    if (IOrderTicketForm* pTicket = OpenTicketForm())
        pTicket->LoadKSEOrder(nOrder);
}

namespace {
// The one modify form, opened or activated; null without its view.
IModifyOrderForm* OpenModifyForm(CZORVAT32App* pApp, CFormMDIWnd** ppSlot)
{
    if (FindFormMaker(IDD_FORM_MODIFY_ORDER) == nullptr)
        return nullptr;
    pApp->OpenFormWindow(ppSlot, IDD_FORM_MODIFY_ORDER);
    return *ppSlot != nullptr ? dynamic_cast<IModifyOrderForm*>((*ppSlot)->GetView()) : nullptr;
}

void FinishModifyForm(IModifyOrderForm* pForm)
{
    pForm->ShowSidePanel(FALSE);
    pForm->ShowAdvanced(FALSE);
}
}  // namespace

void CZORVAT32App::OpenModifyOrderUS(long nOrder)
{
    if (IModifyOrderForm* pForm = OpenModifyForm(this, &m_pModifyOrderForm)) {
        pForm->LoadUSOrder(nOrder);
        FinishModifyForm(pForm);
    }
}

void CZORVAT32App::OpenModifyOrderKSE(long nOrder)
{
    if (IModifyOrderForm* pForm = OpenModifyForm(this, &m_pModifyOrderForm)) {
        pForm->LoadKSEOrder(nOrder);
        FinishModifyForm(pForm);
    }
}

void CZORVAT32App::OpenOrderTicketKSE(int nMode, LPCSTR pszSymbol, double dPrice, int, int nMarketType)
{
    IOrderTicketForm* pTicket = OpenTicketForm();
    if (pTicket == nullptr)
        return;
    if (pszSymbol == nullptr && dPrice == 0.0) {
        if (pTicket->KeepBegunOrder(IOrderTicketForm::KIND_KSE, nMode == 1 || nMode == 2 ? nMode : -1))
            return;
    } else {
        pTicket->ReplaceBegunOrder(nullptr, nullptr);
    }
    pTicket->HideDurationExtras();
    SelectKseMarket(pTicket);
    pTicket->SelectKseMarketType(nMarketType == KSE_TYPE_CONTRACT ? KSE_TYPE_CONTRACT : KSE_TYPE_REGULAR);
    MarketDetail market;
    if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market)) {
        // The mode names the side the ticket starts with.
        if (nMode == 1 || nMode == 2)
            market.m_nConstant1 = nMode;
        pTicket->UpdateMarketChoices(market);
    }
    if (pszSymbol != nullptr)
        pTicket->SetTickerAndLookUp(pTicket->MakeTickerText(pszSymbol));
    FinishKseTicket(pTicket, dPrice);
}

void CZORVAT32App::OpenOrderTicketForwardMarket(LPCSTR pszSymbol, double dPrice, int)
{
    IOrderTicketForm* pTicket = OpenTicketForm();
    if (pTicket == nullptr)
        return;
    if (pszSymbol == nullptr && dPrice == 0.0) {
        if (pTicket->KeepBegunOrder(IOrderTicketForm::KIND_KSE_FORWARD, -1))
            return;
    } else {
        pTicket->ReplaceBegunOrder(nullptr, nullptr);
    }
    pTicket->ShowDurationList();
    SelectKseMarket(pTicket);
    pTicket->SelectKseMarketType(KSE_TYPE_FORWARD);
    MarketDetail market;
    if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market))
        pTicket->UpdateMarketChoices(market);
    if (pszSymbol != nullptr)
        pTicket->SetTickerAndLookUp(pszSymbol);
    FinishKseTicket(pTicket, dPrice);
}

void CZORVAT32App::OpenOrderTicketForward(LPCSTR pszSymbol, const COleDateTime& validity, LPCSTR pszMarketMaker,
                                          LPCSTR pszContract, LPCSTR pszQuantity, int nSide)
{
    IOrderTicketForm* pTicket = OpenTicketForm();
    if (pTicket == nullptr)
        return;
    if (pszSymbol == nullptr && pszContract == nullptr && pszQuantity == nullptr) {
        if (pTicket->KeepBegunOrder(IOrderTicketForm::KIND_KSE_CONTRACT, -1))
            return;
    } else {
        pTicket->ReplaceBegunOrder(nullptr, nullptr);
    }
    pTicket->ShowDurationDate();
    SelectKseMarket(pTicket);
    pTicket->SelectKseMarketType(KSE_TYPE_CONTRACT);
    MarketDetail market;
    if (GetGlobals()->LookupMarket(KSE_MARKET_CODE, market))
        pTicket->UpdateMarketChoices(market);
    if (pszSymbol != nullptr)
        pTicket->SetTickerAndLookUp(pTicket->MakeTickerText(pszSymbol));
    if (validity.GetStatus() == COleDateTime::valid)
        pTicket->SetContractDate(validity);
    if (pszMarketMaker != nullptr)
        pTicket->SetMarketMaker(pszMarketMaker);
    if (pszContract != nullptr)
        pTicket->SetContractNumber(pszContract);
    if (pszQuantity != nullptr)
        pTicket->SetQuantity(pszQuantity);
    pTicket->SetCurrency(KSE_CURRENCY);
    pTicket->SetPreMarket(FALSE);
    pTicket->ShowAdvanced(FALSE);
    pTicket->SelectTransactionType(nSide);
    if (nSide == SIDE_SELL)
        pTicket->SetBackgroundColor(SELL_COLOUR);
    pTicket->ShowSidePanel(FALSE);
}

namespace {
// The view of a form window opened (or activated) in its slot, as the interface its opener
// fills; null without the form's maker, which would leave an empty frame.
template <class FORM>
FORM* OpenFormAs(CZORVAT32App* pApp, CFormMDIWnd** ppSlot, UINT nFormId)
{
    if (FindFormMaker(nFormId) == nullptr)
        return nullptr;
    pApp->OpenFormWindow(ppSlot, nFormId);
    return *ppSlot != nullptr ? dynamic_cast<FORM*>((*ppSlot)->GetView()) : nullptr;
}
}  // namespace

void CZORVAT32App::OpenForwardContractDetail(long nUser, long nAccount, const COleDateTime& date,
                                             LPCSTR pszContractId, long nMask)
{
    if (auto* pForm = OpenFormAs<IForwardContractForm>(this, &m_pForwardContractForm, IDD_FORM_FORWARD_CONTRACT))
        pForm->ShowContract(nUser, nAccount, date, pszContractId, nMask);
}

void CZORVAT32App::OpenManualExercise(LPCSTR pszSymbolKey, LPCSTR pszSecondKey)
{
    if (auto* pForm = OpenFormAs<IManualExerciseForm>(this, &m_pManualExerciseForm, IDD_FORM_MANUAL_EXERCISE))
        pForm->LoadPosition(pszSymbolKey, pszSecondKey);
}

void CZORVAT32App::OpenExpirationInstruction(LPCSTR pszSymbol, LPCSTR pszMarket)
{
    if (auto* pForm = OpenFormAs<IExpirationInstructionForm>(this, &m_pExpirationForm, IDD_FORM_EXPIRATION))
        pForm->Preset(pszSymbol, pszMarket);
}

// The exercise and expiration forms with nothing preset (their menu items are removed; a
// toolbar button or an accelerator still reaches them).
void CZORVAT32App::OnPositionFormCommand(UINT nId)
{
    if (nId == 33335)
        OpenManualExercise(nullptr, nullptr);
    else
        OpenExpirationInstruction(nullptr, nullptr);
}

void CZORVAT32App::OnKseTicketCommand(UINT nId)
{
    OpenOrderTicketKSE(nId == 33050 ? 2 : 1, nullptr, 0.0, 0, KSE_TYPE_REGULAR);
}

void CZORVAT32App::OnForwardMarketTicketCommand(UINT)
{
    OpenOrderTicketForwardMarket(nullptr, 0.0, 0);
}

void CZORVAT32App::OnForwardTicketCommand(UINT)
{
    COleDateTime none;
    none.SetStatus(COleDateTime::invalid);
    OpenOrderTicketForward(nullptr, none, nullptr, nullptr, nullptr, -1);
}

void CZORVAT32App::OnUsTicketCommand(UINT nId)
{
    OpenOrderTicket(nId == 33306 ? 1 : 0, nullptr, 0.0, nullptr, nullptr, 0);
}
