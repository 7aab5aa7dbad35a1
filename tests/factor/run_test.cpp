// End-to-end runs of qrn4: the start-up checks, the banner, the parameter
// echo, the '>' redirection, the Q-type transposition and the exit codes.
// The stages of the analysis have tests of their own; these check what
// is printed before them and the files written before them.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

const std::string fatal = "\n<<**** FATAL ERROR ****>>\n";
const std::string banner = "                    Quarnel 4.0\n\n";

// The output up to the line that starts the analysis log.
std::string head(const std::string& output)
{
    const std::string start = "Analysis began <time>\n";
    const std::size_t at = output.find(start);
    return at == std::string::npos ? output : output.substr(0, at + start.size());
}

std::string log_head()
{
    return "Analysis Log\n------------\nAnalysis began <time>\n";
}

// A raw data file of `subjects` x `variables` whole numbers.
std::string integer_data(int subjects, int variables)
{
    std::string text = std::to_string(subjects) + " " + std::to_string(variables) + " \r\n";
    for (int j = 0; j < variables; ++j)
        text += "v" + std::to_string(j + 1) + " ";
    text += "\r\n";
    for (int i = 0; i < subjects; ++i) {
        text += "s" + std::to_string(i + 1) + " ";
        for (int j = 0; j < variables; ++j)
            text += std::to_string((i * 7 + j * j * 3 + i * j) % 11) + " ";
        text += "\r\n";
    }
    return text;
}

class Run : public ::testing::Test {
protected:
    scratch_dir dir;
    qrn4_result run(const std::vector<std::string>& arguments) { return run_qrn4(dir, arguments); }
};

TEST_F(Run, WithoutArgumentsOnlyTheFatalError)
{
    const qrn4_result result = run({});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: NO DATA FILE SPECIFIED \n");
    EXPECT_TRUE(dir.files().empty());

    // A name that leaves no stem is named.
    EXPECT_EQ(run({".dat", "-R"}).output,
              fatal + "INITIALIZATION: DATA FILE NAME WITHOUT A STEM .DAT\n");
}

TEST_F(Run, RawDataHeaderChecks)
{
    auto output_for = [&](const std::string& bytes) {
        dir.write("data.dat", bytes);
        const qrn4_result result = run({"data.dat"});
        EXPECT_EQ(result.exit_code, 1) << bytes;
        return result.output;
    };
    const std::string too_few_observations = fatal + "INITIALIZATION: TOO FEW OBSERVATIONS \n";
    EXPECT_EQ(output_for("1 3 \r\n"), too_few_observations);
    EXPECT_EQ(output_for("1 1 \r\n"), too_few_observations);  // subjects first
    EXPECT_EQ(output_for("-5 3 \r\n"), too_few_observations);
    EXPECT_EQ(output_for("abc 3 \r\n"), too_few_observations);
    EXPECT_EQ(output_for("3 1 \r\n"), fatal + "INITIALIZATION: TOO FEW VARIABLES \n");

    const std::string error_raw = fatal + "INITIALIZATION: ERROR RAW DATA FILE DATA.DAT\n";
    EXPECT_EQ(output_for("3 2"), error_raw);
    EXPECT_EQ(output_for("3"), error_raw);
    EXPECT_EQ(output_for(""), error_raw);
    // A count beyond the 32-bit range is an error of the file.
    EXPECT_EQ(output_for("99999999999 2 \r\n"), error_raw);
    EXPECT_EQ(output_for("3 99999999999 \r\n"), error_raw);

    EXPECT_EQ(run({"missing.dat"}).output,
              fatal + "INITIALIZATION: CANNOT OPEN RAW DATA FILE MISSING.DAT\n");

    // The header readers look at the two counts only.
    dir.write("data.dat", "3 2\n");
    EXPECT_TRUE(run({"data.dat"}).output.starts_with(banner));
}

TEST_F(Run, BannerAndDefaultParameters)
{
    dir.write("attitude.dat", example("attitude.dat"));
    EXPECT_EQ(head(run({"attitude.dat"}).output),
              banner
                  + "\nAnalysis Parameters  \n"
                    "-------------------  \n"
                    "Command Line           ATTITUDE.DAT \n"
                    "Data File              ATTITUDE\n"
                    "Analysis Type          Principal Components\n"
                    "Max # Factors          # of variables\n"
                    "Min Eigenvalue         1\n"
                    "Rotate                 No\n"
                    "Score                  No\n"
                    "\n"
                  + log_head());
}

