#pragma once
// Google Benchmark's start-up for our programs. Colours only when the output is a terminal: the
// library's own "auto" looks at TERM alone, so a run piped into a file was full of escape codes.
#include <benchmark/benchmark.h>

void TbInitBenchmarks(int* pArgc, char*** pArgv);
// The console reporter's options for a reporter of our own (with or without colour, as above).
benchmark::ConsoleReporter::OutputOptions TbConsoleOptions();
