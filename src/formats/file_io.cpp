#include "formats/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <vector>

#include "document/document.h"
#include "formats/subtitle_io.h"
#include "foundation/utf16.h"

namespace lumetra {

namespace {

constexpr std::size_t kChunkBytes = 65536;

// Closes a descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Hands the descriptor over to a caller that closes it.
  int Release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

FileStatus Failed(FileError error) { return {error, errno}; }

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path a write really replaces: a symbolic link is followed (through a chain of them)
// to the file it names, which need not exist yet.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) return path;
    std::string next(target.data(), static_cast<std::size_t>(length));
    if (!next.starts_with('/')) next = DirectoryOf(path) + "/" + next;
    path = std::move(next);
  }
  return path;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

FileStatus WriteAll(const WriteCalls& calls, int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = calls.write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Failed(FileError::kWrite);
    }
    if (written == 0) return {FileError::kWrite, ENOSPC};
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

// Writes what a source makes to a descriptor: counts the bytes, and after the first
// failure writes nothing more and keeps that failure.
FileStatus WriteSource(const WriteCalls& calls, int fd, const ByteSource& source,
                       std::uintmax_t& size) {
  FileStatus status;
  size = 0;
  source([&](std::string_view piece) {
    if (!status.ok()) return;
    status = WriteAll(calls, fd, piece);
    size += piece.size();
  });
  return status;
}

// Writes the whole content (`size` bytes, when known) into an open file from its start,
// cuts it there and flushes it; closes the descriptor in every case.
FileStatus WriteInPlace(Descriptor& fd, const ByteSource& source, std::uintmax_t size,
                        bool regular, const WriteCalls& calls) {
#ifdef FALLOC_FL_KEEP_SIZE
  // Room for a longer content first, so that a full disk is found before a byte changes.
  if (regular && size > 0 &&
      ::fallocate(fd.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 &&
      errno == ENOSPC) {
    return Failed(FileError::kWrite);
  }
#endif
  if (FileStatus status = WriteSource(calls, fd.get(), source, size); !status.ok()) {
    return status;
  }
  if (regular && (::ftruncate(fd.get(), static_cast<off_t>(size)) != 0 ||
                  calls.fsync(fd.get()) != 0)) {
    return Failed(FileError::kWrite);
  }
  if (calls.close(fd.Release()) != 0) return Failed(FileError::kWrite);
  return {};
}

// Makes a rename in the directory durable. A directory that cannot be opened or does not
// support flushing is left as it is.
FileStatus SyncDirectory(const std::string& dir, const WriteCalls& calls) {
  Descriptor fd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd.get() < 0) return {};
  if (calls.fsync(fd.get()) != 0 && errno != EINVAL) return Failed(FileError::kWrite);
  return {};
}

// --- The temporary file of the save in progress, for the signal handler. ---
// A handler may only touch async-signal-safe state: a fixed buffer and a flag.
char g_pending_temp[PATH_MAX];
volatile std::sig_atomic_t g_pending_temp_set = 0;
constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

void SetPendingTemp(const std::string& path) {
  if (path.size() >= sizeof g_pending_temp) return;
  std::memcpy(g_pending_temp, path.c_str(), path.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_pending_temp_set = 1;
}

void ClearPendingTemp() {
  g_pending_temp_set = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
}

extern "C" void RemovePendingTempAndEnd(int signal_number) {
  if (g_pending_temp_set) ::unlink(g_pending_temp);
  ::signal(signal_number, SIG_DFL);
  ::raise(signal_number);  // delivered when the handler returns: the default action
}

// Holds back the cleanup signals while a temporary file is created and recorded.
class CleanupSignalsBlocked {
 public:
  CleanupSignalsBlocked() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kCleanupSignals) sigaddset(&set, s);
    pthread_sigmask(SIG_BLOCK, &set, &old_);
  }
  ~CleanupSignalsBlocked() { pthread_sigmask(SIG_SETMASK, &old_, nullptr); }
  CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
  CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;

 private:
  sigset_t old_;
};

// --- Reading ---

