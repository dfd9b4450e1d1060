#include "editing/selection.h"

#include <algorithm>
#include <numeric>

namespace lumetra {

bool Selection::Contains(int frame) const {
  return std::binary_search(frames.begin(), frames.end(), frame);
}

std::vector<int> AllFrames(int count) {
  std::vector<int> frames(static_cast<std::size_t>(std::max(count, 0)));
  std::iota(frames.begin(), frames.end(), 1);
  return frames;
}

CommandResult ForEachSelectedFrame(const Selection& selection,
                                   const std::function<void(int frame)>& change) {
  for (const int frame : selection.frames) change(frame);
  CommandResult result;
  result.selection = selection;
  return result;
}

}  // namespace lumetra
