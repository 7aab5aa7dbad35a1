#include "factor/word_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>

namespace {

constexpr std::size_t block_size = std::size_t{1} << 20;
constexpr char end_byte = 0x1A;

using word_reader_detail::is_digit;
using word_reader_detail::is_space;

// Clinger's fast path: a mantissa and a power of ten that are both exact
// doubles give the correctly rounded value in one operation.  Typical data
// (a few digits and a decimal point) always take it.
inline bool exact_decimal(std::uint64_t mantissa, std::ptrdiff_t digits, std::ptrdiff_t exponent,
                          double& value)
{
    using word_reader_detail::powers_of_ten;
    if (digits > 19 || mantissa > (std::uint64_t{1} << 53) || exponent < -22 || exponent > 22)
        return false;
    const double m = static_cast<double>(mantissa);
    value = exponent < 0 ? m / powers_of_ten[-exponent] : m * powers_of_ten[exponent];
    return true;
}

std::size_t skip_spaces(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_space(text[i]))
        ++i;
    return i;
}

// The exponent part of a number that ends at p, if any: adds its value,
// held at 100000 in magnitude, to exponent and returns the end of the
// part; an 'e' without digits is no exponent.
const char* read_exponent(const char* p, const char* end, std::ptrdiff_t& exponent)
{
    if (!(p < end && (*p == 'e' || *p == 'E')))
        return p;
    const char* q = p + 1;
    bool negative_exponent = false;
    if (q < end && (*q == '+' || *q == '-'))
        negative_exponent = *q++ == '-';
    if (!(q < end && is_digit(*q)))
        return p;
    std::ptrdiff_t e = 0;
    for (; q < end && is_digit(*q); ++q)
        e = std::min<std::ptrdiff_t>(e * 10 + (*q - '0'), 100000);
    exponent += negative_exponent ? -e : e;
    return q;
}

// The decimal number from start to end (without its sign) that the fast
// path cannot convert, by the library's correctly rounded conversion.  An
// overflow is flagged and saturated to the largest finite double.
value_conversion convert_long_decimal(const char* start, const char* end, bool negative)
{
    double value = 0.0;
    if (std::from_chars(start, end, value, std::chars_format::general).ec
        == std::errc::result_out_of_range) {
        // Tell overflow from underflow; the C library gives the nearest
        // subnormal or zero for the latter.
        value = std::strtod(std::string(start, end).c_str(), nullptr);
        if (std::isinf(value)) {
            constexpr double largest = std::numeric_limits<double>::max();
            return {negative ? -largest : largest, false};
        }
    }
    return {negative ? -value : value, true};
}

}  // namespace

word_reader::word_reader(const std::string& file_name)
    : file_(std::fopen(file_name.c_str(), "rb"))
{
    if (!file_)
        return;
    // The reader buffers for itself.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    std::error_code error;
    if (std::filesystem::is_regular_file(file_name, error)) {
        const std::uintmax_t size = std::filesystem::file_size(file_name, error);
        if (!error)
            word_capacity_ = size / 2;
    }
    buffer_ = std::make_unique<char[]>(block_size + 1);  // and a sentinel
}

word_reader::~word_reader()
{
    if (file_)
        std::fclose(file_);
}

bool word_reader::refill()
{
    pos_ = end_ = 0;
    if (no_more_bytes_ || !file_)
        return false;
    std::size_t n = std::fread(buffer_.get(), 1, block_size, file_);
    if (n == 0) {
        no_more_bytes_ = true;
        return false;
    }
    if (const void* stop = std::memchr(buffer_.get(), end_byte, n)) {
        n = static_cast<std::size_t>(static_cast<const char*>(stop) - buffer_.get());
        no_more_bytes_ = true;
    }
    end_ = n;
    buffer_[end_] = ' ';  // stops read_value's scans at the end of the data
    return n > 0;
}

bool word_reader::skip_to_word()
{
    if (failed_)
        return false;
    const char* buf = buffer_.get();
    for (;;) {
        while (pos_ < end_ && is_space(buf[pos_]))
            ++pos_;
        if (pos_ < end_)
            return true;
        if (!refill()) {
            failed_ = true;
            return false;
        }
    }
}

bool word_reader::read_word(std::string_view& word)
{
    if (!skip_to_word())
        return false;
    const char* buf = buffer_.get();
    std::size_t start = pos_;
    while (pos_ < end_ && !is_space(buf[pos_]))
        ++pos_;
    if (pos_ < end_) {
        word = std::string_view(buf + start, pos_ - start);
        return true;
    }

    // The word goes on in the next block.
    long_word_.assign(buf + start, pos_ - start);
    for (;;) {
        if (!refill()) {
            failed_ = true;  // end of file right after the word
            return false;
        }
        while (pos_ < end_ && !is_space(buf[pos_]))
            ++pos_;
        long_word_.append(buf, pos_);
        if (pos_ < end_) {
            word = long_word_;
            return true;
        }
    }
}

bool word_reader::read_count(int& count)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    const auto [value, in_range] = convert_count(word);
    count = value;
    return in_range;
}

bool word_reader::read_other_value(value_conversion& value)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    value = convert_value(word);
    return true;
}

bool word_reader::read_label(std::string& label)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    label.assign(label_of(word));
    return true;
}

bool word_reader::read_char(char& c)
{
    if (failed_)
        return false;
    if (pos_ == end_ && !refill()) {
        failed_ = true;
        return false;
    }
    c = buffer_[pos_++];
    if (c != '\r')
        return true;
    if (pos_ == end_ && !refill())
        return true;  // a CR as the last byte stays a CR
    if (buffer_[pos_] == '\n') {
        c = '\n';
        ++pos_;
    }
    return true;
}

count_conversion convert_count(std::string_view text)
{
    constexpr long long limit = std::numeric_limits<int>::max();
    std::size_t i = skip_spaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long magnitude = 0;
    bool in_range = true;
    for (; i < text.size() && is_digit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > limit + 1) {
            magnitude = limit + 1;
            in_range = false;
        }
    }
    if (!negative && magnitude > limit) {
        magnitude = limit;
        in_range = false;
    }
    return {static_cast<int>(negative ? -magnitude : magnitude), in_range};
}

value_conversion convert_value(std::string_view text)
{
    const char* p = text.data() + skip_spaces(text);
    const char* const end = text.data() + text.size();
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';

    // One pass over the longest prefix that is a decimal number, gathering
    // the digits (exactly, while there are at most 19 of them) and the
    // decimal exponent.
    const char* const start = p;
    std::uint64_t mantissa = 0;
    while (p < end && is_digit(*p))
        mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    std::ptrdiff_t digits = p - start;
    std::ptrdiff_t exponent = 0;
    if (p < end && *p == '.') {
        const char* const fraction = ++p;
        while (p < end && is_digit(*p))
            mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
        exponent = fraction - p;
        digits += p - fraction;
    }
    if (digits == 0)
        return {0.0, true};
    p = read_exponent(p, end, exponent);

    double value = 0.0;
    if (exact_decimal(mantissa, digits, exponent, value))
        return {negative ? -value : value, true};
    return convert_long_decimal(start, p, negative);
}
