// The editing commands on a 9999-frame document with every frame selected, each run through
// the command runner as the window runs it, then one undo and one redo of it. Prints the
// median of several runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "editing/command_buttons.h"
#include "editing/frame_commands.h"
#include "editing/search.h"
#include "editing/time_boxes.h"
#include "session/command_runner.h"
#include "session/scripted_prompts.h"

namespace {

using namespace lumetra;
using Clock = std::chrono::steady_clock;

constexpr int kFrames = MaxReadFrames;
constexpr int kRuns = 9;
constexpr double kTargetMs = 20;

void Fill(Document& doc) {
  doc.BeginBulkChange();
  doc.ResetDocument();
  for (int i = 1; i <= kFrames; ++i) {
    doc.FrameStart[i] = i * 2500;
    doc.FrameEnd[i] = i * 2500 + 2000;
    doc.FrameText[i] = "Line number " + std::to_string(i) + " of the film";
    if (i % 3 == 0) doc.FrameText[i] += "|and its second line";
    // Faults for the text corrections.
    if (i % 4 == 0) doc.FrameText[i] = "-a teh film,so im sure.we wil see " + std::to_string(i);
  }
  doc.FrameCount = kFrames;
  doc.EndBulkChange();
}

double Ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

struct Case {
  const char* name;
  Selection selection;
  std::function<CommandResult(Document&, const Selection&)> command;
};

}  // namespace

int main() {
#ifndef __OPTIMIZE__
  std::printf("Note: built without optimisation; these figures say little.\n");
#endif
  const Selection all{AllFrames(kFrames), 5000, 4990};
  const Selection pair{{1, kFrames}, kFrames, 4990};
  const Selection focused{{}, 1, 1};
  Selection odd{{}, 1, 1};
  for (int i = 1; i <= kFrames; i += 2) odd.frames.push_back(i);
  TimeBoxes boxes;
  EditingParameters parameters;
  std::vector<Case> cases = {
      {"Select All", all,
       [](Document& d, const Selection& s) {
         return CommandResult{SelectAllFrames(d, s), true, {}};
       }},
      {"Unselect All", all,
       [](Document& d, const Selection& s) {
         return CommandResult{UnselectAllFrames(d, s), true, {}};
       }},
      {"Invert", all,
       [](Document& d, const Selection& s) {
         return CommandResult{InvertSelection(d, s), true, {}};
       }},
      {"Apply to selected frames", all,
       [](Document& d, const Selection& s) {
         return ApplyTextToSelected(d, s, {"A new first line for every frame", "and a second"});
       }},
      {"Insert (before frame 1)", focused, InsertFrame},
      {"Remove (every frame)", all, RemoveFrames},
      {"Remove (every other frame)", odd, RemoveFrames},
      {"Merge 2 Frame (1 and 9999)", pair, MergeTwoFrames},
      {"Start time (box commit)", focused,
       [](Document& d, const Selection& s) { return TimeBoxes::Commit(d, s, 2, "7"); }},
      {"Start time (+ step)", focused,
       [&boxes](Document& d, const Selection& s) { return boxes.Step(d, s, true, true); }},
      {"Search (mark every hit)", all,
       [](Document& d, const Selection& s) {
         return SearchFrames(d, s, "SEE 9", SearchOptions{true, true, true});
       }},
  };
  // The buttons of the "Timing" and "Text" groups; the spell checks both select and correct.
  for (const CommandButtonInfo& info : CommandButtons()) {
    cases.push_back(
        {info.name, all, [&parameters, button = info.button](Document& d, const Selection& s) {
           parameters.only_select_errors = false;
           return PressCommandButton(button, d, s, parameters);
         }});
  }
  cases.push_back(
      {"ENG spell check (select only)", all, [&parameters](Document& d, const Selection& s) {
         parameters.only_select_errors = true;
         return PressCommandButton(CommandButton::kSpellCheckEnglish, d, s, parameters);
       }});

  static Document doc;
  ScriptedPrompts prompts;
  CommandRunner runner(doc, prompts);
  Fill(doc);
  boxes.Enter(2);

  std::printf("Editing commands on %d frames, through the command runner (median of %d runs)\n",
              kFrames, kRuns);
  std::printf("%-32s %10s %10s %10s\n", "command", "run ms", "undo ms", "redo ms");
  bool within = true;
  for (const Case& c : cases) {
    std::vector<double> run_ms, undo_ms, redo_ms;
    for (int r = 0; r < kRuns; ++r) {
      Fill(doc);
      runner.ClearHistory();
      auto start = Clock::now();
      runner.Run(c.name, c.selection, [&](Document& d) { return c.command(d, c.selection); });
      run_ms.push_back(Ms(start));
      start = Clock::now();
      runner.Undo();
      undo_ms.push_back(Ms(start));
      start = Clock::now();
      runner.Redo();
      redo_ms.push_back(Ms(start));
    }
    const double run = Median(run_ms), undo = Median(undo_ms), redo = Median(redo_ms);
    within = within && run < kTargetMs && undo < kTargetMs && redo < kTargetMs;
    std::printf("%-32s %10.2f %10.2f %10.2f\n", c.name, run, undo, redo);
  }
  std::printf("target: each under %.0f ms: %s\n", kTargetMs, within ? "met" : "NOT met");
  return 0;
}
