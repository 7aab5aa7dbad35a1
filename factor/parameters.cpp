#include "factor/parameters.h"

#include <cmath>
#include <iostream>
#include <limits>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/word_reader.h"

analysis_parameters_record analysis_parameters;

namespace {

int absolute(int value)
{
    // Counts saturate at the 32-bit bounds, so -N-2147483648 gives the
    // largest count rather than an overflow.
    if (value == std::numeric_limits<int>::min())
        return std::numeric_limits<int>::max();
    return value < 0 ? -value : value;
}

// Q-type factoring: the subjects are factored, so the means and the
// correlations of the variables are not printed.
void factor_subjects(analysis_parameters_record& p)
{
    p.q_type = true;
    p.print_means = p.print_correlations = false;
}

// -A[x]: Q-type factoring with varimax rotation and classification, with
// x as the minimum loading when a digit begins the value.
void classify_subjects(analysis_parameters_record& p, std::string_view value)
{
    factor_subjects(p);
    p.auto_classify = p.rotate = p.print_rotated = p.print_membership = true;
    if (!value.empty() && value[0] >= '0' && value[0] <= '9')
        p.min_loading = std::fabs(convert_value(value).value);
    p.second_loading_limit = static_cast<double>(static_cast<extended>(p.min_loading) - 0.2);
}

// -Nk: at most k factors, whatever their eigenvalues; a k of 0 is ignored.
void limit_factors(analysis_parameters_record& p, std::string_view value)
{
    if (const int k = absolute(convert_count(value).value); k > 0) {
        p.max_factors = k;
        p.min_eigenvalue = 0.0;
    }
}

// -TF, -TI, -TP; any other analysis type ends the run.
void set_analysis_type(analysis_parameters_record& p, char type)
{
    if (type != 'F' && type != 'I' && type != 'P')
        fatal_error("Initialization: Unknown analysis type", "");
    p.analysis_type = type;
}

void ignore_option(std::string_view typed)
{
    warning(std::string(typed) + " is not an option of qrn4 and is ignored");
}

// One option: its letter and its value, upper-cased, and the option as
// typed.  A letter that is no option is ignored, with a warning.
void apply_option(char letter, std::string_view value, std::string_view typed,
                  command_line_names& names)
{
    analysis_parameters_record& p = analysis_parameters;
    const char first = value.empty() ? '\0' : value[0];
    switch (letter) {
    case 'A': classify_subjects(p, value); break;
    case 'C': p.no_page_breaks = true; break;
    case 'D': p.echo_command_line = false; break;
    case 'E':
        if (first == '1' || first == 'C' || first == 'S')
            p.prior_estimate = first;
        break;
    case 'H': p.allow_heywood = true; break;
    case 'I': p.max_iterations = absolute(convert_count(value).value); break;
    case 'M': p.min_eigenvalue = std::fabs(convert_value(value).value); break;
    case 'N': limit_factors(p, value); break;
    case 'O': names.membership = typed.substr(2); break;  // named as typed
    case 'P': parse_print_options(value); break;
    case 'Q': factor_subjects(p); break;
    case 'R': p.rotate = p.print_rotated = true; break;
    case 'S': p.score = p.print_weights = p.rotate = p.print_rotated = true; break;
    case 'T': set_analysis_type(p, first); break;
    default: ignore_option(typed); break;
    }
}

const char* yes_no(bool flag) { return flag ? "Yes" : "No"; }

// The label of an echo line, padded to 23 characters.  Padding by hand
// leaves the stream's adjustment alone.
void echo_label(std::string_view text)
{
    std::cout << text << std::string(23 - text.size(), ' ');
}

// The arguments after the program name, upper-cased.
void echo_command_line(int argc, const char* const* argv)
{
    echo_label("Command Line");
    for (int i = 1; i < argc; ++i)
        std::cout << upper_case(argv[i]) << ' ';
    std::cout << '\n';
}

// The data file, and for Q-type factoring the classification.
void echo_data(const analysis_parameters_record& p)
{
    std::ostream& out = std::cout;
    if (p.q_type) {
        echo_label("Q-type factoring");
        out << '\n';
    }
    echo_label("Data File");
    out << p.data_name << '\n';
    if (p.q_type) {
        echo_label("Auto Classification");
        if (p.auto_classify)
            out << "Yes, min loading " << p.min_loading << '\n';
        else
            out << "No\n";
    }
    if (p.q_type && p.auto_classify) {
        echo_label("Membership output to");
        out << p.membership_name << '\n';
    }
}

// The kind of analysis, and for iterated principal factors the priors and
// what happens to a communality above 1.
void echo_analysis(const analysis_parameters_record& p)
{
    std::ostream& out = std::cout;
    echo_label("Analysis Type");
    switch (p.analysis_type) {
    case 'I': out << "Image Covariance\n"; break;
    case 'P': out << "Principal Components\n"; break;
    default: out << "Iterated Principal Factors\n"; break;
    }
    if (p.analysis_type == 'F') {
        echo_label("Prior Communality Ests");
        switch (p.prior_estimate) {
        case '1': out << "One\n"; break;
        case 'C': out << "Max Correlation\n"; break;
        default: out << "Squared Multiple Correlation\n"; break;
        }
        echo_label("Allow Heywood");
        out << yes_no(p.allow_heywood) << '\n';
    }
}

// The factors kept and the iteration limit; from here on standard output
// prints 3 significant digits.
void echo_limits(const analysis_parameters_record& p)
{
    std::ostream& out = std::cout;
    echo_label("Max # Factors");
    if (p.max_factors == -1)
        out << "# of variables\n";
    else
        out << p.max_factors << '\n';
    out.precision(3);
    echo_label("Min Eigenvalue");
    out << p.min_eigenvalue << '\n';
    if (p.analysis_type == 'F') {
        echo_label("Max Iterations");
        out << p.max_iterations << '\n';
    }
}

}  // namespace

