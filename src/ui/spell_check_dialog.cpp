#include "ui/spell_check_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/textkit.h"
#include "session/session.h"
#include "ui/background_task.h"
#include "ui/controls.h"
#include "ui/spelling_service.h"
#include "ui/text_codec.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

QString Escaped(const QString& text) { return text.toHtmlEscaped().replace('|', "<br>"); }

}  // namespace

SpellCheckDialog::SpellCheckDialog(WindowCommands& commands, SpellingService& spelling,
                                   QWidget* parent)
    : QDialog(parent), commands_(commands), spelling_(spelling), task_(new BackgroundTask(this)) {
  setObjectName("SpellCheckDialog");
  setWindowTitle("Check spelling");

  scope_ = new QLabel(this);
  scope_->setObjectName("SpellScope");
  progress_ = new QProgressBar(this);
  progress_->setObjectName("SpellProgress");
  progress_->setRange(0, 100);
  cancel_ = MakeButton("Cancel", "SpellCancel", "", this);
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, task_, &BackgroundTask::Cancel);
  connect(task_, &BackgroundTask::progressed, progress_, &QProgressBar::setValue);
  connect(task_, &BackgroundTask::finished, this, [this] {
    SetWorking(false);
    if (!scanned_) context_->setText("The spell check was cancelled.");
  });
  auto* progress_row = new QHBoxLayout;
  progress_row->addWidget(progress_, 1);
  progress_row->addWidget(cancel_);

  context_ = new QLabel(this);
  context_->setObjectName("SpellContext");
  context_->setTextFormat(Qt::RichText);
  context_->setWordWrap(true);
  context_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  context_->setMinimumHeight(context_->fontMetrics().height() * 4);
  context_->setFrameShape(QFrame::StyledPanel);

  change_to_ = new QLineEdit(this);
  change_to_->setObjectName("ChangeTo");
  auto* change_label = new QLabel("Change &to:", this);
  change_label->setBuddy(change_to_);
  suggestions_ = new QListWidget(this);
  suggestions_->setObjectName("Suggestions");
  connect(suggestions_, &QListWidget::currentTextChanged, change_to_, &QLineEdit::setText);
  connect(suggestions_, &QListWidget::itemDoubleClicked, this, &SpellCheckDialog::Change);

  struct Button {
    const char* caption;
    const char* name;
    void (SpellCheckDialog::*action)();
  };
  const Button buttons[] = {
      {"&Change", "ChangeButton", &SpellCheckDialog::Change},
      {"Change &all", "ChangeAllButton", &SpellCheckDialog::ChangeAll},
      {"&Ignore", "IgnoreButton", &SpellCheckDialog::Ignore},
      {"Ignore a&ll", "IgnoreAllButton", &SpellCheckDialog::IgnoreAll},
      {"A&dd to dictionary", "AddButton", &SpellCheckDialog::AddToDictionary},
  };
  auto* right = new QVBoxLayout;
  for (const Button& b : buttons) {
    QPushButton* button = MakeButton(b.caption, b.name, "", this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, b.action);
    right->addWidget(button);
    actions_.push_back(button);
  }
  actions_[0]->setDefault(true);
  right->addStretch();
  QPushButton* close = MakeButton("Close", "CloseButton", "", this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  right->addWidget(close);

  auto* left = new QGridLayout;
  left->addWidget(scope_, 0, 0, 1, 2);
  left->addLayout(progress_row, 1, 0, 1, 2);
  left->addWidget(context_, 2, 0, 1, 2);
  left->addWidget(change_label, 3, 0);
  left->addWidget(change_to_, 3, 1);
  left->addWidget(suggestions_, 4, 0, 1, 2);
  left->setRowStretch(4, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);
  resize(520, 360);

  // Another language or an option: the walk starts again.
  connect(&spelling_, &SpellingService::changed, this, [this] {
    if (isVisible() && !own_change_) Scan();
  });
}

void SpellCheckDialog::Open() {
  const Selection selection = commands_.CurrentSelection();
  const Document& doc = commands_.session().document();
  selected_only_ = selection.count() >= 2;
  std::vector<int> frames = selected_only_ ? selection.frames : AllFrames(doc.FrameCount);
  walk_ = SpellCheckWalk(std::move(frames));
  scope_->setText(selected_only_ ? QString("In the %1 selected frames").arg(walk_.frames().size())
                                 : QString("In all %1 frames").arg(walk_.frames().size()));
  show();
  raise();
  activateWindow();
  Scan();
}

void SpellCheckDialog::SetWorking(bool working) {
  progress_->setVisible(working);
  cancel_->setVisible(working);
  if (working) {
    progress_->setValue(0);
    for (QPushButton* b : actions_) b->setEnabled(false);
  }
}

