// The "Timing" tab: the live timing recorder. The Timing list (ListBox2) shows the frames;
// BEGIN starts a countdown, then every left press on the click area (or Space while it has
// the keyboard) gives the focused frame its start and the release its end, and the focus
// moves on. The starting values and the countdown are set in their boxes. The recorder's
// BEGIN/STOP panel and the copies of the file-name and information boxes take the
// toolbar's place while the tab is shown; the window places them.
//
// With a film open the times come from the film: BEGIN seeks it to the starting value,
// the countdown runs, and the film plays when recording starts; STOP pauses it. The film
// panel then takes the place of the steps.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "livetiming/clock.h"
#include "livetiming/recorder.h"
#include "media/film_clock.h"

class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace lumetra {

class FilmPlayer;
class FrameListDelegate;
class FrameListModel;
class Session;

class TimingTab : public QWidget {
  Q_OBJECT

 public:
  TimingTab(Session& session, FrameListModel* model, FrameListDelegate* delegate,
            QWidget* parent = nullptr);

  // Panel5 (BEGIN, the status, STOP) and Panel7 (the file name and the information).
  QWidget* recorderPanel() const { return recorder_panel_; }
  QWidget* filePanel() const { return file_panel_; }
  QListView* timingList() const { return list_; }
  QWidget* clickArea() const { return click_area_; }
  QTimer* timer() const { return timer_; }
  const Recorder& recorder() const { return recorder_; }

  // The clock of the recorded times without a film (not owned; the machine's monotonic
  // clock by default).
  void SetClock(const Clock& clock);
  // The film player: while it has a film, the recorder runs on the film's clock.
  void SetFilm(FilmPlayer& film);
  // The film panel in the place of the steps; null gives the steps back.
  void ShowFilmPanel(QWidget* panel);
  // Panel7's copies of the file-name and information boxes.
  void ShowFileBoxes(const QString& file_name, const QString& information);

  // A tick of the one-second timer.
  void Timer1Timer();

 private:
  QWidget* BuildPreviewColumn();
  QWidget* BuildStartingValues();
  QWidget* BuildSteps();
  void BuildPanels();

  void Begin();
  void Stop();
  void Pressed(PointerButton button);
  // A release now, or at an earlier reading of the recorder's clock.
  void Released(PointerButton button, std::optional<std::int64_t> at);
  void Write(const TimingMark& mark);
  void ShowState();
  void ScrollFocusedToTop();
  int FocusedFrame() const;
  StartingTexts Starting() const;
  void SetStarting(const StartingTexts& texts);
  void ListBox2DblClick();

  // The film's clock while a film is open, else the clock without a film.
  void ChooseClock();
  bool HasFilm() const;

  Session& session_;
  SteadyClock steady_clock_;
  const Clock* clock_ = &steady_clock_;
  Recorder recorder_{steady_clock_};
  FilmPlayer* film_ = nullptr;
  std::unique_ptr<FilmClock> film_clock_;
  QWidget* steps_ = nullptr;              // GroupBox8
  QWidget* film_panel_ = nullptr;
  QListView* list_ = nullptr;             // ListBox2
  QPlainTextEdit* preview_ = nullptr;     // Memo2
  QWidget* click_area_ = nullptr;         // Panel6
  std::array<QLineEdit*, 4> starting_{};  // Edit16..Edit19
  QLineEdit* countdown_ = nullptr;        // Edit20
  QWidget* recorder_panel_ = nullptr;     // Panel5
  QPushButton* begin_ = nullptr;          // Button23
  QPushButton* stop_ = nullptr;           // Button24
  QLabel* status_ = nullptr;              // Label39
  QWidget* file_panel_ = nullptr;         // Panel7
  QLineEdit* file_name_ = nullptr;        // Edit22
  QLineEdit* information_ = nullptr;      // Edit23
  QTimer* timer_ = nullptr;               // Timer1
};

}  // namespace lumetra
