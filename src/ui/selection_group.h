// The "Frame Selection" group: select all, unselect all and invert the frame list's
// selection.
#pragma once

#include <QGroupBox>

namespace lumetra {

class WindowCommands;

class SelectionGroup : public QGroupBox {
  Q_OBJECT

 public:
  SelectionGroup(WindowCommands& commands, QWidget* parent = nullptr);
};

}  // namespace lumetra
