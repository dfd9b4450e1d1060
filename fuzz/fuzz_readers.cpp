// Arbitrary bytes through kind detection, every reader (SUB at ordinary and odd rates) and
// every writer on what was read. Besides the sanitizers' findings it checks what must hold
// for any input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/document.h"
#include "formats/subtitle_io.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lumetra;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static Document doc;  // 10001 slots: made once
  static std::string out;

  const int kind = DetectSubtitleKind(bytes);
  Check(kind >= kKindUnknown && kind <= kKindSami);

  struct Run {
    int kind;
    double fps;
  };
  static constexpr Run kRuns[] = {{kKindSubRip, 25},  {kKindSrt2, 25},   {kKindSami, 25},
                                  {kKindSub, 25},     {kKindSub, 23.976}, {kKindSub, 0.001},
                                  {kKindSub, -10},    {kKindSub, 0}};
  for (const Run& run : kRuns) {
    const ReadResult result = ReadSubtitleData(bytes, run.kind, run.fps, doc);
    Check(doc.FrameCount >= 0 && doc.FrameCount <= MaxReadFrames);
    Check(result.frames_left_out >= 0);
    Check(result.frames_left_out == 0 || doc.FrameCount == MaxReadFrames);
    Check(doc.HasByteOrderMark == HasUtf8ByteOrderMark(bytes));
    for (int kind = kKindSubRip; kind <= kKindSami; ++kind) {
      Check(WriteSubtitleData(doc, kind, run.fps, out));
      Check(out.size() >= 2 || doc.FrameCount == 0);
    }
  }
  return 0;
}
