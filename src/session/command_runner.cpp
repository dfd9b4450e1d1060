#include "session/command_runner.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace lumetra {

namespace {

bool SameFrame(const Frame& f, const FrameExtras& extras, const Document& doc, int i) {
  const auto k = static_cast<std::size_t>(i);
  return f.start == doc.FrameStart[k] && f.end == doc.FrameEnd[k] && f.text == doc.FrameText[k] &&
         extras == doc.FrameExtra[k];
}

}  // namespace

// Watches the document while a command runs and keeps what every frame held before the
// command first touched it; Finish turns that into an undo step. Its buffers stay between
// commands, so that a command over thousands of frames allocates little.
class ChangeRecorder : public ChangeWatcher {
 public:
  void Start(Document& doc) {
    // The slots are made for the first command (a session that runs none needs none).
    if (time_slot_.empty()) {
      time_slot_.assign(static_cast<std::size_t>(MaxFrames) + 1, -1);
      text_slot_.assign(static_cast<std::size_t>(MaxFrames) + 1, -1);
      extras_slot_.assign(static_cast<std::size_t>(MaxFrames) + 1, -1);
    }
    Clear();  // what a command that never finished left
    doc_ = &doc;
    header_ = HeaderOf(doc);
    file_header_ = doc.FileHeader;
    encodings_ = {doc.Encoding, doc.FileEncoding};
    moved_from_ = 0;
    doc.SetChangeWatcher(this);
  }

  void TimesAboutToChange(int i) override {
    if (!Watched(i)) return;
    int& slot = time_slot_[static_cast<std::size_t>(i)];
    if (slot >= 0) return;
    slot = static_cast<int>(times_.size());
    const auto k = static_cast<std::size_t>(i);
    times_.push_back({i, doc_->FrameStart[k], doc_->FrameEnd[k], 0, 0});
  }

  void TextReplaced(int i, std::string&& old) override {
    if (!Watched(i)) return;
    int& slot = text_slot_[static_cast<std::size_t>(i)];
    if (slot >= 0) return;
    slot = static_cast<int>(texts_.size());
    texts_.emplace_back(i, std::move(old));
  }

  void ExtrasAboutToChange(int i) override {
    if (!Watched(i)) return;
    int& slot = extras_slot_[static_cast<std::size_t>(i)];
    if (slot >= 0) return;
    slot = static_cast<int>(extras_.size());
    extras_.push_back({i, doc_->FrameExtra[static_cast<std::size_t>(i)], {}});
  }

  void FramesAboutToMove(int first) override {
    if (first < 1) first = 1;
    if (Moved(first)) return;
    // The frames from `first` up to where the store already moved, as they were.
    const int end = moved_from_ > 0 ? moved_from_ - 1 : doc_->FrameCount;
    std::vector<Frame> tail;
    std::vector<FrameExtras> tail_extras;
    const std::size_t size =
        static_cast<std::size_t>(std::max(end - first + 1, 0)) + tail_before_.size();
    tail.reserve(size);
    tail_extras.reserve(size);
    for (int i = first; i <= end; ++i) {
      tail.push_back(TakeOriginal(i));
      tail_extras.push_back(TakeOriginalExtras(i));
    }
    for (Frame& f : tail_before_) tail.push_back(std::move(f));
    for (FrameExtras& e : tail_extras_before_) tail_extras.push_back(std::move(e));
    tail_before_ = std::move(tail);
    tail_extras_before_ = std::move(tail_extras);
    moved_from_ = first;
  }

