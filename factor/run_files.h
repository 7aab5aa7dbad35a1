// The files of a run: the raw data file that it reads, the files that its
// stages write and read back, the membership file and the redirection
// target; and the checks that keep a run from writing one over another.
//
// Two names are one file when they lead to one file on disk: through a
// symbolic link, through a hard link, or as two spellings of one path
// (./d.dat and d.dat), also when the file does not exist yet.
#pragma once

#include <string>
#include <vector>

struct analysis_parameters_record;

struct run_files {
    std::string data_file;  // empty when no argument names one
    // What the stages write and read back: the stem with each stage's
    // extension, and for a Q-type run the transposed data "qdata.dat".
    std::vector<std::string> stage_files;
    std::string membership_file;  // empty unless the run classifies
};

// The files of the run that the arguments ask for, read ahead of the
// arguments' effects: a redirection is opened before the arguments after
// it are read.
run_files planned_run_files(int argc, const char* const* argv);

// The files of the run that analysis_parameters describe.
run_files files_of(const analysis_parameters_record& p);

// Ends the run before the redirection target is opened when it is the raw
// data file, a stage file or the membership file.
void check_report_target(const std::string& target, const run_files& files);

// Ends the run unless the raw data file is a regular file (or a link to
// one), and when a stage file or the membership file is the raw data file,
// or the membership file is a stage file.  A run that cannot look up a
// file cannot show that it is not the raw data file, and does not write it.
void check_run_files(const run_files& files);
