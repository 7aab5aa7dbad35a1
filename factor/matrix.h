// matrix: a dense real matrix with a short label on every row and column,
// the unit of computation and of storage of qrn4.
//
// A value type: copies are deep and never share storage, every operation
// that produces a matrix returns a new one.  Elements are stored row by row
// in one contiguous block.  A label is a byte string of at most 10 bytes;
// longer texts are shortened to their first 10 bytes.  The row labels of a
// sorted pattern carry its group flag (see sorted_row_label): labels are
// copied byte for byte, so the flag travels with every copy and through the
// matrix file.
//
// Arithmetic is done in extended precision (long double) and rounded to
// double wherever a value is stored, an element or a running sum.
//
// Every error ends the run through matrix::error, which prints
// "Matrix: " and the upper-cased message and argument.  Element and label
// access always checks its indices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct reading_notes;

class matrix {
public:
    // rows x cols, every element = value, default labels r1, r2, ... and
    // c1, c2, ...
    matrix(int rows, int cols, double value);
    // rows x cols from rows * cols values given row by row.
    matrix(int rows, int cols, const double* values);
    // The n x n identity; kind must begin with 'I'.
    matrix(std::string_view kind, int n);
    // Reads a matrix file (see write), and tells notes, if given, of its
    // value words that are not numbers and of the words after the last row.
    explicit matrix(const std::string& file_name, reading_notes* notes = nullptr);

    int nrows() const { return nrows_; }
    int ncols() const { return ncols_; }

    double& val(int i, int j);
    double val(int i, int j) const;

    std::string getrowlab(int i) const;
    std::string getcollab(int j) const;
    void setrowlab(int i, std::string_view text);
    void setcollab(int j, std::string_view text);
    // Labels prefix1, prefix2, ...
    void setrowlabs(std::string_view prefix);
    void setcollabs(std::string_view prefix);

    // Copy the first n row (rl) or column (cl) labels of this matrix from
    // (f) the first n row or column labels of source; n = -1 takes them all
    // and requires equal counts.
    void copyrlfrl(const matrix& source, int n);
    void copyrlfcl(const matrix& source, int n);
    void copyclfrl(const matrix& source, int n);
    void copyclfcl(const matrix& source, int n);

    friend matrix operator+(const matrix& a, const matrix& b);
    friend matrix operator+(const matrix& a, double x);
    friend matrix operator-(const matrix& a, const matrix& b);
    friend matrix operator-(const matrix& a, double x);
    friend matrix operator*(const matrix& a, const matrix& b);
    friend matrix operator*(const matrix& a, double x);
    matrix operator-() const;
    matrix transpose() const;

    // Row `to` of this matrix := row `from` of source, with its label.
    void copy_row(const matrix& source, int from, int to);
    // Column `to` of this matrix := column `from` of source, with its label.
    void copy_column(const matrix& source, int from, int to);
    void swap_rows(int r1, int r2);
    void swap_columns(int c1, int c2);
    // The column of the largest absolute value in row r, the first on ties;
    // 0 for a row of zeros.
    int maxabs_col(int r) const;

    // The matrix file: the row count and the column count, the column
    // labels, then per row its label and its values ("%.6g"), every item
    // followed by one blank, every line by CR LF.
    void write(const std::string& file_name) const;
    // The same for the first n columns only.
    void write_cols(const std::string& file_name, int n) const;

    // Linear algebra (linalg.cpp).  Errors end the run like every other
    // error of the class.
    //
    // The sum of the diagonal elements (i, i) over the rows.
    double trace() const;
    // n x 1: element j is 1 / the largest absolute value in column j.
    matrix scale() const;
    // Crout's LU decomposition, row by row with column exchanges and implicit
    // column scaling: returns W with W = L U for this matrix with its columns
    // exchanged, L the lower triangle of W with its diagonal, U unit upper
    // triangular above it.  index (n x 1) receives the column exchanged with
    // column i at step i, sign (-1)^exchanges.  A pivot of magnitude 1e-15 or
    // less is singular.
    matrix lu_decomp(matrix& index, int& sign) const;
    // Called on W from lu_decomp: replaces b (n x 1) by the solution x of
    // A' x = b for the matrix A that was decomposed (the transposed system,
    // since the decomposition exchanged columns).
    void back_subst(const matrix& index, matrix& b) const;
    // The inverse, labelled c1, c2, ... on the rows and r1, r2, ... on the
    // columns.
    matrix inverse() const;
    double determinant() const;

    // The eigen solver and factor patterns (jacobi.cpp).
    //
    // Cyclic Jacobi on this symmetric matrix, which it overwrites: returns the
    // eigenvectors (unit columns, default labels) and leaves eigenvalue j on
    // the diagonal at (j, j).  The choice of rotation angle moves the larger
    // diagonal value to the lower index, so on convergence the eigenvalues
    // stand in decreasing order.  At most 31 sweeps.
    matrix jacobi();
    // Scales column j of these eigenvectors to the loadings sqrt(|e_j|) v_j,
    // e_j = eigenvalues(0, j), for every column of eigenvalues.
    void to_loadings(matrix eigenvalues);
    // Sorts rows[lo..hi] (inclusive) by increasing value in column c.
    void sort_rows(std::vector<int>& rows, int lo, int hi, int c) const;
    // The rows grouped by the column of their largest absolute value (groups
    // in column order), each group in decreasing order of its column's
    // value; the row labels are those of sorted_row_label, the first row of
    // every group flagged.
    matrix sort_by_factor() const;

    [[noreturn]] static void error(std::string_view message, std::string_view argument);

private:
    // The steps of jacobi: one sweep over the pairs p < q, which returns
    // how many it skipped, and one rotation of a pair, which turns the rows
    // of the eigenvectors vt along.
    std::int64_t jacobi_sweep(matrix& vt);
    void jacobi_rotate(matrix& vt, int p, int q, double c, double s);

    // Dimensions and default labels; every element 0.0.
    void alloc(int rows, int cols);
    void check_index(int i, int j) const;
    double& at(int i, int j) { return elements_[static_cast<std::size_t>(i) * ncols_ + j]; }
    double at(int i, int j) const { return elements_[static_cast<std::size_t>(i) * ncols_ + j]; }
    template <typename F>
    matrix elementwise(F f) const;

    int nrows_ = 0;
    int ncols_ = 0;
    std::vector<double> elements_;
    std::vector<std::string> rowlab_;
    std::vector<std::string> collab_;
};

// The row label of a sorted pattern, and what it says.  A name that begins
// with an ASCII byte carries the group flag as bit 0x80 of that byte.  A
// name that begins with a byte of 0x80 or above has no room for it there:
// it stands behind a marker byte that tells whether the row starts a group
// (group_start_marker and group_member_marker, word_reader.h).
struct sorted_row {
    std::string name;
    bool starts_group;
};
std::string sorted_row_label(const sorted_row& row);
sorted_row read_sorted_row_label(std::string_view label);
