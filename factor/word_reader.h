// The word reader shared by every reader of qrn4's text files.
//
// A file is a sequence of words separated by white space (blank, tab, line
// feed, vertical tab, form feed, carriage return); line structure does not
// matter, so CR LF reads like a plain line feed.  A byte 0x1A ends the file
// where it stands, as the text mode of the platform the files come from
// does.  Bytes from 0x80 upwards belong to words.
//
// A read that reaches the end of the file fails: before a word, and also
// right after a word that has no white space behind it.  So the last value
// of a file needs a blank or a line end after it.  After a failed read every
// further read fails too.
//
// A word of any length is consumed whole, but held only as far as a reader
// uses it: a word longer than a block of the reader keeps its first block,
// which gives its label, and the conversions follow the number it begins
// with as it goes by, so that they read it as they read a shorter word.  A
// hole of a sparse file, one endless word of NUL bytes, takes no more
// memory than a short word.
//
// Only regular files are read (or links to them): a named pipe, a device
// or a directory could make a read wait for ever or never end.  The file
// is opened in binary mode and read in large blocks: raw data files of
// hundreds of megabytes are normal input.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The longest label a matrix holds.
inline constexpr std::size_t max_label_length = 10;

// The group flag: bit 0x80 of the first byte of a sorted pattern's row
// label whose name begins with an ASCII byte.  The bytes from 0x80 upwards
// are those that are not ASCII.
inline constexpr unsigned char group_flag = 0x80;

// The marker bytes of a sorted pattern's row label whose name begins with a
// byte of 0x80 or above, and so cannot carry the group flag in that byte:
// the label is the marker followed by the name, 0xA0 for the first row of
// a group and 0x8D for the others.  No flagged ASCII name begins with
// either byte (they would flag a blank and a carriage return, which end a
// word), so sorted patterns written without markers read as they always
// did.  A marked label keeps its marker and a name of 10 bytes.
inline constexpr unsigned char group_start_marker = 0xA0;
inline constexpr unsigned char group_member_marker = 0x8D;

inline bool has_group_marker(std::string_view label)
{
    if (label.size() < 2 || static_cast<unsigned char>(label[1]) < group_flag)
        return false;
    const auto first = static_cast<unsigned char>(label[0]);
    return first == group_start_marker || first == group_member_marker;
}

// The label that a text gives: its first 10 bytes, or 11 with a marker.
inline std::string_view label_of(std::string_view text)
{
    return text.substr(0, max_label_length + has_group_marker(text));
}

// A text cut to a number of bytes (a label, the first bytes of a word)
// without the first bytes of a UTF-8 character that the cut split: for
// messages, which show such texts.
std::string_view without_split_character(std::string_view cut_text);

// A count read from a word as the C library's string-to-integer conversion
// reads it: optional white space, an optional sign, decimal digits, the
// rest ignored; 0 when there are no digits.  A number outside the 32-bit
// range is flagged, and saturated to its nearest bound.
struct count_conversion {
    int value;
    bool in_range;
};
count_conversion convert_count(std::string_view text);

// A real read from the leading numeric part of a word: optional white
// space, an optional sign, decimal digits with an optional decimal point
// and an optional exponent; 0.0 when there is no number.  Decimal notation
// only: "inf", "nan" and hexadecimal are not numbers.  A value too large
// for a double is flagged, and saturated to the largest finite double of
// its sign; one too small becomes 0 or a subnormal value.
struct value_conversion {
    double value;
    bool in_range;
    bool is_number;  // the text is wholly a number ("12", "-1.5e3", "4.")
};
value_conversion convert_value(std::string_view text);

namespace word_reader_detail {

// The conversions of a word too long to be held, scanned in pieces as the
// reader goes over it: of the number it begins with, the first
// kept_digits significant digits, whether any digit after them is not 0,
// and where the decimal point stands.  That decides the correctly rounded
// value as the whole text does (a number halfway between two doubles has
// fewer than 800 significant digits), so the conversions equal
// convert_count and convert_value of the whole word.
class number_scanner {
public:
    static constexpr std::size_t kept_digits = 1024;

