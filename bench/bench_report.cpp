// Printing a large table in the report: the raw data section (print
// letter D) of 200,000 subjects x 50 variables, about 77 MB of input and
// 1.2 million lines of report, written into a stream that discards them.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <random>
#include <streambuf>
#include <string>

#include "factor/parameters.h"
#include "factor/report.h"
#include "factor/text_writer.h"

namespace {

constexpr int subjects = 200000;
constexpr int variables = 50;

const std::string& data_file()
{
    static const std::string name = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / "qrn4-bench-report.dat").string();
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

// Counts what it is given and keeps nothing.
class counting_buffer : public std::streambuf {
public:
    long long bytes = 0;

protected:
    int_type overflow(int_type c) override
    {
        ++bytes;
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char*, std::streamsize n) override
    {
        bytes += n;
        return n;
    }
};

void BM_print_raw_data(benchmark::State& state)
{
    const std::string& name = data_file();
    analysis_parameters.data_name = "BENCH";
    counting_buffer sink;
    std::streambuf* console = std::cout.rdbuf(&sink);
    for (auto _ : state) {
        page_line_count = 55;
        page_number = 0;
        print_matrix_file(name, "Raw Data Matrix");
    }
    std::cout.rdbuf(console);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(name)));
    state.counters["report_MB"] =
        static_cast<double>(sink.bytes) / static_cast<double>(state.iterations()) / 1e6;
}
BENCHMARK(BM_print_raw_data)->Unit(benchmark::kMillisecond);

}  // namespace
