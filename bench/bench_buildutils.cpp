// Every rules operation at the slowest states a player can reach, the fast rules next to the
// step-by-step reference. The window must answer each action well under a millisecond.
#include "rules/BlanketWalk.h"
#include "rules/BuildUtils.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>

using vorn::BuildUtils;
using vorn::test::LiteralBuildUtils;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

template <typename Utils> Utils character(int32_t build, int32_t looseXP)
{
    Utils utils;
    utils.setBuild(build);
    utils.setLooseXP(looseXP);
    return utils;
}

// The step-by-step reference takes up to seconds on some of these; one pass is enough to show it.
void slowOnes(benchmark::internal::Benchmark* b)
{
    b->Iterations(1)->Unit(benchmark::kMillisecond);
}

// Highest Build whose Total XP still fits, counted from 15 Build point by Build point.
template <typename Utils> void TotalXP_Build10866(benchmark::State& state)
{
    const Utils c = character<Utils>(10866, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.TotalXP());
}

// A huge Loose XP turned into Build: thousands of points bought.
template <typename Utils> void AddBuild_Build15_Loose2e9(benchmark::State& state)
{
    const Utils start = character<Utils>(15, 2000000000);
    for (auto _ : state) {
        Utils c = start;
        c.addBuild(2, 0.0);
        benchmark::DoNotOptimize(c.build());
    }
}

template <typename Utils> void AddBuild_Build10866_Loose2e9(benchmark::State& state)
{
    const Utils start = character<Utils>(10866, 2000000000);
    for (auto _ : state) {
        Utils c = start;
        c.addBuild(2, 0.0);
        benchmark::DoNotOptimize(c.build());
    }
}

// A deeply negative Build climbs through the negative Levels, Level 0 and on.
template <typename Utils> void AddBuild_BuildMinus10866_Loose2e9(benchmark::State& state)
{
    const Utils start = character<Utils>(-10866, 2000000000);
    for (auto _ : state) {
        Utils c = start;
        c.addBuild(0, 0.0);
        benchmark::DoNotOptimize(c.build());
    }
}

// The longest event maxed out.
template <typename Utils> void AddMaxOutBuild_Length32767_Build10866(benchmark::State& state)
{
    const Utils start = character<Utils>(10866, 0);
    for (auto _ : state) {
        Utils c = start;
        c.addMaxOutBuild(32767);
        benchmark::DoNotOptimize(c.build());
    }
}

template <typename Utils> void NextEventBuild_Build15_Loose2e9(benchmark::State& state)
{
    const Utils c = character<Utils>(15, 2000000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getNextEventBuild(2, true));
}

template <typename Utils> void NextEventXP_Build10866(benchmark::State& state)
{
    const Utils c = character<Utils>(10866, 2000000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getNextEventXP(2, true));
}

template <typename Utils> void Body_Build10866(benchmark::State& state)
{
    Utils c({}, [] { return int32_t{4}; }); // Scholar
    c.setBuild(10866);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.body());
}

// Almost all of the count in the XP phase.
template <typename Utils> void TotalBlankets_Build30_Loose2e9(benchmark::State& state)
{
    const Utils c = character<Utils>(30, 2000000000);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getTotalBlankets());
}

// Almost all of the count in the Build phase, at the highest Build whose Total XP fits.
template <typename Utils> void TotalBlankets_Build10866(benchmark::State& state)
{
    const Utils c = character<Utils>(10866, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(c.getTotalBlankets());
}

// Total XP right at the limit: the new character's last blanket carries its Total XP past it.
template <typename Utils> void TotalBlankets_Build10866_TotalXPAtLimit(benchmark::State& state)
{
    const Utils c = character<Utils>(10866, 403184);
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(c.getTotalBlankets());
        } catch (const vorn::OverflowError&) {
        }
    }
}

// Runs up to Build 463395, where the ratio no longer fits, and fails there.
template <typename Utils> void AddBlankets_Max_FromNew(benchmark::State& state)
{
    for (auto _ : state) {
        Utils c;
        try {
            c.addBlankets(kMax);
        } catch (const vorn::OverflowError&) {
        }
        benchmark::DoNotOptimize(c.build());
    }
}

