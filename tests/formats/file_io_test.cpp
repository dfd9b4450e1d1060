#include "formats/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <functional>
#include <string_view>

#include "document/document.h"
#include "test_support.h"

namespace lumetra {
namespace {

namespace fs = std::filesystem;
using testing::EntriesIn;
using testing::ReadFile;
using testing::WriteFile;

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(FileIo, ReadsEveryByteUpToTheLimit) {
  testing::TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  WriteFile(dir.File("f"), bytes);
  std::string out = "old";
  EXPECT_EQ(ReadWholeFile(dir.File("f"), out), FileError::kNone);
  EXPECT_EQ(out, bytes);
  EXPECT_EQ(ReadWholeFile(dir.File("f"), out, 5), FileError::kTooLarge);
  EXPECT_EQ(out, "");
  EXPECT_EQ(ReadWholeFile(dir.File("missing"), out).system_error, ENOENT);
}

TEST(FileIo, SubtitleFilesAreJudgedBeforeTheyAreReadWhole) {
  testing::TempDir dir;
  // An unknown kind is told from the first lines; the rest is never read.
  WriteFile(dir.File("odd.txt"), "hello\r\n" + std::string(1 << 20, '\0'));
  int kind = -1;
  std::string out;
  EXPECT_EQ(ReadSubtitleFile(dir.File("odd.txt"), kind, out), FileError::kNone);
  EXPECT_EQ(kind, kKindUnknown);
  EXPECT_LE(out.size(), 65536u);
  // Blank lines beyond the first chunk are read past; a known kind reads everything.
  const std::string blank = "\xEF\xBB\xBF  \r\n" + std::string(100000, '\n');
  WriteFile(dir.File("late.sub"), blank + "\xEF\xBB\xBF{1}{2}x\r\n");
  EXPECT_EQ(ReadSubtitleFile(dir.File("late.sub"), kind, out), FileError::kNone);
  EXPECT_EQ(kind, kKindUnknown);  // a byte-order mark only counts at the very start
  WriteFile(dir.File("late.sub"), blank + "{1}{2}x\r\n" + std::string(70000, 'y'));
  EXPECT_EQ(ReadSubtitleFile(dir.File("late.sub"), kind, out), FileError::kNone);
  EXPECT_EQ(kind, kKindSub);
  EXPECT_EQ(out.size(), fs::file_size(dir.File("late.sub")));
  EXPECT_EQ(out.substr(out.size() - 3), "yyy");
  // A first line longer than what is read at first is read whole: its arrow decides.
  WriteFile(dir.File("long.txt"), std::string(70000, 'x') + " --> \r\nrest");
  EXPECT_EQ(ReadSubtitleFile(dir.File("long.txt"), kind, out), FileError::kNone);
  EXPECT_EQ(kind, kKindSubRip);
}

TEST(FileIo, AMappedSubtitleFileHoldsWhatReadingGives) {
  testing::TempDir dir;
  WriteFile(dir.File("a.txt"), "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n");
  WriteFile(dir.File("odd.txt"), "hello\r\n");
  WriteFile(dir.File("empty.txt"), "");
  for (const char* name : {"a.txt", "odd.txt", "empty.txt"}) {
    int read_kind = -1;
    int mapped_kind = -1;
    std::string read;
    MappedFile mapped;
    EXPECT_EQ(ReadSubtitleFile(dir.File(name), read_kind, read), FileError::kNone);
    EXPECT_EQ(MapSubtitleFile(dir.File(name), mapped_kind, mapped), FileError::kNone);
    EXPECT_EQ(mapped_kind, read_kind) << name;
    EXPECT_EQ(mapped.bytes().substr(0, read.size()), read) << name;
  }
  int kind;
  MappedFile mapped;
  EXPECT_EQ(MapSubtitleFile(dir.File("missing"), kind, mapped).system_error, ENOENT);
  EXPECT_EQ(MapSubtitleFile(dir.path(), kind, mapped).error, FileError::kRead);
}

TEST(FileIo, ReplacesContentKeepingPermissionsAndLinks) {
  testing::TempDir dir;
  WriteFile(dir.File("a.srt"), "old content that is longer");
  ::chmod(dir.File("a.srt").c_str(), 0640);
  EXPECT_EQ(WriteFileReplacing(dir.File("a.srt"), "new"), FileError::kNone);
  EXPECT_EQ(ReadFile(dir.File("a.srt")), "new");
  EXPECT_EQ(ModeOf(dir.File("a.srt")), 0640u);

  fs::create_symlink("a.srt", dir.File("link.srt"));
  EXPECT_EQ(WriteFileReplacing(dir.File("link.srt"), "via link"), FileError::kNone);
  EXPECT_TRUE(fs::is_symlink(dir.File("link.srt")));
  EXPECT_EQ(ReadFile(dir.File("a.srt")), "via link");

  EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"a.srt", "link.srt"}));
}

// System calls that fail at a chosen point, the way a full disk or a failing device does.
struct FailingCalls {
  int fail_write_at_byte = -1;  // the write that would pass this byte fails (ENOSPC)
  int fail_fsync_call = -1;     // 1: the first flush fails (EIO)
  bool fail_close = false;      // closing reports a late write error (EIO)
  int written = 0;
  int fsyncs = 0;

