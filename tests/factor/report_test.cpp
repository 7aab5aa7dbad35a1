// The report printer: tables cut into blocks and chunks, page headers and
// page breaks, group breaks of sorted patterns, the scree section, and the
// messages of its errors.  The expected texts are written out by hand from
// the layout of the report.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <vector>

#include "factor/errors.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/report.h"
#include "harness.h"

namespace {

const std::string dashes(78, '-');
const std::string page_1 = "\fPrincipal Components Analysis of MYDATA Data" + std::string(27, ' ')
                           + "Page  1\n" + dashes + "\n";
const std::string blanks_11(11, ' ');

class Report : public ::testing::Test {
protected:
    scratch_dir dir;
    std::ostringstream out;

    void SetUp() override
    {
        analysis_parameters = analysis_parameters_record{};
        analysis_parameters.file_stem = dir / "MYDATA";
        analysis_parameters.data_name = "MYDATA";
        page_line_count = 0;
        page_number = 0;
        block_columns = 6;
        title_pending = row_label_column = sorted_pattern = false;
        console_ = std::cout.rdbuf(out.rdbuf());
    }
    void TearDown() override
    {
        std::cout.rdbuf(console_);
        analysis_parameters = saved_;
    }

    // Writes a table file MYDATA + extension and prints it.
    std::string print_table(const std::string& extension, const std::string& bytes,
                            const std::string& title = "T", bool sorted = false)
    {
        dir.write("MYDATA" + extension, bytes);
        print_matrix_file(dir / ("MYDATA" + extension), title, sorted);
        return printed();
    }
    std::string printed()
    {
        std::string text = out.str();
        out.str("");
        return text;
    }
    std::string fatal(const std::string& message, const std::string& file)
    {
        return "\n<<**** FATAL ERROR ****>>\n" + message + " " + upper_case(dir / file) + "\n";
    }

private:
    analysis_parameters_record saved_ = analysis_parameters;
    std::streambuf* console_ = nullptr;
};

// A working matrix as the printer holds it: 54 rows, labels v1, v2, ...
// and a, b, ..., element (i, j) = i + j / 10.
matrix working_table(int columns)
{
    matrix table(54, columns, 0.0);
    for (int i = 0; i < 54; ++i) {
        table.setrowlab(i, "v" + std::to_string(i + 1));
        for (int j = 0; j < columns; ++j)
            table.val(i, j) = i + j / 10.0;
    }
    for (int j = 0; j < columns; ++j)
        table.setcollab(j, std::string(1, static_cast<char>('a' + j)));
    return table;
}

// The lines that print_block prints for the header and rows of
// working_table(2), written out.
const std::string header_ab = "\n" + blanks_11 + "         a          b \n\n";
const std::string row_v1 = "v1            0.00000    0.10000 \n";
const std::string row_v2 = "v2            1.00000    1.10000 \n";
const std::string row_v3 = "v3            2.00000    2.10000 \n";

TEST_F(Report, OneRowTablePrintsSevenValuesABlockAndNoLabels)
{
    const std::string text = print_table(
        ".mns", "1 9 \r\nv1 v2 v3 v4 v5 v6 v7 v8 v9 \r\nr1 1 2 3 4 5 6 7 8 9 \r\n", "Variable Means");
    EXPECT_EQ(text,
              "\nVariable Means\n"
              "\n        v1         v2         v3         v4         v5         v6         v7 \n\n"
              "   1.00000    2.00000    3.00000    4.00000    5.00000    6.00000    7.00000 \n"
              "\n        v8         v9 \n\n"
              "   8.00000    9.00000 \n");
    // Title 2, two headers of 3, two rows.
    EXPECT_EQ(page_line_count, 10);
}

TEST_F(Report, SevenColumnsOfSeveralRowsPrintInTwoBlocks)
{
    const std::string text = print_table(".cor",
                                         "2 7 \r\nc1 c2 c3 c4 c5 c6 c7 \r\n"
                                         "alpha 1 2 3 4 5 6 7 \r\nbeta -1 -2 -3 -4 -5 -6 -7 \r\n");
    EXPECT_EQ(text,
              "\nT\n"
              "\n" + blanks_11 + "        c1         c2         c3         c4         c5         c6 \n\n"
              "alpha         1.00000    2.00000    3.00000    4.00000    5.00000    6.00000 \n"
              "beta         -1.00000   -2.00000   -3.00000   -4.00000   -5.00000   -6.00000 \n"
              "\n" + blanks_11 + "        c7 \n\n"
              "alpha         7.00000 \n"
              "beta         -7.00000 \n");
}

TEST_F(Report, ValuesPrintWithFiveDecimalsAndWidenTheirField)
{
    const std::string text = print_table(
        ".mns",
        "1 7 \r\na b c d e f g \r\nr1 0.5 -0.25 12345.678901 -1234.5 9999.999996 -999.999996 "
        "123456789 \r\n");
    EXPECT_EQ(text.substr(text.rfind("\n\n") + 2),
              "   0.50000   -0.25000 12345.67890 -1234.50000 10000.00000 -1000.00000 "
              "123456789.00000 \n");
}

TEST_F(Report, TablesWithoutRowsOrColumnsPrintNothing)
{
    page_line_count = 7;
    EXPECT_EQ(print_table(".mns", "0 3 \r\nc1 c2 c3 \r\n"), "");
    EXPECT_EQ(print_table(".sig", "2 0 \r\n\r\nr1 \r\nr2 \r\n"), "");
    EXPECT_EQ(page_line_count, 7);
}

TEST_F(Report, ChunksOf49And50RowsPrintInAllTheirBlocks)
{
    // 120 rows of 20 columns: rows 1-49 in the blocks of columns 1-6, 7-12,
    // 13-18 and 19-20, then rows 50-99 in the same blocks, then 100-120.
    std::string file = "120 20 \r\n";
    for (int j = 1; j <= 20; ++j)
        file += "c" + std::to_string(j) + " ";
    file += "\r\n";
    for (int i = 1; i <= 120; ++i) {
        file += "s" + std::to_string(i);
        for (int j = 1; j <= 20; ++j)
            file += " " + std::to_string(i * 100 + j);
        file += " \r\n";
    }
    analysis_parameters.no_page_breaks = true;
    std::istringstream lines(print_table(".dat", file));

    // Each block: its header line, an empty line, then its rows.
    std::vector<std::string> blocks;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind(blanks_11, 0) != 0)
            continue;
        std::string first_label, rows;
        std::istringstream(line) >> first_label;
        std::getline(lines, line);
        std::string row_label;
        int count = 0;
        std::string last;
        while (std::getline(lines, line) && !line.empty()) {
            std::istringstream(line) >> row_label;
            if (count++ == 0)
                rows = row_label;
            last = row_label;
        }
        blocks.push_back(first_label + " " + rows + "-" + last);
    }
    EXPECT_EQ(blocks, (std::vector<std::string>{
                          "c1 s1-s49", "c7 s1-s49", "c13 s1-s49", "c19 s1-s49",
                          "c1 s50-s99", "c7 s50-s99", "c13 s50-s99", "c19 s50-s99",
                          "c1 s100-s120", "c7 s100-s120", "c13 s100-s120", "c19 s100-s120"}));
}

