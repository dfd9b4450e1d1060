#include "ui/frame_list_model.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <string>

#include "document/document.h"
#include "document_support.h"

namespace lumetra {
namespace {

using testing::Fill;

QStringList complaints;

void Record(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type != QtDebugMsg && type != QtInfoMsg) complaints << text;
}

TEST(FrameListModel, StaysConsistentThroughResetsInsertsRemovalsAndChanges) {
  complaints.clear();
  struct Handler {
    QtMessageHandler previous = qInstallMessageHandler(&Record);
    ~Handler() { qInstallMessageHandler(previous); }
  } handler;
  Document doc;
  FrameListModel model(doc);
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

  Fill(doc, 5);
  ASSERT_TRUE(doc.InsertFrame(3, 2500, 2600, "new"));
  EXPECT_EQ(model.rowCount(), 6);
  EXPECT_EQ(model.index(2).data().toString(), "0:00:02.500:00:02.6000.10new");
  ASSERT_TRUE(doc.InsertFrame(7, 9000, 9100, "last"));
  doc.RemoveFrames(1, 2);
  EXPECT_EQ(model.rowCount(), 5);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  doc.SetText(4, "\xC5\x91r");  // "őr" in UTF-8
  doc.Encoding = CodePage::kUtf8;
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed[0][0].toModelIndex().row(), 3);
  EXPECT_EQ(changed[0][1].toModelIndex().row(), 3);
  EXPECT_TRUE(model.index(3).data().toString().endsWith(QString::fromUtf8("őr")));
  doc.SetTimes(5, 0, 1);
  doc.ResetDocument();
  EXPECT_EQ(model.rowCount(), 0);
  Fill(doc, 3);
  doc.RemoveFrames(1, 3);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_TRUE(complaints.isEmpty()) << complaints.join('\n').toStdString();
}

}  // namespace
}  // namespace lumetra
