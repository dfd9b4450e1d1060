#include "ui/look.h"

#include <QApplication>

#include "ui/hints.h"

namespace lumetra {

QFont SansFont(int pixel_size, bool bold) {
  QFont font;
  font.setFamilies({"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica", "DejaVu Sans"});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

void InstallLook() {
  InstallHintTimings();
  QApplication::setFont(SansFont(12));
}

}  // namespace lumetra
