// A raw data file that is not what its header promises, and options that
// are not options, are read as ever, with a warning on standard error: the
// output and the files are those of the same run on the data as the
// program reads them, written soundly.
#include <gtest/gtest.h>

#include "harness.h"

namespace {

const std::string numbers_warning = "Warning: d.dat: ";

class DataWarnings : public ::testing::Test {
protected:
    // Runs the arguments on d.dat holding `careless`, and again in a
    // directory of its own on d.dat holding `sound`: the same output and
    // files but d.dat.  Returns standard error of the careless run.
    std::string run_both(const std::string& careless, const std::string& sound,
                         const std::vector<std::string>& arguments)
    {
        scratch_dir careless_dir;
        scratch_dir sound_dir;
        careless_dir.write("d.dat", careless);
        sound_dir.write("d.dat", sound);
        const qrn4_result careless_run = run_qrn4(careless_dir, arguments);
        const qrn4_result sound_run = run_qrn4(sound_dir, arguments);
        EXPECT_EQ(sound_run.errors, "");
        EXPECT_EQ(careless_run.exit_code, sound_run.exit_code);
        EXPECT_EQ(careless_run.output, sound_run.output);
        EXPECT_EQ(careless_dir.files(), sound_dir.files());
        for (const std::string& name : sound_dir.files()) {
            if (name != "d.dat") {
                EXPECT_EQ(careless_dir.read(name), sound_dir.read(name)) << name;
            }
        }
        return careless_run.errors;
    }
};

TEST_F(DataWarnings, ValueWordsThatAreNotNumbers)
{
    // Missing values and a decimal comma, read as 0 and 80.
    const std::string careless = "4 2 \r\nx y \r\na 1 2 \r\nb NA 3 \r\nc 2 80,2 \r\nd . 1 \r\n";
    const std::string sound = "4 2 \r\nx y \r\na 1 2 \r\nb 0 3 \r\nc 2 80 \r\nd 0 1 \r\n";
    const std::string warning =
        numbers_warning
        + "3 value words are not numbers, and read as 0 or as the number they begin with; "
          "the first: \"NA\", subject 2 (b), variable x\n";
    // Once, although correlations, scores and the report read the data.
    EXPECT_EQ(run_both(careless, sound, {"d.dat", "-S", "-PDS", "-C"}), warning);
    // A Q-type run tells it when it transposes the data.
    EXPECT_EQ(run_both(careless, sound, {"d.dat", "-A", "-C"}), warning);

    const std::string one = "3 2 \r\nx y \r\na 1 2 \r\nb 2 - \r\nc 3 1 \r\n";
    EXPECT_EQ(run_both(one, "3 2 \r\nx y \r\na 1 2 \r\nb 2 0 \r\nc 3 1 \r\n", {"d.dat"}),
              numbers_warning
                  + "a value word is not a number, and reads as 0 or as the number it begins "
                    "with: \"-\", subject 2 (b), variable y\n");
}

TEST_F(DataWarnings, ALabelWithABlankShiftsTheValues)
{
    // Read as the label "La" with the values "Vallee" and 2, then the
    // label "5" with the values "c" and 3; the last word is left over.
    const std::string careless = "3 2 \r\nx y \r\na 1 2 \r\nLa Vallee 2 5 \r\nc 3 1 \r\n";
    const std::string sound = "3 2 \r\nx y \r\na 1 2 \r\nLa 0 2 \r\n5 0 3 \r\n";
    EXPECT_EQ(run_both(careless, sound, {"d.dat", "-PD"}),
              numbers_warning
                  + "2 value words are not numbers, and read as 0 or as the number they begin "
                    "with; the first: \"Vallee\", subject 2 (La), variable x\n"
                  + numbers_warning
                  + "1 word after the last subject that the header gives (3) was not read\n");
}

TEST_F(DataWarnings, RowsBeyondTheSubjectsOfTheHeader)
{
    const std::string sound = "3 2 \r\nx y \r\na 1 2 \r\nb 2 1 \r\nc 3 3 \r\n";
    EXPECT_EQ(run_both(sound + "d 4 4 \r\n", sound, {"d.dat", "-S"}),
              numbers_warning
                  + "3 words after the last subject that the header gives (3) were not read\n");
    // The hole of a sparse file after the data, one word of 64 GiB of NUL
    // bytes, is counted without reading it to its end, which would take
    // minutes.
    scratch_dir dir;
    dir.write("d.dat", sound);
    std::filesystem::resize_file(dir.path() / "d.dat", std::uintmax_t{64} << 30);
    const qrn4_result hole = run_qrn4(dir, {"d.dat"}, {.cpu_seconds = 20});
    EXPECT_EQ(hole.exit_code, 0);
    EXPECT_EQ(hole.errors, numbers_warning
                               + "at least 1 word after the last subject that the header gives "
                                 "(3) was not read\n");
    // The end byte ends the file: what follows it is not data.
    EXPECT_EQ(run_both(sound
                           + "\x1A"
                             "d 4 4 \r\n",
                       sound, {"d.dat"}),
              "");
}

TEST_F(DataWarnings, TextsInAWarningAreWholeCharactersWithoutControls)
{
    // The label "a" and six "é" (13 bytes) is held as its first 10 bytes,
    // and the 45-byte word "x" and 22 "é" is shown by its first 40: the
    // first byte of the character that each cut splits is left out.
    // Control bytes print as '?': an escape, and 0x9B alone (which starts
    // an escape sequence) or as a UTF-8 character (0xC2 0x9B); 0x9B in the
    // UTF-8 letter "ś" (0xC5 0x9B) is kept.
    const auto e_acutes = [](int n) {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += "\xC3\xA9";
        return text;
    };
    scratch_dir dir;
    dir.write("d.dat", "3 2 \r\nx \x1B[2J\x9B \r\na" + e_acutes(6) + " 1 x" + e_acutes(22)
                           + " \r\nb 2 1 \r\nc 3 3 \r\n");
    const qrn4_result result = run_qrn4(dir, {"d.dat", "-\xC2\x9B\xC5\x9B\x07"});
    EXPECT_EQ(result.errors,
              "Warning: -?\xC5\x9B? is not an option of qrn4 and is ignored\n" + numbers_warning
                  + "a value word is not a number, and reads as 0 or as the number it begins "
                    "with: \"x"
                  + e_acutes(19) + "\", subject 1 (a" + e_acutes(4) + "), variable ?[2J?\n");
}

TEST_F(DataWarnings, OptionsThatAreNotOptions)
{
    scratch_dir dir;
    dir.write("d.dat", example("attitude.dat"));
    const qrn4_result plain = run_qrn4(dir, {"d.dat", "-D"});
    const qrn4_result ignoring = run_qrn4(dir, {"d.dat", "-D", "-X", "-b", "-"});
    EXPECT_EQ(ignoring.exit_code, 0);
    EXPECT_EQ(ignoring.output, plain.output);
    EXPECT_EQ(ignoring.errors,
              "Warning: -X is not an option of qrn4 and is ignored\n"
              "Warning: -b is not an option of qrn4 and is ignored\n"
              "Warning: - is not an option of qrn4 and is ignored\n");
}

}  // namespace