TEST_F(Report, AFullPageBreaksAfterARowAndRepeatsTheHeaderOnlyBeforeARow)
{
    const matrix table = working_table(2);
    row_label_column = true;
    title_pending = false;

    // 50 + 3 header lines + 2 rows: the second row brings the count to 55.
    page_line_count = 50;
    print_block(table, 0, 0, 3, 2, "T");
    EXPECT_EQ(printed(), header_ab + row_v1 + row_v2 + page_1 + header_ab + row_v3);
    EXPECT_EQ(page_line_count, 4);

    // The same break after the last row of the block: no header follows.
    page_line_count = 50;
    print_block(table, 0, 0, 2, 2, "T");
    EXPECT_EQ(printed(), header_ab + row_v1 + row_v2
                             + "\fPrincipal Components Analysis of MYDATA Data"
                             + std::string(27, ' ') + "Page  2\n" + dashes + "\n");
    EXPECT_EQ(page_line_count, 0);
}

TEST_F(Report, ABlockStartsANewPageAboveFiftyLines)
{
    const matrix table = working_table(2);
    row_label_column = true;

    page_line_count = 50;
    print_block(table, 0, 0, 1, 2, "T");
    EXPECT_EQ(printed(), header_ab + row_v1);
    EXPECT_EQ(page_line_count, 54);

    // The title goes onto the new page.
    title_pending = true;
    page_line_count = 51;
    print_block(table, 0, 0, 1, 2, "T");
    EXPECT_EQ(printed(), page_1 + "\nT\n" + header_ab + row_v1);
    EXPECT_EQ(page_line_count, 6);
}

