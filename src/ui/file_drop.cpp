#include "ui/file_drop.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace lumetra {

namespace {

// The first local file a drag carries, or the empty text.
QString FirstLocalFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

FileDropFilter::FileDropFilter(QWidget* window) : QObject(window), window_(window) {
  window->setAcceptDrops(true);
  // Drops reach the control under the pointer first (the editor would insert the file's
  // name as text): the filter sees them before any control of the window does.
  qApp->installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != window_) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const QString path = FirstLocalFile(drop->mimeData());
  if (path.isEmpty()) return false;
  drop->acceptProposedAction();
  if (type == QEvent::Drop) emit fileDropped(path);
  return true;
}

}  // namespace lumetra
