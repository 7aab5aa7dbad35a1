// The settings of one run of qrn4, taken from its command line.
#pragma once

#include <string>
#include <string_view>

// A file name cut at the first '.' of its last path component: "data.dat",
// "./data.dat" and "data" give "data", "./data" and "data".
std::string cut_at_extension(std::string_view name);

struct analysis_parameters_record {
    char analysis_type = 'P';  // 'P' principal components, 'F' iterated
                               // principal factors, 'I' image analysis
    // Every file of the run is file_stem + a lower-case extension.  The stem
    // keeps the directory and the case the user typed; a Q-type run switches
    // it to "qdata" in the working directory.
    std::string file_stem;
    // The raw data file that the data file argument names (data_file_named);
    // empty after the Q-type transposition, and in a record that gives only
    // a stem, whose raw data file is file_stem + ".dat".
    std::string data_file;
    std::string data_name;  // the stem upper-cased, as printed; never changes
    std::string membership_file = "membership.dat";  // as opened
    std::string membership_name = "membership.dat";  // as printed
    bool rotate = false;
    bool score = false;
    int max_factors = -1;  // -1: as many as there are variables; after the
                           // extraction, the number of factors retained
    double min_eigenvalue = 1.0;
    bool no_page_breaks = false;
    int max_iterations = 100;
    char prior_estimate = 'S';  // '1' ones, 'C' largest correlation,
                                // 'S' squared multiple correlation
    bool q_type = false;
    bool auto_classify = false;
    double min_loading = 0.5;
    double second_loading_limit = 0.35;  // the A option sets min_loading - 0.2
    bool allow_heywood = false;
    bool print_raw_data = false;
    bool print_means = true;
    bool print_correlations = true;
    bool print_unrotated = true;
    bool print_rotated = false;
    bool print_weights = false;
    bool print_scores = false;
    bool print_sorted = true;
    bool print_scree = true;
    bool print_membership = false;
    bool print_group_breaks = true;
    bool echo_command_line = true;
};

extern analysis_parameters_record analysis_parameters;

// The file of the run with the given extension: file_stem + extension.
std::string stem_file(std::string_view extension);

// The raw data file of the run: data_file, or file_stem + ".dat".
std::string raw_data_file();

// The raw data file that a data file argument names: the name as typed
// when it ends in ".dat" in any letter case, and otherwise its stem
// (cut_at_extension) + ".dat"; empty when the stem is.
std::string data_file_named(std::string_view typed);

// Reads the arguments after the program name into analysis_parameters.  A
// '>' argument sends standard output to the file it names, from then on.
void parse_command_line(int argc, const char* const* argv);

// Applies the print letters of one -P option.
void parse_print_options(std::string_view letters);

// Prints the "Analysis Parameters" block, the arguments after the program
// name upper-cased; leaves standard output at a precision of 3 significant
// digits.
void echo_parameters(int argc, const char* const* argv);

// Gives standard output its own stream back and closes a redirection file.
// False when anything printed could not be written.
bool end_output();

// Where the run prints: the redirection target, or "standard output".
std::string output_name();
