// The film player in the window: owns the Player (libmpv, or a test's fake), runs its
// events on the ui thread, and tells what happens as Qt signals. The film panel, the
// "Timing" tab and whatever else follows the film (a waveform) listen here and command
// the player through player() or transport().
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "media/film_transport.h"
#include "media/player.h"

class QWidget;

namespace lumetra {

class MpvPlayer;

class FilmPlayer : public QObject, private PlayerObserver {
  Q_OBJECT

 public:
  // Over libmpv (which starts with the first film).
  explicit FilmPlayer(QObject* parent = nullptr);
  // Over another player (a test's fake); its picture is a black area.
  FilmPlayer(std::unique_ptr<Player> player, QObject* parent = nullptr);
  ~FilmPlayer() override;

  Player& player() { return *player_; }
  const Player& player() const { return *player_; }
  FilmTransport& transport() { return transport_; }
  // A film is open (paused or playing).
  bool HasFilm() const { return transport_.HasFilm(); }

  // The picture of the film: OpenGL where the platform has it, else drawn in software.
  // Only one at a time.
  QWidget* CreateView(QWidget* parent);

 signals:
  void filmOpened();
  void filmFailed(const QString& reason);
  void filmClosed();
  void positionChanged(qint64 position_ms);
  void stateChanged();

 private:
  void FilmOpened() override { emit filmOpened(); }
  void FilmFailed(const std::string& reason) override {
    emit filmFailed(QString::fromStdString(reason));
  }
  void FilmClosed() override { emit filmClosed(); }
  void PositionChanged(std::int64_t position_ms) override { emit positionChanged(position_ms); }
  void StateChanged() override { emit stateChanged(); }

  std::unique_ptr<Player> player_;
  MpvPlayer* mpv_ = nullptr;  // player_, when it is libmpv
  FilmTransport transport_;
};

}  // namespace lumetra
