#include "tools/testserver/Options.h"
#include <cstdlib>
#include <cstring>

static const struct { const char* pszName; const char* pszWhat; } s_scenarios[] = {
    {"normal", "hello, market list, key exchange, error texts, login, reference data"},
    {"close-after-hello", "closes the connection after answering the hello"},
    {"x9-two-fields", "sends its public key without the exponent field"},
    {"x9-reject", "refuses the key exchange"},
    {"data-after-accept", "sends enciphered data in the same write as the key-exchange accept"},
    {"no-ack", "never acknowledges a request (reply number 0)"},
    {"stream", "streams --lines quotation lines right after the key exchange (link benchmark)"},
    {"pad-lines", "pads every enciphered line on its own instead of each write once"},
    {"live-in-refill", "puts a live line after the first row of every reply stream"},
    {"live-in-refill=MN", "puts the latest live line of type MN (or shape MN.x) after the first row of every reply stream"},
    {"en-after-error", "closes an error reply with \"EN\" as if it were a stream"},
    {"reverse=MN", "holds the first reply of type MN and sends it after the second"},
    {"hold=MN:NM", "holds every reply of type MN until the terminal asks for NM, and sends them before that reply"},
    {"login-order=N", "holds every reply and push after the login's until the login's last request (\"VX\"), then sends them whole in an order seed N draws"},
    {"close-in-stream=MN", "closes the connection halfway through the rows of the MN reply"},
    {"live-first=MN", "sends the live lines an order request of type MN made before its reply"},
    {"fill-first", "sends each trade line of an order before the order's own lines made with it"},
    {"delay=MN:S", "waits S seconds before the reply of type MN (later output waits behind it)"},
    {"no-number=MN:F", "puts \"n/a\" in field F of every reply of type MN (MN:F,MN:F... for more)"},
    {"empty=MN:F", "sends field F of every line of type MN empty, its live lines too"},
    {"us-mm-kse-0", "after login, a US \"MM\" while the KSE state is 0"},
    {"second-market-list", "after login, a second \"XC\" market list nobody asked for"},
    {"unknown-types", "after login, typed lines of unknown mnemonics and of types without a handler"},
};

static void PrintUsage(FILE* pOut)
{
    fprintf(pOut,
            "Usage: testserver [OPTION VALUE ...]\n"
            "A simulated trading server for the terminal's end-to-end tests and the demo. It listens\n"
            "on 127.0.0.1 only, prints \"PORT <n> HTTP <m>\" once it listens (the line port and the\n"
            "port of its web pages), and stops by itself after the run time or when no terminal has\n"
            "been connected for the idle time.\n\n"
            "  --port N          port to listen on; 0 (default) takes a free one\n"
            "  --data DIR        folder with the data files (default: the source tree's)\n"
            "  --accounts FILE   the users who may log in (default: accounts.txt of the data)\n"
            "  --seed N          seed of every random choice (default 1)\n"
            "  --clock T         Kuwait date and time the simulated clock starts at,\n"
            "                    \"YYYY-MM-DD HH:MM:SS\" (default 2026-12-07 09:30:00)\n"
            "  --rate R          live lines per second; 0 holds the market still (default 20)\n"
            "  --scenario S      how the server behaves (default normal; see below)\n"
            "  --fail MN=CODE    answer every request of type MN with the error CODE\n"
            "                    (may be given more than once)\n"
            "  --split N         send every write in pieces of N bytes, each once the one\n"
            "                    before it has left (0: whole)\n"
            "  --lines N         quotation lines of the stream scenario (default 1000000)\n"
            "  --rsa-bits N      size of the server's RSA modulus, 256 to 4096 (default 256)\n"
            "  --run-time S      stop after S seconds (default 600)\n"
            "  --idle-time S     stop after S seconds without a connected terminal (default 60)\n"
            "  --log FILE        write every line received and sent to FILE\n"
            "  --state FILE      after each request, write every account's positions, cash and\n"
            "                    the exchange rates to FILE (for tests that check the sums)\n"
            "  -h, --help        this text\n\n"
            "Scenarios:\n");
    for (const auto& s : s_scenarios)
        fprintf(pOut, "  %-20s %s\n", s.pszName, s.pszWhat);
}

