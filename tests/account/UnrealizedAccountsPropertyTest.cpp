// The unrealized windows on accounts, drawn at random: the US and KSE windows asked for the
// trader's account, the combined report asked for the trader's or another account typed in its
// dialog, and the server's fills and option price lines for either account in between. The test
// plays the server's "UP" and "UK" replies itself (the test server refuses them), so that each
// account has positions of its own. After every step each window holds exactly the positions of
// the account it was last asked for, as that account's lines left them.
#include <algorithm>
#include <cstdio>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>
#include <gtest/gtest.h>
#include "account/CombinedUnrealizedProfitLossDlg.h"
#include "account/CombinedUnrealizedProfitLossTable.h"
#include "account/UnrealizedProfitLossKSETable.h"
#include "account/UnrealizedProfitLossTable.h"
#include "app/AppCommands.h"
#include "app/NorvMainFrame.h"
#include "app/TableFactory.h"
#include "app/ZorvatApp.h"
#include "market/DataArray.h"
#include "tests/account/AccountTestSupport.h"
#include "tests/common/DialogSteps.h"
#include "tests/common/Property.h"

namespace {
#define ID_KSE_UNREALIZED_COMMAND 33235
#define ID_COMBINED_UNREALIZED_COMMAND 40229

// The trader's account, and another one the trader may type in the combined report.
const char* const s_accounts[] = {"10020", "1002"};
enum { US_WINDOW, KSE_WINDOW, COMBINED_WINDOW, WINDOW_COUNT };
const UINT s_windowTables[WINDOW_COUNT] = {IDS_TABLE_US_UNREALIZED, IDS_TABLE_KSE_UNREALIZED, IDS_TABLE_COMBINED_UNREALIZED};

// The symbols a fill may touch: held shares, an option, one nobody holds at first.
const char* const s_usSymbols[] = {"GLNT", "ALPN", "ZZZ", "ALPNLI"};
const char* const s_kseStocks[] = {"107", "109", "101"};
const char* const OPTION = "ALPNLI";

struct US_POSITION
{
    long nQuantity;
    double dPrice;
};

// What the server holds for an account.
struct ACCOUNT_STATE
{
    std::map<std::string, US_POSITION> us;
    std::map<std::string, long> kse;
};

ACCOUNT_STATE InitialState(int nAccount)
{
    if (nAccount == 0)
        return {{{"GLNT", {2000, 73.05}}, {"ALPN", {400, 45.60}}, {OPTION, {5, 3.55}}}, {{"107", 50000}, {"109", 200000}}};
    return {{{"GLNT", {10, 73.05}}, {OPTION, {2, 3.55}}}, {{"107", 700}}};
}

enum COMMAND_KIND { ASK_US, ASK_KSE, ASK_COMBINED, US_FILL, KSE_FILL, OPTION_PRICE };

struct COMMAND
{
    int nKind;
    int nAccount;   // of a fill, a price line or the combined report's account
    int nSymbol;
    long nQuantity; // 0 sells the position out
    int nCents;     // an option price line's price
};

std::ostream& operator<<(std::ostream& os, const COMMAND& c)
{
    static const char* const s_names[] = {"ask US", "ask KSE", "ask combined", "US fill", "KSE fill", "option price"};
    os << s_names[c.nKind] << " account " << s_accounts[c.nAccount];
    if (c.nKind == US_FILL)
        os << " " << s_usSymbols[c.nSymbol] << " " << c.nQuantity;
    else if (c.nKind == KSE_FILL)
        os << " " << s_kseStocks[c.nSymbol] << " " << c.nQuantity;
    else if (c.nKind == OPTION_PRICE)
        os << " " << c.nCents << " cents";
    return os;
}

rc::Gen<COMMAND> GenCommand()
{
    return rc::gen::map(rc::gen::tuple(rc::gen::weightedElement<int>({{1, ASK_US}, {1, ASK_KSE}, {2, ASK_COMBINED},
                                                                      {2, US_FILL}, {2, KSE_FILL}, {1, OPTION_PRICE}}),
                                       rc::gen::element(0, 1), rc::gen::element(0, 1, 2, 3),
                                       rc::gen::element<long>(0, 1, 250, 3000), rc::gen::element(152, 355, 356, 871)),
                        [](const std::tuple<int, int, int, long, int>& t) {
                            COMMAND c{std::get<0>(t), std::get<1>(t), std::get<2>(t), std::get<3>(t), std::get<4>(t)};
                            if (c.nKind == KSE_FILL)
                                c.nSymbol %= 3;
                            // The US and KSE windows ask for the trader's own account.
                            if (c.nKind == ASK_US || c.nKind == ASK_KSE)
                                c.nAccount = 0;
                            return c;
                        });
}

std::string Format(const char* pszFormat, double dValue)
{
    char sz[64];
    snprintf(sz, sizeof sz, pszFormat, dValue);
    return sz;
}

struct UnrealizedAccountsProperty : CAccountSession
{
    ACCOUNT_STATE held[2];           // what the server holds for each account
    int windowAccount[WINDOW_COUNT] = {-1, -1, -1};
    std::map<std::string, size_t> asked;    // requests of each mnemonic the server has received