// Refuses an open file larger than the limit.
FileStatus CheckSize(int fd, std::uintmax_t limit, std::uintmax_t& size) {
  struct stat st;
  size = 0;
  if (::fstat(fd, &st) != 0) return Failed(FileError::kRead);
  if (S_ISREG(st.st_mode) && st.st_size > 0) size = static_cast<std::uintmax_t>(st.st_size);
  if (size > limit) return {FileError::kTooLarge, EFBIG};
  return {};
}

// Appends up to `want` bytes, read straight into the string's own memory; at_end tells
// that the file has ended.
FileStatus ReadChunk(int fd, std::string& out, std::size_t want, bool& at_end) {
  const std::size_t had = out.size();
  out.resize(had + want);
  for (;;) {
    const ssize_t got = ::read(fd, out.data() + had, want);
    if (got < 0 && errno == EINTR) continue;
    out.resize(had + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    if (got < 0) return Failed(FileError::kRead);
    at_end = got == 0;
    return {};
  }
}

// Reads to the end, appending: into the room reserved for the file's size while there is
// some, then a chunk at a time; refuses more than the limit (a file that grows meanwhile).
FileStatus ReadRest(int fd, std::string& out, std::uintmax_t limit) {
  for (bool at_end = false; !at_end;) {
    const std::size_t room = out.capacity() - out.size();
    if (FileStatus status = ReadChunk(fd, out, room > 0 ? room : kChunkBytes, at_end);
        !status.ok()) {
      return status;
    }
    if (out.size() > limit) return {FileError::kTooLarge, EFBIG};
  }
  return {};
}

// Whether the first bytes of a file hold its first non-blank line whole: the line that
// decides the kind.
bool HoldsFirstLine(std::string_view head) {
  const FileText file(head);
  const std::string_view text = WithoutByteOrderMark(file.text());
  const std::size_t first = text.find_first_not_of(" \r\n");
  return first != text.npos && text.find_first_of("\r\n", first) != text.npos;
}

}  // namespace

std::string SystemErrorText(int os_error) { return std::strerror(os_error); }

int NotRegularFileError(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  return 0;
}

WriteCalls WriteCalls::System() { return {::write, ::fsync, ::close}; }

FileStatus ReadWholeFile(const std::string& path, std::string& out, std::uintmax_t limit) {
  out.clear();
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Failed(FileError::kOpen);
  std::uintmax_t size;
  FileStatus status = CheckSize(fd.get(), limit, size);
  if (status.ok()) {
    // One byte more than the size, where reading finds the end.
    out.reserve(static_cast<std::size_t>(size) + 1);
    status = ReadRest(fd.get(), out, limit);
  }
  if (!status.ok()) out.clear();
  return status;
}

FileStatus ReadSubtitleFile(const std::string& path, int& kind, std::string& out) {
  kind = kKindUnknown;
  out.clear();
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Failed(FileError::kOpen);
  std::uintmax_t size;
  FileStatus status = CheckSize(fd.get(), kMaxSubtitleFileBytes, size);
  // The whole file goes into one buffer, read into once; one byte more than the size is
  // where reading finds the end.
  if (status.ok()) out.reserve(static_cast<std::size_t>(size) + 1);
  // The first lines: read until the first non-blank line is whole, looked for after each
  // doubling of what was read.
  bool at_end = false;
  for (std::size_t look_at = kChunkBytes; status.ok() && !at_end;) {
    status = ReadChunk(fd.get(), out, kChunkBytes, at_end);
    if (out.size() > kMaxSubtitleFileBytes) status = {FileError::kTooLarge, EFBIG};
    if (out.size() >= look_at) {
      if (HoldsFirstLine(out)) break;
      look_at *= 2;
    }
  }
  if (status.ok()) kind = DetectSubtitleKind(out);
  if (status.ok() && kind != kKindUnknown && !at_end) {
    status = ReadRest(fd.get(), out, kMaxSubtitleFileBytes);
  }
  if (!status.ok()) {
    kind = kKindUnknown;
    out.clear();
  }
  return status;
}

void MappedFile::Release() {
  if (mapped_) ::munmap(const_cast<char*>(mapped_), size_);
  mapped_ = nullptr;
  size_ = 0;
  read_.clear();
}

