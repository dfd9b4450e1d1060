#include "settings/configuration.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "settings/settings_dialog.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kFullFile[] =
    "; Morvaly's Lumetra Configuration file / konfigur\xE1"
    "ci\xF3s f\xE1jl (1.33)\r\n"
    "\r\n"
    "WinPosSav = True\r\nPosX = 120\r\nPosY = -45\r\nSizX = 800\r\nSizY = 600\r\n"
    "RemLastDir = True\r\nLastDir = /films/old/\r\n"
    "AutoLoad = True\r\nLatestFile = /films/a.srt\r\n"
    "MaxHistory = 8\r\nHisNum = 2\r\n"
    "(1)  /films/a.srt\r\n(2)  /films/b.srt\r\n"
    "TextAlign = 2\r\nInstantApply = True\r\nAutoFocus = True\r\n";

// The lines of the file a run without changes writes.
std::vector<std::string> DefaultLines() {
  Configuration config;
  FileHistory history;
  const std::string text = ConfigFileText(config, history);
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find("\r\n", start);
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(ConfigFile, EveryValueIsWrittenByteForByteAndReadBack) {
  Configuration config;
  config.WinPosSav = true;
  config.Window = {120, -45, 800, 600};
  config.LastDir = "/films/old/";
  config.AutoLoad = true;
  config.LatestFile = "/films/a.srt";  // written from the history's first entry
  config.TextAlign = 2;
  config.InstantApply = true;
  config.AutoFocus = true;
  FileHistory history;
  history.UpdateHistory("/films/b.srt");
  history.UpdateHistory("/films/a.srt");
  EXPECT_EQ(history.HisNum, 3);  // the start-up count stood for an empty slot
  EXPECT_EQ(ConfigFileText(config, history), kFullFile);
  EXPECT_EQ(history.HisNum, 2);

  Configuration read;
  FileHistory read_history;
  ReadConfigText(kFullFile, read, read_history);
  EXPECT_EQ(read, config);
  EXPECT_EQ(read_history.MaxHistory, 8);
  EXPECT_EQ(read_history.HisNum, 2);
  EXPECT_EQ(read_history.Entry(1), "/films/a.srt");
  EXPECT_EQ(read_history.Entry(2), "/films/b.srt");
}

TEST(ConfigFile, OptionsOffLeaveTheirPathsOutAndAClearedHistoryKeepsOneEmptyLine) {
  Configuration config;
  config.RemLastDir = false;
  config.LastDir = "/films/";
  FileHistory history;
  history.UpdateHistory("/films/a.srt");
  history.Clear();
  std::vector<std::string> lines = DefaultLines();
  lines[7] = "RemLastDir = False";
  EXPECT_EQ(ConfigFileText(config, history), Joined(lines));
  EXPECT_EQ(lines[8], "LastDir = ");
  EXPECT_EQ(lines[10], "LatestFile = ");
  EXPECT_EQ(lines[12], "HisNum = 1");
  EXPECT_EQ(lines[13], "(1)  ");
  // A path that would break the line structure is not written.
  config.RemLastDir = true;
  config.LastDir = "/films/a\nb/";
  EXPECT_EQ(ConfigFileText(config, history), Joined(DefaultLines()));
}

TEST(ConfigFile, LinesAreTakenByPositionWithTheirValuesConvertedAndClamped) {
  struct Case {
    const char* name;
    std::map<int, std::string> lines;  // replaced lines of the default file
    bool rem_last_dir, auto_load, win_pos_sav;
    int max_history, his_num;
  };
  const Case cases[] = {
      {"swapped keys swap values", {{7, "AutoLoad = False"}, {9, "RemLastDir = True"}}, false, true, false, 8, 1},
      {"history size above 16", {{11, "MaxHistory = 40"}}, true, false, false, 16, 1},
      {"history size 0", {{11, "MaxHistory = 0"}}, true, false, false, 1, 1},
      {"any text but false is true", {{2, "WinPosSav = yes"}}, true, false, true, 8, 1},
      {"false in any case", {{2, "WinPosSav = FALSE"}, {7, "RemLastDir = fAlSe"}}, false, false, false, 8, 1},
      {"a line without '='", {{2, "WinPosSav"}}, true, false, true, 8, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> lines = DefaultLines();
    for (const auto& [index, line] : c.lines) lines[static_cast<std::size_t>(index)] = line;
    Configuration config;
    FileHistory history;
    ReadConfigText(Joined(lines), config, history);
    EXPECT_EQ(config.RemLastDir, c.rem_last_dir);
    EXPECT_EQ(config.AutoLoad, c.auto_load);
    EXPECT_EQ(config.WinPosSav, c.win_pos_sav);
    EXPECT_EQ(history.MaxHistory, c.max_history);
    EXPECT_EQ(history.HisNum, c.his_num);
  }
}

TEST(ConfigFile, HistoryCountIsCutToTheHistorySizeAndThatManyLinesAreRead) {
  std::vector<std::string> lines = DefaultLines();
  lines.resize(12);
  lines.push_back("HisNum = 12");
  for (int i = 1; i <= 12; ++i) lines.push_back("(" + std::to_string(i) + ")  /s/" + std::to_string(i));
  Configuration config;
  FileHistory history;
  ReadConfigText(Joined(lines), config, history);
  EXPECT_EQ(history.HisNum, 8);
  EXPECT_EQ(history.Entry(8), "/s/8");
  EXPECT_EQ(history.Entry(9), "");
  // Positional: the ninth history line is taken as the alignment line.
  EXPECT_EQ(config.TextAlign, 0);
}

TEST(ConfigFile, MissingEmptyTruncatedAndGarbledFilesKeepTheDefaults) {
  TempDir dir;
  const Configuration defaults;
  Configuration config;
  FileHistory history;
  EXPECT_FALSE(LoadConfig(dir.File("lumetra.cfg"), config, history));
  std::filesystem::create_directory(dir.File("dir.cfg"));
  EXPECT_FALSE(LoadConfig(dir.File("dir.cfg"), config, history));
  WriteFile(dir.File("empty.cfg"), "");
  EXPECT_TRUE(LoadConfig(dir.File("empty.cfg"), config, history));
  EXPECT_EQ(config, defaults);

  // Cut off after the window's top: what follows keeps its default.
  WriteFile(dir.File("short.cfg"), std::string(kFullFile).substr(0, std::string(kFullFile).find("SizX")));
  EXPECT_TRUE(LoadConfig(dir.File("short.cfg"), config, history));
  Configuration expected;
  expected.WinPosSav = true;
  expected.Window = {120, -45, 0, 0};
  EXPECT_EQ(config, expected);
  EXPECT_EQ(history.MaxHistory, 8);

  // A history line longer than any path is not taken as one.
  std::vector<std::string> lines = DefaultLines();
  lines[13] = "(1)  /" + std::string(5000, 'x');
  history = FileHistory();
  ReadConfigText(Joined(lines), config, history);
  EXPECT_EQ(history.Entry(1), "");

  std::mt19937 random(13);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 400, '\0');
    for (char& b : bytes) b = "\r\n= (-1x9aF\0"[random() % 12];
    Configuration garbled;
    FileHistory garbled_history;
    ReadConfigText(bytes, garbled, garbled_history);
    ASSERT_GE(garbled_history.MaxHistory, 1);
    ASSERT_LE(garbled_history.MaxHistory, 16);
    ASSERT_GE(garbled_history.HisNum, 1);
    ASSERT_LE(garbled_history.HisNum, garbled_history.MaxHistory);
    ASSERT_GE(garbled.TextAlign, 0);
    ASSERT_LE(garbled.TextAlign, 2);
  }
}

TEST(ConfigFile, IsSavedIntoADirectoryItCreatesAndAFailedSaveIsReported) {
  TempDir dir;
  Configuration config;
  FileHistory history;
  const std::string path = dir.File("home/.config/lumetra/lumetra.cfg");
  ASSERT_EQ(SaveConfig(path, config, history), FileError::kNone);
  EXPECT_EQ(ReadFile(path), Joined(DefaultLines()));
  config.AutoFocus = true;
  ASSERT_EQ(SaveConfig(path, config, history), FileError::kNone);
  EXPECT_NE(ReadFile(path).find("AutoFocus = True"), std::string::npos);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("home/.config/lumetra")),
                          std::filesystem::directory_iterator()),
            1);
  WriteFile(dir.File("blocked"), "a file where a directory should be");
  EXPECT_NE(SaveConfig(dir.File("blocked/lumetra.cfg"), config, history), FileError::kNone);
}

TEST(ConfigFile, LivesBesideAWritableProgramElseInTheUsersConfigurationDirectory) {
  TempDir dir;
  const std::string program = dir.path().string();
  const std::string missing = dir.File("not-there");
  struct Case {
    std::string program_dir;
    std::map<std::string, std::string> env;
    std::string expected;
  };
  const Case cases[] = {
      {program, {{"HOME", "/home/u"}}, program + "/lumetra.cfg"},
      {missing, {{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/lumetra/lumetra.cfg"},
      {missing, {{"HOME", "/home/u"}}, "/home/u/.config/lumetra/lumetra.cfg"},
      {missing, {{"HOME", "/home/u/"}, {"XDG_CONFIG_HOME", "relative"}}, "/home/u/.config/lumetra/lumetra.cfg"},
      {"/usr/bin", {{"HOME", "/root"}}, "/root/.config/lumetra/lumetra.cfg"},
      {missing, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program_dir);
    const auto env = [&](const char* name) -> std::optional<std::string> {
      const auto it = c.env.find(name);
      return it == c.env.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    EXPECT_EQ(ConfigFilePath(c.program_dir, env), c.expected);
  }
}

TEST(ConfigFile, SavedWindowIsRestoredOnlyWhenAskedForAndOnAScreen) {
  const std::vector<ScreenRect> screens = {{0, 0, 1280, 800}, {1280, 0, 1024, 768}};
  struct Case {
    const char* name;
    bool win_pos_sav;
    ScreenRect saved;
    std::optional<ScreenRect> expected;
  };
  const Case cases[] = {
      {"not asked for", false, {10, 10, 700, 500}, std::nullopt},
      {"first screen", true, {10, 10, 700, 500}, ScreenRect{10, 10, 700, 500}},
      {"second screen", true, {1500, 100, 700, 500}, ScreenRect{1500, 100, 700, 500}},
      {"partly off", true, {-300, -20, 700, 500}, ScreenRect{-300, -20, 700, 500}},
      {"off every screen", true, {-5000, 10, 700, 500}, std::nullopt},
      {"below the smaller screen", true, {1400, 780, 500, 400}, std::nullopt},
      {"no size", true, {10, 10, 0, 0}, std::nullopt},
      {"larger than all screens", true, {0, 0, 90000, 90000}, ScreenRect{0, 0, 2304, 800}},
      {"at the integer limits", true, {2147483647, 2147483647, 2147483647, 2147483647}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Configuration config;
    config.WinPosSav = c.win_pos_sav;
    config.Window = c.saved;
    EXPECT_EQ(SavedWindowRect(config, screens), c.expected);
  }
}

TEST(ConfigFile, RememberedDirectoryAndLatestFileAreUsedOnlyWhenOnAndPresent) {
  TempDir dir;
  WriteFile(dir.File("a.srt"), "x");
  Configuration config;
  config.LastDir = dir.path().string();
  config.LatestFile = dir.File("a.srt");
  EXPECT_EQ(RememberedDirectory(config), dir.path().string());
  EXPECT_EQ(AutoLoadFile(config), std::nullopt);
  config.AutoLoad = true;
  EXPECT_EQ(AutoLoadFile(config), dir.File("a.srt"));
  config.RemLastDir = false;
  EXPECT_EQ(RememberedDirectory(config), std::nullopt);
  config.RemLastDir = true;
  config.LastDir = dir.File("gone");
  config.LatestFile = dir.path().string();  // a directory is no subtitle
  EXPECT_EQ(RememberedDirectory(config), std::nullopt);
  EXPECT_EQ(AutoLoadFile(config), std::nullopt);
}

TEST(SettingsDialogModel, HistorySizeBoxIsBroughtIntoRangeAndOkAppliesTheBoxes) {
  const std::pair<const char*, const char*> boxes[] = {
      {"20", "16"}, {"0", "1"}, {"-5", "5"}, {"", "1"}, {"ab", "1"}, {"12", "12"}};
  SettingsDialogModel model;
  for (const auto& [typed, shown] : boxes) {
    model.history_box = typed;
    model.NormaliseHistoryBox();
    EXPECT_EQ(model.history_box, shown) << typed;
  }

  Configuration config;
  FileHistory history;
  for (int i = 1; i <= 8; ++i) history.UpdateHistory("/s/" + std::to_string(i));
  model.Load(config, history);
  EXPECT_EQ(model.history_box, "8");
  model.history_box = "3";
  model.win_pos_sav = model.auto_load = true;
  model.rem_last_dir = false;
  model.Apply(config, history);
  EXPECT_TRUE(config.WinPosSav && config.AutoLoad && !config.RemLastDir);
  // The entries in use stay offered until the configuration file is written.
  EXPECT_EQ(history.MenuItems().size(), 8u);
  EXPECT_NE(ConfigFileText(config, history).find("HisNum = 3\r\n(1)  /s/8\r\n(2)  /s/7\r\n(3)  /s/6\r\nText"),
            std::string::npos);
}

TEST(SettingsDialogModel, ClearedHistoryStaysClearedWhenTheDialogIsCancelled) {
  Configuration config;
  FileHistory history;
  history.UpdateHistory("/s/a.srt");
  history.UpdateHistory("/s/b.srt");
  SettingsDialogModel model;
  model.Load(config, history);
  SettingsDialogModel::ClearHistory(history);
  // Cancel: nothing is applied.
  EXPECT_TRUE(history.MenuItems().empty());
  EXPECT_NE(ConfigFileText(config, history).find("HisNum = 1\r\n(1)  \r\n"), std::string::npos);
}

}  // namespace
}  // namespace lumetra