command_line_names parse_command_line(int argc, const char* const* argv)
{
    command_line_names names;
    for (int i = 1; i < argc; ++i) {
        const std::string_view typed = argv[i];
        const std::string argument = upper_case(typed);
        if (argument.starts_with('>')) {
            std::string target(typed.substr(1));
            if (argument.size() == 1) {
                if (i + 1 >= argc)
                    fatal_error("Initialization: no redirection target", "");
                target = argv[++i];
            }
            // A second redirection, or an empty name, cannot be opened.
            if (names.report_target || target.empty())
                fatal_error("Initialization: could not open", target);
            names.report_target = std::move(target);
        } else if (!argument.starts_with('-')) {
            names.data_files.emplace_back(typed);
        } else if (argument.size() > 1) {
            apply_option(argument[1], std::string_view(argument).substr(2), typed, names);
        } else {
            ignore_option(typed);
        }
    }
    return names;
}

void parse_print_options(std::string_view letters)
{
    analysis_parameters_record& p = analysis_parameters;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        bool* flag = nullptr;
        switch (letters[i]) {
        case 'B': flag = &p.print_group_breaks; break;
        case 'C': flag = &p.print_correlations; break;
        case 'D': flag = &p.print_raw_data; break;
        case 'M': flag = &p.print_means; break;
        case 'O': flag = &p.print_sorted; break;
        case 'P': flag = &p.print_scree; break;
        case 'R': flag = &p.print_rotated; break;
        case 'S': flag = &p.print_scores; break;
        case 'U': flag = &p.print_unrotated; break;
        case 'W': flag = &p.print_weights; break;
        default: continue;
        }
        const bool off = i + 1 < letters.size() && letters[i + 1] == '-';
        *flag = !off;
        if (off)
            ++i;
    }
}

void echo_parameters(int argc, const char* const* argv)
{
    const analysis_parameters_record& p = analysis_parameters;
    std::cout << "\nAnalysis Parameters  \n-------------------  \n";
    if (p.echo_command_line)
        echo_command_line(argc, argv);
    echo_data(p);
    echo_analysis(p);
    echo_limits(p);
    echo_label("Rotate");
    std::cout << (p.rotate ? "Varimax" : "No") << '\n';
    echo_label("Score");
    std::cout << yes_no(p.score) << "\n\n";
}
