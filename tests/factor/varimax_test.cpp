// Varimax rotation: agreement with R's varimax on published data, the
// cases a reader can follow by hand, and the files the stage leaves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/rotation.h"
#include "harness.h"

namespace {

#include "../reference/qrn4_reference.inc"

matrix pattern(int rows, int cols, const double* values)
{
    matrix a(rows, cols, values);
    a.setrowlabs("v");
    a.setcollabs("Factor");
    return a;
}

// Runs the rotation stage on the given unrotated pattern, in a scratch
// directory, with the stem "T".
class Varimax : public ::testing::Test {
protected:
    scratch_dir dir;

    void SetUp() override
    {
        analysis_parameters = {};
        analysis_parameters.file_stem = dir / "T";
    }
    void TearDown() override { analysis_parameters = {}; }

    matrix rotate_file(const matrix& unrotated)
    {
        unrotated.write(dir / "T.uev");
        analysis_parameters.max_factors = unrotated.ncols();
        varimax();
        return matrix(dir / "T.rev");
    }
};

// The largest difference between the columns of a and b, after matching
// each column of b to the column of a that it is closest to, in either sign.
double distance_up_to_order_and_sign(const matrix& a, const matrix& b)
{
    double worst = 0.0;
    std::vector<bool> used(a.ncols(), false);
    for (int jb = 0; jb < b.ncols(); ++jb) {
        double best = HUGE_VAL;
        int best_column = -1;
        for (int ja = 0; ja < a.ncols(); ++ja) {
            if (used[ja])
                continue;
            for (double sign : {1.0, -1.0}) {
                double d = 0.0;
                for (int i = 0; i < a.nrows(); ++i)
                    d = std::max(d, std::fabs(a.val(i, ja) - sign * b.val(i, jb)));
                if (d < best) {
                    best = d;
                    best_column = ja;
                }
            }
        }
        used[best_column] = true;
        worst = std::max(worst, best);
    }
    return worst;
}

// The varimax criterion of a pattern under row normalisation: the sum over
// the factors of the variance of the squared normalised loadings.
double varimax_criterion(const matrix& a)
{
    double total = 0.0;
    for (int j = 0; j < a.ncols(); ++j) {
        double s = 0.0, s2 = 0.0;
        for (int i = 0; i < a.nrows(); ++i) {
            double h2 = 0.0;
            for (int k = 0; k < a.ncols(); ++k)
                h2 += a.val(i, k) * a.val(i, k);
            const double q = a.val(i, j) * a.val(i, j) / h2;
            s += q;
            s2 += q * q;
        }
        total += s2 / a.nrows() - (s / a.nrows()) * (s / a.nrows());
    }
    return total;
}

struct data_set {
    const char* name;
    int rows, cols;
    const double* unrotated;
    const double* rotated;  // by R, up to order and signs of the columns
};
const data_set published[] = {
    {"8 physical variables, 2 components", harman23_unrotated_rows, harman23_unrotated_cols,
     harman23_unrotated, harman23_varimax},
    {"24 psychological tests, 4 components", harman74_unrotated_rows, harman74_unrotated_cols,
     harman74_unrotated, harman74_varimax},
};

TEST(VarimaxRotate, ConvergesToRsVarimaxWhenTheAngleLimitIsTight)
{
    for (const data_set& set : published) {
        SCOPED_TRACE(set.name);
        matrix a = pattern(set.rows, set.cols, set.unrotated);
        const varimax_outcome outcome = varimax_rotate(a, 1e-10);
        EXPECT_TRUE(outcome.converged);
        EXPECT_LT(distance_up_to_order_and_sign(a, pattern(set.rows, set.cols, set.rotated)), 1e-6);
    }
}

TEST_F(Varimax, StopsWithinAboutADegreeOfRsVarimax)
{
    for (const data_set& set : published) {
        SCOPED_TRACE(set.name);
        const matrix unrotated = pattern(set.rows, set.cols, set.unrotated);
        const matrix ours = rotate_file(unrotated);
        const matrix reference = pattern(set.rows, set.cols, set.rotated);
        // The sweeps end once every pair's angle is below 0.0175 rad, so a
        // loading may stay up to about sin(1 degree) from the optimum; near
        // the optimum the criterion is flat.
        EXPECT_LT(distance_up_to_order_and_sign(ours, reference), 0.02);
        EXPECT_LE(varimax_criterion(ours), varimax_criterion(reference) + 1e-6);
        EXPECT_GT(varimax_criterion(ours), varimax_criterion(reference) - 5e-4);
        EXPECT_GT(varimax_criterion(ours), varimax_criterion(unrotated) + 0.01);
    }
}

TEST(VarimaxRotate, SweepLimitEndsTheRotation)
{
    matrix a = pattern(harman74_unrotated_rows, harman74_unrotated_cols, harman74_unrotated);
    const varimax_outcome stopped = varimax_rotate(a, varimax_min_angle, 1);
    EXPECT_FALSE(stopped.converged);
    EXPECT_EQ(stopped.sweeps, 1);

    matrix b = pattern(harman74_unrotated_rows, harman74_unrotated_cols, harman74_unrotated);
    const varimax_outcome finished = varimax_rotate(b);
    EXPECT_TRUE(finished.converged);
    EXPECT_GT(finished.sweeps, 1);
    EXPECT_LT(finished.sweeps, 50);
}

// Two unit rows at the angles 0 and alpha (degrees).  Varimax puts them
// symmetrically about 45 degrees: the rotation angle is alpha / 2 - 45.
matrix two_rows(double alpha)
{
    const double a = alpha * std::numbers::pi / 180;
    const double values[] = {1.0, 0.0, std::cos(a), std::sin(a)};
    return pattern(2, 2, values);
}

TEST(VarimaxRotate, AngleBelowTheLimitLeavesThePairAlone)
{
    // Rows at 0 and 90 - 2d degrees need a rotation by d degrees:
    // 0.99 degrees = 0.01728 rad is below the limit, 1.01 = 0.01763 above.
    matrix below = two_rows(90 - 2 * 0.99);
    const matrix unchanged = below;
    EXPECT_EQ(varimax_rotate(below).sweeps, 1);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j)
            EXPECT_EQ(below.val(i, j), unchanged.val(i, j));
    }

    matrix above = two_rows(90 - 2 * 1.01);
    EXPECT_EQ(varimax_rotate(above).sweeps, 2);
    const double d = 1.01 * std::numbers::pi / 180;
    EXPECT_NEAR(above.val(0, 0), std::cos(d), 1e-12);
    EXPECT_NEAR(above.val(0, 1), std::sin(d), 1e-12);
    EXPECT_NEAR(above.val(1, 0), std::sin(d), 1e-12);
    EXPECT_NEAR(above.val(1, 1), std::cos(d), 1e-12);
}

