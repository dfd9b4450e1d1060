#include "editing/frame_rate.h"

#include <optional>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

// The rate of a rate box; 0 (also what a text without a number gives) counts as 24, so the
// factor never divides by 0.
double RateOf(const std::string& text) {
  const double rate = TextToFloat(ReplaceChar(text, ',', '.'));
  return rate == 0 ? 24 : rate;
}

}  // namespace

BoxReading FrameRateCalculator::RateReading(std::string_view text) {
  const std::optional<double> rate = TextToFloatExactly(ReplaceChar(text, ',', '.'));
  if (!rate) return BoxReading::kNotANumber;
  if (*rate == 0) return BoxReading::kZero;
  if (TextToFloat(FloatToText(*rate)) != *rate) return BoxReading::kTooManyDecimals;
  return BoxReading::kExact;
}

void FrameRateCalculator::Activate() { resize_value_ = TextToFloat(text_[kFactor]); }

void FrameRateCalculator::Change(Box box, std::string text) {
  text_[box] = std::move(text);
  if (box == kFactor) {
    resize_value_ = TextToFloat(ReplaceChar(text_[kFactor], ',', '.'));
    return;
  }
  (box == kFrom ? from_fps_ : to_fps_) = RateOf(text_[box]);
  Change(kFactor, FloatToText(from_fps_ / to_fps_));
}

void FrameRateCalculator::Leave(Box box) {
  const double value = box == kFrom ? from_fps_ : box == kTo ? to_fps_ : resize_value_;
  Change(box, FloatToText(value));
}

void FrameRateCalculator::Swap() {
  const std::string from = text_[kFrom];
  const std::string to = text_[kTo];
  Change(kFrom, to);
  Change(kTo, from);
}

void FrameRateCalculator::Apply() { resize_value_ = TextToFloat(text_[kFactor]); }

double FrameRateCalculator::TypeRatesAndApply(const std::string* from, const std::string* to) {
  Activate();
  if (from != nullptr) {
    Change(kFrom, *from);
    Leave(kFrom);
  }
  if (to != nullptr) {
    Change(kTo, *to);
    Leave(kTo);
  }
  Apply();
  return resize_value_;
}

}  // namespace lumetra
