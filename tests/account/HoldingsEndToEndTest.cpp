// The holdings and unrealized profit and loss tables end to end as the trader against the test
// server with its market held still: every row and the grid's totals computed here from the
// server's own account state (--state) and compared with the tables, then again after quotes
// move, after the base currency changes, and with a symbol held on two markets of which one closes.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include "account/AccountTables.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/HoldingsValuation.h"
#include "account/CombinedHoldingsTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/FormMDIWnd.h"
#include "app/NorvMainFrame.h"
#include "app/StockActions.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "framework/base/TBString.h"
#include "framework/table/Row.h"
#include "framework/table/Table.h"
#include "framework/table/TreeNode.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "market/DataArray.h"
#include "market/QuotationKSETable.h"
#include "market/PreferencesDlg.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "platform/win/user/Menu.h"
#include "platform/win/gdi/ImageCodec.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/app/TerminalRun.h"
#include "tests/common/WindowPixels.h"
#include "tests/link/LinkSessionSupport.h"

namespace {
const int KSE = 2;
const int OPTIONS = 16;
const double CENT = 0.011;              // a cent, and the half cent a shown total may round by

// One position of the server's state, as it keeps it.
struct POSITION
{
    int nMarket = 0;
    std::string strSymbol;
    double dQuantity = 0, dCost = 0, dPrice = 0;
    std::string strCurrency;
    int nRight = 0;
};

struct STATE
{
    std::vector<POSITION> positions;
    std::map<std::string, double> rates;    // "USD>KWD": one unit of the first in the second
    double dDinars = 0;                     // the cash in dinars
};

std::vector<std::string> Split(const std::string& strLine)
{
    std::vector<std::string> fields;
    std::stringstream stream(strLine);
    std::string strField;
    while (std::getline(stream, strField, '|'))
        fields.push_back(strField);
    if (!strLine.empty() && strLine.back() == '|')
        fields.push_back("");
    return fields;
}

STATE ReadState(const std::string& strPath, const std::string& strUser)
{
    STATE state;
    std::ifstream file(strPath);
    std::string strLine;
    while (std::getline(file, strLine)) {
        const std::vector<std::string> f = Split(strLine);
        if (f.size() >= 10 && f[0] == "holding" && f[1] == strUser)
            state.positions.push_back({atoi(f[2].c_str()), f[3], atof(f[4].c_str()), atof(f[5].c_str()),
                                       atof(f[6].c_str()), f[7], atoi(f[8].c_str())});
        else if (f.size() >= 4 && f[0] == "cash" && f[1] == strUser && f[2] == "KWD")
            state.dDinars = atof(f[3].c_str());
        else if (f.size() >= 4 && f[0] == "rate")
            state.rates[f[1] + ">" + f[2]] = atof(f[3].c_str());
    }
    return state;
}

// The rate a row's currency ("=USD") converts into the base currency at: a pair the server
// sends, 1 for the base itself, else none.
double Rate(const STATE& state, const std::string& strFrom, const std::string& strBase)
{
    if (strFrom == strBase)
        return 1.0;
    const auto it = state.rates.find(strFrom.substr(1) + ">" + strBase.substr(1));
    return it != state.rates.end() ? it->second : 0.0;
}

// What the server values a position at that no quotation revalues: an option contract is a
// hundred shares.
double ServerValue(const POSITION& p)
{
    return p.dQuantity * p.dPrice * (p.nMarket == OPTIONS ? 100 : 1);
}

int GainColour(double dGain)
{
    return dGain > 0 ? 4 : dGain < 0 ? 3 : 0;
}

CDataTable* Table(UINT nNameId)
{
    return FindDataTable(nNameId);
}

std::string MarketName(int nMarket)
{
    return std::string(GetGlobals()->GetMarketName(nMarket));
}

// The text colour of a stored row's cell in the grid.
int TextColour(CDataTable* pTable, const CDataBuffer* pRow, int nCol)
{
    CRow key(pTable->GetTable(), pRow->GetValues());
    CRow found = pTable->GetTable()->FindRow(key);
    if (!found.IsValid() || found.GetViewRow(0) == nullptr || found.GetViewRow(0)->GetNode() == nullptr)
        return -1;
    return found.GetViewRow(0)->GetNode()->GetAttr(nCol, 1) & CELL_TEXT_MASK;
}

// The grand total line of the table's main window in a column, as shown.
double ShownTotal(CDataTable* pTable, int nCol)
{
    CViewTable* pView = pTable->GetMainWindow()->GetView();
    pView->SetTotalsMode(2);
    CViewRow row;
    double dTotal = NAN;
    for (int i = 0; pView->GetRow(row, i); ++i) {
        CTBString strText;
        if (row.IsDataRow() || !row.GetText(strText, nCol))
            continue;
        std::string strNumber;
        for (const char* p = strText; *p != '\0'; ++p)
            if (*p != ',' && *p != ' ')
                strNumber += *p;
        if (!strNumber.empty())
            dTotal = atof(strNumber.c_str());
    }
    return dTotal;
}

std::string ScreenshotPath(const std::string& strName)
{
    const std::string strFolder = std::string(TB_BINARY_DIR) + "/screenshots";
    std::system(("mkdir -p '" + strFolder + "'").c_str());
    return strFolder + "/" + strName + ".png";
}

void Shoot(CDataTable* pTable, const std::string& strName)
{
    CNorvApp::ShowTable(pTable);
    PumpFor(200);
    CTableMDIWnd* pWindow = pTable->GetMainWindow();
    ASSERT_NE(nullptr, pWindow);
    // Wide enough for the values, the gains and the sum line.
    pWindow->GetView()->SetTotalsMode(2);
    pWindow->MoveWindow(0, 0, 1500, 260);
    PumpFor(100);
    UpdateWindow(pWindow->m_hWnd);
    EXPECT_TRUE(TbSaveWindowPng(pWindow->m_hWnd, ScreenshotPath(strName).c_str()));
}

struct HoldingsSession : ::testing::Test
{
    CTestServer server;
    std::unique_ptr<CTerminalRun> pRun;
    std::string strState;
    CString strOldBase;

