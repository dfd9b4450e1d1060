#include "settings/file_association.h"

#include <filesystem>
#include <iterator>
#include <system_error>
#include <vector>

#include "formats/file_io.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

constexpr const char* kMediaTypes[] = {kSubRipMediaType, kMicroDvdMediaType, kWebVttMediaType,
                                       kSsaMediaType};
constexpr std::size_t kMediaTypeCount = std::size(kMediaTypes);
constexpr char kDefaultGroup[] = "[Default Applications]";

std::string Trimmed(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const std::size_t last = s.find_last_not_of(" \t\r");
  return std::string(s.substr(first, last - first + 1));
}

// The program first, then the other handlers the line named, each once.
std::string HandlerList(std::string_view old_value) {
  std::string list = std::string(kDesktopFileName) + ";";
  std::size_t start = 0;
  while (start <= old_value.size()) {
    std::size_t end = old_value.find(';', start);
    if (end == std::string_view::npos) end = old_value.size();
    const std::string handler = Trimmed(old_value.substr(start, end - start));
    if (!handler.empty() && handler != kDesktopFileName &&
        list.find(";" + handler + ";") == std::string::npos) {
      list += handler + ";";
    }
    start = end + 1;
  }
  return list;
}

// "application/x-subrip;text/x-microdvd;...;", as a desktop entry lists them.
std::string MediaTypeList() {
  std::string list;
  for (const char* type : kMediaTypes) list += std::string(type) + ";";
  return list;
}

// The reason of a failed file operation for the user.
std::string Reason(const std::error_code& ec) { return ec ? ec.message() : std::string(); }

std::string Failure(const std::string& path, const std::string& reason) {
  return kAssociateError + path + (reason.empty() ? std::string() : "\r" + reason);
}

// Writes a file through a temporary copy, creating its directory first.
std::string WriteFile(const std::string& path, std::string_view bytes) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  if (ec) return Failure(path, Reason(ec));
  const FileStatus status = WriteFileReplacing(path, bytes);
  if (status.ok()) return {};
  return Failure(path, status.system_error != 0 ? SystemErrorText(status.system_error)
                                                : "the file could not be written");
}

}  // namespace

XdgDirs XdgDirs::FromEnvironment(const EnvironmentLookup& env) {
  auto absolute = [&](const char* name) {
    std::optional<std::string> value = env(name);
    return value && value->starts_with('/') ? *value : std::string();
  };
  const std::string home = absolute("HOME");
  XdgDirs dirs;
  dirs.data_home = absolute("XDG_DATA_HOME");
  if (dirs.data_home.empty() && !home.empty())
    dirs.data_home = WithBackslash(home) + ".local/share";
  dirs.config_home = absolute("XDG_CONFIG_HOME");
  if (dirs.config_home.empty() && !home.empty()) dirs.config_home = WithBackslash(home) + ".config";
  return dirs;
}

bool FitsDesktopEntry(std::string_view executable) {
  for (const char c : executable) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string DesktopEntryText(const std::string& executable) {
  // The path as one quoted argument of the command line, then written as a value of the
  // entry, where a backslash is doubled and a percent sign is not a field code.
  std::string quoted = "\"";
  for (const char c : executable) {
    if (c == '"' || c == '`' || c == '$') {
      quoted += "\\\\";  // the argument escapes it with a backslash, which the entry doubles
      quoted += c;
    } else if (c == '\\') {
      quoted += "\\\\\\\\";
    } else if (c == '%') {
      quoted += "%%";
    } else {
      quoted += c;
    }
  }
  quoted += '"';
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Lumetra\n"
         "GenericName=Subtitle Editor\n"
         "Comment=Subtitle modifier.\n"
         "Exec=" +
         quoted +
         " %f\n"
         "Icon=lumetra\n"
         "Terminal=false\n"
         "MimeType=" +
         MediaTypeList() +
         "\n"
         "Categories=AudioVideo;Video;AudioVideoEditing;\n";
}

std::string MimeAppsWithDefaults(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }

  // The default-handler group, up to the next group.
  std::ptrdiff_t group = -1;
  std::size_t group_end = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = Trimmed(lines[i]);
    if (!line.starts_with('[')) continue;
    if (group >= 0) {
      group_end = i;
      break;
    }
    if (line == kDefaultGroup) group = static_cast<std::ptrdiff_t>(i);
  }

  bool present[kMediaTypeCount] = {};
  std::size_t insert_at = lines.size();
  if (group >= 0) {
    insert_at = static_cast<std::size_t>(group) + 1;
    for (std::size_t i = insert_at; i < group_end; ++i) {
      const std::size_t eq = lines[i].find('=');
      if (!Trimmed(lines[i]).empty()) insert_at = i + 1;
      if (eq == std::string::npos) continue;
      const std::string key = Trimmed(std::string_view(lines[i]).substr(0, eq));
      for (std::size_t k = 0; k < kMediaTypeCount; ++k) {
        if (key != kMediaTypes[k]) continue;
        lines[i] = key + "=" + HandlerList(std::string_view(lines[i]).substr(eq + 1));
        present[k] = true;
      }
    }
  } else {
    if (!lines.empty() && !Trimmed(lines.back()).empty()) lines.emplace_back();
    lines.emplace_back(kDefaultGroup);
    insert_at = lines.size();
  }
  std::vector<std::string> added;
  for (std::size_t k = 0; k < kMediaTypeCount; ++k) {
    if (!present[k]) added.push_back(std::string(kMediaTypes[k]) + "=" + HandlerList(""));
  }
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert_at), added.begin(), added.end());

  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

std::string DesktopAssociation::DesktopFilePath() const {
  return WithBackslash(dirs_.data_home) + "applications" + PathSeparator() + kDesktopFileName;
}

std::string DesktopAssociation::MimeAppsPath() const {
  return WithBackslash(dirs_.config_home) + "mimeapps.list";
}

std::string DesktopAssociation::Associate(const std::string& executable) {
  if (dirs_.data_home.empty() || dirs_.config_home.empty()) {
    return Failure("~/.local/share/applications", "the home directory is not known");
  }
  const std::string desktop = DesktopFilePath();
  if (!FitsDesktopEntry(executable)) {
    return Failure(desktop, "the program's path holds characters a desktop entry cannot name");
  }
  if (std::string error = WriteFile(desktop, DesktopEntryText(executable)); !error.empty()) {
    return error;
  }

  const std::string mimeapps = MimeAppsPath();
  std::string text;
  std::error_code ec;
  if (std::filesystem::exists(mimeapps, ec)) {
    // A list that cannot be read is not replaced: the user's other handlers would be lost.
    // Nor is a pipe or a device read: it might never end.
    int os_error = NotRegularFileError(mimeapps);
    FileStatus read{FileError::kOpen, 0};
    if (os_error == 0 && std::filesystem::is_regular_file(mimeapps, ec)) {
      read = ReadWholeFile(mimeapps, text);
      os_error = read.system_error;
    }
    if (!read.ok()) {
      return Failure(mimeapps,
                     os_error != 0 ? SystemErrorText(os_error) : "it is not a regular file");
    }
  }
  return WriteFile(mimeapps, MimeAppsWithDefaults(text));
}

}  // namespace lumetra
