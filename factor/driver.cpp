#include "factor/driver.h"

#include <ctime>
#include <iostream>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/output.h"
#include "factor/parameters.h"
#include "factor/report.h"
#include "factor/run_files.h"
#include "factor/stages.h"

namespace {

void check_counts()
{
    if (read_subject_count() < 2)
        fatal_error("Initialization: too few observations", "");
    if (read_variable_count() < 2)
        fatal_error("Initialization: too few variables", "");
}

std::time_t log_time(const char* what)
{
    const std::time_t now = std::time(nullptr);
    // asctime's text ends with its own line end.
    std::cout << what << std::asctime(std::localtime(&now));
    return now;
}

}  // namespace

void run_analysis(int argc, const char* const* argv)
{
    analysis_parameters_record& p = analysis_parameters;

    // The command line, read once; then the run's files, named once and
    // checked together before anything is written.
    const command_line_names names = parse_command_line(argc, argv);
    const run_files files = name_run_files(names);
    if (p.file_stem.empty()) {
        if (names.data_files.empty() || names.data_files.back().empty())
            fatal_error("Initialization: no data file specified", "");
        fatal_error("Initialization: data file name without a stem", names.data_files.back());
    }
    check_run_files(files);

    // The factor limit is capped by the variables of the data as given,
    // before any Q-type transposition.
    if (const int variables = read_variable_count(); variables < p.max_factors)
        p.max_factors = variables;

    if (p.q_type) {
        make_qdata();
        // The counts are tested before they are divided.
        check_counts();
        if (p.min_eigenvalue == 1.0) {
            // Subjects divided by variables of the data as given, which are
            // the variables and subjects of the transposed data.
            p.min_eigenvalue = static_cast<double>(
                static_cast<extended>(read_variable_count()) / read_subject_count());
        }
    } else {
        check_counts();
    }

    // The data file has passed its checks: from here on the run prints to
    // its report.
    if (files.report_target)
        open_report_target(*files.report_target);
    std::cout << "                    Quarnel 4.0\n\n";
    echo_parameters(argc, argv);
    std::cout << "Analysis Log\n------------\n";
    const std::time_t began = log_time("Analysis began ");

    correlation_step();
    if (p.analysis_type == 'F')
        extract_factors();
    else
        extract_components();
    if (p.max_factors < 2 && p.rotate) {
        std::cout << "Warning: cannot rotate one factor --  rotation disabled.\n";
        p.rotate = p.print_rotated = false;
    }
    if (p.rotate)
        rotation_step();
    if (p.auto_classify)
        classify();
    if (p.score)
        scoring_step();

    const std::time_t ended = log_time("Analysis ended ");
    std::cout << std::fixed << "Elapsed time " << std::difftime(ended, began) << " seconds\n";

    print_results();
}
