#include "ui/frame_list_delegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "document/document.h"
#include "foundation/time_value.h"
#include "ui/frame_list_model.h"

namespace lumetra {
namespace {

using D = FrameListDelegate;
constexpr int kRowWidth = 560;

// Whether some pixel of the area is near this colour (thin strokes never reach it fully).
bool HasInk(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::max({std::abs(c.red() - colour.red()), std::abs(c.green() - colour.green()),
                    std::abs(c.blue() - colour.blue())}) < 70) {
        return true;
      }
    }
  }
  return false;
}

TEST(FrameListDelegate, RowsHaveTheirHeightAndPaintEveryPartAtItsOffset) {
  struct Ink {  // along the times, which are centred in the row
    int x;
    int width;
    QColor colour;
    bool present;
  };
  const struct {
    TimeValue start;
    TimeValue end;
    const char* text;
    bool selected;
    int height;
    int shown_lines;
    std::vector<Ink> inks;
  } rows[] = {
      {MakeTime(0, 1, 23, 450), MakeTime(0, 1, 26, 700), "Hello|world", false, 31, 2,
       {{0, 7, D::kStartColour, false},
        {7, 9, D::kStartColour, true},
        {17, 33, D::kStartColour, true},
        {82, 9, D::kEndColour, true},
        {92, 33, D::kEndColour, true},
        {161, 7, D::kLengthColour, true}}},
      // Hours of two digits end where one digit and its colon end.
      {MakeTime(12, 34, 56, 780), MakeTime(12, 35, 1, 0), "late", true, 16, 1,
       {{0, 7, D::kStartColour, true},
        {17, 33, D::kStartColour, true},
        {75, 7, D::kEndColour, true}}},
      // A length below one second has no bold whole part.
      {1000, 1500, "1|2|3|4|5|6|7|8", false, 121, 8,
       {{150, 18, D::kLengthColour, false}, {169, 22, D::kLengthColour, true}}},
      {0, 1000, "1|2|3|4|5|6|7|8|9|10", true, 121, 8, {{161, 7, D::kLengthColour, true}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    Document doc;
    ASSERT_TRUE(doc.InsertFrame(1, row.start, row.end, row.text));
    FrameListModel model(doc);
    FrameListDelegate delegate(doc);
    const QModelIndex index = model.index(0);
    EXPECT_EQ(delegate.sizeHint(QStyleOptionViewItem(), index).height(), row.height);

    QImage image(kRowWidth, row.height + 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, kRowWidth, row.height);
    option.state = row.selected ? QStyle::State_Selected : QStyle::State_Enabled;
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    painter.end();

    EXPECT_EQ(image.pixelColor(kRowWidth - 5, row.height / 2),
              row.selected ? D::kSelectedBackground : D::kBackground);
    // Black lines along the top edge and the bottom edge (the next row's top).
    EXPECT_EQ(image.pixelColor(5, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(kRowWidth - 5, row.height), QColor(Qt::black));
    for (const int x : {73, 148, 193}) {
      EXPECT_EQ(image.pixelColor(x, row.height - 2),
                row.selected ? D::kSelectedSeparator : D::kSeparator);
    }
    const int time_y = row.height / 2 - 7;
    for (const Ink& ink : row.inks) {
      EXPECT_EQ(HasInk(image, QRect(ink.x, time_y, ink.width, 14), ink.colour), ink.present)
          << ink.x;
    }
    const QColor text = row.selected ? D::kSelectedTextColour : D::kTextColour;
    for (int line = 1; line <= row.shown_lines; ++line) {
      EXPECT_TRUE(HasInk(image, QRect(207, 15 * line - 14, 40, 14), text)) << line;
    }
    // No text in the time columns nor below the row.
    EXPECT_FALSE(HasInk(image, QRect(0, 1, 200, row.height - 2), text));
    EXPECT_FALSE(HasInk(image, QRect(0, row.height + 1, kRowWidth, 19), text));
  }
}

}  // namespace
}  // namespace lumetra
