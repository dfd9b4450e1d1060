// What the two frame lists (ListBox1 of the "Text" tab and ListBox2 of the "Timing" tab)
// have in common: the column heads above them and the look of the list itself.
#pragma once

#include <array>

class QHBoxLayout;
class QListView;
class QWidget;

namespace lumetra {

class FrameListDelegate;
class FrameListModel;

// The heads "  Start ", " End", "Length" and "   Text" in the colours of their columns,
// ending at the rows' separators; `names` are the labels' control names.
QHBoxLayout* MakeFrameListHeads(QWidget* parent, const std::array<const char*, 4>& names);

// A list of the document's frames, painted by the delegate. It focuses no row of its own
// accord when it receives the keyboard (unless by Tab).
QListView* MakeFrameListView(const char* name, FrameListModel* model, FrameListDelegate* delegate,
                             QWidget* parent);

// Gives the list the keyboard; no frame becomes the focused one by it, so commands that
// start from the focused frame (the search) still start from the top.
void GiveKeyboardTo(QListView* list);

}  // namespace lumetra
