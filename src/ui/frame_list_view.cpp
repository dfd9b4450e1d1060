#include "ui/frame_list_view.h"

#include <QFocusEvent>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>

#include "ui/frame_list_delegate.h"
#include "ui/frame_list_model.h"
#include "ui/look.h"

namespace lumetra {

namespace {

// Widths of the column heads: they end at the row separators.
constexpr int kStartHeadWidth = 73;
constexpr int kEndHeadWidth = 75;
constexpr int kLengthHeadWidth = 45;

// A frame list that does not focus a row of its own accord when it receives the keyboard
// (Qt's lists focus their first row then): the focused frame is the user's, or the
// command's. Only a list reached by Tab shows where the arrow keys start.
class FrameListView : public QListView {
 public:
  using QListView::QListView;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    const bool had_focused_row = currentIndex().isValid();
    QListView::focusInEvent(event);
    const bool by_tab =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    if (!had_focused_row && !by_tab && currentIndex().isValid()) {
      selectionModel()->clearCurrentIndex();
    }
  }
};

}  // namespace

QHBoxLayout* MakeFrameListHeads(QWidget* parent, const std::array<const char*, 4>& names) {
  auto* heads = new QHBoxLayout;
  heads->setSpacing(0);
  heads->setContentsMargins(1, 0, 0, 0);
  struct Head {
    const char* text;
    int width;
    QColor colour;
  };
  const Head head_list[4] = {
      {"  Start ", kStartHeadWidth, FrameListDelegate::kStartColour},
      {" End", kEndHeadWidth, FrameListDelegate::kEndColour},
      {"Length", kLengthHeadWidth, FrameListDelegate::kLengthColour},
      {"   Text", 0, FrameListDelegate::kTextColour},
  };
  for (std::size_t i = 0; i < 4; ++i) {
    const Head& h = head_list[i];
    auto* label = new QLabel(QString::fromLatin1(h.text), parent);
    label->setObjectName(QString::fromLatin1(names[i]));
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, h.colour);
    label->setPalette(palette);
    if (h.width > 0) {
      label->setFixedWidth(h.width);
      heads->addWidget(label);
    } else {
      heads->addWidget(label, 1);
    }
  }
  return heads;
}

QListView* MakeFrameListView(const char* name, FrameListModel* model, FrameListDelegate* delegate,
                             QWidget* parent) {
  auto* list = new FrameListView(parent);
  list->setObjectName(QString::fromLatin1(name));
  list->setModel(model);
  list->setItemDelegate(delegate);
  list->setUniformItemSizes(false);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->setFont(SansFont(11, true));  // 8 points on a 96-dpi screen
  QPalette palette = list->palette();
  palette.setColor(QPalette::Base, FrameListDelegate::kBackground);
  list->setPalette(palette);
  return list;
}

void GiveKeyboardTo(QListView* list) { list->setFocus(Qt::OtherFocusReason); }

}  // namespace lumetra
