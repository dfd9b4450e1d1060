#include "ui/waveform_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "media/film_peaks.h"
#include "media/peaks_cache.h"
#include "ui/peaks_loader.h"
#include "ui/waveform_strip.h"

namespace lumetra {

WaveformPanel::WaveformPanel(WindowCommands& commands, QAbstractItemModel* frames,
                             QWidget* parent)
    : QWidget(parent) {
  setObjectName("WaveformPanel");
  loader_ = new PeaksLoader(PeaksCacheDirectory(), this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(1);
  auto* line = new QHBoxLayout;
  line->setContentsMargins(2, 0, 2, 0);
  status_ = new QLabel(this);
  status_->setObjectName("WaveformStatus");
  cancel_ = new QPushButton(kCancelCaption, this);
  cancel_->setObjectName("WaveformCancel");
  cancel_->setFocusPolicy(Qt::NoFocus);
  cancel_->hide();
  line->addWidget(status_, 1);
  line->addWidget(cancel_);
  layout->addLayout(line);
  strip_ = new WaveformStrip(commands, frames, this);
  strip_->SetPeaks(&loader_->peaks());
  layout->addWidget(strip_, 1);
  scroll_ = new QScrollBar(Qt::Horizontal, this);
  scroll_->setObjectName("WaveformScroll");
  layout->addWidget(scroll_);

  connect(cancel_, &QPushButton::clicked, this, [this] {
    if (loader_->running()) {
      loader_->Cancel();
    } else if (!loader_->film().isEmpty()) {
      OpenFilm(loader_->film());
    }
  });
  connect(loader_, &PeaksLoader::durationKnown, this, [this](qint64 ms) {
    strip_->SetDuration(std::max(ms, player_duration_ms_));
  });
  connect(loader_, &PeaksLoader::peaksAdded, strip_, &WaveformStrip::PeaksGrew);
  connect(loader_, &PeaksLoader::progressChanged, this, &WaveformPanel::ShowProgress);
  connect(loader_, &PeaksLoader::finished, this, &WaveformPanel::Finished);
  connect(strip_, &WaveformStrip::seekRequested, this, &WaveformPanel::seekRequested);
  connect(strip_, &WaveformStrip::viewChanged, this, &WaveformPanel::SyncScrollBar);
  connect(scroll_, &QScrollBar::valueChanged, strip_,
          [this](int value) { strip_->SetViewStart(value); });
  hide();
}

WaveformPanel::~WaveformPanel() = default;

void WaveformPanel::OpenFilm(const QString& path) {
  show();
  strip_->SetDuration(player_duration_ms_);
  loader_->Load(path);
  status_->show();
  cancel_->setText(kCancelCaption);
  cancel_->show();
}

void WaveformPanel::CloseFilm() {
  loader_->Clear();
  player_duration_ms_ = 0;
  strip_->SetDuration(0);
  cancel_->hide();
  status_->clear();
  hide();
}

bool WaveformPanel::HasFilm() const { return !loader_->film().isEmpty(); }

void WaveformPanel::SetPosition(qint64 ms) { strip_->SetPosition(ms); }

void WaveformPanel::SetPlaying(bool playing) { strip_->SetPlaying(playing); }

void WaveformPanel::SetDuration(qint64 ms) {
  player_duration_ms_ = ms;
  strip_->SetDuration(std::max(ms, loader_->duration_ms()));
}

void WaveformPanel::ShowProgress(int percent) {
  if (!loader_->running()) return;
  status_->setText(QString::fromLatin1(kReadingSound) + QString::number(percent) + " %");
}

void WaveformPanel::Finished(bool complete, const QString& message) {
  if (complete) {
    // Nothing left to tell: the line makes room for the waveform.
    status_->clear();
    status_->hide();
    cancel_->hide();
    return;
  }
  status_->setText(message);
  // A cancelled or failed reading can be started again; a film without sound cannot.
  cancel_->setText(kReadAgainCaption);
  cancel_->setVisible(message != kFilmHasNoSound);
}

void WaveformPanel::SyncScrollBar() {
  const qint64 visible = strip_->VisibleMs();
  const qint64 last = std::max<qint64>(0, strip_->TimelineMs() - visible);
  const QSignalBlocker block(scroll_);
  scroll_->setRange(0, static_cast<int>(std::min<qint64>(last, INT32_MAX)));
  scroll_->setPageStep(static_cast<int>(std::clamp<qint64>(visible, 1, INT32_MAX)));
  scroll_->setSingleStep(static_cast<int>(std::clamp<qint64>(visible / 10, 1, INT32_MAX)));
  scroll_->setValue(static_cast<int>(std::min<qint64>(strip_->viewStart(), INT32_MAX)));
}

}  // namespace lumetra
