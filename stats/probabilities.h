// Tail probabilities of the t, r, F, chi-square and normal distributions and
// the Poisson and binomial probabilities of the calculator.
//
// Floating-point errors reach the caller (see stats/fperror.h), except in
// StudentTProbability, which answers 0 instead.
#pragma once

// One-tailed P(t > |T|) with DF degrees of freedom; 0 whenever the
// calculation fails (for example DF <= 0).
double StudentTProbability(double T, double DF);

// One-tailed probability of a Pearson correlation R from N cases (N > 2);
// 0 for |R| >= 1.
double CorrelationProbability(int N, double R);

// Upper-tail probability of F with DF1 and DF2 degrees of freedom; 1 for
// F <= 0.
double FProbability(double F, double DF1, double DF2);

// Upper-tail probability of the chi-square value Chi with DF degrees of
// freedom; 1 for Chi <= 0.
double ChiSquareProbability(double DF, double Chi);

// Upper tail of the standard normal distribution at |Z|, by the polynomial
// approximation of Abramowitz and Stegun 26.2.17 (error below 7.5e-8).
double NormalTailProbability(double Z);

// P(X < K) for a Poisson variable with mean Mu; terms below e^-78 count
// as 0.  Mu <= 0 raises an error when K > 0.
double PoissonProbabilityBelow(int K, double Mu);

// P(S >= X) for N trials with success probability P (0 <= X <= N).
double BinomialUpperTail(int X, int N, double P);

// P(S = X) for N trials with success probability P (0 <= X <= N).
double BinomialPointProbability(int X, int N, double P);

// The probabilities of a count at most, exactly and at least X.
struct CountProbabilities {
    double atMost, exactly, atLeast;
};

// For N trials with success probability P (0 <= X <= N).
CountProbabilities BinomialProbabilities(int X, int N, double P);

// For a Poisson variable with mean Mu; X may be any int, X + 1 beyond the
// range of an int included (P(X < INT_MAX) stands for P(X < X + 1) there).
CountProbabilities PoissonProbabilities(long long X, double Mu);
