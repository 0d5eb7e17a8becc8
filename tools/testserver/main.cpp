// testserver: the simulated trading server for the terminal's end-to-end tests and the demo.
// Listens on 127.0.0.1 only and stops by itself; `testserver --help` lists the options and
// scenarios.
#include <cstdio>
#include "tools/testserver/Server.h"

int main(int argc, char** argv)
{
    ServerOptions options;
    options.strData = TESTSERVER_DATA_DIR;
    const int nExit = ParseOptions(argc, argv, options);
    if (nExit >= 0)
        return nExit;
    int nResult = 1;
    {
        CServer server(options);
        if (server.Load())
            nResult = server.Run();
    }
    if (options.pLog)
        fclose(options.pLog);
    return nResult;
}
