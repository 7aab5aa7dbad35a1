#include "factor/extraction.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>
#include <utility>

#include "factor/errors.h"
#include "factor/extended.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/scree.h"
#include "factor/stages.h"

namespace {

// The iteration of the communalities stops once no communality changes by
// more than this.
constexpr double convergence = 0.00001;

struct solution {
    matrix loadings;     // p x p, rows labelled like s, columns Factor1, ...
    matrix eigenvalues;  // 1 x p, decreasing, columns Factor1, ...
};

// Eigenvalues and loadings of the symmetric matrix s, which the solver
// overwrites.
solution solve(matrix& s)
{
    matrix v = s.jacobi();
    v.setcollabs("Factor");
    v.copyrlfrl(s, -1);
    matrix e(1, v.ncols(), 0.0);
    e.copyclfcl(v, -1);
    for (int i = 0; i < e.ncols(); ++i)
        e.val(0, i) = s.val(i, i);
    v.to_loadings(e);
    return {std::move(v), std::move(e)};
}

// The sum of the squared loadings of variable i on the first n factors.
double communality(const matrix& loadings, int i, int n)
{
    double h = 0.0;
    for (int j = 0; j < n; ++j)
        h = static_cast<double>(extended{loadings.val(i, j)} * loadings.val(i, j) + h);
    return h;
}

// A communality above 1.0 ends the run, or with -H is reset to 1.0 with a
// warning.
void check_heywood(matrix& h, int i)
{
    if (!(h.val(0, i) > 1.0))
        return;
    if (!analysis_parameters.allow_heywood)
        fatal_error("Extract: Communality > 1.0, variable", h.getcollab(i));
    std::cout.precision(4);
    std::cout << "Warning, communality > 1.0, variable " << h.getcollab(i) << ", " << h.val(0, i)
              << ", reset to 1.0" << std::endl;
    h.val(0, i) = 1.0;
}

// The files and the log lines common to every extraction, for the
// max_factors factors kept of the solution; trace is the total that the
// percentages refer to, and the percentage of the note is printed with
// `precision` significant digits.
void write_solution(const solution& sol, double trace, int precision)
{
    const int n = analysis_parameters.max_factors;
    const int p = sol.eigenvalues.ncols();
    matrix e = sol.eigenvalues;

    sol.loadings.write_cols(stem_file(".uev"), n);
    // The sorted pattern is made from the loadings as stored.
    const matrix sorted = matrix(stem_file(".uev")).sort_by_factor();
    sorted.write_cols(stem_file(".uvs"), n);
    e.write_cols(stem_file(".uel"), n);

    if (trace == 0.0)
        fatal_error("Extract: trace is zero, no percentages of it", "");
    matrix percent = e;
    for (int j = 0; j < p; ++j)
        percent.val(0, j) = static_cast<double>(extended{e.val(0, j)} / trace * 100.0L);
    percent.write_cols(stem_file(".uet"), n);

    // The scree plot file ".plt" comes between ".uet" and ".cev".
    scree_plot(e, p);

    matrix table(4, p, 0.0);
    table.setrowlab(0, "Eigenvalue");
    table.setrowlab(1, "Difference");
    table.setrowlab(2, "%Trace");
    table.setrowlab(3, "Cumulative");
    table.copyclfcl(e, p);
    double cumulative = 0.0;
    for (int j = 0; j < p; ++j) {
        table.val(0, j) = e.val(0, j);
        table.val(1, j) =
            j + 1 < p ? static_cast<double>(extended{e.val(0, j)} - e.val(0, j + 1)) : 0.0;
        table.val(2, j) = percent.val(0, j);
        cumulative = static_cast<double>(extended{cumulative} + percent.val(0, j));
        table.val(3, j) = cumulative;
    }
    table.write(stem_file(".cev"));

    std::cout << "Factor extraction complete." << std::endl;
    std::cout << "Note: Trace = " << trace << " with ";
    std::cout.precision(precision);
    std::cout << table.val(3, n - 1) << "% of the total trace extracted by " << n
              << (n == 1 ? " factor." : " factors.") << std::endl;
}

// The prior communality estimates (1 x p, labelled like the variables):
// the diagonal of the correlation matrix r, or of its copy with the priors
// that -EC and -ES ask for.
matrix prior_communalities(const matrix& r)
{
    matrix s = r;
    if (analysis_parameters.prior_estimate == 'C')
        prior_max_correlation(s);
    else if (analysis_parameters.prior_estimate == 'S')
        prior_smc(s);
    matrix h(1, r.nrows(), 0.0);
    h.copyclfrl(r, -1);
    for (int i = 0; i < r.nrows(); ++i)
        h.val(0, i) = s.val(i, i);
    return h;
}

// The solution of the correlation matrix r with the communalities h on its
// diagonal.
solution solve_with_communalities(const matrix& r, const matrix& h)
{
    matrix s = r;
    for (int i = 0; i < r.nrows(); ++i)
        s.val(i, i) = h.val(0, i);
    return solve(s);
}

// The communalities h of the first n factors of the loadings, each checked
// in turn; returns the largest change of one.
double update_communalities(matrix& h, const matrix& loadings, int n)
{
    double change = 0.0;
    for (int i = 0; i < h.ncols(); ++i) {
        const double updated = communality(loadings, i, n);
        const double difference =
            static_cast<double>(std::fabs(extended{updated} - h.val(0, i)));
        if (difference > change)
            change = difference;
        h.val(0, i) = updated;
        check_heywood(h, i);
    }
    return change;
}

// Solves again with the communalities of the last solution until none
// changes by more than the convergence limit, or the iteration limit is
// reached; returns the iterations made.  The number of factors can only
// fall: each solution examines at most as many eigenvalues as the one
// before kept.
int iterate_communalities(const matrix& r, matrix& h, solution& sol)
{
    analysis_parameters_record& params = analysis_parameters;
    int count = 0;
    double change = 1.0;
    while (count < params.max_iterations && change > convergence) {
        sol = solve_with_communalities(r, h);
        params.max_factors =
            number_of_factors(sol.eigenvalues, params.max_factors, params.min_eigenvalue);
        change = update_communalities(h, sol.loadings, params.max_factors);
        ++count;
    }
    return count;
}

// The sum of a row's entries (1 x p), each addition rounded to double.
double sum_of_row(const matrix& row)
{
    double sum = 0.0;
    for (int i = 0; i < row.ncols(); ++i)
        sum = static_cast<double>(extended{sum} + row.val(0, i));
    return sum;
}

}  // namespace

