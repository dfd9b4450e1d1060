#include "ui/film_player.h"

#include <QMetaObject>
#include <QPalette>
#include <QWidget>

#include "media/mpv_player.h"
#include "ui/film_view.h"

namespace lumetra {

FilmPlayer::FilmPlayer(QObject* parent) : FilmPlayer(std::make_unique<MpvPlayer>(), parent) {}

FilmPlayer::FilmPlayer(std::unique_ptr<Player> player, QObject* parent)
    : QObject(parent), player_(std::move(player)), transport_(*player_) {
  mpv_ = dynamic_cast<MpvPlayer*>(player_.get());
  if (mpv_ != nullptr) {
    // libmpv wakes us from its own threads; its events are taken on the ui thread.
    mpv_->SetWakeup([this] {
      QMetaObject::invokeMethod(
          this, [this] { mpv_->ProcessEvents(); }, Qt::QueuedConnection);
    });
  }
  player_->AddObserver(this);
}

FilmPlayer::~FilmPlayer() { player_->RemoveObserver(this); }

QWidget* FilmPlayer::CreateView(QWidget* parent) {
  if (mpv_ != nullptr) return CreateFilmView(*mpv_, parent);
  auto* black = new QWidget(parent);
  black->setAutoFillBackground(true);
  QPalette palette = black->palette();
  palette.setColor(QPalette::Window, Qt::black);
  black->setPalette(palette);
  return black;
}

}  // namespace lumetra
