// Runs of qrn4 on careless and hostile input: no run writes over its raw
// data file, nor its report over a file of its own; a raw data file that
// is not a regular file is refused; a header's counts never size more
// memory than its file can hold, nor does a sparse file's hole; output that
// cannot be written is reported, and a file-size limit makes a write fail
// like any other.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>

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

    qrn4_result run(const std::vector<std::string>& arguments, const qrn4_limits& limits = {},
                    const std::vector<std::string>& environment = {})
    {
        return run_qrn4(dir, arguments, limits, environment);
    }

    // The files of the directory and their bytes.
    std::map<std::string, std::string> contents() const
    {
        std::map<std::string, std::string> bytes;
        for (const std::string& name : dir.files())
            bytes[name] = dir.read(name);
        return bytes;
    }

    // The run ends with `message` before it writes anything: every file
    // keeps its bytes, and no file is made.
    void expect_untouched(const std::vector<std::string>& arguments, const std::string& message,
                          const std::vector<std::string>& environment = {})
    {
        const std::map<std::string, std::string> before = contents();
        const qrn4_result result = run(arguments, {}, environment);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.output, fatal + "INITIALIZATION: " + message + "\n");
        EXPECT_EQ(contents(), before);
    }

    // The run ends before it writes anything, naming the file it would
    // have written over its raw data file.
    void expect_refused(const std::vector<std::string>& arguments, const std::string& named)
    {
        expect_untouched(arguments, "CANNOT WRITE OVER RAW DATA FILE " + named);
    }
};

TEST_F(CarelessInput, NoRunWritesOverItsRawDataFile)
{
    dir.write("qdata.dat", example("judges.dat"));
    expect_refused({"qdata.dat", "-Q"}, "QDATA.DAT");
    expect_refused({"./qdata.dat", "-A"}, "QDATA.DAT");

    dir.write("membership.dat", example("judges.dat"));
    expect_refused({"membership.dat", "-A"}, "MEMBERSHIP.DAT");

    dir.write("d.dat", example("attitude.dat"));
    expect_refused({"d.dat", ">", "d.dat"}, "D.DAT");
    expect_refused({"d.dat", ">d.dat"}, "D.DAT");
    // The redirection comes before the data file argument.
    expect_refused({">./d.dat", "-R", "d.dat"}, "./D.DAT");

    // Links to the data file under the names of the run's files.
    fs::create_hard_link(dir.path() / "d.dat", dir.path() / "groups");
    expect_refused({"d.dat", "-A", "-Ogroups"}, "GROUPS");
    fs::create_symlink("d.dat", dir.path() / "d.rsc");
    expect_refused({"d.dat", "-S"}, "D.RSC");
}

TEST_F(CarelessInput, NoSlipOfTheCommandLineEmptiesAFile)
{
    // The report target is opened only once the data file has passed its
    // checks; a file that an argument names as data is never the target.
    dir.write("d.dat", example("attitude.dat"));
    dir.write("e.dat", example("judges.dat"));
    expect_untouched({">", "d.dat", "rep"}, "CANNOT OPEN RAW DATA FILE REP.DAT");
    expect_untouched({"-S", ">", "d.dat"}, "NO DATA FILE SPECIFIED ");
    expect_untouched({">d.dat", "d.dat", "-N", "3"}, "CANNOT OPEN RAW DATA FILE 3.DAT");
    expect_untouched({"d.dat", ">d.dat", ""}, "NO DATA FILE SPECIFIED ");
    expect_untouched({">d.dat", "d.dat", "e.dat"}, "CANNOT WRITE OVER RAW DATA FILE D.DAT");
}

