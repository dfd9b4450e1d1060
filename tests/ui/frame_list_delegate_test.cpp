#include "ui/frame_list_delegate.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <cstdlib>
#include <string>

#include "document/document.h"
#include "foundation/time_value.h"
#include "ui/frame_list_model.h"

namespace lumetra {
namespace {

constexpr int kRowWidth = 560;

class FrameListDelegateTest : public testing::Test {
 protected:
  FrameListDelegateTest() : model_(doc_), delegate_(doc_) {}

  int AddFrame(TimeValue start, TimeValue end, const std::string& text) {
    EXPECT_TRUE(doc_.InsertFrame(doc_.FrameCount + 1, start, end, text));
    return doc_.FrameCount;
  }

  int Height(int frame) {
    QStyleOptionViewItem option;
    return delegate_.sizeHint(option, model_.index(frame - 1)).height();
  }

  // Paints a row into an image with a margin of 2 pixels below it.
  QImage Paint(int frame, bool selected) {
    const int height = Height(frame);
    QImage image(kRowWidth, height + 2, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, kRowWidth, height);
    option.state = QStyle::State_Enabled;
    if (selected) option.state |= QStyle::State_Selected;
    delegate_.paint(&painter, option, model_.index(frame - 1));
    painter.end();
    return image;
  }

  // Whether some pixel of the area has exactly this colour.
  static bool HasColour(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        if (image.pixelColor(x, y) == colour) return true;
      }
    }
    return false;
  }

  // Whether some pixel of the area is near this colour (thin regular strokes are never
  // painted in their full colour).
  static bool HasInk(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - colour.red()) < 70 && std::abs(c.green() - colour.green()) < 70 &&
            std::abs(c.blue() - colour.blue()) < 70) {
          return true;
        }
      }
    }
    return false;
  }

  Document doc_;
  FrameListModel model_;
  FrameListDelegate delegate_;
};

TEST_F(FrameListDelegateTest, RowHeightsFollowTheNumberOfLinesUpToEight) {
  EXPECT_EQ(Height(AddFrame(0, 1000, "one")), 16);
  EXPECT_EQ(Height(AddFrame(0, 1000, "Hello|world")), 31);
  EXPECT_EQ(Height(AddFrame(0, 1000, "1|2|3|4|5|6|7|8")), 121);
  EXPECT_EQ(Height(AddFrame(0, 1000, "1|2|3|4|5|6|7|8|9|10")), 121);
  EXPECT_EQ(Height(AddFrame(0, 1000, "")), 16);
}

TEST_F(FrameListDelegateTest, LayoutPlacesEveryPieceAtItsOffset) {
  const int frame = AddFrame(MakeTime(0, 1, 23, 450), MakeTime(0, 1, 26, 700), "Hello|world");
  const FrameRowLayout layout = delegate_.Layout(frame, QRect(10, 100, kRowWidth, 31), false, true);
  ASSERT_EQ(layout.runs.size(), 10u);
  const int time_y = 100 + 31 / 2 - 7;
  const struct {
    int x;
    int y;
    const char* text;
    bool bold;
  } expected[] = {
      {17, time_y, "0:", false},       {27, time_y, "01:23", true},
      {60, time_y, ".45", false},      {92, time_y, "0:", false},
      {102, time_y, "01:26", true},    {135, time_y, ".70", false},
      {171, time_y, "3", true},        {179, time_y, ".25", false},
      {217, 101, "Hello", true},       {217, 116, "world", true},
  };
  for (std::size_t i = 0; i < layout.runs.size(); ++i) {
    SCOPED_TRACE(expected[i].text);
    EXPECT_EQ(layout.runs[i].at, QPoint(expected[i].x, expected[i].y));
    EXPECT_EQ(layout.runs[i].text, QString::fromLatin1(expected[i].text));
    EXPECT_EQ(layout.runs[i].bold, expected[i].bold);
  }
  EXPECT_EQ(layout.runs[0].colour, FrameListDelegate::kStartColour);
  EXPECT_EQ(layout.runs[3].colour, FrameListDelegate::kEndColour);
  EXPECT_EQ(layout.runs[6].colour, FrameListDelegate::kLengthColour);
  EXPECT_EQ(layout.runs[8].colour, FrameListDelegate::kTextColour);
  EXPECT_EQ(delegate_.Layout(frame, QRect(), true, true).runs[8].colour,
            FrameListDelegate::kSelectedTextColour);
}

