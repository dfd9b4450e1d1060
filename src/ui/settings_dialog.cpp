#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "session/prompts.h"
#include "settings/file_association.h"
#include "ui/hints.h"

namespace lumetra {

namespace {

constexpr int kOptionsGroupHeight = 257;

}  // namespace

SettingsDialog::SettingsDialog(Prompts& prompts, std::unique_ptr<FileAssociation> association,
                               QString executable, QWidget* parent)
    : QDialog(parent),
      prompts_(prompts),
      association_(std::move(association)),
      executable_(std::move(executable)) {
  setObjectName("T_SettForm");
  setWindowTitle(SettingsDialogModel::kCaption);
  // A title bar without buttons: the dialog closes through "OK" and "Cancel" only.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(kClientWidth, kClientHeight);

  auto* group = new QGroupBox(this);
  group->setObjectName("GroupBox1");
  group->setFixedHeight(kOptionsGroupHeight);
  auto* options = new QVBoxLayout(group);
  options->setContentsMargins(8, 6, 6, 6);
  options->setSpacing(2);
  const char* captions[3] = {"Save window position and size on exit", "Remember last directory",
                             "Auto-load last subtitle at program startup"};
  for (int i = 0; i < 3; ++i) {
    auto* box = new QCheckBox(captions[i], group);
    box->setObjectName(QString("CheckBox%1").arg(i + 1));
    options_[static_cast<std::size_t>(i)] = box;
    options->addWidget(box);
  }
  auto_open_film_ = new QCheckBox("Open the film of the same name with a subtitle", group);
  auto_open_film_->setObjectName("AutoOpenFilmBox");
  SetHint(auto_open_film_,
          "A film beside the subtitle with its name (.mkv .mp4 .avi .webm .mov .m4v .mpg .ts)\r"
          "opens with it, unless another film was last used with the subtitle");
  options->addWidget(auto_open_film_);
  write_sub_fps_ = new QCheckBox("Write the frame rate into SUB files", group);
  write_sub_fps_->setObjectName("WriteSubFpsBox");
  SetHint(write_sub_fps_, "Other programs read a SUB file's frame rate from a first line {1}{1}RATE");
  options->addWidget(write_sub_fps_);

  auto* size_row = new QHBoxLayout;
  size_row->setSpacing(3);
  auto* keep = new QLabel("Keep last", group);
  keep->setObjectName("Label1");
  history_size_ = new QLineEdit(group);
  history_size_->setObjectName("Edit1");
  history_size_->setMaxLength(2);
  history_size_->setFixedWidth(24);
  history_size_->setAlignment(Qt::AlignCenter);
  keep->setBuddy(history_size_);
  auto* rest = new QLabel("opened/saved subtitle in the file history (1-16)", group);
  rest->setObjectName("Label2");
  size_row->addWidget(keep);
  size_row->addWidget(history_size_);
  size_row->addWidget(rest, 1);
  options->addLayout(size_row);
  connect(history_size_, &QLineEdit::editingFinished, this, &SettingsDialog::Edit1Exit);

  auto* autosave_row = new QHBoxLayout;
  autosave_row->setSpacing(3);
  auto* every = new QLabel("Autosave every", group);
  every->setObjectName("Label3");
  autosave_ = new QLineEdit(group);
  autosave_->setObjectName("Edit2");
  autosave_->setMaxLength(5);
  autosave_->setFixedWidth(44);
  autosave_->setAlignment(Qt::AlignCenter);
  every->setBuddy(autosave_);
  auto* seconds = new QLabel("seconds of unsaved work (0: off)", group);
  seconds->setObjectName("Label4");
  autosave_row->addWidget(every);
  autosave_row->addWidget(autosave_);
  autosave_row->addWidget(seconds, 1);
  options->addLayout(autosave_row);
  SetHint(autosave_, "Unsaved work is kept in ~/.local/state/lumetra/autosave and offered\r"
                     "when Lumetra starts after it did not close normally");
  connect(autosave_, &QLineEdit::editingFinished, this, &SettingsDialog::Edit2Exit);
  backups_ = new QCheckBox("Keep the previous version of a file a save replaces", group);
  backups_->setObjectName("CheckBox4");
  SetHint(backups_, "The last 10 versions of each file name, in ~/.local/state/lumetra/backups");
  options->addWidget(backups_);

  auto* clear = new QPushButton("Clear file history", group);
  clear->setObjectName("Button3");
  connect(clear, &QPushButton::clicked, this, &SettingsDialog::Button3Click);
  auto* associate = new QPushButton("Associate .srt .sub .vtt .ass .ssa extensions with this program", group);
  associate->setObjectName("Button4");
  SetHint(associate, "Click here if you want to open SRT, SUB, WebVTT, ASS or SSA files with Lumetra");
  connect(associate, &QPushButton::clicked, this, &SettingsDialog::Button4Click);
  for (QPushButton* b : {clear, associate}) {
    b->setAutoDefault(false);
    options->addWidget(b);
  }
  options->addStretch();

  auto* checks = new QGroupBox("Quality checks (0 turns a check off)", this);
  checks->setObjectName("ChecksGroup");
  auto* grid = new QGridLayout(checks);
  grid->setContentsMargins(8, 6, 6, 6);
  grid->setVerticalSpacing(2);
  struct LimitRow {
    const char* caption;
    const char* name;
  };
  const LimitRow rows[SettingsDialogModel::kLimitBoxes] = {
      {"Least gap between frames (ms):", "MinGapBox"}, {"Shortest frame (ms):", "MinLengthBox"},
      {"Longest frame (ms):", "MaxLengthBox"},         {"Most characters per second:", "MaxCpsBox"},
      {"Most characters in a line:", "MaxLineBox"},    {"Most lines in a frame:", "MaxLinesBox"},
  };
  for (int i = 0; i < SettingsDialogModel::kLimitBoxes; ++i) {
    auto* label = new QLabel(rows[i].caption, checks);
    auto* box = new QLineEdit(checks);
    box->setObjectName(rows[i].name);
    box->setMaxLength(8);
    box->setFixedWidth(64);
    box->setAlignment(Qt::AlignRight);
    label->setBuddy(box);
    grid->addWidget(label, i, 0);
    grid->addWidget(box, i, 1);
    limits_[static_cast<std::size_t>(i)] = box;
  }
  ignore_capitals_ = new QCheckBox("Spell check: pass over words in CAPITALS", checks);
  ignore_capitals_->setObjectName("IgnoreCapitals");
  grid->addWidget(ignore_capitals_, SettingsDialogModel::kLimitBoxes, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Button1");
  ok_->setDefault(true);
  auto* cancel = new QPushButton("Cancel", this);
  cancel->setObjectName("Button2");
  cancel->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &SettingsDialog::Button1Click);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 6);
  layout->addWidget(group);
  layout->addWidget(checks);
  layout->addStretch();
  layout->addLayout(buttons);
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::Open(Configuration& config, FileHistory& history) {
  Prepare(config, history);
  show();
  ok_->setFocus();
}

void SettingsDialog::Run(Configuration& config, FileHistory& history) {
  // Not shown before exec(): a dialog that is already visible would not become modal.
  Prepare(config, history);
  ok_->setFocus();
  exec();
  config_ = nullptr;
  history_ = nullptr;
}

void SettingsDialog::Prepare(Configuration& config, FileHistory& history) {
  config_ = &config;
  history_ = &history;
  FormActivate();
  // Centred on the desktop.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(width() / 2, height() / 2));
  }
}

