#include "session/command_runner.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "document_support.h"
#include "editing/command_buttons.h"
#include "editing/frame_commands.h"
#include "editing/time_boxes.h"
#include "session/scripted_prompts.h"

namespace lumetra {
namespace {

// Everything undo must give back.
struct State {
  std::vector<Frame> frames;
  std::vector<FrameExtras> extras;
  HeaderFields header;
  FormatHeader file_header;
  bool operator==(const State&) const = default;
};

State StateOf(const Document& doc) {
  State s{{}, {}, HeaderOf(doc), doc.FileHeader ? *doc.FileHeader : FormatHeader()};
  for (int i = 1; i <= doc.FrameCount; ++i) {
    s.frames.push_back(doc.FrameAt(i));
    s.extras.push_back(doc.FrameExtra[static_cast<std::size_t>(i)]);
  }
  return s;
}

// Frame i gets a note before it, a name and a style of its own; the file a header.
void FillExtras(Document& doc) {
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const std::string n = std::to_string(i);
    doc.FrameExtra.Mutable(static_cast<std::size_t>(i)) = {"NOTE " + n + "\n", "id" + n,
                                                           "style" + n};
  }
  doc.FileHeader = std::make_shared<FormatHeader>(FormatHeader{kKindUnknown, "head\n", "tail\n"});
}

// Frames "t1".."tN", the even ones with a second line, and a title.
void Fill(Document& doc, int count) {
  std::vector<Frame> frames;
  for (int i = 1; i <= count; ++i)
    frames.push_back(
        {i * 1000, i * 1000 + 500, "t" + std::to_string(i) + (i % 2 ? "" : "|second")});
  testing::Fill(doc, frames);
  doc.InfoTitle = "Title";
}

class CommandRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override { Fill(doc, 6); }

  // Runs the command on the document as it is; undo must give back the frames and the
  // selection before it, redo those after it.
  void ExpectUndoneAndRedone(
      const std::string& name, const Selection& selection,
      const std::function<CommandResult(Document&, const Selection&)>& command) {
    runner.ClearHistory();
    doc.Modified = kClean;
    const State before = StateOf(doc);
    const CommandResult result =
        runner.Run(name, selection, [&](Document& d) { return command(d, selection); });
    const State after = StateOf(doc);
    ASSERT_NE(after, before) << name;
    EXPECT_EQ(runner.UndoName(), name);

    EXPECT_EQ(runner.Undo(), selection) << name;
    EXPECT_EQ(StateOf(doc), before) << name;
    EXPECT_EQ(doc.Modified, kClean) << name;
    EXPECT_EQ(runner.RedoName(), name);
    EXPECT_EQ(runner.Redo(), result.selection) << name;
    EXPECT_EQ(StateOf(doc), after) << name;
    EXPECT_EQ(doc.Modified, kUnsaved) << name;
    EXPECT_FALSE(runner.CanRedo());
  }

  // A "Text" step that sets the frame's text, folded with the steps of the same key.
  void SetText(int frame, const char* text, const std::string& key = {}) {
    runner.Run(
        "Text", Selection{{frame}, frame, 1},
        [=](Document& d) {
          d.Modified = kUnsaved;
          d.SetText(frame, text);
          return CommandResult{Selection{{frame}, frame, 1}, false, {}};
        },
        key);
  }

  Document doc;
  ScriptedPrompts prompts;
  CommandRunner runner{doc, prompts};
};

TEST_F(CommandRunnerTest, EveryCommandIsUndoneAndRedoneExactly) {
  using Command = std::function<CommandResult(Document&, const Selection&)>;
  TimeBoxes boxes;
  boxes.Enter(7);
  const Command insert = InsertFrame, remove = RemoveFrames, merge = MergeTwoFrames;
  const Command apply = [](Document& d, const Selection& s) {
    return ApplyTextToSelected(d, s, {"new", "text"});
  };
  const Command commit = [](Document& d, const Selection& s) {
    return TimeBoxes::Commit(d, s, 7, "9");
  };
  const Command step = [&](Document& d, const Selection& s) {
    return boxes.Step(d, s, true, true);
  };
  const std::tuple<const char*, Selection, Command> cases[] = {
      {"Apply to selected frames", {{2, 3, 5}, 3, 2}, apply},
      {"Insert", {{}, 4, 1}, insert},
      {"Insert", {{}, 0, 1}, insert},
      {"Remove", {{2, 4}, 4, 1}, remove},
      {"Remove", {{1, 2, 3, 4, 5, 6}, 1, 1}, remove},
      {"Merge 2 Frame", {{2, 5}, 5, 1}, merge},
      {"End time", {{3}, 3, 1}, commit},
      {"End time", {{3}, 3, 1}, step},
  };
  for (const auto& [name, before, command] : cases) {
    Fill(doc, 6);
    ExpectUndoneAndRedone(name, before, command);
  }
}