// The rows (cos 22.5, sin 22.5) and (sin 22.5, cos 22.5), in degrees.
void expect_rows_at_22_5_degrees(const matrix& a, double tolerance)
{
    const double c8 = 0.92387953251128674;  // cos(pi/8)
    const double s8 = 0.38268343236508977;  // sin(pi/8)
    EXPECT_NEAR(a.val(0, 0), c8, tolerance);
    EXPECT_NEAR(a.val(0, 1), s8, tolerance);
    EXPECT_NEAR(a.val(1, 0), s8, tolerance);
    EXPECT_NEAR(a.val(1, 1), c8, tolerance);
}

TEST(VarimaxRotate, ZeroDenominatorGivesAQuarterOfAHalfTurn)
{
    // Rows at 0 and 45 degrees: num = -2 and den = 0 exactly, so four times
    // the angle is -pi/2 and the pair turns by -22.5 degrees.
    const double s = std::sqrt(0.5);
    const double values[] = {1.0, 0.0, s, s};
    matrix a = pattern(2, 2, values);
    varimax_rotate(a);
    expect_rows_at_22_5_degrees(a, 1e-12);
}

TEST_F(Varimax, SimplePatternIsWrittenUnchanged)
{
    // Every variable on one factor: every pair's angle is 0.  The second
    // factor's loadings are negative or 0, so its signs stay.
    const double values[] = {0.8, 0.0, 0.7, 0.0, 0.0, -0.9, 0.0, -0.6};
    const matrix simple = pattern(4, 2, values);
    simple.write(dir / "simple.dat");
    rotate_file(simple);
    EXPECT_EQ(dir.read("T.rev"), dir.read("simple.dat"));
}

