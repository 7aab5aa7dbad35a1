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

void warning(std::string_view text)
{
    std::cout.flush();
    std::cerr << "Warning: " << text << '\n';
}