TEST_F(CommandRunnerTest, ExtrasTravelWithTheirFramesThroughEditsUndoAndRedo) {
  using Command = std::function<CommandResult(Document&, const Selection&)>;
  const Command insert = InsertFrame, remove = RemoveFrames, merge = MergeTwoFrames;
  struct Case {
    const char* name;
    Selection selection;
    Command command;
    std::vector<std::string> leads, identifiers, styles;
    std::string tail;
  };
  // clang-format off
  const Case cases[] = {
      // A new frame takes the style of the frame before it, or of the first one.
      {"Insert", {{}, 3, 1}, insert,
       {"NOTE 1\n", "NOTE 2\n", "", "NOTE 3\n", "NOTE 4\n"}, {"id1", "id2", "", "id3", "id4"},
       {"style1", "style2", "style2", "style3", "style4"}, "tail\n"},
      {"Insert", {{}, 1, 1}, insert,
       {"", "NOTE 1\n", "NOTE 2\n", "NOTE 3\n", "NOTE 4\n"}, {"", "id1", "id2", "id3", "id4"},
       {"style1", "style1", "style2", "style3", "style4"}, "tail\n"},
      // The notes before removed frames stay before the next frame, or at the end.
      {"Remove", {{2, 3}, 3, 1}, remove,
       {"NOTE 1\n", "NOTE 2\nNOTE 3\nNOTE 4\n"}, {"id1", "id4"}, {"style1", "style4"},
       "tail\n"},
      {"Remove", {{1, 4}, 4, 1}, remove,
       {"NOTE 1\nNOTE 2\n", "NOTE 3\n"}, {"id2", "id3"}, {"style2", "style3"},
       "NOTE 4\ntail\n"},
      {"Remove", {{1, 2, 3, 4}, 1, 1}, remove, {}, {}, {},
       "NOTE 1\nNOTE 2\nNOTE 3\nNOTE 4\ntail\n"},
      // The merged frame keeps the first one's extras.
      {"Merge 2 Frame", {{1, 2}, 2, 1}, merge,
       {"NOTE 1\n", "NOTE 2\nNOTE 3\n", "NOTE 4\n"}, {"id1", "id3", "id4"},
       {"style1", "style3", "style4"}, "tail\n"},
  };
  // clang-format on
  for (const Case& c : cases) {
    Fill(doc, 4);
    FillExtras(doc);
    ExpectUndoneAndRedone(c.name, c.selection, c.command);
    std::vector<std::string> leads, identifiers, styles;
    for (int i = 1; i <= doc.FrameCount; ++i) {
      const FrameExtras& extras = doc.FrameExtra[static_cast<std::size_t>(i)];
      leads.push_back(extras.lead);
      identifiers.push_back(extras.identifier);
      styles.push_back(extras.style);
    }
    EXPECT_EQ(leads, c.leads) << c.name;
    EXPECT_EQ(identifiers, c.identifiers) << c.name;
    EXPECT_EQ(styles, c.styles) << c.name;
    EXPECT_EQ(doc.FileHeader->tail, c.tail) << c.name;
    EXPECT_EQ(doc.FileHeader->head, "head\n") << c.name;
  }
}

TEST_F(CommandRunnerTest, EveryTimingAndTextButtonIsUndoneAndRedoneExactly) {
  EditingParameters parameters;
  parameters.only_select_errors = false;
  for (const CommandButtonInfo& info : CommandButtons()) {
    Fill(doc, 6);
    for (int i : {2, 3, 5}) doc.SetText(i, "-a teh ay b,c.d");
    doc.SetTimes(2, 2000, 3700);  // runs into frame 3
    ExpectUndoneAndRedone(info.name, Selection{{2, 3, 5}, 3, 2},
                          [&](Document& d, const Selection& s) {
                            return PressCommandButton(info.button, d, s, parameters);
                          });
  }
}