TEST_F(Report, WithoutPageBreaksTheCountingRunsOnSilently)
{
    analysis_parameters.no_page_breaks = true;
    const matrix table = working_table(2);
    row_label_column = true;
    title_pending = false;

    // The count is reset after the second row (50 + 3 + 2 = 55) and runs on
    // without a page header or a repeated column header.
    page_line_count = 50;
    print_block(table, 0, 0, 3, 2, "T");
    EXPECT_EQ(printed(), header_ab + row_v1 + row_v2 + row_v3);
    EXPECT_EQ(page_line_count, 1);

    // It is reset, too, where a block would start a new page.
    page_line_count = 51;
    print_block(table, 0, 0, 1, 2, "T");
    EXPECT_EQ(printed(), header_ab + row_v1);
    EXPECT_EQ(page_line_count, 4);
}

TEST_F(Report, ATableStartsANewPageWhenItDoesNotFitTheRestOfThePage)
{
    auto rows_of = [](int rows, int columns) {
        std::string file = std::to_string(rows) + " " + std::to_string(columns) + " \r\n";
        for (int j = 0; j < columns; ++j)
            file += "c ";
        file += "\r\n";
        for (int i = 0; i < rows; ++i) {
            file += "r";
            for (int j = 0; j < columns; ++j)
                file += " 1";
            file += " \r\n";
        }
        return file;
    };

    // One column block: rows + 6 lines must fit in 54 - count.
    page_line_count = 40;
    EXPECT_EQ(print_table(".cor", rows_of(8, 1)).rfind("\nT\n", 0), 0u);
    page_line_count = 40;
    EXPECT_EQ(print_table(".cor", rows_of(9, 1)).rfind(page_1, 0), 0u);

    // Two blocks: 3 + 2 x rows + 6 lines.
    page_number = 0;
    page_line_count = 41;
    EXPECT_EQ(print_table(".cor", rows_of(2, 7)).rfind("\nT\n", 0), 0u);
    page_line_count = 42;
    EXPECT_EQ(print_table(".cor", rows_of(2, 7)).rfind(page_1, 0), 0u);
}

// A sorted pattern in the order and with the flags that the sorting gives
// the rows (0.8, 0.1), (0.6, 0.6), (-0.9, 0.2) and (0.3, 0.7): two groups,
// flagged on their first rows v1 and v3 ('v' | 0x80 = 0xF6).
const std::string sorted_file = "4 2 \r\nFactor1 Factor2 \r\n"
                                "\xF6" "1 0.8 0.1 \r\nv4 0.6 0.6 \r\nv2 -0.9 0.2 \r\n"
                                "\xF6" "3 0.3 0.7 \r\n";
const std::string factor_header = "\n" + blanks_11 + "   Factor1    Factor2 \n";
const std::string sorted_rows_1 = "v1            0.80000    0.10000 \n"
                                  "v4            0.60000    0.60000 \n"
                                  "v2           -0.90000    0.20000 \n";
const std::string sorted_row_3 = "v3            0.30000    0.70000 \n";

TEST_F(Report, GroupsOfASortedPatternAreSetApartByOneEmptyLine)
{
    EXPECT_EQ(print_table(".uvs", sorted_file, "T", true),
              "\nT\n" + factor_header + "\n" + sorted_rows_1 + "\n" + sorted_row_3);
    EXPECT_EQ(page_line_count, 2 + 3 + 2 + 4);

    analysis_parameters.print_group_breaks = false;
    page_line_count = 0;
    EXPECT_EQ(print_table(".uvs", sorted_file, "T", true),
              "\nT\n" + factor_header + "\n" + sorted_rows_1 + sorted_row_3);
    EXPECT_EQ(page_line_count, 2 + 3 + 4);
}

TEST_F(Report, AGroupThatStartsOnANewPageFollowsItsHeaderAfterOneEmptyLine)
{
    dir.write("MYDATA.uvs", sorted_file);
    const matrix table(dir / "MYDATA.uvs");
    matrix working(54, 2, 0.0);
    working.copyclfcl(table, -1);
    for (int i = 0; i < 4; ++i)
        working.copy_row(table, i, i);
    row_label_column = true;
    title_pending = false;
    sorted_pattern = true;

    // v1 opens the block with its group; v2 fills the page (48 + 3 + 1 + 3),
    // and v3 opens the next group on the new page.
    page_line_count = 48;
    print_block(working, 0, 0, 4, 2, "T");
    EXPECT_EQ(printed(), factor_header + "\n" + sorted_rows_1 + page_1 + factor_header + "\n"
                             + sorted_row_3);
}

