#include "factor/text_writer.h"

#include <charconv>

namespace {
constexpr std::size_t flush_size = std::size_t{1} << 16;
}

void append_value(std::string& out, double value)
{
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
