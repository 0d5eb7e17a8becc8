// The order ticket's ticker: the chosen market's symbols in the ticker box, filtered as the user
// types; what the market tables know of the symbol (currency, description, reference price);
// the recent tickers kept in the profile.
#include "orders/NewPlaceOrderDlg.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "app/ZorvatApp.h"
#include "app/dialogs/AppHelpers.h"
#include "framework/base/NorvGlobals.h"
#include "link/MessageTypes.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/StockListKSETable.h"
#include "market/TableLinks.h"
#include "orders/OrderRequests.h"
#include "refdata/RefDataRecords.h"
#include "refdata/ZorvatGlobals.h"
#include "refdata/ZorvatTypes.h"

#define IDS_TABLE_US_QUOTES 51921
#define IDS_TABLE_KSE_STOCK_LIST 56376
#define IDS_TABLE_KSE_BOARD 52114
#define IDS_TABLE_FWD_QUOTES 52121
#define US_MARKET_CODE 1

namespace {
const int RECENT_TICKERS = 10;
const int US_NAME_COLUMN = 2, US_LAST_COLUMN = 3, US_CLOSE_COLUMN = 9, US_CURRENCY_COLUMN = 12,
          US_COMPANY_COLUMN = 22;
const int KSE_NAME_COLUMN = 3, KSE_NAME_AR_COLUMN = 4;
const int BOARD_PRICE_COLUMN = 2, BOARD_CLOSE_COLUMN = 9;
// The forward quotations' price column of each tenor.
const struct { const char* pszTenor; int nColumn; } TENOR_COLUMNS[] = {
    {"1", 8}, {"3", 13}, {"6", 18}, {"9", 23}, {"12", 28}};

CString Upper(LPCSTR pszText)
{
    CString strUpper = pszText != nullptr ? pszText : "";
    for (int i = 0; i < strUpper.GetLength(); ++i)
        strUpper.SetAt(i, static_cast<char>(toupper(static_cast<unsigned char>(strUpper[i]))));
    return strUpper;
}

CDataBuffer* FindTableRow(UINT nTableId, std::initializer_list<const char*> keys)
{
    CDataTable* pTable = FindDataTable(nTableId);
    return pTable != nullptr && pTable->GetRows() != nullptr ? pTable->GetRows()->FindRow(keys) : nullptr;
}

// A KSE stock's symbols (both languages), upper case, from the stock list; empty when it lacks it.
std::pair<CString, CString> KseSymbolsOf(LPCSTR pszNumber)
{
    CDataBuffer* pRow = FindTableRow(IDS_TABLE_KSE_STOCK_LIST, {pszNumber});
    if (pRow == nullptr)
        return {};
    return {Upper(pRow->GetText(SLC_SYMBOL)), Upper(pRow->GetText(SLC_SYMBOL_AR))};
}

// A table's price as the ticket offers it: the first of the two texts that holds a price (a
// last price of 0 is no price), as many decimals as it has: the price field shows it in the
// market's own decimals, or more, and drops no digit. Empty when neither text holds a price.
CString ReferencePriceText(const CString& strFirst, const CString& strElse)
{
    double dPrice = atof(strFirst);
    if (dPrice <= 0)
        dPrice = atof(strElse);
    return dPrice > 0 ? COrderFormBase::PriceText(dPrice) : CString();
}

CString RecentTickerKey(int n)
{
    CString strKey;
    strKey.Format("TICKER%d", n);
    return strKey;
}
}  // namespace

CString CNewPlaceOrderDlg::GetSymbolText() const
{
    CString strTicker = GetText(IDC_TICKET_TICKER);
    const long nCode = GetGlobals()->GetMarketCode(GetBoxText(IDC_TICKET_MARKET));
    // A US symbol may hold a slash of its own ("BRK/B"); elsewhere the slash starts the name.
    const int nSlash = strTicker.Find('/');
    if (!(nCode == US_MARKET_CODE && nSlash >= 0) && nSlash >= 0)
        strTicker = strTicker.Left(nSlash);
    strTicker.Trim();
    return strTicker;
}

void CNewPlaceOrderDlg::FillSymbolMap(long nMarketCode)
{
    m_symbols.clear();
    CStringArray symbols;
    if (nMarketCode != 0)
        GetGlobals()->GetMarketSymbols(nMarketCode, symbols);
    const BOOL bArabic = GetNorvGlobals().m_nLanguage == 1;
    m_symbols.reserve(static_cast<size_t>(symbols.GetSize()));
    for (int i = 0; i < symbols.GetSize(); ++i) {
        const CString& strSymbol = symbols[i];
        ShortStockListEntry entry;
        if (strSymbol.IsEmpty() || strSymbol[0] == '.' || !GetGlobals()->LookupShortStockEntry(nMarketCode, strSymbol, entry))
            continue;
        m_symbols.emplace_back(strSymbol, bArabic ? entry.text6 : entry.text5);
    }
    std::sort(m_symbols.begin(), m_symbols.end(),
              [](const auto& a, const auto& b) { return a.first.Compare(b.first) < 0; });
    FilterTickers("");
}

