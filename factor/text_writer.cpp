#include "factor/text_writer.h"

#include <charconv>
#include <cmath>

namespace {
constexpr std::size_t flush_size = std::size_t{1} << 16;
}

namespace {

constexpr double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                    1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                    1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// a * 10^k for -22 <= k <= 22: the powers are exact, so one rounding.
double scaled(double a, int k)
{
    return k >= 0 ? a * powers_of_ten[k] : a / powers_of_ten[-k];
}

// "%.6g" the quick way, for the usual values: the six significant digits
// are a * 10^(5 - e) rounded to an integer, with e the decimal exponent of
// a.  That product is off by less than 1e-9, so it rounds as the exact
// value does unless it lies within 1e-6 of a half; those values, and the
// very large or small ones, are left to the general conversion (false).
bool append_usual_value(std::string& out, double value)
{
    const double a = std::fabs(value);
    if (!(a >= 1e-15 && a < 1e20))
        return false;
    int binary_exponent;
    std::frexp(a, &binary_exponent);
    // floor((binary_exponent - 1) * log10(2)), at most 1 below e.
    int e = ((binary_exponent - 1) * 78913) >> 18;
    double r = scaled(a, 5 - e);
    if (r >= 1000000.0)
        r = scaled(a, 5 - ++e);
    else if (r < 100000.0)
        r = scaled(a, 5 - --e);
    const double whole = std::floor(r);
    const double fraction = r - whole;
    if (std::fabs(fraction - 0.5) < 1e-6)
        return false;
    int n = static_cast<int>(whole) + (fraction > 0.5);
    if (n == 1000000) {
        n = 100000;
        ++e;
    }
    char digits[6];
    for (int i = 5; i >= 0; --i, n /= 10)
        digits[i] = static_cast<char>('0' + n % 10);
    int last = 5;  // the last digit shown: trailing zeros are dropped
    while (last > 0 && digits[last] == '0')
        --last;

    char text[24];
    char* p = text;
    if (value < 0)
        *p++ = '-';
    if (e >= -4 && e < 6) {
        if (e < 0) {
            *p++ = '0';
            *p++ = '.';
            for (int i = -1; i > e; --i)
                *p++ = '0';
            for (int i = 0; i <= last; ++i)
                *p++ = digits[i];
        } else {
            for (int i = 0; i <= e; ++i)
                *p++ = digits[i];
            if (last > e) {
                *p++ = '.';
                for (int i = e + 1; i <= last; ++i)
                    *p++ = digits[i];
            }
        }
    } else {
        *p++ = digits[0];
        if (last > 0) {
            *p++ = '.';
            for (int i = 1; i <= last; ++i)
                *p++ = digits[i];
        }
        *p++ = 'e';
        *p++ = e < 0 ? '-' : '+';
        const int x = e < 0 ? -e : e;
        *p++ = static_cast<char>('0' + x / 10);
        *p++ = static_cast<char>('0' + x % 10);
    }
    out.append(text, p);
    return true;
}

}  // namespace

void append_value(std::string& out, double value)
{
    if (append_usual_value(out, value))
        return;
    // std::to_chars with a precision converts as printf does in the "C"
    // locale, so this is exactly "%.6g".
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    out.append(text, result.ptr);
}

text_writer::text_writer(const std::string& file_name)
    : file_(std::fopen(file_name.c_str(), "wb"))
{
    buffer_.reserve(flush_size + 64);
}

text_writer::~text_writer()
{
    if (file_)
        std::fclose(file_);
}

void text_writer::flush_buffer()
{
    if (!file_ || buffer_.empty())
        return;
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        good_ = false;
    buffer_.clear();
}

void text_writer::write(std::string_view text)
{
    buffer_.append(text);
    if (buffer_.size() >= flush_size)
        flush_buffer();
}

void text_writer::write(char c)
{
    write(std::string_view(&c, 1));
}

void text_writer::write_count(long long count)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, count);
    write(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

void text_writer::write_value(double value)
{
    append_value(buffer_, value);
    if (buffer_.size() >= flush_size)
        flush_buffer();
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
