// testserver: the trading server for the terminal's end-to-end tests and the demo. Listens on
// 127.0.0.1 only and stops by itself; `testserver --help` lists the options and scenarios.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>
#include "tools/testserver/Session.h"

static double Now()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

static int Listen(int nPort)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    const int nOn = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof nOn);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 8) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

static const struct { const char* pszName; const char* pszWhat; } s_scenarios[] = {
    {"normal", "hello, market list, key exchange, error texts, login, follow-up requests"},
    {"close-after-hello", "closes the connection after answering the hello"},
    {"x9-two-fields", "sends its public key without the exponent field"},
    {"x9-reject", "refuses the key exchange"},
    {"data-after-accept", "sends enciphered data in the same write as the key-exchange accept"},
    {"no-ack", "never acknowledges a request (reply number 0)"},
    {"stream", "streams --lines quotation lines right after the key exchange (link benchmark)"},
};

static void PrintUsage(FILE* pOut)
{
    fprintf(pOut,
            "Usage: testserver [OPTION VALUE ...]\n"
            "A small trading server for the terminal's end-to-end tests and the demo. It listens on\n"
            "127.0.0.1 only, prints \"PORT <n>\" once it listens, and stops by itself after the run\n"
            "time or when no terminal has been connected for the idle time.\n\n"
            "  --port N        port to listen on; 0 (default) takes a free one\n"
            "  --data DIR      folder with session.txt and accounts.txt (default: the source tree's)\n"
            "  --scenario S    how the server behaves (default normal; see below)\n"
            "  --split N       send every reply in pieces of N bytes (0: whole)\n"
            "  --lines N       quotation lines of the stream scenario (default 1000000)\n"
            "  --rsa-bits N    size of the server's RSA modulus, 256 to 4096 (default 256)\n"
            "  --run-time S    stop after S seconds (default 600)\n"
            "  --idle-time S   stop after S seconds without a connected terminal (default 60)\n"
            "  --log FILE      write every line received and sent to FILE\n"
            "  -h, --help      this text\n\n"
            "Scenarios:\n");
    for (const auto& s : s_scenarios)
        fprintf(pOut, "  %-18s %s\n", s.pszName, s.pszWhat);
}

static bool IsScenario(const std::string& strName)
{
    for (const auto& s : s_scenarios)
        if (strName == s.pszName)
            return true;
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

int main(int argc, char** argv)
{
    int nPort = 0;
    double dRunTime = 600, dIdleTime = 60;
    std::string strData = TESTSERVER_DATA_DIR;
    ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            PrintUsage(stdout);
            return 0;
        }
        const char* pszValue = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg.rfind("--", 0) != 0 || !pszValue) {
            fprintf(stderr, pszValue ? "testserver: unknown option %s\n" : "testserver: %s needs a value\n", arg.c_str());
            PrintUsage(stderr);
            return 2;
        }
        ++i;
        double d = 0;
        bool bOk = true;
        if (arg == "--port") {
            bOk = ReadNumber(pszValue, 0, 65535, &d);
            nPort = static_cast<int>(d);
        } else if (arg == "--data") {
            strData = pszValue;
        } else if (arg == "--scenario") {
            bOk = IsScenario(pszValue);
            options.strScenario = pszValue;
        } else if (arg == "--split") {
            bOk = ReadNumber(pszValue, 0, 1e9, &d);
            options.nSplit = static_cast<size_t>(d);
        } else if (arg == "--lines") {
            bOk = ReadNumber(pszValue, 0, 1e12, &d);
            options.nStreamLines = static_cast<long>(d);
        } else if (arg == "--rsa-bits") {
            bOk = ReadNumber(pszValue, 256, 4096, &d);
            options.nRsaBits = static_cast<int>(d);
        } else if (arg == "--run-time") {
            bOk = ReadNumber(pszValue, 0, 1e9, &dRunTime);
        } else if (arg == "--idle-time") {
            bOk = ReadNumber(pszValue, 0, 1e9, &dIdleTime);
        } else if (arg == "--log") {
            bOk = (options.pLog = fopen(pszValue, "w")) != nullptr;
        } else {
            fprintf(stderr, "testserver: unknown option %s\n", arg.c_str());
            PrintUsage(stderr);
            return 2;
        }
        if (!bOk) {
            fprintf(stderr, "testserver: %s %s is not accepted (see --help)\n", arg.c_str(), pszValue);
            return 2;
        }
    }
    CScript script;
    if (!script.Load(strData)) {
        fprintf(stderr, "testserver: cannot read %s/session.txt\n", strData.c_str());
        return 1;
    }
    CServerRsa rsa;
    rsa.Generate(options.nRsaBits);

    const int fdListen = Listen(nPort);
    if (fdListen < 0) {
        perror("testserver: listen");
        return 1;
    }
    sockaddr_in addr{};
    socklen_t nLen = sizeof addr;
    getsockname(fdListen, reinterpret_cast<sockaddr*>(&addr), &nLen);
    printf("PORT %d\n", ntohs(addr.sin_port));
    fflush(stdout);

    std::vector<std::unique_ptr<CSession>> sessions;
    const double dStart = Now();
    double dLastActive = dStart;
    while (Now() - dStart < dRunTime) {
        if (sessions.empty() && Now() - dLastActive > dIdleTime)
            break;
        std::vector<pollfd> fds{{fdListen, POLLIN, 0}};
        for (const auto& s : sessions)
            fds.push_back({s->Socket(), POLLIN, 0});
        if (poll(fds.data(), fds.size(), 200) <= 0)
            continue;
        dLastActive = Now();
        if (fds[0].revents & POLLIN) {
            const int fd = accept(fdListen, nullptr, nullptr);
            if (fd >= 0) {
                const int nOn = 1;
                setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nOn, sizeof nOn);
                sessions.push_back(std::make_unique<CSession>(fd, script, options, rsa));
            }
        }
        for (size_t i = fds.size() - 1; i >= 1; --i) {
            if (fds[i].revents & (POLLIN | POLLHUP | POLLERR)) {
                if (!sessions[i - 1]->OnReadable())
                    sessions.erase(sessions.begin() + static_cast<long>(i - 1));
            }
        }
    }
    close(fdListen);
    if (options.pLog)
        fclose(options.pLog);
    return 0;
}