  // What changed since Start; the recorder is ready for the next command.
  UndoStep Finish() {
    doc_->SetChangeWatcher(nullptr);
    UndoStep step;
    if (moved_from_ > 0) Splice(step);
    const Document& doc = *doc_;
    auto times_differ = [&](const UndoStep::TimeChange& t) {
      const auto k = static_cast<std::size_t>(t.frame);
      return !Moved(t.frame) &&
             (t.start_before != doc.FrameStart[k] || t.end_before != doc.FrameEnd[k]);
    };
    auto text_differs = [&](const std::pair<int, std::string>& t) {
      return !Moved(t.first) && t.second != doc.FrameText[static_cast<std::size_t>(t.first)];
    };
    step.times.reserve(
        static_cast<std::size_t>(std::count_if(times_.begin(), times_.end(), times_differ)));
    step.texts.reserve(
        static_cast<std::size_t>(std::count_if(texts_.begin(), texts_.end(), text_differs)));
    for (UndoStep::TimeChange& t : times_) {
      if (!times_differ(t)) continue;
      const auto k = static_cast<std::size_t>(t.frame);
      t.start_after = doc.FrameStart[k];
      t.end_after = doc.FrameEnd[k];
      step.times.push_back(t);
    }
    for (auto& t : texts_) {
      if (!text_differs(t)) continue;
      step.texts.push_back(
          {t.first, std::move(t.second), doc.FrameText[static_cast<std::size_t>(t.first)]});
    }
    for (UndoStep::ExtrasChange& e : extras_) {
      const auto k = static_cast<std::size_t>(e.frame);
      if (Moved(e.frame) || e.before == doc.FrameExtra[k]) continue;
      e.after = doc.FrameExtra[k];
      step.extras.push_back(std::move(e));
    }
    Clear();
    const UndoStep::Encodings encodings{doc.Encoding, doc.FileEncoding};
    if (encodings != encodings_) {
      step.encodings_changed = true;
      step.encodings_before = encodings_;
      step.encodings_after = encodings;
    }
    HeaderFields header = HeaderOf(doc);
    if (header != header_) {
      step.header_changed = true;
      step.header_before = std::move(header_);
      step.header_after = std::move(header);
    }
    if (doc.FileHeader != file_header_ &&
        !(doc.FileHeader && file_header_ && *doc.FileHeader == *file_header_)) {
      step.file_header_changed = true;
      step.file_header_before = std::move(file_header_);
      step.file_header_after = doc.FileHeader;
    }
    file_header_.reset();
    return step;
  }

 private:
  void Clear() {
    for (const UndoStep::TimeChange& t : times_) time_slot_[static_cast<std::size_t>(t.frame)] = -1;
    for (const auto& t : texts_) text_slot_[static_cast<std::size_t>(t.first)] = -1;
    for (const UndoStep::ExtrasChange& e : extras_)
      extras_slot_[static_cast<std::size_t>(e.frame)] = -1;
    times_.clear();
    texts_.clear();
    extras_.clear();
    tail_before_.clear();
    tail_extras_before_.clear();
  }
  bool Moved(int i) const { return moved_from_ > 0 && i >= moved_from_; }
  bool Watched(int i) const { return i >= 1 && i <= MaxFrames && !Moved(i); }

  // Frame i as it was before the command; its kept text moves into the result, as the
  // frame is from now on kept whole.
  Frame TakeOriginal(int i) {
    const auto k = static_cast<std::size_t>(i);
    Frame f;
    const int time_slot = time_slot_[k];
    f.start = time_slot >= 0 ? times_[static_cast<std::size_t>(time_slot)].start_before
                             : doc_->FrameStart[k];
    f.end =
        time_slot >= 0 ? times_[static_cast<std::size_t>(time_slot)].end_before : doc_->FrameEnd[k];
    const int text_slot = text_slot_[k];
    f.text = text_slot >= 0 ? std::move(texts_[static_cast<std::size_t>(text_slot)].second)
                            : doc_->FrameText[k];
    return f;
  }

  FrameExtras TakeOriginalExtras(int i) {
    const auto k = static_cast<std::size_t>(i);
    const int slot = extras_slot_[k];
    return slot >= 0 ? std::move(extras_[static_cast<std::size_t>(slot)].before)
                     : doc_->FrameExtra[k];
  }