    void Command(UINT nId) { SendMessageA(pRun->App().GetMainFrame()->m_hWnd, WM_COMMAND, nId, 0); }

    // The number of the next request of the mnemonic the server receives.
    long NextRequest(const std::string& strMnemonic)
    {
        long nNumber = 0;
        const bool bCame = PumpUntil([&] {
            size_t nCount = 0;
            for (const std::string& line : server.Received())
                if (line.rfind("&" + strMnemonic + "|", 0) == 0 && ++nCount > asked[strMnemonic])
                    nNumber = atol(Split(line)[1].c_str());
            if (nCount <= asked[strMnemonic])
                return false;
            asked[strMnemonic] = nCount;
            return true;
        }, 5000);
        return bCame ? nNumber : 0;
    }

    void Dispatch(const std::string& strLine) { pRun->App().GetDispatcher().OnServerMessage(strLine.c_str()); }

    std::string UsRow(const std::string& strSymbol, const US_POSITION& p) const
    {
        const bool bOption = strSymbol == OPTION;
        // An option's cost is the premium per share times the contracts.
        return strSymbol + "|261201|261201|40.00|" + std::to_string(p.nQuantity * 40) + "|" + std::to_string(p.nQuantity) + "|0||" +
               Format("%.2f", p.dPrice) + "|||0|0|0|0||" + (bOption ? "ALPN|1|50|270115|16" : "||||8") + "|=USD|||0|0";
    }

    // The "UP" reply to the request, for the account.
    void ReplyUs(long nRequest, int nAccount)
    {
        Dispatch("~UP|" + std::to_string(nRequest) + "|XC||1002|" + s_accounts[nAccount] + "|2|0");
        for (const auto& [strSymbol, p] : held[nAccount].us)
            Dispatch(UsRow(strSymbol, p));
        Dispatch("~EN|" + std::to_string(nRequest) + "|XC|0");
    }

    void ReplyKse(long nRequest, int nAccount)
    {
        Dispatch("~UK|" + std::to_string(nRequest) + "|XC||0||1002|" + s_accounts[nAccount] + "|2");
        for (const auto& [strStock, nQuantity] : held[nAccount].kse)
            Dispatch("0|" + strStock + "|261109|261109|1000.0|" + std::to_string(nQuantity) + ".000|" + std::to_string(nQuantity) +
                     "|0|0||1000.0|261109||||0||0");
        Dispatch("~EN|" + std::to_string(nRequest) + "|XC|0");
    }

    // A US position line of the account: its quantity now, 0 when sold out.
    void UsLine(int nAccount, const std::string& strSymbol, const US_POSITION& p)
    {
        const bool bOption = strSymbol == OPTION;
        const std::string strQuantity = std::to_string(p.nQuantity);
        Dispatch("~NH|0|XC||" + strSymbol + "|" + strQuantity + "|0|0|" + std::to_string(p.nQuantity * 40) + "|" +
                 Format("%.2f", p.dPrice) + "|0|" + s_accounts[nAccount] + "||0|261201|261201|" + std::to_string(p.nQuantity * 40) +
                 "|" + std::to_string(p.nQuantity * 40) + "||0|0||0|0|||" + (bOption ? "ALPN|1|50|270115|16" : "||||8") +
                 "|=USD||0|0");
    }

    void KseLine(int nAccount, const std::string& strStock, long nQuantity)
    {
        const std::string strQuantity = std::to_string(nQuantity);
        Dispatch("~IU|0|XC||0|" + strStock + "|" + strQuantity + "|0|0|" + strQuantity + ".000|0|1000|" + strQuantity + ".000|0|" +
                 s_accounts[nAccount] + "|0|0|261112|261112|=KWD|" + strQuantity + ".000|0");
    }

