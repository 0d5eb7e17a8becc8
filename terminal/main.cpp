// The terminal: the display, the makers of the tables above the application, then the
// application object's start-up, message loop and exit.
#include <cstdio>
#include <string>
#include "app/ZorvatApp.h"
#include "market/MarketTables.h"
#include "account/AccountForms.h"
#include "account/AccountTables.h"
#include "charts/ZorvatChartForm.h"
#include "orders/OrderForms.h"
#include "platform/qt/QtPlatform.h"

int main(int argc, char** argv)
{
    if (!TbInitQtPlatform(&argc, argv)) {
        fprintf(stderr, "terminal: the display did not start\n");
        return 1;
    }
    RegisterMarketTables();
    RegisterAccountTables();
    RegisterAccountForms();
    RegisterOrderForms();
    RegisterCharts();
    CZORVAT32App app;
    // The arguments as one command line, as the class library reads it.
    std::string strCommandLine;
    for (int i = 1; i < argc; ++i)
        strCommandLine += std::string(i > 1 ? " \"" : "\"") + argv[i] + "\"";
    app.m_lpCmdLine = strCommandLine.data();
    if (!app.InitApplication() || !app.InitInstance()) {
        fprintf(stderr, "terminal: start-up failed\n");
        app.ExitInstance();
        return 1;
    }
    return app.Run();
}
