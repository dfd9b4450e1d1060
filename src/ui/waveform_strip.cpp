#include "ui/waveform_strip.h"

#include <QAbstractItemModel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "document/document.h"
#include "media/audio_peaks.h"
#include "session/session.h"
#include "ui/look.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

const QColor kBackground(16, 22, 28);
const QColor kNotYetRead(34, 40, 48);
const QColor kRulerBackground(40, 46, 54);
const QColor kRulerText(200, 206, 212);
const QColor kCentreLine(60, 70, 80);
const QColor kWave(90, 200, 160);
const QColor kBox(255, 255, 255, 38);
const QColor kSelectedBox(110, 160, 255, 60);
const QColor kFocusedBox(255, 201, 147, 70);
const QColor kEdge(255, 255, 255, 120);
const QColor kFocusedEdge(255, 201, 147);
const QColor kPosition(255, 70, 70);

// A move of fewer pixels than this is a click, not a drag.
constexpr int kDragThreshold = 3;
// The widest an edge's grip is, in pixels on each side of it.
constexpr int kEdgeGrip = 5;
// The height of the mark of frames too narrow to show as boxes.
constexpr int kNarrowMarkHeight = 8;
// The ruler's labels stand at least this many pixels apart.
constexpr int kLabelSpacing = 80;

QString RulerLabel(qint64 ms, qint64 step) {
  const qint64 h = ms / 3600000, m = ms / 60000 % 60, s = ms / 1000 % 60;
  QString text = QString::asprintf("%lld:%02lld:%02lld", h, m, s);
  if (step < 100) {
    text += QString::asprintf(".%02lld", ms % 1000 / 10);
  } else if (step < 1000) {
    text += QString::asprintf(".%lld", ms % 1000 / 100);
  }
  return text;
}

qint64 RulerStep(double ms_per_pixel) {
  static const qint64 kSteps[] = {10,     20,     50,     100,    200,     500,    1000,
                                  2000,   5000,   10000,  15000,  30000,   60000,  120000,
                                  300000, 600000, 900000, 1800000, 3600000};
  for (qint64 step : kSteps) {
    if (step / ms_per_pixel >= kLabelSpacing) return step;
  }
  return 7200000;
}

}  // namespace

WaveformStrip::WaveformStrip(WindowCommands& commands, QAbstractItemModel* frames, QWidget* parent)
    : QWidget(parent), commands_(commands) {
  setObjectName("WaveformStrip");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setToolTip(
      "Click: go to that time in the film. Drag a frame's edge: its start or end;\n"
      "drag its middle: the whole frame. Double click: the frame in the list.\n"
      "Wheel: zoom; Shift+wheel: scroll.");
  auto repaint = [this] { Refresh(); };
  connect(frames, &QAbstractItemModel::dataChanged, this, repaint);
  connect(frames, &QAbstractItemModel::rowsInserted, this, repaint);
  connect(frames, &QAbstractItemModel::rowsRemoved, this, repaint);
  connect(frames, &QAbstractItemModel::modelReset, this, [this] {
    drag_.reset();
    Refresh();
  });
}

void WaveformStrip::SetPeaks(const PeakPyramid* peaks) {
  peaks_ = peaks;
  Refresh();
}

void WaveformStrip::SetDuration(qint64 duration_ms) {
  duration_ms_ = std::max<qint64>(duration_ms, 0);
  Reclamp();
}

void WaveformStrip::PeaksGrew() {
  // Buckets past the film's stated length widen the timeline.
  if (peaks_ != nullptr && peaks_->covered_ms() > duration_ms_) Reclamp();
  Refresh();
}

void WaveformStrip::SetPosition(qint64 ms) {
  const qint64 before = position_ms_;
  position_ms_ = ms;
  const qint64 visible = VisibleMs();
  const bool out_of_view = ms < view_start_ms_ || ms > view_start_ms_ + visible * 19 / 20;
  if (out_of_view && !drag_ && (playing_ || ms != before)) {
    SetViewStart(ms - visible / 10);
  }
  // Only where the line was and where it is now.
  update(XOfTime(before) - 2, 0, 4, height());
  update(XOfTime(ms) - 2, 0, 4, height());
}