TEST_F(Run, EchoOfTheOptions)
{
    dir.write("attitude.dat", example("attitude.dat"));
    EXPECT_EQ(head(run({"attitude.dat", "-tf", "-EC", "-H", "-I50", "-N3", "-M0.5", "-Pd", "-c",
                        "-X"})
                       .output),
              banner
                  + "\nAnalysis Parameters  \n"
                    "-------------------  \n"
                    "Command Line           ATTITUDE.DAT -TF -EC -H -I50 -N3 -M0.5 -PD -C -X \n"
                    "Data File              ATTITUDE\n"
                    "Analysis Type          Iterated Principal Factors\n"
                    "Prior Communality Ests Max Correlation\n"
                    "Allow Heywood          Yes\n"
                    "Max # Factors          3\n"
                    "Min Eigenvalue         0.5\n"
                    "Max Iterations         50\n"
                    "Rotate                 No\n"
                    "Score                  No\n"
                    "\n"
                  + log_head());

    const std::string echo = run({"-TF", "-E1", "attitude.dat", "-D", "-S", "-M0.3333333"}).output;
    EXPECT_EQ(head(echo), banner
                              + "\nAnalysis Parameters  \n"
                                "-------------------  \n"
                                "Data File              ATTITUDE\n"
                                "Analysis Type          Iterated Principal Factors\n"
                                "Prior Communality Ests One\n"
                                "Allow Heywood          No\n"
                                "Max # Factors          # of variables\n"
                                "Min Eigenvalue         0.333\n"
                                "Max Iterations         100\n"
                                "Rotate                 Varimax\n"
                                "Score                  Yes\n"
                                "\n"
                              + log_head());

    const std::string image = head(run({"attitude.dat", "-TI", "-R", "-M12345"}).output);
    EXPECT_NE(image.find("Analysis Type          Image Covariance\n"
                         "Max # Factors          # of variables\n"
                         "Min Eigenvalue         1.23e+04\n"
                         "Rotate                 Varimax\n"),
              std::string::npos)
        << image;
    EXPECT_NE(head(run({"attitude.dat", "-TF"}).output)
                  .find("Prior Communality Ests Squared Multiple Correlation\n"),
              std::string::npos);
}

TEST_F(Run, FactorLimitIsCappedByTheVariables)
{
    dir.write("small.dat", integer_data(6, 3));
    const std::string output = run({"small.dat", "-N5"}).output;
    EXPECT_NE(output.find("Max # Factors          3\nMin Eigenvalue         0\n"), std::string::npos)
        << output;
}

TEST_F(Run, OneFactorDisablesRotation)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const std::string output = run({"attitude.dat", "-R", "-N1"}).output;
    EXPECT_NE(output.find("Rotate                 Varimax\n"), std::string::npos);
    EXPECT_NE(output.find("Warning: cannot rotate one factor --  rotation disabled.\n"),
              std::string::npos);
}

TEST_F(Run, FileNamesKeepTheirCase)
{
    dir.write("sub.d/MyData.dat", example("attitude.dat"));
    const qrn4_result found = run({"./sub.d/MyData.dat"});
    EXPECT_NE(found.output.find("Data File              ./SUB.D/MYDATA\n"), std::string::npos);
    EXPECT_EQ(run({"sub.d/mydata.dat"}).output,
              fatal + "INITIALIZATION: CANNOT OPEN RAW DATA FILE SUB.D/MYDATA.DAT\n");
}

TEST_F(Run, QTypeTransposesIntoTheWorkingDirectory)
{
    // 3 subjects x 2 variables; the transposed file has the variables as
    // subjects, values rounded to 6 significant digits.
    dir.write("in/data.dat", "3 2 \r\nx y \r\na 1.23456789 2 \r\nb 3 4 \r\nc 5 -0 \r\n");
    const qrn4_result result = run({"-q", "in/data.dat"});
    EXPECT_EQ(dir.read("qdata.dat"), "2 3 \r\na b c \r\nx 1.23457 3 5 \r\ny 2 4 -0 \r\n");
    EXPECT_FALSE(dir.exists("in/qdata.dat"));
    // Subjects divided by variables of the data as given: 3 / 2.
    EXPECT_EQ(head(result.output), banner
                                       + "\nAnalysis Parameters  \n"
                                         "-------------------  \n"
                                         "Command Line           -Q IN/DATA.DAT \n"
                                         "Q-type factoring       \n"
                                         "Data File              IN/DATA\n"
                                         "Auto Classification    No\n"
                                         "Analysis Type          Principal Components\n"
                                         "Max # Factors          # of variables\n"
                                         "Min Eigenvalue         1.5\n"
                                         "Rotate                 No\n"
                                         "Score                  No\n"
                                         "\n"
                                       + log_head());
}

