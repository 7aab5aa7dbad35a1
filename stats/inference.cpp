#include "stats/inference.h"

#include "stats/fperror.h"
#include "stats/gamma_beta.h"
#include "stats/inverse_t.h"
#include "stats/probabilities.h"

#include <algorithm>
#include <cmath>

TTest OneSampleTTest(double m, double Mu, double s, int n)
{
    const double t =
        Stored(Divide(std::fabs(static_cast<long double>(Mu) - m), Divide(s, Sqrt(n))));
    return {t, static_cast<double>(n - 1), StudentTProbability(t, n - 1)};
}

VarianceRatioTest EqualVariancesTest(double s1, int n1, double s2, int n2)
{
    const long double square1 = static_cast<long double>(s1) * s1;
    const long double square2 = static_cast<long double>(s2) * s2;
    const bool first = s1 > s2;
    const double F = Stored(first ? Divide(square1, square2) : Divide(square2, square1));
    const double upper = first ? FProbability(F, n1 - 1.0, n2 - 1.0)
                               : FProbability(F, n2 - 1.0, n1 - 1.0);
    return {F, 2 * std::min(upper, 1 - upper)};
}

namespace {

// What both t tests of two samples start from: the variances as stored,
// and the distance between the means.
struct TwoSamples {
    double v1, v2;
    long double difference;
};

TwoSamples Spreads(double m1, double s1, double m2, double s2)
{
    const double v1 = Stored(static_cast<long double>(s1) * s1);
    const double v2 = Stored(static_cast<long double>(s2) * s2);
    return {v1, v2, std::fabs(static_cast<long double>(m1) - m2)};
}

}  // namespace

TTest PooledTTest(double m1, double s1, int n1, double m2, double s2, int n2)
{
    const TwoSamples s = Spreads(m1, s1, m2, s2);
    // The sizes are added as reals: a size typed up to the largest integer
    // (the field clamps it only when the focus leaves it) must not overflow.
    const double df = static_cast<double>(static_cast<long double>(n1) + n2 - 2);
    const double vp = Stored(Divide((n1 - 1.0L) * s.v1 + (n2 - 1.0L) * s.v2, df));
    const double t = Stored(Divide(s.difference, Sqrt(Divide(vp, n1) + Divide(vp, n2))));
    return {t, df, StudentTProbability(t, df)};
}

TTest UnequalVariancesTTest(double m1, double s1, int n1, double m2, double s2, int n2)
{
    const TwoSamples s = Spreads(m1, s1, m2, s2);
    const long double share1 = Divide(s.v1, n1);
    const long double share2 = Divide(s.v2, n2);
    const double t = Stored(Divide(s.difference, Sqrt(share1 + share2)));
    const double df = Stored(Divide((share1 + share2) * (share1 + share2),
                                    Divide(share1 * share1, n1 - 1.0L)
                                        + Divide(share2 * share2, n2 - 1.0L)));
    return {t, df, StudentTProbability(t, df)};
}

ZTest CorrelationDifferenceTest(double r1, int n1, double r2, int n2)
{
    const long double spread = Sqrt(Divide(1, n1 - 3.0L) + Divide(1, n2 - 3.0L));
    const double z =
        Stored(Divide(std::fabs(static_cast<long double>(FisherZ(r1)) - FisherZ(r2)), spread));
    return {z, NormalTailProbability(z)};
}

Interval MeanConfidenceInterval(double m, double s, int n, double Pct)
{
    const long double e = Divide(s, Sqrt(n));
    const double t = InverseStudentT(n - 1, Stored(1 - (1 - Pct / 100.0L) / 2));
    const double h = Stored(t * e);
    return {Stored(m - static_cast<long double>(h)), Stored(m + static_cast<long double>(h))};
}

Interval ProportionConfidenceInterval(int x, int n, double Pct)
{
    // A level beyond 0..100 percent leaves no tail area to speak of.
    if (!(Pct >= 0 && Pct <= 100))
        throw InvalidOperationError();
    const double a = Stored((1 - Pct / 100.0L) / 2);

    // Upper limit through the F quantile of the upper tail.
    const double u1 = InverseIncompleteBeta(n - x, x + 1, a);
    const double FU = Stored((Divide(1, u1) - 1) * Divide(n - x, x + 1.0L));
    const double upper = Stored(Divide((x + 1.0L) * FU, (x + 1.0L) * FU + (n - x)));

    // Lower limit; its tail area is formed from 1 - a as stored.
    const double complement = Stored(1 - static_cast<long double>(a));
    const double a2 = Stored(1 - static_cast<long double>(complement));
    const double u2 = InverseIncompleteBeta(x, n - x + 1, a2);
    const double FL = Stored((Divide(1, u2) - 1) * Divide(x, n - x + 1.0L));
    const double lower = Stored(Divide(x, (n - x + 1.0L) * FL + x));
    return {lower, upper};
}
