// The linear algebra of the matrix class: trace, Crout's LU decomposition
// with column exchanges, the substitution that solves with it, the inverse
// and the determinant.
//
// Every intermediate value is computed in extended precision and rounded to
// double where it is stored, a running sum after every step.
#include <cmath>
#include <utility>

#include "factor/extended.h"
#include "factor/matrix.h"

namespace {

// A pivot of this magnitude or less makes the matrix singular.
constexpr double singular_pivot = 1e-15;

}  // namespace

double matrix::trace() const
{
    double sum = 0.0;
    for (int i = 0; i < nrows_; ++i)
        sum = static_cast<double>(extended{sum} + val(i, i));
    return sum;
}

matrix matrix::scale() const
{
    if (nrows_ <= 0 || ncols_ <= 0)
        error("bad matrix size for scale()", "");
    if (nrows_ != ncols_)
        error("matrix must be square for scale()", "");
    matrix s(nrows_, 1, 0.0);
    for (int j = 0; j < ncols_; ++j) {
        double big = 0.0;
        for (int i = 0; i < nrows_; ++i) {
            if (std::fabs(at(i, j)) > big)
                big = std::fabs(at(i, j));
        }
        if (big == 0.0)
            error("singular matrix in scale", "");
        s.at(j, 0) = 1.0 / big;
    }
    return s;
}

matrix matrix::lu_decomp(matrix& index, int& sign) const
{
    if (nrows_ != ncols_)
        error("matrix must be square to LU decompose", "");
    const int n = nrows_;
    sign = 1;
    matrix w = *this;
    matrix s = w.scale();

    for (int i = 0; i < n; ++i) {
        // Row i of L left of the diagonal.
        for (int j = 0; j < i; ++j) {
            double v = w.at(i, j);
            for (int k = 0; k < j; ++k)
                v = static_cast<double>(v - extended{w.at(i, k)} * w.at(k, j));
            w.at(i, j) = v;
        }
        // The pivot candidates from the diagonal rightwards.  The last of
        // several equal scaled candidates wins; a row of NaN candidates
        // keeps column i.
        double big = 0.0;
        int p = i;
        for (int j = i; j < n; ++j) {
            double v = w.at(i, j);
            for (int k = 0; k < i; ++k)
                v = static_cast<double>(v - extended{w.at(k, j)} * w.at(i, k));
            w.at(i, j) = v;
            const double t = static_cast<double>(extended{std::fabs(v)} * s.at(j, 0));
            if (t >= big) {
                big = t;
                p = j;
            }
        }
        if (p != i) {
            w.swap_columns(p, i);
            sign = -sign;
            std::swap(s.at(p, 0), s.at(i, 0));
        }
        index.val(i, 0) = p;
        if (i < n - 1) {
            if (!(std::fabs(w.at(i, i)) > singular_pivot))
                error("singular matrix", "");
            const double d = static_cast<double>(1.0L / w.at(i, i));
            for (int j = i + 1; j < n; ++j)
                w.at(i, j) = static_cast<double>(extended{d} * w.at(i, j));
        }
    }
    if (!(std::fabs(w.at(n - 1, n - 1)) > singular_pivot))
        error("singular matrix", "");
    return w;
}

void matrix::back_subst(const matrix& index, matrix& b) const
{
    if (nrows_ != ncols_)
        error("nonsquare lu_decomp matrix in back_subst", "");
    if (nrows_ != b.nrows_)
        error("wrong size B passed to back_subst", "");
    if (nrows_ != index.nrows_)
        error("wrong size index vect passed to back_subst", "");
    const int n = nrows_;

    // The recorded exchanges, and U' (unit diagonal).
    for (int i = 0; i < n; ++i) {
        const int p = static_cast<int>(index.val(i, 0));
        double v = b.val(p, 0);
        b.val(p, 0) = b.val(i, 0);
        for (int j = 0; j < i; ++j)
            v = static_cast<double>(v - extended{at(j, i)} * b.at(j, 0));
        b.at(i, 0) = v;
    }
    // L'.
    for (int i = n - 1; i >= 0; --i) {
        double v = b.at(i, 0);
        for (int j = i + 1; j < n; ++j)
            v = static_cast<double>(v - extended{at(j, i)} * b.at(j, 0));
        b.at(i, 0) = static_cast<double>(extended{v} / at(i, i));
    }
}

matrix matrix::inverse() const
{
    if (nrows_ != ncols_)
        error("matrix must be square for inverse()", "");
    const int n = nrows_;
    matrix e("I", n);
    matrix index(n, 1, 0.0);
    matrix c(n, 1, 0.0);
    int sign = 1;
    const matrix w = lu_decomp(index, sign);
    // Column j of e becomes the solution of A' x = e_j, so e ends as the
    // transpose of the inverse.
    for (int j = 0; j < n; ++j) {
        c.copy_column(e, j, 0);
        w.back_subst(index, c);
        e.copy_column(c, 0, j);
    }
    return e.transpose();
}

double matrix::determinant() const
{
    if (nrows_ != ncols_)
        error("matrix must be square for determinant()", "");
    matrix index(nrows_, 1, 0.0);
    int sign = 1;
    const matrix w = lu_decomp(index, sign);
    double det = sign;
    for (int i = 0; i < nrows_; ++i)
        det = static_cast<double>(extended{w.at(i, i)} * det);
    return det;
}
