// lumetra-cli edit: chains of steps on real files, as the editor's groups would run them.
#include <filesystem>

#include "cli/cli_test_support.h"

namespace lumetra {
namespace {

using testing::CliTest;
using testing::ReadFile;
using testing::RunResult;

// Three frames; frame 2 runs into frame 3.
constexpr char kInput[] =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\n-a teh cat\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:05,500\r\nim here,now\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:06,000\r\nfine\r\n";

class CliEditTest : public CliTest {
 protected:
  // Runs edit on the input with the steps; the output's SubRip text, "" when it failed.
  std::string Edit(std::vector<std::string> steps) {
    std::vector<std::string> args = {"edit", Write("in.txt", kInput), dir.File("out.txt")};
    args.insert(args.end(), steps.begin(), steps.end());
    last = Run(args);
    EXPECT_EQ(last.out, "");
    return last.status == 0 ? ReadFile(dir.File("out.txt")) : "";
  }
  static std::string Entry(int n, const char* times, const char* text) {
    return std::to_string(n) + "\r\n" + times + "\r\n" + text + "\r\n";
  }

  RunResult last;
};

TEST_F(CliEditTest, StepsRunInOrderOnTheChosenFrames) {
  // 14:08 in the offset box is 848 s; the hangout fix then stops frame 2 before frame 3.
  const std::string out =
      Edit({"--frames", "2-3,9", "--offset", "14:08", "--later", "--offset", "848", "--earlier",
            "--fix-hangout", "--delay", "1,5", "--stop-at-adjacent", "off", "--longer"});
  EXPECT_EQ(out, Entry(1, "00:00:01,000 --> 00:00:02,000", "-a teh cat") + "\r\n" +
                     Entry(2, "00:00:03,000 --> 00:00:06,490", "im here,now") + "\r\n" +
                     Entry(3, "00:00:05,000 --> 00:00:07,500", "fine"));
  EXPECT_EQ(last.err, "");
}

TEST_F(CliEditTest, TheCalculatorsFactorAndItsInversionResizeAndResizeBack) {
  const std::string out =
      Edit({"--frames", "3", "--fps-from", "25", "--fps-to", "23.977", "--resize",
            "--invert-factor", "--resize", "--length-per-char", "0.3", "--set-length"});
  EXPECT_EQ(out.substr(out.rfind("3\r\n")), Entry(3, "00:00:04,999 --> 00:00:06,198", "fine"));
}

TEST_F(CliEditTest, SpellCheckSelectsOrCorrectsEveryFrameAndTellsOnStandardError) {
  std::string out = Edit({"--frames", "1", "--spellcheck-en"});
  EXPECT_EQ(out, kInput);
  EXPECT_EQ(last.err, "lumetra-cli: 2 errors has been found!\n");

  // The check's selection does not carry over: the later steps still see frame 1 alone.
  out = Edit({"--frames", "1", "--only-select", "off", "--spellcheck-en", "--fix-dashes",
              "--fix-spacing"});
  EXPECT_EQ(out, Entry(1, "00:00:01,000 --> 00:00:02,000", "- A the cat") + "\r\n" +
                     Entry(2, "00:00:03,000 --> 00:00:05,500", "I'm here,now") + "\r\n" +
                     Entry(3, "00:00:05,000 --> 00:00:06,000", "fine"));
  EXPECT_EQ(last.err, "lumetra-cli: 2 replace has been made!\n");
}

TEST_F(CliEditTest, StepsNeedingASelectionDoNothingWithoutOneAndExtremeValuesAreSafe) {
  EXPECT_EQ(Edit({"--frames", "0,4-99", "--later", "--fix-dashes"}),
            Edit({"--frames", "1", "--earlier-1s", "--later-1s"}));
  EXPECT_EQ(last.status, 0);
  const std::string out = Edit({"--offset", "10000", "--later", "--resize-factor", "1000",
                                "--resize", "--delay-percent", "1000", "--longer-percent"});
  EXPECT_EQ(last.status, 0);
  EXPECT_NE(out, "");
}

// Steps that work on the bytes leave the code page unguessed; Replace all reads the
// characters, in the page guessed for a file that is not UTF-8.
TEST_F(CliEditTest, ReplaceFindsTheCharactersOfAFileInAnotherCodePage) {
  const std::string input =
      std::string(LUMETRA_CORPUS_DIR) + "/srt/alexpoint_ru_cp1251_mixed-crlf-lf_jPod.srt";
  if (!std::filesystem::exists(input)) GTEST_SKIP() << "no corpus file " << input;
  const std::string output = dir.File("out.srt");
  // "Бри" (Bree) in Windows-1251 bytes.
  last = Run({"edit", input, output, "--later", "--replace", "\xD0\x91\xD1\x80\xD0\xB8", "Ann"});
  ASSERT_EQ(last.status, 0) << last.err;
  std::string out = ReadFile(output);
  EXPECT_NE(out.find("00:00:10,236 --> 00:00:11,631\r\n\xC4\xEE\xE1\xF0\xEE\xE5 "
                     "\xF3\xF2\xF0\xEE, Ann!\r\n"),
            std::string::npos);
  last = Run({"edit", input, output, "--later", "--fix-hangout", "--spellcheck-en"});
  ASSERT_EQ(last.status, 0) << last.err;
  out = ReadFile(output);
  EXPECT_NE(out.find("\xC1\xF0\xE8!"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
