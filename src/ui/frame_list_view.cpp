#include "ui/frame_list_view.h"

#include <QHBoxLayout>
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
  auto* list = new QListView(parent);
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

void GiveKeyboardTo(QListView* list) {
  // A list that receives the keyboard from a click focuses no row of its own accord.
  list->setFocus(Qt::MouseFocusReason);
}

}  // namespace lumetra
