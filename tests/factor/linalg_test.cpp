// Linear algebra of the matrix class: inverse, decomposition, substitution,
// determinant, trace and the messages of their errors.  Expected values are
// worked out by hand in the comments.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "factor/matrix.h"
#include "harness.h"

namespace {

matrix from_rows(const std::vector<std::vector<double>>& rows)
{
    const int r = static_cast<int>(rows.size());
    const int c = r ? static_cast<int>(rows[0].size()) : 0;
    matrix m(r, c, 0.0);
    for (int i = 0; i < r; ++i)
        for (int j = 0; j < c; ++j)
            m.val(i, j) = rows[i][j];
    return m;
}

void expect_near_matrix(const matrix& actual, const matrix& expected, double tolerance)
{
    ASSERT_EQ(actual.nrows(), expected.nrows());
    ASSERT_EQ(actual.ncols(), expected.ncols());
    for (int i = 0; i < actual.nrows(); ++i)
        for (int j = 0; j < actual.ncols(); ++j)
            EXPECT_NEAR(actual.val(i, j), expected.val(i, j), tolerance) << i << ", " << j;
}

std::string matrix_error(const std::string& message)
{
    return "Matrix: " + message + " \n";
}

TEST(LinearAlgebra, InverseOfHandWorkedMatrices)
{
    // det = 2*4 - 1*7 = 1, so the inverse is the adjugate (4 -1; -7 2).
    expect_near_matrix(from_rows({{2, 1}, {7, 4}}).inverse(), from_rows({{4, -1}, {-7, 2}}), 1e-14);

    // det = 1; inverse = adjugate, cofactors worked out by hand:
    // (-24 18 5; 20 -15 -4; -5 4 1).
    const matrix a = from_rows({{1, 2, 3}, {0, 1, 4}, {5, 6, 0}});
    const matrix inv = a.inverse();
    expect_near_matrix(inv, from_rows({{-24, 18, 5}, {20, -15, -4}, {-5, 4, 1}}), 1e-12);
    // The result carries the labels of a transposed identity.
    EXPECT_EQ(inv.getrowlab(0), "c1");
    EXPECT_EQ(inv.getcollab(2), "r3");

    // 1 x 1: (a) gives (1 / a).
    EXPECT_DOUBLE_EQ(from_rows({{4}}).inverse().val(0, 0), 0.25);
}

TEST(LinearAlgebra, InverseOfNonSymmetricMatricesNeedingExchanges)
{
    // Zeros on the diagonal force column exchanges; A A^-1 and A^-1 A are I.
    const std::vector<matrix> cases = {
        from_rows({{0, 1}, {1, 0}}),
        from_rows({{0, 2, 1}, {3, 0, 4}, {1, 5, 0}}),
        from_rows({{1e-3, 7, -2, 0}, {4, 1e3, 3, 1}, {0, -6, 0.5, 9}, {2, 0, 8, -1}}),
        from_rows({{1, 2, 3, 4, 5},
                   {2, -1, 0, 3, 1},
                   {0, 0, 0, 1, 7},
                   {9, 1, 1, 0, 0},
                   {3, 3, -4, 2, 1}}),
    };
    for (const matrix& a : cases) {
        const matrix identity("I", a.nrows());
        expect_near_matrix(a * a.inverse(), identity, 1e-12);
        expect_near_matrix(a.inverse() * a, identity, 1e-12);
    }
}

TEST(LinearAlgebra, SubstitutionSolvesTheTransposedSystem)
{
    // A = (2 1; 7 4), A' x = (1, 0): 2x + 7y = 1, x + 4y = 0 gives x = 4, y = -1.
    const matrix a = from_rows({{2, 1}, {7, 4}});
    matrix index(2, 1, 0.0);
    int sign = 0;
    const matrix w = a.lu_decomp(index, sign);
    matrix b = from_rows({{1}, {0}});
    w.back_subst(index, b);
    EXPECT_NEAR(b.val(0, 0), 4.0, 1e-14);
    EXPECT_NEAR(b.val(1, 0), -1.0, 1e-14);
    // The matrix decomposed is unchanged.
    EXPECT_EQ(a.val(1, 0), 7.0);
}

TEST(LinearAlgebra, LaterColumnWinsATieOfScaledPivots)
{
    // (1 1; 0 1): both columns have the largest magnitude 1, so in row 0 the
    // scaled candidates tie at 1 and column 1 becomes the pivot column.
    // After the exchange W = (1 1; 1 0); row 1: L(1,0) = 1, candidate
    // 0 - 1*1 = -1.  So index = (1, 1), one exchange, det = -1 * 1 * -1 = 1.
    const matrix a = from_rows({{1, 1}, {0, 1}});
    matrix index(2, 1, 0.0);
    int sign = 0;
    const matrix w = a.lu_decomp(index, sign);
    EXPECT_EQ(index.val(0, 0), 1.0);
    EXPECT_EQ(index.val(1, 0), 1.0);
    EXPECT_EQ(sign, -1);
    EXPECT_EQ(w.getcollab(0), "c2");
    EXPECT_EQ(w.getcollab(1), "c1");
    expect_near_matrix(w, from_rows({{1, 1}, {1, -1}}), 0.0);
    EXPECT_EQ(a.determinant(), 1.0);
}

TEST(LinearAlgebra, DeterminantSigns)
{
    EXPECT_EQ(from_rows({{0, 1}, {1, 0}}).determinant(), -1.0);
    EXPECT_EQ(matrix("I", 4).determinant(), 1.0);
    EXPECT_NEAR(from_rows({{0, 2}, {3, 0}}).determinant(), -6.0, 1e-14);
    EXPECT_NEAR(from_rows({{2, 0, 0}, {0, 3, 0}, {0, 0, 4}}).determinant(), 24.0, 1e-13);
    // Expanded along the first column: 1*(0 - 24) - 0 + 5*(8 - 3) = 1.
    EXPECT_NEAR(from_rows({{1, 2, 3}, {0, 1, 4}, {5, 6, 0}}).determinant(), 1.0, 1e-13);
    // Exchanging two rows flips the sign.
    EXPECT_NEAR(from_rows({{0, 1, 4}, {1, 2, 3}, {5, 6, 0}}).determinant(), -1.0, 1e-13);
}

TEST(LinearAlgebra, Trace)
{
    EXPECT_EQ(matrix("I", 5).trace(), 5.0);
    EXPECT_EQ(from_rows({{1.5, 9}, {9, -4}}).trace(), -2.5);
    EXPECT_EQ(matrix(0, 0, 0.0).trace(), 0.0);
}

TEST(LinearAlgebra, SingularMatrices)
{
    EXPECT_EQ(expect_run_error([] { from_rows({{0}}).inverse(); }),
              matrix_error("SINGULAR MATRIX IN SCALE"));
    EXPECT_EQ(expect_run_error([] { from_rows({{1, 0}, {2, 0}}).inverse(); }),
              matrix_error("SINGULAR MATRIX IN SCALE"));
    // Two equal columns: the last pivot is 2 - 1*2 = 0.
    EXPECT_EQ(expect_run_error([] { from_rows({{1, 1}, {2, 2}}).inverse(); }),
              matrix_error("SINGULAR MATRIX"));
    EXPECT_EQ(expect_run_error([] { from_rows({{1, 1}, {2, 2}}).determinant(); }),
              matrix_error("SINGULAR MATRIX"));
    // Three columns with the third the sum of the first two: a pivot before
    // the last one vanishes.
    EXPECT_EQ(expect_run_error([] { from_rows({{1, 2, 3}, {2, 4, 6}, {1, 0, 1}}).inverse(); }),
              matrix_error("SINGULAR MATRIX"));
    // The threshold is absolute: 1e-15 itself is singular, 2e-15 is not.
    EXPECT_EQ(expect_run_error([] { from_rows({{1e-15}}).inverse(); }),
              matrix_error("SINGULAR MATRIX"));
    EXPECT_DOUBLE_EQ(from_rows({{2e-15}}).inverse().val(0, 0), 5e14);
    // A row whose every pivot candidate is NaN keeps its own column and is
    // singular.
    EXPECT_EQ(expect_run_error([] {
                  from_rows({{std::nan(""), std::nan("")}, {1, 1}}).determinant();
              }),
              matrix_error("SINGULAR MATRIX"));
}

TEST(LinearAlgebra, ShapeErrors)
{
    const matrix wide(2, 3, 1.0);
    EXPECT_EQ(expect_run_error([&] { wide.inverse(); }),
              matrix_error("MATRIX MUST BE SQUARE FOR INVERSE()"));
    EXPECT_EQ(expect_run_error([&] { wide.determinant(); }),
              matrix_error("MATRIX MUST BE SQUARE FOR DETERMINANT()"));
    EXPECT_EQ(expect_run_error([&] { wide.scale(); }),
              matrix_error("MATRIX MUST BE SQUARE FOR SCALE()"));
    EXPECT_EQ(expect_run_error([&] {
                  matrix index(2, 1, 0.0);
                  int sign;
                  wide.lu_decomp(index, sign);
              }),
              matrix_error("MATRIX MUST BE SQUARE TO LU DECOMPOSE"));
    EXPECT_EQ(expect_run_error([] { matrix(0, 0, 0.0).inverse(); }),
              matrix_error("BAD MATRIX SIZE FOR SCALE()"));

    const matrix w = from_rows({{2, 1}, {7, 4}});
    matrix b(2, 1, 1.0);
    matrix short_b(1, 1, 1.0);
    const matrix index(2, 1, 0.0);
    const matrix short_index(1, 1, 0.0);
    EXPECT_EQ(expect_run_error([&] { wide.back_subst(index, b); }),
              matrix_error("NONSQUARE LU_DECOMP MATRIX IN BACK_SUBST"));
    EXPECT_EQ(expect_run_error([&] { w.back_subst(index, short_b); }),
              matrix_error("WRONG SIZE B PASSED TO BACK_SUBST"));
    EXPECT_EQ(expect_run_error([&] { w.back_subst(short_index, b); }),
              matrix_error("WRONG SIZE INDEX VECT PASSED TO BACK_SUBST"));
}

}  // namespace