TEST_F(Report, NamesThatBeginWithANonAsciiByteKeepTheirBytesAndTheirGroups)
{
    // The rows of the sorted pattern above named Ärger, Übel, Öl and a
    // name of 10 bytes, in UTF-8.
    const double values[] = {0.8, 0.1, -0.9, 0.2, 0.3, 0.7, 0.6, 0.6};
    matrix pattern(4, 2, values);
    pattern.setcollabs("Factor");
    for (int i = 0; const char* name : {"\xC3\x84rger", "\xC3\x9C" "bel", "\xC3\x96l",
                                        "\xC3\x84rgernis1"})
        pattern.setrowlab(i++, name);
    pattern.sort_by_factor().write(dir / "MYDATA.uvs");
    print_matrix_file(dir / "MYDATA.uvs", "T", true);
    // Labels are padded to 10 bytes: 6, 10, 5 and 4 bytes here.
    EXPECT_EQ(printed(), "\nT\n" + factor_header + "\n"
                             "\xC3\x84rger        0.80000    0.10000 \n"
                             "\xC3\x84rgernis1    0.60000    0.60000 \n"
                             "\xC3\x9C" "bel        -0.90000    0.20000 \n"
                             "\n"
                             "\xC3\x96l           0.30000    0.70000 \n");
}

TEST_F(Report, LabelsOfOtherTablesPrintByteForByte)
{
    // A name whose first byte is 0x80 or above is not a group flag outside
    // the sorted patterns.
    EXPECT_EQ(print_table(".dat", "2 1 \r\n\xE9l \r\n\xC3\xA9t\xC3\xA9 1 \r\nb 2 \r\n"),
              "\nT\n"
              "\n" + blanks_11 + "        \xE9l \n\n"
              "\xC3\xA9t\xC3\xA9         1.00000 \n"
              "b             2.00000 \n");
}

TEST_F(Report, PageHeadersCarryTheTitleOfTheAnalysis)
{
    print_page_header();
    EXPECT_EQ(printed(), page_1);
    EXPECT_EQ(page_number, 1);

    analysis_parameters.analysis_type = 'F';
    print_page_header();
    EXPECT_EQ(printed(), "\fPrincipal Factors Analysis of MYDATA Data" + std::string(30, ' ')
                             + "Page  2\n" + dashes + "\n");

    analysis_parameters.analysis_type = 'I';
    analysis_parameters.q_type = true;
    print_page_header();
    EXPECT_EQ(printed(), "\fQ-type Image Factor Analysis of MYDATA Data" + std::string(28, ' ')
                             + "Page  3\n" + dashes + "\n");
}

TEST_F(Report, ALongDataNameFillsTheHeaderLineOrRunsPastIt)
{
    analysis_parameters.q_type = true;
    // 7 + 33 + 26 + 5 + 7 = 78 characters.
    analysis_parameters.data_name = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    print_page_header();
    EXPECT_EQ(printed(), "\fQ-type Principal Components Analysis of ABCDEFGHIJKLMNOPQRSTUVWXYZ "
                         "DataPage  1\n" + dashes + "\n");

    analysis_parameters.data_name += "0";
    print_page_header();
    EXPECT_EQ(printed(), "\fQ-type Principal Components Analysis of ABCDEFGHIJKLMNOPQRSTUVWXYZ0 "
                         "DataPage  2\n" + dashes + "\n");
}

TEST_F(Report, TheReportStartsPage1AndEndsWithAFormFeed)
{
    dir.write("MYDATA.mns", "1 3 \r\nx y z \r\nr1 1.5 2 -0.25 \r\n");
    dir.write("MYDATA.sig", "1 3 \r\nx y z \r\nr1 0.5 1 2 \r\n");
    analysis_parameters_record& p = analysis_parameters;
    p.print_correlations = p.print_unrotated = p.print_scree = false;
    const std::string sections =
        "\nVariable Means\n"
        "\n         x          y          z \n\n"
        "   1.50000    2.00000   -0.25000 \n"
        "\nUnadjusted Standard Deviations\n"
        "\n         x          y          z \n\n"
        "   0.50000    1.00000    2.00000 \n";
    print_results();
    EXPECT_EQ(printed(), page_1 + sections + "\f");

    p.no_page_breaks = true;
    print_results();
    EXPECT_EQ(printed(), sections);
}

