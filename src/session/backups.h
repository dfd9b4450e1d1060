// Backups of files that a save replaces: before the first save of a run overwrites a file,
// its previous version is copied into the program's state directory, and only the last
// versions of each file name are kept.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "formats/file_io.h"

namespace lumetra {

inline constexpr int kBackupsKept = 10;

// Copies the file at `path` as it is now to backup_dir/NAME/YYYYMMDD-HHMMSS-NN.EXT (NAME
// the file's name, EXT its extension, `now` the local time, NN counting backups made in
// the same second), then removes the oldest backups of NAME beyond `keep`.
FileStatus BackUpFile(const std::string& path, const std::string& backup_dir, const std::tm& now,
                      int keep = kBackupsKept);

// The backups of a file name, full paths, oldest first.
std::vector<std::string> BackupsOf(const std::string& name, const std::string& backup_dir);

}  // namespace lumetra
