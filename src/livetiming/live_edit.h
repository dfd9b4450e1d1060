// What the recorder and mini mode share: the mouse buttons they tell apart, and the edits
// of one frame that mark the document modified when they change it.
#pragma once

#include <cstdint>
#include <string>

#include "document/document.h"

namespace lumetra {

enum class PointerButton { kLeft, kRight, kOther };

// a + b in the wrapping 32-bit arithmetic of time values.
inline TimeValue AddTime(TimeValue a, std::int64_t b) {
  return static_cast<TimeValue>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

// Gives frame i new times; the document is marked modified when they differ.
inline void SetTimesMarked(Document& doc, int i, TimeValue start, TimeValue end) {
  const auto k = static_cast<std::size_t>(i);
  if (doc.FrameStart[k] == start && doc.FrameEnd[k] == end) return;
  doc.SetTimes(i, start, end);
  doc.Modified = kUnsaved;
}

}  // namespace lumetra