void SettingsDialog::FormActivate() {
  model_.Load(*config_, *history_);
  history_size_->setText(QString::fromStdString(model_.history_box));
  const bool values[3] = {model_.win_pos_sav, model_.rem_last_dir, model_.auto_load};
  for (std::size_t i = 0; i < 3; ++i) options_[i]->setChecked(values[i]);
  auto_open_film_->setChecked(model_.auto_open_film);
  write_sub_fps_->setChecked(model_.write_sub_fps);
  autosave_->setText(QString::fromStdString(model_.autosave_box));
  backups_->setChecked(model_.backups);
  for (std::size_t i = 0; i < limits_.size(); ++i) {
    limits_[i]->setText(QString::fromStdString(model_.limit_boxes[i]));
  }
  ignore_capitals_->setChecked(model_.ignore_capitals);
}

void SettingsDialog::Edit2Exit() {
  model_.autosave_box = autosave_->text().toStdString();
  model_.NormaliseAutosaveBox();
  autosave_->setText(QString::fromStdString(model_.autosave_box));
}

void SettingsDialog::Edit1Exit() {
  model_.history_box = history_size_->text().toStdString();
  model_.NormaliseHistoryBox();
  history_size_->setText(QString::fromStdString(model_.history_box));
}

void SettingsDialog::Button1Click() {
  if (config_ == nullptr || history_ == nullptr) return;
  model_.history_box = history_size_->text().toStdString();
  model_.win_pos_sav = options_[0]->isChecked();
  model_.rem_last_dir = options_[1]->isChecked();
  model_.auto_load = options_[2]->isChecked();
  model_.autosave_box = autosave_->text().toStdString();
  model_.backups = backups_->isChecked();
  model_.auto_open_film = auto_open_film_->isChecked();
  model_.write_sub_fps = write_sub_fps_->isChecked();
  for (std::size_t i = 0; i < limits_.size(); ++i) {
    model_.limit_boxes[i] = limits_[i]->text().toStdString();
  }
  model_.ignore_capitals = ignore_capitals_->isChecked();
  model_.Apply(*config_, *history_);
  accept();
}

void SettingsDialog::Button3Click() {
  if (history_ != nullptr) SettingsDialogModel::ClearHistory(*history_);
}

void SettingsDialog::Button4Click() {
  const std::string error = association_->Associate(QFile::encodeName(executable_).toStdString());
  if (!error.empty()) prompts_.ShowMessage(error);
}

}  // namespace lumetra
