// The most-recently-used list of subtitle files: up to 16 full paths, the latest first.
// Each entry may carry named attributes that belong to that file (the film last used with
// it, for one); they move with their entry and go when it leaves the history.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lumetra {

struct HistoryMenuItem {
  int index;            // the entry's slot, 1-based
  std::string caption;  // "1. /films/a.srt"
};

// The names of the attributes of a history entry.
inline constexpr char kFilmAttribute[] = "Film";

class FileHistory {
 public:
  static constexpr int kSlots = 16;
  using Attributes = std::map<std::string, std::string, std::less<>>;

  // Number of entries the user wants kept (1..16).
  int MaxHistory = 8;
  // Number of entries in use; 1 also stands for a history whose only slot is empty.
  int HisNum = 1;
  // Slot i (1..17); slot 17 is a spare that receives the entry pushed out at the bottom.
  const std::string& Entry(int i) const { return Slot(i).path; }
  // A new path in slot i, without attributes.
  void SetEntry(int i, std::string path) { Slot(i) = {std::move(path), {}}; }

  // Puts a full path at the top; an entry equal to it without regard to case goes away,
  // and its attributes go to the top with it.
  void UpdateHistory(const std::string& path);

  // The slot (1..16) of a path, compared as UpdateHistory compares; 0 when it is not in
  // the history.
  int Find(std::string_view path) const;
  // An attribute of slot i (1..17); empty when it has none of that name.
  const std::string& Attribute(int i, std::string_view name) const;
  // Sets an attribute of slot i; an empty value removes it. A name or value that holds a
  // line break is not kept (the configuration file keeps one per line).
  void SetAttribute(int i, const std::string& name, const std::string& value);
  const Attributes& AttributesOf(int i) const { return Slot(i).attributes; }

  // The history menu: recounts HisNum to the entries that are not blank (at least 1) and
  // lists the non-empty entries 1..HisNum.
  std::vector<HistoryMenuItem> MenuItems();

  // Empties the first slot; HisNum becomes 1, so the older entries in the slots above are
  // neither shown nor saved.
  void Clear();

 private:
  struct Item {
    std::string path;
    Attributes attributes;
  };
  Item& Slot(int i) { return entries_[static_cast<std::size_t>(i)]; }
  const Item& Slot(int i) const { return entries_[static_cast<std::size_t>(i)]; }

  std::array<Item, kSlots + 2> entries_;  // [0] unused
};

}  // namespace lumetra
