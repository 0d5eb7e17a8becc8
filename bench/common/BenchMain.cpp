#include "bench/common/BenchMain.h"
#include <unistd.h>
#include <cstring>
#include <vector>

static bool IsTerminal()
{
    return isatty(STDOUT_FILENO) == 1;
}

void TbInitBenchmarks(int* pArgc, char*** pArgv)
{
    // The arguments must outlive Initialize's use of them: kept for the program's life.
    static std::vector<char*> s_args;
    static char s_szNoColor[] = "--benchmark_color=false";
    s_args.assign(*pArgv, *pArgv + *pArgc);
    bool bColorGiven = false;
    for (char* pszArg : s_args)
        bColorGiven = bColorGiven || strncmp(pszArg, "--benchmark_color", 17) == 0;
    if (!bColorGiven && !IsTerminal())
        s_args.push_back(s_szNoColor);
    s_args.push_back(nullptr);
    *pArgc = static_cast<int>(s_args.size()) - 1;
    *pArgv = s_args.data();
    benchmark::Initialize(pArgc, *pArgv);
}

benchmark::ConsoleReporter::OutputOptions TbConsoleOptions()
{
    return IsTerminal() ? benchmark::ConsoleReporter::OO_ColorTabular : benchmark::ConsoleReporter::OO_Tabular;
}
