// The editor's side of autosaves: a timer writes the document into this editor's slot
// while it has unsaved work; a termination signal (SIGTERM, SIGHUP) writes it once more
// through the event loop before the editor ends as the signal asks; an editor whose
// display connection breaks writes it while the program exits; and at start-up the
// autosaves of editors that did not close normally are offered for recovery.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
class QTimer;

namespace lumetra {

class AutosaveSlot;
class Session;

class AutosaveKeeper : public QObject {
  Q_OBJECT

 public:
  // `autosave_dir` holds the slots (the state directory's "autosave"); `flush` brings
  // typing that has not reached the document yet into it before a write.
  AutosaveKeeper(Session& session, std::string autosave_dir, std::function<void()> flush,
                 QObject* parent = nullptr);
  ~AutosaveKeeper() override;

  // Every `seconds` seconds the document is written when it changed and has unsaved work;
  // 0 turns autosaves off (and removes this editor's autosave).
  void SetInterval(int seconds);
  int interval() const { return interval_; }
  // The document changed: the next tick writes it.
  void DocumentChanged() { dirty_ = true; }
  // Called after every change has settled: a document without unsaved work has no
  // autosave (after a save, New, an undo back to the saved state).
  void Sync();
  // Writes the document now when it has unsaved work that the autosave does not hold yet.
  void WriteIfUnsaved();
  // The window closes normally: the autosave and the slot's lock go.
  void Close();
  // Offers the autosaves of editors that no longer run, through the session's prompts:
  // "Recover" opens one as an unsaved document (and ends the offers), "Discard" deletes
  // it, "Later" keeps it for the next start. True when one was recovered.
  bool OfferRecovery();

  const AutosaveSlot& slot() const { return *slot_; }

  // Termination signals set a flag for the event loop (the handler does nothing else).
  // Call once, before the window is made; signals the program was started to ignore stay
  // ignored.
  static void CatchTerminationSignals();

 private:
  void Tick();
  void SignalArrived();
  bool Write();

  Session& session_;
  std::string dir_;
  std::function<void()> flush_;
  std::unique_ptr<AutosaveSlot> slot_;
  QTimer* timer_ = nullptr;
  QSocketNotifier* signals_ = nullptr;
  int interval_ = 0;
  bool dirty_ = false;
};

}  // namespace lumetra
