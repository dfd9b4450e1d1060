#include "settings/file_history.h"

#include <algorithm>

#include "foundation/textkit.h"

namespace lumetra {

namespace {

bool IsOneLine(std::string_view text) { return text.find_first_of("\r\n") == std::string_view::npos; }

bool IsBlank(std::string_view path) { return TrimChar(path, ' ').empty(); }

}  // namespace

void FileHistory::SetEntry(int i, std::string path) {
  slots_[Index(i)] = Slot{std::move(path), {}};
}

bool FileHistory::IsStorablePath(std::string_view path) {
  return !IsBlank(path) && IsOneLine(path);
}

void FileHistory::UpdateHistory(const std::string& path) {
  if (!IsStorablePath(path)) return;
  const int found = Find(path);
  HistoryAttributes attributes;
  if (found != 0) {
    attributes = std::move(slots_[Index(found)].attributes);
    slots_[kSlots + 1] = Slot{};
    for (int i = found; i <= kSlots; ++i) slots_[Index(i)] = std::move(slots_[Index(i) + 1]);
    if (MaxHistory >= found) --HisNum;
  }
  if (HisNum < kSlots && HisNum < MaxHistory) ++HisNum;
  for (int i = kSlots; i >= 1; --i) slots_[Index(i) + 1] = std::move(slots_[Index(i)]);
  slots_[1] = Slot{path, std::move(attributes)};
}

int FileHistory::Find(std::string_view path) const {
  const std::string wanted = LowerCaseHU(path);
  int found = 0;
  for (int i = 1; i <= kSlots; ++i) {
    if (LowerCaseHU(slots_[Index(i)].path) == wanted) found = i;  // the last match wins
  }
  return found;
}

std::optional<std::string> FileHistory::Attribute(int i, std::string_view name) const {
  const HistoryAttributes& attributes = slots_[Index(i)].attributes;
  const auto it = attributes.find(name);
  if (it == attributes.end()) return std::nullopt;
  return it->second;
}

bool FileHistory::IsAttributeName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
  });
}

bool FileHistory::SetAttribute(int i, std::string_view name, std::string_view value) {
  if (!IsAttributeName(name) || !IsOneLine(value)) return false;
  HistoryAttributes& attributes = slots_[Index(i)].attributes;
  if (value.empty()) {
    if (const auto it = attributes.find(name); it != attributes.end()) attributes.erase(it);
  } else {
    attributes.insert_or_assign(std::string(name), std::string(value));
  }
  return true;
}

void FileHistory::Compact() {
  const int in_use = std::clamp(HisNum, 1, kSlots);
  int kept = 0;
  for (int i = 1; i <= in_use; ++i) {
    if (!IsStorablePath(slots_[Index(i)].path)) continue;
    ++kept;
    if (kept != i) slots_[Index(kept)] = std::move(slots_[Index(i)]);
  }
  for (int i = kept + 1; i <= in_use; ++i) slots_[Index(i)] = Slot{};
  HisNum = std::max(kept, 1);
}

std::vector<HistoryMenuItem> FileHistory::MenuItems() {
  Compact();
  std::vector<HistoryMenuItem> items;
  for (int i = 1; i <= HisNum; ++i) {
    if (!Entry(i).empty()) items.push_back({i, IntToText(i) + ". " + Entry(i)});
  }
  return items;
}

void FileHistory::Clear() {
  HisNum = 1;
  slots_[1] = Slot{};
}

}  // namespace lumetra