TEST_F(Report, RotatedSectionsNeedARunThatRotated)
{
    // A file left by an earlier run is not printed as this run's result.
    dir.write("MYDATA.rcm", "1 2 \r\nx y \r\nr1 50 60 \r\n");
    analysis_parameters_record& p = analysis_parameters;
    p.print_means = p.print_correlations = p.print_unrotated = p.print_scree = false;
    p.print_rotated = true;
    EXPECT_EQ(expect_run_error(print_results),
              fatal("PRINT RESULTS: CANNOT OPEN DATA FILE", "MYDATA.rcm"));

    // With rotation the same file is printed.
    p.rotate = true;
    EXPECT_EQ(expect_run_error(print_results),
              fatal("PRINT RESULTS: CANNOT OPEN DATA FILE", "MYDATA.rpt"));
    EXPECT_NE(printed().find("Rotated Solution: Percentage Communalities"), std::string::npos);
}

TEST_F(Report, ScreeSectionPrintsTheFileIn26LinesOf69)
{
    std::string plot;
    for (int r = 0; r < 26; ++r)
        plot += std::string(68, static_cast<char>('A' + r)) + "|";
    dir.write("MYDATA.plt", plot);
    std::string lines;
    for (int r = 0; r < 26; ++r)
        lines += plot.substr(static_cast<std::size_t>(r) * 69, 69) + "\n";

    // 29 lines fit below a count of 25.
    page_line_count = 25;
    print_scree_plot();
    EXPECT_EQ(printed(), "\nUnrotated Solution: Scree Plot\n\n" + lines);
    EXPECT_EQ(page_line_count, 54);

    page_line_count = 26;
    print_scree_plot();
    EXPECT_EQ(printed(), page_1 + "\nUnrotated Solution: Scree Plot\n\n" + lines);
}

TEST_F(Report, FilesThatCannotBeReadEndTheRun)
{
    EXPECT_EQ(expect_run_error([&] { print_matrix_file(dir / "none.cor", "T"); }),
              fatal("PRINT RESULTS: CANNOT OPEN DATA FILE", "none.cor"));

    const std::string data_error = fatal("PRINT RESULTS: ERROR IN DATA FILE", "MYDATA.cor");
    for (const std::string& bytes :
         {std::string(""), std::string("2"), std::string("-1 2 \r\n"),
          // the last value runs into the end of the file
          std::string("1 2 \r\na b \r\nr1 1 2"), std::string("2 2 \r\na b \r\nr1 1 2 \r\nr2 3 \r\n")}) {
        EXPECT_EQ(expect_run_error([&] { print_table(".cor", bytes); }), data_error) << bytes;
    }
    EXPECT_EQ(expect_run_error([&] { print_table(".cor", "1 3 \r\na b \r\n"); }),
              fatal("PRINT RESULTS: ERROR IN RAW DATA FILE", "MYDATA.cor"));
    // Counts far beyond what the file holds end as soon as its words do.
    EXPECT_EQ(expect_run_error([&] { print_table(".cor", "1 300000000 \r\na b \r\n"); }),
              fatal("PRINT RESULTS: ERROR IN RAW DATA FILE", "MYDATA.cor"));
    EXPECT_EQ(
        expect_run_error([&] { print_table(".cor", "300000000 2 \r\na b \r\nr 1 2 \r\n"); }),
        data_error);
    EXPECT_EQ(printed(), "");

    EXPECT_EQ(expect_run_error(print_scree_plot),
              fatal("PRINT RESULTS: CANNOT OPEN SCREE PLOT FILE", "MYDATA.plt"));
    dir.write("MYDATA.plt", std::string(26 * 69 - 1, ' '));
    printed();
    EXPECT_EQ(expect_run_error(print_scree_plot),
              fatal("PRINT RESULTS: ERROR READING SCREE PLOT FILE", "MYDATA.plt"));
    // Everything but the last character was printed.
    EXPECT_EQ(printed().size(), std::string("\nUnrotated Solution: Scree Plot\n\n").size() + 25 * 70 + 68);
}

}  // namespace
