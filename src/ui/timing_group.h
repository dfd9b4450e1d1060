// The "Timing" group of the "Text" tab: offset, delay by seconds and by percent, resize
// with the frame-rate calculator and the "%" inversion, "Stop if reaches adjacent frame",
// the length-hangout correction and the length from characters. Its boxes are views of the
// session's editing parameters.
#pragma once

#include <QGroupBox>
#include <array>
#include <utility>
#include <vector>

#include "editing/command_buttons.h"
#include "editing/editing_parameters.h"

class QLineEdit;
class QPushButton;

namespace lumetra {

class FrameRateDialog;
class WindowCommands;

class TimingGroup : public QGroupBox {
  Q_OBJECT

 public:
  TimingGroup(WindowCommands& commands, QWidget* parent = nullptr);

  // The calculator that "Resize:" opens (made with the window's other dialogs).
  void SetCalculatorDialog(FrameRateDialog* dialog) { calculator_ = dialog; }
  QLineEdit* box(ParameterBox which) const { return boxes_[static_cast<std::size_t>(which)]; }

  // "Resize:": the calculator, then its factor in the resize box unless it was cancelled.
  void OpenCalculator();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* MakeBox(ParameterBox which);
  void Leave(ParameterBox which);
  // The boxes' texts and the hints that name their values, from the parameters.
  void ShowParameters();

  WindowCommands& commands_;
  EditingParameters& parameters_;
  FrameRateDialog* calculator_ = nullptr;
  std::array<QLineEdit*, kParameterBoxes> boxes_{};
  // The buttons whose hints name a value: Button8 to Button13.
  std::vector<std::pair<QPushButton*, CommandButton>> valued_;
  QPushButton* resize_ = nullptr;      // Button30
  QPushButton* set_length_ = nullptr;  // Button22
};

}  // namespace lumetra