TEST_F(Varimax, FactorWithOnlyNegativeLoadingsIsTurnedRound)
{
    // The rows at 0 and 45 degrees turned into the third quadrant rotate as
    // above, to two factors of negative loadings only.
    const double s = std::sqrt(0.5);
    const double values[] = {-1.0, 0.0, -s, -s};
    expect_rows_at_22_5_degrees(rotate_file(pattern(2, 2, values)), 1e-5);
}

TEST_F(Varimax, PercentagesOfVarianceShareTheCommunalities)
{
    const matrix unrotated = pattern(harman74_unrotated_rows, harman74_unrotated_cols,
                                     harman74_unrotated);
    rotate_file(unrotated);
    const matrix communalities(dir / "T.rcm");
    const matrix percentages(dir / "T.rpt");
    ASSERT_EQ(communalities.ncols(), unrotated.nrows());
    ASSERT_EQ(percentages.ncols(), unrotated.ncols());

    double mean_communality = 0.0;
    for (int i = 0; i < unrotated.nrows(); ++i) {
        double h2 = 0.0;
        for (int j = 0; j < unrotated.ncols(); ++j)
            h2 += unrotated.val(i, j) * unrotated.val(i, j);
        EXPECT_NEAR(communalities.val(0, i), 100 * h2, 1e-4) << "variable " << i + 1;
        EXPECT_EQ(communalities.getcollab(i), unrotated.getrowlab(i));
        mean_communality += communalities.val(0, i) / unrotated.nrows();
    }
    double total = 0.0;
    for (int j = 0; j < percentages.ncols(); ++j) {
        EXPECT_EQ(percentages.getcollab(j), unrotated.getcollab(j));
        total += percentages.val(0, j);
    }
    EXPECT_NEAR(total, mean_communality, 1e-3);
    EXPECT_EQ(percentages.getrowlab(0), "r1");
}

TEST_F(Varimax, SortedPatternCarriesTheGroupFlags)
{
    rotate_file(pattern(harman74_unrotated_rows, harman74_unrotated_cols, harman74_unrotated));
    const matrix rotated(dir / "T.rev");
    const matrix sorted(dir / "T.rvs");
    ASSERT_EQ(sorted.nrows(), rotated.nrows());
    ASSERT_EQ(sorted.ncols(), rotated.ncols());
    std::vector<bool> has_group(rotated.ncols(), false);
    for (int i = 0; i < rotated.nrows(); ++i) {
        EXPECT_EQ(rotated.getrowlab(i)[0] & 0x80, 0);
        has_group[rotated.maxabs_col(i)] = true;
    }
    int flags = 0;
    for (int i = 0; i < sorted.nrows(); ++i)
        flags += (sorted.getrowlab(i)[0] & 0x80) != 0;
    EXPECT_EQ(flags, std::count(has_group.begin(), has_group.end(), true));
    EXPECT_NE(sorted.getrowlab(0)[0] & 0x80, 0);
}

TEST_F(Varimax, VariableWithoutLoadingsStaysZero)
{
    // The 8 physical variables with a ninth that loads on nothing.
    std::vector<double> values(harman23_unrotated, harman23_unrotated + 16);
    values.insert(values.end(), {0.0, 0.0});
    const matrix ours = rotate_file(pattern(9, 2, values.data()));
    for (const char* extension : {".rev", ".rvs", ".rpt", ".rcm"})
        EXPECT_EQ(dir.read(std::string("T") + extension).find("nan"), std::string::npos);
    EXPECT_EQ(ours.val(8, 0), 0.0);
    EXPECT_EQ(ours.val(8, 1), 0.0);
    EXPECT_EQ(matrix(dir / "T.rcm").val(0, 8), 0.0);

    // The others rotate much as without it.
    matrix others(8, 2, 0.0);
    for (int i = 0; i < 8; ++i)
        others.copy_row(ours, i, i);
    EXPECT_LT(distance_up_to_order_and_sign(
                  others, pattern(harman23_varimax_rows, harman23_varimax_cols, harman23_varimax)),
              0.05);
}

}  // namespace
