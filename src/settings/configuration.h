// The configuration file lumetra.cfg: the start-up options, the main window's geometry,
// the open dialog's directory, the editor options and the file history, kept between runs.
// The file is read once when the main window is created and written once when it closes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/quality_checks.h"
#include "formats/file_io.h"
#include "settings/file_history.h"

namespace lumetra {

inline constexpr char kConfigFileName[] = "lumetra.cfg";
// The longest autosave interval: a day.
inline constexpr int kMaxAutosaveSeconds = 86400;
// Followed by the full name of the file.
inline constexpr char kConfigWriteError[] = "Can't write to configuration file:\r\r";

// A rectangle in screen pixels.
struct ScreenRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// Every value of the configuration file besides the history, which the session's
// FileHistory holds. The initial values are those of a run without a file.
struct Configuration {
  // Restore the window's position and size at start-up.
  bool WinPosSav = false;
  // Remember the open dialog's directory.
  bool RemLastDir = true;
  // Open the latest subtitle at start-up.
  bool AutoLoad = false;
  // The file to auto-load, as read from the file.
  std::string LatestFile;
  // The main window's left, top, width and height: written as the window stands when it
  // closes; applied at start-up only when WinPosSav is set.
  ScreenRect Window;
  // The open dialog's initial directory.
  std::string LastDir;
  // The editor's alignment: 0 left, 1 centre, 2 right.
  int TextAlign = 1;
  // The editor's "Apply changes instantly" and "Auto focus" check boxes.
  bool InstantApply = false;
  bool AutoFocus = false;
  // Keyed values.
  // Open the film with the same base name beside a subtitle that is opened.
  bool AutoOpenFilm = true;
  // The film panel of the "Text" tab: beside the frame list (else above it), and its
  // width or height in pixels (0: the window decides).
  bool FilmBeside = false;
  int FilmPanelSize = 0;
  // "Follow film": while the film plays, its frame is focused in the frame list.
  bool FollowFilm = false;
  // "Write the frame rate into SUB files": a save that makes a document SUB starts it with
  // "{1}{1}RATE", which other programs read as the rate.
  bool WriteSubFrameRate = true;
  // "Autosave every N seconds" while there is unsaved work; 0 turns autosaves off.
  int AutosaveSeconds = 60;
  // Keep the previous version of a file before the first save of a run replaces it.
  bool Backups = true;
  // The spelling dictionary chosen last ("en_US"; empty for none), and whether words in
  // capitals are passed over.
  std::string SpellLanguage;
  bool SpellIgnoreCapitals = true;
  // The limits of the quality checks.
  CheckLimits Checks;

  friend bool operator==(const Configuration&, const Configuration&) = default;
};

// The file's bytes: the header, then one "Key = value" line for each value in a fixed
// order, CR LF line ends. LatestFile is history entry 1 when AutoLoad is set and LastDir
// is written only when RemLastDir is set. Before the history is written it is cleaned up:
// its count cut to MaxHistory, then the entries that are blank or not on one line dropped
// (FileHistory::Compact), so every entry written is a real path.
//
// After the fixed lines come keyed lines, "Key = value", in any order. The reader looks
// them up by key and skips the keys it does not know; files without them (those of older
// versions) read as before, and older versions stop reading before them. The attributes
// of history entry i are written there as "(i).Name = value" ("(1).CodePage =
// Windows-1251"). Values added to the file from now on belong there too, each under a
// key of its own (see ReadKeyedLine): "WriteSubFps = True" (WriteSubFrameRate),
// "Autosave = 60" (seconds, 0..kMaxAutosaveSeconds), "Backups = True". The spelling
// language, "IgnoreCapitals" and the limits of the quality checks ("MinGap", "MinLength",
// "MaxLength", "MaxCps", "MaxLineLength", "MaxLines") are written only where they are not
// the defaults.
std::string ConfigFileText(const Configuration& config, FileHistory& history);

// Reads the fixed lines in the order the writer writes them; their key names are not
// looked at. A line that is missing (the file ends early) leaves its value as it was.
// Booleans are true unless the value reads "false" in any letter case; MaxHistory is
// brought into 1..16 and HisNum into 1..MaxHistory. The history lines end early at a line
// that is no history line (which does not begin with "("): that line is read as the
// next value. A history entry that is blank or longer than a path can be is dropped, and
// the good entries after it move up. Then the keyed lines.
void ReadConfigText(std::string_view text, Configuration& config, FileHistory& history);

// One keyed line after the fixed ones: applies it and returns true when the key is known.
bool ReadKeyedLine(std::string_view key, std::string_view value, Configuration& config,
                   FileHistory& history);

// Reads the file at path. A file that is missing, not a regular file, unreadable or
// implausibly large leaves every value as it was; returns whether it was read.
bool LoadConfig(const std::string& path, Configuration& config, FileHistory& history);
// Writes the file through a temporary file that replaces it only when complete, creating
// its directory when missing. A failure carries the system's error number.
FileStatus SaveConfig(const std::string& path, const Configuration& config, FileHistory& history);
// The message for a failed SaveConfig: kConfigWriteError, the file's name and the
// system's reason on a line of its own.
std::string ConfigWriteErrorMessage(const std::string& path, const FileStatus& status);

// Where the configuration file lives. `program_dir` is the executable's directory; `env`
// looks up an environment variable (nothing when unset). Beside the executable when that
// directory is writable and is not one of the system's shared program directories (a
// portable copy); otherwise $XDG_CONFIG_HOME/lumetra/lumetra.cfg, with ~/.config when
// the variable is unset or not absolute. Empty when neither place can be named.
using EnvironmentLookup = std::function<std::optional<std::string>(const char*)>;
std::string ConfigFilePath(const std::string& program_dir, const EnvironmentLookup& env);
// The process's own environment.
std::optional<std::string> ProcessEnvironment(const char* name);

// What the window takes from the file at start-up.
//
// The saved window rectangle, when WinPosSav is set and the rectangle shows on at least
// one of the screens; a size larger than all screens together is cut down to theirs.
std::optional<ScreenRect> SavedWindowRect(const Configuration& config,
                                          const std::vector<ScreenRect>& screens);
// The open dialog's initial directory, when RemLastDir is set and the directory exists.
std::optional<std::string> RememberedDirectory(const Configuration& config);
// The file to open at start-up when no file was named on the command line: LatestFile,
// when AutoLoad is set and it is an existing file.
std::optional<std::string> AutoLoadFile(const Configuration& config);

}  // namespace lumetra
