#include "document/info_dialog.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(InfoDialogModel, EmptySubtitleShowsDefaults) {
  Document doc;
  doc.FileDir = "/Films/Old/";
  doc.FileName = "Movie.srt";
  const InfoDialogModel info(doc);
  EXPECT_EQ(info.Box(4), "Morvaly's Lumetra 1.33");
  EXPECT_EQ(info.Box(10), "0");
  EXPECT_EQ(info.Box(11), "0");
  EXPECT_EQ(info.Box(12), "0");
  EXPECT_EQ(info.Box(13), "N/A");
  EXPECT_EQ(info.Box(14), "N/A");
  EXPECT_EQ(info.Box(15), "0");
  EXPECT_EQ(info.Box(16), "/films/old/");
  EXPECT_EQ(info.Box(17), "Movie.srt");
}

TEST(InfoDialogModel, StatisticsOfTwoFrames) {
  Document doc;
  doc.FrameCount = 2;
  doc.FrameStart[1] = 1000;
  doc.FrameEnd[1] = 3000;
  doc.FrameText[1] = "Hi";
  doc.FrameStart[2] = 4000;
  doc.FrameEnd[2] = 5500;
  doc.FrameText[2] = "A|B";
  const InfoDialogModel info(doc);
  EXPECT_EQ(info.Box(10), "2");
  EXPECT_EQ(info.Box(11), "3");
  EXPECT_EQ(info.Box(12), "0h 0m 5s 500ms");
  EXPECT_EQ(info.Box(13), "1sec 750ms");
  EXPECT_EQ(info.Box(14), "64 %");
  EXPECT_EQ(info.Box(15), "4");
}

TEST(InfoDialogModel, RoundsHalvesToEven) {
  Document doc;
  doc.FrameCount = 2;
  // Lengths 1 and 2 ms: the average 1.5 ms rounds to 2; lengths 1 and 0: 0.5 rounds to 0.
  doc.FrameEnd[1] = 1;
  doc.FrameStart[2] = 10;
  doc.FrameEnd[2] = 12;
  EXPECT_EQ(InfoDialogModel(doc).Box(13), "0sec 2ms");
  doc.FrameEnd[2] = 10;
  EXPECT_EQ(InfoDialogModel(doc).Box(13), "0sec 0ms");
  // 1 of 8 ms visible is 12.5 %, shown as 12 %.
  doc.FrameStart[2] = 8;
  doc.FrameEnd[2] = 8;
  EXPECT_EQ(InfoDialogModel(doc).Box(14), "12 %");
}

TEST(InfoDialogModel, LastFrameEndingAtZeroGivesZeroPercent) {
  Document doc;
  doc.FrameCount = 3;
  EXPECT_EQ(InfoDialogModel(doc).Box(14), "0 %");
  EXPECT_EQ(InfoDialogModel(doc).Box(12), "0h 0m 0s 0ms");
  EXPECT_EQ(InfoDialogModel(doc).Box(11), "3");
}

TEST(InfoDialogModel, LongAveragesCountWholeSeconds) {
  Document doc;
  doc.FrameCount = 1;
  doc.FrameEnd[1] = MakeTime(1, 2, 3, 4);
  EXPECT_EQ(InfoDialogModel(doc).Box(13), "3723sec 4ms");
  EXPECT_EQ(InfoDialogModel(doc).Box(12), "1h 2m 3s 4ms");
}

TEST(InfoDialogModel, OkStoresTheNineFieldsAsTyped) {
  Document doc;
  doc.Modified = kClean;
  InfoDialogModel info(doc);
  info.SetBox(1, "Movie");
  info.SetBox(3, " src ");
  info.SetBox(9, "[FONT]Tahoma");
  info.StoreInto(doc);
  EXPECT_EQ(doc.InfoTitle, "Movie");
  EXPECT_EQ(doc.InfoSource, " src ");
  EXPECT_EQ(doc.InfoFontLine, "[FONT]Tahoma");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_EQ(doc.ShowInfoSummary(), "Title=Movie    Source= src");
}

}  // namespace
}  // namespace lumetra
