#include "ui/hints.h"

#include <QApplication>
#include <QProxyStyle>
#include <QWidget>

#include "ui/qt_prompts.h"

namespace lumetra {

namespace {

class HintStyle : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* data) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return kHintPause;
    return QProxyStyle::styleHint(hint, option, widget, data);
  }
};

}  // namespace

void InstallHintTimings() {
  if (dynamic_cast<HintStyle*>(QApplication::style()) != nullptr) return;
  QApplication::setStyle(new HintStyle(QApplication::style()->name()));
}

void SetHint(QWidget* widget, const std::string& text) {
  widget->setToolTip(DisplayText(text));
  widget->setToolTipDuration(kHintHidePause);
}

}  // namespace lumetra
