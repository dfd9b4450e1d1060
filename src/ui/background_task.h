// Long work off the ui thread: a task runs on a thread of its own, tells its progress, can
// be cancelled, and hands its end back to the ui thread. Starting it again cancels the run
// still going; the task waits for its thread before it goes away.
#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

class QThread;

namespace lumetra {

class BackgroundTask : public QObject {
  Q_OBJECT

 public:
  // The work is told the share done (0..1) now and then; when the call returns false the
  // run was cancelled and the work should stop.
  using Progress = std::function<bool(double)>;
  using Work = std::function<void(const Progress& progress)>;

  explicit BackgroundTask(QObject* parent = nullptr);
  ~BackgroundTask() override;

  // Runs `work` on its own thread; `done` runs on the ui thread after it, unless the run was
  // cancelled (or a newer one started) meanwhile.
  void Start(Work work, std::function<void()> done);
  void Cancel();
  bool running() const { return thread_ != nullptr; }
  // Waits for the run and ends it as it would have ended (tests).
  void Finish();

 signals:
  void progressed(int percent);
  void started();
  void finished();

 private:
  void Ended(unsigned run, const std::shared_ptr<std::atomic<bool>>& cancelled,
             const std::function<void()>& done);
  // Cancels the run, waits for its thread and drops what it would have handed back.
  void Abandon();

  QThread* thread_ = nullptr;
  unsigned run_ = 0;  // counts the runs, so that the end of an abandoned one is known
  std::shared_ptr<std::atomic<bool>> cancelled_;
};

}  // namespace lumetra
