#include "ui/text_tools_bar.h"

#include <QHBoxLayout>
#include <QToolButton>

#include "ui/hints.h"
#include "ui/spell_language_box.h"
#include "ui/tool_button.h"

namespace lumetra {

namespace {

QToolButton* MakeBarButton(Glyph glyph, const char* name, const char* hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setAutoRaise(true);
  button->setIcon(GlyphIcon(glyph));
  button->setIconSize(QSize(18, 18));
  button->setFixedSize(24, 22);
  button->setFocusPolicy(Qt::NoFocus);
  SetHint(button, hint);
  return button;
}

}  // namespace

TextToolsBar::TextToolsBar(SpellingService& spelling, QWidget* parent) : QWidget(parent) {
  setObjectName("TextToolsBar");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  QToolButton* find = MakeBarButton(Glyph::kFindReplace, "FindReplaceButton",
                                    "Find and replace  (Ctrl+H)\rCtrl+F: the search box", this);
  connect(find, &QToolButton::clicked, this, &TextToolsBar::findReplaceRequested);
  checks_ = MakeBarButton(Glyph::kChecks, "ChecksButton",
                          "Quality checks: overlaps, gaps, lengths, reading speed,\rline "
                          "lengths and empty frames, listed under the frame list",
                          this);
  checks_->setCheckable(true);
  connect(checks_, &QToolButton::toggled, this, &TextToolsBar::checksToggled);
  auto* language = new SpellLanguageBox(spelling, this);
  language->setFixedHeight(22);
  QToolButton* check = MakeBarButton(Glyph::kSpellCheck, "SpellCheckButton",
                                     "Check spelling\u2026\rWalks through the words the "
                                     "dictionary does not know,\rin every frame (or in the "
                                     "selected frames)",
                                     this);
  connect(check, &QToolButton::clicked, this, &TextToolsBar::spellCheckRequested);
  row->addWidget(find);
  row->addWidget(checks_);
  row->addSpacing(4);
  row->addWidget(language);
  row->addWidget(check);
}

}  // namespace lumetra
