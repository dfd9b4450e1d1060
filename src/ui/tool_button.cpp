#include "ui/tool_button.h"

#include <QIcon>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lumetra {

void ToolButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    if (isEnabled()) emit rightPressed(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QToolButton::mousePressEvent(event);
}

namespace {

void DrawArrow(QPainter& p, bool forward) {
  const int dir = forward ? 1 : -1;
  const int cx = 12;
  QPolygon head;
  head << QPoint(cx + dir * 8, 12) << QPoint(cx, 5) << QPoint(cx, 19);
  p.setBrush(QColor(0x20, 0x60, 0xB0));
  p.setPen(Qt::NoPen);
  p.drawPolygon(head);
  p.fillRect(forward ? QRect(3, 9, 9, 6) : QRect(12, 9, 9, 6), QColor(0x20, 0x60, 0xB0));
}

}  // namespace

QIcon GlyphIcon(Glyph glyph) {
  QPixmap pixmap(24, 24);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor ink(0x30, 0x30, 0x30);
  switch (glyph) {
    case Glyph::kOpen: {
      p.setPen(QPen(ink, 1));
      p.setBrush(QColor(0xF0, 0xC8, 0x50));
      p.drawRect(3, 8, 17, 12);
      p.drawRect(3, 5, 7, 3);
      p.setBrush(QColor(0xF8, 0xDC, 0x80));
      QPolygon flap;
      flap << QPoint(6, 11) << QPoint(22, 11) << QPoint(19, 20) << QPoint(3, 20);
      p.drawPolygon(flap);
      break;
    }
    case Glyph::kSave: {
      p.setPen(QPen(ink, 1));
      p.setBrush(QColor(0x40, 0x60, 0xA0));
      p.drawRect(3, 3, 18, 18);
      p.setBrush(Qt::white);
      p.drawRect(6, 3, 12, 7);
      p.setBrush(QColor(0xC0, 0xC0, 0xC0));
      p.drawRect(7, 14, 10, 7);
      break;
    }
    case Glyph::kNew: {
      p.setPen(QPen(ink, 1));
      p.setBrush(Qt::white);
      QPolygon page;
      page << QPoint(5, 2) << QPoint(14, 2) << QPoint(19, 7) << QPoint(19, 22) << QPoint(5, 22);
      p.drawPolygon(page);
      p.drawLine(14, 2, 14, 7);
      p.drawLine(14, 7, 19, 7);
      p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
      for (int y = 11; y <= 18; y += 3) p.drawLine(8, y, 16, y);
      break;
    }
    case Glyph::kMiniMode: {
      p.setPen(QPen(ink, 1));
      p.setBrush(QColor(0xE0, 0xE8, 0xF0));
      p.drawRect(2, 4, 20, 14);
      p.setBrush(QColor(0x20, 0x60, 0xB0));
      p.drawRect(2, 15, 20, 5);
      break;
    }
    case Glyph::kFilm: {
      // A strip of film with a play mark.
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x30, 0x30, 0x30));
      p.drawRect(2, 3, 20, 18);
      p.setBrush(Qt::white);
      for (int x = 4; x <= 18; x += 4) {
        p.drawRect(x, 5, 2, 2);
        p.drawRect(x, 17, 2, 2);
      }
      QPolygon mark;
      mark << QPoint(9, 8) << QPoint(16, 12) << QPoint(9, 16);
      p.setBrush(QColor(0xF0, 0xC8, 0x50));
      p.drawPolygon(mark);
      break;
    }
    case Glyph::kBackward:
      DrawArrow(p, false);
      break;
    case Glyph::kForward:
      DrawArrow(p, true);
      break;
    case Glyph::kMerge: {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x30, 0x90, 0x30));
      p.drawRect(3, 4, 7, 5);
      p.drawRect(14, 4, 7, 5);
      p.drawRect(3, 16, 18, 5);
      p.setPen(QPen(QColor(0x30, 0x90, 0x30), 2));
      p.drawLine(6, 9, 11, 15);
      p.drawLine(18, 9, 13, 15);
      break;
    }
    case Glyph::kSettings: {
      p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
      for (int a = 0; a < 8; ++a) {
        p.save();
        p.translate(12, 12);
        p.rotate(45.0 * a);
        p.drawLine(0, 6, 0, 9);
        p.restore();
      }
      p.setPen(QPen(ink, 2));
      p.setBrush(QColor(0xC8, 0xC8, 0xC8));
      p.drawEllipse(QPoint(12, 12), 6, 6);
      p.setBrush(Qt::white);
      p.drawEllipse(QPoint(12, 12), 2, 2);
      break;
    }
    case Glyph::kChecks: {
      // A list with a tick and a warning mark.
      p.setPen(QPen(ink, 1));
      p.setBrush(Qt::white);
      p.drawRect(3, 2, 15, 19);
      p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
      for (int y = 6; y <= 16; y += 5) p.drawLine(9, y, 16, y);
      p.setPen(QPen(QColor(0x30, 0x90, 0x30), 2));
      p.drawLine(5, 6, 6, 8);
      p.drawLine(6, 8, 8, 4);
      QPolygon warning;
      warning << QPoint(16, 12) << QPoint(23, 23) << QPoint(9, 23);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0xFF, 0x8C, 0x00));
      p.drawPolygon(warning);
      p.setPen(QPen(Qt::white, 2));
      p.drawLine(16, 16, 16, 19);
      p.drawPoint(16, 21);
      break;
    }
    case Glyph::kSpellCheck: {
      // "abc" over a wavy red line, and a tick.
      QFont font;
      font.setBold(true);
      font.setPixelSize(11);
      p.setFont(font);
      p.setPen(ink);
      p.drawText(QRect(0, 1, 24, 13), Qt::AlignCenter, "abc");
      QPainterPath wave;
      wave.moveTo(2, 16);
      for (int x = 2; x < 14; x += 4) {
        wave.quadTo(x + 1, 13, x + 2, 16);
        wave.quadTo(x + 3, 19, x + 4, 16);
      }
      p.setPen(QPen(QColor(0xE0, 0x20, 0x20), 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawPath(wave);
      p.setPen(QPen(QColor(0x30, 0x90, 0x30), 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(15, 18, 18, 21);
      p.drawLine(18, 21, 23, 12);
      break;
    }
    case Glyph::kFindReplace: {
      // A magnifying glass over a two-way arrow.
      p.setPen(QPen(ink, 2));
      p.setBrush(QColor(0xD8, 0xE8, 0xF8));
      p.drawEllipse(QPoint(9, 8), 6, 6);
      p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(13, 12, 17, 16);
      p.setPen(QPen(QColor(0x20, 0x60, 0xB0), 2));
      p.drawLine(4, 20, 21, 20);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x20, 0x60, 0xB0));
      QPolygon left, right;
      left << QPoint(2, 20) << QPoint(7, 16) << QPoint(7, 24);
      right << QPoint(23, 20) << QPoint(18, 16) << QPoint(18, 24);
      p.drawPolygon(left);
      p.drawPolygon(right);
      break;
    }
    case Glyph::kAbout:
    case Glyph::kInfo: {
      p.setPen(Qt::NoPen);
      p.setBrush(glyph == Glyph::kAbout ? QColor(0x20, 0x60, 0xB0) : QColor(0x30, 0x90, 0x30));
      if (glyph == Glyph::kAbout) {
        p.drawEllipse(QPoint(12, 12), 10, 10);
      } else {
        p.drawRoundedRect(2, 2, 20, 20, 3, 3);
      }
      QFont font;
      font.setBold(true);
      font.setPixelSize(16);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRect(0, 0, 24, 24), Qt::AlignCenter, glyph == Glyph::kAbout ? "?" : "i");
      break;
    }
  }
  p.end();
  return QIcon(pixmap);
}

}  // namespace lumetra
