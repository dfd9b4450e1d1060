#include "formats/subtitle_io.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "formats/format_parts.h"
#include "formats/line_io.h"
#include "formats/markup.h"
#include "foundation/code_page_guess.h"
#include "foundation/textkit.h"
#include "foundation/utf16.h"

namespace lumetra {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// One row per format: the kind the content detection finds, the extension that saves in
// it, its label, and its reader and writer.
struct FormatEntry {
  int kind;
  std::string_view ext;
  std::string_view label;  // empty: built from the frame rate (SUB)
  void (*read)(ReadContext&);
  void (*write)(const WriteContext&);
};

constexpr std::array<FormatEntry, 7> kFormats = {{
    {kKindSubRip, "txt", "(Normal SRT)", ReadSubRip, WriteSubRip},
    {kKindSub, "sub", "", ReadSub, WriteSub},
    {kKindSrt2, "srt", "(SRT2 with Info)", ReadSrt2, WriteSrt2},
    {kKindSami, "smi", "(SMI-html)", ReadSami, WriteSami},
    {kKindWebVtt, "vtt", "(WebVTT)", ReadWebVtt, WriteWebVtt},
    {kKindAss, "ass", "(ASS)", ReadAss, WriteAss},
    {kKindSsa, "ssa", "(SSA)", ReadAss, WriteAss},
}};

const FormatEntry* FindKind(int kind) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.kind == kind) return &entry;
  }
  return nullptr;
}

const FormatEntry* FindExt(std::string_view ext) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.ext == ext) return &entry;
  }
  return nullptr;
}

std::string_view TrimSpaces(std::string_view s) {
  const std::size_t first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Writes the document through its format's writer, the texts converted where its markup
// is another.
void WriteFormat(const FormatEntry& format, const Document& doc, double sub_fps, LineWriter& lines,
                 const WriteOptions& options) {
  const Markup from = MarkupOfKind(doc.MarkupKind);
  const Markup to = MarkupOfKind(format.kind);
  MarkupConverter converter(from, to, doc.Encoding);
  WriteContext ctx{doc, sub_fps, lines, format.kind};
  ctx.sub_rate_line = options.sub_rate_line;
  if (from != to) ctx.converter = &converter;
  format.write(ctx);
}

// WebVTT is UTF-8 whatever the document was read from.
TextForm FormWritten(const Document& doc, int kind) {
  return kind == kKindWebVtt ? TextForm::kBytes : doc.FileTextForm;
}

}  // namespace

bool WriteReadsCodePage(int read_kind, int write_kind) {
  return write_kind == kKindWebVtt || MarkupOfKind(read_kind) == Markup::kAss ||
         MarkupOfKind(write_kind) == Markup::kAss;
}

bool HasUtf8ByteOrderMark(std::string_view data) { return data.starts_with(kByteOrderMark); }

std::string_view WithoutByteOrderMark(std::string_view data) {
  return HasUtf8ByteOrderMark(data) ? data.substr(kByteOrderMark.size()) : data;
}

bool LooksLikeUtf8Text(std::string_view data) {
  bool non_ascii = false;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  const auto* const end = p + data.size();
  while (p < end) {
    // Runs of ASCII, 32 bytes at a time, then eight.
    if (end - p >= 32) {
      std::uint64_t block[4];
      std::memcpy(block, p, 32);
      if (((block[0] | block[1] | block[2] | block[3]) & 0x8080808080808080ull) == 0) {
        p += 32;
        continue;
      }
    }
    if (end - p >= 8) {
      std::uint64_t block;
      std::memcpy(&block, p, 8);
      if ((block & 0x8080808080808080ull) == 0) {
        p += 8;
        continue;
      }
    }
    const unsigned char c = *p;
    if (c < 0x80) {
      ++p;
      continue;
    }
    non_ascii = true;
    int length;
    unsigned char low = 0x80;  // allowed range of the second byte
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong forms
      if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;   // no overlong forms
      if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
      return false;
    }
    if (end - p < length) return false;
    if (p[1] < low || p[1] > high) return false;
    for (int k = 2; k < length; ++k) {
      if (p[k] < 0x80 || p[k] > 0xBF) return false;
    }
    p += length;
  }
  return non_ascii;
}

int DetectSubtitleKind(std::string_view data) {
  const FileText file(data);
  LineReader in(WithoutByteOrderMark(file.text()));
  std::string_view line;
  while (!in.AtEnd()) {
    line = TrimSpaces(in.ReadLine());
    if (!line.empty()) break;
  }
  return KindOfFirstLine(line);
}

int KindOfFirstLine(std::string_view line) {
  int kind = kKindUnknown;
  if (line.starts_with('1')) kind = kKindSubRip;
  if (line.starts_with('{')) kind = kKindSub;
  if (line.starts_with('[') || line.starts_with('0')) kind = kKindSrt2;
  if (line.starts_with('<')) kind = kKindSami;
  // SubRip numbered from 0, or without numbers (its first line is a time line). SRT2 time
  // lines ("00:00:01.00,00:00:02.00") have no arrow.
  const bool tagged = line.starts_with('{') || line.starts_with('[') || line.starts_with('<');
  if (line == "0" || (!tagged && line.find("-->") != std::string_view::npos)) {
    kind = kKindSubRip;
  }
  if (line.starts_with("WEBVTT") && (line.size() == 6 || line[6] == ' ' || line[6] == '\t')) {
    kind = kKindWebVtt;
  }
  if (EqualsAnyCase(line, "[script info]")) kind = kKindAss;
  return kind;
}

bool HoldsOnlyBlankLines(std::string_view data) {
  const FileText file(data);
  return WithoutByteOrderMark(file.text()).find_first_not_of(" \r\n") == std::string_view::npos;
}

