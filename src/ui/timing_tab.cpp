#include "ui/timing_tab.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <functional>
#include <optional>

#include "editing/editor_panel.h"
#include "livetiming/held_key.h"
#include "session/session.h"
#include "ui/controls.h"
#include "ui/film_player.h"
#include "ui/frame_keys.h"
#include "ui/frame_list_model.h"
#include "ui/frame_list_view.h"
#include "ui/text_codec.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

constexpr int kTimerInterval = 1000;
constexpr int kPreviewColumnWidth = 280;
constexpr char kClickAreaHint[] =
    "Hold the left mouse button down here (or Space while this area has the keyboard)\r"
    "while a line is spoken: the press sets the frame's start, the release its end";

// The click area: a press and a release of a mouse button, or of Space while it has the
// keyboard. A held Space counts once: its auto-repeat, whichever way the platform reports
// it, is no press (HeldKeyFilter).
class ClickArea : public QFrame {
 public:
  std::function<void(PointerButton)> pressed;
  // With the clock reading of a release that was held back.
  std::function<void(PointerButton, std::optional<std::int64_t>)> released;
  std::function<std::int64_t()> now;

  explicit ClickArea(QWidget* parent) : QFrame(parent) {
    setObjectName("Panel6");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    SetHint(this, kClickAreaHint);
    SetHeld(false);
    release_timer_.setSingleShot(true);
    release_timer_.setInterval(kKeyRepeatGraceMs);
    QObject::connect(&release_timer_, &QTimer::timeout, this, [this] { FlushRelease(); });
  }
  void SetHeld(bool held) {
    QPalette p = palette();
    p.setColor(QPalette::Window, held ? QColor(0xD8, 0x6A, 0x4F) : QColor(0x4F, 0x6F, 0x8F));
    setPalette(p);
  }

 protected:
  static PointerButton ButtonOf(const QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) return PointerButton::kLeft;
    return e->button() == Qt::RightButton ? PointerButton::kRight : PointerButton::kOther;
  }
  void mousePressEvent(QMouseEvent* e) override {
    setFocus(Qt::MouseFocusReason);
    pressed(ButtonOf(e));
  }
  void mouseReleaseEvent(QMouseEvent* e) override { released(ButtonOf(e), std::nullopt); }
  void keyPressEvent(QKeyEvent* e) override {
    if (e->key() != Qt::Key_Space) return QFrame::keyPressEvent(e);
    const HeldKeyFilter::PressResult result = space_.Press(e->isAutoRepeat(), e->timestamp());
    if (result.released_at) {
      release_timer_.stop();
      released(PointerButton::kLeft, result.released_at);
    }
    if (result.pressed) pressed(PointerButton::kLeft);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (e->key() != Qt::Key_Space) return QFrame::keyReleaseEvent(e);
    // Held back for a moment: a press of the same moment makes it a repeat.
    if (space_.Release(e->isAutoRepeat(), e->timestamp(), now())) release_timer_.start();
  }
  void focusOutEvent(QFocusEvent* e) override {
    FlushRelease();
    QFrame::focusOutEvent(e);
  }

 private:
  void FlushRelease() {
    release_timer_.stop();
    if (const std::optional<std::int64_t> at = space_.Flush()) released(PointerButton::kLeft, at);
  }

  HeldKeyFilter space_;
  QTimer release_timer_;
};

QLabel* MakeLabel(const char* text, QWidget* parent, const char* name = nullptr,
                  bool bold = false) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  if (name != nullptr) label->setObjectName(QString::fromLatin1(name));
  if (bold) {
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
  }
  return label;
}

QColor StatusColourOf(StatusColour colour, const QPalette& palette) {
  switch (colour) {
    case StatusColour::kCountdown:
      return QColor(0, 0, 255);
    case StatusColour::kRecording:
      return QColor(255, 0, 0);
    case StatusColour::kStopped:
      return QColor(0, 128, 0);
    case StatusColour::kCaption:
      break;
  }
  return palette.color(QPalette::Active, QPalette::Highlight);
}

}  // namespace