FileStatus MapSubtitleFile(const std::string& path, int& kind, MappedFile& out) {
  out.Release();
  kind = kKindUnknown;
  {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) return Failed(FileError::kOpen);
    std::uintmax_t size;
    if (FileStatus status = CheckSize(fd.get(), kMaxSubtitleFileBytes, size); !status.ok()) {
      return status;
    }
    if (size > 0) {
      void* mapped =
          ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
      if (mapped != MAP_FAILED) {
        out.mapped_ = static_cast<const char*>(mapped);
        out.size_ = static_cast<std::size_t>(size);
      }
    }
  }
  if (!out.mapped_) return ReadSubtitleFile(path, kind, out.read_);
  kind = DetectSubtitleKind(out.bytes());
  return {};
}

FileStatus WriteFileReplacing(const std::string& path, std::string_view bytes,
                              const WriteCalls& calls) {
  return WriteFileReplacing(
      path, [bytes](const std::function<void(std::string_view)>& put) { put(bytes); }, calls);
}

FileStatus WriteFileReplacing(const std::string& path, const ByteSource& source,
                              const WriteCalls& calls) {
  // The target opened as a shell redirection would open it, but without truncating it: a
  // file the user may not write, a directory or a loop of links is refused here.
  Descriptor existing(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  struct stat target_st {};
  if (existing.get() < 0) {
    if (errno != ENOENT) return Failed(FileError::kCreate);
  } else if (::fstat(existing.get(), &target_st) != 0) {
    return Failed(FileError::kCreate);
  } else if (!S_ISREG(target_st.st_mode)) {
    // A device or a pipe: nothing to replace, it is written as it is.
    ::fcntl(existing.get(), F_SETFL, ::fcntl(existing.get(), F_GETFL) & ~O_NONBLOCK);
    return WriteInPlace(existing, source, 0, /*regular=*/false, calls);
  }
  const bool exists = existing.get() >= 0;

  // A hidden name beside the target; a long name is shortened to stay within name limits.
  const std::string target = FollowLinks(path);
  std::string temp = DirectoryOf(target) + "/." + NameOf(target).substr(0, 200) + ".XXXXXX";
  int temp_fd;
  int create_error;
  {
    CleanupSignalsBlocked blocked;
    temp_fd = ::mkstemp(temp.data());
    create_error = errno;
    if (temp_fd >= 0) SetPendingTemp(temp);
  }
  if (temp_fd < 0) return {FileError::kCreate, create_error};
  Descriptor fd(temp_fd);
  auto fail = [&](FileStatus status) {
    ::unlink(temp.c_str());
    ClearPendingTemp();
    return status;
  };

  // An existing file keeps its permissions and owner; a new one gets what creating it
  // directly would have given.
  bool in_place = false;
  if (exists) {
    in_place = target_st.st_nlink > 1;
    struct stat temp_st;
    if (::fstat(fd.get(), &temp_st) == 0 &&
        (temp_st.st_uid != target_st.st_uid || temp_st.st_gid != target_st.st_gid) &&
        ::fchown(fd.get(), target_st.st_uid, target_st.st_gid) != 0) {
      in_place = true;
    }
    ::fchmod(fd.get(), target_st.st_mode & 07777);
  } else {
    ::fchmod(fd.get(), 0666 & ~CurrentUmask());
  }

  std::uintmax_t size;
  if (FileStatus status = WriteSource(calls, fd.get(), source, size); !status.ok()) {
    return fail(status);
  }
  if (calls.fsync(fd.get()) != 0) return fail(Failed(FileError::kWrite));
  if (calls.close(fd.Release()) != 0) return fail(Failed(FileError::kWrite));

  if (in_place) {
    const FileStatus status = WriteInPlace(existing, source, size, /*regular=*/true, calls);
    ::unlink(temp.c_str());
    ClearPendingTemp();
    return status;
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(Failed(FileError::kCreate));
  ClearPendingTemp();
  return SyncDirectory(DirectoryOf(target), calls);
}

void HandleSignalsDuringSaves() {
  ::signal(SIGXFSZ, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = RemovePendingTempAndEnd;
  sigemptyset(&action.sa_mask);
  for (int s : kCleanupSignals) {
    struct sigaction old {};
    // A signal the program was started to ignore (nohup) stays ignored.
    if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &action, nullptr);
  }
}

}  // namespace lumetra
