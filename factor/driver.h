// One complete run of qrn4, from the command line to the report.
#pragma once

// Parses the command line, checks the raw data file, prints the banner, the
// parameters and the analysis log, runs the stages in their fixed order and
// prints the report.  Errors end it with a run_error (see errors.h).
void run_analysis(int argc, const char* const* argv);
