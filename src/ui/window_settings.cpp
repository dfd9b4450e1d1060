#include "ui/window_settings.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QWidget>
#include <algorithm>

#include "session/session.h"
#include "session/window_geometry.h"

namespace lumetra {

namespace {

// The editor's alignment items, left to right, and its two check boxes.
constexpr const char* kAlignmentItems[3] = {"RadioGroup1_Left", "RadioGroup1_Center",
                                            "RadioGroup1_Right"};
constexpr char kInstantApplyBox[] = "CheckBox1";
constexpr char kAutoFocusBox[] = "CheckBox4";
// The film panel's "Follow film", and the splitter it shares with the frame list (its size
// there is the window's to keep: it is known only while the panel shows).
constexpr char kFollowFilmBox[] = "FilmFollow";
constexpr char kFilmSplitter[] = "FilmSplitter";

QAbstractButton* Button(const QWidget& window, const char* name) {
  return window.findChild<QAbstractButton*>(QString::fromLatin1(name));
}

}  // namespace

std::vector<ScreenRect> ScreenRects() {
  std::vector<ScreenRect> rects;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->geometry();
    rects.push_back({g.x(), g.y(), g.width(), g.height()});
  }
  return rects;
}

std::vector<ScreenRect> AvailableScreenRects() {
  std::vector<ScreenRect> rects;
  for (const QScreen* screen : QGuiApplication::screens()) {
    const QRect g = screen->availableGeometry();
    rects.push_back({g.x(), g.y(), g.width(), g.height()});
  }
  return rects;
}

void FitWindowIntoScreen(QWidget& window) {
  const QRect frame = window.frameGeometry();
  const ScreenRect outer{frame.x(), frame.y(), frame.width(), frame.height()};
  const ScreenRect fitted = FitIntoScreens(outer, AvailableScreenRects());
  if (fitted == outer) return;
  const QSize client(std::max(window.width() - (outer.width - fitted.width), 1),
                     std::max(window.height() - (outer.height - fitted.height), 1));
  // A desktop smaller than the window's usual least size gets a smaller window.
  window.setMinimumSize(window.minimumSize().boundedTo(client));
  window.resize(client);
  window.move(fitted.left, fitted.top);
}

void ApplySettingsToWindow(QWidget& window, Session& session) {
  const Configuration& config = session.settings();
  if (const std::optional<ScreenRect> saved = SavedWindowRect(config, ScreenRects())) {
    // A window saved on a larger desktop (or at a smaller scale) comes back on this one.
    const ScreenRect rect = FitIntoScreens(*saved, AvailableScreenRects());
    window.resize(rect.width, rect.height);
    window.move(rect.left, rect.top);
  }
  // A click runs the item's own handler, which aligns the editor.
  if (QAbstractButton* item = Button(window, kAlignmentItems[std::clamp(config.TextAlign, 0, 2)]))
    item->click();
  if (QAbstractButton* box = Button(window, kInstantApplyBox)) box->setChecked(config.InstantApply);
  if (QAbstractButton* box = Button(window, kAutoFocusBox)) box->setChecked(config.AutoFocus);
  if (const std::optional<std::string> dir = RememberedDirectory(config)) {
    session.open_dialog().initial_dir = *dir;
  }
  if (QAbstractButton* box = Button(window, kFollowFilmBox)) box->setChecked(config.FollowFilm);
  if (auto* splitter = window.findChild<QSplitter*>(kFilmSplitter)) {
    splitter->setOrientation(config.FilmBeside ? Qt::Horizontal : Qt::Vertical);
  }
}

void TakeSettingsFromWindow(const QWidget& window, Session& session) {
  Configuration& config = session.settings();
  config.Window = {window.x(), window.y(), window.width(), window.height()};
  for (int i = 0; i < 3; ++i) {
    const QAbstractButton* item = Button(window, kAlignmentItems[i]);
    if (item != nullptr && item->isChecked()) config.TextAlign = i;
  }
  if (const QAbstractButton* box = Button(window, kInstantApplyBox))
    config.InstantApply = box->isChecked();
  if (const QAbstractButton* box = Button(window, kAutoFocusBox))
    config.AutoFocus = box->isChecked();
  config.LastDir = session.open_dialog().initial_dir;
  if (const QAbstractButton* box = Button(window, kFollowFilmBox))
    config.FollowFilm = box->isChecked();
  if (const auto* splitter = window.findChild<QSplitter*>(kFilmSplitter)) {
    config.FilmBeside = splitter->orientation() == Qt::Horizontal;
  }
}

}  // namespace lumetra
