#include "settings/configuration.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "document/document.h"
#include "formats/line_io.h"
#include "foundation/textkit.h"

namespace lumetra {

namespace {

// No path on this system is longer; a longer history line is not a path.
constexpr std::size_t kMaxPathLength = 4096;
// A film panel larger than any screen is no size the user gave it.
constexpr int kMaxFilmPanelSize = 16384;
// A configuration file is a few kilobytes; anything much larger is not one.
constexpr std::uintmax_t kMaxConfigSize = 1 << 20;

// "á", "ó" and "á" in the Windows code pages the file is written in.
constexpr char kHeaderLine[] =
    "; Morvaly's Lumetra Configuration file / konfigur\xE1"
    "ci\xF3s f\xE1jl (";

// A value that would break the file's line structure is written as empty.
std::string_view OneLine(std::string_view value) {
  return value.find_first_of("\r\n") == std::string_view::npos ? value : std::string_view();
}

// Each shared program directory of the system holds the programs of every user: no
// one user's settings belong there.
bool IsSystemProgramDirectory(const std::filesystem::path& dir) {
  const std::string text = dir.string();
  for (const char* root : {"/usr", "/bin", "/sbin"}) {
    const std::string_view r(root);
    if (text == r || (text.starts_with(r) && text[r.size()] == '/')) return true;
  }
  return false;
}

bool IsPortableDirectory(const std::string& program_dir) {
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::canonical(program_dir, ec);
  if (ec || !std::filesystem::is_directory(dir, ec)) return false;
  if (IsSystemProgramDirectory(dir)) return false;
  return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> AbsoluteVariable(const EnvironmentLookup& env, const char* name) {
  std::optional<std::string> value = env(name);
  if (!value || !value->starts_with('/')) return std::nullopt;
  return value;
}

}  // namespace

std::string ConfigFileText(const Configuration& config, FileHistory& history) {
  // The entries in use: at most MaxHistory, then only the real paths among them.
  history.HisNum =
      std::clamp(history.HisNum, 1, std::clamp(history.MaxHistory, 1, FileHistory::kSlots));
  history.Compact();

  std::string out;
  LineWriter w(out);
  w.Line(std::string(kHeaderLine) + kVersionText + ")");
  w.Line("");
  w.Line("WinPosSav = " + BoolToText(config.WinPosSav));
  w.Line("PosX = " + IntToText(config.Window.left));
  w.Line("PosY = " + IntToText(config.Window.top));
  w.Line("SizX = " + IntToText(config.Window.width));
  w.Line("SizY = " + IntToText(config.Window.height));
  w.Line("RemLastDir = " + BoolToText(config.RemLastDir));
  w.Line("LastDir = " + std::string(config.RemLastDir ? OneLine(config.LastDir) : ""));
  w.Line("AutoLoad = " + BoolToText(config.AutoLoad));
  w.Line("LatestFile = " + std::string(config.AutoLoad ? OneLine(history.Entry(1)) : ""));
  w.Line("MaxHistory = " + IntToText(history.MaxHistory));
  w.Line("HisNum = " + IntToText(history.HisNum));
  for (int i = 1; i <= history.HisNum; ++i) {
    w.Line(PadRight("(" + IntToText(i) + ")", ' ', 5) + std::string(OneLine(history.Entry(i))));
  }
  w.Line("TextAlign = " + IntToText(config.TextAlign));
  w.Line("InstantApply = " + BoolToText(config.InstantApply));
  w.Line("AutoFocus = " + BoolToText(config.AutoFocus));

  // The keyed lines: the SUB option, the film's options, the spell check and the quality
  // checks, then the history's attributes.
  w.Line("WriteSubFps = " + BoolToText(config.WriteSubFrameRate));
  w.Line("AutoOpenFilm = " + BoolToText(config.AutoOpenFilm));
  w.Line("FilmBeside = " + BoolToText(config.FilmBeside));
  w.Line("FilmPanelSize = " + IntToText(config.FilmPanelSize));
  w.Line("FollowFilm = " + BoolToText(config.FollowFilm));
  // The spell check's and the quality checks' values where they are not the defaults.
  if (!OneLine(config.SpellLanguage).empty()) w.Line("SpellLanguage = " + config.SpellLanguage);
  if (!config.SpellIgnoreCapitals) w.Line("IgnoreCapitals = " + BoolToText(false));
  const CheckLimits& c = config.Checks;
  const CheckLimits defaults;
  auto limit = [&](const char* key, int value, int default_value) {
    if (value != default_value) w.Line(std::string(key) + " = " + IntToText(value));
  };
  limit("MinGap", c.min_gap_ms, defaults.min_gap_ms);
  limit("MinLength", c.min_length_ms, defaults.min_length_ms);
  limit("MaxLength", c.max_length_ms, defaults.max_length_ms);
  if (c.max_cps != defaults.max_cps) w.Line("MaxCps = " + FloatToText(c.max_cps));
  limit("MaxLineLength", c.max_line_length, defaults.max_line_length);
  limit("MaxLines", c.max_lines, defaults.max_lines);
  for (int i = 1; i <= history.HisNum; ++i) {
    for (const auto& [name, value] : history.Attributes(i)) {
      const std::string_view one_line = OneLine(value);
      if (one_line.empty() || !FileHistory::IsAttributeName(name)) continue;
      w.Line("(" + IntToText(i) + ")." + name + " = " + std::string(one_line));
    }
  }
  w.Line("Autosave = " + IntToText(config.AutosaveSeconds));
  w.Line("Backups = " + BoolToText(config.Backups));
  return out;
}

bool ReadKeyedLine(std::string_view key, std::string_view value, Configuration& config,
                   FileHistory& history) {
  if (key == "Autosave") {
    config.AutosaveSeconds = TextToIntRange(value, 0, kMaxAutosaveSeconds);
    return true;
  }
  if (key == "Backups") {
    config.Backups = TextToBool(value);
    return true;
  }
  if (key == "AutoOpenFilm") {
    config.AutoOpenFilm = TextToBool(value);
    return true;
  }
  if (key == "FilmBeside") {
    config.FilmBeside = TextToBool(value);
    return true;
  }
  if (key == "FilmPanelSize") {
    config.FilmPanelSize = TextToIntRange(value, 0, kMaxFilmPanelSize);
    return true;
  }
  if (key == "FollowFilm") {
    config.FollowFilm = TextToBool(value);
    return true;
  }
  if (key == "WriteSubFps") {
    config.WriteSubFrameRate = TextToBool(value);
    return true;
  }
  if (key == "SpellLanguage") {
    config.SpellLanguage = std::string(value);
    return true;
  }
  if (key == "IgnoreCapitals") {
    config.SpellIgnoreCapitals = TextToBool(value);
    return true;
  }
  // The limits of the quality checks, brought into their ranges.
  CheckLimits& c = config.Checks;
  const std::pair<std::string_view, int*> limits[] = {
      {"MinGap", &c.min_gap_ms},           {"MinLength", &c.min_length_ms},
      {"MaxLength", &c.max_length_ms},     {"MaxLineLength", &c.max_line_length},
      {"MaxLines", &c.max_lines},
  };
  for (const auto& [name, target] : limits) {
    if (key != name) continue;
    const bool ms = target == &c.min_gap_ms || target == &c.min_length_ms || target == &c.max_length_ms;
    *target = TextToIntRange(value, 0, ms ? kMaxCheckMs : kMaxCheckCount);
    return true;
  }
  if (key == "MaxCps") {
    c.max_cps = std::clamp(TextToFloat(ReplaceChar(value, ',', '.')), 0.0, kMaxCheckCps);
    return true;
  }
  // "(i).Name": attribute Name of history entry i.
  if (!key.starts_with('(')) return false;
  const std::size_t close = key.find(").");
  if (close == std::string_view::npos || close < 2 || close > 3) return false;
  const std::string_view number = key.substr(1, close - 1);
  if (!std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  const int entry = TextToInt(number);
  const std::string_view name = key.substr(close + 2);
  if (entry < 1 || entry > history.HisNum || !FileHistory::IsAttributeName(name)) return false;
  return history.SetAttribute(entry, name, value);
}

void ReadConfigText(std::string_view text, Configuration& config, FileHistory& history) {
  LineReader in(text);
  // The header ends with the first empty line.
  while (!in.AtEnd() && !in.ReadLine().empty()) {
  }

  // Each value line in its fixed place; the key is not looked at. A line read ahead (the
  // line that ended the history early) comes first.
  std::optional<std::string> pending;
  std::string key;
  std::string value;
  auto next = [&]() {
    if (pending) {
      SplitKeyValue(*pending, key, value);
      pending.reset();
      return true;
    }
    if (in.AtEnd()) return false;
    SplitKeyValue(in.ReadLine(), key, value);
    return true;
  };
  auto read_bool = [&](bool& target) {
    if (next()) target = TextToBool(value);
  };
  auto read_int = [&](int& target) {
    if (next()) target = TextToInt(value);
  };
  auto read_text = [&](std::string& target) {
    if (next()) target = value;
  };

  read_bool(config.WinPosSav);
  read_int(config.Window.left);
  read_int(config.Window.top);
  read_int(config.Window.width);
  read_int(config.Window.height);
  read_bool(config.RemLastDir);
  read_text(config.LastDir);
  read_bool(config.AutoLoad);
  read_text(config.LatestFile);
  if (next()) history.MaxHistory = TextToIntRange(value, 1, FileHistory::kSlots);
  if (next()) history.HisNum = TextToIntRange(value, 1, history.MaxHistory);
  for (int i = 1; i <= history.HisNum && !in.AtEnd(); ++i) {
    const std::string_view line = in.ReadLine();
    if (!line.starts_with('(')) {
      // Fewer history lines than the count said: the history ends here.
      pending = std::string(line);
      for (int j = i; j <= history.HisNum; ++j) history.SetEntry(j, {});
      break;
    }
    const std::string entry = TrimChar(DropLeft(line, 5), ' ');
    history.SetEntry(i, entry.size() <= kMaxPathLength ? entry : std::string());
  }
  if (next()) config.TextAlign = TextToIntRange(value, 0, 2);
  read_bool(config.InstantApply);
  read_bool(config.AutoFocus);

  while (next()) ReadKeyedLine(key, value, config, history);
  history.Compact();
}

bool LoadConfig(const std::string& path, Configuration& config, FileHistory& history) {
  std::error_code ec;
  // A directory, a pipe or a device named like the file is not read: it may never end.
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxConfigSize) return false;
  std::string text;
  if (ReadWholeFile(path, text) != FileError::kNone) return false;
  ReadConfigText(text, config, history);
  return true;
}

FileStatus SaveConfig(const std::string& path, const Configuration& config, FileHistory& history) {
  const std::string text = ConfigFileText(config, history);
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::path(path).parent_path();
  if (!dir.empty() && !std::filesystem::is_directory(dir, ec)) {
    std::filesystem::create_directories(dir, ec);
    // The directory's own reason (a file in the way, no permission) says more than the
    // missing directory would.
    if (ec) return FileStatus{FileError::kCreate, ec.value()};
  }
  return WriteFileReplacing(path, text);
}

std::string ConfigWriteErrorMessage(const std::string& path, const FileStatus& status) {
  std::string message = kConfigWriteError + path;
  if (status.system_error != 0) message += "\r" + SystemErrorText(status.system_error);
  return message;
}

std::string ConfigFilePath(const std::string& program_dir, const EnvironmentLookup& env) {
  if (!program_dir.empty() && IsPortableDirectory(program_dir)) {
    return WithBackslash(program_dir) + kConfigFileName;
  }
  std::string base;
  if (std::optional<std::string> xdg = AbsoluteVariable(env, "XDG_CONFIG_HOME")) {
    base = *xdg;
  } else if (std::optional<std::string> home = AbsoluteVariable(env, "HOME")) {
    base = WithBackslash(*home) + ".config";
  } else {
    return {};
  }
  return WithBackslash(base) + "lumetra" + PathSeparator() + kConfigFileName;
}

std::optional<std::string> ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

std::optional<ScreenRect> SavedWindowRect(const Configuration& config,
                                          const std::vector<ScreenRect>& screens) {
  const ScreenRect& w = config.Window;
  if (!config.WinPosSav || w.width <= 0 || w.height <= 0 || screens.empty()) return std::nullopt;
  // 64-bit edges: a saved value near the integer limits must not overflow.
  const std::int64_t left = w.left, top = w.top;
  const std::int64_t right = left + w.width, bottom = top + w.height;
  bool shows = false;
  std::int64_t all_left = screens[0].left, all_top = screens[0].top;
  std::int64_t all_right = all_left + screens[0].width, all_bottom = all_top + screens[0].height;
  for (const ScreenRect& s : screens) {
    const std::int64_t s_right = std::int64_t{s.left} + s.width;
    const std::int64_t s_bottom = std::int64_t{s.top} + s.height;
    if (std::max(left, std::int64_t{s.left}) < std::min(right, s_right) &&
        std::max(top, std::int64_t{s.top}) < std::min(bottom, s_bottom)) {
      shows = true;
    }
    all_left = std::min(all_left, std::int64_t{s.left});
    all_top = std::min(all_top, std::int64_t{s.top});
    all_right = std::max(all_right, s_right);
    all_bottom = std::max(all_bottom, s_bottom);
  }
  if (!shows) return std::nullopt;
  ScreenRect result = w;
  result.width = static_cast<int>(std::min<std::int64_t>(w.width, all_right - all_left));
  result.height = static_cast<int>(std::min<std::int64_t>(w.height, all_bottom - all_top));
  return result;
}

std::optional<std::string> RememberedDirectory(const Configuration& config) {
  std::error_code ec;
  if (!config.RemLastDir || config.LastDir.empty() ||
      !std::filesystem::is_directory(config.LastDir, ec)) {
    return std::nullopt;
  }
  return config.LastDir;
}

std::optional<std::string> AutoLoadFile(const Configuration& config) {
  std::error_code ec;
  if (!config.AutoLoad || config.LatestFile.empty() ||
      !std::filesystem::is_regular_file(config.LatestFile, ec)) {
    return std::nullopt;
  }
  return config.LatestFile;
}

}  // namespace lumetra
