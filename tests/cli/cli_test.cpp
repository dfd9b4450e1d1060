// Runs the real lumetra-cli binary on files and checks its output and exit status.
#include <cstdint>
#include <filesystem>

#include "cli/cli_test_support.h"

namespace lumetra {
namespace {

using testing::CliTest;
using testing::ReadFile;
using testing::RunResult;

constexpr char kSubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n";

TEST_F(CliTest, HelpAndVersion) {
  RunResult help = Run({"-h"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("lumetra-cli convert INPUT OUTPUT [--to FORMAT] [--fps RATE]"),
            std::string::npos);
  RunResult version = Run({"-V"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "lumetra-cli 1.33\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndOneLineBeforeAnyFileIsTouched) {
  const std::string input = Write("a.txt", kSubRip);
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{}, "no command given"},
      {{"convert", "a.txt"}, "convert needs INPUT and OUTPUT"},
      {{"list"}, "list needs one INPUT"},
      {{"frobnicate", "a"}, "unknown command frobnicate"},
      {{"list", "a", "--bogus"}, "unknown option --bogus"},
      {{"list", "a", "--fps"}, "--fps needs a RATE"},
      {{"list", input, "--tsv=yes"}, "--tsv takes no value"},
      {{"list", input, "--to", "sub"}, "--to is an option of convert and edit"},
      {{"edit", input, "b.txt"}, "edit needs at least one STEP"},
      {{"edit", input, "b.txt", "--later", "--sooner"}, "unknown option --sooner"},
      {{"edit", input, "b.txt", "--offset"}, "--offset needs a value"},
      {{"edit", input, "b.txt", "--later=2"}, "--later takes no value"},
      {{"edit", input, "b.txt", "--only-select", "yes"}, "--only-select takes on or off, not yes"},
      {{"edit", input, "b.txt", "--frames", "3-1", "--later"},
       "--frames 3-1 is not a LIST such as 1-5,9"},
      {{"edit", input, "b.txt", "--frames", "1,,2", "--later"},
       "--frames 1,,2 is not a LIST such as 1-5,9"},
      {{"convert", input, "b.txt", "--later"}, "--later is a step of edit"},
      {{"convert", input, "b.txt", "--tsv"}, "--tsv is an option of list and check"},
      {{"list", input, "--encoding", "ebcdic"}, "unknown encoding ebcdic"},
      {{"list", input, "--to-utf8"}, "--to-utf8 is an option of convert and edit"},
      {{"convert", input, "b.txt", "--encoding", "1252"},
       "--encoding is an option of list, info, and convert or edit with --to-utf8"},
      {{"convert", input, "b", "--to", "vtt"},
       "--to vtt is not a format; use subrip|srt2|sub|sami|webvtt|ass|ssa"},
      {{"convert", input, "b.doc"},
       "the extension of b.doc names no format (.txt, .srt, .sub, .smi, .vtt, .ass, .ssa); "
       "choose one with --to subrip|srt2|sub|sami|webvtt|ass|ssa"},
      // Values a box would not read as written.
      {{"edit", input, "b.txt", "--offset", "2.5s", "--later"},
       "--offset 2.5s is not a number of seconds or minutes:seconds"},
      {{"edit", input, "b.txt", "--offset", "1:02:03", "--later"},
       "--offset 1:02:03 is not a number of seconds or minutes:seconds"},
      {{"edit", input, "b.txt", "--delay=100.5", "--longer"},
       "--delay 100.5 is outside the box's range, -100 to 100"},
      {{"edit", input, "b.txt", "--length-per-char", "0.009", "--set-length"},
       "--length-per-char 0.009 is outside the box's range, 0.01 to 100"},
      {{"edit", input, "b.txt", "--offset", "0.0000001", "--later"},
       "--offset 0.0000001 has more decimals than the six the box keeps"},
      {{"edit", input, "b.txt", "--fps-from", "23.976", "--fps-to", "abc", "--resize"},
       "--fps-to abc is not a frame rate"},
      {{"edit", input, "b.txt", "--fps-from", "0", "--resize"},
       "--fps-from 0 is not a frame rate (the calculator takes 0 as 24)"},
      {{"edit", input, "b.txt", "--fps-to", "25", "--resize"},
       "--fps-to 25 needs --fps-from just before it"},
      // Options given twice with different values.
      {{"convert", input, "b.txt", "--to", "sami", "--to=sub"},
       "--to is given twice with different values, sami and sub"},
      {{"list", input, "--fps", "25", "--fps", "24"},
       "--fps is given twice with different values, 25 and 24"},
      {{"edit", input, "b.txt", "--frames", "1", "--frames", "2", "--later"},
       "--frames is given twice with different values, 1 and 2"},
  };
  for (const char* value : {"NaN", "inf", "abc", ""}) {
    cases.push_back({{"edit", input, "b.txt", "--offset", value, "--later"},
                     std::string("--offset ") + value +
                         " is not a number of seconds or minutes:seconds"});
  }
  for (const char* rate : {"0", "-25", "50.5", "abc", "2,5", "25fps", "1e999"}) {
    cases.push_back({{"list", input, "--fps", rate},
                     std::string("--fps ") + rate + " is not a frame rate above 0 and at most 50"});
  }
  // An OUTPUT needs a real extension.
  for (const char* output : {"xtxt", "txt", "xsub", ".txt", "b.", "b.txt/xsub"}) {
    cases.push_back({{"convert", input, output},
                     std::string("OUTPUT ") + output +
                         " has no extension; give it one of .txt, .srt, .sub, .smi, .vtt, .ass, "
                         ".ssa, or choose a format with --to subrip|srt2|sub|sami|webvtt|ass|ssa"});
  }
  const testing::RunOptions here{.cwd = dir.path().string()};
  for (const auto& [args, problem] : cases) {
    RunResult result = Run(args, here);
    EXPECT_EQ(result.status, 2) << problem;
    EXPECT_EQ(result.err, "lumetra-cli: " + problem + "\nTry 'lumetra-cli --help'.\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(testing::EntriesIn(dir.path()), (std::vector<std::string>{"a.txt", "stderr.txt"}));
}

// The limits of each box and a value given twice alike are no usage errors.
TEST_F(CliTest, ValuesAtTheLimitsOfTheirBoxesAndRepeatedAlikeAreTaken) {
  const std::string input = Write("a.txt", kSubRip);
  EXPECT_EQ(Run({"list", input, "--fps", "50", "--fps=50.0"}).status, 0);
  EXPECT_EQ(Run({"convert", input, dir.File("b.sub"), "--to", "SUB", "--to", "sub"}).status, 0);
  EXPECT_EQ(Run({"convert", input, dir.File("c.sub"), "--fps", "0.001"}).status, 0);
  const RunResult result =
      Run({"edit", input, dir.File("b.txt"), "--offset", "-10000", "--earlier", "--delay",
           "100", "--delay-percent", "-1000", "--length-per-char", "0.01", "--resize-factor",
           "1000", "--fps-from", "-25", "--fps-to", "0.000001", "--offset", "166:40", "--earlier"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ReadFile(dir.File("b.txt")).substr(0, 32), "1\r\n00:00:01,000 --> 00:00:02,500");
}

TEST_F(CliTest, ListPrintsFrameListLinesOrTabSeparatedValues) {
  const std::string input = Write("a.txt", kSubRip);
  RunResult result = Run({"list", input});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "0:00:01.000:00:02.5001.50Hello\n"
            "0:00:03.000:00:04.0001.00A|B\n");
  EXPECT_EQ(result.err, "");
  result = Run({"list", "--tsv", input});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "1\t1000\t2500\tHello\n2\t3000\t4000\tA|B\n");
}

TEST_F(CliTest, ConvertWritesTheFormatOfTheOutputExtensionOrOfTo) {
  const std::string input = Write("a.txt", kSubRip);
  RunResult result = Run({"convert", input, dir.File("b.SUB"), "--fps", "30"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  // 1000 ms is how frame 30 reads at 30 fps, though 1000 / (1000 / 30) is a hair below 30.
  // The rate comes first, for other programs.
  EXPECT_EQ(ReadFile(dir.File("b.SUB")), "{1}{1}30\r\n{30}{75}Hello\r\n{90}{120}A|B\r\n");
  EXPECT_EQ(Run({"convert", dir.File("b.SUB"), dir.File("c.txt"), "--fps=30"}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("c.txt")), kSubRip);
  // --to whatever the output is called.
  EXPECT_EQ(Run({"convert", input, dir.File("b.srt"), "--to=SUB"}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("b.srt")), "{1}{1}25\r\n{25}{62}Hello\r\n{75}{100}A|B\r\n");
  EXPECT_EQ(Run({"convert", input, dir.File("plain"), "--to", "subrip"}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("plain")), kSubRip);
}

// A convert guesses no code page where the texts' bytes are written back as they are, and
// still does where the format written converts them: WebVTT into UTF-8.
TEST_F(CliTest, ConvertReadsTheCodePageOnlyWhereTheOutputNeedsIt) {
  // "Privet" (hello) in Windows-1251, enough for the page to be guessed.
  const std::string privet =
      "\xCF\xF0\xE8\xE2\xE5\xF2, \xEA\xE0\xEA \xE4\xE5\xEB\xE0? "
      "\xDD\xF2\xEE \xF2\xE5\xEA\xF1\xF2 \xED\xE0 \xF0\xF3\xF1\xF1\xEA\xEE\xEC.";
  const std::string input =
      Write("ru.txt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + privet + "\r\n");
  EXPECT_EQ(Run({"convert", input, dir.File("ru.srt")}).status, 0);
  EXPECT_NE(ReadFile(dir.File("ru.srt")).find(privet), std::string::npos);
  EXPECT_EQ(Run({"convert", input, dir.File("ru.vtt")}).status, 0);
  EXPECT_NE(ReadFile(dir.File("ru.vtt")).find("\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82,"),
            std::string::npos);
}

// The format belongs to the document: an OUTPUT with INPUT's extension gets INPUT's format.
TEST_F(CliTest, AnOutputWithTheInputsExtensionIsWrittenInTheInputsFormat) {
  const std::string subrip = Write("film.srt", kSubRip);
  EXPECT_EQ(Run({"edit", subrip, subrip, "--later"}).status, 0);
  const std::string later = "1\r\n00:00:02,000 --> 00:00:03,500\r\nHello\r\n\r\n"
                            "2\r\n00:00:04,000 --> 00:00:05,000\r\nA\r\nB\r\n";
  EXPECT_EQ(ReadFile(subrip), later);
  EXPECT_EQ(Run({"convert", subrip, dir.File("copy.SRT")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("copy.SRT")), later);
  EXPECT_EQ(Run({"convert", Write("odd.name", kSubRip), dir.File("copy.name")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("copy.name")), kSubRip);
  // Another extension, or --to, chooses as before.
  EXPECT_EQ(Run({"convert", subrip, dir.File("copy.sub")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("copy.sub")), "{1}{1}25\r\n{50}{87}Hello\r\n{100}{125}A|B\r\n");
  EXPECT_EQ(Run({"convert", subrip, dir.File("srt2.srt"), "--to", "srt2"}).status, 0);
  EXPECT_EQ(Run({"convert", dir.File("srt2.srt"), dir.File("again.srt")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("again.srt")), ReadFile(dir.File("srt2.srt")));
  EXPECT_TRUE(ReadFile(dir.File("again.srt")).starts_with("[INFORMATION]"));
}

// The quickest check that SubRip written by the tool is what other programs read.
TEST_F(CliTest, AConvertedSubRipFileEqualsItsSource) {
  const std::string source = testing::CorpusFile("srt/alexpoint_en_crlf_2506-entries_Titans.srt");
  if (source.empty()) GTEST_SKIP() << "no corpus";
  EXPECT_EQ(Run({"convert", source, dir.File("t.txt")}).status, 0);
  EXPECT_EQ(ReadFile(dir.File("t.txt")), ReadFile(source));
}

TEST_F(CliTest, InfoPrintsEveryBoxOfTheInformationDialog) {
  const std::string input = Write(
      "Info.srt",
      "[INFORMATION]\r\n[TITLE]My film\r\n[AUTHOR]\r\n[SOURCE]dvd\r\n[PRG]x\r\n[FILEPATH]\r\n"
      "[DELAY]0\r\n[CD TRACK]1\r\n[COMMENT]\r\n[END INFORMATION]\r\n[SUBTITLE]\r\n"
      "[COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial\r\n"
      "00:00:01.00,00:00:03.00\r\nHi\r\n\r\n00:00:04.00,00:00:05.50\r\nA[br]B\r\n");
  RunResult result = Run({"info", input});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "Format: (SRT2 with Info)\n"
            "Title: My film\n"
            "Author: \n"
            "Source: dvd\n"
            "Prg: x\n"
            "Filepath: \n"
            "Delay: 0\n"
            "Cd Track: 1\n"
            "Comment: \n"
            "Font info: [COLF]&HFFFFFF,[STYLE]no,[SIZE]18,[FONT]Arial\n"
            "Total frames: 2\n"
            "Total lines: 3\n"
            "Total time: 0h 0m 5s 500ms\n"
            "Average delay: 1sec 750ms\n"
            "Texts are visible during play: 64 %\n"
            "Displayed characters: 4\n"
            "FileDir: " + dir.path().string() + "/\n"
            "Filename: Info.srt\n");
}

TEST_F(CliTest, FilesThatCannotBeReadOrWrittenFailWithTheSystemsReason) {
  const std::string input = Write("a.txt", kSubRip);
  std::filesystem::create_directory(dir.File("folder.txt"));
  std::filesystem::create_symlink("loop.txt", dir.File("loop.txt"));
  const std::string huge = Write("huge.txt", kSubRip);
  std::filesystem::resize_file(huge, (std::uintmax_t{256} << 20) + 1);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"list", dir.File("missing.txt")},
       "cannot read " + dir.File("missing.txt") + ": No such file or directory"},
      {{"info", dir.File("folder.txt")},
       "cannot read " + dir.File("folder.txt") + ": Is a directory"},
      {{"convert", input, dir.File("no-dir/b.txt")},
       "cannot write " + dir.File("no-dir/b.txt") + ": No such file or directory"},
      {{"list", Write("odd.txt", "hello\r\n")},
       "This file is not a subtitle Lumetra can read: " + dir.File("odd.txt")},
      {{"list", Write("empty.srt", "")}, "This file is empty: " + dir.File("empty.srt")},
      {{"convert", input, dir.File("loop.txt")},
       "cannot write " + dir.File("loop.txt") + ": Too many levels of symbolic links"},
      // Larger than any subtitle: refused before it is read (the file is sparse).
      {{"list", huge}, "The file is too large for a subtitle (over 256 MB): " + huge},
  };
  for (const auto& [args, message] : cases) {
    RunResult result = Run(args);
    EXPECT_EQ(result.status, 1) << message;
    EXPECT_EQ(result.err, "lumetra-cli: " + message + "\n");
    EXPECT_EQ(result.out, "");
  }
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("loop.txt")));
}

TEST_F(CliTest, SubFilesThatStateTheirRateAreReadAtItUnlessFpsIsGiven) {
  const std::string input = Write("rate.sub", "{1}{1}12.5\r\n{25}{50}Hi\r\n");
  RunResult result = Run({"list", input});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "0:00:02.000:00:04.0002.00Hi\n");
  EXPECT_EQ(Run({"list", input, "--fps", "50"}).out, "0:00:00.500:00:01.0000.50Hi\n");
  result = Run({"convert", input, dir.File("out.sub"), "--fps", "25"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(dir.File("out.sub")), "{1}{1}25\r\n{25}{50}Hi\r\n");
}

TEST_F(CliTest, EncodingNamesTheCodePageOfListAndInfoAndToUtf8Converts) {
  // "Привет" in Windows-1251, "Smørrebrød" in Windows-1252.
  const std::string cyrillic = Write(
      "ru.srt",
      "[TITLE]\xCF\xF0\xE8\xE2\xE5\xF2\r\n00:00:01.00,00:00:02.00\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
  RunResult result = Run({"list", cyrillic, "--encoding", "windows-1251"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "0:00:01.000:00:02.0001.00Привет\n");
  result = Run({"info", cyrillic, "--encoding=cp1251"});
  EXPECT_NE(result.out.find("Title: Привет\n"), std::string::npos);

  const std::string western = Write("da.txt",
                                    "1\r\n00:00:01,000 --> 00:00:02,000\r\nSm\xF8rrebr\xF8"
                                    "d\r\n");
  result = Run({"convert", western, dir.File("utf8.txt"), "--to-utf8", "--encoding", "1252"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(dir.File("utf8.txt")), "1\r\n00:00:01,000 --> 00:00:02,000\r\nSmørrebrød\r\n");
  // Without a page named, the editor's guess: Windows-1250 for bytes that are not UTF-8.
  result = Run({"convert", western, dir.File("guess.txt"), "--to-utf8"});
  EXPECT_EQ(ReadFile(dir.File("guess.txt")),
            "1\r\n00:00:01,000 --> 00:00:02,000\r\nSmřrrebrřd\r\n");

}

TEST_F(CliTest, FramesLeftOutAreWrittenButExitWithThree) {
  std::string frames;
  for (int i = 0; i < 10000; ++i)
    frames += "{" + std::to_string(i) + "}{" + std::to_string(i + 1) + "}x\r\n";
  const std::string input = Write("big.sub", frames);
  RunResult result = Run({"convert", input, dir.File("out.sub")});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err,
            "lumetra-cli: The subtitle has more frames than Lumetra can hold. Only the first 9999 "
            "frames were loaded; 1 frame was left out.\n");
  // The first 9999 frames (compared by size and end: a diff of large texts is slow).
  const std::string written = ReadFile(dir.File("out.sub"));
  EXPECT_EQ(written.size(), frames.rfind("{9999}"));
  EXPECT_TRUE(written.ends_with("\n{9998}{9999}x\r\n"));
  // Written over itself (by its name or a link to it), the input would lose its last frame:
  // it is left as it was.
  std::filesystem::create_symlink(input, dir.File("link.sub"));
  for (const std::string& output : {input, dir.File("link.sub")}) {
    result = Run({"edit", input, output, "--later"});
    EXPECT_EQ(result.status, 3);
    EXPECT_TRUE(result.err.ends_with("lumetra-cli: " + output +
                                      " is the input, which has frames beyond the first 9999: "
                                      "it was left as it was (write OUTPUT to another file)\n"))
        << result.err;
    EXPECT_EQ(ReadFile(input), frames);
  }
}

}  // namespace
}  // namespace lumetra
