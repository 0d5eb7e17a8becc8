// The market tables on the whole live road: the test server, on bench data of 500 US symbols
// and 200 KSE stocks, streams "GS" for a watch list of the 500 restored from its saved list and
// "QQ" for the odd-lot table over loopback into the terminal in this process (link, dispatcher,
// row stores, engine, grids; both windows shown 60 lines high, change colours on). For each
// server rate it reports the lines applied a second, their mix and the terminal's CPU (user and
// system) per second of stream; then once more with the 500 followed in the US time and sales
// (its window hidden). Each run is a child process: the application object is one per process.
// The server's rate counts the model's events (trades, book levels, quotes, odd lots); about one
// in four becomes a "GS" or "QQ" line for this terminal, so the lines a second are measured, and
// "events/s" (from the full lines' event numbers) tells whether the terminal kept up.
//
//   bench_live_road [--seconds N] [--rates R1,R2,...] [--cpu C]
//   bench_live_road --run RATE --seconds N [--trades] [--cpu C]      (one run, one result line)
// --cpu C: the terminal on core C alone, the server where it was started (give it other cores).
#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "app/AppCommands.h"
#include "app/MainFrame.h"
#include "app/TableMDIWnd.h"
#include "app/ZorvatApp.h"
#include "app/dialogs/CredentialDialogs.h"
#include "framework/base/SettingsFile.h"
#include "link/MessageSource.h"
#include "link/ServerMessage.h"
#include "market/DataArray.h"
#include "market/DataTable.h"
#include "market/MarketTables.h"
#include "market/QuotationTable.h"
#include "market/TimeAndSalesFeed.h"
#include "market/WatchListSettings.h"
#include "platform/qt/QtPlatform.h"
#include "platform/win/Windows.h"
#include "platform/win/user/TestAnswers.h"
#include "tools/demo/TerminalSetup.h"
#include "tools/testserver/client/SimClient.h"

namespace {

const int US_SYMBOLS = 500;
const int KSE_STOCKS = 200;
const UINT WATCH_LIST = 51921, ODD_LOTS = 52115, US_TRADES = 51954;
const int WARM_UP_MS = 3000;            // after the last saved symbol found its row
const int START_LIMIT_MS = 60000;

namespace fs = std::filesystem;

// The rows of a model file that are not comments or its header.
int CountRows(const fs::path& file)
{
    std::ifstream in(file);
    std::string strLine;
    int nRows = -1;     // the header
    while (std::getline(in, strLine))
        if (!strLine.empty() && strLine[0] != '#')
            ++nRows;
    return nRows;
}

// The server's data with its symbol lists grown to the bench's size: the demo's own symbols
// stay (the other files name them), made-up ones follow.
bool MakeBenchData(const fs::path& folder, std::vector<std::string>* pUsSymbols)
{
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder.parent_path(), ec);
    fs::copy(TB_SOURCE_DIR "/tools/testserver/data", folder, fs::copy_options::recursive, ec);
    if (ec)
        return false;
    const fs::path stocks = folder / "market" / "stocks.txt", us = folder / "market" / "us_symbols.txt";
    const int nStocks = CountRows(stocks), nUs = CountRows(us);
    if (nStocks <= 0 || nUs <= 0)
        return false;
    std::ofstream outStocks(stocks, std::ios::app), outUs(us, std::ios::app);
    for (int i = nStocks; i < KSE_STOCKS; ++i)
        outStocks << 300 + i << "|B" << i << "|Bench Stock " << i << "|سهم " << i << "|" << 1 + i % 9 << "|"
                  << 300 + (i * 7) % 190 << "|" << 100 + i << "|0\n";
    for (int i = nUs; i < US_SYMBOLS; ++i)
        outUs << "U" << i << "|" << (i % 2 ? 4 : 8) << "|Bench Company " << i << "|شركة " << i << "|"
              << 20 + (i * 13) % 60 << "." << 10 + i % 80 << "|1.25|0|0\n";
    outStocks.close();
    outUs.close();
    // The watch list takes every US symbol, in the file's order.
    std::ifstream in(us);
    std::string strLine;
    bool bHeader = true;
    while (std::getline(in, strLine)) {
        if (strLine.empty() || strLine[0] == '#')
            continue;
        if (!bHeader)
            pUsSymbols->push_back(strLine.substr(0, strLine.find('|')) + "|" +
                                  strLine.substr(strLine.find('|') + 1, 1));
        bHeader = false;
    }
    return static_cast<int>(pUsSymbols->size()) == US_SYMBOLS && outStocks.good() && outUs.good();
}

