// Files written by the writer read back, and writing what was read gives the same bytes,
// within each format's limits.
#include <gtest/gtest.h>

#include <cstdint>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Frame;
using testing::Read;
using testing::Write;

struct FormatCase {
  const char* ext;
  int kind;
};

// A small generator of its own, so that every platform makes the same documents.
class Generator {
 public:
  explicit Generator(std::uint32_t seed) : state_(seed) {}
  int Below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
  }

 private:
  std::uint32_t state_;
};

// Texts of one to three lines that every format keeps: no blank text, no trailing "|" or
// tab, no braces, no "[br]", no "<br>".
std::string MakeText(Generator& gen) {
  static const char* const kWords[] = {"Hello",      "world", "Gy\xF5r", "\xC3\xA9t\xC3\xA9",
                                       "a<i>b</i>", "42",    "0",       " spaced ",
                                       "x",          "!?",    "-- dash", "[tag]"};
  std::string text;
  const int lines = 1 + gen.Below(3);
  for (int line = 0; line < lines; ++line) {
    if (line > 0) text += '|';
    const int words = 1 + gen.Below(4);
    for (int w = 0; w < words; ++w) {
      if (w > 0) text += ' ';
      text += kWords[gen.Below(12)];
    }
  }
  return text;
}

// Times in steps that every format keeps: whole SUB frames at 25 fps (frames 0..802), which
// are also whole hundredths.
std::vector<Frame> MakeFrames(int count, std::uint32_t seed) {
  Generator gen(seed);
  std::vector<Frame> frames;
  int frame = 0;
  for (int i = 0; i < count; ++i) {
    const int start = frame + gen.Below(2);
    const int end = start + 1 + gen.Below(3);
    frames.push_back({start * 40, end * 40, MakeText(gen)});
    frame = end;
  }
  return frames;
}

class RoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RoundTrip, WrittenFramesReadBackAndWriteTheSameBytes) {
  const auto [ext, kind] = GetParam();
  for (bool bom : {false, true}) {
    Document doc;
    testing::Fill(doc, MakeFrames(150, 7));
    doc.HasByteOrderMark = bom;
    const std::string bytes = Write(doc, ext);
    EXPECT_EQ(DetectSubtitleKind(bytes), kind);

    const auto loaded = Read(bytes, kind);
    EXPECT_EQ(loaded.doc->HasByteOrderMark, bom);
    EXPECT_EQ(loaded.Frames(), MakeFrames(150, 7));
    EXPECT_EQ(Write(*loaded.doc, ext), bytes);
  }
}

TEST_P(RoundTrip, AnEmptyDocumentStaysEmpty) {
  const auto [ext, kind] = GetParam();
  Document doc;
  const std::string bytes = Write(doc, ext);
  const auto loaded = Read(bytes, kind);
  EXPECT_EQ(loaded.doc->FrameCount, 0);
  EXPECT_EQ(Write(*loaded.doc, ext), bytes);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip,
                         ::testing::Values(FormatCase{"txt", kKindSubRip},
                                           FormatCase{"sub", kKindSub},
                                           FormatCase{"srt", kKindSrt2},
                                           FormatCase{"smi", kKindSami}),
                         [](const auto& info) { return std::string(info.param.ext); });

TEST(RoundTrip, Srt2KeepsTheInformationHeaderFieldByField) {
  Document doc;
  doc.InfoTitle = "Title ]x";
  doc.InfoAuthor = " Author ";
  doc.InfoSource = "Source";
  doc.InfoPrg = "Prg";
  doc.InfoFilepath = "C:\\a\\b.avi";
  doc.InfoDelay = "-3";
  doc.InfoCdTrack = "2";
  doc.InfoComment = "[br] stays";
  doc.InfoFontLine = "[FONT]Tahoma,[SIZE]20";
  const std::string bytes = Write(doc, "srt");
  const auto loaded = Read(bytes, kKindSrt2);
  const Document& back = *loaded.doc;
  EXPECT_EQ(back.InfoTitle, doc.InfoTitle);
  EXPECT_EQ(back.InfoAuthor, doc.InfoAuthor);
  EXPECT_EQ(back.InfoSource, doc.InfoSource);
  EXPECT_EQ(back.InfoPrg, doc.InfoPrg);
  EXPECT_EQ(back.InfoFilepath, doc.InfoFilepath);
  EXPECT_EQ(back.InfoDelay, doc.InfoDelay);
  EXPECT_EQ(back.InfoCdTrack, doc.InfoCdTrack);
  EXPECT_EQ(back.InfoComment, doc.InfoComment);
  EXPECT_EQ(back.InfoFontLine, doc.InfoFontLine);
  EXPECT_EQ(Write(back, "srt"), bytes);
}

TEST(RoundTrip, SubRipAndSamiKeepEveryMillisecondUpToNinetyNineHours) {
  Document doc;
  testing::Fill(doc, {{0, 1, "a"}, {3723045, 3723999, "b|c"}, {99 * 3600000 + 3599999, 0, "d"}});
  for (const auto& [ext, kind] : {std::pair{"txt", kKindSubRip}, std::pair{"smi", kKindSami}}) {
    EXPECT_EQ(Read(Write(doc, ext), kind).Frames(),
              (std::vector<Frame>{{0, 1, "a"}, {3723045, 3723999, "b|c"},
                                  {99 * 3600000 + 3599999, 0, "d"}}))
        << ext;
  }
}

TEST(RoundTrip, Srt2KeepsHundredthsOnly) {
  Document doc;
  testing::Fill(doc, {{1234, 5678, "x"}});
  EXPECT_EQ(Read(Write(doc, "srt"), kKindSrt2).At(1), (Frame{1230, 5670, "x"}));
}

TEST(RoundTrip, SubAt23976TruncatesBothWays) {
  const auto loaded = Read("{1}{24}x", kKindSub, 23.976);
  EXPECT_EQ(loaded.At(1), (Frame{41, 1001, "x"}));
  EXPECT_EQ(Write(*loaded.doc, "sub", 23.976), "{0}{23}x\r\n");
}

}  // namespace
}  // namespace lumetra
