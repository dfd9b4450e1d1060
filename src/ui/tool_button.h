// A flat tool button of the main window's top panels. Besides the usual click it reports
// a press of the right mouse button (the history menu and the quick save).
#pragma once

#include <QToolButton>

namespace lumetra {

class ToolButton : public QToolButton {
  Q_OBJECT

 public:
  using QToolButton::QToolButton;

 signals:
  void rightPressed(const QPoint& global_pos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// Glyphs of the tool buttons, drawn here rather than loaded from files.
enum class Glyph {
  kOpen,
  kSave,
  kNew,
  kMiniMode,
  kBackward,
  kForward,
  kMerge,
  kSettings,
  kAbout,
  kInfo,
  kFilm,
  kChecks,
  kSpellCheck,
  kFindReplace,
};
QIcon GlyphIcon(Glyph glyph);

}  // namespace lumetra
