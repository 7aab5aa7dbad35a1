#include "factor/run_files.h"

#include <filesystem>
#include <system_error>

#include "factor/errors.h"
#include "factor/parameters.h"

namespace {

namespace fs = std::filesystem;

// The extensions of the files that the stages write beside the raw data.
constexpr const char* stage_extensions[] = {
    ".cor", ".mns", ".sig", ".cov", ".mod", ".ice", ".iev", ".fce", ".uev", ".uvs", ".uel",
    ".uet", ".cev", ".plt", ".rev", ".rvs", ".rpt", ".rcm", ".uwt", ".rwt", ".usc", ".rsc"};

// The longest chain of symbolic links that a name is followed through, as
// the system's own lookup does.
constexpr int max_links = 40;

// Where a name leads: a path from the root with the links on its way
// resolved, the file's own too, and a link (or a chain of them) to a file
// that does not exist yet followed to the file that writing it would
// create.  Two spellings of one path, or a link and its file, give one
// path; hard links keep their own paths.  Nothing when that cannot be told
// (a lookup fails, or the links go round in a loop).
std::optional<fs::path> resolved_path(const std::string& name)
{
    std::error_code error;
    fs::path path = fs::absolute(name, error);
    for (int links = 0; !error && links <= max_links; ++links) {
        // Every link but a last one that leads nowhere is resolved here.
        path = fs::weakly_canonical(path, error);
        if (error)
            break;
        const fs::file_status status = fs::symlink_status(path, error);
        if (status.type() == fs::file_type::not_found)
            return path;  // a file still to be made
        if (error)
            break;
        if (!fs::is_symlink(status))
            return path;
        // A link that leads nowhere: on to its target, which an absolute
        // target replaces whole.
        path = path.parent_path() / fs::read_symlink(path, error);
    }
    return std::nullopt;
}

enum class identity { different, same, unknown };

// Whether two names are one file: unknown when a lookup fails other than
// for a file that does not exist, and when `b`, which must exist, does not.
identity compare_files(const std::string& a, const std::string& b, bool b_exists = false)
{
    const std::optional<fs::path> path_a = resolved_path(a);
    const std::optional<fs::path> path_b = resolved_path(b);
    if (!path_a || !path_b)
        return identity::unknown;
    if (*path_a == *path_b)
        return identity::same;
    std::error_code error_a;
    std::error_code error_b;
    const fs::file_status status_a = fs::status(a, error_a);
    const fs::file_status status_b = fs::status(b, error_b);
    if (b_exists && error_b)
        return identity::unknown;
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

// Ends the run unless the raw data file is still there, a regular file.
void find_raw_data(const std::string& data_file)
{
    std::error_code error;
    const fs::file_status status = fs::status(data_file, error);
    if (error)
        fatal_error("Initialization: cannot open raw data file", data_file);
    if (!fs::is_regular_file(status))
        fatal_error("Initialization: raw data file is not a regular file", data_file);
}

// No file is written over the raw data file, nor any file that the run
// cannot tell from it.  The raw data file is looked up anew: a file that
// cannot be found is no file that the output is shown to differ from.
void check_not_raw_data(const std::string& output, const std::string& data_file)
{
    find_raw_data(data_file);
    const identity output_is_data = compare_files(output, data_file, true);
    if (output_is_data == identity::different)
        return;
    if (output_is_data == identity::unknown)
        find_raw_data(data_file);  // the raw data file, or the output, is at fault
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

// The report goes over none of the files that the run reads or writes, nor
// over a file that an argument names as data: a data file argument in its
// place (">" d.dat rep, or a blank after an option) is a slip of the user's.
void check_report_target(const std::string& target, const run_files& files)
{
    check_not_raw_data(target, files.data_file);
    for (const std::string& data_file : files.other_data_files) {
        if (compare_files(target, data_file) != identity::different)
            fatal_error("Initialization: cannot write over raw data file", target);
    }
    if (is_stage_file(target, files))
        fatal_error("Initialization: cannot write report over a file of the run", target);
    if (!files.membership_file.empty()
        && compare_files(target, files.membership_file) == identity::same)
        fatal_error("Initialization: cannot write report over membership file", target);
}

}  // namespace

std::string cut_at_extension(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::size_t dot = name.find('.', slash == std::string_view::npos ? 0 : slash + 1);
    return std::string(name.substr(0, dot));
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

run_files name_run_files(const command_line_names& names)
{
    analysis_parameters_record& p = analysis_parameters;
    if (!names.data_files.empty()) {
        const std::string& typed = names.data_files.back();
        p.file_stem = cut_at_extension(typed);
        p.data_file = data_file_named(typed);
        p.data_name = upper_case(p.file_stem);
    }
    if (names.membership) {
        p.membership_file = cut_at_extension(*names.membership);
        p.membership_name = upper_case(p.membership_file);
    }

    run_files files;
    files.data_file = p.data_file;
    files.report_target = names.report_target;
    if (files.data_file.empty())
        return files;
    for (std::size_t i = 0; i + 1 < names.data_files.size(); ++i) {
        if (std::string named = data_file_named(names.data_files[i]); !named.empty())
            files.other_data_files.push_back(std::move(named));
    }
    // A Q-type run writes every file of its stages beside the transposed
    // data, and none beside the data as given.
    const std::string written_stem = p.q_type ? qdata_stem : p.file_stem;
    if (p.q_type)
        files.stage_files.push_back(written_stem + ".dat");
    for (const char* extension : stage_extensions)
        files.stage_files.push_back(written_stem + extension);
    if (p.auto_classify)
        files.membership_file = p.membership_file;
    return files;
}

void check_run_files(const run_files& files)
{
    find_raw_data(files.data_file);
    for (const std::string& stage_file : files.stage_files)
        check_not_raw_data(stage_file, files.data_file);
    if (!files.membership_file.empty()) {
        check_not_raw_data(files.membership_file, files.data_file);
        if (is_stage_file(files.membership_file, files))
            fatal_error("Initialization: cannot write membership over a file of the run",
                        files.membership_file);
    }
    if (files.report_target)
        check_report_target(*files.report_target, files);
}