// Entering the editor or a time box and leaving it without typing used to write the same
// text or times back and mark the document modified, with no step to undo it.
TEST_F(CommandRunnerTest, ACommandThatChangesNothingRecordsNoStepAndLeavesModifiedAlone) {
  runner.Run("Insert", Selection{{1}, 1, 1}, [](Document& d) {
    d.SetText(1, "changed");
    InsertFrame(d, Selection{{}, 3, 1});
    d.SetText(1, "t1");  // back as it was
    return RemoveFrames(d, Selection{{3}, 3, 1});
  });
  EXPECT_FALSE(runner.CanUndo());
  doc.Modified = kClean;
  doc.SetText(2, "a|b|c|d|e");
  doc.SetText(3, "a|b|c|d");
  runner.Run("Merge 2 Frame", Selection{{2, 3}, 2, 1}, [](Document& d) {
    return MergeTwoFrames(d, Selection{{2, 3}, 2, 1});
  });
  EXPECT_FALSE(runner.CanUndo());
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(prompts.messages, std::vector<std::string>{kCantMerge});
  // The editor left without typing: the same text written back.
  SetText(1, "t1");
  EXPECT_EQ(doc.Modified, kClean);
  doc.Modified = kUnsaved;  // a document with unsaved work stays so
  SetText(1, "t1");
  EXPECT_EQ(doc.Modified, kUnsaved);
  // Typing taken back within one visit: the step goes, and so does the mark.
  doc.Modified = kClean;
  SetText(1, "typed", "visit");
  EXPECT_EQ(doc.Modified, kUnsaved);
  SetText(1, "t1", "visit");
  EXPECT_FALSE(runner.CanUndo());
  EXPECT_EQ(doc.Modified, kClean);
}

TEST_F(CommandRunnerTest, ANewCommandAfterAnUndoDropsTheRedoStepsAndTheSavedState) {
  auto set_text = [&](const char* text) { SetText(1, text); };
  set_text("a");
  set_text("b");
  runner.MarkSaved();
  runner.Undo();
  EXPECT_EQ(doc.FrameText[1], "a");
  EXPECT_EQ(doc.Modified, kUnsaved);
  runner.Redo();
  EXPECT_EQ(doc.Modified, kClean);  // back at the saved state
  runner.Undo();
  set_text("c");
  EXPECT_FALSE(runner.CanRedo());
  EXPECT_EQ(runner.history().size(), 2);
  runner.Undo();
  runner.Undo();
  EXPECT_EQ(doc.FrameText[1], "t1");
  EXPECT_EQ(doc.Modified, kUnsaved);  // the saved state ("b") can no longer be reached
  EXPECT_FALSE(runner.Undo().has_value());
}

TEST_F(CommandRunnerTest, StepsWithTheSameKeyFoldIntoOneUntilSomethingElseHappens) {
  auto type = [&](const char* text) { SetText(2, text, "typing 2"); };
  type("a");
  type("ab");
  type("abc");
  EXPECT_EQ(runner.history().size(), 1);
  runner.Undo();
  EXPECT_EQ(doc.FrameText[2], "t2|second");
  runner.Redo();
  type("abcd");  // after a redo: a step of its own
  EXPECT_EQ(runner.history().size(), 2);
  runner.MarkSaved();
  type("abcde");  // after a save too: the saved state stays reachable
  EXPECT_EQ(runner.history().size(), 3);
  runner.Undo();
  EXPECT_EQ(doc.FrameText[2], "abcd");
  EXPECT_EQ(doc.Modified, kClean);
  SetText(3, "x", "typing 3");
  SetText(2, "q", "typing 2");  // another key: a step of its own
  EXPECT_EQ(runner.history().size(), 4);
}

