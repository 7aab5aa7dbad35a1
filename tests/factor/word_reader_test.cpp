// The word reader and the conversions of counts and values.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <random>

#include "factor/word_reader.h"
#include "harness.h"

namespace {

std::vector<std::string> all_words(const std::string& file_name)
{
    word_reader in(file_name);
    std::vector<std::string> words;
    std::string_view word;
    while (in.read_word(word))
        words.emplace_back(word);
    return words;
}

using words = std::vector<std::string>;

TEST(WordReader, SplitsAtWhiteSpaceAndFailsAtTheEnd)
{
    scratch_dir dir;
    dir.write("a", "one\ttwo\r\nthree  \x85\xff four\r\n");
    EXPECT_EQ(all_words(dir / "a"), (words{"one", "two", "three", "\x85\xff", "four"}));

    // A word right before the end of the file fails, and so does every
    // read after a failure.
    dir.write("b", "one two");
    word_reader in(dir / "b");
    std::string_view word;
    EXPECT_TRUE(in.read_word(word));
    EXPECT_FALSE(in.read_word(word));
    EXPECT_FALSE(in.read_word(word));

    dir.write("empty", "");
    EXPECT_TRUE(all_words(dir / "empty").empty());
    EXPECT_FALSE(word_reader(dir / "missing").is_open());
}

TEST(WordReader, EndByteEndsTheFile)
{
    scratch_dir dir;
    dir.write("a", "one two \x1A three \r\n");
    EXPECT_EQ(all_words(dir / "a"), (words{"one", "two"}));
    dir.write("b", "one two\x1A three \r\n");
    EXPECT_EQ(all_words(dir / "b"), (words{"one"}));
}

TEST(WordReader, WordsAcrossBlocksAndLongWords)
{
    // The reader fills its buffer in blocks of 1 MiB: put a word across
    // a boundary and a word longer than a whole block after it, which
    // keeps its first block.
    scratch_dir dir;
    const std::size_t block = word_reader::block_size;
    const std::string across = "across-the-boundary";
    const std::string huge(3 * block, 'x');
    std::string text(word_reader::first_block_size + block, ' ');
    text.replace(text.size() - 6, 6, across.substr(0, 6));
    text += across.substr(6) + " " + huge + " last\n";
    dir.write("a", text);
    EXPECT_EQ(all_words(dir / "a"), (words{across, huge.substr(0, block), "last"}));

    word_reader in(dir / "a");
    std::string label;
    ASSERT_TRUE(in.read_label(label));
    EXPECT_EQ(label, "across-the");
}

TEST(WordReader, ReadValueConvertsEveryKindOfWord)
{
    scratch_dir dir;
    dir.write("a", "12.5 -0.25\t1e3 abc 7x +4. 0012 -0 12345678901234567890123 ");
    word_reader in(dir / "a");
    std::vector<double> values;
    value_conversion value;
    while (in.read_value(value))
        values.push_back(value.value);
    EXPECT_EQ(values, (std::vector<double>{12.5, -0.25, 1000, 0, 7, 4, 12, -0.0, 1.2345678901234568e22}));
    EXPECT_TRUE(std::signbit(values[7]));

    // A number is read whole across the boundary of the 1 MiB blocks, and
    // one that the end of the file or the end byte cuts off fails.
    std::string text(std::size_t{1} << 20, ' ');
    text.replace(text.size() - 3, 3, "123");
    dir.write("b", text + ".456 78");
    word_reader across(dir / "b");
    ASSERT_TRUE(across.read_value(value));
    EXPECT_EQ(value.value, 123.456);
    EXPECT_FALSE(across.read_value(value));

    dir.write("c", "5 6\x1A 7 ");
    word_reader cut(dir / "c");
    ASSERT_TRUE(cut.read_value(value));
    EXPECT_EQ(value.value, 5.0);
    EXPECT_FALSE(cut.read_value(value));
}

// The value words of a file, converted by the C library's strtod (which
// reads decimal notation the same way), against read_value, bit for bit.
void expect_values_as_strtod(const scratch_dir& dir, const std::string& text,
                             const std::vector<std::string>& value_words)
{
    dir.write("values", text);
    word_reader in(dir / "values");
    value_conversion value;
    int mismatches = 0;
    for (const std::string& word : value_words) {
        ASSERT_TRUE(in.read_value(value)) << word;
        const double expected = std::strtod(word.c_str(), nullptr);
        if (std::memcmp(&value.value, &expected, sizeof expected) != 0 && ++mismatches <= 10)
            ADD_FAILURE() << word << " read as " << value.value << ", not " << expected;
    }
    EXPECT_FALSE(in.read_value(value));
}

TEST(WordReader, ValuesInTheBufferConvertAsTheCLibraryDoes)
{
    // Words of every shape around the quick conversion of the usual value
    // words: 0 to 20 digits before and after the point, signs, leading
    // zeros; and words it must leave to the general conversion.
    std::mt19937 random(4711);
    auto digits = [&random](int count) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    std::vector<std::string> value_words;
    for (int i = 0; i < 100000; ++i) {
        std::string word = random() % 4 == 0 ? "-" : random() % 8 == 0 ? "+" : "";
        word += std::string(random() % 4 == 0 ? random() % 4 : 0, '0')
                + digits(static_cast<int>(random() % 21));
        if (random() % 4 != 0)
            word += "." + digits(static_cast<int>(random() % 21));
        value_words.push_back(word.empty() ? "7" : word);
    }
    for (const char* word :
         {"0", "-0", "+0", "-0.0", "1.", ".5", "-.5", ".", "-", "+", "-.", "..5", "1.2.3",
          "9007199254740992", "9007199254740993", "900719925474099.3", "9999999999999999999",
          "18446744073709551617", "0.0000000000000000001", "1e5", "-2.5E-3", "12a",
          "1,5", "0000000000000000000000012.5", "4.9406564584124654e-324"})
        value_words.push_back(word);

    const char* const separators[] = {" ", "\t", "\r\n", "  \n\n"};
    std::string text;
    for (std::size_t i = 0; i < value_words.size(); ++i)
        text += value_words[i] + separators[i % 4];
    scratch_dir dir;
    expect_values_as_strtod(dir, text, value_words);

    // Words that the 1 MiB blocks of the reader cut at every place, and
    // words that end right at a block's end.
    const std::size_t block = std::size_t{1} << 20;
    for (const std::string word : {"-1234567.25", "42", "+0.001953125", "12345678901234567890"}) {
        for (std::size_t cut = 0; cut <= word.size() + 1; ++cut) {
            std::string padded(block - cut, ' ');
            padded += word + "\n" + word + " ";
            expect_values_as_strtod(dir, padded, {word, word});
        }
    }
}

// A value as the C library's strtod reads the text, saturated at the
// largest double where it overflows.
value_conversion as_strtod(const std::string& text)
{
    const double value = std::strtod(text.c_str(), nullptr);
    if (std::isinf(value))
        return {std::copysign(DBL_MAX, value), false, true};
    return {value, true, true};
}

void expect_same_value(const value_conversion& seen, const value_conversion& expected,
                       const std::string& text)
{
    const std::string shown = text.size() > 60 ? text.substr(0, 60) + "..." : text;
    EXPECT_EQ(std::memcmp(&seen.value, &expected.value, sizeof(double)), 0)
        << shown << " read as " << seen.value << ", not " << expected.value;
    EXPECT_EQ(seen.in_range, expected.in_range) << shown;
}

TEST(WordReader, AWordLongerThanABlockConvertsAsAShortOne)
{
    // Held to its first block; the conversions follow it to its end.
    const std::size_t long_run = word_reader::block_size + 1000;
    const std::string zeros(long_run, '0');
    const std::vector<std::string> value_words = {
        zeros + "12.5",
        "-" + zeros + "7e-3",
        "1" + zeros,                                         // beyond the doubles
        "0." + zeros + "1e" + std::to_string(long_run + 3),  // 100
        "0." + zeros + "1e-320",                             // below them
        "9007199254740993" + zeros,                          // 2^53 + 1, a tie
        "9007199254740993." + zeros + "1",                   // just above it
        "4.9406564584124654e-324" + zeros,
        "2.4703282292062327e-324" + zeros + "1",  // half the smallest
    };
    std::string text;
    for (const std::string& word : value_words)
        text += word + "\n";
    scratch_dir dir;
    dir.write("values", text);
    word_reader in(dir / "values");
    value_conversion value;
    for (const std::string& word : value_words) {
        ASSERT_TRUE(in.read_value(value));
        expect_same_value(value, as_strtod(word), word);
        EXPECT_TRUE(value.is_number);
        EXPECT_EQ(in.last_word().size(), word_reader::block_size);
    }

    // Counts read the leading digits, however many zeros lead them.
    dir.write("counts",
              zeros + "42.5 -" + zeros + "2147483648 " + std::string(long_run, '9') + " ");
    word_reader counts(dir / "counts");
    count_conversion count;
    ASSERT_TRUE(counts.read_count(count));
    EXPECT_EQ(count.value, 42);
    ASSERT_TRUE(counts.read_count(count));
    EXPECT_EQ(count.value, INT_MIN);
    EXPECT_TRUE(count.in_range);
    ASSERT_TRUE(counts.read_count(count));
    EXPECT_EQ(count.value, INT_MAX);
    EXPECT_FALSE(count.in_range);

    // The hole of a sparse file is one word of NUL bytes.
    dir.write("hole", "a " + std::string(3 * word_reader::block_size, '\0') + " b ");
    word_reader hole(dir / "hole");
    std::string label;
    ASSERT_TRUE(hole.read_label(label));
    ASSERT_TRUE(hole.read_label(label));
    EXPECT_EQ(label, std::string(10, '\0'));
    ASSERT_TRUE(hole.read_value(value));
    EXPECT_EQ(hole.last_word(), "b");
}

TEST(NumberScanner, ConvertsAsTheWholeText)
{
    // Texts of every shape, longer than the digits the scanner keeps, fed
    // in pieces cut at random places.
    std::mt19937 random(1996);
    auto digits = [&random](std::size_t count) {
        std::string text;
        for (std::size_t i = 0; i < count; ++i)
            text += static_cast<char>('0' + random() % 10);
        return text;
    };
    auto some = [&random](std::size_t most) { return random() % (most + 1); };
    for (int round = 0; round < 3000; ++round) {
        std::string text = random() % 3 == 0 ? "-" : random() % 6 == 0 ? "+" : "";
        text += std::string(random() % 3 == 0 ? some(1500) : 0, '0');
        text += digits(some(random() % 2 ? 1500 : 20));
        if (random() % 2)
            text += "." + std::string(random() % 3 == 0 ? some(1500) : 0, '0')
                    + digits(some(random() % 2 ? 1500 : 20));
        if (random() % 3 == 0)
            text += (random() % 2 ? "e" : "E") + std::string(random() % 2 ? "-" : "")
                    + digits(1 + some(random() % 8 ? 3 : 25));
        static const char* const tails[] = {"", "", "", "e", "e+", ",2", "a", ";", "..5", "E-x"};
        text += tails[random() % std::size(tails)];

        word_reader_detail::number_scanner scanner;
        scanner.start();
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t piece = 1 + some(random() % 4 ? 50 : 3000);
            scanner.scan(std::string_view(text).substr(at, piece));
            at += piece;
        }
        expect_same_value(scanner.value(), as_strtod(text), text);
        EXPECT_EQ(scanner.value().is_number, convert_value(text).is_number) << text;
        const count_conversion count = scanner.count();
        const count_conversion expected = convert_count(text);
        EXPECT_EQ(count.value, expected.value) << text;
        EXPECT_EQ(count.in_range, expected.in_range) << text;
        if (HasFailure())
            break;
    }
}

