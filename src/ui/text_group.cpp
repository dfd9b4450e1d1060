#include "ui/text_group.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <string>

#include "editing/search.h"
#include "session/session.h"
#include "ui/command_button_press.h"
#include "ui/controls.h"
#include "ui/frame_keys.h"
#include "ui/text_codec.h"
#include "ui/window_commands.h"

namespace lumetra {

TextGroup::TextGroup(WindowCommands& commands, QListView* list, QWidget* parent)
    : QGroupBox("Text", parent), commands_(commands), list_(list) {
  setObjectName("GroupBox6");
  EditingParameters& p = commands.session().editing_parameters();
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 0, 6, 2);
  grid->setHorizontalSpacing(3);
  grid->setVerticalSpacing(1);

  search_box_ = new QLineEdit(this);
  search_box_->setObjectName("Edit6");
  SetHint(search_box_, HintWithKey("The text to search for; Enter searches", kSearchKey));
  search_box_->installEventFilter(this);
  search_button_ = MakeButton("Search", "Button17", kSearchHint, this);
  connect(search_button_, &QPushButton::clicked, this, &TextGroup::Search);
  MakeCompact(search_box_);
  MakeCompact(search_button_);
  grid->addWidget(search_box_, 0, 0);
  grid->addWidget(search_button_, 0, 1);

  int row = 1;
  grid->addWidget(
      MakeCheckBox("Non-Case sensitive search", "CheckBox5",
                   "If checked, uppercase/downcase is the same for the program", &p.ignore_case),
      row++, 0, 1, 2);
  QCheckBox* select = MakeCheckBox(
      "Select search results (frames)", "CheckBox3",
      "If checked, every frame that\rcontains the text will be selected", &p.select_results);
  QCheckBox* from_beginning = MakeCheckBox(
      "Search from the beginning", "CheckBox6",
      "Search will start from the beginning,\rand not from the current frame", &p.from_beginning);
  from_beginning->setEnabled(select->isChecked());
  connect(select, &QCheckBox::toggled, from_beginning, &QCheckBox::setEnabled);
  grid->addWidget(select, row++, 0, 1, 2);
  grid->addWidget(from_beginning, row++, 0, 1, 2);

  for (CommandButton b : {CommandButton::kFixDashes, CommandButton::kFixSpacing}) {
    grid->addWidget(MakeCommandButton(commands, b, this), row++, 0, 1, 2);
  }
  grid->addWidget(MakeCommandButton(commands, CommandButton::kSpellCheckEnglish, this), row, 0);
  grid->addWidget(MakeCommandButton(commands, CommandButton::kSpellCheckHungarian, this), row++, 1);
  grid->addWidget(MakeCheckBox("Only select errors, do not replace!", "CheckBox7",
                               "If an error has been found, it will not be corrected "
                               "automatically.\rSearch will only select the frames.",
                               &p.only_select_errors),
                  row++, 0, 1, 2);

  grid->setRowStretch(row, 1);
}

QCheckBox* TextGroup::MakeCheckBox(const char* caption, const char* name, const char* hint,
                                   bool* value) {
  auto* box = new QCheckBox(QString::fromLatin1(caption), this);
  box->setObjectName(QString::fromLatin1(name));
  SetHint(box, hint);
  box->setChecked(*value);
  MakeCompact(box);
  connect(box, &QCheckBox::toggled, this, [value](bool on) { *value = on; });
  return box;
}

void TextGroup::Search() {
  const EditingParameters& p = commands_.session().editing_parameters();
  const SearchOptions options{p.ignore_case, p.select_results, p.from_beginning};
  const std::string needle =
      EncodeText(search_box_->text(), commands_.session().document().Encoding);
  std::string message;
  commands_.Select([&](const Document& doc, const Selection& selection) {
    CommandResult result = SearchFrames(doc, selection, needle, options);
    message = std::move(result.message);
    return result.selection;
  });
  if (!message.empty()) commands_.session().prompts().ShowMessage(message);
  list_->setFocus();
}

bool TextGroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == search_box_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (search_button_->isEnabled()) {
        search_button_->setFocus();
        search_button_->click();
      }
      return true;
    }
  }
  return QGroupBox::eventFilter(watched, event);
}

}  // namespace lumetra
