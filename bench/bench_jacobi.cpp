// The eigen solver on correlation matrices of 50, 100 and 300 variables:
// the correlations of random data with a few common factors, so that the
// eigenvalues spread as in real analyses.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

#include "factor/matrix.h"

namespace {

matrix correlation_matrix(int p)
{
    const int subjects = 2 * p;
    const int factors = 5;
    std::mt19937 random(4711);
    std::normal_distribution<double> normal;
    std::vector<double> weights(static_cast<std::size_t>(p) * factors);
    for (double& w : weights)
        w = normal(random);
    std::vector<double> data(static_cast<std::size_t>(subjects) * p);
    for (int s = 0; s < subjects; ++s) {
        double common[factors];
        for (double& f : common)
            f = normal(random);
        for (int j = 0; j < p; ++j) {
            double x = normal(random);
            for (int f = 0; f < factors; ++f)
                x += weights[j * factors + f] * common[f];
            data[s * p + j] = x;
        }
    }

    std::vector<double> mean(p, 0.0), sd(p, 0.0);
    for (int j = 0; j < p; ++j) {
        for (int s = 0; s < subjects; ++s)
            mean[j] += data[s * p + j] / subjects;
        for (int s = 0; s < subjects; ++s)
            sd[j] += std::pow(data[s * p + j] - mean[j], 2) / subjects;
        sd[j] = std::sqrt(sd[j]);
    }
    matrix r(p, p, 0.0);
    for (int i = 0; i < p; ++i) {
        for (int j = i; j < p; ++j) {
            double sum = 0.0;
            for (int s = 0; s < subjects; ++s)
                sum += (data[s * p + i] - mean[i]) * (data[s * p + j] - mean[j]);
            r.val(i, j) = r.val(j, i) = i == j ? 1.0 : sum / subjects / (sd[i] * sd[j]);
        }
    }
    return r;
}

void BM_jacobi(benchmark::State& state)
{
    const matrix r = correlation_matrix(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        matrix a = r;
        matrix v = a.jacobi();
        benchmark::DoNotOptimize(v.val(0, 0));
    }
}
BENCHMARK(BM_jacobi)->Arg(50)->Arg(100)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace
