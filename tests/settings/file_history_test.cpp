#include "settings/file_history.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

std::vector<std::string> Captions(FileHistory& history) {
  std::vector<std::string> captions;
  for (const HistoryMenuItem& item : history.MenuItems()) captions.push_back(item.caption);
  return captions;
}

TEST(FileHistory, ReopeningAFileMovesItToTheTopWhateverItsCase) {
  FileHistory history;
  history.UpdateHistory("/f/A.SRT");
  history.UpdateHistory("/f/B.srt");
  history.UpdateHistory("/f/a.srt");
  // The start-up count of 1 stood for an empty slot; the menu recounts it.
  EXPECT_EQ(history.HisNum, 3);
  EXPECT_EQ(Captions(history), (std::vector<std::string>{"1. /f/a.srt", "2. /f/B.srt"}));
  EXPECT_EQ(history.HisNum, 2);
  // Cleared, it starts again from the next path.
  history.Clear();
  history.UpdateHistory("/c");
  EXPECT_EQ(Captions(history), std::vector<std::string>{"1. /c"});
  EXPECT_EQ(history.HisNum, 1);
}

TEST(FileHistory, KeepsAtMostMaxHistoryInUseAndOneSpareSlot) {
  FileHistory history;
  history.MaxHistory = 3;
  for (const char* path : {"/1", "/2", "/3", "/4", "/5"}) history.UpdateHistory(path);
  EXPECT_EQ(history.HisNum, 3);
  EXPECT_EQ(history.Entry(5), "/1");  // older paths stay, unshown
  EXPECT_EQ(Captions(history), (std::vector<std::string>{"1. /5", "2. /4", "3. /3"}));
  // Reopening the path at the last place in use keeps the count, even below the maximum.
  history.MaxHistory = 4;
  history.UpdateHistory("/2");
  EXPECT_EQ(Captions(history), (std::vector<std::string>{"1. /2", "2. /5", "3. /4"}));
  // The seventeenth path pushes the oldest into the spare slot.
  history.MaxHistory = 16;
  for (int i = 6; i <= 22; ++i) history.UpdateHistory("/" + std::to_string(i));
  EXPECT_EQ(history.HisNum, 16);
  EXPECT_EQ(history.Entry(16) + history.Entry(17), "/7/6");
  EXPECT_EQ(history.MenuItems().size(), 16u);
}

TEST(FileHistory, AttributesTravelWithTheirEntryAndLeaveWithIt) {
  FileHistory history;
  history.MaxHistory = 16;
  history.UpdateHistory("/f/a.srt");
  history.SetAttribute(history.Find("/F/A.SRT"), kFilmAttribute, "/f/a.mkv");
  history.UpdateHistory("/f/b.srt");
  EXPECT_EQ(history.Find("/f/a.srt"), 2);
  EXPECT_EQ(history.Attribute(2, kFilmAttribute), "/f/a.mkv");
  EXPECT_EQ(history.Attribute(1, kFilmAttribute), "");
  // Reopened, the entry comes to the top with what it carries.
  history.UpdateHistory("/f/A.srt");
  EXPECT_EQ(history.Attribute(1, kFilmAttribute), "/f/a.mkv");
  EXPECT_EQ(history.Find("/nowhere"), 0);
  // A value with a line break is refused; an empty one removes the attribute.
  history.SetAttribute(1, kFilmAttribute, "/f/x\n.mkv");
  EXPECT_EQ(history.Attribute(1, kFilmAttribute), "/f/a.mkv");
  history.SetAttribute(1, kFilmAttribute, "");
  EXPECT_TRUE(history.AttributesOf(1).empty());
  history.SetAttribute(1, kFilmAttribute, "/f/a.mkv");
  // Pushed out past the spare slot, an entry takes its attributes with it.
  for (int i = 0; i < 16; ++i) history.UpdateHistory("/g/" + std::to_string(i));
  EXPECT_EQ(history.Entry(17), "/f/A.srt");
  EXPECT_EQ(history.Attribute(17, kFilmAttribute), "/f/a.mkv");
  history.UpdateHistory("/g/last");
  EXPECT_EQ(history.Find("/f/a.srt"), 0);
  for (int i = 1; i <= 17; ++i) EXPECT_TRUE(history.AttributesOf(i).empty()) << i;
  history.Clear();
  EXPECT_TRUE(history.AttributesOf(1).empty());
}

}  // namespace
}  // namespace lumetra