    void Start(bool bArabic)
    {
        char szState[] = "/tmp/account-state-XXXXXX";
        const int fd = mkstemp(szState);
        ASSERT_GE(fd, 0);
        close(fd);
        strState = szState;
        ASSERT_TRUE(server.Start({"--rate", "0", "--state", strState}));
        pRun = std::make_unique<CTerminalRun>(bArabic);
        pRun->m_onMakersRegistered = [] { RegisterAccountTables(); };
        ASSERT_TRUE(pRun->StartLoggedIn(server.Port(), "trader", "secret"));
        strOldBase = pRun->App().ReadProfileText(".General", "BaseCurrency", "");
        // Both loads of the combined table end with its KSE rows, priced from the board.
        const std::string strKse = MarketName(KSE);
        ASSERT_TRUE(PumpUntil([&] {
            CDataTable* pCombined = Table(IDS_TABLE_COMBINED_HOLDINGS);
            const CDataArray* pRows = pCombined != nullptr ? pCombined->GetRows() : nullptr;
            for (int i = 0; pRows != nullptr && i < pRows->GetCount(); ++i)
                if (std::string(pRows->GetAt(i)->GetText(CH_MARKET)) == strKse && !pCombined->IsReceiving())
                    return Table(IDS_TABLE_US_HOLDINGS)->IsComplete() && Table(IDS_TABLE_KSE_HOLDINGS)->IsComplete();
            return false;
        })) << pRun->InfoText() << Diagnosis();
        // The held shares join the watch list, so that their quotes value them.
        auto* pQuotes = dynamic_cast<CQuotationTable*>(Table(IDS_TABLE_US_QUOTATIONS));
        ASSERT_NE(nullptr, pQuotes);
        for (const POSITION& p : ReadState(strState, "trader").positions)
            if (p.nMarket != KSE && p.nMarket != OPTIONS)
                pQuotes->AddSymbol(p.strSymbol.c_str(), MarketName(p.nMarket).c_str(), nullptr);
        ASSERT_TRUE(PumpUntil([&] {
            for (const POSITION& p : ReadState(strState, "trader").positions) {
                if (p.nMarket == KSE || p.nMarket == OPTIONS)
                    continue;
                const CDataBuffer* pRow = pQuotes->FindQuote(p.strSymbol.c_str(), MarketName(p.nMarket).c_str());
                if (pRow == nullptr || pRow->GetDouble(QC_CLOSE) <= 0)
                    return false;
            }
            return true;
        }));
        SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_US_UNREALIZED, 0);
        ASSERT_TRUE(PumpUntil([] { return Table(IDS_TABLE_US_UNREALIZED)->IsComplete(); }));
        PumpFor(200);
    }

    std::string Diagnosis() const
    {
        std::string strText;
        for (UINT nId : {IDS_TABLE_US_HOLDINGS, IDS_TABLE_KSE_HOLDINGS, IDS_TABLE_COMBINED_HOLDINGS}) {
            CDataTable* pTable = Table(nId);
            strText += std::to_string(nId) + ": " + (pTable == nullptr ? std::string("none") :
                       std::to_string(pTable->GetRows()->GetCount()) + " rows, complete " +
                       std::to_string(pTable->IsComplete()) + ", receiving " + std::to_string(pTable->IsReceiving())) + "\n";
        }
        if (CDataTable* pCombined = Table(IDS_TABLE_COMBINED_HOLDINGS))
            for (int i = 0; i < pCombined->GetRows()->GetCount(); ++i)
                strText += std::string(pCombined->GetRows()->GetAt(i)->GetText(CH_SYMBOL)) + " / " +
                           std::string(pCombined->GetRows()->GetAt(i)->GetText(CH_MARKET)) + "\n";
        for (const std::string& line : server.Log())
            if (line.find("IH|") != std::string::npos || line.find("IK|") != std::string::npos || line.find("EN|") != std::string::npos)
                strText += line.substr(0, 200) + "\n";
        return strText;
    }

