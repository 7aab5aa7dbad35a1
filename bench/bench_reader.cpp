// Reading a large raw data file: 200,000 subjects x 50 variables (about
// 77 MB), through the word reader with the conversion of every value, and
// through the matrix file constructor.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "factor/matrix.h"
#include "raw_data.h"
#include "factor/word_reader.h"

namespace {

void BM_word_reader(benchmark::State& state)
{
    const std::string& name = bench_raw_data_file();
    for (auto _ : state) {
        word_reader in(name);
        value_conversion value;
        double sum = 0.0;
        while (in.read_value(value))
            sum += value.value;
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(name)));
}
BENCHMARK(BM_word_reader)->Unit(benchmark::kMillisecond);

void BM_matrix_file(benchmark::State& state)
{
    const std::string& name = bench_raw_data_file();
    for (auto _ : state) {
        matrix data(name);
        benchmark::DoNotOptimize(data.val(bench_subjects - 1, bench_variables - 1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(name)));
}
BENCHMARK(BM_matrix_file)->Unit(benchmark::kMillisecond);

}  // namespace
