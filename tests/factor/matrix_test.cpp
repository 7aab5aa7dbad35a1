// The matrix class: construction, labels, label copies, arithmetic, row and
// column operations, and the messages of its errors.
#include <gtest/gtest.h>

#include <cmath>

#include "factor/matrix.h"
#include "harness.h"

namespace {

// A row label carrying the group flag of a sorted pattern.
const std::string flagged = "\x80" "ar1";

matrix two_by_three()
{
    const double values[] = {1, 2, 3, 4, 5, 6};
    return matrix(2, 3, values);
}

std::vector<std::string> row_labels(const matrix& m)
{
    std::vector<std::string> labels;
    for (int i = 0; i < m.nrows(); ++i)
        labels.push_back(m.getrowlab(i));
    return labels;
}

std::vector<std::string> col_labels(const matrix& m)
{
    std::vector<std::string> labels;
    for (int j = 0; j < m.ncols(); ++j)
        labels.push_back(m.getcollab(j));
    return labels;
}

using labels = std::vector<std::string>;

TEST(Matrix, ConstructorsFillValuesAndDefaultLabels)
{
    const matrix filled(2, 3, 0.25);
    EXPECT_EQ(filled.nrows(), 2);
    EXPECT_EQ(filled.ncols(), 3);
    EXPECT_EQ(filled.val(1, 2), 0.25);
    EXPECT_EQ(row_labels(filled), (labels{"r1", "r2"}));
    EXPECT_EQ(col_labels(filled), (labels{"c1", "c2", "c3"}));

    const matrix array = two_by_three();
    EXPECT_EQ(array.val(0, 2), 3.0);
    EXPECT_EQ(array.val(1, 0), 4.0);

    const matrix identity("I", 3);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(identity.val(i, j), i == j ? 1.0 : 0.0);
    EXPECT_EQ(matrix("Identity", 1).val(0, 0), 1.0);

    const matrix empty(0, 4, 0.0);
    EXPECT_EQ(empty.nrows(), 0);
    EXPECT_EQ(col_labels(empty).size(), 4u);
}

TEST(Matrix, IdentityKindMustBeginWithUpperCaseI)
{
    const std::string message = "Matrix: ERROR IN CALL TO IDENTITY MATRIX \n";
    EXPECT_EQ(expect_run_error([] { matrix("i", 2); }), message);
    EXPECT_EQ(expect_run_error([] { matrix("", 2); }), message);
}

TEST(Matrix, NegativeDimensionsAreRefused)
{
    EXPECT_EQ(expect_run_error([] { matrix(-1, 2, 0.0); }),
              "Matrix: NEGATIVE MATRIX DIMENSIONS \n");
}

TEST(Matrix, IndexErrors)
{
    matrix m = two_by_three();
    const std::string val = "Matrix: CALL TO VAL WITH INDEX OUT OF RANGE \n";
    EXPECT_EQ(expect_run_error([&] { m.val(-1, 0); }), val);
    EXPECT_EQ(expect_run_error([&] { m.val(2, 0); }), val);
    EXPECT_EQ(expect_run_error([&] { m.val(0, 3); }), val);
    EXPECT_EQ(expect_run_error([&] { m.getrowlab(2); }),
              "Matrix: CALL TO GETROWLAB WITH ILLEGAL INDEX \n");
    EXPECT_EQ(expect_run_error([&] { m.getcollab(-1); }),
              "Matrix: CALL TO GETCOLLAB WITH ILLEGAL INDEX \n");
    EXPECT_EQ(expect_run_error([&] { m.setrowlab(-1, "x"); }),
              "Matrix: CALL TO SETROWLAB WITH ILLEGAL INDEX \n");
    EXPECT_EQ(expect_run_error([&] { m.setcollab(3, "x"); }),
              "Matrix: CALL TO SETCOLLAB WITH ILLEGAL INDEX \n");
    EXPECT_EQ(expect_run_error([&] { m.maxabs_col(2); }), val);
    EXPECT_EQ(expect_run_error([&] { m.swap_rows(0, 2); }),
              "Matrix: CALL TO GETROWLAB WITH ILLEGAL INDEX \n");
    EXPECT_EQ(expect_run_error([&] { m.copy_row(m, 0, 5); }), val);
}

TEST(Matrix, LabelsKeepAtMostTenBytes)
{
    matrix m(2, 12, 0.0);
    m.setrowlab(0, "abcdefghijklmn");
    EXPECT_EQ(m.getrowlab(0), "abcdefghij");
    m.setcollabs("Factor");
    EXPECT_EQ(m.getcollab(0), "Factor1");
    EXPECT_EQ(m.getcollab(11), "Factor12");
    m.setrowlabs("Variable");
    EXPECT_EQ(row_labels(m), (labels{"Variable1", "Variable2"}));
    m.setcollabs("LongPrefix");
    EXPECT_EQ(m.getcollab(11), "LongPrefix");
}

TEST(Matrix, LabelCopies)
{
    matrix source(3, 2, 0.0);
    source.setrowlabs("row");
    source.setcollabs("col");

    matrix target(3, 3, 0.0);
    target.copyrlfrl(source, -1);
    EXPECT_EQ(row_labels(target), (labels{"row1", "row2", "row3"}));
    target.copyclfcl(source, 2);
    EXPECT_EQ(col_labels(target), (labels{"col1", "col2", "c3"}));
    target.copyclfrl(source, -1);
    EXPECT_EQ(col_labels(target), (labels{"row1", "row2", "row3"}));

    matrix other(2, 3, 0.0);
    other.copyrlfcl(source, -1);
    EXPECT_EQ(row_labels(other), (labels{"col1", "col2"}));

    // n = 0 and n below -1 copy nothing and report nothing.
    matrix untouched(3, 3, 0.0);
    untouched.copyrlfrl(source, 0);
    untouched.copyclfcl(source, -5);
    EXPECT_EQ(row_labels(untouched), (labels{"r1", "r2", "r3"}));
    EXPECT_EQ(col_labels(untouched), (labels{"c1", "c2", "c3"}));
}

TEST(Matrix, LabelCopyMessages)
{
    const matrix source(3, 2, 0.0);
    matrix wide(2, 4, 0.0);
    auto message = [](const std::string& text) { return "Matrix: " + text + " \n"; };

    EXPECT_EQ(expect_run_error([&] { wide.copyrlfrl(source, -1); }), message("COPYRLFRL: N MISMATCH"));
    EXPECT_EQ(expect_run_error([&] { wide.copyrlfrl(source, 3); }), message("COPYRLFRL: N DEST OVERRUN"));
    EXPECT_EQ(expect_run_error([&] { matrix(4, 1, 0.0).copyrlfrl(source, 4); }),
              message("COPYRLFRL: N SOURCE OVERRUN"));

    EXPECT_EQ(expect_run_error([&] { matrix(3, 1, 0.0).copyrlfcl(source, -1); }),
              message("COPYRLFCL: N MISMATCH"));
    EXPECT_EQ(expect_run_error([&] { wide.copyrlfcl(source, 3); }), message("COPYRLFCL: N DEST OVERRUN"));
    EXPECT_EQ(expect_run_error([&] { matrix(4, 1, 0.0).copyrlfcl(source, 3); }),
              message("COPYRLFCL: N SOURCE OVERRUN"));

    // copyclfrl's mismatch message carries another name than its own.
    EXPECT_EQ(expect_run_error([&] { wide.copyclfrl(source, -1); }), message("COPYCLRRL: N MISMATCH"));
    EXPECT_EQ(expect_run_error([&] { matrix(1, 2, 0.0).copyclfrl(source, 3); }),
              message("COPYCLFRL: N DEST OVERRUN"));
    EXPECT_EQ(expect_run_error([&] { wide.copyclfrl(source, 4); }), message("COPYCLFRL: N SOURCE OVERRUN"));

    EXPECT_EQ(expect_run_error([&] { wide.copyclfcl(source, -1); }), message("COPYCLFCL: N MISMATCH"));
    EXPECT_EQ(expect_run_error([&] { matrix(1, 1, 0.0).copyclfcl(source, 2); }),
              message("COPYCLFCL: N DEST OVERRUN"));
    EXPECT_EQ(expect_run_error([&] { wide.copyclfcl(source, 3); }), message("COPYCLFCL: N SOURCE OVERRUN"));
}

TEST(Matrix, ElementwiseArithmetic)
{
    matrix a = two_by_three();
    a.setrowlab(0, "first");
    matrix b(2, 3, 0.5);
    b.setrowlab(0, "other");

    const matrix sum = a + b;
    EXPECT_EQ(sum.val(1, 2), 6.5);
    EXPECT_EQ(sum.getrowlab(0), "first");
    EXPECT_EQ((a - b).val(0, 0), 0.5);
    EXPECT_EQ((a + 1.0).val(1, 1), 6.0);
    EXPECT_EQ((a - 1.0).val(1, 1), 4.0);
    EXPECT_EQ((a * 2.0).val(1, 2), 12.0);
    EXPECT_EQ((-a).val(0, 1), -2.0);
    EXPECT_EQ(a.val(0, 0), 1.0);  // operands unchanged

    const matrix square(3, 3, 0.0);
    EXPECT_EQ(expect_run_error([&] { a + square; }),
              "Matrix: MUST HAVE EQUAL DIMENSIONS FOR ADDITION \n");
    EXPECT_EQ(expect_run_error([&] { a - square; }),
              "Matrix: MUST HAVE EQUAL DIMENSIONS FOR SUBTRACTION \n");
    EXPECT_EQ(expect_run_error([&] { a * a; }),
              "Matrix: MATRICES NOT CONFORMABLE FOR MULTIPLICATION \n");
}

TEST(Matrix, ProductValuesAndLabels)
{
    // (1 2 3; 4 5 6) times (1 0; 0 1; 1 1) = (4 5; 10 11) by hand.
    const double right_values[] = {1, 0, 0, 1, 1, 1};
    matrix left = two_by_three();
    left.setrowlabs("L");
    matrix right(3, 2, right_values);
    right.setcollabs("R");
    const matrix product = left * right;
    EXPECT_EQ(product.val(0, 0), 4.0);
    EXPECT_EQ(product.val(0, 1), 5.0);
    EXPECT_EQ(product.val(1, 0), 10.0);
    EXPECT_EQ(product.val(1, 1), 11.0);
    EXPECT_EQ(row_labels(product), (labels{"L1", "L2"}));
    EXPECT_EQ(col_labels(product), (labels{"R1", "R2"}));

    // 3 x 0 times 0 x 2: zeros, labelled by both operands.
    matrix a(3, 0, 0.0);
    a.setrowlabs("a");
    matrix b(0, 2, 0.0);
    b.setcollabs("b");
    const matrix zeros = a * b;
    ASSERT_EQ(zeros.nrows(), 3);
    ASSERT_EQ(zeros.ncols(), 2);
    EXPECT_EQ(zeros.val(2, 1), 0.0);
    EXPECT_EQ(zeros.getrowlab(2), "a3");
    EXPECT_EQ(zeros.getcollab(1), "b2");
}

TEST(Matrix, ProductSumsInExtendedPrecision)
{
    // x = 1 + 2^-30: x * x = 1 + 2^-29 + 2^-60 needs 61 bits.  The running
    // sum starts at 0, takes -1 * 1 = -1, then x * x + (-1) exactly
    // 2^-29 + 2^-60 in the 64-bit significand, which a double holds.  In
    // double arithmetic x * x would lose the 2^-60 and leave 2^-29.
    const double x = 1.0 + std::ldexp(1.0, -30);
    const double row[] = {-1.0, x};
    const double column[] = {1.0, x};
    const matrix product = matrix(1, 2, row) * matrix(2, 1, column);
    EXPECT_EQ(product.val(0, 0), std::ldexp(1.0, -29) + std::ldexp(1.0, -60));
}

TEST(Matrix, TransposeSwapsValuesAndLabels)
{
    matrix m = two_by_three();
    m.setrowlab(0, flagged);
    const matrix t = m.transpose();
    ASSERT_EQ(t.nrows(), 3);
    ASSERT_EQ(t.ncols(), 2);
    EXPECT_EQ(t.val(2, 1), 6.0);
    EXPECT_EQ(t.val(0, 1), 4.0);
    EXPECT_EQ(row_labels(t), (labels{"c1", "c2", "c3"}));
    EXPECT_EQ(col_labels(t), (labels{flagged, "r2"}));
}

TEST(Matrix, CopiesAreDeepAndKeepTheGroupFlag)
{
    matrix m = two_by_three();
    m.setrowlab(0, flagged);

    matrix copy = m;
    copy.val(0, 0) = 99.0;
    EXPECT_EQ(m.val(0, 0), 1.0);
    EXPECT_EQ(copy.getrowlab(0), flagged);

    matrix assigned(1, 1, 0.0);
    assigned = m;
    EXPECT_EQ(assigned.nrows(), 2);
    EXPECT_EQ(assigned.ncols(), 3);
    EXPECT_EQ(assigned.getrowlab(0), flagged);
    EXPECT_EQ(assigned.val(1, 2), 6.0);

    matrix& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.getrowlab(0), flagged);
    EXPECT_EQ(assigned.val(1, 2), 6.0);