TimingTab::TimingTab(Session& session, FrameListModel* model, FrameListDelegate* delegate,
                     QWidget* parent)
    : QWidget(parent), session_(session) {
  setObjectName("TabSheet2");
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(5);

  QGroupBox* group = MakeGroupBox("Frame list", "GroupBox7", this);
  auto* list_layout = new QVBoxLayout(group);
  list_layout->setContentsMargins(6, 2, 6, 6);
  list_layout->setSpacing(1);
  auto* note = MakeLabel("DoubleClick: Set start time as Starting value", group, "Label41");
  QFont italic = note->font();
  italic.setItalic(true);
  note->setFont(italic);
  list_layout->addWidget(note, 0, Qt::AlignRight);
  list_layout->addLayout(MakeFrameListHeads(group, {"Label43", "Label44", "Label45", "Label46"}));
  list_ = MakeFrameListView("ListBox2", model, delegate, group);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_layout->addWidget(list_, 1);
  connect(list_, &QListView::doubleClicked, this, &TimingTab::ListBox2DblClick);

  layout->addWidget(group, 0, 0);
  layout->addWidget(BuildPreviewColumn(), 0, 1);
  steps_ = BuildSteps();
  layout->addWidget(steps_, 1, 0, 1, 2);
  layout->setColumnStretch(0, 1);
  layout->setRowStretch(0, 1);

  BuildPanels();
  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");
  timer_->setInterval(kTimerInterval);
  connect(timer_, &QTimer::timeout, this, &TimingTab::Timer1Timer);
  ShowState();
}

QWidget* TimingTab::BuildPreviewColumn() {
  auto* column = new QWidget(this);
  column->setFixedWidth(kPreviewColumnWidth);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);

  preview_ = MakeFrameTextBox("Memo2", 14, column);
  preview_->setReadOnly(true);
  preview_->setFocusPolicy(Qt::NoFocus);
  preview_->setFixedHeight(70);
  SetHint(preview_, "Subtitle Preview");
  layout->addWidget(preview_);

  layout->addWidget(MakeLabel("Mouse Click Area", column, "Label40", true));
  auto* area = new ClickArea(column);
  area->setMinimumHeight(110);
  area->pressed = [this](PointerButton b) { Pressed(b); };
  area->released = [this](PointerButton b, std::optional<std::int64_t> at) { Released(b, at); };
  area->now = [this] { return recorder_.Now(); };
  click_area_ = area;
  layout->addWidget(area, 1);

  auto* key_row = new QHBoxLayout;
  key_row->addWidget(MakeLabel("KeyBox", column, "Label42"));
  key_row->addWidget(MakeBox({"Edit21", "", "", 32767, 120, "Not Available Yet!"}, column));
  key_row->addStretch();
  layout->addLayout(key_row);
  layout->addWidget(BuildStartingValues());
  return column;
}

