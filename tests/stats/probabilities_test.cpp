// The tail probabilities: textbook values, the errors they let through and
// the cases where a plain evaluation of the formulas goes wrong.
#include "stats/fperror.h"
#include "stats/probabilities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(StudentTProbability, TableValuesAndFailuresAsZero)
{
    EXPECT_NEAR(StudentTProbability(0, 10), 0.5, 1e-12);
    EXPECT_NEAR(StudentTProbability(2.228, 10), 0.025, 1e-4);    // t table, 10 df
    EXPECT_NEAR(StudentTProbability(-2.228, 10), 0.025, 1e-4);   // the tail of |T|
    EXPECT_NEAR(StudentTProbability(1, 1), 0.25, 1e-9);          // Cauchy: 1/2 - atan(1)/pi
    // Every failure inside gives 0: no degrees of freedom, negative ones,
    // values that are not numbers.
    EXPECT_EQ(StudentTProbability(1, 0), 0.0);
    EXPECT_EQ(StudentTProbability(1, -3), 0.0);
    EXPECT_EQ(StudentTProbability(std::numeric_limits<double>::quiet_NaN(), 5), 0.0);
    EXPECT_EQ(StudentTProbability(1, std::numeric_limits<double>::infinity()), 0.0);
}

TEST(CorrelationProbability, SymmetricAndExactForSmallSamples)
{
    EXPECT_EQ(CorrelationProbability(10, -0.5), CorrelationProbability(10, 0.5));
    EXPECT_NEAR(CorrelationProbability(10, 0), 0.5, 1e-12);
    // With N = 3 the t has 1 degree of freedom, t = r / sqrt(1 - r^2), and
    // the tail is 1/2 - atan(t)/pi: about 0.0045 at r = 0.9999, far from 0.
    const double r = 0.9999;
    EXPECT_NEAR(CorrelationProbability(3, r), 0.5 - std::atan(r / std::sqrt(1 - r * r)) / M_PI, 1e-9);
    EXPECT_GT(CorrelationProbability(10, 0.99995), 0.0);
    EXPECT_LT(CorrelationProbability(10, 0.99995), 1e-12);
    EXPECT_EQ(CorrelationProbability(10, 1), 0.0);
    EXPECT_EQ(CorrelationProbability(10, -1), 0.0);
}

TEST(FProbability, NonPositiveFAndTableValues)
{
    EXPECT_EQ(FProbability(0, 3, 4), 1.0);
    EXPECT_EQ(FProbability(-1, 3, 4), 1.0);
    EXPECT_NEAR(FProbability(6.59, 3, 4), 0.05, 1e-4);   // F table, 5 percent
    EXPECT_NEAR(FProbability(1, 7, 7), 0.5, 1e-7);       // equal degrees of freedom
    // F(1, n) is t^2 with n degrees of freedom.
    EXPECT_NEAR(FProbability(4, 1, 12), 2 * StudentTProbability(2, 12), 1e-7);
}

TEST(ChiSquareProbability, TableValuesAndClosedForm)
{
    EXPECT_EQ(ChiSquareProbability(1, 0), 1.0);
    EXPECT_NEAR(ChiSquareProbability(1, 3.841), 0.05, 1e-4);
    // With 2 degrees of freedom the upper tail is e^(-x/2), on both sides
    // of the switch between series and fraction.
    for (const double chi : {0.5, 3.9, 4.1, 20.0})
        EXPECT_NEAR(ChiSquareProbability(2, chi), std::exp(-chi / 2), 1e-9) << chi;
}

TEST(ChiSquareProbability, ManyDegreesOfFreedom)
{
    // For large k the median lies about 2/3 below the mean k, where the
    // density is about 1/sqrt(4 pi k), so the tail at chi = k is close to
    // 1/2 - 1/(3 sqrt(pi k)).  A hundred series terms give nonsense here.
    for (const double k : {2000.0, 20000.0, 100000.0})
        EXPECT_NEAR(ChiSquareProbability(k, k), 0.5 - 1 / (3 * std::sqrt(M_PI * k)), 1e-5) << k;
}

