// Measures the editor with a long subtitle: opening a 9999-frame file until the frame list
// is painted, selecting every frame, and the editing commands on every frame with their
// undo and redo, each until the list is painted again. Runs on Qt's offscreen platform unless a display
// platform is chosen.
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "foundation/time_value.h"
#include "session/scripted_prompts.h"
#include "session/session.h"
#include "ui/look.h"
#include "editing/frame_commands.h"
#include "ui/main_window.h"
#include "ui/window_commands.h"

namespace {

constexpr int kFrames = 9999;
constexpr int kRuns = 7;

std::string Time(int ms) {
  char text[32];
  const lumetra::TimeParts t = lumetra::SplitTime(ms);
  std::snprintf(text, sizeof text, "%02d:%02d:%02d,%03d", t.h, t.m, t.s, t.ms);
  return text;
}

// A numbered SubRip file of kFrames frames, one or two lines each.
std::string WriteSubtitle(const std::filesystem::path& dir) {
  const std::filesystem::path path = dir / "long.txt";
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= kFrames; ++i) {
    const int start = i * 2500;
    out << i << "\r\n" << Time(start) << " --> " << Time(start + 2000) << "\r\n";
    out << "Line number " << i << " of the film";
    if (i % 3 == 0) out << "|and its second line";
    out << "\r\n\r\n";
  }
  return path.string();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  lumetra::InstallLook();

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("lumetra-ui-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string file = WriteSubtitle(dir);

  std::vector<double> open_ms;
  std::vector<double> select_ms;
  // The commands on the whole selection, then Ctrl+Z and Ctrl+Y, in the window.
  struct Edit {
    const char* name;
    std::function<void(lumetra::WindowCommands&)> run;
    bool undoable;
    std::vector<double> run_ms, undo_ms, redo_ms;
  };
  std::vector<Edit> edits = {
      {"Invert", [](lumetra::WindowCommands& c) { c.Select(lumetra::InvertSelection); }, false, {}, {}, {}},
      {"Apply to selected frames",
       [](lumetra::WindowCommands& c) {
         c.Run("Apply to selected frames", [](lumetra::Document& d, const lumetra::Selection& s) {
           return lumetra::ApplyTextToSelected(d, s, {"One new line", "for every frame"});
         });
       },
       true, {}, {}, {}},
      {"Remove", [](lumetra::WindowCommands& c) { c.Run("Remove", lumetra::RemoveFrames); }, true, {}, {}, {}},
  };
  int rows = 0;
  int scroll_height = 0;
  for (int run = 0; run < kRuns; ++run) {
    lumetra::ScriptedPrompts prompts;
    lumetra::MainWindow window(prompts);
    window.CreateDialogs(prompts);
    window.show();
    QApplication::processEvents();
    QListView* list = window.frameList();

    QElapsedTimer timer;
    timer.start();
    window.session().OpenStartupFile(file);
    QApplication::processEvents();  // the list lays its rows out
    window.repaint();               // and paints them
    open_ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    rows = list->model()->rowCount();
    scroll_height = list->verticalScrollBar()->maximum() + list->viewport()->height();

    timer.restart();
    list->selectAll();
    QApplication::processEvents();
    list->viewport()->repaint();
    select_ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);

    auto measure = [&](std::vector<double>& into, const std::function<void()>& work) {
      timer.restart();
      work();
      QApplication::processEvents();
      list->viewport()->repaint();
      into.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    };
    lumetra::WindowCommands& commands = window.commands();
    for (Edit& edit : edits) {
      list->selectAll();
      QApplication::processEvents();
      measure(edit.run_ms, [&] { edit.run(commands); });
      if (!edit.undoable) continue;
      measure(edit.undo_ms, [&] { commands.Undo(); });
      measure(edit.redo_ms, [&] { commands.Redo(); });
      commands.Undo();
    }
    window.session().document().Modified = lumetra::kClean;
  }
  std::filesystem::remove_all(dir);

  std::printf("ui_bench: %d frames in the list, %d pixels high (median of %d runs)\n", rows,
              scroll_height, kRuns);
  std::printf("  open the file until the list is painted: %8.1f ms   (target < 200 ms)\n",
              Median(open_ms));
  std::printf("  select all frames:                      %8.1f ms   (target < 50 ms)\n",
              Median(select_ms));
  std::printf("  with every frame selected, until the list is painted again:\n");
  for (const Edit& edit : edits) {
    std::printf("    %-26s %8.1f ms", edit.name, Median(edit.run_ms));
    if (edit.undoable) {
      std::printf(", undo %8.1f ms, redo %8.1f ms", Median(edit.undo_ms), Median(edit.redo_ms));
    }
    std::printf("\n");
  }
  return rows == kFrames ? 0 : 1;
}
