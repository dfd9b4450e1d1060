// The real editor on the offscreen platform, with its own configuration, state and home
// directories: edited through its automation input, killed (SIGKILL, SIGTERM, SIGHUP) and
// started again, it gives back every edit from its autosave.
#include <gtest/gtest.h>
#include <signal.h>

#include <QProcess>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "settings/configuration.h"
#include "settings/file_history.h"
#include "test_support.h"

namespace lumetra {
namespace {

using testing::EntriesIn;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kMovie[] =
    "1\r\n00:00:01,000 --> 00:00:02,500\r\nHello\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nWorld\r\n";

class EditorProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A copy of the program: a portable copy keeps its configuration file beside it.
    std::filesystem::create_directories(dir_.path() / "bin");
    std::filesystem::copy_file(LUMETRA_EDITOR_PATH, Editor());
    for (const char* sub : {"state", "config", "cache", "data", "home", "run"}) {
      std::filesystem::create_directories(dir_.path() / sub);
    }
    std::filesystem::permissions(dir_.path() / "run", std::filesystem::perms::owner_all);
    WriteFile(dir_.File("movie.txt"), kMovie);
    WriteFile(dir_.File("screen.json"),
              R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1280, "height": 800,)"
              R"( "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
  }
  void TearDown() override {
    if (editor_.state() != QProcess::NotRunning) {
      editor_.kill();
      editor_.waitForFinished();
    }
  }

  std::string Editor() const { return (dir_.path() / "bin" / "lumetra").string(); }
  std::filesystem::path AutosaveDir() const { return dir_.path() / "state/lumetra/autosave"; }

  void SetAutosaveSeconds(int seconds) {
    Configuration config;
    config.AutosaveSeconds = seconds;
    FileHistory history;
    ASSERT_EQ(SaveConfig((dir_.path() / "bin" / kConfigFileName).string(), config, history),
              FileError::kNone);
  }

  // Starts the editor on the offscreen platform, or on the X display given.
  void Start(const QStringList& arguments, const QString& x_display = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString root = QString::fromStdString(dir_.path().string());
    // A screen of an ordinary size (the platform's own is too small for the window, which
    // would say so first).
    env.insert("QT_QPA_PLATFORM", x_display.isEmpty()
                                      ? "offscreen:configfile=" + root + "/screen.json"
                                      : QString("xcb"));
    env.insert("XDG_STATE_HOME", root + "/state");
    env.insert("XDG_CONFIG_HOME", root + "/config");
    env.insert("XDG_CACHE_HOME", root + "/cache");
    env.insert("XDG_DATA_HOME", root + "/data");
    env.insert("XDG_RUNTIME_DIR", root + "/run");
    env.insert("HOME", root + "/home");
    env.insert("LUMETRA_AUTOMATION", "1");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    if (!x_display.isEmpty()) env.insert("DISPLAY", x_display);
    editor_.setProcessEnvironment(env);
    editor_.setProcessChannelMode(QProcess::SeparateChannels);
    editor_.start(QString::fromStdString(Editor()), arguments);
    ASSERT_TRUE(editor_.waitForStarted());
  }

  // Sends a command and returns what the editor answered before its "ok" (or the error).
  std::string Command(const std::string& line) {
    editor_.write((line + "\n").c_str());
    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      editor_.waitForReadyRead(100);
      answer += editor_.readAllStandardOutput().toStdString();
      if (answer.ends_with("ok\n")) return answer.substr(0, answer.size() - 3);
      if (answer.find("error") != std::string::npos) return answer;
      if (editor_.state() == QProcess::NotRunning) break;
    }
    ADD_FAILURE() << "no answer to " << line << ": " << answer;
    return answer;
  }

  // Waits until the editor's autosave holds `text`.
  bool AutosaveHolds(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
      std::error_code ec;
      for (const auto& entry : std::filesystem::directory_iterator(AutosaveDir(), ec)) {
        std::filesystem::path path = entry.path();
        if (path.extension() == ".info" &&
            ReadFile(path.string()).find("Frames") != std::string::npos &&
            ReadFile(path.replace_extension(".autosave").string()).find(text) !=
                std::string::npos) {
          return true;
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  TempDir dir_;
  QProcess editor_;
};

TEST_F(EditorProcessTest, EditsComeBackAfterTheEditorIsKilledOrTerminated) {
  // Autosaves every second: a kill finds the edit in the autosave.
  SetAutosaveSeconds(1);
  Start({QString::fromStdString(dir_.File("movie.txt"))});
  EXPECT_EQ(Command("text 1 Edited|by hand"), "");
  ASSERT_TRUE(AutosaveHolds("by hand"));
  editor_.kill();  // SIGKILL: nothing more is written
  ASSERT_TRUE(editor_.waitForFinished());

  // Autosaves once an hour: only the termination signal writes the next edit.
  SetAutosaveSeconds(3600);
  Start({});
  EXPECT_EQ(Command("press Recover"), "");
  EXPECT_EQ(Command("text 2 Before the end"), "");
  editor_.terminate();  // SIGTERM
  ASSERT_TRUE(editor_.waitForFinished());
  EXPECT_EQ(editor_.exitStatus(), QProcess::CrashExit);  // ended by the signal, as asked
  // One editor's autosave: the first one's was recovered and removed.
  EXPECT_EQ(EntriesIn(AutosaveDir()).size(), 3u);

  Start({});
  EXPECT_EQ(Command("press Recover"), "");
  EXPECT_EQ(Command("dump"),
            "modified 1\nfile movie.txt\nframes 2\n"
            "1\t1000\t2500\tEdited|by hand\n2\t3000\t4000\tBefore the end\n");
  EXPECT_EQ(ReadFile(dir_.File("movie.txt")), kMovie);  // the user's file was never written

  // A hang-up (the session ends) writes it too.
  EXPECT_EQ(Command("text 2 Hung up"), "");
  ASSERT_EQ(::kill(static_cast<pid_t>(editor_.processId()), SIGHUP), 0);
  ASSERT_TRUE(editor_.waitForFinished());
  Start({});
  EXPECT_EQ(Command("press Recover"), "");
  EXPECT_EQ(Command("dump"),
            "modified 1\nfile movie.txt\nframes 2\n"
            "1\t1000\t2500\tEdited|by hand\n2\t3000\t4000\tHung up\n");
}

TEST_F(EditorProcessTest, AnEditorThatLosesItsDisplayKeepsTheEditInItsAutosave) {
  // A display of its own, which the test then takes away.
  QProcess display;
  display.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
  if (!display.waitForStarted()) GTEST_SKIP() << "no Xvfb";
  std::string number;
  while (number.find('\n') == std::string::npos && display.waitForReadyRead(10000)) {
    number += display.readAllStandardOutput().toStdString();
  }
  ASSERT_FALSE(number.empty());
  SetAutosaveSeconds(3600);
  Start({QString::fromStdString(dir_.File("movie.txt"))},
        ":" + QString::fromStdString(number).trimmed());
  EXPECT_EQ(Command("text 1 Typed before the display went"), "");
  display.kill();
  display.waitForFinished();
  ASSERT_TRUE(editor_.waitForFinished(20000));
  EXPECT_TRUE(AutosaveHolds("before the display went"));
}

}  // namespace
}  // namespace lumetra
