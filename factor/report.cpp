#include "factor/report.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <string_view>
#include <vector>

#include "factor/errors.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/scree.h"
#include "factor/word_reader.h"

int page_line_count = 0;
int page_number = 0;
int block_columns = 6;
bool title_pending = false;
bool row_label_column = false;
bool sorted_pattern = false;

namespace {

constexpr int page_width = 78;
constexpr int page_length = 54;       // counted lines that fit on a page
constexpr int block_start_limit = 50;  // a block starts a new page above it
constexpr int chunk_rows = 50;         // rows held at a time; 49 with the title
constexpr int working_rows = 54;
constexpr std::size_t field_width = 10;
constexpr char form_feed = '\f';

// The blanks that fill out the field of a label (at most 10 bytes).
std::size_t label_padding(std::string_view label)
{
    return field_width - std::min(label.size(), field_width);
}

// A value as "%10.5f" gives it: a longer text widens its field.
void append_fixed(std::string& line, double value)
{
    char text[400];  // the largest double has 309 digits before the point
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 5);
    const std::size_t length = static_cast<std::size_t>(result.ptr - text);
    if (length < field_width)
        line.append(field_width - length, ' ');
    line.append(text, length);
}

std::string page_title()
{
    const analysis_parameters_record& p = analysis_parameters;
    std::string title = p.q_type ? "Q-type " : "";
    switch (p.analysis_type) {
    case 'I':
        title += "Image Factor Analysis of ";
        break;
    case 'P':
        title += "Principal Components Analysis of ";
        break;
    case 'F':
        title += "Principal Factors Analysis of ";
        break;
    }
    return title + p.data_name + " Data";
}

// A new page: its header unless page breaks are off; the counting starts
// again either way.
void start_page()
{
    if (!analysis_parameters.no_page_breaks)
        print_page_header();
    page_line_count = 0;
}

// After a line of a block: a full page ends, and the block's column header
// is repeated on the new one when a further row of the block follows.
void end_page_if_full(const matrix& table, int first_column, int end_column, int next_row,
                      bool more_rows)
{
    if (page_line_count <= page_length)
        return;
    start_page();
    if (more_rows && !analysis_parameters.no_page_breaks)
        print_column_header(table, first_column, end_column, next_row);
}

// The rotated sections come only from the files of a run that rotated: an
// earlier run's files of the same names are not this run's results.
void print_rotated_file(std::string_view extension, const std::string& title, bool sorted = false)
{
    if (!analysis_parameters.rotate)
        fatal_error("Print results: cannot open data file", stem_file(extension));
    print_matrix_file(stem_file(extension), title, sorted);
}

[[noreturn]] void data_error(const std::string& file_name)
{
    fatal_error("Print results: error in data file", file_name);
}

// The working matrix of a table of rows x columns: its column labels, read
// after the counts, and room for the rows of one chunk at a time.  A file
// too short for the first chunk of rows (which is read before anything of
// the table is printed) ends the run here with the message its reading
// would end with: nothing is allocated for counts that the file cannot
// hold.
matrix read_column_labels(word_reader& in, const std::string& file_name, int rows, int columns)
{
    std::vector<std::string> labels;
    std::string label;
    for (int j = 0; j < columns; ++j) {
        if (!in.read_label(label))
            fatal_error("Print results: error in raw data file", file_name);
        labels.push_back(label);
    }
    if (!in.can_hold(std::min(rows, chunk_rows - 1), columns))
        data_error(file_name);
    matrix table(std::min(rows, working_rows), columns, 0.0);
    for (int j = 0; j < columns; ++j)
        table.setcollab(j, labels[j]);
    return table;
}

// A table that does not fit on the rest of the page starts a new one.
void keep_table_on_one_page(int rows, int columns)
{
    if (page_line_count < page_length) {
        const long long q = (columns - 1) / block_columns;
        const long long needed = 3 * q + (q + 1) * rows + 6;
        if (needed > page_length - page_line_count)
            page_line_count = page_length + 1;
    }
}