    void AskCombined(int nAccount)
    {
        const std::string strAccount = s_accounts[nAccount];
        RunDialogSteps({{IDC_COMBINED_UNREALIZED_ACCOUNT, [strAccount](HWND hDlg) {
                             EnterText(hDlg, IDC_COMBINED_UNREALIZED_ACCOUNT, strAccount);
                             ClickControl(hDlg, IDOK);
                         }}});
        Command(ID_COMBINED_UNREALIZED_COMMAND);
        ReplyUs(NextRequest("UP"), nAccount);
        // The end of the "UP" reply asks for the KSE positions.
        ReplyKse(NextRequest("UK"), nAccount);
    }

    void Run(const COMMAND& c)
    {
        ACCOUNT_STATE& state = held[c.nAccount];
        switch (c.nKind) {
        case ASK_US:
            Command(ID_APP_US_UNREALIZED);
            ReplyUs(NextRequest("UP"), 0);
            windowAccount[US_WINDOW] = 0;
            break;
        case ASK_KSE:
            Command(ID_KSE_UNREALIZED_COMMAND);
            ReplyKse(NextRequest("UK"), 0);
            windowAccount[KSE_WINDOW] = 0;
            break;
        case ASK_COMBINED:
            AskCombined(c.nAccount);
            windowAccount[COMBINED_WINDOW] = c.nAccount;
            break;
        case US_FILL: {
            const std::string strSymbol = s_usSymbols[c.nSymbol];
            US_POSITION p = state.us.count(strSymbol) != 0 ? state.us[strSymbol] : US_POSITION{0, 3.55};
            p.nQuantity = c.nQuantity;
            UsLine(c.nAccount, strSymbol, p);
            if (p.nQuantity == 0)
                state.us.erase(strSymbol);
            else
                state.us[strSymbol] = p;
            break;
        }
        case KSE_FILL:
            KseLine(c.nAccount, s_kseStocks[c.nSymbol], c.nQuantity);
            if (c.nQuantity == 0)
                state.kse.erase(s_kseStocks[c.nSymbol]);
            else
                state.kse[s_kseStocks[c.nSymbol]] = c.nQuantity;
            break;
        case OPTION_PRICE:
            // Only a held option's price line: one without a quantity would close it.
            if (state.us.count(OPTION) != 0) {
                state.us[OPTION].dPrice = c.nCents / 100.0;
                UsLine(c.nAccount, OPTION, state.us[OPTION]);
            }
            break;
        default:
            break;
        }
    }

    // A window's positions as "symbol quantity" (and an option's price), one a line, sorted.
    static std::string Expected(const ACCOUNT_STATE& state, bool bUs, bool bKse)
    {
        std::vector<std::string> lines;
        for (const auto& [strSymbol, p] : state.us)
            if (bUs)
                lines.push_back("US " + strSymbol + " " + std::to_string(p.nQuantity) +
                                (strSymbol == OPTION ? Format(" at %.2f", p.dPrice) : ""));
        for (const auto& [strStock, nQuantity] : state.kse)
            if (bKse)
                lines.push_back("KSE " + strStock + " " + std::to_string(nQuantity));
        std::sort(lines.begin(), lines.end());
        std::string strText;
        for (const std::string& line : lines)
            strText += line + "\n";
        return strText;
    }

    static std::string Held(int nWindow)
    {
        CDataTable* pTable = FindDataTable(s_windowTables[nWindow]);
        auto* pCombined = dynamic_cast<CCombinedUnrealizedProfitLossTable*>(pTable);
        std::vector<std::string> lines;
        for (int i = 0; pTable != nullptr && i < pTable->GetRows()->GetCount(); ++i) {
            const CDataBuffer* pRow = pTable->GetRows()->GetAt(i);
            std::string strLine;
            if (nWindow == US_WINDOW) {
                const std::string strSymbol(pRow->GetText(UC_SYMBOL));
                strLine = "US " + strSymbol + " " + Format("%.0f", pRow->GetDouble(UC_LONG_QTY) + pRow->GetDouble(UC_LONG_QTY2)) +
                          (strSymbol == OPTION ? Format(" at %.2f", pRow->GetDouble(UC_LAST)) : "");
            } else if (nWindow == KSE_WINDOW) {
                strLine = "KSE " + std::string(pRow->GetText(UK_STOCK)) + " " +
                          Format("%.0f", pRow->GetDouble(UK_QTY) + pRow->GetDouble(UK_QTY2));
            } else {
                const std::string strSymbol(pRow->GetText(CU_SYMBOL));
                strLine = std::string(pCombined->IsKseRow(pRow) ? "KSE " : "US ") + strSymbol + " " +
                          Format("%.0f", pRow->GetDouble(CU_QTY) + pRow->GetDouble(CU_QTY2)) +
                          (strSymbol == OPTION ? Format(" at %.2f", pRow->GetDouble(CU_PRICE)) : "");
            }
            lines.push_back(strLine);
        }
        std::sort(lines.begin(), lines.end());
        std::string strText;
        for (const std::string& line : lines)
            strText += line + "\n";
        return strText;
    }

