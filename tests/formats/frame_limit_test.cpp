// A file with more entries than the store holds keeps its first frames and counts the rest.
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

// Entry n, from n seconds to n.5 seconds, in each format (SUB at 2 frames a second).
std::string Entry(int kind, int n) {
  const std::string s = std::to_string(n);
  const std::string text = "t" + s + "\n";
  switch (kind) {
    case kKindSubRip:
      return s + "\n00:00:" + s + ",000 --> 00:00:" + s + ",500\n" + text + "\n";
    case kKindSub:
      return "{" + std::to_string(2 * n) + "}{" + std::to_string(2 * n + 1) + "}" + text;
    case kKindSrt2:
      return "00:00:" + s + ".00,00:00:" + s + ".50\n" + text + "\n";
    default:
      return "<SYNC Start=" + s + "000><P>" + text + "<SYNC Start=" + s + "500><P><br>\n";
  }
}

TEST(FrameLimit, EveryReaderKeepsTheFirst9999) {
  constexpr int kEntries = MaxReadFrames + 6;
  for (int kind : {kKindSubRip, kKindSub, kKindSrt2, kKindSami}) {
    std::string file;
    for (int n = 1; n <= kEntries; ++n) file += Entry(kind, n);
    const auto loaded = Read(file, kind, 2);
    ASSERT_EQ(loaded.doc->FrameCount, MaxReadFrames) << kind;
    EXPECT_EQ(loaded.result.frames_left_out, 6) << kind;
    // The last kept SAMI frame keeps its own end, not that of a frame left out.
    for (int n : {1, MaxReadFrames}) {
      EXPECT_EQ(loaded.At(n), (Frame{n * 1000, n * 1000 + 500, "t" + std::to_string(n)})) << kind;
    }
    EXPECT_EQ(loaded.At(MaxFrames), Frame{}) << kind;
    // A shorter file read into the same document leaves every slot after its frames empty,
    // though a read clears only the slots the one before used.
    ReadSubtitleData(Entry(kind, 1), kind, 2, *loaded.doc);
    ASSERT_EQ(loaded.doc->FrameCount, 1) << kind;
    int filled = 0;
    for (int i = 2; i <= MaxFrames; ++i) filled += loaded.At(i) != Frame{} ? 1 : 0;
    EXPECT_EQ(filled, 0) << kind;
  }
}

TEST(FrameLimit, SamiFromOtherProgramsKeepsTheFirst9999) {
  std::string file = "<SAMI><BODY>\n";
  for (int n = 1; n <= MaxReadFrames + 3; ++n) {
    const std::string s = std::to_string(n);
    file += "<SYNC Start=" + s + "000><P Class=EN>\nt" + s + "\n<SYNC Start=" + s +
            "500><P Class=EN>&nbsp;\n";
  }
  const auto loaded = Read(file, kKindSami);
  ASSERT_EQ(loaded.doc->FrameCount, MaxReadFrames);
  EXPECT_EQ(loaded.result.frames_left_out, 3);
  EXPECT_EQ(loaded.At(MaxReadFrames),
            (Frame{MaxReadFrames * 1000, MaxReadFrames * 1000 + 500, "t9999"}));
  EXPECT_EQ(loaded.At(MaxFrames), Frame{});
}

}  // namespace
}  // namespace lumetra
