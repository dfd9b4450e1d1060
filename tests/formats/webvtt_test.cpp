// WebVTT read as its authors meant it, and written back without losing what it holds.
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

// A file in the writer's own form: header text and blocks, identifiers, settings, tags,
// entities, an empty line of a text, notes between cues and after the last.
const std::string kOwnForm = Crlf(
    "WEBVTT - a film\n"
    "Kind: captions\n"
    "\n"
    "STYLE\n"
    "::cue(.yellow) { color: yellow; }\n"
    "\n"
    "REGION\n"
    "id:top width:40%\n"
    "\n"
    "intro\n"
    "00:00:01.000 --> 00:00:02.500 align:start position:10%\n"
    "<v Bob>Tom & Jerry &lt;3 &amp;amp;</v>\n"
    "<i>Left | Right</i>\xC2\xA0> --&gt;\n"
    "\n"
    "NOTE between\n"
    "the cues\n"
    "\n"
    "01:02:03.045 --> 101:00:00.000\n"
    "<c.yellow>x</c>\n"
    "<i></i>\n"
    "\n"
    "00:00:05.000 --> 00:00:06.000\n"
    "\n"
    "NOTE the end\n");

TEST(WebVtt, ReadsCuesWithTheirIdentifiersSettingsTagsAndEntities) {
  const auto loaded = Read(kOwnForm, kKindWebVtt);
  EXPECT_EQ(
      loaded.All(),
      (Frames{{1000, 2500, "<v Bob>Tom & Jerry <3 &amp;</v>|<i>Left \x1F Right</i>\xC2\xA0> -->"},
              {3723045, 363600000, "<c.yellow>x</c>|"},
              {5000, 6000, ""}}));
  const Document& doc = *loaded.doc;
  EXPECT_EQ(doc.FileKind, kKindWebVtt);
  EXPECT_EQ(doc.FormatLabel, "(WebVTT)");
  EXPECT_EQ(doc.Encoding, CodePage::kUtf8);  // WebVTT is UTF-8, ASCII or not
  EXPECT_EQ(doc.FrameExtra[1], (FrameExtras{"", "intro", " align:start position:10%"}));
  EXPECT_EQ(doc.FrameExtra[2], (FrameExtras{"NOTE between\nthe cues\n\n", "", ""}));
  ASSERT_NE(doc.FileHeader, nullptr);
  EXPECT_EQ(doc.FileHeader->head.substr(0, 24), "WEBVTT - a film\nKind: ca");
  EXPECT_EQ(doc.FileHeader->tail, "\nNOTE the end\n");
}

TEST(WebVtt, AFileInTheWritersFormComesBackByteForByte) {
  EXPECT_EQ(DetectSubtitleKind(kOwnForm), kKindWebVtt);
  EXPECT_EQ(Write(*Read(kOwnForm, kKindWebVtt).doc, kKindWebVtt), kOwnForm);
  const std::string marked = "\xEF\xBB\xBF" + Crlf("WEBVTT\n\n00:00:00.000 --> 00:00:00.001\nx\n");
  EXPECT_EQ(Write(*Read(marked, kKindWebVtt).doc, kKindWebVtt), marked);
}

TEST(WebVtt, OtherFilesReadAsTheyAreMeant) {
  // Short times, LF, no empty line after the signature, a cue right after another one's text,
  // a block that is no cue, times that cannot be read.
  const auto loaded = Read(
      "WEBVTT\n00:01.5 --> 00:02.250\nA\n00:03.000 --> 00:04.000 line:0\nB\n\n"
      "not a cue\n\nid\nxx --> 00:05.000\nC",
      kKindWebVtt);
  EXPECT_EQ(loaded.All(), (Frames{{1500, 2250, "A"}, {3000, 4000, "B"}, {0, 5000, "C"}}));
  EXPECT_EQ(loaded.doc->FrameExtra[2].style, " line:0");
  EXPECT_EQ(loaded.doc->FrameExtra[3].lead, "not a cue\n\n");
  EXPECT_EQ(loaded.doc->FrameExtra[3].identifier, "id");
  EXPECT_EQ(
      Read("WEBVTT\n\n00:01.000 --> 00:02.000\n&amp;&lt;&gt;&nbsp;&lrm;&rlm;&#124;&#x41;&#10;&x;",
           kKindWebVtt)
          .At(1)
          .text,
      "&<>\xC2\xA0\xE2\x80\x8E\xE2\x80\x8F\x1F"
      "A&#10;&x;");
  for (const char* first : {"WEBVTT", "\xEF\xBB\xBFWEBVTT\tx", "  WEBVTT - t"}) {
    EXPECT_EQ(DetectSubtitleKind(std::string(first) + "\n"), kKindWebVtt) << first;
  }
  EXPECT_EQ(DetectSubtitleKind("WEBVTTX\n"), kKindUnknown);
}

TEST(WebVtt, OtherDocumentsAreWrittenInUtf8WithTheirTextEscaped) {
  Document doc;
  Fill(doc,
       {{-5, 1000, "\xC1rv\xEDz <i>a</i> 1<2 & 3>2|-->"}, {3600000 * 5, 3600000 * 5 + 1, "|"}});
  EXPECT_EQ(Write(doc, kKindWebVtt),
            Crlf("WEBVTT\n\n00:00:00.000 --> 00:00:01.000\n\xC3\x81rv\xC3\xADz <i>a</i> 1&lt;2 "
                 "& 3>2\n--&gt;\n\n05:00:00.000 --> 05:00:00.001\n<i></i>\n<i></i>\n"));
  // A line that reads like the empty line's mark keeps its text.
  doc.MarkupKind = kKindWebVtt;
  doc.SetText(2, "<i></i>");
  const std::string vtt = Write(doc, kKindWebVtt);
  EXPECT_NE(vtt.find("\r\n&lt;i></i>\r\n"), std::string::npos);
  EXPECT_EQ(Read(vtt, kKindWebVtt).At(2).text, "<i></i>");
  // A "<" whose tag the conversion took away used to reach the arrow after it and write a
  // "tag" holding "-->": the line became a cue of its own (found by the fuzz target).
  doc.MarkupKind = kKindSami;
  doc.SetText(2, "<I know.</i> 1 --> 2");
  const auto back = Read(Write(doc, kKindWebVtt), kKindWebVtt);
  EXPECT_EQ(back.doc->FrameCount, 2);
  EXPECT_EQ(back.At(2).text, "<I know. 1 --> 2");
}

}  // namespace
}  // namespace lumetra
