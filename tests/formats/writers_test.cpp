// Every writer's output to the byte: a two-frame example per format, then the edges.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "editing/sub_frame_rate.h"
#include "formats/format_parts.h"
#include "formats/format_test_support.h"
#include "foundation/textkit.h"

namespace lumetra {
namespace {

using namespace testing;

const std::string kSrt2Header =
    "[INFORMATION]\n[TITLE]T\n[AUTHOR]\n[SOURCE]\n[PRG]P\n[FILEPATH]\n[DELAY]\n[CD TRACK]\n"
    "[COMMENT]\n[END INFORMATION]\n[SUBTITLE]\n[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial\n";

const std::string kSamiHeader =
    "<SAMI>\n<HEAD>\n<STYLE TYPE=\"Text/css\"><!--\n"
    "P {margin-left: 10pt; margin-right: 10pt; font-size: 14pt;\n"
    "text-align: center; font-family: tahoma, arial, sans-serif;\n"
    "font-weight: bold; color: white; background-color: black;}\n"
    ".SUBTTL {Name: 'Subtitles'; SAMIType: CC;}\n-->\n</STYLE>\n</HEAD>\n<BODY>\n"
    "<SYNC Start=0><P Class=SUBTTL><br>\n";
const std::string kSamiEnd = "</BODY>\n</SAMI>\n";

const Frames kTwo = {{1000, 2500, "Hello"}, {3000, 4000, "A|B"}};
// A negative time and one of more than a hundred hours.
const Frames kEdges = {{-1500, 123 * 3600000 + 2509, ""}};
const Frames kOne41 = {{1000, 41, ""}};
const Frames kNone;

// Lines of a text that are empty or blank, first, inside and last.
const Frames kBlankLines = {{0, 1000, "|A||B|  "}, {1000, 2000, " "}, {2000, 3000, ""}};

constexpr int kTxt = kKindSubRip;
constexpr int kSrt = kKindSrt2;
constexpr int kSub = kKindSub;
constexpr int kSmi = kKindSami;

struct WriteCase {
  int kind;
  double fps;
  const Frames& frames;
  std::string expected;  // with "\n" for CR LF
  bool bom = false;
};

const WriteCase kCases[] = {
    // Each line of a text on a line of its own.
    {kTxt, 25, kTwo,
     "1\n00:00:01,000 --> 00:00:02,500\nHello\n\n2\n00:00:03,000 --> 00:00:04,000\nA\nB\n"},
    {kTxt, 25, kBlankLines,
     "1\n00:00:00,000 --> 00:00:01,000\n<i></i>\nA\n<i></i>\nB\n  <i></i>\n\n"
     "2\n00:00:01,000 --> 00:00:02,000\n <i></i>\n\n3\n00:00:02,000 --> 00:00:03,000\n\n"},
    {kSrt, 25, kTwo,
     kSrt2Header + "00:00:01.00,00:00:02.50\nHello\n\n00:00:03.00,00:00:04.00\nA[br]B\n"},
    {kSmi, 25, kTwo,
     kSamiHeader +
         "<SYNC Start=1000><P>Hello\n<SYNC Start=2500><P><br>\n"
         "<SYNC Start=3000><P>A<br>B\n<SYNC Start=4000><P><br>\n" +
         kSamiEnd},
    {kSub, 25, kTwo, "{25}{62}Hello\n{75}{100}A|B\n"},
    {kSub, 0, kTwo, "{25}{62}Hello\n{75}{100}A|B\n"},  // rate 0 counts as 25
    {kTxt, 25, kEdges, "1\n-00:00:01,500 --> 123:00:02,509\n\n"},
    {kSrt, 25, kEdges, kSrt2Header + "-00:00:01.50,123:00:02.50\n\n"},
    {kSmi, 25, kEdges,
     kSamiHeader + "<SYNC Start=-1500><P>\n<SYNC Start=442802509><P><br>\n" + kSamiEnd},
    {kSub, 25, kEdges, "{-37}{11070062}\n"},
    // 41 ms is how frame 1 reads at 23.976 fps: it goes back to frame 1.
    {kSub, 23.976, kOne41, "{23}{1}\n"},
    // The empty store.
    {kTxt, 25, kNone, ""},
    {kSub, 25, kNone, ""},
    {kSrt, 25, kNone, kSrt2Header},
    {kSmi, 25, kNone, kSamiHeader + kSamiEnd},
    {kTxt, 25, kNone, "\xEF\xBB\xBF", true},
};

TEST(Writers, WriteExactBytes) {
  for (const WriteCase& c : kCases) {
    Document doc;
    doc.InfoTitle = "T";
    doc.InfoPrg = "P";
    doc.HasByteOrderMark = c.bom;
    Fill(doc, c.frames);
    EXPECT_EQ(Write(doc, c.kind, c.fps), Crlf(c.expected)) << "case " << (&c - kCases);
  }
}

// Numbers are written four or eight digits at a time: every length at its edges, with the
// bytes after the number left for the caller.
TEST(Writers, NumbersAndClockTimesAtTheEdgesOfEachLength) {
  const std::int64_t numbers[] = {0,        9,         10,        99,         100,
                                  999,      1000,      9999,      10000,      99999,
                                  100000,   9999999,   10000000,  99999999,   100000000,
                                  -1,       -9999,     -10000,    -99999999,  -100000000,
                                  INT32_MIN, INT64_MAX, INT64_MIN, 4294967296, 1234567890123};
  for (const std::int64_t n : numbers) {
    char buffer[kIntChars + 2];
    char* const end = PutInt(buffer, n);
    EXPECT_EQ(std::string(buffer, end), std::to_string(n));
  }
  // Every number of five to eight digits that ends in a run of the same digit or holds
  // each digit somewhere (each place of the word written at once).
  for (std::int64_t n = 10000; n < 100000000; n = n * 3 + 7) {
    for (const std::int64_t m : {n, n + 1, n * 10 - 1 < 100000000 ? n * 10 - 1 : n}) {
      char buffer[kIntChars + 2];
      EXPECT_EQ(std::string(buffer, PutInt(buffer, m)), std::to_string(m));
    }
  }
  for (std::int64_t n = 0; n < 100000000; n += 9973) {
    char buffer[kIntChars + 2];
    ASSERT_EQ(std::string(buffer, PutInt(buffer, n)), std::to_string(n));
  }
  // Two at once (SUB's frame numbers), within eight digits and beyond.
  for (const std::int64_t a : numbers) {
    for (const std::int64_t b : numbers) {
      if (a != static_cast<std::int32_t>(a) || b != static_cast<std::int32_t>(b)) continue;
      char buffer[2 * kIntChars + 2];
      char* const end =
          PutIntPair(buffer, static_cast<std::int32_t>(a), "}{", static_cast<std::int32_t>(b));
      EXPECT_EQ(std::string(buffer, end), std::to_string(a) + "}{" + std::to_string(b));
    }
  }
  const std::pair<TimeValue, std::string_view> times[] = {
      {0, "00:00:00,000"},          {59999, "00:00:59,999"},
      {60000, "00:01:00,000"},      {3599999, "00:59:59,999"},
      {3600000, "01:00:00,000"},    {359999999, "99:59:59,999"},
      {360000000, "100:00:00,000"}, {INT32_MAX, "596:31:23,647"},
      {-1, "-00:00:00,001"},        {INT32_MIN, "-596:31:23,648"}};
  for (const auto& [time, text] : times) {
    char buffer[kClockTimeChars];
    EXPECT_EQ(std::string_view(buffer, PutClockTime(buffer, time, ',', kMilliseconds)), text);
  }
  // Hundredths are truncated; a negative time that shows as zero has no minus.
  const std::pair<TimeValue, std::string_view> hundredths[] = {
      {0, "00:00:00.00"},          {9, "00:00:00.00"},          {-9, "00:00:00.00"},
      {-10, "-00:00:00.01"},       {359999999, "99:59:59.99"},  {360000000, "100:00:00.00"},
      {INT32_MAX, "596:31:23.64"}, {INT32_MIN, "-596:31:23.64"}};
  for (const auto& [time, text] : hundredths) {
    char buffer[kClockTimeChars];
    EXPECT_EQ(std::string_view(buffer, PutClockTime(buffer, time, '.', kHundredths)), text);
  }
}

// The frame counting's short way (a forward rate that is a decimal fraction, times of 0 or
// more) and its whole way meet at 0 and hold to the ends of the times.
TEST(Writers, SubFramesOfTimesAtTheirLimits) {
  const SubFrameCounter frames(25);
  EXPECT_EQ(frames.FrameOf(0), 0);
  EXPECT_EQ(frames.FrameOf(39), 0);
  EXPECT_EQ(frames.FrameOf(40), 1);
  EXPECT_EQ(frames.FrameOf(-1), 0);
  EXPECT_EQ(frames.FrameOf(-40), -1);
  EXPECT_EQ(frames.FrameOf(INT32_MAX), 53687091);
  EXPECT_EQ(frames.FrameOf(INT32_MIN), -53687091);
  EXPECT_EQ(SubFrameCounter(-25).FrameOf(40), -1);
  EXPECT_EQ(SubFrameCounter(23.976).FrameOf(INT32_MAX), 51488067);
}

TEST(Writers, SubFileWritesItsFrameRateLineBackWithTheRateUsed) {
  const std::string file = Crlf("{1}{1}12.500\n{40}{80}x\n");
  const auto loaded = Read(file, kKindSub, 12.5);
  EXPECT_EQ(loaded.doc->SubRateLine, "{1}{1}12.500");
  EXPECT_EQ(Write(*loaded.doc, kKindSub, 12.5), file);
  EXPECT_EQ(Write(*loaded.doc, kKindSub, 25), Crlf("{1}{1}25\n{80}{160}x\n"));
  EXPECT_EQ(Write(*Read("{0}{0}30\n", kKindSub, 30).doc, kKindSub, 0), Crlf("{0}{0}25\n"));
  // Other formats have no such line.
  EXPECT_EQ(Write(*loaded.doc, kKindSubRip), Crlf("1\n00:00:03,200 --> 00:00:06,400\nx\n"));
  // A first frame that would read as a rate line gets one before it, so it stays a frame.
  Document doc;
  Fill(doc, {{0, 0, "5"}, {40, 40, "7"}});
  const std::string sub = Write(doc, kKindSub, 25);
  EXPECT_EQ(sub, Crlf("{1}{1}25\n{0}{0}5\n{1}{1}7\n"));
  EXPECT_EQ(Read(sub, kKindSub, 25).All(), (Frames{{0, 0, "5"}, {40, 40, "7"}}));
  // Codes after the number make it no rate line.
  EXPECT_EQ(Read("{0}{0}5{y:i}\n", kKindSub, 25).All(), (Frames{{0, 0, "5{y:i}"}}));
}

// "|" separates a text's lines; a "|" inside a line of a SubRip or SAMI file stays one.
TEST(Writers, ALiteralBarStaysInItsLineWhereTheFormatCanHoldOne) {
  const std::string subrip = Crlf("1\n00:00:01,000 --> 00:00:02,000\nLeft | Right\nB|\n");
  const auto loaded = Read(subrip, kKindSubRip);
  EXPECT_EQ(loaded.At(1).text, "Left \x1F Right|B\x1F");
  EXPECT_EQ(Write(*loaded.doc, kKindSubRip), subrip);
  const std::string sami = Write(*loaded.doc, kKindSami);
  EXPECT_NE(sami.find("<SYNC Start=1000><P>Left | Right<br>B|\r\n"), std::string::npos);
  EXPECT_EQ(Read(sami, kKindSami).At(1).text, loaded.At(1).text);
  // SRT2 and SUB have "|" for their line break: there it breaks the line.
  EXPECT_EQ(Read(Write(*loaded.doc, kKindSrt2), kKindSrt2).At(1).text, "Left | Right|B|");
  EXPECT_EQ(Write(*loaded.doc, kKindSub), Crlf("{25}{50}Left | Right|B|\n"));
}

// A SUB time is written as the frame it falls in as the reader counts frames (the frame
// that starts at or before it, the next one after it), at every rate the SUB dialog offers.
TEST(Writers, SubTimesAreTheFramesTheyFallInAtEveryRateOfTheDialog) {
  std::vector<double> rates = {23.976, 29.97, 50, 0.001, -10};
  for (const SubFrameRateModel::Choice& choice : SubFrameRateModel::Choices()) {
    if (choice.tag != SubFrameRateModel::kCustomTag) rates.push_back(TextToFloat(choice.caption));
  }
  std::vector<TimeValue> times;
  for (TimeValue t = 0; t <= 1000000; t += 100) times.push_back(t);  // 10,001 times
  for (TimeValue t = 1; t < 5000; ++t) times.push_back(t);
  for (TimeValue t = 360000000; t < 2000000000; t += 99991) times.push_back(t);
  for (double fps : rates) {
    const SubFrameCounter frames(fps);
    const auto next = [&](std::int32_t f) { return f + (fps < 0 ? -1 : 1); };
    int wrong = 0;
    for (TimeValue t : times) {
      const std::int32_t f = frames.FrameOf(t);
      const bool falls_in = std::abs(SubFrameToMs(f, fps)) <= t &&
                            std::abs(SubFrameToMs(next(f), fps)) > t &&
                            (t == 0 || frames.FrameOf(-t) == -f);
      if (!falls_in && wrong++ == 0) ADD_FAILURE() << t << " ms at " << fps << " fps: frame " << f;
    }
    // Every frame's start goes back to that frame (of the frames that start before 2^31 ms).
    const double last = std::min(30000.0, 2e9 * std::abs(fps) / 1000);
    for (std::int32_t f = 0; f < last; ++f) {
      if (frames.FrameOf(SubFrameToMs(f, fps)) != f && wrong++ == 0) {
        ADD_FAILURE() << "frame " << f << " at " << fps << " fps";
      }
    }
    EXPECT_EQ(wrong, 0) << fps;
  }
  // At 30 fps the reader starts frame 7854 at 261,799 ms (7854 / 30 * 1000 is a hair below
  // 261,800): both times fall in it, and the end never comes before the start.
  Document doc;
  Fill(doc, {{261799, 261800, "x"}, {16299, 16300, "y"}});
  EXPECT_EQ(Write(doc, kKindSub, 30), "{7854}{7854}x\r\n{489}{489}y\r\n");
  EXPECT_EQ(SubFrameToMs(7854, 30), 261799);
}

TEST(Writers, RefuseOtherKindsWritingNothing) {
  Document doc;
  std::string out = "untouched";
  for (int kind : {int{kKindUnknown}, kKindSsa + 1}) {
    EXPECT_FALSE(WriteSubtitleData(doc, kind, 25, out));
  }
  EXPECT_EQ(out, "untouched");
}

TEST(Writers, BytesHandedOnInChunksOfWholeLinesAreTheWholeFile) {
  Document doc;
  Frames frames;
  for (int i = 0; i < 4000; ++i) frames.push_back({i * 1000, i * 1000 + 500, "Line|of text"});
  Fill(doc, frames);
  for (const TextForm form : {TextForm::kBytes, TextForm::kUtf16Le}) {
    doc.HasByteOrderMark = form == TextForm::kBytes;
    doc.FileTextForm = form;
    for (int kind : {kKindSubRip, kKindSub, kKindSrt2, kKindSami}) {
      std::vector<std::string> pieces;
      EXPECT_TRUE(WriteSubtitleData(doc, kind, 25, [&](std::string_view piece) {
        pieces.emplace_back(piece);
      }));
      std::string joined;
      for (const std::string& piece : pieces) joined += piece;
      EXPECT_EQ(joined, Write(doc, kind)) << kind;
      // UTF-16 comes whole; bytes in several pieces that each end a line.
      EXPECT_EQ(pieces.size() > 1, form == TextForm::kBytes) << kind;
      if (form == TextForm::kBytes) {
        for (const std::string& piece : pieces) EXPECT_TRUE(piece.ends_with("\r\n")) << kind;
      }
    }
  }
}

// A frame whose lines need more room than the output has left: the room grows, in one
// string and in chunks alike.
TEST(Writers, AFrameLargerThanAChunkIsWrittenWhole) {
  Document doc;
  const std::string bars(100000, '|');
  Fill(doc, {{0, 1000, "a"}, {1000, 2000, bars}, {2000, 3000, "b"}});
  std::string blank_lines;
  for (std::size_t i = 0; i <= bars.size(); ++i) blank_lines += "<i></i>\r\n";
  const std::string subrip = Write(doc, kKindSubRip);
  // (Compared as a whole: a diff of such texts would take long.)
  EXPECT_TRUE(subrip == Crlf("1\n00:00:00,000 --> 00:00:01,000\na\n\n"
                             "2\n00:00:01,000 --> 00:00:02,000\n") +
                            blank_lines + Crlf("\n3\n00:00:02,000 --> 00:00:03,000\nb\n"));
  std::string joined;
  EXPECT_TRUE(
      WriteSubtitleData(doc, kKindSubRip, 25, [&](std::string_view piece) { joined += piece; }));
  EXPECT_TRUE(joined == subrip);
  std::string brs;
  for (std::size_t i = 0; i < bars.size(); ++i) brs += "[br]";
  EXPECT_NE(Write(doc, kKindSrt2).find("\r\n" + brs + "\r\n"), std::string::npos);
}

// A frame with `text` written as SUB gives the general markup conversion of the text, each
// bar held inside a line a "|" again.
void ExpectSubAsConverted(const std::string& text) {
  Document doc;
  Fill(doc, {{0, 1000, text}});
  std::string expected = ConvertMarkup(text, Markup::kHtml, Markup::kSub, CodePage::kUtf8);
  std::replace(expected.begin(), expected.end(), kLiteralBar, '|');
  ASSERT_EQ(Write(doc, kKindSub), "{0}{25}" + expected + "\r\n") << text;
}

// The SUB writer looks for markup while it copies a text: at every place of short and
// long texts (the last sixteen bytes are looked at apart), a tag or block is converted,
// a "<" or "{" that makes none stays, and a bar held inside a line becomes "|".
TEST(Writers, SubTextsWithMarkupAnywhereAreConverted) {
  for (std::size_t size = 1; size <= 40; ++size) {
    for (std::size_t at = 0; at < size; ++at) {
      for (const std::string_view mark : {"<i>", "{\\an8}", "<", "{", "\x1F"}) {
        std::string text(size, 'x');
        text.replace(at, 1, mark);
        ASSERT_NO_FATAL_FAILURE(ExpectSubAsConverted(text));
      }
    }
  }
}

// Texts with markup of up to 128 bytes are converted where they are written, their marks
// found 64 a word: marks on either side of those limits, and lines that keep a style
// (which SUB writes as a code) or lose it in their last bytes.
TEST(Writers, SubTextsWithMarkupAtTheLimitsOfTheShortWay) {
  for (const std::size_t size : {62, 63, 64, 65, 66, 126, 127, 128, 129, 130}) {
    for (const std::size_t at : {std::size_t{0}, std::size_t{60}, std::size_t{63},
                                 std::size_t{64}, size - 4, size - 3}) {
      for (const std::string_view mark : {"<i>", "</i>", "{\\an8}", "|", "\x1F", "{", " "}) {
        for (const bool styled : {false, true}) {
          if (at + mark.size() > size) continue;
          std::string text(size, 'x');
          text.replace(at, mark.size(), mark);
          if (styled) text = "<b>" + text + "</b>";
          ASSERT_NO_FATAL_FAILURE(ExpectSubAsConverted(text));
        }
      }
    }
  }
}

// Lines are joined sixteen bytes at a time, the last ones apart: a line break or a bar
// held inside a line at every place of short and long texts, and two of them anywhere.
TEST(Writers, LinesJoinAtEveryPlaceOfATextAndItsLastBytes) {
  auto joined = [](std::string_view text, std::string_view separator) {
    std::string out;
    for (const char c : text) {
      if (c == '|') {
        out += separator;
      } else {
        out += c == kLiteralBar ? '|' : c;
      }
    }
    return out;
  };
  for (std::size_t size = 0; size <= 40; ++size) {
    for (std::size_t a = 0; a <= size; ++a) {
      for (std::size_t b = a; b <= size; ++b) {
        for (const char first : {'|', kLiteralBar}) {
          std::string text;
          for (std::size_t k = 0; k < size; ++k) text += static_cast<char>('a' + k % 26);
          if (a < size) text[a] = first;
          if (b < size && b > a) text[b] = '|';
          for (const std::string_view separator : {"[br]", "\\N", "|"}) {
            std::string out = "kept";
            AppendLinesJoined(out, text, separator);
            ASSERT_EQ(out, "kept" + joined(text, separator)) << text << " " << separator;
          }
        }
      }
    }
  }
}

TEST(Writers, SubRipLinesOfAnyLengthAreWrittenEachOnItsOwnLine) {
  for (const std::size_t size : {15, 16, 17, 31, 32, 33}) {
    for (std::size_t a = 0; a < size; ++a) {
      std::string text(size, 'x');
      text[a] = '|';
      if (a + 2 < size) text[a + 2] = kLiteralBar;
      std::string expected = text;
      std::replace(expected.begin(), expected.end(), '|', '\n');
      std::replace(expected.begin(), expected.end(), kLiteralBar, '|');
      if (a == 0) expected = "<i></i>" + expected;
      if (a + 1 == size) expected += "<i></i>";
      Document doc;
      Fill(doc, {{0, 1000, text}});
      ASSERT_EQ(Write(doc, kKindSubRip),
                Crlf("1\n00:00:00,000 --> 00:00:01,000\n" + expected + "\n"))
          << text;
    }
  }
}

TEST(Writers, SubRipLinesReadBackAsTheSameTexts) {
  for (const char* text : {"A|B", "|A||B|  ", " ", "|", "||", "  Hi |there ", "Room|101", "a|2|b",
                           "42|7", "x --> y|0"}) {
    Document doc;
    Fill(doc, {{0, 1000, text}, {1000, 2000, "next"}});
    EXPECT_EQ(Read(Write(doc, kKindSubRip), kKindSubRip).All(),
              (Frames{{0, 1000, text}, {1000, 2000, "next"}}))
        << text;
  }
}

}  // namespace
}  // namespace lumetra
