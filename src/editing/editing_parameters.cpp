#include "editing/editing_parameters.h"

#include <cstdint>
#include <optional>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

struct BoxRule {
  const char* control;
  const char* start_text;
  double low;
  double high;
  bool decimal_comma;
};

// In the order of ParameterBox.
constexpr BoxRule kRules[kParameterBoxes] = {
    {"Edit2", "1", -10000, 10000, true}, {"Edit4", "0.25", -100, 100, true},
    {"Edit5", "10", -1000, 1000, true},  {"Edit33", "0.95908", -1000, 1000, true},
    {"Edit15", "0.1", 0.01, 100, false},
};

const BoxRule& RuleOf(ParameterBox box) { return kRules[static_cast<std::size_t>(box)]; }

}  // namespace

EditingParameters::EditingParameters() {
  for (int i = 0; i < kParameterBoxes; ++i)
    Change(static_cast<ParameterBox>(i), kRules[i].start_text);
}

const char* EditingParameters::ControlName(ParameterBox box) { return RuleOf(box).control; }

void EditingParameters::Change(ParameterBox box, std::string text) {
  const BoxRule& rule = RuleOf(box);
  double v = TextToFloat(rule.decimal_comma ? ReplaceChar(text, ',', '.') : text);
  if (v > rule.high) v = rule.high;
  if (rule.decimal_comma) {
    if (v < rule.low) v = rule.low;
  } else if (v <= rule.low) {
    v = rule.low;  // the length per character never reaches 0
  }
  text_[Index(box)] = std::move(text);
  value_[Index(box)] = v;
}

void EditingParameters::Leave(ParameterBox box) {
  if (box == ParameterBox::kResizeFactor) return;
  if (box == ParameterBox::kOffset && Text(box).find(':') != std::string::npos) {
    // Minutes and seconds; the parts are added as signed numbers, a third part is ignored.
    WordArray parts;
    SplitShortWords(parts, Text(box), ':', ':');
    Change(box, FloatToText(60.0 * TextToInt(parts[1]) + TextToFloat(parts[2])));
  }
  // The box shows the value in force, within its range.
  Change(box, FloatToText(Value(box)));
}

void EditingParameters::Type(ParameterBox box, std::string text) {
  Change(box, std::move(text));
  Leave(box);
}

double EditingParameters::Low(ParameterBox box) { return RuleOf(box).low; }
double EditingParameters::High(ParameterBox box) { return RuleOf(box).high; }

BoxReading EditingParameters::Reading(ParameterBox box, std::string_view text) {
  const BoxRule& rule = RuleOf(box);
  std::optional<double> value;
  if (box == ParameterBox::kOffset && text.find(':') != std::string_view::npos) {
    // Exactly two parts, each read whole as Leave reads them: whole minutes, then seconds
    // (no decimal comma there).
    const std::size_t colon = text.find(':');
    const std::string_view minutes = text.substr(0, colon);
    const std::string_view seconds = text.substr(colon + 1);
    bool minutes_wrong = false;
    const std::int32_t whole_minutes = TextToInt(minutes, &minutes_wrong);
    if (minutes_wrong || seconds.find(':') != std::string_view::npos ||
        minutes.size() > ShortWordLength || seconds.size() > ShortWordLength) {
      return BoxReading::kNotANumber;
    }
    value = TextToFloatExactly(seconds);
    if (value) *value += 60.0 * whole_minutes;
  } else {
    value =
        TextToFloatExactly(rule.decimal_comma ? ReplaceChar(text, ',', '.') : std::string(text));
  }
  if (!value) return BoxReading::kNotANumber;
  if (*value < rule.low || *value > rule.high) return BoxReading::kOutOfRange;
  if (box != ParameterBox::kResizeFactor && TextToFloat(FloatToText(*value)) != *value) {
    return BoxReading::kTooManyDecimals;
  }
  return BoxReading::kExact;
}

void EditingParameters::InvertResizeFactor() {
  double v = TextToFloat(ReplaceChar(Text(ParameterBox::kResizeFactor), ',', '.'));
  if (v != 0) v = 1 / v;
  Change(ParameterBox::kResizeFactor, FloatToText(v));
}

void EditingParameters::TakeCalculatorFactor(double value) {
  if (value != 0) Change(ParameterBox::kResizeFactor, FloatToText(value));
}

}  // namespace lumetra
