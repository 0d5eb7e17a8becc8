// Every window that shows positions, open at once against an account at a real account's scale
// (hundreds of positions on both markets, options and forward contracts, costs to a hundredth of
// a cent and to a tenth of a fils, quantities to billions, losses in millions), fed random
// sequences of the server's lines: US quotes, KSE board lines, position lines, fills and each
// window's reply. After each line has settled, a position reads alike in every window and each
// row adds up as it shows.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>
#include <unistd.h>
#include "account/CombinedHoldingsTable.h"
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/InvestorHoldingsTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/NorvApp.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/TableMDIWnd.h"
#include "framework/base/ColumnValues.h"
#include "framework/table/ViewRow.h"
#include "framework/table/ViewTable.h"
#include "framework/window/TableWindow.h"
#include "link/MessageTypes.h"
#include "market/DataArray.h"
#include "market/QuotationTable.h"
#include "market/TableLinks.h"
#include "refdata/ZorvatGlobals.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/app/AppTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Property.h"

namespace {
// Where each window shows a position: its key, quantity, price, cost, value, gain and per cent,
// and how many of its price's units make the board's (the combined windows show a KSE price in
// dinars, the board quotes fils).
struct POSITION_WINDOW
{
    UINT nTable;
    int nKey, nQuantity, nQuantity2, nPrice, nCost, nValue, nGain, nPercent;
    double dKseFilsPerShown = 1;
    int nGainAgain = -1, nPercentAgain = -1;    // the same figures shown a second time in the row
    int nAdded = -1;    // what the server adds to the value, which the other windows leave out
    int nAverage = -1;  // the average cost, of a KSE row in fils (nAverage of KSE unrealized) or dinars
};
// The markets whose positions a window shows: the KSE's, the US boards' (options among them).
bool ShowsKse(UINT nTable)
{
    return nTable != IDS_TABLE_US_HOLDINGS && nTable != IDS_TABLE_US_UNREALIZED;
}
bool ShowsUs(UINT nTable)
{
    return nTable != IDS_TABLE_KSE_HOLDINGS && nTable != IDS_TABLE_KSE_UNREALIZED;
}
const POSITION_WINDOW s_windows[] = {
    {IDS_TABLE_US_HOLDINGS, HC_SYMBOL, HC_QUANTITY, HC_QUANTITY2, HC_PRICE, HC_COST, HC_VALUE, HC_GAIN, HC_PERCENT},
    {IDS_TABLE_KSE_HOLDINGS, 1, 3, 6, 8, 7, 9, 10, 11},
    {IDS_TABLE_COMBINED_HOLDINGS, CH_SYMBOL, CH_QUANTITY, CH_QUANTITY2, CH_PRICE, CH_COST, CH_VALUE, CH_GAIN, CH_GAIN_PERCENT, 1000, CH_GAIN_2},
    {IDS_TABLE_US_UNREALIZED, UC_SYMBOL, UC_LONG_QTY, UC_LONG_QTY2, UC_LAST, UC_LONG_COST, UC_LONG_VALUE, UC_LONG_GAIN, UC_LONG_PERCENT, 1,
     UC_LONG_AMOUNT, UC_LONG_AMOUNT_PERCENT},
    {IDS_TABLE_KSE_UNREALIZED, UK_STOCK, UK_QTY, UK_QTY2, UK_PRICE, UK_COST, UK_VALUE, UK_GAIN, UK_PERCENT, 1, -1, -1, UK_EXTRA, UK_AVERAGE},
    {IDS_TABLE_COMBINED_UNREALIZED, CU_SYMBOL, CU_QTY, CU_QTY2, CU_PRICE, CU_COST, CU_VALUE, CU_GAIN, CU_PERCENT, 1000, CU_SERVER_GAIN, -1,
     CU_EXTRA, CU_AVERAGE},
};

const POSITION_WINDOW& WindowOf(UINT nTable)
{
    const auto it = std::find_if(std::begin(s_windows), std::end(s_windows), [&](const POSITION_WINDOW& w) { return w.nTable == nTable; });
    if (it == std::end(s_windows))
        throw std::runtime_error("a position window whose columns the test lacks: " + std::to_string(nTable));
    return *it;
}

// A held position of the generated account.
struct GEN_POSITION
{
    int nMarket = 2;        // 2 KSE, 8 a US board, 16 the options board
    std::string strSymbol;  // KSE: the stock code
    long long nQuantity = 0;
    double dPrice = 0;      // the purchase price: fils to a tenth, dollars to a hundredth of a cent
    double dClose = 0;      // the board's previous close (fils) or the symbol's close
    double dAdded = 0;      // KSE: an amount the server adds to its value in the unrealized reports
    bool bWritten = false;  // an option: contracts sold to open, a short position
};

struct GEN_ACCOUNT
{
    std::vector<GEN_POSITION> positions;
    bool bArabic = false;
};

// A step: a line of the server's, or a trader's fill.
enum STEP_KIND { STEP_US_QUOTE, STEP_KSE_BOARD, STEP_POSITION_LINE, STEP_FILL, STEP_REPLY, STEP_KIND_COUNT };
struct STEP
{
    int nKind = 0;
    size_t nPosition = 0;   // the position it is about (modulo the account's)
    int nMove = 0;          // a price move in ticks (0: no last price)
    size_t nWindow = 0;     // the window a reply is for (modulo the windows)
    bool bNoClose = false;  // a board line with no price at all: no last, no previous close
    bool bOption = false;   // a quote or line of one of the account's options, if it holds any
};

// A figure as a server writes it: rounded as it is written, half away from zero.
std::string Text(double dValue, int nPlaces)
{
    char sz[64];
    snprintf(sz, sizeof sz, "%.*f", nPlaces, RoundHalfAwayFromZero(dValue, nPlaces));
    return sz;
}

std::string FourLetters(size_t n)
{
    std::string str = "Q";
    for (int i = 0; i < 3; ++i) {
        str += static_cast<char>('A' + n % 26);
        n /= 26;
    }
    return str;
}

rc::Gen<GEN_ACCOUNT> AccountGen()
{
    return rc::gen::exec([] {
        GEN_ACCOUNT account;
        account.bArabic = *rc::gen::arbitrary<bool>();
        const int nKse = *rc::gen::inRange(20, 140), nUs = *rc::gen::inRange(20, 140), nOptions = *rc::gen::inRange(1, 12);
        for (int i = 0; i < nKse; ++i) {
            GEN_POSITION p;
            p.strSymbol = std::to_string(300 + i);
            // Up to billions of shares, of a penny stock; a tenth of a fils makes a cost's fraction
            // of a fils.
            const bool bMany = *rc::gen::inRange(0, 4) == 0;
            p.nQuantity = bMany ? *rc::gen::inRange<long long>(1000000, 2000000000LL) : *rc::gen::inRange<long long>(1, 500000);
            p.dPrice = *rc::gen::inRange(1, bMany ? 1000 : 20000) / 10.0;
            // On a tick of every band of the board.
            p.dClose = *rc::gen::inRange(2, 200) * 10.0;
            if (*rc::gen::inRange(0, 4) == 0)
                p.dAdded = *rc::gen::inRange(-5000000, 50000000) / 1000.0;
            account.positions.push_back(p);
        }
        for (int i = 0; i < nUs; ++i) {
            GEN_POSITION p;
            p.nMarket = 8;
            p.strSymbol = FourLetters(static_cast<size_t>(i));
            // A hundredth of a cent; bought far above the close, a loss in millions.
            const bool bMany = *rc::gen::inRange(0, 4) == 0;
            p.nQuantity = bMany ? *rc::gen::inRange<long long>(100000, 100000000LL) : *rc::gen::inRange<long long>(1, 100000);
            p.dPrice = *rc::gen::inRange(100, bMany ? 50000 : 5000000) / 10000.0;
            p.dClose = *rc::gen::inRange(100, 50000) / 100.0;
            account.positions.push_back(p);
        }
        for (int i = 0; i < nOptions; ++i) {
            GEN_POSITION p;
            p.nMarket = 16;
            // The December call at 45 on one of the generated symbols (its chain written below).
            p.strSymbol = FourLetters(static_cast<size_t>(i)) + "LI";
            p.nQuantity = *rc::gen::inRange<long long>(1, 50);
            p.dPrice = *rc::gen::inRange(1, 2000) / 100.0;
            // Now and then contracts written: the short side values them.
            p.bWritten = *rc::gen::inRange(0, 3) == 0;
            account.positions.push_back(p);
        }
        return account;
    });
}

rc::Gen<std::vector<STEP>> StepsGen()
{
    return rc::gen::container<std::vector<STEP>>(rc::gen::exec([] {
        STEP step;
        step.nKind = *rc::gen::weightedOneOf<int>({{4, rc::gen::just<int>(STEP_US_QUOTE)},
                                                   {4, rc::gen::just<int>(STEP_KSE_BOARD)},
                                                   {3, rc::gen::just<int>(STEP_POSITION_LINE)},
                                                   {1, rc::gen::just<int>(STEP_FILL)},
                                                   {1, rc::gen::just<int>(STEP_REPLY)}});
        step.nPosition = *rc::gen::inRange<size_t>(0, 100000);
        step.nMove = *rc::gen::inRange(-40, 41);
        step.nWindow = *rc::gen::inRange<size_t>(0, 6);
        // Now and then a stock the board stops pricing at all.
        step.bNoClose = *rc::gen::inRange(0, 8) == 0;
        // The few options of an account are quoted and priced as often as its hundreds of stocks.
        step.bOption = *rc::gen::inRange(0, 3) == 0;
        return step;
    }));
}

// The simulator's data with the account in place of the trader's, and its symbols.
std::string AccountData(const GEN_ACCOUNT& account)
{
    const std::string strData = std::filesystem::temp_directory_path() / ("positions-property-" + std::to_string(getpid()));
    std::filesystem::remove_all(strData);
    std::filesystem::copy(TB_SOURCE_DIR "/tools/testserver/data", strData, std::filesystem::copy_options::recursive);
    const auto edit = [&](const std::string& strFile, bool bDropTrader, const std::string& strAdded) {
        const std::string strPath = strData + "/market/" + strFile;
        std::ifstream in(strPath);
        std::string strLine, strKept;
        while (std::getline(in, strLine))
            if (!bDropTrader || strLine.rfind("trader|", 0) != 0)
                strKept += strLine + "\n";
        in.close();
        std::ofstream(strPath) << strKept << strAdded;
    };
    std::string strStocks, strSymbols, strOptions, strHeld = "trader|C|0|KWD|1000000|0\ntrader|C|0|USD|2000000|0\n";
    std::set<std::string> underlyings;
    for (const GEN_POSITION& p : account.positions)
        if (p.nMarket == 16)
            underlyings.insert(p.strSymbol.substr(0, 4));
    for (const GEN_POSITION& p : account.positions) {
        if (p.nMarket == 2) {
            strStocks += p.strSymbol + "|S" + p.strSymbol + "|Stock " + p.strSymbol + "|سهم " + p.strSymbol + "|1|" + Text(p.dClose, 0) + "|10|0\n";
            strHeld += "trader|H|2|" + p.strSymbol + "|" + std::to_string(p.nQuantity) + "|" + Text(p.dPrice, 1) + "\n";
            if (p.dAdded != 0)
                strHeld += "trader|A|2|" + p.strSymbol + "|0|" + Text(p.dAdded, 3) + "\n";
        } else if (p.nMarket == 8) {
            const bool bChain = underlyings.count(p.strSymbol) != 0;
            strSymbols += p.strSymbol + "|8|Company " + p.strSymbol + "|شركة " + p.strSymbol + "|" + Text(p.dClose, 2) + "|1.00|" +
                          (bChain ? "1" : "0") + "|0\n";
            if (bChain)
                strOptions += p.strSymbol + "|1|45|20261218\n";
            strHeld += "trader|H|8|" + p.strSymbol + "|" + std::to_string(p.nQuantity) + "|" + Text(p.dPrice, 4) + "\n";
        } else {
            strHeld += std::string("trader|") + (p.bWritten ? "W" : "O") + "|16|" + p.strSymbol + "|" + std::to_string(p.nQuantity) + "|" + Text(p.dPrice, 2) + "\n";
        }
    }
    // A forward contract beside them, as a real account holds.
    strHeld += "trader|F|1|300|10000|849.585\n";
    edit("stocks.txt", false, strStocks);
    edit("us_symbols.txt", false, strSymbols);
    edit("options.txt", false, strOptions);
    edit("portfolios.txt", true, strHeld);
    return strData;
}

double Number(const std::string& strText)
{
    std::string strPlain;
    for (char c : strText)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-')
            strPlain += c;
    return atof(strPlain.c_str());
}

// One row of a window as it shows.
struct SHOWN_ROW
{
    std::string strQuantity, strPrice, strCost, strValue, strGain, strPercent, strGainAgain, strPercentAgain, strAdded;
    std::string strAverage;   // in dinars
};

struct PositionWindowsProperty : CAccountSession
{
    void Command(UINT nId) { SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0); }

