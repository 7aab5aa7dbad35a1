#include "factor/word_reader.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t block_size = std::size_t{1} << 20;
constexpr char end_byte = 0x1A;

constexpr std::array<bool, 256> make_space_table()
{
    std::array<bool, 256> table{};
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        table[c] = true;
    return table;
}
constexpr std::array<bool, 256> space_table = make_space_table();

inline bool is_space(char c) { return space_table[static_cast<unsigned char>(c)]; }
inline bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t skip_spaces(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && is_space(text[i]))
        ++i;
    return i;
}

}  // namespace

word_reader::word_reader(const std::string& file_name)
    : file_(std::fopen(file_name.c_str(), "rb"))
{
    if (!file_)
        return;
    // The reader buffers for itself.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    buffer_ = std::make_unique<char[]>(block_size);
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
    return n > 0;
}

bool word_reader::read_word(std::string_view& word)
{
    if (failed_)
        return false;
    const char* buf = buffer_.get();
    for (;;) {
        while (pos_ < end_ && is_space(buf[pos_]))
            ++pos_;
        if (pos_ < end_)
            break;
        if (!refill()) {
            failed_ = true;
            return false;
        }
    }

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

bool word_reader::read_label(std::string& label)
{
    std::string_view word;
    if (!read_word(word))
        return false;
    label.assign(word.substr(0, max_label_length));
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
    std::size_t i = skip_spaces(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // The longest prefix that is a decimal number.
    const std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && is_digit(text[i]); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && is_digit(text[i]); ++i)
            ++digits;
    }
    if (digits == 0)
        return {0.0, true};
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && is_digit(text[j])) {
            while (j < text.size() && is_digit(text[j]))
                ++j;
            i = j;
        }
    }

    double value = 0.0;
    auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + i, value,
                                     std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Tell overflow from underflow; the C library gives the nearest
        // subnormal or zero for the latter.
        std::string copy(text.substr(start, i - start));
        value = std::strtod(copy.c_str(), nullptr);
        if (std::isinf(value)) {
            constexpr double largest = std::numeric_limits<double>::max();
            return {negative ? -largest : largest, false};
        }
    }
    return {negative ? -value : value, true};
}