void WaveformStrip::SetPlaying(bool playing) { playing_ = playing; }

void WaveformStrip::ShowFrame(int frame) {
  const Document& doc = commands_.session().document();
  if (frame < 1 || frame > doc.FrameCount) return;
  const qint64 first = std::min(doc.FrameStart[frame], doc.FrameEnd[frame]);
  const qint64 last = std::max(doc.FrameStart[frame], doc.FrameEnd[frame]);
  const qint64 visible = VisibleMs();
  if (first >= view_start_ms_ && last <= view_start_ms_ + visible) return;
  if (last - first > visible * 8 / 10) {
    SetViewStart(first - visible / 10);
  } else {
    SetViewStart((first + last) / 2 - visible / 2);
  }
}

void WaveformStrip::SetView(qint64 start_ms, double ms_per_pixel) {
  const qint64 timeline = TimelineMs();
  const double coarsest =
      std::max(kFinestMsPerPixel, static_cast<double>(timeline) / std::max(width(), 1));
  zoom_ = std::max(ms_per_pixel, kFinestMsPerPixel);
  ms_per_pixel_ = std::min(zoom_, coarsest);
  const qint64 last_start = std::max<qint64>(0, timeline - VisibleMs());
  view_start_ms_ = std::clamp<qint64>(start_ms, 0, last_start);
  emit viewChanged();
  Refresh();
}

qint64 WaveformStrip::TimelineMs() const {
  qint64 timeline = duration_ms_;
  if (peaks_ != nullptr) timeline = std::max<qint64>(timeline, peaks_->covered_ms());
  const Document& doc = commands_.session().document();
  for (int i = 1; i <= doc.FrameCount; ++i) {
    timeline = std::max<qint64>(timeline, std::max(doc.FrameStart[i], doc.FrameEnd[i]));
  }
  return timeline;
}

qint64 WaveformStrip::VisibleMs() const { return std::llround(width() * ms_per_pixel_); }

int WaveformStrip::XOfTime(qint64 ms) const {
  const double x = static_cast<double>(ms - view_start_ms_) / ms_per_pixel_;
  return static_cast<int>(std::lround(std::clamp(x, -1e6, 1e6)));
}

qint64 WaveformStrip::TimeAtX(double x) const {
  return view_start_ms_ + std::llround(x * ms_per_pixel_);
}

void WaveformStrip::Refresh() {
  picture_valid_ = false;
  update();
}

void WaveformStrip::paintEvent(QPaintEvent*) {
  // Everything but the position line is drawn once into a picture, which a playing film
  // only moves the line over.
  const qreal ratio = devicePixelRatioF();
  const QSize device_size = (QSizeF(size()) * ratio).toSize();
  if (!picture_valid_ || picture_.size() != device_size) {
    picture_ = QImage(device_size, QImage::Format_ARGB32_Premultiplied);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(kBackground);
    const QRect ruler(0, 0, width(), kRulerHeight);
    const QRect wave(0, kRulerHeight, width(), height() - kRulerHeight);
    PaintWave(picture_, wave);
    QPainter painter(&picture_);
    PaintRuler(painter, ruler);
    PaintFrames(painter, wave);
    picture_valid_ = true;
  }
  QPainter painter(this);
  painter.drawImage(0, 0, picture_);
  const int x = XOfTime(position_ms_);
  if (x >= -1 && x <= width()) {
    painter.fillRect(QRect(x - 1, 0, 2, height()), kPosition);
  }
}

