// Writing qrn4's text files: the matrix files and the score files.
//
// Lines end with CR LF whatever the platform, and values are written as the
// C library's "%.6g" writes them in the "C" locale, whatever the user's
// locale.  Output is buffered; a failed write makes good() false from then
// on, and close() flushes and reports whether everything reached the file,
// so that a full disk never passes unseen.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Appends value in the general notation with 6 significant digits: 0.123457,
// 1.23457e+06, 1.5, -0.25, 0, and -0 for a negative zero.
void append_value(std::string& out, double value);

class text_writer {
public:
    // Creates the file or replaces its contents.
    explicit text_writer(const std::string& file_name);
    // Closes the file without any check (on the way out of an error).
    ~text_writer();
    text_writer(const text_writer&) = delete;
    text_writer& operator=(const text_writer&) = delete;

    bool is_open() const { return file_ != nullptr; }
    bool good() const { return good_; }

    void write(std::string_view text);
    void write(char c);
    void write_count(long long count);
    void write_value(double value);
    void line_end() { write("\r\n"); }

    // Flushes and closes the file; false when any write failed.
    bool close();

private:
    void flush_buffer();

    std::FILE* file_ = nullptr;
    std::string buffer_;
    bool good_ = true;
};
