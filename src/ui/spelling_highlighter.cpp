#include "ui/spelling_highlighter.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include "editing/editor_panel.h"
#include "ui/spelling_service.h"

namespace lumetra {

namespace {

// The characters (UTF-16) of a UTF-8 prefix.
int Utf16Length(const std::string& utf8, std::size_t bytes) {
  return static_cast<int>(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(bytes)).size());
}

}  // namespace

SpellingHighlighter::SpellingHighlighter(SpellingService& spelling, QPlainTextEdit* box)
    : QSyntaxHighlighter(box->document()), spelling_(spelling), box_(box) {
  connect(&spelling, &SpellingService::changed, this, &QSyntaxHighlighter::rehighlight);
}

std::vector<std::pair<int, int>> SpellingHighlighter::UnknownWords(const QString& line) {
  std::vector<std::pair<int, int>> words;
  SpellChecker* checker = spelling_.checker();
  if (checker == nullptr || EditorShowsMarker(line.toStdString())) return words;
  const std::string utf8 = line.toStdString();
  for (const WordSpan& w : checker->UnknownWords(utf8, CodePage::kUtf8)) {
    const int begin = Utf16Length(utf8, w.begin);
    words.emplace_back(begin, Utf16Length(utf8, w.end) - begin);
  }
  return words;
}

void SpellingHighlighter::highlightBlock(const QString& text) {
  QTextCharFormat underline;
  underline.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  underline.setUnderlineColor(QColor(0xFF, 0x40, 0x40));
  for (const auto& [begin, length] : UnknownWords(text)) setFormat(begin, length, underline);
}

void SpellingHighlighter::AddActions(QMenu* menu, const QPoint& pos) {
  const QTextCursor at = box_->cursorForPosition(pos);
  const QTextBlock block = at.block();
  const int column = at.positionInBlock();
  for (const auto& [begin, length] : UnknownWords(block.text())) {
    if (column < begin || column > begin + length) continue;
    const QString word = block.text().mid(begin, length);
    const int start = block.position() + begin;
    QAction* first = menu->actions().isEmpty() ? nullptr : menu->actions().first();
    auto insert = [&](QAction* action) { menu->insertAction(first, action); };
    const std::vector<std::string> suggestions =
        spelling_.checker()->Suggestions(word.toStdString());
    if (suggestions.empty()) {
      QAction* none = new QAction("(no suggestions)", menu);
      none->setEnabled(false);
      insert(none);
    }
    for (const std::string& s : suggestions) {
      const QString suggestion = QString::fromStdString(s);
      QAction* action = new QAction(suggestion, menu);
      QFont bold = action->font();
      bold.setBold(true);
      action->setFont(bold);
      connect(action, &QAction::triggered, box_, [this, start, length, suggestion] {
        QTextCursor cursor(box_->document());
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        cursor.insertText(suggestion);
      });
      insert(action);
    }
    QAction* separator = new QAction(menu);
    separator->setSeparator(true);
    insert(separator);
    QAction* ignore = new QAction("Ignore all", menu);
    ignore->setObjectName("IgnoreAllItem");
    connect(ignore, &QAction::triggered, this,
            [this, word] { spelling_.IgnoreAll(word.toStdString()); });
    insert(ignore);
    QAction* add = new QAction("Add to dictionary", menu);
    add->setObjectName("AddToDictionaryItem");
    connect(add, &QAction::triggered, this, [this, word] {
      const std::string problem = spelling_.AddToDictionary(word.toStdString());
      if (!problem.empty()) emit addFailed(QString::fromStdString(problem));
    });
    insert(add);
    QAction* after = new QAction(menu);
    after->setSeparator(true);
    insert(after);
    return;
  }
}

}  // namespace lumetra
