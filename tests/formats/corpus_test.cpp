// The real subtitle files of the shared corpus: every one is recognised and read without
// harm, and a representative handful reads as the rules say.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/file_io.h"
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Frame;
using testing::Read;
namespace fs = std::filesystem;

const fs::path kCorpus = LUMETRA_CORPUS_DIR;

// The bytes of a corpus file; skips the test when the corpus is not there.
#define LOAD_CORPUS_FILE(bytes, name)                                                   \
  std::string bytes;                                                                    \
  if (!fs::exists(kCorpus / (name))) GTEST_SKIP() << "no corpus at " << kCorpus;        \
  ASSERT_EQ(ReadWholeFile((kCorpus / (name)).string(), bytes), FileError::kNone) << (name)

TEST(Corpus, EveryFileIsDetectedAndReadInEveryFormat) {
  if (!fs::is_directory(kCorpus)) GTEST_SKIP() << "no corpus at " << kCorpus;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kCorpus)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    std::string bytes;
    ASSERT_EQ(ReadWholeFile(entry.path().string(), bytes), FileError::kNone);
    ++files;
    const int kind = DetectSubtitleKind(bytes);
    EXPECT_GE(kind, kKindUnknown);
    EXPECT_LE(kind, kKindSami);
    for (int as = kKindSubRip; as <= kKindSami; ++as) {
      const auto loaded = Read(bytes, as, 25);
      EXPECT_LE(loaded.doc->FrameCount, MaxReadFrames) << entry.path();
      EXPECT_EQ(loaded.result.frames_left_out, 0) << entry.path();
      std::string out;
      EXPECT_TRUE(WriteSubtitleData(*loaded.doc, SaveExtOfKind(as), 25, out));
    }
  }
  EXPECT_GE(files, 40);
}

TEST(Corpus, HungarianCp1250SubRip) {
  LOAD_CORPUS_FILE(bytes, "srt/alexpoint_hu_cp1250_Wiedzmin.srt");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSubRip);
  const auto loaded = Read(bytes, kKindSubRip);
  EXPECT_EQ(loaded.doc->FrameCount, 233);
  EXPECT_EQ(loaded.At(1), (Frame{5818, 9194, "1. r\xE9sz|Gyermekkor"}));
  EXPECT_EQ(loaded.At(233), (Frame{3060391, 3065391, "Ford\xEDt\xE1s \xE9s feliratok: Audrey"}));
  EXPECT_FALSE(loaded.doc->HasByteOrderMark);
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kWindows1250);
}

TEST(Corpus, LargeCrLfSubRip) {
  LOAD_CORPUS_FILE(bytes, "srt/alexpoint_en_crlf_2506-entries_Titans.srt");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSubRip);
  const auto loaded = Read(bytes, kKindSubRip);
  EXPECT_EQ(loaded.doc->FrameCount, 2506);
  EXPECT_EQ(loaded.At(1), (Frame{57182, 58350, "In Virginia,"}));
  EXPECT_EQ(loaded.At(2506), (Frame{6478103, 6481440, "!! Ain't no mountain|high enough !!"}));
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kWindows1250);  // plain ASCII
}

TEST(Corpus, BareCrSubRipWithByteOrderMark) {
  LOAD_CORPUS_FILE(bytes, "srt/astisub_cr-only-line-ends_bom.srt");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSubRip);
  const auto loaded = Read(bytes, kKindSubRip);
  EXPECT_EQ(loaded.Frames(),
            (std::vector<Frame>{
                {0, 3766, "Did one of the last stories strike you as|more interesting than the other?"},
                {3767, 10732,
                 "That's true. You don\xE2\x80\x99t often find 632|pieces of gum stuck on a sidewalk"},
                {10733, 14066, "at a busy bus stop or anywhere|else for that matter."}}));
  EXPECT_TRUE(loaded.doc->HasByteOrderMark);
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kUtf8);
}

// Numbered from 0, so recognised as SRT2 and read as SRT2: three lines per entry after the
// first line, and short time lines take their missing words from earlier lines.
TEST(Corpus, Utf8SubRipNumberedFromZeroReadsAsSrt2) {
  LOAD_CORPUS_FILE(bytes, "srt/pysrt_fr_utf8_1332-entries.srt");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSrt2);
  const auto loaded = Read(bytes, kKindSrt2);
  EXPECT_EQ(loaded.doc->FrameCount, 2012);
  EXPECT_EQ(loaded.At(1), (Frame{0, 0, "00:00:01,000 --> 00:00:04,000"}));
  EXPECT_EQ(loaded.At(2), (Frame{0, 0, "1"}));
  EXPECT_EQ(loaded.At(3), (Frame{0, 0, "QUI ONT EXIST\xC3\x89."}));
  // "2" as a time line: hours 2, the other words left by "CE FILM RELATE DES ...".
  EXPECT_EQ(loaded.At(4), (Frame{7200000, 0, "00:00:30,610 --> 00:00:34,102"}));
  EXPECT_FALSE(loaded.doc->HasByteOrderMark);
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kUtf8);
}

