#include "bench/common/BenchMain.h"
#include <unistd.h>
#include <cstdio>
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

CArgRatioReporter::CArgRatioReporter(const char* pszArg, double dBound)
    : ConsoleReporter(TbConsoleOptions()), m_strArg(pszArg), m_dBound(dBound)
{
}

void CArgRatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median"))
            continue;
        const std::string strName = run.run_name.str();
        if (run.run_type == Run::RT_Aggregate || !m_cpu.count(strName))
            m_cpu[strName] = run.GetAdjustedCPUTime();
    }
}

bool CArgRatioReporter::PrintRatios() const
{
    bool bWithin = true;
    const std::string strOn = "/" + m_strArg + ":1";
    for (const auto& [strName, dOn] : m_cpu) {
        const size_t nAt = strName.find(strOn);
        if (nAt == std::string::npos)
            continue;
        std::string strOff = strName;
        strOff.replace(nAt, strOn.size(), "/" + m_strArg + ":0");
        const auto it = m_cpu.find(strOff);
        if (it == m_cpu.end() || it->second <= 0)
            continue;
        const double dRatio = dOn / it->second;
        bWithin = bWithin && dRatio <= m_dBound;
        printf("%s: %s on/off %.2f (bound %.2f)%s\n", strName.substr(0, nAt).c_str(), m_strArg.c_str(), dRatio, m_dBound,
               dRatio <= m_dBound ? "" : " OVER");
    }
    return bWithin;
}

bool CArgRatioReporter::PrintCpuGoal(const std::string& strName, double dGoal, const char* pszUnit) const
{
    const auto it = m_cpu.find(strName);
    if (it == m_cpu.end())
        return true;
    const bool bWithin = it->second < dGoal;
    printf("%s: %.0f %s of CPU (goal under %.0f %s)%s\n", strName.c_str(), it->second, pszUnit, dGoal, pszUnit,
           bWithin ? "" : " OVER");
    return bWithin;
}