    // Each window asked for an account holds that account's positions, as its lines left them:
    // what differs, or nothing.
    std::string Check(const std::string& strAfter) const
    {
        for (int w = 0; w < WINDOW_COUNT; ++w) {
            if (windowAccount[w] < 0)
                continue;
            const std::string strExpected = Expected(held[windowAccount[w]], w != KSE_WINDOW, w != US_WINDOW);
            const std::string strHeld = Held(w);
            if (strHeld != strExpected)
                return "after " + strAfter + ": window " + std::to_string(w) + " on account " + s_accounts[windowAccount[w]] +
                       " holds\n" + strHeld + "instead of\n" + strExpected;
        }
        return "";
    }

    // Both accounts as they began; the windows of the mask asked again (the combined report for
    // the account given), the others left as an earlier sequence left them, and not looked at
    // until they are asked.
    void Reset(int nOpen, int nCombinedAccount)
    {
        held[0] = InitialState(0);
        held[1] = InitialState(1);
        std::fill(std::begin(windowAccount), std::end(windowAccount), -1);
        for (const COMMAND& c : {COMMAND{ASK_US, 0, 0, 0, 0}, COMMAND{ASK_KSE, 0, 0, 0, 0},
                                 COMMAND{ASK_COMBINED, nCombinedAccount, 0, 0, 0}})
            if ((nOpen & (1 << c.nKind)) != 0)
                Run(c);
    }

    // The first difference the sequence comes to, or nothing.
    std::string RunSequence(const std::vector<COMMAND>& commands, int nOpen = 7, int nCombinedAccount = 0)
    {
        Reset(nOpen, nCombinedAccount);
        std::string strFault = Check("the start");
        for (size_t i = 0; i < commands.size() && strFault.empty(); ++i) {
            std::ostringstream ss;
            ss << commands[i];
            Run(commands[i]);
            strFault = Check(ss.str());
        }
        return strFault;
    }
};
}  // namespace

TEST_F(UnrealizedAccountsProperty, EachWindowHoldsTheAccountItWasAskedForAndFollowsItsLines)
{
    // The server refuses the unrealized requests: the test answers them.
    ASSERT_TRUE(StartSession({"--rate", "0", "--fail", "UP=500", "--fail", "UK=500"}));
    TB_CHECK_PROPERTY(40, [this] {
        // Which windows are open, and on which account, as the sequence begins.
        const int nOpen = *rc::gen::element(0, 1, 2, 3, 4, 5, 6, 7);
        const int nCombinedAccount = *rc::gen::element(0, 1);
        const int nLength = *rc::gen::element(4, 8, 12, 16);
        const std::vector<COMMAND> commands = *rc::gen::container<std::vector<COMMAND>>(nLength, GenCommand());
        const std::string strFault = RunSequence(commands, nOpen, nCombinedAccount);
        if (!strFault.empty())
            RC_FAIL(strFault);
    });
}

// What the property finds first when the US or KSE window takes the combined report's reply: the
// combined report asked for another account, then the trader's own fill and option price line.
TEST_F(UnrealizedAccountsProperty, AFillOfTheTradersAccountAfterTheCombinedReportWentToAnother)
{
    ASSERT_TRUE(StartSession({"--rate", "0", "--fail", "UP=500", "--fail", "UK=500"}));
    EXPECT_EQ("", RunSequence({{ASK_COMBINED, 1, 0, 0, 0}, {KSE_FILL, 0, 0, 3000, 0}, {OPTION_PRICE, 0, 0, 0, 420}}));
}
