// The main window: the top panels with the file commands, and the "Text" tab with the
// frame list, the editor of the selected frame and the command groups beside them.
#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/document.h"
#include "media/player.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QSplitter;
class QTabWidget;
class QVBoxLayout;
class QToolButton;

namespace lumetra {

class AutosaveKeeper;
class ChecksPanel;
class CodePageBox;
class EditorGroup;
class FilmPanel;
class FilmPlayer;
class FindReplaceDialog;
class SpellCheckDialog;
class SpellingService;
class TextGroup;
class FrameListDelegate;
class FrameListModel;
class InfoDialog;
class ManipulationGroup;
class MiniModeTab;
class Prompts;
class Session;
class SettingsDialog;
class SubFrameRateDialog;
class FrameRateDialog;
class TimingGroup;
class TimingTab;
class ToolButton;
class UndoControls;
class WaveformPanel;
class WindowCommands;

// The undo step of the information dialog's "OK".
inline constexpr char kInformationStep[] = "Information";

inline constexpr char kAboutText[] =
    "Lumetra 1.33\r\rA subtitle editor: it opens, corrects, retimes and converts subtitle "
    "files\r(SRT with information header, numbered SubRip, frame-based SUB and SAMI).";

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Builds the window over a new session that asks and tells through prompts (not owned).
  // startup_file is the command line's subtitle, loaded when the window is first shown.
  // config_path names the configuration file, read now and written when the window
  // closes; with none, nothing is read or written. The films play in `player` (libmpv
  // when none is given; tests give a fake).
  explicit MainWindow(Prompts& prompts, std::optional<QString> startup_file = std::nullopt,
                      std::string config_path = {}, QWidget* parent = nullptr,
                      std::unique_ptr<Player> player = nullptr);
  ~MainWindow() override;

  Session& session() { return *session_; }
  Document& document();

  // Keeps autosaves and backups in the state directory (StateDirectory) as the settings
  // say; call before the window is first shown, so that the work of an editor that did not
  // close normally is offered before the start-up file is opened.
  void EnableAutosave(const std::string& state_dir);
  AutosaveKeeper* autosaveKeeper() const { return keeper_; }

  // Creates the dialogs, hidden, in their start-up order: the SUB frame-rate dialog, then
  // the information dialog, the settings dialog and the frame-rate calculator. The SUB
  // dialog reports a bad rate and the settings dialog a failed association through
  // `prompts`.
  void CreateDialogs(Prompts& prompts);
  SubFrameRateDialog* subFrameRateDialog() const { return sub_dialog_; }
  InfoDialog* infoDialog() const { return info_dialog_; }
  SettingsDialog* settingsDialog() const { return settings_dialog_; }
  FrameRateDialog* frameRateDialog() const { return frame_rate_dialog_; }

  // The start-up loading of the command-line file; runs once, when the window is first
  // shown (tests may call it directly).
  void FormActivate();
  // A film named on the command line after the subtitle, opened by FormActivate.
  void SetStartupFilm(const QString& film) { startup_film_ = film; }

  // Reloads the editor panel from the list: editor, time boxes, enabled states and the
  // selection counter. The commands call it after they changed the list or selection.
  void ListBox1Click();
  void UpdateSelectedCount();

  // The frame list's model and the delegate that paints it.
  FrameListModel* frameListModel() const { return model_; }
  FrameListDelegate* frameListDelegate() const { return delegate_; }
  QListView* frameList() const { return list_; }
  QMenu* historyMenu() const { return history_menu_; }
  EditorGroup* editorGroup() const { return editor_; }
  WindowCommands& commands() { return *commands_; }
  UndoControls* undoControls() const { return undo_controls_; }
  TimingTab* timingTab() const { return timing_; }
  // The film player and its panel (in a splitter with the frame list of the "Text" tab,
  // or in the "Timing" tab while that is shown with a film open).
  FilmPlayer* filmPlayer() const { return film_player_; }
  FilmPanel* filmPanel() const { return film_panel_; }
  QSplitter* filmSplitter() const { return film_splitter_; }
  MiniModeTab* miniModeTab() const { return mini_; }
  // The film's waveform under the frame list (hidden while no film is open).
  WaveformPanel* waveformPanel() const { return waveform_; }

