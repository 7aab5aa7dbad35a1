// Fixed-width number formatting.  Blanks are written as '_' in the
// expectations; every expected text is a published example of the layout
// or worked out by hand in the comment beside it.
#include "stats/format.h"
#include "stats/fperror.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace {

std::string Shown(std::string s)
{
    for (char &c : s)
        if (c == ' ')
            c = '_';
    return s;
}

std::string Format(int width, int decimals, double x)
{
    return Shown(FormatNumber(width, decimals, x));
}

class CommaSeparator {
public:
    CommaSeparator() { SetDecimalSeparatorSource([] { return ','; }); }
    ~CommaSeparator() { SetDecimalSeparatorSource(nullptr); }
};

}  // namespace

TEST(FormatNumber, PublishedLayouts)
{
    EXPECT_EQ(Format(6, 4, 0.05), "_.0500");
    EXPECT_EQ(Format(6, 4, 0.125), "_.1250");
    EXPECT_EQ(Format(6, 4, 1.0), "_1.000");  // 1.0000 would fill the field
    EXPECT_EQ(Format(6, 4, -0.25), "_-.250");
    EXPECT_EQ(Format(6, 3, -12.345), "_-12.3");
    EXPECT_EQ(Format(10, 3, 12.3456), "____12.346");
    EXPECT_EQ(Format(10, 3, -0.0001), "_____-.000");
    EXPECT_EQ(Format(10, 5, 0.5), "____.50000");
    EXPECT_EQ(Format(10, 3, 1234567.891), "_1234567.8");
    EXPECT_EQ(Format(10, 3, 123456789012.0), "_1.234E+11");
    EXPECT_EQ(Format(10, 3, -123456789.0), "____-1.2E8");
    EXPECT_EQ(Format(10, 3, 2e40), "____2.0E40");
    EXPECT_EQ(Format(10, 3, MissingValue), "__________");
    EXPECT_EQ(Format(3, 0, 81.0), "_81");
    EXPECT_EQ(Format(4, 1, 100.0), "_100");
}

TEST(FormatNumber, RoundsHalvesAwayFromZeroAfterTakingEighteenDigits)
{
    // 0.125 is exact in binary: %.2f gives 0.12, the layout rounds up.
    EXPECT_EQ(Format(6, 2, 0.125), "___.13");
    EXPECT_EQ(Format(6, 2, -0.125), "__-.13");
    // The double just below 0.005 is 0.004999999999999999236...; to 17
    // decimals that is 0.00500000000000000, which rounds to .01.
    EXPECT_EQ(Format(6, 2, std::nextafter(0.005, 0.0)), "___.01");
    // 0.99996 to 4 decimals is 1.0000, which fills the field: 3 decimals.
    EXPECT_EQ(Format(6, 4, 0.99996), "_1.000");
    // A minus sign stays on a value that rounds to zero.
    EXPECT_EQ(Format(6, 2, -0.001), "__-.00");
}

TEST(FormatNumber, NarrowFieldsOfTheCalculator)
{
    // (5, 4): at most 3 decimals in a field of 5.
    EXPECT_EQ(Format(5, 4, 0.25), "_.250");
    EXPECT_EQ(Format(5, 4, 1.0), "_1.00");
    // (4, 3): .50 fits; -.50 fills the field, so one decimal fewer.
    EXPECT_EQ(Format(4, 3, 0.5), "_.50");
    EXPECT_EQ(Format(4, 3, -0.5), "_-.5");
    // (4, 1): 45.6 is too wide for 3 characters; the decimals are cut, not
    // rounded, and the integer part is right-justified.
    EXPECT_EQ(Format(4, 1, 45.6), "__45");
    // (6, 3): digits are cut as well: 12.346 gives 12.34.
    EXPECT_EQ(Format(6, 3, 12.346), "_12.34");
    EXPECT_EQ(Format(6, 3, 0.0625), "__.063");
    // (3, 0): counts up to 99.
    EXPECT_EQ(Format(3, 0, 7.0), "__7");
    EXPECT_EQ(Format(3, 0, 99.4), "_99");
    EXPECT_EQ(Format(3, 0, -9.4), "_-9");
}

