// Arbitrary bytes through kind detection, every reader (SUB at ordinary and odd rates, and
// the tolerant SAMI reader where the line rules find nothing) and every writer on what was
// read; what a writer writes reads back as far as each format promises; the same bytes as
// the text of UTF-16 files; the code-page tables; and the bytes as a file through the
// session's open and save. Besides the sanitizers' findings it checks what must hold for
// any input. The documents (10001 slots each) are made once; each input gives back the
// frame texts it made, so that what it allocates it frees and libFuzzer does not stop to
// look for a leak after every input.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "formats/file_io.h"
#include "formats/format_parts.h"
#include "formats/markup.h"
#include "formats/subtitle_io.h"
#include "foundation/code_pages.h"
#include "foundation/utf16.h"
#include "session/scripted_prompts.h"
#include "session/session.h"

namespace {

using namespace lumetra;

// Ends the run, naming the broken condition, when it does not hold.
#define CHECK(condition)                                                                     \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "fuzz_readers.cpp:%d: %s does not hold\n", __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

// A document kept from one input to the next, whose frame texts are given back at the end
// of each input.
class ReusedDocument {
 public:
  explicit ReusedDocument(Document& doc) : doc_(doc) {}
  // After every read: the slots it filled.
  void Read() { used_ = std::max(used_, doc_.FrameCount); }
  // At the end of the input.
  ~ReusedDocument() {
    doc_.ResetDocument();  // the frames' extras too
    doc_.FileHeader.reset();
    for (int i = 1; i <= used_; ++i) std::string().swap(doc_.FrameText[i]);
  }

 private:
  Document& doc_;
  int used_ = 0;
};

bool Contains(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

bool ContainsAnyCase(std::string_view text, std::string_view lower) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return Contains(folded, lower);
}

// Whether a line of the text is a time line, which begins a new frame wherever it stands.
bool HoldsTimeLine(std::string_view text) {
  for (std::size_t start = 0;;) {
    const std::size_t bar = text.find('|', start);
    if (IsSubRipTimeLine(text.substr(start, bar - start))) return true;
    if (bar == std::string_view::npos) return false;
    start = bar + 1;
  }
}

// Whether a line after the first is a number other than 0, which a time line after it
// would make the number line of the next entry.
bool HoldsNumberLine(std::string_view text) {
  for (std::size_t bar = text.find('|'); bar != std::string_view::npos;
       bar = text.find('|', bar + 1)) {
    const std::string_view line = text.substr(bar + 1, text.find('|', bar + 1) - bar - 1);
    if (!line.empty() && line.find_first_not_of("0123456789 ") == std::string_view::npos &&
        line.find_first_of("123456789") != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

// ASS times go up to here in the promise below.
constexpr TimeValue kHundredHours = 100 * 3600 * 1000;

// Whether an ASS text reads back as written: no "\\N" or "\\n" outside override blocks (they
// are line breaks) and no line break inside one.
bool AssKeeps(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      const std::size_t close = text.find('}', i + 1);
      if (close != std::string_view::npos) {
        if (text.substr(i, close - i).find('|') != std::string_view::npos) return false;
        i = close;
        continue;
      }
    }
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'N' || text[i + 1] == 'n')) {
      return false;
    }
  }
  return true;
}

// What each format promises to bring back from its own file: whether a frame is within the
// promise, and the time it comes back with. The texts are those the format writes: in its
// markup, and for WebVTT in UTF-8.
struct Promise {
  const char* ext;
  int kind;
  bool (*keeps)(std::string_view text, TimeValue start, TimeValue end);
  TimeValue (*time_back)(TimeValue t);
};

bool Within(TimeValue start, TimeValue end, TimeValue limit) {
  return start >= 0 && end >= 0 && start < limit && end < limit;
}

