#include "settings/file_history.h"

#include "foundation/textkit.h"

namespace lumetra {

namespace {

bool HoldsLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

void FileHistory::UpdateHistory(const std::string& path) {
  const int found = Find(path);
  Attributes attributes;
  if (found != 0) {
    attributes = std::move(Slot(found).attributes);
    entries_[kSlots + 1] = {};
    for (int i = found; i <= kSlots; ++i) Slot(i) = std::move(Slot(i + 1));
    if (MaxHistory >= found) --HisNum;
  }
  if (HisNum < kSlots && HisNum < MaxHistory) ++HisNum;
  for (int i = kSlots; i >= 1; --i) Slot(i + 1) = std::move(Slot(i));
  Slot(1) = {path, std::move(attributes)};
}

int FileHistory::Find(std::string_view path) const {
  const std::string wanted = LowerCaseHU(path);
  int found = 0;
  // The last match wins, as when the history is updated.
  for (int i = 1; i <= kSlots; ++i) {
    if (LowerCaseHU(Entry(i)) == wanted) found = i;
  }
  return found;
}

const std::string& FileHistory::Attribute(int i, std::string_view name) const {
  static const std::string kNone;
  const Attributes& attributes = Slot(i).attributes;
  const auto it = attributes.find(name);
  return it == attributes.end() ? kNone : it->second;
}

void FileHistory::SetAttribute(int i, const std::string& name, const std::string& value) {
  if (i < 1 || i > kSlots + 1 || name.empty() || HoldsLineBreak(name) || HoldsLineBreak(value))
    return;
  if (value.empty()) {
    Slot(i).attributes.erase(name);
  } else {
    Slot(i).attributes[name] = value;
  }
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
  Slot(1) = {};
}

}  // namespace lumetra
