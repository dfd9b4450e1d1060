// Whole-file reading and safe replacing writes.
#pragma once

#include <string>
#include <string_view>

namespace lumetra {

enum class FileError {
  kNone,
  kOpen,    // the file cannot be opened for reading
  kRead,    // reading it failed
  kCreate,  // the target (or its temporary file beside it) cannot be created or replaced
  kWrite,   // writing the bytes failed (a full disk, an input/output error)
};

// Reads the whole file into `out`. On failure, *os_error (when given) receives the
// system's error number.
FileError ReadWholeFile(const std::string& path, std::string& out, int* os_error = nullptr);

// Writes `bytes` to a temporary file in the target's directory and renames it over the
// target only when every byte was written, so a failed save never destroys the previous
// file. A symbolic link as target is followed; an existing target keeps its permissions.
// On failure, *os_error (when given) receives the system's error number.
FileError WriteFileReplacing(const std::string& path, std::string_view bytes,
                             int* os_error = nullptr);

// Why a path is no regular file to read, as a system error number: what looking it up
// gives (ENOENT, EACCES, ...), EISDIR for a directory, 0 for a regular file and for other
// kinds of file (devices, pipes), which have no such number.
int NotRegularFileError(const std::string& path);
// The system's wording of an error number ("No such file or directory").
std::string SystemErrorText(int os_error);

}  // namespace lumetra
