// Special functions under the calculator's probabilities: the logarithm of
// the gamma function, the regularized incomplete beta and gamma functions
// and the inverse of the incomplete beta function.
//
// All of them compute in extended precision (long double) and store their
// results as doubles.  Floating-point errors (see stats/fperror.h) reach the
// caller; underflow gives 0 without error.
#pragma once

// ln Γ(X) by a six-term Lanczos series; LogGamma(0) is 0.
double LogGamma(double X);

// The continued fraction of I_X(A, B), evaluated until two successive
// approximations agree to a relative 3e-7.
double BetaContinuedFraction(double A, double B, double X);

// I_X(A, B), the regularized incomplete beta function: 0 at X = 0 and 1 at
// X = 1.  X outside [0, 1] raises the invalid-operation error.
double IncompleteBeta(double A, double B, double X);

// P(A, X), the regularized lower incomplete gamma function, by its series;
// LnGammaA receives ln Γ(A).  X <= 0 gives P = 0.
void IncompleteGammaSeries(double& P, double& LnGammaA, double A, double X);

// Q(A, X) = 1 - P(A, X) by its continued fraction; LnGammaA receives
// ln Γ(A).
void IncompleteGammaFraction(double& Q, double& LnGammaA, double A, double X);

// The X in [0, 1] with I_X(P, Q) = Alpha, by Newton steps from a normal
// approximation.  Returns -9 when P <= 0, Q <= 0 or Alpha lies outside
// [0, 1], and Alpha itself when it is 0 or 1.
double InverseIncompleteBeta(double P, double Q, double Alpha);