void SpellCheckDialog::Scan() {
  SpellChecker* checker = spelling_.checker();
  const Document& doc = commands_.session().document();
  candidates_.clear();
  scanned_ = false;
  walk_ = SpellCheckWalk(walk_.frames());
  suggestions_->clear();
  change_to_->clear();
  if (checker == nullptr) {
    context_->setText(QString::fromLatin1(
        spelling_.installed() ? "Choose a spelling language first." : kNoDictionaries));
    SetWorking(false);
    for (QPushButton* b : actions_) b->setEnabled(false);
    return;
  }
  context_->setText("Reading the frames...");
  // The frames as they are now, and a checker of their own, for the other thread.
  auto texts = std::make_shared<std::vector<std::pair<int, std::string>>>();
  for (int frame : walk_.frames()) {
    if (frame >= 1 && frame <= doc.FrameCount) {
      texts->emplace_back(frame, doc.FrameText[static_cast<std::size_t>(frame)]);
    }
  }
  auto copy = std::make_shared<SpellChecker>(*checker);
  auto found = std::make_shared<std::vector<int>>();
  const CodePage page = doc.Encoding;
  SetWorking(true);
  task_->Start(
      [texts, copy, found, page](const BackgroundTask::Progress& progress) {
        *found = FramesWithUnknownWords(*copy, *texts, page, progress);
      },
      [this, found] {
        candidates_ = std::move(*found);
        scanned_ = true;
        Scanned();
      });
}

void SpellCheckDialog::Scanned() {
  SpellChecker* checker = spelling_.checker();
  if (checker == nullptr) return;
  walk_.SetCandidates(candidates_);
  Show(walk_.Next(*checker, commands_.session().document()));
}

void SpellCheckDialog::Show(bool found) {
  const Document& doc = commands_.session().document();
  suggestions_->clear();
  for (QPushButton* b : actions_) b->setEnabled(found);
  if (!found) {
    context_->setText(kSpellCheckDone);
    change_to_->clear();
    return;
  }
  const SpellFinding& f = *walk_.current();
  const std::string& text = doc.FrameText[static_cast<std::size_t>(f.frame)];
  const std::string_view bytes(text);
  context_->setText(
      QString("Frame %1:<br>").arg(f.frame) +
      Escaped(DecodeText(bytes.substr(0, f.word.begin), doc.Encoding)) +
      "<span style=\"color: #D00000; font-weight: bold; text-decoration: underline;\">" +
      Escaped(DecodeText(bytes.substr(f.word.begin, f.word.end - f.word.begin), doc.Encoding)) +
      "</span>" + Escaped(DecodeText(bytes.substr(f.word.end), doc.Encoding)));
  const QString word = QString::fromStdString(walk_.CurrentWord(doc));
  change_to_->setText(word);
  for (const std::string& s : spelling_.checker()->Suggestions(walk_.CurrentWord(doc))) {
    suggestions_->addItem(QString::fromStdString(s));
  }
  if (suggestions_->count() > 0) suggestions_->setCurrentRow(0);
  // The frame list shows the frame: as the one selected frame, or by its focus alone when
  // the walk is over the selected frames.
  const int frame = f.frame;
  const bool keep = selected_only_;
  commands_.Select([frame, keep](const Document&, const Selection& s) {
    Selection moved = s;
    if (!keep) moved.frames = {frame};
    moved.focus = frame;
    return moved;
  });
}

void SpellCheckDialog::Change() {
  if (!walk_.current() || spelling_.checker() == nullptr) return;
  const std::string replacement = change_to_->text().toStdString();
  commands_.Run(
      "Change",
      [&](Document& doc, const Selection& s) { return walk_.Change(doc, s, replacement); }, false);
  Show(walk_.Next(*spelling_.checker(), commands_.session().document()));
}

void SpellCheckDialog::ChangeAll() {
  if (!walk_.current() || spelling_.checker() == nullptr) return;
  const std::string replacement = change_to_->text().toStdString();
  commands_.Run(
      "Change all",
      [&](Document& doc, const Selection& s) { return walk_.ChangeAll(doc, s, replacement); },
      false);
  Show(walk_.Next(*spelling_.checker(), commands_.session().document()));
}

void SpellCheckDialog::Ignore() {
  if (!walk_.current() || spelling_.checker() == nullptr) return;
  Show(walk_.Ignore(*spelling_.checker(), commands_.session().document()));
}

void SpellCheckDialog::IgnoreAll() {
  if (!walk_.current() || spelling_.checker() == nullptr) return;
  own_change_ = true;  // the walk goes on; it does not start again
  spelling_.IgnoreAll(walk_.CurrentWord(commands_.session().document()));
  own_change_ = false;
  Show(walk_.Next(*spelling_.checker(), commands_.session().document()));
}

void SpellCheckDialog::AddToDictionary() {
  if (!walk_.current() || spelling_.checker() == nullptr) return;
  own_change_ = true;
  const std::string problem =
      spelling_.AddToDictionary(walk_.CurrentWord(commands_.session().document()));
  own_change_ = false;
  if (!problem.empty()) commands_.session().prompts().ShowMessage(problem);
  Show(walk_.Next(*spelling_.checker(), commands_.session().document()));
}

}  // namespace lumetra
