// The statistics of the two tables of counts, against R's values
// (tests/reference/make_table_reference.R) and hand computations.
#include "stats/format.h"
#include "stats/fperror.h"
#include "stats/tables.h"
#include "tests/reference/table_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "../reference/table_reference.inc"

namespace {

// The table written as in table_cases.h, with its margins.
CountTable Counts(const char *cells)
{
    CountTable t{};
    std::istringstream words(cells);
    std::string word;
    int row = 1, column = 1;
    while (words >> word) {
        if (word == "/") {
            ++row;
            column = 1;
            continue;
        }
        const long long count = std::stoll(word);
        t[column][row] += count;
        t[column][0] += count;
        t[0][row] += count;
        t[0][0] += count;
        ++column;
    }
    return t;
}

// R's value to 12 significant digits; NAN expects MissingValue.
void ExpectValue(double actual, double expected, const char *what)
{
    if (std::isnan(expected))
        EXPECT_EQ(actual, MissingValue) << what;
    else
        EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::fabs(expected))) << what;
}

}  // namespace

TEST(TestsOfIndependence, ReferenceTables)
{
    for (const ContingencyCase &c : kContingencyCases) {
        SCOPED_TRACE(c.cells);
        const IndependenceTests tests = TestsOfIndependence(Counts(c.cells), c.columns, c.rows);
        ExpectValue(tests.chiSquare, c.chi, "chi-square");
        ExpectValue(tests.yates, c.yates, "Yates");
        ExpectValue(tests.likelihoodRatio, c.g, "G");
        EXPECT_EQ(tests.degreesOfFreedom, c.df);
    }
}

// An empty row or column has expected counts of 0, an empty table none at
// all: no chi-square.
TEST(TestsOfIndependence, EmptyRowColumnOrTableHasNoChiSquare)
{
    for (const char *cells : {"0 0 / 3 4", "3 0 / 4 0", "0 0 / 0 0"}) {
        SCOPED_TRACE(cells);
        EXPECT_EQ(TestsOfIndependence(Counts(cells), 2, 2).chiSquare, MissingValue);
    }
}

TEST(AgreementOfRaters, ReferenceTables)
{
    for (const AgreementCase &c : kAgreementCases) {
        SCOPED_TRACE(c.cells);
        const RaterAgreement a = AgreementOfRaters(Counts(c.cells), c.k);
        ExpectValue(a.percentage, c.percentage, "percentage");
        ExpectValue(a.kappa, c.kappa, "kappa");
        ExpectValue(a.pi, c.pi, "pi");
        ExpectValue(a.freeMarginals, c.freeMarginals, "free marginals");
        ExpectValue(a.krippendorffR, c.krippendorffR, "Krippendorff's R");
        ExpectValue(a.krippendorffRbar, c.krippendorffRbar, "r-bar");
        ExpectValue(a.ordinalFreeMarginals, c.ordinalFreeMarginals, "ordinal free marginals");
    }
}

// 20 5 / 10 15 counted as a table of 10 categories: the margins and the
// ratings are those of the 2 x 2 table, only the free-marginal
// coefficients see k:
//   nominal (.7 - 1/10) / (1 - 1/10) = 2/3
//   ordinal 1 - (15 / 2) / (50 (100 - 1) / 12) = 1 - 7.5 / 412.5
TEST(AgreementOfRaters, FreeMarginalsCountEveryCategory)
{
    const RaterAgreement a = AgreementOfRaters(Counts("20 5 / 10 15"), 10);
    EXPECT_NEAR(a.freeMarginals, 2.0 / 3, 1e-15);
    EXPECT_NEAR(a.ordinalFreeMarginals, 1 - 7.5 / 412.5, 1e-15);
    ExpectValue(a.kappa, kAgreementCases[0].kappa, "kappa");
    ExpectValue(a.krippendorffR, kAgreementCases[0].krippendorffR, "Krippendorff's R");
}

// No items: the chance agreement is 0 / 0.
TEST(AgreementOfRaters, EmptyTableIsAnInvalidOperation)
{
    EXPECT_THROW(AgreementOfRaters(CountTable{}, 2), InvalidOperationError);
}
