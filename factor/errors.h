// The one way a run of qrn4 ends on an error.
//
// Every error the program detects is fatal.  Rather than calling exit() from
// deep inside a stage, which would skip the destructors of open files and
// could leave standard output pointing into a closed redirection file, the
// error is thrown as a run_error carrying the exact lines to print; main
// catches it, prints them on standard output and returns exit code 1.
#pragma once

#include <exception>
#include <string>
#include <string_view>

// A copy of text with the ASCII letters a-z in upper case and every other
// byte unchanged (independent of the locale).
std::string upper_case(std::string_view text);

class run_error : public std::exception {
public:
    explicit run_error(std::string lines) : lines_(std::move(lines)) {}
    // The lines to print, each with its line end.
    const char* what() const noexcept override { return lines_.c_str(); }

private:
    std::string lines_;
};

// Ends the run with an empty line, "<<**** FATAL ERROR ****>>" and the
// message and argument upper-cased, separated by one blank (printed also
// when the argument is empty).  Messages begin with the name of the step.
[[noreturn]] void fatal_error(std::string_view message, std::string_view argument);

// The lines that fatal_error prints.
std::string fatal_error_lines(std::string_view message, std::string_view argument);

// Prints "Warning: ", the text and a line end on standard error, after what
// standard output holds so far: so that a warning reaches the user whose
// output goes to a file, in its place among the lines on a console.
void warning(std::string_view text);
