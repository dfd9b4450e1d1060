#include "formats/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace lumetra {
namespace {

namespace fs = std::filesystem;

class FileIo : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("lumetra-file-io-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string PathOf(const std::string& name) const { return (dir_ / name).string(); }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string Get(const std::string& name) const {
    std::string bytes;
    EXPECT_EQ(ReadWholeFile(PathOf(name), bytes), FileError::kNone);
    return bytes;
  }
  int EntriesIn(const fs::path& dir) const {
    return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
  }

  fs::path dir_;
};

TEST_F(FileIo, ReadsEveryByte) {
  const std::string bytes("a\0b\r\n\xFF", 6);
  Put("f", bytes);
  EXPECT_EQ(Get("f"), bytes);
  Put("empty", "");
  EXPECT_EQ(Get("empty"), "");
}

TEST_F(FileIo, ReadFailures) {
  std::string out = "old";
  EXPECT_EQ(ReadWholeFile(PathOf("missing"), out), FileError::kOpen);
  fs::create_directory(dir_ / "sub");
  EXPECT_EQ(ReadWholeFile(PathOf("sub"), out), FileError::kRead);
}

TEST_F(FileIo, ReplacesAFileAndKeepsItsPermissions) {
  Put("a.srt", "old content that is longer");
  ::chmod(PathOf("a.srt").c_str(), 0640);
  EXPECT_EQ(WriteFileReplacing(PathOf("a.srt"), "new"), FileError::kNone);
  EXPECT_EQ(Get("a.srt"), "new");
  struct stat st;
  ASSERT_EQ(::stat(PathOf("a.srt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(EntriesIn(dir_), 1);  // no temporary file left

  EXPECT_EQ(WriteFileReplacing(PathOf("new.txt"), ""), FileError::kNone);
  EXPECT_EQ(Get("new.txt"), "");
}

TEST_F(FileIo, WritesThroughASymbolicLink) {
  fs::create_directory(dir_ / "real");
  Put("real/target.srt", "old");
  fs::create_symlink("real/target.srt", dir_ / "link.srt");
  EXPECT_EQ(WriteFileReplacing(PathOf("link.srt"), "new"), FileError::kNone);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.srt"));
  EXPECT_EQ(Get("real/target.srt"), "new");
  EXPECT_EQ(EntriesIn(dir_ / "real"), 1);
}

TEST_F(FileIo, AFailedWriteLeavesEverythingAsItWas) {
  EXPECT_EQ(WriteFileReplacing(PathOf("no/such/dir/a.srt"), "x"), FileError::kCreate);

  // A target that is a directory with content cannot be replaced.
  fs::create_directory(dir_ / "busy.srt");
  Put("busy.srt/inside", "keep");
  Put("other.srt", "keep too");
  EXPECT_EQ(WriteFileReplacing(PathOf("busy.srt"), "x"), FileError::kCreate);
  EXPECT_EQ(Get("busy.srt/inside"), "keep");
  EXPECT_EQ(Get("other.srt"), "keep too");
  EXPECT_EQ(EntriesIn(dir_), 2);
}

}  // namespace
}  // namespace lumetra
