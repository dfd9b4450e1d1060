// Generated documents written by a writer read back, and writing what was read gives the
// same bytes, within each format's limits.
#include <climits>
#include <cstdint>

#include "formats/file_io.h"
#include "formats/format_test_support.h"
#include "formats/markup.h"
#include "foundation/code_pages.h"

namespace lumetra {
namespace {

using namespace testing;

// A small generator of its own, so that every platform makes the same documents.
struct Generator {
  std::uint32_t state = 7;
  int Below(int n) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int>((state >> 8) % static_cast<std::uint32_t>(n));
  }
};

// Texts of one to three lines that every format keeps: no blank text, no trailing tab, no
// braces, no "[br]" or "<br>".
std::string MakeText(Generator& gen) {
  static const char* const kWords[] = {"Hello",     "world", "Gy\xF5r",  "\xC3\xA9t\xC3\xA9",
                                       "a<i>b</i>", "0",     " spaced ", "!?",
                                       "-- dash",   "[tag]", "42"};
  std::string text;
  for (int line = 0, lines = 1 + gen.Below(3); line < lines; ++line) {
    if (line > 0) text += '|';
    for (int w = 0, words = 1 + gen.Below(4); w < words; ++w) {
      if (w > 0) text += ' ';
      text += kWords[gen.Below(11)];
    }
  }
  return text;
}

struct FormatCase {
  const char* ext;
  int kind;
  int unit;    // the step of the times the format keeps, in milliseconds
  int spread;  // gaps and lengths of up to this many steps
};
void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.ext; }

class RoundTrip : public ::testing::TestWithParam<FormatCase> {};

TEST_P(RoundTrip, WrittenFramesReadBackAndWriteTheSameBytes) {
  const auto [ext, kind, unit, spread] = GetParam();
  struct Form {
    bool bom;
    TextForm text_form;
    const char* name;
  };
  const Form forms[] = {{false, TextForm::kBytes, "bytes"},
                        {true, TextForm::kBytes, "a byte-order mark"},
                        {false, TextForm::kUtf16Le, "UTF-16 LE"},
                        {false, TextForm::kUtf16Be, "UTF-16 BE"}};
  for (int count : {0, 150}) {
    for (const auto& [bom, text_form, name] : forms) {
      SCOPED_TRACE(std::to_string(count) + " frames, " + name);
      // WebVTT is UTF-8 and nothing else.
      const bool webvtt = kind == kKindWebVtt;
      if (webvtt && text_form != TextForm::kBytes) continue;
      const bool utf16 = text_form != TextForm::kBytes;
      Generator gen;
      Frames frames;
      for (int i = 0, t = 0; i < count; ++i) {
        const int start = t + unit * gen.Below(spread);
        t = start + unit * (1 + gen.Below(spread));
        // UTF-16 files hold characters: the texts as Windows-1250 gives them.
        const std::string text = MakeText(gen);
        frames.push_back(
            {start, t, utf16 || webvtt ? DecodeToUtf8(text, CodePage::kWindows1250) : text});
      }
      Document doc;
      Fill(doc, frames);
      if (webvtt) doc.Encoding = CodePage::kUtf8;
      doc.MarkupKind = kind;  // texts of the format's own
      doc.HasByteOrderMark = bom;
      doc.FileTextForm = text_form;
      doc.InfoTitle = "Title ]x";
      doc.InfoAuthor = " Author ";
      doc.InfoFilepath = "C:\\a\\b.avi";
      doc.InfoComment = "[br] stays";
      doc.InfoFontLine = "[FONT]Tahoma,[SIZE]20";
      const std::string bytes = Write(doc, kind);
      // Empty SubRip and SUB files have no line to recognise them by; SSA is recognised as
      // ASS first, and told from it by the reader.
      const bool has_lines = count > 0 || (kind != kKindSubRip && kind != kKindSub);
      EXPECT_EQ(DetectSubtitleKind(bytes), !has_lines         ? kKindUnknown
                                           : kind == kKindSsa ? kKindAss
                                                              : kind);

      EXPECT_EQ(TextFormOf(bytes), text_form);

      const auto loaded = Read(bytes, kind);
      EXPECT_EQ(loaded.doc->FileKind, kind);
      EXPECT_EQ(loaded.doc->HasByteOrderMark, bom);
      EXPECT_EQ(loaded.doc->FileTextForm, text_form);
      EXPECT_EQ(loaded.All(), frames);
      // Only SRT2 keeps the information header; other reads leave a new document's.
      EXPECT_EQ(InfoFields(*loaded.doc),
                kind == kKindSrt2 ? InfoFields(doc) : InfoFields(Document()));
      EXPECT_EQ(Write(*loaded.doc, kind), bytes);
    }
  }
}

