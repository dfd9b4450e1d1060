// A line protocol on standard input for driving a running editor from a test: it starts
// only when the environment names it (LUMETRA_AUTOMATION=1) and answers on standard
// output, one "ok" (or "error ...") line per command:
//   text N TEXT   types TEXT as the text of frame N, as the editor would store it
//   press CAPTION clicks the button of that caption in the dialog shown (or the window)
//   dump          prints "modified M", "file NAME", "frames N", then one line per frame
//                 (number, start, end and text, tab-separated)
#pragma once

#include <QObject>
#include <string>

class QSocketNotifier;

namespace lumetra {

class MainWindow;

class Automation : public QObject {
  Q_OBJECT

 public:
  explicit Automation(MainWindow& window, QObject* parent = nullptr);

  // Whether the environment asks for it.
  static bool Requested();

 private:
  void ReadInput();
  void Run(const std::string& line);
  void Reply(const std::string& text);

  MainWindow& window_;
  QSocketNotifier* input_ = nullptr;
  std::string pending_;
};

}  // namespace lumetra