// A thousand steps are kept; the one-thousand-and-first pushes the oldest out, the rest
// still undo one by one, and the saved state moves with the steps or is lost with them.
TEST_F(CommandRunnerTest, AThousandStepsAreKeptAndTheOldestGoesFirst) {
  EXPECT_EQ(UndoHistory::kDefaultMaxSteps, 1000u);
  std::string prefix = "v";
  auto edit = [&](int i) { SetText(1, (prefix + std::to_string(i)).c_str()); };
  auto undo_all = [&] {
    int undone = 0;
    while (runner.Undo()) ++undone;
    return undone;
  };
  // Exactly a thousand: every step undoes, back to the clean document.
  for (int i = 1; i <= 1000; ++i) edit(i);
  EXPECT_EQ(runner.history().size(), 1000);
  EXPECT_EQ(undo_all(), 1000);
  EXPECT_EQ(doc.FrameText[1], "t1");
  EXPECT_EQ(doc.Modified, kClean);

  // Saved after the first edit, then a thousand more: the oldest step goes, and undoing
  // all the others comes back to the saved state.
  runner.ClearHistory();
  edit(1);
  runner.MarkSaved();
  for (int i = 2; i <= 1001; ++i) edit(i);
  EXPECT_EQ(runner.history().size(), 1000);
  EXPECT_EQ(undo_all(), 1000);
  EXPECT_EQ(doc.FrameText[1], "v1");
  EXPECT_EQ(doc.Modified, kClean);

  // Saved at the start of the history that then loses its oldest step: the saved state
  // cannot come back, and the document never reads as saved.
  runner.ClearHistory();
  prefix = "w";
  for (int i = 1; i <= 1001; ++i) edit(i);
  EXPECT_EQ(undo_all(), 1000);
  EXPECT_EQ(doc.FrameText[1], "w1");
  EXPECT_EQ(doc.Modified, kUnsaved);
  for (int i = 0; i < 1000; ++i) ASSERT_TRUE(runner.Redo().has_value());
  EXPECT_EQ(doc.FrameText[1], "w1001");
  EXPECT_EQ(doc.Modified, kUnsaved);
}

TEST_F(CommandRunnerTest, SixtyFourMegabytesOfStepsAreKeptAndTheOldestGoesFirst) {
  EXPECT_EQ(UndoHistory::kDefaultMaxBytes, 64u << 20);
  const std::string megabyte(1 << 20, 'x');
  for (int i = 0; i < 40; ++i) SetText(1, (std::to_string(i) + megabyte).c_str());
  // Each step holds the text before and after it: some 2 MB.
  EXPECT_LE(runner.history().bytes(), UndoHistory::kDefaultMaxBytes);
  EXPECT_GE(runner.history().bytes(), UndoHistory::kDefaultMaxBytes - (3u << 20));
  const int kept = runner.history().size();
  EXPECT_LT(kept, 40);
  for (int i = 0; i < kept; ++i) ASSERT_TRUE(runner.Undo().has_value());
  EXPECT_EQ(doc.FrameText[1], std::to_string(39 - kept) + megabyte);
  EXPECT_EQ(doc.Modified, kUnsaved);  // the clean document went with the oldest steps
}

TEST(UndoHistory, TheMemoryBoundDropsTheOldestSteps) {
  UndoHistory history(10000);
  auto step = [](const std::string& name, std::size_t text_size) {
    UndoStep s;
    s.name = name;
    s.texts.push_back({1, std::string(text_size, 'x'), "y"});
    return s;
  };
  history.Push(step("first", 3000));
  history.Push(step("second", 3000));
  EXPECT_EQ(history.size(), 2);
  history.Push(step("third", 3000));
  EXPECT_EQ(history.size(), 2);
  EXPECT_LE(history.bytes(), 10000u);
  history.StepBack();
  EXPECT_EQ(history.NextUndo()->name, "second");
  EXPECT_FALSE(history.AtSavedState());
  history.Push(step("huge", 50000));  // the newest step stays whatever it holds
  EXPECT_EQ(history.size(), 1);
  EXPECT_EQ(history.NextUndo()->name, "huge");

  // Steps that fill the bound exactly all stay; one byte more and the oldest goes.
  const std::size_t one = step("a", 100).Bytes();
  UndoHistory exact(3 * one);
  for (const char* name : {"a", "b", "c"}) exact.Push(step(name, 100));
  EXPECT_EQ(exact.size(), 3);
  EXPECT_EQ(exact.bytes(), 3 * one);
  exact.Push(step("d", 100));
  EXPECT_EQ(exact.size(), 3);
  EXPECT_EQ(exact.StepBack().name, "d");
  EXPECT_EQ(exact.StepBack().name, "c");
  EXPECT_EQ(exact.StepBack().name, "b");
  EXPECT_EQ(exact.NextUndo(), nullptr);
}

}  // namespace
}  // namespace lumetra
