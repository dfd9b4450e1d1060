#include "ui/film_panel.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "editing/film_timing.h"
#include "foundation/textkit.h"
#include "media/film_subtitles.h"
#include "session/film_files.h"
#include "session/session.h"
#include "ui/film_player.h"
#include "ui/hints.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

// The document reaches the picture this long after its last change (typing goes on).
constexpr int kSubtitleDelayMs = 150;

QToolButton* MakeButton(const char* name, const QString& text, const char* hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(text);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  if (hint != nullptr) SetHint(button, hint);
  return button;
}

QString FromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

FilmPanel::FilmPanel(Session& session, WindowCommands& commands, QAbstractItemModel* model,
                     FilmPlayer& film, QWidget* parent)
    : QWidget(parent), session_(session), commands_(commands), film_(film) {
  setObjectName("FilmPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  picture_ = film_.CreateView(this);
  picture_->setMinimumSize(160, 90);
  layout->addWidget(picture_, 1);
  strips_ = new QVBoxLayout;
  strips_->setContentsMargins(0, 0, 0, 0);
  strips_->setSpacing(2);
  layout->addLayout(strips_);
  controls_ = BuildControls();
  layout->addWidget(controls_);
  frame_commands_ = BuildFrameCommands();
  layout->addWidget(frame_commands_);

  connect(&film_, &FilmPlayer::filmOpened, this, &FilmPanel::FilmOpened);
  connect(&film_, &FilmPlayer::filmFailed, this, &FilmPanel::FilmFailed);
  connect(&film_, &FilmPlayer::filmClosed, this, &FilmPanel::FilmClosed);
  connect(&film_, &FilmPlayer::positionChanged, this, &FilmPanel::ShowPosition);
  connect(&film_, &FilmPlayer::positionChanged, this, &FilmPanel::Follow);
  connect(&film_, &FilmPlayer::stateChanged, this, &FilmPanel::ShowState);

  // Every change of the document reaches the picture, a moment after the last one.
  subtitle_timer_ = new QTimer(this);
  subtitle_timer_->setSingleShot(true);
  subtitle_timer_->setInterval(kSubtitleDelayMs);
  connect(subtitle_timer_, &QTimer::timeout, this, &FilmPanel::HandDocumentToPlayer);
  auto changed = [this] {
    if (film_.player().State() != PlayerState::kNoFilm) subtitle_timer_->start();
  };
  connect(model, &QAbstractItemModel::modelReset, this, changed);
  connect(model, &QAbstractItemModel::dataChanged, this, changed);
  connect(model, &QAbstractItemModel::rowsInserted, this, changed);
  connect(model, &QAbstractItemModel::rowsRemoved, this, changed);

  ShowState();
  hide();
}

QWidget* FilmPanel::BuildControls() {
  auto* controls = new QWidget(this);
  auto* column = new QVBoxLayout(controls);
  column->setContentsMargins(2, 0, 2, 0);
  column->setSpacing(1);

  auto* slider_row = new QHBoxLayout;
  slider_ = new QSlider(Qt::Horizontal, controls);
  slider_->setObjectName("FilmSlider");
  slider_->setFocusPolicy(Qt::NoFocus);
  slider_->setSingleStep(static_cast<int>(FilmTransport::kShortStepMs));
  slider_->setPageStep(static_cast<int>(FilmTransport::kLongStepMs));
  // A drag or a click on the groove seeks; the film's own moves do not.
  connect(slider_, &QSlider::valueChanged, this, [this](int value) {
    if (slider_->signalsBlocked()) return;
    film_.transport().SeekTo(value);
  });
  position_ = new QLabel(controls);
  position_->setObjectName("FilmPosition");
  slider_row->addWidget(slider_, 1);
  slider_row->addWidget(position_);
  column->addLayout(slider_row);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(0);
  FilmTransport& transport = film_.transport();
  QStyle* style = this->style();
  auto step = [&](const char* name, const char* text, const char* hint, std::int64_t ms) {
    QToolButton* button = MakeButton(name, QString::fromUtf8(text), hint, controls);
    connect(button, &QToolButton::clicked, this, [&transport, ms] { transport.SeekBy(ms); });
    buttons->addWidget(button);
  };
  step("FilmBack5", "\u22125 s", kBackFiveHint, -FilmTransport::kLongStepMs);
  step("FilmBack1", "\u22121 s", kBackSecondHint, -FilmTransport::kShortStepMs);
  QToolButton* frame_back = MakeButton("FilmFrameBack", {}, kFrameBackHint, controls);
  frame_back->setIcon(style->standardIcon(QStyle::SP_MediaSkipBackward));
  connect(frame_back, &QToolButton::clicked, this, [&transport] { transport.StepFrame(false); });
  buttons->addWidget(frame_back);
  play_ = MakeButton("FilmPlay", {}, kPlayHint, controls);
  connect(play_, &QToolButton::clicked, this, [&transport] { transport.PlayPause(); });
  buttons->addWidget(play_);
  QToolButton* frame_forward = MakeButton("FilmFrameForward", {}, kFrameForwardHint, controls);
  frame_forward->setIcon(style->standardIcon(QStyle::SP_MediaSkipForward));
  connect(frame_forward, &QToolButton::clicked, this, [&transport] { transport.StepFrame(true); });
  buttons->addWidget(frame_forward);
  step("FilmForward1", "+1 s", kForwardSecondHint, FilmTransport::kShortStepMs);
  step("FilmForward5", "+5 s", kForwardFiveHint, FilmTransport::kLongStepMs);
  buttons->addSpacing(6);

  rate_ = new QComboBox(controls);
  rate_->setObjectName("FilmRate");
  rate_->setFocusPolicy(Qt::NoFocus);
  SetHint(rate_, "Playback speed");
  for (double rate : FilmTransport::Rates()) {
    rate_->addItem(QString::fromStdString(FilmTransport::RateText(rate)), rate);
  }
  connect(rate_, &QComboBox::activated, this,
          [this, &transport](int index) { transport.SetRate(rate_->itemData(index).toDouble()); });
  buttons->addWidget(rate_);
  buttons->addStretch(1);

  mute_ = MakeButton("FilmMute", {}, "Sound on / off", controls);
  mute_->setCheckable(true);
  connect(mute_, &QToolButton::clicked, this, [&transport] { transport.ToggleMute(); });
  buttons->addWidget(mute_);
  volume_ = new QSlider(Qt::Horizontal, controls);
  volume_->setObjectName("FilmVolume");
  volume_->setFocusPolicy(Qt::NoFocus);
  volume_->setRange(0, Player::kMaxVolume);
  volume_->setFixedWidth(70);
  SetHint(volume_, "Volume");
  connect(volume_, &QSlider::valueChanged, this, [this, &transport](int value) {
    if (!volume_->signalsBlocked()) transport.SetVolume(value);
  });
  buttons->addWidget(volume_);
  column->addLayout(buttons);
  return controls;
}

QWidget* FilmPanel::BuildFrameCommands() {
  auto* row_widget = new QWidget(this);
  auto* row = new QHBoxLayout(row_widget);
  row->setContentsMargins(2, 0, 2, 2);
  row->setSpacing(2);
  set_start_ = MakeButton("FilmSetStart", "Set start", kSetStartHint, row_widget);
  set_end_ = MakeButton("FilmSetEnd", "Set end", kSetEndHint, row_widget);
  for (QToolButton* button : {set_start_, set_end_}) {
    button->setAutoRaise(false);
    row->addWidget(button);
  }
  connect(set_start_, &QToolButton::clicked, this, &FilmPanel::SetStart);
  connect(set_end_, &QToolButton::clicked, this, &FilmPanel::SetEnd);
  follow_ = new QCheckBox("Follow film", row_widget);
  follow_->setObjectName("FilmFollow");
  follow_->setFocusPolicy(Qt::NoFocus);
  SetHint(follow_, kFollowHint);
  row->addWidget(follow_);
  name_ = new QLabel(row_widget);
  name_->setObjectName("FilmName");
  name_->setMinimumWidth(40);
  name_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  row->addWidget(name_, 1);
  QToolButton* place = MakeButton("FilmPlace", QString::fromUtf8("\u21C4"),
                                  "The film beside the frame list, or above it", row_widget);
  connect(place, &QToolButton::clicked, this, &FilmPanel::placeChangeRequested);
  row->addWidget(place);
  QToolButton* close =
      MakeButton("FilmClose", QString::fromUtf8("\u2715"), "Close the film", row_widget);
  connect(close, &QToolButton::clicked, this, &FilmPanel::CloseFilm);
  row->addWidget(close);
  return row_widget;
}

void FilmPanel::AddStrip(QWidget* strip) { strips_->addWidget(strip); }

void FilmPanel::AddShortcuts(QWidget* window) {
  FilmTransport& transport = film_.transport();
  auto add = [&](QKeySequence keys, std::function<void()> action) {
    auto* shortcut = new QShortcut(keys, window);
    shortcut->setContext(Qt::WindowShortcut);
    shortcut->setEnabled(false);
    connect(shortcut, &QShortcut::activated, this, std::move(action));
    shortcuts_.push_back(shortcut);
  };
  add(QKeySequence(Qt::CTRL | Qt::Key_Space), [&transport] { transport.PlayPause(); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Left),
      [&transport] { transport.SeekBy(-FilmTransport::kShortStepMs); });
  add(QKeySequence(Qt::CTRL | Qt::Key_Right),
      [&transport] { transport.SeekBy(FilmTransport::kShortStepMs); });
  add(QKeySequence(Qt::ALT | Qt::Key_Left), [&transport] { transport.StepFrame(false); });
  add(QKeySequence(Qt::ALT | Qt::Key_Right), [&transport] { transport.StepFrame(true); });
  add(QKeySequence(Qt::Key_F9), [this] { SetStart(); });
  add(QKeySequence(Qt::Key_F10), [this] { SetEnd(); });
  ShowState();
}

// ---------------------------------------------------------------------------------------
// Films

std::string FilmPanel::DocumentPath() const {
  const Document& doc = session_.document();
  if (doc.FileName.empty() || doc.FileDir.empty()) return {};
  return WithBackslash(doc.FileDir) + doc.FileName;
}

void FilmPanel::ChooseFilm() {
  const std::string& film = film_.player().FilmPath();
  film_dialog_.initial_dir = !film.empty() ? DirOfPath(film) : session_.document().FileDir;
  if (const std::optional<std::string> path = session_.prompts().AskFilmPath(film_dialog_)) {
    film_dialog_.file_name = NameOfPath(*path);
    OpenFilm(*path);
  }
}

void FilmPanel::OpenFilm(const std::string& path) {
  failed_path_ = path;
  show();  // the picture takes its place before the film arrives
  film_.player().Open(path);
  ShowState();
  emit filmShownChanged();
}

void FilmPanel::CloseFilm() { film_.player().Close(); }

void FilmPanel::SubtitleRead(const std::string& path) {
  const std::optional<std::string> film =
      FilmToOpenWith(path, session_.history(), session_.settings());
  if (film && *film != film_.player().FilmPath()) {
    OpenFilm(*film);
  } else if (film_.HasFilm()) {
    RememberFilm(session_.history(), path, film_.player().FilmPath());
    HandDocumentToPlayer();
  }
}

void FilmPanel::SubtitleWritten(const std::string& path) {
  if (film_.HasFilm()) RememberFilm(session_.history(), path, film_.player().FilmPath());
}

void FilmPanel::FilmOpened() {
  const std::string& path = film_.player().FilmPath();
  name_->setText(QFileInfo(FromPath(path)).fileName());
  SetHint(name_, path);
  if (const std::string subtitle = DocumentPath(); !subtitle.empty()) {
    RememberFilm(session_.history(), subtitle, path);
  }
  HandDocumentToPlayer();
  show();
  ShowPosition(film_.player().PositionMs());
  ShowState();
  emit filmShownChanged();
}

void FilmPanel::FilmFailed(const QString& reason) {
  FilmClosed();
  // Told once the player's events are done with.
  const std::string message = kFilmCannotPlay + failed_path_ + "\r\r" + reason.toStdString();
  QTimer::singleShot(0, this, [this, message] { session_.prompts().ShowMessage(message); });
}

void FilmPanel::FilmClosed() {
  if (film_.player().State() != PlayerState::kNoFilm) return;  // another film is on its way
  name_->clear();
  hide();
  ShowState();
  emit filmShownChanged();
}

void FilmPanel::HandDocumentToPlayer() {
  subtitle_timer_->stop();
  film_.player().ShowSubtitles(FilmSubtitleText(session_.document()));
}

// ---------------------------------------------------------------------------------------
// What the controls show

void FilmPanel::ShowPosition(qint64 position_ms) {
  const Player& player = film_.player();
  const QSignalBlocker block(slider_);
  slider_->setRange(0, static_cast<int>(std::min<std::int64_t>(player.DurationMs(), INT32_MAX)));
  if (!slider_->isSliderDown()) {
    slider_->setValue(static_cast<int>(std::clamp<qint64>(position_ms, 0, INT32_MAX)));
  }
  position_->setText(QString::fromStdString(FrameListTime(FilmTime(position_ms)) + " / " +
                                            film_.transport().LengthText()));
}

void FilmPanel::ShowState() {
  const Player& player = film_.player();
  const bool has_film = film_.HasFilm();
  const bool playing = player.State() == PlayerState::kPlaying;
  play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
  controls_->setEnabled(has_film);
  for (QWidget* command : std::initializer_list<QWidget*>{set_start_, set_end_, follow_}) {
    command->setEnabled(has_film);
  }
  for (QShortcut* shortcut : shortcuts_) shortcut->setEnabled(has_film);
  {
    const QSignalBlocker block(volume_);
    volume_->setValue(player.Volume());
  }
  mute_->setChecked(player.Muted());
  mute_->setIcon(
      style()->standardIcon(player.Muted() ? QStyle::SP_MediaVolumeMuted : QStyle::SP_MediaVolume));
  const auto& rates = FilmTransport::Rates();
  const auto nearest = std::min_element(rates.begin(), rates.end(), [&](double a, double b) {
    return std::abs(a - player.Rate()) < std::abs(b - player.Rate());
  });
  rate_->setCurrentIndex(static_cast<int>(nearest - rates.begin()));
  if (!has_film) ShowPosition(0);
}

// ---------------------------------------------------------------------------------------
// The frame list and the film

void FilmPanel::SeekToFrame(int frame) {
  const Document& doc = session_.document();
  if (!film_.HasFilm() || frame < 1 || frame > doc.FrameCount) return;
  film_.transport().SeekTo(doc.FrameStart[static_cast<std::size_t>(frame)]);
}

void FilmPanel::SetStart() {
  if (!film_.HasFilm() || timing_mode_) return;
  const TimeValue position = FilmTime(film_.player().PositionMs());
  commands_.Run(
      kSetStartStepName,
      [position](Document& doc, const Selection& s) { return SetStartFromFilm(doc, s, position); },
      false);
}

void FilmPanel::SetEnd() {
  if (!film_.HasFilm() || timing_mode_) return;
  const TimeValue position = FilmTime(film_.player().PositionMs());
  commands_.Run(
      kSetEndStepName,
      [position](Document& doc, const Selection& s) { return SetEndFromFilm(doc, s, position); },
      false);
}

bool FilmPanel::followFilm() const { return follow_->isChecked(); }

void FilmPanel::SetFollowFilm(bool follow) { follow_->setChecked(follow); }

void FilmPanel::Follow(qint64 position_ms) {
  if (!follow_->isChecked() || timing_mode_ || !isVisible() ||
      film_.player().State() != PlayerState::kPlaying) {
    return;
  }
  const int frame = FrameAtPosition(session_.document(), FilmTime(position_ms));
  if (frame == 0 || frame == commands_.FocusedFrame()) return;
  commands_.Select([frame](const Document&, const Selection& s) {
    return Selection{{frame}, frame, s.top};
  });
}

void FilmPanel::SetTimingMode(bool timing) {
  timing_mode_ = timing;
  frame_commands_->setVisible(!timing);
}

}  // namespace lumetra
