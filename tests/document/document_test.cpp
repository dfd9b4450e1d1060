#include "document/document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document_support.h"

namespace lumetra {
namespace {

using testing::Fill;

// Records what the document tells its views.
class RecordingObserver : public DocumentObserver {
 public:
  std::vector<std::string> events;
  void DocumentAboutToReset() override { events.push_back("about-to-reset"); }
  void DocumentReset() override { events.push_back("reset"); }
  void FramesChanged(int first, int last) override { Add("changed", first, last); }
  void FramesAboutToBeInserted(int first, int n) override { Add("about-to-insert", first, n); }
  void FramesInserted(int first, int n) override { Add("inserted", first, n); }
  void FramesAboutToBeRemoved(int first, int n) override { Add("about-to-remove", first, n); }
  void FramesRemoved(int first, int n) override { Add("removed", first, n); }
  void HeaderChanged() override { events.push_back("header"); }

 private:
  void Add(const char* what, int a, int b) {
    events.push_back(std::string(what) + " " + std::to_string(a) + "," + std::to_string(b));
  }
};

TEST(ResetDocument, EmptiesEverySlotAndTheHeaderButNotSlotZero) {
  Document doc;
  Fill(doc, 5);
  // Frames up to the last slot, removed again: the slots they used are emptied too.
  ASSERT_TRUE(doc.InsertFrames(6, std::vector<Frame>(MaxFrames - 5, Frame{1, 2, "more"})));
  doc.RemoveFrames(6, MaxFrames - 5);
  doc.FrameEnd[0] = 99;
  doc.Modified = kUnsaved;
  doc.InfoTitle = "T";
  doc.InfoFontLine = "[FONT]x";
  doc.FileName = "a.srt";
  RecordingObserver observer;
  doc.AddObserver(&observer);
  doc.ResetDocument();

  EXPECT_EQ(doc.FrameCount, 0);
  EXPECT_EQ(doc.Modified, kClean);
  for (int i = 1; i <= MaxFrames; ++i) {
    ASSERT_EQ(doc.FrameStart[i] | doc.FrameEnd[i], 0) << i;
    ASSERT_EQ(doc.FrameText[i], "") << i;
  }
  EXPECT_EQ(doc.FrameEnd[0], 99);
  EXPECT_EQ(doc.InfoPrg, "Morvaly's Lumetra 1.33");
  EXPECT_EQ(doc.InfoTitle + doc.InfoFontLine, "");
  EXPECT_EQ(doc.FileBoxText, "a.srt");
  EXPECT_EQ(observer.events, (std::vector<std::string>{"about-to-reset", "reset", "header"}));
}

TEST(Document, InsertAndRemoveMoveTheFramesBehindAndTellTheViews) {
  Document doc;
  Fill(doc, 3);
  RecordingObserver observer;
  doc.AddObserver(&observer);

  ASSERT_TRUE(doc.InsertFrame(2, 5, 6, "new"));
  EXPECT_EQ(doc.FrameCount, 4);
  EXPECT_EQ(doc.FrameText[2] + doc.FrameText[3] + doc.FrameText[4], "newt2t3");
  EXPECT_EQ(doc.FrameEnd[4], 3500);
  doc.RemoveFrames(1, 2);
  EXPECT_EQ(doc.FrameCount, 2);
  EXPECT_EQ(doc.FrameText[1] + doc.FrameText[2], "t2t3");
  EXPECT_EQ(doc.FrameStart[1], 2000);
  doc.SetText(2, "x");
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"about-to-insert 2,1", "inserted 2,1", "about-to-remove 1,2",
                                      "removed 1,2", "changed 2,2"}));
}

TEST(Document, BulkChangesNestAndShowAsOneReset) {
  Document doc;
  RecordingObserver observer;
  doc.AddObserver(&observer);
  doc.BeginBulkChange();
  doc.ResetDocument();
  doc.InsertFrame(1, 0, 1, "a");
  doc.EndBulkChange();
  EXPECT_EQ(observer.events, (std::vector<std::string>{"about-to-reset", "header", "reset"}));
  doc.RemoveObserver(&observer);
  doc.SetText(1, "c");
  EXPECT_EQ(observer.events.size(), 3u);
}

// Documents of formats without extras never take memory for them, through every edit;
// the first extras that are not empty do, and move with their frames from then on.
TEST(Document, ExtrasTakeMemoryOnlyWhenAFrameHasSome) {
  Document doc;
  Fill(doc, 3);
  ASSERT_TRUE(doc.InsertFrame(2, 5, 6, "new"));
  doc.RemoveFrameList({1, 3});
  doc.SetExtras(1, FrameExtras());
  doc.ResetDocument();
  EXPECT_FALSE(doc.FrameExtra.Allocated());
  EXPECT_TRUE(doc.FrameExtra[MaxFrames].empty());

  Fill(doc, 3);
  doc.SetExtras(3, FrameExtras{"NOTE\n", "", " line:0"});
  EXPECT_TRUE(doc.FrameExtra.Allocated());
  ASSERT_TRUE(doc.InsertFrame(1, 5, 6, "first"));
  EXPECT_EQ(doc.FrameExtra[4], (FrameExtras{"NOTE\n", "", " line:0"}));
  doc.RemoveFrameList({1, 3});
  EXPECT_EQ(doc.FrameExtra[2].lead, "NOTE\n");
  doc.ResetDocument();
  EXPECT_TRUE(doc.FrameExtra[2].empty());
}

}  // namespace
}  // namespace lumetra
