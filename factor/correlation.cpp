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

}  // namespace

void correlate()
{
    const std::string file_name = stem_file(".dat");
    word_reader in(file_name);
    if (!in.is_open())
        fatal_error("Correlation: cannot open raw data file", file_name);

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

    auto error_in_file = [&file_name] {
        fatal_error("Correlation: error in raw data file", file_name);
    };
    // A header that promises more than the file can hold fails before the
    // p x p storage is allocated; so does one whose file ends among the
    // names (where the size of the file is not known).
    if (!in.can_hold(subjects, p))
        error_in_file();
    std::vector<std::string> names;
    for (int j = 0; j < p; ++j) {
        std::string name;
        if (!in.read_label(name))
            error_in_file();
        names.push_back(std::move(name));
    }
    matrix cor(p, p, 0.0);
    for (int j = 0; j < p; ++j) {
        cor.setrowlab(j, names[j]);
        cor.setcollab(j, names[j]);
    }

    // Sums and the upper triangle of the cross products, each addition
    // rounded to double.
    const std::size_t n = static_cast<std::size_t>(p);
    std::vector<double> x(n);
    std::vector<double> sums(n, 0.0);
    std::vector<double> products(n * n, 0.0);
    std::string_view word;
    for (int s = 0; s < subjects; ++s) {
        if (!in.read_word(word))  // the subject's label
            error_in_file();
        for (double& value : x) {
            value_conversion v;
            if (!in.read_value(v) || !v.in_range)
                error_in_file();
            value = v.value;
        }
        for (std::size_t i = 0; i < n; ++i)
            sums[i] = static_cast<double>(extended{sums[i]} + x[i]);
        accumulate_products(x.data(), products.data(), n);
    }

    matrix means(1, p, 0.0);
    matrix deviations(1, p, 0.0);
    means.copyclfcl(cor, -1);
    deviations.copyclfcl(cor, -1);
    std::vector<double> mean(n);
    std::vector<double> sd(n);
    for (std::size_t i = 0; i < n; ++i) {
        mean[i] = static_cast<double>(extended{sums[i]} / subjects);
        sd[i] = static_cast<double>(
            std::sqrt(extended{products[i * n + i]} / subjects - extended{mean[i]} * mean[i]));
    }
    for (int i = 0; i < p; ++i) {
        // Overflowing cross products would turn the correlations into
        // infinities and NaNs.
        if (std::isinf(products[i * n + i]))
            fatal_error("Correlation: values too large, variable ", cor.getcollab(i));
        // A variance that rounding left negative has a NaN root.
        if (sd[i] == 0.0 || std::isnan(sd[i]))
            fatal_error("Correlation: a variable has a variance of 0, variable ", cor.getcollab(i));
        means.val(0, i) = mean[i];
        deviations.val(0, i) = sd[i];
    }
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

    cor.write(stem_file(".cor"));
    means.write(stem_file(".mns"));
    deviations.write(stem_file(".sig"));
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
