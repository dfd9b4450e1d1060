#include "ui/checks_panel.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>

#include "editing/spelling.h"
#include "foundation/textkit.h"
#include "session/session.h"
#include "ui/background_task.h"
#include "ui/controls.h"
#include "ui/spelling_service.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

constexpr int kFindingRole = Qt::UserRole + 1;

}  // namespace

ChecksPanel::ChecksPanel(WindowCommands& commands, SpellingService& spelling,
                         const CheckLimits& limits, QWidget* parent)
    : QWidget(parent),
      commands_(commands),
      spelling_(spelling),
      limits_(limits),
      task_(new BackgroundTask(this)) {
  setObjectName("ChecksPanel");
  auto* title = new QLabel("Checks", this);
  SetBold(title);
  count_ = new QLabel(this);
  count_->setObjectName("FindingsCount");
  spelling_box_ = new QCheckBox("Spelling", this);
  spelling_box_->setObjectName("CheckSpelling");
  SetHint(spelling_box_, "Also lists the words the spelling dictionary does not know");
  connect(spelling_box_, &QCheckBox::toggled, this, &ChecksPanel::Refresh);
  fix_ = MakeButton("Fix", "FixButton",
                    "Ends each selected overlapping frame before the next one starts\r(by the "
                    "least gap of the settings, at least 1 frame: 40 ms)",
                    this);
  fix_->setEnabled(false);
  connect(fix_, &QPushButton::clicked, this, &ChecksPanel::FixSelected);
  progress_ = new QProgressBar(this);
  progress_->setObjectName("ChecksProgress");
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(120);
  progress_->hide();
  cancel_ = MakeButton("Cancel", "ChecksCancel", "", this);
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, task_, &BackgroundTask::Cancel);
  connect(task_, &BackgroundTask::progressed, progress_, &QProgressBar::setValue);
  connect(task_, &BackgroundTask::started, this, [this] {
    progress_->setValue(0);
    progress_->show();
    cancel_->show();
  });
  connect(task_, &BackgroundTask::finished, this, [this] {
    progress_->hide();
    cancel_->hide();
  });

  auto* head = new QHBoxLayout;
  head->setContentsMargins(0, 0, 0, 0);
  head->addWidget(title);
  head->addWidget(count_);
  head->addStretch();
  head->addWidget(progress_);
  head->addWidget(cancel_);
  head->addWidget(spelling_box_);
  head->addWidget(fix_);

  list_ = new QTreeWidget(this);
  list_->setObjectName("FindingsList");
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setHeaderLabels({"Frame", "Check", "Detail"});
  list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  list_->header()->setStretchLastSection(true);
  connect(list_, &QTreeWidget::itemClicked, this, &ChecksPanel::ShowFrame);
  connect(list_, &QTreeWidget::itemActivated, this, &ChecksPanel::ShowFrame);
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &ChecksPanel::SelectionChanged);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 2, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(head);
  layout->addWidget(list_, 1);

  // The document changed: checked again after a short pause, while the panel shows.
  pause_.setSingleShot(true);
  pause_.setInterval(300);
  connect(&pause_, &QTimer::timeout, this, &ChecksPanel::Refresh);
  auto later = [this] {
    if (isVisible()) pause_.start();
  };
  QAbstractItemModel* frames = commands_.list()->model();
  connect(frames, &QAbstractItemModel::dataChanged, this, later);
  connect(frames, &QAbstractItemModel::rowsInserted, this, later);
  connect(frames, &QAbstractItemModel::rowsRemoved, this, later);
  connect(frames, &QAbstractItemModel::modelReset, this, later);
  connect(&spelling_, &SpellingService::changed, this, [this, later] {
    if (spelling_box_->isChecked()) later();
  });
}

void ChecksPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

void ChecksPanel::Refresh() {
  pause_.stop();
  const Document& doc = commands_.session().document();
  // The frames as they are now, and a spell checker of its own, for the other thread.
  auto snapshot = std::make_shared<Document>();
  snapshot->FrameCount = doc.FrameCount;
  snapshot->Encoding = doc.Encoding;
  const auto end = static_cast<std::ptrdiff_t>(doc.FrameCount) + 1;
  std::copy(doc.FrameStart.begin(), doc.FrameStart.begin() + end, snapshot->FrameStart.begin());
  std::copy(doc.FrameEnd.begin(), doc.FrameEnd.begin() + end, snapshot->FrameEnd.begin());
  std::copy(doc.FrameText.begin(), doc.FrameText.begin() + end, snapshot->FrameText.begin());
  std::shared_ptr<SpellChecker> speller;
  if (spelling_box_->isChecked() && spelling_.checker() != nullptr) {
    speller = std::make_shared<SpellChecker>(*spelling_.checker());
  }
  const CheckLimits limits = limits_;
  auto found = std::make_shared<std::vector<Finding>>();
  task_->Start(
      [snapshot, speller, limits, found](const BackgroundTask::Progress& progress) {
        *found = CheckDocument(*snapshot, limits, speller.get(), progress);
      },
      [this, found] { Show(std::move(*found)); });
}

void ChecksPanel::Show(std::vector<Finding> findings) {
  findings_ = std::move(findings);
  list_->setUpdatesEnabled(false);
  list_->clear();
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(findings_.size()));
  for (std::size_t i = 0; i < findings_.size(); ++i) {
    const Finding& f = findings_[i];
    auto* item =
        new QTreeWidgetItem({QString::number(f.frame), QString::fromLatin1(RuleCaption(f.rule)),
                             QString::fromStdString(f.detail)});
    item->setData(0, kFindingRole, static_cast<qulonglong>(i));
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    if (HasFix(f.rule)) item->setToolTip(1, "\"Fix\" ends the frame before the next one starts");
    items.append(item);
  }
  list_->addTopLevelItems(items);
  list_->setUpdatesEnabled(true);
  const std::size_t n = findings_.size();
  count_->setText(n == 0   ? QString("no findings")
                  : n == 1 ? QString("1 finding")
                           : QString("%1 findings").arg(n));
  SelectionChanged();
}

void ChecksPanel::ShowFrame() {
  QTreeWidgetItem* item = list_->currentItem();
  if (item == nullptr) return;
  const int frame = item->text(0).toInt();
  commands_.Select([frame](const Document& doc, const Selection& s) {
    if (frame < 1 || frame > doc.FrameCount) return s;
    return Selection{{frame}, frame, s.top};
  });
}

void ChecksPanel::SelectionChanged() {
  bool fixable = false;
  for (QTreeWidgetItem* item : list_->selectedItems()) {
    const auto i = static_cast<std::size_t>(item->data(0, kFindingRole).toULongLong());
    fixable = fixable || (i < findings_.size() && HasFix(findings_[i].rule));
  }
  fix_->setEnabled(fixable);
}

void ChecksPanel::FixSelected() {
  std::vector<Finding> chosen;
  for (QTreeWidgetItem* item : list_->selectedItems()) {
    const auto i = static_cast<std::size_t>(item->data(0, kFindingRole).toULongLong());
    if (i < findings_.size() && HasFix(findings_[i].rule)) chosen.push_back(findings_[i]);
  }
  if (chosen.empty()) return;
  commands_.Run(FixName(static_cast<int>(chosen.size())), [&](Document& doc, const Selection& s) {
    return FixFindings(doc, s, chosen, limits_);
  });
  Refresh();
}

}  // namespace lumetra
