// Classification: the class rule with its two limits, ties, the sign rule
// within each class, and the membership file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/stages.h"
#include "harness.h"

namespace {

class Classification : public ::testing::Test {
protected:
    scratch_dir dir;

    void SetUp() override
    {
        const char* argv[] = {"qrn4", "data", "-A"};
        analysis_parameters = {};
        parse_command_line(3, argv);
        use_scratch_files();
    }
    void TearDown() override { analysis_parameters = {}; }

    void use_scratch_files()
    {
        analysis_parameters.file_stem = dir / "T";
        analysis_parameters.membership_file = dir / "membership.dat";
    }

    static matrix pattern(int cols, const std::vector<double>& values)
    {
        const int rows = static_cast<int>(values.size()) / cols;
        matrix a(rows, cols, values.data());
        a.setrowlabs("s");
        a.setcollabs("Factor");
        return a;
    }

    // The class codes of the rows of an unrotated pattern, without rotation.
    std::vector<double> classes(int cols, const std::vector<double>& values)
    {
        analysis_parameters.rotate = false;
        pattern(cols, values).write(dir / "T.uev");
        classify();
        const matrix membership(dir / "membership.dat");
        EXPECT_EQ(membership.ncols(), 1);
        std::vector<double> codes;
        for (int i = 0; i < membership.nrows(); ++i)
            codes.push_back(membership.val(i, 0));
        return codes;
    }
};

using codes = std::vector<double>;

TEST_F(Classification, ClearLargestLoadingGivesTheClass)
{
    EXPECT_EQ(classes(3, {0.8, 0.1, 0.2,     // 1
                          0.1, 0.2, 0.8,     // 3
                          0.8, 0.4, 0.0,     // second loading above 0.3
                          0.6, 0.7, 0.0,     // second loading above 0.3
                          -0.9, 0.2, 0.0}),  // -1: the minority sign of class 1
              (codes{1, 3, 0, 0, -1}));
}

TEST_F(Classification, LimitsAtTheirBounds)
{
    // The largest loading must be above 0.5; the second may equal 0.3
    // (the pattern file holds 6 significant digits).
    EXPECT_EQ(classes(2, {0.5, 0.0,
                          0.50001, 0.0,
                          0.9, 0.3,
                          0.9, 0.30001,
                          -0.5, 0.0}),
              (codes{0, 1, 1, 0, 0}));
}

TEST_F(Classification, EqualLargestLoadingsLeaveTheRowUnclassified)
{
    EXPECT_EQ(classes(2, {0.7, -0.7, -0.8, 0.8}), (codes{0, 0}));
}

TEST_F(Classification, MajoritySignWithinAClassIsPositive)
{
    // Class 2 coded -2, -2, +2 becomes +2, +2, -2; class 1 with one member
    // of each sign stays as it is.
    EXPECT_EQ(classes(2, {0.1, -0.9,
                          0.0, -0.7,
                          0.2, 0.8,
                          0.9, 0.0,
                          -0.9, 0.1}),
              (codes{2, 2, -2, 1, -1}));
    // A class of one negative member becomes positive.
    EXPECT_EQ(classes(2, {0.1, -0.9, 0.1, 0.1}), (codes{2, 0}));
}

TEST_F(Classification, MinimumLoadingFromTheOption)
{
    // -A0.7: 0.7 and 0.5 (to within the rounding of 0.7 - 0.2).
    const char* argv[] = {"qrn4", "data", "-A0.7"};
    analysis_parameters = {};
    parse_command_line(3, argv);
    use_scratch_files();
    EXPECT_EQ(classes(2, {0.75, 0.45,
                          0.69, 0.1,
                          0.75, 0.52,
                          0.71, 0.49}),
              (codes{1, 0, 0, 1}));
}

TEST_F(Classification, OneFactor)
{
    EXPECT_EQ(classes(1, {0.9, -0.6, 0.5, 0.2, 0.7}), (codes{1, -1, 0, 0, 1}));
}

TEST_F(Classification, RotatedPatternHasAColumnOfItsOwn)
{
    matrix unrotated = pattern(2, {0.8, 0.6, 0.7, 0.5, -0.1, 0.9});
    unrotated.setrowlab(0, "alpha");
    unrotated.write(dir / "T.uev");
    pattern(2, {0.95, 0.1, 0.85, 0.2, -0.4, 0.8}).write(dir / "T.rev");
    classify();
    EXPECT_EQ(dir.read("membership.dat"),
              "3 2 \r\nURClass RClass \r\nalpha 0 1 \r\ns2 0 1 \r\ns3 2 0 \r\n");
}

}  // namespace
