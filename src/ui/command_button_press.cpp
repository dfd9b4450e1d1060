#include "ui/command_button_press.h"

#include <QPushButton>
#include <string>

#include "session/session.h"
#include "ui/controls.h"
#include "ui/window_commands.h"

namespace lumetra {

void RunCommandButton(WindowCommands& commands, CommandButton button) {
  Session& session = commands.session();
  std::string message;
  commands.Run(
      InfoOf(button).name,
      [&](Document& doc, const Selection& selection) {
        CommandResult result =
            PressCommandButton(button, doc, selection, session.editing_parameters());
        message = std::move(result.message);
        result.message.clear();
        return result;
      },
      false);
  if (!message.empty()) session.prompts().ShowMessage(message);
}

QPushButton* MakeCommandButton(WindowCommands& commands, CommandButton button, QWidget* parent) {
  const CommandButtonInfo& info = InfoOf(button);
  QPushButton* b = MakeButton(info.caption, info.control,
                              ButtonHint(button, commands.session().editing_parameters()), parent);
  b->setEnabled(WorksOnEveryFrame(button));
  MakeCompact(b);
  QObject::connect(b, &QPushButton::clicked, parent,
                   [&commands, button] { RunCommandButton(commands, button); });
  return b;
}

}  // namespace lumetra
