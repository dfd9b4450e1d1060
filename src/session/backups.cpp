#include "session/backups.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

// The extension of a file name ("srt" of "movie.srt"); none for "movie" and ".hidden".
std::string ExtensionOf(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1);
}

}  // namespace

std::vector<std::string> BackupsOf(const std::string& name, const std::string& backup_dir) {
  std::vector<std::string> paths;
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::path(backup_dir) / name;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    if (entry.is_regular_file(ec)) paths.push_back(entry.path().string());
  }
  // The names begin with the time, fixed width: their order is the order they were made.
  std::sort(paths.begin(), paths.end());
  return paths;
}

FileStatus BackUpFile(const std::string& path, const std::string& backup_dir, const std::tm& now,
                      int keep) {
  std::string bytes;
  if (FileStatus status = ReadWholeFile(path, bytes); !status.ok()) return status;
  const std::string name = NameOfPath(path);
  const std::filesystem::path dir = std::filesystem::path(backup_dir) / name;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.tm_year + 1900,
                now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
  const std::string ext = ExtensionOf(name);
  std::string target;
  for (int n = 0; n < 100; ++n) {
    char count[8];
    std::snprintf(count, sizeof count, "-%02d", n);
    target = (dir / (stamp + std::string(count) + (ext.empty() ? "" : "." + ext))).string();
    if (!std::filesystem::exists(target, ec)) break;
  }
  if (FileStatus status = WriteFileReplacing(target, bytes); !status.ok()) return status;
  const std::vector<std::string> backups = BackupsOf(name, backup_dir);
  for (std::size_t i = 0; i + static_cast<std::size_t>(std::max(keep, 1)) < backups.size(); ++i) {
    std::filesystem::remove(backups[i], ec);
  }
  return {};
}

}  // namespace lumetra
