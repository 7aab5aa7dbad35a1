// The statistics of the calculator's two tables of counts: the tests of
// independence of a contingency table and the agreement of two raters.
//
// Floating-point errors reach the caller (see stats/fperror.h).  A value
// that cannot be computed is MissingValue (stats/format.h), which the
// result lines show as blanks.
#pragma once

#include <array>

// The counts of a table of at most 10 columns and 10 rows with their
// margins, indexed [column][row]: entry [j][i] with j, i >= 1 is the count
// of column j and row i, [j][0] the total of column j, [0][i] the total of
// row i and [0][0] the grand total.  Totals are 64-bit: a table may hold up
// to 100 counts of up to 2,147,483,647 each.
using CountTable = std::array<std::array<long long, 11>, 11>;

struct IndependenceTests {
    double chiSquare;        // Pearson's; MissingValue when it cannot be computed
    double yates;            // |o - e| less one half in every cell, no floor at 0
    double likelihoodRatio;  // G = 2 sum o ln(o / e) over the cells with o > 0
    double degreesOfFreedom;
};

// The tests of independence of the top-left `columns` x `rows` counts.
// Pearson's chi-square is MissingValue when the table is empty or a cell's
// expected count is 0 (an empty row or column); the other two are then
// partial sums, and no test can be reported.
IndependenceTests TestsOfIndependence(const CountTable &t, int columns, int rows);

struct RaterAgreement {
    // Nominal scale: MissingValue each when the chance agreement is 1.
    double percentage;     // the items on the diagonal, in percent
    double kappa;          // Cohen's: chance from the product of the raters' margins
    double pi;             // Scott's: chance from their pooled margins
    double freeMarginals;  // (Po - 1/k) / (1 - 1/k)
    // Ordinal scale, the categories scored 0 to k - 1: MissingValue each
    // when the squared disagreements or the squared scores sum to 2 or less.
    double krippendorffR;
    double krippendorffRbar;
    double ordinalFreeMarginals;
};

// The agreement of two raters who put the same items into k categories,
// the first rater's category the row, the second's the column.  A table
// without items raises the invalid-operation error.
RaterAgreement AgreementOfRaters(const CountTable &t, int k);
