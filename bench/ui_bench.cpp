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
#include "media/audio_peaks.h"
#include "ui/frame_list_model.h"
#include "ui/main_window.h"
#include "ui/waveform_strip.h"
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

// A full-width (1920 pixels) waveform of a 2-hour film with the subtitle's frames on it,
// painted once for every 40 ms of a playing film; the median and the slowest paint, at
// the default zoom and with the whole film in view, and the same with the strip drawn
// anew every time (as when the view pages on while the film plays).
struct WaveformPaint {
  double median_ms = 0, worst_ms = 0, zoomed_out_median_ms = 0, zoomed_out_worst_ms = 0;
  // Every paint drawing the whole strip anew, as when the view pages on.
  double redraw_median_ms = 0, redraw_worst_ms = 0, zoomed_out_redraw_median_ms = 0,
         zoomed_out_redraw_worst_ms = 0;
};

WaveformPaint MeasureWaveform(const std::string& file) {
  lumetra::ScriptedPrompts prompts;
  lumetra::MainWindow window(prompts);
  window.session().OpenStartupFile(file);
  lumetra::PeakPyramid peaks;
  std::vector<lumetra::Peak> base(720000);
  for (std::size_t i = 0; i < base.size(); ++i) {
    const auto level = static_cast<std::int16_t>(4000 + (i * 7919) % 20000);
    base[i] = {static_cast<std::int16_t>(-level), level};
  }
  peaks.Append(base);
  lumetra::WaveformStrip strip(window.commands(), window.frameListModel());
  strip.resize(1920, 160);
  strip.SetPeaks(&peaks);
  strip.SetDuration(7200000);
  strip.show();
  QApplication::processEvents();
  strip.SetPlaying(true);
  auto play = [&](double ms_per_pixel, bool redraw, double* median, double* worst) {
    strip.SetView(0, ms_per_pixel);
    strip.repaint();
    std::vector<double> paints;
    QElapsedTimer timer;
    // 25 seconds of film from 1000 s on: the view pages along once or twice.
    for (qint64 t = 1000000; t < 1025000; t += 40) {
      timer.restart();
      strip.SetPosition(t);
      if (redraw) strip.Refresh();
      strip.repaint();
      paints.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    *median = Median(paints);
    *worst = *std::max_element(paints.begin(), paints.end());
  };
  WaveformPaint result;
  const double normal = lumetra::WaveformStrip::kDefaultMsPerPixel;
  play(normal, false, &result.median_ms, &result.worst_ms);
  play(1e9, false, &result.zoomed_out_median_ms, &result.zoomed_out_worst_ms);
  play(normal, true, &result.redraw_median_ms, &result.redraw_worst_ms);
  play(1e9, true, &result.zoomed_out_redraw_median_ms, &result.zoomed_out_redraw_worst_ms);
  window.session().document().Modified = lumetra::kClean;
  return result;
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
  const WaveformPaint waveform = MeasureWaveform(file);
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
  std::printf("  a 1920-pixel waveform of a 2-hour film while it plays, a paint every 40 ms (the\n"
              "  line moves over a picture drawn once per view; median and slowest paint):\n");
  std::printf("    at 10 ms a pixel:     median %5.2f ms, slowest %5.2f ms   (target < 4 ms)\n",
              waveform.median_ms, waveform.worst_ms);
  std::printf("    the whole film shown: median %5.2f ms, slowest %5.2f ms   (target < 4 ms)\n",
              waveform.zoomed_out_median_ms, waveform.zoomed_out_worst_ms);
  std::printf("    drawn anew each time (as when the view pages on), 10 ms a pixel: median %5.2f ms, "
              "slowest %5.2f ms\n",
              waveform.redraw_median_ms, waveform.redraw_worst_ms);
  std::printf("    drawn anew each time, the whole film shown:                      median %5.2f ms, "
              "slowest %5.2f ms\n",
              waveform.zoomed_out_redraw_median_ms, waveform.zoomed_out_redraw_worst_ms);
  return rows == kFrames ? 0 : 1;
}
