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
// Words are read whole, whatever their length.  The file is opened in
// binary mode and read in large blocks: raw data files of hundreds of
// megabytes are normal input.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// The longest label a matrix holds.
inline constexpr std::size_t max_label_length = 10;

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
};
value_conversion convert_value(std::string_view text);

class word_reader {
public:
    explicit word_reader(const std::string& file_name);
    ~word_reader();
    word_reader(const word_reader&) = delete;
    word_reader& operator=(const word_reader&) = delete;

    bool is_open() const { return file_ != nullptr; }

    // The next word.  It stays valid until the next call.
    bool read_word(std::string_view& word);

    // The next word converted by convert_value.
    bool read_value(value_conversion& value);

    // The next word as a label: its first 10 bytes.
    bool read_label(std::string& label);

    // The next single byte, white space included, with CR LF read as one
    // line feed.
    bool read_char(char& c);

private:
    bool skip_to_word();
    bool refill();

    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool no_more_bytes_ = false;  // end of file, the end byte or a read error
    bool failed_ = false;
    std::string long_word_;       // a word that runs across two blocks
};

