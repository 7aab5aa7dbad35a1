// The correlation stage end to end: correlations, means and standard
// deviations (divisor N) of an example against R
// (tests/reference/factor_extraction_reference.R), small cases worked out
// by hand, and the errors of the raw data pass.
#include <gtest/gtest.h>

#include <cmath>

#include "factor/matrix.h"
#include "harness.h"

#include "tests/reference/factor_extraction_reference.inc"

namespace {

const std::string fatal = "\n<<**** FATAL ERROR ****>>\n";

class Correlation : public ::testing::Test {
protected:
    scratch_dir dir;

    qrn4_result run(const std::string& bytes)
    {
        dir.write("data.dat", bytes);
        return run_qrn4(dir, {"data.dat"});
    }
    matrix file(const std::string& name) const { return matrix(dir / name); }
    // The output of a run that fails in the correlation stage ends with this.
    static std::string failure(const std::string& message) { return fatal + message + "\n"; }
};

TEST_F(Correlation, ExampleAgainstR)
{
    const qrn4_result result = run(example("attitude.dat"));
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_NE(result.output.find("Analysis began <time>\n"
                                 "Note: The raw data file has 30 subjects and 7 variables.\n"
                                 "Correlation matrix created.\n"),
              std::string::npos)
        << result.output;

    const matrix cor = file("data.cor");
    const matrix means = file("data.mns");
    const matrix sds = file("data.sig");
    ASSERT_EQ(cor.nrows(), 7);
    ASSERT_EQ(cor.ncols(), 7);
    ASSERT_EQ(means.ncols(), 7);
    ASSERT_EQ(sds.ncols(), 7);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(cor.val(i, i), 1.0);
        for (int j = 0; j < 7; ++j)
            EXPECT_NEAR(cor.val(i, j), kAttitude_cor[i * 7 + j], 5e-7) << i << ", " << j;
        EXPECT_NEAR(means.val(0, i), kAttitude_means[i], 6e-6 * kAttitude_means[i]);
        EXPECT_NEAR(sds.val(0, i), kAttitude_sds[i], 6e-6 * kAttitude_sds[i]);
    }
    EXPECT_EQ(cor.getrowlab(1), "complaints");
    EXPECT_EQ(cor.getcollab(6), "advance");
    EXPECT_EQ(means.getrowlab(0), "r1");
    EXPECT_EQ(means.getcollab(0), "rating");
    EXPECT_EQ(sds.getcollab(3), "learning");
}

TEST_F(Correlation, TwoSubjectsAndRowsBeyondTheCount)
{
    // x1 rises, x2 falls, x3 rises between the two subjects: correlations
    // of +-1.  Means (2, 1.5, 5.25); deviations of 1, 0.5 and 0.25 each
    // way, so standard deviations with divisor N of 1, 0.5, 0.25.  The third
    // row is beyond the count and never read.
    const qrn4_result result = run("2 3 \r\nx1 x2 x3 \r\na 1 2 5 \r\nb 3 1 5.5 \r\nc 99 0 7 \r\n");
    EXPECT_NE(result.output.find("Note: The raw data file has 2 subjects and 3 variables.\n"),
              std::string::npos);
    const matrix cor = file("data.cor");
    const double expected[3][3] = {{1, -1, 1}, {-1, 1, -1}, {1, -1, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(cor.val(i, j), expected[i][j], 1e-12);
    const matrix means = file("data.mns");
    const matrix sds = file("data.sig");
    const double mean[] = {2, 1.5, 5.25};
    const double sd[] = {1, 0.5, 0.25};
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(means.val(0, j), mean[j]);
        EXPECT_EQ(sds.val(0, j), sd[j]);
    }
}

TEST_F(Correlation, TextThatIsNoNumberCountsAsZero)
{
    // y reads as (0, 4, 0): mean 4/3, variance (16 + 64 + 16) / 27 = 32/9;
    // the cross products 8/3 equal the product of the means, so r = 0.
    run("3 2 \r\nx y \r\na 1 abc \r\nb 2 4 \r\nc 3 - \r\n");
    EXPECT_NEAR(file("data.mns").val(0, 1), 4.0 / 3.0, 5e-6);
    EXPECT_NEAR(file("data.sig").val(0, 1), std::sqrt(32.0) / 3.0, 5e-6);
    EXPECT_NEAR(file("data.cor").val(0, 1), 0.0, 1e-12);
}

TEST_F(Correlation, VariablesWithoutSpread)
{
    EXPECT_TRUE(run("3 3 \r\nx y z \r\na 1 5 2 \r\nb 2 5 2 \r\nc 3 5 2 \r\n")
                    .output.ends_with(failure("CORRELATION: A VARIABLE HAS A VARIANCE OF 0, VARIABLE  Y")));
    EXPECT_TRUE(run("3 3 \r\nx y z \r\na 1 5 4 \r\nb 1 6 4 \r\nc 1 7 4 \r\n")
                    .output.ends_with(failure("CORRELATION: A VARIABLE HAS A VARIANCE OF 0, VARIABLE  X")));
    EXPECT_FALSE(dir.exists("data.cor"));

    // 6.6 is no double: the sums of 22 of them round to a variance of about
    // 1e-14, yet the variable has no spread.
    std::string data = "22 2 \r\nx y \r\n";
    for (int i = 0; i < 22; ++i)
        data += "s" + std::to_string(i) + " " + std::to_string(i) + " 6.6 \r\n";
    EXPECT_TRUE(run(data).output.ends_with(
        failure("CORRELATION: A VARIABLE HAS A VARIANCE OF 0, VARIABLE  Y")));
}

TEST_F(Correlation, ErrorsOfTheRawData)
{
    const std::string error_in_file = failure("CORRELATION: ERROR IN RAW DATA FILE DATA.DAT");
    // Fewer subject rows than the header says.
    EXPECT_TRUE(run("3 2 \r\nx y \r\na 1 2 \r\nb 2 1 \r\n").output.ends_with(error_in_file));
    // The last value needs a line end or a blank after it.
    EXPECT_TRUE(run("2 2 \r\nx y \r\na 1 2 \r\nb 2 1").output.ends_with(error_in_file));
    EXPECT_EQ(run("2 2 \r\nx y \r\na 1 2 \r\nb 2 1\n").exit_code, 0);
    // A name missing.
    EXPECT_TRUE(run("2 3 \r\nx y").output.ends_with(error_in_file));
    // A header promising far more variables than the file holds fails on
    // the names, before anything of its size is allocated.
    EXPECT_TRUE(run("2 2000000000 \r\nx y \r\na 1 2 \r\nb 2 1 \r\n").output.ends_with(error_in_file));
    // A value beyond the range of a double is refused, not taken as the
    // largest one.
    EXPECT_TRUE(run("2 2 \r\nx y \r\na 1 2 \r\nb 2 1e999 \r\n").output.ends_with(error_in_file));
    // Values whose squares overflow would make every correlation NaN.
    EXPECT_TRUE(run("2 2 \r\nx y \r\na 1 2e200 \r\nb 2 1e200 \r\n")
                    .output.ends_with(failure("CORRELATION: VALUES TOO LARGE, VARIABLE  Y")));
}

}  // namespace
