// Plan Ahead at its longest: 10,000 planned events, answered, charted and applied. Each must take well
// under 50 ms.
#include "session/CalculatorSession.h"
#include "session/Chart.h"

#include <benchmark/benchmark.h>

using namespace vorn;

namespace {

// A goal no plan reaches, so that every one of the 10,000 events is worked out and listed.
PlanRequest longestPlan(PlanCoin coin, const char* blankets)
{
    PlanRequest r;
    r.goal = PlanGoal::TotalXP;
    r.goalValue = "2000000000";
    r.eventLengthEntry = 1;
    r.coin = coin;
    r.silver = "10";
    r.blanketsBetween = blankets;
    return r;
}

void Plan_10000Events(benchmark::State& state)
{
    const CalculatorSession session;
    const PlanRequest r = longestPlan(PlanCoin(state.range(0)), state.range(1) ? "1" : "");
    for (auto _ : state) {
        const PlanAnswer a = session.plan(r);
        if (a.events.size() != static_cast<std::size_t>(kMostPlannedEvents))
            state.SkipWithError("the plan ended early");
        benchmark::DoNotOptimize(a);
    }
}

void PlanChart_10000Events(benchmark::State& state)
{
    const CalculatorSession session;
    const PlanAnswer a = session.plan(longestPlan(PlanCoin::None, ""));
    for (auto _ : state)
        benchmark::DoNotOptimize(planChart(session, a));
}

// Apply Plan works the plan out again and then adds its events; undone untimed, so each apply starts
// from the same character.
void ApplyPlan_10000Events(benchmark::State& state)
{
    CalculatorSession session;
    const PlanRequest r = longestPlan(PlanCoin::None, "");
    const BoxTexts boxes;
    for (auto _ : state) {
        benchmark::DoNotOptimize(session.applyPlan(r, boxes));
        state.PauseTiming();
        session.undo(boxes);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(Plan_10000Events)
    ->ArgNames({"coin", "blankets"})
    ->Args({int(PlanCoin::None), 0})
    ->Args({int(PlanCoin::MaxOut), 0})
    ->Args({int(PlanCoin::Silver), 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(PlanChart_10000Events)->Unit(benchmark::kMillisecond);
BENCHMARK(ApplyPlan_10000Events)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
