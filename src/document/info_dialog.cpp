#include "document/info_dialog.h"

#include <cmath>
#include <cstdint>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

// Rounds to the nearest integer, halves to even.
std::int64_t RoundHalfEven(long double x) { return static_cast<std::int64_t>(std::nearbyintl(x)); }

}  // namespace

const std::array<const char*, InfoDialogModel::kBoxes>& InfoDialogModel::Labels() {
  static const std::array<const char*, kBoxes> labels = {
      "Title",        "Author",        "Source",
      "Prg",          "Filepath",      "Delay",
      "Cd Track",     "Comment",       "Font info",
      "Total frames", "Total lines",   "Total time",
      "Average delay", "Texts are visible during play", "Displayed characters",
      "FileDir",      "Filename"};
  return labels;
}

InfoDialogModel::InfoDialogModel(const Document& doc) {
  const std::string* fields[] = {&doc.InfoTitle,    &doc.InfoAuthor, &doc.InfoSource,
                                 &doc.InfoPrg,      &doc.InfoFilepath, &doc.InfoDelay,
                                 &doc.InfoCdTrack,  &doc.InfoComment, &doc.InfoFontLine};
  for (int i = 0; i < kEditableBoxes; ++i) boxes_[static_cast<std::size_t>(i)] = *fields[i];

  const int n = doc.FrameCount;
  std::string& total_frames = boxes_[9];
  std::string& total_lines = boxes_[10];
  std::string& total_time = boxes_[11];
  std::string& average_delay = boxes_[12];
  std::string& visible = boxes_[13];
  std::string& characters = boxes_[14];
  boxes_[15] = LowerCaseHU(doc.FileDir);
  boxes_[16] = doc.FileName;
  total_frames = IntToText(n);
  total_lines = "0";
  characters = "0";
  total_time = "0";
  average_delay = "N/A";
  visible = "N/A";
  if (n <= 0) return;

  std::int64_t lines = 0;
  std::int64_t chars = 0;
  std::int64_t shown = 0;
  for (int i = 1; i <= n; ++i) {
    const std::string& text = doc.FrameText[static_cast<std::size_t>(i)];
    // The number of lines is the number of "|" separators plus one.
    std::int64_t parts = 1;
    for (char c : text) parts += c == '|';
    lines += parts;
    chars += static_cast<std::int64_t>(text.size()) - (parts - 1);
    // A frame's length is a 32-bit difference, like every other time computation.
    shown += static_cast<TimeValue>(static_cast<std::uint32_t>(doc.FrameEnd[static_cast<std::size_t>(i)]) -
                                    static_cast<std::uint32_t>(doc.FrameStart[static_cast<std::size_t>(i)]));
  }
  total_lines = IntToText(lines);
  characters = IntToText(chars);

  const TimeValue last_end = doc.FrameEnd[static_cast<std::size_t>(n)];
  const std::int64_t percent =
      last_end == 0 ? 0
                    : RoundHalfEven(static_cast<long double>(shown) / last_end * 100.0L);
  visible = IntToText(percent) + " %";

  const TimeParts total = SplitTime(last_end);
  total_time = IntToText(total.h) + "h " + IntToText(total.m) + "m " + IntToText(total.s) + "s " +
               IntToText(total.ms) + "ms";

  const auto average =
      static_cast<TimeValue>(RoundHalfEven(static_cast<long double>(shown) / n));
  const TimeParts avg = SplitTime(average);
  average_delay = IntToText(static_cast<std::int64_t>(avg.h) * 3600 + avg.m * 60 + avg.s) +
                  "sec " + IntToText(avg.ms) + "ms";
}

void InfoDialogModel::StoreInto(Document& doc) const {
  std::string* fields[] = {&doc.InfoTitle,   &doc.InfoAuthor, &doc.InfoSource,
                           &doc.InfoPrg,     &doc.InfoFilepath, &doc.InfoDelay,
                           &doc.InfoCdTrack, &doc.InfoComment, &doc.InfoFontLine};
  for (int i = 0; i < kEditableBoxes; ++i) *fields[i] = boxes_[static_cast<std::size_t>(i)];
  doc.NotifyHeaderChanged();
}

}  // namespace lumetra