  WriteCalls Calls() {
    WriteCalls calls = WriteCalls::System();
    calls.write = [this](int fd, const void* data, std::size_t size) -> ssize_t {
      if (fail_write_at_byte >= 0) {  // a short write first, then the failure
        size = std::min(size, static_cast<std::size_t>(fail_write_at_byte - written));
        if (size == 0) {
          errno = ENOSPC;
          return -1;
        }
      }
      const ssize_t done = ::write(fd, data, size);
      written += static_cast<int>(done);
      return done;
    };
    calls.fsync = [this](int fd) {
      if (++fsyncs == fail_fsync_call) {
        errno = EIO;
        return -1;
      }
      return ::fsync(fd);
    };
    calls.close = [this](int fd) {
      ::close(fd);
      if (!fail_close) return 0;
      errno = EIO;
      return -1;
    };
    return calls;
  }
};

// 10000 bytes made in pieces of 3000, as a writer hands them on.
void TenThousandBytes(const std::function<void(std::string_view)>& put) {
  const std::string piece(3000, 'n');
  for (int i = 0; i < 3; ++i) put(piece);
  put(std::string_view(piece).substr(0, 1000));
}

TEST(FileIo, BytesMadeInPiecesReplaceTheTargetOrAllItsLinks) {
  testing::TempDir dir;
  const std::string target = dir.File("t.srt");
  EXPECT_EQ(WriteFileReplacing(target, TenThousandBytes), FileError::kNone);
  EXPECT_EQ(ReadFile(target), std::string(10000, 'n'));
  // A file with a second link is written in place: the pieces are made a second time.
  fs::create_hard_link(target, dir.File("second.srt"));
  int made = 0;
  const auto counted = [&](const std::function<void(std::string_view)>& put) {
    ++made;
    put("new ");
    put("content");
  };
  EXPECT_EQ(WriteFileReplacing(target, counted), FileError::kNone);
  EXPECT_EQ(made, 2);
  EXPECT_EQ(ReadFile(dir.File("second.srt")), "new content");
  EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"second.srt", "t.srt"}));
}

TEST(FileIo, AFailedWriteFlushOrCloseLeavesTheTargetAsItWas) {
  const struct {
    const char* name;
    FailingCalls calls;
    int system_error;
  } kCases[] = {
      {"write fails at once", {.fail_write_at_byte = 0}, ENOSPC},
      {"write stops short, then fails", {.fail_write_at_byte = 4096}, ENOSPC},
      {"flushing the file fails", {.fail_fsync_call = 1}, EIO},
      {"closing the file fails", {.fail_close = true}, EIO},
  };
  enum Target { kNew, kExisting, kHardLinked };
  for (const Target kind : {kNew, kExisting, kHardLinked}) {
    for (auto c : kCases) {
      SCOPED_TRACE(std::string(c.name) + " (target " + std::to_string(kind) + ")");
      testing::TempDir dir;
      const std::string target = dir.File("t.srt");
      if (kind != kNew) WriteFile(target, "old\r\n");
      if (kind == kHardLinked) fs::create_hard_link(target, dir.File("second.srt"));
      const auto before = EntriesIn(dir.path());
      const FileStatus status = WriteFileReplacing(target, TenThousandBytes, c.calls.Calls());
      EXPECT_EQ(status.error, FileError::kWrite);
      EXPECT_EQ(status.system_error, c.system_error);
      EXPECT_EQ(EntriesIn(dir.path()), before);  // no temporary file left
      if (kind != kNew) {
        EXPECT_EQ(ReadFile(target), "old\r\n");
      }
    }
  }
}

TEST(FileIo, WritingInPlaceThatFailsIsReportedAndLeavesNoTemporaryFile) {
  testing::TempDir dir;
  WriteFile(dir.File("t.srt"), "old");
  fs::create_hard_link(dir.File("t.srt"), dir.File("second.srt"));
  FailingCalls failing{.fail_write_at_byte = 15000};  // the copy passes, writing in place not
  const FileStatus status =
      WriteFileReplacing(dir.File("t.srt"), std::string(10000, 'n'), failing.Calls());
  EXPECT_EQ(status.error, FileError::kWrite);
  EXPECT_EQ(EntriesIn(dir.path()), (std::vector<std::string>{"second.srt", "t.srt"}));
}

TEST(FileIo, TheFileReachesTheDiskBeforeTheRenameAndTheDirectoryAfter) {
  testing::TempDir dir;
  const std::string target = dir.File("t.srt");
  WriteFile(target, "old");
  std::vector<std::string> seen;  // per flush: what was flushed, and the target's content then
  WriteCalls calls = WriteCalls::System();
  calls.fsync = [&](int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    seen.push_back(std::string(S_ISDIR(st.st_mode) ? "directory" : "file") + " " +
                   ReadFile(target));
    return ::fsync(fd);
  };
  EXPECT_EQ(WriteFileReplacing(target, "new", calls), FileError::kNone);
  EXPECT_EQ(seen, (std::vector<std::string>{"file old", "directory new"}));
}

TEST(FileIoDeathTest, AnInterruptedSaveRemovesItsTemporaryFile) {
  // The forked child saves into the directory this test made and checks afterwards.
  GTEST_FLAG_SET(death_test_style, "fast");
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    testing::TempDir dir;
    const std::string target = dir.File("t.srt");
    WriteFile(target, "old");
    auto interrupted_save = [&] {
      HandleSignalsDuringSaves();
      WriteCalls calls = WriteCalls::System();
      calls.write = [&](int, const void*, std::size_t) -> ssize_t {
        std::raise(signal_number);
        return -1;
      };
      WriteFileReplacing(target, "new", calls);
    };
    EXPECT_EXIT(interrupted_save(), ::testing::KilledBySignal(signal_number), "");
    EXPECT_EQ(EntriesIn(dir.path()), std::vector<std::string>{"t.srt"});
    EXPECT_EQ(ReadFile(target), "old");
  }
}

}  // namespace
}  // namespace lumetra