static bool SetScenario(const char* pszValue, ServerOptions& o)
{
    const char* pszEq = strchr(pszValue, '=');
    const std::string strName(pszValue, pszEq ? static_cast<size_t>(pszEq - pszValue) : strlen(pszValue));
    for (const auto& s : s_scenarios) {
        const char* pszSEq = strchr(s.pszName, '=');
        const std::string strKnown(s.pszName, pszSEq ? static_cast<size_t>(pszSEq - s.pszName) : strlen(s.pszName));
        // A scenario that takes an argument needs one; the others take none.
        if (strKnown == strName && (pszSEq != nullptr) == (pszEq != nullptr) && (!pszEq || pszEq[1])) {
            o.strScenario = strName;
            o.strScenarioArg = pszEq ? pszEq + 1 : "";
            return true;
        }
    }
    return false;
}

// A whole number in its range, or false: "--port abc" must not quietly mean port 0.
static bool ReadNumber(const char* pszText, double dLow, double dHigh, double* pdValue)
{
    char* pszEnd = nullptr;
    const double d = strtod(pszText, &pszEnd);
    if (pszEnd == pszText || *pszEnd != '\0' || !(d >= dLow && d <= dHigh))
        return false;
    *pdValue = d;
    return true;
}

static bool SetFail(const char* pszValue, ServerOptions& o)
{
    double d = 0;
    if (strlen(pszValue) < 4 || pszValue[2] != '=' || !ReadNumber(pszValue + 3, 1, 1e9, &d))
        return false;
    o.fails[std::string(pszValue, 2)] = static_cast<long>(d);
    return true;
}

static bool IsClock(const char* pszValue)
{
    int y, mo, d, h, mi, s;
    char c;
    return sscanf(pszValue, "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &c) == 6 && y >= 2000 &&
           y <= 2099 && mo >= 1 && mo <= 12 && d >= 1 && d <= 31 && h < 24 && mi < 60 && s < 60;
}

// One row per option that takes a value: how it is read into the options.
static bool SetOption(const std::string& arg, const char* pszValue, ServerOptions& o)
{
    double d = 0;
    if (arg == "--port") {
        if (!ReadNumber(pszValue, 0, 65535, &d)) return false;
        o.nPort = static_cast<int>(d);
    } else if (arg == "--state") {
        o.strState = pszValue;
    } else if (arg == "--data") {
        o.strData = pszValue;
    } else if (arg == "--accounts") {
        o.strAccounts = pszValue;
    } else if (arg == "--seed") {
        if (!ReadNumber(pszValue, 0, 4294967295.0, &d)) return false;
        o.nSeed = static_cast<unsigned long>(d);
    } else if (arg == "--clock") {
        if (!IsClock(pszValue)) return false;
        o.strClock = pszValue;
    } else if (arg == "--rate") {
        return ReadNumber(pszValue, 0, 1e7, &o.dRate);
    } else if (arg == "--scenario") {
        return SetScenario(pszValue, o);
    } else if (arg == "--fail") {
        return SetFail(pszValue, o);
    } else if (arg == "--split") {
        if (!ReadNumber(pszValue, 0, 1e9, &d)) return false;
        o.nSplit = static_cast<size_t>(d);
    } else if (arg == "--lines") {
        if (!ReadNumber(pszValue, 0, 1e12, &d)) return false;
        o.nStreamLines = static_cast<long>(d);
    } else if (arg == "--rsa-bits") {
        if (!ReadNumber(pszValue, 256, 4096, &d)) return false;
        o.nRsaBits = static_cast<int>(d);
    } else if (arg == "--run-time") {
        return ReadNumber(pszValue, 0, 1e9, &o.dRunTime);
    } else if (arg == "--idle-time") {
        return ReadNumber(pszValue, 0, 1e9, &o.dIdleTime);
    } else if (arg == "--log") {
        return (o.pLog = fopen(pszValue, "w")) != nullptr;
    } else {
        return false;
    }
    return true;
}

static bool IsValueOption(const std::string& arg)
{
    static const char* const s_names[] = {"--port",  "--data",  "--accounts", "--seed", "--clock",
                                          "--rate",  "--scenario", "--fail", "--split", "--lines", "--rsa-bits", "--run-time", "--idle-time", "--log", "--state"};
    for (const char* psz : s_names)
        if (arg == psz)
            return true;
    return false;
}

int ParseOptions(int argc, char** argv, ServerOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            PrintUsage(stdout);
            return 0;
        }
        if (!IsValueOption(arg)) {
            fprintf(stderr, "testserver: unknown option %s\n", arg.c_str());
            PrintUsage(stderr);
            return 2;
        }
        if (i + 1 >= argc) {
            fprintf(stderr, "testserver: %s needs a value\n", arg.c_str());
            return 2;
        }
        const char* pszValue = argv[++i];
        if (!SetOption(arg, pszValue, options)) {
            fprintf(stderr, "testserver: %s %s is not accepted (see --help)\n", arg.c_str(), pszValue);
            return 2;
        }
    }
    return -1;
}
