// SAMI files as other programs write them, where the line rules find no frame: the rules
// one row each, then every SAMI file of the shared corpus pinned.
#include <filesystem>

#include "formats/file_io.h"
#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using namespace testing;

struct SamiCase {
  std::string_view data;
  Frames expected;
};

const SamiCase kCases[] = {
    // SYNC in any case, quoted or not, blanks around "=", split over lines; text on the
    // next lines; a block of nothing or "&nbsp;" ends the frame before it.
    {"<BODY>\n<Sync Start = \"1000\"><P Class=EN>\n  Hello  \n</P></SYNC>\n"
     "<sync start='2000'><p class=EN>&nbsp;</p>\n<SYNC Start\r\n=  3000 ><P Class=EN>\n"
     "Bye\n<SYNC Start=4000><P Class=EN> &nbsp; &nbsp;\n</BODY>\n",
     {{1000, 2000, "Hello"}, {3000, 4000, "Bye"}}},
    // A frame ends where the next one starts; the last stays open; SYNCs without a number
    // are skipped; times keep the file's order.
    {"<SYNC Start=500><P Class=A>one\n<SYNC><P Class=A>no time\n<SYNC Start=x><P Class=A>no time\n"
     "<SYNC Start=200><P Class=A>two\n<SYNC Start=100><P Class=A>three\n",
     {{500, 200, "one"}, {200, 100, "two"}, {100, 0, "three"}}},
    // <br> in any spelling breaks the line, other line ends are spaces, line ends are
    // trimmed; i, b and u stay as written, other tags go.
    {"<SYNC Start=1><P Class=A>\n  <font color=\"#FF0\">Red</font> <B>bold</B><br/>\n"
     "  two\nhalves <BR><span x=\"y\">three</span><i>i</i><u>u</u><ruby>a<rt>b</rt></ruby><br />\n"
     "<SYNC Start=2><P Class=A>&nbsp;",
     {{1, 2, "Red <B>bold</B>|two halves|three<i>i</i><u>u</u>ab"}}},
    // A kept tag whose ">" is missing runs to the next tag; its line ends are spaces too,
    // so no line end reaches a frame's text.
    {"<SYNC Start=1><P Class=A>a<br>\r\n</B\r\n\r\n2\r\nb\n<SYNC Start=2><P Class=A>&nbsp;",
     {{1, 2, "a|</B 2 b"}}},
    // Comments, also without "!", are dropped; a "<" that opens no tag is text.
    {"<SYNC Start=1><P Class=A><!-- <SYNC Start=5>hidden --><-- pseudo -->a < b<br>\n"
     "<!-- never closed\nc\n</BODY><SYNC Start=9><P>after the body",
     {{1, 0, "a < b|c"}}},
    // Entities in Windows-1250 (the bytes are not UTF-8): those it cannot hold stay.
    {"<SYNC Start=1><P Class=A>&amp;&lt;&gt;&quot;&apos;&#233;&#xE9;&#X151;|&#1103;&eacute;"
     "&#10;&#0;&#99999999;&amp\n<SYNC Start=2><P Class=A>a&nbsp;b",
     {{1, 2, "&<>\"'\xE9\xE9\xF5\x1F&#1103;&eacute;&#10;&#0;&#99999999;&amp"},
      {2, 0,
       "a\xA0"
       "b"}}},
    // In UTF-8 (the file's bytes are UTF-8) every character is held.
    {"<SYNC Start=1><P Class=A>\xC3\xA9 &#1103;&nbsp;&#x1F600;",
     {{1, 0, "\xC3\xA9 \xD1\x8F\xC2\xA0\xF0\x9F\x98\x80"}}},
    // Two classes: the first found is read, frames of the other neither start nor end.
    {"<SYNC Start=1><P Class=KRCC>ko\n<SYNC Start=1><P Class=ENCC>en\n"
     "<SYNC Start=2><P Class=encc>&nbsp;\n<SYNC Start=3><P Class=KRCC>&nbsp;\n"
     "<SYNC Start=4><P ID=x>all classes\n",
     {{1, 3, "ko"}, {4, 0, "all classes"}}},
    // A plain P line gives a frame by the line rules: the classed lines stay unread.
    {"<SYNC Start=1><P Class=A>\nclassed\n<SYNC Start=2><P>plain\n", {{2, 0, "plain"}}},
    {"<SAMI><BODY><P Class=A>text</BODY>", {}},  // no SYNC tag
};

TEST(TolerantSami, ReadsWhatOtherProgramsWrite) {
  for (const SamiCase& c : kCases) {
    EXPECT_EQ(Read(c.data, kKindSami).All(), c.expected) << c.data;
  }
}