    // The combined report asked for the trader's account through its dialog, as the trader does:
    // the command also turns the unrealized reports' selector back on, which the KSE report's
    // command turns off.
    bool AskCombinedReport()
    {
        RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [](HWND hDlg) {
                             EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, "10020");
                             ClickControl(hDlg, IDOK);
                         }}});
        Command(40229);
        return FinishedSteps();
    }

    bool Loaded(UINT nTable)
    {
        CDataTable* pTable = FindDataTable(nTable);
        if (pTable == nullptr || !PumpUntil([&] { return pTable->IsComplete() && !pTable->IsReceiving() && pTable->GetRows()->GetCount() > 0; }))
            return false;
        CNorvApp::ShowTable(pTable);
        return true;
    }

    // Every window that values positions, from the code's own list, open at once.
    bool OpenEveryPositionWindow()
    {
        for (UINT nTable : g_positionTables) {
            if (nTable == IDS_TABLE_KSE_UNREALIZED)
                Command(33235);
            else if (nTable == IDS_TABLE_US_UNREALIZED)
                Command(ID_APP_US_UNREALIZED);
            else if (nTable == IDS_TABLE_COMBINED_UNREALIZED && !AskCombinedReport())
                return false;
            if (!Loaded(nTable))
                return false;
        }
        return true;
    }

    // Settled: no window waits for a reply and the lines sent have come.
    void Settle()
    {
        PumpFor(60);
        PumpUntil([] {
            for (UINT nTable : g_positionTables)
                if (CDataTable* pTable = FindDataTable(nTable); pTable != nullptr && pTable->IsReceiving())
                    return false;
            return true;
        }, 5000);
        PumpFor(20);
    }

    // The latest line of a mnemonic the server sent whose field nField holds the key.
    std::vector<std::string> LatestSent(const std::string& strMnemonic, size_t nField, const std::string& strKey) const
    {
        std::vector<std::string> found;
        for (const std::string& line : Sent(strMnemonic))
            if (const std::vector<std::string> f = Split(line); f.size() > nField && f[nField] == strKey)
                found = f;
        return found;
    }

    void Dispatch(const std::vector<std::string>& fields)
    {
        std::string strLine;
        for (const std::string& strField : fields)
            strLine += (strLine.empty() ? "" : "|") + strField;
        pRun->App().GetDispatcher().OnServerMessage(strLine.c_str());
        m_strLast = strLine;
    }
    std::string m_strLast;
    const GEN_ACCOUNT* m_pAccount = nullptr;
    std::set<std::string> m_filled;     // the positions a fill of the sequence changed, by key

    // A position's cost from its portfolio line (ten-thousandths of a dinar or dollar), rounded
    // once to nPlaces; -1 for one the sequence filled or that only written contracts hold.
    long long ModelCost(const std::string& strKey, int nPlaces) const
    {
        if (m_filled.count(strKey) != 0 || nPlaces > 4)
            return -1;
        for (const GEN_POSITION& p : m_pAccount->positions) {
            if ((p.nMarket == 2 ? "2:" : "8:") + p.strSymbol != strKey)
                continue;
            if (p.bWritten)
                return -1;
            // KSE prices in tenths of a fils, US in ten-thousandths of a dollar, contracts of a
            // hundred shares in cents.
            const long long nCost = p.nMarket == 2   ? p.nQuantity * std::llround(p.dPrice * 10)
                                    : p.nMarket == 8 ? p.nQuantity * std::llround(p.dPrice * 10000)
                                                     : p.nQuantity * std::llround(p.dPrice * 100) * 10000;
            long long nDivisor = 1;
            for (int i = nPlaces; i < 4; ++i)
                nDivisor *= 10;
            return (nCost + nDivisor / 2) / nDivisor;
        }
        return -1;
    }

    void Run(const STEP& step, const GEN_ACCOUNT& account)
    {
        std::vector<const GEN_POSITION*> options;
        for (const GEN_POSITION& held : account.positions)
            if (held.nMarket == 16)
                options.push_back(&held);
        const GEN_POSITION& p = step.bOption && !options.empty() ? *options[step.nPosition % options.size()]
                                                                 : account.positions[step.nPosition % account.positions.size()];
        switch (step.nKind) {
        case STEP_US_QUOTE: {
            // The symbol's (or an option's underlying's) latest quote, its last moved by ticks of a
            // cent from the close, or none.
            // An option is quoted itself or moves with its underlying.
            const std::string strSymbol = p.nMarket == 2    ? FourLetters(step.nPosition % 20)
                                          : p.nMarket == 16 && step.nMove % 2 == 0 ? p.strSymbol
                                                                                   : p.strSymbol.substr(0, 4);
            std::vector<std::string> f;
            for (const std::string& line : Sent("GS"))
                if (const std::vector<std::string> g = Split(line); g.size() > 7 && g[4] == strSymbol)
                    f = g;
            // The options board's quote of an option, on the underlying's line.
            if (f.empty() && p.nMarket == 16)
                for (const std::string& line : Sent("GS"))
                    if (const std::vector<std::string> g = Split(line); g.size() > 7 && g[4] == p.strSymbol.substr(0, 4)) {
                        f = g;
                        f[3] = "16";
                        f[4] = p.strSymbol;
                        // The option's own close: its premium of the day before.
                        f[4 + 15] = Text(p.dPrice, 2);
                    }
            if (f.empty())
                return;
            f[1] = "0";
            f[7] = step.nMove == 0 ? "0" : Text(std::max(0.01, (p.nMarket == 16 ? p.dPrice : p.dClose) + step.nMove * 0.0137), 4);
            Dispatch(f);
            break;
        }
        case STEP_KSE_BOARD: {
            const std::string strStock = p.nMarket == 2 ? p.strSymbol : std::to_string(300 + step.nPosition % 20);
            std::vector<std::string> f;
            for (const std::string& row : LastReplyRows("SQ"))
                if (Split(row)[0] == strStock)
                    f = Split(row);
            if (f.empty())
                return;
            f[1] = step.nMove == 0 || step.bNoClose ? "0" : Text(std::max(10.0, p.dClose + step.nMove * 10.0), 1);
            if (step.bNoClose)
                f[12] = "0";
            f.insert(f.begin(), {"~QQ", "0", "XC", "0"});
            Dispatch(f);
            break;
        }
        case STEP_POSITION_LINE: {
            // The server's latest line of the position again, at another price of its own: the
            // windows value it at the quote's.
            std::vector<std::string> f = p.nMarket == 2 ? LatestSent("IU", 5, p.strSymbol) : LatestSent("NH", 4, p.strSymbol);
            if (f.empty())
                f = p.nMarket == 2 ? KseLineFromReply(p.strSymbol) : UsLineFromReply(p.strSymbol);
            if (f.empty())
                return;
            const size_t nPrice = p.nMarket == 2 ? 4 + 7 : 4 + 5;
            // A quoted position's line at a price of its own moment: the windows value it at the
            // quote's. One no quotation prices takes the line's, until the server gives another.
            f[nPrice] = Text(std::max(0.1, Number(f[nPrice]) * (1 + step.nMove / 100.0)), p.nMarket == 2 ? 1 : p.nMarket == 16 ? 2 : 4);
            // Some of the position held back (by an open sale): its second quantity.
            const size_t nFirst = p.nMarket == 2 ? 4 + 2 : 4 + 1, nSecond = p.nMarket == 2 ? 4 + 4 : 4 + 3;
            const long long nHeld = atoll(f[nFirst].c_str()) + atoll(f[nSecond].c_str());
            const long long nBack = step.nMove % 2 != 0 ? std::min<long long>(nHeld, std::abs(step.nMove)) : 0;
            f[nFirst] = std::to_string(nHeld - nBack);
            f[nSecond] = std::to_string(nBack);
            // Its value at its price, as the server's lines give it.
            const double dUnit = p.nMarket == 2 ? 0.001 : p.nMarket == 16 ? 100.0 : 1.0;
            f[p.nMarket == 2 ? 4 + 8 : 4 + 6] = Text(Number(f[nPrice]) * static_cast<double>(nHeld) * dUnit, 3);
            Dispatch(f);
            break;
        }
        case STEP_FILL:
            m_filled.insert((p.nMarket == 2 ? "2:" : "8:") + p.strSymbol);
            if (p.nMarket == 2)
                Send(MSG_KR, "||1002|10020|1|1|" + p.strSymbol + "|" + std::to_string(1 + std::abs(step.nMove)) + "|3|0||0|||secret");
            else if (p.nMarket == 8)
                Send(MSG_OR, "1002|10020|1|" + p.strSymbol + "|" + std::to_string(1 + std::abs(step.nMove)) + "|3|0||0|||secret");
            PumpFor(300);
            break;
        case STEP_REPLY: {
            const UINT nTable = g_positionTables[step.nWindow % std::size(g_positionTables)];
            if (nTable == IDS_TABLE_COMBINED_UNREALIZED)
                AskCombinedReport();
            else if (nTable == IDS_TABLE_US_UNREALIZED)
                Command(ID_APP_US_UNREALIZED);
            else if (nTable == IDS_TABLE_KSE_UNREALIZED)
                Command(33235);
            else
                static_cast<IDataTable*>(FindDataTable(nTable))->SendRequest();
            PumpFor(100);
            break;
        }
        default:
            break;
        }
    }

    // A US position line as the server writes one, from its reply's row of the holdings.
    std::vector<std::string> UsLineFromReply(const std::string& strSymbol) const
    {
        for (const std::string& row : LastReplyRows("IH")) {
            const std::vector<std::string> r = Split(row);
            if (r.size() < 32 || r[0] != strSymbol)
                continue;
            const bool bOption = r[20] != "0" && !r[20].empty();
            const double dQuoted = atof(r[4].c_str()) / (bOption ? 100.0 : 1.0);
            // The short side's proceeds, as the unrealized report gives them.
            std::string strProceeds = "0";
            for (const std::string& up : LastReplyRows("UP"))
                if (const std::vector<std::string> u = Split(up); u.size() > 13 && u[0] == strSymbol)
                    strProceeds = u[12];
            return {"~NH", "0", "XC", "", r[0], r[1], "0", "0", r[4], r[5], r[6], r[7], "", r[9], "261101", "261101",
                    Text(dQuoted, 6), Text(dQuoted, bOption ? 6 : 2), "", r[15], r[16], "", strProceeds, strProceeds, "", "", r[19],
                    r[20], r[21], r[22], r[23], r[24], "", r[27], r[31]};
        }
        return {};
    }

    // A KSE position line as the server writes one, from its reply's row of the holdings.
    std::vector<std::string> KseLineFromReply(const std::string& strStock) const
    {
        for (const std::string& row : LastReplyRows("IK")) {
            const std::vector<std::string> r = Split(row);
            if (r.size() < 17 || r[1] != strStock)
                continue;
            return {"~IU", "0", "XC", "", r[0], r[1], r[2], "0", r[4], r[5], "0", r[7], r[8], "0", "10020", r[11], r[12], "261101",
                    "261101", r[15], Text(atof(r[5].c_str()), 3), r[12], r[14]};
        }
        return {};
    }

    // Each window's rows as they show, by position ("2:301", "8:QABC"); a KSE price in fils.
    std::map<std::string, SHOWN_ROW> ShownRows(UINT nTable, std::string* pstrFault) const
    {
        const POSITION_WINDOW& w = WindowOf(nTable);
        CDataTable* pTable = FindDataTable(nTable);
        std::map<std::string, SHOWN_ROW> rows;
        const std::vector<std::string> keys = ShownTexts(pTable, w.nKey), quantities = ShownTexts(pTable, w.nQuantity),
                                       quantities2 = ShownTexts(pTable, w.nQuantity2),
                                       prices = ShownTexts(pTable, w.nPrice), costs = ShownTexts(pTable, w.nCost),
                                       values = ShownTexts(pTable, w.nValue), gains = ShownTexts(pTable, w.nGain),
                                       percents = ShownTexts(pTable, w.nPercent),
                                       gainsAgain = w.nGainAgain >= 0 ? ShownTexts(pTable, w.nGainAgain) : gains,
                                       percentsAgain = w.nPercentAgain >= 0 ? ShownTexts(pTable, w.nPercentAgain) : percents,
                                       added = w.nAdded >= 0 ? ShownTexts(pTable, w.nAdded) : std::vector<std::string>(keys.size()),
                                       averages = w.nAverage >= 0 ? ShownTexts(pTable, w.nAverage) : std::vector<std::string>(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            // Cash lines have no position.
            if (keys[i].empty() || keys[i][0] == '=')
                continue;
            const bool bKse = keys[i].find_first_not_of("0123456789") == std::string::npos;
            // The position's whole quantity, the part held back with it.
            SHOWN_ROW row{Text(Number(quantities[i]) + Number(quantities2[i]), 0), prices[i], costs[i], values[i], gains[i], percents[i], gainsAgain[i], percentsAgain[i], added[i], ""};
            if (bKse && !averages[i].empty())
                row.strAverage = Text(Number(averages[i]) / (w.dKseFilsPerShown == 1 ? 1000.0 : 1.0), 7);
            if (bKse && w.dKseFilsPerShown != 1)
                row.strPrice = Text(Number(row.strPrice) * w.dKseFilsPerShown, 1);
            else
                row.strPrice = Text(Number(row.strPrice), bKse ? 1 : 4);
            const std::string strKey = std::string(bKse ? "2:" : "8:") + keys[i];
            if (!rows.emplace(strKey, row).second)
                *pstrFault += std::string(pTable->GetName()) + ": two rows of " + strKey + "\n";
        }
        return rows;
    }

    // The invariants of every window at a settled moment; the faults found, one a line.
    std::string Faults() const
    {
        std::string strFaults;
        std::map<std::string, std::map<std::string, SHOWN_ROW>> byPosition;
        for (UINT nTable : g_positionTables) {
            CDataTable* pTable = FindDataTable(nTable);
            const std::string strName(pTable->GetName());
            const std::map<std::string, SHOWN_ROW> shown = ShownRows(nTable, &strFaults);
            // Every position of the account, in every window of its market.
            for (const GEN_POSITION& p : m_pAccount->positions)
                if ((p.nMarket == 2 ? ShowsKse(nTable) : ShowsUs(nTable)) &&
                    shown.count((p.nMarket == 2 ? "2:" : "8:") + p.strSymbol) == 0)
                    strFaults += strName + ": no row of " + p.strSymbol + "\n";
            for (const auto& [strKey, row] : shown) {
                byPosition[strKey][strName] = row;
                // A window may blank a zero, as its column says (a short position's long value).
                const int nPlaces = Places(row.strValue.empty() ? row.strCost : row.strValue);
                const auto placed = [nPlaces](const std::string& strText) { return strText.empty() || Places(strText) == nPlaces; };
                if (!placed(row.strCost) || !placed(row.strGain))
                    strFaults += strName + " " + strKey + ": cost " + row.strCost + ", value " + row.strValue + ", gain " + row.strGain +
                                 " to other places\n";
                else if (Units(row.strValue, nPlaces) - Units(row.strCost, nPlaces) != Units(row.strGain, nPlaces))
                    strFaults += strName + " " + strKey + ": " + row.strValue + " - " + row.strCost + " shown as " + row.strGain + "\n";
                if (Number(row.strGainAgain) != Number(row.strGain) || Number(row.strPercentAgain) != Number(row.strPercent))
                    strFaults += strName + " " + strKey + ": gain " + row.strGain + " and " + row.strGainAgain + ", per cent " +
                                 row.strPercent + " and " + row.strPercentAgain + "\n";
                const double dCost = Number(row.strCost), dGain = Number(row.strGain);
                if (dCost != 0 && std::fabs(dGain * 100.0 / dCost - Number(row.strPercent)) > 0.0051 + 1e-9 * std::fabs(dGain * 100.0 / dCost))
                    strFaults += strName + " " + strKey + ": " + row.strGain + " of " + row.strCost + " shown as " + row.strPercent + " %\n";
                // A KSE average cost is the cost of a share, to its places.
                if (const double dQuantity = Number(row.strQuantity); !row.strAverage.empty() && dQuantity > 0 &&
                    std::fabs(Number(row.strAverage) - dCost / dQuantity) > 0.00005 + 0.0005 / dQuantity + 1e-9)
                    strFaults += strName + " " + strKey + ": average cost " + row.strAverage + " of " + row.strCost + " for " +
                                 row.strQuantity + "\n";
                if (const long long nCost = ModelCost(strKey, Places(row.strCost)); nCost >= 0 && nCost != Units(row.strCost, Places(row.strCost)))
                    strFaults += strName + " " + strKey + ": cost " + row.strCost + ", its portfolio line's " +
                                 std::to_string(nCost) + " at " + std::to_string(Places(row.strCost)) + " places\n";
                for (const std::string* pText : {&row.strQuantity, &row.strCost, &row.strValue, &row.strGain, &row.strPercent})
                    if (pText->find('#') != std::string::npos)
                        strFaults += strName + " " + strKey + ": " + *pText + "\n";
            }
            strFaults += TotalFaults(pTable);
        }
        strFaults += ShortFaults();
        strFaults += QuotedFaults(byPosition);
        for (const auto& [strKey, windows] : byPosition) {
            const SHOWN_ROW& first = windows.begin()->second;
            for (const auto& [strName, row] : windows) {
                const std::string strWhere = strKey + " in " + windows.begin()->first + " and " + strName + ": ";
                if (Number(row.strQuantity) != Number(first.strQuantity))
                    strFaults += strWhere + "quantity " + first.strQuantity + " / " + row.strQuantity + "\n";
                if (row.strPrice != first.strPrice)
                    strFaults += strWhere + "price " + first.strPrice + " / " + row.strPrice + "\n";
                if (Number(row.strCost) != Number(first.strCost))
                    strFaults += strWhere + "cost " + first.strCost + " / " + row.strCost + "\n";
                // A window that adds the server's amount to the value gains that much more, at
                // another per cent.
                const int nPlaces = std::max(Places(row.strGain), Places(first.strGain));
                const bool bAdded = Units(row.strAdded, nPlaces) != 0 || Units(first.strAdded, nPlaces) != 0;
                if (Units(row.strGain, nPlaces) - Units(row.strAdded, nPlaces) !=
                    Units(first.strGain, nPlaces) - Units(first.strAdded, nPlaces))
                    strFaults += strWhere + "gain " + first.strGain + " / " + row.strGain + " (values " + first.strValue + " / " +
                                 row.strValue + " at " + first.strPrice + " / " + row.strPrice + ", " + first.strQuantity + " / " +
                                 row.strQuantity + ")\n";
                if (!bAdded && Number(row.strPercent) != Number(first.strPercent))
                    strFaults += strWhere + "per cent " + first.strPercent + " / " + row.strPercent + "\n";
            }
        }
        return strFaults;
    }

    // A US position (an option on the options board among them) the trader's quotation window
    // prices reads that price, its last or else its close, in every window.
    std::string QuotedFaults(const std::map<std::string, std::map<std::string, SHOWN_ROW>>& byPosition) const
    {
        std::string strFaults;
        std::map<std::string, std::string> quoted;
        std::istringstream rows(RowsText(FindDataTable(IDS_TABLE_US_QUOTATIONS), {QC_TICKER, QC_MARKET, QC_LAST, QC_CLOSE}));
        for (std::string strRow; std::getline(rows, strRow);)
            if (const std::vector<std::string> q = Split(strRow); q.size() >= 4) {
                const double dPrice = Number(q[2]) > 0 ? Number(q[2]) : Number(q[3]);
                if (dPrice > 0)
                    quoted[q[0] + "|" + q[1]] = Text(dPrice, 4);
            }
        for (const GEN_POSITION& p : m_pAccount->positions) {
            if (p.nMarket == 2)
                continue;
            const auto itQuote = quoted.find(p.strSymbol + "|" + std::string(GetGlobals()->GetMarketName(p.nMarket)));
            const auto itRows = byPosition.find("8:" + p.strSymbol);
            if (itQuote == quoted.end() || itRows == byPosition.end())
                continue;
            for (const auto& [strName, row] : itRows->second)
                if (row.strPrice != itQuote->second)
                    strFaults += p.strSymbol + " quoted at " + itQuote->second + " reads " + row.strPrice + " in " + strName + "\n";
        }
        return strFaults;
    }

    // The short side of the US report: what the contracts written are worth at the price the
    // row shows (a contract is a hundred shares), and its gain the proceeds less that value.
    std::string ShortFaults() const
    {
        std::string strFaults;
        CDataTable* pTable = FindDataTable(IDS_TABLE_US_UNREALIZED);
        const std::vector<std::string> symbols = ShownTexts(pTable, UC_SYMBOL), prices = ShownTexts(pTable, UC_LAST),
                                       quantities = ShownTexts(pTable, UC_SHORT_QTY), quantities2 = ShownTexts(pTable, UC_SHORT_QTY2),
                                       proceeds = ShownTexts(pTable, UC_SHORT_PROCEEDS), values = ShownTexts(pTable, UC_SHORT_VALUE),
                                       gains = ShownTexts(pTable, UC_SHORT_GAIN);
        for (size_t i = 0; i < symbols.size(); ++i) {
            const auto it = std::find_if(m_pAccount->positions.begin(), m_pAccount->positions.end(),
                                         [&](const GEN_POSITION& p) { return p.nMarket != 2 && p.strSymbol == symbols[i]; });
            if (it == m_pAccount->positions.end())
                continue;
            const double dShares = Number(quantities[i]) + Number(quantities2[i]);
            const int nPlaces = Places(values[i]);
            const double dWorth = dShares * Number(prices[i]) * (it->nMarket == 16 ? 100.0 : 1.0);
            if (std::llabs(Units(values[i], nPlaces) - Units(Text(dWorth, nPlaces), nPlaces)) > 1)
                strFaults += "short " + symbols[i] + ": " + Text(dShares, 0) + " at " + prices[i] + " shown worth " + values[i] + "\n";
            else if (Units(proceeds[i], nPlaces) - Units(values[i], nPlaces) != Units(gains[i], nPlaces))
                strFaults += "short " + symbols[i] + ": " + proceeds[i] + " - " + values[i] + " shown as " + gains[i] + "\n";
            if (it->bWritten && dShares != static_cast<double>(it->nQuantity))
                strFaults += "short " + symbols[i] + ": " + Text(dShares, 0) + " contracts written, not " + std::to_string(it->nQuantity) + "\n";
        }
        return strFaults;
    }

    static bool IsPercentColumn(CDataTable* pTable, int nCol)
    {
        for (const POSITION_WINDOW& w : s_windows)
            if (w.nTable == pTable->GetNameId() && (nCol == w.nPercent || nCol == w.nPercentAgain))
                return true;
        return false;
    }

    // Cells of the window as its grid draws them: no '#' where a figure should be.
    static std::string MarkedCells(CDataTable* pTable)
    {
        std::string strFaults;
        CTableMDIWnd* pWnd = pTable->GetMainWindow();
        ShowWhole(pWnd);
        CTableWindow& grid = pWnd->GetGrid();
        for (int nLine = 0; nLine < pWnd->GetView()->GetRowCount() - grid.GetTopRow(); ++nLine)
            for (int nCol = 0; nCol < grid.GetDisplayColumnCount(); ++nCol) {
                CTBString strShown;
                RECT rc;
                if (grid.PaneOfColumn(nCol)->GetShownCellText(nLine, nCol, &strShown, &rc) && strchr(strShown, '#') != nullptr) {
                    CViewRow row;
                    CTBString strText;
                    const int nIndex = pWnd->GetView()->GetColumnOrder().GetColumnIndex(nCol);
                    // A total line's width, and a per cent's of millions, are another matter.
                    if (!pWnd->GetView()->GetRow(row, grid.GetTopRow() + nLine) || !row.IsDataRow() || IsPercentColumn(pTable, nIndex))
                        continue;
                    row.GetText(strText, nIndex);
                    strFaults += std::string(pTable->GetName()) + " column " + std::to_string(nIndex) + " line " + std::to_string(nLine) + " shows " + std::string(strShown) + " for " +
                                 std::string(strText) + "\n";
                }
            }
        return strFaults;
    }

    // Each summed column of one currency's amounts totals what its rows show.
    static std::string TotalFaults(CDataTable* pTable)
    {
        std::string strFaults;
        const TABLE_DESC& desc = pTable->GetDescription();
        for (size_t c = 0; c < desc.columns.size(); ++c) {
            const TABLE_COLUMN& column = desc.columns[c];
            if ((column.nFlags & COLF_SUMMED) == 0 || (column.nFlags & COLF_HIDDEN) != 0 || column.nType != COLTYPE_DOUBLE)
                continue;
            const std::vector<std::string> texts = ShownTexts(pTable, static_cast<int>(c));
            int nPlaces = -1;
            long long nSum = 0;
            for (const std::string& strText : texts) {
                if (strText.empty())
                    continue;
                nPlaces = nPlaces < 0 || nPlaces == Places(strText) ? Places(strText) : 99;
                nSum += Units(strText, Places(strText));
            }
            const std::string strTotal = TotalText(pTable, static_cast<int>(c));
            if (nPlaces >= 0 && nPlaces != 99 && !strTotal.empty() && Units(strTotal, nPlaces) != nSum)
                strFaults += std::string(pTable->GetName()) + " column " + std::to_string(c) + ": total " + strTotal + " of rows " +
                             std::to_string(nSum) + "\n";
        }
        return strFaults;
    }

    // One sequence against one account: the faults of the first settled moment that has any.
    std::string RunSequence(const GEN_ACCOUNT& account, const std::vector<STEP>& steps)
    {
        m_pAccount = &account;
        m_filled.clear();
        const std::string strData = AccountData(account);
        const ::testing::AssertionResult started = StartSession({"--rate", "0", "--data", strData}, account.bArabic);
        std::filesystem::remove_all(strData);
        if (!started)
            return std::string("the session did not start: ") + started.message();
        if (!OpenEveryPositionWindow())
            return "the windows did not open";
        // The symbols quoted, as a trader watches them.
        auto* pQuotes = dynamic_cast<CQuotationTable*>(FindDataTable(IDS_TABLE_US_QUOTATIONS));
        const std::string strAtlantic(GetGlobals()->GetMarketName(8));
        const std::string strOptions(GetGlobals()->GetMarketName(16));
        for (const GEN_POSITION& p : account.positions) {
            if (p.nMarket == 2)
                continue;
            pQuotes->AddSymbol(p.strSymbol.c_str(), (p.nMarket == 8 ? strAtlantic : strOptions).c_str(), nullptr);
            // The test server looks up no option series on the options board: its answer, as a
            // server that quotes the board gives it.
            if (p.nMarket == 16)
                Dispatch({"~RN", "0", "XC", "0", "0", "", p.strSymbol, "16", "0", p.strSymbol.substr(0, 4) + " 261218C45", "",
                          p.strSymbol.substr(0, 4) + " 261218C45", "", "=USD", "", "", "", "", "", p.strSymbol, "1", "", ""});
        }
        Settle();
        std::string strFaults = Faults();
        for (size_t i = 0; i < steps.size() && strFaults.empty(); ++i) {
            Run(steps[i], account);
            Settle();
            strFaults = Faults();
            if (!strFaults.empty())
                strFaults = "after step " + std::to_string(i) + " (kind " + std::to_string(steps[i].nKind) + ", " + m_strLast + "):\n" + strFaults;
        }
        // Each window asked again, as a trader refreshes it: a reply's price gives way to the
        // board's that moved before it, whether or not the board moves again.
        for (size_t w = 0; w < std::size(g_positionTables) && strFaults.empty(); ++w) {
            STEP refresh;
            refresh.nKind = STEP_REPLY;
            refresh.nWindow = w;
            Run(refresh, account);
            Settle();
            strFaults = Faults();
            if (!strFaults.empty())
                strFaults = "after refreshing " + std::string(FindDataTable(g_positionTables[w])->GetName()) + ":\n" + strFaults;
        }
        // The figures as the grids draw them, once the sequence is through.
        for (UINT nTable : g_positionTables)
            if (strFaults.empty())
                strFaults = MarkedCells(FindDataTable(nTable));
        return strFaults.substr(0, 3000);
    }
};
}  // namespace

