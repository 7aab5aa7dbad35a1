#include "stats/tables.h"

#include "stats/format.h"
#include "stats/fperror.h"

#include <cmath>

IndependenceTests TestsOfIndependence(const CountTable &t, int columns, int rows)
{
    const long long N = t[0][0];
    double chi = 0, yates = 0, G = 0;
    if (N == 0)
        chi = MissingValue;
    for (int i = 1; i <= rows; ++i)
        for (int j = 1; j <= columns; ++j) {
            if (!DoubleNotEqual(chi, MissingValue))
                continue;
            const long double o = t[j][i];
            const double e = static_cast<double>(static_cast<long double>(t[j][0]) / N * t[0][i]);
            if (e == 0) {
                chi = MissingValue;
                continue;
            }
            if (o > 0)
                G = static_cast<double>(G + o * std::log(o / e));
            chi = static_cast<double>(chi + (o - e) * (o - e) / e);
            const long double h = o > e ? -0.5L : o < e ? 0.5L : 0.0L;
            yates = static_cast<double>(yates + (o - e + h) * (o - e + h) / e);
        }
    G = 2 * G;
    return {chi, yates, G, static_cast<double>((columns - 1) * (rows - 1))};
}

namespace {

// The chance agreement of the nominal coefficients, from the margins:
// Cohen's as the sum of the products of the two raters' margins (still to
// be divided by N), Scott's from their pooled proportions.
struct ChanceSums {
    double PeSum = 0, Ppi = 0;
};

ChanceSums ChanceAgreement(const CountTable &t, int k)
{
    const long long N = t[0][0];
    ChanceSums sums;
    if (N > 0)
        for (int m = 1; m <= k; ++m) {
            const long double R = t[0][m], C = t[m][0];
            const long double pooled = (R + C) / (2.0L * N);
            sums.Ppi = static_cast<double>(sums.Ppi + pooled * pooled);
            sums.PeSum = static_cast<double>(sums.PeSum + R / N * C);
        }
    return sums;
}

// The sums of the ordinal coefficients.  Do, Q2, SR and SC score the
// categories 0 to k - 1, U1 and U2 score them 1 to k.
struct OrdinalSums {
    double Do = 0, Q2 = 0, SR = 0, SC = 0, U1 = 0, U2 = 0;
};

OrdinalSums OrdinalDisagreement(const CountTable &t, int k)
{
    const long long N = t[0][0];
    OrdinalSums s;
    for (int i = 1; i <= k; ++i)
        for (int j = 1; j <= k; ++j)
            if (i != j)
                s.Do = s.Do + static_cast<double>((i - j) * (i - j) * t[j][i]);
    for (int m = 1; m <= k; ++m) {
        const long long score = m - 1, R = t[0][m], C = t[m][0];
        s.Q2 = s.Q2 + static_cast<double>(score * score * R)
               + static_cast<double>(score * score * C);
        s.SR = s.SR + static_cast<double>(score * R);
        s.SC = s.SC + static_cast<double>(score * C);
        s.U1 = static_cast<double>(s.U1 + static_cast<long double>(N) / k * m);
        s.U2 = static_cast<double>(s.U2 + static_cast<long double>(N) / k * (m * m));
    }
    return s;
}

}  // namespace

RaterAgreement AgreementOfRaters(const CountTable &t, int k)
{
    const long long N = t[0][0];
    long long A = 0;
    for (int m = 1; m <= k; ++m)
        A += t[m][m];
    const ChanceSums chance = ChanceAgreement(t, k);
    const OrdinalSums o = OrdinalDisagreement(t, k);

    RaterAgreement a{};
    a.ordinalFreeMarginals = a.krippendorffR = a.krippendorffRbar = MissingValue;
    if (o.Do > 2 && o.Q2 > 2) {
        const long double S = static_cast<long double>(o.SR) + o.SC;
        a.ordinalFreeMarginals = static_cast<double>(
            1 - Divide(o.Do / 2.0L, o.U2 - static_cast<long double>(o.U1) * o.U1 / N));
        a.krippendorffR =
            static_cast<double>(1 - Divide(o.Do, o.Q2 - S * S * Divide(1, 2.0L * N)));
        a.krippendorffRbar =
            static_cast<double>(1 - Divide(o.Do, o.Q2 - Divide(2, N) * o.SR * o.SC));
    }

    // Every cell empty: 0 / 0, an invalid operation.
    const double Pe = static_cast<double>(Divide(chance.PeSum, N));
    a.kappa = a.pi = a.freeMarginals = MissingValue;
    if (Pe != 1) {
        const long double Po = static_cast<long double>(A) / N;
        a.kappa = static_cast<double>(Divide(Po - Pe, 1 - static_cast<long double>(Pe)));
        a.pi = static_cast<double>(
            Divide(Po - chance.Ppi, 1 - static_cast<long double>(chance.Ppi)));
        a.freeMarginals = static_cast<double>((Po - 1.0L / k) / (1 - 1.0L / k));
    }
    a.percentage = static_cast<double>(static_cast<long double>(A) / N * 100);
    return a;
}
