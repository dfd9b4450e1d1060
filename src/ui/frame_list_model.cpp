#include "ui/frame_list_model.h"

#include <QStringList>
#include <vector>

#include "ui/text_codec.h"

namespace lumetra {

FrameListModel::FrameListModel(Document& doc, QObject* parent)
    : QAbstractListModel(parent), doc_(doc) {
  doc_.AddObserver(this);
}

FrameListModel::~FrameListModel() { doc_.RemoveObserver(this); }

int FrameListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : doc_.FrameCount;
}

QVariant FrameListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= doc_.FrameCount) return {};
  const int frame = index.row() + 1;
  switch (role) {
    case Qt::DisplayRole:
      return DecodeText(doc_.FrameListLine(frame), doc_.Encoding);
    case kFrameRole:
      return frame;
    case Qt::ToolTipRole: {
      if (limits_ == nullptr) return {};
      std::vector<Finding> findings;
      CheckFrame(doc_, frame, *limits_, findings);
      QStringList lines;
      for (const Finding& f : findings) {
        lines << QString::fromLatin1(RuleCaption(f.rule)) + ": " + QString::fromStdString(f.detail);
      }
      return lines.isEmpty() ? QVariant() : QVariant(lines.join('\n'));
    }
    default:
      return {};
  }
}

void FrameListModel::SetCheckLimits(const CheckLimits* limits) {
  limits_ = limits;
  ChecksChanged();
}

void FrameListModel::ChecksChanged() {
  if (doc_.FrameCount > 0) emit dataChanged(index(0), index(doc_.FrameCount - 1));
}

void FrameListModel::DocumentAboutToReset() { beginResetModel(); }

void FrameListModel::DocumentReset() { endResetModel(); }

void FrameListModel::FramesChanged(int first, int last) {
  // The frame before may now overlap or keep too short a gap.
  if (limits_ != nullptr) --first;
  if (first < 1) first = 1;
  if (last > doc_.FrameCount) last = doc_.FrameCount;
  if (first > last) return;
  emit dataChanged(index(first - 1), index(last - 1));
}

void FrameListModel::FramesAboutToBeInserted(int first, int count) {
  beginInsertRows(QModelIndex(), first - 1, first - 1 + count - 1);
}

void FrameListModel::FramesInserted(int first, int) {
  endInsertRows();
  // The frame before may now overlap, or keep too short a gap before, another frame.
  if (limits_ != nullptr && first > 1) emit dataChanged(index(first - 2), index(first - 2));
}

void FrameListModel::FramesAboutToBeRemoved(int first, int count) {
  beginRemoveRows(QModelIndex(), first - 1, first - 1 + count - 1);
}

void FrameListModel::FramesRemoved(int first, int) {
  endRemoveRows();
  // The frame before may now overlap, or keep too short a gap before, another frame.
  if (limits_ != nullptr && first > 1) emit dataChanged(index(first - 2), index(first - 2));
}

void FrameListModel::HeaderChanged() { emit headerChanged(); }

}  // namespace lumetra
