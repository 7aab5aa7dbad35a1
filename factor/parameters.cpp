#include "factor/parameters.h"

#include <cmath>
#include <fstream>
#include <iostream>
#include <limits>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/run_files.h"
#include "factor/word_reader.h"

analysis_parameters_record analysis_parameters;

namespace {

// The file that a '>' argument names.  While it is open, standard output
// writes into its buffer; it is closed, and standard output given back its
// own buffer, before the process ends on every way out.
struct redirect_file_record {
    std::ofstream file;
    std::string name;  // as the argument gave it, once opened
    std::streambuf* console = nullptr;

    bool close()
    {
        bool written = static_cast<bool>(std::cout.flush());
        if (console) {
            std::cout.rdbuf(console);
            console = nullptr;
            file.close();
            written = written && !file.fail();
        }
        return written;
    }
    ~redirect_file_record() { close(); }
} redirect_file;

void redirect_output(const std::string& target, const run_files& files)
{
    if (redirect_file.console)  // a second redirection
        fatal_error("Initialization: could not open", target);
    check_report_target(target, files);
    redirect_file.file.open(target, std::ios::out | std::ios::trunc);
    if (!redirect_file.file.is_open())
        fatal_error("Initialization: could not open", target);
    std::cout.flush();
    redirect_file.console = std::cout.rdbuf(redirect_file.file.rdbuf());
    redirect_file.name = target;
}

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

// -Oname: the membership file, named as typed, printed upper-cased.
void name_membership_file(analysis_parameters_record& p, std::string_view typed_value)
{
    p.membership_file = cut_at_extension(typed_value);
    p.membership_name = upper_case(p.membership_file);
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
void apply_option(char letter, std::string_view value, std::string_view typed)
{
    const std::string_view typed_value = typed.substr(2);
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
    case 'O': name_membership_file(p, typed_value); break;
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

std::string stem_file(std::string_view extension)
{
    std::string name = analysis_parameters.file_stem;
    name += extension;
    return name;
}

std::string raw_data_file()
{
    const analysis_parameters_record& p = analysis_parameters;
    return p.data_file.empty() ? stem_file(".dat") : p.data_file;
}

std::string data_file_named(std::string_view typed)
{
    const std::string stem = cut_at_extension(typed);
    if (stem.empty())
        return stem;
    constexpr std::string_view extension = ".dat";
    if (typed.size() > extension.size()
        && upper_case(typed.substr(typed.size() - extension.size())) == ".DAT")
        return std::string(typed);
    return stem + std::string(extension);
}

std::string cut_at_extension(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
    return std::string(name.substr(0, dot));
}

void parse_command_line(int argc, const char* const* argv)
{
    analysis_parameters_record& p = analysis_parameters;
    // A redirection is opened before the arguments after it are read.
    const run_files files = planned_run_files(argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string_view typed = argv[i];
        const std::string argument = upper_case(typed);
        if (argument.starts_with('>')) {
            if (argument.size() > 1) {
                redirect_output(std::string(typed.substr(1)), files);
            } else {
                if (i + 1 >= argc)
                    fatal_error("Initialization: no redirection target", "");
                redirect_output(argv[++i], files);
            }
        } else if (!argument.starts_with('-')) {
            p.file_stem = cut_at_extension(typed);
            p.data_file = data_file_named(typed);
            p.data_name = upper_case(p.file_stem);
        } else if (argument.size() > 1) {
            apply_option(argument[1], std::string_view(argument).substr(2), typed);
        } else {
            ignore_option(typed);
        }
    }
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

bool end_output()
{
    return redirect_file.close();
}

std::string output_name()
{
    return redirect_file.name.empty() ? "standard output" : redirect_file.name;
}
