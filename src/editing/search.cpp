#include "editing/search.h"

#include <algorithm>
#include <string>

#include "foundation/textkit.h"

namespace lumetra {

CommandResult SearchFrames(const Document& doc, const Selection& selection, std::string_view needle,
                           const SearchOptions& options) {
  const std::string wanted = options.ignore_case ? LowerCaseHU(needle) : std::string(needle);
  auto hit = [&](int frame) {
    if (wanted.empty()) return false;
    const std::string& text = doc.FrameText[static_cast<std::size_t>(frame)];
    return (options.ignore_case ? LowerCaseHU(text) : text).find(wanted) != std::string::npos;
  };
  const int focus = std::clamp(selection.focus, 0, doc.FrameCount);
  CommandResult result{selection, true, {}};
  Selection& s = result.selection;
  if (!options.select_results) {
    for (int frame = std::max(std::min(focus + 1, doc.FrameCount), 1); frame <= doc.FrameCount;
         ++frame) {
      if (hit(frame)) {
        s = Selection{{frame}, frame, frame};
        return result;
      }
    }
    result.reload_panel = false;
    result.message = kNoMatchFound;
    return result;
  }
  s.frames.clear();
  const int first = options.from_beginning || focus == 0 ? 1 : focus;
  for (int frame = first; frame <= doc.FrameCount; ++frame) {
    if (hit(frame)) s.frames.push_back(frame);
  }
  if (s.frames.empty()) {
    result.message = kNoMatchFound;
  } else {
    s.focus = s.frames.front();
  }
  return result;
}

}  // namespace lumetra
