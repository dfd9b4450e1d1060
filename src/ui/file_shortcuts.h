// The keyboard's file and find commands and the hints of the toolbar buttons that name them.
#pragma once

#include <functional>

class QWidget;

namespace lumetra {

inline constexpr char kOpenHint[] = "Load Subtitle  (Ctrl+O)\rrightclick: History";
inline constexpr char kSaveHint[] =
    "Save Subtitle As...  (Ctrl+Shift+S)\rrightclick: quickSave  (Ctrl+S)";
inline constexpr char kNewHint[] = "Create New Subtitle  (Ctrl+N)";

struct FileCommands {
  std::function<void()> open;     // Ctrl+O
  std::function<void()> save;     // Ctrl+S
  std::function<void()> save_as;  // Ctrl+Shift+S
  std::function<void()> create;   // Ctrl+N
};

// Gives the window the four keys, wherever its keyboard focus is.
void AddFileShortcuts(QWidget* window, const FileCommands& commands);

struct FindCommands {
  std::function<void()> focus_search;  // Ctrl+F
  std::function<void()> find_replace;  // Ctrl+H
};
void AddFindShortcuts(QWidget* window, const FindCommands& commands);

}  // namespace lumetra
