// The search of the "Text" group: the next frame whose text holds a given text, or every
// such frame selected.
#pragma once

#include <string_view>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

inline constexpr char kNoMatchFound[] = "No match found!";

struct SearchOptions {
  bool ignore_case = true;      // "Non-Case sensitive search"
  bool select_results = false;  // "Select search results (frames)"
  bool from_beginning = false;  // "Search from the beginning" (with select_results only)
};

// Find mode: the first frame after the focused one (the last frame is examined when it is
// focused itself; no wrap-around) whose text holds `needle` becomes the only selected,
// focused and top frame. Mark mode (select_results): every hit from the focused frame (or
// from frame 1) on is selected and the first one focused. An empty needle never matches;
// with no hit the user is told, and in mark mode nothing stays selected.
CommandResult SearchFrames(const Document& doc, const Selection& selection, std::string_view needle,
                           const SearchOptions& options);

}  // namespace lumetra
