#include "ui/find_replace_dialog.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "editing/search.h"
#include "foundation/textkit.h"
#include "session/session.h"
#include "ui/controls.h"
#include "ui/text_codec.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

QString Escaped(const QString& text) { return text.toHtmlEscaped().replace('|', "<br>"); }

}  // namespace

FindReplaceDialog::FindReplaceDialog(WindowCommands& commands, QWidget* parent)
    : QDialog(parent), commands_(commands) {
  setObjectName("FindReplaceDialog");
  setWindowTitle("Find and replace");

  auto* grid = new QGridLayout;
  find_ = new QLineEdit(this);
  find_->setObjectName("FindBox");
  replacement_ = new QLineEdit(this);
  replacement_->setObjectName("ReplaceBox");
  auto* find_label = new QLabel("&Find:", this);
  find_label->setBuddy(find_);
  auto* replace_label = new QLabel("Replace &with:", this);
  replace_label->setBuddy(replacement_);
  grid->addWidget(find_label, 0, 0);
  grid->addWidget(find_, 0, 1);
  grid->addWidget(replace_label, 1, 0);
  grid->addWidget(replacement_, 1, 1);

  auto make_box = [this](const char* caption, const char* name, const char* hint) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    if (hint[0] != '\0') SetHint(box, hint);
    connect(box, &QCheckBox::toggled, this, &FindReplaceDialog::Changed);
    return box;
  };
  match_case_ = make_box("Match &case", "MatchCase", "");
  whole_words_ = make_box("W&hole words", "WholeWords", "");
  regex_ = make_box("&Regular expression", "RegularExpression",
                    "( ) groups, \\1 in the replacement puts group 1 back;\r^ $ match at every "
                    "line's start and end, \\n is the line break");
  auto* options = new QHBoxLayout;
  for (QCheckBox* box : {match_case_, whole_words_, regex_}) options->addWidget(box);
  options->addStretch();

  all_frames_ = new QRadioButton("&All frames", this);
  all_frames_->setObjectName("AllFrames");
  all_frames_->setChecked(true);
  selected_frames_ = new QRadioButton("&Selected frames", this);
  selected_frames_->setObjectName("SelectedFrames");
  connect(selected_frames_, &QRadioButton::toggled, this, &FindReplaceDialog::ScopeChanged);
  auto* scope = new QHBoxLayout;
  scope->addWidget(all_frames_);
  scope->addWidget(selected_frames_);
  scope->addStretch();

  status_ = new QLabel(this);
  status_->setObjectName("FindStatus");
  hit_ = new QLabel(this);
  hit_->setObjectName("HitPreview");
  hit_->setTextFormat(Qt::RichText);
  hit_->setWordWrap(true);
  hit_->setMinimumHeight(hit_->fontMetrics().height() * 3);
  hit_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  find_next_ = MakeButton("Find &next", "FindNextButton", "", this);
  find_next_->setDefault(true);
  replace_ =
      MakeButton("Re&place", "ReplaceButton", "Replaces the hit shown, then shows the next", this);
  replace_all_ =
      MakeButton("Replace a&ll", "ReplaceAllButton", "Replaces every hit as one step", this);
  auto* close = MakeButton("Close", "CloseButton", "", this);
  for (QPushButton* b : {replace_, replace_all_, close}) b->setAutoDefault(false);
  connect(find_next_, &QPushButton::clicked, this, &FindReplaceDialog::FindNext);
  connect(replace_, &QPushButton::clicked, this, &FindReplaceDialog::Replace);
  connect(replace_all_, &QPushButton::clicked, this, &FindReplaceDialog::ReplaceAll);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {find_next_, replace_, replace_all_, close}) buttons->addWidget(b);
  buttons->addStretch();

  auto* left = new QVBoxLayout;
  left->addLayout(grid);
  left->addLayout(options);
  left->addLayout(scope);
  left->addWidget(status_);
  left->addWidget(hit_, 1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  connect(find_, &QLineEdit::textChanged, this, &FindReplaceDialog::Changed);
  connect(replacement_, &QLineEdit::textChanged, this, &FindReplaceDialog::Changed);
  // The count follows the document while the dialog is open.
  QAbstractItemModel* frames = commands_.list()->model();
  connect(frames, &QAbstractItemModel::modelReset, this, &FindReplaceDialog::Refresh);
  connect(frames, &QAbstractItemModel::dataChanged, this, &FindReplaceDialog::Refresh);
  connect(frames, &QAbstractItemModel::rowsInserted, this, &FindReplaceDialog::Refresh);
  connect(frames, &QAbstractItemModel::rowsRemoved, this, &FindReplaceDialog::Refresh);
  refresh_timer_.setSingleShot(true);
  refresh_timer_.setInterval(250);
  connect(&refresh_timer_, &QTimer::timeout, this, &FindReplaceDialog::Refresh);
  resize(520, sizeHint().height());
  Changed();
}

