#include "document/document.h"

#include <algorithm>

#include "foundation/textkit.h"

namespace lumetra {

Document::Document()
    : FrameStart(MaxFrames + 1, 0), FrameEnd(MaxFrames + 1, 0), FrameText(MaxFrames + 1) {
  InfoPrg = std::string("Morvaly's Lumetra ") + kVersionText;
}

template <typename Call>
void Document::Tell(Call call) {
  // Copy: an observer may remove itself while being told.
  const std::vector<DocumentObserver*> observers = observers_;
  for (DocumentObserver* observer : observers) call(*observer);
}

void Document::ResetDocument() {
  BeginBulkChange();
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
  std::fill(FrameStart.begin() + 1, FrameStart.end(), 0);
  std::fill(FrameEnd.begin() + 1, FrameEnd.end(), 0);
  for (std::size_t i = 1; i < FrameText.size(); ++i) FrameText[i].clear();
  FileBoxText = FileName;
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

void Document::SetTimes(int i, TimeValue start, TimeValue end) {
  FrameStart[i] = start;
  FrameEnd[i] = end;
  NotifyChanged(i, i);
}

void Document::SetText(int i, std::string text) {
  FrameText[i] = std::move(text);
  NotifyChanged(i, i);
}

bool Document::InsertFrame(int at, TimeValue start, TimeValue end, std::string text) {
  if (FrameCount >= MaxFrames || at < 1 || at > FrameCount + 1) return false;
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesAboutToBeInserted(at, 1); });
  // Slots above FrameCount are free; rotate the last free one down to `at`.
  const auto first = static_cast<std::ptrdiff_t>(at);
  const auto past = static_cast<std::ptrdiff_t>(FrameCount) + 1;
  std::rotate(FrameStart.begin() + first, FrameStart.begin() + past, FrameStart.begin() + past + 1);
  std::rotate(FrameEnd.begin() + first, FrameEnd.begin() + past, FrameEnd.begin() + past + 1);
  std::rotate(FrameText.begin() + first, FrameText.begin() + past, FrameText.begin() + past + 1);
  FrameStart[at] = start;
  FrameEnd[at] = end;
  FrameText[at] = std::move(text);
  ++FrameCount;
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesInserted(at, 1); });
  return true;
}

void Document::RemoveFrames(int first, int count) {
  if (first < 1 || count < 1 || first > FrameCount) return;
  count = std::min(count, FrameCount - first + 1);
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesAboutToBeRemoved(first, count); });
  const auto from = static_cast<std::ptrdiff_t>(first);
  const auto middle = from + count;
  const auto past = static_cast<std::ptrdiff_t>(FrameCount) + 1;
  std::rotate(FrameStart.begin() + from, FrameStart.begin() + middle, FrameStart.begin() + past);
  std::rotate(FrameEnd.begin() + from, FrameEnd.begin() + middle, FrameEnd.begin() + past);
  std::rotate(FrameText.begin() + from, FrameText.begin() + middle, FrameText.begin() + past);
  FrameCount -= count;
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesRemoved(first, count); });
}

void Document::AddObserver(DocumentObserver* observer) { observers_.push_back(observer); }

void Document::RemoveObserver(DocumentObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Document::BeginBulkChange() {
  if (bulk_depth_++ == 0) Tell([](DocumentObserver& o) { o.DocumentAboutToReset(); });
}

void Document::EndBulkChange() {
  if (bulk_depth_ > 0 && --bulk_depth_ == 0) Tell([](DocumentObserver& o) { o.DocumentReset(); });
}

void Document::NotifyChanged(int first, int last) {
  if (bulk_depth_ == 0) Tell([&](DocumentObserver& o) { o.FramesChanged(first, last); });
}

void Document::NotifyHeaderChanged() {
  Tell([](DocumentObserver& o) { o.HeaderChanged(); });
}

}  // namespace lumetra
