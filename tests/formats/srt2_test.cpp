#include <gtest/gtest.h>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Crlf;
using testing::Frame;
using testing::Read;
using Frames = std::vector<Frame>;

constexpr char kHeader[] =
    "[INFORMATION]\n[TITLE]My film\n[AUTHOR]Me\n[SOURCE]DVD\n[PRG]Some editor\n"
    "[FILEPATH]C:\\films\n[DELAY]0\n[CD TRACK]1\n[COMMENT]none\n[END INFORMATION]\n"
    "[SUBTITLE]\n[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial\n";

TEST(Srt2Reader, ReadsTheHeaderAndTheEntries) {
  const auto loaded = Read(std::string(kHeader) +
                               "00:01:02.50,00:01:04.00\nHello[br]World\n\n"
                               "00:01:05.5,01:00:00.05\n[BR] is no break\n",
                           kKindSrt2);
  EXPECT_EQ(loaded.Frames(), (Frames{{62500, 64000, "Hello|World"},
                                     {65500, 3600050, "[BR] is no break"}}));
  const Document& doc = *loaded.doc;
  EXPECT_EQ(doc.InfoTitle, "My film");
  EXPECT_EQ(doc.InfoAuthor, "Me");
  EXPECT_EQ(doc.InfoSource, "DVD");
  EXPECT_EQ(doc.InfoPrg, "Some editor");
  EXPECT_EQ(doc.InfoFilepath, "C:\\films");
  EXPECT_EQ(doc.InfoDelay, "0");
  EXPECT_EQ(doc.InfoCdTrack, "1");
  EXPECT_EQ(doc.InfoComment, "none");
  EXPECT_EQ(doc.InfoFontLine, "[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial");
  EXPECT_EQ(doc.SaveExt, "srt");
  EXPECT_EQ(doc.FormatLabel, "(SRT2 with Info)");
}

TEST(Srt2Reader, HeaderKeysInAnyCaseAndValuesUntrimmed) {
  const auto loaded = Read("[[[title] x ]\n[Size]12\n[nothing\n[CD TRACK]\n"
                           "00:00:01.00,00:00:02.00\nA\n",
                           kKindSrt2);
  EXPECT_EQ(loaded.doc->InfoTitle, " x ]");
  EXPECT_EQ(loaded.doc->InfoFontLine, "[Size]12");
  EXPECT_EQ(loaded.doc->InfoCdTrack, "");
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 2000, "A"}}));
}

TEST(Srt2Reader, EntriesArePositionalAndTheLastNeedsItsTextLine) {
  // An empty text is an empty line; a time line as the last line is no frame.
  EXPECT_EQ(Read("00:00:01.00,00:00:02.00\n\n\n00:00:03.00,00:00:04.00\n", kKindSrt2).Frames(),
            (Frames{{1000, 2000, ""}}));
  EXPECT_EQ(Read("00:00:01.00,00:00:02.00\r\n\r\n", kKindSrt2).Frames(),
            (Frames{{1000, 2000, ""}}));
}

TEST(Srt2Reader, AHeaderWithoutTimeLinesGivesNoFrames) {
  const auto loaded = Read(kHeader, kKindSrt2);
  EXPECT_EQ(loaded.doc->FrameCount, 0);
  EXPECT_EQ(loaded.doc->InfoTitle, "My film");
  EXPECT_EQ(Read("[INFORMATION]", kKindSrt2).doc->FrameCount, 0);
  EXPECT_EQ(Read("", kKindSrt2).doc->FrameCount, 0);
}

TEST(Srt2Writer, WritesTheHeaderAndHundredths) {
  Document doc;
  testing::Fill(doc, {{1000, 2509, "Hello"}, {3000, 4000, "A|B"}});
  doc.InfoTitle = "T";
  const std::string defaults =
      "[INFORMATION]\n[TITLE]T\n[AUTHOR]\n[SOURCE]\n[PRG]Morvaly's Lumetra 1.33\n"
      "[FILEPATH]\n[DELAY]\n[CD TRACK]\n[COMMENT]\n[END INFORMATION]\n[SUBTITLE]\n"
      "[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial\n";
  EXPECT_EQ(testing::Write(doc, "srt"),
            Crlf(defaults + "00:00:01.00,00:00:02.50\nHello\n\n00:00:03.00,00:00:04.00\nA[br]B\n"));

  doc.InfoFontLine = "[FONT]Tahoma";
  testing::Fill(doc, {{-1500, 123 * 3600000, ""}});
  const std::string written = testing::Write(doc, "srt");
  EXPECT_EQ(written.substr(written.find("[SUBTITLE]")),
            Crlf("[SUBTITLE]\n[FONT]Tahoma\n00:00:-1.50,23:00:00.00\n\n"));
}

}  // namespace
}  // namespace lumetra
