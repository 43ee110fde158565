#include "rules/BuildUtils.h"

#include <benchmark/benchmark.h>

static void BM_NewCharacterTotalXP(benchmark::State& state)
{
    vorn::BuildUtils utils;
    for (auto _ : state)
        benchmark::DoNotOptimize(utils.TotalXP());
}
BENCHMARK(BM_NewCharacterTotalXP);

BENCHMARK_MAIN();