    void TearDown() override
    {
        if (pRun != nullptr)
            pRun->App().WriteProfileText(".General", "BaseCurrency", strOldBase);
        pRun.reset();
        server.Stop();
        if (!strState.empty())
            unlink(strState.c_str());
    }

    // A quote of a US symbol as the server sends it: the new last price over its reference.
    void Quote(int nMarket, const std::string& strSymbol, double dLast, double dReference)
    {
        char szLine[512];
        snprintf(szLine, sizeof szLine, "~GS|0|XC|%d|%s|0|1|%.2f|%.2f|%.2f|10:00:00|1|1|0#0|%.2f|%.2f|%.2f|||%.2f|",
                 nMarket, strSymbol.c_str(), dLast, dLast, dLast, dReference, dLast, dLast, dReference);
        pRun->App().GetDispatcher().OnServerMessage(szLine);
    }

    // A live position line of a US symbol on a market (quantity 0: sold out).
    void Position(int nMarket, const std::string& strSymbol, double dQuantity, double dCost, double dPrice)
    {
        char szLine[512];
        snprintf(szLine, sizeof szLine,
                 "~NH|0|XC||%s|%.0f|0|0|%.2f|%.2f|%.2f|10020||0|261201|261201|%.2f|%.2f||0|0||0|0|||||||%d|=USD||0|0",
                 strSymbol.c_str(), dQuantity, dCost, dPrice, dQuantity * dPrice, dCost, dCost, nMarket);
        pRun->App().GetDispatcher().OnServerMessage(szLine);
    }

    // Every row of the three valued tables and their totals against the state, each price
    // replaced by the one quoted since when given.
    void ExpectValued(const STATE& state, const std::string& strBase, const std::map<std::string, double>& quoted)
    {
        CDataTable* pUs = Table(IDS_TABLE_US_HOLDINGS);
        CDataTable* pCombined = Table(IDS_TABLE_COMBINED_HOLDINGS);
        CDataTable* pUnrealized = Table(IDS_TABLE_US_UNREALIZED);
        CDataTable* pKse = Table(IDS_TABLE_KSE_HOLDINGS);
        // Before any quote moves, every row shows the server's unrealized gain and its per cent
        // of the cost, a US row as a KSE one.
        const auto expectGain = [&](const CDataBuffer* pRow, int nGain, double dValue, double dCost) {
            if (quoted.empty()) {
                EXPECT_NEAR(dValue - dCost, pRow->GetDouble(nGain), CENT) << "gain";
                EXPECT_NEAR((dValue - dCost) * 100 / dCost, pRow->GetDouble(nGain + 1), CENT) << "per cent";
            }
        };
        // The KSE reply's cash line is worth its dinars.
        double dUsTotal = 0, dBaseTotal = state.dDinars * Rate(state, "=KWD", strBase);
        double dLongTotal = 0, dGainTotal = 0;
        int nUs = 0;
        for (const POSITION& p : state.positions) {
            const std::string strMarket = MarketName(p.nMarket);
            const auto itQuote = quoted.find(p.strSymbol + "@" + strMarket);
            const double dPrice = itQuote != quoted.end() ? itQuote->second : p.dPrice;
            SCOPED_TRACE(p.strSymbol + " on " + strMarket);
            if (p.nMarket == KSE) {
                // The board holds thousandths of a dinar.
                const CDataBuffer* pRow = pCombined->GetRows()->FindRow({p.strSymbol.c_str(), strMarket.c_str()});
                ASSERT_NE(nullptr, pRow);
                const double dDinars = dPrice / 1000.0, dValue = p.dQuantity * dDinars;
                EXPECT_NEAR(dDinars, pRow->GetDouble(CH_PRICE), 1e-6);
                EXPECT_NEAR(dValue, pRow->GetDouble(CH_VALUE), CENT);
                EXPECT_NEAR(dValue * Rate(state, "=KWD", strBase), pRow->GetDouble(CH_BASE_VALUE), CENT);
                expectGain(pRow, /*gain*/ 8, dValue, p.dCost);
                const CDataBuffer* pHeld = pKse->GetRows()->FindRow({p.strSymbol.c_str(), "0"});
                ASSERT_NE(nullptr, pHeld);
                expectGain(pHeld, /*gain*/ 10, dValue, p.dCost);
                dBaseTotal += dValue * Rate(state, "=KWD", strBase);
                continue;
            }
            ++nUs;
            const bool bQuoted = p.nMarket != OPTIONS;
            const double dValue = bQuoted ? p.dQuantity * dPrice : ServerValue(p);
            const double dRate = Rate(state, "=" + p.strCurrency, strBase);
            const CDataBuffer* pHolding = pUs->GetRows()->FindRow({p.strSymbol.c_str(), "10020", strMarket.c_str()});
            ASSERT_NE(nullptr, pHolding);
            EXPECT_NEAR(p.dQuantity, pHolding->GetDouble(HC_QUANTITY), 1e-9);
            EXPECT_NEAR(dPrice, pHolding->GetDouble(HC_PRICE), 1e-6);
            EXPECT_NEAR(dValue, pHolding->GetDouble(HC_VALUE), CENT);
            dUsTotal += dValue;

            const CDataBuffer* pRow = pCombined->GetRows()->FindRow({p.strSymbol.c_str(), strMarket.c_str()});
            ASSERT_NE(nullptr, pRow);
            EXPECT_NEAR(dValue, pRow->GetDouble(CH_VALUE), CENT);
            EXPECT_NEAR(dValue * dRate, pRow->GetDouble(CH_BASE_VALUE), CENT);
            expectGain(pRow, /*gain*/ 8, dValue, p.dCost);
            dBaseTotal += dValue * dRate;

            // Unrealized: the long side only; an option contract counts a hundred shares.
            const CDataBuffer* pOpen = pUnrealized->GetRows()->FindRow({p.strSymbol.c_str(), strMarket.c_str()});
            ASSERT_NE(nullptr, pOpen);
            const double dLong = dPrice * p.dQuantity * (p.nRight != 0 ? 100 : 1);
            const double dGain = dLong - p.dCost;
            const double dPercent = p.dCost == 0 ? 100 : dGain * 100 / p.dCost;
            const int nColour = GainColour(dGain);
            EXPECT_NEAR(dPrice, pOpen->GetDouble(UC_LAST), 1e-6);
            EXPECT_NEAR(dLong, pOpen->GetDouble(UC_LONG_VALUE), CENT);
            EXPECT_NEAR(dGain, pOpen->GetDouble(UC_LONG_GAIN), CENT);
            EXPECT_NEAR(dPercent, pOpen->GetDouble(UC_LONG_PERCENT), CENT);
            EXPECT_NEAR(0.0, pOpen->GetDouble(UC_SHORT_VALUE), CENT);
            EXPECT_NEAR(0.0, pOpen->GetDouble(UC_SHORT_PERCENT), CENT) << "no short position: a zero";
            EXPECT_EQ(nColour, TextColour(pUnrealized, pOpen, UC_LONG_GAIN));
            EXPECT_EQ(nColour, TextColour(pUnrealized, pOpen, UC_LONG_PERCENT));
            EXPECT_EQ(0, TextColour(pUnrealized, pOpen, UC_SHORT_GAIN));
            dLongTotal += dLong;
            dGainTotal += dGain;
        }
        EXPECT_EQ(nUs, pUs->GetRows()->GetCount());
        EXPECT_EQ(nUs, pUnrealized->GetRows()->GetCount());
        EXPECT_NEAR(dUsTotal, ShownTotal(pUs, HC_VALUE), CENT);
        EXPECT_TRUE(std::isnan(ShownTotal(pCombined, CH_VALUE))) << "dinars and dollars make no total";
        EXPECT_NEAR(dBaseTotal, ShownTotal(pCombined, CH_BASE_VALUE), CENT);
        EXPECT_NEAR(dLongTotal, ShownTotal(pUnrealized, UC_LONG_VALUE), CENT);
        EXPECT_NEAR(dGainTotal, ShownTotal(pUnrealized, UC_LONG_GAIN), CENT);
    }