// The next count rows of the file into the working matrix from its row 0;
// a table of one row keeps its default row label.
void read_chunk(word_reader& in, const std::string& file_name, matrix& table, int count)
{
    std::string label;
    for (int r = 0; r < count; ++r) {
        if (!in.read_label(label))
            data_error(file_name);
        if (row_label_column)
            table.setrowlab(r, label);
        for (int j = 0; j < table.ncols(); ++j) {
            value_conversion value;
            if (!in.read_value(value) || !value.in_range)
                data_error(file_name);
            table.val(r, j) = value.value;
        }
    }
}

// The rows first_row .. end_row - 1 of the table, held by the working
// matrix, in blocks of block_columns columns.
void print_chunk(const matrix& table, int first_row, int end_row, const std::string& title)
{
    const int columns = table.ncols();
    for (int c = 0; c < columns;) {
        const int end_column = c + std::min(block_columns, columns - c);
        print_block(table, first_row, c, end_row, end_column, title);
        title_pending = false;
        c = end_column;
    }
}

}  // namespace

void print_results()
{
    const analysis_parameters_record& p = analysis_parameters;
    page_line_count = page_length + 1;  // the first section starts page 1
    page_number = 0;

    if (p.print_raw_data)
        print_matrix_file(raw_data_file(), "Raw Data Matrix");
    if (p.print_means) {
        print_matrix_file(stem_file(".mns"), "Variable Means");
        print_matrix_file(stem_file(".sig"), "Unadjusted Standard Deviations");
    }
    if (p.print_correlations) {
        print_matrix_file(stem_file(".cor"), "Correlation Matrix");
        if (p.analysis_type == 'I')
            print_matrix_file(stem_file(".cov"), "Image Covariance Matrix");
    }
    if (p.analysis_type == 'F') {
        print_matrix_file(stem_file(".ice"), "Initial Communality Estimates");
        print_matrix_file(stem_file(".iev"), "Initial Eigenvalues");
        print_matrix_file(stem_file(".fce"), "Final Communality Estimates");
    }
    if (p.print_scree)
        print_scree_plot();
    if (p.print_unrotated) {
        print_matrix_file(stem_file(".cev"), "Unrotated Solution: Eigenvalues");
        print_matrix_file(stem_file(p.print_sorted ? ".uvs" : ".uev"),
                          "Unrotated Solution: Factor Pattern", p.print_sorted);
    }
    if (p.print_rotated) {
        print_rotated_file(".rcm", "Rotated Solution: Percentage Communalities");
        print_rotated_file(".rpt", "Rotated Solution: Percentages of Variance Accounted For");
        print_rotated_file(p.print_sorted ? ".rvs" : ".rev", "Rotated Solution: Factor Pattern",
                           p.print_sorted);
    }
    if (p.score) {
        print_matrix_file(stem_file(".uwt"), "Unrotated Scoring Weights");
        if (p.rotate)
            print_matrix_file(stem_file(".rwt"), "Rotated Scoring Weights");
        if (p.print_scores) {
            print_matrix_file(stem_file(".usc"), "Unrotated Factor Scores");
            if (p.rotate)
                print_matrix_file(stem_file(".rsc"), "Rotated Factor Scores");
        }
    }
    if (p.auto_classify && p.print_membership)
        print_matrix_file(p.membership_file, "Classification Results");

    if (!p.no_page_breaks)
        std::cout << form_feed;
}

