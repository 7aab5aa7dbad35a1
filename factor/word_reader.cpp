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
            return {negative ? -largest : largest, false, true};
        }
    }
    return {negative ? -value : value, true, true};
}

}  // namespace

namespace word_reader_detail {

void number_scanner::start()
{
    *this = number_scanner();
    digits_.reserve(kept_digits);
}

bool number_scanner::scan(std::string_view piece)
{
    // Far beyond any exponent that a double can take, and far from
    // overflowing: 10^15 digits would be a petabyte.
    constexpr long long exponent_bound = 1'000'000'000'000'000;
    constexpr long long count_bound = std::numeric_limits<int>::max() + 1LL;
    for (const char c : piece) {
        const bool digit = is_digit(c);
        switch (part_) {
        case part::sign:
            if (c == '+' || c == '-') {
                negative_ = c == '-';
                part_ = part::integer;
                continue;
            }
            part_ = part::integer;
            [[fallthrough]];
        case part::integer:
            if (digit) {
                any_digit_ = true;
                count_ = count_ * 10 + (c - '0');
                if (count_ > count_bound) {
                    count_ = count_bound;
                    count_in_range_ = false;
                }
                if (digits_.size() < kept_digits) {
                    if (c != '0' || !digits_.empty())
                        digits_ += c;
                } else {
                    ++scale_;
                    sticky_ = sticky_ || c != '0';
                }
                continue;
            }
            if (c == '.') {
                part_ = part::fraction;
                continue;
            }
            break;
        case part::fraction:
            if (digit) {
                any_digit_ = true;
                if (digits_.size() < kept_digits) {
                    if (c != '0' || !digits_.empty())
                        digits_ += c;
                    --scale_;
                } else {
                    sticky_ = sticky_ || c != '0';
                }
                continue;
            }
            break;
        case part::exponent_mark:
            if (c == '+' || c == '-') {
                exponent_negative_ = c == '-';
                part_ = part::exponent_sign;
                continue;
            }
            [[fallthrough]];
        case part::exponent_sign:
            if (digit) {
                part_ = part::exponent;
                exponent_ = c - '0';
                continue;
            }
            break;
        case part::exponent:
            if (digit) {
                exponent_ = std::min(exponent_ * 10 + (c - '0'), exponent_bound);
                continue;
            }
            break;
        case part::ended:
            return false;
        }
        // c does not continue the number: an 'e' after its digits may
        // begin an exponent, anything else ends it.
        if ((part_ == part::integer || part_ == part::fraction) && any_digit_
            && (c == 'e' || c == 'E')) {
            part_ = part::exponent_mark;
            continue;
        }
        part_ = part::ended;
        return false;
    }
    return true;
}

count_conversion number_scanner::count() const
{
    constexpr long long limit = std::numeric_limits<int>::max();
    long long magnitude = count_;
    bool in_range = count_in_range_;
    if (!negative_ && magnitude > limit) {
        magnitude = limit;
        in_range = false;
    }
    return {static_cast<int>(negative_ ? -magnitude : magnitude), in_range};
}

value_conversion number_scanner::value() const
{
    // An 'e' without the digits of an exponent does not belong to the
    // number, which then ends before the end of the word.
    const bool whole =
        any_digit_
        && (part_ == part::integer || part_ == part::fraction || part_ == part::exponent);
    if (!any_digit_)
        return {0.0, true, false};
    if (digits_.empty())
        return {negative_ ? -0.0 : 0.0, true, whole};
    // The same number in few digits: the kept digits, a 1 behind them for
    // any that were dropped, and the exponent, held where the result no
    // longer changes.
    constexpr long long exponent_limit = 1 << 24;
    long long exponent = scale_ + (exponent_negative_ ? -exponent_ : exponent_);
    std::string text = digits_;
    if (sticky_) {
        text += '1';
        --exponent;
    }
    text += 'e';
    text += std::to_string(std::clamp(exponent, -exponent_limit, exponent_limit));
    value_conversion v = convert_value(text);
    if (negative_)
        v.value = -v.value;
    v.is_number = whole;
    return v;
}

}  // namespace word_reader_detail

