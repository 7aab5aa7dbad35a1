// Accuracy over the arguments the calculator accepts, against R (values in
// tests/reference/stats_reference.inc, made by make_stats_reference.R):
// degrees of freedom up to 100,000, a million binomial trials, Poisson
// means up to 10,000 with counts up to 32,000, tails down to 1e-6.
//
// The dialogs print probabilities with four decimals; every bound below
// is far inside the half unit (5e-5) that could change a printed digit.
// The bounds are those of the deliberate approximations: the continued
// fraction of the incomplete beta stops at a relative change of 3e-7, the
// normal tail is a polynomial good to 7.5e-8, and the critical t is found
// by stepping down from an approximation.
#include "stats/inverse_t.h"
#include "stats/probabilities.h"
#include "stats/gamma_beta.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct GammaCase {
    double x, lgamma;
};
struct TailCase {
    double t, df, upper;
};
struct FCase {
    double f, df1, df2, upper;
};
struct ChiSquareCase {
    double df, chi, upper;
};
struct NormalCase {
    double z, upper;
};
struct PoissonCase {
    double k, mu, below;
};
struct BinomialCase {
    double x, n, p, atLeast, exactly;
};
struct CorrelationCase {
    double n, r, upper;
};
struct QuantileCase {
    double df, p, t;
};
struct BetaQuantileCase {
    double p, q, alpha, x;
};

#include "tests/reference/stats_reference.inc"

constexpr double kBetaFraction = 3e-7;     // the continued fraction's tolerance
constexpr double kNormalPolynomial = 1e-7; // 7.5e-8 and rounding
constexpr double kSeries = 1e-8;           // everything else

}  // namespace

TEST(Accuracy, LogGamma)
{
    // The six-term series is good to about 2e-10 relative in Γ.
    for (const GammaCase& c : kLogGamma)
        EXPECT_NEAR(LogGamma(c.x), c.lgamma, 1e-9 + 1e-15 * std::fabs(c.lgamma)) << c.x;
}

TEST(Accuracy, StudentT)
{
    for (const TailCase& c : kStudentT)
        EXPECT_NEAR(StudentTProbability(c.t, c.df), c.upper, kSeries) << c.t << ' ' << c.df;
}

TEST(Accuracy, F)
{
    for (const FCase& c : kF)
        EXPECT_NEAR(FProbability(c.f, c.df1, c.df2), c.upper, kBetaFraction) << c.f << ' ' << c.df1 << ' ' << c.df2;
}

TEST(Accuracy, ChiSquare)
{
    for (const ChiSquareCase& c : kChiSquare)
        EXPECT_NEAR(ChiSquareProbability(c.df, c.chi), c.upper, kSeries) << c.df << ' ' << c.chi;
}

TEST(Accuracy, Normal)
{
    for (const NormalCase& c : kNormal)
        EXPECT_NEAR(NormalTailProbability(c.z), c.upper, kNormalPolynomial) << c.z;
}

TEST(Accuracy, Poisson)
{
    for (const PoissonCase& c : kPoisson)
        EXPECT_NEAR(PoissonProbabilityBelow(static_cast<int>(c.k), c.mu), c.below, kSeries) << c.k << ' ' << c.mu;
}

TEST(Accuracy, Binomial)
{
    for (const BinomialCase& c : kBinomial) {
        const int x = static_cast<int>(c.x);
        const int n = static_cast<int>(c.n);
        EXPECT_NEAR(BinomialUpperTail(x, n, c.p), c.atLeast, kBetaFraction) << x << ' ' << n << ' ' << c.p;
        // The difference of two tails, each good to the fraction's tolerance.
        EXPECT_NEAR(BinomialPointProbability(x, n, c.p), c.exactly, 2 * kBetaFraction) << x << ' ' << n << ' ' << c.p;
    }
}

TEST(Accuracy, Correlation)
{
    for (const CorrelationCase& c : kCorrelation)
        EXPECT_NEAR(CorrelationProbability(static_cast<int>(c.n), c.r), c.upper, kSeries) << c.n << ' ' << c.r;
}

TEST(Accuracy, InverseIncompleteBeta)
{
    // The Newton steps stop once a step falls below about 1e-7.
    for (const BetaQuantileCase& c : kBetaQuantile)
        EXPECT_NEAR(InverseIncompleteBeta(c.p, c.q, c.alpha), c.x, 2e-7) << c.p << ' ' << c.q << ' ' << c.alpha;
}

TEST(Accuracy, InverseStudentT)
{
    // Stepping down ends less than one fine step (0.0001) above the exact
    // quantile t*.  An approximation that starts below t* is returned as it
    // is: up to 0.014 low at 1 degree of freedom and small confidence
    // (t* = 1 at 75 percent gives 0.98645), less than 4e-4 from 10 degrees
    // of freedom on, and 1e-7 from 1000 on.
    for (const QuantileCase& c : kStudentTQuantile) {
        const double t = InverseStudentT(static_cast<int>(c.df), c.p);
        EXPECT_LT(t, c.t + 1e-4 + 1e-9 * c.t) << c.df << ' ' << c.p;
        const double below = c.df < 10 ? 0.014 : c.df < 1000 ? 4e-4 : 1e-7;
        EXPECT_GT(t, c.t - below) << c.df << ' ' << c.p;
    }
}