    // The base currency chosen in the preferences form, applied as the user does.
    void ChooseBaseCurrency(const char* pszCode)
    {
        CFormMDIWnd* pForm = nullptr;
        pRun->App().OpenFormWindow(&pForm, IDD_FORM_PREFERENCES);
        ASSERT_NE(nullptr, pForm);
        const HWND hDlg = pForm->GetView()->m_hWnd;
        HWND hCombo = GetDlgItem(hDlg, IDC_PREFERENCES_CURRENCY);
        const LRESULT nItem = SendMessageA(hCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pszCode));
        ASSERT_GE(nItem, 0);
        SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(nItem), 0);
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_CURRENCY, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hCombo));
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_APPLY, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_PREFERENCES_APPLY)));
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDC_PREFERENCES_CLOSE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hDlg, IDC_PREFERENCES_CLOSE)));
        PumpFor(100);
        ASSERT_EQ(std::string(pszCode), std::string(pRun->App().GetBaseCurrency()));
    }
};

TEST_F(HoldingsSession, ValuesFollowTheServerQuotesAndTheBaseCurrencyInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_NO_FATAL_FAILURE(Start(bArabic));
        const STATE state = ReadState(strState, "trader");
        ASSERT_GE(state.positions.size(), 4u) << "shares and options of both families";
        ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=KWD"));
        ExpectValued(state, "=KWD", {});

        // Quotes move: only the quoted symbol's rows change.
        std::map<std::string, double> quoted;
        for (const POSITION& p : state.positions) {
            if (p.nMarket == KSE || p.nMarket == OPTIONS)
                continue;
            const double dLast = std::round(p.dPrice * 110) / 100;
            Quote(p.nMarket, p.strSymbol, dLast, p.dPrice);
            quoted[p.strSymbol + "@" + MarketName(p.nMarket)] = dLast;
        }
        ASSERT_FALSE(quoted.empty());
        ExpectValued(state, "=KWD", quoted);

        ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=USD"));
        ExpectValued(state, "=USD", quoted);
        const std::string strLanguage = bArabic ? "_ar" : "_en";
        Shoot(Table(IDS_TABLE_US_HOLDINGS), "account_us_holdings" + strLanguage);
        Shoot(Table(IDS_TABLE_COMBINED_HOLDINGS), "account_combined_holdings" + strLanguage);
        Shoot(Table(IDS_TABLE_US_UNREALIZED), "account_us_unrealized" + strLanguage);
        TearDown();
    }
}

