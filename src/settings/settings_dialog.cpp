#include "settings/settings_dialog.h"

#include "foundation/textkit.h"

namespace lumetra {

void SettingsDialogModel::Load(const Configuration& config, const FileHistory& history) {
  history_box = IntToText(history.MaxHistory);
  win_pos_sav = config.WinPosSav;
  rem_last_dir = config.RemLastDir;
  auto_load = config.AutoLoad;
  auto_open_film = config.AutoOpenFilm;
  write_sub_fps = config.WriteSubFrameRate;
}

void SettingsDialogModel::NormaliseHistoryBox() {
  history_box = TextToIntRangeText(history_box, kMinHistory, kMaxHistory);
}

void SettingsDialogModel::Apply(Configuration& config, FileHistory& history) const {
  history.MaxHistory = TextToIntRange(history_box, kMinHistory, kMaxHistory);
  config.WinPosSav = win_pos_sav;
  config.RemLastDir = rem_last_dir;
  config.AutoLoad = auto_load;
  config.AutoOpenFilm = auto_open_film;
  config.WriteSubFrameRate = write_sub_fps;
}

}  // namespace lumetra
