// The matrix file: its exact layout, the "%.6g" values, the word rules of
// its reader and the messages of its errors.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>

#include "factor/matrix.h"
#include "harness.h"

namespace {

class MatrixFile : public ::testing::Test {
protected:
    scratch_dir dir;

    matrix read(const std::string& bytes)
    {
        dir.write("m.dat", bytes);
        return matrix(dir / "m.dat");
    }
    std::string read_error(const std::string& bytes)
    {
        dir.write("m.dat", bytes);
        return expect_run_error([&] { matrix(dir / "m.dat"); });
    }
    std::string error_in_file() const
    {
        return "Matrix: ERROR IN MATRIX FILE " + upper_case_ascii(dir / "m.dat") + "\n";
    }
    static std::string upper_case_ascii(std::string text)
    {
        for (char& c : text)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 32);
        return text;
    }
};

TEST_F(MatrixFile, WritesCountsLabelsAndRowsWithCrLf)
{
    const double values[] = {1, 2, 3, 4, 5, 6};
    matrix(2, 3, values).write(dir / "out.dat");
    EXPECT_EQ(dir.read("out.dat"), "2 3 \r\nc1 c2 c3 \r\nr1 1 2 3 \r\nr2 4 5 6 \r\n");
}

TEST_F(MatrixFile, ValuesAreWrittenWithSixSignificantDigits)
{
    // The examples are what C's printf("%.6g") gives in the "C" locale.
    const double values[] = {0.1234567, 123456, 1234567, 0.0001, 0.00001234,
                             1.50,      -0.25,  0.0,     -0.0,   1e100};
    matrix(1, 10, values).write(dir / "out.dat");
    const std::string text = dir.read("out.dat");
    EXPECT_EQ(text.substr(text.find("r1 ")),
              "r1 0.123457 123456 1.23457e+06 0.0001 1.234e-05 1.5 -0.25 0 -0 1e+100 \r\n");
}

TEST_F(MatrixFile, EmptyShapes)
{
    matrix(0, 3, 0.0).write(dir / "rows.dat");
    EXPECT_EQ(dir.read("rows.dat"), "0 3 \r\nc1 c2 c3 \r\n");
    matrix(2, 0, 0.0).write(dir / "cols.dat");
    EXPECT_EQ(dir.read("cols.dat"), "2 0 \r\n\r\nr1 \r\nr2 \r\n");

    const matrix back(dir / "cols.dat");
    EXPECT_EQ(back.nrows(), 2);
    EXPECT_EQ(back.ncols(), 0);
}

TEST_F(MatrixFile, WriteColsWritesTheFirstColumns)
{
    matrix m(5, 4, 0.5);
    m.write_cols(dir / "out.dat", 2);
    EXPECT_EQ(dir.read("out.dat"),
              "5 2 \r\nc1 c2 \r\nr1 0.5 0.5 \r\nr2 0.5 0.5 \r\nr3 0.5 0.5 \r\nr4 0.5 0.5 \r\n"
              "r5 0.5 0.5 \r\n");
    EXPECT_EQ(expect_run_error([&] { m.write_cols(dir / "x.dat", 5); }),
              "Matrix: WRITE_COLS: N OUT OF RANGE " + upper_case_ascii(dir / "x.dat") + "\n");
    EXPECT_EQ(expect_run_error([&] { m.write_cols(dir / "x.dat", -1); }),
              "Matrix: WRITE_COLS: N OUT OF RANGE " + upper_case_ascii(dir / "x.dat") + "\n");
}

TEST_F(MatrixFile, RoundTripKeepsLabelsAndTheGroupFlag)
{
    const double values[] = {0.1234567, -1e-7, 2.0, 1234567.0};
    matrix m(2, 2, values);
    m.setrowlab(0, "\x80" "var");
    m.setcollab(1, "Factor2");
    m.write(dir / "out.dat");

    const matrix back(dir / "out.dat");
    ASSERT_EQ(back.nrows(), 2);
    ASSERT_EQ(back.ncols(), 2);
    EXPECT_EQ(back.getrowlab(0), "\x80" "var");
    EXPECT_EQ(back.getrowlab(1), "r2");
    EXPECT_EQ(back.getcollab(1), "Factor2");
    EXPECT_EQ(back.val(0, 0), 0.123457);
    EXPECT_EQ(back.val(0, 1), -1e-7);
    EXPECT_EQ(back.val(1, 0), 2.0);
    EXPECT_EQ(back.val(1, 1), 1.23457e6);
}

TEST_F(MatrixFile, LineStructureDoesNotMatter)
{
    const std::vector<std::string> layouts = {
        "2 2 \r\na b \r\nx 1 2 \r\ny 3 4 \r\n",
        "2 2 a b x 1 2 y 3 4\n",
        "2\t2\ta\tb\n\n\nx\t1\n2\r\ny\v3\f4\r",
        "  \n2 2\na b\nx 1 2\ny 3 4\n",
    };
    for (const std::string& layout : layouts) {
        const matrix m = read(layout);
        ASSERT_EQ(m.nrows(), 2) << layout;
        EXPECT_EQ(m.getcollab(1), "b");
        EXPECT_EQ(m.getrowlab(1), "y");
        EXPECT_EQ(m.val(1, 1), 4.0) << layout;
        EXPECT_EQ(m.val(0, 1), 2.0) << layout;
    }
}

