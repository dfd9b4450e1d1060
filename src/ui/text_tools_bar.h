// The small bar above the frame list: Find and replace, the "Checks" panel's switch, the
// spelling language of the document and "Check spelling…".
#pragma once

#include <QWidget>

class QToolButton;

namespace lumetra {

class SpellingService;
class SpellLanguageBox;

class TextToolsBar : public QWidget {
  Q_OBJECT

 public:
  TextToolsBar(SpellingService& spelling, QWidget* parent = nullptr);

  // The switch of the "Checks" panel (checkable).
  QToolButton* checksButton() const { return checks_; }

 signals:
  void findReplaceRequested();
  void spellCheckRequested();
  void checksToggled(bool shown);

 private:
  QToolButton* checks_ = nullptr;
};

}  // namespace lumetra
