#include "stats/probabilities.h"

#include "stats/fperror.h"
#include "stats/gamma_beta.h"

#include <algorithm>
#include <climits>
#include <cmath>

double StudentTProbability(double T, double DF)
{
    try {
        const long double t = T;
        const long double df = DF;
        return Stored(0.5L * IncompleteBeta(static_cast<double>(df / 2), 0.5,
                                            static_cast<double>(Divide(df, df + t * t))));
    } catch (const FloatingPointError&) {
        return 0;
    }
}

double CorrelationProbability(int N, double R)
{
    const long double a = std::fabs(static_cast<long double>(R));
    // The t form holds for every |R| below 1, however close.
    if (a < 1) {
        const long double df = static_cast<long double>(N) - 2;
        return StudentTProbability(Stored(a * Sqrt(Divide(df, 1 - a * a))), static_cast<double>(df));
    }
    return 0;
}

double FProbability(double F, double DF1, double DF2)
{
    if (F <= 0)
        return 1;
    const long double f = F;
    const long double d1 = DF1;
    const long double d2 = DF2;
    // The mean of two equal forms of the upper tail.
    const long double lower = IncompleteBeta(static_cast<double>(d1 / 2), static_cast<double>(d2 / 2),
                                             static_cast<double>(Divide(d1, d1 + Divide(d2, f))));
    const long double upper = IncompleteBeta(static_cast<double>(d2 / 2), static_cast<double>(d1 / 2),
                                             static_cast<double>(Divide(d2, d2 + f * d1)));
    return Stored((1 - lower + upper) / 2);
}

double ChiSquareProbability(double DF, double Chi)
{
    const double a = static_cast<double>(DF / 2.0L);
    const double x = static_cast<double>(Chi / 2.0L);
    if (x <= 0)
        return 1;
    double lnGammaA;
    if (x < a + 1.0L) {
        double p;
        IncompleteGammaSeries(p, lnGammaA, a, x);
        return Stored(1 - static_cast<long double>(p));
    }
    double q;
    IncompleteGammaFraction(q, lnGammaA, a, x);
    return q;
}

double NormalTailProbability(double Z)
{
    const long double a = std::fabs(static_cast<long double>(Z));
    if (a > 100)
        return 0;
    const long double t = Divide(1, 1 + 0.2316419L * a);
    return Stored(0.398942280444L * Exp(-a * a / 2) * t *
                  (0.31938153L - t * (0.356563782L - t * (1.781477937L - t * (1.821255978L - 1.330274429L * t)))));
}

namespace {

// A Poisson term whose exponent is at most this counts as 0: exp(-78) is
// about 1.3e-34, nothing beside a probability printed with four decimals.
constexpr int kLargestZeroTermExponent = -78;

// Below the mode (c + 1 <= Mu) the terms grow with c, so those that count
// as 0 form a leading run.  Finds its end by bisection: a large mean with a
// large count would otherwise cost a logarithm of the gamma function for
// each of up to two billion terms that add nothing.
template <class Exponent>
int FirstCountingTerm(int K, double Mu, const Exponent &exponent)
{
    if (exponent(0) > kLargestZeroTermExponent)
        return 0;
    const int top = Mu < K - 1 ? static_cast<int>(Mu) : K - 1;
    // exponent(low) counts as 0; the answer is in (low, high]
    int low = 0, high = top + 1;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        if (exponent(middle) > kLargestZeroTermExponent)
            high = middle;
        else
            low = middle;
    }
    return high;
}

}  // namespace

double PoissonProbabilityBelow(int K, double Mu)
{
    if (K <= 0)
        return 0;
    // Every term takes the logarithm of Mu, so a mean of 0 or below fails
    // at the first one; it is the same for all of them.
    const long double lnMu = Ln(Mu);
    const auto exponent = [&](int c) { return c * lnMu - Mu - LogGamma(c + 1.0); };
    long double sum = 0;
    for (int c = FirstCountingTerm(K, Mu, exponent); c < K; ++c) {
        const long double e = exponent(c);
        if (e > kLargestZeroTermExponent)
            sum += Exp(e);
        else if (c > Mu)
            break;  // past the mode the terms only shrink: the rest count as 0 too
    }
    return Stored(sum);
}

double BinomialUpperTail(int X, int N, double P)
{
    if (X == 0)
        return 1;
    if (X == N)
        return BinomialPointProbability(X, N, P);
    return IncompleteBeta(X, static_cast<double>(static_cast<long long>(N) - X + 1), P);
}

double BinomialPointProbability(int X, int N, double P)
{
    // No trials: no successes for certain.
    if (N == 0)
        return 1;
    if (X == 0)
        return Stored(1 - static_cast<long double>(IncompleteBeta(1, N, P)));
    if (X == N)
        return BinomialPointProbability(0, N, static_cast<double>(1 - static_cast<long double>(P)));
    const long long failures = static_cast<long long>(N) - X;
    return Stored(static_cast<long double>(IncompleteBeta(X, static_cast<double>(failures + 1), P)) -
                  IncompleteBeta(X + 1.0, static_cast<double>(failures), P));
}

CountProbabilities BinomialProbabilities(int X, int N, double P)
{
    const double upperTail = BinomialUpperTail(X, N, P);
    const double point = BinomialPointProbability(X, N, P);
    const long double below = 1 - static_cast<long double>(upperTail);
    return {static_cast<double>(below + point), point, upperTail};
}

namespace {

// P(X < K) for a count typed as x, so K = x + 1 may lie one beyond the
// range of an int; P(X < INT_MAX) stands for it there.
long double Below(long long K, double Mu)
{
    return PoissonProbabilityBelow(static_cast<int>(std::min<long long>(K, INT_MAX)), Mu);
}

}  // namespace

CountProbabilities PoissonProbabilities(long long X, double Mu)
{
    const long double belowNext = Below(X + 1, Mu);
    const long double below = Below(X, Mu);
    return {static_cast<double>(belowNext), static_cast<double>((1 - below) - (1 - belowNext)),
            static_cast<double>(1 - below)};
}
