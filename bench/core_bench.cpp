// The platform-free core at speed: the month layout every paint computes and
// the size fit every host request asks for.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "plugin/cal_protocol.h"
#include "tool/fit_size.h"
#include "view/month_layout.h"

namespace {

// Months and first days vary from call to call, so that no result can be
// carried over from the previous iteration.
void MonthLayout(benchmark::State& state)
{
    CalLayoutInput in{};
    in.width = static_cast<int32_t>(state.range(0));
    in.height = static_cast<int32_t>(state.range(1));
    in.weekNumbers = static_cast<int32_t>(state.range(2));
    int32_t i = 0;
    for (auto _ : state) {
        in.year = 1990 + i % 64;
        in.month = 1 + i % 12;
        in.firstDay = i % 7;
        in.todayDay = 1 + i % 28;
        CalMonthLayout layout = CalComputeMonthLayout(in);
        benchmark::DoNotOptimize(layout);
        ++i;
    }
}
BENCHMARK(MonthLayout)
    ->ArgNames({"w", "h", "weeks"})
    ->Args({160, 128, 0})
    ->Args({160, 128, 1})
    ->Args({400, 300, 0})
    ->Args({400, 300, 1})
    ->Args({1600, 1200, 0})
    ->Args({1600, 1200, 1});

// A mix of the cases a host sends: by width and by height, bounded or not,
// below the minimum or not.
void FitSize(benchmark::State& state)
{
    static constexpr std::array<CalFitRequest, 8> requests{{
        {40, 30, 1000, 1000, 1, 120},
        {40, 30, 1000, 1000, 0, 160},
        {40, 30, 200, 1000, 1, 300},
        {40, 30, 1000, 100, 0, 400},
        {40, 30, 1000, 100, 1, 300},
        {60, 40, 1000, 1000, 0, 50},
        {1, 1, 1000, 1000, 1, 3},
        {40, 30, 4000, 4000, 0, 1600},
    }};
    std::size_t i = 0;
    for (auto _ : state) {
        CalFitRequest r = requests[i % requests.size()];
        benchmark::DoNotOptimize(r);
        uint32_t packed = CalFitSize(r);
        benchmark::DoNotOptimize(packed);
        ++i;
    }
}
BENCHMARK(FitSize);

}  // namespace

BENCHMARK_MAIN();
