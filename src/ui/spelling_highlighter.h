// Underlines the words of the text box that the chosen dictionary does not know, and gives
// the text box's menu the word's suggestions, "Ignore all" and "Add to dictionary".
#pragma once

#include <QSyntaxHighlighter>
#include <utility>
#include <vector>

class QMenu;
class QPlainTextEdit;
class QPoint;

namespace lumetra {

class SpellingService;

class SpellingHighlighter : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  // Follows the service: another language, a word ignored or added.
  SpellingHighlighter(SpellingService& spelling, QPlainTextEdit* box);

  // The unknown words of a line: their start and length in the line's characters.
  std::vector<std::pair<int, int>> UnknownWords(const QString& line);

  // Puts the spelling actions of the word at `pos` (in the box's coordinates) at the top of
  // `menu`: up to 8 suggestions that replace the word, "Ignore all", "Add to dictionary".
  // Nothing for a known word or with the spell check off.
  void AddActions(QMenu* menu, const QPoint& pos);

 signals:
  // "Add to dictionary" could not write the personal word list.
  void addFailed(const QString& problem);

 protected:
  void highlightBlock(const QString& text) override;

 private:
  SpellingService& spelling_;
  QPlainTextEdit* box_;
};

}  // namespace lumetra