QWidget* TimingTab::BuildStartingValues() {
  QGroupBox* group = MakeGroupBox("Starting values", "GroupBox9", this);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 4, 6, 6);
  grid->setHorizontalSpacing(2);
  grid->setVerticalSpacing(1);
  grid->addWidget(MakeLabel("Start recording from:", group, "Label36"), 0, 0, 1, 8);
  const BoxSpec boxes[4] = {{"Edit16", "hr", "0", 1, 18, "Hour"},
                            {"Edit17", "min", "00", 2, 26, "Minute"},
                            {"Edit18", "sec", "00", 2, 26, "Second"},
                            {"Edit19", "milisec", "000", 3, 34, "Milisecond"}};
  QFont small = font();
  small.setPixelSize(9);
  int column = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    if (i == 2) grid->addWidget(MakeLabel(":", group, nullptr, true), 2, column++);
    QLabel* unit = MakeLabel(boxes[i].unit, group);
    unit->setFont(small);
    grid->addWidget(unit, 1, column, Qt::AlignHCenter);
    QLineEdit* box = MakeBox(boxes[i], group);
    connect(box, &QLineEdit::editingFinished, this, [box] {
      box->setText(QString::fromStdString(NormalizedStartingValue(box->text().toStdString())));
    });
    starting_[i] = box;
    grid->addWidget(box, 2, column++);
  }
  grid->setColumnStretch(column, 1);
  auto* countdown_row = new QHBoxLayout;
  countdown_row->addWidget(MakeLabel("Countdown:", group, "Label38"));
  countdown_ = MakeBox({"Edit20", "sec", "0", 2, 26,
                        "After you press BEGIN, the recording will start when the counter "
                        "reaches 0."},
                       group);
  connect(countdown_, &QLineEdit::editingFinished, this, [this] {
    countdown_->setText(
        QString::fromStdString(NormalizedCountdown(countdown_->text().toStdString())));
  });
  countdown_row->addWidget(countdown_);
  countdown_row->addWidget(MakeLabel("sec", group));
  countdown_row->addStretch();
  grid->addLayout(countdown_row, 3, 0, 1, 8);
  QPushButton* zero =
      MakeButton("Set starting time to 0", "Button25", "Negates \"recording from\" time", group);
  connect(zero, &QPushButton::clicked, this, [this] { SetStarting(StartingTexts{}); });
  grid->addWidget(zero, 4, 0, 1, 8);
  return group;
}

QWidget* TimingTab::BuildSteps() {
  QGroupBox* group = MakeGroupBox("Steps, hints", "GroupBox8", this);
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(2);
  const char* steps[4][3] = {
      {"1", "- Select a frame",
       "First, select a frame in the \"Frame list\". The time-recoring will start from that "
       "text."},
      {"2", "- Set offset time",
       "Set starting time at \"Start recording from\" fields. The recording will start from "
       "that time. For example, if you press left mouse button on the \"mouse click area\" "
       "after 25 sec of recording and the start value is 10 min 20 sec, the first frame's "
       "Start time will be 10 min 45 sec, and so on..."},
      {"3", "- Load video to MediaPlayer",
       "Load the movie that you want to syncronize with the subtitle, and seek the position "
       "where you want to start to record. Pause the playback, and move the media player "
       "above this window."},
      {"4", "- Start playback && record",
       "Press play on the media player. When the player's time reaches the specified Start "
       "offset time, press BEGIN. From now, until you press STOP, every mouse click within "
       "the mouse click are will be recorded."},
  };
  QFont small = font();
  small.setPixelSize(11);
  for (int i = 0; i < 4; ++i) {
    auto* step = new QWidget(group);
    auto* v = new QVBoxLayout(step);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    // "&&" is one ampersand, as in a caption.
    const QString title = QString::fromLatin1(steps[i][0]) + " " +
                          QString::fromLatin1(steps[i][1]).replace("&&", "&");
    auto* head = new QLabel(title, step);
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    head->setTextFormat(Qt::PlainText);
    auto* text = new QLabel(QString::fromLatin1(steps[i][2]), step);
    text->setWordWrap(true);
    text->setFont(small);
    text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    v->addWidget(head);
    v->addWidget(text, 1);
    grid->addWidget(step, i / 2, i % 2);
  }
  auto* tip = new QLabel(
      "Tipp: Before you click \"Begin\" wait 1 second, so if someone starts to speak, you have "
      "1 sec to click with the mouse...",
      group);
  tip->setWordWrap(true);
  QFont tip_font = small;
  tip_font.setItalic(true);
  tip->setFont(tip_font);
  grid->addWidget(tip, 2, 0, 1, 2);
  return group;
}