constexpr Promise kPromises[] = {
    // SubRip: every millisecond, negative times and times of 100 hours and more too; every
    // text that is not blank and does not end with an empty line; "<i></i>" is how an empty
    // line is written, so a line of it comes back empty; a time line, and a line of a
    // number followed by one, starts the next entry.
    {"txt", kKindSubRip,
     [](std::string_view text, TimeValue, TimeValue) {
       return text.find_first_not_of(' ') != text.npos && !text.ends_with('|') &&
              !Contains(text, "<i></i>") && !HoldsNumberLine(text) && !HoldsTimeLine(text);
     },
     [](TimeValue t) { return t; }},
    // SAMI: every millisecond, negative times too, and texts of one line (no line-break
    // tag, no trailing tab).
    {"smi", kKindSami,
     [](std::string_view text, TimeValue, TimeValue) {
       return !Contains(text, "|") && !ContainsAnyCase(text, "<br") && !text.ends_with('\t');
     },
     [](TimeValue t) { return t; }},
    // SRT2: hundredths (cut toward zero), negative times and times of 100 hours and more
    // too; "[br]" in a text is a line break, and so is a "|" inside a line.
    {"srt", kKindSrt2,
     [](std::string_view text, TimeValue, TimeValue) {
       return !Contains(text, "[br]") && !Contains(text, std::string_view(&kLiteralBar, 1));
     },
     [](TimeValue t) { return t - t % 10; }},
    // SUB at 25 fps: whole frames up to frame 802; a "|" inside a line is a line break.
    {"sub", kKindSub,
     [](std::string_view text, TimeValue start, TimeValue end) {
       return Within(start, end, 803 * 40) && !Contains(text, std::string_view(&kLiteralBar, 1));
     },
     [](TimeValue t) { return SubFrameToMs(SubMsToFrame(t, 25), 25); }},
    // WebVTT: milliseconds from 0 on (below is 0); every text.
    {"vtt", kKindWebVtt, [](std::string_view, TimeValue, TimeValue) { return true; },
     [](TimeValue t) { return t < 0 ? 0 : t; }},
    // ASS: hundredths, rounded, from 0 to 100 hours.
    {"ass", kKindAss,
     [](std::string_view text, TimeValue start, TimeValue end) {
       return Within(start, end, kHundredHours) && AssKeeps(text);
     },
     [](TimeValue t) { return t <= 0 ? 0 : (t + 5) / 10 * 10; }},
};

// The text of frame i as a format writes it.
std::string TextWritten(const Document& doc, int i, int kind) {
  std::string text = ConvertMarkup(doc.FrameText[i], MarkupOfKind(doc.MarkupKind),
                                   MarkupOfKind(kind), doc.Encoding);
  if (kind == kKindWebVtt && doc.Encoding != CodePage::kUtf8) {
    text = DecodeToUtf8(text, doc.Encoding);
  }
  return text;
}

void CheckRoundTrips(const Document& doc) {
  static Document back;
  ReusedDocument reused(back);
  std::string bytes;
  std::vector<std::string> texts(static_cast<std::size_t>(doc.FrameCount) + 1);
  for (const Promise& p : kPromises) {
    bool kept = true;
    for (int i = 1; i <= doc.FrameCount && kept; ++i) {
      texts[static_cast<std::size_t>(i)] = TextWritten(doc, i, p.kind);
      kept = p.keeps(texts[static_cast<std::size_t>(i)], doc.FrameStart[i], doc.FrameEnd[i]);
    }
    if (!kept) continue;
    CHECK(WriteSubtitleData(doc, p.kind, 25, bytes));
    // Read in the page the texts are in: the bytes are the same in any, and no guess is
    // made again.
    const ReadResult result = ReadSubtitleData(bytes, p.kind, 25, back, doc.Encoding);
    reused.Read();
    CHECK(result.frames_left_out == 0);
    if (back.FrameCount != doc.FrameCount) {
      std::fprintf(stderr, "%s: %d frames came back as %d\n", p.ext, doc.FrameCount,
                   back.FrameCount);
    }
    CHECK(back.FrameCount == doc.FrameCount);
    for (int i = 1; i <= doc.FrameCount; ++i) {
      const std::string& text = texts[static_cast<std::size_t>(i)];
      if (back.FrameText[i] != text) {
        std::fprintf(stderr, "%s frame %d: \"%s\" came back as \"%s\"\n", p.ext, i, text.c_str(),
                     back.FrameText[i].c_str());
      }
      CHECK(back.FrameText[i] == text);
      CHECK(back.FrameStart[i] == p.time_back(doc.FrameStart[i]));
      CHECK(back.FrameEnd[i] == p.time_back(doc.FrameEnd[i]));
    }
    if (p.kind == kKindSrt2) {
      CHECK(back.InfoTitle == doc.InfoTitle && back.InfoAuthor == doc.InfoAuthor &&
            back.InfoSource == doc.InfoSource && back.InfoPrg == doc.InfoPrg &&
            back.InfoFilepath == doc.InfoFilepath && back.InfoDelay == doc.InfoDelay &&
            back.InfoCdTrack == doc.InfoCdTrack && back.InfoComment == doc.InfoComment);
    }
  }
}

