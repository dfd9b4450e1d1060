// The subtitle information dialog: the nine header fields (editable) and the statistics
// of the subtitle when it was opened (read-only), over InfoDialogModel.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "document/info_dialog.h"

class QLineEdit;
class QPushButton;

namespace lumetra {

class Document;

class InfoDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 447;
  static constexpr int kClientHeight = 420;

  explicit InfoDialog(QWidget* parent = nullptr);
  ~InfoDialog() override;

  // Computes the statistics of the document, fills the boxes and shows the dialog
  // without waiting; "OK" stores the header fields into the document.
  void Open(Document& doc);
  // The same, modally: returns when the dialog has closed.
  void Run(Document& doc);

  QLineEdit* box(int i) const { return boxes_[static_cast<std::size_t>(i - 1)]; }

  // How "OK" stores the fields: it hands over the storing (the window runs it as a
  // command); without one the fields are stored at once.
  using Store = std::function<void(const std::function<void(Document&)>& store)>;
  void SetStore(Store store) { store_ = std::move(store); }

 private:
  // Computes the statistics and fills the boxes.
  void Fill(Document& doc);
  void StoreFields();

  std::array<QLineEdit*, InfoDialogModel::kBoxes> boxes_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  Document* doc_ = nullptr;
  std::unique_ptr<InfoDialogModel> model_;
  Store store_;
};

}  // namespace lumetra