TEST(WordReader, TellsTheValueWordsThatAreNotWhollyNumbers)
{
    scratch_dir dir;
    dir.write("a", "12 -1e5 4. .5 NA . 80,2 - 1e 0x1 inf ");
    word_reader in(dir / "a");
    std::vector<std::string> not_numbers;
    value_conversion value;
    while (in.read_value(value)) {
        if (!value.is_number)
            not_numbers.emplace_back(in.last_word());
    }
    EXPECT_EQ(not_numbers, (words{"NA", ".", "80,2", "-", "1e", "0x1", "inf"}));
}

TEST(WordReader, CountsTheWordsLeftWithoutHoldingThem)
{
    scratch_dir dir;
    // Words across the end of the first block, and a last word without
    // white space after it.
    std::string text = "first " + std::string(word_reader::first_block_size - 8, ' ') + "across "
                       + std::string(2 * word_reader::first_block_size, 'x') + " last";
    dir.write("a", text);
    word_reader in(dir / "a");
    std::string_view word;
    ASSERT_TRUE(in.read_word(word));
    const word_count left = in.count_words_left();
    EXPECT_EQ(left.words, 3u);
    EXPECT_TRUE(left.to_end);
    EXPECT_FALSE(in.read_word(word));

    dir.write("b", "a b \x1A c d ");
    EXPECT_EQ(word_reader(dir / "b").count_words_left().words, 2u);
}

