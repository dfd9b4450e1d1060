#include "ui/selection_group.h"

#include <QGridLayout>

#include "editing/frame_commands.h"
#include "ui/controls.h"
#include "ui/frame_keys.h"
#include "ui/window_commands.h"

namespace lumetra {

SelectionGroup::SelectionGroup(WindowCommands& commands, QWidget* parent)
    : QGroupBox("Frame Selection", parent) {
  setObjectName("GroupBox4");
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 2, 6, 4);
  grid->setSpacing(3);
  QPushButton* all = MakeButton(
      "Select All", "Button1", HintWithKey("Selects every frame in the frame list", kSelectAllKey),
      this);
  QFont bold = all->font();
  bold.setBold(true);
  all->setFont(bold);
  QPushButton* none =
      MakeButton("Unselect All", "Button2", "Unselects every frame in the frame list", this);
  QPushButton* invert =
      MakeButton("Invert", "Button3", "Inverts selections in the frame list", this);
  grid->addWidget(all, 0, 0, 1, 2);
  grid->addWidget(none, 1, 0);
  grid->addWidget(invert, 1, 1);
  connect(all, &QPushButton::clicked, this, [&commands] { commands.Select(SelectAllFrames); });
  connect(none, &QPushButton::clicked, this, [&commands] { commands.Select(UnselectAllFrames); });
  connect(invert, &QPushButton::clicked, this, [&commands] { commands.Select(InvertSelection); });
}

}  // namespace lumetra