TEST_F(HoldingsSession, ASymbolOnTwoMarketsIsValuedAndClosedPerMarket)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    const STATE state = ReadState(strState, "trader");
    const POSITION* pHeld = nullptr;
    for (const POSITION& p : state.positions)
        if (p.nMarket != KSE && p.nMarket != OPTIONS)
            pHeld = &p;
    ASSERT_NE(nullptr, pHeld);
    const int nOther = pHeld->nMarket == 8 ? 4 : 8;
    const std::string strHome = MarketName(pHeld->nMarket), strOther = MarketName(nOther);
    const char* pszSymbol = pHeld->strSymbol.c_str();

    // A position line of another account is no open position of this one.
    char szForeign[512];
    snprintf(szForeign, sizeof szForeign, "~NH|0|XC||ZZZZ|100|0|0|5000|50|5000|99||0|261201|261201|5000|5000||0|0||0|0|||||||%d|=USD||0|0",
             nOther);
    pRun->App().GetDispatcher().OnServerMessage(szForeign);
    EXPECT_EQ(nullptr, Table(IDS_TABLE_US_UNREALIZED)->GetRows()->FindRow({"ZZZZ"}));

    // The same symbol opened on the other market: a row of its own in each table.
    Position(nOther, pHeld->strSymbol, 100, 5000, 50);
    CDataTable* pUs = Table(IDS_TABLE_US_HOLDINGS);
    CDataTable* pCombined = Table(IDS_TABLE_COMBINED_HOLDINGS);
    CDataTable* pUnrealized = Table(IDS_TABLE_US_UNREALIZED);
    ASSERT_NE(nullptr, pUnrealized->GetRows()->FindRow({pszSymbol, strOther.c_str()}));
    ASSERT_NE(nullptr, pCombined->GetRows()->FindRow({pszSymbol, strOther.c_str()}));
    ASSERT_NE(nullptr, pUs->GetRows()->FindRow({pszSymbol, "10020", strOther.c_str()}));

    // The watch list's row follows a position to its market: the home market is listed again.
    auto* pQuotes = dynamic_cast<CQuotationTable*>(Table(IDS_TABLE_US_QUOTATIONS));
    pQuotes->AddSymbol(pszSymbol, strHome.c_str(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return pQuotes->FindQuote(pszSymbol, strHome.c_str()) != nullptr; }));
    PumpFor(100);

    // A quote of the home market values the home rows only.
    Quote(pHeld->nMarket, pHeld->strSymbol, 99.5, pHeld->dPrice);
    EXPECT_NEAR(99.5, pUs->GetRows()->FindRow({pszSymbol, "10020", strHome.c_str()})->GetDouble(HC_PRICE), 1e-6);
    EXPECT_NEAR(99.5 * pHeld->dQuantity,
                pCombined->GetRows()->FindRow({pszSymbol, strHome.c_str()})->GetDouble(CH_VALUE), CENT);
    EXPECT_NEAR(99.5, pUnrealized->GetRows()->FindRow({pszSymbol, strHome.c_str()})->GetDouble(UC_LAST), 1e-6);
    EXPECT_NE(99.5, pUs->GetRows()->FindRow({pszSymbol, "10020", strOther.c_str()})->GetDouble(HC_PRICE));
    EXPECT_NE(99.5, pCombined->GetRows()->FindRow({pszSymbol, strOther.c_str()})->GetDouble(CH_PRICE));
    // A live line of the home position with the server's older price: the quote values it again.
    Position(pHeld->nMarket, pHeld->strSymbol, pHeld->dQuantity, pHeld->dCost, 60);
    EXPECT_NEAR(99.5, pUs->GetRows()->FindRow({pszSymbol, "10020", strHome.c_str()})->GetDouble(HC_PRICE), 1e-6);
    EXPECT_NEAR(99.5, pCombined->GetRows()->FindRow({pszSymbol, strHome.c_str()})->GetDouble(CH_PRICE), 1e-6);
    const CDataBuffer* pOtherOpen = pUnrealized->GetRows()->FindRow({pszSymbol, strOther.c_str()});
    EXPECT_NEAR(50.0, pOtherOpen->GetDouble(UC_LAST), 1e-6);
    EXPECT_NEAR(50.0, pOtherOpen->GetDouble(UC_LONG_AVERAGE), 1e-6);
    EXPECT_NEAR(0.0, pOtherOpen->GetDouble(UC_LONG_GAIN), CENT);

    // Sold out on the other market: its unrealized row goes, the home row stays.
    Position(nOther, pHeld->strSymbol, 0, 0, 50);
    EXPECT_EQ(nullptr, pUnrealized->GetRows()->FindRow({pszSymbol, strOther.c_str()}));
    ASSERT_NE(nullptr, pUnrealized->GetRows()->FindRow({pszSymbol, strHome.c_str()}));
    const CDataBuffer* pClosed = pUs->GetRows()->FindRow({pszSymbol, "10020", strOther.c_str()});
    ASSERT_NE(nullptr, pClosed);
    EXPECT_EQ(0.0, pClosed->GetDouble(HC_QUANTITY));
    EXPECT_EQ(0.0, pClosed->GetDouble(HC_VALUE));

    // Open again without quantity on the long side: the average is 0, not a division by zero.
    char szLine[512];
    snprintf(szLine, sizeof szLine, "~NH|0|XC||%s|0|0|0|10|50|0|10020||0|261201|261201|10|10||5|0||0|0|||||||%d|=USD||0|0",
             pszSymbol, nOther);
    pRun->App().GetDispatcher().OnServerMessage(szLine);
    const CDataBuffer* pShort = pUnrealized->GetRows()->FindRow({pszSymbol, strOther.c_str()});
    ASSERT_NE(nullptr, pShort);
    EXPECT_EQ("0", std::string(pShort->GetText(UC_LONG_AVERAGE)).substr(0, 1));
    EXPECT_TRUE(std::isfinite(pShort->GetDouble(UC_LONG_AVERAGE)));
}

