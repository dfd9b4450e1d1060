#include "editing/timing.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "editing/command_buttons.h"
#include "editing/editing_parameters.h"
#include "editing/frame_rate.h"

namespace lumetra {
namespace {

struct Times {
  TimeValue start;
  TimeValue end;
  bool operator==(const Times&) const = default;
};

void Fill(Document& doc, const std::vector<Times>& frames, const std::string& text = "x") {
  doc.BeginBulkChange();
  doc.FrameCount = static_cast<int>(frames.size());
  for (std::size_t i = 1; i <= frames.size(); ++i) {
    doc.FrameStart[i] = frames[i - 1].start;
    doc.FrameEnd[i] = frames[i - 1].end;
    doc.FrameText[i] = text;
  }
  doc.EndBulkChange();
}

std::vector<Times> TimesOf(const Document& doc) {
  std::vector<Times> all;
  for (int i = 1; i <= doc.FrameCount; ++i) all.push_back({doc.FrameStart[i], doc.FrameEnd[i]});
  return all;
}

TEST(TimingButtons, ChangeTheSelectedFramesAsTheirParametersSay) {
  struct Case {
    CommandButton button;
    ParameterBox box;
    const char* typed;  // into `box`, then left
    bool stop_at_adjacent;
    std::vector<Times> before;
    std::vector<int> selected;
    std::vector<Times> after;
  };
  using B = CommandButton;
  using P = ParameterBox;
  // clang-format off
  const Case cases[] = {
      {B::kEarlier, P::kOffset, "0.25", true, {{10000, 12000}}, {1}, {{9750, 11750}}},
      {B::kLater, P::kOffset, "0,25", true, {{10000, 12000}}, {1}, {{10250, 12250}}},
      {B::kLater, P::kOffset, "0.3", true, {{0, 5}}, {1}, {{299, 304}}},
      {B::kLaterSecond, P::kOffset, "0.3", true, {{0, 5}, {7, 8}}, {2}, {{0, 5}, {1007, 1008}}},
      {B::kEarlierSecond, P::kOffset, "0.3", true, {{0, 5}}, {1}, {{-1000, -995}}},
      {B::kShorterPercent, P::kDelayPercent, "10", true, {{1000, 2234}}, {1}, {{1000, 2111}}},
      {B::kLongerPercent, P::kDelayPercent, "10", true, {{1000, 2234}}, {1}, {{1000, 2357}}},
      {B::kLonger, P::kDelay, "0.25", true, {{0, 5000}, {5100, 6000}}, {1},
       {{0, 5090}, {5100, 6000}}},
      {B::kLonger, P::kDelay, "0.25", false, {{0, 5000}, {5100, 6000}}, {1},
       {{0, 5250}, {5100, 6000}}},
      {B::kLonger, P::kDelay, "0.25", true, {{0, 1}, {0, 5000}}, {2}, {{0, 1}, {0, 5250}}},
      // Pulled back before the next start, it keeps 1 ms.
      {B::kLonger, P::kDelay, "0.25", true, {{1000, 1002}, {1005, 2000}}, {1},
       {{1000, 1001}, {1005, 2000}}},
      {B::kShorter, P::kDelay, "1", true, {{1000, 1500}}, {1}, {{1000, 1010}}},
      {B::kShorter, P::kDelay, "1", false, {{1000, 1500}}, {1}, {{1000, 500}}},
      {B::kFixHangout, P::kDelay, "1", false, {{1000, 5000}, {3000, 4000}}, {1, 2},
       {{1000, 2990}, {3000, 4000}}},
      {B::kFixHangout, P::kDelay, "1", false, {{1000, 5000}, {1005, 4000}}, {1},
       {{1000, 1001}, {1005, 4000}}},
      {B::kFixHangout, P::kDelay, "1", false, {{3000, 2000}, {9000, 9500}}, {1, 2},
       {{3000, 3010}, {9000, 9500}}},
      {B::kSetLength, P::kLengthPerChar, "0.1", true, {{500, 0}}, {1}, {{500, 1600}}},
      {B::kResize, P::kResizeFactor, "0,95908", true, {{60000, 60000}}, {1}, {{57544, 57544}}},
      // Nothing selected: nothing changes.
      {B::kLater, P::kOffset, "1", true, {{0, 5}}, {}, {{0, 5}}},
  };
  // clang-format on
  for (const Case& c : cases) {
    Document doc;
    Fill(doc, c.before, "Hello|World");
    EditingParameters p;
    p.Type(c.box, c.typed);
    p.stop_at_adjacent = c.stop_at_adjacent;
    const Selection selection{c.selected, 1, 1};
    const CommandResult result = PressCommandButton(c.button, doc, selection, p);
    EXPECT_EQ(TimesOf(doc), c.after) << InfoOf(c.button).control << " " << c.typed;
    EXPECT_EQ(result.selection, selection);
    EXPECT_EQ(doc.Modified, c.selected.empty() ? kClean : kUnsaved);
  }
}

TEST(TimingButtons, ResultsBeyondTheRangeOfATimeWrapWithoutUndefinedBehaviour) {
  constexpr TimeValue kMax = std::numeric_limits<TimeValue>::max();
  Document doc;
  Fill(doc, {{kMax - 5, kMax}, {3600000, 3600001}});
  EditingParameters p;
  p.Type(ParameterBox::kOffset, "10000");
  p.Change(ParameterBox::kResizeFactor, "1e300");
  EXPECT_EQ(p.Value(ParameterBox::kResizeFactor), 1000);
  PressCommandButton(CommandButton::kLater, doc, {{1}, 1, 1}, p);
  EXPECT_EQ(doc.FrameStart[1], std::numeric_limits<TimeValue>::min() + 9999994);
  PressCommandButton(CommandButton::kResize, doc, {{2}, 1, 1}, p);
  EXPECT_EQ(doc.FrameStart[2], static_cast<TimeValue>(3600000000u));
  for (CommandButton b : {CommandButton::kLongerPercent, CommandButton::kFixHangout,
                          CommandButton::kLonger, CommandButton::kShorter}) {
    PressCommandButton(b, doc, {{1, 2}, 1, 1}, p);
  }
}

TEST(ParameterBoxes, KeepTheirRangeWhileTypedAndShowTheValueWhenLeft) {
  struct Case {
    ParameterBox box;
    const char* typed;
    const char* shown;  // after leaving the box
    double value;
  };
  using P = ParameterBox;
  // clang-format off
  const Case cases[] = {
      {P::kOffset, "14:08", "848", 848},         {P::kOffset, "6:32.41", "392.41", 392.41},
      {P::kOffset, "1:02:03", "62", 62},          {P::kOffset, "-1:30", "-30", -30},
      {P::kOffset, "20000", "10000", 10000},     {P::kOffset, "250:00", "10000", 10000},
      {P::kDelay, "1,5", "1.5", 1.5},             {P::kDelay, "150", "100", 100},
      {P::kDelayPercent, "-2000", "-1000", -1000}, {P::kLengthPerChar, "0,2", "0.01", 0.01},
      {P::kLengthPerChar, "500", "100", 100},     {P::kResizeFactor, "1,5", "1,5", 1.5},
      {P::kResizeFactor, "abc", "abc", 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    EditingParameters p;
    p.Type(c.box, c.typed);
    EXPECT_EQ(p.Text(c.box), c.shown) << c.typed;
    EXPECT_EQ(p.Value(c.box), c.value) << c.typed;
  }
}

// What lumetra-cli accepts: a text the box reads whole and keeps as written.
TEST(ParameterBoxes, ReadATextExactlyOnlyWhenTheValueInForceIsTheNumberWritten) {
  using P = ParameterBox;
  using R = BoxReading;
  struct Case {
    ParameterBox box;
    const char* typed;
    BoxReading reading;
    double value;  // in force after typing and leaving, for the exact readings
  };
  // clang-format off
  const Case cases[] = {
      {P::kOffset, "14:08", R::kExact, 848},           {P::kOffset, "-1:30", R::kExact, -30},
      {P::kOffset, "-10000", R::kExact, -10000},       {P::kOffset, "10000.000001", R::kOutOfRange, 0},
      {P::kOffset, "166:40", R::kExact, 10000},        {P::kOffset, "166:40.5", R::kOutOfRange, 0},
      {P::kOffset, "2,5", R::kExact, 2.5},             {P::kOffset, "0.000001", R::kExact, 0.000001},
      {P::kOffset, "0.0000001", R::kTooManyDecimals, 0}, {P::kOffset, "2.5s", R::kNotANumber, 0},
      {P::kOffset, "1:02:03", R::kNotANumber, 0},      {P::kOffset, "1:30,5", R::kNotANumber, 0},
      {P::kOffset, "1.5:30", R::kNotANumber, 0},       {P::kOffset, "NaN", R::kNotANumber, 0},
      {P::kOffset, "inf", R::kNotANumber, 0},          {P::kOffset, "", R::kNotANumber, 0},
      {P::kDelay, "100", R::kExact, 100},              {P::kDelay, "100.5", R::kOutOfRange, 0},
      {P::kDelayPercent, "-1000", R::kExact, -1000},   {P::kDelayPercent, "1e9", R::kOutOfRange, 0},
      {P::kResizeFactor, "0,1234567", R::kExact, 0.1234567}, {P::kResizeFactor, "1e300", R::kOutOfRange, 0},
      {P::kLengthPerChar, "0.01", R::kExact, 0.01},    {P::kLengthPerChar, "0.009", R::kOutOfRange, 0},
      {P::kLengthPerChar, "0,2", R::kNotANumber, 0},   {P::kLengthPerChar, "1e999", R::kNotANumber, 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(EditingParameters::Reading(c.box, c.typed), c.reading) << c.typed;
    if (c.reading != R::kExact) continue;
    EditingParameters p;
    p.Type(c.box, c.typed);
    EXPECT_EQ(p.Value(c.box), c.value) << c.typed;
  }
  EXPECT_EQ(FrameRateCalculator::RateReading("23,976"), R::kExact);
  EXPECT_EQ(FrameRateCalculator::RateReading("-25"), R::kExact);
  EXPECT_EQ(FrameRateCalculator::RateReading("0"), R::kZero);
  EXPECT_EQ(FrameRateCalculator::RateReading("25fps"), R::kNotANumber);
  EXPECT_EQ(FrameRateCalculator::RateReading("23.9760001"), R::kTooManyDecimals);
}

TEST(ParameterBoxes, HintsFollowTheBoxes) {
  EditingParameters p;
  p.Change(ParameterBox::kOffset, "2,5");
  EXPECT_EQ(ButtonHint(CommandButton::kEarlier, p),
            "Decreases Start/End time of the\rselected frames by 2.5 second");
  EXPECT_EQ(ButtonHint(CommandButton::kLongerPercent, p),
            "Increases Text Delay of the\rselected frames by 10 percent");
}

TEST(TimingButtons, SecondsAndFactorsAreTruncatedToWholeMilliseconds) {
  Document doc;
  Fill(doc, {{0, 0}, {57544, 60000}}, "a");
  EditingParameters p;
  p.Type(ParameterBox::kLengthPerChar, "0.3");
  PressCommandButton(CommandButton::kSetLength, doc, {{1}, 1, 1}, p);
  EXPECT_EQ(doc.FrameEnd[1], 299);
  // The resize factor inverts to six decimals.
  p.InvertResizeFactor();
  EXPECT_EQ(p.Text(ParameterBox::kResizeFactor), "1.042666");
  PressCommandButton(CommandButton::kResize, doc, {{2}, 1, 1}, p);
  EXPECT_EQ(doc.FrameStart[2], 59999);
  p.InvertResizeFactor();
  EXPECT_EQ(p.Text(ParameterBox::kResizeFactor), "0.95908");
  p.Change(ParameterBox::kResizeFactor, "1,25");  // as typed, with a comma
  p.InvertResizeFactor();
  EXPECT_EQ(p.Text(ParameterBox::kResizeFactor), "0.8");
}

TEST(FrameRateCalculator, DividesTheRatesAndTakesZeroAsTwentyFour) {
  FrameRateCalculator c;
  const std::string zero = "0", rate = "29,97", factor = "1,5";
  EXPECT_EQ(c.TypeRatesAndApply(nullptr, &zero), 0.999042);
  EXPECT_EQ(c.Text(FrameRateCalculator::kTo), "24");
  EXPECT_EQ(c.TypeRatesAndApply(&rate, &rate), 1);
  EXPECT_EQ(c.Text(FrameRateCalculator::kFrom), "29.97");
  c.Change(FrameRateCalculator::kFactor, factor);
  c.Leave(FrameRateCalculator::kFactor);
  c.Apply();
  EXPECT_EQ(c.resize_value(), 1.5);
}

}  // namespace
}  // namespace lumetra
