// Complete runs of qrn4 on the example data, one for each kind of analysis,
// compared with their expected output in tests/factor/data/report_*.txt.
//
// The expected reports were checked by hand against the layout of the
// report (page headers and the lines on each page, blocks, chunks, group
// breaks, the scree plot), and every number in them against an analysis
// of the same data in R: tests/reference/check_reports.R.
#include <gtest/gtest.h>

#include <ostream>

#include "harness.h"

namespace {

struct golden_run {
    const char* data;
    std::vector<std::string> arguments;
    const char* expected;
};

// The run as its test names it: the command line.
void PrintTo(const golden_run& run, std::ostream* out)
{
    *out << "qrn4";
    for (const std::string& argument : run.arguments)
        *out << ' ' << argument;
}

class ReportRun : public ::testing::TestWithParam<golden_run> {};

TEST_P(ReportRun, PrintsTheExpectedReport)
{
    const golden_run& run = GetParam();
    scratch_dir dir;
    dir.write(run.data, example(run.data));
    const qrn4_result result = run_qrn4(dir, run.arguments);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.errors, "");
    EXPECT_EQ(result.output, test_data(run.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ReportRun,
    ::testing::Values(
        // Principal components with rotation, weights, raw data and scores:
        // tables in two blocks, a page break inside a block, six pages.
        golden_run{"attitude.dat", {"attitude.dat", "-R", "-S", "-PDS"}, "report_components.txt"},
        // Iterated principal factors keep one factor, so the rotation is
        // disabled; no page breaks.
        golden_run{"attitude.dat", {"attitude.dat", "-TF", "-R", "-C"}, "report_factors.txt"},
        // Image analysis of two factors with rotation and weights.
        golden_run{"attitude.dat", {"attitude.dat", "-TI", "-N2", "-S"}, "report_image.txt"},
        // Q-type analysis of the judges with classification.
        golden_run{"judges.dat", {"judges.dat", "-A"}, "report_classes.txt"}),
    [](const ::testing::TestParamInfo<golden_run>& run) {
        const std::string name = run.param.expected;
        return name.substr(7, name.size() - 11);  // report_<name>.txt
    });

TEST(ReportRunFiles, RotatedSectionsOfAnEarlierRunAreNotPrinted)
{
    scratch_dir dir;
    dir.write("attitude.dat", example("attitude.dat"));
    ASSERT_EQ(run_qrn4(dir, {"attitude.dat", "-R"}).exit_code, 0);
    ASSERT_TRUE(dir.exists("attitude.rcm"));

    // The print letter R without rotation finds the files of the run before.
    const qrn4_result result = run_qrn4(dir, {"attitude.dat", "-PR", "-C"});
    EXPECT_EQ(result.exit_code, 1);
    const std::string end = "\n<<**** FATAL ERROR ****>>\n"
                            "PRINT RESULTS: CANNOT OPEN DATA FILE ATTITUDE.RCM\n";
    ASSERT_GE(result.output.size(), end.size());
    EXPECT_EQ(result.output.substr(result.output.size() - end.size()), end);
    EXPECT_NE(result.output.find("Unrotated Solution: Factor Pattern"), std::string::npos);
}

TEST(ReportRunFiles, AMembershipFileInTheWorkingDirectoryIsPrinted)
{
    // The name "./groups" begins with a '.' like an extension, but is the
    // file's own name.
    scratch_dir dir;
    dir.write("judges.dat", example("judges.dat"));
    const qrn4_result result = run_qrn4(dir, {"judges.dat", "-A", "-O./groups.txt", "-C"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_TRUE(dir.exists("groups"));
    EXPECT_NE(result.output.find("\nClassification Results\n"), std::string::npos);
}

}  // namespace
