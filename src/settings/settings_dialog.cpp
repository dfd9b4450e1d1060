#include "settings/settings_dialog.h"

#include <algorithm>

#include "foundation/textkit.h"

namespace lumetra {

void SettingsDialogModel::Load(const Configuration& config, const FileHistory& history) {
  history_box = IntToText(history.MaxHistory);
  win_pos_sav = config.WinPosSav;
  rem_last_dir = config.RemLastDir;
  auto_load = config.AutoLoad;
  auto_open_film = config.AutoOpenFilm;
  write_sub_fps = config.WriteSubFrameRate;
  autosave_box = IntToText(config.AutosaveSeconds);
  backups = config.Backups;
  const CheckLimits& c = config.Checks;
  limit_boxes = {IntToText(c.min_gap_ms), IntToText(c.min_length_ms),   IntToText(c.max_length_ms),
                 FloatToText(c.max_cps),  IntToText(c.max_line_length), IntToText(c.max_lines)};
  ignore_capitals = config.SpellIgnoreCapitals;
}

CheckLimits SettingsDialogModel::Limits() const {
  auto ms = [&](int i) {
    return TextToIntRange(limit_boxes[static_cast<std::size_t>(i)], 0, kMaxCheckMs);
  };
  auto count = [&](int i) {
    return TextToIntRange(limit_boxes[static_cast<std::size_t>(i)], 0, kMaxCheckCount);
  };
  const double cps = TextToFloat(ReplaceChar(limit_boxes[3], ',', '.'));
  return {ms(0), ms(1), ms(2), std::clamp(cps, 0.0, kMaxCheckCps), count(4), count(5)};
}

void SettingsDialogModel::NormaliseAutosaveBox() {
  autosave_box = TextToIntRangeText(autosave_box, 0, kMaxAutosaveSeconds);
}

void SettingsDialogModel::NormaliseHistoryBox() {
  history_box = TextToIntRangeText(history_box, kMinHistory, kMaxHistory);
}

void SettingsDialogModel::Apply(Configuration& config, FileHistory& history) const {
  history.MaxHistory = TextToIntRange(history_box, kMinHistory, kMaxHistory);
  config.WinPosSav = win_pos_sav;
  config.RemLastDir = rem_last_dir;
  config.AutoLoad = auto_load;
  config.AutosaveSeconds = TextToIntRange(autosave_box, 0, kMaxAutosaveSeconds);
  config.Backups = backups;
  config.AutoOpenFilm = auto_open_film;
  config.WriteSubFrameRate = write_sub_fps;
  config.Checks = Limits();
  config.SpellIgnoreCapitals = ignore_capitals;
}

}  // namespace lumetra
