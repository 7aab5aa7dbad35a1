// Critical values of Student's t, Fisher's z transformation and the
// confidence interval of a correlation coefficient.
//
// Floating-point errors reach the caller (see stats/fperror.h).
#pragma once

// Fisher's z of R: 0.5 ln(1 + R) - 0.5 ln(1 - R).  R = ±1 raises the
// division-by-zero error, |R| > 1 the invalid-operation error.
double FisherZ(double R);

// The correlation whose Fisher's z is X (the hyperbolic tangent); ±1 for
// large |X|.
double InverseFisherZ(double X);

// The critical t, never negative, whose one-tailed upper area is
// min(P, 1 - P) at DF degrees of freedom (at most 50000 are used): a normal
// approximation lowered in steps of 1, 0.1, 0.01 and 0.001 (below 7 degrees
// of freedom) and finally 0.0001 while the tail area stays below the target.
// DF = 0 gives 0; P = 0 or 1 raises the division-by-zero error.
double InverseStudentT(int DF, double P);

// One bound on the z scale of the interval of a correlation R: C is the
// critical value with the sign of the bound, A and B two polynomials in R,
// F the degrees of freedom N - 1 and Z Fisher's z of R.
double CorrelationBoundZ(double C, double R, double A, double B, double F, double Z);

// The Pct-percent confidence interval of a correlation R from N cases.
// Lower and Upper are written only when both are known; R = -1 raises the
// division-by-zero error and leaves them as they were.
void CorrelationConfidenceInterval(int N, double& Lower, double& Upper, double Pct, double R);