  // The moved frames, less what they have in common at both ends.
  void Splice(UndoStep& step) {
    const Document& doc = *doc_;
    const int before_count = static_cast<int>(tail_before_.size());
    const int after_count = doc.FrameCount - moved_from_ + 1;
    int suffix = 0;
    auto same = [&](int before_index, int frame) {
      const auto k = static_cast<std::size_t>(before_index);
      return SameFrame(tail_before_[k], tail_extras_before_[k], doc, frame);
    };
    while (suffix < before_count && suffix < after_count &&
           same(before_count - 1 - suffix, doc.FrameCount - suffix)) {
      ++suffix;
    }
    int prefix = 0;
    while (prefix < before_count - suffix && prefix < after_count - suffix &&
           same(prefix, moved_from_ + prefix)) {
      ++prefix;
    }
    if (prefix == before_count - suffix && prefix == after_count - suffix) return;
    step.splice_at = moved_from_ + prefix;
    step.splice_before.assign(std::make_move_iterator(tail_before_.begin() + prefix),
                              std::make_move_iterator(tail_before_.end() - suffix));
    step.splice_after.reserve(static_cast<std::size_t>(after_count - suffix - prefix));
    for (int i = step.splice_at; i <= doc.FrameCount - suffix; ++i) {
      step.splice_after.push_back(doc.FrameAt(i));
    }
    // Extras only where some frame has them (formats without extras have none).
    const auto extras_begin = tail_extras_before_.begin() + prefix;
    const auto extras_end = tail_extras_before_.end() - suffix;
    const bool any_before =
        std::any_of(extras_begin, extras_end, [](const FrameExtras& e) { return !e.empty(); });
    bool any_after = false;
    for (int i = step.splice_at; i <= doc.FrameCount - suffix && !any_after; ++i) {
      any_after = !doc.FrameExtra[static_cast<std::size_t>(i)].empty();
    }
    if (any_before) {
      step.splice_extras_before.assign(std::make_move_iterator(extras_begin),
                                       std::make_move_iterator(extras_end));
    }
    if (any_after) {
      for (int i = step.splice_at; i <= doc.FrameCount - suffix; ++i) {
        step.splice_extras_after.push_back(doc.FrameExtra[static_cast<std::size_t>(i)]);
      }
    }
  }

  Document* doc_ = nullptr;
  HeaderFields header_;
  UndoStep::Encodings encodings_;
  // The first values of frames below moved_from_; the slots index them by frame.
  std::vector<int> time_slot_;
  std::vector<int> text_slot_;
  std::vector<int> extras_slot_;
  std::vector<UndoStep::TimeChange> times_;
  std::vector<std::pair<int, std::string>> texts_;
  std::vector<UndoStep::ExtrasChange> extras_;
  std::shared_ptr<const FormatHeader> file_header_;
  // The store from moved_from_ on as it was; 0 while nothing moved.
  int moved_from_ = 0;
  std::vector<Frame> tail_before_;
  std::vector<FrameExtras> tail_extras_before_;
};

CommandRunner::CommandRunner(Document& doc, Prompts& prompts)
    : doc_(doc), prompts_(prompts), recorder_(std::make_unique<ChangeRecorder>()) {}

CommandRunner::~CommandRunner() { doc_.SetChangeWatcher(nullptr); }

CommandResult CommandRunner::Run(const std::string& name, const Selection& before,
                                 const Command& command, const std::string& coalesce_key) {
  if (running_) return command(doc_);  // a command inside a command is part of it
  running_ = true;
  struct Done {
    bool& flag;
    ~Done() { flag = false; }
  } done{running_};

  const int modified_before = doc_.Modified;
  std::optional<UndoStep> folded;
  if (history_.CanAmend(coalesce_key)) {
    // Back to the state before the last step, then both steps recorded as one.
    folded = history_.TakeLast();
    ApplyStep(doc_, *folded, false);
  }
  CommandResult result;
  UndoStep step;
  {
    // However the command ends, the recorder lets go of the document.
    struct Recording {
      ChangeRecorder& recorder;
      Document& doc;
      ~Recording() {
        doc.SetChangeWatcher(nullptr);
        doc.EndChangeBatch();
      }
    } recording{*recorder_, doc_};
    recorder_->Start(doc_);
    doc_.BeginChangeBatch();
    if (folded) ApplyStep(doc_, *folded, true);
    result = command(doc_);
    step = recorder_->Finish();
  }
  last_run_changed_ = !step.Empty();
  if (!last_run_changed_) {
    // Only a change makes the document modified: leaving a box without typing does not.
    // Typing that was taken back within one step leaves the state before that step.
    doc_.Modified = folded ? (history_.AtSavedState() ? kClean : kUnsaved) : modified_before;
  }
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