// Counts what the tables took: registered after them, it sees each line once they applied it.
class CLineCounter : public CZorvatMessageSink
{
public:
    CLineCounter() : CZorvatMessageSink({MSG_GS, MSG_QQ}) {}
    void OnGS(CServerMessage* pMsg) override
    {
        // The Harbor Exchange's lines come compact to this user, the Atlantic Board's full; a
        // full line carries the event's number in the server's run.
        if (pMsg->GetHeaderNumber() == 4) {
            ++nCompact;
        } else {
            ++nFull;
            const long nSeq = atol(pMsg->GetFieldText(35));
            nLastSeq = nSeq > nLastSeq ? nSeq : nLastSeq;
        }
    }
    void OnQQ(CServerMessage*) override { ++nOddLot; }
    long nFull = 0, nCompact = 0, nOddLot = 0, nLastSeq = 0;
};

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

using Clock = std::chrono::steady_clock;

struct RUN_STATE {
    double dRate = 0;
    int nSeconds = 5;
    bool bTrades = false;
    int nCpu = -1;
    std::vector<std::string> symbols;   // "ticker|market digit"
    bool bLoggedIn = false, bOpened = false, bWarm = false, bMeasuring = false, bDone = false;
    Clock::time_point ready, start;
    CLineCounter counter;
    long nFull = 0, nCompact = 0, nOddLot = 0, nSeq = 0;
    double dCpu = 0;
    int nExit = 1;
};
RUN_STATE s_run;

void Finish(int nExit)
{
    s_run.bDone = true;
    s_run.nExit = nExit;
    if (CZORVAT32App* pApp = CZORVAT32App::Get(); pApp != nullptr && pApp->GetMainFrame() != nullptr) {
        TbQueueTestAnswer({TB_ASK_MESSAGEBOX, IDYES, ""});
        pApp->GetMainFrame()->PostMessage(WM_CLOSE);
    }
}

void Shown(IDataTable* pTable)
{
    CTableMDIWnd* pWindow = pTable != nullptr ? pTable->GetMainWindow() : nullptr;
    if (pWindow == nullptr)
        return;
    pWindow->GetGrid().SetHighlightSeconds(5);
    // 60 whole lines.
    pWindow->MoveWindow(0, 0, 1500, pWindow->GetGrid().GetTitleHeight() + 62 * pWindow->GetGrid().GetRowHeight());
}