TEST_F(CarelessInput, ALinkToAFileStillToBeWrittenIsThatFile)
{
    dir.write("d.dat", example("attitude.dat"));
    dir.write("q.dat", example("judges.dat"));
    // A chain of links that leads to the correlations to be.
    fs::create_symlink("d.cor", dir.path() / "link");
    fs::create_symlink("link", dir.path() / "rep");
    expect_untouched({"d.dat", "-S", "-PDS", "-C", ">rep"},
                     "CANNOT WRITE REPORT OVER A FILE OF THE RUN REP");
    fs::create_symlink("membership.dat", dir.path() / "groups");
    expect_untouched({"q.dat", "-A", ">groups"}, "CANNOT WRITE REPORT OVER MEMBERSHIP FILE GROUPS");
    fs::create_symlink("qdata.cor", dir.path() / "mem");
    expect_untouched({"q.dat", "-A", "-Omem", "-PC"},
                     "CANNOT WRITE MEMBERSHIP OVER A FILE OF THE RUN MEM");
}

TEST_F(CarelessInput, ADataFileThatCannotBeFoundAgainIsNotWrittenOver)
{
    // qdata.dat is the data under another name; the data file is not found
    // at its second lookup, as when it is renamed away and back.
    dir.write("x.dat", example("judges.dat"));
    fs::create_hard_link(dir.path() / "x.dat", dir.path() / "qdata.dat");
    std::string asan_options = "ASAN_OPTIONS=verify_asan_link_order=0";
    if (const char* options = std::getenv("ASAN_OPTIONS"))
        asan_options += std::string(":") + options;
    expect_untouched({"x.dat", "-Q"}, "CANNOT OPEN RAW DATA FILE X.DAT",
                     {"LD_PRELOAD=" QRN4_STAT_FAILS_LIBRARY, "QRN4_STAT_FAILS=x.dat",
                      "QRN4_STAT_FAILS_CALL=2", asan_options});
}

