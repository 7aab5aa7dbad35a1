// Factor extraction end to end: principal components, iterated principal
// factors with each prior and image analysis on the examples, against an
// independent computation in R (tests/reference/factor_extraction_reference.R:
// cor, eigen, solve and a principal-axis iteration with the same rules);
// then the number-of-factors rule and the priors on their own.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "factor/extraction.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "harness.h"

#include "tests/reference/factor_extraction_reference.inc"

namespace {

// The analysis log between its start and end lines.
std::string log_of(const std::string& output)
{
    const std::string start = "Analysis began <time>\n";
    const std::size_t from = output.find(start);
    const std::size_t to = output.find("Analysis ended");
    if (from == std::string::npos || to == std::string::npos)
        return output;
    return output.substr(from + start.size(), to - from - start.size());
}

// Agreement to the 6 significant digits of the matrix files.
void expect_six_digits(double actual, double expected, const std::string& where)
{
    EXPECT_NEAR(actual, expected, 6e-6 * std::fabs(expected) + 1e-9) << where;
}

// The first `cols` columns of a rows x stride row-major table.
void expect_matrix(const matrix& m, int rows, int cols, const double* expected, int stride,
                   const std::string& name)
{
    ASSERT_EQ(m.nrows(), rows) << name;
    ASSERT_EQ(m.ncols(), cols) << name;
    for (int i = 0; i < rows; ++i)
        for (int j = 0; j < cols; ++j)
            expect_six_digits(m.val(i, j), expected[i * stride + j],
                              name + " (" + std::to_string(i) + ", " + std::to_string(j) + ")");
}

// Loadings agree up to the sign of each factor.
void expect_loadings(const matrix& m, const SolutionReference& ref, const std::string& name)
{
    ASSERT_EQ(m.nrows(), ref.p) << name;
    ASSERT_EQ(m.ncols(), ref.factors) << name;
    for (int j = 0; j < ref.factors; ++j) {
        int largest = 0;
        for (int i = 0; i < ref.p; ++i)
            if (std::fabs(ref.loadings[i * ref.p + j]) > std::fabs(ref.loadings[largest * ref.p + j]))
                largest = i;
        const double sign = m.val(largest, j) * ref.loadings[largest * ref.p + j] < 0 ? -1.0 : 1.0;
        for (int i = 0; i < ref.p; ++i)
            expect_six_digits(sign * m.val(i, j), ref.loadings[i * ref.p + j],
                              name + " (" + std::to_string(i) + ", " + std::to_string(j) + ")");
    }
}

std::string without_flag(std::string label)
{
    if (!label.empty())
        label[0] = static_cast<char>(label[0] & 0x7F);
    return label;
}

class Extraction : public ::testing::Test {
protected:
    scratch_dir dir;

    matrix file(const std::string& name) const { return matrix(dir / name); }

    qrn4_result run(const std::string& data, const std::vector<std::string>& options)
    {
        std::vector<std::string> arguments = {data};
        arguments.insert(arguments.end(), options.begin(), options.end());
        return run_qrn4(dir, arguments);
    }

    // Every file and log line of an extraction with stem `stem`.
    void expect_solution(const std::string& stem, const SolutionReference& ref,
                         const std::string& output)
    {
        const int p = ref.p;
        const int n = ref.factors;
        const matrix uel = file(stem + ".uel");
        expect_matrix(uel, 1, n, ref.eigenvalues, p, stem + ".uel");
        EXPECT_EQ(uel.getcollab(n - 1), "Factor" + std::to_string(n));
        EXPECT_EQ(uel.getrowlab(0), "r1");

        const matrix uev = file(stem + ".uev");
        expect_loadings(uev, ref, stem + ".uev");
        EXPECT_EQ(uev.getcollab(0), "Factor1");

        // The sorted pattern holds the same rows, the first one flagged.
        const matrix uvs = file(stem + ".uvs");
        ASSERT_EQ(uvs.nrows(), p);
        ASSERT_EQ(uvs.ncols(), n);
        EXPECT_NE(uvs.getrowlab(0)[0] & 0x80, 0);
        for (int i = 0; i < p; ++i) {
            int row = 0;
            while (row < p && uev.getrowlab(row) != without_flag(uvs.getrowlab(i)))
                ++row;
            ASSERT_LT(row, p) << uvs.getrowlab(i);
            for (int j = 0; j < n; ++j)
                EXPECT_EQ(uvs.val(i, j), uev.val(row, j));
        }

        expect_matrix(file(stem + ".uet"), 1, n, ref.table + 2 * p, p, stem + ".uet");
        const matrix cev = file(stem + ".cev");
        expect_matrix(cev, 4, p, ref.table, p, stem + ".cev");
        EXPECT_EQ(cev.getrowlab(0), "Eigenvalue");
        EXPECT_EQ(cev.getrowlab(1), "Difference");
        EXPECT_EQ(cev.getrowlab(2), "%Trace");
        EXPECT_EQ(cev.getrowlab(3), "Cumulative");
        EXPECT_EQ(cev.val(1, p - 1), 0.0);

        if (ref.ice) {
            const matrix ice = file(stem + ".ice");
            expect_matrix(ice, 1, p, ref.ice, p, stem + ".ice");
            EXPECT_EQ(ice.getcollab(0), uev.getrowlab(0));
            expect_matrix(file(stem + ".iev"), 1, p, ref.iev, p, stem + ".iev");
            expect_matrix(file(stem + ".fce"), 1, p, ref.fce, p, stem + ".fce");
        }

        const std::string log = log_of(output);
        EXPECT_NE(log.find(std::string(ref.log_lines) + "Factor extraction complete.\n"
                           + ref.note + "\n"),
                  std::string::npos)
            << log;
    }
};

TEST_F(Extraction, PrincipalComponents)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const qrn4_result result = run("attitude.dat", {});
    EXPECT_EQ(result.exit_code, 0);
    expect_solution("attitude", kAttitudeComponents, result.output);
}