// `count` blankets given to a new character, every one of them kept.
template <typename Utils> void giveToNew(benchmark::State& state, int32_t count)
{
    for (auto _ : state) {
        Utils c;
        c.addBlankets(count);
        benchmark::DoNotOptimize(c.build());
    }
}

// A count that ends just short of the failure, so every blanket is kept.
template <typename Utils> void AddBlankets_500Million_FromNew(benchmark::State& state)
{
    giveToNew<Utils>(state, 500000000);
}

// The longest run that is kept: one blanket short of the one that fails, every point up to Build 463394.
void AddBlankets_OneShortOfFailing_FromNew(benchmark::State& state)
{
    static const int32_t count = int32_t(vorn::test::BlanketWalk::to(30, 0, 463395).blankets - 1);
    giveToNew<BuildUtils>(state, count);
}

// The most blankets whose Total XP can still be counted: a climb to Build 10866.
template <typename Utils> void AddBlankets_MostCountable_FromNew(benchmark::State& state)
{
    giveToNew<Utils>(state, 296853);
}

} // namespace

BENCHMARK_TEMPLATE(TotalXP_Build10866, BuildUtils);
BENCHMARK_TEMPLATE(TotalXP_Build10866, LiteralBuildUtils);
BENCHMARK_TEMPLATE(AddBuild_Build15_Loose2e9, BuildUtils);
BENCHMARK_TEMPLATE(AddBuild_Build15_Loose2e9, LiteralBuildUtils);
BENCHMARK_TEMPLATE(AddBuild_Build10866_Loose2e9, BuildUtils);
BENCHMARK_TEMPLATE(AddBuild_Build10866_Loose2e9, LiteralBuildUtils);
BENCHMARK_TEMPLATE(AddBuild_BuildMinus10866_Loose2e9, BuildUtils);
BENCHMARK_TEMPLATE(AddBuild_BuildMinus10866_Loose2e9, LiteralBuildUtils);
BENCHMARK_TEMPLATE(AddMaxOutBuild_Length32767_Build10866, BuildUtils);
BENCHMARK_TEMPLATE(AddMaxOutBuild_Length32767_Build10866, LiteralBuildUtils);
BENCHMARK_TEMPLATE(NextEventBuild_Build15_Loose2e9, BuildUtils);
BENCHMARK_TEMPLATE(NextEventBuild_Build15_Loose2e9, LiteralBuildUtils);
BENCHMARK_TEMPLATE(NextEventXP_Build10866, BuildUtils);
BENCHMARK_TEMPLATE(NextEventXP_Build10866, LiteralBuildUtils);
BENCHMARK_TEMPLATE(Body_Build10866, BuildUtils);
BENCHMARK_TEMPLATE(Body_Build10866, LiteralBuildUtils);
BENCHMARK_TEMPLATE(TotalBlankets_Build30_Loose2e9, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(TotalBlankets_Build30_Loose2e9, LiteralBuildUtils)->Apply(slowOnes);
BENCHMARK_TEMPLATE(TotalBlankets_Build10866, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(TotalBlankets_Build10866, LiteralBuildUtils)->Apply(slowOnes);
BENCHMARK_TEMPLATE(TotalBlankets_Build10866_TotalXPAtLimit, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(TotalBlankets_Build10866_TotalXPAtLimit, LiteralBuildUtils)->Apply(slowOnes);
BENCHMARK_TEMPLATE(AddBlankets_Max_FromNew, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(AddBlankets_Max_FromNew, LiteralBuildUtils)->Apply(slowOnes);
BENCHMARK_TEMPLATE(AddBlankets_500Million_FromNew, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(AddBlankets_500Million_FromNew, LiteralBuildUtils)->Apply(slowOnes);
BENCHMARK(AddBlankets_OneShortOfFailing_FromNew)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(AddBlankets_MostCountable_FromNew, BuildUtils)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(AddBlankets_MostCountable_FromNew, LiteralBuildUtils)->Apply(slowOnes);

BENCHMARK_MAIN();
