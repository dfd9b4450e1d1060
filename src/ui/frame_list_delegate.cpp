#include "ui/frame_list_delegate.h"

#include <QPainter>

#include "editing/frame_row.h"
#include "ui/frame_list_model.h"
#include "ui/look.h"
#include "ui/text_codec.h"

namespace lumetra {

const QColor FrameListDelegate::kSelectedBackground(0xAB, 0xD3, 0xD3);
const QColor FrameListDelegate::kBackground(0xFE, 0xFF, 0xD7);
const QColor FrameListDelegate::kStartColour(0x00, 0x64, 0x00);
const QColor FrameListDelegate::kEndColour(0x95, 0x00, 0x00);
const QColor FrameListDelegate::kLengthColour(0x91, 0x00, 0x91);
const QColor FrameListDelegate::kSelectedTextColour(0x00, 0x00, 0x00);
const QColor FrameListDelegate::kTextColour(0x00, 0x00, 0xD7);
const QColor FrameListDelegate::kSelectedSeparator(0x80, 0x80, 0x80);
const QColor FrameListDelegate::kSeparator(0xA7, 0xA8, 0x95);
const QColor FrameListDelegate::kErrorMark(0xE0, 0x00, 0x00);
const QColor FrameListDelegate::kWarningMark(0xFF, 0x8C, 0x00);

FrameListDelegate::FrameListDelegate(const Document& doc, QObject* parent)
    : QStyledItemDelegate(parent), doc_(doc), regular_(SansFont(12)), bold_(SansFont(12, true)) {}

QFont FrameListDelegate::RowFont(bool bold) const { return bold ? bold_ : regular_; }

FrameRowLayout FrameListDelegate::Layout(int frame, const QRect& rect, bool selected,
                                         bool with_runs) const {
  FrameRowLayout layout;
  const std::string& text = doc_.FrameText[static_cast<std::size_t>(frame)];
  layout.height = FrameRowHeight(text);
  layout.background = selected ? kSelectedBackground : kBackground;
  layout.separator = selected ? kSelectedSeparator : kSeparator;
  if (!with_runs) return layout;

  const int left = rect.left();
  const int top = rect.top();
  const int time_y = top + layout.height / 2 - 7;
  auto add = [&](int x, int y, const std::string& piece, bool bold, const QColor& colour) {
    if (piece.empty()) return;
    layout.runs.push_back({QPoint(x, y), QString::fromLatin1(piece), bold, colour});
  };

  const TimeValue start = doc_.FrameStart[static_cast<std::size_t>(frame)];
  const TimeValue end = doc_.FrameEnd[static_cast<std::size_t>(frame)];
  // Hours of two digits and more end where one digit and its colon end.
  auto hours_x = [](int x, const std::string& hours) {
    const int extra = static_cast<int>(hours.size()) - 2;
    return extra > 0 ? x - 7 * extra : x;
  };
  const TimeColumn s = TimeColumnOf(start);
  add(left + hours_x(7, s.hours), time_y, s.hours, false, kStartColour);
  add(left + 17, time_y, s.middle, true, kStartColour);
  add(left + 50, time_y, s.rest, false, kStartColour);

  const TimeColumn e = TimeColumnOf(end);
  add(left + hours_x(82, e.hours), time_y, e.hours, false, kEndColour);
  add(left + 92, time_y, e.middle, true, kEndColour);
  add(left + 125, time_y, e.rest, false, kEndColour);

  const LengthColumn length = LengthColumnOf(start, end);
  add(left + 168 - 7 * static_cast<int>(length.whole.size()), time_y, length.whole, true,
      kLengthColour);
  add(left + 169, time_y, length.rest, false, kLengthColour);

  if (limits_ != nullptr) {
    std::vector<Finding> findings;
    CheckFrame(doc_, frame, *limits_, findings);
    // One mark a column, red when any of its rules is an error.
    QColor end_mark, length_mark;
    for (const Finding& f : findings) {
      const bool error = f.rule == CheckRule::kOverlap || f.rule == CheckRule::kEmptyText;
      const bool end_column = f.rule == CheckRule::kOverlap || f.rule == CheckRule::kShortGap;
      QColor& mark = end_column ? end_mark : length_mark;
      if (error || !mark.isValid()) mark = error ? kErrorMark : kWarningMark;
    }
    auto corner = [&](int column_right) {
      return QRect(left + column_right - kMarkSize, top + 1, kMarkSize, kMarkSize);
    };
    if (end_mark.isValid()) layout.marks.push_back({corner(kSeparatorX[1]), end_mark});
    if (length_mark.isValid()) layout.marks.push_back({corner(kSeparatorX[2]), length_mark});
  }

  const QColor text_colour = selected ? kSelectedTextColour : kTextColour;
  const std::vector<std::string> lines = ShownLines(text);
  for (std::size_t j = 1; j <= lines.size(); ++j) {
    const int y = top + 15 * static_cast<int>(j) - 14;
    if (lines[j - 1].empty()) continue;
    layout.runs.push_back(
        {QPoint(left + 207, y), DecodeText(lines[j - 1], doc_.Encoding), true, text_colour});
  }
  return layout;
}

QSize FrameListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  const int frame = index.data(FrameListModel::kFrameRole).toInt();
  const FrameRowLayout layout = Layout(frame, option.rect, false, false);
  return QSize(option.rect.width() > 0 ? option.rect.width() : 1, layout.height);
}

void FrameListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  const int frame = index.data(FrameListModel::kFrameRole).toInt();
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QRect& r = option.rect;
  const FrameRowLayout layout = Layout(frame, r, selected, true);

  painter->save();
  painter->setRenderHint(QPainter::Antialiasing, false);
  painter->fillRect(r, layout.background);
  for (const FrameRowLayout::Run& run : layout.runs) {
    painter->setFont(run.bold ? bold_ : regular_);
    painter->setPen(run.colour);
    painter->drawText(QRect(run.at, QSize(4096, 64)), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                      run.text);
  }
  for (const FrameRowLayout::Mark& mark : layout.marks) {
    // A triangle in the column's top right corner.
    const QRect& c = mark.corner;
    const QPoint corner[3] = {c.topLeft(), QPoint(c.right() + 1, c.top()),
                              QPoint(c.right() + 1, c.bottom() + 1)};
    painter->setPen(Qt::NoPen);
    painter->setBrush(mark.colour);
    painter->drawPolygon(corner, 3);
  }
  painter->setBrush(Qt::NoBrush);
  // The top edge here and the bottom edge, which is the next row's top edge.
  painter->setPen(Qt::black);
  painter->drawLine(r.left(), r.top(), r.right(), r.top());
  painter->drawLine(r.left(), r.top() + r.height(), r.right(), r.top() + r.height());
  painter->setPen(layout.separator);
  for (int x : kSeparatorX) painter->drawLine(r.left() + x, r.top(), r.left() + x, r.bottom());
  if (option.state.testFlag(QStyle::State_HasFocus)) {
    QPen focus(Qt::black);
    focus.setStyle(Qt::DotLine);
    painter->setPen(focus);
    painter->drawRect(r.adjusted(1, 1, -2, -2));
  }
  painter->restore();
}

}  // namespace lumetra