TEST_F(Extraction, IteratedPrincipalFactorsWithEachPrior)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const std::pair<std::vector<std::string>, const SolutionReference*> cases[] = {
        {{"-TF"}, &kAttitudeSmc},
        {{"-TF", "-EC"}, &kAttitudeMaxCorrelation},
        {{"-TF", "-E1"}, &kAttitudeOnes},
        // Three factors in the first solution, one in the last.
        {{"-TF", "-E1", "-M0.8"}, &kAttitudeOnesFalling},
        {{"-TF", "-I3"}, &kAttitudeThreeIterations},
        {{"-TF", "-I"}, &kAttitudeNoIteration},
    };
    for (const auto& [options, ref] : cases) {
        SCOPED_TRACE(options.back());
        const qrn4_result result = run("attitude.dat", options);
        EXPECT_EQ(result.exit_code, 0);
        expect_solution("attitude", *ref, result.output);
    }
}

TEST_F(Extraction, ImageAnalysis)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const qrn4_result result = run("attitude.dat", {"-TI"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_NE(result.output.find("Correlation matrix created.\nImage covariance matrix created.\n"),
              std::string::npos);
    const matrix cov = file("attitude.cov");
    expect_matrix(cov, 7, 7, kAttitudeImage_cov, 7, "attitude.cov");
    EXPECT_EQ(cov.getrowlab(6), "advance");
    EXPECT_EQ(cov.getcollab(0), "rating");
    const matrix mod = file("attitude.mod");
    expect_matrix(mod, 7, 7, kAttitudeImage_mod, 7, "attitude.mod");
    EXPECT_EQ(mod.getrowlab(1), "complaints");
    EXPECT_EQ(mod.getcollab(1), "c2");
    expect_solution("attitude", kAttitudeImage, result.output);
}

TEST_F(Extraction, HeywoodCase)
{
    dir.write("heywood.dat", test_data("heywood.dat"));
    const qrn4_result fatal = run("heywood.dat", {"-TF"});
    EXPECT_EQ(fatal.exit_code, 1);
    EXPECT_TRUE(fatal.output.ends_with(
        "Correlation matrix created.\n\n<<**** FATAL ERROR ****>>\n"
        "EXTRACT: COMMUNALITY > 1.0, VARIABLE X1\n"))
        << fatal.output;
    EXPECT_FALSE(dir.exists("heywood.fce"));

    // With -H each excess is reset, and the change that it causes keeps the
    // iteration going to its limit.
    const qrn4_result reset = run("heywood.dat", {"-TF", "-H", "-I5"});
    EXPECT_EQ(reset.exit_code, 0);
    expect_solution("heywood", kHeywoodReset, reset.output);
    EXPECT_EQ(file("heywood.fce").val(0, 0), 1.0);
}

TEST_F(Extraction, QTypeLimitAboveTheEigenvalues)
{
    // -N11 passes the cap against the 12 ratings, but the transposed data
    // has 10 variables: every eigenvalue is kept, and no more.
    dir.write("judges.dat", example("judges.dat"));
    const qrn4_result result = run("judges.dat", {"-Q", "-N11"});
    EXPECT_EQ(result.exit_code, 0) << result.output;
    expect_solution("qdata", kJudgesQType, result.output);
}

TEST_F(Extraction, PrecisionLeftForTheRestOfTheRun)
{
    // The elapsed time prints in fixed notation with the precision that the
    // note left: 2 after components and image analysis, 3 after iterated
    // factors.  Written to a file, the line is not masked.
    dir.write("attitude.dat", example("attitude.dat"));
    auto decimals = [&](const std::vector<std::string>& options) {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {">", "out.txt"});
        run("attitude.dat", arguments);
        const std::string output = dir.read("out.txt");
        const std::size_t at = output.find("Elapsed time ");
        const std::size_t point = output.find('.', at);
        const std::size_t end = output.find(" seconds\n", at);
        if (at == std::string::npos || point > end || end == std::string::npos)
            return std::string::npos;
        return end - point - 1;
    };
    EXPECT_EQ(decimals({}), 2u);
    EXPECT_EQ(decimals({"-TI"}), 2u);
    EXPECT_EQ(decimals({"-TF"}), 3u);
}

