// Reading subtitle files with a size bound, and saves that never lose data: the bytes go to
// a temporary file beside the target, reach the disk, and only then replace the target.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace lumetra {

// No subtitle comes near this size; larger files are refused before they are read.
inline constexpr std::uintmax_t kMaxSubtitleFileBytes = std::uintmax_t{256} << 20;

enum class FileError {
  kNone,
  kOpen,      // the file cannot be opened for reading
  kRead,      // reading it failed
  kTooLarge,  // larger than kMaxSubtitleFileBytes
  kCreate,    // the target cannot be written in place, or its temporary file not created
              // or renamed over it
  kWrite,     // writing, flushing or closing failed (a full disk, an input/output error)
};

// What became of a file operation, with the system's error number of the failing call.
struct FileStatus {
  FileError error = FileError::kNone;
  int system_error = 0;

  bool ok() const { return error == FileError::kNone; }
  friend bool operator==(const FileStatus& status, FileError error) {
    return status.error == error;
  }
};

// The system's wording of an error number ("No such file or directory").
std::string SystemErrorText(int os_error);

// Why a path is no regular file to read, as a system error number: what looking it up
// gives (ENOENT, EACCES, ...), EISDIR for a directory, 0 for a regular file and for other
// kinds of file (devices, pipes), which have no such number.
int NotRegularFileError(const std::string& path);

// Reads the whole file into `out`; refuses a file larger than `limit` bytes.
FileStatus ReadWholeFile(const std::string& path, std::string& out,
                         std::uintmax_t limit = kMaxSubtitleFileBytes);

// Reads a subtitle file: refuses it when it is larger than kMaxSubtitleFileBytes, finds its
// kind (FileKinds) from its first non-blank line and reads the rest only when the kind is
// known. An unknown kind leaves `out` holding no more than the first lines.
FileStatus ReadSubtitleFile(const std::string& path, int& kind, std::string& out);

// The bytes of a subtitle file mapped into memory, read-only, for as long as this lives:
// nothing is copied. Another program that cuts the file short meanwhile makes reading the
// lost part raise SIGBUS, so only a program that handles that signal maps its files.
class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  ~MappedFile() { Release(); }
  std::string_view bytes() const { return mapped_ ? std::string_view(mapped_, size_) : read_; }
  void Release();

 private:
  friend FileStatus MapSubtitleFile(const std::string& path, int& kind, MappedFile& out);
  const char* mapped_ = nullptr;
  std::size_t size_ = 0;
  std::string read_;  // a file that cannot be mapped (an empty one, a device) is read
};

// ReadSubtitleFile into a mapping of the file.
FileStatus MapSubtitleFile(const std::string& path, int& kind, MappedFile& out);

// The calls a save makes on its file descriptors. Tests replace them to make writing,
// flushing or closing fail.
struct WriteCalls {
  std::function<ssize_t(int, const void*, std::size_t)> write;
  std::function<int(int)> fsync;
  std::function<int(int)> close;
  static WriteCalls System();
};

// Saves `bytes` as the file `path`, the way a shell redirection would write it but without
// ever leaving a damaged or empty file behind:
// - an existing target that the user could not open for writing is refused (a read-only
//   file, another user's file, a directory, a loop of symbolic links), nothing is written;
// - the bytes go to a hidden temporary file beside the target and are flushed to the disk;
//   then the temporary file replaces the target and the directory is flushed too;
// - a symbolic link is followed and stays; an existing file keeps its permissions and its
//   owner; a new file gets the permissions the umask allows;
// - a file with several hard links, or one whose owner the new file could not keep, is
//   written in place after the complete temporary copy succeeded, so its links and owner
//   stay; a target that is no regular file (a device) is written directly.
// A failure leaves the target as it was and no temporary file behind.
FileStatus WriteFileReplacing(const std::string& path, std::string_view bytes,
                              const WriteCalls& calls = WriteCalls::System());
// The same with bytes that `source` makes and hands, piece after piece, to the function it
// is given; nothing holds them whole. A file written in place is made twice, so the source
// must give the same bytes each time.
using ByteSource = std::function<void(const std::function<void(std::string_view)>& put)>;
FileStatus WriteFileReplacing(const std::string& path, const ByteSource& source,
                              const WriteCalls& calls = WriteCalls::System());

// For programs that save: the file-size signal is ignored so that writing past a size limit
// fails like any other write, and an interrupt, hang-up or termination signal removes the
// temporary file of a save in progress before the program ends as the signal asks.
void HandleSignalsDuringSaves();

}  // namespace lumetra
