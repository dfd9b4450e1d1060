// The waveform strip: a time ruler, the film's sound as a waveform, every frame as a
// shaded box with its number, the focused frame highlighted and the film's position as a
// line. A click seeks the film; dragging a box's edge moves the frame's start or end,
// dragging its middle moves the frame (one "Drag" step each); a double click focuses the
// frame in the list. The wheel zooms around the mouse, Shift+wheel scrolls.
#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

#include "editing/frame_drag.h"

class QAbstractItemModel;

namespace lumetra {

class PeakPyramid;
class WindowCommands;

class WaveformStrip : public QWidget {
  Q_OBJECT

 public:
  // The ruler's height; the waveform and the boxes fill the rest.
  static constexpr int kRulerHeight = 16;
  // The finest and the default zoom, in milliseconds a pixel.
  static constexpr double kFinestMsPerPixel = 1.0;
  static constexpr double kDefaultMsPerPixel = 10.0;

  // Shows the frames of the commands' document; `frames` is the frame list's model, whose
  // changes repaint the strip.
  WaveformStrip(WindowCommands& commands, QAbstractItemModel* frames, QWidget* parent = nullptr);

  // The peaks to draw (not owned; null: none) and the film's length.
  void SetPeaks(const PeakPyramid* peaks);
  void SetDuration(qint64 duration_ms);
  // New buckets arrived.
  void PeaksGrew();

  // The film's position, and whether it plays: while it plays the view follows it, and a
  // jump (a seek) out of view brings the view along too.
  void SetPosition(qint64 ms);
  void SetPlaying(bool playing);
  qint64 position() const { return position_ms_; }

  // Draws everything anew (the frames, the selection or the peaks changed).
  void Refresh();

  // Brings frame `frame` into view (nothing when it is in view already).
  void ShowFrame(int frame);

  // The view: the time at the left edge and the zoom.
  qint64 viewStart() const { return view_start_ms_; }
  double msPerPixel() const { return ms_per_pixel_; }
  // The zoom asked for is kept: a timeline too short for it shows whole until it grows.
  void SetView(qint64 start_ms, double ms_per_pixel);
  void SetViewStart(qint64 start_ms) { SetView(start_ms, ms_per_pixel_); }
  // How long the timeline is: the film, or the last frame when that ends later.
  qint64 TimelineMs() const;
  qint64 VisibleMs() const;

  int XOfTime(qint64 ms) const;
  qint64 TimeAtX(double x) const;

  QSize sizeHint() const override { return {600, 110}; }
  QSize minimumSizeHint() const override { return {100, 60}; }

 signals:
  void seekRequested(qint64 ms);
  void viewChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  struct Hit {
    int frame = 0;
    DragHandle handle = DragHandle::kMiddle;
  };
  struct Drag {
    Hit hit;
    FrameTimes original;
    FrameTimes now;
    int press_x = 0;
    bool moved = false;
  };

  // The frame box (and its part) under x, the focused frame first.
  std::optional<Hit> HitAt(int x) const;
  void PaintRuler(class QPainter& painter, const QRect& area) const;
  void PaintWave(QImage& image, const QRect& area) const;
  void PaintFrames(QPainter& painter, const QRect& area) const;
  void UpdateCursor(int x);
  // Brings the view into the timeline again at the zoom asked for.
  void Reclamp() { SetView(view_start_ms_, zoom_); }

  WindowCommands& commands_;
  const PeakPyramid* peaks_ = nullptr;
  qint64 duration_ms_ = 0;
  qint64 position_ms_ = 0;
  bool playing_ = false;
  qint64 view_start_ms_ = 0;
  double ms_per_pixel_ = kDefaultMsPerPixel;
  double zoom_ = kDefaultMsPerPixel;
  std::optional<Drag> drag_;
  QImage picture_;
  bool picture_valid_ = false;
  bool pressed_ = false;
  int press_x_ = 0;
};

}  // namespace lumetra
