#include "stats/inverse_t.h"

#include "stats/descent.h"
#include "stats/fperror.h"
#include "stats/probabilities.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

// The start value stays below 2^53, where a step of 1 is still exact; above
// it steps of 1 round and soon leave t unchanged.
constexpr long double kLargestStart = 9007199254740991.0L;  // 2^53 - 1

// The most degrees of freedom the inverse t takes; more are taken as these.
constexpr int kMostDegreesOfFreedom = 50000;
// The degrees of freedom that the interval of a correlation asks the inverse
// t for: any number above kMostDegreesOfFreedom gives its critical value
// (1.96001 at 95 percent, beside the normal 1.95996).
constexpr int kCorrelationDegreesOfFreedom = 980000;
static_assert(kCorrelationDegreesOfFreedom > kMostDegreesOfFreedom);

}  // namespace

double FisherZ(double R)
{
    const long double r = R;
    return Stored(0.5L * Ln(1 + r) - 0.5L * Ln(1 - r));
}

double InverseFisherZ(double X)
{
    const long double x = X;
    // Beyond the range of the exponential the quotient is 1 to any precision.
    if (2 * x > std::log(std::numeric_limits<long double>::max()))
        return 1;
    return Stored(Divide(Exp(2 * x) - 1, Exp(2 * x) + 1));
}

double InverseStudentT(int DF, double P)
{
    if (DF == 0)
        return 0;
    if (DF > kMostDegreesOfFreedom)
        DF = kMostDegreesOfFreedom;
    const long double df = DF;

    const double b = Stored(0.5L - std::fabs(P - 0.5L));

    // Normal quantile for the upper tail b (Odeh and Evans).
    const double y = Stored(Sqrt(-2 * Ln(b)));
    const long double numerator =
        0.322232431088L +
        y * (1 + y * (0.342242088547L + y * (0.0204231210245L + y * 4.53642210148e-5L)));
    const long double denominator =
        0.099348462606L +
        y * (0.588581570495L + y * (0.531103462366L + y * (0.10353775285L + y * 0.0038560700634L)));
    const double z = Stored(y - Divide(numerator, denominator));

    // Transformed to t.
    const long long eightDfPlusOne = 8LL * DF + 1;
    const double e = Stored(z * (1 + Divide(2, eightDfPlusOne)));
    const long double start = Sqrt(df * (Exp(Divide(static_cast<long double>(e) * e, df)) - 1));
    double t = Stored(std::min(start, kLargestStart));

    const auto below = [b, DF](double candidate) { return StudentTProbability(candidate, DF) < b; };
    if (DF < 7) {
        for (const long double step : {1.0L, 0.1L, 0.01L, 0.001L})
            t = LowerWhileAccepted(t, step, below);
    }
    return LowerWhileAccepted(t, 0.0001L,
                              [b, DF](double candidate) { return StudentTProbability(candidate, DF) <= b; });
}

double CorrelationBoundZ(double C, double R, double A, double B, double F, double Z)
{
    const long double c = C;
    const long double r = R;
    const long double f = F;
    const long double rootF = Sqrt(f);
    double s = Stored(Z + Divide(c, rootF) - Divide(r, 2 * f) + Divide(c * (c * c + 3 * r * r + 3), 12 * f * rootF));
    const long double rc = r * c;
    s = Stored(s - Divide(r * (4 * rc * rc + 5 * r * r + 9), 24 * f * f));
    const long double c2 = c * c;
    return Stored(s + Divide(c * (c2 * c2 + A * c2 + B), 480 * f * f * rootF));
}

void CorrelationConfidenceInterval(int N, double& Lower, double& Upper, double Pct, double R)
{
    if (R == 1) {
        Lower = 1;
        Upper = 1;
        return;
    }
    const double c =
        InverseStudentT(kCorrelationDegreesOfFreedom, static_cast<double>((1 - Pct / 100.0L) / 2));
    const double z = FisherZ(R);
    const auto f = static_cast<double>(N - 1LL);
    const long double r = R;
    const long double r2 = r * r;
    const double a = Stored(60 * r2 * r2 - 30 * r2 + 20);
    const double b = Stored(165 * r2 * r2 + 30 * r2 + 15);
    const double minusC = -c;
    const double zl = CorrelationBoundZ(minusC, R, a, b, f, z);
    const double zu = CorrelationBoundZ(c, R, a, b, f, z);
    const double lower = InverseFisherZ(zl);
    const double upper = InverseFisherZ(zu);
    Lower = lower;
    Upper = upper;
}
