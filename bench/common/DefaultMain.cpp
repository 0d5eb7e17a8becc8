// The main of a benchmark program that needs nothing but its registered benchmarks.
#include "bench/common/BenchMain.h"

int main(int argc, char** argv)
{
    TbInitBenchmarks(&argc, &argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
