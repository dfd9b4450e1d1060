// The eight time boxes of the focused frame, with their small captions, and the "-" and "+"
// step buttons between the start and the end boxes (a right-button press steps tenfold).
#pragma once

#include <QWidget>
#include <array>

#include "editing/time_boxes.h"

class QLineEdit;
class QPushButton;

namespace lumetra {

class WindowCommands;

class TimeBoxPanel : public QWidget {
  Q_OBJECT

 public:
  TimeBoxPanel(WindowCommands& commands, QWidget* parent = nullptr);

  // Shows the parts of a frame's start and end.
  void ShowTimes(TimeValue start, TimeValue end);
  // Shows the boxes' first texts: no frame is focused.
  void ShowNoFrame();

  // The box with tag 1..8 (Edit7..Edit10 the start, Edit14..Edit11 the end).
  QLineEdit* box(int tag) const { return boxes_[static_cast<std::size_t>(tag - 1)]; }
  const TimeBoxes& model() const { return model_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int TagOf(const QObject* object) const;
  void Commit(int tag);
  void Step(bool increase, bool tenfold);

  WindowCommands& commands_;
  TimeBoxes model_;
  std::array<QLineEdit*, TimeBoxes::kBoxes> boxes_{};
  QPushButton* minus_ = nullptr;  // Button19
  QPushButton* plus_ = nullptr;   // Button20
};

}  // namespace lumetra
