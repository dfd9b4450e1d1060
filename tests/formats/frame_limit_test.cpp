// A file with more entries than the store holds keeps its first 9999 frames and says how
// many it left out.
#include <gtest/gtest.h>

#include <cstdio>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Frame;
using testing::Read;

constexpr int kEntries = MaxReadFrames + 6;

Frame Entry(int n) { return {n * 1000, n * 1000 + 500, "t" + std::to_string(n)}; }

void ExpectFirstFramesKept(const testing::Loaded& loaded, bool with_ends = true) {
  ASSERT_EQ(loaded.doc->FrameCount, MaxReadFrames);
  EXPECT_EQ(loaded.result.frames_left_out, kEntries - MaxReadFrames);
  for (int n : {1, 2, 5000, MaxReadFrames - 1, MaxReadFrames}) {
    Frame expected = Entry(n);
    if (!with_ends) expected.end = loaded.At(n).end;
    EXPECT_EQ(loaded.At(n), expected) << n;
  }
  // The slot past the readers' share stays empty.
  EXPECT_EQ(loaded.At(MaxFrames), (Frame{0, 0, ""}));
}

TEST(FrameLimit, SubRipKeepsTheFirst9999) {
  std::string file;
  for (int n = 1; n <= kEntries; ++n) {
    const Frame f = Entry(n);
    file += std::to_string(n) + "\n";
    const TimeParts s = SplitTime(f.start);
    const TimeParts e = SplitTime(f.end);
    char line[64];
    std::snprintf(line, sizeof line, "%02d:%02d:%02d,%03d --> %02d:%02d:%02d,%03d\n", s.h, s.m,
                  s.s, s.ms, e.h, e.m, e.s, e.ms);
    file += line + f.text + "\n\n";
  }
  ExpectFirstFramesKept(Read(file, kKindSubRip));
}

TEST(FrameLimit, SamiKeepsTheFirst9999AndIgnoresTheEndsOfTheOthers) {
  std::string file = "<SAMI>\n<BODY>\n";
  for (int n = 1; n <= kEntries; ++n) {
    const Frame f = Entry(n);
    file += "<SYNC Start=" + std::to_string(f.start) + "><P>" + f.text + "\n";
    file += "<SYNC Start=" + std::to_string(f.end) + "><P><br>\n";
  }
  ExpectFirstFramesKept(Read(file, kKindSami));
}

TEST(FrameLimit, SubAndSrt2KeepTheFirst9999) {
  std::string sub;
  std::string srt2 = "[INFORMATION]\n";
  for (int n = 1; n <= kEntries; ++n) {
    // 25 frames a second: frame 25n is n seconds.
    sub += "{" + std::to_string(25 * n) + "}{" + std::to_string(25 * n + 12) + "}t" +
           std::to_string(n) + "\n";
    const TimeParts s = SplitTime(n * 1000);
    char line[64];
    std::snprintf(line, sizeof line, "%02d:%02d:%02d.00,%02d:%02d:%02d.50\n", s.h, s.m, s.s, s.h,
                  s.m, s.s);
    srt2 += line + ("t" + std::to_string(n)) + "\n\n";
  }
  ExpectFirstFramesKept(Read(srt2, kKindSrt2));
  ExpectFirstFramesKept(Read(sub, kKindSub, 25), /*with_ends=*/false);
}

}  // namespace
}  // namespace lumetra