TEST_F(FrameListDelegateTest, TimesOfTenHoursAndMoreArePaintedFromTheirRealParts) {
  const int frame = AddFrame(MakeTime(12, 34, 56, 780), MakeTime(12, 35, 1, 0), "late");
  const FrameRowLayout layout = delegate_.Layout(frame, QRect(0, 0, kRowWidth, 16), false, true);
  ASSERT_GE(layout.runs.size(), 6u);
  EXPECT_EQ(layout.runs[0].text, "12:");
  EXPECT_EQ(layout.runs[0].at.x(), 0);
  EXPECT_EQ(layout.runs[1].text, "34:56");
  EXPECT_EQ(layout.runs[1].at.x(), 17);
  EXPECT_EQ(layout.runs[2].text, ".78");
  EXPECT_EQ(layout.runs[3].text, "12:");
  EXPECT_EQ(layout.runs[3].at.x(), 75);
  EXPECT_EQ(layout.runs[4].text, "35:01");
  EXPECT_EQ(layout.runs[5].text, ".00");
}

TEST_F(FrameListDelegateTest, LengthBelowOneSecondHasNoBoldDigits) {
  const int frame = AddFrame(1000, 1500, "x");
  const QImage image = Paint(frame, false);
  EXPECT_FALSE(HasInk(image, QRect(150, 0, 18, 16), FrameListDelegate::kLengthColour));
  EXPECT_TRUE(HasInk(image, QRect(169, 0, 22, 16), FrameListDelegate::kLengthColour));
}

TEST_F(FrameListDelegateTest, PaintsColoursLinesAndSeparators) {
  const int frame = AddFrame(MakeTime(0, 1, 23, 450), MakeTime(0, 1, 26, 700), "Hello|world");
  for (const bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "selected" : "not selected");
    const QImage image = Paint(frame, selected);
    const QColor background =
        selected ? FrameListDelegate::kSelectedBackground : FrameListDelegate::kBackground;
    const QColor separator =
        selected ? FrameListDelegate::kSelectedSeparator : FrameListDelegate::kSeparator;
    EXPECT_EQ(image.pixelColor(kRowWidth - 5, 20), background);
    EXPECT_EQ(image.pixelColor(3, 3), background);
    // Black lines along the top edge and the bottom edge (the next row's top).
    EXPECT_EQ(image.pixelColor(5, 0), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(kRowWidth - 5, 31), QColor(Qt::black));
    for (const int x : {73, 148, 193}) {
      EXPECT_EQ(image.pixelColor(x, 10), separator) << x;
      EXPECT_EQ(image.pixelColor(x, 25), separator) << x;
    }
    const int time_y = 31 / 2 - 7;
    EXPECT_TRUE(HasColour(image, QRect(17, time_y, 33, 14), FrameListDelegate::kStartColour));
    EXPECT_TRUE(HasColour(image, QRect(92, time_y, 33, 14), FrameListDelegate::kEndColour));
    EXPECT_TRUE(HasColour(image, QRect(161, time_y, 7, 14), FrameListDelegate::kLengthColour));
    const QColor text =
        selected ? FrameListDelegate::kSelectedTextColour : FrameListDelegate::kTextColour;
    EXPECT_TRUE(HasColour(image, QRect(207, 1, 60, 14), text));
    EXPECT_TRUE(HasColour(image, QRect(207, 16, 60, 14), text));
    // Nothing of the text leaks into the time columns.
    EXPECT_FALSE(HasColour(image, QRect(0, 1, 200, 29), text));
  }
}

TEST_F(FrameListDelegateTest, TenLinesShowTheFirstEight) {
  const int frame = AddFrame(0, 1000, "1|2|3|4|5|6|7|8|9|10");
  const FrameRowLayout layout = delegate_.Layout(frame, QRect(0, 0, kRowWidth, 121), false, true);
  int text_runs = 0;
  for (const auto& run : layout.runs) {
    if (run.at.x() == 207) {
      ++text_runs;
      EXPECT_EQ(run.at.y(), 15 * text_runs - 14);
      EXPECT_EQ(run.text, QString::number(text_runs));
    }
  }
  EXPECT_EQ(text_runs, 8);
}

}  // namespace
}  // namespace lumetra
