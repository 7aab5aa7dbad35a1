// Runs of qrn4 on careless and hostile input: no run writes over its raw
// data file, a header's counts never size more memory than its file can
// hold, output that cannot be written is reported, and a file-size limit
// makes a write fail like any other.
#include <gtest/gtest.h>

#include <filesystem>

#include "harness.h"

namespace {

namespace fs = std::filesystem;

const std::string fatal = "\n<<**** FATAL ERROR ****>>\n";

// The counts and the names v1, v2, ... of a raw data file.
std::string header(int subjects, int variables)
{
    std::string text = std::to_string(subjects) + " " + std::to_string(variables) + " \r\n";
    for (int j = 1; j <= variables; ++j)
        text += "v" + std::to_string(j) + " ";
    return text;
}

class CarelessInput : public ::testing::Test {
protected:
    scratch_dir dir;

    qrn4_result run(const std::vector<std::string>& arguments, const qrn4_limits& limits = {})
    {
        return run_qrn4(dir, arguments, limits);
    }

    // The run ends before it writes anything, naming the file it would
    // have written over data_file, which keeps its bytes.
    void expect_refused(const std::vector<std::string>& arguments, const std::string& data_file,
                        const std::string& named)
    {
        const std::vector<std::string> files = dir.files();
        const std::string bytes = dir.read(data_file);
        const qrn4_result result = run(arguments);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.output,
                  fatal + "INITIALIZATION: CANNOT WRITE OVER RAW DATA FILE " + named + "\n");
        EXPECT_EQ(dir.read(data_file), bytes);
        EXPECT_EQ(dir.files(), files);
    }
};

TEST_F(CarelessInput, NoRunWritesOverItsRawDataFile)
{
    dir.write("qdata.dat", example("judges.dat"));
    expect_refused({"qdata.dat", "-Q"}, "qdata.dat", "QDATA.DAT");
    expect_refused({"./qdata.dat", "-A"}, "qdata.dat", "QDATA.DAT");

    dir.write("membership.dat", example("judges.dat"));
    expect_refused({"membership.dat", "-A"}, "membership.dat", "MEMBERSHIP.DAT");

    dir.write("d.dat", example("attitude.dat"));
    expect_refused({"d.dat", ">", "d.dat"}, "d.dat", "D.DAT");
    expect_refused({"d.dat", ">d.dat"}, "d.dat", "D.DAT");
    // The redirection comes before the data file argument.
    expect_refused({">./d.dat", "-R", "d.dat"}, "d.dat", "./D.DAT");

    // Links to the data file under the names of the run's files.
    fs::create_hard_link(dir.path() / "d.dat", dir.path() / "groups");
    expect_refused({"d.dat", "-A", "-Ogroups"}, "d.dat", "GROUPS");
    fs::create_symlink("d.dat", dir.path() / "d.rsc");
    expect_refused({"d.dat", "-S"}, "d.dat", "D.RSC");
}

TEST_F(CarelessInput, ASecondRunOverTheFilesOfTheFirstStillWorks)
{
    dir.write("judges.dat", example("judges.dat"));
    ASSERT_EQ(run({"judges.dat", "-A"}).exit_code, 0);
    const std::string qdata = dir.read("qdata.dat");
    EXPECT_EQ(run({"judges.dat", "-A"}).exit_code, 0);
    // The transposed data of the first run analysed as data of their own.
    EXPECT_EQ(run({"qdata.dat", "-R"}).exit_code, 0);
    EXPECT_EQ(dir.read("qdata.dat"), qdata);
    EXPECT_TRUE(dir.exists("qdata.rev"));
}

TEST_F(CarelessInput, HeaderCountsSizeNothingTheFileCannotHold)
{
    // Far more than a few megabytes would end the run with exit code 3;
    // the CPU limit stops a run that does not end.
    const qrn4_limits limits{.memory_bytes = 256LL << 20, .cpu_seconds = 60};
    dir.write("h.dat", "999999999 3 ");
    qrn4_result result = run({"h.dat", "-Q"}, limits);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Matrix: ERROR IN MATRIX FILE H.DAT\n");

    // The names of 20,000 variables and no values: their correlations would
    // take 3.2 GB.
    dir.write("names.dat", header(3, 20000) + "\r\n");
    result = run({"names.dat"}, limits);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with(
        "Note: The raw data file has 3 subjects and 20000 variables.\n" + fatal
        + "CORRELATION: ERROR IN RAW DATA FILE NAMES.DAT\n"))
        << result.output;
}

TEST_F(CarelessInput, MemoryThatRunsOutEndsWithExitCode3)
{
    if (!address_space_limited())
        GTEST_SKIP() << "the address space cannot be limited under AddressSanitizer";
    // Sound data of 4000 variables, whose correlations need 128 MB.
    std::string data = header(2, 4000);
    for (const char* subject : {"\r\na", "\r\nb"}) {
        data += subject;
        for (int j = 0; j < 4000; ++j)
            data += j % 2 ? " 1" : " 0";
    }
    dir.write("wide.dat", data + " \r\n");
    const qrn4_result result = run({"wide.dat"}, {.memory_bytes = 96LL << 20});
    EXPECT_EQ(result.exit_code, 3);
    EXPECT_EQ(result.errors, "Abnormal program termination\n");
}

TEST_F(CarelessInput, OutputThatCannotBeWrittenIsReportedOnStandardError)
{
    dir.write("d.dat", example("attitude.dat"));
    const std::string report_error = fatal + "PRINT RESULTS: ERROR WRITING REPORT TO ";
    qrn4_result result = run({"d.dat", ">", "/dev/full"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_EQ(result.errors, report_error + "/DEV/FULL\n");

    // The fatal error went the same way, and is told again.
    result = run({"missing.dat", ">/dev/full"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.errors, fatal + "INITIALIZATION: CANNOT OPEN RAW DATA FILE MISSING.DAT\n"
                                 + report_error + "/DEV/FULL\n");

    // A report beyond the file-size limit.
    result = run({"d.dat", ">", "report.txt"}, {.file_size_bytes = 3000});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.errors, report_error + "REPORT.TXT\n");
    EXPECT_EQ(dir.read("report.txt").size(), 3000u);
}

TEST_F(CarelessInput, AMatrixFileBeyondTheFileSizeLimitIsAnError)
{
    // 30 subjects x 20 variables: the correlations take about 4 KB.
    std::string data = header(30, 20);
    for (int i = 0; i < 30; ++i) {
        data += "\r\ns" + std::to_string(i) + " ";
        for (int j = 0; j < 20; ++j)
            data += std::to_string((i + j * i * i) % 17) + " ";
    }
    dir.write("d.dat", data + "\r\n");
    const qrn4_result result = run({"d.dat"}, {.file_size_bytes = 2000});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with("Matrix: ERROR WRITING MATRIX FILE D.COR\n"))
        << result.output;
    EXPECT_EQ(fs::file_size(dir.path() / "d.cor"), 2000u);
}

}  // namespace
