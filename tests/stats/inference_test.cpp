// The tests and intervals of the comparison and confidence-interval
// dialogs, from summary statistics.  Expected values are R's on the same
// summaries (pt, pf, pnorm, qt, binom.test; tests/reference/
// make_dialog_reference.R prints them) or the formulas worked out beside
// the case; the probabilities carry the 3e-7 of the incomplete beta
// function, the critical t of the mean's interval its 0.0001 steps.
#include "stats/fperror.h"
#include "stats/inference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(OneSampleTTest, MeanAgainstThePopulation)
{
    // t = |0 - 0.5| / (0.5 / sqrt(10)) = sqrt(10), 9 df:
    // pt(sqrt(10), 9, lower.tail = FALSE) = 0.0057540.
    const TTest test = OneSampleTTest(0.5, 0, 0.5, 10);
    EXPECT_NEAR(test.t, std::sqrt(10.0), 1e-15);
    EXPECT_EQ(test.df, 9);
    EXPECT_NEAR(test.p, 0.0057540, 1e-7);
    EXPECT_EQ(OneSampleTTest(-0.5, 0, 0.5, 10).t, test.t);
}

TEST(OneSampleTTest, NoSpread)
{
    EXPECT_THROW(OneSampleTTest(0.5, 0, 0, 10), DivisionByZeroError);
    EXPECT_THROW(OneSampleTTest(0, 0, 0, 10), InvalidOperationError);
}

// Sample 1: m 10, s 10, n 10; sample 2: m 12, s 12, n 12.
TEST(TwoSamples, EqualVariancesPooledAndWelch)
{
    // F = 144 / 100; 2 * pf(1.44, 11, 9, lower.tail = FALSE) = 0.59389.
    const VarianceRatioTest equality = EqualVariancesTest(10, 10, 12, 12);
    EXPECT_NEAR(equality.F, 1.44, 1e-15);
    EXPECT_NEAR(equality.p, 0.59389, 5e-6);

    // vp = (9 * 100 + 11 * 144) / 20 = 124.2 with 20 df; pt gives 0.33979.
    const TTest pooled = PooledTTest(10, 10, 10, 12, 12, 12);
    EXPECT_NEAR(pooled.t, 2 / std::sqrt(124.2 / 10 + 124.2 / 12), 1e-15);
    EXPECT_EQ(pooled.df, 20);
    EXPECT_NEAR(pooled.p, 0.33979, 5e-6);

    // t' = 2 / sqrt(100 / 10 + 144 / 12), df' = 22^2 / (10^2 / 9 +
    // 12^2 / 11) = 19.998; pt gives 0.33719.
    const TTest welch = UnequalVariancesTTest(10, 10, 10, 12, 12, 12);
    EXPECT_NEAR(welch.t, 2 / std::sqrt(22.0), 1e-15);
    EXPECT_NEAR(welch.df, 22.0 * 22 / (100.0 / 9 + 144.0 / 11), 1e-12);
    EXPECT_NEAR(welch.p, 0.33719, 5e-6);
}

TEST(TwoSamples, UnequalSizes)
{
    // n2 = 40: 2 * pf(1.44, 39, 9, lower.tail = FALSE) = 0.58079; the
    // pooled t 0.48552 with 48 df; Welch's df' = (10 + 3.6)^2 / (10^2 / 9 +
    // 3.6^2 / 39) = 16.163.
    EXPECT_NEAR(EqualVariancesTest(10, 10, 12, 40).p, 0.58079, 5e-6);
    const TTest pooled = PooledTTest(10, 10, 10, 12, 12, 40);
    EXPECT_NEAR(pooled.t, 0.48552, 5e-6);
    EXPECT_EQ(pooled.df, 48);
    const TTest welch = UnequalVariancesTTest(10, 10, 10, 12, 12, 40);
    EXPECT_NEAR(welch.t, 2 / std::sqrt(13.6), 1e-15);
    EXPECT_NEAR(welch.df, 13.6 * 13.6 / (100.0 / 9 + 3.6 * 3.6 / 39), 1e-12);
}

// Equal spreads: F = 1 with 99 and 1 degrees of freedom, whose upper tail
// 0.68025 would double to 1.36; 2 * min(P, 1 - P) = 0.63950.
TEST(TwoSamples, VarianceTestStaysAProbability)
{
    const VarianceRatioTest equality = EqualVariancesTest(10, 2, 10, 100);
    EXPECT_EQ(equality.F, 1);
    EXPECT_NEAR(equality.p, 0.63950, 5e-6);
}

