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
}

TEST(FileHistory, KeepsAtMostMaxHistoryInUse) {
  FileHistory history;
  history.MaxHistory = 3;
  for (const char* path : {"/1", "/2", "/3", "/4", "/5"}) history.UpdateHistory(path);
  EXPECT_EQ(history.HisNum, 3);
  EXPECT_EQ(history.Entry(5), "/1");  // older paths stay, unshown
  EXPECT_EQ(Captions(history), (std::vector<std::string>{"1. /5", "2. /4", "3. /3"}));
}

TEST(FileHistory, TheSeventeenthPathPushesTheOldestIntoTheSpareSlot) {
  FileHistory history;
  history.MaxHistory = 16;
  for (int i = 1; i <= 17; ++i) history.UpdateHistory("/" + std::to_string(i));
  EXPECT_EQ(history.HisNum, 16);
  EXPECT_EQ(history.Entry(16), "/2");
  EXPECT_EQ(history.Entry(17), "/1");
  EXPECT_EQ(history.MenuItems().size(), 16u);
}

TEST(FileHistory, ClearedHistoryShowsNoItems) {
  FileHistory history;
  history.UpdateHistory("/a");
  history.UpdateHistory("/b");
  history.Clear();
  EXPECT_TRUE(history.MenuItems().empty());
  EXPECT_EQ(history.HisNum, 1);
}

}  // namespace
}  // namespace lumetra
