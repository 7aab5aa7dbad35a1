// The eigen solver, the loadings and the sorted pattern.  Eigenvalues and
// eigenvectors of random matrices come from R's eigen() (LAPACK), through
// tests/reference/factor_jacobi_reference.R; the small cases are worked out
// by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "factor/matrix.h"

#include "tests/reference/factor_jacobi_reference.inc"

namespace {

matrix from_rows(const std::vector<std::vector<double>>& rows)
{
    matrix m(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()), 0.0);
    for (int i = 0; i < m.nrows(); ++i)
        for (int j = 0; j < m.ncols(); ++j)
            m.val(i, j) = rows[i][j];
    return m;
}

// The generator of the reference script: Park-Miller, values k / 1024.
matrix random_symmetric(int n)
{
    std::int64_t state = 1000 + n;
    matrix a(n, n, 0.0);
    for (int i = 0; i < n; ++i) {
        for (int j = i; j < n; ++j) {
            state = 16807 * state % 2147483647;
            a.val(i, j) = a.val(j, i) = static_cast<double>(state % 2001 - 1000) / 1024;
        }
    }
    return a;
}

// Column j of v equals the expected column up to its sign.
void expect_column_up_to_sign(const matrix& v, int j, const double* expected, double tolerance)
{
    const double sign = v.val(0, j) * expected[0] < 0 ? -1.0 : 1.0;
    for (int i = 0; i < v.nrows(); ++i)
        EXPECT_NEAR(sign * v.val(i, j), expected[i], tolerance) << "row " << i << ", column " << j;
}

TEST(Jacobi, TwoByTwo)
{
    // Eigenvalues 1 +- 0.5 with eigenvectors (1, 1) / sqrt 2 and (1, -1) / sqrt 2.
    matrix a = from_rows({{1, 0.5}, {0.5, 1}});
    const matrix v = a.jacobi();
    EXPECT_NEAR(a.val(0, 0), 1.5, 1e-15);
    EXPECT_NEAR(a.val(1, 1), 0.5, 1e-15);
    const double h = std::sqrt(0.5);
    const double first[] = {h, h};
    const double second[] = {h, -h};
    expect_column_up_to_sign(v, 0, first, 1e-15);
    expect_column_up_to_sign(v, 1, second, 1e-15);
    EXPECT_EQ(v.getcollab(1), "c2");
    EXPECT_EQ(v.getrowlab(0), "r1");
}

TEST(Jacobi, IncreasingDiagonalIsReordered)
{
    // Every pair with d < 0 is rotated by a quarter turn.
    matrix a = from_rows({{1, 0, 0}, {0, 2, 0}, {0, 0, 3}});
    const matrix v = a.jacobi();
    for (int j = 0; j < 3; ++j) {
        EXPECT_NEAR(a.val(j, j), 3.0 - j, 1e-15);
        // The eigenvector of 3 - j is the unit vector of variable 2 - j.
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(std::fabs(v.val(i, j)), i == 2 - j ? 1.0 : 0.0, 1e-15);
    }
}

TEST(Jacobi, DecreasingDiagonalIdentityAndOrderOneAreLeftAlone)
{
    for (matrix a : {from_rows({{3, 0, 0}, {0, 2, 0}, {0, 0, -1}}), matrix("I", 4), from_rows({{7}})}) {
        const matrix before = a;
        const matrix v = a.jacobi();
        const matrix identity("I", a.nrows());
        for (int i = 0; i < a.nrows(); ++i) {
            for (int j = 0; j < a.ncols(); ++j) {
                EXPECT_EQ(v.val(i, j), identity.val(i, j));
                EXPECT_EQ(a.val(i, j), before.val(i, j));
            }
        }
    }
    matrix empty(0, 0, 0.0);
    EXPECT_EQ(empty.jacobi().nrows(), 0);
}

TEST(Jacobi, NotANumberDifferenceSkipsThePair)
{
    // d is not a number, so neither angle rule applies: the pair is skipped
    // as a null rotation and the sweep ends the solver.
    matrix a = from_rows({{std::nan(""), 0.5}, {0.5, 1}});
    const matrix v = a.jacobi();
    EXPECT_EQ(v.val(0, 0), 1.0);
    EXPECT_EQ(v.val(0, 1), 0.0);
    EXPECT_EQ(a.val(0, 1), 0.5);
    EXPECT_EQ(a.val(1, 1), 1.0);
}

TEST(Jacobi, RandomSymmetricMatricesAgainstLapack)
{
    for (const EigenReference& reference : kEigenReferences) {
        const int n = reference.n;
        SCOPED_TRACE("order " + std::to_string(n));
        const matrix original = random_symmetric(n);
        matrix a = original;
        const matrix v = a.jacobi();
        for (int j = 0; j < n; ++j)
            EXPECT_NEAR(a.val(j, j), reference.values[j], 1e-9);
        if (reference.vectors) {
            for (int j = 0; j < n; ++j)
                expect_column_up_to_sign(v, j, reference.vectors + j * n, 1e-9);
        }
        // Whatever the order, V' A V is the diagonal of eigenvalues.
        const matrix d = v.transpose() * original * v;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                ASSERT_NEAR(d.val(i, j), i == j ? reference.values[i] : 0.0, 1e-9);
    }
}

