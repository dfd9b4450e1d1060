// The "Frame Manipulation" group: insert, remove and merge frames. The toolbar's merge
// button runs the same merge.
#pragma once

#include <QGroupBox>

namespace lumetra {

class WindowCommands;

class ManipulationGroup : public QGroupBox {
  Q_OBJECT

 public:
  ManipulationGroup(WindowCommands& commands, QWidget* parent = nullptr);

  void Insert();
  void Remove();
  void Merge();

 private:
  WindowCommands& commands_;
};

}  // namespace lumetra
