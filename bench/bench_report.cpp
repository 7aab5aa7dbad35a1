// Printing a large table in the report: the raw data section (print
// letter D) of 200,000 subjects x 50 variables, about 77 MB of input and
// 1.2 million lines of report, written into a stream that discards them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <streambuf>
#include <string>

#include "factor/parameters.h"
#include "factor/report.h"
#include "raw_data.h"

namespace {

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
    const std::string& name = bench_raw_data_file();
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
