// The column of command groups beside the frame list. When the window is too short for all
// of them it scrolls, and it is as wide as its groups (and their scroll bar) need.
#pragma once

#include <QScrollArea>

namespace lumetra {

class CommandColumn : public QScrollArea {
  Q_OBJECT

 public:
  // `groups` holds the groups in a layout; it is at least `least_width` wide.
  CommandColumn(QWidget* groups, int least_width, QWidget* parent = nullptr);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void FitWidth();
};

}  // namespace lumetra
