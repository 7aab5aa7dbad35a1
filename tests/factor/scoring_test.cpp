// Scoring weights and factor scores: agreement with R's principal-component
// scores and regression weights, the score file's layout and its errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/scoring.h"
#include "factor/stages.h"
#include "harness.h"

namespace {

#include "../reference/qrn4_reference.inc"

// The files that correlation and extraction leave for the scoring step,
// for the 32 cars of the reference: stem "T" in a scratch directory.
class Scoring : public ::testing::Test {
protected:
    scratch_dir dir;

    void SetUp() override
    {
        analysis_parameters = {};
        analysis_parameters.file_stem = dir / "T";
        analysis_parameters.score = true;
        analysis_parameters.rotate = true;
        analysis_parameters.max_factors = 2;

        matrix data(cars_data_rows, cars_data_cols, cars_data);
        data.setrowlabs("car");
        label_variables(data, false);
        data.write(dir / "T.dat");

        matrix means(1, cars_means_cols, cars_means);
        matrix sds(1, cars_sds_cols, cars_sds);
        label_variables(means, false);
        label_variables(sds, false);
        means.write(dir / "T.mns");
        sds.write(dir / "T.sig");

        matrix r(cars_correlations_rows, cars_correlations_cols, cars_correlations);
        label_variables(r, true);
        label_variables(r, false);
        r.write(dir / "T.cor");

        matrix lambda(1, cars_eigenvalues_cols, cars_eigenvalues);
        lambda.setcollabs("Factor");
        lambda.write(dir / "T.uel");
        write_pattern(cars_unrotated, "T.uev");
        write_pattern(cars_rotated, "T.rev");
    }
    void TearDown() override { analysis_parameters = {}; }

    static void label_variables(matrix& m, bool rows)
    {
        const char* names[] = {"mpg", "disp", "hp", "wt"};
        for (int i = 0; i < 4; ++i) {
            if (rows)
                m.setrowlab(i, names[i]);
            else
                m.setcollab(i, names[i]);
        }
    }

    void write_pattern(const double* values, const char* name) const
    {
        matrix a(4, 2, values);
        label_variables(a, true);
        a.setcollabs("Factor");
        a.write(dir / name);
    }

    // Largest difference between the columns of a file and the reference,
    // each column compared in the sign that fits it better.
    static double distance_up_to_sign(const matrix& ours, const double* reference)
    {
        double worst = 0.0;
        for (int j = 0; j < ours.ncols(); ++j) {
            double same = 0.0, opposite = 0.0;
            for (int i = 0; i < ours.nrows(); ++i) {
                const double r = reference[i * ours.ncols() + j];
                same = std::max(same, std::fabs(ours.val(i, j) - r));
                opposite = std::max(opposite, std::fabs(ours.val(i, j) + r));
            }
            worst = std::max(worst, std::min(same, opposite));
        }
        return worst;
    }
};

TEST_F(Scoring, PrincipalComponentScoresAgreeWithR)
{
    scoring_step();
    const matrix unrotated(dir / "T.usc");
    ASSERT_EQ(unrotated.nrows(), 32);
    ASSERT_EQ(unrotated.ncols(), 2);
    EXPECT_LT(distance_up_to_sign(unrotated, cars_component_scores), 2e-5);
    const matrix rotated(dir / "T.rsc");
    EXPECT_LT(distance_up_to_sign(rotated, cars_rotated_component_scores), 2e-4);
}

TEST_F(Scoring, PrincipalComponentScoresAreStandardised)
{
    // Mean 0 and variance 1 with divisor N, up to the 6 digits of the files.
    analysis_parameters.rotate = false;
    scoring_step();
    const matrix scores(dir / "T.usc");
    for (int j = 0; j < scores.ncols(); ++j) {
        double sum = 0.0, squares = 0.0;
        for (int i = 0; i < scores.nrows(); ++i) {
            sum += scores.val(i, j);
            squares += scores.val(i, j) * scores.val(i, j);
        }
        EXPECT_NEAR(sum / scores.nrows(), 0.0, 1e-5) << "factor " << j + 1;
        EXPECT_NEAR(squares / scores.nrows(), 1.0, 1e-4) << "factor " << j + 1;
    }
}

TEST_F(Scoring, RegressionWeightsForIteratedFactors)
{
    // The weights are inverse(R) times the pattern; R's solve() computed
    // them for the 8 physical variables and their first two components.
    matrix r(harman23_correlations_rows, harman23_correlations_cols, harman23_correlations);
    r.write(dir / "T.cor");
    matrix a(harman23_unrotated_rows, harman23_unrotated_cols, harman23_unrotated);
    a.setrowlabs("v");
    a.setcollabs("Factor");
    a.write(dir / "T.uev");
    analysis_parameters.rotate = false;
    score_weights_factors();

    const matrix w(dir / "T.uwt");
    ASSERT_EQ(w.nrows(), 8);
    ASSERT_EQ(w.ncols(), 2);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(w.getrowlab(i), "v" + std::to_string(i + 1));
        for (int j = 0; j < 2; ++j) {
            const double expected = harman23_regression_weights[i * 2 + j];
            EXPECT_NEAR(w.val(i, j), expected, 1e-5 * std::fabs(expected) + 1e-6);
        }
    }
    EXPECT_EQ(w.getcollab(1), "Factor2");
    EXPECT_FALSE(dir.exists("T.rwt"));
}