TEST(TolerantSami, NamesTheClassesLeftOut) {
  const auto loaded = Read(
      "<SYNC Start=1><P Class=KRCC>a\n<SYNC Start=1><P Class=ENCC>b\n"
      "<SYNC Start=1><P Class=JPCC>c\n<SYNC Start=1><P Class=EnCc>d\n",
      kKindSami);
  EXPECT_EQ(loaded.result.class_read, "KRCC");
  EXPECT_EQ(loaded.result.classes_left_out, (std::vector<std::string>{"ENCC", "JPCC"}));
}

TEST(TolerantSami, TakesOverOnlyWhereTheLineRulesFindNoFrame) {
  // An end line before any start line: slot 0 is not left ended by the discarded rules.
  const auto loaded = Read("<SYNC Start=5><P><br>\n<SYNC Start=7><P Class=A>x\n", kKindSami);
  EXPECT_EQ(loaded.All(), (Frames{{7, 0, "x"}}));
  EXPECT_EQ(loaded.doc->FrameEnd[0], 0);
}

// Every SAMI file of the corpus, by the end of its name: frame count, first and last
// frame, and one frame with an entity or a kept tag.
struct PinnedSami {
  const char* name_end;
  int count;
  Frame first;
  Frame last;
  int other_index;  // a frame with an entity or a kept tag; 0: first and last show them
  std::string other_text;
};

constexpr char kRuby[] =
    "CANDY ISLAND 입니다!|||||||||不器用な笑顔と후키요-나 에가오토|서투른 미소와";
constexpr char kLorem[] = "Lorem ipsum dolor sit amet, consectetur";
const std::string kLoremBold = std::string(kLorem) + "|<b>" + kLorem + "|" + kLorem;

// clang-format off
const PinnedSami kPinned[] = {
    {"_broken-tags_unordered-times.smi", 4,
     {2, 3, std::string(kLorem) + "|<b>" + kLorem + " " + kLorem + "|<b>" + kLorem + "</b>|" + kLorem},
     {2306070, 2313871, "<"}, 3, "뭐 때문인지 알아야지요< <"},
    {"_crlf_sync-split-across-lines.smi", 3,
     {6144, 10102, std::string(kLorem) + "|<b>" + kLorem + "</b>|" + kLorem},
     {7007920, 0, kLoremBold},
     2, std::string(kLorem) + "|<b>Lorem ipsum dolor sit amet, consec tetur</b>|" + kLorem},
    {"_ko-en_two-classes_crlf.smi", 3, {6144, 10102, kLoremBold}, {17976, 7007908, kLoremBold},
     2, kLoremBold},
    {"_samiparam_pseudo-comments.smi", 2,
     {137400, 140400, "Senator, we're making|our final approach into Coruscant."},  // &#039;
     {3740500, 3742500, "Very good, Lieutenant."}, 0, ""},
    // ASCII, so Windows-1250, which holds &#201; and &#226;.
    {"_en_NOVA_2186-syncs.smi", 1847, {9209, 12312, "( clock ticking )"},
     {6534661, 0, "NOVA is a production|of WGBH Boston."},
     962, "of one of King Louis XIV's|courtiers, E\xC9milie du Ch\xE2telet."},
    {"_comment_mixed-case-sync.smi", 0, {}, {}, 0, ""},  // nothing but "&nbsp;" blocks
    {"_ruby_nested-font.smi", 1, {0, 1, kRuby}, {0, 1, kRuby}, 0, ""},
    {"_ko_utf8_nbsp-end-markers.smi", 6, {185113, 187035, "500년 전,"},
     {335453, 342460, "<B>빨리! 빨리!</B>"}, 0, ""},
};
// clang-format on

TEST(TolerantSami, CorpusFilesOpenWithTheFramesTheirAuthorsMeant) {
  const std::filesystem::path dir = std::filesystem::path(LUMETRA_CORPUS_DIR) / "smi";
  if (!std::filesystem::is_directory(dir)) GTEST_SKIP() << "no corpus at " << dir;
  int pinned = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string name = entry.path().filename().string();
    for (const PinnedSami& pin : kPinned) {
      if (!name.ends_with(pin.name_end)) continue;
      ++pinned;
      std::string bytes;
      ASSERT_EQ(ReadWholeFile(entry.path().string(), bytes), FileError::kNone);
      ASSERT_EQ(DetectSubtitleKind(bytes), kKindSami) << name;
      const auto loaded = Read(bytes, kKindSami);
      EXPECT_EQ(loaded.doc->FrameCount, pin.count) << name;
      if (pin.count == 0) continue;
      EXPECT_EQ(loaded.At(1), pin.first) << name;
      EXPECT_EQ(loaded.At(pin.count), pin.last) << name;
      if (pin.other_index > 0) {
        EXPECT_EQ(loaded.At(pin.other_index).text, pin.other_text) << name;
      }
    }
  }
  EXPECT_EQ(pinned, 8);
}

}  // namespace
}  // namespace lumetra
