#include <gtest/gtest.h>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Crlf;
using testing::Frame;
using testing::Read;
using Frames = std::vector<Frame>;

constexpr char kHeader[] =
    "<SAMI>\n<HEAD>\n<STYLE TYPE=\"Text/css\"><!--\n"
    "P {margin-left: 10pt; margin-right: 10pt; font-size: 14pt;\n"
    "text-align: center; font-family: tahoma, arial, sans-serif;\n"
    "font-weight: bold; color: white; background-color: black;}\n"
    ".SUBTTL {Name: 'Subtitles'; SAMIType: CC;}\n-->\n</STYLE>\n</HEAD>\n<BODY>\n"
    "<SYNC Start=0><P Class=SUBTTL><br>\n";

TEST(SamiReader, StartAndEndLines) {
  const auto loaded = Read(std::string(kHeader) +
                               "<SYNC Start=1000><P>Hello\n<SYNC Start=2500><P><br>\n"
                               "<sync start=3000><p>A<br>B<BR/>C<Br />D\t\t\n"
                               "<SYNC Start=4000><P><BR>\t\n</BODY>\n</SAMI>\n",
                           kKindSami);
  EXPECT_EQ(loaded.Frames(), (Frames{{1000, 2500, "Hello"}, {3000, 4000, "A|B|C|D"}}));
  EXPECT_EQ(loaded.doc->SaveExt, "smi");
  EXPECT_EQ(loaded.doc->FormatLabel, "(SMI-html)");
}

TEST(SamiReader, TheTextIsEverythingAfterThePlainPTag) {
  const auto loaded = Read("<SYNC Start=10><P>a<i>b</i>\t<br>\n"
                           "<SYNC Start=20><P><br><br>\n"
                           "<SYNC Start=30><P>\n",
                           kKindSami);
  EXPECT_EQ(loaded.Frames(), (Frames{{10, 0, "a<i>b</i>\t|"}, {20, 0, "||"}, {30, 0, ""}}));
}

TEST(SamiReader, SkipsLinesWithoutTimeOrPlainPTag) {
  const auto loaded = Read(R"(<SAMI><BODY>
<SYNC Start=100><P>One
<SYNC Start=-1><P>negative
<SYNC><P>no time
<SYNC Start=200><P Class=X>attributes
<P Class=KR>&nbsp;
<SYNC Start=300><P
plain text
<SYNC Start=400>
<SYNC Start=abc><P>not a number is 0
)",
                           kKindSami);
  // Only "One" and the zero-time line are frames; no line borrows another line's words.
  EXPECT_EQ(loaded.Frames(), (Frames{{100, 0, "One"}, {0, 0, "not a number is 0"}}));
}

TEST(SamiReader, EndLines) {
  // Before any start: slot 0; a start after a start leaves the first end at 0.
  const auto loaded = Read("<SYNC Start=5><P><br>\n<SYNC Start=10><P>a\n<SYNC Start=20><P>b\n"
                           "<SYNC Start=30><P><br>\n<SYNC Start=40><P><br>\n",
                           kKindSami);
  EXPECT_EQ(loaded.Frames(), (Frames{{10, 0, "a"}, {20, 40, "b"}}));
  EXPECT_EQ(loaded.doc->FrameEnd[0], 5);
}

TEST(SamiReader, TheLastLineCountsAndNothingBeforeTheFirstSync) {
  EXPECT_EQ(Read("<SYNC Start=10><P>a\r\n<SYNC Start=20><P><br>", kKindSami).Frames(),
            (Frames{{10, 20, "a"}}));
  EXPECT_EQ(Read("<P>x\n<SYNC Start=10><P>a", kKindSami).Frames(), (Frames{{10, 0, "a"}}));
  EXPECT_EQ(Read("<SAMI>\n<BODY>\n", kKindSami).Frames(), Frames{});
  EXPECT_EQ(Read("", kKindSami).Frames(), Frames{});
}

TEST(SamiWriter, WritesTheHeaderAndTwoLinesPerFrame) {
  Document doc;
  testing::Fill(doc, {{1000, 2500, "Hello"}, {3000, 4000, "A|B"}});
  EXPECT_EQ(testing::Write(doc, "smi"),
            Crlf(std::string(kHeader) +
                 "<SYNC Start=1000><P>Hello\n<SYNC Start=2500><P><br>\n"
                 "<SYNC Start=3000><P>A<br>B\n<SYNC Start=4000><P><br>\n</BODY>\n</SAMI>\n"));
  testing::Fill(doc, {});
  EXPECT_EQ(testing::Write(doc, "smi"), Crlf(std::string(kHeader) + "</BODY>\n</SAMI>\n"));
}

}  // namespace
}  // namespace lumetra