    matrix rows(2, 3, 0.0);
    rows.copy_row(m, 0, 1);
    EXPECT_EQ(rows.getrowlab(1), flagged);
    rows.copyrlfrl(m, -1);
    EXPECT_EQ(rows.getrowlab(0), flagged);
}

TEST(Matrix, RowAndColumnOperations)
{
    const matrix m = two_by_three();
    matrix target(2, 3, 0.0);
    target.copy_row(m, 1, 0);
    EXPECT_EQ(target.val(0, 0), 4.0);
    EXPECT_EQ(target.val(0, 2), 6.0);
    EXPECT_EQ(target.getrowlab(0), "r2");
    EXPECT_EQ(target.val(1, 0), 0.0);

    matrix column(2, 1, 0.0);
    column.copy_column(m, 2, 0);
    EXPECT_EQ(column.val(0, 0), 3.0);
    EXPECT_EQ(column.val(1, 0), 6.0);
    EXPECT_EQ(column.getcollab(0), "c3");

    EXPECT_EQ(expect_run_error([&] { column.copy_row(m, 0, 0); }),
              "Matrix: NUMBER OF COLS MUST BE EQUAL FOR COPY_ROW() \n");
    EXPECT_EQ(expect_run_error([&] { matrix(3, 1, 0.0).copy_column(m, 0, 0); }),
              "Matrix: NUMBER OF ROWS MUST BE EQUAL FOR COPY_COLUMN() \n");

    matrix swapped = m;
    swapped.swap_rows(0, 1);
    EXPECT_EQ(swapped.val(0, 0), 4.0);
    EXPECT_EQ(swapped.val(1, 2), 3.0);
    EXPECT_EQ(row_labels(swapped), (labels{"r2", "r1"}));
    swapped.swap_columns(0, 2);
    EXPECT_EQ(swapped.val(0, 0), 6.0);
    EXPECT_EQ(col_labels(swapped), (labels{"c3", "c2", "c1"}));
    swapped.swap_columns(1, 1);
    EXPECT_EQ(swapped.val(0, 1), 5.0);
    EXPECT_EQ(swapped.getcollab(1), "c2");
}

TEST(Matrix, MaxabsColTakesTheFirstLargestMagnitude)
{
    const double values[] = {0.5, -0.7, 0.7, 0.0, 0.0, 0.0, -0.1, 0.2, -0.3};
    const matrix m(3, 3, values);
    EXPECT_EQ(m.maxabs_col(0), 1);
    EXPECT_EQ(m.maxabs_col(1), 0);
    EXPECT_EQ(m.maxabs_col(2), 2);
    EXPECT_EQ(matrix(1, 0, 0.0).maxabs_col(0), 0);
}

}  // namespace
