#include "editing/frame_commands.h"

#include <algorithm>

#include "editing/editor_panel.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

// The multiple-frames marker as it comes back from the editor.
constexpr char kMarkerStart[] = "< Multip";

int LineCount(const std::string& text) {
  WordArray words;
  SplitWords(words, text, '|', '|');
  return words.count();
}

// The same top row, as far as the document still reaches.
int KeptTop(const Document& doc, int top) { return std::min(top, doc.FrameCount); }

// Selects and focuses frame `frame` alone.
Selection Only(const Document& doc, int frame, int top) {
  Selection s;
  s.frames = {frame};
  s.focus = frame;
  s.top = KeptTop(doc, top);
  return s;
}

}  // namespace

Selection SelectAllFrames(const Document& doc, const Selection& selection) {
  if (doc.FrameCount == 0) return selection;
  Selection s = selection;
  s.frames = AllFrames(doc.FrameCount);
  return s;
}

Selection UnselectAllFrames(const Document& doc, const Selection& selection) {
  if (doc.FrameCount == 0) return selection;
  Selection s = selection;
  s.frames.clear();
  return s;
}

Selection InvertSelection(const Document& doc, const Selection& selection) {
  if (doc.FrameCount == 0) return selection;
  Selection s = selection;
  s.frames.clear();
  s.frames.reserve(static_cast<std::size_t>(doc.FrameCount - selection.count()));
  auto selected = selection.frames.begin();
  for (int frame = 1; frame <= doc.FrameCount; ++frame) {
    while (selected != selection.frames.end() && *selected < frame) ++selected;
    if (selected == selection.frames.end() || *selected != frame) s.frames.push_back(frame);
  }
  return s;
}

CommandResult ApplyTextToSelected(Document& doc, const Selection& selection,
                                  const std::vector<std::string>& editor_lines) {
  if (selection.count() < 2) return CommandResult{selection, false, {}};
  doc.Modified = kUnsaved;
  std::string text = JoinEditorLines(editor_lines);
  if (StartsWith(text, kMarkerStart)) text.clear();
  return ForEachSelectedFrame(selection, [&](int frame) {
    if (frame >= 1 && frame <= doc.FrameCount) doc.SetText(frame, text);
  });
}

CommandResult InsertFrame(Document& doc, const Selection& selection) {
  CommandResult result{selection, false, {}};
  if (doc.FrameCount >= MaxFrames) {
    result.message = kCantInsert;
    return result;
  }
  if (doc.FrameCount == 0) {
    doc.InsertFrame(1, 0, kFirstFrameEnd, "");
    result.selection = Selection{{}, 1, 1};
    return result;
  }
  doc.Modified = kUnsaved;
  const bool focused = selection.focus >= 1 && selection.focus <= doc.FrameCount;
  const int at = focused ? selection.focus : doc.FrameCount + 1;
  const TimeValue start =
      at > 1 ? doc.FrameEnd[static_cast<std::size_t>(at - 1)] + kInsertedGap : 0;
  doc.InsertFrame(at, start, start + kInsertedLength, "");

  Selection& s = result.selection;
  for (int& frame : s.frames) {
    if (frame >= at) ++frame;
  }
  if (focused) {
    // The frame that had the focus keeps it, one row lower, and is selected.
    s.focus = at + 1;
    if (!s.Contains(s.focus))
      s.frames.insert(std::lower_bound(s.frames.begin(), s.frames.end(), s.focus), s.focus);
  } else {
    s.focus = at;
  }
  return result;
}

CommandResult RemoveFrames(Document& doc, const Selection& selection) {
  CommandResult result{selection, true, {}};
  std::vector<int> frames;
  frames.reserve(selection.frames.size());
  for (const int frame : selection.frames) {
    if (frame >= 1 && frame <= doc.FrameCount) frames.push_back(frame);
  }
  if (frames.empty()) return CommandResult{selection, false, {}};
  doc.Modified = kUnsaved;
  const int first_removed = frames.front();
  doc.KeepLeadsOf(frames);
  doc.RemoveFrameList(frames);
  if (doc.FrameCount == 0) {
    doc.ResetDocument();
    result.selection = Selection{};
    return result;
  }
  result.selection = Only(doc, std::min(first_removed, doc.FrameCount), selection.top);
  return result;
}

CommandResult MergeTwoFrames(Document& doc, const Selection& selection) {
  if (selection.count() != 2 || selection.frames[1] > doc.FrameCount || selection.frames[0] < 1) {
    return CommandResult{selection, false, {}};
  }
  doc.Modified = kUnsaved;  // also when the merge is refused
  const int a = selection.frames[0];
  const int b = selection.frames[1];
  const auto ka = static_cast<std::size_t>(a);
  const auto kb = static_cast<std::size_t>(b);
  if (LineCount(doc.FrameText[ka]) + LineCount(doc.FrameText[kb]) > kMaxMergedLines) {
    return CommandResult{selection, false, kCantMerge};
  }
  doc.SetTimes(a, doc.FrameStart[ka], doc.FrameEnd[kb]);
  doc.SetText(a, doc.FrameText[ka] + "|" + doc.FrameText[kb]);
  // The merged frame keeps the first one's extras; what the file held before the second
  // one stays in its place.
  doc.KeepLeadsOf({b});
  doc.RemoveFrames(b, 1);
  return CommandResult{Only(doc, a, selection.top), true, {}};
}

}  // namespace lumetra
