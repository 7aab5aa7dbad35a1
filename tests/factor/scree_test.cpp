// The scree plot file: its frame, its scale, its points and its size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include "factor/errors.h"
#include "factor/matrix.h"
#include "factor/parameters.h"
#include "factor/scree.h"
#include "harness.h"

namespace {

class Scree : public ::testing::Test {
protected:
    scratch_dir dir;
    analysis_parameters_record saved = analysis_parameters;

    void SetUp() override { analysis_parameters.file_stem = dir / "RUN"; }
    void TearDown() override { analysis_parameters = saved; }

    // Plots the eigenvalues and returns the file's bytes.
    std::string plot_file(const std::vector<double>& eigenvalues)
    {
        const int p = static_cast<int>(eigenvalues.size());
        matrix row(1, p, eigenvalues.data());
        scree_plot(row, p);
        return dir.read("RUN.plt");
    }

    // Plots the eigenvalues; the rows of the drawing are then available
    // through cell and row, numbered from 0 at the bottom.
    void plot(const std::vector<double>& eigenvalues)
    {
        const std::string bytes = plot_file(eigenvalues);
        ASSERT_EQ(bytes.size(), 1794u);
        rows_.clear();
        for (int r = 25; r >= 0; --r)
            rows_.push_back(bytes.substr(static_cast<std::size_t>(25 - r) * 69, 69));
    }
    std::string row(int r) const { return rows_[static_cast<std::size_t>(25 - r)]; }
    char cell(int r, int column) const { return row(r)[static_cast<std::size_t>(column)]; }
    std::string text(int r, int first_column, int length) const
    {
        return row(r).substr(static_cast<std::size_t>(first_column), static_cast<std::size_t>(length));
    }
    // The row of the '+' of the top tick (column 7, above the x axis).
    int top_tick_row() const
    {
        for (int r = 24; r > 3; --r)
            if (cell(r, 7) == '+')
                return r;
        return -1;
    }

private:
    std::vector<std::string> rows_;
};

std::string padded(const std::string& line)
{
    return line + std::string(69 - line.size(), ' ');
}

TEST_F(Scree, FourEigenvaluesDrawnCellForCell)
{
    // 2.5, 1.2, 0.8, 0.5: top 3, scale 7 rows per unit, 10 columns per
    // factor.  Drawn by hand: the points stand on rows 3 + trunc(7 x value)
    // = 20, 11, 8 and 6, in columns 17, 27, 37 and 47.
    const std::vector<std::string> expected = {
        "",
        "    3.0+",
        "       |",
        "       |",
        "       |",
        "       |         1",
        "       |",
        "E      |",
        "i      |",
        "g      |",
        "e      |",
        "n      |",
        "v      |",
        "a      |",
        "l      |                   2",
        "u   1.0+----------------------------------------",
        "e      |",
        "       |                             3",
        "       |",
        "       |                                       4",
        "       |",
        "       |",
        "       +---------+---------+---------+---------+",
        "                 1         2         3         4",
        "                         Factor",
        "",
    };
    std::string file;
    for (const std::string& line : expected)
        file += padded(line);
    EXPECT_EQ(plot_file({2.5, 1.2, 0.8, 0.5}), file);
}

TEST_F(Scree, FileIsAlways1794BytesWithoutLineEnds)
{
    for (int p : {1, 4, 12, 30, 35, 100}) {
        std::vector<double> values(static_cast<std::size_t>(p));
        for (int j = 0; j < p; ++j)
            values[static_cast<std::size_t>(j)] = 3.0 / (j + 1);
        const std::string bytes = plot_file(values);
        EXPECT_EQ(bytes.size(), 1794u) << p;
        EXPECT_EQ(bytes.find_first_of("\r\n"), std::string::npos) << p;
        // The top and bottom rows stay blank.
        EXPECT_EQ(bytes.substr(0, 69), std::string(69, ' ')) << p;
        EXPECT_EQ(bytes.substr(1794 - 69), std::string(69, ' ')) << p;
    }
}

TEST_F(Scree, TwelveFactorsAreNumberedInFivesAndTheTenthCoversItsTick)
{
    // Top 4, scale 21/4 = 5.25; 4 columns per factor, so factor j stands
    // in column 7 + 4j and the axis runs to column 7 + 48 = 55.
    plot({4.0, 2.5, 1.5, 1.2, 1.0, 0.8, 0.6, 0.5, 0.4, 0.1, 0.05, 0.02});
    const std::string dashes(19, '-');
    EXPECT_EQ(text(3, 7, 50), "+" + dashes + "+" + dashes + "0---1---2 ");
    EXPECT_EQ(text(2, 7, 50), std::string(20, ' ') + "5" + std::string(18, ' ') + "10"
                                  + std::string(9, ' '));
    // Factor 1 on row 3 + trunc(4 x 5.25) = 24, factor 9 on row 3 + 2.
    EXPECT_EQ(cell(24, 11), '1');
    EXPECT_EQ(cell(5, 43), '9');
    // "Factor" centred under the axis: column 8 + (48 - 6) / 2 = 29.
    EXPECT_EQ(text(1, 29, 6), "Factor");

    // When the tenth factor stands above the axis, its tick stays.
    plot({4.0, 2.5, 1.5, 1.2, 1.0, 0.8, 0.6, 0.5, 0.4, 0.2, 0.05, 0.02});
    EXPECT_EQ(cell(3, 47), '+');
    EXPECT_EQ(cell(4, 47), '0');  // trunc(0.2 x 5.25) = 1
}

TEST_F(Scree, OnlyThirtyFactorsArePlottedButAllSetTheTop)
{
    // The 31st value, 5.0, is not drawn but makes the top 5.
    std::vector<double> values(35, 0.5);
    values[30] = 5.0;
    plot(values);
    EXPECT_EQ(text(24, 4, 4), "5.0+");
    // Ticks at 10, 20 and 30 in columns 27, 47 and 67; the axis ends there.
    EXPECT_EQ(text(2, 26, 2), "10");
    EXPECT_EQ(text(2, 46, 2), "20");
    EXPECT_EQ(text(2, 66, 2), "30");
    EXPECT_EQ(cell(3, 67), '+');
    EXPECT_EQ(cell(3, 68), ' ');
    // Every value 0.5 x 21/5 = 2.1 rows up: row 5, columns 9, 11, ..., 67.
    EXPECT_EQ(cell(5, 9), '1');
    EXPECT_EQ(cell(5, 27), '0');
    EXPECT_EQ(cell(5, 67), '0');
    EXPECT_EQ(cell(5, 68), ' ');
}

TEST_F(Scree, NegativeEigenvaluesStandOnTheAxis)
{
    plot({2.0, 0.5, -0.3, -1.2});
    EXPECT_EQ(cell(3, 37), '3');
    EXPECT_EQ(cell(3, 47), '4');
    // 0.5 x 21/2 = 5.25 rows up.
    EXPECT_EQ(cell(8, 27), '2');
}

TEST_F(Scree, TopIsTheLargestEigenvalueRoundedUp)
{
    plot({3.0, 1.0});
    EXPECT_EQ(text(24, 4, 4), "3.0+");
    plot({3.0001, 1.0});
    EXPECT_EQ(text(24, 4, 4), "4.0+");
    plot({0.4, 0.2});
    EXPECT_EQ(text(24, 4, 4), "1.0+");
}

TEST_F(Scree, TopTickFallsToRow23WhereTheScaleIsShort)
{
    // For these tops the double nearest to 21/top is below it, so that
    // top x scale is just under 21 and truncates to 20; for every other top
    // up to 43 it is 21 or more (tests/reference/scree_tops.py checks this
    // with exact fractions).
    const std::vector<int> short_tops = {15, 23, 25, 30, 31, 33, 35, 37, 39, 43};
    for (int top = 1; top <= 43; ++top) {
        plot({static_cast<double>(top), 0.5});
        const bool is_short =
            std::find(short_tops.begin(), short_tops.end(), top) != short_tops.end();
        EXPECT_EQ(top_tick_row(), is_short ? 23 : 24) << "top " << top;
    }
    plot({15.0});
    EXPECT_EQ(text(23, 3, 5), "15.0+");
    EXPECT_EQ(text(24, 0, 9), "       | ");
}

TEST_F(Scree, UnitLineStandsAtOneOnTheScale)
{
    // The row of 1.0 is 3 + trunc(21 / top).
    struct expected_row {
        int top, row;
    };
    for (auto [top, unit_row] : {expected_row{2, 13}, {3, 10}, {4, 8}, {5, 7}, {6, 6}, {7, 6},
                                 {8, 5}, {10, 5}, {11, 4}, {21, 4}}) {
        plot({static_cast<double>(top), 0.01});
        EXPECT_EQ(text(unit_row, 4, 6), "1.0+--") << "top " << top;
    }
    // Top 1: the tick of 1.0 is the top tick.
    plot({0.9});
    EXPECT_EQ(text(24, 0, 20), "    1.0+----------  ");
}

TEST_F(Scree, FromTop22TheUnitLineIsTheAxis)
{
    plot({22.0, 1.0, 0.5});
    EXPECT_EQ(text(3, 0, 20), "    1.0+---------+--");
    EXPECT_EQ(text(24, 3, 5), "22.0+");
    // 1.0 x 21/22 and 0.5 x 21/22 stay below one row.
    EXPECT_EQ(cell(3, 27), '2');
    EXPECT_EQ(cell(3, 37), '3');
}

TEST_F(Scree, RowsWithoutAPositiveEntryAreDrawnToTopOne)
{
    for (const std::vector<double>& values :
         {std::vector<double>{0.0, 0.0, 0.0}, {-0.5, -1.0, -2.0}}) {
        plot(values);
        EXPECT_EQ(text(24, 4, 4), "1.0+");
        EXPECT_EQ(text(3, 7, 32), "+---------1---------2---------3 ");
    }
}

TEST_F(Scree, ValuesThatAreNotNumbersStandOnTheAxis)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    plot({nan, 2.0, inf, 0.5});
    EXPECT_EQ(text(24, 4, 4), "2.0+");  // the top comes from 2.0 alone
    EXPECT_EQ(cell(3, 17), '1');
    EXPECT_EQ(cell(24, 27), '2');
    EXPECT_EQ(cell(3, 37), '3');
}

TEST_F(Scree, ALabelWiderThanTheMarginIsCutAtTheEdge)
{
    plot({199999.5, 1.0});
    // "200000.0" would begin in column -1.
    EXPECT_EQ(text(24, 0, 9), "00000.0+ ");
}

TEST_F(Scree, FileErrorsEndTheRun)
{
    matrix row(1, 2, 1.0);
    analysis_parameters.file_stem = dir / "missing/RUN";
    EXPECT_EQ(expect_run_error([&] { scree_plot(row, 2); }),
              "\n<<**** FATAL ERROR ****>>\nEXTRACT: CANNOT OPEN SCREE PLOT FILE "
                  + upper_case(dir / "missing/RUN.plt") + "\n");

    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    std::filesystem::create_symlink("/dev/full", dir.path() / "FULL.plt");
    analysis_parameters.file_stem = dir / "FULL";
    EXPECT_EQ(expect_run_error([&] { scree_plot(row, 2); }),
              "\n<<**** FATAL ERROR ****>>\nEXTRACT: ERROR WRITING SCREE PLOT FILE "
                  + upper_case(dir / "FULL.plt") + "\n");
}

}  // namespace