// Accounts at a real account's scale and random sequences of the server's lines into every
// position window at once, in English and Arabic: a position reads one quantity, price, cost,
// gain and per cent in every window, each row's gain is its shown value less its shown cost and
// its per cent that gain of that cost, each total the sum of its shown rows, and no figure is
// marked instead of shown. A session per sequence is costly: few sequences, many steps each.
TEST_F(PositionWindowsProperty, EveryWindowReadsAPositionAlike)
{
    TB_CHECK_PROPERTY(3, [this] {
        const GEN_ACCOUNT account = *AccountGen();
        const std::vector<STEP> steps = *rc::gen::resize(24, StepsGen());
        const std::string strFaults = RunSequence(account, steps);
        TearDown();
        RC_ASSERT(strFaults == "");
    });
}

namespace {
// The smallest account the named cases start from: a KSE stock and a US one, and an option of the
// US one when asked for.
GEN_ACCOUNT SmallAccount(long long nContracts = 0, bool bWritten = false)
{
    GEN_ACCOUNT account;
    GEN_POSITION kse;
    kse.strSymbol = "300";
    kse.nQuantity = 1000;
    kse.dPrice = 12.0;
    kse.dClose = 100;
    account.positions.push_back(kse);
    GEN_POSITION us;
    us.nMarket = 8;
    us.strSymbol = "QAAA";
    us.nQuantity = 10;
    us.dPrice = 1.5;
    us.dClose = 2.0;
    account.positions.push_back(us);
    if (nContracts > 0) {
        GEN_POSITION option;
        option.nMarket = 16;
        option.strSymbol = "QAAALI";
        option.nQuantity = nContracts;
        option.dPrice = 2.5;
        option.bWritten = bWritten;
        account.positions.push_back(option);
    }
    return account;
}

STEP Step(STEP_KIND kind, size_t nPosition, int nMove)
{
    STEP step;
    step.nKind = kind;
    step.nPosition = nPosition;
    step.nMove = nMove;
    return step;
}

const size_t OPTION = 2;    // the option's place in the small account
}  // namespace

