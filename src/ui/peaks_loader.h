// Builds a film's peaks off the ui thread: the cache or the decoder runs in a thread of
// its own, and the buckets arrive here in pieces (the first ones at once), so the waveform
// grows while the window stays usable. Cancel stops the work between two packets. A film
// whose reading hangs (a stalled network drive) never holds up closing the window.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <filesystem>
#include <memory>
#include <vector>

#include "media/audio_peaks.h"
#include "media/film_peaks.h"

namespace lumetra {

class PeaksLoader : public QObject {
  Q_OBJECT

 public:
  // `cache_directory` holds the peaks cache (empty: no cache).
  explicit PeaksLoader(std::filesystem::path cache_directory, QObject* parent = nullptr);
  // Cancels what still runs and waits for it a moment (kFarewellWait), no longer.
  ~PeaksLoader() override;

  // Forgets the peaks so far and starts on `film`; a job still running is cancelled.
  void Load(QString film);
  void Cancel();
  // Forgets the peaks and the film.
  void Clear();

  bool running() const { return running_; }
  const QString& film() const { return film_; }
  const PeakPyramid& peaks() const { return peaks_; }
  // The film's stated length (0: unknown yet).
  qint64 duration_ms() const { return duration_ms_; }
  // How much of the sound is there, 0..100.
  int percent() const { return percent_; }

 signals:
  void durationKnown(qint64 duration_ms);
  void peaksAdded();
  void progressChanged(int percent);
  // The job ended: complete (from the cache or decoded), or with the panel's message.
  void finished(bool complete, const QString& message);

 private:
  friend class PostingReceiver;
  void Added(int job, std::vector<Peak> peaks);
  void Started(int job, qint64 duration_ms);
  void Ended(int job, const FilmPeaksResult& result);

  // What the loader and its working threads share; it outlives both.
  struct Link;

  std::filesystem::path cache_directory_;
  std::shared_ptr<Link> link_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  int job_ = 0;
  bool running_ = false;
  QString film_;
  PeakPyramid peaks_;
  qint64 duration_ms_ = 0;
  int percent_ = 0;
};

}  // namespace lumetra
