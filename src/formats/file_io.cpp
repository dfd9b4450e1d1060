#include "formats/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace lumetra {

namespace {

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
  // Closes now; false when closing reports an error (a late write failure).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

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

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;  // nothing more was taken
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

FileError ReadWholeFile(const std::string& path, std::string& out, int* os_error) {
  out.clear();
  auto fail = [&](FileError error) {
    if (os_error != nullptr) *os_error = errno;
    return error;
  };
  Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return fail(FileError::kOpen);
  struct stat st;
  if (::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
    out.reserve(static_cast<std::size_t>(st.st_size));
  }
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      out.clear();
      return fail(FileError::kRead);
    }
    if (got == 0) break;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  return FileError::kNone;
}

FileError WriteFileReplacing(const std::string& path, std::string_view bytes, int* os_error) {
  const std::string target = FollowLinks(path);
  // A hidden name beside the target; a long name is shortened to stay within name limits.
  std::string temp = DirectoryOf(target) + "/." + NameOf(target).substr(0, 200) + ".XXXXXX";
  Descriptor fd(::mkstemp(temp.data()));
  if (fd.get() < 0) {
    if (os_error != nullptr) *os_error = errno;
    return FileError::kCreate;
  }
  auto fail = [&](FileError error) {
    if (os_error != nullptr) *os_error = errno;
    if (fd.get() >= 0) fd.Close();
    ::unlink(temp.c_str());
    return error;
  };

  // An existing file keeps its permission bits (and, where allowed, its owner); a new one
  // gets what creating it directly would have given.
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
    if (::fchown(fd.get(), st.st_uid, st.st_gid) != 0) {
      // Not allowed for an unprivileged user; the file then belongs to the writer.
    }
    ::fchmod(fd.get(), st.st_mode & 07777);
  } else {
    ::fchmod(fd.get(), 0666 & ~CurrentUmask());
  }

  if (!WriteAll(fd.get(), bytes)) return fail(FileError::kWrite);
  if (!fd.Close()) return fail(FileError::kWrite);
  if (::rename(temp.c_str(), target.c_str()) != 0) return fail(FileError::kCreate);
  return FileError::kNone;
}

int NotRegularFileError(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  return 0;
}

std::string SystemErrorText(int os_error) { return std::strerror(os_error); }

}  // namespace lumetra