// A KSE stock the board gives no price at all (no last, no previous close): the server's lines
// price it, and one window's reply after another window's line leaves one price in all of them,
// the latest the server gave.
TEST_F(PositionWindowsProperty, AStockTheBoardDoesNotPriceReadsTheServersLatestPriceEverywhere)
{
    STEP board = Step(STEP_KSE_BOARD, 0, 0);
    board.bNoClose = true;
    EXPECT_EQ(RunSequence(SmallAccount(), {board, Step(STEP_POSITION_LINE, 0, 40)}), "");
}

// An option, which no quotation prices: the server's lines price it, and one window's reply after
// another window's line leaves one price in all of them, the latest the server gave.
TEST_F(PositionWindowsProperty, AnOptionNoQuotationPricesReadsTheServersLatestPriceEverywhere)
{
    // Each window's reply after a line at another price.
    std::vector<STEP> steps;
    for (size_t nWindow = 0; nWindow < std::size(g_positionTables); ++nWindow) {
        STEP reply = Step(STEP_REPLY, 0, 0);
        reply.nWindow = nWindow;
        steps.insert(steps.end(), {Step(STEP_POSITION_LINE, OPTION, 40), reply});
    }
    EXPECT_EQ(RunSequence(SmallAccount(3), steps), "");
}

// Option contracts written, a short position: the US report values them at a hundred shares a
// contract, and their gain is the proceeds less that value.
TEST_F(PositionWindowsProperty, AWrittenOptionIsWorthAHundredSharesAContract)
{
    // Its price moved by the server's line, then the report asked again.
    EXPECT_EQ(RunSequence(SmallAccount(1, true), {Step(STEP_POSITION_LINE, OPTION, 40)}), "");
}

// An option the trader watches on the options board: its quote prices it in every window, at a
// hundred shares a contract, whatever price the server's lines and replies give it after.
TEST_F(PositionWindowsProperty, AnOptionFollowsTheOptionsBoardsQuoteInEveryWindow)
{
    EXPECT_EQ(RunSequence(SmallAccount(3), {Step(STEP_US_QUOTE, OPTION, 10), Step(STEP_POSITION_LINE, OPTION, 40)}), "");
}
