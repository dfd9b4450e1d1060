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

}  // namespace
}  // namespace lumetra