// Whether the chosen market's symbols hold the symbol (a KSE stock by its number or its symbols).
BOOL CNewPlaceOrderDlg::ListsSymbol(const CString& strSymbol) const
{
    const BOOL bKse = GetGlobals()->GetMarketCode(m_strMarket) == 2;
    const CString strWant = Upper(strSymbol);
    for (const auto& symbol : m_symbols) {
        if (Upper(symbol.first) == strWant)
            return TRUE;
        if (bKse) {
            const auto kse = KseSymbolsOf(symbol.first);
            if (strWant == kse.first || strWant == kse.second)
                return TRUE;
        }
    }
    return FALSE;
}

void CNewPlaceOrderDlg::FilterTickers(LPCSTR pszTyped)
{
    const CString strTyped = pszTyped != nullptr ? pszTyped : "";
    const CString strWant = Upper(strTyped);
    const HWND hBox = ::GetDlgItem(m_hWnd, IDC_TICKET_TICKER);
    ::SendMessageA(hBox, WM_SETREDRAW, FALSE, 0);
    ::SendMessageA(hBox, CB_RESETCONTENT, 0, 0);
    // A KSE stock is listed by its number; it is found by its symbol too, as the tables show it.
    const BOOL bKse = GetGlobals()->GetMarketCode(m_strMarket) == 2;
    CString strItem;
    for (const auto& symbol : m_symbols) {
        if (Upper(symbol.first).Find(strWant) < 0 && Upper(symbol.second).Find(strWant) < 0) {
            const auto kse = bKse ? KseSymbolsOf(symbol.first) : std::pair<CString, CString>();
            if (strWant.IsEmpty() || (kse.first.Find(strWant) < 0 && kse.second.Find(strWant) < 0))
                continue;
        }
        strItem.Format("%s/%s", static_cast<LPCSTR>(symbol.first), static_cast<LPCSTR>(symbol.second));
        ::SendMessageA(hBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strItem)));
    }
    ::SendMessageA(hBox, WM_SETREDRAW, TRUE, 0);
    // Emptying the list emptied the edit part too: the typed text comes back, caret at its end.
    ::SetWindowTextA(hBox, strTyped);
    ::SendMessageA(hBox, CB_SETEDITSEL, 0, MAKELPARAM(strTyped.GetLength(), strTyped.GetLength()));
}

CString CNewPlaceOrderDlg::MakeTickerText(LPCSTR pszText)
{
    const CString strText = pszText != nullptr ? pszText : "";
    for (const auto& symbol : m_symbols)
        if (symbol.second == strText) {
            CString strTicker;
            strTicker.Format("%s/%s", static_cast<LPCSTR>(symbol.first), static_cast<LPCSTR>(strText));
            return strTicker;
        }
    return strText;
}

void CNewPlaceOrderDlg::SetTickerAndLookUp(LPCSTR pszTicker)
{
    // A command's order: an acknowledgement of the last one has nothing here to empty.
    ForgetSentFields();
    SetText(IDC_TICKET_TICKER, pszTicker);
    OnTickerChanged();
}

void CNewPlaceOrderDlg::SetTickerOfItsMarket(LPCSTR pszTicker)
{
    ForgetSentFields();
    SetText(IDC_TICKET_TICKER, pszTicker);
    const CString strSymbol = GetSymbolText();
    if (strSymbol.IsEmpty() || CZORVAT32App::Get() == nullptr) {
        OnTickerChanged();
        return;
    }
    // The market shown may not be the symbol's: nothing of it is shown until the answer says.
    m_strTickerLooked = GetText(IDC_TICKET_TICKER);
    SetText(IDC_TICKET_CURRENCY, "");
    SetText(IDC_TICKET_DESCRIPTION, "");
    m_strReferencePrice.Empty();
    ApplyReferencePrice();
    m_nTickerInfoRequest = SendNameRequest(strSymbol, 0);
    m_bTakeAnswersMarket = TRUE;
}

