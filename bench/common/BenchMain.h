#pragma once
// Google Benchmark's start-up for our programs. Colours only when the output is a terminal: the
// library's own "auto" looks at TERM alone, so a run piped into a file was full of escape codes.
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

void TbInitBenchmarks(int* pArgc, char*** pArgv);
// The console reporter's options for a reporter of our own (with or without colour, as above).
benchmark::ConsoleReporter::OutputOptions TbConsoleOptions();

// Console output as usual; after the run, each benchmark with the argument strArg at 1 against
// the same at 0 ("BM_Reply/fit:1" against "BM_Reply/fit:0"), in CPU time, beside a bound.
// With --benchmark_repetitions the median stands for a benchmark: the machine may be busy.
class CArgRatioReporter : public benchmark::ConsoleReporter
{
public:
    CArgRatioReporter(const char* pszArg, double dBound);
    void ReportRuns(const std::vector<Run>& runs) override;
    // The ratios printed; FALSE when one passes the bound.
    bool PrintRatios() const;
    // A benchmark's CPU time against a goal, both in the benchmark's time unit; FALSE over it.
    bool PrintCpuGoal(const std::string& strName, double dGoal, const char* pszUnit) const;

private:
    std::string m_strArg;
    double m_dBound;
    std::map<std::string, double> m_cpu;    // by the benchmark's name
};
