#include "factor/text_writer.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>

namespace {

constexpr double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// a * 10^k for -22 <= k <= 22: the powers are exact, so one rounding.
double scaled(double a, int k)
{
    return k >= 0 ? a * powers_of_ten[k] : a / powers_of_ten[-k];
}

// The two digits of each number below 100.
constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The six significant digits of a usual value a > 0: the integer n,
// 100000 <= n < 1000000, with a = n * 10^(e - 5) after rounding, e the
// decimal exponent.  They are a * 10^(5 - e) rounded to an integer: that
// product is off by less than 1e-9, so it rounds as the exact value does
// unless it lies within 1e-6 of a half; for those values, and the very
// large or small ones, false leaves the value to the general conversion.
bool six_digits(double a, std::int32_t& n, int& e)
{
    if (!(a >= 1e-15 && a < 1e20))
        return false;
    // a = m * 2^binary_exponent with 0.5 <= m < 1 (a is a normal number).
    const int binary_exponent = static_cast<int>(std::bit_cast<std::uint64_t>(a) >> 52) - 1022;
    // floor((binary_exponent - 1) * log10(2)), at most 1 below e.
    e = ((binary_exponent - 1) * 78913) >> 18;
    double r = scaled(a, 5 - e);
    if (r >= 1000000.0)
        r = scaled(a, 5 - ++e);
    else if (r < 100000.0)
        r = scaled(a, 5 - --e);
    // 100000 <= r <= 1000000: the conversion truncates, as floor would.
    const auto whole = static_cast<std::int32_t>(r);
    const double fraction = r - whole;
    if (std::fabs(fraction - 0.5) < 1e-6)
        return false;
    n = whole + (fraction > 0.5);
    if (n == 1000000) {
        n = 100000;
        ++e;
    }
    return true;
}

// The six digits of n as text, '0' behind them (read by the fixed-size
// copies of format_usual_value), and how many of them are shown: trailing
// zeros are dropped.
int digit_text(std::int32_t n, char (&digits)[16])
{
    std::memset(digits, '0', sizeof digits);
    std::memcpy(digits, &digit_pairs[2 * (n / 10000)], 2);
    std::memcpy(digits + 2, &digit_pairs[2 * (n / 100 % 100)], 2);
    std::memcpy(digits + 4, &digit_pairs[2 * (n % 100)], 2);
    std::uint64_t digit_bytes;
    std::memcpy(&digit_bytes, digits, 8);
    // The high bit of each byte that holds a digit other than 0; the
    // first digit is one of them.
    constexpr std::uint64_t ones = 0x0101010101010101;
    const std::uint64_t nonzero = ((digit_bytes ^ 0x30 * ones) + 0x7F * ones) & 0x80 * ones;
    static_assert(std::endian::native == std::endian::little);
    return (64 - std::countl_zero(nonzero)) / 8;
}

// "%.6g" the quick way, for the usual values (see six_digits); nullptr
// for the others.
char* format_usual_value(char* out, double value)
{
    std::int32_t n = 0;
    int e = 0;
    if (!six_digits(std::fabs(value), n, e))
        return nullptr;
    char digits[16];
    const int shown = digit_text(n, digits);

    // Each form is written with copies of fixed size, which may write
    // beyond its end (max_value_length leaves the room), and then cut.
    char* p = out;
    *p = '-';
    p += value < 0;
    if (e >= 0 && e < 6) {
        // e + 1 digits, then the point and the rest if any is shown.
        std::memcpy(p, digits, 8);
        p[e + 1] = '.';
        std::memcpy(p + e + 2, digits + e + 1, 8);
        return p + (shown > e + 1 ? shown + 1 : e + 1);
    }
    if (e < 0 && e >= -4) {
        // 0.000ddd: the point, -e - 1 zeros, then the digits.
        std::memcpy(p, "0.000", 5);
        std::memcpy(p + 1 - e, digits, 8);
        return p + 1 - e + shown;
    }
    // d.ddddde+xx (the exponent has two digits here).
    p[0] = digits[0];
    p[1] = '.';
    std::memcpy(p + 2, digits + 1, 8);
    p += shown > 1 ? shown + 1 : 1;
    *p++ = 'e';
    *p++ = e < 0 ? '-' : '+';
    std::memcpy(p, &digit_pairs[2 * (e < 0 ? -e : e)], 2);
    return p + 2;
}

}  // namespace

char* format_value(char* out, double value)
{
    if (char* end = format_usual_value(out, value))
        return end;
    // std::to_chars with a precision converts as printf does in the "C"
    // locale, so this is exactly "%.6g".
    return std::to_chars(out, out + max_value_length, value, std::chars_format::general, 6).ptr;
}

text_writer::text_writer(const std::string& file_name)
    : buffer_(std::make_unique_for_overwrite<char[]>(buffer_size))
{
    // Opening a named pipe waits for a reader, which may never come; the
    // run's files are read back, which a pipe cannot be.
    std::error_code error;
    if (!std::filesystem::is_fifo(file_name, error))
        file_ = std::fopen(file_name.c_str(), "wb");
}

text_writer::~text_writer()
{
    // On the way out of an error: what was written so far still reaches
    // the file, as far as it can.
    if (file_) {
        flush_buffer();
        std::fclose(file_);
    }
}

void text_writer::flush_buffer()
{
    if (file_ && used_ > 0 && std::fwrite(&buffer_[0], 1, used_, file_) != used_)
        good_ = false;
    used_ = 0;
}

void text_writer::write(std::string_view text)
{
    if (text.size() > buffer_size - used_) {
        flush_buffer();
        if (text.size() > buffer_size) {
            if (file_ && std::fwrite(text.data(), 1, text.size(), file_) != text.size())
                good_ = false;
            return;
        }
    }
    std::memcpy(&buffer_[used_], text.data(), text.size());
    used_ += text.size();
}

void text_writer::write_count(long long count)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, count);
    write(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

bool text_writer::close()
{
    if (!file_)
        return false;
    flush_buffer();
    if (std::fflush(file_) != 0 || std::ferror(file_))
        good_ = false;
    if (std::fclose(file_) != 0)
        good_ = false;
    file_ = nullptr;
    return good_;
}
