#include "factor/correlation.h"

#include <cmath>
#include <cstddef>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/stages.h"
#include "factor/word_reader.h"

namespace {

// products(i, j) += x_i x_j for j >= i, each sum rounded to double.  Two
// rows at a time, so that each x_j is loaded once for both: this loop is
// most of the time of the pass.
void accumulate_products(const double* x, double* products, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 1 < n; i += 2) {
        const extended xa = x[i];
        const extended xb = x[i + 1];
        double* row_a = products + i * n;
        double* row_b = row_a + n;
        row_a[i] = static_cast<double>(xa * x[i] + row_a[i]);
        for (std::size_t j = i + 1; j < n; ++j) {
            const extended xj = x[j];
            row_a[j] = static_cast<double>(xa * xj + row_a[j]);
            row_b[j] = static_cast<double>(xb * xj + row_b[j]);
        }
    }
    if (i < n)
        products[i * n + i] = static_cast<double>(extended{x[i]} * x[i] + products[i * n + i]);
}

// The end of the run for a raw data file whose words run out or do not
// read as numbers.
[[noreturn]] void error_in_file(const std::string& file_name)
{
    fatal_error("Correlation: error in raw data file", file_name);
}

struct data_counts {
    int subjects;
    int p;  // variables
};

// The counts of the raw data file's header, checked and noted in the log.
// A header that promises more than the file can hold fails before the
// p x p storage is allocated.
data_counts read_counts(word_reader& in, const std::string& file_name)
{
    int subjects = 0;
    int p = 0;
    if (!in.read_count(subjects) || !in.read_count(p))
        fatal_error("Correlation: error raw data file", file_name);
    if (subjects < 2)
        fatal_error("Correlation: too few subjects", "");
    if (p < 2)
        fatal_error("Correlation: too few variables", "");
    std::cout << "Note: The raw data file has " << subjects << " subjects and " << p
              << " variables.\n";
    if (!in.can_hold(subjects, p))
        error_in_file(file_name);
    return {subjects, p};
}

// The correlation matrix to be: p x p zeros labelled with the names of the
// variables, read after the counts.  A file that ends among the names (where
// its size is not known) fails before the matrix is allocated.
matrix read_names(word_reader& in, const std::string& file_name, int p)
{
    std::vector<std::string> names;
    for (int j = 0; j < p; ++j) {
        std::string name;
        if (!in.read_label(name))
            error_in_file(file_name);
        names.push_back(std::move(name));
    }
    matrix cor(p, p, 0.0);
    for (int j = 0; j < p; ++j) {
        cor.setrowlab(j, names[j]);
        cor.setcollab(j, names[j]);
    }
    return cor;
}

// The sums of the n variables and the upper triangle of their cross
// products (n x n, row by row) over the subjects, each addition rounded to
// double; and whether each variable takes more than one value, which
// rounding can hide from its sums (22 values of 6.6 give a standard
// deviation of 1e-7).
struct data_sums {
    std::vector<double> sums;
    std::vector<double> products;
    std::vector<char> spread;
};

// Tells notes, if any, of the value word just read, which is not a number:
// variable j of subject s.  Out of line, since the loop that calls it is
// the hot loop of the pass.
[[gnu::noinline]] void note_non_number(reading_notes* notes, int s, std::size_t j,
                                       const std::string& label, const word_reader& in)
{
    if (notes)
        notes->non_number(s, static_cast<int>(j), label, in.last_word());
}

// The one pass over the subjects: each one's label and values.  Notes,
// when given, are told of the value words that are not numbers and of the
// words after the last subject.
data_sums sum_subjects(word_reader& in, const std::string& file_name, int subjects, std::size_t n,
                       reading_notes* notes)
{
    std::vector<double> x(n);
    std::vector<double> first(n);  // the values of the first subject
    data_sums totals{std::vector<double>(n, 0.0), std::vector<double>(n * n, 0.0),
                     std::vector<char>(n, 0)};
    std::string label;
    for (int s = 0; s < subjects; ++s) {
        if (!in.read_label(label))
            error_in_file(file_name);
        for (double& value : x) {
            value_conversion v;
            const bool got = in.read_value(v);
            // One test for the usual word, a number in range.
            if (!(got && v.in_range && v.is_number)) [[unlikely]] {
                if (!got || !v.in_range)
                    error_in_file(file_name);
                note_non_number(notes, s, static_cast<std::size_t>(&value - x.data()), label, in);
            }
            value = v.value;
        }
        if (s == 0)
            first = x;
        for (std::size_t i = 0; i < n; ++i) {
            totals.sums[i] = static_cast<double>(extended{totals.sums[i]} + x[i]);
            totals.spread[i] |= x[i] != first[i];
        }
        accumulate_products(x.data(), totals.products.data(), n);
    }
    if (notes)
        notes->words_left = in.count_words_left();
    return totals;
}

