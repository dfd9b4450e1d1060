// lumetra-cli never loses a file and never reports a failure as success.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "cli/cli_test_support.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using testing::CliTest;
using testing::EntriesIn;
using testing::ReadFile;
using testing::RunOptions;
using testing::RunResult;
using testing::WriteFile;

constexpr char kSubRip[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nA\r\nB\r\n";
constexpr char kNobody[] = "setpriv --reuid=65534 --regid=65534 --clear-groups";

class CliSaveTest : public CliTest {
 protected:
  // A directory that the user who runs the program may write, and how to run it there. Root
  // may write any file, so as root the program runs as nobody, from a copy in that
  // directory (the build tree may be closed to others). False when that is impossible.
  bool PrepareUnprivileged(std::string& work, RunOptions& options) {
    work = dir.File("work");
    fs::create_directory(work);
    if (::geteuid() != 0) return true;
    if (std::system((std::string(kNobody) + " true 2>/dev/null").c_str()) != 0) return false;
    ::chmod(dir.path().c_str(), 0755);
    options.program = work + "/lumetra-cli";
    fs::copy_file(LUMETRA_CLI_PATH, options.program);
    ::chmod(options.program.c_str(), 0755);
    options.wrapper = kNobody;
    return ::chown(work.c_str(), 65534, 65534) == 0;
  }
};

TEST_F(CliSaveTest, ResultsWithoutFramesNeverReplaceTheTarget) {
  for (const char* input : {"tags_only.smi", "header_only.srt", "number_then_blank_lines.txt"}) {
    const std::string target = Write("p.txt", "keep\r\n");
    RunResult result = Run({"convert", std::string(LUMETRA_TEST_DATA_DIR) + "/" + input, target});
    EXPECT_EQ(result.status, 1) << input;
    EXPECT_EQ(result.err, "lumetra-cli: There is nothing to save!\n") << input;
    EXPECT_EQ(ReadFile(target), "keep\r\n") << input;
  }
}

// Converted to WebVTT, ASS or SSA, times before 0 used to become 0 without a word.
TEST_F(CliSaveTest, TimesWrittenAsZeroAreCountedOnStandardErrorAndTheSaveSucceeds) {
  const std::string input = Write("neg.txt",
                                  "1\r\n-00:00:00,001 --> 00:00:01,000\r\nA\r\n\r\n"
                                  "2\r\n00:00:00,000 --> 00:00:02,000\r\nB\r\n\r\n"
                                  "3\r\n-00:00:03,000 --> -00:00:02,000\r\nC\r\n");
  RunResult result = Run({"convert", input, dir.File("out.vtt")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "lumetra-cli: 2 frames start before 0:00:00.000. WebVTT cannot hold times before 0: "
            "they were written as 0.\n");
  EXPECT_EQ(ReadFile(dir.File("out.vtt")).substr(0, 44),
            "WEBVTT\r\n\r\n00:00:00.000 --> 00:00:01.000\r\nA\r\n");
  result = Run({"edit", input, dir.File("out.ass"), "--frames", "1", "--later-1s"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err,
            "lumetra-cli: 1 frame starts before 0:00:00.000. ASS cannot hold times before 0: "
            "they were written as 0.\n");
  // Formats that hold them say nothing.
  result = Run({"convert", input, dir.File("out.srt")});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
}

TEST_F(CliSaveTest, TargetsAreWrittenOnlyWhereTheUserMayWriteAndKeepTheirOwner) {
  std::string work;
  RunOptions options;
  if (!PrepareUnprivileged(work, options)) GTEST_SKIP() << "cannot run as an unprivileged user";
  const uid_t user = ::geteuid() == 0 ? 65534 : ::geteuid();
  const std::string input = work + "/in.txt";
  WriteFile(input, kSubRip);
  ::chmod(input.c_str(), 0644);
  auto target = [&](const std::string& name, mode_t mode, uid_t owner) {
    const std::string path = work + "/" + name;
    WriteFile(path, "old\r\n");
    if (::chown(path.c_str(), owner, static_cast<gid_t>(-1)) != 0) ADD_FAILURE() << path;
    ::chmod(path.c_str(), mode);
    return path;
  };
  struct stat st {};

  auto expect_refused = [&](const std::string& path) {
    const RunResult result = Run({"convert", input, path}, options);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "lumetra-cli: cannot write " + path + ": Permission denied\n");
    EXPECT_EQ(ReadFile(path), "old\r\n");
  };
  expect_refused(target("read-only.txt", 0444, user));

  // Two names of one file both see the new content.
  const std::string linked = target("linked.txt", 0644, user);
  fs::create_hard_link(linked, work + "/second-name.txt");
  EXPECT_EQ(Run({"convert", input, linked}, options).status, 0);
  EXPECT_EQ(ReadFile(work + "/second-name.txt"), kSubRip);

  // A new file under a known umask.
  RunOptions masked = options;
  masked.shell_setup = "umask 027; ";
  EXPECT_EQ(Run({"convert", input, work + "/new.txt"}, masked).status, 0);
  ::stat((work + "/new.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_uid, user);

  if (::geteuid() != 0) GTEST_SKIP() << "other users' files need root to be made";
  expect_refused(target("roots.txt", 0644, 0));
  // Root's file that everybody may write is written in place: it stays root's.
  const std::string shared = target("shared.txt", 0666, 0);
  EXPECT_EQ(Run({"convert", input, shared}, options).status, 0);
  EXPECT_EQ(ReadFile(shared), kSubRip);
  ::stat(shared.c_str(), &st);
  EXPECT_EQ(st.st_uid, 0u);
  EXPECT_EQ(st.st_mode & 07777, 0666u);
  EXPECT_EQ(EntriesIn(work), (std::vector<std::string>{"in.txt", "linked.txt", "lumetra-cli",
                                                       "new.txt", "read-only.txt", "roots.txt",
                                                       "second-name.txt", "shared.txt"}));
}

TEST_F(CliSaveTest, PathsAreResolvedThroughLinksNotFoldedAsText) {
  fs::create_directories(dir.path() / "real/sub");
  fs::create_directory_symlink("real/sub", dir.path() / "dl");
  Write("in.txt", kSubRip);
  Write("real/z.txt", "1\r\n00:00:05,000 --> 00:00:06,000\r\nThe one cat shows\r\n");
  Write("z.txt", "1\r\n00:00:07,000 --> 00:00:08,000\r\nNot this one\r\n");
  const RunOptions here{.cwd = dir.path().string()};
  EXPECT_EQ(Run({"convert", "in.txt", "dl/../y.txt"}, here).status, 0);
  EXPECT_EQ(ReadFile(dir.File("real/y.txt")), kSubRip);
  EXPECT_FALSE(fs::exists(dir.File("y.txt")));
  EXPECT_EQ(Run({"list", "dl/../z.txt"}, here).out, "0:00:05.000:00:06.0001.00The one cat shows\n");
}

TEST_F(CliSaveTest, StandardOutputThatCannotBeWrittenIsAFailure) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  const std::string input = Write("a.txt", kSubRip);
  std::string many;  // a list longer than the output buffer
  for (int i = 0; i < 500; ++i)
    many += "{" + std::to_string(i) + "}{" + std::to_string(i + 1) + "}x\r\n";
  const std::string long_input = Write("many.sub", many);
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"list", input}, {"list", long_input}, {"info", input}, {"--help"}}) {
    RunResult result = Run(args, {.stdout_to = "/dev/full"});
    EXPECT_EQ(result.status, 1) << args[0];
    EXPECT_EQ(result.err,
              "lumetra-cli: cannot write to standard output: No space left on device\n");
  }
}

TEST_F(CliSaveTest, AFileSizeLimitFailsTheSaveAndKeepsTheTarget) {
  std::string many;
  for (int i = 1; i <= 300; ++i) {
    many += std::to_string(i) + "\r\n00:00:01,000 --> 00:00:02,000\r\nA line of text\r\n\r\n";
  }
  const std::string input = Write("many.txt", many);
  fs::create_directory(dir.File("out"));
  const std::string target = Write("out/out.srt", "old\r\n");
  RunResult result = Run({"convert", input, target}, {.shell_setup = "ulimit -f 4; "});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "lumetra-cli: cannot write " + target + ": File too large\n");
  EXPECT_EQ(ReadFile(target), "old\r\n");
  EXPECT_EQ(EntriesIn(dir.File("out")), std::vector<std::string>{"out.srt"});
}

}  // namespace
}  // namespace lumetra