TEST(NormalTailProbability, ApproximationOfTheUpperTail)
{
    // The polynomial approximation is good to 7.5e-8.
    EXPECT_NEAR(NormalTailProbability(1.96), 0.0249979, 1e-7);
    EXPECT_EQ(NormalTailProbability(-1.96), NormalTailProbability(1.96));
    EXPECT_NEAR(NormalTailProbability(0), 0.5, 1e-7);
    EXPECT_EQ(NormalTailProbability(101), 0.0);
    EXPECT_EQ(NormalTailProbability(60), 0.0);  // underflows without error
}

TEST(PoissonProbabilityBelow, SmallCountsAndTheZeroMean)
{
    EXPECT_EQ(PoissonProbabilityBelow(0, 2.5), 0.0);
    EXPECT_NEAR(PoissonProbabilityBelow(1, 2.5), std::exp(-2.5), 1e-9);
    EXPECT_NEAR(PoissonProbabilityBelow(3, 2.5), std::exp(-2.5) * (1 + 2.5 + 2.5 * 2.5 / 2), 1e-9);
    EXPECT_THROW(PoissonProbabilityBelow(1, 0), DivisionByZeroError);
    EXPECT_THROW(PoissonProbabilityBelow(1, -2), InvalidOperationError);
}

TEST(PoissonProbabilityBelow, CountsFarAboveTheMean)
{
    // Counts beyond the 16-bit range and far past the mode sum to 1.
    EXPECT_NEAR(PoissonProbabilityBelow(32000, 10000), 1.0, 1e-9);
    EXPECT_NEAR(PoissonProbabilityBelow(2000000000, 3), 1.0, 1e-9);
}

TEST(PoissonProbabilityBelow, LargeMeansSkipTheTermsThatCountAsZero)
{
    // R: ppois(1e9 - 1, 1e9) = 0.49999579477913; ppois(2e9 - 1, 1e9) = 1;
    // ppois(1e5 - 1, 1e5 + 300) = 0.171363688748792.  The first two would
    // sum a billion terms one by one.
    EXPECT_NEAR(PoissonProbabilityBelow(1000000000, 1e9), 0.49999579477913, 1e-6);
    EXPECT_NEAR(PoissonProbabilityBelow(2000000000, 1e9), 1.0, 1e-6);
    EXPECT_NEAR(PoissonProbabilityBelow(100000, 1e5 + 300), 0.171363688748792, 1e-7);
    // Every term below the mode counts as 0: nothing is left to add.
    EXPECT_EQ(PoissonProbabilityBelow(32000, 1e9), 0.0);
}

TEST(Binomial, PointAndUpperTailProbabilities)
{
    EXPECT_EQ(BinomialUpperTail(0, 10, 0.3), 1.0);
    EXPECT_NEAR(BinomialPointProbability(0, 10, 0.3), std::pow(0.7, 10), 1e-9);
    EXPECT_NEAR(BinomialPointProbability(10, 10, 0.3), std::pow(0.3, 10), 1e-9);
    EXPECT_NEAR(BinomialUpperTail(10, 10, 0.3), std::pow(0.3, 10), 1e-9);
    // C(10, 3) 0.3^3 0.7^7 and the tail 1 - P(S <= 2).
    EXPECT_NEAR(BinomialPointProbability(3, 10, 0.3), 120 * std::pow(0.3, 3) * std::pow(0.7, 7), 1e-7);
    const double atMostTwo = std::pow(0.7, 10) + 10 * 0.3 * std::pow(0.7, 9) + 45 * 0.09 * std::pow(0.7, 8);
    EXPECT_NEAR(BinomialUpperTail(3, 10, 0.3), 1 - atMostTwo, 1e-7);
}