TEST(Corpus, Srt2InASubFile) {
  LOAD_CORPUS_FILE(bytes, "sub/alexpoint_en_crlf_actually-subviewer2_Battlestar.sub");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSrt2);
  const auto loaded = Read(bytes, kKindSrt2);
  EXPECT_EQ(loaded.doc->FrameCount, 336);
  EXPECT_EQ(loaded.At(1), (Frame{20190, 22590, "Previously on Battlestar Galactica..."}));
  EXPECT_EQ(loaded.At(2), (Frame{22730, 28080,
                                 "- I feel like I'm abandoning my post.|- Time to pack it in, "
                                 "Saul. You know it."}));
  EXPECT_EQ(loaded.At(336), (Frame{2533160, 2535230, "I missed you too."}));
  EXPECT_EQ(loaded.doc->InfoPrg, "");
  EXPECT_EQ(loaded.doc->InfoDelay, "0");
  EXPECT_EQ(loaded.doc->InfoCdTrack, "0");
  EXPECT_EQ(loaded.doc->InfoFontLine, "[COLF]&HFFFFFF,[STYLE]bd,[SIZE]24,[FONT]Tahoma");
}

TEST(Corpus, SubWithAFrameRateLine) {
  LOAD_CORPUS_FILE(bytes, "sub/alexpoint_en_cp1252_crlf_fps-header-29.97_Pirates.sub");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSub);
  const auto loaded = Read(bytes, kKindSub, 29.97);
  EXPECT_EQ(loaded.doc->FrameCount, 421);
  // The rate line is a frame like any other.
  EXPECT_EQ(loaded.At(1), (Frame{33, 33, "29.970"}));
  EXPECT_EQ(loaded.At(2),
            (Frame{0, 6006, "PIRATES OF THE CARIBBEAN|English subtitlez by tHe.b0dY"}));
  EXPECT_EQ(loaded.doc->FormatLabel, "(SUB 29.97 fps)");
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kWindows1250);
}

TEST(Corpus, SubBehindAnHttpHeaderIsNotRecognised) {
  LOAD_CORPUS_FILE(bytes, "sub/alexpoint_fi_utf8_http-header_fps-header-23.976.sub");
  EXPECT_EQ(DetectSubtitleKind(bytes), kKindUnknown);
  // Read anyway, the header lines are no frames and the rate line is the first frame.
  const auto loaded = Read(bytes, kKindSub, 23.976);
  EXPECT_EQ(loaded.doc->FrameCount, 290);
  EXPECT_EQ(loaded.At(1), (Frame{41, 41, "23.976"}));
  EXPECT_EQ(loaded.At(2), (Frame{2502, 7549, "Se sammuu, eik\xC3\xA4 koskaan palaa."}));
}

TEST(Corpus, SubWithByteOrderMark) {
  LOAD_CORPUS_FILE(bytes, "sub/gnome-subtitles_utf8-bom_Y-ubi-tags.sub");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSub);
  const auto loaded = Read(bytes, kKindSub, 25);
  EXPECT_EQ(loaded.doc->FrameCount, 934);
  EXPECT_EQ(loaded.At(1).start, 55000);
  EXPECT_EQ(loaded.At(1).end, 62600);
  EXPECT_TRUE(loaded.doc->HasByteOrderMark);
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kUtf8);
}

// No SYNC line of these files has a plain P tag (they carry classes), so no frames.
TEST(Corpus, SamiFilesWithClassedParagraphs) {
  LOAD_CORPUS_FILE(bytes, "smi/pycaption_en_NOVA_2186-syncs.smi");
  ASSERT_EQ(DetectSubtitleKind(bytes), kKindSami);
  const auto loaded = Read(bytes, kKindSami);
  EXPECT_EQ(loaded.doc->FrameCount, 0);
  EXPECT_EQ(loaded.doc->FrameEnd[0], 0);
  EXPECT_EQ(loaded.doc->Encoding, CodePage::kWindows1250);

  LOAD_CORPUS_FILE(korean, "smi/subsrt_ko_utf8_nbsp-end-markers.smi");
  ASSERT_EQ(DetectSubtitleKind(korean), kKindSami);
  const auto ko = Read(korean, kKindSami);
  EXPECT_EQ(ko.doc->FrameCount, 0);
  EXPECT_EQ(ko.doc->Encoding, CodePage::kUtf8);
}

TEST(Corpus, Utf16AndMisnamedFiles) {
  LOAD_CORPUS_FILE(utf16, "srt/pysrt_utf16le-bom.srt");
  EXPECT_EQ(DetectSubtitleKind(utf16), kKindUnknown);
  LOAD_CORPUS_FILE(subrip, "sub/alexpoint_en_crlf_actually-subrip_FightClub.sub");
  EXPECT_EQ(DetectSubtitleKind(subrip), kKindSubRip);
  EXPECT_EQ(Read(subrip, kKindSubRip).doc->FrameCount, 2000);
}

}  // namespace
}  // namespace lumetra
