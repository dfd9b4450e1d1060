// Documents filled as a read fills them: one reset, and no unsaved changes.
#pragma once

#include <string>
#include <vector>

#include "document/document.h"

namespace lumetra::testing {

inline void Fill(Document& doc, const std::vector<Frame>& frames) {
  doc.BeginBulkChange();
  doc.FrameCount = static_cast<int>(frames.size());
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const Frame& frame = frames[static_cast<std::size_t>(i - 1)];
    doc.FrameStart[i] = frame.start;
    doc.FrameEnd[i] = frame.end;
    doc.FrameText[i] = frame.text;
  }
  doc.EndBulkChange();
}

// Frames "t1".."tN", frame i running i*1000 .. i*1000+500 ms.
inline void Fill(Document& doc, int count) {
  std::vector<Frame> frames;
  for (int i = 1; i <= count; ++i)
    frames.push_back({i * 1000, i * 1000 + 500, "t" + std::to_string(i)});
  Fill(doc, frames);
}

}  // namespace lumetra::testing
