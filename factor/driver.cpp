#include "factor/driver.h"

#include <ctime>
#include <iostream>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/parameters.h"
#include "factor/report.h"
#include "factor/stages.h"

namespace {

void check_counts()
{
    if (read_subject_count() < 2)
        fatal_error("Initialization: too few observations", "");
    if (read_variable_count() < 2)
        fatal_error("Initialization: too few variables", "");
}

// The extensions of the files that the stages write beside the raw data.
constexpr const char* stage_extensions[] = {
    ".cor", ".mns", ".sig", ".cov", ".mod", ".ice", ".iev", ".fce", ".uev", ".uvs", ".uel",
    ".uet", ".cev", ".plt", ".rev", ".rvs", ".rpt", ".rcm", ".uwt", ".rwt", ".usc", ".rsc"};

// No file that the run may create or truncate is the raw data file: checked
// for all of them before anything is written.  The redirection target was
// checked when it was opened.
void check_output_files()
{
    const analysis_parameters_record& p = analysis_parameters;
    const std::string data_file = stem_file(".dat");
    if (p.q_type)
        check_not_raw_data(qdata_stem + std::string(".dat"), data_file);
    if (p.auto_classify)
        check_not_raw_data(p.membership_file, data_file);
    const std::string stem = p.q_type ? qdata_stem : p.file_stem;
    for (const char* extension : stage_extensions)
        check_not_raw_data(stem + extension, data_file);
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

    parse_command_line(argc, argv);
    if (p.file_stem.empty())
        fatal_error("Initialization: no data file specified", "");
    check_output_files();

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