TEST(WordReader, ReadsRegularFilesOnly)
{
    // Opening a named pipe for reading would wait for a writer.
    scratch_dir dir;
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);
    EXPECT_FALSE(word_reader(dir / "pipe").is_open());
    EXPECT_FALSE(word_reader(dir.path().string()).is_open());
    EXPECT_FALSE(word_reader("/dev/null").is_open());
    dir.write("file", "a ");
    std::filesystem::create_symlink("file", dir.path() / "link");
    EXPECT_TRUE(word_reader(dir / "link").is_open());
}

TEST(WordReader, ReadCharKeepsWhiteSpaceAndJoinsCrLf)
{
    scratch_dir dir;
    dir.write("a", "a \r\nb\rc\r");
    word_reader in(dir / "a");
    std::string seen;
    char c;
    while (in.read_char(c))
        seen += c;
    EXPECT_EQ(seen, "a \nb\rc\r");
}

TEST(WordReader, ReadCountFailsOutsideThe32BitRangeAndAtTheEnd)
{
    scratch_dir dir;
    dir.write("a", "12 -3 2.9x 2147483648 7");
    word_reader in(dir / "a");
    int count = 0;
    EXPECT_TRUE(in.read_count(count));
    EXPECT_EQ(count, 12);
    EXPECT_TRUE(in.read_count(count));
    EXPECT_EQ(count, -3);
    EXPECT_TRUE(in.read_count(count));
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(in.read_count(count));  // 2^31
    EXPECT_FALSE(in.read_count(count));  // the last word has no blank after it
}

