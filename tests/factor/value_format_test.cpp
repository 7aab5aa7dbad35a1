// The "%.6g" values of the matrix and score files, against the C library's
// printf over values of every magnitude, the rounding boundaries included.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "factor/text_writer.h"

namespace {

std::string printf_g6(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}

std::string written(double value)
{
    char out[max_value_length];
    return std::string(out, format_value(out, value));
}

TEST(ValueFormat, AgreesWithPrintf)
{
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_int_distribution<long> digits(0, 99999999);
    int mismatches = 0;
    auto check = [&mismatches](double v) {
        if (written(v) != printf_g6(v) && ++mismatches <= 10)
            ADD_FAILURE() << "value " << printf_g6(v) << " (%.17g) written as " << written(v);
    };
    for (int i = 0; i < 300000; ++i) {
        // Random magnitudes, then short decimal fractions such as data
        // files hold, whose seventh digit is often a 5 or a 0.
        check(mantissa(random) * std::pow(10.0, exponent(random)));
        check(static_cast<double>(digits(random)) / std::pow(10.0, exponent(random) % 9 + 9));
        check(static_cast<double>(digits(random) % 10000000) * 0.5);
    }
    for (double v : {0.0, -0.0, 1.0, -1.0, 0.5, 0.0001, 0.00001, 999999.5, 9999995.0, 999999.4,
                     99999.95, 0.99999949, 0.9999995, 1e-15, 1e20, 123456.0, 1234567.0,
                     1e100, -1e-300, 5e-324, 1.7976931348623157e308})
        check(v);
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
