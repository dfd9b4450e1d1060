// The main window of the editor.
#pragma once

#include <QMainWindow>

namespace lumetra {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace lumetra