  // The switch between the tabs "Text", "Timing" and "MiniMode"; a switch away from
  // "MiniMode" ends mini mode.
  void PageControl1Change(int index);
  // SpeedButton4: the window becomes the mini-mode strip.
  void EnterMiniMode();
  // Ctrl+H: the Find and replace dialog, with the text selected in the editor to find.
  void OpenFindReplace();
  FindReplaceDialog* findReplaceDialog() const { return find_dialog_; }
  // "Check spelling…": the dialog over every frame, or over the selected ones.
  void OpenSpellCheck();
  SpellCheckDialog* spellCheckDialog() const { return spell_dialog_; }
  SpellingService& spelling() { return *spelling_; }
  TextGroup* textGroup() const { return text_group_; }
  // The "Checks" panel under the frame list, and the toolbar button that shows it.
  ChecksPanel* checksPanel() const { return checks_; }
  void ShowChecks(bool shown);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildTopPanels(QWidget* parent, QHBoxLayout* row);
  QWidget* BuildTextTab();
  QWidget* BuildFrameListGroup();
  QWidget* BuildCommandColumn();
  void FormCreate();
  // ListBox1Click; `auto_focus` false keeps the keyboard focus where it is.
  void ReloadPanel(bool auto_focus);
  // Before a file command: text typed into the focused editor reaches the frame.
  void FlushEditor();
  // The keyboard's way through the "Text" tab.
  void ArrangeTabOrder();

  // The file commands.
  void NewClicked();
  void OpenClicked();
  void ShowHistoryMenu(const QPoint& global_pos);
  void SaveAsClicked();
  void QuickSave();
  // Ctrl+S: quick save, or Save As when the document has no file name yet.
  void SaveClicked();
  void InfoClicked();
  void SettingsClicked();
  void FileDropped(const QString& path);
  // Puts the film panel where it belongs: into the "Timing" tab while that is shown with a
  // film, else beside or above the frame list.
  void PlaceFilmPanel();
  // The waveform goes under the film's picture while the picture is on the "Text" tab,
  // else under the frame list.
  void PlaceWaveform();
  void ToggleFilmPlace();
  // The waveform under the frame list follows the film player.
  void ConnectWaveform();
  // Gives the film panel in the splitter its remembered size (or, fresh, a share of the
  // room).
  void SizeFilmPanel(bool fresh);
  void AboutClicked();

  void DocumentWasReset();
  void RefreshFileBoxes();
  // The caption names the document and shows whether it has unsaved work.
  void RefreshCaption();
  // The document changed: the caption is refreshed and the autosave told, now and once
  // more when the event loop is back (after the command has settled Modified).
  void DocumentTouched();
  // The autosave interval and the backups as the settings say.
  void ApplySafetySettings();
  void ApplyCommandStates(int selected);
  void SetControlsEnabled(const std::vector<const char*>& names, bool enabled);
  int SelectedCount() const;
  void ShowFocusedTimes();

  std::unique_ptr<Session> session_;
  std::optional<QString> startup_file_;
  std::optional<QString> startup_film_;
  std::string config_path_;
  bool activated_ = false;
  bool caption_scheduled_ = false;
  std::string state_dir_;
  AutosaveKeeper* keeper_ = nullptr;

  FrameListModel* model_ = nullptr;
  FrameListDelegate* delegate_ = nullptr;
  QListView* list_ = nullptr;
  WindowCommands* commands_ = nullptr;
  EditorGroup* editor_ = nullptr;
  ManipulationGroup* manipulation_ = nullptr;
  TimingGroup* timing_group_ = nullptr;
  UndoControls* undo_controls_ = nullptr;
  QWidget* command_column_ = nullptr;
  QLineEdit* file_box_ = nullptr;     // Edit1
  CodePageBox* code_page_box_ = nullptr;
  QLineEdit* summary_box_ = nullptr;  // Edit3
  QLineEdit* search_box_ = nullptr;   // Edit6
  QLabel* count_label_ = nullptr;           // Label6
  QLabel* total_label_ = nullptr;           // Label7
  QTabWidget* pages_ = nullptr;
  TimingTab* timing_ = nullptr;
  MiniModeTab* mini_ = nullptr;
  FilmPlayer* film_player_ = nullptr;
  FilmPanel* film_panel_ = nullptr;
  QSplitter* film_splitter_ = nullptr;
  bool film_panel_in_splitter_ = false;
  WaveformPanel* waveform_ = nullptr;
  QVBoxLayout* text_column_ = nullptr;  // the film, the frame list, the editor
  std::vector<QWidget*> toolbar_panels_;  // Panel2, Panel3, Panel4
  QMenu* history_menu_ = nullptr;
  SubFrameRateDialog* sub_dialog_ = nullptr;
  InfoDialog* info_dialog_ = nullptr;
  SettingsDialog* settings_dialog_ = nullptr;
  FrameRateDialog* frame_rate_dialog_ = nullptr;
  FindReplaceDialog* find_dialog_ = nullptr;
  SpellCheckDialog* spell_dialog_ = nullptr;
  SpellingService* spelling_ = nullptr;
  TextGroup* text_group_ = nullptr;
  ChecksPanel* checks_ = nullptr;
  QToolButton* checks_button_ = nullptr;
  bool checks_shown_before_ = false;
};

}  // namespace lumetra
