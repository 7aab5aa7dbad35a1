// The files of a run: how the command line names them (the file stem rule),
// and the checks that keep a run from writing one of them over another, or
// over a file that it does not own.
//
// Two names are one file when they lead to one file on disk: through a
// symbolic link (or a chain of them, also to a file that does not exist
// yet), through a hard link, or as two spellings of one path (./d.dat and
// d.dat).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct command_line_names;

inline constexpr const char* qdata_stem = "qdata";  // of a Q-type run's files

// A file name cut at the first '.' of its last path component: "data.dat",
// "./data.dat" and "data" give "data", "./data" and "data".
std::string cut_at_extension(std::string_view name);

// The raw data file that a data file argument names: the name as typed
// when it ends in ".dat" in any letter case, and otherwise its stem
// (cut_at_extension) + ".dat"; empty when the stem is.
std::string data_file_named(std::string_view typed);

// The file of the run with the given extension: file_stem + extension.
std::string stem_file(std::string_view extension);

// The raw data file of the run: data_file, or file_stem + ".dat".
std::string raw_data_file();

struct run_files {
    std::string data_file;  // empty when no argument names one
    // What the stages write and read back: the stem with each stage's
    // extension, and for a Q-type run the transposed data "qdata.dat".
    std::vector<std::string> stage_files;
    std::string membership_file;  // empty unless the run classifies
    std::optional<std::string> report_target;
    // The raw data files that the other data file arguments name.
    std::vector<std::string> other_data_files;
};

// Gives analysis_parameters, whose options are read, the names of the run's
// files (file_stem, data_file, data_name and the membership file), and
// returns every file of the run.
run_files name_run_files(const command_line_names& names);

// Ends the run unless the raw data file is a regular file (or a link to
// one); and when a stage file or the membership file is the raw data file,
// the membership file is a stage file, or the report target is the raw data
// file, a raw data file that any argument names, a stage file or the
// membership file.  A file that cannot be looked up is not written, and a
// raw data file that cannot be found again at a check (renamed or removed
// meanwhile) ends the run as one that cannot be opened.
void check_run_files(const run_files& files);