void OpenTables(CZORVAT32App* pApp)
{
    CNorvMainFrame* pFrame = pApp->GetMainFrame();
    pFrame->SendMessage(WM_COMMAND, ID_APP_US_QUOTES);
    auto* pWatch = dynamic_cast<CQuotationTable*>(pApp->FindTable(WATCH_LIST));
    if (pWatch == nullptr) {
        fprintf(stderr, "bench_live_road: no watch list\n");
        Finish(2);
        return;
    }
    // The saved list as the settings file holds it.
    CSettingsFile ini;
    SelectWatchListSection(ini, pWatch->GetName(), /*bOddLot=*/FALSE);
    WriteWatchListHead(ini, FALSE, FALSE);
    for (size_t i = 0; i < s_run.symbols.size(); ++i) {
        WATCH_ENTRY entry;
        entry.strTicker = s_run.symbols[i].substr(0, s_run.symbols[i].find('|')).c_str();
        entry.nMarketCode = s_run.symbols[i].back() - '0';
        WriteWatchEntry(ini, static_cast<int>(i), entry);
    }
    pWatch->LoadSettings(&ini);
    Shown(pWatch);
    CNorvApp::ShowTable(pApp->FindTable(ODD_LOTS));
    Shown(pApp->FindTable(ODD_LOTS));
    if (s_run.bTrades) {
        pFrame->SendMessage(WM_COMMAND, ID_APP_US_TIME_SALES);
        if (ITimeAndSalesFeed* pFeed = FindTimeAndSalesFeed())
            for (const std::string& strSymbol : s_run.symbols)
                pFeed->AddSymbol(strSymbol.substr(0, strSymbol.find('|')).c_str());
        IDataTable* pTrades = pApp->FindTable(US_TRADES);
        if (pTrades != nullptr && pTrades->GetMainWindow() != nullptr)
            pTrades->GetMainWindow()->ShowWindow(SW_HIDE);
    }
    GetAppMessageSource()->AddSink(s_run.counter.GetSinkRecord());
}

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD)
{
    CZORVAT32App* pApp = CZORVAT32App::Get();
    if (pApp == nullptr || s_run.bDone)
        return;
    HWND hDlg = GetActiveWindow();
    if (!s_run.bLoggedIn && hDlg != nullptr && GetDlgItem(hDlg, IDC_LOGIN_USER) != nullptr && IsWindowVisible(hDlg)) {
        SetDlgItemTextA(hDlg, IDC_LOGIN_USER, "trader");
        SetDlgItemTextA(hDlg, IDC_LOGIN_PASSWORD, "secret");
        s_run.bLoggedIn = true;
        SendMessageA(GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
        return;
    }
    if (!s_run.bOpened) {
        if (pApp->IsInitialLoadDone() && pApp->GetMainFrame() != nullptr) {
            s_run.bOpened = true;
            OpenTables(pApp);
        }
        return;
    }
    const Clock::time_point now = Clock::now();
    if (!s_run.bWarm) {
        IDataTable* pWatch = pApp->FindTable(WATCH_LIST);
        IDataTable* pOdd = pApp->FindTable(ODD_LOTS);
        auto* pWatchTable = dynamic_cast<CDataTable*>(pWatch);
        auto* pOddTable = dynamic_cast<CDataTable*>(pOdd);
        if (pWatchTable == nullptr || pOddTable == nullptr || pWatchTable->GetRows()->GetCount() < US_SYMBOLS ||
            pOddTable->GetRows()->GetCount() == 0)
            return;
        s_run.bWarm = true;
        s_run.ready = now;
        return;
    }
    if (!s_run.bMeasuring) {
        if (now - s_run.ready < std::chrono::milliseconds(WARM_UP_MS))
            return;
        s_run.bMeasuring = true;
        s_run.start = now;
        s_run.nFull = s_run.counter.nFull;
        s_run.nCompact = s_run.counter.nCompact;
        s_run.nOddLot = s_run.counter.nOddLot;
        s_run.nSeq = s_run.counter.nLastSeq;
        s_run.dCpu = CpuSeconds();
        return;
    }
    if (now - s_run.start < std::chrono::seconds(s_run.nSeconds))
        return;
    const double dSeconds = std::chrono::duration<double>(now - s_run.start).count();
    const double dCpu = CpuSeconds() - s_run.dCpu;
    const long nFull = s_run.counter.nFull - s_run.nFull, nCompact = s_run.counter.nCompact - s_run.nCompact;
    const long nOddLot = s_run.counter.nOddLot - s_run.nOddLot;
    const double dEvents = static_cast<double>(s_run.counter.nLastSeq - s_run.nSeq) / dSeconds;
    // rate, trades, lines/s, full/s, compact/s, QQ/s, server events/s seen, CPU s per s
    printf("RESULT %.0f %d %.0f %.0f %.0f %.0f %.0f %.3f\n", s_run.dRate, s_run.bTrades ? 1 : 0,
           static_cast<double>(nFull + nCompact + nOddLot) / dSeconds, static_cast<double>(nFull) / dSeconds,
           static_cast<double>(nCompact) / dSeconds, static_cast<double>(nOddLot) / dSeconds, dEvents, dCpu / dSeconds);
    fflush(stdout);
    Finish(0);
}

void CALLBACK Deadline(HWND, UINT, UINT_PTR, DWORD)
{
    fprintf(stderr, "bench_live_road: not ready in time (login %d, opened %d, warm %d)\n", s_run.bLoggedIn,
            s_run.bOpened, s_run.bWarm);
    _exit(3);
}

int RunOne(char** argv, const fs::path& work)
{
    if (!MakeBenchData(work / "data", &s_run.symbols)) {
        fprintf(stderr, "bench_live_road: the bench data could not be made under %s\n", work.c_str());
        return 2;
    }
    CSimServerProcess server;
    const int nRunTime = s_run.nSeconds + START_LIMIT_MS / 1000 + 30;
    if (!server.Start(TB_TESTSERVER, {"--data", (work / "data").string(), "--rate", std::to_string(s_run.dRate),
                                      "--seed", "7", "--run-time", std::to_string(nRunTime)})) {
        fprintf(stderr, "bench_live_road: the server did not start\n");
        return 2;
    }
    if (s_run.nCpu >= 0) {
        cpu_set_t set;
        CPU_ZERO(&set);
        CPU_SET(s_run.nCpu, &set);
        if (sched_setaffinity(0, sizeof set, &set) != 0)
            perror("bench_live_road: --cpu");
    }
    const std::string strProgram = (work / "program").string(), strConfig = (work / "config").string();
    MakeFolder(strProgram);
    MakeFolder(strConfig);
    setenv("TB_PROGRAM_DIR", strProgram.c_str(), 1);
    setenv("XDG_CONFIG_HOME", strConfig.c_str(), 1);
    if (getenv("TB_RESOURCE_DIR") == nullptr)
        setenv("TB_RESOURCE_DIR", TB_SOURCE_DIR "/resources", 1);
    if (!WriteLinkSettings(strProgram, false, server.Port()))
        return 2;
    WriteLanguageChoice(false);
    int argc = 1;
    if (!TbInitQtPlatform(&argc, argv))
        return 2;
    RegisterMarketTables();
    CZORVAT32App app;
    SetTimer(nullptr, 0, 20, Step);
    SetTimer(nullptr, 0, static_cast<UINT>(START_LIMIT_MS + s_run.nSeconds * 1000 + WARM_UP_MS), Deadline);
    if (!app.InitApplication() || !app.InitInstance()) {
        fprintf(stderr, "bench_live_road: the terminal did not start\n");
        app.ExitInstance();
        return 2;
    }
    app.Run();
    return s_run.nExit;
}

}  // namespace