TEST_F(Extraction, TraceOfZeroEndsTheRun)
{
    // Uncorrelated variables: R is the identity, so the image covariance is
    // all zeros (and so are the image weights).
    dir.write("flat.dat", "4 2 \r\nx y \r\na 1 1 \r\nb 1 -1 \r\nc -1 1 \r\nd -1 -1 \r\n");
    const qrn4_result result = run("flat.dat", {"-TI", "-M0"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with(
        "\n<<**** FATAL ERROR ****>>\nEXTRACT: TRACE IS ZERO, NO PERCENTAGES OF IT \n"))
        << result.output;
    for (const char* name : {"flat.cov", "flat.mod"}) {
        const matrix m = file(name);
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                EXPECT_EQ(m.val(i, j), 0.0) << name;
    }
    EXPECT_TRUE(dir.exists("flat.uel"));
    EXPECT_FALSE(dir.exists("flat.uet"));
    EXPECT_FALSE(dir.exists("flat.cev"));
}

TEST_F(Extraction, NoFactorAboveTheMinimum)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const qrn4_result result = run("attitude.dat", {"-M4"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with("\n<<**** FATAL ERROR ****>>\nEXTRACT: NO FACTORS \n"));
    EXPECT_FALSE(dir.exists("attitude.uev"));
}

// The rule and the priors on their own, on analysis_parameters restored
// after each test.
class ExtractionSteps : public ::testing::Test {
protected:
    analysis_parameters_record saved = analysis_parameters;
    ~ExtractionSteps() override { analysis_parameters = saved; }

    static int kept(std::vector<double> values, int limit, double min_eigenvalue)
    {
        const matrix e(1, static_cast<int>(values.size()), values.data());
        return number_of_factors(e, limit, min_eigenvalue);
    }
};

TEST_F(ExtractionSteps, NumberOfFactors)
{
    // An eigenvalue equal to the minimum counts.
    EXPECT_EQ(kept({2.5, 1.0, 0.7}, 3, 1.0), 2);
    // The count stops at the first one below, whatever follows.
    EXPECT_EQ(kept({2.5, 0.9, 1.2}, 3, 1.0), 1);
    EXPECT_EQ(kept({2.5, 2.0, 1.5}, 2, 1.0), 2);
    // A limit beyond the eigenvalues examines only those there are.
    EXPECT_EQ(kept({2.5, 2.0, 1.5}, 11, 0.0), 3);
    // NaN counts as below.
    EXPECT_EQ(kept({2.5, std::numeric_limits<double>::quiet_NaN(), 1.5}, 3, 0.0), 1);

    EXPECT_EQ(expect_run_error([] { kept({0.9, 0.5}, 2, 1.0); }),
              "\n<<**** FATAL ERROR ****>>\nEXTRACT: NO FACTORS \n");
    EXPECT_EQ(expect_run_error([] { kept({std::numeric_limits<double>::quiet_NaN()}, 1, 0.0); }),
              "\n<<**** FATAL ERROR ****>>\nEXTRACT: NO FACTORS \n");
}

TEST_F(ExtractionSteps, Priors)
{
    // Largest absolute correlation: negative ones count by magnitude, a
    // variable uncorrelated with the others gets 0.
    const double r[] = {1, -0.6, 0.3, 0,
                        -0.6, 1, -0.7, 0,
                        0.3, -0.7, 1, 0,
                        0, 0, 0, 1};
    matrix s(4, 4, r);
    prior_max_correlation(s);
    EXPECT_EQ(s.val(0, 0), 0.6);
    EXPECT_EQ(s.val(1, 1), 0.7);
    EXPECT_EQ(s.val(2, 2), 0.7);
    EXPECT_EQ(s.val(3, 3), 0.0);
    EXPECT_EQ(s.val(0, 1), -0.6);

    // For two variables the inverse has the diagonal 1 / (1 - r^2), so the
    // squared multiple correlation is r^2.
    const double two[] = {1, 0.6, 0.6, 1};
    matrix t(2, 2, two);
    prior_smc(t);
    EXPECT_NEAR(t.val(0, 0), 0.36, 1e-15);
    EXPECT_NEAR(t.val(1, 1), 0.36, 1e-15);

    const double singular[] = {1, 1, 1, 1};
    matrix u(2, 2, singular);
    EXPECT_EQ(expect_run_error([&] { prior_smc(u); }), "Matrix: SINGULAR MATRIX \n");
}

}  // namespace
