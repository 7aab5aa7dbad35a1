// The stages of a qrn4 run, in the order the driver calls them.
//
// Stages take no arguments and return nothing: they talk to each other
// through analysis_parameters and through the matrix files named
// file_stem + extension, and each prints its own lines of the analysis log.
// Every error ends the run through fatal_error or matrix::error.
#pragma once

#include <string>

class matrix;
struct reading_notes;

// Raw data input (rawdata.cpp): the counts in the header of the raw data
// file (raw_data_file()), and the Q-type transposition, which writes
// "qdata.dat" in the working directory and makes "qdata" the stem.
int read_subject_count();
int read_variable_count();
void make_qdata();

// Tells on standard error what the first pass over the raw data file as
// given noticed (its value words that are not numbers, and the words after
// the last of its subjects), naming the variables by the column labels of
// `variables`.  Once a run: the pass is make_qdata in a Q-type run and the
// correlation pass in any other.
void warn_about_raw_data(const reading_notes& notes, const std::string& file_name,
                         const matrix& variables, int subjects);

// Correlations, means, standard deviations and, for image analysis, the
// image covariance (correlation.cpp).
void correlation_step();

// Factor extraction (extraction.cpp): principal components or image
// analysis, and iterated principal factors.  Both store the number of
// factors retained in analysis_parameters.max_factors.
void extract_components();
void extract_factors();

// Varimax rotation (rotation.cpp).
void rotation_step();

// Classification of the subjects of a Q-type run (classification.cpp).
void classify();

// Scoring weights and factor scores (scoring.cpp).
void scoring_step();

// The report, print_results (report.h), comes last.
