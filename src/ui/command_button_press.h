// The buttons of the "Timing" and "Text" groups that run a command: built from the core's
// table of command buttons, pressed through the window's command runner as one undo step.
#pragma once

#include "editing/command_buttons.h"

class QPushButton;
class QWidget;

namespace lumetra {

class WindowCommands;

// Runs the button's command on the document and the frame list's selection with the
// session's parameters. The keyboard focus stays where it is; the command's message comes
// after the list shows the new selection.
void RunCommandButton(WindowCommands& commands, CommandButton button);

// A push button with the button's control name, caption and hint whose click presses it.
// A button that needs a selection starts disabled, as after the start-up's empty document.
QPushButton* MakeCommandButton(WindowCommands& commands, CommandButton button, QWidget* parent);

}  // namespace lumetra
