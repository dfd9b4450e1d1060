#include "formats/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_support.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

int EntriesIn(const fs::path& dir) {
  return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(FileIo, ReadsEveryByte) {
  testing::TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  WriteFile(dir.File("f"), bytes);
  std::string out = "old";
  EXPECT_EQ(ReadWholeFile(dir.File("f"), out), FileError::kNone);
  EXPECT_EQ(out, bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("missing"), out), FileError::kOpen);
}

TEST(FileIo, ReplacesContentKeepingPermissionsAndLinks) {
  testing::TempDir dir;
  WriteFile(dir.File("a.srt"), "old content that is longer");
  ::chmod(dir.File("a.srt").c_str(), 0640);
  EXPECT_EQ(WriteFileReplacing(dir.File("a.srt"), "new"), FileError::kNone);
  EXPECT_EQ(ReadFile(dir.File("a.srt")), "new");
  EXPECT_EQ(fs::status(dir.File("a.srt")).permissions(), fs::perms(0640));

  fs::create_symlink("a.srt", dir.File("link.srt"));
  EXPECT_EQ(WriteFileReplacing(dir.File("link.srt"), "via link"), FileError::kNone);
  EXPECT_TRUE(fs::is_symlink(dir.File("link.srt")));
  EXPECT_EQ(ReadFile(dir.File("a.srt")), "via link");
  EXPECT_EQ(EntriesIn(dir.path()), 2);  // no temporary file left
}

TEST(FileIo, AFailedWriteLeavesEverythingAsItWas) {
  testing::TempDir dir;
  EXPECT_EQ(WriteFileReplacing(dir.File("no/such/dir/a.srt"), "x"), FileError::kCreate);
  // A target that is a directory with content cannot be replaced.
  fs::create_directory(dir.File("busy.srt"));
  WriteFile(dir.File("busy.srt/inside"), "keep");
  EXPECT_EQ(WriteFileReplacing(dir.File("busy.srt"), "x"), FileError::kCreate);
  EXPECT_EQ(ReadFile(dir.File("busy.srt/inside")), "keep");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

}  // namespace
}  // namespace lumetra
