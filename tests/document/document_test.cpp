#include "document/document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumetra {
namespace {

// Records what the document tells its views, one line per notification.
class RecordingObserver : public DocumentObserver {
 public:
  std::vector<std::string> events;
  void DocumentAboutToReset() override { events.push_back("about-to-reset"); }
  void DocumentReset() override { events.push_back("reset"); }
  void FramesChanged(int first, int last) override {
    events.push_back("changed " + std::to_string(first) + "-" + std::to_string(last));
  }
  void FramesAboutToBeInserted(int first, int count) override {
    events.push_back("about-to-insert " + std::to_string(first) + "+" + std::to_string(count));
  }
  void FramesInserted(int first, int count) override {
    events.push_back("inserted " + std::to_string(first) + "+" + std::to_string(count));
  }
  void FramesAboutToBeRemoved(int first, int count) override {
    events.push_back("about-to-remove " + std::to_string(first) + "+" + std::to_string(count));
  }
  void FramesRemoved(int first, int count) override {
    events.push_back("removed " + std::to_string(first) + "+" + std::to_string(count));
  }
  void HeaderChanged() override { events.push_back("header"); }
};

void Fill(Document& doc, int count) {
  for (int i = 1; i <= count; ++i) {
    doc.FrameStart[i] = i * 1000;
    doc.FrameEnd[i] = i * 1000 + 500;
    doc.FrameText[i] = "t" + std::to_string(i);
  }
  doc.FrameCount = count;
}

TEST(ResetDocument, EmptiesEverySlotAndTheHeader) {
  Document doc;
  Fill(doc, 5);
  doc.FrameStart[MaxFrames] = 7;
  doc.FrameText[MaxFrames] = "last";
  doc.FrameEnd[0] = 99;  // slot 0 is left alone
  doc.Modified = kUnsaved;
  doc.InfoTitle = "T";
  doc.InfoFontLine = "[FONT]x";
  doc.FileName = "a.srt";
  doc.ResetDocument();

  EXPECT_EQ(doc.FrameCount, 0);
  EXPECT_EQ(doc.Modified, kClean);
  for (int i = 1; i <= MaxFrames; ++i) {
    ASSERT_EQ(doc.FrameStart[i], 0) << i;
    ASSERT_EQ(doc.FrameEnd[i], 0) << i;
    ASSERT_EQ(doc.FrameText[i], "") << i;
  }
  EXPECT_EQ(doc.FrameEnd[0], 99);
  EXPECT_EQ(doc.InfoPrg, "Morvaly's Lumetra 1.33");
  EXPECT_EQ(doc.InfoTitle, "");
  EXPECT_EQ(doc.InfoFontLine, "");
  EXPECT_EQ(doc.FileName, "a.srt");
  EXPECT_EQ(doc.FileBoxText, "a.srt");
}

TEST(ResetDocument, TellsObserversOneResetAndAHeaderChange) {
  Document doc;
  RecordingObserver observer;
  doc.AddObserver(&observer);
  doc.ResetDocument();
  EXPECT_EQ(observer.events, (std::vector<std::string>{"about-to-reset", "reset", "header"}));
}

TEST(ShowInfoSummary, JoinsTitleAuthorAndSource) {
  Document doc;
  EXPECT_EQ(doc.ShowInfoSummary(), "");
  doc.InfoTitle = "A";
  doc.InfoSource = "B";
  EXPECT_EQ(doc.ShowInfoSummary(), "Title=A    Source=B");
  doc.InfoSource.clear();
  doc.InfoTitle = "Movie";
  EXPECT_EQ(doc.ShowInfoSummary(), "Title=Movie");
  doc.InfoAuthor = "Me";
  EXPECT_EQ(doc.ShowInfoSummary(), "Title=Movie    Author=Me");
}

TEST(Document, FrameListLineOfASlot) {
  Document doc;
  doc.FrameStart[1] = 0;
  doc.FrameEnd[1] = 2500;
  doc.FrameText[1] = "Hello|World";
  EXPECT_EQ(doc.FrameListLine(1), "0:00:00.000:00:02.5002.50Hello|World");
}

TEST(Document, InsertAndRemoveMoveTheFramesBehind) {
  Document doc;
  Fill(doc, 3);
  RecordingObserver observer;
  doc.AddObserver(&observer);

  ASSERT_TRUE(doc.InsertFrame(2, 5, 6, "new"));
  EXPECT_EQ(doc.FrameCount, 4);
  EXPECT_EQ(doc.FrameText[1], "t1");
  EXPECT_EQ(doc.FrameText[2], "new");
  EXPECT_EQ(doc.FrameStart[2], 5);
  EXPECT_EQ(doc.FrameText[3], "t2");
  EXPECT_EQ(doc.FrameText[4], "t3");
  EXPECT_EQ(doc.FrameEnd[4], 3500);

  doc.RemoveFrames(1, 2);
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(doc.FrameText[1], "t2");
  EXPECT_EQ(doc.FrameText[2], "t3");
  EXPECT_EQ(doc.FrameStart[1], 2000);

  doc.SetText(2, "x");
  doc.SetTimes(1, 1, 2);
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"about-to-insert 2+1", "inserted 2+1", "about-to-remove 1+2",
                                      "removed 1+2", "changed 2-2", "changed 1-1"}));
}

TEST(Document, InsertIntoAFullStoreIsRefused) {
  Document doc;
  Fill(doc, MaxFrames);
  EXPECT_FALSE(doc.InsertFrame(1, 0, 0, ""));
  EXPECT_EQ(doc.FrameCount, MaxFrames);
  EXPECT_EQ(doc.FrameText[1], "t1");
  EXPECT_EQ(doc.FrameText[MaxFrames], "t10000");
  doc.RemoveFrames(MaxFrames, 1);
  ASSERT_TRUE(doc.InsertFrame(MaxFrames, 1, 2, "end"));
  EXPECT_EQ(doc.FrameText[MaxFrames], "end");
}

TEST(Document, BulkChangesNestAndShowAsOneReset) {
  Document doc;
  RecordingObserver observer;
  doc.AddObserver(&observer);
  doc.BeginBulkChange();
  doc.ResetDocument();
  doc.InsertFrame(1, 0, 1, "a");
  doc.SetText(1, "b");
  doc.EndBulkChange();
  EXPECT_EQ(observer.events, (std::vector<std::string>{"about-to-reset", "header", "reset"}));
  doc.RemoveObserver(&observer);
  doc.SetText(1, "c");
  EXPECT_EQ(observer.events.size(), 3u);
}

}  // namespace
}  // namespace lumetra
