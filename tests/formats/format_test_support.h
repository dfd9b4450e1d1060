// Helpers for the format tests: read bytes into a fresh document, write one, compare frames.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "formats/subtitle_io.h"

namespace lumetra {

inline std::ostream& operator<<(std::ostream& os, const Frame& f) {
  return os << "{" << f.start << ", " << f.end << ", \"" << f.text << "\"}";
}

}  // namespace lumetra

namespace lumetra::testing {

using Frames = std::vector<Frame>;

struct Loaded {
  std::unique_ptr<Document> doc = std::make_unique<Document>();
  ReadResult result;
  Frame At(int i) const { return {doc->FrameStart[i], doc->FrameEnd[i], doc->FrameText[i]}; }
  Frames All() const {
    Frames frames;
    for (int i = 1; i <= doc->FrameCount; ++i) frames.push_back(At(i));
    return frames;
  }
};

inline Loaded Read(std::string_view data, int kind, double fps = 25) {
  Loaded loaded;
  loaded.result = ReadSubtitleData(data, kind, fps, *loaded.doc);
  return loaded;
}

inline void Fill(Document& doc, const Frames& frames) {
  doc.FrameCount = static_cast<int>(frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    doc.FrameStart[k + 1] = frames[k].start;
    doc.FrameEnd[k + 1] = frames[k].end;
    doc.FrameText[k + 1] = frames[k].text;
  }
}

inline std::string Write(const Document& doc, int kind, double fps = 25) {
  std::string out;
  EXPECT_TRUE(WriteSubtitleData(doc, kind, fps, out)) << kind;
  return out;
}

// The information header of SRT2 files, field by field.
inline std::vector<std::string> InfoFields(const Document& d) {
  return {d.InfoTitle, d.InfoAuthor,  d.InfoSource,  d.InfoPrg,     d.InfoFilepath,
          d.InfoDelay, d.InfoCdTrack, d.InfoComment, d.InfoFontLine};
}

// Text written with "\n" line ends, as the CR LF file a writer produces.
inline std::string Crlf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace lumetra::testing
