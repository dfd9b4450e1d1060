// The frame-rate calculator dialog behind "Resize:": a view of FrameRateCalculator with the
// two rates, the resize value, "Swap", "Apply" and "Cancel". It lives from start-up to
// exit; the model keeps the boxes between uses.
#pragma once

#include <QDialog>
#include <array>

#include "editing/frame_rate.h"

class QLineEdit;
class QPushButton;

namespace lumetra {

class FrameRateDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FrameRateDialog(QWidget* parent = nullptr);

  // Shows the dialog modally over the model and returns when it has closed.
  void Run(FrameRateCalculator& model);
  // Shows it without waiting (the model must outlive the showing).
  void Open(FrameRateCalculator& model);

  QLineEdit* box(FrameRateCalculator::Box which) const { return boxes_[which]; }

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Activate(FrameRateCalculator& model);
  void ShowModel();

  FrameRateCalculator* model_ = nullptr;
  std::array<QLineEdit*, 3> boxes_{};
  QPushButton* apply_ = nullptr;
};

}  // namespace lumetra