void TimingTab::BuildPanels() {
  auto* panel5 = new QFrame(this);
  panel5->setObjectName("Panel5");
  panel5->setFrameShape(QFrame::StyledPanel);
  auto* l5 = new QHBoxLayout(panel5);
  l5->setContentsMargins(3, 2, 3, 2);
  begin_ = MakeButton("&B E G I N", "Button23",
                      HintWithKey("Starts countdown & timing", "Alt+B"), panel5);
  stop_ = MakeButton("&S T O P", "Button24",
                     HintWithKey("Click here if you want to stop recording", "Alt+S"), panel5);
  status_ = MakeLabel(kRecorderReady, panel5, "Label39", true);
  status_->setMinimumWidth(110);
  status_->setAlignment(Qt::AlignCenter);
  l5->addWidget(begin_);
  l5->addWidget(status_);
  l5->addWidget(stop_);
  connect(begin_, &QPushButton::clicked, this, &TimingTab::Begin);
  connect(stop_, &QPushButton::clicked, this, &TimingTab::Stop);
  panel5->hide();
  recorder_panel_ = panel5;

  auto* panel7 = new QFrame(this);
  panel7->setObjectName("Panel7");
  panel7->setFrameShape(QFrame::StyledPanel);
  auto* l7 = new QHBoxLayout(panel7);
  l7->setContentsMargins(3, 2, 3, 2);
  file_name_ = MakeBox({"Edit22", "", "", 32767, 200, "Latest Filename"}, panel7);
  information_ = MakeBox({"Edit23", "", "", 32767, 200, "Subtitle Information"}, panel7);
  information_->setMinimumWidth(120);
  information_->setMaximumWidth(QWIDGETSIZE_MAX);
  for (QLineEdit* box : {file_name_, information_}) {
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignLeft);
  }
  l7->addWidget(file_name_);
  l7->addWidget(information_, 1);
  panel7->hide();
  file_panel_ = panel7;
}

void TimingTab::ShowFileBoxes(const QString& file_name, const QString& information) {
  file_name_->setText(file_name);
  file_name_->setCursorPosition(0);
  information_->setText(information);
  information_->setCursorPosition(0);
}

StartingTexts TimingTab::Starting() const {
  return {starting_[0]->text().toStdString(), starting_[1]->text().toStdString(),
          starting_[2]->text().toStdString(), starting_[3]->text().toStdString()};
}

void TimingTab::SetStarting(const StartingTexts& texts) {
  const std::string* parts[4] = {&texts.hours, &texts.minutes, &texts.seconds, &texts.milliseconds};
  for (std::size_t i = 0; i < 4; ++i) {
    const QString text = QString::fromStdString(*parts[i]);
    // A start of 10 hours or more shows all its hours.
    if (text.size() > starting_[i]->maxLength()) starting_[i]->setMaxLength(int(text.size()));
    starting_[i]->setText(text);
  }
}

int TimingTab::FocusedFrame() const {
  const QModelIndex current = list_->currentIndex();
  return current.isValid() ? current.row() + 1 : 0;
}

void TimingTab::ListBox2DblClick() {
  Document& doc = session_.document();
  doc.CurFrame = FocusedFrame();
  if (doc.CurFrame >= 1 && doc.CurFrame <= doc.FrameCount) {
    SetStarting(StartingTextsOf(doc.FrameStart[static_cast<std::size_t>(doc.CurFrame)]));
  }
}

void TimingTab::SetClock(const Clock& clock) {
  clock_ = &clock;
  ChooseClock();
}

void TimingTab::SetFilm(FilmPlayer& film) {
  film_ = &film;
  film_clock_ = std::make_unique<FilmClock>(film.player());
  connect(&film, &QObject::destroyed, this, [this] {
    film_ = nullptr;
    recorder_.SetClock(*clock_);
  });
  connect(&film, &FilmPlayer::filmOpened, this, &TimingTab::ChooseClock);
  connect(&film, &FilmPlayer::filmClosed, this, &TimingTab::ChooseClock);
  connect(&film, &FilmPlayer::filmFailed, this, &TimingTab::ChooseClock);
  connect(&film, &FilmPlayer::stateChanged, this, &TimingTab::ShowState);
  ChooseClock();
}

