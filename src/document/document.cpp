#include "document/document.h"

#include <algorithm>

#include "foundation/textkit.h"

namespace lumetra {

Document::Document()
    : FrameStart(MaxFrames + 1, 0), FrameEnd(MaxFrames + 1, 0), FrameText(MaxFrames + 1) {
  InfoPrg = std::string("Morvaly's Lumetra ") + kVersionText;
}

void FrameExtrasColumn::Allocate() {
  if (slots_.empty()) slots_.resize(static_cast<std::size_t>(MaxFrames) + 1);
}

template <typename Call>
void Document::Tell(Call call) {
  // Copy: an observer may remove itself while being told.
  const std::vector<DocumentObserver*> observers = observers_;
  for (DocumentObserver* observer : observers) call(*observer);
}

void Document::ResetDocument() {
  BeginBulkChange();
  NoteSlotsInUse(FrameCount);
  FrameCount = 0;
  Modified = kClean;
  InfoTitle.clear();
  InfoAuthor.clear();
  InfoSource.clear();
  InfoPrg = std::string("Morvaly's Lumetra ") + kVersionText;
  InfoFilepath.clear();
  InfoDelay.clear();
  InfoCdTrack.clear();
  InfoComment.clear();
  InfoFontLine.clear();
  // FrameCount is 0 here: the slots it covered before are remembered.
  const auto slots = std::min({FrameStart.size(), FrameEnd.size(), FrameText.size()});
  const auto used = std::min(static_cast<std::size_t>(std::max(slots_in_use_, 0)) + 1, slots);
  std::fill(FrameStart.begin() + 1, FrameStart.begin() + static_cast<std::ptrdiff_t>(used), 0);
  std::fill(FrameEnd.begin() + 1, FrameEnd.begin() + static_cast<std::ptrdiff_t>(used), 0);
  for (std::size_t i = 1; i < used; ++i) FrameText[i].clear();
  for (std::size_t i = 1; i < used && FrameExtra.Allocated(); ++i) {
    if (!FrameExtra[i].empty()) FrameExtra.Mutable(i) = FrameExtras();
  }
  slots_in_use_ = 0;
  FileBoxText = FileName;
  FileEncoding.reset();
  EndBulkChange();
  NotifyHeaderChanged();
}

std::string Document::ShowInfoSummary() const {
  std::string summary;
  const std::pair<const char*, const std::string*> fields[] = {
      {"Title=", &InfoTitle}, {"Author=", &InfoAuthor}, {"Source=", &InfoSource}};
  for (const auto& [label, value] : fields) {
    if (value->empty()) continue;
    summary += label;
    summary += *value;
    summary += "    ";
  }
  return TrimChar(summary, ' ');
}

std::string Document::FrameListLine(int i) const {
  return lumetra::FrameListLine(FrameStart[i], FrameEnd[i], FrameText[i]);
}

Frame Document::FrameAt(int i) const {
  const auto k = static_cast<std::size_t>(i);
  return Frame{FrameStart[k], FrameEnd[k], FrameText[k]};
}

void Document::WillMove(int first) {
  if (watcher_ != nullptr) watcher_->FramesAboutToMove(first);
  FlushChanges();
}

void Document::SetTimes(int i, TimeValue start, TimeValue end) {
  NoteSlotsInUse(i);
  if (watcher_ != nullptr) watcher_->TimesAboutToChange(i);
  FrameStart[i] = start;
  FrameEnd[i] = end;
  NotifyChanged(i, i);
}

void Document::SetText(int i, std::string text) {
  NoteSlotsInUse(i);
  std::swap(FrameText[i], text);
  if (watcher_ != nullptr) watcher_->TextReplaced(i, std::move(text));
  NotifyChanged(i, i);
}

void Document::SetExtras(int i, FrameExtras extras) {
  if (watcher_ != nullptr) watcher_->ExtrasAboutToChange(i);
  FrameExtra.Set(static_cast<std::size_t>(i), std::move(extras));
  NotifyChanged(i, i);
}

void Document::SetFileHeader(std::shared_ptr<const FormatHeader> header) {
  FileHeader = std::move(header);
}

bool Document::InsertFrame(int at, TimeValue start, TimeValue end, std::string text) {
  std::vector<Frame> frames(1);
  frames[0] = Frame{start, end, std::move(text)};
  std::vector<FrameExtras> extras;
  const int neighbour = at > 1 ? at - 1 : at;
  if (neighbour >= 1 && neighbour <= FrameCount &&
      !FrameExtra[static_cast<std::size_t>(neighbour)].style.empty()) {
    extras.resize(1);
    extras[0].style = FrameExtra[static_cast<std::size_t>(neighbour)].style;
  }
  return InsertFrames(at, std::move(frames), std::move(extras));
}

bool Document::InsertFrames(int at, std::vector<Frame> frames, std::vector<FrameExtras> extras) {
  const int count = static_cast<int>(frames.size());
  if (!extras.empty() && extras.size() != frames.size()) return false;
  if (count == 0 || count > MaxFrames - FrameCount || at < 1 || at > FrameCount + 1) {
    return false;
  }
  WillMove(at);
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesAboutToBeInserted(at, count); });
  const auto first = static_cast<std::ptrdiff_t>(at);
  const auto past = static_cast<std::ptrdiff_t>(FrameCount) + 1;
  std::move_backward(FrameStart.begin() + first, FrameStart.begin() + past,
                     FrameStart.begin() + past + count);
  std::move_backward(FrameEnd.begin() + first, FrameEnd.begin() + past,
                     FrameEnd.begin() + past + count);
  std::move_backward(FrameText.begin() + first, FrameText.begin() + past,
                     FrameText.begin() + past + count);
  if (!extras.empty() || FrameExtra.Allocated()) {
    std::vector<FrameExtras>& slots = FrameExtra.Slots();
    std::move_backward(slots.begin() + first, slots.begin() + past, slots.begin() + past + count);
  }
  for (int j = 0; j < count; ++j) {
    const auto k = static_cast<std::size_t>(at + j);
    Frame& frame = frames[static_cast<std::size_t>(j)];
    FrameStart[k] = frame.start;
    FrameEnd[k] = frame.end;
    FrameText[k] = std::move(frame.text);
    FrameExtra.Set(k,
                   extras.empty() ? FrameExtras() : std::move(extras[static_cast<std::size_t>(j)]));
  }
  FrameCount += count;
  NoteSlotsInUse(FrameCount);
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesInserted(at, count); });
  return true;
}

