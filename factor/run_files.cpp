#include "factor/run_files.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "factor/errors.h"
#include "factor/parameters.h"
#include "factor/stages.h"

namespace {

namespace fs = std::filesystem;

// The extensions of the files that the stages write beside the raw data.
constexpr const char* stage_extensions[] = {
    ".cor", ".mns", ".sig", ".cov", ".mod", ".ice", ".iev", ".fce", ".uev", ".uvs", ".uel",
    ".uet", ".cev", ".plt", ".rev", ".rvs", ".rpt", ".rcm", ".uwt", ".rwt", ".usc", ".rsc"};

run_files make_run_files(std::string data_file, const std::string& stem, bool q_type, bool classify,
                         const std::string& membership_file)
{
    run_files files;
    files.data_file = std::move(data_file);
    if (files.data_file.empty())
        return files;
    // A Q-type run writes every file of its stages beside the transposed
    // data, and none beside the data as given.
    const std::string written_stem = q_type ? qdata_stem : stem;
    if (q_type)
        files.stage_files.push_back(written_stem + ".dat");
    for (const char* extension : stage_extensions)
        files.stage_files.push_back(written_stem + extension);
    if (classify)
        files.membership_file = membership_file;
    return files;
}

// A name as a path from the root, with the links on its way resolved, the
// file's own too when it exists: two spellings of one path, or a link and
// its file, give one path.  Hard links keep their own paths.
fs::path resolved_path(const std::string& name)
{
    std::error_code error;
    const fs::path absolute = fs::absolute(name, error);
    fs::path path = fs::weakly_canonical(absolute, error);
    return error ? absolute.lexically_normal() : path;
}

enum class identity { different, same, unknown };

// Whether two names are one file: unknown when a lookup fails other than
// for a file that does not exist.
identity compare_files(const std::string& a, const std::string& b)
{
    if (resolved_path(a) == resolved_path(b))
        return identity::same;
    std::error_code error_a;
    std::error_code error_b;
    const fs::file_status status_a = fs::status(a, error_a);
    const fs::file_status status_b = fs::status(b, error_b);
    if (status_a.type() == fs::file_type::not_found || status_b.type() == fs::file_type::not_found)
        return identity::different;
    if (error_a || error_b)
        return identity::unknown;
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    if (error)
        return identity::unknown;
    return same ? identity::same : identity::different;
}

// Ends the run when the raw data file cannot be looked up for another
// reason than that it does not exist (which its first read reports).
void check_data_lookup(const std::string& data_file)
{
    std::error_code error;
    const fs::file_status status = fs::status(data_file, error);
    if (error && status.type() != fs::file_type::not_found)
        fatal_error("Initialization: cannot open raw data file", data_file);
}

// No file is written over the raw data file, nor any file that the run
// cannot tell from it.
void check_not_raw_data(const std::string& output, const std::string& data_file)
{
    if (compare_files(output, data_file) != identity::different)
        fatal_error("Initialization: cannot write over raw data file", output);
}

bool is_stage_file(const std::string& name, const run_files& files)
{
    for (const std::string& stage_file : files.stage_files) {
        if (compare_files(name, stage_file) == identity::same)
            return true;
    }
    return false;
}

}  // namespace

run_files planned_run_files(int argc, const char* const* argv)
{
    std::string typed_data_file;
    std::string membership_file = analysis_parameters_record{}.membership_file;
    bool q_type = false;
    bool classify = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == ">") {
            ++i;  // the target
        } else if (!argument.starts_with('>') && !argument.starts_with('-')) {
            typed_data_file = argument;
        } else if (argument.starts_with('-') && argument.size() > 1) {
            const char letter = upper_case(argument.substr(1, 1))[0];
            if (letter == 'A')
                q_type = classify = true;
            else if (letter == 'Q')
                q_type = true;
            else if (letter == 'O')
                membership_file = cut_at_extension(argument.substr(2));
        }
    }
    return make_run_files(data_file_named(typed_data_file), cut_at_extension(typed_data_file),
                          q_type, classify, membership_file);
}

run_files files_of(const analysis_parameters_record& p)
{
    return make_run_files(p.file_stem.empty() ? std::string() : raw_data_file(), p.file_stem,
                          p.q_type, p.auto_classify, p.membership_file);
}

void check_report_target(const std::string& target, const run_files& files)
{
    if (files.data_file.empty())
        return;
    check_data_lookup(files.data_file);
    check_not_raw_data(target, files.data_file);
    if (is_stage_file(target, files))
        fatal_error("Initialization: cannot write report over a file of the run", target);
    if (!files.membership_file.empty()
        && compare_files(target, files.membership_file) == identity::same)
        fatal_error("Initialization: cannot write report over membership file", target);
}

void check_run_files(const run_files& files)
{
    const std::string& data_file = files.data_file;
    std::error_code error;
    const fs::file_status status = fs::status(data_file, error);
    if (error)
        fatal_error("Initialization: cannot open raw data file", data_file);
    if (!fs::is_regular_file(status))
        fatal_error("Initialization: raw data file is not a regular file", data_file);

    for (const std::string& stage_file : files.stage_files)
        check_not_raw_data(stage_file, data_file);
    if (!files.membership_file.empty()) {
        check_not_raw_data(files.membership_file, data_file);
        if (is_stage_file(files.membership_file, files))
            fatal_error("Initialization: cannot write membership over a file of the run",
                        files.membership_file);
    }
}