    void start();
    // The next piece of the word; false once the number has ended, when
    // the rest of the word no longer matters.
    bool scan(std::string_view piece);
    // At the end of the word.
    count_conversion count() const;
    value_conversion value() const;

private:
    enum class part : unsigned char {
        sign,           // nothing yet
        integer,        // digits before the point
        fraction,       // digits after it
        exponent_mark,  // an 'e' that digits must follow to belong to it
        exponent_sign,
        exponent,
        ended,  // the number ended before the end of the word
    };

    part part_ = part::sign;
    bool negative_ = false;
    bool any_digit_ = false;
    std::string digits_;   // from the first that is not 0
    bool sticky_ = false;  // a digit beyond them that is not 0
    long long scale_ = 0;  // the value is digits_ x 10^(scale_ + exponent)
    bool exponent_negative_ = false;
    long long exponent_ = 0;  // held at a bound far beyond the doubles
    long long count_ = 0;     // the leading digits, as convert_count reads them
    bool count_in_range_ = true;
};

}  // namespace word_reader_detail

// The words left in a file after the last one that a reader needed.
struct word_count {
    std::uint64_t words = 0;
    bool to_end = true;  // counted to the end of the file; else a lower bound
};

// What a pass over a data file noticed without changing what it reads:
// value words that are not wholly a number, and the words after the last
// one that it needed.
struct reading_notes {
    std::uint64_t non_numbers = 0;
    // Of the first non-number, rows and columns counted from 0.
    int first_row = 0;
    int first_column = 0;
    std::string first_label;  // of its row
    std::string first_word;   // its first bytes
    word_count words_left;

    void non_number(int row, int column, std::string_view label, std::string_view word);
};

class word_reader {
public:
    // A file that is not a regular file is not opened (is_open() is false).
    explicit word_reader(const std::string& file_name);
    ~word_reader();
    word_reader(const word_reader&) = delete;
    word_reader& operator=(const word_reader&) = delete;

    bool is_open() const { return file_ != nullptr; }

    // The most words the whole file can hold: every word takes at least one
    // byte and the white space after it, so half the size of the file (if
    // its size can be told).  A reader checks the counts of a header against
    // it before it allocates for them; the holes of a sparse file count in
    // its size, so storage beyond a bound still grows with what is read.
    std::optional<std::uint64_t> word_capacity() const { return word_capacity_; }
    // Whether the file can hold the words of a matrix file of rows x cols
    // (the two counts, the column labels, each row's label and values).
    bool can_hold(int rows, int cols) const
    {
        const std::uint64_t words = 2 + static_cast<std::uint64_t>(cols)
                                    + static_cast<std::uint64_t>(rows) * (cols + std::uint64_t{1});
        return !word_capacity_ || words <= *word_capacity_;
    }

    // The next word, or the first block_size bytes of a longer one.  It
    // stays valid until the next call.
    bool read_word(std::string_view& word);

    // The next word converted by convert_count.
    bool read_count(count_conversion& count);
    // The same for the counts at the head of a raw data file or a matrix
    // file: false also when the number lies outside the 32-bit range.
    bool read_count(int& count);

    // The next word converted by convert_value.
    bool read_value(value_conversion& value)
    {
        if (read_usual_value(value.value)) {
            value.in_range = value.is_number = true;
            return true;
        }
        return read_other_value(value);
    }

    // The word that the last read took, as read_word gives it; after
    // read_value, only when its value was not a number.  Valid until the
    // next read.
    std::string_view last_word() const { return word_; }

    // Counts the words left in the file without holding them, over at most
    // the next count_bound bytes, so that a large file or a sparse file's
    // hole is not read to its end: a last word without white space after
    // it counts, and so does a word that the bound cuts.  Every read after
    // it fails.
    static constexpr std::uint64_t count_bound = std::uint64_t{64} << 10;
    word_count count_words_left();

