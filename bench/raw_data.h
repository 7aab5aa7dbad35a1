// The raw data file that the reading benchmarks share: 200,000 subjects x
// 50 variables (about 77 MB), values like those of real data: a few digits
// before and after the decimal point, some of them negative.
#pragma once

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "factor/text_writer.h"

inline constexpr int bench_subjects = 200000;
inline constexpr int bench_variables = 50;

// Writes the file into the temporary directory once per process and
// returns its path.
inline const std::string& bench_raw_data_file()
{
    static const std::string name = [] {
        const std::string path =
            (std::filesystem::temp_directory_path() / "qrn4-bench-raw.dat").string();
        text_writer out(path);
        std::mt19937 random(12345);
        std::normal_distribution<double> value(50.0, 25.0);
        out.write_count(bench_subjects);
        out.write(' ');
        out.write_count(bench_variables);
        out.write(' ');
        out.line_end();
        for (int j = 0; j < bench_variables; ++j)
            out.write("var" + std::to_string(j + 1) + " ");
        out.line_end();
        for (int i = 0; i < bench_subjects; ++i) {
            out.write("s" + std::to_string(i + 1) + " ");
            for (int j = 0; j < bench_variables; ++j) {
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
