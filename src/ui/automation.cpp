#include "ui/automation.h"

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

#include "editing/editor_panel.h"
#include "session/session.h"
#include "ui/main_window.h"
#include "ui/window_commands.h"

namespace lumetra {

namespace {

// The button of a caption among the widget's children ("&" accelerators aside).
QAbstractButton* ButtonIn(QWidget* widget, const QString& caption) {
  if (widget == nullptr) return nullptr;
  for (QAbstractButton* button : widget->findChildren<QAbstractButton*>()) {
    if (button->isVisible() && button->text().remove('&') == caption) return button;
  }
  return nullptr;
}

}  // namespace

bool Automation::Requested() {
  const char* value = std::getenv("LUMETRA_AUTOMATION");
  return value != nullptr && std::string(value) == "1";
}

Automation::Automation(MainWindow& window, QObject* parent) : QObject(parent), window_(window) {
  input_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
  connect(input_, &QSocketNotifier::activated, this, &Automation::ReadInput);
}

void Automation::ReadInput() {
  char buffer[4096];
  const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (got <= 0) {
    input_->setEnabled(false);  // the other end is gone
    return;
  }
  pending_.append(buffer, static_cast<std::size_t>(got));
  for (std::size_t end = pending_.find('\n'); end != std::string::npos;
       end = pending_.find('\n')) {
    const std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    Run(line);
  }
}

void Automation::Reply(const std::string& text) {
  std::fputs((text + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void Automation::Run(const std::string& line) {
  const std::size_t space = line.find(' ');
  const std::string command = line.substr(0, space);
  const std::string rest = space == std::string::npos ? std::string() : line.substr(space + 1);
  Document& doc = window_.document();
  if (command == "text") {
    const std::size_t gap = rest.find(' ');
    const int frame = std::atoi(rest.substr(0, gap).c_str());
    const std::string text = gap == std::string::npos ? std::string() : rest.substr(gap + 1);
    if (frame < 1 || frame > doc.FrameCount) return Reply("error no frame " + rest);
    window_.commands().Run("Text", [frame, &text](Document& d, const Selection& s) {
      CommitEditorText(d, frame, EditorLinesOf(text));
      return CommandResult{s, false, {}};
    });
    return Reply("ok");
  }
  if (command == "press") {
    QAbstractButton* button = ButtonIn(QApplication::activeModalWidget(), QString::fromStdString(rest));
    if (button == nullptr) button = ButtonIn(&window_, QString::fromStdString(rest));
    if (button == nullptr) return Reply("error no button " + rest);
    // Answered first: the click may open a nested event loop.
    Reply("ok");
    button->click();
    return;
  }
  if (command == "dump") {
    std::string out = "modified " + std::to_string(doc.Modified) + "\nfile " + doc.FileName +
                      "\nframes " + std::to_string(doc.FrameCount) + "\n";
    for (int i = 1; i <= doc.FrameCount; ++i) {
      out += std::to_string(i) + "\t" + std::to_string(doc.FrameStart[i]) + "\t" +
             std::to_string(doc.FrameEnd[i]) + "\t" + doc.FrameText[i] + "\n";
    }
    return Reply(out + "ok");
  }
  Reply("error unknown command " + command);
}

}  // namespace lumetra