int main(int argc, char** argv)
{
    if (getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int nSeconds = 5;
    std::string strRates = "10000,25000,50000,100000";
    double dRun = 0;
    bool bTrades = false;
    int nCpu = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string strArg = argv[i];
        if (strArg == "--seconds" && i + 1 < argc)
            nSeconds = atoi(argv[++i]);
        else if (strArg == "--rates" && i + 1 < argc)
            strRates = argv[++i];
        else if (strArg == "--run" && i + 1 < argc)
            dRun = atof(argv[++i]);
        else if (strArg == "--trades")
            bTrades = true;
        else if (strArg == "--cpu" && i + 1 < argc)
            nCpu = atoi(argv[++i]);
        else {
            fprintf(stderr, "usage: bench_live_road [--seconds N] [--rates R1,R2,...]\n");
            return 2;
        }
    }
    if (nSeconds <= 0)
        nSeconds = 5;
    const fs::path work = fs::temp_directory_path() / ("bench_live_road." + std::to_string(getpid()));
    if (dRun > 0) {
        s_run.dRate = dRun;
        s_run.nSeconds = nSeconds;
        s_run.bTrades = bTrades;
        s_run.nCpu = nCpu;
        const int nExit = RunOne(argv, work);
        std::error_code ec;
        fs::remove_all(work, ec);
        return nExit;
    }
    printf("%8s %6s %10s %9s %9s %9s %10s %8s %9s\n", "rate", "t&s", "lines/s", "GS full", "GS comp", "QQ",
           "events/s", "CPU", "us/line");
    fflush(stdout);
    std::stringstream rates(strRates);
    std::vector<std::string> runs;
    for (std::string strRate; std::getline(rates, strRate, ',');)
        runs.push_back(strRate);
    int nFailed = 0;
    for (int nTrades = 0; nTrades < 2; ++nTrades)
        for (const std::string& strRate : runs) {
            const std::string strCommand = fs::read_symlink("/proc/self/exe").string() + " --run " + strRate + " --seconds " +
                                           std::to_string(nSeconds) + (nTrades ? " --trades" : "") +
                                           (nCpu >= 0 ? " --cpu " + std::to_string(nCpu) : "");
            FILE* pChild = popen(strCommand.c_str(), "r");
            if (pChild == nullptr)
                return 1;
            char szLine[256];
            bool bGot = false;
            while (fgets(szLine, sizeof szLine, pChild) != nullptr) {
                double d[8] = {};
                if (sscanf(szLine, "RESULT %lf %lf %lf %lf %lf %lf %lf %lf", &d[0], &d[1], &d[2], &d[3], &d[4], &d[5],
                           &d[6], &d[7]) == 8) {
                    printf("%8.0f %6s %10.0f %9.0f %9.0f %9.0f %10.0f %7.0f%% %9.1f\n", d[0], d[1] > 0 ? "yes" : "no",
                           d[2], d[3], d[4], d[5], d[6], d[7] * 100, d[2] > 0 ? d[7] * 1e6 / d[2] : 0.0);
                    fflush(stdout);
                    bGot = true;
                }
            }
            if (pclose(pChild) != 0 || !bGot) {
                printf("%8s %6s failed\n", strRate.c_str(), nTrades ? "yes" : "no");
                ++nFailed;
            }
        }
    return nFailed == 0 ? 0 : 1;
}
