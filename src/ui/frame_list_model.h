// The frame list's model: one row per frame of the document, in frame order. It follows
// the document's change notifications, so views keep their selection and scroll position
// through edits, inserts and removals.
#pragma once

#include <QAbstractListModel>

#include "document/document.h"
#include "editing/quality_checks.h"

namespace lumetra {

class FrameListModel : public QAbstractListModel, private DocumentObserver {
  Q_OBJECT

 public:
  // The frame of a row, 1-based, for the delegate.
  static constexpr int kFrameRole = Qt::UserRole + 1;

  explicit FrameListModel(Document& doc, QObject* parent = nullptr);
  ~FrameListModel() override;

  const Document& document() const { return doc_; }
  // The limits of the quality checks (not owned); the tool tip of a row that breaks one
  // names the rules it breaks. Null: no checks.
  void SetCheckLimits(const CheckLimits* limits);
  // The limits changed: every row is shown again.
  void ChecksChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  // Display: the frame list line, decoded; kFrameRole: the frame number; tool tip: the
  // checks the frame fails, one a line.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 signals:
  // The information header, the file identity or the file-name box text changed.
  void headerChanged();

 private:
  void DocumentAboutToReset() override;
  void DocumentReset() override;
  void FramesChanged(int first, int last) override;
  void FramesAboutToBeInserted(int first, int count) override;
  void FramesInserted(int first, int count) override;
  void FramesAboutToBeRemoved(int first, int count) override;
  void FramesRemoved(int first, int count) override;
  void HeaderChanged() override;

  Document& doc_;
  const CheckLimits* limits_ = nullptr;
};

}  // namespace lumetra
