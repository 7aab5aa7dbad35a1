// The correlation pass over a raw data file of 200,000 subjects x 50
// variables (about 77 MB): reading, sums and cross products, and the three
// files it writes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>

#include "factor/correlation.h"
#include "factor/parameters.h"
#include "factor/matrix.h"

namespace {

constexpr int subjects = 200000;
constexpr int variables = 50;

// The stem of the data file, written once per process by the matrix
// writer: values with three digits before and after the decimal point,
// correlated through a common factor.
const std::string& data_stem()
{
    static const std::string stem = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / "qrn4-bench-correlate").string();
        std::mt19937 random(2024);
        std::normal_distribution<double> normal;
        matrix data(subjects, variables, 0.0);
        for (int i = 0; i < subjects; ++i) {
            const double common = normal(random);
            for (int j = 0; j < variables; ++j) {
                const double x = 100.0 + 10.0 * common + 20.0 * normal(random);
                data.val(i, j) = std::round(x * 1000.0) / 1000.0;
            }
        }
        data.write(path + ".dat");
        return path;
    }();
    return stem;
}

void BM_correlate(benchmark::State& state)
{
    analysis_parameters.file_stem = data_stem();
    // The note line goes nowhere.
    std::ostringstream sink;
    std::streambuf* console = std::cout.rdbuf(sink.rdbuf());
    for (auto _ : state)
        correlate();
    std::cout.rdbuf(console);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(data_stem() + ".dat")));
}
BENCHMARK(BM_correlate)->Unit(benchmark::kMillisecond);

}  // namespace
