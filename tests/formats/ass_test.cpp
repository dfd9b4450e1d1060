// ASS and SSA read as their authors meant them, and written back without losing what they
// hold.
#include "editing/frame_commands.h"
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

// A file in the writer's own form: sections, styles, a Format line in its own field order,
// comments between dialogues, override blocks, a "|", fonts after the events.
const std::string kOwnForm = Crlf(
    "[Script Info]\n"
    "; made by hand\n"
    "ScriptType: v4.00+\n"
    "\n"
    "[V4+ Styles]\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, Bold\n"
    "Style: Default,Arial,20,&H00FFFFFF,0\n"
    "Style: Top,Arial,18,&H0000FFFF,-1\n"
    "\n"
    "[Events]\n"
    "Format: Layer, Style, Start, End, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,Top,0:00:01.00,0:00:02.50,Bob,0,0,10,,{\\an8}Hello, {\\i1}world{\\i0}\\Nsecond\n"
    "Comment: 0,Default,0:00:02.00,0:00:03.00,,0,0,0,,an old line\n"
    "Dialogue: 1,Default,1:02:03.05,10:00:00.00,,0,0,0,Banner;5,Left | Right\n"
    "\n"
    "[Fonts]\n"
    "fontname: a.ttf\n"
    "M3+4\n");

TEST(Ass, ReadsDialoguesInTheFileFieldOrderKeepingOverrideBlocks) {
  const auto loaded = Read(kOwnForm, kKindAss);
  EXPECT_EQ(loaded.All(), (Frames{{1000, 2500, "{\\an8}Hello, {\\i1}world{\\i0}|second"},
                                  {3723050, 36000000, "Left \x1F Right"}}));
  const Document& doc = *loaded.doc;
  EXPECT_EQ(doc.FileKind, kKindAss);
  EXPECT_EQ(doc.FormatLabel, "(ASS)");
  EXPECT_EQ(doc.FrameExtra[1], (FrameExtras{"", "", "0,Top,Bob,0,0,10,"}));
  EXPECT_EQ(doc.FrameExtra[2].lead,
            "Comment: 0,Default,0:00:02.00,0:00:03.00,,0,0,0,,an old line\n");
  EXPECT_EQ(doc.FrameExtra[2].style, "1,Default,,0,0,0,Banner;5");
  ASSERT_NE(doc.FileHeader, nullptr);
  EXPECT_EQ(doc.FileHeader->tail, "\n[Fonts]\nfontname: a.ttf\nM3+4\n");
}

TEST(Ass, AFileInTheWritersFormComesBackByteForByte) {
  EXPECT_EQ(DetectSubtitleKind(kOwnForm), kKindAss);
  EXPECT_EQ(Write(*Read(kOwnForm, kKindAss).doc, kKindAss), kOwnForm);
  // "\n" is a line break too; it comes back as "\N".
  const auto soft =
      Read("[Script Info]\n[Events]\nDialogue: 0,0:00:00.00,0:00:01.00,,,0,0,0,,a\\nb", kKindAss);
  EXPECT_EQ(soft.At(1).text, "a|b");
  EXPECT_EQ(Write(*soft.doc, kKindAss),
            Crlf("[Script Info]\n[Events]\nDialogue: 0,0:00:00.00,0:00:01.00,,,0,0,0,,a\\Nb\n"));
}

TEST(Ass, SsaIsToldByItsScriptTypeOrStyles) {
  const std::string ssa = Crlf(
      "[Script Info]\nScriptType: v4.00\n\n[Events]\n"
      "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
      "Dialogue: Marked=0,0:00:01.00,0:00:02.00,Default,,0000,0000,0000,,Hi\n");
  const auto loaded = Read(ssa, kKindAss);
  EXPECT_EQ(loaded.doc->FileKind, kKindSsa);
  EXPECT_EQ(loaded.doc->SaveExt, "ssa");
  EXPECT_EQ(Write(*loaded.doc, kKindSsa), ssa);
  EXPECT_EQ(Read("[Script Info]\n[V4 Styles]\n", kKindAss).doc->FileKind, kKindSsa);
  EXPECT_EQ(Read("[Script Info]\n", kKindSsa).doc->FileKind, kKindSsa);
  EXPECT_EQ(DetectSubtitleKind("\n[script info]\n"), kKindAss);
}

TEST(Ass, TimesAreRoundedToHundredthsAndNeverNegative) {
  Document doc;
  Fill(doc, {{1234, 1235, "a|b"}, {-20, 35999995, ""}});
  EXPECT_EQ(Write(doc, kKindAss).substr(Write(doc, kKindAss).find("Dialogue")),
            Crlf("Dialogue: 0,0:00:01.23,0:00:01.24,Default,,0,0,0,,a\\Nb\n"
                 "Dialogue: 0,0:00:00.00,10:00:00.00,Default,,0,0,0,,\n"));
  EXPECT_EQ(Read("[Script Info]\n[Events]\nDialogue: 0,0:00:01.5,0:00:02.125,x\n", kKindAss).At(1),
            (Frame{1500, 2125, ""}));
}

TEST(Ass, AFrameInsertedTakesItsNeighboursStyleAndOthersComeFresh) {
  const auto loaded = Read(kOwnForm, kKindAss);
  Document& doc = *loaded.doc;
  InsertFrame(doc, Selection{{}, 2, 1});
  doc.SetText(2, "new");
  const std::string written = Write(doc, kKindAss);
  EXPECT_NE(written.find("Dialogue: 0,Top,0:00:02.50,0:00:02.51,Bob,0,0,10,,new\r\n"
                         "Comment:"),
            std::string::npos);
  // As SSA (no header of its own) the same frames get a new header and new fields.
  const std::string ssa = Write(doc, kKindSsa);
  EXPECT_EQ(ssa.substr(0, 34), "[Script Info]\r\nScriptType: v4.00\r\n");
  EXPECT_NE(ssa.find("\r\nDialogue: Marked=0,0:00:02.50,0:00:02.51,Default,,0,0,0,,new\r\n"),
            std::string::npos);
  EXPECT_EQ(ssa.find("Comment:"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
