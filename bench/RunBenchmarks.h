// The benchmark library's own main, for programs whose main must first make
// what the benchmarks need (a Qt application) and end it after them.
#pragma once

#include <benchmark/benchmark.h>

inline int RunBenchmarks(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
