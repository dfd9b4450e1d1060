#include "session/command_runner.h"

#include <utility>
#include <vector>

namespace lumetra {

namespace {

bool SameFrame(const Frame& f, const Document& doc, int i) {
  const auto k = static_cast<std::size_t>(i);
  return f.start == doc.FrameStart[k] && f.end == doc.FrameEnd[k] && f.text == doc.FrameText[k];
}

// Watches the document while a command runs and keeps every frame as it was before the
// command first touched it; Finish turns that into an undo step.
class ChangeRecorder : public ChangeWatcher {
 public:
  explicit ChangeRecorder(Document& doc)
      : doc_(doc), header_(HeaderOf(doc)), slot_(static_cast<std::size_t>(MaxFrames) + 1, -1) {
    doc_.SetChangeWatcher(this);
  }
  ~ChangeRecorder() override { doc_.SetChangeWatcher(nullptr); }
  ChangeRecorder(const ChangeRecorder&) = delete;
  ChangeRecorder& operator=(const ChangeRecorder&) = delete;

  void FrameAboutToChange(int i) override {
    if (i < 1 || i > MaxFrames || Moved(i)) return;
    int& slot = slot_[static_cast<std::size_t>(i)];
    if (slot >= 0) return;
    slot = static_cast<int>(originals_.size());
    originals_.emplace_back(i, doc_.FrameAt(i));
  }

  void FramesAboutToMove(int first) override {
    if (first < 1) first = 1;
    if (Moved(first)) return;
    // The frames from `first` up to where the store already moved, as they were.
    const int end = moved_from_ > 0 ? moved_from_ - 1 : doc_.FrameCount;
    std::vector<Frame> tail;
    tail.reserve(static_cast<std::size_t>(end - first + 1) + tail_before_.size());
    for (int i = first; i <= end; ++i) {
      const int slot = slot_[static_cast<std::size_t>(i)];
      tail.push_back(slot >= 0 ? originals_[static_cast<std::size_t>(slot)].second : doc_.FrameAt(i));
    }
    for (Frame& f : tail_before_) tail.push_back(std::move(f));
    tail_before_ = std::move(tail);
    moved_from_ = first;
  }

  // What changed since the recorder was made.
  UndoStep Finish() {
    doc_.SetChangeWatcher(nullptr);
    UndoStep step;
    if (moved_from_ > 0) Splice(step);
    for (auto& [i, before] : originals_) {
      if (Moved(i)) continue;  // the splice holds it
      const auto k = static_cast<std::size_t>(i);
      if (before.start != doc_.FrameStart[k] || before.end != doc_.FrameEnd[k]) {
        step.times.push_back({i, before.start, before.end, doc_.FrameStart[k], doc_.FrameEnd[k]});
      }
      if (before.text != doc_.FrameText[k]) {
        step.texts.push_back({i, std::move(before.text), doc_.FrameText[k]});
      }
    }
    HeaderFields header = HeaderOf(doc_);
    if (header != header_) {
      step.header_changed = true;
      step.header_before = std::move(header_);
      step.header_after = std::move(header);
    }
    return step;
  }

 private:
  bool Moved(int i) const { return moved_from_ > 0 && i >= moved_from_; }

  // The moved frames, less what they have in common at both ends.
  void Splice(UndoStep& step) {
    const int before_count = static_cast<int>(tail_before_.size());
    const int after_count = doc_.FrameCount - moved_from_ + 1;
    int suffix = 0;
    while (suffix < before_count && suffix < after_count &&
           SameFrame(tail_before_[static_cast<std::size_t>(before_count - 1 - suffix)], doc_,
                     doc_.FrameCount - suffix)) {
      ++suffix;
    }
    int prefix = 0;
    while (prefix < before_count - suffix && prefix < after_count - suffix &&
           SameFrame(tail_before_[static_cast<std::size_t>(prefix)], doc_, moved_from_ + prefix)) {
      ++prefix;
    }
    if (prefix == before_count - suffix && prefix == after_count - suffix) return;
    step.splice_at = moved_from_ + prefix;
    step.splice_before.assign(std::make_move_iterator(tail_before_.begin() + prefix),
                              std::make_move_iterator(tail_before_.end() - suffix));
    for (int i = step.splice_at; i <= doc_.FrameCount - suffix; ++i) {
      step.splice_after.push_back(doc_.FrameAt(i));
    }
  }

  Document& doc_;
  HeaderFields header_;
  // Frames below moved_from_ as they were when first touched; slot_[i] indexes them.
  std::vector<int> slot_;
  std::vector<std::pair<int, Frame>> originals_;
  // The store from moved_from_ on as it was; 0 while nothing moved.
  int moved_from_ = 0;
  std::vector<Frame> tail_before_;
};

}  // namespace

CommandResult CommandRunner::Run(const std::string& name, const Selection& before,
                                 const Command& command, const std::string& coalesce_key) {
  if (running_) return command(doc_);  // a command inside a command is part of it
  running_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{running_};

  std::optional<UndoStep> folded;
  if (history_.CanAmend(coalesce_key)) {
    // Back to the state before the last step, then both steps recorded as one.
    folded = history_.TakeLast();
    ApplyStep(doc_, *folded, false);
  }
  CommandResult result;
  UndoStep step;
  {
    ChangeRecorder recorder(doc_);
    doc_.BeginChangeBatch();
    if (folded) ApplyStep(doc_, *folded, true);
    result = command(doc_);
    doc_.EndChangeBatch();
    step = recorder.Finish();
  }
  last_run_changed_ = !step.Empty();
  if (last_run_changed_) {
    step.name = name;
    step.coalesce_key = coalesce_key;
    step.selection_before = folded ? std::move(folded->selection_before) : before;
    step.selection_after = result.selection;
    history_.Push(std::move(step));
  }
  if (!result.message.empty()) prompts_.ShowMessage(result.message);
  return result;
}

std::string CommandRunner::UndoName() const {
  const UndoStep* step = history_.NextUndo();
  return step != nullptr ? step->name : std::string();
}

std::string CommandRunner::RedoName() const {
  const UndoStep* step = history_.NextRedo();
  return step != nullptr ? step->name : std::string();
}

std::optional<Selection> CommandRunner::Undo() {
  if (running_ || !CanUndo()) return std::nullopt;
  const UndoStep& step = history_.StepBack();
  ApplyStep(doc_, step, false);
  doc_.Modified = history_.AtSavedState() ? kClean : kUnsaved;
  return step.selection_before;
}

std::optional<Selection> CommandRunner::Redo() {
  if (running_ || !CanRedo()) return std::nullopt;
  const UndoStep& step = history_.StepForward();
  ApplyStep(doc_, step, true);
  doc_.Modified = history_.AtSavedState() ? kClean : kUnsaved;
  return step.selection_after;
}

}  // namespace lumetra
