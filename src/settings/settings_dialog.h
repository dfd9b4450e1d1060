// The settings dialog's state and rules: the three start-up options, the film opened
// beside a subtitle, the size of the file history, the limits of the quality checks and
// the spell check's words in capitals, edited on a copy and applied only by "OK"; "Clear
// file history" acts at once.
#pragma once

#include <array>
#include <string>

#include "settings/configuration.h"
#include "settings/file_history.h"

namespace lumetra {

class SettingsDialogModel {
 public:
  static constexpr char kCaption[] = "Program Settings";
  static constexpr int kMinHistory = 1;
  static constexpr int kMaxHistory = 16;

  // Fills the boxes from the current settings (each time the dialog is shown).
  void Load(const Configuration& config, const FileHistory& history);

  // The history size box as typed; what leaving it shows (1..16, "" and text give 1).
  std::string history_box;
  void NormaliseHistoryBox();

  bool win_pos_sav = false;
  bool rem_last_dir = true;
  bool auto_load = false;
  // Open the film of the same name beside a subtitle that is opened.
  bool auto_open_film = true;
  // "Write the frame rate into SUB files".
  bool write_sub_fps = true;

  // The limits of the quality checks as typed, in the order of CheckLimits: least gap,
  // shortest and longest frame (ms), characters per second (a decimal comma is taken),
  // characters of a line, lines. A box that is no number gives 0, which turns its check
  // off; values are brought into their ranges.
  static constexpr int kLimitBoxes = 6;
  std::array<std::string, kLimitBoxes> limit_boxes;
  // The limits the boxes stand for.
  CheckLimits Limits() const;
  bool ignore_capitals = true;
  // "Autosave every N seconds" as typed; leaving it shows 0..kMaxAutosaveSeconds ("" and
  // text give 0, off).
  std::string autosave_box;
  void NormaliseAutosaveBox();
  // "Keep a backup of a file before a save replaces it".
  bool backups = true;

  // "OK": the boxes become the settings. A smaller history size takes effect on the
  // history in use only when the configuration file is written.
  void Apply(Configuration& config, FileHistory& history) const;

  // "Clear file history": the history is empty from now on, whatever the dialog's outcome.
  static void ClearHistory(FileHistory& history) { history.Clear(); }
};

}  // namespace lumetra
