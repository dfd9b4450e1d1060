#include "editing/editor_panel.h"

#include "foundation/textkit.h"

namespace lumetra {

std::vector<std::string> EditorLinesOf(std::string_view frame_text) {
  WordArray words;
  SplitWords(words, frame_text, '|', '|');
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(words.count()));
  for (int i = 1; i <= words.count(); ++i) lines.push_back(ShowLiteralBars(words[i]));
  return lines;
}

std::string JoinEditorLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += StoreLiteralBars(line);
    text += '|';
  }
  return TrimRightChar(text, '|');
}

bool EditorShowsMarker(std::string_view first_line) {
  return StartsWith(first_line, kMultipleFramesPrefix);
}

bool CommitsOnChange(int selected, int cur_frame, bool typed_by_user, bool apply_instantly) {
  return selected == 1 && cur_frame > 0 && typed_by_user && apply_instantly;
}

bool CommitsOnExit(int selected, int cur_frame) { return selected == 1 && cur_frame > 0; }

void CommitEditorText(Document& doc, int cur_frame, const std::vector<std::string>& lines) {
  if (cur_frame < 1 || cur_frame > doc.FrameCount) return;
  doc.Modified = kUnsaved;
  doc.SetText(cur_frame, JoinEditorLines(lines));
}

SelectionCommandStates CommandStatesFor(int selected) {
  SelectionCommandStates s;
  s.insert = selected < 2;
  s.needs_selection = selected > 0;
  s.merge = selected == 2;
  s.apply_to_selected = selected > 1;
  return s;
}

const std::vector<const char*>& InsertControls() {
  static const std::vector<const char*> names = {"Button5"};
  return names;
}

const std::vector<const char*>& NeedsSelectionControls() {
  static const std::vector<const char*> names = {
      "Button6",  "Button8",  "Button9",  "Button10",     "Button11",    "Button12",
      "Button13", "Button14", "Button18", "Button21",     "Button22",    "Button30",
      "SpeedButton5", "SpeedButton6"};
  return names;
}

const std::vector<const char*>& MergeControls() {
  static const std::vector<const char*> names = {"Button7", "SpeedButton10"};
  return names;
}

std::string SelectedCountText(int selected) { return selected < 1 ? "0" : IntToText(selected); }

std::string TotalCountText(int total) { return "   (of " + IntToText(total) + ")"; }

}  // namespace lumetra