int CountItems(HMENU hMenu, UINT nId)
{
    int nCount = 0;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        nCount += GetMenuItemID(hMenu, i) == nId ? 1 : 0;
    return nCount;
}

TEST_F(HoldingsSession, CashLinesKeepOneRowAndTheDinarsConvert)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    const STATE state = ReadState(strState, "trader");
    ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=KWD"));
    CDataTable* pCombined = Table(IDS_TABLE_COMBINED_HOLDINGS);
    CDataTable* pKse = Table(IDS_TABLE_KSE_HOLDINGS);
    const int nCombined = pCombined->GetRows()->GetCount(), nKse = pKse->GetRows()->GetCount();
    // The dollars and the dinars as their live lines tell them, each twice.
    for (int i = 0; i < 2; ++i) {
        pRun->App().GetDispatcher().OnServerMessage(
            "~NH|0|XC||=USD|5000|0|0|0|1|5000|10020||0|||0|0||0|0||0|0|||||||8|=USD||0|0");
        pRun->App().GetDispatcher().OnServerMessage(
            "~IU|0|XC||0|0|1234.5|0|0|1234.5|0|1|1234.5|0|0|0|1234.5|0|0|=KWD||0");
    }
    // A held stock's live line finds its row in both tables.
    for (int i = 0; i < 2; ++i)
        pRun->App().GetDispatcher().OnServerMessage(
            "~IU|0|XC||0|107|50000|0|0|40000|0|1125|99999|0|0|0|56250|0|0|=KWD||0");
    EXPECT_EQ(nCombined + 1, pCombined->GetRows()->GetCount()) << "one row per currency: the dinars came with the reply";
    EXPECT_EQ(nKse, pKse->GetRows()->GetCount());
    const CDataBuffer* pDollars = pCombined->GetRows()->FindRow({"=USD", ""});
    ASSERT_NE(nullptr, pDollars) << "found where it is looked for: no market";
    const CDataBuffer* pDinars = pCombined->GetRows()->FindRow({"=KWD", "", "0"});
    ASSERT_NE(nullptr, pDinars);
    EXPECT_EQ("=KWD", std::string(pDinars->GetText(CH_CURRENCY)));
    EXPECT_NEAR(1234.5, pDinars->GetDouble(CH_BASE_VALUE), CENT);
    EXPECT_NEAR(5000 * Rate(state, "=USD", "=KWD"), pDollars->GetDouble(CH_BASE_VALUE), CENT);
    EXPECT_EQ(nullptr, Table(IDS_TABLE_US_UNREALIZED)->GetRows()->FindRow({"=USD"})) << "dollars are no open position";
    // The line's position in its row, valued at the board's price rather than the line's value.
    const CDataBuffer* pStock = Table(IDS_TABLE_KSE_QUOTATIONS)->GetRows()->FindRowByIds({107L});
    ASSERT_NE(nullptr, pStock);
    const double dFils = pStock->GetDouble(KC_LAST) > 0 ? pStock->GetDouble(KC_LAST) : pStock->GetDouble(KC_PREVIOUS);
    EXPECT_NEAR(50000 * dFils / 1000, pKse->GetRows()->FindRow({"107", "0"})->GetDouble(9), 0.0005);
    const CDataBuffer* pCash = pKse->GetRows()->FindRow({"0", "0"});
    ASSERT_NE(nullptr, pCash);
    EXPECT_EQ("=KWD", std::string(pCash->GetText(0)));

    ASSERT_NO_FATAL_FAILURE(ChooseBaseCurrency("=USD"));
    EXPECT_NEAR(1234.5 * Rate(state, "=KWD", "=USD"), pDinars->GetDouble(CH_BASE_VALUE), CENT);
    EXPECT_NEAR(5000.0, pDollars->GetDouble(CH_BASE_VALUE), CENT);
}

