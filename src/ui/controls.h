// Small builders for the controls of the windows: a push button, a label and a group box with
// their control name (objectName), caption and hint.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
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

inline QGroupBox* MakeGroupBox(const char* caption, const char* name, QWidget* parent) {
  auto* group = new QGroupBox(QString::fromLatin1(caption), parent);
  group->setObjectName(QString::fromLatin1(name));
  return group;
}

}  // namespace lumetra