// WebVTT, ASS and SSA keep what they hold beyond frames: a file read and written once is in
// the writer's form, and comes back from a second read and write byte for byte, its frames
// the same.
void CheckOwnForm(const Document& doc) {
  static Document back;
  ReusedDocument reused(back);
  std::string first;
  std::string second;
  const int kind = doc.FileKind;
  CHECK(WriteSubtitleData(doc, kind, 25, first));
  ReadSubtitleData(first, kind, 25, back, doc.Encoding);
  reused.Read();
  CHECK(back.FileKind == kind);
  CHECK(back.FrameCount == doc.FrameCount);
  for (int i = 1; i <= doc.FrameCount; ++i) {
    CHECK(back.FrameText[i] == doc.FrameText[i]);
  }
  CHECK(WriteSubtitleData(back, kind, 25, second));
  if (second != first) {
    std::fprintf(stderr, "%s written again:\n%s\n---- first ----\n%s\n",
                 SaveExtOfKind(kind).c_str(), second.c_str(), first.c_str());
  }
  CHECK(second == first);
}

// The bytes as a file opened by the session, saved in one of the formats (by the input's
// length), and the saved file opened again. On a memory file system, so that flushing to
// the disk costs nothing.
std::filesystem::path g_save_dir;

void OpenAndSave(std::string_view bytes) {
  const std::filesystem::path& dir = g_save_dir;
  if (dir.empty()) {
    const std::filesystem::path base =
        std::filesystem::exists("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    g_save_dir = base / ("lumetra-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(g_save_dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(g_save_dir, ec);
    });
  }
  static ScriptedPrompts prompts;
  static Session session(prompts);
  ReusedDocument reused(session.document());
  prompts.messages.clear();
  const std::string input = (dir / "input").string();
  CHECK(WriteFileReplacing(input, bytes).ok());

  Document& doc = session.document();
  doc.FileName = input;
  const OpenResult opened = session.OpenSubtitle();
  reused.Read();
  CHECK(opened == OpenResult::kOpened || opened == OpenResult::kUnrecognised);
  // The kind found from the first lines is the kind of the whole file.
  CHECK((opened == OpenResult::kUnrecognised) == (DetectSubtitleKind(bytes) == kKindUnknown));
  if (opened != OpenResult::kOpened) return;
  CHECK(session.frames_left_out() == 0 || doc.FrameCount == MaxReadFrames);
  const int kind = kKindSubRip + static_cast<int>(bytes.size() % 7);
  const std::string output = (dir / ("output." + SaveExtOfKind(kind))).string();
  // Times before 0 in a format that cannot hold them are saved as 0, as the user agrees.
  prompts.confirmations.assign(1, true);
  const bool saved = session.SaveTo(output, kind);
  prompts.confirmations.clear();
  CHECK(saved == (doc.FrameCount > 0));
  if (saved) {
    doc.FileName = output;
    CHECK(session.OpenSubtitle() == OpenResult::kOpened);
    reused.Read();
  }
}

// UTF-16 files: a file decodes and encodes back to the same bytes (an odd last byte
// aside), and any text survives being encoded and decoded in either form.
void CheckUtf16(std::string_view bytes) {
  const TextForm form = TextFormOf(bytes);
  if (form != TextForm::kBytes && bytes.size() % 2 == 0) {
    CHECK(Utf8ToUtf16(Utf16ToUtf8(bytes, form), form) == bytes);
  }
  for (TextForm as : {TextForm::kUtf16Le, TextForm::kUtf16Be}) {
    const std::string file = Utf8ToUtf16(bytes, as);
    CHECK(TextFormOf(file) == as);
    const std::string text = Utf16ToUtf8(file, as);
    CHECK(Utf8ToUtf16(text, as) == file);
  }
}

// One code page, chosen by the first byte: its text is valid UTF-8, and single-byte
// pages that leave no byte above 0x9F undefined give every byte back.
void CheckCodePage(std::string_view bytes) {
  if (bytes.empty()) return;
  const auto& pages = AllCodePages();
  const CodePage page = pages[static_cast<unsigned char>(bytes[0]) % pages.size()];
  const std::string utf8 = DecodeToUtf8(bytes, page);
  CHECK(EncodeFromUtf8(utf8, CodePage::kUtf8) == utf8);
  if (page != CodePage::kUtf8 && page != CodePage::kWindows1253 && page != CodePage::kWindows1257) {
    CHECK(EncodeFromUtf8(utf8, page) == bytes);
  }
}