// The KSE holdings as the trader opens them: the dinars first, and the same total in both languages.
TEST_F(HoldingsSession, KseHoldingsShowTheDinarsInBothLanguages)
{
    for (bool bArabic : {false, true}) {
        SCOPED_TRACE(bArabic ? "Arabic" : "English");
        ASSERT_NO_FATAL_FAILURE(Start(bArabic));
        const STATE state = ReadState(strState, "trader");
        SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_KSE_HOLDINGS, 0);
        CDataTable* pKse = Table(IDS_TABLE_KSE_HOLDINGS);
        double dValue = state.dDinars;
        for (const POSITION& p : state.positions)
            dValue += p.nMarket == KSE ? p.dQuantity * p.dPrice / 1000.0 : 0;
        CViewRow row;
        CTBString strName;
        ASSERT_TRUE(pKse->GetMainWindow()->GetView()->GetRow(row, 0) && row.GetText(strName, 0));
        EXPECT_EQ("=KWD", std::string(strName));
        EXPECT_NEAR(dValue, ShownTotal(pKse, /*market value*/ 9), CENT);
        TearDown();
    }
}

TEST_F(HoldingsSession, MenusKeepOneSetOfSymbolItemsAndOptionColumnsStayHidden)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    CDataTable* pUnrealized = Table(IDS_TABLE_US_UNREALIZED);
    CNorvApp::ShowTable(pUnrealized);
    HMENU hMenu = pUnrealized->CreateContextMenu();
    ASSERT_NE(nullptr, hMenu);
    // Whatever the standard menu holds, each opening leaves one set with its one separator.
    pUnrealized->OnInitMenuPopup(hMenu, 0, FALSE);
    const int nItems = GetMenuItemCount(hMenu);
    for (int i = 0; i < 3; ++i)
        pUnrealized->OnInitMenuPopup(hMenu, 0, FALSE);
    EXPECT_EQ(nItems, GetMenuItemCount(hMenu));
    for (UINT nId : {ID_POSITIONS_SYMBOL, ID_POSITIONS_SYMBOL_BOOK, ID_POSITIONS_SYMBOL_NEWS})
        EXPECT_EQ(1, CountItems(hMenu, nId)) << nId;
    DestroyMenu(hMenu);

    // Go to symbol: the selected holding's chart, unless its market looks symbols up in the
    // quotations.
    struct CCharts : IStockActions
    {
        void OpenOrderTicketKSE(int, LPCSTR, double, long, long) override {}
        void OpenChart(LPCSTR pszStock, int nKind, long nMarket) override
        {
            opened.push_back(std::string(pszStock) + "|" + std::to_string(nKind) + "|" + std::to_string(nMarket));
        }
        void OpenCompanyNews(LPCSTR, long) override {}
        BOOL CanEnterOrderKSE() const override { return TRUE; }
        BOOL CanEnterOrderUS() const override { return TRUE; }
        BOOL CanOpenChart(int) const override { return TRUE; }
        BOOL CanOpenCompanyNews() const override { return TRUE; }
        std::vector<std::string> opened;
    } charts;
    IStockActions* pApplication = GetStockActions();
    SetStockActions(&charts);
    CDataTable* pHoldings = Table(IDS_TABLE_US_HOLDINGS);
    CNorvApp::ShowTable(pHoldings);
    pHoldings->GetMainWindow()->GetGrid().SelectRow(0, 0, FALSE);
    ASSERT_NE(nullptr, pHoldings->GetSelectedDataRow());
    CDataBuffer* pRow = pHoldings->GetSelectedDataRow();
    ASSERT_NE(nullptr, pRow);
    const std::string strSymbol(pRow->GetText(HC_SYMBOL));
    const CString strMarket = pRow->GetText(HC_MARKET);
    MarketDetail market;
    ASSERT_TRUE(GetGlobals()->LookupMarket(GetGlobals()->GetMarketCode(strMarket), market));
    ASSERT_EQ(1, market.m_nQuoteLookupFlag) << "the US boards look their symbols up";
    pHoldings->OnCmdMsg(ID_POSITIONS_SYMBOL, CN_COMMAND, nullptr, nullptr);
    // The same row on the KSE, whose symbols are charted.
    pRow->SetText(HC_MARKET, GetGlobals()->GetMarketName(2), TRUE);
    pHoldings->OnCmdMsg(ID_POSITIONS_SYMBOL, CN_COMMAND, nullptr, nullptr);
    pRow->SetText(HC_MARKET, strMarket, TRUE);
    SetStockActions(pApplication);
    EXPECT_EQ(std::vector<std::string>{strSymbol + "|0|2"}, charts.opened);

    // The show commands leave the option columns hidden and out of the user's reach.
    CTable* pEngine = Table(IDS_TABLE_US_HOLDINGS)->GetTable();
    pEngine->GetColumn(11).SetHidden(FALSE);
    SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_US_HOLDINGS, 0);
    for (int nCol : {10, 11, 12, 13})
        EXPECT_TRUE(pEngine->GetColumn(nCol).IsHidden()) << nCol;
    CTable* pOpen = pUnrealized->GetTable();
    pOpen->GetColumn(UC_OPTION_RIGHT).SetHidden(FALSE);
    SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, ID_APP_US_UNREALIZED, 0);
    for (int nCol : {UC_OPTION, UC_OPTION_RIGHT, UC_STRIKE, UC_EXPIRY})
        EXPECT_TRUE(pOpen->GetColumn(nCol).IsHidden()) << nCol;
}

