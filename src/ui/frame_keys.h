// The keys of the frame commands, for a window driven by the keyboard alone: Ins inserts a
// frame and Del removes the selected ones (after a question) while the frame list has the
// keyboard; Ctrl+A selects every frame, Ctrl+M merges two, Ctrl+Shift+Right and
// Ctrl+Shift+Left move the selected frames by a second, wherever the keyboard is (a text
// box keeps the keys it uses itself). Each key presses its command's button, so it does
// what the button does and nothing while the button is disabled or not shown.
#pragma once

#include <string>
#include <string_view>

class QListView;
class QWidget;

namespace lumetra {

class Prompts;

inline constexpr char kInsertKey[] = "Ins";
inline constexpr char kRemoveKey[] = "Del in the frame list";
inline constexpr char kMergeKey[] = "Ctrl+M";
inline constexpr char kSelectAllKey[] = "Ctrl+A";
inline constexpr char kLaterSecondKey[] = "Ctrl+Shift+Right";
inline constexpr char kEarlierSecondKey[] = "Ctrl+Shift+Left";
inline constexpr char kSearchKey[] = "F3 in the frame list";
// Asked before Del removes frames.
inline constexpr char kRemoveQuestion[] = "Do you want to remove the selected frames?";

// A hint that names its key: "  (KEY)" at the end of its first line.
std::string HintWithKey(std::string_view hint, std::string_view key);

// Gives the window the keys; the buttons are found by their control names.
void AddFrameKeys(QWidget* window, QListView* list, Prompts& prompts);

}  // namespace lumetra