TEST(FormatNumber, ScientificForms)
{
    // 1.5e50 in 7: " 1.5E+0050" shortened to " 1.5E50", one too many for
    // 6 characters; the mantissa is rewritten in 2 characters: 1.5E50.
    EXPECT_EQ(Format(7, 3, 1.5e50), "_1.5E50");
    // In 6 characters the mantissa keeps no decimals: 1E50.
    EXPECT_EQ(Format(6, 4, 1e50), "__1E50");
    // -1e50 in 7: the mantissa -1 in 2 characters.
    EXPECT_EQ(Format(7, 3, -1e50), "__-1E50");
    // A negative exponent keeps its sign: 2^-23 = 1.1920928955078125e-7
    // with a negative number of decimals and 2 significant digits.
    EXPECT_EQ(Format(9, -1, std::ldexp(1.0, -23)), "___1.2E-7");
    // 9.9e9 in 5: the mantissa 9.9 rounds to 10 in 2 characters.
    EXPECT_EQ(Format(5, 0, 9.9e9), "_10E9");
}

TEST(FormatNumber, CommaSeparator)
{
    CommaSeparator comma;
    EXPECT_EQ(Format(6, 4, 0.05), "_,0500");
    EXPECT_EQ(Format(10, 3, 1234567.891), "_1234567,8");
    EXPECT_EQ(Format(10, 3, 123456789012.0), "_1,234E+11");
    EXPECT_EQ(Format(4, 1, 100.0), "_100");
    // The mantissa that is read back and rewritten keeps its decimals.
    EXPECT_EQ(Format(7, 3, 1.5e50), "_1,5E50");
}

TEST(FormatNumber, EveryFiniteValueFitsFromWidthEight)
{
    const double values[] = {DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_MIN,
                             std::numeric_limits<double>::denorm_min(),
                             -std::numeric_limits<double>::denorm_min(),
                             0.0, -1e-300, 9.999999999e99, -9.999999999e99};
    for (int width = 8; width <= 12; ++width)
        for (double x : values) {
            const std::string s = FormatNumber(width, 3, x);
            EXPECT_EQ(static_cast<int>(s.size()), width) << x;
            EXPECT_EQ(s[0], ' ') << x;
            EXPECT_EQ(s.find('*'), std::string::npos) << width << " " << x;
        }
    // -1.797e308 in 8: -1.8E308 is one too wide; the mantissa -1.8 in 2
    // characters rounds to -2.
    EXPECT_EQ(Format(8, 3, -DBL_MAX), "__-2E308");
}

TEST(FormatNumber, ValuesThatFitNowhereGiveTheOverflowField)
{
    // Width 1 holds nothing but the blank of MissingValue.
    EXPECT_EQ(Format(1, 0, 0.0), "_");
    EXPECT_EQ(Format(1, 0, MissingValue), "_");
    // Just past the limits of the narrow widths: 99.6 rounds to 100 in 3
    // characters, -9.6 to -10, 1e100 needs a 3-digit exponent in 6.
    EXPECT_EQ(Format(3, 0, 99.6), "_**");
    EXPECT_EQ(Format(3, 0, -9.6), "_**");
    EXPECT_EQ(Format(2, 0, -1.0), "_*");
    EXPECT_EQ(Format(5, 0, 9.96e9), "_****");
    EXPECT_EQ(Format(6, 4, 1e100), "_*****");
    EXPECT_EQ(Format(6, 4, -1e10), "_*****");
    EXPECT_EQ(Format(7, 4, -1e100), "_******");
    EXPECT_EQ(Format(2, 0, 9.4), "_9");
}

TEST(FormatNumber, RejectsWhatItCannotFormat)
{
    EXPECT_THROW(FormatNumber(10, 3, std::numeric_limits<double>::infinity()),
                 InvalidOperationError);
    EXPECT_THROW(FormatNumber(10, 3, -std::numeric_limits<double>::infinity()),
                 InvalidOperationError);
    EXPECT_THROW(FormatNumber(10, 3, std::numeric_limits<double>::quiet_NaN()),
                 InvalidOperationError);
    EXPECT_EQ(FormatNumber(0, 3, 1.0), "");
    EXPECT_EQ(FormatNumber(-4, 3, 1.0), "");
}

TEST(PadLeft, RightJustifiesAndCuts)
{
    EXPECT_EQ(PadLeft("P = ", 15), std::string(11, ' ') + "P = ");
    EXPECT_EQ(PadLeft("abcdef", 4), "abcd");
    EXPECT_EQ(PadLeft("abcd", 4), "abcd");
    EXPECT_EQ(PadLeft("", 3), "   ");
    EXPECT_EQ(PadLeft("abc", 0), "");
}

TEST(DoubleNotEqual, ComparesExactly)
{
    EXPECT_FALSE(DoubleNotEqual(MissingValue, -1.66e308));
    EXPECT_TRUE(DoubleNotEqual(0.1 + 0.2, 0.3));
    EXPECT_FALSE(DoubleNotEqual(0.0, -0.0));
}
