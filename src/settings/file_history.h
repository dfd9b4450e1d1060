// The most-recently-used list of subtitle files: up to 16 full paths, the latest first.
// Each entry may carry attributes of its file (the code page chosen for it, the film last
// played with it): named values that move with the entry.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

struct HistoryMenuItem {
  int index;            // the entry's slot, 1-based
  std::string caption;  // "1. /films/a.srt"
};

// The attributes of a history entry, by name.
using HistoryAttributes = std::map<std::string, std::string, std::less<>>;

// Names of the attributes the program keeps.
inline constexpr char kCodePageAttribute[] = "CodePage";
// The film last used with the file (its full path).
inline constexpr char kFilmAttribute[] = "Film";

class FileHistory {
 public:
  static constexpr int kSlots = 16;

  // Number of entries the user wants kept (1..16).
  int MaxHistory = 8;
  // Number of entries in use; 1 also stands for a history whose only slot is empty.
  int HisNum = 1;
  // Slot i (1..17); slot 17 is a spare that receives the entry pushed out at the bottom.
  const std::string& Entry(int i) const { return slots_[Index(i)].path; }
  // Puts a path into slot i; its attributes start empty.
  void SetEntry(int i, std::string path);

  // True for a path the history can hold: not empty and on one line (the configuration
  // file keeps each entry on a line of its own).
  static bool IsStorablePath(std::string_view path);
  // Puts a full path at the top; an entry equal to it without regard to case goes away,
  // and its attributes stay with the path. A path that is not storable is ignored.
  void UpdateHistory(const std::string& path);

  // The slot (1..16) of the entry equal to `path` without regard to case; 0 for none.
  int Find(std::string_view path) const;
  // Attribute `name` of slot i, when it has one.
  std::optional<std::string> Attribute(int i, std::string_view name) const;
  const HistoryAttributes& Attributes(int i) const { return slots_[Index(i)].attributes; }
  // Sets attribute `name` of slot i; an empty value removes it. Names are letters, digits
  // and "_" only, values one line: anything else is refused (returns false).
  bool SetAttribute(int i, std::string_view name, std::string_view value);
  static bool IsAttributeName(std::string_view name);

  // Drops the blank entries among 1..HisNum, moving the ones after them up; HisNum becomes
  // the number of entries left (1 when none is left).
  void Compact();

  // The history menu: compacts the history and lists its non-empty entries.
  std::vector<HistoryMenuItem> MenuItems();

  // Empties the first slot; HisNum becomes 1, so the older entries in the slots above are
  // neither shown nor saved.
  void Clear();

 private:
  struct Slot {
    std::string path;
    HistoryAttributes attributes;
  };
  static std::size_t Index(int i) { return static_cast<std::size_t>(i); }

  std::array<Slot, kSlots + 2> slots_;  // [0] unused
};

}  // namespace lumetra
