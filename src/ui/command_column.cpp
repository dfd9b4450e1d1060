#include "ui/command_column.h"

#include <QEvent>
#include <QScrollBar>
#include <algorithm>

namespace lumetra {

CommandColumn::CommandColumn(QWidget* groups, int least_width, QWidget* parent)
    : QScrollArea(parent) {
  setFrameShape(QFrame::NoFrame);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setWidgetResizable(true);
  // Every caption of the groups in full, whatever the screen's font.
  groups->setFixedWidth(std::max(least_width, groups->minimumSizeHint().width()));
  setWidget(groups);
  verticalScrollBar()->installEventFilter(this);
  FitWidth();
}

bool CommandColumn::eventFilter(QObject* watched, QEvent* event) {
  if (watched == verticalScrollBar() &&
      (event->type() == QEvent::Show || event->type() == QEvent::Hide)) {
    FitWidth();
  }
  return QScrollArea::eventFilter(watched, event);
}

void CommandColumn::FitWidth() {
  const QScrollBar* bar = verticalScrollBar();
  setFixedWidth(widget()->width() + (bar->isVisibleTo(this) ? bar->sizeHint().width() : 0));
}

}  // namespace lumetra