bool TimingTab::HasFilm() const { return film_ != nullptr && film_->HasFilm(); }

void TimingTab::ChooseClock() {
  if (HasFilm()) {
    recorder_.SetClock(*film_clock_);
  } else {
    recorder_.SetClock(*clock_);
  }
  ShowState();
}

void TimingTab::ShowFilmPanel(QWidget* panel) {
  auto* grid = static_cast<QGridLayout*>(layout());
  if (film_panel_ != nullptr && film_panel_ != panel && film_panel_->parent() == this) {
    grid->removeWidget(film_panel_);
  }
  film_panel_ = panel;
  steps_->setVisible(panel == nullptr);
  if (panel != nullptr) {
    grid->addWidget(panel, 1, 0, 1, 2);
    panel->show();
  }
  // The film gets more room than the list.
  grid->setRowStretch(1, panel != nullptr ? 2 : 0);
}

void TimingTab::Begin() {
  countdown_->setText(
      QString::fromStdString(NormalizedCountdown(countdown_->text().toStdString())));
  timer_->start();  // restarts a running countdown
  if (HasFilm()) {
    // The film waits at the starting value for the countdown.
    film_->player().Pause();
    film_->transport().SeekTo(StartingValueOf(Starting()));
  }
  const bool started =
      recorder_.Begin(countdown_->text().toStdString(), StartingValueOf(Starting()));
  if (started && HasFilm()) film_->player().Play();
  ShowState();
  if (started) ScrollFocusedToTop();
  // Space now times frames; it no longer presses BEGIN again.
  click_area_->setFocus();
}

void TimingTab::Timer1Timer() {
  const bool started = recorder_.Tick(StartingValueOf(Starting()));
  if (started && HasFilm()) film_->player().Play();
  ShowState();
  if (started) ScrollFocusedToTop();
}

void TimingTab::Stop() {
  recorder_.Stop();
  if (HasFilm()) film_->player().Pause();
  ShowState();
}

void TimingTab::ShowState() {
  if (!recorder_.timer_running()) timer_->stop();
  stop_->setEnabled(recorder_.stop_enabled());
  const bool paused = recorder_.Paused();
  status_->setText(QString::fromStdString(paused ? kRecorderPaused : recorder_.status()));
  QPalette palette = status_->palette();
  palette.setColor(QPalette::WindowText,
                   StatusColourOf(paused ? StatusColour::kCountdown : recorder_.status_colour(),
                                  palette));
  status_->setPalette(palette);
  static_cast<ClickArea*>(click_area_)->SetHeld(recorder_.RecordState() == kButtonHeld);
}

void TimingTab::ScrollFocusedToTop() {
  const QModelIndex current = list_->currentIndex();
  if (current.isValid()) list_->scrollTo(current, QAbstractItemView::PositionAtTop);
}

void TimingTab::Pressed(PointerButton button) {
  Write(recorder_.Press(button, FocusedFrame(), session_.document().FrameCount));
}

void TimingTab::Released(PointerButton button, std::optional<std::int64_t> at) {
  const int frame_count = session_.document().FrameCount;
  Write(at ? recorder_.ReleaseAt(*at, button, FocusedFrame(), frame_count)
           : recorder_.Release(button, FocusedFrame(), frame_count));
}

void TimingTab::Write(const TimingMark& mark) {
  ShowState();
  if (mark.kind == TimingMark::kNone) return;
  const Selection before = SelectionOf(list_);
  const CommandResult result = session_.runner().Run(
      kRecordStepName, before, [&](Document& doc) { return WriteTimingMark(doc, before, mark); },
      "record " + std::to_string(mark.take));
  ApplySelection(list_, result.selection);
  const Document& doc = session_.document();
  if (mark.kind == TimingMark::kStart) {
    preview_->setPlainText(DecodeLines(
        EditorLinesOf(doc.FrameText[static_cast<std::size_t>(mark.frame)]), doc.Encoding));
  } else {
    preview_->clear();
  }
}

}  // namespace lumetra
