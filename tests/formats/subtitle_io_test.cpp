// ReadSubtitleData and WriteSubtitleData as the session sees them.
#include <gtest/gtest.h>

#include <algorithm>

#include "formats/format_test_support.h"

namespace lumetra {
namespace {

using testing::Crlf;

class CountingObserver : public DocumentObserver {
 public:
  int about_to_reset = 0;
  int reset = 0;
  int other = 0;
  void DocumentAboutToReset() override { ++about_to_reset; }
  void DocumentReset() override { ++reset; }
  void FramesChanged(int, int) override { ++other; }
  void FramesInserted(int, int) override { ++other; }
  void FramesRemoved(int, int) override { ++other; }
};

TEST(ReadSubtitleData, ReplacesTheDocumentInOneReset) {
  Document doc;
  testing::Fill(doc, {{1, 2, "a"}, {3, 4, "b"}, {5, 6, "c"}});
  doc.InfoTitle = "old";
  doc.Modified = kUnsaved;
  CountingObserver observer;
  doc.AddObserver(&observer);

  ReadSubtitleData("\xEF\xBB\xBF" "1\n00:00:01,000 --> 00:00:02,000\n\xC3\xA9t\xC3\xA9\n",
                   kKindSubRip, 25, doc);
  EXPECT_EQ(observer.about_to_reset, 1);
  EXPECT_EQ(observer.reset, 1);
  EXPECT_EQ(observer.other, 0);
  EXPECT_EQ(doc.FrameCount, 1);
  EXPECT_EQ(doc.FrameText[1], "\xC3\xA9t\xC3\xA9");
  EXPECT_EQ(doc.FrameText[2], "");
  EXPECT_EQ(doc.InfoTitle, "");
  EXPECT_EQ(doc.Modified, kClean);
  EXPECT_TRUE(doc.HasByteOrderMark);
  EXPECT_EQ(doc.Encoding, CodePage::kUtf8);
  doc.RemoveObserver(&observer);

  // The next read forgets the mark and the code page of the previous file.
  ReadSubtitleData("{1}{2}Gy\xF5r", kKindSub, 25, doc);
  EXPECT_FALSE(doc.HasByteOrderMark);
  EXPECT_EQ(doc.Encoding, CodePage::kWindows1250);
}

TEST(ReadSubtitleData, AnUnknownKindChangesNothing) {
  Document doc;
  testing::Fill(doc, {{1, 2, "a"}});
  doc.SaveExt = "srt";
  EXPECT_EQ(ReadSubtitleData("1\n00:00:01,000 --> 00:00:02,000\nx\n", kKindUnknown, 25, doc)
                .frames_left_out,
            0);
  EXPECT_EQ(doc.FrameCount, 1);
  EXPECT_EQ(doc.FrameText[1], "a");
  EXPECT_EQ(doc.SaveExt, "srt");
}

TEST(WriteSubtitleData, AnEmptyDocument) {
  Document doc;
  EXPECT_EQ(testing::Write(doc, "txt"), "");
  EXPECT_EQ(testing::Write(doc, "sub"), "");
  const std::string srt2 = testing::Write(doc, "srt");
  EXPECT_EQ(srt2.substr(srt2.size() - 13), Crlf("[FONT]Arial\n"));
  EXPECT_EQ(std::count(srt2.begin(), srt2.end(), '\n'), 12);
  doc.HasByteOrderMark = true;
  EXPECT_EQ(testing::Write(doc, "txt"), "\xEF\xBB\xBF");
}

TEST(WriteSubtitleData, RefusesOtherExtensions) {
  Document doc;
  std::string out = "untouched";
  EXPECT_FALSE(WriteSubtitleData(doc, "rt2", 25, out));
  EXPECT_FALSE(WriteSubtitleData(doc, "SRT", 25, out));
  EXPECT_FALSE(WriteSubtitleData(doc, "", 25, out));
  EXPECT_EQ(out, "untouched");
  EXPECT_TRUE(WriteSubtitleData(doc, "txt", 25, out));
  EXPECT_EQ(out, "");
}

}  // namespace
}  // namespace lumetra
