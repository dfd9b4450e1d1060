#include "ui/frame_list_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtGlobal>
#include <string>

#include "document/document.h"

namespace lumetra {
namespace {

// Collects the model tester's complaints instead of printing them.
class TesterComplaints {
 public:
  TesterComplaints() { previous_ = qInstallMessageHandler(&Record); }
  ~TesterComplaints() { qInstallMessageHandler(previous_); }
  static QStringList& messages() {
    static QStringList list;
    return list;
  }

 private:
  static void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) messages() << text;
  }
  QtMessageHandler previous_;
};

void Fill(Document& doc, int count) {
  doc.BeginBulkChange();
  for (int i = 1; i <= count; ++i) {
    doc.FrameStart[static_cast<std::size_t>(i)] = i * 1000;
    doc.FrameEnd[static_cast<std::size_t>(i)] = i * 1000 + 500;
    doc.FrameText[static_cast<std::size_t>(i)] = "line " + std::to_string(i);
  }
  doc.FrameCount = count;
  doc.EndBulkChange();
}

TEST(FrameListModel, FollowsResetsInsertsRemovalsAndChangesConsistently) {
  TesterComplaints complaints;
  TesterComplaints::messages().clear();
  Document doc;
  FrameListModel model(doc);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

  Fill(doc, 5);
  EXPECT_EQ(model.rowCount(), 5);
  ASSERT_TRUE(doc.InsertFrame(3, 2500, 2600, "new"));
  EXPECT_EQ(model.rowCount(), 6);
  EXPECT_EQ(model.index(2).data(FrameListModel::kFrameRole).toInt(), 3);
  EXPECT_EQ(model.index(2).data().toString(), "0:00:02.500:00:02.6000.10new");
  ASSERT_TRUE(doc.InsertFrame(7, 9000, 9100, "last"));
  doc.RemoveFrames(1, 2);
  EXPECT_EQ(model.rowCount(), 5);
  doc.SetText(1, "changed");
  doc.SetTimes(5, 0, 1);
  doc.ResetDocument();
  EXPECT_EQ(model.rowCount(), 0);
  Fill(doc, 3);
  doc.RemoveFrames(1, 3);
  EXPECT_EQ(model.rowCount(), 0);

  EXPECT_TRUE(TesterComplaints::messages().isEmpty())
      << TesterComplaints::messages().join('\n').toStdString();
}

TEST(FrameListModel, ReportsTheRowsThatChanged) {
  Document doc;
  FrameListModel model(doc);
  Fill(doc, 4);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy header(&model, &FrameListModel::headerChanged);

  doc.SetText(3, "x");
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 2);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 2);

  ASSERT_TRUE(doc.InsertFrame(1, 0, 10, "first"));
  ASSERT_EQ(inserted.count(), 1);
  EXPECT_EQ(inserted[0][1].toInt(), 0);
  EXPECT_EQ(inserted[0][2].toInt(), 0);

  doc.RemoveFrames(2, 3);
  ASSERT_EQ(removed.count(), 1);
  EXPECT_EQ(removed[0][1].toInt(), 1);
  EXPECT_EQ(removed[0][2].toInt(), 3);

  doc.NotifyHeaderChanged();
  EXPECT_EQ(header.count(), 1);
}

TEST(FrameListModel, DecodesTextsInTheDocumentsCodePage) {
  Document doc;
  FrameListModel model(doc);
  doc.FrameCount = 1;
  doc.FrameText[1] = "\xF5r";  // o with double acute in Windows-1250
  doc.Encoding = CodePage::kWindows1250;
  EXPECT_TRUE(model.index(0).data().toString().endsWith(QString::fromUtf8("őr")));
  doc.FrameText[1] = "\xC5\x91r";
  doc.Encoding = CodePage::kUtf8;
  EXPECT_TRUE(model.index(0).data().toString().endsWith(QString::fromUtf8("őr")));
}

}  // namespace
}  // namespace lumetra
