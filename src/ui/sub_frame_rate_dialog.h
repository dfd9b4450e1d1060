// The SUB frame-rate dialog: a view of SubFrameRateModel with a radio button per rate, the
// custom rate box and "OK" / "Cancel". It lives from start-up to exit; the model keeps the
// choice between uses.
#pragma once

#include <QDialog>
#include <array>

#include "editing/sub_frame_rate.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumetra {

class Prompts;
class SubFrameRateModel;

class SubFrameRateDialog : public QDialog {
  Q_OBJECT

 public:
  // The refusal of a bad rate is shown through prompts (not owned).
  SubFrameRateDialog(Prompts& prompts, QWidget* parent = nullptr);

  // Shows the dialog over the model without waiting (the model must outlive the showing).
  void Open(SubFrameRateModel& model);
  // Shows the dialog modally over the model and returns when it has closed.
  void Run(SubFrameRateModel& model);

  QRadioButton* radio(int tag) const { return radios_[static_cast<std::size_t>(tag - 1)]; }
  QLineEdit* customBox() const { return custom_; }

  void reject() override;

 private:
  void ShowModel();
  void RadioClicked(int tag);
  void PressOk();
  void PressCancel();

  Prompts& prompts_;
  SubFrameRateModel* model_ = nullptr;
  std::array<QRadioButton*, SubFrameRateModel::kCustomTag> radios_{};
  QLineEdit* custom_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  bool showing_model_ = false;
};

}  // namespace lumetra