TEST(Binomial, NoTrialsMeansNoSuccessesForCertain)
{
    for (const double p : {0.0, 0.1, 0.5, 2.0 / 3, 0.9, 1.0}) {
        EXPECT_EQ(BinomialPointProbability(0, 0, p), 1.0) << p;
        EXPECT_EQ(BinomialUpperTail(0, 0, p), 1.0) << p;
    }
}

TEST(Binomial, ProbabilityOutsideTheUnitIntervalFails)
{
    EXPECT_THROW(BinomialUpperTail(3, 10, 1.5), InvalidOperationError);
    EXPECT_THROW(BinomialPointProbability(3, 10, -0.5), InvalidOperationError);
}

TEST(Binomial, MillionTrials)
{
    // At the mean of a million fair trials the point probability is
    // C(n, n/2) / 2^n = sqrt(2 / (pi n)) (1 - 1/(4n) + ...) and the upper tail
    // from the mean half of one plus that.  A hundred rounds of the
    // continued fraction give negative probabilities here.  The point
    // probability is the difference of two tails near 1/2, each found to
    // the fraction's relative 3e-7, hence the tolerance.
    const int n = 1000000;
    const double point = std::sqrt(2 / (M_PI * n)) * (1 - 0.25 / n);
    EXPECT_NEAR(BinomialPointProbability(n / 2, n, 0.5), point, 3e-7);
    EXPECT_NEAR(BinomialUpperTail(n / 2, n, 0.5), 0.5 + point / 2, 3e-7);
}

// n = 4, p = 1/2: the counts 0..4 have 1, 4, 6, 4, 1 sixteenths.
TEST(BinomialProbabilities, AtMostExactlyAtLeast)
{
    CountProbabilities P = BinomialProbabilities(2, 4, 0.5);
    EXPECT_NEAR(P.atMost, 11.0 / 16, 1e-7);
    EXPECT_NEAR(P.exactly, 6.0 / 16, 1e-7);
    EXPECT_NEAR(P.atLeast, 11.0 / 16, 1e-7);
    P = BinomialProbabilities(0, 4, 0.5);
    EXPECT_NEAR(P.atMost, 1.0 / 16, 1e-7);
    EXPECT_EQ(P.atLeast, 1);
    P = BinomialProbabilities(4, 4, 0.5);
    EXPECT_NEAR(P.atMost, 1, 1e-7);
    EXPECT_NEAR(P.atLeast, 1.0 / 16, 1e-7);
}

TEST(PoissonProbabilities, AtMostExactlyAtLeast)
{
    // Mean 2: P(0), P(1), P(2) = e^-2 (1, 2, 2).
    CountProbabilities P = PoissonProbabilities(2, 2);
    EXPECT_NEAR(P.atMost, 5 * std::exp(-2.0), 1e-9);  // the Lanczos series of ln Γ
    EXPECT_NEAR(P.exactly, 2 * std::exp(-2.0), 1e-9);
    EXPECT_NEAR(P.atLeast, 1 - 3 * std::exp(-2.0), 1e-9);
    P = PoissonProbabilities(0, 0.5);
    EXPECT_NEAR(P.atMost, std::exp(-0.5), 1e-9);
    EXPECT_EQ(P.atLeast, 1);
    // A negative count: nothing at most, everything at least.
    P = PoissonProbabilities(-1, 0.5);
    EXPECT_EQ(P.atMost, 0);
    EXPECT_EQ(P.exactly, 0);
    EXPECT_EQ(P.atLeast, 1);
    EXPECT_THROW(PoissonProbabilities(0, 0), DivisionByZeroError);  // ln 0
}

// The largest int: x + 1 lies beyond an int, P(X < INT_MAX) stands for
// P(X <= INT_MAX), which is 1 for a small mean.
TEST(PoissonProbabilities, CountAtTheEndOfTheIntRange)
{
    const CountProbabilities P = PoissonProbabilities(2147483647, 1);
    EXPECT_NEAR(P.atMost, 1, 1e-9);
    EXPECT_EQ(P.exactly, 0);
    EXPECT_NEAR(P.atLeast, 0, 1e-9);
}
