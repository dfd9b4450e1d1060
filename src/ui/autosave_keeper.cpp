#include "ui/autosave_keeper.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <ctime>

#include "session/autosave.h"
#include "session/session.h"
#include "session/window_caption.h"

namespace lumetra {

namespace {

// The termination signals that end the editor after an autosave; the handler only hands
// the signal to the event loop through a pipe.
constexpr int kTerminationSignals[] = {SIGTERM, SIGHUP};
int g_signal_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_keeper_listening = 0;

extern "C" void TerminationRequested(int signal_number) {
  if (!g_keeper_listening) {
    // No editor to save anything yet: the signal's own action.
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
    return;
  }
  const int saved_errno = errno;
  const auto byte = static_cast<unsigned char>(signal_number);
  if (::write(g_signal_pipe[1], &byte, 1) < 0) {
    // The pipe is full: a signal is already waiting for the event loop.
  }
  errno = saved_errno;
}

// The keeper that writes a last autosave when the program exits without the window
// closing (Qt ends the program this way when the display connection breaks).
AutosaveKeeper* g_exiting_keeper = nullptr;

extern "C" void WriteAutosaveAtExit() {
  if (g_exiting_keeper != nullptr) g_exiting_keeper->WriteIfUnsaved();
}

std::int64_t Now() { return static_cast<std::int64_t>(std::time(nullptr)); }

}  // namespace

void AutosaveKeeper::CatchTerminationSignals() {
  if (g_signal_pipe[0] >= 0) return;
  if (::pipe2(g_signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = TerminationRequested;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int s : kTerminationSignals) {
    struct sigaction old {};
    if (::sigaction(s, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    ::sigaction(s, &action, nullptr);
  }
}

AutosaveKeeper::AutosaveKeeper(Session& session, std::string autosave_dir,
                               std::function<void()> flush, QObject* parent)
    : QObject(parent),
      session_(session),
      dir_(std::move(autosave_dir)),
      flush_(std::move(flush)),
      slot_(std::make_unique<AutosaveSlot>(dir_)) {
  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, &AutosaveKeeper::Tick);
  if (g_signal_pipe[0] >= 0) {
    signals_ = new QSocketNotifier(g_signal_pipe[0], QSocketNotifier::Read, this);
    connect(signals_, &QSocketNotifier::activated, this, &AutosaveKeeper::SignalArrived);
    g_keeper_listening = 1;
  }
  static const bool registered = std::atexit(WriteAutosaveAtExit) == 0;
  (void)registered;
  g_exiting_keeper = this;
}

AutosaveKeeper::~AutosaveKeeper() {
  if (g_exiting_keeper == this) g_exiting_keeper = nullptr;
  if (signals_ != nullptr) g_keeper_listening = 0;
}

void AutosaveKeeper::SetInterval(int seconds) {
  interval_ = std::max(seconds, 0);
  if (interval_ == 0) {
    timer_->stop();
    slot_->Remove();
  } else {
    timer_->start(interval_ * 1000);
  }
}

void AutosaveKeeper::Sync() {
  if (!ShowsUnsavedWork(session_.document())) slot_->Remove();
}

bool AutosaveKeeper::Write() {
  if (!slot_->claimed() && !slot_->Claim(static_cast<int>(::getpid()), Now())) return false;
  return slot_->Write(session_, Now()).ok();
}

void AutosaveKeeper::WriteIfUnsaved() {
  if (interval_ == 0) return;
  if (!ShowsUnsavedWork(session_.document())) {
    slot_->Remove();
    return;
  }
  if ((dirty_ || !slot_->holds_autosave()) && Write()) dirty_ = false;
}

void AutosaveKeeper::Tick() {
  // Typing in a box reaches the document first (as one undo step with the rest of it).
  if (flush_) flush_();
  WriteIfUnsaved();
}

void AutosaveKeeper::SignalArrived() {
  unsigned char byte = 0;
  if (::read(g_signal_pipe[0], &byte, 1) != 1) return;
  if (flush_) flush_();
  WriteIfUnsaved();
  // Then the editor ends as the signal asks; the lock goes with the process, the autosave
  // stays for the next start.
  ::signal(byte, SIG_DFL);
  ::raise(byte);
}

void AutosaveKeeper::Close() {
  timer_->stop();
  interval_ = 0;
  slot_->Release();
  if (g_exiting_keeper == this) g_exiting_keeper = nullptr;
}

bool AutosaveKeeper::OfferRecovery() {
  for (const OrphanedAutosave& orphan : FindOrphanedAutosaves(dir_)) {
    switch (session_.prompts().AskRecoverAutosave(RecoveryQuestion(orphan.info))) {
      case RecoveryAnswer::kRecover: {
        std::string data;
        if (!ReadAutosaveData(orphan, data).ok()) {
          session_.prompts().ShowMessage(kReadError);
          continue;
        }
        session_.RecoverAutosave(data, orphan.info);
        // The work is in this editor's own autosave before the orphan goes (with
        // autosaves off it is in the window only, as any unsaved work is).
        dirty_ = true;
        if (interval_ == 0 || Write()) {
          dirty_ = false;
          DiscardAutosave(orphan);
        }
        return true;
      }
      case RecoveryAnswer::kDiscard:
        DiscardAutosave(orphan);
        break;
      case RecoveryAnswer::kLater:
        break;
    }
  }
  return false;
}

}  // namespace lumetra
