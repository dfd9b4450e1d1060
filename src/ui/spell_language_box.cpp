#include "ui/spell_language_box.h"

#include "ui/hints.h"
#include "ui/spelling_service.h"

namespace lumetra {

SpellLanguageBox::SpellLanguageBox(SpellingService& spelling, QWidget* parent) : QComboBox(parent) {
  setObjectName("SpellLanguage");
  setFocusPolicy(Qt::NoFocus);
  addItem("No spelling", QString());
  for (const DictionaryFiles& d : spelling.dictionaries()) {
    addItem(QString::fromStdString(d.language), QString::fromStdString(d.language));
  }
  if (spelling.installed()) {
    SetHint(this,
            "Spelling language of the subtitle: the words its dictionary does not\r"
            "know are underlined in the textedit box");
  } else {
    setItemText(0, "No dictionary");
    setEnabled(false);
    SetHint(this, kNoDictionaries);
  }
  connect(this, &QComboBox::activated, this, [this, &spelling](int index) {
    spelling.SetLanguage(itemData(index).toString().toStdString());
  });
  connect(&spelling, &SpellingService::changed, this, [this, &spelling] {
    const int index = findData(QString::fromStdString(spelling.language()));
    setCurrentIndex(index >= 0 ? index : 0);
  });
}

}  // namespace lumetra
