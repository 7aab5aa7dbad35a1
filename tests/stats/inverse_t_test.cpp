// Critical values of t, Fisher's z and the interval of a correlation.
#include "stats/fperror.h"
#include "stats/inverse_t.h"

#include <gtest/gtest.h>

#include <cmath>

// The stepping stops within 0.0001 above the exact quantile when the
// approximation starts above it; the five-decimal values below are those
// of the stepping (where the exact quantile differs, it is noted).
TEST(InverseStudentT, FiveDecimalValues)
{
    EXPECT_NEAR(InverseStudentT(1, 0.975), 12.70629, 5e-6);  // exact 12.70620
    EXPECT_NEAR(InverseStudentT(1, 0.025), 12.70629, 5e-6);
    EXPECT_NEAR(InverseStudentT(2, 0.975), 4.30267, 5e-6);
    EXPECT_NEAR(InverseStudentT(6, 0.975), 2.44694, 5e-6);   // the approximation gives 2.45054
    EXPECT_NEAR(InverseStudentT(10, 0.975), 2.22817, 5e-6);
    EXPECT_NEAR(InverseStudentT(10, 0.95), 1.81247, 5e-6);
    EXPECT_NEAR(InverseStudentT(10, 0.9), 1.37190, 5e-6);    // below the exact 1.37218
    EXPECT_NEAR(InverseStudentT(30, 0.975), 2.04233, 5e-6);
    EXPECT_NEAR(InverseStudentT(50000, 0.025), 1.96001, 5e-6);
    EXPECT_EQ(InverseStudentT(980000, 0.025), InverseStudentT(50000, 0.025));
    for (const int df : {1, 2, 7, 100, 50000})
        EXPECT_LT(InverseStudentT(df, 0.5), 1e-7) << df;
}

TEST(InverseStudentT, NoDegreesOfFreedomAndInvalidAreas)
{
    for (const double p : {0.0, 0.3, 1.0, 7.0})
        EXPECT_EQ(InverseStudentT(0, p), 0.0) << p;
    EXPECT_THROW(InverseStudentT(5, 0), DivisionByZeroError);
    EXPECT_THROW(InverseStudentT(5, 1), DivisionByZeroError);
    EXPECT_THROW(InverseStudentT(5, 1.5), InvalidOperationError);
    EXPECT_THROW(InverseStudentT(5, -0.5), InvalidOperationError);
}

TEST(InverseStudentT, MillionsOfUnitStepsAnswerAtOnce)
{
    // One degree of freedom: the tail area of t is atan(1/t)/pi, so the
    // quantile of area b is cot(pi b).  At P = 0.999995 the approximation
    // lies two million units above it.
    const double exact = 1 / std::tan(M_PI * 5e-6);
    const double t = InverseStudentT(1, 0.999995);
    EXPECT_GE(t, exact - 1e-6);
    EXPECT_LT(t, exact + 1e-4);
}

TEST(InverseStudentT, LevelsBeyondTheDialogRange)
{
    // The closest level to 100 percent that a double holds: b = 2^-53.
    // The approximation lies beyond 2^53, where steps of 1 no longer change
    // a double; capped below it, the unit pass walks some 6e15 steps.
    const double b = std::ldexp(1.0, -53);
    const double exact = 1 / std::tan(M_PI * b);
    EXPECT_NEAR(InverseStudentT(1, 1 - b), exact, exact * 1e-8);
    // Two degrees of freedom: the tail area is (1 - t / sqrt(2 + t^2)) / 2,
    // so t = (1 - 2b) / sqrt(2b (1 - b)).
    const double small = 1e-12;
    EXPECT_NEAR(InverseStudentT(2, small), (1 - 2 * small) / std::sqrt(2 * small * (1 - small)), 1e-2);
    // The smallest area that 0.5 - |P - 0.5| keeps, 2^-64, has its quantile
    // near 6e18; the start capped below 2^53 is then returned as it is.
    const double far = InverseStudentT(1, std::ldexp(1.0, -64));
    EXPECT_LE(far, 9007199254740991.0);
    EXPECT_GT(far, 1e15);
}

TEST(FisherZ, ValuesAndTheEndsOfTheRange)
{
    EXPECT_NEAR(FisherZ(0.5), 0.5 * std::log(3.0), 1e-12);
    EXPECT_NEAR(InverseFisherZ(1), std::tanh(1.0), 1e-12);
    for (const double r : {-0.999, -0.5, 0.0, 0.3, 0.9999})
        EXPECT_NEAR(InverseFisherZ(FisherZ(r)), r, 1e-12) << r;
    EXPECT_EQ(InverseFisherZ(1e6), 1.0);
    EXPECT_EQ(InverseFisherZ(-1e6), -1.0);
    EXPECT_THROW(FisherZ(1), DivisionByZeroError);
    EXPECT_THROW(FisherZ(-1), DivisionByZeroError);
    EXPECT_THROW(FisherZ(1.5), InvalidOperationError);
}

TEST(CorrelationConfidenceInterval, PublishedTable)
{
    struct Row {
        int n;
        double pct;
        double r;
        double lower;
        double upper;
    };
    const Row rows[] = {
        {10, 95, 0.5, -0.18118, 0.83936},  {10, 95, -0.5, -0.83936, 0.18118}, {10, 95, 0, -0.60215, 0.60215},
        {30, 95, 0.5, 0.16676, 0.72225},   {10, 95, -0.3, -0.75704, 0.38583}, {100, 95, 0.9, 0.85354, 0.93104},
        {2, 95, 0.5, -0.99863, 0.99866},
    };
    for (const Row& row : rows) {
        double lower = 0;
        double upper = 0;
        CorrelationConfidenceInterval(row.n, lower, upper, row.pct, row.r);
        EXPECT_NEAR(lower, row.lower, 5e-6) << row.n << ' ' << row.r;
        EXPECT_NEAR(upper, row.upper, 5e-6) << row.n << ' ' << row.r;
    }
}

TEST(CorrelationConfidenceInterval, PerfectCorrelations)
{
    double lower = 0;
    double upper = 0;
    CorrelationConfidenceInterval(17, lower, upper, 80, 1);
    EXPECT_EQ(lower, 1.0);
    EXPECT_EQ(upper, 1.0);

    lower = 0.25;
    upper = 0.75;
    EXPECT_THROW(CorrelationConfidenceInterval(10, lower, upper, 95, -1), DivisionByZeroError);
    EXPECT_EQ(lower, 0.25);
    EXPECT_EQ(upper, 0.75);
}

TEST(CorrelationBoundZ, NeedsAtLeastTwoCases)
{
    EXPECT_THROW(CorrelationBoundZ(1.96, 0.5, 20, 15, 0, 0.5), DivisionByZeroError);
}