void FindReplaceDialog::Open(const QString& find) {
  if (!find.isEmpty()) find_->setText(find);
  if (selected_frames_->isChecked()) ScopeChanged();
  show();
  Refresh();
  raise();
  activateWindow();
  find_->setFocus();
  find_->selectAll();
}

void FindReplaceDialog::Changed() {
  model_.SetOptions({match_case_->isChecked(), whole_words_->isChecked(), regex_->isChecked()});
  model_.SetFind(find_->text().toStdString());
  model_.SetReplacement(replacement_->text().toStdString());
  said_.clear();
  hit_->clear();
  // Typing stays smooth where counting takes long (an expression over thousands of
  // frames): the count then waits for a pause.
  if (last_count_ms_ > kSlowCountMs) {
    refresh_timer_.start();
  } else {
    Refresh();
  }
}

void FindReplaceDialog::ScopeChanged() {
  model_.SetSelectedOnly(selected_frames_->isChecked(), commands_.CurrentSelection());
  said_.clear();
  hit_->clear();
  Refresh();
}

void FindReplaceDialog::Refresh() {
  find_next_->setEnabled(model_.CanSearch());
  replace_->setEnabled(model_.CanReplace());
  replace_all_->setEnabled(model_.CanReplace());
  if (!isVisible()) return;  // counted when it is shown
  refresh_timer_.stop();
  QElapsedTimer counting;
  counting.start();
  const std::string status = model_.Status(commands_.session().document());
  last_count_ms_ = counting.elapsed();
  const bool bad = StartsWith(status, kBadExpression) || StartsWith(status, kBadReplacement);
  status_->setStyleSheet(bad ? "color: #B00000;" : "");
  status_->setText(QString::fromStdString(said_.empty() ? status : said_ + "   (" + status + ")"));
}

void FindReplaceDialog::ShowHit(const std::string& message) {
  said_ = message;
  const std::optional<TextHit>& hit = model_.current();
  const Document& doc = commands_.session().document();
  if (!hit || hit->frame < 1 || hit->frame > doc.FrameCount) {
    hit_->clear();
  } else {
    const std::string& text = doc.FrameText[static_cast<std::size_t>(hit->frame)];
    const std::string_view bytes(text);
    hit_->setText(
        QString("Frame %1:<br>").arg(hit->frame) +
        Escaped(DecodeText(bytes.substr(0, hit->begin), doc.Encoding)) +
        "<span style=\"background: #FFE060; font-weight: bold;\">" +
        Escaped(DecodeText(bytes.substr(hit->begin, hit->end - hit->begin), doc.Encoding)) +
        "</span>" + Escaped(DecodeText(bytes.substr(hit->end), doc.Encoding)));
  }
  Refresh();
}

void FindReplaceDialog::FindNext() {
  if (!model_.CanSearch()) return;
  std::string message;
  commands_.Select([&](const Document& doc, const Selection& selection) {
    CommandResult result = model_.FindNext(doc, selection);
    message = std::move(result.message);
    return result.selection;
  });
  ShowHit(message);
}

void FindReplaceDialog::Replace() {
  if (!model_.CanReplace()) return;
  std::string message;
  commands_.Run(
      kReplaceName,
      [&](Document& doc, const Selection& selection) {
        CommandResult result = model_.Replace(doc, selection);
        message = std::move(result.message);  // told here, not in a message box
        result.message.clear();
        return result;
      },
      false);
  ShowHit(message);
}

void FindReplaceDialog::ReplaceAll() {
  if (!model_.CanReplace()) return;
  commands_.PrepareToRun();
  const ReplacePlan plan = model_.PlanAll(commands_.session().document());
  model_.Forget();
  std::string message;
  if (plan.status == FindStatus::kTooComplex) {
    message = kTooComplex + IntToText(plan.frame);
  } else if (plan.status == FindStatus::kTooLong) {
    message = kTooLong + IntToText(plan.frame);
  } else if (plan.count == 0) {
    message = kNoMatchFound;
  } else {
    commands_.Run(
        ReplaceAllName(plan.count),
        [&plan](Document& doc, const Selection& selection) {
          return ApplyReplacePlan(doc, selection, plan);
        },
        false);
    message = IntToText(plan.count) + " replaced";
  }
  ShowHit(message);
}

}  // namespace lumetra
