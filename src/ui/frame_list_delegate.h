// Measures and paints the rows of a frame list: the start, end and length columns in
// their colours and the first lines of the text, with lines between rows and columns.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>
#include <vector>

#include "document/document.h"
#include "editing/quality_checks.h"

namespace lumetra {

// Where and how one row is painted. Offsets are from the row's left and top edges.
struct FrameRowLayout {
  struct Run {
    QPoint at;  // top-left corner of the text
    QString text;
    bool bold = false;
    QColor colour;
  };
  // A broken check: a corner of the end column (overlap, gap) or of the length column
  // (the others) in the rule's colour.
  struct Mark {
    QRect corner;
    QColor colour;
  };
  int height = 0;
  QColor background;
  QColor separator;
  std::vector<Run> runs;    // filled only when asked for
  std::vector<Mark> marks;  // the same
};

class FrameListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // Colours of the rows.
  static const QColor kSelectedBackground;    // #ABD3D3
  static const QColor kBackground;            // #FEFFD7
  static const QColor kStartColour;           // #006400
  static const QColor kEndColour;             // #950000
  static const QColor kLengthColour;          // #910091
  static const QColor kSelectedTextColour;    // #000000
  static const QColor kTextColour;            // #0000D7
  static const QColor kSelectedSeparator;     // #808080
  static const QColor kSeparator;             // #A7A895
  // Marks of broken checks: an overlap or an empty text, and the others.
  static const QColor kErrorMark;    // #E00000
  static const QColor kWarningMark;  // #FF8C00
  static constexpr int kMarkSize = 7;
  // x offsets of the column separators.
  static constexpr int kSeparatorX[3] = {73, 148, 193};

  explicit FrameListDelegate(const Document& doc, QObject* parent = nullptr);

  // The one layout routine of a row: its height, colours and, with runs, every text piece
  // at its place. rect is the row's rectangle (its height is not read).
  FrameRowLayout Layout(int frame, const QRect& rect, bool selected, bool with_runs) const;

  // The limits of the quality checks (not owned); null: no marks.
  void SetCheckLimits(const CheckLimits* limits) { limits_ = limits; }

  // The font the rows are painted in: 9 points (12 pixels), regular or bold.
  QFont RowFont(bool bold) const;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  const Document& doc_;
  const CheckLimits* limits_ = nullptr;
  QFont regular_;
  QFont bold_;
};

}  // namespace lumetra
