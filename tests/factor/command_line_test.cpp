// The command line: the file stem, the option table and the print letters.
// The '>' redirection and the echo are tested by running the program.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>

#include "factor/parameters.h"
#include "factor/run_files.h"
#include "harness.h"

namespace {

class CommandLine : public ::testing::Test {
protected:
    // Parses the arguments from the initial values on, and names the files.
    const analysis_parameters_record& parse(std::vector<const char*> arguments)
    {
        analysis_parameters = analysis_parameters_record{};
        arguments.insert(arguments.begin(), "qrn4");
        name_run_files(parse_command_line(static_cast<int>(arguments.size()), arguments.data()));
        return analysis_parameters;
    }
};

TEST_F(CommandLine, InitialValues)
{
    const analysis_parameters_record& p = parse({});
    EXPECT_EQ(p.analysis_type, 'P');
    EXPECT_EQ(p.file_stem, "");
    EXPECT_EQ(p.membership_file, "membership.dat");
    EXPECT_EQ(p.max_factors, -1);
    EXPECT_EQ(p.min_eigenvalue, 1.0);
    EXPECT_EQ(p.max_iterations, 100);
    EXPECT_EQ(p.prior_estimate, 'S');
    EXPECT_EQ(p.min_loading, 0.5);
    EXPECT_FALSE(p.rotate || p.score || p.q_type || p.auto_classify || p.allow_heywood
                 || p.no_page_breaks);
    EXPECT_TRUE(p.print_means && p.print_correlations && p.print_unrotated && p.print_sorted
                && p.print_scree && p.print_group_breaks && p.echo_command_line);
    EXPECT_FALSE(p.print_raw_data || p.print_rotated || p.print_weights || p.print_scores
                 || p.print_membership);
}

TEST_F(CommandLine, FileStemIsCutAtTheFirstDotOfTheFileName)
{
    EXPECT_EQ(parse({"data.dat"}).file_stem, "data");
    EXPECT_EQ(analysis_parameters.data_name, "DATA");
    EXPECT_EQ(parse({"data"}).file_stem, "data");
    EXPECT_EQ(parse({"MyData.v2.dat"}).file_stem, "MyData");
    EXPECT_EQ(analysis_parameters.data_name, "MYDATA");
    EXPECT_EQ(parse({"./data.dat"}).file_stem, "./data");
    EXPECT_EQ(parse({"../x.y/data.dat"}).file_stem, "../x.y/data");
    EXPECT_EQ(analysis_parameters.data_name, "../X.Y/DATA");
    EXPECT_EQ(parse({".hidden"}).file_stem, "");
    // The last data file argument wins.
    EXPECT_EQ(parse({"first.dat", "-R", "second.dat"}).file_stem, "second");
}

TEST_F(CommandLine, RawDataFileIsTheNameAsTypedWhenItEndsInDat)
{
    // In any letter case; the stage files keep the stem as typed.
    EXPECT_EQ(parse({"DATA.DAT"}).file_stem, "DATA");
    EXPECT_EQ(raw_data_file(), "DATA.DAT");
    EXPECT_EQ(parse({"./Trees.Dat"}).file_stem, "./Trees");
    EXPECT_EQ(raw_data_file(), "./Trees.Dat");
    EXPECT_EQ(parse({"MyData.v2.dat"}).file_stem, "MyData");
    EXPECT_EQ(raw_data_file(), "MyData.v2.dat");
    // Any other name gives the stem and ".dat".
    parse({"data.dat"});
    EXPECT_EQ(raw_data_file(), "data.dat");
    parse({"data"});
    EXPECT_EQ(raw_data_file(), "data.dat");
    parse({"DATA.TXT"});
    EXPECT_EQ(raw_data_file(), "DATA.dat");
    EXPECT_EQ(data_file_named(".DAT"), "");
}

TEST_F(CommandLine, ClassificationOption)
{
    const analysis_parameters_record& p = parse({"-A"});
    EXPECT_TRUE(p.auto_classify && p.q_type && p.rotate && p.print_rotated && p.print_membership);
    EXPECT_FALSE(p.print_means || p.print_correlations);
    EXPECT_EQ(p.min_loading, 0.5);
    EXPECT_DOUBLE_EQ(p.second_loading_limit, 0.3);

    parse({"-a0.6"});
    EXPECT_EQ(analysis_parameters.min_loading, 0.6);
    EXPECT_DOUBLE_EQ(analysis_parameters.second_loading_limit, 0.4);

    // Only a digit right after the letter starts a number.
    parse({"-A.6"});
    EXPECT_EQ(analysis_parameters.min_loading, 0.5);
    EXPECT_DOUBLE_EQ(analysis_parameters.second_loading_limit, 0.3);
    parse({"-A-0.6"});
    EXPECT_EQ(analysis_parameters.min_loading, 0.5);
}

TEST_F(CommandLine, NumberOptions)
{
    EXPECT_EQ(parse({"-I"}).max_iterations, 0);
    EXPECT_EQ(parse({"-I-50"}).max_iterations, 50);
    EXPECT_EQ(parse({"-I99999999999"}).max_iterations, INT_MAX);

    EXPECT_EQ(parse({"-M"}).min_eigenvalue, 0.0);
    EXPECT_EQ(parse({"-m-0.7"}).min_eigenvalue, 0.7);
    EXPECT_EQ(parse({"-MNAN"}).min_eigenvalue, 0.0);
    EXPECT_EQ(parse({"-MINF"}).min_eigenvalue, 0.0);
    EXPECT_EQ(parse({"-M1e999"}).min_eigenvalue, DBL_MAX);

    EXPECT_EQ(parse({"-N0"}).max_factors, -1);
    EXPECT_EQ(analysis_parameters.min_eigenvalue, 1.0);
    EXPECT_EQ(parse({"-N"}).max_factors, -1);
    EXPECT_EQ(parse({"-N-3"}).max_factors, 3);
    EXPECT_EQ(analysis_parameters.min_eigenvalue, 0.0);
    EXPECT_EQ(parse({"-N-2147483648"}).max_factors, INT_MAX);
    EXPECT_EQ(parse({"-N123456789012"}).max_factors, INT_MAX);
}

TEST_F(CommandLine, LaterOptionsOverwriteEarlierOnes)
{
    parse({"-N3", "-M0.5"});
    EXPECT_EQ(analysis_parameters.max_factors, 3);
    EXPECT_EQ(analysis_parameters.min_eigenvalue, 0.5);
    parse({"-M0.5", "-N3"});
    EXPECT_EQ(analysis_parameters.max_factors, 3);
    EXPECT_EQ(analysis_parameters.min_eigenvalue, 0.0);
    EXPECT_EQ(parse({"-TF", "-TP"}).analysis_type, 'P');
}

TEST_F(CommandLine, CharacterOptions)
{
    EXPECT_EQ(parse({"-TF"}).analysis_type, 'F');
    EXPECT_EQ(parse({"-ti"}).analysis_type, 'I');
    const std::string unknown = "\n<<**** FATAL ERROR ****>>\nINITIALIZATION: UNKNOWN ANALYSIS TYPE \n";
    EXPECT_EQ(expect_run_error([&] { parse({"-TX"}); }), unknown);
    EXPECT_EQ(expect_run_error([&] { parse({"-T"}); }), unknown);

    EXPECT_EQ(parse({"-E1"}).prior_estimate, '1');
    EXPECT_EQ(parse({"-ec"}).prior_estimate, 'C');
    EXPECT_EQ(parse({"-EC", "-EX"}).prior_estimate, 'C');
    EXPECT_EQ(parse({"-E1", "-E"}).prior_estimate, '1');
}

TEST_F(CommandLine, SwitchOptions)
{
    const analysis_parameters_record& p = parse({"-C", "-D", "-H"});
    EXPECT_TRUE(p.no_page_breaks && p.allow_heywood);
    EXPECT_FALSE(p.echo_command_line);

    parse({"-Q"});
    EXPECT_TRUE(p.q_type);
    EXPECT_FALSE(p.auto_classify || p.print_means || p.print_correlations);

    parse({"-R"});
    EXPECT_TRUE(p.rotate && p.print_rotated);
    EXPECT_FALSE(p.score);

    parse({"-s"});
    EXPECT_TRUE(p.score && p.print_weights && p.rotate && p.print_rotated);

    // Letters outside the table, and a lone '-', are ignored.
    parse({"-X", "-B", "-", "-Z9"});
    EXPECT_EQ(p.file_stem, "");
    EXPECT_FALSE(p.rotate);
}

TEST_F(CommandLine, MembershipFileKeepsItsCaseForOpening)
{
    parse({"-Oresult.txt"});
    EXPECT_EQ(analysis_parameters.membership_file, "result");
    EXPECT_EQ(analysis_parameters.membership_name, "RESULT");
    parse({"-o../out.d/Groups.dat"});
    EXPECT_EQ(analysis_parameters.membership_file, "../out.d/Groups");
}

TEST_F(CommandLine, PrintLetters)
{
    const analysis_parameters_record& p = parse({"-PDC-S"});
    EXPECT_TRUE(p.print_raw_data && p.print_scores);
    EXPECT_FALSE(p.print_correlations);
    EXPECT_TRUE(p.print_means && p.print_unrotated);

    parse_print_options("B-M-O-P-U-RWx-");
    EXPECT_FALSE(p.print_group_breaks || p.print_means || p.print_sorted || p.print_scree
                 || p.print_unrotated);
    EXPECT_TRUE(p.print_rotated && p.print_weights);

    // A trailing letter sets its flag on; a '-' without a letter is skipped.
    parse_print_options("--M");
    EXPECT_TRUE(p.print_means);
}

}  // namespace
