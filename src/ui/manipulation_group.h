// The "Frame Manipulation" group: insert, remove and merge frames. The toolbar's merge
// button runs the same merge.
#pragma once

#include <QGroupBox>

namespace lumetra {

class WindowCommands;

inline constexpr char kMergeHint[] =
    "Copies two frame into one frame\r(the second frame will be deleted)\rTiming:  First "
    "Start....Second End";

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
