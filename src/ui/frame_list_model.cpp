#include "ui/frame_list_model.h"

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
    default:
      return {};
  }
}

void FrameListModel::DocumentAboutToReset() { beginResetModel(); }

void FrameListModel::DocumentReset() { endResetModel(); }

void FrameListModel::FramesChanged(int first, int last) {
  if (first < 1) first = 1;
  if (last > doc_.FrameCount) last = doc_.FrameCount;
  if (first > last) return;
  emit dataChanged(index(first - 1), index(last - 1));
}

void FrameListModel::FramesAboutToBeInserted(int first, int count) {
  beginInsertRows(QModelIndex(), first - 1, first - 1 + count - 1);
}

void FrameListModel::FramesInserted(int, int) { endInsertRows(); }

void FrameListModel::FramesAboutToBeRemoved(int first, int count) {
  beginRemoveRows(QModelIndex(), first - 1, first - 1 + count - 1);
}

void FrameListModel::FramesRemoved(int, int) { endRemoveRows(); }

void FrameListModel::HeaderChanged() { emit headerChanged(); }

}  // namespace lumetra