TEST_F(Run, QTypeMinimumEigenvalueRule)
{
    dir.write("data.dat", integer_data(20, 8));
    auto min_eigenvalue = [&](std::vector<std::string> options) {
        options.insert(options.begin(), "data.dat");
        const std::string output = run(options).output;
        const std::size_t at = output.find("Min Eigenvalue         ");
        return at == std::string::npos ? output : output.substr(at + 23, output.find('\n', at) - at - 23);
    };
    EXPECT_EQ(min_eigenvalue({"-Q"}), "2.5");
    EXPECT_EQ(min_eigenvalue({"-Q", "-M1"}), "2.5");
    EXPECT_EQ(min_eigenvalue({"-Q", "-M2"}), "2");
    EXPECT_EQ(min_eigenvalue({"-Q", "-N2"}), "0");
    EXPECT_EQ(min_eigenvalue({"-N2", "-M1", "-Q"}), "2.5");
}

TEST_F(Run, QTypeWithTooLittleData)
{
    // No variables, or a single one, leave too few subjects to transpose
    // into; the counts are tested before they are divided.
    dir.write("none.dat", "3 0 \r\n\r\na \r\nb \r\nc \r\n");
    qrn4_result result = run({"none.dat", "-Q"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: TOO FEW OBSERVATIONS \n");

    dir.write("one.dat", "1 3 \r\nx y z \r\na 1 2 3 \r\n");
    result = run({"one.dat", "-A"});
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: TOO FEW VARIABLES \n");

    dir.write("bad.dat", "2 2 \r\nx y \r\na 1 2 \r\nb 3");
    result = run({"bad.dat", "-Q"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Matrix: ERROR IN MATRIX FILE BAD.DAT\n");
}

TEST_F(Run, MatrixLargerThanAnyMemory)
{
    // Counts that no memory holds, in a file that holds none of the words
    // they call for: the file ends too early, before anything is allocated
    // (a failed allocation is tested in careless_input_test.cpp).
    dir.write("huge.dat", "2147483647 2147483647 \r\n");
    const qrn4_result result = run({"huge.dat", "-Q"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "Matrix: ERROR IN MATRIX FILE HUGE.DAT\n");
    EXPECT_EQ(result.errors, "");
}

TEST_F(Run, ClassificationEcho)
{
    dir.write("judges.dat", example("judges.dat"));
    const std::string output = head(run({"judges.dat", "-A0.6", "-Oresult.txt"}).output);
    EXPECT_NE(output.find("Q-type factoring       \n"
                          "Data File              JUDGES\n"
                          "Auto Classification    Yes, min loading 0.6\n"
                          "Membership output to   RESULT\n"
                          "Analysis Type          Principal Components\n"
                          "Max # Factors          # of variables\n"
                          "Min Eigenvalue         0.833\n"
                          "Rotate                 Varimax\n"),
              std::string::npos)
        << output;
    EXPECT_NE(head(run({"judges.dat", "-A"}).output).find("Membership output to   membership.dat\n"),
              std::string::npos);
}

TEST_F(Run, RedirectionInBothForms)
{
    dir.write("attitude.dat", example("attitude.dat"));
    const std::string console = run({"attitude.dat"}).output;

    qrn4_result result = run({"attitude.dat", ">", "Out.txt"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.output, "");
    std::string written = mask_clock_lines(dir.read("Out.txt"));
    EXPECT_EQ(written.substr(written.find("Data File")), console.substr(console.find("Data File")));
    EXPECT_NE(written.find("Command Line           ATTITUDE.DAT > OUT.TXT \n"), std::string::npos);

    result = run({">Glued.txt", "attitude.dat"});
    EXPECT_EQ(result.output, "");
    written = mask_clock_lines(dir.read("Glued.txt"));
    EXPECT_EQ(written.substr(written.find("Data File")), console.substr(console.find("Data File")));
}

TEST_F(Run, RedirectionErrors)
{
    dir.write("attitude.dat", example("attitude.dat"));

    // A fatal error before the data file has passed its checks stays on
    // the console, and no target is created.
    qrn4_result result = run({">out.txt"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: NO DATA FILE SPECIFIED \n");
    EXPECT_FALSE(dir.exists("out.txt"));

    // A second redirection is refused.
    result = run({">first.txt", "attitude.dat", ">second.txt"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: COULD NOT OPEN SECOND.TXT\n");
    EXPECT_FALSE(dir.exists("first.txt") || dir.exists("second.txt"));

    // A fatal error after the checks goes to the file.
    dir.write("short.dat", "3 2 \r\nx y \r\na 1 2 \r\n");
    result = run({"short.dat", ">out.txt"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_TRUE(
        dir.read("out.txt").ends_with(fatal + "CORRELATION: ERROR IN RAW DATA FILE SHORT.DAT\n"));

    result = run({"attitude.dat", ">"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: NO REDIRECTION TARGET \n");

    result = run({"attitude.dat", ">", "no/such/dir.txt"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.output, fatal + "INITIALIZATION: COULD NOT OPEN NO/SUCH/DIR.TXT\n");

    // Output that cannot be written is no success.
    result = run({"attitude.dat", ">/dev/full"});
    EXPECT_EQ(result.exit_code, 1);
}

}  // namespace
