#include "factor/matrix.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/text_writer.h"
#include "factor/word_reader.h"

namespace {

std::string shortened(std::string_view text)
{
    return std::string(label_of(text));
}

std::string numbered(std::string_view prefix, int number)
{
    return shortened(std::string(prefix) + std::to_string(number));
}

// The label copy shared by copyrlfrl, copyrlfcl, copyclfrl and copyclfcl.
// `name` starts the messages; copyclfrl has a mismatch message of its own.
void copy_labels(std::vector<std::string>& target, const std::vector<std::string>& source, int n,
                 std::string_view name, std::string_view mismatch_name)
{
    const int target_count = static_cast<int>(target.size());
    const int source_count = static_cast<int>(source.size());
    if (n == -1) {
        n = target_count;
        if (source_count != n)
            matrix::error(std::string(mismatch_name) + ": n mismatch", "");
    }
    if (n > target_count)
        matrix::error(std::string(name) + ": n dest overrun", "");
    if (n > source_count)
        matrix::error(std::string(name) + ": n source overrun", "");
    for (int k = 0; k < n; ++k)
        target[k] = source[k];
}

// a op b computed in extended precision, rounded once to double.
inline double sum(extended a, double b) { return static_cast<double>(a + b); }
inline double difference(extended a, double b) { return static_cast<double>(a - b); }
inline double product(extended a, double b) { return static_cast<double>(a * b); }

}  // namespace

void matrix::error(std::string_view message, std::string_view argument)
{
    throw run_error("Matrix: " + upper_case(message) + ' ' + upper_case(argument) + '\n');
}

void matrix::alloc(int rows, int cols)
{
    if (rows < 0 || cols < 0)
        error("negative matrix dimensions", "");
    // Counts from a file can ask for more than any memory: that is a
    // failed allocation like any other, not a length error.
    const std::size_t count = static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols);
    if (count > elements_.max_size())
        throw std::bad_alloc();
    elements_.assign(count, 0.0);
    nrows_ = rows;
    ncols_ = cols;
    rowlab_.resize(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i)
        rowlab_[i] = numbered("r", i + 1);
    collab_.resize(static_cast<std::size_t>(cols));
    for (int j = 0; j < cols; ++j)
        collab_[j] = numbered("c", j + 1);
}

matrix::matrix(int rows, int cols, double value)
{
    alloc(rows, cols);
    std::fill(elements_.begin(), elements_.end(), value);
}

matrix::matrix(int rows, int cols, const double* values)
{
    alloc(rows, cols);
    std::copy(values, values + elements_.size(), elements_.begin());
}

matrix::matrix(std::string_view kind, int n)
{
    if (kind.empty() || kind[0] != 'I')
        error("error in call to identity matrix", "");
    alloc(n, n);
    for (int i = 0; i < n; ++i)
        at(i, i) = 1.0;
}

namespace {

// Room for the `wanted` items that a file's counts call for, up to a bound:
// a file's size vouches for its counts only as far as it holds data, and a
// sparse file holds none in its holes.  Room that is reserved and not used
// takes no memory, only addresses.  Beyond the bound, storage grows with
// the items actually read, never beyond what the counts call for.
template <typename T>
void reserve_for(std::vector<T>& items, std::size_t wanted)
{
    constexpr std::size_t reserved_bytes = std::size_t{32} << 20;
    items.reserve(std::min(wanted, reserved_bytes / sizeof(T)));
}

template <typename T>
void make_room(std::vector<T>& items, std::size_t more, std::size_t wanted)
{
    const std::size_t needed = items.size() + more;
    if (needed > items.capacity())
        items.reserve(std::min(std::max(needed, 2 * items.capacity()), wanted));
}

}  // namespace

