// Reading a large raw data file: 200,000 subjects x 50 variables (about
// 77 MB), through the word reader with the conversion of every value, and
// through the matrix file constructor.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "factor/matrix.h"
#include "factor/text_writer.h"
#include "factor/word_reader.h"

namespace {

constexpr int subjects = 200000;
constexpr int variables = 50;

// Writes the file once per process, values like those of real data: a few
// digits before and after the decimal point, some of them negative.
const std::string& data_file()
{
    static const std::string name = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / "qrn4-bench-raw.dat").string();
        text_writer out(path);
        std::mt19937 random(12345);
        std::normal_distribution<double> value(50.0, 25.0);
        out.write_count(subjects);
        out.write(' ');
        out.write_count(variables);
        out.write(' ');
        out.line_end();
        for (int j = 0; j < variables; ++j)
            out.write("var" + std::to_string(j + 1) + " ");
        out.line_end();
        for (int i = 0; i < subjects; ++i) {
            out.write("s" + std::to_string(i + 1) + " ");
            for (int j = 0; j < variables; ++j) {
                out.write_value(std::round(value(random) * 1000.0) / 1000.0);
                out.write(' ');
            }
            out.line_end();
        }
        if (!out.close())
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return path;
    }();
    return name;
}

void BM_word_reader(benchmark::State& state)
{
    const std::string& name = data_file();
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
    const std::string& name = data_file();
    for (auto _ : state) {
        matrix data(name);
        benchmark::DoNotOptimize(data.val(subjects - 1, variables - 1));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(name)));
}
BENCHMARK(BM_matrix_file)->Unit(benchmark::kMillisecond);

}  // namespace