void CNewPlaceOrderDlg::OnTickerChanged()
{
    const CString strMarket = GetBoxText(IDC_TICKET_MARKET);
    if (strMarket.IsEmpty())
        return;
    // Another symbol: what was shown of the last one goes, so that no name stands beside a
    // symbol it is not the name of while this one is looked up, or when none is found.
    if (GetText(IDC_TICKET_TICKER) != m_strTickerLooked) {
        SetText(IDC_TICKET_CURRENCY, "");
        SetText(IDC_TICKET_DESCRIPTION, "");
    }
    m_strTickerLooked = GetText(IDC_TICKET_TICKER);
    const CString strSymbol = GetSymbolText();
    const long nCode = GetGlobals()->GetMarketCode(strMarket);
    if (strSymbol.IsEmpty())
        return;
    if (nCode == 2) {
        if (!TakeKseStock(strSymbol))
            return;
        if (CDataBuffer* pRow = FindTableRow(IDS_TABLE_KSE_STOCK_LIST, {GetSymbolText()})) {
            SetText(IDC_TICKET_CURRENCY, "=KWD");
            SetText(IDC_TICKET_DESCRIPTION, pRow->GetText(GetNorvGlobals().m_nLanguage == 1 ? KSE_NAME_AR_COLUMN
                                                                                               : KSE_NAME_COLUMN));
        }
        if (m_nKseMarketType != KSE_TYPE_NONE)
            UpdateReferencePrice();
        return;
    }
    CDataBuffer* pRow = FindTableRow(IDS_TABLE_US_QUOTES, {strSymbol});
    if (pRow == nullptr) {
        // The last symbol's price is none of this one's, whatever the server answers.
        m_strReferencePrice.Empty();
        ApplyReferencePrice();
        RequestTickerInfo(strSymbol, nCode);
        return;
    }
    SetText(IDC_TICKET_CURRENCY, pRow->GetText(US_CURRENCY_COLUMN));
    SetText(IDC_TICKET_DESCRIPTION, pRow->GetText(US_COMPANY_COLUMN).IsEmpty() ? pRow->GetText(US_NAME_COLUMN)
                                                                              : pRow->GetText(US_COMPANY_COLUMN));
    m_strReferencePrice = ReferencePriceText(pRow->GetText(US_LAST_COLUMN), pRow->GetText(US_CLOSE_COLUMN));
    OnOrderTypeChanged();
}

BOOL CNewPlaceOrderDlg::TakeKseStock(const CString& strTyped)
{
    if (FindTableRow(IDS_TABLE_KSE_STOCK_LIST, {strTyped}) != nullptr)
        return TRUE;
    // Typed as its symbol: the ticker shows the stock as its list item does.
    const CString strWant = Upper(strTyped);
    for (const auto& symbol : m_symbols) {
        const auto kse = KseSymbolsOf(symbol.first);
        if (strWant == kse.first || strWant == kse.second) {
            SetText(IDC_TICKET_TICKER, symbol.first + "/" + symbol.second);
            return TRUE;
        }
    }
    CString strText;
    strText.FormatMessage(IDS_TICKET_NO_KSE_STOCK, static_cast<LPCSTR>(strTyped));
    ShowMarketInfo(strText, 0, 2);
    return FALSE;
}

void CNewPlaceOrderDlg::UpdateReferencePrice()
{
    if (m_nKseMarketType == KSE_TYPE_NONE)
        return;
    const CString strSymbol = GetSymbolText();
    // A stock or maker without a quote has no price: the one the form gave for the last is not
    // this one's (a price the user typed stays, ApplyPrice).
    m_strReferencePrice.Empty();
    if (m_nKseMarketType == KSE_TYPE_REGULAR) {
        if (CDataBuffer* pRow = FindTableRow(IDS_TABLE_KSE_BOARD, {strSymbol}))
            m_strReferencePrice = ReferencePriceText(pRow->GetText(BOARD_PRICE_COLUMN), pRow->GetText(BOARD_CLOSE_COLUMN));
    } else if (m_nKseMarketType == KSE_TYPE_FORWARD) {
        CString strSide;
        strSide.Format("%ld", static_cast<long>(CTransactionType::GetCodeByText(GetBoxText(IDC_TICKET_SIDE))));
        const CString strMaker = GetText(IDC_TICKET_MARKET_MAKER);
        const CString strTenor = GetBoxText(IDC_TICKET_TENOR);
        if (CDataBuffer* pRow = FindTableRow(IDS_TABLE_FWD_QUOTES, {strSymbol, strSide, strMaker}))
            for (const auto& tenor : TENOR_COLUMNS)
                if (strTenor == tenor.pszTenor)
                    m_strReferencePrice = ReferencePriceText(pRow->GetText(tenor.nColumn), CString());
    }
    OnOrderTypeChanged();
}

