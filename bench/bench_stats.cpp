// The slowest requests of the calculator's probability dialogs.
#include "stats/inverse_t.h"
#include "stats/probabilities.h"
#include "stats/gamma_beta.h"

#include <benchmark/benchmark.h>

namespace {

// The interval of a mean at 99.999 percent with 2 cases: stepping down
// from about 2.13 million to 63661.98 in steps of 1.
void BM_InverseStudentT_OneDfAt99999(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(InverseStudentT(1, 0.999995));
}
BENCHMARK(BM_InverseStudentT_OneDfAt99999)->Unit(benchmark::kMicrosecond);

// For comparison: the same stepping with one tail area per step, about
// 2.07 million of them.
void BM_InverseStudentT_TwoMillionSingleSteps(benchmark::State& state)
{
    for (auto _ : state) {
        double t = 2130000;
        while (t > 63662 && StudentTProbability(t - 1, 1) < 5e-6)
            t -= 1;
        benchmark::DoNotOptimize(t);
    }
}
BENCHMARK(BM_InverseStudentT_TwoMillionSingleSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

// The critical value of the correlation interval (50000 degrees of
// freedom, only fine steps).
void BM_CorrelationConfidenceInterval(benchmark::State& state)
{
    for (auto _ : state) {
        double lower;
        double upper;
        CorrelationConfidenceInterval(10, lower, upper, 95, 0.5);
        benchmark::DoNotOptimize(lower);
        benchmark::DoNotOptimize(upper);
    }
}
BENCHMARK(BM_CorrelationConfidenceInterval)->Unit(benchmark::kMicrosecond);

// The binomial dialog with a million trials: both tails and the point.
void BM_BinomialMillionTrials(benchmark::State& state)
{
    const int n = 1000000;
    const int x = static_cast<int>(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(BinomialUpperTail(x, n, 0.5));
        benchmark::DoNotOptimize(BinomialPointProbability(x, n, 0.5));
        benchmark::DoNotOptimize(BinomialUpperTail(x + 1, n, 0.5));
    }
}
BENCHMARK(BM_BinomialMillionTrials)->Arg(499000)->Arg(500000)->Arg(501000)->Unit(benchmark::kMicrosecond);

// Chi-square with 100,000 degrees of freedom, on the series side and on
// the continued-fraction side of the mean.
void BM_ChiSquareHundredThousandDf(benchmark::State& state)
{
    const auto chi = static_cast<double>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(ChiSquareProbability(100000, chi));
}
BENCHMARK(BM_ChiSquareHundredThousandDf)->Arg(99000)->Arg(100000)->Arg(101000)->Unit(benchmark::kMicrosecond);

void BM_FHundredThousandDf(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FProbability(1.01, 100000, 100000));
}
BENCHMARK(BM_FHundredThousandDf)->Unit(benchmark::kMicrosecond);

// The Poisson dialog at its largest mean and count.
void BM_PoissonLargestCount(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(PoissonProbabilityBelow(32000, 10000));
}
BENCHMARK(BM_PoissonLargestCount)->Unit(benchmark::kMicrosecond);

// The proportion interval for half of a million trials.
void BM_InverseIncompleteBetaMillionTrials(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(InverseIncompleteBeta(500000, 500001, 0.025));
        benchmark::DoNotOptimize(InverseIncompleteBeta(500000, 500001, 0.975));
    }
}
BENCHMARK(BM_InverseIncompleteBetaMillionTrials)->Unit(benchmark::kMicrosecond);

}  // namespace