    // The next word as a label: its first 10 bytes (see label_of).
    bool read_label(std::string& label);

    // The next single byte, white space included, with CR LF read as one
    // line feed.
    bool read_char(char& c);

    // The reader reads its file in blocks of this size, but for the first
    // read, which is small: a reader of a header needs no more.
    static constexpr std::size_t block_size = std::size_t{1} << 20;
    static constexpr std::size_t first_block_size = 4096;

private:
    bool read_usual_value(double& value);
    bool read_other_value(value_conversion& value);
    bool skip_to_word();
    bool refill();
    void hold(const char* piece, std::size_t size);

    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::size_t next_block_size_ = first_block_size;
    bool no_more_bytes_ = false;  // end of file, the end byte or a read error
    bool failed_ = false;
    std::optional<std::uint64_t> word_capacity_;
    std::string_view word_;  // of the last read
    std::string long_word_;  // a word that runs across two blocks, as held
    // Whether long_word_ holds only the first block_size bytes of its word,
    // whose conversions number_ gives.
    bool cut_ = false;
    word_reader_detail::number_scanner number_;
};

// The inline part of read_value: the conversion of the usual value words,
// in the caller's loop without a function call.
namespace word_reader_detail {

constexpr std::array<bool, 256> space_table = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        table[c] = true;
    return table;
}();

inline bool is_space(char c)
{
    return space_table[static_cast<unsigned char>(c)];
}

inline bool is_digit(char c)
{
    return static_cast<unsigned char>(c - '0') < 10;
}

// The powers of ten that are exact doubles.
inline constexpr double powers_of_ten[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                           1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Appends the run of digits at p to number (number * 10 + digit for each;
// beyond 19 digits it wraps, which the caller rejects) and returns the end
// of the run.  A byte at a time: for the short numbers of data files this
// is faster than taking 8 bytes at a time (measured), since the branch
// predictor runs ahead over the digits while each 8-byte step would wait
// for the loads of the one before.
inline const char* append_digits(const char* p, std::uint64_t& number)
{
    while (is_digit(*p))
        number = number * 10 + static_cast<unsigned>(*p++ - '0');
    return p;
}

}  // namespace word_reader_detail

// The usual value word, digits with an optional sign and decimal point and
// at most 19 digits, converted in the buffer when it lies whole in the
// current block; false leaves everything else to read_other_value.  The
// digits and the power of ten are exact doubles, so one division gives the
// correctly rounded value (Clinger's fast path), as convert_value does.
// After a failed read pos_ == end_, so that this fails too.
inline bool word_reader::read_usual_value(double& value)
{
    using namespace word_reader_detail;
    const char* const buf = buffer_.get();
    while (pos_ < end_ && is_space(buf[pos_]))
        ++pos_;
    if (pos_ >= end_)
        return false;

    const char* p = buf + pos_;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    std::uint64_t mantissa = 0;
    const char* const integer_part = p;
    p = append_digits(p, mantissa);
    std::size_t digits = static_cast<std::size_t>(p - integer_part);
    std::size_t decimals = 0;
    if (*p == '.') {
        const char* const fraction = ++p;
        p = append_digits(p, mantissa);
        decimals = static_cast<std::size_t>(p - fraction);
        digits += decimals;
    }
    // The word must end here, before the end of the block (the blank
    // behind the block stops the scans): a word that runs on into the next
    // block, or that ends the file, is no usual word.
    if (digits == 0 || digits > 19 || mantissa > (std::uint64_t{1} << 53) || p >= buf + end_
        || !is_space(*p))
        return false;
    const double x = static_cast<double>(mantissa) / powers_of_ten[decimals];
    value = negative ? -x : x;
    pos_ = static_cast<std::size_t>(p - buf);
    return true;
}
