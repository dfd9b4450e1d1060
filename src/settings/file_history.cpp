#include "settings/file_history.h"

#include "foundation/textkit.h"

namespace lumetra {

void FileHistory::UpdateHistory(const std::string& path) {
  const std::string wanted = LowerCaseHU(path);
  int found = 0;
  for (int i = 1; i <= kSlots; ++i) {
    if (LowerCaseHU(entries_[static_cast<std::size_t>(i)]) == wanted) found = i;
  }
  if (found != 0) {
    entries_[kSlots + 1].clear();
    for (int i = found; i <= kSlots; ++i) {
      entries_[static_cast<std::size_t>(i)] = entries_[static_cast<std::size_t>(i) + 1];
    }
    if (MaxHistory >= found) --HisNum;
  }
  if (HisNum < kSlots && HisNum < MaxHistory) ++HisNum;
  for (int i = kSlots; i >= 1; --i) {
    entries_[static_cast<std::size_t>(i) + 1] = entries_[static_cast<std::size_t>(i)];
  }
  entries_[1] = path;
}

std::vector<HistoryMenuItem> FileHistory::MenuItems() {
  int count = 0;
  for (int i = 1; i <= HisNum && i <= kSlots; ++i) {
    if (!TrimChar(Entry(i), ' ').empty()) ++count;
  }
  HisNum = count == 0 ? 1 : count;
  std::vector<HistoryMenuItem> items;
  for (int i = 1; i <= HisNum; ++i) {
    if (!Entry(i).empty()) items.push_back({i, IntToText(i) + ". " + Entry(i)});
  }
  return items;
}

void FileHistory::Clear() {
  HisNum = 1;
  entries_[1].clear();
}

}  // namespace lumetra
