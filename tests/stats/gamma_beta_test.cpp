// The special functions: values from the defining identities and the
// errors they raise.
#include "stats/fperror.h"
#include "stats/gamma_beta.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(LogGamma, FactorialsAndTheZeroConvention)
{
    EXPECT_EQ(LogGamma(0), 0.0);  // by convention, not ln Γ(0)
    EXPECT_NEAR(LogGamma(1), 0.0, 1e-9);
    EXPECT_NEAR(LogGamma(2), 0.0, 1e-9);
    EXPECT_NEAR(LogGamma(6), std::log(120.0), 1e-9);          // 5!
    EXPECT_NEAR(LogGamma(0.5), 0.5 * std::log(M_PI), 1e-9);   // Γ(1/2) = √π
}

TEST(IncompleteBeta, EndPointsAndClosedForms)
{
    for (const double a : {0.5, 1.0, 3.0, 250.0}) {
        for (const double b : {0.5, 2.0, 40.0}) {
            EXPECT_EQ(IncompleteBeta(a, b, 0), 0.0);
            EXPECT_EQ(IncompleteBeta(a, b, 1), 1.0);
        }
    }
    EXPECT_NEAR(IncompleteBeta(1, 1, 0.3), 0.3, 3e-7);
    // I_x(a, 1) = x^a and I_x(1, b) = 1 - (1 - x)^b.
    EXPECT_NEAR(IncompleteBeta(3, 1, 0.4), 0.064, 1e-7);
    EXPECT_NEAR(IncompleteBeta(1, 5, 0.2), 1 - std::pow(0.8, 5), 1e-7);
    // Symmetry: I_x(a, b) = 1 - I_{1-x}(b, a).
    EXPECT_NEAR(IncompleteBeta(2.5, 7, 0.3), 1 - IncompleteBeta(7, 2.5, 0.7), 1e-7);
}

TEST(IncompleteBeta, ArgumentOutsideTheUnitIntervalFails)
{
    EXPECT_THROW(IncompleteBeta(2, 3, 1.5), InvalidOperationError);
    EXPECT_THROW(IncompleteBeta(2, 3, -0.5), InvalidOperationError);
}

TEST(IncompleteBeta, HugeParametersConverge)
{
    // Half a million on each side: the fraction needs far more than a
    // hundred rounds.  By symmetry I_{1/2}(a, a) = 1/2.
    EXPECT_NEAR(IncompleteBeta(500000, 500000, 0.5), 0.5, 1e-6);
}

TEST(IncompleteGamma, SeriesAndFractionAgreeWithClosedForms)
{
    double p = -1;
    double lnGamma = -1;
    IncompleteGammaSeries(p, lnGamma, 3, 0);
    EXPECT_EQ(p, 0.0);
    EXPECT_NEAR(lnGamma, std::log(2.0), 1e-9);  // set even when X = 0

    // P(1, x) = 1 - e^-x.
    IncompleteGammaSeries(p, lnGamma, 1, 0.5);
    EXPECT_NEAR(p, 1 - std::exp(-0.5), 1e-9);
    double q = -1;
    IncompleteGammaFraction(q, lnGamma, 1, 4);
    EXPECT_NEAR(q, std::exp(-4.0), 1e-9);
    // Q(2, x) = (1 + x) e^-x.
    IncompleteGammaFraction(q, lnGamma, 2, 3);
    EXPECT_NEAR(q, 4 * std::exp(-3.0), 1e-9);
    EXPECT_NEAR(lnGamma, 0.0, 1e-9);
}

TEST(IncompleteGamma, LargeShapeNeedsMoreThanAHundredTerms)
{
    // At x = a the lower and upper parts are close to one half for large a
    // (P(a, a) -> 1/2 + 1/(3 sqrt(2 pi a))), reached only with thousands of
    // terms.
    const double a = 50000;
    double p;
    double q;
    double lnGamma;
    IncompleteGammaSeries(p, lnGamma, a, a);
    IncompleteGammaFraction(q, lnGamma, a, a + 2);
    EXPECT_NEAR(p, 0.5 + 1 / (3 * std::sqrt(2 * M_PI * a)), 1e-5);
    EXPECT_GT(q, 0.49);
    EXPECT_LT(q, 0.5);
}

TEST(InverseIncompleteBeta, InvalidArgumentsAndEndPoints)
{
    EXPECT_EQ(InverseIncompleteBeta(2, 3, 0), 0.0);
    EXPECT_EQ(InverseIncompleteBeta(2, 3, 1), 1.0);
    EXPECT_EQ(InverseIncompleteBeta(0, 3, 0.5), -9.0);
    EXPECT_EQ(InverseIncompleteBeta(2, -1, 0.5), -9.0);
    EXPECT_EQ(InverseIncompleteBeta(2, 3, 1.5), -9.0);
    EXPECT_EQ(InverseIncompleteBeta(2, 3, -0.1), -9.0);
}

TEST(InverseIncompleteBeta, InvertsTheIncompleteBetaFunction)
{
    // The Newton steps stop once a step is below about 1e-7, so x is found
    // to about 1e-7 (the proportion interval prints three decimals); in
    // terms of I_x that is 1e-7 times the density, not 1e-7 itself.
    for (const double p : {0.5, 1.0, 2.0, 15.0}) {
        for (const double q : {0.7, 3.0, 40.0}) {
            for (const double x : {0.001, 0.02, 0.3, 0.5, 0.8, 0.99}) {
                const double alpha = IncompleteBeta(p, q, x);
                if (alpha < 1e-6 || alpha > 1 - 1e-6)
                    continue;
                EXPECT_NEAR(InverseIncompleteBeta(p, q, alpha), x, 2e-7) << p << ' ' << q << ' ' << x;
            }
        }
    }
}

TEST(InverseIncompleteBeta, NotANumberFailsInsteadOfLoopingForever)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(InverseIncompleteBeta(2, 3, nan), InvalidOperationError);
    EXPECT_THROW(InverseIncompleteBeta(nan, 3, 0.5), InvalidOperationError);
}