TEST_F(MatrixFile, LastWordNeedsWhiteSpaceAfterIt)
{
    EXPECT_EQ(read_error("1 1 \r\nc \r\nr 5"), error_in_file());
    EXPECT_EQ(read("1 1 \r\nc \r\nr 5\r\n").val(0, 0), 5.0);
    // Words after the last one needed are ignored.
    EXPECT_EQ(read("1 1 c r 5 extra").val(0, 0), 5.0);
}

TEST_F(MatrixFile, TooFewWordsAndTheEndByte)
{
    EXPECT_EQ(read_error(""), error_in_file());
    EXPECT_EQ(read_error("2 "), error_in_file());
    EXPECT_EQ(read_error("2 2 a b x 1 2 y 3 "), error_in_file());
    // A byte 0x1A ends the file where it stands.
    EXPECT_EQ(read_error("1 2 a b r 1 \x1A 2 \r\n"), error_in_file());
    EXPECT_EQ(read("1 1 a r 7 \r\n\x1A garbage").val(0, 0), 7.0);
}

TEST_F(MatrixFile, WordConversions)
{
    // Counts read their leading digits; values that are no decimal number
    // read as 0.0, "inf", "nan" and hexadecimal included.
    const matrix m = read("1 3.9 a b c r abc - 0x1A \r\n");
    ASSERT_EQ(m.ncols(), 3);
    EXPECT_EQ(m.val(0, 0), 0.0);
    EXPECT_EQ(m.val(0, 1), 0.0);
    EXPECT_EQ(m.val(0, 2), 0.0);

    const matrix special = read("1 4 a b c d r inf nan 1e-999 2.5e1x \r\n");
    EXPECT_EQ(special.val(0, 0), 0.0);
    EXPECT_EQ(special.val(0, 1), 0.0);
    EXPECT_EQ(special.val(0, 2), 0.0);
    EXPECT_EQ(special.val(0, 3), 25.0);
}

TEST_F(MatrixFile, BadCountsAndOverflowingValues)
{
    EXPECT_EQ(read_error("-1 2 a b \r\n"), error_in_file());
    EXPECT_EQ(read_error("1 -2 \r\n"), error_in_file());
    EXPECT_EQ(read_error("99999999999 1 a \r\n"), error_in_file());
    EXPECT_EQ(read_error("1 1 a r 1e999 \r\n"), error_in_file());
    EXPECT_EQ(read_error("1 1 a r -1e999 \r\n"), error_in_file());
}

TEST_F(MatrixFile, CountsBeyondWhatTheFileCanHold)
{
    // Every word takes a byte and the white space after it: 10 words need
    // 20 bytes, so the 14 bytes here cannot hold 300000000 x 3 values.
    EXPECT_EQ(read_error("300000000 3 \r\n"), error_in_file());
    const std::string ten_words = "2 2 a b x 1 2 y 3 4 ";
    EXPECT_EQ(read(ten_words).val(1, 1), 4.0);

    // A pipe is not read: the run's matrix files are regular files, and
    // opening a pipe without a writer would wait for ever.
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    ASSERT_EQ(write(ends[1], ten_words.data(), ten_words.size()), 20);
    close(ends[1]);
    const std::string piped = "/proc/self/fd/" + std::to_string(ends[0]);
    EXPECT_EQ(expect_run_error([&] { matrix{piped}; }),
              "Matrix: CANNOT OPEN MATRIX FILE " + upper_case_ascii(piped) + "\n");
    close(ends[0]);
}

TEST_F(MatrixFile, LongWords)
{
    // A label keeps its first 10 bytes and the rest of the word is
    // consumed with it, so the values that follow stay in place.
    const std::string long_value = "1" + std::string(300, '0') + "e-299";
    const matrix m = read("1 2 averyveryverylongname b\r\nrowlabelthatislong " + long_value
                          + " 0." + std::string(200, '0') + "1e201 \r\n");
    EXPECT_EQ(m.getcollab(0), "averyveryv");
    EXPECT_EQ(m.getrowlab(0), "rowlabelth");
    EXPECT_DOUBLE_EQ(m.val(0, 0), 10.0);
    EXPECT_DOUBLE_EQ(m.val(0, 1), 1.0);
}

TEST_F(MatrixFile, FileErrors)
{
    EXPECT_EQ(expect_run_error([&] { matrix(dir / "mydata.cor"); }),
              "Matrix: CANNOT OPEN MATRIX FILE " + upper_case_ascii(dir / "mydata.cor") + "\n");
    const matrix m(1, 1, 0.0);
    EXPECT_EQ(expect_run_error([&] { m.write(dir / "no/such/dir.dat"); }),
              "Matrix: CANNOT OPEN OUTPUT MATRIX FILE "
                  + upper_case_ascii(dir / "no/such/dir.dat") + "\n");
    // A write that fails (a full device) is seen when the file is closed.
    EXPECT_EQ(expect_run_error([&] { m.write("/dev/full"); }),
              "Matrix: ERROR WRITING MATRIX FILE /DEV/FULL\n");
}

}  // namespace
