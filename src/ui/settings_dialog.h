// The settings dialog: the start-up options, the size of the file history, clearing the
// history and associating .srt and .sub files with the program, the limits of the quality
// checks and the spell check's words in capitals, over SettingsDialogModel.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <memory>

#include "settings/settings_dialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace lumetra {

class FileAssociation;
class Prompts;

class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 355;
  static constexpr int kClientHeight = 508;

  // `association` registers `executable` for the file types; failures are told through
  // `prompts` (not owned).
  SettingsDialog(Prompts& prompts, std::unique_ptr<FileAssociation> association, QString executable,
                 QWidget* parent = nullptr);
  ~SettingsDialog() override;

  // Fills the controls from the settings and shows the dialog without waiting; "OK"
  // applies the controls to the settings, "Clear file history" clears the history at once.
  void Open(Configuration& config, FileHistory& history);
  // The same, modally: returns when the dialog has closed.
  void Run(Configuration& config, FileHistory& history);

 private:
  void Prepare(Configuration& config, FileHistory& history);
  void FormActivate();
  void Edit1Exit();
  void Edit2Exit();
  void Button1Click();
  void Button3Click();
  void Button4Click();

  Prompts& prompts_;
  std::unique_ptr<FileAssociation> association_;
  QString executable_;
  SettingsDialogModel model_;
  Configuration* config_ = nullptr;
  FileHistory* history_ = nullptr;

  std::array<QCheckBox*, 3> options_{};  // CheckBox1..CheckBox3
  QCheckBox* auto_open_film_ = nullptr;
  QCheckBox* write_sub_fps_ = nullptr;
  QLineEdit* history_size_ = nullptr;    // Edit1
  QLineEdit* autosave_ = nullptr;        // Edit2
  QCheckBox* backups_ = nullptr;         // CheckBox4
  std::array<QLineEdit*, SettingsDialogModel::kLimitBoxes> limits_{};
  QCheckBox* ignore_capitals_ = nullptr;
  QPushButton* ok_ = nullptr;            // Button1
};

}  // namespace lumetra
