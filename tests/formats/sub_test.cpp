#include <gtest/gtest.h>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Crlf;
using testing::Frame;
using testing::Read;
using Frames = std::vector<Frame>;

TEST(SubReader, FramesBecomeMillisecondsInExtendedPrecision) {
  const auto loaded = Read("{100}{803}Hello|World\r\n{0}{-50}\r\n", kKindSub, 25);
  EXPECT_EQ(loaded.Frames(), (Frames{{4000, 32119, "Hello|World"}, {0, -2000, ""}}));
  EXPECT_EQ(Read("{489}{1}x", kKindSub, 30).At(1), (Frame{16299, 33, "x"}));
  EXPECT_EQ(Read("{1}{1}23.976\n", kKindSub, 23.976).At(1), (Frame{41, 41, "23.976"}));
}

TEST(SubReader, SetsTheRateTheExtensionAndTheLabel) {
  const auto loaded = Read("{1}{2}x\n", kKindSub, 23.976);
  EXPECT_EQ(loaded.doc->SubFps, 23.976);
  EXPECT_EQ(loaded.doc->SaveExt, "sub");
  EXPECT_EQ(loaded.doc->FormatLabel, "(SUB 23.976 fps)");
}

TEST(SubReader, TheTextEndsAtTheNextBrace) {
  EXPECT_EQ(Read("{10}{20}", kKindSub).At(1).text, "");
  EXPECT_EQ(Read("{10}{20}{y:i}Hi", kKindSub).At(1).text, "");
  EXPECT_EQ(Read("{10}{20}Hi{y:i}there", kKindSub).At(1).text, "Hi");
}

TEST(SubReader, LinesWithoutTwoLeadingBraceGroupsAreNoFrames) {
  const auto loaded = Read(R"({25}{50}First

Content-Type: text/plain
{75}
{75}{100
{75}x{100}y
 {75}{100}z
}75{{100}w
{100}{125}Second
)",
                           kKindSub);
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 2000, "First"}, {4000, 5000, "Second"}}));
}

TEST(SubReader, OddFrameRatesNeverFail) {
  EXPECT_EQ(Read("{100}{200}x", kKindSub, 0).At(1), (Frame{0, 0, "x"}));
  EXPECT_EQ(Read("{100}{200}x", kKindSub, -10).At(1), (Frame{-10000, -20000, "x"}));
  // Far beyond 32 bits: wrapped, not undefined.
  EXPECT_EQ(Read("{2147483647}{0}x", kKindSub, 0.001).At(1).text, "x");
}

TEST(SubWriter, WritesFrameNumbersAtTheRate) {
  Document doc;
  testing::Fill(doc, {{1000, 2500, "Hello"}, {-20, -40, "A|B"}});
  EXPECT_EQ(testing::Write(doc, "sub", 25), Crlf("{25}{62}Hello\n{0}{-1}A|B\n"));
  // Rate 0 counts as 25.
  EXPECT_EQ(testing::Write(doc, "sub", 0), Crlf("{25}{62}Hello\n{0}{-1}A|B\n"));
  testing::Fill(doc, {{1000, 41, ""}});
  EXPECT_EQ(testing::Write(doc, "sub", 23.976), Crlf("{23}{0}\n"));
}

}  // namespace
}  // namespace lumetra
