// Where a run prints: standard output, or the report target that a '>'
// argument names, which takes its place once the run's checks are done.
#pragma once

#include <string>

// Sends standard output to the file target, created or truncated, from now
// on; ends the run when it cannot be opened.
void open_report_target(const std::string& target);

// Gives standard output its own stream back and closes the report target.
// False when anything printed could not be written.
bool end_output();

// Where the run prints: the report target, or "standard output".
std::string output_name();
