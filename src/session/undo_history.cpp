#include "session/undo_history.h"

#include <utility>

namespace lumetra {

namespace {

using HeaderField = std::string Document::*;
constexpr std::array<HeaderField, 10> kHeaderFields = {
    &Document::InfoTitle,    &Document::InfoAuthor, &Document::InfoSource,  &Document::InfoPrg,
    &Document::InfoFilepath, &Document::InfoDelay,  &Document::InfoCdTrack, &Document::InfoComment,
    &Document::InfoFontLine, &Document::FileBoxText};

std::size_t TextBytes(const std::string& s) { return sizeof(std::string) + s.capacity(); }

std::size_t ExtrasBytes(const FrameExtras& e) {
  return e.lead.capacity() + e.identifier.capacity() + e.style.capacity();
}

std::size_t FramesBytes(const std::vector<Frame>& frames) {
  std::size_t n = frames.capacity() * sizeof(Frame);
  for (const Frame& f : frames) n += f.text.capacity();
  return n;
}

std::size_t ExtrasListBytes(const std::vector<FrameExtras>& list) {
  std::size_t n = list.capacity() * sizeof(FrameExtras);
  for (const FrameExtras& e : list) n += ExtrasBytes(e);
  return n;
}

std::size_t FormatHeaderBytes(const std::shared_ptr<const FormatHeader>& header) {
  return header ? sizeof(FormatHeader) + header->head.capacity() + header->tail.capacity() : 0;
}

}  // namespace

HeaderFields HeaderOf(const Document& doc) {
  HeaderFields fields;
  for (std::size_t i = 0; i < fields.size(); ++i) fields[i] = doc.*kHeaderFields[i];
  return fields;
}

void SetHeader(Document& doc, const HeaderFields& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) doc.*kHeaderFields[i] = fields[i];
  doc.NotifyHeaderChanged();
}

std::size_t UndoStep::Bytes() const {
  std::size_t n = sizeof(UndoStep) + name.capacity() + coalesce_key.capacity();
  n += times.capacity() * sizeof(TimeChange);
  for (const TextChange& t : texts)
    n += sizeof(TextChange) + t.before.capacity() + t.after.capacity();
  for (const ExtrasChange& e : extras)
    n += sizeof(ExtrasChange) + ExtrasBytes(e.before) + ExtrasBytes(e.after);
  n += FramesBytes(splice_before) + FramesBytes(splice_after);
  n += ExtrasListBytes(splice_extras_before) + ExtrasListBytes(splice_extras_after);
  // A header held elsewhere too is counted here all the same: it may outlive the others.
  if (file_header_changed)
    n += FormatHeaderBytes(file_header_before) + FormatHeaderBytes(file_header_after);
  if (header_changed) {
    for (const std::string& s : header_before) n += TextBytes(s);
    for (const std::string& s : header_after) n += TextBytes(s);
  }
  n += (selection_before.frames.capacity() + selection_after.frames.capacity()) * sizeof(int);
  return n;
}

void ApplyStep(Document& doc, const UndoStep& step, bool forward) {
  doc.BeginChangeBatch();
  if (step.encodings_changed) {
    const UndoStep::Encodings& e = forward ? step.encodings_after : step.encodings_before;
    doc.Encoding = e.encoding;
    doc.FileEncoding = e.file_encoding;
  }
  for (const UndoStep::TimeChange& t : step.times) {
    if (forward) {
      doc.SetTimes(t.frame, t.start_after, t.end_after);
    } else {
      doc.SetTimes(t.frame, t.start_before, t.end_before);
    }
  }
  for (const UndoStep::TextChange& t : step.texts)
    doc.SetText(t.frame, forward ? t.after : t.before);
  for (const UndoStep::ExtrasChange& e : step.extras)
    doc.SetExtras(e.frame, forward ? e.after : e.before);
  if (step.splice_at > 0) {
    const std::vector<Frame>& gone = forward ? step.splice_before : step.splice_after;
    const std::vector<Frame>& back = forward ? step.splice_after : step.splice_before;
    doc.RemoveFrames(step.splice_at, static_cast<int>(gone.size()));
    doc.InsertFrames(step.splice_at, back,
                     forward ? step.splice_extras_after : step.splice_extras_before);
  }
  if (step.header_changed) SetHeader(doc, forward ? step.header_after : step.header_before);
  if (step.file_header_changed)
    doc.SetFileHeader(forward ? step.file_header_after : step.file_header_before);
  doc.EndChangeBatch();
  if (step.encodings_changed) doc.NotifyHeaderChanged();
}

void UndoHistory::Clear() {
  steps_.clear();
  step_bytes_.clear();
  bytes_ = 0;
  position_ = 0;
  saved_position_ = 0;
  last_amendable_ = false;
}

void UndoHistory::Push(UndoStep step) {
  while (static_cast<int>(steps_.size()) > position_) {
    bytes_ -= step_bytes_.back();
    steps_.pop_back();
    step_bytes_.pop_back();
  }
  if (saved_position_ > position_) saved_position_ = -1;
  const std::size_t n = step.Bytes();
  steps_.push_back(std::move(step));
  step_bytes_.push_back(n);
  bytes_ += n;
  ++position_;
  while (steps_.size() > 1 && (bytes_ > max_bytes_ || steps_.size() > max_steps_)) {
    bytes_ -= step_bytes_.front();
    steps_.pop_front();
    step_bytes_.pop_front();
    --position_;
    if (saved_position_ >= 0) --saved_position_;
  }
  last_amendable_ = true;
}

const UndoStep* UndoHistory::NextUndo() const {
  return position_ > 0 ? &steps_[static_cast<std::size_t>(position_ - 1)] : nullptr;
}

const UndoStep* UndoHistory::NextRedo() const {
  return position_ < static_cast<int>(steps_.size()) ? &steps_[static_cast<std::size_t>(position_)]
                                                     : nullptr;
}

const UndoStep& UndoHistory::StepBack() {
  last_amendable_ = false;
  --position_;
  return steps_[static_cast<std::size_t>(position_)];
}

const UndoStep& UndoHistory::StepForward() {
  last_amendable_ = false;
  ++position_;
  return steps_[static_cast<std::size_t>(position_ - 1)];
}

void UndoHistory::MarkSaved() {
  saved_position_ = position_;
  last_amendable_ = false;
}

bool UndoHistory::CanAmend(const std::string& key) const {
  return last_amendable_ && !key.empty() && position_ == static_cast<int>(steps_.size()) &&
         position_ > 0 && saved_position_ != position_ && steps_.back().coalesce_key == key;
}

UndoStep UndoHistory::TakeLast() {
  UndoStep step = std::move(steps_.back());
  bytes_ -= step_bytes_.back();
  steps_.pop_back();
  step_bytes_.pop_back();
  --position_;
  last_amendable_ = false;
  return step;
}

}  // namespace lumetra
