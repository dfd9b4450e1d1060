#include "ui/background_task.h"

#include <QCoreApplication>
#include <QThread>

namespace lumetra {

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() { Abandon(); }

void BackgroundTask::Start(Work work, std::function<void()> done) {
  Abandon();
  auto cancelled = std::make_shared<std::atomic<bool>>(false);
  cancelled_ = cancelled;
  QThread* thread = QThread::create([this, work = std::move(work), cancelled] {
    int shown = -1;
    work([this, cancelled, &shown](double share) {
      const int percent = static_cast<int>(share * 100);
      if (percent != shown) {
        shown = percent;
        emit progressed(percent);
      }
      return !cancelled->load();
    });
  });
  thread_ = thread;
  const unsigned run = ++run_;
  connect(
      thread, &QThread::finished, this,
      [this, run, cancelled, done = std::move(done)] { Ended(run, cancelled, done); },
      Qt::QueuedConnection);
  emit started();
  thread->start(QThread::LowPriority);
}

void BackgroundTask::Ended(unsigned run, const std::shared_ptr<std::atomic<bool>>& cancelled,
                           const std::function<void()>& done) {
  if (run != run_ || thread_ == nullptr) return;  // a run abandoned since
  QThread* thread = thread_;
  thread_ = nullptr;
  thread->wait();
  thread->deleteLater();
  if (!cancelled->load() && done) done();
  emit finished();
}

void BackgroundTask::Cancel() {
  if (cancelled_) cancelled_->store(true);
}

void BackgroundTask::Abandon() {
  if (thread_ == nullptr) return;
  Cancel();
  QThread* thread = thread_;
  thread_ = nullptr;
  thread->wait();
  delete thread;  // its end, if already queued, finds the run abandoned
}

void BackgroundTask::Finish() {
  if (thread_ == nullptr) return;
  thread_->wait();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

}  // namespace lumetra