// Quotes of both markets move while every position window is open, the windows overlapping and
// partly out of the workspace: each paints its changed rows at once, and what it then shows is
// what a full repaint of it shows.
TEST_F(HoldingsSession, LiveRevaluationsLeaveEveryPositionWindowAsAFullRepaint)
{
    ASSERT_NO_FATAL_FAILURE(Start(false));
    SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, 33235, 0);    // KSE unrealized
    ASSERT_TRUE(PumpUntil([] { return Table(IDS_TABLE_KSE_UNREALIZED)->IsComplete(); }));
    ASSERT_TRUE(CCombinedUnrealizedProfitLossTable::OpenForAccount("10020"));
    ASSERT_TRUE(PumpUntil([] {
        for (UINT nTable : g_positionTables)
            if (Table(nTable) == nullptr || !Table(nTable)->IsComplete() || Table(nTable)->GetMainWindow() == nullptr)
                return false;
        return true;
    }));
    int nPlace = 0;
    for (UINT nTable : g_positionTables) {
        CNorvApp::ShowTable(Table(nTable));
        CTableMDIWnd* pWindow = Table(nTable)->GetMainWindow();
        pWindow->GetView()->SetTotalsMode(2);
        pWindow->MoveWindow(nPlace * 60, nPlace * 40, 2600, 240);     // wide enough for every value column
        ++nPlace;
    }
    PumpFor(200);
    std::map<UINT, std::vector<COLORREF>> before;
    for (UINT nTable : g_positionTables)
        before[nTable] = WindowPixels(Table(nTable)->GetMainWindow()->GetGrid().m_hWnd);
    const STATE state = ReadState(strState, "trader");
    CDataTable* pBoard = Table(IDS_TABLE_KSE_QUOTATIONS);
    for (int nStep = 1; nStep <= 2; ++nStep) {
        SCOPED_TRACE("move " + std::to_string(nStep));
        for (const auto& p : state.positions) {
            if (p.nMarket == KSE) {
                CDataBuffer* pStock = pBoard->GetRows()->FindRowByIds({static_cast<LONG>(atol(p.strSymbol.c_str()))});
                ASSERT_NE(nullptr, pStock) << p.strSymbol;
                pStock->SetText(KC_LAST, std::to_string(static_cast<long>(p.dPrice) + nStep * 5).c_str(), TRUE);
                RevaluePositionsOf(p.strSymbol.c_str(), KSE_MARKET_CODE);    // as the board's live line does
            } else if (p.nMarket != OPTIONS) {
                Quote(p.nMarket, p.strSymbol, p.dPrice + nStep * 0.25, p.dPrice);
            }
        }
        PumpFor(50);
        for (UINT nTable : g_positionTables) {
            const HWND hGrid = Table(nTable)->GetMainWindow()->GetGrid().m_hWnd;
            const std::vector<COLORREF> live = WindowPixels(hGrid);
            InvalidateRect(hGrid, nullptr, FALSE);
            UpdateWindow(hGrid);
            const std::vector<COLORREF> full = WindowPixels(hGrid);
            RECT rc;
            GetClientRect(hGrid, &rc);
            size_t nStale = 0;
            while (nStale < live.size() && live[nStale] == full[nStale])
                ++nStale;
            EXPECT_EQ(live.size(), nStale) << "table " << nTable << " stale from " << nStale % static_cast<size_t>(rc.right)
                                           << "," << nStale / static_cast<size_t>(rc.right);
        }
    }
    // Every window with positions showed the moves (the combined report of this account may be empty).
    for (UINT nTable : g_positionTables)
        if (Table(nTable)->GetRows()->GetCount() > 0) {
            EXPECT_NE(before[nTable], WindowPixels(Table(nTable)->GetMainWindow()->GetGrid().m_hWnd))
                << "table " << nTable << " follows the quotes";
        }
}
}  // namespace