void WaveformStrip::PaintRuler(QPainter& painter, const QRect& area) const {
  painter.fillRect(area, kRulerBackground);
  const qint64 step = RulerStep(ms_per_pixel_);
  const qint64 minor = step % 5 == 0 ? step / 5 : step / 2;
  const qint64 end = TimeAtX(area.right() + 1);
  painter.setPen(kRulerText);
  painter.setFont(SansFont(10));
  std::vector<QLine> ticks;
  for (qint64 t = view_start_ms_ / minor * minor; t <= end; t += minor) {
    const int x = XOfTime(t);
    const bool major = t % step == 0;
    ticks.emplace_back(x, area.bottom(), x, area.bottom() - (major ? 6 : 3));
    if (major) {
      painter.drawText(QRect(x + 3, area.top(), kLabelSpacing, area.height() - 2),
                       Qt::AlignLeft | Qt::AlignVCenter, RulerLabel(t, step));
    }
  }
  painter.drawLines(ticks.data(), static_cast<int>(ticks.size()));
}

void WaveformStrip::PaintWave(QImage& image, const QRect& area) const {
  // Written pixel by pixel: a column per pixel is far more than a painter wants to fill.
  const qreal ratio = image.devicePixelRatio();
  const int top = static_cast<int>(area.top() * ratio);
  const int bottom = std::min(image.height(), static_cast<int>((area.bottom() + 1) * ratio)) - 1;
  if (bottom < top) return;
  const int mid = (top + bottom) / 2;
  const double half = (bottom - top) / 2.0;
  const qsizetype stride = image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  QRgb* pixels = reinterpret_cast<QRgb*>(image.bits());
  auto column = [&](int x, int from, int to, QRgb colour) {
    for (int y = std::max(from, top); y <= std::min(to, bottom); ++y) pixels[y * stride + x] = colour;
  };
  const qint64 covered = peaks_ != nullptr ? peaks_->covered_ms() : 0;
  const QRgb not_yet_read = kNotYetRead.rgba(), wave = kWave.rgba();
  for (int x = 0; x < image.width(); ++x) {
    const qint64 from = TimeAtX(x / ratio);
    const qint64 to = std::max(TimeAtX((x + 1) / ratio), from + 1);
    if (from >= covered) {
      // What is still being read shows as a lighter band up to the film's end.
      if (from < duration_ms_) column(x, top, bottom, not_yet_read);
      pixels[mid * stride + x] = kCentreLine.rgba();
      continue;
    }
    pixels[mid * stride + x] = kCentreLine.rgba();
    const Peak peak = peaks_->Range(from, to);
    const int high = mid - static_cast<int>(std::lround(peak.max * half / kPeakFullScale));
    const int low = mid - static_cast<int>(std::lround(peak.min * half / kPeakFullScale));
    column(x, high, std::max(high, low), wave);
  }
}

