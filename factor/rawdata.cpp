#include <string>

#include "factor/errors.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/stages.h"
#include "factor/word_reader.h"

namespace {

// Word number `which` (0 or 1) of the raw data file's header as a count.
int read_header_count(int which)
{
    const std::string file_name = raw_data_file();
    word_reader in(file_name);
    if (!in.is_open())
        fatal_error("Initialization: cannot open raw data file", file_name);
    // The words before it are skipped unchecked.
    std::string_view word;
    int count = 0;
    for (int k = 0; k < which; ++k) {
        if (!in.read_word(word))
            fatal_error("Initialization: error raw data file", file_name);
    }
    if (!in.read_count(count))
        fatal_error("Initialization: error raw data file", file_name);
    return count;
}

}  // namespace

int read_subject_count()
{
    return read_header_count(0);
}

int read_variable_count()
{
    return read_header_count(1);
}

void make_qdata()
{
    const matrix data(raw_data_file());
    data.transpose().write(qdata_stem + std::string(".dat"));
    analysis_parameters.file_stem = qdata_stem;
    analysis_parameters.data_file.clear();
}
