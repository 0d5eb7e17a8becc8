// testserver: the trading server for the terminal's end-to-end tests and the demo.
//
//   testserver [--port N] [--data DIR] [--scenario NAME] [--split N] [--rsa-bits N]
//              [--run-time S] [--idle-time S] [--log FILE] [--lines N]
//
// Listens on 127.0.0.1 only (port 0, the default, takes an ephemeral one) and prints
// "PORT <n>" on its standard output once it listens. It stops by itself after the run time, or
// when no terminal has been connected for the idle time.
// Scenarios: normal, close-after-hello, x9-two-fields, x9-reject, data-after-accept, no-ack,
// stream (N quotation lines right after the key exchange, for the link's benchmark).
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

int main(int argc, char** argv)
{
    int nPort = 0;
    double dRunTime = 600, dIdleTime = 60;
    std::string strData = TESTSERVER_DATA_DIR;
    ServerOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* pszValue = i + 1 < argc ? argv[i + 1] : nullptr;
        if (!pszValue) {
            fprintf(stderr, "testserver: %s needs a value\n", arg.c_str());
            return 2;
        }
        ++i;
        if (arg == "--port") nPort = atoi(pszValue);
        else if (arg == "--data") strData = pszValue;
        else if (arg == "--scenario") options.strScenario = pszValue;
        else if (arg == "--split") options.nSplit = static_cast<size_t>(atol(pszValue));
        else if (arg == "--lines") options.nStreamLines = atol(pszValue);
        else if (arg == "--rsa-bits") options.nRsaBits = atoi(pszValue);
        else if (arg == "--run-time") dRunTime = atof(pszValue);
        else if (arg == "--idle-time") dIdleTime = atof(pszValue);
        else if (arg == "--log") options.pLog = fopen(pszValue, "w");
        else {
            fprintf(stderr, "testserver: unknown option %s\n", arg.c_str());
            return 2;
        }
    }
    if (options.nRsaBits < 256 || options.nRsaBits > 4096) {
        fprintf(stderr, "testserver: --rsa-bits must be 256 to 4096\n");
        return 2;
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