TEST_F(CarelessInput, AFileThatCannotBeLookedUpIsNotWritten)
{
    // A link that leads to itself cannot be told from the data file.
    dir.write("d.dat", example("attitude.dat"));
    fs::create_symlink("d.cor", dir.path() / "d.cor");
    const qrn4_result result = run({"d.dat"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: CANNOT WRITE OVER RAW DATA FILE D.COR\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST_F(CarelessInput, NoReportOrMembershipGoesOverAFileOfTheRun)
{
    // Refused before anything is written, on the console.
    const std::string over_run_file = "CANNOT WRITE REPORT OVER A FILE OF THE RUN ";
    dir.write("d.dat", example("attitude.dat"));
    expect_untouched({"d.dat", "-S", "-PDS", "-C", ">d.cor"}, over_run_file + "D.COR");
    expect_untouched({">", "./d.rsc", "d.dat", "-S"}, over_run_file + "./D.RSC");

    dir.write("judges.dat", example("judges.dat"));
    expect_untouched({"judges.dat", "-Q", ">qdata.cor"}, over_run_file + "QDATA.COR");
    expect_untouched({">", "qdata.dat", "judges.dat", "-A"}, over_run_file + "QDATA.DAT");
    expect_untouched({">", "membership.dat", "judges.dat", "-A"},
                     "CANNOT WRITE REPORT OVER MEMBERSHIP FILE MEMBERSHIP.DAT");
    expect_untouched({"judges.dat", "-A", "-Ogroups", ">", "./groups"},
                     "CANNOT WRITE REPORT OVER MEMBERSHIP FILE ./GROUPS");

    // Files of an earlier run under other names: a report over a link to
    // its correlations, a membership file linked to its rotated pattern.
    ASSERT_EQ(run({"d.dat"}).exit_code, 0);
    ASSERT_EQ(run({"judges.dat", "-A"}).exit_code, 0);
    fs::create_hard_link(dir.path() / "d.cor", dir.path() / "report.txt");
    expect_untouched({"d.dat", ">", "report.txt"}, over_run_file + "REPORT.TXT");
    fs::create_symlink("qdata.rev", dir.path() / "groups");
    expect_untouched({"judges.dat", "-A", "-Ogroups"},
                     "CANNOT WRITE MEMBERSHIP OVER A FILE OF THE RUN GROUPS");

    // Files that the run does not write are fine: a run without -A writes
    // no membership file, and a Q-type run nothing beside the data.
    EXPECT_EQ(run({"d.dat", ">membership.dat"}).exit_code, 0);
    EXPECT_EQ(run({"judges.dat", "-Q", ">", "judges.cor"}).exit_code, 0);
}

TEST_F(CarelessInput, ARawDataFileThatIsNotARegularFileIsRefused)
{
    // A named pipe with a writer that never writes: each open of it would
    // wait, and its words could be read only once.
    ASSERT_EQ(mkfifo((dir.path() / "p.dat").c_str(), 0644), 0);
    const int writer = open((dir.path() / "p.dat").c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    qrn4_result result = run({"p.dat", "-Q"}, {.wall_seconds = 30});
    close(writer);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: RAW DATA FILE IS NOT A REGULAR FILE P.DAT\n");

    fs::create_directory(dir.path() / "folder.dat");
    result = run({"folder.dat"});
    EXPECT_EQ(result.output,
              fatal + "INITIALIZATION: RAW DATA FILE IS NOT A REGULAR FILE FOLDER.DAT\n");
    fs::create_symlink("/dev/zero", dir.path() / "zero.dat");
    result = run({"zero.dat"}, {.wall_seconds = 30});
    EXPECT_EQ(result.output,
              fatal + "INITIALIZATION: RAW DATA FILE IS NOT A REGULAR FILE ZERO.DAT\n");

    // A link to a regular file is read as the file.
    dir.write("attitude.dat", example("attitude.dat"));
    fs::create_symlink("attitude.dat", dir.path() / "link.dat");
    EXPECT_EQ(run({"link.dat"}).exit_code, 0);

    // Nor does a pipe in the place of a file that the run writes and
    // reads back make it wait.
    fs::remove(dir.path() / "link.uev");
    ASSERT_EQ(mkfifo((dir.path() / "link.uev").c_str(), 0644), 0);
    result = run({"link.dat"}, {.wall_seconds = 30});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with("Matrix: CANNOT OPEN OUTPUT MATRIX FILE LINK.UEV\n"))
        << result.output;
}

TEST_F(CarelessInput, TheHoleOfASparseFileTakesNoMemory)
{
    // A hole reads as one word of NUL bytes.  Held whole, the 256 MB here
    // would take more than the limit, and so would room for the values
    // that the second header promises.
    const qrn4_limits limits{.memory_bytes = 256LL << 20, .cpu_seconds = 60};
    const auto sparse = [this](const std::string& name, const std::string& head) {
        dir.write(name, head);
        fs::resize_file(dir.path() / name, 256u << 20);
    };
    sparse("s.dat", "5 3 a b c ");
    qrn4_result result = run({"s.dat"}, limits);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_TRUE(result.output.ends_with(fatal + "CORRELATION: ERROR IN RAW DATA FILE S.DAT\n"))
        << result.output;

    sparse("q.dat", "20000000 3 a b c ");
    result = run({"q.dat", "-Q"}, limits);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Matrix: ERROR IN MATRIX FILE Q.DAT\n");
}

TEST_F(CarelessInput, ADataFileTypedWithAnUpperCaseExtensionIsFound)
{
    dir.write("DATA.DAT", example("attitude.dat"));
    const qrn4_result result = run({"DATA.DAT", "-C"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_NE(result.output.find("Data File              DATA\n"), std::string::npos);
    EXPECT_TRUE(dir.exists("DATA.cor") && dir.exists("DATA.uev"));
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

    // A fatal error that went the same way is told again.
    dir.write("short.dat", "3 2 \r\nx y \r\na 1 2 \r\n");
    result = run({"short.dat", ">/dev/full"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.errors, fatal + "CORRELATION: ERROR IN RAW DATA FILE SHORT.DAT\n"
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
