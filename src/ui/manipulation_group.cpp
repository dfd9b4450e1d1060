#include "ui/manipulation_group.h"

#include <QGridLayout>

#include "editing/frame_commands.h"
#include "ui/controls.h"
#include "ui/frame_keys.h"
#include "ui/window_commands.h"

namespace lumetra {

ManipulationGroup::ManipulationGroup(WindowCommands& commands, QWidget* parent)
    : QGroupBox("Frame Manipulation", parent), commands_(commands) {
  setObjectName("GroupBox3");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setSpacing(3);
  QPushButton* insert = MakeButton(
      "Insert", "Button5", HintWithKey("Inserts a new frame before the selected line", kInsertKey),
      this);
  QPushButton* remove = MakeButton(
      "Remove", "Button6", HintWithKey("Removes the selected frames from the list", kRemoveKey),
      this);
  QPushButton* merge = MakeButton("Merge 2 Frame", "Button7", HintWithKey(kMergeHint, kMergeKey),
                                  this);
  // As after the start-up's empty document: only Insert needs no selection.
  for (QPushButton* b : {remove, merge}) b->setEnabled(false);
  grid->addWidget(insert, 0, 0);
  grid->addWidget(remove, 0, 1);
  grid->addWidget(merge, 1, 0, 1, 2);
  connect(insert, &QPushButton::clicked, this, &ManipulationGroup::Insert);
  connect(remove, &QPushButton::clicked, this, &ManipulationGroup::Remove);
  connect(merge, &QPushButton::clicked, this, &ManipulationGroup::Merge);
}

void ManipulationGroup::Insert() { commands_.Run("Insert", InsertFrame); }

void ManipulationGroup::Remove() { commands_.Run("Remove", RemoveFrames); }

void ManipulationGroup::Merge() { commands_.Run("Merge 2 Frame", MergeTwoFrames); }

}  // namespace lumetra