void CNewPlaceOrderDlg::RequestTickerInfo(LPCSTR pszSymbol, long nMarketCode)
{
    if (CZORVAT32App::Get() == nullptr || pszSymbol == nullptr || *pszSymbol == '\0')
        return;
    m_nTickerInfoRequest = SendNameRequest(pszSymbol, nMarketCode);
    m_bTakeAnswersMarket = FALSE;
}

void CNewPlaceOrderDlg::OnRN(CServerMessage* pMsg)
{
    // Only the answer to this ticket's own last request; it never touches a pending order, whose
    // values were taken at Submit.
    if (pMsg == nullptr || m_nTickerInfoRequest == 0 || GetRawLineNumber(pMsg) != m_nTickerInfoRequest)
        return;
    m_nTickerInfoRequest = 0;
    const BOOL bTakeMarket = m_bTakeAnswersMarket;
    m_bTakeAnswersMarket = FALSE;
    if (pMsg->GetLong(0) != 0)
        return;
    const long nCode = pMsg->GetLong(3);
    CString strTicker = GetText(IDC_TICKET_TICKER);
    const CString strSymbol = GetSymbolText();
    CString strCompared = strSymbol;
    if (nCode == US_MARKET_CODE && strTicker.Find('/') >= 0) {
        strTicker.Trim();
        strCompared = strTicker;
    }
    if (strCompared != pMsg->GetField(2))
        return;
    MarketDetail market;
    if (!GetGlobals()->LookupMarket(nCode, market))
        return;
    const CString strMarket = GetGlobals()->GetMarketName(nCode);
    // Another market's symbol: told, and the ticket keeps the choices of the market it shows.
    const CString strShown = GetText(IDC_TICKET_MARKET);
    if (bTakeMarket && strShown != strMarket) {
        // The symbol's own market, chosen for it; the symbol stays, the server has just named its
        // market. What the trader chose and typed meanwhile stays where that market takes it.
        TakeSymbolsMarket(strMarket, strTicker);
        return;
    }
    if (!strShown.IsEmpty() && strShown != strMarket) {
        if (CZORVAT32App* pApp = CZORVAT32App::Get())
            ShowMarketInfo(pApp->GetErrorText(1026), 0, 2);
        return;
    }
    // The market already chosen keeps the side, type and validity the trader chose meanwhile;
    // only a ticket without a market takes the answer's market and its first choices.
    if (strShown.IsEmpty()) {
        UpdateMarketChoices(market);
        SelectBoxText(IDC_TICKET_MARKET, strMarket, TRUE);
    }
    SetText(IDC_TICKET_CURRENCY, pMsg->GetField(9));
    const BOOL bSecond = GetNorvGlobals().m_nLanguage == 1;
    const CString strName = bSecond && !pMsg->GetField(6).IsEmpty() ? pMsg->GetField(6) : pMsg->GetField(5);
    if (!strName.IsEmpty() && strName != strSymbol) {
        SetText(IDC_TICKET_TICKER, strSymbol + "/" + strName);
        m_strTickerLooked = GetText(IDC_TICKET_TICKER);
    }
    SetText(IDC_TICKET_DESCRIPTION, bSecond && !pMsg->GetField(8).IsEmpty() ? pMsg->GetField(8) : pMsg->GetField(7));
    CDataBuffer* pRow = FindTableRow(IDS_TABLE_US_QUOTES, {strSymbol, strMarket});
    m_strReferencePrice.Empty();
    if (pRow != nullptr)
        m_strReferencePrice = ReferencePriceText(pRow->GetText(US_LAST_COLUMN), pRow->GetText(US_CLOSE_COLUMN));
    ApplyReferencePrice();
}

