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

// Reads the whole file into `out`.
FileError ReadWholeFile(const std::string& path, std::string& out);

// Writes `bytes` to a temporary file in the target's directory and renames it over the
// target only when every byte was written, so a failed save never destroys the previous
// file. A symbolic link as target is followed; an existing target keeps its permissions.
FileError WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace lumetra
