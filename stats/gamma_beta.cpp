#include "stats/gamma_beta.h"

#include "stats/fperror.h"

#include <cmath>
#include <limits>

namespace {

// The fixed numbers of rounds that the gamma routines always take, and the
// bounds after which a calculation that has still not settled is reported
// as an invalid operation instead of returning an unconverged value.  The
// bounds lie far beyond what any argument of the calculator needs (a few
// hundred rounds for a million binomial trials, a few thousand terms for
// 100,000 degrees of freedom).
constexpr int kGammaRounds = 100;
constexpr long kMaxBetaRounds = 100'000;
constexpr long kMaxGammaRounds = 100'000;
constexpr int kMaxNewtonSteps = 1000;
constexpr int kMaxStepReductions = 1000;

// The continued fraction of the incomplete gamma function stops once a
// further round moves it by no more than a few units in the last place of
// the extended format.
constexpr long double kFractionSettled = 8 * std::numeric_limits<long double>::epsilon();

// Below this exponent of its factor exp(e) an incomplete gamma value is 0:
// exp(-2800) is about 1e-1216, far below the smallest double.
constexpr int kSmallestGammaExponent = -2800;

}  // namespace

double LogGamma(double X)
{
    static constexpr long double kLanczos[] = {
        76.18009173L, -86.50532033L, 24.01409822L, -1.231739516L, 0.00120858003L, -5.36382e-6L,
    };
    if (X == 0)
        return 0;
    double y = static_cast<double>(X - 1.0L);
    double t = static_cast<double>(y + 5.5L);
    t = Stored((y + 0.5L) * Ln(t) - t);
    long double s = 1;
    for (const long double c : kLanczos) {
        y = static_cast<double>(y + 1.0L);
        s += Divide(c, y);
    }
    return Stored(t + Ln(2.50662827465L * s));
}

double BetaContinuedFraction(double A, double B, double X)
{
    const long double a = A;
    const long double b = B;
    const long double x = X;
    const long double qab = a + b;
    const long double qap = a + 1;
    const long double qam = a - 1;
    long double am = 1;
    long double bm = 1;
    long double az = 1;
    long double bz = 1 - Divide(qab * x, qap);
    // Large parameters need more than a hundred rounds to reach the
    // tolerance; the fraction goes on until it does.
    for (long m = 1;; ++m) {
        if (m > kMaxBetaRounds)
            throw InvalidOperationError();
        const long double em = m;
        const long double tem = em + em;
        long double d = Divide(em * (b - em) * x, (qam + tem) * (a + tem));
        const long double ap = az + d * am;
        const long double bp = bz + d * bm;
        d = Divide(-(a + em) * (qab + em) * x, (a + tem) * (qap + tem));
        const long double app = ap + d * az;
        const long double bpp = bp + d * bz;
        const long double aold = az;
        am = Divide(ap, bpp);
        bm = Divide(bp, bpp);
        az = Divide(app, bpp);
        bz = 1;
        if (std::fabs(az - aold) < 3e-7L * std::fabs(az))
            break;
    }
    return Stored(az);
}

double IncompleteBeta(double A, double B, double X)
{
    const long double a = A;
    const long double b = B;
    const long double x = X;
    double bt = 0;
    if (x != 0 && x != 1) {
        bt = Stored(Exp(static_cast<long double>(LogGamma(static_cast<double>(a + b))) - LogGamma(A) -
                        LogGamma(B) + a * Ln(x) + b * Ln(1 - x)));
    }
    if (x < Divide(a + 1, a + b + 2))
        return Stored(Divide(bt * static_cast<long double>(BetaContinuedFraction(A, B, X)), a));
    return Stored(
        1 - Divide(bt * static_cast<long double>(BetaContinuedFraction(B, A, static_cast<double>(1 - x))), b));
}

void IncompleteGammaSeries(double& P, double& LnGammaA, double A, double X)
{
    LnGammaA = LogGamma(A);
    if (X <= 0) {
        P = 0;
        return;
    }
    const long double x = X;
    long double ap = A;
    long double del = Divide(1, ap);
    long double sum = del;
    for (int n = 1; n <= kGammaRounds; ++n) {
        ap += 1;
        del = Divide(del * x, ap);
        sum += del;
    }
    // For large A a hundred terms are not enough: add terms as long as they
    // still change the sum.
    for (long n = kGammaRounds + 1;; ++n) {
        ap += 1;
        del = Divide(del * x, ap);
        const long double next = sum + del;
        if (next == sum)
            break;
        if (n > kMaxGammaRounds)
            throw InvalidOperationError();
        sum = next;
    }
    const long double e = A * Ln(x) - x - LnGammaA;
    P = e >= kSmallestGammaExponent ? Stored(sum * Exp(e)) : 0;
}

namespace {

// The state of the incomplete gamma continued fraction, renormalised by its
// last numerator after every round.
struct GammaFraction {
    long double a0 = 1;
    long double b0 = 0;
    long double a1;
    long double b1 = 1;
    long double fac = 1;
    long double g = 0;

