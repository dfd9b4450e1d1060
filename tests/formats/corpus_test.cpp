// The real subtitle files of the shared corpus, when it is there: every one is recognised
// and read without harm, and a representative handful reads as the rules say.
#include <algorithm>
#include <filesystem>

#include "formats/file_io.h"
#include "formats/format_parts.h"
#include "formats/format_test_support.h"
#include "formats/line_io.h"
#include "foundation/code_page_guess.h"

namespace lumetra {
namespace {

using namespace testing;
namespace fs = std::filesystem;

const fs::path kCorpus = LUMETRA_CORPUS_DIR;

class Corpus : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
  }
  // The files other than notes, each with its bytes.
  static std::vector<std::pair<fs::path, std::string>> Files() {
    std::vector<std::pair<fs::path, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
      if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
      files.emplace_back(entry.path(), "");
      EXPECT_EQ(ReadWholeFile(entry.path().string(), files.back().second), FileError::kNone);
    }
    return files;
  }
};

// Every file is read in every format without harm. Saved in its own format and opened again,
// a recognised file has the same frames and header, and saving once more writes the same bytes.
TEST_F(Corpus, EveryFileIsReadInEveryFormatAndSurvivesASaveInItsOwn) {
  const auto files = Files();
  EXPECT_GE(files.size(), 40u);
  for (const auto& [path, bytes] : files) {
    const int kind = DetectSubtitleKind(bytes);
    EXPECT_TRUE(kind >= kKindUnknown && kind <= kKindSami) << path;
    for (int as = kKindSubRip; as <= kKindSami; ++as) {
      for (double fps : {25.0, 23.976}) {
        const auto loaded = Read(bytes, as, fps);
        EXPECT_EQ(loaded.result.frames_left_out, 0) << path;
        const std::string saved = Write(*loaded.doc, as, fps);
        if (as == kind) {
          const auto reloaded = Read(saved, kind, fps);
          EXPECT_EQ(reloaded.All(), loaded.All()) << path << " at " << fps;
          EXPECT_EQ(InfoFields(*reloaded.doc), InfoFields(*loaded.doc)) << path;
          EXPECT_EQ(Write(*reloaded.doc, kind, fps), saved) << path;
        }
        if (as != kKindSub) break;
      }
    }
  }
}

// Files are named by the end of their names; each is read as the kind detected.
struct Pinned {
  const char* name_end;
  int kind;
  double fps;
  CodePage encoding;
  int count;
  int index;  // of a frame to compare
  TimeValue start;
  TimeValue end;
  const char* text;
};

constexpr CodePage k1250 = CodePage::kWindows1250;

const Pinned kPinned[] = {
    {"_hu_cp1250_Wiedzmin.srt", kKindSubRip, 25, k1250, 233, 1, 5818, 9194,
     "1. r\xE9sz|Gyermekkor"},
    {"_en_crlf_2506-entries_Titans.srt", kKindSubRip, 25, k1250, 2506, 2506, 6478103, 6481440,
     "!! Ain't no mountain|high enough !!"},
    // Numbered from 0, or without numbers.
    {"_fr_utf8_1332-entries.srt", kKindSubRip, 25, CodePage::kUtf8, 1332, 4, 48061, 51588,
     "Il fut un temps,|avant l'existence du c\xC3\xA2"
     "ble,"},
    {"_no-indexes.srt", kKindSubRip, 25, CodePage::kUtf8, 7, 3, 19000, 24000,
     "And I|posted underneath against|this woman's tirades,|against what is essentially|the "
     "human race."},
    // The rate line is no frame.
    {"_fps-header-29.97_Pirates.sub", kKindSub, 29.97, k1250, 420, 1, 0, 6006,
     "PIRATES OF THE CARIBBEAN|English subtitlez by tHe.b0dY"},
    {"_fps-header-12.5_Gangs.sub", kKindSub, 12.5, k1250, 748, 1, 3200, 5440, "Forever."},
    // Entries without blank lines between them, numbered "40th": every time line a frame.
    {"_en_missing-first-index.srt", kKindSubRip, 25, CodePage::kWindows1252, 715, 41, 395440,
     397560, "Not become tired from working here all weekend?"},
    // The second entry has no time line: it is dropped, and the third keeps its own times.
    {"_missing-timecodes.srt", kKindSubRip, 25, k1250, 4, 2, 7204567, 7208901,
     "This is the third subtitle."},
    {"_utf16le-bom.srt", kKindSubRip, 25, CodePage::kUtf8, 7, 1, 6500, 9000,
     "About 2 months ago I found myself on|the comment section of YouTube"},
};

TEST_F(Corpus, ARepresentativeHandfulReadsAsTheRulesSay) {
  const auto files = Files();
  for (const Pinned& pin : kPinned) {
    const auto file = std::find_if(files.begin(), files.end(), [&](const auto& f) {
      return f.first.filename().string().ends_with(pin.name_end);
    });
    ASSERT_NE(file, files.end()) << pin.name_end;
    EXPECT_EQ(DetectSubtitleKind(file->second), pin.kind) << pin.name_end;
    const auto loaded = Read(file->second, pin.kind, pin.fps);
    EXPECT_EQ(loaded.doc->FrameCount, pin.count) << pin.name_end;
    EXPECT_EQ(loaded.At(pin.index), (Frame{pin.start, pin.end, pin.text})) << pin.name_end;
    EXPECT_EQ(loaded.doc->Encoding, pin.encoding) << pin.name_end;
  }
}

