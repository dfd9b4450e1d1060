// Arbitrary bytes through kind detection, every reader (SUB at ordinary and odd rates, and
// the tolerant SAMI reader where the line rules find nothing) and every writer on what was
// read; the same bytes as the text of UTF-16 files; the code-page tables. Besides the
// sanitizers' findings it checks what must hold for any input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "document/document.h"
#include "formats/subtitle_io.h"
#include "foundation/code_pages.h"
#include "foundation/utf16.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// UTF-16 files: a file decodes and encodes back to the same bytes (an odd last byte
// aside), and any text survives being encoded and decoded in either form.
void CheckUtf16(std::string_view bytes) {
  using namespace lumetra;
  const TextForm form = TextFormOf(bytes);
  if (form != TextForm::kBytes && bytes.size() % 2 == 0) {
    Check(Utf8ToUtf16(Utf16ToUtf8(bytes, form), form) == bytes);
  }
  for (TextForm as : {TextForm::kUtf16Le, TextForm::kUtf16Be}) {
    const std::string file = Utf8ToUtf16(bytes, as);
    Check(TextFormOf(file) == as);
    const std::string text = Utf16ToUtf8(file, as);
    Check(Utf8ToUtf16(text, as) == file);
  }
}

// One code page, chosen by the first byte: its text is valid UTF-8, and single-byte
// pages that leave no byte above 0x9F undefined give every byte back.
void CheckCodePage(std::string_view bytes) {
  using namespace lumetra;
  if (bytes.empty()) return;
  const auto& pages = AllCodePages();
  const CodePage page = pages[static_cast<unsigned char>(bytes[0]) % pages.size()];
  const std::string utf8 = DecodeToUtf8(bytes, page);
  Check(EncodeFromUtf8(utf8, CodePage::kUtf8) == utf8);
  if (page != CodePage::kUtf8 && page != CodePage::kWindows1253 && page != CodePage::kWindows1257) {
    Check(EncodeFromUtf8(utf8, page) == bytes);
  }
}

// Detection and the readers (all runs, or the first `runs`) and every writer over one file.
void CheckReadAndWrite(std::string_view bytes, std::size_t runs) {
  using namespace lumetra;
  static Document doc;  // 10001 slots: made once
  static std::string out;

  const int kind = DetectSubtitleKind(bytes);
  Check(kind >= kKindUnknown && kind <= kKindSami);
  if (const auto rate = SubFileFrameRate(bytes)) Check(!rate->empty());
  const bool mark = HasUtf8ByteOrderMark(FileText(bytes).text());

  struct Run {
    int kind;
    double fps;
  };
  static constexpr Run kRuns[] = {{kKindSubRip, 25},  {kKindSrt2, 25},   {kKindSami, 25},
                                  {kKindSub, 25},     {kKindSub, 23.976}, {kKindSub, 0.001},
                                  {kKindSub, -10},    {kKindSub, 0}};
  for (const Run& run : std::span(kRuns).first(std::min(runs, std::size(kRuns)))) {
    const ReadResult result = ReadSubtitleData(bytes, run.kind, run.fps, doc);
    Check(doc.FrameCount >= 0 && doc.FrameCount <= MaxReadFrames);
    Check(result.frames_left_out >= 0);
    Check(result.frames_left_out == 0 || doc.FrameCount == MaxReadFrames);
    Check(doc.HasByteOrderMark == mark);
    Check(doc.FileTextForm == TextFormOf(bytes));
    Check(result.classes_left_out.empty() || run.kind == kKindSami);
    for (int kind = kKindSubRip; kind <= kKindSami; ++kind) {
      Check(WriteSubtitleData(doc, kind, run.fps, out));
      Check(out.size() >= 2 || doc.FrameCount == 0);
      Check(TextFormOf(out) == doc.FileTextForm || doc.FileTextForm == TextForm::kBytes);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckReadAndWrite(bytes, SIZE_MAX);
  CheckUtf16(bytes);
  CheckCodePage(bytes);
  // The same content as the text of a UTF-16 file, in the formats without a frame rate.
  CheckReadAndWrite(lumetra::Utf8ToUtf16(bytes, lumetra::TextForm::kUtf16Le), 3);
  return 0;
}