// The means and the standard deviations (divisor N) of the variables.
struct data_moments {
    std::vector<double> mean;
    std::vector<double> sd;
};

data_moments moments(const data_sums& totals, int subjects)
{
    const std::size_t n = totals.sums.size();
    data_moments m{std::vector<double>(n), std::vector<double>(n)};
    for (std::size_t i = 0; i < n; ++i) {
        m.mean[i] = static_cast<double>(extended{totals.sums[i]} / subjects);
        m.sd[i] = static_cast<double>(std::sqrt(extended{totals.products[i * n + i]} / subjects
                                                - extended{m.mean[i]} * m.mean[i]));
    }
    return m;
}

// Ends the run at the first variable, in their order, that cannot be
// correlated; the labels of cor name it.
void check_variances(const data_sums& totals, const data_moments& m, const matrix& cor)
{
    const std::size_t n = totals.sums.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int variable = static_cast<int>(i);
        // Overflowing cross products would turn the correlations into
        // infinities and NaNs.
        if (std::isinf(totals.products[i * n + i]))
            fatal_error("Correlation: values too large, variable ", cor.getcollab(variable));
        // A variance that rounding left negative has a NaN root.
        if (!totals.spread[i] || m.sd[i] == 0.0 || std::isnan(m.sd[i]))
            fatal_error("Correlation: a variable has a variance of 0, variable ",
                        cor.getcollab(variable));
    }
}

// Both triangles of cor from the cross products, and 1 on its diagonal.
void fill_correlations(matrix& cor, const data_sums& totals, const data_moments& m, int subjects)
{
    const std::vector<double>& products = totals.products;
    const std::vector<double>& mean = m.mean;
    const std::vector<double>& sd = m.sd;
    const std::size_t n = mean.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i; j < n; ++j) {
            const double r = static_cast<double>(
                (extended{products[i * n + j]} / subjects - extended{mean[i]} * mean[j])
                / (extended{sd[i]} * sd[j]));
            cor.val(static_cast<int>(j), static_cast<int>(i)) = r;
            cor.val(static_cast<int>(i), static_cast<int>(j)) = r;
        }
        cor.val(static_cast<int>(i), static_cast<int>(i)) = 1.0;
    }
}

// A row of one value per variable, labelled like the columns of cor.
matrix variable_row(const matrix& cor, const std::vector<double>& values)
{
    matrix row(1, cor.ncols(), 0.0);
    row.copyclfcl(cor, -1);
    for (int i = 0; i < cor.ncols(); ++i)
        row.val(0, i) = values[static_cast<std::size_t>(i)];
    return row;
}

}  // namespace

void correlate()
{
    const std::string file_name = raw_data_file();
    word_reader in(file_name);
    if (!in.is_open())
        fatal_error("Correlation: cannot open raw data file", file_name);

    const data_counts counts = read_counts(in, file_name);
    matrix cor = read_names(in, file_name, counts.p);
    // A Q-type run reads here the data it transposed, after the data as
    // given: what those hold was told then.
    reading_notes notes;
    const bool data_as_given = !analysis_parameters.q_type;
    const data_sums totals =
        sum_subjects(in, file_name, counts.subjects, static_cast<std::size_t>(counts.p),
                     data_as_given ? &notes : nullptr);
    if (data_as_given)
        warn_about_raw_data(notes, file_name, cor, counts.subjects);
    const data_moments m = moments(totals, counts.subjects);
    check_variances(totals, m, cor);
    fill_correlations(cor, totals, m, counts.subjects);

    cor.write(stem_file(".cor"));
    variable_row(cor, m.mean).write(stem_file(".mns"));
    variable_row(cor, m.sd).write(stem_file(".sig"));
}

void image_covariance()
{
    const matrix r(stem_file(".cor"));
    const matrix ri = r.inverse();
    const int p = r.nrows();
    // The anti-image variances.
    matrix s2(p, p, 0.0);
    for (int i = 0; i < p; ++i)
        s2.val(i, i) = static_cast<double>(1.0L / ri.val(i, i));

    const matrix g = r + (s2 * ri) * s2 - s2 * 2.0;
    g.write(stem_file(".cov"));

    matrix m = matrix("I", p) - ri * s2;
    m.copyrlfrl(r, -1);
    m.write(stem_file(".mod"));
}

void correlation_step()
{
    correlate();
    std::cout << "Correlation matrix created.\n";
    if (analysis_parameters.analysis_type == 'I') {
        image_covariance();
        std::cout << "Image covariance matrix created.\n";
    }
}
