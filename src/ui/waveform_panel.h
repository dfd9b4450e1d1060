// The waveform's panel: a line that tells how far the film's sound has been read (with
// Cancel), the waveform strip and a scroll bar for it. It stays hidden until a film is
// opened; the film player feeds it the position and takes its seeks.
#pragma once

#include <QString>
#include <QWidget>

class QAbstractItemModel;
class QLabel;
class QPushButton;
class QScrollBar;

namespace lumetra {

class PeaksLoader;
class WaveformStrip;
class WindowCommands;

inline constexpr char kReadingSound[] = "Reading the film's sound: ";
inline constexpr char kCancelCaption[] = "Cancel";
inline constexpr char kReadAgainCaption[] = "Read again";

class WaveformPanel : public QWidget {
  Q_OBJECT

 public:
  // The peaks cache is the user's ($XDG_CACHE_HOME/lumetra/peaks).
  WaveformPanel(WindowCommands& commands, QAbstractItemModel* frames, QWidget* parent = nullptr);
  ~WaveformPanel() override;

  // Shows the panel and starts reading the sound of the film at `path`.
  void OpenFilm(const QString& path);
  // No film: the panel hides and forgets the peaks.
  void CloseFilm();
  // A film is open (its sound read, being read, or failed to read).
  bool HasFilm() const;

  void SetPosition(qint64 ms);
  void SetPlaying(bool playing);
  // The film's length as the player knows it (the strip uses the longer of it and the
  // sound's).
  void SetDuration(qint64 ms);

  WaveformStrip* strip() const { return strip_; }
  PeaksLoader* loader() const { return loader_; }

 signals:
  void seekRequested(qint64 ms);

 private:
  void ShowProgress(int percent);
  void Finished(bool complete, const QString& message);
  void SyncScrollBar();

  PeaksLoader* loader_ = nullptr;
  WaveformStrip* strip_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  qint64 player_duration_ms_ = 0;
};

}  // namespace lumetra