TEST(Loadings, ColumnsScaledToTheEigenvalues)
{
    // (0.6, 0.8) with eigenvalue 4 becomes (1.2, 1.6); an unnormalised
    // (3, -4) with eigenvalue 0.25 becomes (0.3, -0.4); a negative eigenvalue
    // counts with its magnitude: (1, 1) with -2 becomes (1, 1).
    matrix v = from_rows({{0.6, 3, 1, 9}, {0.8, -4, 1, 9}});
    v.to_loadings(from_rows({{4, 0.25, -2}}));
    EXPECT_NEAR(v.val(0, 0), 1.2, 1e-15);
    EXPECT_NEAR(v.val(1, 0), 1.6, 1e-15);
    EXPECT_NEAR(v.val(0, 1), 0.3, 1e-15);
    EXPECT_NEAR(v.val(1, 1), -0.4, 1e-15);
    EXPECT_NEAR(v.val(0, 2), 1.0, 1e-15);
    EXPECT_NEAR(v.val(1, 2), 1.0, 1e-15);
    // Columns beyond the eigenvalues stay as they are.
    EXPECT_EQ(v.val(1, 3), 9.0);
}

TEST(Loadings, ZeroEigenvalueKeepsTheSigns)
{
    matrix v = from_rows({{0.6}, {-0.8}});
    v.to_loadings(from_rows({{0}}));
    EXPECT_EQ(v.val(0, 0), 0.0);
    EXPECT_FALSE(std::signbit(v.val(0, 0)));
    EXPECT_EQ(v.val(1, 0), 0.0);
    EXPECT_TRUE(std::signbit(v.val(1, 0)));
}

std::vector<int> sorted_rows(const matrix& a, std::vector<int> rows, int c)
{
    a.sort_rows(rows, 0, static_cast<int>(rows.size()) - 1, c);
    return rows;
}

TEST(SortedPattern, SortRowsIncreasing)
{
    const matrix a = from_rows({{0.5}, {-0.2}, {0.9}, {0.5}, {-0.7}, {0.1}, {0.9}});
    const std::vector<int> rows = sorted_rows(a, {0, 1, 2, 3, 4, 5, 6}, 0);
    std::vector<double> values;
    for (int r : rows)
        values.push_back(a.val(r, 0));
    EXPECT_EQ(values, (std::vector<double>{-0.7, -0.2, 0.1, 0.5, 0.5, 0.9, 0.9}));
    EXPECT_EQ(sorted_rows(a, {2}, 0), std::vector<int>{2});
    // Only the part lo..hi is sorted.
    std::vector<int> part = {2, 0, 4, 1};
    a.sort_rows(part, 1, 2, 0);
    EXPECT_EQ(part, (std::vector<int>{2, 4, 0, 1}));
}

TEST(SortedPattern, GroupsByLargestColumnWithFlags)
{
    matrix a = from_rows({{0.8, 0.1}, {-0.9, 0.2}, {0.3, 0.7}, {0.6, 0.6}});
    a.setrowlabs("v");
    a.setcollabs("Factor");
    const matrix s = a.sort_by_factor();
    // Group of column 1: 0.8, 0.6 (first wins on a tie), -0.9; then column 2.
    const std::vector<std::vector<double>> expected = {{0.8, 0.1}, {0.6, 0.6}, {-0.9, 0.2}, {0.3, 0.7}};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(s.val(i, j), expected[i][j]);
    EXPECT_EQ(s.getrowlab(0), "\xF6" "1");  // 'v' | 0x80
    EXPECT_EQ(s.getrowlab(1), "v4");
    EXPECT_EQ(s.getrowlab(2), "v2");
    EXPECT_EQ(s.getrowlab(3), "\xF6" "3");
    EXPECT_EQ(s.getcollab(1), "Factor2");
    // The pattern itself is unchanged.
    EXPECT_EQ(a.getrowlab(0), "v1");
    EXPECT_EQ(a.val(1, 0), -0.9);
}

TEST(SortedPattern, NamesThatBeginWithANonAsciiByteStandBehindAMarker)
{
    // The rows of the test above, two of them named in UTF-8: their flag
    // cannot be bit 0x80 of their first byte, which is set already.  The
    // first row of a group has the marker 0xA0, the others 0x8D.
    matrix a = from_rows({{0.8, 0.1}, {-0.9, 0.2}, {0.3, 0.7}, {0.6, 0.6}});
    a.setrowlabs("v");
    a.setrowlab(0, "\xC3\x84rgernis12");  // Ärgernis1 and the first byte of 2
    a.setrowlab(1, "\xC3\x9C" "bel");
    const matrix s = a.sort_by_factor();
    EXPECT_EQ(s.getrowlab(0), "\xA0\xC3\x84rgernis1");
    EXPECT_EQ(s.getrowlab(1), "v4");
    EXPECT_EQ(s.getrowlab(2), "\x8D\xC3\x9C" "bel");
    EXPECT_EQ(s.getrowlab(3), "\xF6" "3");
}

TEST(SortedPattern, ZeroRowsJoinTheFirstGroupAndEmptyColumnsHaveNone)
{
    const matrix a = from_rows({{0, 0.2, 0}, {0, 0, 0}, {0.1, 0.5, 0}});
    const matrix s = a.sort_by_factor();
    // Column 1: the row of zeros alone; column 2: 0.5 then 0.2; column 3: none.
    EXPECT_EQ(s.getrowlab(0), "\xF2" "2");
    EXPECT_EQ(s.getrowlab(1), "\xF2" "3");
    EXPECT_EQ(s.getrowlab(2), "r1");
    EXPECT_EQ(s.val(1, 1), 0.5);
}

}  // namespace
