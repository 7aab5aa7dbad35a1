// The tests and confidence intervals of the calculator's dialogs, from
// summary statistics: the one-sample t test, the comparison of two
// independent samples (the test of equal variances, the pooled and the
// unequal-variance t test), the difference between two correlations, and
// the intervals of a mean and of a proportion.
//
// Each computes in extended precision and stores its results as doubles,
// in the order the dialogs write them; floating-point errors reach the
// caller (see stats/fperror.h).  A two-sample comparison is three calls,
// because the dialog writes a line after each of its steps.
#pragma once

struct TTest {
    double t;   // |difference| over its standard error, never negative
    double df;  // degrees of freedom
    double p;   // one-tailed probability of t
};

// A sample mean m of n cases against the population mean Mu, with the
// population's standard deviation s; n - 1 degrees of freedom.
TTest OneSampleTTest(double m, double Mu, double s, int n);

struct VarianceRatioTest {
    double F;  // the larger variance over the smaller
    double p;  // two-sided: 2 min(P, 1 - P) of F's upper tail P
};

// The test of equal variances of two samples with standard deviations
// s1, s2 and sizes n1, n2: F's numerator degrees of freedom are those of
// the sample with the larger spread (sample 2 on a tie).
VarianceRatioTest EqualVariancesTest(double s1, int n1, double s2, int n2);

// The t test of two means with the pooled variance, n1 + n2 - 2 degrees
// of freedom.
TTest PooledTTest(double m1, double s1, int n1, double m2, double s2, int n2);

// The t test of two means without equal variances, with Welch and
// Satterthwaite's degrees of freedom.
TTest UnequalVariancesTTest(double m1, double s1, int n1, double m2, double s2, int n2);

struct ZTest {
    double z;  // never negative
    double p;  // one-tailed probability of z
};

// The difference between the correlations r1 and r2 of two independent
// samples of n1 and n2 cases, through Fisher's z.
ZTest CorrelationDifferenceTest(double r1, int n1, double r2, int n2);

struct Interval {
    double lower, upper;
};

// The Pct-percent interval of a mean m of n cases with standard deviation
// s, with the critical t of InverseStudentT.
Interval MeanConfidenceInterval(double m, double s, int n, double Pct);

// The exact (Clopper-Pearson) Pct-percent interval of a proportion of x
// successes in n trials (0 < x < n), through the quantiles of the F
// distribution.  A level outside 0..100 raises the invalid-operation
// error.
Interval ProportionConfidenceInterval(int x, int n, double Pct);
