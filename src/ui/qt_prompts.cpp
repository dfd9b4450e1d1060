#include "ui/qt_prompts.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

#include "session/save_file_types.h"
#include "ui/sub_frame_rate_dialog.h"

namespace lumetra {

namespace {

QString FromPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

std::string ToPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// A file dialog that leaves a typed path to the file system. As a name is typed, Qt's dialog
// selects the listed file that the name matches with ".." folded as text ("link/../a.srt"
// selects "a.srt" of the shown directory, not of where the link leads) and reports that
// file. Without the selection it reports the typed path, which the session resolves.
class PathDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const auto* name = findChild<QLineEdit*>("fileNameEdit");
    if (name != nullptr && name->text().contains(u'/')) {
      for (const char* view_name : {"listView", "treeView"}) {
        const auto* view = findChild<QAbstractItemView*>(view_name);
        if (view != nullptr && view->selectionModel() != nullptr) {
          view->selectionModel()->clearSelection();
        }
      }
    }
    QFileDialog::accept();
  }
};

// Sets up a file dialog from the session's state for it.
void Prepare(QFileDialog& dialog, const FileDialogState& state, const QString& filter) {
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilters(QtNameFilters(filter));
  if (!state.initial_dir.empty()) dialog.setDirectory(FromPath(state.initial_dir));
  if (!state.file_name.empty()) dialog.selectFile(FromPath(state.file_name));
}

}  // namespace

QStringList QtNameFilters(const QString& filter) {
  const QStringList parts = filter.split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
    for (QString& p : patterns) {
      if (p == "*.*") p = "*";
    }
    filters << parts[i] + " (" + patterns.join(' ') + ")";
  }
  return filters;
}

int IndexOfNameFilter(const QStringList& name_filters, const QString& chosen) {
  const QString description = chosen.simplified();
  for (qsizetype i = 0; i < name_filters.size(); ++i) {
    const QString filter = name_filters[i].simplified();
    if (filter == description || filter.startsWith(description + " (")) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

QString SuffixOfNameFilter(const QString& name_filter) {
  static const QRegularExpression single(R"(\(\*\.(\w+)\)$)");
  const QRegularExpressionMatch m = single.match(name_filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

QString DisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  shown.replace('\r', '\n');
  return shown;
}

void QtPrompts::ShowMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), DisplayText(text),
                  QMessageBox::Ok, parent_);
  box.exec();
}

Answer QtPrompts::AskYesNoCancel(const std::string& question) {
  QMessageBox box(QMessageBox::Question, "Confirm", DisplayText(question),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    default:
      return Answer::kCancel;
  }
}

bool QtPrompts::Confirm(const std::string& question, const std::string& action) {
  QMessageBox box(QMessageBox::Question, "Confirm", DisplayText(question), QMessageBox::NoButton,
                  parent_);
  QPushButton* go = box.addButton(QString::fromStdString(action), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(go);
  box.setEscapeButton(cancel);
  box.exec();
  return box.clickedButton() == go;
}

RecoveryAnswer QtPrompts::AskRecoverAutosave(const std::string& description) {
  QMessageBox box(QMessageBox::Warning, "Recover unsaved work", DisplayText(description),
                  QMessageBox::NoButton, parent_);
  QPushButton* recover = box.addButton("Recover", QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton("Discard", QMessageBox::DestructiveRole);
  QPushButton* later = box.addButton("Later", QMessageBox::RejectRole);
  box.setDefaultButton(recover);
  box.setEscapeButton(later);
  box.exec();
  if (box.clickedButton() == recover) return RecoveryAnswer::kRecover;
  if (box.clickedButton() == discard) return RecoveryAnswer::kDiscard;
  return RecoveryAnswer::kLater;
}

std::optional<std::string> QtPrompts::AskOpenPath(const FileDialogState& state) {
  PathDialog dialog(parent_, "Open");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  Prepare(dialog, state, QString::fromLatin1(kOpenFilter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().front());
}

std::optional<std::string> QtPrompts::AskFilmPath(const FileDialogState& state) {
  PathDialog dialog(parent_, "Open film");
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  Prepare(dialog, state, QString::fromLatin1(kFilmFilter));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().front());
}

std::optional<SaveChoice> QtPrompts::AskSavePath(const FileDialogState& state) {
  PathDialog dialog(parent_, "Save As");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  Prepare(dialog, state, QString::fromLatin1(SaveDialogFilter()));
  // The document's own type is preselected. A name typed without an extension gets the
  // chosen type's one; an existing file is overwritten only after the dialog's question.
  // (The dialog names its filters without their patterns.)
  const QStringList types = dialog.nameFilters();
  int type = state.file_type >= 0 && state.file_type < types.size() ? state.file_type : 0;
  dialog.selectNameFilter(types.value(type));
  dialog.setDefaultSuffix(SuffixOfNameFilter(types.value(type)));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, &types, &type](const QString& chosen) {
                     const int index = IndexOfNameFilter(types, chosen);
                     if (index < 0) return;
                     type = index;
                     dialog.setDefaultSuffix(SuffixOfNameFilter(types.value(type)));
                   });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return SaveChoice{ToPath(dialog.selectedFiles().front()), type};
}

std::optional<std::string> QtPrompts::AskText(const std::string& caption,
                                              const std::string& prompt,
                                              const std::string& proposed) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, DisplayText(caption), DisplayText(prompt), QLineEdit::Normal,
                            QString::fromStdString(proposed), &ok);
  if (!ok) return std::nullopt;
  return text.toStdString();
}

void QtPrompts::RunSubFrameRateDialog(SubFrameRateModel& model) {
  if (sub_dialog_ != nullptr) sub_dialog_->Run(model);
}

}  // namespace lumetra