TEST_F(Scoring, ImageWeightsGoThroughTheImageMatrix)
{
    // By hand, with M = ((0.5, 0.1), (0.2, 0.4)), A = (0.8, 0.6)', lambda = 2
    // and B = (0.6, 0.8)':  M A = (0.46, 0.40)', so the unrotated weights
    // are (0.23, 0.20)'; M A / 4 = (0.115, 0.1)', times A' gives
    // ((0.092, 0.069), (0.08, 0.06)), times B (0.1104, 0.096)'.
    dir.write("T.mod", "2 2 \r\nc1 c2 \r\nx 0.5 0.1 \r\ny 0.2 0.4 \r\n");
    dir.write("T.uev", "2 1 \r\nFactor1 \r\nx 0.8 \r\ny 0.6 \r\n");
    dir.write("T.uel", "1 1 \r\nFactor1 \r\nr1 2 \r\n");
    dir.write("T.rev", "2 1 \r\nRot1 \r\nx 0.6 \r\ny 0.8 \r\n");
    score_weights_image();
    EXPECT_EQ(dir.read("T.uwt"), "2 1 \r\nFactor1 \r\nx 0.23 \r\ny 0.2 \r\n");
    EXPECT_EQ(dir.read("T.rwt"), "2 1 \r\nRot1 \r\nx 0.1104 \r\ny 0.096 \r\n");
}

TEST_F(Scoring, ScoreFileLayout)
{
    // Two subjects: one at the means, one a standard deviation above them
    // on every variable; weights 1 and 0.5 on two factors.
    dir.write("T.dat", "2 2 \r\nx y \r\nmean 10 20 \r\nabove 12 23 \r\n");
    dir.write("T.mns", "1 2 \r\nx y \r\nr1 10 20 \r\n");
    dir.write("T.sig", "1 2 \r\nx y \r\nr1 2 3 \r\n");
    dir.write("T.uwt", "2 2 \r\nF1 F2 \r\nx 1 0.5 \r\ny 1 -0.5 \r\n");
    compute_scores("u");
    EXPECT_EQ(dir.read("T.usc"), "2 2\r\nF1 F2 \r\nmean 0 0 \r\nabove 2 0 \r\n");
}

TEST_F(Scoring, LogLinesAndFilesWithAndWithoutRotation)
{
    testing::internal::CaptureStdout();
    scoring_step();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Unrotated factor scores calculated.\nRotated factor scores calculated.\n");
    for (const char* name : {"T.uwt", "T.rwt", "T.usc", "T.rsc"})
        EXPECT_TRUE(dir.exists(name)) << name;

    scratch_dir other;
    for (const char* name : {"T.dat", "T.mns", "T.sig", "T.uev", "T.uel"})
        other.write(name, dir.read(name));
    analysis_parameters.file_stem = other / "T";
    analysis_parameters.rotate = false;
    testing::internal::CaptureStdout();
    scoring_step();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Unrotated factor scores calculated.\n");
    EXPECT_TRUE(other.exists("T.usc"));
    EXPECT_FALSE(other.exists("T.rwt"));
    EXPECT_FALSE(other.exists("T.rsc"));
}

TEST_F(Scoring, ZeroEigenvalueEndsTheRun)
{
    dir.write("T.uel", "1 2 \r\nFactor1 Factor2 \r\nr1 2.5 0 \r\n");
    EXPECT_EQ(expect_run_error([] { score_weights_components(); }),
              "\n<<**** FATAL ERROR ****>>\nSCORE: NO WEIGHTS FOR AN EIGENVALUE OF 0, FACTOR FACTOR2\n");
    EXPECT_FALSE(dir.exists("T.uwt"));
}

TEST_F(Scoring, FileErrors)
{
    score_weights_components();
    const std::string data = dir.read("T.dat");
    const std::string name = dir / "T.dat";
    std::string upper_name = name;
    for (char& c : upper_name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    // The last value directly followed by the end of the file.
    dir.write("T.dat", data.substr(0, data.size() - 3));
    EXPECT_EQ(expect_run_error([] { compute_scores("u"); }),
              "\n<<**** FATAL ERROR ****>>\nSCORE: ERROR IN RAW DATA FILE \n");

    // A subject label missing: the message names the file.
    dir.write("T.dat", "33 4 \r\n" + data.substr(data.find("\r\n") + 2));
    EXPECT_EQ(expect_run_error([] { compute_scores("u"); }),
              "\n<<**** FATAL ERROR ****>>\nSCORE: ERROR IN RAW DATA FILE " + upper_name + "\n");

    std::filesystem::remove(dir.path() / "T.dat");
    EXPECT_EQ(expect_run_error([] { compute_scores("u"); }),
              "\n<<**** FATAL ERROR ****>>\nSCORE: CANNOT OPEN RAW DATA FILE " + upper_name + "\n");

    // A directory where the score file should go.
    dir.write("T.dat", data);
    std::filesystem::remove(dir.path() / "T.usc");
    std::filesystem::create_directory(dir.path() / "T.usc");
    const std::string score_name = upper_name.substr(0, upper_name.size() - 3) + "USC";
    EXPECT_EQ(expect_run_error([] { compute_scores("u"); }),
              "\n<<**** FATAL ERROR ****>>\nSCORE: CANNOT OPEN OUTPUT SCORE FILE " + score_name + "\n");
}

}  // namespace
