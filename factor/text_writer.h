// Writing qrn4's text files: the matrix files and the score files.
//
// Lines end with CR LF whatever the platform, and values are written as the
// C library's "%.6g" writes them in the "C" locale, whatever the user's
// locale.  Output is buffered; a failed write makes good() false from then
// on, and close() flushes and reports whether everything reached the file,
// so that a full disk never passes unseen.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// The room that format_value needs: the longest value, "-1.23457e-308",
// has 13 characters, and the quick way writes up to 16 bytes before it
// cuts the text to its length.
inline constexpr std::size_t max_value_length = 24;

// Writes value at out in the general notation with 6 significant digits
// (0.123457, 1.23457e+06, 1.5, -0.25, 0, and -0 for a negative zero) and
// returns the end of what it wrote.
char* format_value(char* out, double value);

class text_writer {
public:
    // Creates the file or replaces its contents.
    explicit text_writer(const std::string& file_name);
    // Writes out the buffer and closes the file without any check (on the
    // way out of an error, so that the file keeps what was written).
    ~text_writer();
    text_writer(const text_writer&) = delete;
    text_writer& operator=(const text_writer&) = delete;

    bool is_open() const { return file_ != nullptr; }
    bool good() const { return good_; }

    void write(std::string_view text);
    void write(char c)
    {
        if (used_ == buffer_size)
            flush_buffer();
        buffer_[used_++] = c;
    }
    void write_count(long long count);
    void write_value(double value)
    {
        if (buffer_size - used_ < max_value_length)
            flush_buffer();
        used_ = static_cast<std::size_t>(format_value(&buffer_[used_], value) - &buffer_[0]);
    }
    void line_end() { write("\r\n"); }

    // Flushes and closes the file; false when any write failed.
    bool close();

private:
    static constexpr std::size_t buffer_size = std::size_t{1} << 16;

    void flush_buffer();

    std::FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool good_ = true;
};
