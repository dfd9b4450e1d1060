// The spelling language of the document, in the toolbar: "No spelling" or one of the
// installed dictionaries; with none installed it says so and stays off.
#pragma once

#include <QComboBox>

namespace lumetra {

class SpellingService;

class SpellLanguageBox : public QComboBox {
  Q_OBJECT

 public:
  SpellLanguageBox(SpellingService& spelling, QWidget* parent = nullptr);
};

}  // namespace lumetra