matrix::matrix(const std::string& file_name, reading_notes* notes)
{
    word_reader in(file_name);
    if (!in.is_open())
        error("cannot open matrix file", file_name);
    auto fail = [&file_name] { error("error in matrix file", file_name); };

    int counts[2];
    for (int& count : counts) {
        if (!in.read_count(count) || count < 0)
            fail();
    }
    // The counts size nothing that the file cannot hold: a file too short
    // for them ends here, as it would when its words run out.
    if (!in.can_hold(counts[0], counts[1]))
        fail();
    nrows_ = counts[0];
    ncols_ = counts[1];
    const std::size_t rows = static_cast<std::size_t>(nrows_);
    const std::size_t cols = static_cast<std::size_t>(ncols_);
    reserve_for(collab_, cols);
    reserve_for(rowlab_, rows);
    reserve_for(elements_, rows * cols);

    std::string label;
    for (int j = 0; j < ncols_; ++j) {
        if (!in.read_label(label))
            fail();
        make_room(collab_, 1, cols);
        collab_.push_back(label);
    }
    for (int i = 0; i < nrows_; ++i) {
        if (!in.read_label(label))
            fail();
        make_room(rowlab_, 1, rows);
        rowlab_.push_back(label);
        make_room(elements_, cols, rows * cols);
        elements_.resize(elements_.size() + cols);
        double* element = elements_.data() + i * cols;
        for (std::size_t j = 0; j < cols; ++j) {
            value_conversion value;
            if (!in.read_value(value) || !value.in_range)
                fail();
            if (notes && !value.is_number)
                notes->non_number(i, static_cast<int>(j), label, in.last_word());
            element[j] = value.value;
        }
    }
    if (notes)
        notes->words_left = in.count_words_left();
}

void matrix::check_index(int i, int j) const
{
    if (i < 0 || i >= nrows_ || j < 0 || j >= ncols_)
        error("call to val with index out of range", "");
}

double& matrix::val(int i, int j)
{
    check_index(i, j);
    return at(i, j);
}

double matrix::val(int i, int j) const
{
    check_index(i, j);
    return at(i, j);
}

std::string matrix::getrowlab(int i) const
{
    if (i < 0 || i >= nrows_)
        error("call to getrowlab with illegal index", "");
    return rowlab_[i];
}

std::string matrix::getcollab(int j) const
{
    if (j < 0 || j >= ncols_)
        error("call to getcollab with illegal index", "");
    return collab_[j];
}

void matrix::setrowlab(int i, std::string_view text)
{
    if (i < 0 || i >= nrows_)
        error("call to setrowlab with illegal index", "");
    rowlab_[i] = shortened(text);
}

void matrix::setcollab(int j, std::string_view text)
{
    if (j < 0 || j >= ncols_)
        error("call to setcollab with illegal index", "");
    collab_[j] = shortened(text);
}

void matrix::setrowlabs(std::string_view prefix)
{
    for (int i = 0; i < nrows_; ++i)
        rowlab_[i] = numbered(prefix, i + 1);
}

void matrix::setcollabs(std::string_view prefix)
{
    for (int j = 0; j < ncols_; ++j)
        collab_[j] = numbered(prefix, j + 1);
}

void matrix::copyrlfrl(const matrix& source, int n)
{
    copy_labels(rowlab_, source.rowlab_, n, "copyrlfrl", "copyrlfrl");
}

void matrix::copyrlfcl(const matrix& source, int n)
{
    copy_labels(rowlab_, source.collab_, n, "copyrlfcl", "copyrlfcl");
}

void matrix::copyclfrl(const matrix& source, int n)
{
    copy_labels(collab_, source.rowlab_, n, "copyclfrl", "copyclrrl");
}

void matrix::copyclfcl(const matrix& source, int n)
{
    copy_labels(collab_, source.collab_, n, "copyclfcl", "copyclfcl");
}

template <typename F>
matrix matrix::elementwise(F f) const
{
    matrix result = *this;
    for (double& x : result.elements_)
        x = f(x);
    return result;
}

matrix operator+(const matrix& a, const matrix& b)
{
    if (a.nrows_ != b.nrows_ || a.ncols_ != b.ncols_)
        matrix::error("must have equal dimensions for addition", "");
    matrix result = a;
    for (std::size_t k = 0; k < result.elements_.size(); ++k)
        result.elements_[k] = sum(a.elements_[k], b.elements_[k]);
    return result;
}

matrix operator-(const matrix& a, const matrix& b)
{
    if (a.nrows_ != b.nrows_ || a.ncols_ != b.ncols_)
        matrix::error("must have equal dimensions for subtraction", "");
    matrix result = a;
    for (std::size_t k = 0; k < result.elements_.size(); ++k)
        result.elements_[k] = difference(a.elements_[k], b.elements_[k]);
    return result;
}

matrix operator+(const matrix& a, double x)
{
    return a.elementwise([x](double v) { return sum(v, x); });
}

matrix operator-(const matrix& a, double x)
{
    return a.elementwise([x](double v) { return difference(v, x); });
}

matrix operator*(const matrix& a, double x)
{
    return a.elementwise([x](double v) { return product(v, x); });
}

matrix matrix::operator-() const
{
    return elementwise([](double v) { return -v; });
}

