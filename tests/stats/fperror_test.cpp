// The checked helpers raise exactly the three floating-point errors.
#include "stats/fperror.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(CheckedArithmetic, LogarithmOfZeroAndNegativeNumbers)
{
    EXPECT_THROW(Ln(0.0L), DivisionByZeroError);
    EXPECT_THROW(Ln(-1e-300L), InvalidOperationError);
    EXPECT_THROW(Ln(std::nanl("")), InvalidOperationError);
    EXPECT_DOUBLE_EQ(static_cast<double>(Ln(std::exp(1.0L))), 1.0);
}

TEST(CheckedArithmetic, ExponentialOverflowsButNeverUnderflows)
{
    EXPECT_THROW(Exp(20000.0L), OverflowError);
    EXPECT_EQ(Exp(-20000.0L), 0.0L);
    // 1000 overflows a double but not the extended format.
    EXPECT_GT(Exp(1000.0L), 1e434L);
}

TEST(CheckedArithmetic, Division)
{
    EXPECT_THROW(Divide(1, 0), DivisionByZeroError);
    EXPECT_THROW(Divide(-1, 0), DivisionByZeroError);
    EXPECT_THROW(Divide(0, 0), InvalidOperationError);
    EXPECT_THROW(Divide(std::numeric_limits<long double>::max(), 0.5L), OverflowError);
    EXPECT_EQ(Divide(1, 4), 0.25L);
}

TEST(CheckedArithmetic, SquareRootAndCheckedValues)
{
    EXPECT_THROW(Sqrt(-4), InvalidOperationError);
    EXPECT_EQ(Sqrt(0), 0.0L);
    EXPECT_EQ(Sqrt(6.25L), 2.5L);
    EXPECT_THROW(Checked(std::numeric_limits<long double>::infinity()), OverflowError);
    EXPECT_THROW(Checked(-std::numeric_limits<long double>::quiet_NaN()), InvalidOperationError);
}

TEST(CheckedArithmetic, EachErrorHasOneFixedMessage)
{
    EXPECT_STREQ(DivisionByZeroError().what(), "Floating point division by zero");
    EXPECT_STREQ(InvalidOperationError().what(), "Invalid floating point operation");
    EXPECT_STREQ(OverflowError().what(), "Floating point overflow");
}

TEST(CheckedArithmetic, StoringAnExtendedValueAsADouble)
{
    EXPECT_THROW(Stored(1e400L), OverflowError);
    EXPECT_THROW(Stored(-1e400L), OverflowError);
    EXPECT_THROW(Stored(std::nanl("")), InvalidOperationError);
    EXPECT_EQ(Stored(1e-400L), 0.0);
    EXPECT_EQ(Stored(0.1L), 0.1);
}
