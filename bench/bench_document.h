// The document every benchmark reads and writes: 9999 frames of one to three lines of
// words, Windows-1250 letters among them, at made-up but ordered times.
#pragma once

#include <cstdint>
#include <string>

#include "document/document.h"

namespace lumetra {

inline void FillBenchDocument(Document& doc) {
  static const char* const kWords[] = {
      "Hello", "there", "where", "have", "you", "been", "all", "this", "time",
      "Gy\xF5r", "\xE1rv\xEDzt\xFBr\xF5", "t\xFck\xF6rf\xFAr\xF3g\xE9p", "never", "mind", "the",
      "weather", "I", "said", "nothing", "at", "all", "-", "okay?", "<i>yes</i>"};
  constexpr int kWordCount = sizeof kWords / sizeof kWords[0];
  std::uint32_t state = 12345;
  auto next = [&](int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
  };
  doc.ResetDocument();
  int time = 1000;
  for (int i = 1; i <= MaxReadFrames; ++i) {
    std::string text;
    const int lines = 1 + (next(3) == 0 ? 1 : 0) + (next(10) == 0 ? 1 : 0);
    for (int line = 0; line < lines; ++line) {
      if (line > 0) text += '|';
      const int words = 2 + next(7);
      for (int w = 0; w < words; ++w) {
        if (w > 0) text += ' ';
        text += kWords[next(kWordCount)];
      }
    }
    const int start = time + 40 * next(25);
    const int end = start + 40 * (25 + next(100));
    doc.FrameStart[i] = start;
    doc.FrameEnd[i] = end;
    doc.FrameText[i] = text;
    time = end;
  }
  doc.FrameCount = MaxReadFrames;
}

}  // namespace lumetra