void WaveformStrip::PaintFrames(QPainter& painter, const QRect& area) const {
  const Document& doc = commands_.session().document();
  const Selection selection = commands_.CurrentSelection();
  const qint64 view_end = TimeAtX(area.right() + 1);
  const QFont number_font = SansFont(11, true);
  painter.setFont(number_font);
  const QFontMetrics metrics(number_font);
  // Boxes are gathered and drawn in a few calls: with the whole film in view, thousands of
  // frames fall on a few hundred pixels, and a frame narrower than a few pixels is one line.
  std::vector<QRect> boxes, selected_boxes;
  std::vector<QLine> edges;
  std::vector<std::pair<QRect, int>> numbers;
  // Columns with frames too narrow for a box: a mark along the top.
  std::vector<bool> narrow(static_cast<std::size_t>(area.width()) + 1, false);
  auto box_of = [&](FrameTimes times) -> std::optional<QRect> {
    const qint64 first = std::min(times.start, times.end);
    const qint64 last = std::max(times.start, times.end);
    if (last < view_start_ms_ || first > view_end) return std::nullopt;
    const int x0 = std::max(XOfTime(first), area.left() - 2);
    const int x1 = std::min(std::max(XOfTime(last), x0 + 1), area.right() + 2);
    return QRect(x0, area.top(), x1 - x0, area.height());
  };
  auto special = [&](int frame) {
    return frame == selection.focus || (drag_ && drag_->hit.frame == frame);
  };
  for (int i = 1; i <= doc.FrameCount; ++i) {
    if (special(i)) continue;
    const std::optional<QRect> box = box_of({doc.FrameStart[i], doc.FrameEnd[i]});
    if (!box) continue;
    const int x0 = box->left(), x1 = box->left() + box->width();
    if (x1 - x0 < 3) {
      for (int x = std::max(x0, 0); x <= std::min(x1, area.width()); ++x) {
        narrow[static_cast<std::size_t>(x)] = true;
      }
      continue;
    }
    (selection.Contains(i) ? selected_boxes : boxes).push_back(*box);
    edges.emplace_back(x0, area.top(), x0, area.bottom());
    edges.emplace_back(x1, area.top(), x1, area.bottom());
    if (x1 - x0 >= 16) numbers.emplace_back(*box, i);
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBox);
  painter.drawRects(boxes.data(), static_cast<int>(boxes.size()));
  painter.setBrush(kSelectedBox);
  painter.drawRects(selected_boxes.data(), static_cast<int>(selected_boxes.size()));
  painter.setBrush(kEdge);
  std::vector<QRect> marks;
  for (int x = 0; x <= area.width(); ++x) {
    if (!narrow[static_cast<std::size_t>(x)]) continue;
    int end = x;
    while (end + 1 <= area.width() && narrow[static_cast<std::size_t>(end + 1)]) ++end;
    marks.emplace_back(x, area.top(), end - x + 1, kNarrowMarkHeight);
    x = end;
  }
  painter.drawRects(marks.data(), static_cast<int>(marks.size()));
  painter.setBrush(Qt::NoBrush);
  painter.setPen(kEdge);
  painter.drawLines(edges.data(), static_cast<int>(edges.size()));
  painter.setPen(Qt::white);
  const int baseline = area.top() + 2 + metrics.ascent();
  for (const auto& [box, frame] : numbers) {
    const QString number = QString::number(frame);
    if (metrics.horizontalAdvance(number) + 6 <= box.width()) {
      painter.drawText(box.left() + 4, baseline, number);
    }
  }
  // The focused frame, and the frame being dragged where the mouse has it, over the rest.
  auto paint_single = [&](int frame, FrameTimes times) {
    const std::optional<QRect> box = box_of(times);
    if (!box) return;
    const bool focused = frame == selection.focus;
    const int x0 = box->left(), x1 = box->left() + box->width();
    painter.fillRect(*box, focused ? kFocusedBox : selection.Contains(frame) ? kSelectedBox : kBox);
    painter.setPen(QPen(focused ? kFocusedEdge : kEdge, focused ? 2 : 1));
    painter.drawLine(x0, area.top(), x0, area.bottom());
    painter.drawLine(x1, area.top(), x1, area.bottom());
    const QString number = QString::number(frame);
    if (metrics.horizontalAdvance(number) + 6 <= box->width()) {
      painter.setPen(focused ? kFocusedEdge : QColor(Qt::white));
      painter.drawText(x0 + 4, baseline, number);
    }
  };
  const int focus = selection.focus;
  if (focus >= 1 && focus <= doc.FrameCount && !(drag_ && drag_->hit.frame == focus)) {
    paint_single(focus, {doc.FrameStart[focus], doc.FrameEnd[focus]});
  }
  if (drag_ && drag_->hit.frame <= doc.FrameCount) paint_single(drag_->hit.frame, drag_->now);
}

std::optional<WaveformStrip::Hit> WaveformStrip::HitAt(int x) const {
  const Document& doc = commands_.session().document();
  const int focus = commands_.FocusedFrame();
  std::optional<Hit> best;
  int best_score = 0;
  for (int i = 1; i <= doc.FrameCount; ++i) {
    const int x0 = XOfTime(std::min(doc.FrameStart[i], doc.FrameEnd[i]));
    const int x1 = XOfTime(std::max(doc.FrameStart[i], doc.FrameEnd[i]));
    const int grip = std::clamp((x1 - x0) / 3, 2, kEdgeGrip);
    if (x < x0 - grip || x > x1 + grip) continue;
    Hit hit{i, DragHandle::kMiddle};
    int distance = 1000;
    if (std::abs(x - x0) <= grip && std::abs(x - x0) <= std::abs(x - x1)) {
      hit.handle = doc.FrameStart[i] <= doc.FrameEnd[i] ? DragHandle::kStart : DragHandle::kEnd;
      distance = std::abs(x - x0);
    } else if (std::abs(x - x1) <= grip) {
      hit.handle = doc.FrameStart[i] <= doc.FrameEnd[i] ? DragHandle::kEnd : DragHandle::kStart;
      distance = std::abs(x - x1);
    }
    // The focused frame wins; then the nearest edge, of the box the mouse is in.
    const bool inside = x >= x0 && x <= x1;
    const int score = (i == focus ? 0 : 10000) + distance * 2 + (inside ? 0 : 1);
    if (!best || score < best_score) {
      best = hit;
      best_score = score;
    }
  }
  return best;
}