matrix operator*(const matrix& a, const matrix& b)
{
    if (a.ncols_ != b.nrows_)
        matrix::error("matrices not conformable for multiplication", "");
    matrix result(a.nrows_, b.ncols_, 0.0);
    result.copyrlfrl(a, -1);
    result.copyclfcl(b, -1);
    for (int i = 0; i < a.nrows_; ++i) {
        for (int j = 0; j < b.ncols_; ++j) {
            double s = 0.0;
            for (int k = 0; k < a.ncols_; ++k)
                s = sum(static_cast<extended>(a.at(i, k)) * b.at(k, j), s);
            result.at(i, j) = s;
        }
    }
    return result;
}

matrix matrix::transpose() const
{
    matrix result(ncols_, nrows_, 0.0);
    result.copyrlfcl(*this, -1);
    result.copyclfrl(*this, -1);
    for (int i = 0; i < nrows_; ++i) {
        for (int j = 0; j < ncols_; ++j)
            result.at(j, i) = at(i, j);
    }
    return result;
}

void matrix::copy_row(const matrix& source, int from, int to)
{
    if (ncols_ != source.ncols_)
        error("number of cols must be equal for copy_row()", "");
    for (int j = 0; j < ncols_; ++j)
        val(to, j) = source.val(from, j);
    setrowlab(to, source.getrowlab(from));
}

void matrix::copy_column(const matrix& source, int from, int to)
{
    if (nrows_ != source.nrows_)
        error("number of rows must be equal for copy_column()", "");
    for (int i = 0; i < nrows_; ++i)
        val(i, to) = source.val(i, from);
    setcollab(to, source.getcollab(from));
}

void matrix::swap_rows(int r1, int r2)
{
    std::string label1 = getrowlab(r1);
    std::string label2 = getrowlab(r2);
    for (int j = 0; j < ncols_; ++j)
        std::swap(at(r1, j), at(r2, j));
    rowlab_[r1] = std::move(label2);
    rowlab_[r2] = std::move(label1);
}

void matrix::swap_columns(int c1, int c2)
{
    std::string label1 = getcollab(c1);
    std::string label2 = getcollab(c2);
    for (int i = 0; i < nrows_; ++i)
        std::swap(at(i, c1), at(i, c2));
    collab_[c1] = std::move(label2);
    collab_[c2] = std::move(label1);
}

int matrix::maxabs_col(int r) const
{
    if (r < 0 || r >= nrows_)
        error("call to val with index out of range", "");
    double best = 0.0;
    int index = 0;
    for (int j = 0; j < ncols_; ++j) {
        if (std::fabs(at(r, j)) > std::fabs(best)) {
            best = at(r, j);
            index = j;
        }
    }
    return index;
}

std::string sorted_row_label(const sorted_row& row)
{
    std::string label = row.name;
    if (!label.empty() && static_cast<unsigned char>(label[0]) >= group_flag) {
        const unsigned char marker = row.starts_group ? group_start_marker : group_member_marker;
        label.insert(label.begin(), static_cast<char>(marker));
    } else if (row.starts_group) {
        if (label.empty())
            label.push_back('\0');
        label[0] = static_cast<char>(static_cast<unsigned char>(label[0]) | group_flag);
    }
    return label;
}

sorted_row read_sorted_row_label(std::string_view label)
{
    if (has_group_marker(label)) {
        const bool starts_group = static_cast<unsigned char>(label[0]) == group_start_marker;
        return {std::string(label.substr(1)), starts_group};
    }
    std::string name(label);
    const bool flagged = !name.empty() && (static_cast<unsigned char>(name[0]) & group_flag) != 0;
    if (flagged)
        name[0] = static_cast<char>(static_cast<unsigned char>(name[0]) & ~group_flag);
    return {name, flagged};
}

void matrix::write(const std::string& file_name) const
{
    write_cols(file_name, ncols_);
}

void matrix::write_cols(const std::string& file_name, int n) const
{
    if (n < 0 || n > ncols_)
        error("write_cols: n out of range", file_name);
    text_writer out(file_name);
    if (!out.is_open())
        error("cannot open output matrix file", file_name);

    out.write_count(nrows_);
    out.write(' ');
    out.write_count(n);
    out.write(' ');
    out.line_end();
    for (int j = 0; j < n; ++j) {
        out.write(collab_[j]);
        out.write(' ');
    }
    out.line_end();
    for (int i = 0; i < nrows_ && out.good(); ++i) {
        out.write(rowlab_[i]);
        out.write(' ');
        for (int j = 0; j < n; ++j) {
            out.write_value(at(i, j));
            out.write(' ');
        }
        out.line_end();
    }
    if (!out.close())
        error("error writing matrix file", file_name);
}
