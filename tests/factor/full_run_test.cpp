// Whole runs of the built program through rotation, classification and
// scores: the files they leave and the lines they log.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "factor/matrix.h"
#include "harness.h"

namespace {

// Each column has mean 0 and variance 1 (divisor N), up to the six digits
// of the stored means, deviations and weights.
void expect_standardised(const matrix& scores)
{
    for (int j = 0; j < scores.ncols(); ++j) {
        double sum = 0.0, squares = 0.0;
        for (int i = 0; i < scores.nrows(); ++i) {
            sum += scores.val(i, j);
            squares += scores.val(i, j) * scores.val(i, j);
        }
        EXPECT_NEAR(sum / scores.nrows(), 0.0, 1e-5) << scores.getcollab(j);
        EXPECT_NEAR(squares / scores.nrows(), 1.0, 1e-4) << scores.getcollab(j);
    }
}

TEST(FullRun, PrincipalComponentScoresWithRotation)
{
    scratch_dir dir;
    dir.write("attitude.dat", example("attitude.dat"));
    const qrn4_result run = run_qrn4(dir, {"attitude.dat", "-S", "-C"});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    const std::string log = run.output.substr(run.output.find("Analysis Log"));
    EXPECT_NE(log.find("Rotation complete.\n"
                       "Unrotated factor scores calculated.\n"
                       "Rotated factor scores calculated.\n"
                       "Analysis ended <time>\n"),
              std::string::npos)
        << log;

    const matrix unrotated(dir / "attitude.usc");
    const matrix rotated(dir / "attitude.rsc");
    const matrix pattern(dir / "attitude.uev");
    ASSERT_EQ(unrotated.nrows(), 30);
    ASSERT_EQ(unrotated.ncols(), pattern.ncols());
    ASSERT_EQ(rotated.ncols(), pattern.ncols());
    EXPECT_EQ(unrotated.getrowlab(0), "emp01");
    expect_standardised(unrotated);
    // Varimax turns the components orthogonally: still standardised.
    expect_standardised(rotated);
    for (const char* extension : {".rev", ".rvs", ".rpt", ".rcm", ".uwt", ".rwt"})
        EXPECT_TRUE(dir.exists(std::string("attitude") + extension)) << extension;
}

TEST(FullRun, EveryAnalysisTypeScores)
{
    // Two factors, so that both kinds of scores are written.
    for (const char* type : {"-TF", "-TI"}) {
        SCOPED_TRACE(type);
        scratch_dir dir;
        dir.write("attitude.dat", example("attitude.dat"));
        const qrn4_result run = run_qrn4(dir, {"attitude.dat", type, "-N2", "-S", "-C"});
        ASSERT_EQ(run.exit_code, 0) << run.output;
        const matrix scores(dir / "attitude.rsc");
        EXPECT_EQ(scores.nrows(), 30);
        EXPECT_EQ(dir.read("attitude.rsc").find("nan"), std::string::npos);
    }
}

// Seven subjects rated on six variables.  Their profiles are multiples of
// two uncorrelated patterns, P1 = (1, -1, 1, -1, 0, 0) and
// P2 = (1, 1, -1, -1, 0, 0): subjects 1 to 4 follow P1 (subject 3 in
// reverse), subjects 5 to 7 follow P2 (subject 6 in reverse).  So the
// correlations between subjects are +1, -1 or 0, the first factor (eigenvalue
// 4) carries subjects 1 to 4 with loadings of +-1, the second (eigenvalue 3)
// subjects 5 to 7, and the pattern is simple already.
const char* profiles =
    "7 6 \r\n"
    "a b c d e f \r\n"
    "s1 12 8 12 8 10 10 \r\n"    // 10 + 2 P1
    "s2 6 4 6 4 5 5 \r\n"        // 5 + P1
    "s3 17 23 17 23 20 20 \r\n"  // 20 - 3 P1
    "s4 5 -3 5 -3 1 1 \r\n"      // 1 + 4 P1
    "s5 12 12 8 8 10 10 \r\n"    // 10 + 2 P2
    "s6 2 2 4 4 3 3 \r\n"        // 3 - P2
    "s7 14 14 4 4 9 9 \r\n";     // 9 + 5 P2

TEST(FullRun, QTypeClassification)
{
    scratch_dir dir;
    dir.write("profiles.dat", profiles);
    const qrn4_result run = run_qrn4(dir, {"profiles.dat", "-A", "-C"});
    ASSERT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("Rotation complete.\nAnalysis ended"), std::string::npos)
        << run.output;
    // Within each class the majority sign is +; the reversed subjects are
    // the minority.
    EXPECT_EQ(dir.read("membership.dat"),
              "7 2 \r\nURClass RClass \r\n"
              "s1 1 1 \r\ns2 1 1 \r\ns3 -1 -1 \r\ns4 1 1 \r\n"
              "s5 2 2 \r\ns6 -2 -2 \r\ns7 2 2 \r\n");
    const std::size_t section = run.output.find("\nClassification Results\n");
    ASSERT_NE(section, std::string::npos) << run.output;
    EXPECT_EQ(run.output.substr(section),
              "\nClassification Results\n"
              "\n"
              "              URClass     RClass \n"
              "\n"
              "s1            1.00000    1.00000 \n"
              "s2            1.00000    1.00000 \n"
              "s3           -1.00000   -1.00000 \n"
              "s4            1.00000    1.00000 \n"
              "s5            2.00000    2.00000 \n"
              "s6           -2.00000   -2.00000 \n"
              "s7            2.00000    2.00000 \n");
}

TEST(FullRun, QTypeClassificationWithAHigherMinimumLoading)
{
    // Subject 8 is P1 plus 1.732 times P3 = (1, -1, -1, 1, 0, 0), which is
    // uncorrelated with P1 and P2 and as long as P1: it correlates 0.5 with
    // subjects 1 to 4.  The first factor's matrix restricted to (x s, y),
    // s the signs of subjects 1 to 4, is ((4, 0.5), (2, 1)): eigenvalue
    // (5 + sqrt 13) / 2 = 4.303 with y = 0.6055 x, 4 x^2 + y^2 = 1, so
    // subject 8 loads sqrt(4.303) * 0.2898 = 0.601 on it.  Its other
    // eigenvalue, 0.70, stays below the minimum of 8 / 6.  So it is
    // classified with -A (0.601 > 0.5), not with -A0.7.
    scratch_dir dir;
    std::string data = profiles;
    data.replace(0, 1, "8");
    data += "s8 12.732 7.268 9.268 10.732 10 10 \r\n";
    dir.write("profiles.dat", data);
    ASSERT_EQ(run_qrn4(dir, {"profiles.dat", "-A", "-C"}).exit_code, 0);
    const matrix with_default(dir / "membership.dat");
    ASSERT_EQ(with_default.nrows(), 8);
    EXPECT_EQ(std::fabs(with_default.val(7, 0)), 1.0);
    ASSERT_EQ(run_qrn4(dir, {"profiles.dat", "-A0.7", "-C"}).exit_code, 0);
    const matrix with_option(dir / "membership.dat");
    EXPECT_EQ(with_option.val(7, 0), 0.0);
    EXPECT_EQ(std::fabs(with_option.val(0, 0)), 1.0);
}

}  // namespace
