// The undo history: what each command changed in the document (frames, header, the
// selection before and after), as steps that can be undone and redone, with the saved
// state marked so that undoing back to it makes the document clean again.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "editing/selection.h"

namespace lumetra {

// The information header and the file-name box text, as one value.
using HeaderFields = std::array<std::string, 10>;
HeaderFields HeaderOf(const Document& doc);
void SetHeader(Document& doc, const HeaderFields& fields);

// What one command changed.
struct UndoStep {
  struct TimeChange {
    int frame = 0;
    TimeValue start_before = 0, end_before = 0, start_after = 0, end_after = 0;
  };
  struct TextChange {
    int frame = 0;
    std::string before, after;
  };
  struct ExtrasChange {
    int frame = 0;
    FrameExtras before, after;
  };

  std::string name;
  // Frames that kept their places (all below splice_at when there is a splice).
  std::vector<TimeChange> times;
  std::vector<TextChange> texts;
  std::vector<ExtrasChange> extras;
  // Frames splice_at..splice_at+splice_before.size()-1 became splice_after (inserts,
  // removals, merges); 0 when no frame moved.
  int splice_at = 0;
  std::vector<Frame> splice_before;
  std::vector<Frame> splice_after;
  // The extras of those frames, one per frame; empty when none of them has any.
  std::vector<FrameExtras> splice_extras_before;
  std::vector<FrameExtras> splice_extras_after;
  bool header_changed = false;
  HeaderFields header_before;
  HeaderFields header_after;
  // The format's header (Document::FileHeader), when the step replaced it.
  bool file_header_changed = false;
  std::shared_ptr<const FormatHeader> file_header_before;
  std::shared_ptr<const FormatHeader> file_header_after;
  // The code page the texts are held in and the file's, when the step moved the texts to
  // UTF-8 (typed characters the file's page cannot hold).
  struct Encodings {
    CodePage encoding = CodePage::kWindows1250;
    std::optional<CodePage> file_encoding;
    bool operator==(const Encodings&) const = default;
  };
  bool encodings_changed = false;
  Encodings encodings_before;
  Encodings encodings_after;
  Selection selection_before;
  Selection selection_after;
  // Steps with the same non-empty key may be folded into one (typing into one frame).
  std::string coalesce_key;

  bool Empty() const {
    return times.empty() && texts.empty() && extras.empty() && splice_at == 0 && !header_changed &&
           !file_header_changed && !encodings_changed;
  }
  // About how much memory the step holds.
  std::size_t Bytes() const;
};

// Brings the document to the state before (`forward` false) or after the step; tells the
// views as one batch.
void ApplyStep(Document& doc, const UndoStep& step, bool forward);

class UndoHistory {
 public:
  static constexpr std::size_t kDefaultMaxBytes = 64u << 20;
  static constexpr std::size_t kDefaultMaxSteps = 1000;

  explicit UndoHistory(std::size_t max_bytes = kDefaultMaxBytes,
                       std::size_t max_steps = kDefaultMaxSteps)
      : max_bytes_(max_bytes), max_steps_(max_steps) {}

  // No steps; the document as it is now counts as saved.
  void Clear();
  // Adds a step after the current position: the steps that could be redone go, then the
  // oldest ones while there are too many or they hold too much memory (the newest stays).
  void Push(UndoStep step);

  const UndoStep* NextUndo() const;
  const UndoStep* NextRedo() const;
  // Moves back over the step to undo (forward over the step to redo) and returns it.
  const UndoStep& StepBack();
  const UndoStep& StepForward();

  // The document as it is now is what was saved.
  void MarkSaved();
  bool AtSavedState() const { return saved_position_ == position_; }

  // The last step, taken out to be folded with the next one: only when it is the newest,
  // has `key`, and nothing was undone, redone or saved since it was added.
  bool CanAmend(const std::string& key) const;
  UndoStep TakeLast();

  int size() const { return static_cast<int>(steps_.size()); }
  int position() const { return position_; }
  std::size_t bytes() const { return bytes_; }

 private:
  std::size_t max_bytes_;
  std::size_t max_steps_;
  std::deque<UndoStep> steps_;
  std::deque<std::size_t> step_bytes_;
  std::size_t bytes_ = 0;
  // Steps before this position are done; the ones from it on can be redone.
  int position_ = 0;
  // The position of the saved state; -1 when it can no longer be reached.
  int saved_position_ = 0;
  bool last_amendable_ = false;
};

}  // namespace lumetra