std::string SaveExtOfKind(int kind) {
  const FormatEntry* entry = FindKind(kind);
  return entry ? std::string(entry->ext) : std::string();
}

int KindOfSaveExt(std::string_view ext) {
  const FormatEntry* entry = FindExt(ext);
  return entry ? entry->kind : kKindUnknown;
}

int KindOfFileName(std::string_view name) { return KindOfSaveExt(LowerCaseHU(RightStr(name, 3))); }

std::string SubFormatLabel(double fps) { return "(SUB " + FloatToText(fps) + " fps)"; }

std::string FormatLabelOfKind(int kind, double fps) {
  if (kind == kKindSub) return SubFormatLabel(fps);
  const FormatEntry* entry = FindKind(kind);
  return entry ? std::string(entry->label) : std::string();
}

bool HoldsTimesBeforeZero(int kind) {
  return kind != kKindWebVtt && kind != kKindAss && kind != kKindSsa;
}

std::vector<int> FramesBeforeZero(const Document& doc) {
  std::vector<int> frames;
  for (int i = 1; i <= doc.FrameCount; ++i) {
    if (doc.FrameStart[i] < 0 || doc.FrameEnd[i] < 0) frames.push_back(i);
  }
  return frames;
}

std::optional<std::string> SubFileFrameRate(std::string_view data) {
  const FileText file(data);
  LineReader in(WithoutByteOrderMark(file.text()));
  return SubRateOfFirstFrame(in);
}

ReadResult ReadSubtitleData(std::string_view data, int kind, double sub_fps, Document& doc,
                            std::optional<CodePage> code_page, CodePageGuess guess) {
  const FormatEntry* format = FindKind(kind);
  if (!format) return {};
  const FileText file(data);
  const std::string_view text = file.text();

  doc.BeginBulkChange();
  doc.ResetDocument();
  doc.HasByteOrderMark = HasUtf8ByteOrderMark(text);
  doc.FileTextForm = file.form();
  // WebVTT is UTF-8, unless the user chose another page for the file.
  const bool page_known =
      file.form() != TextForm::kBytes || code_page.has_value() || kind == kKindWebVtt;
  auto page_of_bytes = [text] {
    return LooksLikeUtf8Text(text) ? CodePage::kUtf8 : GuessSingleByteCodePage(text);
  };
  doc.Encoding = file.form() != TextForm::kBytes   ? CodePage::kUtf8
                 : code_page                       ? *code_page
                 : kind == kKindWebVtt             ? CodePage::kUtf8
                 : guess == CodePageGuess::kAlways ? page_of_bytes()
                                                   : CodePage::kWindows1250;
  doc.SubRateLine.clear();
  doc.FileHeader.reset();
  doc.FileKind = kind;
  if (kind == kKindSub) doc.SubFps = sub_fps;

  LineReader in(WithoutByteOrderMark(text));
  FrameSink sink(doc);
  ReadContext ctx{in, sink, doc, sub_fps};
  const TimeValue end_before = doc.FrameEnd[0];
  format->read(ctx);

  ReadResult result;
  if (kind == kKindSami && doc.FrameCount == 0 && HoldsSyncTag(text)) {
    doc.FrameEnd[0] = end_before;  // the line rules may have put an end there
    // Its entities become characters of the page.
    if (!page_known && guess != CodePageGuess::kAlways) doc.Encoding = page_of_bytes();
    TolerantSamiResult sami = ReadSamiTolerant(WithoutByteOrderMark(text), sink, doc.Encoding);
    result.class_read = sami.class_read.value_or("");
    result.classes_left_out = std::move(sami.classes_left_out);
  }

  // The reader may have found the kind more exactly (SSA for ASS).
  doc.SaveExt = SaveExtOfKind(doc.FileKind);
  doc.FormatLabel = FormatLabelOfKind(doc.FileKind, sub_fps);
  doc.MarkupKind = doc.FileKind;
  doc.EndBulkChange();
  doc.NotifyHeaderChanged();

  result.frames_left_out = sink.left_out();
  return result;
}

bool WriteSubtitleData(const Document& doc, int kind, double sub_fps, std::string& out,
                       const WriteOptions& options) {
  const FormatEntry* format = FindKind(kind);
  if (!format) return false;
  out.clear();
  // The texts plus room for the time lines and tags: one allocation.
  const int count = FramesToWrite(doc);
  std::size_t size = 1024;
  for (int i = 1; i <= count; ++i) size += doc.FrameText[i].size() + 80;
  out.reserve(size);
  if (doc.HasByteOrderMark) out.append(kByteOrderMark);
  LineWriter lines(out);
  WriteFormat(*format, doc, sub_fps, lines, options);
  if (FormWritten(doc, kind) != TextForm::kBytes) out = Utf8ToUtf16(out, doc.FileTextForm);
  return true;
}

bool WriteSubtitleData(const Document& doc, int kind, double sub_fps,
                       const std::function<void(std::string_view)>& put,
                       const WriteOptions& options) {
  const FormatEntry* format = FindKind(kind);
  if (!format) return false;
  if (FormWritten(doc, kind) != TextForm::kBytes) {
    // UTF-16 is made of the whole text.
    std::string whole;
    WriteSubtitleData(doc, kind, sub_fps, whole, options);
    put(whole);
    return true;
  }
  // Room for a chunk and a line that ends it; a longer line makes room for itself.
  std::string buffer;
  buffer.reserve(LineWriter::kChunkBytes + 1024);
  if (doc.HasByteOrderMark) buffer.append(kByteOrderMark);
  LineWriter lines(buffer, put);
  WriteFormat(*format, doc, sub_fps, lines, options);
  lines.Finish();
  return true;
}

}  // namespace lumetra
