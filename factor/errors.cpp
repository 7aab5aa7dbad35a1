#include "factor/errors.h"

#include <iostream>

std::string upper_case(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return result;
}

std::string fatal_error_lines(std::string_view message, std::string_view argument)
{
    return "\n<<**** FATAL ERROR ****>>\n" + upper_case(message) + ' ' + upper_case(argument)
           + '\n';
}

void fatal_error(std::string_view message, std::string_view argument)
{
    throw run_error(fatal_error_lines(message, argument));
}

namespace {

// The length of the UTF-8 character at text[i], or 0 when no whole one
// starts there.
std::size_t character_length(std::string_view text, std::size_t i)
{
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    if (c >= 0xC2 && c <= 0xDF)
        length = 2;
    else if (c >= 0xE0 && c <= 0xEF)
        length = 3;
    else if (c >= 0xF0 && c <= 0xF4)
        length = 4;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

// Text as a terminal should show it, whatever the bytes of the data or the
// command line in it: the control characters, which could end a line or
// start an escape sequence, as '?'.  Those are the bytes below 0x20 and
// 0x7F, and the C1 controls 0x80 to 0x9F, as single bytes (0x9B starts an
// escape sequence too) and as UTF-8 characters (0xC2 0x80 to 0xC2 0x9F).
// Other characters and bytes are kept.
std::string printable(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (const std::size_t length = character_length(text, i); length > 0) {
            const bool c1 = c == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
            result += c1 ? std::string_view("?") : text.substr(i, length);
            i += length;
        } else {
            result += c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) ? '?' : text[i];
            ++i;
        }
    }
    return result;
}

}  // namespace

void warning(std::string_view text)
{
    std::cout.flush();
    std::cerr << "Warning: " << printable(text) << '\n';
}
