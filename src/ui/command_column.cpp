#include "ui/command_column.h"

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
  FitWidth();
}

void CommandColumn::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  FitWidth();
}

void CommandColumn::FitWidth() {
  // The scroll bar shows exactly when the groups are taller than the column.
  const bool scrolls = widget()->minimumSizeHint().height() > height();
  setFixedWidth(widget()->width() + (scrolls ? verticalScrollBar()->sizeHint().width() : 0));
}

}  // namespace lumetra