// A "|" inside a line ("Left | Right") is no line break: saved as SubRip, the entry keeps its
// lines.
TEST_F(Corpus, ABarInsideALineSurvivesASave) {
  const auto files = Files();
  const auto file = std::find_if(files.begin(), files.end(), [](const auto& f) {
    return f.first.filename() == "alexpoint_zh-en_utf8_index-from-0_1913-entries.srt";
  });
  ASSERT_NE(file, files.end());
  auto lines_of = [](std::string_view bytes) {
    std::vector<std::string> lines;
    LineReader in(bytes);
    while (!in.AtEnd()) lines.emplace_back(in.ReadLine());
    return lines;
  };
  const std::vector<std::string> before = lines_of(file->second);
  ASSERT_GE(before.size(), 3464u);
  ASSERT_NE(before[3463].find('|'), std::string::npos);
  const auto loaded = Read(file->second, kKindSubRip);
  const std::vector<std::string> after = lines_of(Write(*loaded.doc, kKindSubRip));
  const auto at = std::find(after.begin(), after.end(), before[3463]);
  ASSERT_NE(at, after.end());
  EXPECT_EQ(at[-1], before[3462]);  // the time line
  EXPECT_EQ(at[1], before[3464]);   // the entry's second line
}

// A time line in a SubRip file always begins a frame: no frame's text holds one.
TEST_F(Corpus, NoSubRipFramesTextHoldsATimeLine) {
  for (const auto& [path, bytes] : Files()) {
    if (DetectSubtitleKind(bytes) != kKindSubRip) continue;
    const auto loaded = Read(bytes, kKindSubRip);
    for (const Frame& frame : loaded.All()) {
      std::string_view text = frame.text;
      for (std::size_t bar = 0; bar != std::string_view::npos;) {
        const std::size_t next = text.find('|');
        EXPECT_FALSE(IsSubRipTimeLine(text.substr(0, next))) << path << ": " << frame.text;
        bar = next;
        if (next != std::string_view::npos) text.remove_prefix(next + 1);
      }
    }
  }
}

// Files in the Windows pages of other languages open readable without a choice: every
// text shows as it does in the page the file was written in.
TEST_F(Corpus, FilesInSingleBytePagesShowTheirOwnLetters) {
  const std::pair<const char*, CodePage> cases[] = {
      {"srt/alexpoint_ru_cp1251_mixed-crlf-lf_jPod.srt", CodePage::kWindows1251},
      {"srt/gnome-subtitles_en_cp1252_crlf_CC-Mayer.srt", CodePage::kWindows1252},
      {"srt/alexpoint_hu_cp1250_Wiedzmin.srt", CodePage::kWindows1250},
      {"sub/alexpoint_pl_cp1250.sub", CodePage::kWindows1250},
      {"srt/pysrt_fr_cp1252_crlf_1332-entries.srt", CodePage::kWindows1252},
  };
  for (const auto& [name, written_in] : cases) {
    std::string bytes;
    ASSERT_EQ(ReadWholeFile((kCorpus / name).string(), bytes), FileError::kNone) << name;
    const auto loaded = Read(bytes, DetectSubtitleKind(bytes), 25);
    std::string all;
    for (int i = 1; i <= loaded.doc->FrameCount; ++i) all += loaded.doc->FrameText[i] + "|";
    ASSERT_NE(std::count_if(all.begin(), all.end(), [](char c) { return c & 0x80; }), 0);
    EXPECT_EQ(DecodeToUtf8(all, loaded.doc->Encoding), DecodeToUtf8(all, written_in)) << name;
  }
  std::string russian;
  ASSERT_EQ(ReadWholeFile((kCorpus / cases[0].first).string(), russian), FileError::kNone);
  EXPECT_EQ(Read(russian, kKindSubRip, 25).doc->Encoding, CodePage::kWindows1251);
  EXPECT_EQ(GuessSingleByteCodePage("plain ASCII\r\n"), CodePage::kWindows1250);

  // The Polish file written in ISO-8859-2 instead: its letters at other bytes (ą is B1,
  // not B9) make it ISO-8859-2; a Windows quotation mark among them makes it Windows-1250.
  std::string polish;
  ASSERT_EQ(ReadWholeFile((kCorpus / cases[3].first).string(), polish), FileError::kNone);
  const std::string iso =
      EncodeFromUtf8(DecodeToUtf8(polish, CodePage::kWindows1250), CodePage::kIso8859_2);
  EXPECT_EQ(GuessSingleByteCodePage(iso), CodePage::kIso8859_2);
  EXPECT_EQ(GuessSingleByteCodePage(iso + "{1}{2}\x84Tak\r\n"), CodePage::kWindows1250);
}

}  // namespace
}  // namespace lumetra
