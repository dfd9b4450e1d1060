#include "media/film_peaks.h"

#include <optional>
#include <vector>

#include "media/peaks_cache.h"

namespace lumetra {

namespace {

// Hands buckets on and keeps them for the cache.
class KeepingReceiver : public PeakReceiver {
 public:
  explicit KeepingReceiver(PeakReceiver& next) : next_(next) {}
  void Started(std::int64_t duration_ms) override {
    // Room for the whole film at once: the base level does not grow twice over.
    if (duration_ms > 0 && duration_ms <= kPeakReserveLimitMs) {
      kept_.reserve(static_cast<std::size_t>(duration_ms / kPeakBucketMs + 2));
    }
    next_.Started(duration_ms);
  }
  void Received(const Peak* peaks, std::size_t count) override {
    kept_.insert(kept_.end(), peaks, peaks + count);
    next_.Received(peaks, count);
  }
  bool Cancelled() override { return next_.Cancelled(); }
  std::vector<Peak>& kept() { return kept_; }

 private:
  PeakReceiver& next_;
  std::vector<Peak> kept_;
};

}  // namespace

FilmPeaksResult LoadFilmPeaks(const std::string& film_path,
                              const std::filesystem::path& cache_directory,
                              PeakReceiver& receiver) {
  const std::optional<FilmIdentity> film =
      cache_directory.empty() ? std::nullopt : IdentifyFilm(film_path);
  std::filesystem::path cache_file;
  if (film) {
    cache_file = PeaksCacheFile(cache_directory, *film);
    if (std::optional<CachedPeaks> cached = ReadPeaksCache(cache_file, *film)) {
      receiver.Started(cached->duration_ms);
      receiver.Received(cached->base.data(), cached->base.size());
      FilmPeaksResult result;
      result.duration_ms = cached->duration_ms;
      result.from_cache = true;
      return result;
    }
  }
  KeepingReceiver keeping(receiver);
  const PeakDecodeResult decoded = DecodePeaks(film_path, keeping);
  FilmPeaksResult result;
  result.outcome = decoded.outcome;
  result.detail = decoded.detail;
  result.duration_ms = decoded.duration_ms;
  if (decoded.outcome == PeakOutcome::kComplete && film) {
    // A film that changed while it was decoded is not cached under its old identity.
    const std::optional<FilmIdentity> after = IdentifyFilm(film_path);
    if (after && *after == *film) {
      CachedPeaks cached;
      cached.duration_ms = decoded.duration_ms;
      cached.base = std::move(keeping.kept());
      WritePeaksCache(cache_file, *film, cached);
    }
  }
  return result;
}

std::string FilmPeaksMessage(const FilmPeaksResult& result) {
  switch (result.outcome) {
    case PeakOutcome::kComplete:
      return {};
    case PeakOutcome::kCancelled:
      return kWaveformCancelled;
    case PeakOutcome::kNoAudio:
      return kFilmHasNoSound;
    case PeakOutcome::kUndecodable:
      return kSoundNotDecodable + result.detail;
    case PeakOutcome::kCannotOpen:
      return kFilmNotOpened + result.detail;
  }
  return {};
}

}  // namespace lumetra
