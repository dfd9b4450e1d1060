#include "ui/peaks_loader.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace lumetra {

namespace {

// The decoder's buckets are handed to the ui thread at most this often (and the first
// ones at once).
constexpr auto kHandOverEvery = std::chrono::milliseconds(40);
// How long a closing loader waits for its threads to stop.
constexpr auto kFarewellWait = std::chrono::seconds(2);
constexpr int kWorkerNiceness = 10;

}  // namespace

struct PeaksLoader::Link {
  std::mutex mutex;
  std::condition_variable stopped;
  PeaksLoader* loader = nullptr;  // null once the loader is gone
  int threads = 0;

  // Runs `call` on the loader's thread, unless the loader is gone.
  void Post(std::function<void(PeaksLoader&)> call) {
    const std::lock_guard<std::mutex> lock(mutex);
    if (loader == nullptr) return;
    PeaksLoader* target = loader;
    QMetaObject::invokeMethod(
        target, [target, call = std::move(call)] { call(*target); }, Qt::QueuedConnection);
  }
};

// Runs on a job's thread: gathers buckets and posts them to the loader.
class PostingReceiver : public PeakReceiver {
 public:
  PostingReceiver(std::shared_ptr<PeaksLoader::Link> link, int job,
                  std::shared_ptr<std::atomic<bool>> cancel)
      : link_(std::move(link)), job_(job), cancel_(std::move(cancel)) {}

  void Started(std::int64_t duration_ms) override {
    link_->Post([job = job_, duration_ms](PeaksLoader& loader) { loader.Started(job, duration_ms); });
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
    auto peaks = std::make_shared<std::vector<Peak>>(std::move(pending_));
    pending_ = {};
    link_->Post([job = job_, peaks](PeaksLoader& loader) { loader.Added(job, std::move(*peaks)); });
  }

 private:
  std::shared_ptr<PeaksLoader::Link> link_;
  int job_;
  std::shared_ptr<std::atomic<bool>> cancel_;
  std::vector<Peak> pending_;
  bool posted_any_ = false;
  std::chrono::steady_clock::time_point last_post_;
};

PeaksLoader::PeaksLoader(std::filesystem::path cache_directory, QObject* parent)
    : QObject(parent), cache_directory_(std::move(cache_directory)), link_(std::make_shared<Link>()) {
  link_->loader = this;
}

PeaksLoader::~PeaksLoader() {
  Cancel();
  std::unique_lock<std::mutex> lock(link_->mutex);
  link_->stopped.wait_for(lock, kFarewellWait, [this] { return link_->threads == 0; });
  link_->loader = nullptr;
}

void PeaksLoader::Load(QString film) {
  Clear();
  film_ = film;
  const int job = ++job_;
  cancel_ = std::make_shared<std::atomic<bool>>(false);
  running_ = true;
  {
    const std::lock_guard<std::mutex> lock(link_->mutex);
    ++link_->threads;
  }
  std::thread([link = link_, job, path = QFile::encodeName(film).toStdString(), cancel = cancel_,
               cache = cache_directory_] {
    // Below the ui and the film's playback.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNiceness);
    PostingReceiver receiver(link, job, cancel);
    const FilmPeaksResult result = LoadFilmPeaks(path, cache, receiver);
    receiver.Flush();
    link->Post([job, result](PeaksLoader& loader) { loader.Ended(job, result); });
    const std::lock_guard<std::mutex> lock(link->mutex);
    --link->threads;
    link->stopped.notify_all();
  }).detach();
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
  if (duration_ms > 0 && duration_ms <= kPeakReserveLimitMs) {
    peaks_.Reserve(static_cast<std::size_t>(duration_ms / kPeakBucketMs + 2));
  }
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
