// Files dropped on a window: the first local file of a drop anywhere on the window is
// reported, and the window's text boxes do not take it as text.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace lumetra {

class FileDropFilter : public QObject {
  Q_OBJECT

 public:
  // Lets `window` take drops; the filter is a child of the window.
  explicit FileDropFilter(QWidget* window);

 signals:
  void fileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
};

}  // namespace lumetra