    void Round(long n, long double a, long double x)
    {
        const long double ana = n - a;
        a0 = (a1 + a0 * ana) * fac;
        b0 = (b1 + b0 * ana) * fac;
        const long double anf = n * fac;
        a1 = x * a0 + anf * a1;
        b1 = x * b0 + anf * b1;
        if (a1 != 0) {
            fac = Divide(1, a1);
            g = Checked(b1 * fac);
        }
    }
};

}  // namespace

void IncompleteGammaFraction(double& Q, double& LnGammaA, double A, double X)
{
    LnGammaA = LogGamma(A);
    const long double a = A;
    const long double x = X;
    GammaFraction f;
    f.a1 = x;
    for (int n = 1; n <= kGammaRounds; ++n)
        f.Round(n, a, x);
    // For large A a hundred rounds are not enough: go on while a further
    // round still moves the value.  A round that no longer does is
    // discarded, so a fraction that has settled keeps its value.
    for (long n = kGammaRounds + 1;; ++n) {
        if (n > kMaxGammaRounds)
            throw InvalidOperationError();
        GammaFraction next = f;
        next.Round(n, a, x);
        if (std::fabs(next.g - f.g) <= kFractionSettled * std::fabs(next.g))
            break;
        f = next;
    }
    const long double e = a * Ln(x) - x - LnGammaA;
    Q = e >= kSmallestGammaExponent ? Stored(Exp(e) * f.g) : 0;
}

double InverseIncompleteBeta(double P, double Q, double Alpha)
{
    if (P <= 0 || Q <= 0 || Alpha < 0 || Alpha > 1)
        return -9;
    if (Alpha == 0 || Alpha == 1)
        return Alpha;

    const long double beta = static_cast<long double>(LogGamma(P)) + LogGamma(Q) -
                             LogGamma(static_cast<double>(static_cast<long double>(P) + Q));

    // Work on the lower tail.
    const bool swapped = Alpha > 0.5;
    const long double a = swapped ? 1.0L - Alpha : static_cast<long double>(Alpha);
    const double pp = swapped ? Q : P;
    const double qq = swapped ? P : Q;

    // Start value from a normal approximation.
    long double r = Sqrt(-Ln(a * a));
    long double y = r - Divide(2.30753L + 0.27061L * r, 1 + (0.99229L + 0.04481L * r) * r);
    long double x;
    if (pp > 1 && qq > 1) {
        r = (y * y - 3) / 6;
        const long double s = Divide(1, 2.0L * pp - 1);
        long double t = Divide(1, 2.0L * qq - 1);
        const long double h = Divide(2, s + t);
        const long double w = y * Sqrt(h + r) / h - (t - s) * (r + 5.0L / 6 - Divide(2, 3 * h));
        x = Divide(pp, pp + qq * Exp(2 * w));
    } else {
        r = 2.0L * qq;
        long double t = Divide(1, 9.0L * qq);
        const long double u = 1 - t + y * Sqrt(t);
        t = r * u * u * u;
        if (t <= 0) {
            x = 1 - Exp(Divide(Ln((1 - a) * qq) + beta, qq));
        } else {
            t = Divide(4.0L * pp + r - 2, t);
            if (t <= 1)
                x = Exp(Divide(Ln(a * pp) + beta, pp));
            else
                x = 1 - Divide(2, t + 1);
        }
    }

    if (x < 0.0001L)
        x = 0.0001L;
    if (x > 0.9999L)
        x = 0.9999L;
    r = 1 - static_cast<long double>(pp);
    const long double t = 1 - static_cast<long double>(qq);
    long double yprev = 0;
    long double sq = 1;
    long double prev = 1;

    // Newton steps, shortened by thirds while a step would grow or leave
    // (0, 1).  Both loops are bounded; a value that is not finite is an
    // invalid operation.
    for (int step = 0;; ++step) {
        if (step > kMaxNewtonSteps)
            throw InvalidOperationError();
        y = Checked((IncompleteBeta(pp, qq, static_cast<double>(x)) - a) *
                    Exp(beta + r * Ln(x) + t * Ln(1 - x)));
        if (y * yprev <= 0)
            prev = sq;
        long double g = 1;
        for (int reduction = 0;; ++reduction) {
            if (reduction > kMaxStepReductions)
                throw InvalidOperationError();
            const long double adj = g * y;
            sq = adj * adj;
            if (sq >= prev) {
                g /= 3;
                continue;
            }
            const long double tx = x - adj;
            if (tx < 0 || tx > 1) {
                g /= 3;
                continue;
            }
            if (prev <= 1e-14L || y * y <= 1e-14L)
                return Stored(swapped ? 1 - x : x);
            if (tx == 0 || tx == 1) {
                g /= 3;
                continue;
            }
            if (tx == x)
                return Stored(swapped ? 1 - x : x);
            x = tx;
            yprev = y;
            break;
        }
    }
}