TEST(Conversions, CountsReadLeadingDigits)
{
    EXPECT_EQ(convert_count("12").value, 12);
    EXPECT_EQ(convert_count("3.9").value, 3);
    EXPECT_EQ(convert_count("-12abc").value, -12);
    EXPECT_EQ(convert_count(" +7").value, 7);
    EXPECT_EQ(convert_count("abc").value, 0);
    EXPECT_EQ(convert_count("").value, 0);
    EXPECT_EQ(convert_count("-").value, 0);

    const count_conversion largest = convert_count("2147483647");
    EXPECT_TRUE(largest.in_range);
    EXPECT_EQ(largest.value, INT_MAX);
    const count_conversion smallest = convert_count("-2147483648");
    EXPECT_TRUE(smallest.in_range);
    EXPECT_EQ(smallest.value, INT_MIN);

    const count_conversion over = convert_count("2147483648");
    EXPECT_FALSE(over.in_range);
    EXPECT_EQ(over.value, INT_MAX);
    const count_conversion under = convert_count("-99999999999999999999999");
    EXPECT_FALSE(under.in_range);
    EXPECT_EQ(under.value, INT_MIN);
}

TEST(Conversions, ValuesReadTheLeadingDecimalNumber)
{
    EXPECT_EQ(convert_value("1.5e3x").value, 1500.0);
    EXPECT_EQ(convert_value("1e").value, 1.0);
    EXPECT_EQ(convert_value("1e+").value, 1.0);
    EXPECT_EQ(convert_value("-.5").value, -0.5);
    EXPECT_EQ(convert_value("+5.").value, 5.0);
    EXPECT_EQ(convert_value("2.5E-1").value, 0.25);
    EXPECT_EQ(convert_value(".").value, 0.0);
    EXPECT_EQ(convert_value("-").value, 0.0);
    EXPECT_EQ(convert_value("abc").value, 0.0);
    EXPECT_EQ(convert_value("0.1").value, 0.1);

    const double negative_zero = convert_value("-0").value;
    EXPECT_EQ(negative_zero, 0.0);
    EXPECT_TRUE(std::signbit(negative_zero));

    for (const char* not_decimal : {"inf", "-infinity", "nan", "NAN(1)"})
        EXPECT_EQ(convert_value(not_decimal).value, 0.0) << not_decimal;
    EXPECT_EQ(convert_value("0x1A").value, 0.0);
}

TEST(Conversions, ValueRange)
{
    const value_conversion over = convert_value("1e309");
    EXPECT_FALSE(over.in_range);
    EXPECT_EQ(over.value, DBL_MAX);
    EXPECT_EQ(convert_value("-1e309").value, -DBL_MAX);

    const value_conversion tiny = convert_value("1e-400");
    EXPECT_TRUE(tiny.in_range);
    EXPECT_EQ(tiny.value, 0.0);
    const value_conversion subnormal = convert_value("4.9406564584124654e-324");
    EXPECT_TRUE(subnormal.in_range);
    EXPECT_EQ(subnormal.value, std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(convert_value("1.7976931348623157e308").value, DBL_MAX);
}

}  // namespace
