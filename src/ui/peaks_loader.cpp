#include "ui/peaks_loader.h"

#include <QFile>
#include <QThread>
#include <algorithm>
#include <chrono>

namespace lumetra {

namespace {

// The decoder's buckets are handed to the ui thread at most this often (and the first
// ones at once).
constexpr auto kHandOverEvery = std::chrono::milliseconds(40);

// Runs on the job's thread: gathers buckets and posts them to the loader.
class PostingReceiver : public PeakReceiver {
 public:
  PostingReceiver(PeaksLoader* loader, int job, std::shared_ptr<std::atomic<bool>> cancel,
                  std::function<void(int, std::vector<Peak>)> added,
                  std::function<void(int, qint64)> started)
      : loader_(loader),
        job_(job),
        cancel_(std::move(cancel)),
        added_(std::move(added)),
        started_(std::move(started)) {}

  void Started(std::int64_t duration_ms) override {
    QMetaObject::invokeMethod(
        loader_, [started = started_, job = job_, duration_ms] { started(job, duration_ms); },
        Qt::QueuedConnection);
  }
  void Received(const Peak* peaks, std::size_t count) override {
    pending_.insert(pending_.end(), peaks, peaks + count);
    const auto now = std::chrono::steady_clock::now();
    if (!posted_any_ || now - last_post_ >= kHandOverEvery) {
      posted_any_ = true;
      last_post_ = now;
      Flush();
    }
  }
  bool Cancelled() override { return cancel_->load(std::memory_order_relaxed); }

  void Flush() {
    if (pending_.empty()) return;
    QMetaObject::invokeMethod(
        loader_,
        [added = added_, job = job_, peaks = std::move(pending_)]() mutable {
          added(job, std::move(peaks));
        },
        Qt::QueuedConnection);
    pending_ = {};
  }

 private:
  PeaksLoader* loader_;
  int job_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::function<void(int, std::vector<Peak>)> added_;
  std::function<void(int, qint64)> started_;
  std::vector<Peak> pending_;
  bool posted_any_ = false;
  std::chrono::steady_clock::time_point last_post_;
};

}  // namespace

PeaksLoader::PeaksLoader(std::filesystem::path cache_directory, QObject* parent)
    : QObject(parent), cache_directory_(std::move(cache_directory)) {}

PeaksLoader::~PeaksLoader() {
  Cancel();
  for (QThread* thread : threads_) {
    thread->wait();
    delete thread;
  }
}

void PeaksLoader::Load(const QString& film) {
  Clear();
  film_ = film;
  const int job = ++job_;
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  running_ = true;
  const std::string path = QFile::encodeName(film).toStdString();
  auto added = [this](int j, std::vector<Peak> peaks) { Added(j, std::move(peaks)); };
  auto started = [this](int j, qint64 ms) { Started(j, ms); };
  QThread* thread = QThread::create([this, job, path, cancel = cancel_, added, started,
                                     cache = cache_directory_] {
    PostingReceiver receiver(this, job, cancel, added, started);
    const FilmPeaksResult result = LoadFilmPeaks(path, cache, receiver);
    receiver.Flush();
    QMetaObject::invokeMethod(
        this, [this, job, result] { Ended(job, result); }, Qt::QueuedConnection);
  });
  threads_.push_back(thread);
  connect(thread, &QThread::finished, this, [this, thread] {
    threads_.erase(std::remove(threads_.begin(), threads_.end(), thread), threads_.end());
    thread->deleteLater();
  });
  thread->start(QThread::LowPriority);
  emit progressChanged(0);
}

void PeaksLoader::Cancel() {
  if (cancel_) cancel_->store(true);
}

void PeaksLoader::Clear() {
  Cancel();
  ++job_;  // what the old job still posts is ignored
  running_ = false;
  film_.clear();
  peaks_.Clear();
  duration_ms_ = 0;
  percent_ = 0;
}

void PeaksLoader::Started(int job, qint64 duration_ms) {
  if (job != job_) return;
  duration_ms_ = duration_ms;
  if (duration_ms > 0) peaks_.Reserve(static_cast<std::size_t>(duration_ms / kPeakBucketMs + 2));
  emit durationKnown(duration_ms);
}

void PeaksLoader::Added(int job, std::vector<Peak> peaks) {
  if (job != job_) return;
  peaks_.Append(peaks);
  if (duration_ms_ > 0) {
    const int percent =
        static_cast<int>(std::min<qint64>(99, peaks_.covered_ms() * 100 / duration_ms_));
    if (percent != percent_) {
      percent_ = percent;
      emit progressChanged(percent_);
    }
  }
  emit peaksAdded();
}

void PeaksLoader::Ended(int job, const FilmPeaksResult& result) {
  if (job != job_) return;
  running_ = false;
  const bool complete = result.outcome == PeakOutcome::kComplete;
  if (complete) {
    percent_ = 100;
    emit progressChanged(percent_);
  }
  emit finished(complete, QString::fromStdString(FilmPeaksMessage(result)));
}

}  // namespace lumetra
