// The most-recently-used list of subtitle files: up to 16 full paths, the latest first.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace lumetra {

struct HistoryMenuItem {
  int index;            // the entry's slot, 1-based
  std::string caption;  // "1. /films/a.srt"
};

class FileHistory {
 public:
  static constexpr int kSlots = 16;

  // Number of entries the user wants kept (1..16).
  int MaxHistory = 8;
  // Number of entries in use; 1 also stands for a history whose only slot is empty.
  int HisNum = 1;
  // Slot i (1..17); slot 17 is a spare that receives the entry pushed out at the bottom.
  const std::string& Entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }
  void SetEntry(int i, std::string path) { entries_[static_cast<std::size_t>(i)] = std::move(path); }

  // Puts a full path at the top; an entry equal to it without regard to case goes away.
  void UpdateHistory(const std::string& path);

  // The history menu: recounts HisNum to the entries that are not blank (at least 1) and
  // lists the non-empty entries 1..HisNum.
  std::vector<HistoryMenuItem> MenuItems();

  // Empties the first slot; HisNum becomes 1, so the older entries in the slots above are
  // neither shown nor saved.
  void Clear();

 private:
  std::array<std::string, kSlots + 2> entries_;  // [0] unused
};

}  // namespace lumetra
