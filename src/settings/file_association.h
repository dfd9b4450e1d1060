// Making the program the desktop's handler of .srt, .sub, .vtt, .ass and .ssa files.
#pragma once

#include <string>
#include <string_view>

#include "settings/configuration.h"

namespace lumetra {

inline constexpr char kDesktopFileName[] = "lumetra.desktop";
// The media types of the extensions: .srt, .sub, .vtt, and .ass and .ssa (one type).
inline constexpr char kSubRipMediaType[] = "application/x-subrip";
inline constexpr char kMicroDvdMediaType[] = "text/x-microdvd";
inline constexpr char kWebVttMediaType[] = "text/vtt";
inline constexpr char kSsaMediaType[] = "text/x-ssa";
// Followed by the file concerned and the reason.
inline constexpr char kAssociateError[] =
    "Can't associate .srt, .sub, .vtt, .ass and .ssa files with Lumetra:\r\r";

class FileAssociation {
 public:
  virtual ~FileAssociation() = default;
  // Registers `executable` (an absolute path) as the program that opens .srt, .sub, .vtt,
  // .ass and .ssa files. Returns the empty text on success, else the message that tells what
  // failed. Doing it again gives the same result.
  virtual std::string Associate(const std::string& executable) = 0;
};

// One user's freedesktop base directories.
struct XdgDirs {
  std::string data_home;    // $XDG_DATA_HOME, else ~/.local/share
  std::string config_home;  // $XDG_CONFIG_HOME, else ~/.config
  // Variables that are unset or not absolute paths fall back to the home directory.
  static XdgDirs FromEnvironment(const EnvironmentLookup& env);
};

// The desktop entry that starts `executable` with the file to open.
std::string DesktopEntryText(const std::string& executable);
// A desktop entry cannot start a program whose path holds control characters.
bool FitsDesktopEntry(std::string_view executable);

// mimeapps.list with lumetra.desktop as the first default handler of each media type
// (other handlers named on the same line stay after it). Every other line stays as it
// was; applying it twice gives the same text.
std::string MimeAppsWithDefaults(std::string_view text);

// Writes data_home/applications/lumetra.desktop and sets the default handlers in
// config_home/mimeapps.list, creating directories as needed.
class DesktopAssociation : public FileAssociation {
 public:
  explicit DesktopAssociation(XdgDirs dirs) : dirs_(std::move(dirs)) {}
  std::string Associate(const std::string& executable) override;

  std::string DesktopFilePath() const;
  std::string MimeAppsPath() const;

 private:
  XdgDirs dirs_;
};

}  // namespace lumetra
