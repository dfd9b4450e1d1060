// lumetra-cli check as a delivery gate, and edit's --replace step.
#include <filesystem>

#include "cli/cli_test_support.h"

namespace lumetra {
namespace {

using testing::CliTest;
using testing::ReadFile;

// Frame 1 overlaps frame 2, frame 2 reads too fast and is too short, frame 3 is fine.
constexpr char kDelivery[] =
    "1\r\n00:00:01,000 --> 00:00:03,100\r\nTeh storm came.\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:03,600\r\nNobody saw it coming at all.\r\n\r\n"
    "3\r\n00:00:05,000 --> 00:00:07,000\r\nFine.\r\n";
constexpr char kClean[] = "1\r\n00:00:01,000 --> 00:00:03,000\r\nFine.\r\n";

using CliCheckTest = CliTest;

TEST_F(CliCheckTest, PrintsOneLinePerFindingAndExitsOneWhenSomethingWasFound) {
  const std::string input = Write("in.txt", kDelivery);
  testing::RunResult r = Run({"check", input});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "1: overlap: overlaps frame 2 by 100 ms\n"
            "2: short: lasts 600 ms (at least 700)\n"
            "2: cps: 28 characters in 600 ms: 46.67 per second (at most 17)\n");
  EXPECT_EQ(r.err, "");
  // Limits from the command line, 0 turning a check off; --tsv separates by tabs.
  r = Run({"check", input, "--min-length", "0", "--max-cps", "47", "--tsv"});
  EXPECT_EQ(r.out, "1\toverlap\toverlaps frame 2 by 100 ms\n");
  EXPECT_EQ(Run({"check", Write("clean.txt", kClean)}).status, 0);
  EXPECT_EQ(Run({"check", Write("clean.txt", kClean)}).out, "");
  // A file that cannot be read is no clean delivery.
  r = Run({"check", dir.File("missing.txt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
}

TEST_F(CliCheckTest, BadLimitsAndUnknownDictionariesAreUsageErrors) {
  const std::string input = Write("in.txt", kDelivery);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--max-cps", "17,5"}, "--max-cps 17,5 is not a number from 0 to 1000"},
      {{"--max-lines", "2.5"}, "--max-lines 2.5 is not a whole number from 0 to 1000"},
      {{"--min-gap", "-1"}, "--min-gap -1 is not a whole number from 0 to 3600000"},
      {{"--max-line", "40", "--max-line", "41"},
       "--max-line is given twice with different values, 40 and 41"},
      {{"--spell", "xx_NOWHERE"}, "--spell xx_NOWHERE: no such dictionary is installed"},
      {{"--to", "sami"}, "--to is an option of convert and edit"},
  };
  for (const auto& [options, problem] : cases) {
    std::vector<std::string> args = {"check", input};
    args.insert(args.end(), options.begin(), options.end());
    const testing::RunResult r = Run(args);
    EXPECT_EQ(r.status, 2) << problem;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')).find("lumetra-cli: " + problem), 0u) << r.err;
  }
}

TEST_F(CliCheckTest, SpellChecksWithAnInstalledDictionaryAndTheUsersOwnWords) {
  if (!std::filesystem::exists("/usr/share/hunspell/en_US.dic")) {
    GTEST_SKIP() << "hunspell-en-us is not installed";
  }
  const std::string input = Write("in.txt", kDelivery);
  // The personal word list of the editor counts too.
  const std::string words = dir.File("data/lumetra/words-en_US.txt");
  std::filesystem::create_directories(dir.File("data/lumetra"));
  testing::WriteFile(words, "storm\n");
  const testing::RunResult r =
      Run({"check", input, "--spell", "en_US", "--tsv", "--min-length", "0", "--max-cps", "0"},
          {.shell_setup = "XDG_DATA_HOME=" + testing::Quote(dir.File("data")) + " "});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "1\toverlap\toverlaps frame 2 by 100 ms\n1\tspelling\tunknown word \"Teh\"\n");
}

class CliReplaceTest : public CliTest {
 protected:
  std::string Replace(std::vector<std::string> step) {
    std::vector<std::string> args = {"edit", Write("in.txt", kInput), dir.File("out.txt")};
    args.insert(args.end(), step.begin(), step.end());
    last = Run(args);
    return last.status == 0 ? ReadFile(dir.File("out.txt")) : "";
  }
  static constexpr char kInput[] =
      "1\r\n00:00:01,000 --> 00:00:02,000\r\nJohn Smith\r\n\r\n"
      "2\r\n00:00:03,000 --> 00:00:04,000\r\nthe cat and the catalogue\r\n";
  testing::RunResult last;
};

TEST_F(CliReplaceTest, ReplacesAsFindAndReplaceDoesWithItsOptions) {
  auto text = [](const std::string& out, int frame) {
    std::size_t at = 0;
    for (int i = 0; i < frame; ++i) at = out.find(" --> ", at) + 1;
    const std::size_t begin = out.find("\r\n", at) + 2;
    return out.substr(begin, out.find("\r\n", begin) - begin);
  };
  EXPECT_EQ(
      text(Replace({"--replace", "(\\w+) (\\w+)", "\\2, \\1", "--regex", "--frames", "1"}), 1),
      "Smith, John");
  EXPECT_EQ(last.err, "");
  EXPECT_EQ(text(Replace({"--replace", "cat", "dog", "--whole-words"}), 2),
            "the dog and the catalogue");
  EXPECT_EQ(text(Replace({"--replace", "THE", "a", "--match-case"}), 2),
            "the cat and the catalogue");
  EXPECT_EQ(text(Replace({"--replace", "THE", "a", "--replace", "a", "b"}), 2),
            "b cbt bnd b cbtblogue");
  // Usage errors: nothing is read or written.
  std::filesystem::remove(dir.File("out.txt"));
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--replace", "(a", "b", "--regex"},
       "--replace (a b: bad regular expression: missing closing parenthesis after character 2"},
      {{"--replace", "(a)", "\\2", "--regex"},
       "--replace (a) \\2: bad replacement: \\2 names no group"},
      {{"--regex", "--replace", "a", "b"}, "--regex belongs after --replace FIND REPLACEMENT"},
      {{"--replace", "a", "b", "--regex", "--regex"}, "--regex is given twice for one --replace"},
      {{"--replace", "a"}, "--replace needs FIND and REPLACEMENT"},
      {{"--replace", "", "b"}, "--replace needs a FIND that is not empty"},
  };
  for (const auto& [step, problem] : refused) {
    EXPECT_EQ(Replace(step), "");
    EXPECT_EQ(last.status, 2);
    EXPECT_EQ(last.err, "lumetra-cli: " + problem + "\nTry 'lumetra-cli --help'.\n");
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
  // An expression that would run for ever fails the edit; nothing is written.
  Write("long.txt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n" + std::string(40, 'a') + "!\r\n");
  last = Run(
      {"edit", dir.File("long.txt"), dir.File("out.txt"), "--replace", "^(a+)+$", "x", "--regex"});
  EXPECT_EQ(last.status, 1);
  EXPECT_NE(last.err.find("takes too long to match"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
  // So does a chain of replacements that would grow a text without end.
  std::vector<std::string> args = {"edit", dir.File("long.txt"), dir.File("out.txt")};
  for (int i = 0; i < 5; ++i) args.insert(args.end(), {"--replace", "a", std::string(20, 'a')});
  last = Run(args);
  EXPECT_EQ(last.status, 1);
  EXPECT_NE(last.err.find("longer than 100000 characters"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.txt")));
}

}  // namespace
}  // namespace lumetra
