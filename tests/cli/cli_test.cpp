// Runs the real lumetra-cli binary on files and checks its output and exit status.
#include "cli/cli_test_support.h"

namespace lumetra {
namespace {

using testing::CliTest;
using testing::ReadFile;
using testing::RunResult;

constexpr char kSubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nA|B\r\n";

TEST_F(CliTest, HelpAndVersion) {
  RunResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("lumetra-cli convert INPUT OUTPUT [--fps RATE]"), std::string::npos);
  RunResult version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "lumetra-cli 1.33\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {}, {"convert", "a.txt"}, {"list"}, {"frobnicate", "a"}, {"list", "a", "--bogus"},
           {"list", "a", "--fps"}}) {
    RunResult result = Run(args);
    EXPECT_EQ(result.status, 2) << args.size();
    EXPECT_NE(result.err.find("Usage:"), std::string::npos);
    EXPECT_EQ(result.out, "");
  }
}

TEST_F(CliTest, ListPrintsFrameListLines) {
  RunResult result = Run({"list", Write("a.txt", kSubRip)});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "0:00:01.000:00:02.5001.50Hello\n"
            "0:00:03.000:00:04.0001.00A|B\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(CliTest, ConvertWritesTheFormatOfTheOutputExtension) {
  const std::string input = Write("a.txt", kSubRip);
  RunResult result = Run({"convert", input, dir.File("b.SUB"), "--fps", "30"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  // A frame lasts 1000 / 30 ms rounded to a double, a hair over a thirtieth of a second.
  EXPECT_EQ(ReadFile(dir.File("b.SUB")), "{29}{74}Hello\r\n{89}{119}A|B\r\n");

  result = Run({"convert", dir.File("b.SUB"), dir.File("c.txt"), "--fps=30"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(ReadFile(dir.File("c.txt")),
            "1\r\n00:00:00,966 --> 00:00:02,466\r\nHello\r\n\r\n"
            "2\r\n00:00:02,966 --> 00:00:03,966\r\nA|B\r\n");
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

TEST_F(CliTest, MissingAndUnrecognisedInputsFail) {
  const std::string missing = dir.File("missing.txt");
  RunResult result = Run({"list", missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "There is no recognized subtitle with this filename:\n\n" + missing + "\n");

  const std::string odd = Write("odd.txt", "hello\r\n");
  result = Run({"list", odd});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Not a recognised subtitle file: " + odd + "\n");
}

TEST_F(CliTest, OutputsThatCannotBeWrittenFail) {
  const std::string input = Write("a.txt", kSubRip);
  const std::string target = dir.File("no-dir/b.txt");
  RunResult result = Run({"convert", input, target});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err.rfind("WRITE ERROR! I can't create file!\nMaybe its because", 0), 0u);
  EXPECT_NE(result.err.find(":-)\n\n" + target + "\n"), std::string::npos);

  result = Run({"convert", input, dir.File("b.doc")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "Unknown extension: doc\n");
}

TEST_F(CliTest, RefusedFrameRatesAreUsageErrors) {
  const std::string input = Write("a.sub", "{25}{50}Hi\r\n");
  for (const char* rate : {"0", "50.5", "abc"}) {
    RunResult result = Run({"list", input, "--fps", rate});
    EXPECT_EQ(result.status, 2) << rate;
    EXPECT_EQ(result.err.rfind("The framerate you've entered is not a valid number!\n", 0), 0u);
  }
  RunResult result = Run({"list", input, "--fps", "50"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "0:00:00.500:00:01.0000.50Hi\n");
}

TEST_F(CliTest, TheFrameLimitIsReportedWithItsOwnStatus) {
  std::string big;
  for (int i = 0; i < 10001; ++i) big += "{" + std::to_string(i) + "}{" + std::to_string(i + 1) + "}x\r\n";
  RunResult result = Run({"info", Write("big.sub", big)});
  EXPECT_EQ(result.status, 3);
  EXPECT_EQ(result.err,
            "The subtitle has more frames than Lumetra can hold.\nOnly the first 9999 frames "
            "were loaded; 2 were left out.\n");
  EXPECT_NE(result.out.find("Total frames: 9999\n"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
