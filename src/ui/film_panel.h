// The film panel: the film's picture with the document's subtitle drawn on it as it is
// edited, a place for strips that follow the film (a waveform) under the picture, the
// position slider with the position and the length, play/pause, steps of 1 and 5 seconds
// and of one picture, the playback rate, the volume and mute, and the frame commands
// "Set start", "Set end" and "Follow film". It opens films (the film dialog, a path, the
// film of a subtitle that was read) and hides itself while no film is open.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "session/prompts.h"

class QAbstractItemModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QSlider;
class QShortcut;
class QTimer;
class QToolButton;
class QVBoxLayout;

namespace lumetra {

class FilmPlayer;
class Session;
class WindowCommands;

// Hints of the panel's controls, with their keys.
inline constexpr char kPlayHint[] = "Play / pause (Ctrl+Space)";
inline constexpr char kBackSecondHint[] = "Back 1 second (Ctrl+Left)";
inline constexpr char kForwardSecondHint[] = "Forward 1 second (Ctrl+Right)";
inline constexpr char kBackFiveHint[] = "Back 5 seconds";
inline constexpr char kForwardFiveHint[] = "Forward 5 seconds";
inline constexpr char kFrameBackHint[] = "One picture back (Alt+Left)";
inline constexpr char kFrameForwardHint[] = "One picture forward (Alt+Right)";
inline constexpr char kSetStartHint[] = "The focused frame starts at the film's position (F9)";
inline constexpr char kSetEndHint[] = "The focused frame ends at the film's position (F10)";
inline constexpr char kFollowHint[] =
    "While the film plays, the frame it shows is focused in the frame list";

class FilmPanel : public QWidget {
  Q_OBJECT

 public:
  // `commands` works on the "Text" tab's frame list; `model` is its model (the panel
  // hands the player the document again after each change it shows).
  FilmPanel(Session& session, WindowCommands& commands, QAbstractItemModel* model, FilmPlayer& film,
            QWidget* parent = nullptr);

  FilmPlayer& film() { return film_; }
  // A strip that follows the film goes under the picture, after the strips added before.
  void AddStrip(QWidget* strip);

  // The film dialog, then OpenFilm.
  void ChooseFilm();
  // Opens a film (a full path); the panel shows itself at once. A film that cannot be
  // played is told with the player's reason; the document is never touched.
  void OpenFilm(const std::string& path);
  void CloseFilm();
  // A subtitle was read: its film opens (the one remembered with it, or the one beside it
  // when the settings want it). A film already open stays when none is found, and is then
  // remembered with this subtitle.
  void SubtitleRead(const std::string& path);
  // A subtitle was written: the film open is remembered with it.
  void SubtitleWritten(const std::string& path);

  // Seeks the film to a frame's start (the frame list's double click and Enter).
  void SeekToFrame(int frame);
  // "Set start" and "Set end": one undo step each.
  void SetStart();
  void SetEnd();

  // In the "Timing" tab the frame commands are hidden (they work on the "Text" tab's list).
  void SetTimingMode(bool timing);
  bool timingMode() const { return timing_mode_; }
  // The keys Ctrl+Space, Ctrl+Left/Right, Alt+Left/Right, F9 and F10 anywhere in `window`;
  // they act while a film is open.
  void AddShortcuts(QWidget* window);

  bool followFilm() const;
  void SetFollowFilm(bool follow);

 signals:
  // The "Beside / above the list" button.
  void placeChangeRequested();
  // A film opened or closed (also when it failed): the window places the panel.
  void filmShownChanged();

 private:
  QWidget* BuildControls();
  QWidget* BuildFrameCommands();
  void FilmOpened();
  void FilmFailed(const QString& reason);
  void FilmClosed();
  void ShowPosition(qint64 position_ms);
  void ShowState();
  void Follow(qint64 position_ms);
  void HandDocumentToPlayer();
  // The document's full path; empty when it has none.
  std::string DocumentPath() const;

  Session& session_;
  WindowCommands& commands_;
  FilmPlayer& film_;
  bool timing_mode_ = false;
  std::string failed_path_;
  FileDialogState film_dialog_;

  QWidget* picture_ = nullptr;
  QWidget* controls_ = nullptr;
  QToolButton* set_start_ = nullptr;
  QToolButton* set_end_ = nullptr;
  QVBoxLayout* strips_ = nullptr;
  QSlider* slider_ = nullptr;
  QLabel* position_ = nullptr;
  QLabel* name_ = nullptr;
  QToolButton* play_ = nullptr;
  QComboBox* rate_ = nullptr;
  QSlider* volume_ = nullptr;
  QToolButton* mute_ = nullptr;
  QWidget* frame_commands_ = nullptr;
  QCheckBox* follow_ = nullptr;
  QTimer* subtitle_timer_ = nullptr;
  std::vector<QShortcut*> shortcuts_;
};

}  // namespace lumetra
