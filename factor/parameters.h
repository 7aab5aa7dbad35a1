// The settings of one run of qrn4, taken from its command line, and the
// names that the command line gives, as typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct analysis_parameters_record {
    char analysis_type = 'P';  // 'P' principal components, 'F' iterated
                               // principal factors, 'I' image analysis
    // The names of the run's files, which name_run_files (run_files.h)
    // gives from the command line.  Every file of the run is file_stem + a
    // lower-case extension.  The stem keeps the directory and the case the
    // user typed; a Q-type run switches it to "qdata" in the working
    // directory.
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

// The names that a command line gives, as typed.
struct command_line_names {
    // Every data file argument, in their order: the last one is the data
    // file of the run.
    std::vector<std::string> data_files;
    std::optional<std::string> membership;  // the value of the last -O
    // Where the report goes, when not to standard output: the argument
    // after a lone '>', or the rest of a longer '>' argument, as typed.
    std::optional<std::string> report_target;
};

// Reads the arguments after the program name once, in their order: the
// options into analysis_parameters, the names into the result.  Nothing is
// opened: an error ends the run on the console.
command_line_names parse_command_line(int argc, const char* const* argv);

// Applies the print letters of one -P option.
void parse_print_options(std::string_view letters);

// Prints the "Analysis Parameters" block, the arguments after the program
// name upper-cased; leaves standard output at a precision of 3 significant
// digits.
void echo_parameters(int argc, const char* const* argv);
