#include <gtest/gtest.h>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Crlf;
using testing::Frame;
using testing::Read;
using Frames = std::vector<Frame>;

TEST(SubRipReader, ReadsNumberedEntries) {
  const auto loaded = Read(R"(1
00:01:02,500 --> 00:01:04,000
Hello
World

2
01:00:00,045 --> 01:00:01,000
Bye
)",
                           kKindSubRip);
  EXPECT_EQ(loaded.Frames(),
            (Frames{{62500, 64000, "Hello|World"}, {3600045, 3601000, "Bye"}}));
  EXPECT_EQ(loaded.doc->SaveExt, "txt");
  EXPECT_EQ(loaded.doc->FormatLabel, "(Normal SRT)");
  EXPECT_EQ(loaded.result.frames_left_out, 0);
}

TEST(SubRipReader, MillisecondFieldsAreFilledOnTheRight) {
  const auto loaded = Read("1\n00:00:01,5 --> 00:00:02,25\nA\n\n"
                           "2\n00:00:03.050 --> 00:00:04,1234\nB\n",
                           kKindSubRip);
  EXPECT_EQ(loaded.Frames(), (Frames{{1500, 2250, "A"}, {3050, 4123, "B"}}));
}

TEST(SubRipReader, FieldsThatAreNoNumbersCountAsZero) {
  // A second blank before the arrow shifts the end time's words: "-->" "00" "00" "02".
  const auto loaded = Read("1\n00:00:01,000  --> 00:00:02,000\nA\n\n"
                           "2\nxx:00:03,000 --> 00:00:04,000\nB\n",
                           kKindSubRip);
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 20, "A"}, {3000, 4000, "B"}}));
}

TEST(SubRipReader, ShortTimeLinesKeepTheLastWordsOfThePreviousOne) {
  const auto loaded = Read("1\n00:00:01,000 --> 00:00:02,250\nA\n\n"
                           "2\n00:00:05 --> 00:00:06\nB\n",
                           kKindSubRip);
  // Words: 00 00 05 --> 00 00 06, then word 8 "02" and word 9 "250" from the first line.
  EXPECT_EQ(loaded.At(2), (Frame{5000, 6 * 60000 + 2 * 1000 + 250, "B"}));
}

TEST(SubRipReader, TextLinesKeepTheirBlanks) {
  const auto loaded = Read("1\n00:00:01,000 --> 00:00:02,000\n  Hi \nthere\n", kKindSubRip);
  EXPECT_EQ(loaded.At(1).text, "  Hi |there");
}

TEST(SubRipReader, ANumberAfterTextStartsTheNextEntry) {
  const auto loaded = Read(R"(1
00:00:01,000 --> 00:00:02,000
42
0
2
00:00:03,000 --> 00:00:04,000
B
)",
                           kKindSubRip);
  // The first text line is text even when it is a number; "0" stays text.
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 2000, "42|0"}, {3000, 4000, "B"}}));
}

TEST(SubRipReader, EntriesWithoutTextAndExtraBlankLines) {
  const auto loaded = Read("\n\n1\n00:00:01,000 --> 00:00:02,000\n\n\n\n"
                           "2\n\n00:00:03,000 --> 00:00:04,000\nB\n\n\n\n",
                           kKindSubRip);
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 2000, ""}, {3000, 4000, "B"}}));
}

TEST(SubRipReader, AnEntryCutOffBeforeItsTimeLineIsNoFrame) {
  EXPECT_EQ(Read("1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n", kKindSubRip).Frames(),
            (Frames{{1000, 2000, "A"}}));
  EXPECT_EQ(Read("1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n\n\n", kKindSubRip).Frames(),
            (Frames{{1000, 2000, "A"}}));
  // A time line as the last line still makes a frame.
  EXPECT_EQ(Read("1\r\n00:00:01,000 --> 00:00:02,000", kKindSubRip).Frames(),
            (Frames{{1000, 2000, ""}}));
  EXPECT_EQ(Read("", kKindSubRip).Frames(), Frames{});
  EXPECT_EQ(Read("\n\n\n", kKindSubRip).Frames(), Frames{});
}

TEST(SubRipWriter, WritesNumberedEntriesWithoutABlankLineAtTheEnd) {
  Document doc;
  testing::Fill(doc, {{1000, 2500, "Hello"}, {3000, 4000, "A|B"}});
  EXPECT_EQ(testing::Write(doc, "txt"),
            "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
            "2\r\n00:00:03,000 --> 00:00:04,000\r\nA|B\r\n");
}

TEST(SubRipWriter, NegativeTimesAndHoursOfAHundredOrMore) {
  Document doc;
  testing::Fill(doc, {{-1500, 3723045, ""}, {123 * 3600000 + 5, 0, "x"}});
  EXPECT_EQ(testing::Write(doc, "txt"), Crlf("1\n00:00:-1,500 --> 01:02:03,045\n\n\n"
                                             "2\n23:00:00,005 --> 00:00:00,000\nx\n"));
}

}  // namespace
}  // namespace lumetra
