// A time written and read back in the same format is the same time, to the format's step
// (hundredths in SRT2, frames in SUB), and the next save writes the same bytes: nothing
// drifts on successive saves, before 0 and at the ends of the 32-bit range included.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/format_parts.h"
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

struct TimeCase {
  const char* name;
  int kind;
  double fps;  // SUB only
};
void PrintTo(const TimeCase& c, std::ostream* os) { *os << c.name; }

// The time a format gives back for `t`.
TimeValue ComesBackAs(const TimeCase& c, TimeValue t) {
  switch (c.kind) {
    case kKindSrt2:
      return t - t % 10;  // hundredths, cut toward zero as for times after 0
    case kKindSub:
      return SubFrameToMs(SubMsToFrame(t, c.fps), c.fps);
    case kKindWebVtt:
      return std::max(t, 0);  // no time before 0
    case kKindAss:
    case kKindSsa:  // the nearest hundredth, none before 0, within the 32 bits
      return t <= 0 ? 0
                    : static_cast<TimeValue>(std::min<std::int64_t>(
                          (static_cast<std::int64_t>(t) + 5) / 10 * 10, INT32_MAX));
    default:
      return t;
  }
}

class TimeRoundTrip : public ::testing::TestWithParam<TimeCase> {};

TEST_P(TimeRoundTrip, TimesAroundZeroAndAtTheLimitsComeBackAndStayPut) {
  const TimeCase& c = GetParam();
  std::vector<TimeValue> times = {INT32_MIN, INT32_MIN + 1, INT32_MAX - 1,
                                  INT32_MAX, -5440,         -38200};
  for (const TimeValue t :
       {0, 1, 9, 10, 11, 39, 40, 41, 999, 1000, 1001, 3599999, 3600000, 359999999, 360000000}) {
    times.push_back(t);
    times.push_back(-t);
  }
  for (const TimeValue t : times) {
    SCOPED_TRACE(t);
    // The time as the first frame's start (where SRT2's header ends) and as an end.
    const Frames frames = {{t, t, "a"}, {0, t, "b"}, {t, 0, "c"}};
    Document doc;
    Fill(doc, frames);
    const std::string bytes = Write(doc, c.kind, c.fps);
    const auto loaded = Read(bytes, c.kind, c.fps);
    const TimeValue back = ComesBackAs(c, t);
    EXPECT_EQ(loaded.All(), (Frames{{back, back, "a"}, {0, back, "b"}, {back, 0, "c"}}));
    // Never the other side of 0, never more than a step away (where the format has the time).
    EXPECT_GE(static_cast<std::int64_t>(back) * t, 0);
    const double step = c.kind == kKindSub ? 1000 / std::abs(c.fps)
                        : c.kind == kKindSrt2 || c.kind == kKindAss || c.kind == kKindSsa ? 10
                                                                                          : 1;
    if (t >= 0 || (c.kind != kKindWebVtt && c.kind != kKindAss && c.kind != kKindSsa)) {
      EXPECT_LT(std::abs(static_cast<double>(back) - t), step);
    }
    EXPECT_EQ(Write(*loaded.doc, c.kind, c.fps), bytes);
  }
}

// A frame 1 ms before 0 has a time before 0; one at 0 has none. ASS and SSA write -5 ms as
// 0:00:00.00 like every time before 0 (while 5 ms rounds up to 0:00:00.01), and the frame
// counts as one before 0 there too, as it does everywhere.
TEST(TimesBeforeZero, AreFoundFromOneMillisecondBeforeZeroAndWrittenAsZeroWhereNotHeld) {
  Document doc;
  Fill(doc, {{0, 0, "a"}, {-1, 0, "b"}, {0, -1, "c"}, {-5, -5, "d"}, {5, 5, "e"}});
  EXPECT_EQ(FramesBeforeZero(doc), (std::vector<int>{2, 3, 4}));
  for (const int kind : {kKindSubRip, kKindSrt2, kKindSami, kKindSub}) {
    EXPECT_TRUE(HoldsTimesBeforeZero(kind)) << kind;
  }
  for (const int kind : {kKindWebVtt, kKindAss, kKindSsa}) {
    SCOPED_TRACE(kind);
    EXPECT_FALSE(HoldsTimesBeforeZero(kind));
    const TimeValue five = kind == kKindWebVtt ? 5 : 10;
    EXPECT_EQ(Read(Write(doc, kind), kind).All(),
              (Frames{{0, 0, "a"}, {0, 0, "b"}, {0, 0, "c"}, {0, 0, "d"}, {five, five, "e"}}));
  }
  EXPECT_NE(Write(doc, kKindAss).find("Dialogue: 0,0:00:00.00,0:00:00.00,Default,,0,0,0,,d\r\n"),
            std::string::npos);
}

// The rates a SUB file may be read at run from far below 1 to 50, and backwards below 0.
INSTANTIATE_TEST_SUITE_P(
    AllFormats, TimeRoundTrip,
    ::testing::Values(TimeCase{"SubRip", kKindSubRip, 25}, TimeCase{"Srt2", kKindSrt2, 25},
                      TimeCase{"Sami", kKindSami, 25}, TimeCase{"Sub25", kKindSub, 25},
                      TimeCase{"Sub23976", kKindSub, 23.976}, TimeCase{"Sub50", kKindSub, 50},
                      TimeCase{"SubBackwards", kKindSub, -25},
                      TimeCase{"SubFarBelowOne", kKindSub, 1e-300},
                      TimeCase{"WebVtt", kKindWebVtt, 25}, TimeCase{"Ass", kKindAss, 25},
                      TimeCase{"Ssa", kKindSsa, 25}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumetra
