#include "settings/configuration.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "formats/line_io.h"
#include "settings/settings_dialog.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kFullFile[] =
    "; Morvaly's Lumetra Configuration file / konfigur\xE1"
    "ci\xF3s f\xE1jl (1.33)\r\n\r\n"
    "WinPosSav = True\r\nPosX = 120\r\nPosY = -45\r\nSizX = 800\r\nSizY = 600\r\n"
    "RemLastDir = True\r\nLastDir = /films/old/\r\nAutoLoad = True\r\n"
    "LatestFile = /films/a.srt\r\nMaxHistory = 8\r\nHisNum = 2\r\n"
    "(1)  /films/a.srt\r\n(2)  /films/b.srt\r\n"
    "TextAlign = 2\r\nInstantApply = False\r\nAutoFocus = True\r\nWriteSubFps = False\r\n"
    "AutoOpenFilm = False\r\nFilmBeside = True\r\nFilmPanelSize = 420\r\nFollowFilm = True\r\n"
    "SpellLanguage = hu_HU\r\nIgnoreCapitals = False\r\nMinGap = 40\r\nMinLength = 1000\r\n"
    "MaxLength = 6000\r\nMaxCps = 15.5\r\nMaxLineLength = 37\r\nMaxLines = 0\r\n"
    "(2).Film = /films/b = 2.mkv\r\n"
    "Autosave = 45\r\nBackups = False\r\n";

// The file that a run without a file and without changes writes, and its lines.
constexpr char kDefaultFile[] =
    "; Morvaly's Lumetra Configuration file / konfigur\xE1"
    "ci\xF3s f\xE1jl (1.33)\r\n\r\n"
    "WinPosSav = False\r\nPosX = 0\r\nPosY = 0\r\nSizX = 0\r\nSizY = 0\r\n"
    "RemLastDir = True\r\nLastDir = \r\nAutoLoad = False\r\nLatestFile = \r\n"
    "MaxHistory = 8\r\nHisNum = 1\r\n(1)  \r\n"
    "TextAlign = 1\r\nInstantApply = False\r\nAutoFocus = False\r\nWriteSubFps = True\r\n"
    "AutoOpenFilm = True\r\nFilmBeside = False\r\nFilmPanelSize = 0\r\nFollowFilm = False\r\n"
    "Autosave = 60\r\nBackups = True\r\n";
std::vector<std::string> DefaultLines() {
  std::vector<std::string> lines;
  for (LineReader in(kDefaultFile); !in.AtEnd();) lines.emplace_back(in.ReadLine());
  return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST(ConfigFile, EveryValueIsWrittenByteForByteAndReadBack) {
  Configuration config;
  config.WinPosSav = config.AutoLoad = config.AutoFocus = true;
  config.Window = {120, -45, 800, 600};
  config.LastDir = "/films/old/";
  config.LatestFile = "/films/a.srt";  // written from the history's first entry
  config.TextAlign = 2;
  config.AutosaveSeconds = 45;
  config.Backups = false;
  config.AutoOpenFilm = false;
  config.FilmBeside = config.FollowFilm = true;
  config.FilmPanelSize = 420;
  config.WriteSubFrameRate = false;
  config.SpellLanguage = "hu_HU";
  config.SpellIgnoreCapitals = false;
  config.Checks = {40, 1000, 6000, 15.5, 37, 0};
  FileHistory history;
  history.UpdateHistory("/films/b.srt");
  history.SetAttribute(1, kFilmAttribute, "/films/b = 2.mkv");
  history.UpdateHistory("/films/a.srt");
  EXPECT_EQ(history.HisNum, 3);  // the start-up count stood for an empty slot
  EXPECT_EQ(ConfigFileText(config, history), kFullFile);
  EXPECT_EQ(history.HisNum, 2);

  Configuration read;
  FileHistory read_history;
  ReadConfigText(kFullFile, read, read_history);
  EXPECT_EQ(read, config);
  EXPECT_EQ(read_history.HisNum, 2);
  EXPECT_EQ(read_history.Entry(2), "/films/b.srt");
  EXPECT_EQ(read_history.Attribute(2, kFilmAttribute), "/films/b = 2.mkv");
  EXPECT_EQ(read_history.Attributes(1).size(), 0u);
}

TEST(ConfigFile, TheFilmsOptionsAreKeyedLinesInAnyOrder) {
  std::vector<std::string> lines = DefaultLines();
  lines.resize(13);
  lines.push_back("(1)  /films/a.srt");
  lines.insert(lines.end(), {"TextAlign = 0", "InstantApply = False", "AutoFocus = False",
                             "(1).Film = /films/a.mkv", "FollowFilm = True",
                             "FilmPanelSize = 99999", "FilmBeside = True"});
  Configuration config;
  FileHistory history;
  ReadConfigText(Joined(lines), config, history);
  EXPECT_TRUE(config.FollowFilm && config.FilmBeside && config.AutoOpenFilm);
  EXPECT_EQ(config.FilmPanelSize, 16384);
  EXPECT_EQ(history.Attribute(1, kFilmAttribute), "/films/a.mkv");
  // Written back in the writer's order.
  const std::string text = ConfigFileText(config, history);
  EXPECT_EQ(text.substr(text.find("AutoOpenFilm")),
            "AutoOpenFilm = True\r\nFilmBeside = True\r\nFilmPanelSize = 16384\r\n"
            "FollowFilm = True\r\n(1).Film = /films/a.mkv\r\n"
            "Autosave = 60\r\nBackups = True\r\n");
}

TEST(ConfigFile, OptionsOffLeaveTheirPathsOutAndAClearedHistoryKeepsOneEmptyLine) {
  Configuration config;
  config.LastDir = "/films/a\nb/";  // would break the line structure: not written
  FileHistory history;
  history.UpdateHistory("/films/a.srt");
  SettingsDialogModel::ClearHistory(history);  // then "Cancel": the history stays cleared
  EXPECT_TRUE(history.MenuItems().empty());
  EXPECT_EQ(ConfigFileText(config, history), kDefaultFile);
}

TEST(ConfigFile, LinesAreTakenByPositionWithTheirValuesConvertedAndClamped) {
  struct Case {
    std::map<int, std::string> lines;  // replaced lines of the default file
    bool rem_last_dir, auto_load, win_pos_sav;
    int max_history;
  };
  const Case cases[] = {
      {{{7, "AutoLoad = False"}, {9, "RemLastDir = True"}}, false, true, false, 8},  // swapped
      {{{11, "MaxHistory = 40"}}, true, false, false, 16},
      {{{11, "MaxHistory = 0"}}, true, false, false, 1},
      {{{2, "WinPosSav = yes"}}, true, false, true, 8},
      {{{2, "WinPosSav = FALSE"}, {7, "RemLastDir = fAlSe"}}, false, false, false, 8},
      {{{2, "WinPosSav"}}, true, false, true, 8},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = DefaultLines();
    for (const auto& [index, line] : c.lines) lines[static_cast<std::size_t>(index)] = line;
    Configuration config;
    FileHistory history;
    ReadConfigText(Joined(lines), config, history);
    EXPECT_EQ(std::vector<bool>({config.RemLastDir, config.AutoLoad, config.WinPosSav}),
              std::vector<bool>({c.rem_last_dir, c.auto_load, c.win_pos_sav}))
        << c.lines.begin()->second;
    EXPECT_EQ(history.MaxHistory, c.max_history);
  }

  // A count above the history size: that many history lines are read, the next one
  // stands where the alignment is.
  std::vector<std::string> lines = DefaultLines();
  lines.resize(12);
  lines.push_back("HisNum = 12");
  for (int i = 1; i <= 12; ++i) lines.push_back("(" + std::to_string(i) + ")  /s");
  Configuration config;
  FileHistory history;
  ReadConfigText(Joined(lines), config, history);
  EXPECT_EQ(history.HisNum, 8);
  EXPECT_EQ(history.Entry(8), "/s");
  EXPECT_EQ(history.Entry(9), "");
  EXPECT_EQ(config.TextAlign, 0);

  const std::size_t kAutosaveLine = 22;  // of the default file
  // The autosave interval is kept within 0 (off) and a day; the keyed lines may come in
  // any order; a file of an earlier version, without them, keeps the defaults.
  for (const auto& [line, seconds] :
       {std::pair{"Autosave = -100000", 0}, {"Autosave = 86401", 86400}, {"Autosave = 1", 1},
        {"Autosave = x", 0}}) {
    lines = DefaultLines();
    lines[kAutosaveLine] = line;
    Configuration c;
    ReadConfigText(Joined(lines), c, history);
    EXPECT_EQ(c.AutosaveSeconds, seconds) << line;
  }
  lines = DefaultLines();
  std::swap(lines[kAutosaveLine], lines[kAutosaveLine + 1]);
  lines[kAutosaveLine] = "Backups = False";
  Configuration swapped;
  ReadConfigText(Joined(lines), swapped, history);
  EXPECT_EQ(swapped.AutosaveSeconds, 60);
  EXPECT_FALSE(swapped.Backups);
  lines.resize(kAutosaveLine);
  Configuration earlier;
  earlier.AutosaveSeconds = 7;
  ReadConfigText(Joined(lines), earlier, history);
  EXPECT_EQ(earlier.AutosaveSeconds, 7);
  EXPECT_TRUE(earlier.Backups);
  // The limits of the checks, keyed lines in any order: a decimal comma, and values
  // brought into their ranges.
  lines = DefaultLines();
  lines.insert(lines.end(), {"MaxLines = x", "MaxCps = 20,5", "MinGap = 99999999", "Spell = x"});
  Configuration limits;
  ReadConfigText(Joined(lines), limits, history);
  EXPECT_EQ(limits.Checks, (CheckLimits{kMaxCheckMs, 700, 7000, 20.5, 42, 0}));
}

TEST(ConfigFile, MissingEmptyTruncatedAndGarbledFilesKeepTheDefaults) {
  TempDir dir;
  Configuration config;
  FileHistory history;
  EXPECT_FALSE(LoadConfig(dir.File("lumetra.cfg"), config, history));
  WriteFile(dir.File("empty.cfg"), "");
  // Written into a directory that is created for it.
  ASSERT_EQ(SaveConfig(dir.File("a/b/lumetra.cfg"), config, history), FileError::kNone);
  // A file where its directory should be: the system's reason is told.
  const FileStatus blocked = SaveConfig(dir.File("empty.cfg/lumetra.cfg"), config, history);
  EXPECT_EQ(ConfigWriteErrorMessage(dir.File("x.cfg"), blocked),
            kConfigWriteError + dir.File("x.cfg") + "\rNot a directory");
  EXPECT_EQ(ReadFile(dir.File("a/b/lumetra.cfg")), kDefaultFile);
  EXPECT_TRUE(LoadConfig(dir.File("empty.cfg"), config, history));
  EXPECT_EQ(config, Configuration());
  // Cut off after the window's top: what follows keeps its default.
  const std::string full = kFullFile;
  WriteFile(dir.File("short.cfg"), full.substr(0, full.find("SizX")));
  EXPECT_TRUE(LoadConfig(dir.File("short.cfg"), config, history));
  Configuration expected;
  expected.WinPosSav = true;
  expected.Window = {120, -45, 0, 0};
  EXPECT_EQ(config, expected);
  // A history line longer than any path is not taken as one.
  std::vector<std::string> lines = DefaultLines();
  lines[13] = "(1)  /" + std::string(5000, 'x');
  ReadConfigText(Joined(lines), config, history);
  EXPECT_EQ(history.Entry(1), "");

  std::mt19937 random(13);
  for (int round = 0; round < 300; ++round) {
    std::string bytes(random() % 400, '\0');
    for (char& b : bytes) b = "\r\n= (-1x9aF\0"[random() % 12];
    Configuration c;
    FileHistory h;
    ReadConfigText(bytes, c, h);
    ASSERT_TRUE(h.MaxHistory >= 1 && h.MaxHistory <= 16 && h.HisNum >= 1 &&
                h.HisNum <= h.MaxHistory && c.TextAlign >= 0 && c.TextAlign <= 2);
  }
}

TEST(ConfigFile, LivesBesideAWritableProgramElseInTheUsersConfigurationDirectory) {
  TempDir dir;
  const std::string program = dir.path().string();
  const std::string missing = dir.File("not-there");
  const std::tuple<std::string, std::map<std::string, std::string>, std::string> cases[] = {
      {program, {{"HOME", "/home/u"}}, program + "/lumetra.cfg"},
      {missing, {{"HOME", "/h"}, {"XDG_CONFIG_HOME", "/cfg"}}, "/cfg/lumetra/lumetra.cfg"},
      {missing, {{"HOME", "/h/"}, {"XDG_CONFIG_HOME", "rel"}}, "/h/.config/lumetra/lumetra.cfg"},
      {"/usr/bin", {{"HOME", "/root"}}, "/root/.config/lumetra/lumetra.cfg"},
      {missing, {}, ""},
  };
  for (const auto& [program_dir, env, expected] : cases) {
    const std::map<std::string, std::string>& vars = env;  // a binding cannot be captured
    const auto lookup = [&vars](const char* name) -> std::optional<std::string> {
      const auto it = vars.find(name);
      return it == vars.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    EXPECT_EQ(ConfigFilePath(program_dir, lookup), expected) << program_dir;
  }
}

TEST(ConfigFile, SavedWindowIsRestoredOnlyWhenAskedForAndOnAScreen) {
  const std::vector<ScreenRect> screens = {{0, 0, 1280, 800}, {1280, 0, 1024, 768}};
  const int kMax = 2147483647;
  const std::tuple<bool, ScreenRect, std::optional<ScreenRect>> cases[] = {
      {false, {10, 10, 700, 500}, std::nullopt},
      {true, {-300, -20, 700, 500}, ScreenRect{-300, -20, 700, 500}},  // partly off
      {true, {-5000, 10, 700, 500}, std::nullopt},
      {true, {1400, 780, 500, 400}, std::nullopt},  // below the smaller screen
      {true, {0, 0, 90000, 90000}, ScreenRect{0, 0, 2304, 800}},
      {true, {kMax, kMax, kMax, kMax}, std::nullopt},
  };
  for (const auto& [win_pos_sav, saved, expected] : cases) {
    Configuration config;
    config.WinPosSav = win_pos_sav;
    config.Window = saved;
    EXPECT_EQ(SavedWindowRect(config, screens), expected) << saved.left << "," << saved.top;
  }
}

TEST(ConfigFile, HistoryAttributesAreKeyedLinesThatTravelWithTheirEntry) {
  FileHistory history;
  history.UpdateHistory("/f/a.srt");
  history.UpdateHistory("/f/b.srt");
  EXPECT_TRUE(history.SetAttribute(history.Find("/F/A.SRT"), kCodePageAttribute, "Windows-1251"));
  EXPECT_TRUE(history.SetAttribute(1, "Film", "/films/b = final.mkv"));
  EXPECT_FALSE(history.SetAttribute(1, "Bad name", "x"));
  EXPECT_FALSE(history.SetAttribute(1, "Film", "two\nlines"));
  // Reopened, the file keeps its attributes at the top.
  history.UpdateHistory("/f/A.srt");
  EXPECT_EQ(history.Attribute(1, kCodePageAttribute), "Windows-1251");
  EXPECT_EQ(history.Attribute(2, kCodePageAttribute), std::nullopt);

  const std::string text = ConfigFileText(Configuration(), history);
  EXPECT_NE(text.find("FollowFilm = False\r\n(1).CodePage = Windows-1251\r\n"
                      "(2).Film = /films/b = final.mkv\r\n"),
            std::string::npos);
  // Unknown keys, other lines and attributes of entries not in use are skipped.
  Configuration config;
  FileHistory read;
  ReadConfigText(text + "Volume = 7\r\n(9).CodePage = UTF-8\r\n(2).New = 1\r\n(x).A = 1\r\n", config,
                 read);
  EXPECT_EQ(read.HisNum, 2);
  EXPECT_EQ(read.Attributes(1), (HistoryAttributes{{"CodePage", "Windows-1251"}}));
  EXPECT_EQ(read.Attributes(2),
            (HistoryAttributes{{"Film", "/films/b = final.mkv"}, {"New", "1"}}));
  EXPECT_EQ(read.Attributes(9), HistoryAttributes());
  // Clearing an attribute drops its line.
  read.SetAttribute(1, kCodePageAttribute, "");
  EXPECT_EQ(ConfigFileText(config, read).find("CodePage"), std::string::npos);
}

TEST(ConfigFile, ADamagedHistoryKeepsEveryGoodEntryFromStartToStart) {
  // A path on two lines is never taken; one put in by hand is neither written nor counted.
  FileHistory history;
  for (const char* path : {"/f/1", "/f/a\nb", "/f/2", "/f/c\rd", "", "/f/3"}) history.UpdateHistory(path);
  EXPECT_EQ(history.Entry(2) + history.Entry(3) + history.Entry(4), "/f/2/f/1");
  history.SetEntry(2, "/f/x\ry");
  std::string text = ConfigFileText(Configuration(), history);
  EXPECT_NE(text.find("HisNum = 2\r\n(1)  /f/3\r\n(2)  /f/1\r\nTextAlign"), std::string::npos);
  // Read and written again and again, it stays the same.
  for (int start = 0; start < 3; ++start) {
    Configuration config;
    FileHistory read;
    ReadConfigText(text, config, read);
    EXPECT_EQ(ConfigFileText(config, read), text);
  }

  // A blank line among the entries, and a count beyond the lines there are: the good
  // entries move up and the values after the history are still read.
  std::vector<std::string> lines = DefaultLines();
  lines[12] = "HisNum = 5";
  lines[13] = "(1)  /f/a";
  lines.insert(lines.begin() + 14, {"(2)  ", "(3)  /f/b"});
  lines[16] = "TextAlign = 2";
  Configuration config;
  FileHistory read;
  ReadConfigText(Joined(lines) + "(2).CodePage = UTF-8\r\n(3).CodePage = Windows-1252\r\n", config,
                 read);
  EXPECT_EQ(read.HisNum, 2);
  EXPECT_EQ(read.Entry(1) + read.Entry(2) + read.Entry(3), "/f/a/f/b");
  EXPECT_EQ(read.Attribute(2, kCodePageAttribute), "Windows-1252");
  EXPECT_EQ(config.TextAlign, 2);
}

TEST(ConfigFile, AutoLoadTakesOnlyAnExistingRegularFile) {
  TempDir dir;
  WriteFile(dir.File("a.srt"), "1");
  Configuration config;
  config.AutoLoad = true;
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {dir.File("a.srt"), dir.File("a.srt")},
      {dir.path().string(), std::nullopt},  // a directory
      {dir.File("gone.srt"), std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& [latest, expected] : cases) {
    config.LatestFile = latest;
    EXPECT_EQ(AutoLoadFile(config), expected) << latest;
  }
  config.AutoLoad = false;
  config.LatestFile = dir.File("a.srt");
  EXPECT_EQ(AutoLoadFile(config), std::nullopt);
}

TEST(SettingsDialogModel, ASmallerHistorySizeCutsOnlyTheSavedHistory) {
  Configuration config;
  FileHistory history;
  for (int i = 1; i <= 8; ++i) history.UpdateHistory("/s/" + std::to_string(i));
  SettingsDialogModel model;
  model.Load(config, history);
  model.history_box = "3";
  model.Apply(config, history);
  EXPECT_EQ(history.MenuItems().size(), 8u);  // the entries in use stay offered
  EXPECT_NE(ConfigFileText(config, history)
                .find("HisNum = 3\r\n(1)  /s/8\r\n(2)  /s/7\r\n(3)  /s/6\r\nT"),
            std::string::npos);
}

}  // namespace
}  // namespace lumetra