std::string_view without_split_character(std::string_view cut_text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(cut_text[i]); };
    // Back over the continuation bytes (10xxxxxx) at the end to the byte
    // that starts their character, which tells how many it needs.
    std::size_t start = cut_text.size();
    std::size_t continuation = 0;
    while (start > 0 && continuation < 3 && (byte(start - 1) & 0xC0) == 0x80) {
        --start;
        ++continuation;
    }
    if (start == 0 || byte(start - 1) < 0xC0)
        return cut_text;
    const unsigned char lead = byte(start - 1);
    const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    return size > continuation + 1 ? cut_text.substr(0, start - 1) : cut_text;
}

void reading_notes::non_number(int row, int column, std::string_view label, std::string_view word)
{
    if (non_numbers++ > 0)
        return;
    first_row = row;
    first_column = column;
    first_label = label;
    constexpr std::size_t shown = 40;
    first_word = word.size() > shown ? without_split_character(word.substr(0, shown)) : word;
}

word_reader::word_reader(const std::string& file_name)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(file_name, error))
        return;
    file_ = std::fopen(file_name.c_str(), "rb");
    if (!file_)
        return;
    // The reader buffers for itself.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    const std::uintmax_t size = std::filesystem::file_size(file_name, error);
    if (!error)
        word_capacity_ = size / 2;
    buffer_ = std::make_unique_for_overwrite<char[]>(block_size + 1);  // and a sentinel
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
    std::size_t n = std::fread(buffer_.get(), 1, next_block_size_, file_);
    next_block_size_ = block_size;
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

// The next piece of a word that runs across blocks: held while the word
// fits in a block, and from there on only scanned for its number, as far
// as that goes.
void word_reader::hold(const char* piece, std::size_t size)
{
    if (!cut_) {
        if (size <= block_size - long_word_.size()) {
            long_word_.append(piece, size);
            return;
        }
        cut_ = true;
        number_.start();
        number_.scan(long_word_);
        const std::size_t rest = block_size - long_word_.size();
        long_word_.append(piece, rest);
        number_.scan(std::string_view(piece, rest));
        piece += rest;
        size -= rest;
    }
    number_.scan(std::string_view(piece, size));
}

bool word_reader::read_word(std::string_view& word)
{
    cut_ = false;
    word_ = {};
    if (!skip_to_word())
        return false;
    const char* buf = buffer_.get();
    std::size_t start = pos_;
    while (pos_ < end_ && !is_space(buf[pos_]))
        ++pos_;
    if (pos_ < end_) {
        word = word_ = std::string_view(buf + start, pos_ - start);
        return true;
    }

    // The word goes on in the next block.
    long_word_.clear();
    hold(buf + start, pos_ - start);
    for (;;) {
        if (!refill()) {
            failed_ = true;  // end of file right after the word
            return false;
        }
        while (pos_ < end_ && !is_space(buf[pos_]))
            ++pos_;
        hold(buf, pos_);
        if (pos_ < end_) {
            word = word_ = long_word_;
            return true;
        }
    }
}

bool word_reader::read_count(count_conversion& count)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    count = cut_ ? number_.count() : convert_count(word);
    return true;
}

bool word_reader::read_count(int& count)
{
    count_conversion conversion;
    if (!read_count(conversion))
        return false;
    count = conversion.value;
    return conversion.in_range;
}

bool word_reader::read_other_value(value_conversion& value)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    value = cut_ ? number_.value() : convert_value(word);
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

word_count word_reader::count_words_left()
{
    std::uint64_t words = 0;
    const char* buf = buffer_.get();
    bool in_word = false;
    std::uint64_t bound = count_bound;
    while (!failed_ && bound > 0) {
        const std::size_t stop =
            pos_ + static_cast<std::size_t>(std::min<std::uint64_t>(end_ - pos_, bound));
        bound -= stop - pos_;
        for (; pos_ < stop; ++pos_) {
            const bool space = is_space(buf[pos_]);
            words += in_word && space;
            in_word = !space;
        }
        if (pos_ == end_ && !refill())
            failed_ = true;
    }
    const bool to_end = failed_ || (pos_ == end_ && !refill());
    failed_ = true;
    return {words + in_word, to_end};
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
        return {0.0, true, false};
    p = read_exponent(p, end, exponent);

    double value = 0.0;
    value_conversion result;
    if (exact_decimal(mantissa, digits, exponent, value))
        result = {negative ? -value : value, true, true};
    else
        result = convert_long_decimal(start, p, negative);
    result.is_number = p == end;
    return result;
}
