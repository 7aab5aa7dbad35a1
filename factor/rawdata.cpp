#include <string>

#include "factor/errors.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
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

// A label as a warning shows it: a label of the full length may have been
// cut inside a character, whose first bytes are then left out.
std::string_view shown(std::string_view label)
{
    return label.size() >= max_label_length ? without_split_character(label) : label;
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
    const std::string file_name = raw_data_file();
    reading_notes notes;
    const matrix data(file_name, &notes);
    warn_about_raw_data(notes, file_name, data, data.nrows());
    data.transpose().write(qdata_stem + std::string(".dat"));
    analysis_parameters.file_stem = qdata_stem;
    analysis_parameters.data_file.clear();
}

void warn_about_raw_data(const reading_notes& notes, const std::string& file_name,
                         const matrix& variables, int subjects)
{
    if (const std::uint64_t n = notes.non_numbers; n > 0) {
        const std::string where = "\"" + notes.first_word + "\", subject "
                                  + std::to_string(notes.first_row + 1) + " ("
                                  + std::string(shown(notes.first_label)) + "), variable "
                                  + std::string(shown(variables.getcollab(notes.first_column)));
        if (n == 1)
            warning(file_name + ": a value word is not a number, and reads as 0 or as the "
                    "number it begins with: " + where);
        else
            warning(file_name + ": " + std::to_string(n) + " value words are not numbers, and "
                    "read as 0 or as the number they begin with; the first: " + where);
    }
    if (const std::uint64_t n = notes.words_left.words; n > 0) {
        warning(file_name + ": " + (notes.words_left.to_end ? "" : "at least ")
                + std::to_string(n) + (n == 1 ? " word" : " words")
                + " after the last subject that the header gives (" + std::to_string(subjects)
                + (n == 1 ? ") was" : ") were") + " not read");
    }
}
