// The "Text" group of the "Text" tab: the search box with "Search" and its three check
// boxes, the dash fix, the comma/dot spacing, the English and Hungarian corrections and
// "Only select errors, do not replace!". The check boxes are views of the session's
// editing parameters.
#pragma once

#include <QGroupBox>

class QCheckBox;
class QLineEdit;
class QListView;
class QPushButton;

namespace lumetra {

class WindowCommands;

inline constexpr char kSearchHint[] =
    "Searches for a text in every frame\r(starting from the current frame)\rIf \"select search "
    "results\" is checked,\rall hit will be selected...";

class TextGroup : public QGroupBox {
  Q_OBJECT

 public:
  // `list` is the frame list, which gets the keyboard focus after a search.
  TextGroup(WindowCommands& commands, QListView* list, QWidget* parent = nullptr);

  // The search box (Edit6), which F3 in the frame list focuses.
  QLineEdit* searchBox() const { return search_box_; }

  // "Search", or Enter in the search box.
  void Search();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QCheckBox* MakeCheckBox(const char* caption, const char* name, const char* hint, bool* value);

  WindowCommands& commands_;
  QListView* list_;
  QLineEdit* search_box_ = nullptr;       // Edit6
  QPushButton* search_button_ = nullptr;  // Button17
};

}  // namespace lumetra