void Document::RemoveFrames(int first, int count) {
  if (first < 1 || count < 1 || first > FrameCount) return;
  count = std::min(count, FrameCount - first + 1);
  WillMove(first);
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesAboutToBeRemoved(first, count); });
  const auto from = static_cast<std::ptrdiff_t>(first);
  const auto middle = from + count;
  const auto past = static_cast<std::ptrdiff_t>(FrameCount) + 1;
  std::rotate(FrameStart.begin() + from, FrameStart.begin() + middle, FrameStart.begin() + past);
  std::rotate(FrameEnd.begin() + from, FrameEnd.begin() + middle, FrameEnd.begin() + past);
  std::rotate(FrameText.begin() + from, FrameText.begin() + middle, FrameText.begin() + past);
  if (FrameExtra.Allocated()) {
    std::vector<FrameExtras>& slots = FrameExtra.Slots();
    std::rotate(slots.begin() + from, slots.begin() + middle, slots.begin() + past);
  }
  NoteSlotsInUse(FrameCount);
  FrameCount -= count;
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesRemoved(first, count); });
}

void Document::RemoveFrameList(const std::vector<int>& frames) {
  if (frames.empty()) return;
  const int first = frames.front();
  const int last = frames.back();
  if (first < 1 || last > FrameCount) return;
  if (last - first + 1 == static_cast<int>(frames.size())) {
    RemoveFrames(first, last - first + 1);
    return;
  }
  BeginBulkChange(first);
  // Compact in one pass: every kept frame moves down over the removed ones.
  int kept = first;
  std::size_t next_removed = 0;
  for (int i = first; i <= FrameCount; ++i) {
    if (next_removed < frames.size() && frames[next_removed] == i) {
      ++next_removed;
      continue;
    }
    const auto to = static_cast<std::size_t>(kept);
    const auto from = static_cast<std::size_t>(i);
    FrameStart[to] = FrameStart[from];
    FrameEnd[to] = FrameEnd[from];
    FrameText[to] = std::move(FrameText[from]);
    if (FrameExtra.Allocated()) FrameExtra.Mutable(to) = std::move(FrameExtra.Mutable(from));
    ++kept;
  }
  NoteSlotsInUse(FrameCount);
  FrameCount = kept - 1;
  EndBulkChange();
}

void Document::KeepLeadsOf(const std::vector<int>& frames) {
  std::string carried;  // the leads of removed neighbours, in file order
  for (std::size_t k = 0; k < frames.size(); ++k) {
    const int frame = frames[k];
    if (frame < 1 || frame > FrameCount) continue;
    carried += FrameExtra[static_cast<std::size_t>(frame)].lead;
    const int next = frame + 1;
    if (carried.empty() || (k + 1 < frames.size() && frames[k + 1] == next)) continue;
    if (next <= FrameCount) {
      FrameExtras extras = FrameExtra[static_cast<std::size_t>(next)];
      extras.lead.insert(0, carried);
      SetExtras(next, std::move(extras));
    } else {
      auto header = FileHeader ? std::make_shared<FormatHeader>(*FileHeader)
                               : std::make_shared<FormatHeader>();
      header->tail.insert(0, carried);
      SetFileHeader(std::move(header));
    }
    carried.clear();
  }
}

void Document::AddObserver(DocumentObserver* observer) { observers_.push_back(observer); }

void Document::RemoveObserver(DocumentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Document::BeginBulkChange(int first_moved) {
  WillMove(first_moved);
  if (bulk_depth_++ == 0) Tell([](DocumentObserver& o) { o.DocumentAboutToReset(); });
}

void Document::EndBulkChange() {
  NoteSlotsInUse(FrameCount);
  if (bulk_depth_ > 0 && --bulk_depth_ == 0) Tell([](DocumentObserver& o) { o.DocumentReset(); });
}

void Document::BeginChangeBatch() { ++batch_depth_; }

void Document::EndChangeBatch() {
  if (batch_depth_ > 0 && --batch_depth_ == 0) FlushChanges();
}

void Document::FlushChanges() {
  if (pending_first_ > pending_last_) return;
  const int first = pending_first_;
  const int last = pending_last_;
  pending_first_ = 1;
  pending_last_ = 0;
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesChanged(first, last); });
}

void Document::NotifyChanged(int first, int last) {
  if (bulk_depth_ > 0) return;
  if (batch_depth_ > 0) {
    if (pending_first_ > pending_last_) {
      pending_first_ = first;
      pending_last_ = last;
    } else {
      pending_first_ = std::min(pending_first_, first);
      pending_last_ = std::max(pending_last_, last);
    }
    return;
  }
  Tell([&](DocumentObserver& o) { o.FramesChanged(first, last); });
}

void Document::NotifyHeaderChanged() {
  Tell([](DocumentObserver& o) { o.HeaderChanged(); });
}

}  // namespace lumetra