// Times over tens of hours to the millisecond in SubRip, SAMI and WebVTT, hundredths in
// SRT2, ASS and SSA, and at 25 fps whole frames below frame 803 (which reads as 32119 ms)
// in SUB.
INSTANTIATE_TEST_SUITE_P(AllFormats, RoundTrip,
                         ::testing::Values(FormatCase{"txt", kKindSubRip, 1, 1000000},
                                           FormatCase{"smi", kKindSami, 1, 1000000},
                                           FormatCase{"srt", kKindSrt2, 10, 100000},
                                           FormatCase{"sub", kKindSub, 40, 2},
                                           FormatCase{"vtt", kKindWebVtt, 1, 1000000},
                                           FormatCase{"ass", kKindAss, 10, 100000},
                                           FormatCase{"ssa", kKindSsa, 10, 100000}),
                         [](const auto& info) { return std::string(info.param.ext); });

// A saved time used to drift on every save: -5440 ms was written "00:00:-5,440" and read
// back as -4560, and SRT2 wrote -38200 as "00:00:-38.20", which reads as 38200.
TEST(RoundTrip, NegativeAndVeryLongTimesComeBackAsTheyWereWritten) {
  const TimeValue times[] = {-5440,    -38200,    -1,        -999,          -1000,
                             -3723045, INT32_MIN, INT32_MAX, 100 * 3600000, 99 * 3600000 + 3599999,
                             0};
  for (const int kind : {kKindSubRip, kKindSrt2}) {
    Frames frames;
    for (const TimeValue t : times) frames.push_back({t, ~t, "x"});  // ~t: -t - 1
    Document doc;
    Fill(doc, frames);
    const std::string bytes = Write(doc, kind);
    const auto loaded = Read(bytes, kind);
    // SRT2 keeps hundredths, cut toward zero as for positive times.
    auto back = [kind](TimeValue t) { return kind == kKindSrt2 ? t - t % 10 : t; };
    for (Frame& f : frames) f = {back(f.start), back(f.end), f.text};
    // (The first of them, negative, ends the SRT2 header as any time line does.)
    EXPECT_EQ(loaded.All(), frames) << kind;
    // Written again, the same bytes: nothing moves on the next save.
    EXPECT_EQ(Write(*loaded.doc, kind), bytes);
  }
}

TEST(RoundTrip, NegativeFramesOfARealSubFileStayPutThroughSuccessiveSubRipSaves) {
  const std::string path =
      std::string(LUMETRA_CORPUS_DIR) + "/sub/gaupol_negative-frames_Y-i-tags.sub";
  std::string data;
  if (ReadWholeFile(path, data) != FileError::kNone) GTEST_SKIP() << "no corpus";
  const auto sub = Read(data, kKindSub, 25);
  ASSERT_LT(sub.doc->FrameStart[1], 0);
  std::string saved = Write(*sub.doc, kKindSubRip);
  // The texts in SubRip's markup: "{Y:i}" becomes "<i>".
  Frames expected = sub.All();
  for (Frame& f : expected) {
    f.text = ConvertMarkup(f.text, Markup::kSub, Markup::kHtml, sub.doc->Encoding);
  }
  for (int save = 0; save < 3; ++save) {
    const auto again = Read(saved, kKindSubRip);
    EXPECT_EQ(again.All(), expected) << "save " << save;
    saved = Write(*again.doc, kKindSubRip);
  }
}

}  // namespace
}  // namespace lumetra
