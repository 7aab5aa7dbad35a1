// The report printer: the last thing a run prints.
//
// It reads back the files that the stages of the run left and prints each
// as a titled section on standard output: tables of numbers from matrix
// files, and the scree plot.  What it adds is the page layout: numbered
// page headers that begin with a form feed, tables cut into blocks of 6
// columns (7 for a table of one row) and chunks of 49 rows (the first) or
// 50, page breaks counted by a line counter, and an empty line before each
// group of a sorted pattern.  With no_page_breaks the same text comes out
// without page headers and without the final form feed; the counting still
// runs.
//
// Every error ends the run through fatal_error, naming the file.
#pragma once

#include <string>

class matrix;

// The printer's state, program-wide.
extern int page_line_count;  // lines counted on the page since its header
extern int page_number;      // number of the last page header printed
extern int block_columns;    // columns per block of the current table
extern bool title_pending;   // the current table's title is still to come
extern bool row_label_column;  // the current table prints its row labels
// The current table is a sorted pattern: its row labels tell which rows
// start a group (read_sorted_row_label, matrix.h), and print without the
// flag.  Other tables print their labels byte for byte.
extern bool sorted_pattern;

// Prints the report: the sections that the run's settings ask for, each
// from its file, then a form feed unless page breaks are off.
void print_results();

// Prints the matrix file file_name as a table under title; sorted tells
// that it holds a sorted pattern.  A file of 0 rows or 0 columns prints
// nothing, not even the title.
void print_matrix_file(const std::string& file_name, const std::string& title,
                       bool sorted = false);

// Prints the scree section from file_stem + ".plt".
void print_scree_plot();

// Prints the rows first_row .. end_row - 1 of the table's file, which the
// working matrix table holds from its row 0, in the columns first_column ..
// end_column - 1; the section title goes first while title_pending.
void print_block(const matrix& table, int first_row, int first_column, int end_row,
                 int end_column, const std::string& title);

// The column header of a block; next_row is the row of the working matrix
// printed after it.
void print_column_header(const matrix& table, int first_column, int end_column, int next_row);

// An empty line and the title.
void print_section_title(const std::string& title);

// The two lines that begin a new page.  Callers reset page_line_count.
void print_page_header();
