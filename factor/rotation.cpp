#include "factor/rotation.h"

#include <cmath>
#include <iostream>
#include <numbers>
#include <string>

#include "factor/extended.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/run_files.h"
#include "factor/stages.h"

namespace {

// Sums to which one term at a time is added, each step rounded to double.
void add(double& sum, extended term)
{
    sum = static_cast<double>(term + sum);
}

// Four times the varimax angle of the pair of columns k and l: the
// four-quadrant angle of the point (den, num) of Kaiser's criterion,
// in (-pi, pi]; 0 when both are 0.
double quadruple_angle(const matrix& a, int k, int l, std::vector<double>& u, std::vector<double>& v)
{
    constexpr double pi = std::numbers::pi;
    const int p = a.nrows();
    for (int j = 0; j < p; ++j) {
        const double x = a.val(j, k);
        const double y = a.val(j, l);
        const double xx = static_cast<double>(static_cast<extended>(x) * x);
        u[j] = static_cast<double>(xx - static_cast<extended>(y) * y);
        v[j] = static_cast<double>(static_cast<extended>(x) * y);
    }
    double A = 0.0, B = 0.0, C = 0.0, D = 0.0, E = 0.0;
    for (int j = 0; j < p; ++j) {
        add(A, u[j]);
        add(C, static_cast<extended>(u[j]) * u[j]);
    }
    for (int j = 0; j < p; ++j) {
        add(B, v[j]);
        add(D, static_cast<extended>(v[j]) * v[j]);
    }
    for (int j = 0; j < p; ++j)
        add(E, static_cast<extended>(u[j]) * v[j]);

    const extended n = p;
    const double num = static_cast<double>((n * E - static_cast<extended>(B) * A) * 4);
    const double den = static_cast<double>(n * C - static_cast<extended>(A) * A
                                           - static_cast<extended>(4LL * p) * D
                                           + 4.0L * B * B);
    if (den == 0.0) {
        if (num == 0.0)
            return 0.0;
        return num > 0.0 ? pi / 2 : -pi / 2;
    }
    double t = static_cast<double>(std::atan(static_cast<extended>(num) / den));
    if (den < 0.0) {
        if (num >= 0.0) {
            t = static_cast<double>(t + static_cast<extended>(2.0 * pi));
            t = static_cast<double>(t - static_cast<extended>(pi));
        } else {
            t = static_cast<double>(t - static_cast<extended>(pi));
        }
    }
    return t;
}

void rotate_pair(matrix& a, int k, int l, double phi)
{
    const double c = static_cast<double>(std::cos(static_cast<extended>(phi)));
    const double s = static_cast<double>(std::sin(static_cast<extended>(phi)));
    for (int j = 0; j < a.nrows(); ++j) {
        const double x = a.val(j, k);
        const double y = a.val(j, l);
        a.val(j, k) = static_cast<double>(static_cast<extended>(x) * c + static_cast<extended>(y) * s);
        a.val(j, l) = static_cast<double>(static_cast<extended>(y) * c - static_cast<extended>(x) * s);
    }
}

// The percentage of the variance that each factor of the rotated pattern
// a (variables x factors) accounts for.
std::vector<double> percent_variance(const matrix& a)
{
    const int p = a.nrows();
    const int m = a.ncols();
    std::vector<double> variance(m);
    for (int i = 0; i < m; ++i) {
        double sum = 0.0;
        for (int j = 0; j < p; ++j)
            add(sum, static_cast<extended>(a.val(j, i)) * a.val(j, i));
        variance[i] = static_cast<double>(static_cast<extended>(sum) / p * 100);
    }
    return variance;
}

// The percentage communality of each variable (1 x p, labelled like the
// rows of a) from the roots of the communalities that the rotation kept:
// the rotation leaves them unchanged.
matrix percent_communalities(const matrix& a, const std::vector<double>& roots)
{
    matrix communalities(1, a.nrows(), 0.0);
    communalities.copyclfrl(a, -1);
    for (int i = 0; i < a.nrows(); ++i) {
        const extended h = roots[i];
        communalities.val(0, i) = static_cast<double>(h * h * 100);
    }
    return communalities;
}

// A factor on which every variable loads negatively is turned round.
void turn_negative_factors(matrix& a)
{
    const int p = a.nrows();
    for (int i = 0; i < a.ncols(); ++i) {
        int negative = 0;
        for (int j = 0; j < p; ++j)
            negative += a.val(j, i) < 0.0;
        if (negative == p) {
            for (int j = 0; j < p; ++j)
                a.val(j, i) = std::fabs(a.val(j, i));
        }
    }
}

}  // namespace

varimax_outcome varimax_rotate(matrix& a, double min_angle, int max_sweeps)
{
    const int p = a.nrows();
    const int m = a.ncols();
    varimax_outcome outcome{std::vector<double>(p, 0.0), 0, true};
    std::vector<double>& h = outcome.weights;

    // Kaiser normalisation: every variable's loadings scaled to unit length.
    for (int i = 0; i < p; ++i) {
        double s = 0.0;
        for (int j = 0; j < m; ++j)
            add(s, static_cast<extended>(a.val(i, j)) * a.val(i, j));
        h[i] = static_cast<double>(std::sqrt(static_cast<extended>(s)));
        if (h[i] == 0.0)
            continue;  // nothing to scale; its zeros add nothing to the sums
        for (int j = 0; j < m; ++j)
            a.val(i, j) = static_cast<double>(static_cast<extended>(a.val(i, j)) / h[i]);
    }

    std::vector<double> u(p), v(p);
    bool rotated = true;
    while (rotated) {
        if (outcome.sweeps == max_sweeps) {
            outcome.converged = false;
            break;
        }
        ++outcome.sweeps;
        rotated = false;
        for (int k = 0; k < m - 1; ++k) {
            for (int l = k + 1; l < m; ++l) {
                const double phi = quadruple_angle(a, k, l, u, v) * 0.25;
                if (std::fabs(phi) >= min_angle) {
                    rotated = true;
                    rotate_pair(a, k, l, phi);
                }
            }
        }
    }

    for (int i = 0; i < p; ++i) {
        for (int j = 0; j < m; ++j)
            a.val(i, j) = static_cast<double>(static_cast<extended>(h[i]) * a.val(i, j));
    }
    return outcome;
}

void varimax()
{
    const analysis_parameters_record& params = analysis_parameters;
    matrix a(stem_file(".uev"));
    const varimax_outcome outcome = varimax_rotate(a);
    if (!outcome.converged) {
        std::cout << "Warning: varimax rotation stopped after " << outcome.sweeps
                  << " sweeps without settling.\n";
    }
    const std::vector<double> variance = percent_variance(a);
    const matrix communalities = percent_communalities(a, outcome.weights);
    turn_negative_factors(a);
    a.write(stem_file(".rev"));

    // The sorted pattern is built from the values as the file holds them.
    matrix(stem_file(".rev")).sort_by_factor().write_cols(stem_file(".rvs"), params.max_factors);

    matrix percentages(1, params.max_factors, 0.0);
    for (int f = 0; f < params.max_factors; ++f) {
        percentages.setcollab(f, a.getcollab(f));
        percentages.val(0, f) = variance[f];
    }
    percentages.write(stem_file(".rpt"));
    communalities.write(stem_file(".rcm"));
}

void rotation_step()
{
    varimax();
    std::cout << "Rotation complete.\n";
}