int number_of_factors(const matrix& eigenvalues, int limit, double min_eigenvalue)
{
    const int examined = std::min(limit, eigenvalues.ncols());
    int kept = 0;
    while (kept < examined) {
        const double e = eigenvalues.val(0, kept);
        if (std::isnan(e) || e < min_eigenvalue)
            break;
        ++kept;
    }
    if (kept < 1)
        fatal_error("Extract: no factors", "");
    return kept;
}

void prior_max_correlation(matrix& s)
{
    for (int i = 0; i < s.nrows(); ++i) {
        double largest = 0.0;
        for (int j = 0; j < s.ncols(); ++j) {
            if (j != i && std::fabs(s.val(i, j)) > largest)
                largest = std::fabs(s.val(i, j));
        }
        s.val(i, i) = largest;
    }
}

void prior_smc(matrix& s)
{
    const matrix inverse = s.inverse();
    for (int i = 0; i < s.nrows(); ++i)
        s.val(i, i) = static_cast<double>(1.0L - 1.0L / inverse.val(i, i));
}

void write_stem_file(const matrix& m, const std::string& extension)
{
    m.write(stem_file(extension));
}

void extract_components()
{
    analysis_parameters_record& params = analysis_parameters;
    matrix r(stem_file(params.analysis_type == 'P' ? ".cor" : ".cov"));
    const double trace = r.trace();
    solution sol = solve(r);
    if (params.max_factors == -1)
        params.max_factors = r.nrows();
    params.max_factors =
        number_of_factors(sol.eigenvalues, params.max_factors, params.min_eigenvalue);
    write_solution(sol, trace, 2);
}

void extract_factors()
{
    analysis_parameters_record& params = analysis_parameters;
    const matrix r(stem_file(".cor"));
    matrix h = prior_communalities(r);
    write_stem_file(h, ".ice");

    solution sol = solve_with_communalities(r, h);
    write_stem_file(sol.eigenvalues, ".iev");
    if (params.max_factors == -1)
        params.max_factors = r.nrows();
    params.max_factors =
        number_of_factors(sol.eigenvalues, params.max_factors, params.min_eigenvalue);
    update_communalities(h, sol.loadings, params.max_factors);

    const int count = iterate_communalities(r, h, sol);
    write_stem_file(h, ".fce");
    if (count == params.max_iterations)
        std::cout << "Iterative communality estimation did not converge at " << count
                  << " iterations" << std::endl;
    else
        std::cout << "Iterative communality estimation converged after " << count
                  << " iterations." << std::endl;

    write_solution(sol, sum_of_row(h), 3);
}