struct Run {
  int kind;
  double fps;
};
constexpr Run kRuns[] = {{kKindSubRip, 25}, {kKindSrt2, 25},     {kKindSami, 25},
                         {kKindAss, 25},    {kKindWebVtt, 25},   {kKindSub, 25},
                         {kKindSub, 23.976}, {kKindSub, 0.001}, {kKindSub, -10},
                         {kKindSub, 0}};
// The runs of the formats without a frame rate that UTF-16 files come in.
constexpr std::span<const Run> kRunsWithoutRate = std::span(kRuns).first(4);

// Detection and the readers of the given runs; every writer, and the round trips, over what
// the run `written` read (every run when it is negative).
void CheckReadAndWrite(std::string_view bytes, std::span<const Run> runs, int written = -1) {
  static Document doc;
  ReusedDocument reused(doc);
  std::string out;

  const int kind = DetectSubtitleKind(bytes);
  CHECK(kind >= kKindUnknown && kind <= kKindSsa);
  if (const auto rate = SubFileFrameRate(bytes)) CHECK(!rate->empty());
  const bool mark = HasUtf8ByteOrderMark(FileText(bytes).text());

  static unsigned reads = 0;
  int index = -1;
  for (const Run& run : runs) {
    ++index;
    const ReadResult result = ReadSubtitleData(bytes, run.kind, run.fps, doc);
    reused.Read();
    CHECK(doc.FrameCount >= 0 && doc.FrameCount <= MaxReadFrames);
    // A read clears only the slots the reads before it used: every slot after the frames
    // is still empty (looked at now and then, as that costs as much as clearing them all).
    if (++reads % 64 == 0) {
      for (int i = doc.FrameCount + 1; i <= MaxFrames; ++i) {
        CHECK(doc.FrameStart[i] == 0 && doc.FrameEnd[i] == 0 && doc.FrameText[i].empty() &&
              doc.FrameExtra[static_cast<std::size_t>(i)].empty());
      }
    }
    CHECK(result.frames_left_out >= 0);
    CHECK(result.frames_left_out == 0 || doc.FrameCount == MaxReadFrames);
    CHECK(doc.HasByteOrderMark == mark);
    CHECK(doc.FileTextForm == TextFormOf(bytes));
    CHECK(result.classes_left_out.empty() || run.kind == kKindSami);
    if (written >= 0 && index != written) continue;
    for (int kind = kKindSubRip; kind <= kKindSsa; ++kind) {
      CHECK(WriteSubtitleData(doc, kind, run.fps, out));
      CHECK(out.size() >= 2 || doc.FrameCount == 0);
      CHECK(TextFormOf(out) == doc.FileTextForm || doc.FileTextForm == TextForm::kBytes ||
            kind == kKindWebVtt);
    }
    // WebVTT and ASS come back whole from their own files; the other formats' promises
    // are checked on what the other readers read.
    if (run.kind == kKindWebVtt || run.kind == kKindAss) {
      CheckOwnForm(doc);
    } else if (run.fps == 25) {
      CheckRoundTrips(doc);
    }
  }
}

// How much each input goes through, so that long inputs cost about as much for each byte as
// short ones: up to kSmallInput bytes every check; up to kLargeInput every reader, but the
// writers and the round trips over one of the reads only (chosen by the input's last byte),
// and the session's open and save for one input in eight; larger inputs (files past the
// frame limit, long real files) one reader, chosen so, and every writer over it. The text
// forms and code pages, which look at bytes alone, get the short inputs.
constexpr std::size_t kSmallInput = 1024;
constexpr std::size_t kLargeInput = 16 * 1024;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const int choice = size == 0 ? 0 : data[size - 1] % static_cast<int>(std::size(kRuns));
  if (size > kLargeInput) {
    CheckReadAndWrite(bytes, std::span(kRuns).subspan(static_cast<std::size_t>(choice), 1));
    if (choice == 0) OpenAndSave(bytes);
    return 0;
  }
  if (size > kSmallInput) {
    CheckReadAndWrite(bytes, kRuns, choice);
    if (choice == 0) OpenAndSave(bytes);
    return 0;
  }
  CheckReadAndWrite(bytes, kRuns);
  CheckUtf16(bytes);
  CheckCodePage(bytes);
  // The same content as the text of a UTF-16 file, in the formats without a frame rate.
  CheckReadAndWrite(lumetra::Utf8ToUtf16(bytes, lumetra::TextForm::kUtf16Le), kRunsWithoutRate);
  OpenAndSave(bytes);
  return 0;
}
