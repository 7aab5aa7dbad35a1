// The eigen solver of the matrix class and the operations that turn its
// eigenvectors into factor patterns: loadings and the sorted pattern.
//
// Every formula is evaluated in extended precision and rounded to double
// where its result is stored.  The two skip tests of the solver compare
// extended-precision sums that are not rounded: in double they would skip
// pairs far earlier and change the sweeps.
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "factor/extended.h"
#include "factor/matrix.h"

namespace {

constexpr int max_sweep_number = 30;  // sweeps 1 to 31 are made

// x := c x + s y, y := c y - s x, each rounded once.
inline void rotate(double& x, double& y, double c, double s)
{
    const double t = x;
    x = static_cast<double>(extended{c} * t + extended{s} * y);
    y = static_cast<double>(extended{-s} * t + extended{c} * y);
}

// The cosine and the sine of the rotation of one pair, or none.
struct pair_rotation {
    double c;
    double s;
    bool skip;
};

// The off-diagonal mean a is negligible beside both diagonal values, as
// far as an unrounded extended sum can tell.
bool negligible(double a, double app, double aqq)
{
    const extended off = 100.0L * std::fabs(extended{a});
    return off + std::fabs(extended{app}) == std::fabs(extended{app})
           && off + std::fabs(extended{aqq}) == std::fabs(extended{aqq});
}

// The rotation of the pair p < q from the diagonal values app and aqq and
// the two off-diagonal ones apq and aqp.  The pair is skipped when there is
// nothing to rotate, when the off-diagonal value is negligible, and when
// the sine is too small to change anything; also when d is not a number,
// which leaves a null rotation.
pair_rotation rotation_of(double app, double aqq, double apq, double aqp)
{
    const double a = static_cast<double>((extended{apq} + aqp) * 0.5L);
    const double d = static_cast<double>(extended{app} - aqq);
    const double b = static_cast<double>(std::sqrt((4.0L * a) * a + extended{d} * d));
    constexpr pair_rotation none{1.0, 0.0, true};
    if (b == 0.0)
        return none;
    double c = 1.0;
    double s = 0.0;
    if (d >= 0.0) {
        if (negligible(a, app, aqq))
            return none;
        c = static_cast<double>(std::sqrt((extended{b} + d) / (2.0L * b)));
        s = static_cast<double>(extended{a} / (extended{b} * c));
    } else if (d < 0.0) {
        s = static_cast<double>(std::sqrt((extended{b} - d) / (2.0L * b)));
        if (a < 0.0)
            s = -s;
        c = static_cast<double>(extended{a} / (extended{b} * s));
    }
    if (std::fabs(extended{s}) + 1.0L == 1.0L)
        return none;
    return {c, s, false};
}

}  // namespace

matrix matrix::jacobi()
{
    const int n = nrows_;
    // The eigenvectors are kept as rows while the solver works, so that
    // each rotation runs over contiguous storage; row j is column j of V.
    matrix vt("I", n);
    const std::int64_t pairs = std::int64_t{n} * (n - 1) / 2;
    int sweeps = 0;
    std::int64_t skipped = 0;
    while (sweeps <= max_sweep_number && skipped < pairs) {
        ++sweeps;
        skipped = jacobi_sweep(vt);
    }
    // V keeps the identity's default labels.
    matrix v(n, n, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            v.at(i, j) = vt.at(j, i);
    return v;
}

std::int64_t matrix::jacobi_sweep(matrix& vt)
{
    const int n = nrows_;
    std::int64_t skipped = 0;
    for (int p = 0; p < n - 1; ++p) {
        for (int q = p + 1; q < n; ++q) {
            const pair_rotation r = rotation_of(at(p, p), at(q, q), at(p, q), at(q, p));
            if (r.skip)
                ++skipped;
            else
                jacobi_rotate(vt, p, q, r.c, r.s);
        }
    }
    return skipped;
}

void matrix::jacobi_rotate(matrix& vt, int p, int q, double c, double s)
{
    const int n = nrows_;
    double* row_p = &at(p, 0);
    double* row_q = &at(q, 0);
    for (int k = 0; k < n; ++k)
        rotate(row_p[k], row_q[k], c, s);
    double* vec_p = &vt.at(p, 0);
    double* vec_q = &vt.at(q, 0);
    for (int k = 0; k < n; ++k) {
        rotate(at(k, p), at(k, q), c, s);
        rotate(vec_p[k], vec_q[k], c, s);
    }
}

void matrix::to_loadings(matrix eigenvalues)
{
    for (int j = 0; j < eigenvalues.ncols_; ++j) {
        double ss = 0.0;
        for (int i = 0; i < nrows_; ++i)
            ss = static_cast<double>(extended{val(i, j)} * val(i, j) + ss);
        const double r = static_cast<double>(std::fabs(extended{eigenvalues.val(0, j)}) / ss);
        for (int i = 0; i < nrows_; ++i) {
            double& v = val(i, j);
            const double loading = static_cast<double>(std::sqrt(extended{v} * v * r));
            v = v < 0.0 ? -loading : loading;
        }
    }
}

void matrix::sort_rows(std::vector<int>& rows, int lo, int hi, int c) const
{
    // Hoare's partition around the middle element.
    const double x = val(rows[(lo + hi) / 2], c);
    int i = lo;
    int j = hi;
    while (i <= j) {
        while (val(rows[i], c) < x && i < hi)
            ++i;
        while (x < val(rows[j], c) && j > lo)
            --j;
        if (i <= j) {
            std::swap(rows[i], rows[j]);
            ++i;
            --j;
        }
    }
    if (lo < j)
        sort_rows(rows, lo, j, c);
    if (i < hi)
        sort_rows(rows, i, hi, c);
}

matrix matrix::sort_by_factor() const
{
    matrix sorted(nrows_, ncols_, 0.0);
    sorted.copyclfcl(*this, -1);
    std::vector<int> group(static_cast<std::size_t>(nrows_));
    for (int i = 0; i < nrows_; ++i)
        group[i] = maxabs_col(i);

    std::vector<int> rows;
    int out = 0;
    for (int c = 0; c < ncols_; ++c) {
        rows.clear();
        for (int i = 0; i < nrows_; ++i) {
            if (group[i] == c)
                rows.push_back(i);
        }
        if (rows.empty())
            continue;
        const int last = static_cast<int>(rows.size()) - 1;
        sort_rows(rows, 0, last, c);
        // Largest value first; the group flag on the group's first row.
        for (int k = last; k >= 0; --k) {
            sorted.copy_row(*this, rows[k], out);
            sorted.setrowlab(out, sorted_row_label({getrowlab(rows[k]), k == last}));
            ++out;
        }
    }
    return sorted;
}
