// Small builders for the controls of the windows: a push button, a label and a group box with
// their control name (objectName), caption and hint.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>
#include <string>

#include "ui/hints.h"

namespace lumetra {

inline QPushButton* MakeButton(const char* caption, const char* name, const std::string& hint,
                               QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  if (!hint.empty()) SetHint(button, hint);
  return button;
}

inline QLabel* MakeLabel(const char* caption, const char* name, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(caption), parent);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

inline void SetBold(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

// The text editor and the time boxes: light orange on black.
inline QPalette EditorPalette(QPalette palette) {
  palette.setColor(QPalette::Base, QColor(0x00, 0x00, 0x00));
  palette.setColor(QPalette::Text, QColor(0xFF, 0xC9, 0x93));
  return palette;
}

// A control of the command column's groups: one compact row high, and a button only as wide
// as its caption needs (the style's usual least width of a button would widen the column).
inline void MakeCompact(QWidget* control) {
  control->setFixedHeight(qobject_cast<QCheckBox*>(control) != nullptr ? 18 : 21);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance(button->text()) + 12);
  }
}

// A box of frame-text lines, one per line of the frame: bold, in the editor's colours,
// centred, without word wrap.
inline QPlainTextEdit* MakeFrameTextBox(const char* name, int pixel_size, QWidget* parent) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab and Shift+Tab move through the window; a frame text holds no tab character.
  box->setTabChangesFocus(true);
  QFont font = box->font();
  font.setBold(true);
  font.setPixelSize(pixel_size);
  box->setFont(font);
  box->setPalette(EditorPalette(box->palette()));
  QTextOption centred = box->document()->defaultTextOption();
  centred.setAlignment(Qt::AlignHCenter);
  box->document()->setDefaultTextOption(centred);
  return box;
}

// A one-line box, centred: its control name, the unit shown above it (if any), its first
// text, the most characters typed, its width and its hint.
struct BoxSpec {
  const char* name;
  const char* unit;
  const char* text;
  int max_length;
  int width;
  const char* hint;
};
inline QLineEdit* MakeBox(const BoxSpec& look, QWidget* parent) {
  auto* box = new QLineEdit(QString::fromLatin1(look.text), parent);
  box->setObjectName(QString::fromLatin1(look.name));
  box->setMaxLength(look.max_length);
  box->setFixedWidth(look.width);
  box->setAlignment(Qt::AlignCenter);
  if (look.hint[0] != '\0') SetHint(box, look.hint);
  return box;
}

inline QGroupBox* MakeGroupBox(const char* caption, const char* name, QWidget* parent) {
  auto* group = new QGroupBox(QString::fromLatin1(caption), parent);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

}  // namespace lumetra