void WaveformStrip::UpdateCursor(int x) {
  const std::optional<Hit> hit = HitAt(x);
  if (!hit) {
    unsetCursor();
  } else if (hit->handle == DragHandle::kMiddle) {
    setCursor(Qt::SizeAllCursor);
  } else {
    setCursor(Qt::SizeHorCursor);
  }
}

void WaveformStrip::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const int x = static_cast<int>(event->position().x());
  pressed_ = true;
  press_x_ = x;
  drag_.reset();
  if (event->position().y() < kRulerHeight) return;
  if (const std::optional<Hit> hit = HitAt(x)) {
    const Document& doc = commands_.session().document();
    const FrameTimes times{doc.FrameStart[hit->frame], doc.FrameEnd[hit->frame]};
    drag_ = Drag{*hit, times, times, x, false};
  }
}

void WaveformStrip::mouseMoveEvent(QMouseEvent* event) {
  const int x = static_cast<int>(event->position().x());
  if (!pressed_) {
    UpdateCursor(x);
    return;
  }
  if (!drag_) return;
  if (std::abs(x - drag_->press_x) >= kDragThreshold) drag_->moved = true;
  if (drag_->moved) {
    const std::int64_t delta = std::llround((x - drag_->press_x) * ms_per_pixel_);
    drag_->now = DraggedTimes(drag_->original.start, drag_->original.end, drag_->hit.handle, delta);
    Refresh();
  }
}

void WaveformStrip::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  const std::optional<Drag> drag = drag_;
  drag_.reset();
  if (drag && drag->moved) {
    if (drag->now != drag->original) {
      const int frame = drag->hit.frame;
      const FrameTimes times = drag->now;
      commands_.Run(
          kDragCommand,
          [frame, times](Document& doc, const Selection& s) {
            return DragFrame(doc, s, frame, times);
          },
          false);
    }
    Refresh();
    return;
  }
  emit seekRequested(std::max<qint64>(0, TimeAtX(event->position().x())));
}

void WaveformStrip::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const std::optional<Hit> hit = HitAt(static_cast<int>(event->position().x()));
  if (!hit) return;
  const int frame = hit->frame;
  commands_.Select([frame](const Document&, const Selection& s) {
    return Selection{{frame}, frame, s.top};
  });
}

void WaveformStrip::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  const bool horizontal = angle.y() == 0 && angle.x() != 0;
  const double steps = (horizontal ? angle.x() : angle.y()) / 120.0;
  if (steps == 0) return;
  if (horizontal || (event->modifiers() & Qt::ShiftModifier)) {
    SetViewStart(view_start_ms_ - std::llround(steps * VisibleMs() / 8.0));
  } else {
    const double x = event->position().x();
    const qint64 at = TimeAtX(x);
    const double zoomed = ms_per_pixel_ * std::pow(0.8, steps);
    const double coarsest =
        std::max(kFinestMsPerPixel, static_cast<double>(TimelineMs()) / std::max(width(), 1));
    const double clamped = std::clamp(zoomed, kFinestMsPerPixel, coarsest);
    SetView(at - std::llround(x * clamped), clamped);
  }
  event->accept();
}

void WaveformStrip::resizeEvent(QResizeEvent*) { Reclamp(); }

}  // namespace lumetra