void print_matrix_file(const std::string& file_name, const std::string& title, bool sorted)
{
    title_pending = true;
    word_reader in(file_name);
    if (!in.is_open())
        fatal_error("Print results: cannot open data file", file_name);
    int counts[2];
    for (int& count : counts) {
        if (!in.read_count(count) || count < 0)
            data_error(file_name);
    }
    const int rows = counts[0];
    const int columns = counts[1];
    if (rows == 0 || columns == 0)
        return;

    block_columns = rows == 1 ? 7 : 6;
    row_label_column = rows > 1;  // a single row goes without its label
    sorted_pattern = sorted;
    matrix table = read_column_labels(in, file_name, rows, columns);
    keep_table_on_one_page(rows, columns);
    for (int s = 0; s < rows;) {
        const int e = std::min(title_pending ? chunk_rows - 1 : chunk_rows, rows - s);
        read_chunk(in, file_name, table, e);
        print_chunk(table, s, s + e, title);
        s += e;
    }
}

void print_block(const matrix& table, int first_row, int first_column, int end_row,
                 int end_column, const std::string& title)
{
    const analysis_parameters_record& p = analysis_parameters;
    if (page_line_count > block_start_limit)
        start_page();
    if (title_pending)
        print_section_title(title);
    int k = 0;  // row of the working matrix
    print_column_header(table, first_column, end_column, k);

    std::string line;
    for (int i = first_row; i < end_row; ++i) {
        const bool more_rows = i + 1 < end_row;
        line.clear();
        if (row_label_column) {
            std::string label = table.getrowlab(k);
            if (sorted_pattern) {
                sorted_row row = read_sorted_row_label(label);
                label = std::move(row.name);
                if (row.starts_group && p.print_group_breaks) {
                    std::cout << '\n';
                    ++page_line_count;
                    end_page_if_full(table, first_column, end_column, k, more_rows);
                }
            }
            line += label;
            line.append(label_padding(label), ' ');
            line += ' ';
        }
        for (int j = first_column; j < end_column; ++j) {
            append_fixed(line, table.val(k, j));
            line += ' ';
        }
        line += '\n';
        std::cout << line;
        ++page_line_count;
        ++k;
        end_page_if_full(table, first_column, end_column, k, more_rows);
    }
}

void print_column_header(const matrix& table, int first_column, int end_column, int next_row)
{
    std::string line = "\n";
    if (row_label_column)
        line.append(field_width + 1, ' ');
    for (int j = first_column; j < end_column; ++j) {
        const std::string label = table.getcollab(j);
        line.append(label_padding(label), ' ');
        line += label;
        line += ' ';
    }
    line += '\n';
    // A row that starts a group brings its own empty line.
    const bool group_follows = row_label_column && sorted_pattern
                               && analysis_parameters.print_group_breaks
                               && read_sorted_row_label(table.getrowlab(next_row)).starts_group;
    if (!group_follows)
        line += '\n';
    std::cout << line;
    page_line_count += 3;
}

void print_section_title(const std::string& title)
{
    std::cout << '\n' << title << '\n';
    page_line_count += 2;
}

void print_page_header()
{
    ++page_number;
    const std::string title = page_title();
    const std::string page_text = std::string("Page ") + ' ' + std::to_string(page_number);
    std::string lines(1, form_feed);
    lines += title;
    // A title too long for the line runs on without blanks.
    const std::size_t used = title.size() + page_text.size();
    if (used < page_width)
        lines.append(page_width - used, ' ');
    lines += page_text;
    lines += '\n';
    lines.append(page_width, '-');
    lines += '\n';
    std::cout << lines;
}

void print_scree_plot()
{
    if (page_length - page_line_count < scree_rows + 3)
        start_page();
    std::cout << "\nUnrotated Solution: Scree Plot\n\n";
    page_line_count += 3;

    const std::string file_name = stem_file(".plt");
    word_reader in(file_name);
    if (!in.is_open())
        fatal_error("Print results: cannot open scree plot file", file_name);
    for (int row = 0; row < scree_rows; ++row) {
        for (int column = 0; column < scree_columns; ++column) {
            char c;
            if (!in.read_char(c))
                fatal_error("Print results: error reading scree plot file", file_name);
            std::cout.put(c);
        }
        std::cout.put('\n');
        ++page_line_count;
    }
}