void CNewPlaceOrderDlg::TakeSymbolsMarket(const CString& strMarket, const CString& strTicker)
{
    MarketDetail before;
    const BOOL bHadMarket = GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), before);
    const int nFamilyBefore = bHadMarket ? ReadMarketChoices(before).nFamily : MARKET_FAMILY_NONE;
    // The trader's: the boxes' choices, the numbers typed (a price the ticket gave is none of them).
    const CString strSide = GetBoxText(IDC_TICKET_SIDE), strType = GetBoxText(IDC_TICKET_TYPE),
                  strValidity = GetBoxText(IDC_TICKET_VALIDITY), strQuantity = GetText(IDC_TICKET_QUANTITY),
                  strDays = GetText(IDC_TICKET_DAYS);
    const CString strLimit = GetText(IDC_TICKET_LIMIT) != m_strLimitApplied ? GetText(IDC_TICKET_LIMIT) : CString();
    const CString strStop = GetText(IDC_TICKET_STOP) != m_strStopApplied ? GetText(IDC_TICKET_STOP) : CString();
    const COleDateTime goodTill = m_goodTill;

    SelectMarket(strMarket);
    if (GetText(IDC_TICKET_TICKER).IsEmpty())
        SetTickerAndLookUp(strTicker);
    MarketDetail market;
    GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(strMarket), market);
    // Numbers of another family's market are not this one's (fils are no dollars).
    const BOOL bSameFamily = ReadMarketChoices(market).nFamily == nFamilyBefore;
    BOOL bLost = FALSE;
    auto choose = [&](int nId, const CString& strText) -> bool {
        if (strText.IsEmpty() || GetBoxText(nId) == strText)
            return true;
        return SelectBoxText(nId, strText, /*bExact=*/TRUE) >= 0;
    };
    if (!choose(IDC_TICKET_SIDE, strSide))
        bLost = TRUE;
    OnSideChanged();
    ColourBySide();
    if (!choose(IDC_TICKET_VALIDITY, strValidity))
        bLost = TRUE;
    if (!choose(IDC_TICKET_TYPE, strType))
        bLost = TRUE;
    OnValidityChanged();
    OnOrderTypeChanged();
    auto put = [&](int nId, const CString& strText) {
        if (strText.IsEmpty())
            return;
        if (!bSameFamily || (::GetWindowLongA(::GetDlgItem(m_hWnd, nId), GWL_STYLE) & ES_READONLY) != 0) {
            bLost = TRUE;
            return;
        }
        SetText(nId, strText);
    };
    put(IDC_TICKET_QUANTITY, strQuantity);
    put(IDC_TICKET_LIMIT, strLimit);
    put(IDC_TICKET_STOP, strStop);
    if (COrderDur::GetCodeByText(GetBoxText(IDC_TICKET_VALIDITY)) == 1 && !strDays.IsEmpty()) {
        m_goodTill = goodTill;
        ApplyGoodTillDate();
    }
    if (bLost) {
        CString strText;
        strText.FormatMessage(IDS_TICKET_SYMBOLS_MARKET, static_cast<LPCSTR>(GetSymbolText()), static_cast<LPCSTR>(strMarket));
        ShowMarketInfo(strText, 0, 2);
    }
    UpdateSubmitButton();
}

void CNewPlaceOrderDlg::LoadRecentTickers()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr)
        return;
    for (int n = 0; n < RECENT_TICKERS; ++n) {
        const CString strTicker = pApp->ReadProfileText(".General", RecentTickerKey(n), "");
        if (!strTicker.IsEmpty() && SendDlgItemMessage(IDC_TICKET_TICKER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strTicker))) == CB_ERR)
            SendDlgItemMessage(IDC_TICKET_TICKER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strTicker)));
    }
}

void CNewPlaceOrderDlg::SaveRecentTickers()
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    MarketDetail market;
    if (pApp == nullptr || !GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(m_strMarket), market) ||
        !ReadMarketChoices(market).bKeepTickers)
        return;
    const int nCount = static_cast<int>(SendDlgItemMessage(IDC_TICKET_TICKER, CB_GETCOUNT));
    int n = 0;
    for (int i = nCount - 1; i >= 0 && n < RECENT_TICKERS; --i, ++n) {
        char szItem[256] = "";
        if (SendDlgItemMessage(IDC_TICKET_TICKER, CB_GETLBTEXTLEN, static_cast<WPARAM>(i)) < static_cast<LRESULT>(sizeof szItem))
            SendDlgItemMessage(IDC_TICKET_TICKER, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(szItem));
        pApp->WriteProfileText(".General", RecentTickerKey(n), szItem);
    }
}

void CNewPlaceOrderDlg::SetLimitPrice(double dPrice)
{
    SetText(IDC_TICKET_LIMIT, dPrice > 0 ? PriceText(dPrice) : CString());
}

void CNewPlaceOrderDlg::SetCurrency(LPCSTR pszCurrency)
{
    SetText(IDC_TICKET_CURRENCY, pszCurrency);
}

void CNewPlaceOrderDlg::SetMarketMaker(LPCSTR pszText)
{
    SetText(IDC_TICKET_MARKET_MAKER, pszText);
}

void CNewPlaceOrderDlg::SetContractNumber(LPCSTR pszText)
{
    SetText(IDC_TICKET_CONTRACT, pszText);
}

void CNewPlaceOrderDlg::SetQuantity(LPCSTR pszText)
{
    SetText(IDC_TICKET_QUANTITY, pszText);
}