TEST(TwoSamples, Failures)
{
    EXPECT_THROW(EqualVariancesTest(5, 10, 0, 10), DivisionByZeroError);
    EXPECT_THROW(EqualVariancesTest(0, 10, 0, 10), InvalidOperationError);
    // Spreads whose ratio is 1 but whose variances exceed a double: the
    // variance test passes, the t tests overflow.
    EXPECT_EQ(EqualVariancesTest(1e200, 10, 1e200, 10).F, 1);
    EXPECT_THROW(PooledTTest(0, 1e200, 10, 1, 1e200, 10), OverflowError);
    EXPECT_THROW(UnequalVariancesTTest(0, 1e200, 10, 1, 1e200, 10), OverflowError);
}

// The largest sample size a field can hold: 10 + 2147483647 - 2 degrees of
// freedom, counted without an integer overflow.
TEST(TwoSamples, SizesUpToTheLargestInteger)
{
    constexpr int largest = std::numeric_limits<int>::max();
    EXPECT_EQ(PooledTTest(10, 10, 10, 12, 12, largest).df, 2147483655.0);
    EXPECT_EQ(PooledTTest(10, 10, largest, 12, 12, largest).df, 4294967292.0);
}

TEST(CorrelationDifferenceTest, FisherZ)
{
    // z = |atanh(0.5) - atanh(0.3)| / sqrt(1/7 + 1/7) = 0.44860;
    // pnorm(0.44860, lower.tail = FALSE) = 0.32686.
    const ZTest test = CorrelationDifferenceTest(0.5, 10, 0.3, 10);
    EXPECT_NEAR(test.z, (std::atanh(0.5) - std::atanh(0.3)) / std::sqrt(2.0 / 7), 1e-14);
    EXPECT_NEAR(test.p, 0.32686, 5e-6);
    EXPECT_EQ(CorrelationDifferenceTest(0.3, 10, 0.5, 10).z, test.z);
}

TEST(CorrelationDifferenceTest, Failures)
{
    // 1 / (3 - 3); sqrt(-1 + 1/7); ln 0.
    EXPECT_THROW(CorrelationDifferenceTest(0.5, 3, 0.3, 10), DivisionByZeroError);
    EXPECT_THROW(CorrelationDifferenceTest(0.5, 2, 0.3, 10), InvalidOperationError);
    EXPECT_THROW(CorrelationDifferenceTest(1, 10, 0.3, 10), DivisionByZeroError);
}

TEST(MeanConfidenceInterval, CriticalTOfTheLevel)
{
    // qt(0.975, 9) = 2.26216, h = 2.26216 * 0.5 / sqrt(10) = 0.35768.
    Interval interval = MeanConfidenceInterval(0.5, 0.5, 10, 95);
    EXPECT_NEAR(interval.lower, 0.5 - 0.35768, 5e-5);
    EXPECT_NEAR(interval.upper, 0.5 + 0.35768, 5e-5);
    EXPECT_NEAR(interval.upper - 0.5, 0.5 - interval.lower, 1e-15);
    // qt(0.999995, 9) = 8.82748, h = 1.39575.
    interval = MeanConfidenceInterval(0.5, 0.5, 10, 99.999);
    EXPECT_NEAR(interval.lower, 0.5 - 1.39575, 5e-5);
    EXPECT_NEAR(interval.upper, 0.5 + 1.39575, 5e-5);
    EXPECT_THROW(MeanConfidenceInterval(0.5, 0.5, 0, 95), DivisionByZeroError);
}

TEST(ProportionConfidenceInterval, ClopperPearson)
{
    const struct {
        int x, n;
        // binom.test(x, n)$conf.int to 5 digits: within half a unit of the last
        double lower, upper;
    } cases[] = {{1, 10, 0.0025286, 0.44502},
                 {5, 10, 0.18709, 0.81291},
                 {9, 10, 0.55498, 0.99747},
                 {1, 20, 0.0012651, 0.24873}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.x);
        const Interval interval = ProportionConfidenceInterval(c.x, c.n, 95);
        EXPECT_NEAR(interval.lower, c.lower, 5e-5 * c.lower);
        EXPECT_NEAR(interval.upper, c.upper, 5e-5 * c.upper);
    }
}

TEST(ProportionConfidenceInterval, LevelsOutsideTheirRange)
{
    EXPECT_THROW(ProportionConfidenceInterval(1, 10, 150), InvalidOperationError);
    EXPECT_THROW(ProportionConfidenceInterval(1, 10, -1), InvalidOperationError);
    // At 100 percent the upper limit's tail area is 0: 1 / 0.
    EXPECT_THROW(ProportionConfidenceInterval(1, 10, 100), DivisionByZeroError);
}
