// The reading rules of the four formats that real files depend on, one table row each.
#include <span>
#include <vector>

#include "formats/format_parts.h"
#include "formats/format_test_support.h"
#include "formats/line_io.h"

namespace lumetra {
namespace {

using namespace testing;

TEST(LineReader, LinesEndAtCrLfOrBoth) {
  const std::pair<std::string_view, std::vector<std::string_view>> cases[] = {
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF CR is two line ends
      {"a\r\r\n\n", {"a", "", ""}},
      {"", {}},
      {"a\r", {"a"}},  // a line end as the data's last byte
      {"\r\n\r\n\n\r", {"", "", "", ""}},
      // Lines longer than the sixteen bytes looked at in one step.
      {"0123456789abcdefghij\r\n0123456789abcdef\n0123456789abcde\r\r\n",
       {"0123456789abcdefghij", "0123456789abcdef", "0123456789abcde", ""}},
  };
  for (const auto& [data, expected] : cases) {
    LineReader in(data);
    std::vector<std::string_view> lines;
    while (!in.AtEnd()) lines.push_back(in.ReadLine());
    EXPECT_EQ(lines, expected);
  }
}

// Whether a line holds a "|" is noted in the pass that finds its end: only bytes before the
// end count, on either side of each sixteen-byte step.
TEST(LineReader, NotesAMarkOnlyInTheLineItself) {
  for (std::size_t size = 0; size <= 34; ++size) {
    for (std::size_t bar = 0; bar <= size + 1; ++bar) {
      for (const std::string_view end : {"\r\n", "\n", "\r", ""}) {
        std::string data(size, 'x');
        data += end;
        data += "|y";  // a bar in the next line
        if (bar < size) data[bar] = '|';
        LineReader in(data);
        bool holds_bar = false;
        const std::string_view line = in.ReadLine('|', holds_bar);
        const bool expected = bar < size || end.empty();  // without an end, "|y" is the line
        EXPECT_EQ(holds_bar, expected) << size << " " << bar << " " << end.size();
        EXPECT_EQ(line.size(), end.empty() ? size + 2 : size);
        EXPECT_EQ(in.ReadLine(), end.empty() ? "" : "|y");
      }
    }
  }
}

TEST(LineReader, ReadsALineOfAKnownSizeWhereALineEndOrTheDataEndFollows) {
  for (const std::string_view end : {"\r\n", "\n", "\r", "", "x"}) {
    const std::string data = "1234" + std::string(end) + "z";
    LineReader in(data);
    EXPECT_EQ(in.ReadLineOfSize(3), false);
    const bool line_end_follows = end != "" && end != "x";
    EXPECT_EQ(in.ReadLineOfSize(4), line_end_follows) << end;
    EXPECT_EQ(in.Ahead(), line_end_follows ? "z" : data);
  }
  LineReader at_end("12\r\n34");
  EXPECT_EQ(at_end.ReadLineOfSize(2), true);
  EXPECT_EQ(at_end.ReadLineOfSize(3), false);  // beyond the data
  EXPECT_EQ(at_end.ReadLineOfSize(2), true);   // ends at the data's end
  EXPECT_EQ(at_end.AtEnd(), true);
}

// Entries laid out as the writers write them are read a shorter way, which must give what
// the general way gives: an entry numbered " 1" goes the general way.
TEST(ReadSubRip, EntriesAsWrittenReadAsAnyEntry) {
  const std::string_view texts[] = {
      "A", "A\nB", "A\nB\nC\nD", "A\nB\nC\nD\nE",  // the most lines read at once, one more
      "0123456789abcde|\nx", "x\n0123456789abcdef|", "|", "a|b",  // bars, at 16 bytes too
      "<i></i>", "x\n<i></i>", "x<i></i>", "  <i></i>", "- a", "-5 a", "-", "5 a", "x\n5",
      " a", "\ta", "",
      // Time lines, negative ones too, that begin the next entry within a text.
      "A\n00:00:03,000 --> 00:00:04,000\nB", "A\n-00:00:03,000 --> 00:00:04,000\nB",
  };
  const std::string_view time_lines[] = {
      "00:00:01,000 --> 00:00:02,500",   // as written
      "99:59:59,999 --> 00:00:00,000",   // the largest fields
      "00:00:01,000 --> 00:00:02,5000",  // one byte longer
      "00:00:01,000 --> 00:00:02,50",    // one byte shorter
      "00:00:01,000 --> 00:00:02,500 X1:5",
  };
  for (const std::string_view eol : {"\r\n", "\n", "\r"}) {
    for (const std::string_view time_line : time_lines) {
      for (const std::string_view text : texts) {
        for (const bool final_end : {false, true}) {
          std::string entry = std::string(time_line) + "\n" + std::string(text);
          std::string data = "1\n" + entry + "\n\n2\n" + entry + (final_end ? "\n" : "");
          std::string general = " 1\n" + entry + "\n\n 2\n" + entry + (final_end ? "\n" : "");
          for (std::string* s : {&data, &general}) {
            std::string with_eol;
            for (const char c : *s) c == '\n' ? with_eol.append(eol) : with_eol.append(1, c);
            *s = with_eol;
          }
          EXPECT_EQ(Read(data, kKindSubRip).All(), Read(general, kKindSubRip).All()) << data;
        }
      }
    }
  }
  EXPECT_EQ(Read("1\r\n99:59:59,999 --> 00:00:00,000\r\nA\r\nB|C\r\n", kKindSubRip).All(),
            (Frames{{359999999, 0, "A|B\x1F" "C"}}));
}

// Time lines of the writers' layouts are read in one step; each byte next to those the
// layout takes (a digit's neighbours '/' and ':', another separator) sends a line the
// general way, and a line taken gives the general way's times and words.
TEST(TimeLineWords, LaidOutLinesGiveTheGeneralTimesAndNoOtherLineIsTaken) {
  for (const bool srt2 : {false, true}) {
    const std::string line =
        srt2 ? "12:34:56.78,99:59:09.90" : "12:34:56,789 --> 99:59:09,090";
    for (std::size_t at = 0; at <= line.size(); ++at) {
      for (const char c : {'/', ':', '0', '9', '.', ',', ' ', '-', '>', '\x80'}) {
        std::string changed = line;
        if (at < line.size()) changed[at] = c;
        if (at == line.size()) changed += c;
        TimeLineWords fast;
        TimeLineWords general;
        TimeValue start = -1;
        TimeValue end = -1;
        const bool took = srt2 ? fast.SplitSrt2Times(changed, start, end)
                               : fast.SplitSubRipTimes(changed, start, end);
        const bool digit = c >= '0' && c <= '9';
        EXPECT_EQ(took, at < line.size() && (changed == line || (digit && line[at] >= '0' &&
                                                                  line[at] <= '9')))
            << changed;
        if (!took) continue;
        general.Split(changed);
        EXPECT_EQ(start, TimeFromWords(general, 1)) << changed;
        EXPECT_EQ(end, TimeFromWords(general, srt2 ? 5 : 6)) << changed;
        for (int w = 1; w <= 8; ++w) EXPECT_EQ(fast[w], general[w]) << changed << " " << w;
      }
    }
  }
}

// Time fields go through a fast path that must agree with the text kit's conversion.
TEST(NumberOf, AgreesWithTextToInt) {
  for (const char* text : {"", "0", "007", "123456789", "1234567890", "2147483648", "-2147483648",
                           " 12", "12 ", "+5", "$1F", "x10", "0x10", "1a", "a1", "-", "  "}) {
    EXPECT_EQ(NumberOf(text), TextToInt(text)) << '"' << text << '"';
  }
}

struct ReadCase {
  std::string_view data;
  Frames expected;
  double fps = 25;
};

const ReadCase kSubRip[] = {
    {"1\n00:01:02,500 --> 00:01:04,000\nHello\nWorld\n\n2\n01:00:00,045 --> 01:00:01,000\nBye\n",
     {{62500, 64000, "Hello|World"}, {3600045, 3601000, "Bye"}}},
    // Milliseconds after "." too, and filled on the right.
    {"1\n00:00:01,5 --> 00:00:02,25\nA\n\n2\n00:00:03.050 --> 00:00:04,1234\nB\n",
     {{1500, 2250, "A"}, {3050, 4123, "B"}}},
    // Words that are no numbers count as 0; a second blank before the arrow shifts the end's
    // words to "-->" "00" "00" "02".
    {"1\n00:00:01,000  --> 00:00:02,000\nA\n\n2\nxx:00:03,000 --> 00:00:04,000\nB\n",
     {{1000, 20, "A"}, {3000, 4000, "B"}}},
    // Words 8 and 9 of a short time line are "02" and "250" left by the line before.
    {"1\n00:00:01,000 --> 00:00:02,250\nA\n\n2\n00:00:05 --> 00:00:06\nB\n",
     {{1000, 2250, "A"}, {5000, 6 * 60000 + 2250, "B"}}},
    {"1\n00:00:01,000 --> 00:00:02,000\n  Hi \nthere\n", {{1000, 2000, "  Hi |there"}}},
    // The characters next to the digits are separators or not numbers at all.
    {"1\n00:00:0/,000 --> 00:00:04,000\nA\n\n2\n00:00:0:,000 --> 00:00:04,000\nB\n\n"
     "3\n00:00:0\xB9,000 --> 00:00:04,000\nC\n",
     {{0, 40, "A"}, {0, 40, "B"}, {0, 4000, "C"}}},
    // The first text line is text even as a number, and so is "0"; any other number after
    // text is the next entry's number line when a time line follows it, even one whose
    // arrow a blank broke.
    {"1\n00:00:01,000 --> 00:00:02,000\n42\n0\n2\n00:00:03,000 --> 00:00:04,000\nB\n",
     {{1000, 2000, "42|0"}, {3000, 4000, "B"}}},
    {"1\n00:00:01,000 --> 00:00:02,000\nRoom\n101\n\n2\n00:00:03,000 --> 00:00:04,000\nB\n"
     "7\n00:00:05,000 - > 00:00:06,000\nC\n",
     {{1000, 2000, "Room|101"}, {3000, 4000, "B"}, {5000, 60, "C"}}},
    // Entries numbered from 0, and entries without numbers.
    {"0\n00:00:01,000 --> 00:00:02,000\nA\n\n1\n00:00:03,000 --> 00:00:04,000\nB\n",
     {{1000, 2000, "A"}, {3000, 4000, "B"}}},
    {"00:00:01,000 --> 00:00:02,000\nA\nA2\n\n\n00:00:03,000 --> 00:00:04,000\nB\n\n"
     "2\n00:00:05,000 --> 00:00:06,000\nC\n",
     {{1000, 2000, "A|A2"}, {3000, 4000, "B"}, {5000, 6000, "C"}}},
    // Blank lines marked to stay in the text, the last one too.
    {"1\n00:00:01,000 --> 00:00:02,000\n<i></i>\nA\n  <i></i>\nB\n<i></i>\nx<i></i>\n",
     {{1000, 2000, "|A|  |B||x<i></i>"}}},
    {"\n\n1\n00:00:01,000 --> 00:00:02,000\n\n\n\n2\n\n00:00:03,000 --> 00:00:04,000\nB\n\n\n\n",
     {{1000, 2000, ""}, {3000, 4000, "B"}}},
    // A time line always begins a new frame; the line before it where a number stands
    // ("40th", or any number, also "0" or the first text line) is its number, not text.
    {"39\n00:06:33,680 --> 00:06:35,040\n......\n40th\n00:06:35,440 --> 00:06:37,560\nNot "
     "tired\n41st\n00:06:37,760 --> 00:06:39,920\nTired\n0\n00:06:40,000 --> 00:06:41,000 X1:5\n",
     {{393680, 395040, "......"}, {395440, 397560, "Not tired"}, {397760, 399920, "Tired"},
      {400000, 401000, ""}}},
    {"1\n00:00:01,000 --> 00:00:02,000\n2\n00:00:03,000 --> 00:00:04,000\nB\n"
     "00:00:05,000 --> 00:00:06,000\nC\n00:00:07,000-->00:00:08,000\n 00:00:09,000 --> 0:0:1,0\n"
     "1984\n",
     {{1000, 2000, ""},
      {3000, 4000, "B"},
      {5000, 6000, "C|00:00:07,000-->00:00:08,000| 00:00:09,000 --> 0:0:1,0|1984"}}},
    // Text without a time line of its own is dropped; no frame takes its place or times.
    {"1\n00:00:01,000 --> 00:00:02,000\nFirst\n\n2\nSecond\nSecond, line 2\n\n"
     "3\n00:00:03,000 --> 00:00:04,000\nThird\n\n4\nstray\n5\n00:00:05,000 --> 00:00:06,000\n"
     "Fifth\n\n6\n\nSixth\n",
     {{1000, 2000, "First"}, {3000, 4000, "Third"}, {5000, 6000, "Fifth"}}},
    // An entry cut before its time line is no frame; a time line as the last line is one.
    {"1\n00:00:01,000 --> 00:00:02,000\nA\n\n2\n\n\n", {{1000, 2000, "A"}}},
    {"1\r\n00:00:01,000 --> 00:00:02,000", {{1000, 2000, ""}}},
    {"\n \n\n", {}},
    // A "|" in a line stays apart from the line breaks, in a text of one line or more, and
    // a one-line text keeps a marked blank line after it.
    {"1\n00:00:01,000 --> 00:00:02,000\na|b\n\n2\n00:00:03,000 --> 00:00:04,000\nC\nd|e\n\n"
     "3\n00:00:05,000 --> 00:00:06,000\nF\n<i></i>\n\n4\n00:00:07,000 --> 00:00:08,000\nG\n",
     {{1000, 2000, "a\x1F" "b"}, {3000, 4000, "C|d\x1F" "e"}, {5000, 6000, "F|"}, {7000, 8000, "G"}}},
};

const ReadCase kSub[] = {
    {"{100}{803}Hello|World\r\n{0}{-50}\r\n", {{4000, 32119, "Hello|World"}, {0, -2000, ""}}},
    {"{489}{1}x", {{16299, 33, "x"}}, 30},
    // A first frame "{1}{1}RATE" or "{0}{0}RATE" states the rate and is no frame; as a later
    // frame, or with a rate the dialog refuses, it is a frame.
    {"{1}{1}23.976\n{25}{50}x\n{1}{1}25\n", {{1042, 2085, "x"}, {41, 41, "25"}}, 23.976},
    {"\n{0}{0}25\n", {}},
    {"{1}{1}60\n{0}{0}1,5\n{2}{2}25", {{40, 40, "60"}, {0, 0, "1,5"}, {80, 80, "25"}}},
    {"{100}{200}x", {{0, 0, "x"}}, 0},
    // The text is the rest of the line, formatting codes included (other programs start
    // lines with them).
    {"{10}{20}\n{10}{20}{y:i}Hi|{c:$0000FF}x\n{10}{20}Hi{y:i}there}",
     {{400, 800, ""}, {400, 800, "{y:i}Hi|{c:$0000FF}x"}, {400, 800, "Hi{y:i}there}"}}},
    // Only lines that begin with two brace groups are frames.
    {"{25}{50}First\n\nContent-Type: text/plain\n{75}\n{75}{100\n{75}x{100}y\n {75}{100}z\n"
     "}75{{100}w\n{100}{125}Second\n",
     {{1000, 2000, "First"}, {4000, 5000, "Second"}}},
};

const ReadCase kSrt2[] = {
    {"[INFORMATION]\n[TITLE]x\n00:01:02.50,00:01:04.00\nHello[br]World\n\n"
     "00:01:05.5,01:00:00.05\n[BR] is no break\n",
     {{62500, 64000, "Hello|World"}, {65500, 3600050, "[BR] is no break"}}},
    // Positional: the empty line is the text, the last time line has none.
    {"00:00:01.00,00:00:02.00\n\n\n00:00:03.00,00:00:04.00\n", {{1000, 2000, ""}}},
    {"00:00:01.00,00:00:02.00\r\n\r\n", {{1000, 2000, ""}}},
    {"[INFORMATION]\n[TITLE]x\n[SUBTITLE]", {}},
    // A first frame ten hours or more into the film ends the header as well (a line that
    // begins with two digits and ":"), so it is read, not skipped as header.
    {"[INFORMATION]\n[SUBTITLE]\n12:00:00.00,12:00:01.50\nLate\n", {{43200000, 43201500, "Late"}}},
    {"[TITLE]t\n10:00:00.00,10:00:01.00\nx\n", {{36000000, 36001000, "x"}}},
    {"[TITLE]t\n1:00:00.00,1:00:01.00\nx\n", {}},
};

const ReadCase kSami[] = {
    {"<SAMI>\n<BODY>\n<SYNC Start=0><P Class=SUBTTL><br>\n<SYNC Start=1000><P>Hello\n"
     "<SYNC Start=2500><P><br>\n<sync start=3000><p>A<br>B<BR/>C<Br />D\t\t\n"
     "<SYNC Start=4000><P><BR>\t\n</BODY>\n</SAMI>\n",
     {{1000, 2500, "Hello"}, {3000, 4000, "A|B|C|D"}}},
    // The text is all after the plain P tag.
    {"<SYNC Start=10><P>a<i>b</i>\t<br>\n<SYNC Start=20><P><br><br>\n<SYNC Start=30><P>\n",
     {{10, 0, "a<i>b</i>\t|"}, {20, 0, "||"}, {30, 0, ""}}},
    // Lines without a time or a plain P tag are skipped; a time before 0 is kept.
    {"<SAMI><BODY>\n<SYNC Start=100><P>One\n<SYNC Start=-1><P>negative\n<SYNC><P>no time\n"
     "<SYNC Start=200><P Class=X>classed\n<P Class=KR>&nbsp;\n<SYNC Start=300><P\nplain text\n"
     "<SYNC Start=400>\n<SYNC Start=abc><P>not a number is 0\n",
     {{100, 0, "One"}, {-1, 0, "negative"}, {0, 0, "not a number is 0"}}},
    {"<SYNC Start=10><P>a\n<SYNC Start=20><P>b\n<SYNC Start=30><P><br>\n<SYNC Start=40><P><br>\n",
     {{10, 0, "a"}, {20, 40, "b"}}},
    {"<P>x\n<SYNC Start=10><P>a\r\n<SYNC Start=20><P><br>", {{10, 20, "a"}}},
    {"<SAMI>\n<BODY>\n", {}},
};

TEST(Readers, ReadFramesByTheirRules) {
  const std::pair<int, std::span<const ReadCase>> formats[] = {
      {kKindSubRip, kSubRip}, {kKindSub, kSub}, {kKindSrt2, kSrt2}, {kKindSami, kSami}};
  for (const auto& [kind, cases] : formats) {
    for (const ReadCase& c : cases) {
      EXPECT_EQ(Read(c.data, kind, c.fps).All(), c.expected) << c.data;
    }
  }
}

TEST(Readers, Srt2HeaderKeysAndSamiSlotZero) {
  const auto loaded = Read(
      "[INFORMATION]\n[[[title] x ]\n[Author]Me\n[SOURCE]DVD\n[PRG]Prg\n[FILEPATH]C:\\f\n[DELAY]0\n"
      "[CD TRACK]1\n[COMMENT]none\n[nothing\n[Size]12,[FONT]Arial\n00:00:01.00,00:00:02.00\nA\n",
      kKindSrt2);
  EXPECT_EQ(InfoFields(*loaded.doc),
            (std::vector<std::string>{" x ]", "Me", "DVD", "Prg", "C:\\f", "0", "1", "none",
                                      "[Size]12,[FONT]Arial"}));
  // An end line before any start line ends slot 0.
  EXPECT_EQ(Read("<SYNC Start=5><P><br>\n<SYNC Start=10><P>a\n", kKindSami).doc->FrameEnd[0], 5);
}

class CountingObserver : public DocumentObserver {
 public:
  int about_to_reset = 0;
  int reset = 0;
  int other = 0;
  void DocumentAboutToReset() override { ++about_to_reset; }
  void DocumentReset() override { ++reset; }
  void FramesChanged(int, int) override { ++other; }
  void FramesInserted(int, int) override { ++other; }
  void FramesRemoved(int, int) override { ++other; }
};

TEST(ReadSubtitleData, ReplacesTheDocumentInOneReset) {
  Document doc;
  Fill(doc, {{1, 2, "a"}, {3, 4, "b"}});
  doc.InfoTitle = "old";
  doc.Modified = kUnsaved;
  CountingObserver observer;
  doc.AddObserver(&observer);
  ReadSubtitleData("\xEF\xBB\xBF{1}{2}\xC3\xA9t\xC3\xA9", kKindSub, 23.976, doc);
  doc.RemoveObserver(&observer);
  EXPECT_EQ(observer.about_to_reset, 1);
  EXPECT_EQ(observer.reset, 1);
  EXPECT_EQ(observer.other, 0);
  EXPECT_EQ(doc.FrameCount, 1);
  EXPECT_EQ(doc.FrameText[2], "");
  EXPECT_EQ(doc.InfoTitle, "");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_TRUE(doc.HasByteOrderMark);
  EXPECT_EQ(doc.Encoding, CodePage::kUtf8);
  EXPECT_EQ(doc.SubFps, 23.976);
  EXPECT_EQ(doc.FormatLabel, "(SUB 23.976 fps)");

  // The next read forgets the mark and the code page.
  ReadSubtitleData("1\n00:00:01,000 --> 00:00:02,000\nGy\xF5r\n", kKindSubRip, 25, doc);
  EXPECT_FALSE(doc.HasByteOrderMark);
  EXPECT_NE(doc.Encoding, CodePage::kUtf8);

  // An unknown kind changes nothing.
  ReadSubtitleData("{1}{2}x", kKindUnknown, 25, doc);
  EXPECT_EQ(doc.FrameText[1], "Gy\xF5r");
}

// A read that writes the bytes back never needs their page: it is not guessed, except
// where the tolerant SAMI reader turns entities into characters of it.
TEST(ReadSubtitleData, GuessesThePageOnlyWhereTheReadNeedsIt) {
  // Russian in Windows-1251: "Privet, kak dela? Eto tekst na russkom yazyke."
  const std::string russian =
      "\xCF\xF0\xE8\xE2\xE5\xF2, \xEA\xE0\xEA \xE4\xE5\xEB\xE0? \xDD\xF2\xEE "
      "\xF2\xE5\xEA\xF1\xF2 \xED\xE0 \xF0\xF3\xF1\xF1\xEA\xEE\xEC \xFF\xE7\xFB\xEA\xE5.";
  const std::string subrip = "1\n00:00:01,000 --> 00:00:02,000\n" + russian + "\n";
  static Document guessed;
  static Document unguessed;
  ReadSubtitleData(subrip, kKindSubRip, 25, guessed);
  ReadSubtitleData(subrip, kKindSubRip, 25, unguessed, std::nullopt, CodePageGuess::kWhenNeeded);
  EXPECT_EQ(guessed.Encoding, CodePage::kWindows1251);
  EXPECT_EQ(unguessed.Encoding, CodePage::kWindows1250);
  EXPECT_EQ(unguessed.FrameText[1], guessed.FrameText[1]);
  // A page known without the bytes is taken as it is.
  ReadSubtitleData(subrip, kKindSubRip, 25, unguessed, CodePage::kWindows1252,
                   CodePageGuess::kWhenNeeded);
  EXPECT_EQ(unguessed.Encoding, CodePage::kWindows1252);

  // "&#1103;" is the letter ya, 0xFF in Windows-1251 and no letter of Windows-1250.
  const std::string sami = "<SYNC Start=1><P Class=A>" + russian + " &#1103;\n";
  ReadSubtitleData(sami, kKindSami, 25, unguessed, std::nullopt, CodePageGuess::kWhenNeeded);
  EXPECT_EQ(unguessed.Encoding, CodePage::kWindows1251);
  EXPECT_EQ(unguessed.FrameText[1], russian + " \xFF");

  // Writes that read the page: into WebVTT (UTF-8), and markup to or from ASS.
  EXPECT_FALSE(WriteReadsCodePage(kKindSubRip, kKindSami));
  EXPECT_FALSE(WriteReadsCodePage(kKindSami, kKindSub));
  EXPECT_FALSE(WriteReadsCodePage(kKindWebVtt, kKindSubRip));
  EXPECT_TRUE(WriteReadsCodePage(kKindSubRip, kKindWebVtt));
  EXPECT_TRUE(WriteReadsCodePage(kKindSubRip, kKindAss));
  EXPECT_TRUE(WriteReadsCodePage(kKindSsa, kKindSrt2));
}

}  // namespace
}  // namespace lumetra
