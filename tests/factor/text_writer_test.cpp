// The buffering of the text writer: every byte reaches the file in order,
// across the flushes of its buffer, and a failed write is reported.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "factor/text_writer.h"
#include "harness.h"

namespace {

TEST(TextWriter, EveryByteReachesTheFileInOrder)
{
    scratch_dir dir;
    text_writer out(dir / "out");
    ASSERT_TRUE(out.is_open());
    std::string expected;
    // Far more than one buffer of short pieces, a piece longer than the
    // buffer between them, and values written straight into the buffer.
    const std::string long_piece(200000, 'x');
    for (int i = 0; i < 30000; ++i) {
        out.write_count(i);
        out.write(' ');
        out.write_value(i / 7.0);
        out.write("|ab");
        out.line_end();
        char value[32];
        std::snprintf(value, sizeof value, "%.6g", i / 7.0);
        expected += std::to_string(i) + " " + value + "|ab\r\n";
        if (i == 12345) {
            out.write(long_piece);
            expected += long_piece;
        }
    }
    EXPECT_TRUE(out.good());
    EXPECT_TRUE(out.close());
    EXPECT_EQ(dir.read("out"), expected);
}

TEST(TextWriter, AWriterLeftOnTheWayOutOfAnErrorKeepsWhatItWrote)
{
    // A fatal error unwinds past the writer without close(): the lines
    // written until then stay on disk.
    scratch_dir dir;
    {
        text_writer out(dir / "partial");
        out.write("2 3 \r\n");
        out.write_value(0.25);
        out.line_end();
    }
    EXPECT_EQ(dir.read("partial"), "2 3 \r\n0.25\r\n");
}

TEST(TextWriter, FailedWritesAreReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    // Seen when the buffer is flushed, and at the latest by close().
    text_writer small("/dev/full");
    small.write("a few bytes");
    EXPECT_FALSE(small.close());

    text_writer large("/dev/full");
    for (int i = 0; i < 100000 && large.good(); ++i)
        large.write_value(1.5);
    EXPECT_FALSE(large.good());
    EXPECT_FALSE(large.close());
}

}  // namespace
