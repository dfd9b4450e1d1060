#include "document/info_dialog.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

// The eight statistics boxes, "Total frames" to "Filename", joined by " / ".
std::string Statistics(const Document& doc) {
  const InfoDialogModel info(doc);
  std::string joined = info.Box(10);
  for (int i = 11; i <= InfoDialogModel::kBoxes; ++i) joined += " / " + info.Box(i);
  return joined;
}

TEST(InfoDialogModel, StatisticsOfAnEmptySubtitleAndOfTwoFrames) {
  Document doc;
  doc.FileDir = "/Films/Old/";
  doc.FileName = "Movie.srt";
  EXPECT_EQ(Statistics(doc), "0 / 0 / 0 / N/A / N/A / 0 / /films/old/ / Movie.srt");
  EXPECT_EQ(InfoDialogModel(doc).Box(4), "Morvaly's Lumetra 1.33");
  doc.FileDir = doc.FileName = "";
  ASSERT_TRUE(doc.InsertFrame(1, 1000, 3000, "Hi"));
  ASSERT_TRUE(doc.InsertFrame(2, 4000, 5500, "A|B"));
  EXPECT_EQ(Statistics(doc), "2 / 3 / 0h 0m 5s 500ms / 1sec 750ms / 64 % / 4 /  / ");
}

TEST(InfoDialogModel, RoundsHalvesToEvenAndCountsWholeSeconds) {
  Document doc;
  doc.FrameCount = 2;
  // Lengths 1 and 2 ms: the average 1.5 rounds to 2; 1 of 8 ms visible (12.5 %) to 12.
  doc.FrameEnd[1] = 1;
  doc.FrameStart[2] = 6;
  doc.FrameEnd[2] = 8;
  EXPECT_EQ(Statistics(doc), "2 / 2 / 0h 0m 0s 8ms / 0sec 2ms / 38 % / 0 /  / ");
  doc.FrameStart[2] = 8;
  EXPECT_EQ(InfoDialogModel(doc).Box(13), "0sec 0ms");  // 0.5 rounds to 0
  EXPECT_EQ(InfoDialogModel(doc).Box(14), "12 %");
  doc.FrameCount = 1;
  doc.FrameEnd[1] = MakeTime(1, 2, 3, 4);
  EXPECT_EQ(InfoDialogModel(doc).Box(13), "3723sec 4ms");
  // All frames at zero: nothing visible.
  doc.FrameEnd[1] = 0;
  EXPECT_EQ(InfoDialogModel(doc).Box(14), "0 %");
}

TEST(InfoDialogModel, OkStoresTheNineFieldsAsTyped) {
  Document doc;
  InfoDialogModel info(doc);
  info.SetBox(1, "Movie");
  info.SetBox(3, " src ");
  info.SetBox(9, "[FONT]Tahoma");
  info.StoreInto(doc);
  EXPECT_EQ(doc.InfoFontLine, "[FONT]Tahoma");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(doc.ShowInfoSummary(), "Title=Movie    Source= src");
}

}  // namespace
}  // namespace lumetra
